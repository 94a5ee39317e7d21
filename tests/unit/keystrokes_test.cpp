// Keystroke synthesis through the recording fake: every character under several layout answers,
// the recorded US, German and French layouts, every key code in every mode, sequences written
// out, how queued events are cut into batches, and the wait for the keys to be taken.
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
std::string Unit(int unit) { return EventText(0, unit, kKeyEventUnicode) + " " + EventText(0, unit, kKeyEventUnicode | kKeyEventKeyUp); }

// What typing character c must send, from the layout's answer: its key, with Shift for the Shift
// state, when the answer is a key with no shift state or Shift alone; else nothing for a control
// character (C0, Delete, C1) and the character as a Unicode key event for any other.
std::string ExpectedTyping(int c) {
  uint16_t key = PlatformKeyForUnit(uint16_t(c), gFake.foregroundLayout);
  int vk = key & 0xFF, shift = key >> 8;
  if (vk != 0xFF && shift == 0) return Press(vk);
  if (vk != 0xFF && shift == 1) return Key(0x10, false) + " " + Press(vk) + " " + Key(0x10, true);
  if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return "";
  return Unit(c);
}

TEST_F(KeystrokeTest, EveryCharacterSendsItsKeyOrItselfAsUnicode) {
  // The US layout (0), then one answer scripted for every character: a plain key, Shift, Control,
  // Alt, AltGr, Shift with Control and Alt, no key in either byte or in both.
  for (uint16_t answer : {0x0000, 0x0051, 0x0151, 0x0251, 0x0451, 0x0651, 0x0751, 0x00FF, 0xFF51, 0xFFFF}) {
    for (int c = 1; c <= 0x17F; ++c) {
      FakeReset();
      if (answer) gFake.keyForUnit[uint16_t(c)] = answer;
      TypeCodePoint(uint32_t(c));
      FlushKeyEvents();
      EXPECT_EQ(SentEvents(), ExpectedTyping(c)) << "U+" << std::hex << c << ", layout answer 0x" << answer;
    }
  }
}

TEST_F(KeystrokeTest, TheRecordedLayoutsTypeWhatTheirKeysCannotAsUnicode) {
  // Of the printable ASCII characters, exactly these have no plain or Shift key on the layout.
  struct Case { const char* name; uint64_t layout; const char* asUnicode; } cases[] = {
      {"US", kFakeLayoutUs, ""},
      {"German", kFakeLayoutGerman, "@[\\]^`{|}~"},
      {"French", kFakeLayoutFrench, "#@[\\]^`{|}"},
  };
  for (const Case& c : cases) {
    std::string unicode;
    for (int ch = 0x20; ch <= 0x7E; ++ch) {
      FakeReset();
      gFake.foregroundLayout = c.layout;
      TypeCodePoint(uint32_t(ch));
      FlushKeyEvents();
      std::string sent = SentEvents();
      EXPECT_EQ(sent, ExpectedTyping(ch)) << c.name << " '" << char(ch) << "'";
      if (sent == Unit(ch)) unicode += char(ch);
    }
    EXPECT_EQ(unicode, c.asUnicode) << c.name;
  }
}

TEST_F(KeystrokeTest, ExampleSequences) {
  // A character typed on a layout with the fake's recorded answers, or a key sent in a mode.
  struct Case { const char* what; uint64_t layout; uint32_t c; int vk, mode; const char* events; } cases[] = {
      {"a", kFakeLayoutUs, 'a', 0, 0, "41:0 41:2"},
      {"A", kFakeLayoutUs, 'A', 0, 0, "10:0 41:0 41:2 10:2"},
      {"?", kFakeLayoutUs, '?', 0, 0, "10:0 BF:0 BF:2 10:2"},
      {"blank", kFakeLayoutUs, ' ', 0, 0, "20:0 20:2"},
      {"tab", kFakeLayoutUs, '\t', 0, 0, "9:0 9:2"},
      {"a control character without a key", kFakeLayoutUs, 0x01, 0, 0, ""},
      {"e acute on US", kFakeLayoutUs, 0xE9, 0, 0, "U+E9:4 U+E9:6"},
      {"euro on US", kFakeLayoutUs, 0x20AC, 0, 0, "U+20AC:4 U+20AC:6"},
      {"no-break space", kFakeLayoutUs, 0xA0, 0, 0, "U+A0:4 U+A0:6"},
      {"a C1 control", kFakeLayoutUs, 0x81, 0, 0, ""},
      {"beyond U+FFFF: a surrogate pair", kFakeLayoutUs, 0x1F600, 0, 0, "U+D83D:4 U+D83D:6 U+DE00:4 U+DE00:6"},
      {"the last code point", kFakeLayoutUs, 0x10FFFF, 0, 0, "U+DBFF:4 U+DBFF:6 U+DFFF:4 U+DFFF:6"},
      {"a lone surrogate", kFakeLayoutUs, 0xD800, 0, 0, ""},
      {"past U+10FFFF", kFakeLayoutUs, 0x110000, 0, 0, ""},
      {"German @ on AltGr", kFakeLayoutGerman, '@', 0, 0, "U+40:4 U+40:6"},
      {"German backslash on AltGr", kFakeLayoutGerman, '\\', 0, 0, "U+5C:4 U+5C:6"},
      {"German slash is Shift+7", kFakeLayoutGerman, '/', 0, 0, "10:0 37:0 37:2 10:2"},
      {"German a umlaut has a key", kFakeLayoutGerman, 0xE4, 0, 0, "DE:0 DE:2"},
      {"German sharp s has a key", kFakeLayoutGerman, 0xDF, 0, 0, "DB:0 DB:2"},
      {"German euro on AltGr", kFakeLayoutGerman, 0x20AC, 0, 0, "U+20AC:4 U+20AC:6"},
      {"German circumflex is a dead key", kFakeLayoutGerman, '^', 0, 0, "U+5E:4 U+5E:6"},
      {"French 1 is Shift+1", kFakeLayoutFrench, '1', 0, 0, "10:0 31:0 31:2 10:2"},
      {"French e acute has a key", kFakeLayoutFrench, 0xE9, 0, 0, "32:0 32:2"},
      {"French c cedilla has a key", kFakeLayoutFrench, 0xE7, 0, 0, "39:0 39:2"},
      {"French a umlaut has none", kFakeLayoutFrench, 0xE4, 0, 0, "U+E4:4 U+E4:6"},
      {"{Enter}", kFakeLayoutUs, 0, 0x0D, kKeyPressRelease, "D:0 D:2"},
      {"{Home}", kFakeLayoutUs, 0, 0x24, kKeyPressRelease, "24:1 24:3"},
      {"{ControlDown}", kFakeLayoutUs, 0, 0x11, kKeyDownOnly, "11:1"},
      {"Shift up", kFakeLayoutUs, 0, 0x10, kKeyUpOnly, "10:2"},
  };
  for (const Case& c : cases) {
    FakeReset();
    gFake.foregroundLayout = c.layout;
    if (c.vk) SendKey(uint8_t(c.vk), c.mode); else TypeCodePoint(c.c);
    FlushKeyEvents();
    EXPECT_EQ(FakeKeyEventText(), c.events) << c.what;
  }
}

