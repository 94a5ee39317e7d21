// Keystroke synthesis through the recording fake: the events of every byte and every key code,
// the Alt-code table, and how queued events are cut into batches.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "common/state.h"
#include "player/keystrokes.h"
#include "tests/unit/fake_platform.h"
#include "triggers/key_names.h"

namespace {

class KeystrokeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    gPlayer = PlayerState();
  }
};

// One event as "vk/scan:flags" in hexadecimal.
std::string EventText(uint32_t vk, uint32_t scan, uint32_t flags) {
  char text[32];
  snprintf(text, sizeof text, "%X/%X:%X", vk, scan, flags);
  return text;
}

// Every key event handed to the system, with scan codes, joined by blanks.
std::string SentEvents() {
  std::string out;
  for (const FakeEvent& e : FakeEventsOf(kFakeKeyEvent)) {
    out += (out.empty() ? "" : " ") + EventText(e.a, e.b, e.c);
  }
  return out;
}

// The extended keys, listed here rather than computed the way the program does.
bool ExpectedExtended(int vk) {
  static const int kExtended[] = {0x11, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29,
                                  0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x5B, 0x5C, 0x5D};
  for (int code : kExtended) if (code == vk) return true;
  return false;
}

std::string Key(int vk, bool up) {
  uint32_t flags = (ExpectedExtended(vk) ? kKeyEventExtended : 0) | (up ? kKeyEventKeyUp : 0);
  return EventText(vk, PlatformMapVirtualKey(vk, kMapVkToScanCode), flags);
}

std::string Press(int vk) { return Key(vk, false) + " " + Key(vk, true); }

// The codes of the Alt-code table by its rule; seven of them stand for a space.
const int kCodesOfASpace[] = {141, 143, 144, 157, 160, 168, 173};
bool InAltCodeRanges(int code) {
  return (code >= 33 && code <= 47) || (code >= 58 && code <= 64) || (code >= 91 && code <= 96) ||
         (code >= 123 && code <= 126) || (code >= 128 && code <= 255 && code != 129);
}
bool StandsForASpace(int code) {
  for (int space : kCodesOfASpace) if (code == space) return true;
  return false;
}

// The Alt code of byte b, or 0 when it has none.
int ExpectedAltCode(int b) {
  if (b == ' ') return kCodesOfASpace[0];
  return InAltCodeRanges(b) && !StandsForASpace(b) ? b : 0;
}

// What typing byte b must send, from the layout's answer and the Alt-code rule.
std::string ExpectedTyping(int b) {
  uint16_t key = PlatformKeyForChar(char(b));
  int vk = key & 0xFF, shift = key >> 8;
  if (b < 128 && vk != 0xFF && shift != 0xFF && shift != 6) {
    if (shift == 0) return Press(vk);
    return Key(0x10, false) + " " + Press(vk) + " " + Key(0x10, true);
  }
  int code = ExpectedAltCode(b);
  if (code == 0) return "";
  std::string out = EventText(0x12, 0, 0);
  for (int divisor : {1000, 100, 10, 1}) out += " " + Press(0x60 + code / divisor % 10);
  return out + " " + EventText(0x12, 0, kKeyEventKeyUp);
}

TEST_F(KeystrokeTest, EveryByteSendsItsLayoutKeyOrItsAltCode) {
  for (int b = 1; b <= 255; ++b) {
    SCOPED_TRACE("byte " + std::to_string(b));
    FakeReset();
    TypeCharacter(char(b));
    EXPECT_TRUE(FakeEventsOf(kFakeKeyEvent).empty()) << "nothing goes out before the flush";
    FlushKeyEvents();
    EXPECT_EQ(SentEvents(), ExpectedTyping(b));
    std::vector<FakeEvent> events = FakeEventsOf(kFakeKeyEvent);
    EXPECT_LE(FakeKeyBatchSizes().size(), 1u) << "one character's events go out in one piece";
    bool sendsAlt = false;
    for (const FakeEvent& e : events) sendsAlt = sendsAlt || e.a == kVkAlt;
    if (sendsAlt) {
      EXPECT_EQ(events.size(), 10u) << "Alt only ever goes out around four keypad digits";
    }
  }
}

TEST_F(KeystrokeTest, SendKeyMarksExactlyTheExtendedKeysInEveryMode) {
  for (int vk = 1; vk <= 255; ++vk) {
    SCOPED_TRACE("key " + std::to_string(vk));
    FakeReset();
    SendKey(uint8_t(vk), kKeyPressRelease);
    SendKey(uint8_t(vk), kKeyDownOnly);
    SendKey(uint8_t(vk), kKeyUpOnly);
    FlushKeyEvents();
    EXPECT_EQ(SentEvents(), Press(vk) + " " + Key(vk, false) + " " + Key(vk, true));
  }
}

