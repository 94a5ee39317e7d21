// The raw-input event path: events in order, modifiers from the stream, own keys never recorded
// and cutting the history off, keys that wait while an output plays, and the choice of source.
#include <unistd.h>

#include <string>
#include <vector>

#include "common/debug_log.h"
#include "common/heap.h"
#include "app/trigger_open.h"
#include "common/text.h"
#include "player/output_player.h"
#include "tests/unit/loader_fixture.h"
#include "watcher/expansion.h"
#include "watcher/key_events.h"
#include "watcher/key_poller.h"

const uint8_t kVkLeftShift = 0xA0, kVkRightControl = 0xA3, kVkSpace = 0x20;
const uint8_t kVkLeftControl = 0xA2, kVkComma = 0xBC, kVkOem6 = 0xDD, kVkNoName = 0xFC;

class KeyEventsTest : public LoaderTest {
 protected:
  void SetUp() override {
    LoaderTest::SetUp();
    gPlayer = PlayerState();
    gFake.rawInputGranted = true;
  }
  void TearDown() override {
    FreeAndForget(gPlayer.outputBuffer);
    LoaderTest::TearDown();
  }
  void Start(const std::string& triggers) {
    CopyTextBounded(gShell.triggerPath, PathOf("triggers.txt").c_str(), sizeof gShell.triggerPath);
    ASSERT_GT(Load(triggers), 0);
    StartKeyWatch(true);
    ASSERT_TRUE(gWatcher.rawInput);
  }
  static void Send(std::vector<InputEvent> events) { TakeInputEvents(events.data(), int(events.size())); }
  // A press and a release of the user's.
  static void Tap(uint8_t vk) { Send({{vk, true, false, false}, {vk, false, false, false}}); }
  static void TypeLetters(const std::string& letters) {
    for (char c : letters) Tap(c == ' ' ? kVkSpace : uint8_t(c - 'a' + 'A'));
  }
  // Every own key event sent so far comes back, in one message each.
  static void EchoOwnKeys() {
    while (int32_t(gFake.ownKeyEvents - gWatcher.ownKeysSeen) > 0) Send({{0, true, false, true}});
  }
  // Plays what is left of the output under way, with `echo` lets its own keys come back at once,
  // and returns the text typed since the last look (erases left out), "" when none.
  static std::string PlayOutput(bool echo = true) {
    while (gPlayer.outputBuffer) {
      if (PlayOutputTick()) ResumeKeyWatch();
    }
    std::string typed;
    for (char c : FakeTypedText()) {
      if (c != '\b') typed += c;
    }
    gFake.events.clear();
    if (echo) EchoOwnKeys();
    return typed;
  }
};

TEST_F(KeyEventsTest, AHotkeyIsJudgedByTheModifiersOfTheStream) {
  Start("{shift}k=shift k\r\n{control}k=ctrl k\r\n");
  Tap('K');
  EXPECT_EQ(PlayOutput(), "");
  gFake.asyncKeyState[kVkShift] = kKeyDownBit;  // the key states lag: they must not count
  Send({{kVkRightControl, true, false, false}});
  Tap('K');
  EXPECT_EQ(PlayOutput(), "ctrl k");
  Send({{kVkRightControl, false, false, false}, {kVkLeftShift, true, false, false}});
  Tap('K');
  EXPECT_EQ(PlayOutput(), "shift k");
}

TEST_F(KeyEventsTest, OwnKeysAndClicksCutTheHistoryOffAndAreNeverRecorded) {
  Start("btw=by the way\r\n");
  TypeLetters("bt");
  Send({{'Q', true, false, true}, {'Q', false, false, true}});
  TypeLetters("w");
  EXPECT_EQ(PlayOutput(), "") << "an own key between b, t and w";
  TypeLetters("bt");
  Send({{kVkLeftButton, true, true, false}});
  TypeLetters("w");
  EXPECT_EQ(PlayOutput(), "") << "a click between them";
  TypeLetters("btw");
  EXPECT_EQ(PlayOutput(), "by the way");
}

TEST_F(KeyEventsTest, KeysTypedWhileAnOutputPlaysAreTakenInTheirPlaceOnceItsKeysAreBack) {
  Start("fr=first{Delay 100}second\r\nbrb=be right back\r\n");
  TypeLetters("fr");  // "first", then the pause
  EchoOwnKeys();
  TypeLetters(" brb");  // between the two parts of the output
  gFake.events.clear();
  ASSERT_TRUE(PlayOutputTick());  // "second": its own keys come after those of the user
  ResumeKeyWatch();
  EchoOwnKeys();
  EXPECT_EQ(PlayOutput(), "second") << "brb stands before \"second\" in the window: erasing would take that";
  EXPECT_EQ(gWatcher.queueCount, 0);
  TypeLetters(" brb");
  EXPECT_EQ(PlayOutput(), "be right back") << "typed after the output, it fires";
}

