// What key presses record on the German and French layouts (the fake answers as Windows does for
// them), dead keys, and the tables' life: built once per layout, rebuilt when it changes.
#include <string>
#include <vector>

#include "common/text.h"
#include "common/utf8.h"

#include "tests/unit/fake_keyboard_layout.h"
#include "tests/unit/watcher_fixture.h"

const int kVkOem1 = 0xBA, kVkOem4 = 0xDB, kVkOem6 = 0xDD, kVkOem7 = 0xDE, kVkOemComma = 0xBC;
const int kVkLeftControl = 0xA2, kVkLeftAlt = 0xA4, kVkRightAlt = 0xA5;
const int kVkWineAltGr = 0xE4;  // the key that Wine gives the right Alt of a German X keymap

class KeyLayoutTest : public WatcherTest {
 protected:
  void UseTriggers(const std::string& triggers) {
    CopyTextBounded(gShell.triggerPath, PathOf("triggers.txt").c_str(), sizeof gShell.triggerPath);
    ASSERT_GT(Load(triggers), 0);
  }
};

// The typed text, oldest first, from the newest `count` characters of the history.
static std::string Typed(int count) {
  const char* history = reinterpret_cast<const char*>(gWatcher.typedHistory);
  std::string text;
  for (size_t at = 0; count-- > 0;) {
    size_t n = size_t(Utf8SequenceLength(history + at, size_t(kHistoryBytes) - at));
    text.insert(0, history + at, n);
    at += n;
  }
  return text;
}

TEST_F(KeyLayoutTest, GermanKeysRecordWhatTheyTypeThere) {
  gFake.foregroundLayout = kFakeLayoutGerman;
  PressWith({kVkShift}, '7');                   // "/"
  PressWith({kVkControl, kVkAlt}, 'Q');         // AltGr: "@"
  Press(kVkOem7);                               // "ä"
  Press(kVkOem4);                               // "ß"
  PressWith({kVkControl, kVkAlt}, '8');         // AltGr: "["
  EXPECT_EQ(Typed(5), "/@\xC3\xA4\xC3\x9F[");
}

// Ctrl, Alt or a Windows key held make a shortcut, which types nothing; AltGr is the right Alt,
// or Ctrl and Alt, on a layout that has it, with or without the left Ctrl that Windows adds.
TEST_F(KeyLayoutTest, ShortcutsTypeNothingAndAltGrTypesItsColumn) {
  struct Case {
    uint64_t layout;
    std::vector<int> held;
    int vk;
    std::string typed;
  };
  const Case cases[] = {
      {kFakeLayoutUs, {kVkControl, kVkLeftControl}, ' ', ""},
      {kFakeLayoutUs, {kVkAlt, kVkRightAlt}, 'Q', ""},  // no AltGr on the US layout
      {kFakeLayoutUs, {kVkControl, kVkAlt}, 'Q', ""},
      {kFakeLayoutUs, {kVkLeftWindows}, 'V', ""},
      {kFakeLayoutGerman, {kVkControl, kVkLeftControl, kVkAlt, kVkRightAlt}, 'Q', "@"},
      {kFakeLayoutGerman, {kVkAlt, kVkRightAlt}, 'E', "\xE2\x82\xAC"},
      {kFakeLayoutGerman, {kVkShift, kVkControl, kVkLeftControl, kVkAlt, kVkLeftAlt}, '7', "{"},
      {kFakeLayoutGerman, {kVkAlt, kVkRightAlt}, 'W', ""},  // nothing there with AltGr
      {kFakeLayoutGerman, {kVkAlt, kVkLeftAlt}, 'Q', ""},
      {kFakeLayoutGerman, {kVkLeftWindows, kVkAlt, kVkRightAlt}, 'Q', ""},
  };
  for (const Case& c : cases) {
    gFake.foregroundLayout = c.layout;
    Press('A');
    for (int m : c.held) {
      SetKey(m, true);
      Tick();
    }
    Press(c.vk);
    for (int m : c.held) SetKey(m, false);
    Tick();
    EXPECT_EQ(Typed(1), c.typed.empty() ? std::string(1, '\0') : c.typed) << "key " << c.vk << " on " << c.layout;
  }
}

