// Number reading and writing, and the case-blind search.
#include <gtest/gtest.h>

#include "common/text.h"

TEST(TextToInt, ReadsTheFirstRunOfDigits) {
  EXPECT_EQ(TextToInt(nullptr), 0);
  EXPECT_EQ(TextToInt(""), 0);
  EXPECT_EQ(TextToInt("no digits"), 0);
  EXPECT_EQ(TextToInt("Courier New,10"), 10);
  EXPECT_EQ(TextToInt("Arial,-12"), -12);
  EXPECT_EQ(TextToInt("Code2000,10"), 2000);
  EXPECT_EQ(TextToInt("- 5"), 5);
  EXPECT_EQ(TextToInt("-0"), 0);
  EXPECT_EQ(TextToInt("2147483647"), 2147483647);
  EXPECT_EQ(TextToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(TextToInt("4294967297"), 1) << "wraps like a 32-bit accumulator";
}

TEST(TextToInt, BoundedReadStopsAtTheLength) {
  EXPECT_EQ(TextToIntBounded("=500}", 5), 500);
  EXPECT_EQ(TextToIntBounded("abc123", 3), 0);
  EXPECT_EQ(TextToIntBounded("12345", 2), 12);
  EXPECT_EQ(TextToIntBounded("-5", 0), 0);
}

TEST(IntToText, WritesPlainDecimal) {
  char out[kIntTextSize];
  EXPECT_STREQ(IntToText(0, out), "0");
  EXPECT_STREQ(IntToText(7, out), "7");
  EXPECT_STREQ(IntToText(-42, out), "-42");
  EXPECT_STREQ(IntToText(INT32_MAX, out), "2147483647");
  EXPECT_STREQ(IntToText(INT32_MIN, out), "-2147483648");
  for (int32_t v : {1, -1, 10, 999, -1000, 123456789}) EXPECT_EQ(TextToInt(IntToText(v, out)), v) << v;
}

TEST(FindTextNoCase, IgnoresAsciiCaseOnly) {
  const char* text = "ab{CONTROL}x";
  EXPECT_EQ(FindTextNoCase(text, "{control}"), text + 2);
  EXPECT_EQ(FindTextNoCase(text, "{shift}"), nullptr);
  EXPECT_EQ(FindTextNoCase(static_cast<const char*>(nullptr), "a"), nullptr);
  EXPECT_EQ(FindTextNoCase(text, nullptr), nullptr);
  EXPECT_EQ(FindTextNoCase("", "a"), nullptr);
  EXPECT_EQ(FindTextNoCase(text, ""), nullptr);
  EXPECT_EQ(FindTextNoCase("ab", "abc"), nullptr) << "a word longer than the rest of the text";
  EXPECT_EQ(FindTextNoCase("\xC9t", "\xE9"), nullptr) << "bytes above 127 keep their case";
  EXPECT_EQ(FindTextNoCase("[x", "{"), nullptr) << "only letters fold";
}

TEST(CopyTextBounded, AlwaysEndsInNul) {
  char out[4];
  CopyTextBounded(out, "abcdef", sizeof out);
  EXPECT_STREQ(out, "abc");
  CopyTextBounded(out, nullptr, sizeof out);
  EXPECT_STREQ(out, "");
}
