// Keystroke synthesis through the recording fake: every byte under several layout answers, every
// key code in every mode, sequences written out, and how queued events are cut into batches.
#include <gtest/gtest.h>

#include <stdio.h>

#include <set>
#include <string>
#include <vector>

#include "common/state.h"
#include "player/keystrokes.h"
#include "tests/unit/fake_platform.h"
#include "triggers/key_names.h"

namespace {

class KeystrokeTest : public ::testing::Test {
 protected:
  void SetUp() override { FakeReset(); gPlayer = PlayerState(); }
};

// One event as "vk/scan:flags" in hexadecimal, and every key event sent so, joined by blanks.
std::string EventText(uint32_t vk, uint32_t scan, uint32_t flags) {
  char text[32];
  snprintf(text, sizeof text, "%X/%X:%X", vk, scan, flags);
  return text;
}
std::string SentEvents() {
  std::string out;
  for (const FakeEvent& e : FakeEventsOf(kFakeKeyEvent)) out += (out.empty() ? "" : " ") + EventText(e.a, e.b, e.c);
  return out;
}

// A key's event with its mapped scan code; the extended keys are listed, not computed.
std::string Key(int vk, bool up) {
  static const std::set<int> kExtended = {0x11, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28,
                                          0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x5B, 0x5C, 0x5D};
  uint32_t flags = (kExtended.count(vk) ? kKeyEventExtended : 0) | (up ? kKeyEventKeyUp : 0);
  return EventText(vk, PlatformMapVirtualKey(vk, kMapVkToScanCode), flags);
}
std::string Press(int vk) { return Key(vk, false) + " " + Key(vk, true); }

// What typing byte b must send, from the layout's answer: its key, with Shift for any shift
// state but AltGr (6), below the upper half; else Alt and the four keypad digits of its code.
// Punctuation and the upper half but 129 stand for themselves, except seven codes that stand for
// a space (the first of them is the space's code); other bytes have no code and send nothing.
std::string ExpectedTyping(int b) {
  uint16_t key = PlatformKeyForChar(char(b));
  int vk = key & 0xFF, shift = key >> 8;
  if (b < 128 && vk != 0xFF && shift != 0xFF && shift != 6) {
    return shift == 0 ? Press(vk) : Key(0x10, false) + " " + Press(vk) + " " + Key(0x10, true);
  }
  static const std::set<int> kCodesOfASpace = {141, 143, 144, 157, 160, 168, 173};
  bool hasCode = (b >= 33 && b <= 47) || (b >= 58 && b <= 64) || (b >= 91 && b <= 96) || (b >= 123 && b <= 126) ||
                 (b >= 128 && b != 129 && !kCodesOfASpace.count(b));
  int code = b == ' ' ? 141 : hasCode ? b : 0;
  if (code == 0) return "";
  std::string out = EventText(0x12, 0, 0);
  for (int divisor : {1000, 100, 10, 1}) out += " " + Press(0x60 + code / divisor % 10);
  return out + " " + EventText(0x12, 0, kKeyEventKeyUp);
}

TEST_F(KeystrokeTest, EveryByteSendsItsLayoutKeyOrItsAltCode) {
  // The US layout (0), then one answer scripted for every byte: a plain key, Control, Alt,
  // Shift+Control+Alt, AltGr, no key in either byte or in both.
  for (uint16_t answer : {0x0000, 0x0051, 0x0251, 0x0451, 0x0751, 0x0651, 0x00FF, 0xFF51, 0xFFFF}) {
    for (int b = 1; b <= 255; ++b) {
      FakeReset();
      if (answer) gFake.keyForChar[b] = answer;
      TypeCharacter(char(b));
      FlushKeyEvents();
      EXPECT_EQ(SentEvents(), ExpectedTyping(b)) << "byte " << b << ", layout answer 0x" << std::hex << answer;
    }
  }
}

TEST_F(KeystrokeTest, SendKeyMarksExactlyTheExtendedKeysInEveryMode) {
  for (int vk = 1; vk <= 255; ++vk) {
    FakeReset();
    for (int mode : {kKeyPressRelease, kKeyDownOnly, kKeyUpOnly}) SendKey(uint8_t(vk), mode);
    FlushKeyEvents();
    EXPECT_EQ(SentEvents(), Press(vk) + " " + Key(vk, false) + " " + Key(vk, true)) << "key " << vk;
  }
}

TEST_F(KeystrokeTest, ExampleSequences) {
  // A byte typed with the layout's answer for it (0: the US layout's), or a key sent in a mode.
  struct Case { const char* what; int byte; uint16_t answer; int vk, mode; const char* events; } cases[] = {
      {"a", 'a', 0, 0, 0, "41:0 41:2"},
      {"A", 'A', 0, 0, 0, "10:0 41:0 41:2 10:2"},
      {"?", '?', 0, 0, 0, "10:0 BF:0 BF:2 10:2"},
      {"blank", ' ', 0, 0, 0, "20:0 20:2"},
      {"tab", '\t', 0, 0, 0, "9:0 9:2"},
      {"0xE9 is Alt 0233", 0xE9, 0, 0, 0, "12:0 60:0 60:2 62:0 62:2 63:0 63:2 63:0 63:2 12:2"},
      {"backslash on AltGr: Alt 0092", '\\', 0x06DC, 0, 0, "12:0 60:0 60:2 60:0 60:2 69:0 69:2 62:0 62:2 12:2"},
      {"{Enter}", 0, 0, 0x0D, kKeyPressRelease, "D:0 D:2"},
      {"{Home}", 0, 0, 0x24, kKeyPressRelease, "24:1 24:3"},
      {"{ControlDown}", 0, 0, 0x11, kKeyDownOnly, "11:1"},
      {"Shift up", 0, 0, 0x10, kKeyUpOnly, "10:2"},
  };
  for (const Case& c : cases) {
    FakeReset();
    if (c.answer) gFake.keyForChar[c.byte] = c.answer;
    if (c.byte) TypeCharacter(char(c.byte)); else SendKey(uint8_t(c.vk), c.mode);
    FlushKeyEvents();
    EXPECT_EQ(FakeKeyEventText(), c.events) << c.what;
  }
}

void TypeRepeated(char c, int count) { for (int i = 0; i < count; ++i) TypeCharacter(c); }

TEST_F(KeystrokeTest, BatchesFillUpWithoutSplittingAKeyOrCharacter) {
  struct Case { const char* what; void (*queue)(); std::vector<uint32_t> batches; } cases[] = {
      {"24 Alt codes fill a batch, the 25th goes into the next", [] { TypeRepeated('\xE9', 25); }, {240, 10}},
      {"a shifted letter does not fit after 238", [] { TypeRepeated('a', 119); TypeCharacter('A'); }, {238, 4}},
      {"a key press fits exactly", [] { TypeRepeated('a', 119); SendKey(0x0D, kKeyPressRelease); }, {240}},
      {"a key press does not fit after 239",
       [] { TypeRepeated('a', 119); SendKey(0x11, kKeyDownOnly); SendKey(0x0D, kKeyPressRelease); }, {239, 2}},
      {"an Alt code does not fit after 232", [] { TypeRepeated('a', 116); TypeCharacter('\xE9'); }, {232, 10}},
      {"nothing queued, nothing sent", [] {}, {}},
  };
  for (const Case& c : cases) {
    FakeReset();
    c.queue();
    FlushKeyEvents();
    FlushKeyEvents();  // the second has nothing left to send
    EXPECT_EQ(FakeKeyBatchSizes(), c.batches) << c.what;
  }
}

}  // namespace