TEST_F(KeystrokeTest, ExampleSequences) {
  struct Case { const char* what; char c; int vk, mode; const char* events; } cases[] = {
      {"a", 'a', 0, 0, "41:0 41:2"},
      {"A", 'A', 0, 0, "10:0 41:0 41:2 10:2"},
      {"?", '?', 0, 0, "10:0 BF:0 BF:2 10:2"},
      {"blank", ' ', 0, 0, "20:0 20:2"},
      {"tab", '\t', 0, 0, "9:0 9:2"},
      {"e acute", '\xE9', 0, 0, "12:0 60:0 60:2 62:0 62:2 63:0 63:2 63:0 63:2 12:2"},
      {"{Enter}", 0, 0x0D, kKeyPressRelease, "D:0 D:2"},
      {"{Home}", 0, 0x24, kKeyPressRelease, "24:1 24:3"},
      {"{ControlDown}", 0, 0x11, kKeyDownOnly, "11:1"},
      {"{Shift}", 0, 0x10, kKeyUpOnly, "10:2"},
  };
  for (const Case& c : cases) {
    FakeReset();
    if (c.c) TypeCharacter(c.c); else SendKey(uint8_t(c.vk), c.mode);
    FlushKeyEvents();
    EXPECT_EQ(FakeKeyEventText(), c.events) << c.what;
  }
  FakeReset();
  TypeCharacter('\xE9');
  FlushKeyEvents();
  std::vector<FakeEvent> events = FakeEventsOf(kFakeKeyEvent);
  ASSERT_EQ(events.size(), 10u);
  EXPECT_EQ(events.front().b, 0u) << "Alt goes out with scan code 0, not its mapped one";
  EXPECT_EQ(events.back().b, 0u);
}

TEST_F(KeystrokeTest, LayoutAnswersChooseTheRoute) {
  struct Case { const char* what; int byte; uint16_t answer; const char* events; } cases[] = {
      {"Control asked: Shift only", 'q', 0x0251, "10:0 51:0 51:2 10:2"},
      {"Alt asked: Shift only", 'q', 0x0451, "10:0 51:0 51:2 10:2"},
      {"Shift and Control and Alt: Shift only", 'q', 0x0751, "10:0 51:0 51:2 10:2"},
      {"backslash on AltGr: Alt code 0092", '\\', 0x06DC, "12:0 60:0 60:2 60:0 60:2 69:0 69:2 62:0 62:2 12:2"},
      {"letter on AltGr has no code", 'q', 0x0651, ""},
      {"no key, no code", 'q', 0xFFFF, ""},
      {"only the shift byte says no key", '=', 0xFFBB, "12:0 60:0 60:2 60:0 60:2 66:0 66:2 61:0 61:2 12:2"},
      {"upper half with a layout key", 0xE9, 0x0032, "12:0 60:0 60:2 62:0 62:2 63:0 63:2 63:0 63:2 12:2"},
  };
  for (const Case& c : cases) {
    FakeReset();
    gFake.keyForChar[c.byte] = c.answer;
    TypeCharacter(char(c.byte));
    FlushKeyEvents();
    EXPECT_EQ(FakeKeyEventText(), c.events) << c.what;
  }
}

TEST_F(KeystrokeTest, AltCodeTableFollowsItsRule) {
  int previous = 0, codesByRule = 0;
  for (int code = 1; code <= 255; ++code) codesByRule += InAltCodeRanges(code);
  EXPECT_EQ(codesByRule, kAltCodeEntries);
  for (int i = 0; i < kAltCodeEntries; ++i) {
    const AltCode& entry = kAltCodes[i];
    SCOPED_TRACE("entry " + std::to_string(i) + ", code " + std::to_string(entry.code));
    EXPECT_GT(entry.code, previous) << "ascending, each code once";
    EXPECT_TRUE(InAltCodeRanges(entry.code));
    previous = entry.code;
    EXPECT_EQ(entry.character, StandsForASpace(entry.code) ? ' ' : int16_t(int8_t(uint8_t(entry.code))));
  }
  EXPECT_EQ(kAltCodes[kAltCodeEntries].code, 0);
  EXPECT_EQ(kAltCodes[kAltCodeEntries].character, 0);
}

// Queues `count` copies of byte c.
void TypeRepeated(char c, int count) {
  for (int i = 0; i < count; ++i) TypeCharacter(c);
}

TEST_F(KeystrokeTest, BatchesFillUpWithoutSplittingAKeyOrCharacter) {
  struct Case { const char* what; void (*queue)(); std::vector<uint32_t> batches; } cases[] = {
      {"24 Alt codes fill one batch", [] { TypeRepeated('\xE9', 24); }, {240}},
      {"the 25th Alt code goes into the next", [] { TypeRepeated('\xE9', 25); }, {240, 10}},
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
    FlushKeyEvents();
    EXPECT_EQ(FakeKeyBatchSizes(), c.batches) << c.what;
    EXPECT_EQ(gPlayer.pendingKeyCount, 0) << c.what;
  }
}

}  // namespace