// Under Wine the right Alt of an X keymap with a third level comes as a key of its own.
TEST_F(KeyLayoutTest, AbbreviationsTypedWithWinesAltGrFire) {
  gFake.levelThreeKey = kVkWineAltGr;
  UseTriggers("m@x=at\r\ne\xE2\x82\xACq=euro\r\n");
  gFake.foregroundLayout = kFakeLayoutGerman;
  Press('M');
  PressWith({kVkWineAltGr}, 'Q');
  Press('X');
  Press('E');
  PressWith({kVkWineAltGr}, 'E');
  Press('Q');
  EXPECT_EQ(outputs_, (std::vector<std::string>{"at", "euro"}));
  PressWith({kVkControl, kVkAlt}, 'Q');
  EXPECT_EQ(Typed(1), std::string(1, '\0')) << "Ctrl and Alt are no AltGr there: Wine types nothing";
}

TEST_F(KeyLayoutTest, FrenchDigitRowAndCapsLock) {
  gFake.foregroundLayout = kFakeLayoutFrench;
  Press('1');                      // "&"
  PressWith({kVkShift}, '1');      // "1"
  Press('2');                      // "é"
  Press('9');                      // "ç"
  gFake.threadKeyState[kVkCapsLock] = 1;
  Press('2');                      // Caps Lock shifts the digit row: "2"
  Press('A');                      // and the letters: "A"
  EXPECT_EQ(Typed(6), "&1\xC3\xA9\xC3\xA7" "2A");
}

TEST_F(KeyLayoutTest, ADeadKeyRecordsWhatTheUserSeesAfterTheNextKey) {
  gFake.foregroundLayout = kFakeLayoutFrench;
  Press(kVkOem6);  // dead "^": nothing yet, and no 0 that would split an abbreviation
  EXPECT_EQ(Typed(1), std::string(1, '\0'));
  Press('E');
  EXPECT_EQ(Typed(1), "\xC3\xAA") << "composed";
  Press(kVkOem6);
  Press(' ');
  EXPECT_EQ(Typed(1), "^") << "the accent alone after Space";
  Press(kVkOem6);
  Press('X');
  EXPECT_EQ(Typed(2), "^x") << "an accent that makes nothing with the key";
  Press(kVkOem6);
  PressWith({kVkShift}, kVkOem6);  // a second dead key types the first one's accent
  Press('U');
  EXPECT_EQ(Typed(2), "^\xC3\xBC");
}

TEST_F(KeyLayoutTest, AbbreviationsWithLayoutCharactersFire) {
  UseTriggers("u/s=United States\r\ncaf\xC3\xA9=coffee\r\n");
  gFake.foregroundLayout = kFakeLayoutGerman;
  Press('U');
  PressWith({kVkShift}, '7');
  Press('S');
  ASSERT_EQ(outputs_.size(), 1u) << "\"u/s\" typed with Shift+7 fires";
  EXPECT_EQ(outputs_[0], "United States");
  gFake.foregroundLayout = kFakeLayoutFrench;
  Type("caf");
  Press('2');
  ASSERT_EQ(outputs_.size(), 2u);
  EXPECT_EQ(outputs_[1], "coffee");
}

TEST_F(KeyLayoutTest, TablesAreBuiltOncePerLayout) {
  Press('A');
  int perLayout = FakeKeyTextQueries();
  EXPECT_GT(perLayout, 0);
  Type("bcd");
  EXPECT_EQ(FakeKeyTextQueries(), perLayout) << "the same layout asks nothing more";
  gFake.foregroundLayout = kFakeLayoutGerman;
  Press(kVkOemComma);
  EXPECT_EQ(FakeKeyTextQueries(), 2 * perLayout) << "a new layout is read whole, once";
  EXPECT_EQ(Typed(1), ",");
  Press(kVkOem1);
  EXPECT_EQ(Typed(1), "\xC3\xBC");
}
