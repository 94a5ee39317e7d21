// UTF-8 walking: every code point round-trips, and ill-formed bytes stand for themselves.
#include <gtest/gtest.h>

#include <string.h>

#include "common/utf8.h"

TEST(Utf8, EveryCodePointRoundTripsAndSurrogatesHaveNoForm) {
  char bytes[kMaxUtf8Bytes];
  for (uint32_t cp = 1; cp <= kLastCodePoint; ++cp) {
    int written = EncodeUtf8(cp, bytes);
    if (cp >= 0xD800 && cp <= 0xDFFF) {
      ASSERT_EQ(written, 0) << std::hex << cp;
      continue;
    }
    int read = 0;
    ASSERT_EQ(DecodeUtf8(bytes, size_t(written), &read), cp) << std::hex << cp;
    ASSERT_EQ(read, written) << std::hex << cp;
    bool multiByte = false;
    ASSERT_TRUE(IsWellFormedUtf8(bytes, size_t(written), &multiByte)) << std::hex << cp;
    ASSERT_EQ(multiByte, cp >= 0x80) << std::hex << cp;
  }
  EXPECT_EQ(EncodeUtf8(kLastCodePoint + 1, bytes), 0);
}

TEST(Utf8, IllFormedBytesAreOneCharacterEach) {
  struct Case { const char* bytes; const char* why; };
  const Case cases[] = {
      {"\xC0\xAF", "overlong slash"}, {"\xE0\x80\xAF", "overlong"}, {"\xED\xA0\x80", "surrogate"},
      {"\xF4\x90\x80\x80", "above U+10FFFF"}, {"\x80", "lone continuation"}, {"\xE9t\xE9", "cp1252 \"\xE9t\xE9\""},
      {"\xE2\x82", "cut short"}, {"\xF5\x80\x80\x80", "no such lead"},
  };
  for (const Case& c : cases) {
    bool multiByte = true;
    EXPECT_FALSE(IsWellFormedUtf8(c.bytes, strlen(c.bytes), &multiByte)) << c.why;
    EXPECT_EQ(Utf8CharCount(c.bytes), strlen(c.bytes)) << c.why;
    int length = 0;
    EXPECT_EQ(DecodeUtf8(c.bytes, strlen(c.bytes), &length), uint8_t(c.bytes[0])) << c.why;
    EXPECT_EQ(length, 1) << c.why;
  }
  // A sequence is never read past the bytes that the caller says are there.
  EXPECT_EQ(Utf8SequenceLength("\xE2\x82\xAC", 2), 1);
  EXPECT_EQ(Utf8SequenceLength("\xE2\x82\xAC", 3), 3);
}

TEST(Utf8, CountsCharactersNotBytes) {
  EXPECT_EQ(Utf8CharCount(""), 0u);
  EXPECT_EQ(Utf8CharCount("caf\xC3\xA9 \xE2\x86\x92 \xF0\x9F\x98\x80"), 8u);  // "café → 😀"
  bool multiByte = true;
  EXPECT_TRUE(IsWellFormedUtf8("plain ASCII", 11, &multiByte));
  EXPECT_FALSE(multiByte) << "an ASCII file is not taken for UTF-8 by its bytes alone";
}
