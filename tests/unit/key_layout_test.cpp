// What key presses record on the German and French layouts (the fake answers as Windows does for
// them), dead keys, and the tables' life: built once per layout, rebuilt when it changes.
#include <string>

#include "common/text.h"
#include "common/utf8.h"

#include "tests/unit/fake_keyboard_layout.h"
#include "tests/unit/watcher_fixture.h"

const int kVkOem1 = 0xBA, kVkOem4 = 0xDB, kVkOem6 = 0xDD, kVkOem7 = 0xDE, kVkOemComma = 0xBC;

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
  PressWith({kVkControl}, 'Q');                 // a shortcut records its plain letter
  PressWith({kVkControl, kVkAlt}, 'W');         // nothing on AltGr: the plain letter
  EXPECT_EQ(Typed(7), "/@\xC3\xA4\xC3\x9F[qw");
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