TEST_F(KeyEventsTest, KeysThatArrivedBeforeTheEraseAreErasedAndTypedAgainAfterTheOutput) {
  Start("btw=by the way\r\nbrb=be right back\r\n");
  TypeLetters("bt");
  gFake.pendingInputs = {{{kVkSpace, true, false, false}, {kVkSpace, false, false, false}},
                         {{'B', true, false, false}}};
  gFake.events.clear();
  TypeLetters("w");
  EXPECT_EQ(FakeTypedText(), "\b\b\b\b\bby the way b") << "the abbreviation and the two keys after it";
  EXPECT_EQ(FakeKeyBatchSizes().size(), 1u) << "the erase goes with the output, in one piece";
  PlayOutput();
  TypeLetters("rb");
  EXPECT_EQ(PlayOutput(), "be right back") << "the keys typed again go on with the ones after them";

  TypeLetters("bt");
  gFake.pendingInputs = {{{kVkBackspace, true, false, false}}};
  gFake.events.clear();
  TypeLetters("w");
  EXPECT_TRUE(FakeEventsOf(kFakeKeyEvent).empty()) << "after a Backspace the erase would be wrong: it gives way";
  EXPECT_EQ(std::string(reinterpret_cast<char*>(gWatcher.typedHistory), 2), "tb") << "taken as typed";
}

TEST_F(KeyEventsTest, OwnKeysThatNeverComeBackAreGivenUpOn) {
  Start("btw=by the way\r\nok=fine\r\n");
  TypeLetters("btw");
  PlayOutput(false);
  TypeLetters("ok");
  std::vector<FakeEvent> starts = FakeEventsOf(kFakeTimerStart);
  ASSERT_FALSE(starts.empty());
  EXPECT_EQ(starts.back().a, kEchoWaitTimerId);
  EXPECT_EQ(PlayOutput(false), "") << "ok waits for the output's own keys";
  OnEchoWaitTimer();
  EXPECT_EQ(PlayOutput(), "fine");
}

TEST_F(KeyEventsTest, TheSourceIsChosenOnceAndTheDebugLogSaysWhich) {
  char previous[kPathCapacity];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(folder_.c_str()), 0);  // the log's fixed path lands in the test's folder
  Start("; WordHatch_DEBUG\r\nbtw=x\r\n");
  EXPECT_TRUE(FakeEventsOf(kFakeTimerStart).empty()) << "no timer while nobody types";
  gFake.rawInputGranted = false;
  StartKeyWatch(true);
  EXPECT_FALSE(gWatcher.rawInput);
  EXPECT_EQ(FakeEventsOf(kFakeTimerStart).back().a, kPollTimerId);
  gFake.rawInputGranted = true;
  StartKeyWatch(false);
  EXPECT_FALSE(gWatcher.rawInput) << "the setting forces the poller";
  EXPECT_EQ(Read(PathOf(kDebugLogPath)),
            "Keys are watched through raw input.\r\nKeys are watched by polling the key states.\r\n"
            "Keys are watched by polling the key states.\r\n");
  gShell.remapAllowed = true;
  Load("; REMAP TILDE\r\nbtw=x\r\n");
  StartKeyWatch(true);
  EXPECT_FALSE(gWatcher.rawInput) << "the tilde remap polls";
  // Debug mode outlives the load: the log still goes to the test's folder.
  ASSERT_EQ(chdir(previous), 0);
}

TEST_F(KeyEventsTest, TheUndoIsBackspaceAloneAndNeverGoesOutWithAModifierHeld) {
  const uint8_t kVkLeftAlt = 0xA4;
  Start("{word}\r\nrecieve=receive\r\n");
  for (uint8_t modifier : {kVkRightControl, kVkLeftAlt}) {
    TypeLetters("recieve ");
    EXPECT_EQ(PlayOutput(), "receive ");
    Send({{modifier, true, false, false}});
    Tap(kVkBackspace);
    Send({{modifier, false, false, false}});
    EXPECT_TRUE(FakeEventsOf(kFakeKeyEvent).empty()) << "Backspace with " << int(modifier) << " is the window's own";
  }
  TypeLetters("recieve ");
  PlayOutput();
  gFake.asyncKeyState[kVkLeftShift] = kKeyDownBit;  // the system agrees: Shift stays down
  Send({{kVkLeftShift, true, false, false}});
  Tap(kVkBackspace);
  EXPECT_TRUE(FakeEventsOf(kFakeKeyEvent).empty()) << "Shift held for a second: the undo gives way";
  Send({{kVkLeftShift, false, false, false}});
  gFake.asyncKeyState[kVkLeftShift] = 0;
  TypeLetters("recieve ");
  PlayOutput();
  Tap(kVkBackspace);
  EXPECT_EQ(PlayOutput(), "recieve") << "Backspace alone takes the correction back";
}

