// Trigger file encodings: which encoding a file's bytes are taken for, and the conversions to the
// core's UTF-8 and back, with the fake's Windows-1252 as the ANSI code page.
#include <gtest/gtest.h>

#include <string>

#include "common/heap.h"
#include "common/utf16.h"
#include "tests/unit/fake_platform.h"
#include "triggers/text_encoding.h"

static const std::string kUtf8Mark = "\xEF\xBB\xBF", kUtf16Mark = "\xFF\xFE", kUtf16BeMark = "\xFE\xFF";

// UTF-16 LE bytes of the units.
static std::string Utf16Bytes(std::initializer_list<uint16_t> units) {
  std::string bytes;
  for (uint16_t u : units) bytes += {char(u & 0xFF), char(u >> 8)};
  return bytes;
}

// The same bytes with each unit's two swapped: LE becomes BE.
static std::string Swapped(std::string bytes) {
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
  return bytes;
}

static std::string Decode(const std::string& bytes, TextEncoding* encoding = nullptr) {
  TextEncoding detected = DetectTextEncoding(bytes.data(), bytes.size());
  if (encoding) *encoding = detected;
  size_t length = 0, capacity = 0;
  char* text = DecodeFileText(bytes.data(), bytes.size(), detected, 0, &length, &capacity);
  if (!text) return "<no memory>";
  std::string out(text, length);
  FreeBlock(text);
  return out;
}

// The file bytes of `text` in `encoding`; "<unrepresentable>" when the code page cannot hold it.
static std::string Encode(const std::string& text, TextEncoding encoding) {
  size_t size = 0;
  bool unrepresentable = false;
  char* bytes = EncodeFileText(text.data(), text.size(), encoding, &size, &unrepresentable);
  std::string out = unrepresentable ? "<unrepresentable>" : bytes ? std::string(bytes, size) : "<no memory>";
  FreeBlock(bytes);
  return out;
}

TEST(TextEncoding, DetectsEachKindOfFile) {
  struct Case { const char* name; std::string bytes; TextEncoding expected; } cases[] = {
      {"plain ASCII is well-formed UTF-8 but ANSI", "btw=by the way\r\n", kEncodingAnsi},
      {"empty", "", kEncodingAnsi},
      {"cafe in Windows-1252", "cafe=caf\xE9\r\n", kEncodingAnsi},
      {"cafe in UTF-8 without the mark", "cafe=caf\xC3\xA9\r\n", kEncodingUtf8},
      {"UTF-8 with the mark, ASCII after it", kUtf8Mark + "a=b", kEncodingUtf8Marked},
      {"the mark alone", kUtf8Mark, kEncodingUtf8Marked},
      {"the mark before ill-formed bytes", kUtf8Mark + "a=\xE9", kEncodingUtf8Marked},
      {"UTF-8 sequence beside a stray byte", "\xC3\xA9 \xE9", kEncodingAnsi},
      {"a cut sequence at the end", "a=\xE2\x86", kEncodingAnsi},
      {"UTF-16 LE with its mark", kUtf16Mark + Utf16Bytes({'a', '=', 'b'}), kEncodingUtf16},
      {"UTF-16 BE with its mark", kUtf16BeMark + std::string("\0a", 2), kEncodingUtf16Be},
      {"UTF-16 LE without a mark", Utf16Bytes({'a', '=', 'b', '\r', '\n'}), kEncodingUtf16Unmarked},
      {"UTF-16 BE without a mark", Swapped(Utf16Bytes({'a', '=', 'b', '\r', '\n'})), kEncodingUtf16BeUnmarked},
      {"CJK with U+4E00, a zero on the other side", Utf16Bytes({0x4E00, 0x4E8C, '=', 0x56DB, '\r', '\n'}),
       kEncodingUtf16Unmarked},
      {"as many zeros on either side", Utf16Bytes({0x4E00, 0x4E00, '=', 0x4E00, '\r', '\n'}), kEncodingAnsi},
      {"an ANSI file with a NUL byte", std::string("ab=1\r\nc\0d=2\r\nef=3\r", 18), kEncodingAnsi},
      {"nor one with two", std::string("a\0=1\r\nc\0d=2\r\nef=33", 18), kEncodingAnsi},
  };
  for (const Case& c : cases) EXPECT_EQ(DetectTextEncoding(c.bytes.data(), c.bytes.size()), c.expected) << c.name;
}

