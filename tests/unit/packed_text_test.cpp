// The packed text decoder and the build-time packer.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "common/heap.h"
#include "tests/unit/fake_platform.h"
#include "tools/pack_text.h"
#include "triggers/packed_text.h"

// Unpacks `packed` (its length up to the NUL) and returns the text, or "<none>".
static std::string Unpack(const std::string& packed, size_t* lengthOut = nullptr) {
  size_t length = packed.size();
  char* text = UnpackText(packed.c_str(), &length);
  if (lengthOut) *lengthOut = length;
  if (!text) return "<none>";
  std::string out(text);
  EXPECT_EQ(out.size(), length);
  FreeBlock(text);
  return out;
}

class PackedText : public ::testing::Test {
 protected:
  void SetUp() override { FakeReset(); }
};

TEST_F(PackedText, WorkedExamples) {
  EXPECT_EQ(Unpack("012#abx#y#"), "xabyab");
  EXPECT_EQ(Unpack("022#ab%c#%%"), "cabcab") << "later entries are applied first";
  EXPECT_EQ(Unpack("000hello"), "hello");
  EXPECT_EQ(Unpack("012#ab"), "") << "header and dictionary only";
  EXPECT_EQ(Unpack("012#abxyz"), "xyz") << "a marker that does not occur changes nothing";
  EXPECT_EQ(Unpack("011#zx#"), "xz") << "width 1 replaces byte for byte";
}

TEST_F(PackedText, HexDigitsInEitherCase) {
  std::string dictionary;
  for (int i = 0; i < 10; ++i) dictionary += std::string(1, char(0x80 + i)) + char('a' + i);
  std::string body = "\x80\x89";
  EXPECT_EQ(Unpack("0A1" + dictionary + body), "aj");
  EXPECT_EQ(Unpack("0a1" + dictionary + body), "aj");
  EXPECT_EQ(Unpack("0g1\x80" "ax"), "\x80" "ax") << "a non-digit counts as 0: no entries";
}

TEST_F(PackedText, InvalidInputIsRefusedWithoutStrayAccess) {
  size_t length = 5;
  EXPECT_EQ(UnpackText(nullptr, &length), nullptr);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(UnpackText("000ab", nullptr), nullptr);
  length = 0;
  EXPECT_EQ(UnpackText("000ab", &length), nullptr);
  EXPECT_EQ(Unpack("01"), "<none>") << "shorter than the fixed header";
  EXPECT_EQ(Unpack("010#x#"), "<none>") << "width 0 with entries";
  EXPECT_EQ(Unpack("032#ab%cd"), "<none>") << "fewer bytes than the dictionary needs";
  EXPECT_EQ(Unpack("ff5"), "<none>");
  // The length given bounds the read even where the text runs on without a NUL.
  char unterminated[6] = {'0', '0', '0', 'a', 'b', 'c'};
  length = sizeof unterminated;
  char* text = UnpackText(unterminated, &length);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "abc");
  FreeBlock(text);
}

TEST_F(PackedText, OutputThatWouldNotFitIsRefused) {
  // Each level multiplies the text by 15: 15^7 bytes cannot fit the 4 MiB block.
  std::string packed = "07f";
  for (int entry = 1; entry <= 7; ++entry) {
    packed += char(0x80 + entry);
    packed += std::string(15, entry == 1 ? 'z' : char(0x80 + entry - 1));
  }
  packed += char(0x87);
  size_t length = 0;
  EXPECT_EQ(Unpack(packed, &length), "<none>");
  EXPECT_EQ(length, 0u);
  // Six levels (15^6 = 11 MiB) do not fit either; five (759375 bytes) do.
  std::string five = "05f";
  for (int entry = 1; entry <= 5; ++entry) {
    five += char(0x80 + entry);
    five += std::string(15, entry == 1 ? 'z' : char(0x80 + entry - 1));
  }
  five += char(0x85);
  EXPECT_EQ(Unpack(five), std::string(759375, 'z'));
}

TEST_F(PackedText, NoMemoryGivesNone) {
  gFake.failHeapAllocAt = 1;
  EXPECT_EQ(Unpack("000abc"), "<none>");
}

TEST_F(PackedText, PackerRoundTripsEveryByteAndWidth) {
  std::string text;
  for (int i = 1; i < 128; ++i) text += char(i);
  text += "the quick brown fox jumps over the lazy dog; the dog sleeps. the end, the end.";
  for (int width = 1; width <= 15; ++width) {
    std::string packed = PackTextWithWidth(text, width);
    ASSERT_FALSE(packed.empty()) << "width " << width;
    EXPECT_EQ(Unpack(packed), text) << "width " << width;
  }
  EXPECT_EQ(PackText(std::string("a\0b", 3)), "") << "a NUL cannot be packed";
  EXPECT_EQ(Unpack(PackText("")), "");
}

TEST_F(PackedText, PackerNestsEntries) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "abcdabcdabcdabcd ";
  std::string packed = PackTextWithWidth(text, 4);
  EXPECT_LT(packed.size(), text.size() / 4);
  EXPECT_EQ(Unpack(packed), text);
}