TEST_F(KeyEventsTest, AModifierWhoseReleaseNeverCameIsLetGoWhenTheSystemSaysItIsUp) {
  const uint8_t kVkLeftAlt = 0xA4, kVkF5 = 0x74;
  Start("{F5}=f5\r\n{alt}{F5}=alt f5\r\n");
  Send({{kVkLeftAlt, true, false, false}});  // its release went to a secure desktop
  gFake.tickCount += 600;
  Tap(kVkF5);
  EXPECT_EQ(PlayOutput(), "f5");
  Send({{kVkLeftAlt, true, false, false}});
  gFake.asyncKeyState[kVkLeftAlt] = kKeyDownBit;
  gFake.tickCount += 600;
  gFake.pendingInputs = {{{kVkLeftAlt, false, false, false}}};  // let go while the output waits
  Tap(kVkF5);
  EXPECT_EQ(PlayOutput(), "alt f5") << "held for long, and the system says so too";
  gFake.asyncKeyState[kVkLeftAlt] = 0;
  Send({{kVkLeftAlt, true, false, false}});
  gFake.pendingInputs = {{{kVkLeftAlt, false, false, false}}};
  Tap(kVkF5);
  EXPECT_EQ(PlayOutput(), "alt f5") << "just pressed: the system's state lags, the stream holds";
}

TEST_F(KeyEventsTest, KeysTypedAfterAMiddleClickTriggerAreErasedOnceAndTypedOnce) {
  Start("{4}=OK\r\n");
  gFake.pendingInputs = {{{'H', true, false, false}, {'H', false, false, false}},
                         {{'I', true, false, false}, {'I', false, false, false}}};
  Send({{kVkMiddleButton, true, true, false}});
  EXPECT_EQ(FakeTypedText(), "\b\bOKhi") << "the click typed nothing; hi stood where OK goes";
}

TEST_F(KeyEventsTest, AnOpenOrASaveWhileAnOutputPausesLeavesWatchingToItsEnd) {
  Start("fr=first{Delay 100}second\r\nbrb=be right back\r\n");
  TypeLetters("fr");
  EchoOwnKeys();
  gFake.events.clear();
  OpenTriggerFile(gShell.triggerPath);
  EXPECT_TRUE(gWatcher.suspended) << "the output is in its pause";
  TypeLetters(" brb");
  EXPECT_STREQ(gPlayer.outputBuffer, "first{Delay 100}second") << "no trigger fires in the middle of it";
  EXPECT_EQ(PlayOutput(), "second");
  EXPECT_FALSE(gWatcher.suspended);
}

TEST_F(KeyEventsTest, AHistorySetAsideComesBackAtTheEndOfAnOutputWhoseKeysNeverCameBack) {
  Start("btw=by the way{click 1,1}\r\nok=fine\r\n");
  gFake.frontInputThread = 77;  // the keys go out with raw input paused: none comes back
  TypeLetters("bt");
  gFake.pendingInputs = {{{'O', true, false, false}, {'O', false, false, false}}};
  TypeLetters("w");
  EXPECT_EQ(PlayOutput(), "by the wayo");
  TypeLetters("k");
  EXPECT_EQ(PlayOutput(), "fine") << "the o typed after btw and the k make ok";
  TypeLetters("k");
  EXPECT_EQ(PlayOutput(), "") << "what btw set aside is long gone: it must not come back after fine";
}

TEST_F(KeyEventsTest, AShortcutTypesNothingAndAnExpansionThatWaitsGivesWayToIt) {
  Start(",ty=thank you\r\n{word}\r\nteh=the\r\n");
  TypeLetters("a teh");
  Send({{kVkLeftControl, true, false, false}});
  Tap(kVkSpace);
  Send({{kVkLeftControl, false, false, false}});
  EXPECT_EQ(PlayOutput(), "") << "Ctrl+Space ends no word";
  Tap(kVkComma);
  TypeLetters("t");
  gFake.pendingInputs = {{{kVkLeftControl, true, false, false}}, {{'V', true, false, false}},
                         {{'V', false, false, false}}, {{kVkLeftControl, false, false, false}}};
  gFake.events.clear();
  TypeLetters("y");
  EXPECT_TRUE(FakeEventsOf(kFakeKeyEvent).empty()) << "Ctrl+V after the trigger: nothing erased, nothing typed";
  EXPECT_EQ(std::string(reinterpret_cast<char*>(gWatcher.typedHistory), 2), std::string("\0y", 2));
}

// Under Wine the input method keeps the presses of a dead key and of the key after it: the
// stream shows the dead key's release, a key without a name, and the other key's release.
TEST_F(KeyEventsTest, AnAbbreviationWithACharacterThatWineComposesFires) {
  Start("c\xC3\xAAq=circumflex\r\n");
  gFake.foregroundLayout = kFakeLayoutFrench;
  TypeLetters("c");
  Send({{kVkOem6, false, false, false}, {'X', false, false, false}});  // "^x": the window gets nothing
  Send({{kVkOem6, false, false, false}, {kVkNoName, true, false, false}, {'E', false, false, false}});
  TypeLetters("q");
  EXPECT_EQ(PlayOutput(), "circumflex");
}