TEST(TextEncoding, EveryEncodingReadsAsUtf8WithoutItsMark) {
  FakeReset();
  EXPECT_EQ(Decode("caf\xE9=\x80\x81"), "caf\xC3\xA9=\xE2\x82\xAC\xC2\x81") << "Windows-1252, undefined bytes too";
  EXPECT_EQ(Decode("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(Decode(kUtf8Mark + "x=\xE2\x86\x92"), "x=\xE2\x86\x92");
  // A pair of surrogates is one character; an unpaired one keeps its value in three bytes.
  std::string units = Utf16Bytes({'x', 0x2192, 0xD83D, 0xDE00, 0xDC00, 'y'});
  EXPECT_EQ(Decode(kUtf16Mark + units), "x\xE2\x86\x92\xF0\x9F\x98\x80\xED\xB0\x80y");
  EXPECT_EQ(Decode(kUtf16Mark + std::string("a\0b", 3)), "a\xEF\xBF\xBD") << "an odd final byte";
}

TEST(TextEncoding, AnsiRoundTripsEveryByteAndRefusesWhatItCannotHold) {
  FakeReset();
  std::string every;
  for (int b = 1; b < 256; ++b) every += char(b);
  TextEncoding encoding;
  std::string text = Decode(every, &encoding);
  ASSERT_EQ(encoding, kEncodingAnsi);
  EXPECT_EQ(Encode(text, kEncodingAnsi), every);
  EXPECT_EQ(Encode("a=\xE2\x86\x92", kEncodingAnsi), "<unrepresentable>") << "no look-alike for the arrow";
  EXPECT_EQ(Encode("a=\xC2\x80", kEncodingAnsi), "<unrepresentable>") << "U+0080 is not in Windows-1252";
  EXPECT_EQ(Encode("caf\xC3\xA9", kEncodingAnsi), "caf\xE9");
}

TEST(TextEncoding, UnicodeEncodingsRoundTripWithTheirMarks) {
  std::string text = "a=\xE2\x86\x92 \xF0\x9F\x98\x80\r\n";
  EXPECT_EQ(Encode(text, kEncodingUtf8), text);
  EXPECT_EQ(Encode(text, kEncodingUtf8Marked), kUtf8Mark + text);
  std::string utf16 = kUtf16Mark + Utf16Bytes({'a', '=', 0x2192, ' ', 0xD83D, 0xDE00, '\r', '\n'});
  EXPECT_EQ(Encode(text, kEncodingUtf16), utf16);
  std::string lone = kUtf16Mark + Utf16Bytes({0xD800, 'x', 0xDFFF});
  EXPECT_EQ(Encode(Decode(lone), kEncodingUtf16), lone) << "unpaired surrogates come back as they were";
  EXPECT_EQ(Encode("", kEncodingUtf16), kUtf16Mark);
}

// Every form of UTF-16 reads as the same text and is written back byte for byte.
TEST(TextEncoding, EveryUtf16FormRoundTrips) {
  std::string le = Utf16Bytes({'s', '=', 0xE9, 0x4E00, 0xD83D, 0xDE01, 0xDBFF, '\r', '\n'});
  struct Case { std::string bytes; TextEncoding encoding; } cases[] = {
      {kUtf16Mark + le, kEncodingUtf16}, {kUtf16BeMark + Swapped(le), kEncodingUtf16Be},
      {le, kEncodingUtf16Unmarked}, {Swapped(le), kEncodingUtf16BeUnmarked}};
  for (const Case& c : cases) {
    TextEncoding detected;
    std::string text = Decode(c.bytes, &detected);
    EXPECT_EQ(detected, c.encoding);
    EXPECT_EQ(text, "s=\xC3\xA9\xE4\xB8\x80\xF0\x9F\x98\x81\xED\xAF\xBF\r\n") << int(c.encoding);
    EXPECT_EQ(Encode(text, detected), c.bytes) << int(c.encoding);
  }
}

// What the editor and a save would lose of a file; unpaired surrogates are told, and kept.
TEST(TextEncoding, ShortfallTellsWhatASaveWouldLose) {
  FakeReset();
  struct Case { std::string bytes; FileShortfall shortfall; bool unpaired; } cases[] = {
      {std::string("\x80\x81\x9D\xFF=x", 6), kShortfallNone, false},
      {std::string("a=b\0c=d", 7), kShortfallAfterNul, false},
      {kUtf16Mark + Utf16Bytes({'a', 0, 'b'}), kShortfallAfterNul, false},
      {kUtf8Mark + "a=\xE9x", kShortfallBytes, false},
      {kUtf16Mark + std::string("a\0b", 3), kShortfallBytes, false},
      {kUtf8Mark + "\xED\xA0\x80\xED\xB0\x80", kShortfallBytes, false},  // a pair the way back would join
      {kUtf16Mark + Utf16Bytes({'a', 0xDC00, 0xD800}), kShortfallNone, true},
  };
  for (const Case& c : cases) {
    TextEncoding encoding = DetectTextEncoding(c.bytes.data(), c.bytes.size());
    size_t length = 0, capacity = 0;
    char* text = DecodeFileText(c.bytes.data(), c.bytes.size(), encoding, 0, &length, &capacity);
    FileShortfall shortfall = kShortfallUnread;
    bool unpaired = !c.unpaired;
    EXPECT_TRUE(FindFileTextShortfall(c.bytes.data(), c.bytes.size(), encoding, text, length, &shortfall, &unpaired));
    EXPECT_EQ(shortfall, c.shortfall) << c.bytes;
    EXPECT_EQ(unpaired, c.unpaired) << c.bytes;
    FreeBlock(text);
  }
}

TEST(Utf16, IllFormedUtf8BecomesTheReplacementCharacter) {
  const char text[] = "\xE9x\xED\xA0";  // a stray byte, then a surrogate's form cut short
  uint16_t units[sizeof text];
  size_t count = Utf8ToUtf16(text, sizeof text - 1, units);
  ASSERT_EQ(count, 4u);
  EXPECT_EQ(units[0], kReplacementChar);
  EXPECT_EQ(units[1], 'x');
  EXPECT_EQ(units[2], kReplacementChar);
  EXPECT_EQ(units[3], kReplacementChar);
}