TEST_F(KeystrokeTest, TheLayoutIsAskedOncePerBatch) {
  for (int i = 0; i < 10; ++i) TypeCodePoint('a');
  EXPECT_EQ(gFake.layoutQueries, 1);
  SendKey(0x0D, kKeyPressRelease);
  EXPECT_EQ(gFake.layoutQueries, 1) << "a key name asks for no layout";
  // After a flush another window may be in front, with another layout.
  FlushKeyEvents();
  gFake.foregroundLayout = kFakeLayoutGerman;
  TypeCodePoint('@');
  FlushKeyEvents();
  EXPECT_EQ(gFake.layoutQueries, 2);
  EXPECT_EQ(FakeKeyEventText(), "41:0 41:2 41:0 41:2 41:0 41:2 41:0 41:2 41:0 41:2 41:0 41:2 41:0 41:2 41:0 41:2 "
                                "41:0 41:2 41:0 41:2 D:0 D:2 U+40:4 U+40:6");
}

TEST_F(KeystrokeTest, SendKeyMarksExactlyTheExtendedKeysInEveryMode) {
  for (int vk = 1; vk <= 255; ++vk) {
    FakeReset();
    for (int mode : {kKeyPressRelease, kKeyDownOnly, kKeyUpOnly}) SendKey(uint8_t(vk), mode);
    FlushKeyEvents();
    EXPECT_EQ(SentEvents(), Press(vk) + " " + Key(vk, false) + " " + Key(vk, true)) << "key " << vk;
  }
}

void TypeRepeated(uint32_t c, int count) { for (int i = 0; i < count; ++i) TypeCodePoint(c); }

TEST_F(KeystrokeTest, BatchesFillUpWithoutSplittingAKeyOrCharacter) {
  struct Case { const char* what; void (*queue)(); std::vector<uint32_t> batches; } cases[] = {
      {"120 Unicode characters fill a batch, the 121st goes into the next", [] { TypeRepeated(0xE9, 121); }, {240, 2}},
      {"a shifted letter does not fit after 238", [] { TypeRepeated('a', 119); TypeCodePoint('A'); }, {238, 4}},
      {"a key press fits exactly", [] { TypeRepeated('a', 119); SendKey(0x0D, kKeyPressRelease); }, {240}},
      {"a key press does not fit after 239",
       [] { TypeRepeated('a', 119); SendKey(0x11, kKeyDownOnly); SendKey(0x0D, kKeyPressRelease); }, {239, 2}},
      {"a surrogate pair does not fit after 238", [] { TypeRepeated('a', 119); TypeCodePoint(0x1F600); }, {238, 4}},
      {"a surrogate pair fits exactly after 236", [] { TypeRepeated('a', 118); TypeCodePoint(0x1F600); }, {240}},
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

TEST_F(KeystrokeTest, WaitsForTheKeysTakenOnlyAfterKeysWereSent) {
  WaitForKeysTaken();
  EXPECT_TRUE(FakeEventsOf(kFakeKeysTakenWait).empty()) << "nothing sent yet";
  TypeCodePoint('a');
  WaitForKeysTaken();  // flushes first, then waits
  ASSERT_EQ(FakeEventsOf(kFakeKeysTakenWait).size(), 1u);
  EXPECT_EQ(FakeEventsOf(kFakeKeysTakenWait)[0].a, kKeysTakenTimeoutMs);
  std::vector<FakeEventKind> tail;
  for (size_t i = gFake.events.size() - 3; i < gFake.events.size(); ++i) tail.push_back(gFake.events[i].kind);
  EXPECT_EQ(tail, (std::vector<FakeEventKind>{kFakeShareInput, kFakeKeysTakenWait, kFakeStopSharing}))
      << "the keys went before the wait, which shares the input only for itself";
  WaitForKeysTaken();
  EXPECT_EQ(FakeEventsOf(kFakeKeysTakenWait).size(), 1u) << "no keys since the last wait";
  SendKey(0x0D, kKeyPressRelease);
  FlushKeyEvents();
  WaitForKeysTaken();
  EXPECT_EQ(FakeEventsOf(kFakeKeysTakenWait).size(), 2u) << "keys flushed earlier still count";
}

}  // namespace
