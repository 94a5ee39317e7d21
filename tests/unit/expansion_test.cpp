// Matching typed keys against the trigger table, and the start of an expansion: the wait for
// the modifiers, the Backspaces, the output read from the file on disk, %NAME%, the count.
#include <unistd.h>

#include <string>

#include "common/debug_log.h"
#include "common/text.h"
#include "player/output_player.h"
#include "tests/unit/watcher_fixture.h"
#include "watcher/expansion.h"

const int kVkEnter = 0x0D, kVkVolumeUp = 0xAF, kVkLeftControl = 0xA2;

class ExpansionTest : public WatcherTest {
 protected:
  // Loads `triggers` as the run's trigger file and forgets what the load did.
  void UseTriggers(const std::string& triggers) {
    CopyTextBounded(gShell.triggerPath, PathOf("triggers.txt").c_str(), sizeof gShell.triggerPath);
    ASSERT_GT(Load(triggers), 0);
    gFake.events.clear();
  }
  // Backspaces sent so far.
  static int Backspaces() {
    int n = 0;
    for (const FakeEvent& e : FakeEventsOf(kFakeKeyEvent)) n += e.a == kVkBackspace && !(e.c & kKeyEventKeyUp);
    return n;
  }
  bool PlayerStarted() const { return !outputs_.empty(); }
  // The output last handed to the player.
  std::string Output() const { return outputs_.empty() ? "<none>" : outputs_.back(); }
};

TEST_F(ExpansionTest, AnAbbreviationFiresErasesItselfAndHandsItsOutputOver) {
  UseTriggers("; words\r\nbtw=By the way{Enter}\r\nsig=Regards\r\n");
  gFake.cursorX = 300;
  gFake.cursorY = 200;
  Type("xbt");
  EXPECT_FALSE(PlayerStarted());
  SetKey('W', true);
  gFake.tickCount += kTickMs;
  PollKeys();
  ASSERT_NE(gPlayer.outputBuffer, nullptr);
  EXPECT_STREQ(gPlayer.outputBuffer, "By the way{Enter}");
  EXPECT_EQ(FakeKeyEventText(), "8:0 8:2 8:0 8:2 8:0 8:2");
  EXPECT_EQ(FakeKeyBatchSizes(), std::vector<uint32_t>{6}) << "the Backspaces go in one piece";
  EXPECT_EQ(FakeEventsOf(kFakeKeyEvent)[0].b, 0x0Eu) << "with the Backspace key's scan code";
  EXPECT_EQ(gFake.statusText, " Shortcuts Used:  1");
  EXPECT_EQ(gShell.automationCount, 1);
  EXPECT_EQ(History(kHistorySize), std::string(kHistorySize, '\0'));
  EXPECT_EQ(gPlayer.savedCursorX, 300);
  EXPECT_EQ(gPlayer.savedCursorY, 200);
  EXPECT_EQ(gPlayer.playPosition, 0);
  std::vector<FakeEvent> starts = FakeEventsOf(kFakeTimerStart);
  EXPECT_EQ(starts.back().a, kPlayTimerId);
  EXPECT_EQ(starts.back().b, kPlayStartDelayMs);
  EXPECT_EQ(gFake.events.back().kind, kFakeTimerStart) << "the poller's timer stays stopped";
}

TEST_F(ExpansionTest, TheFirstMatchingEntryWins) {
  UseTriggers("bt=1\nbtw=2\n");
  Type("bt");
  EXPECT_EQ(Output(), "1") << "bt fires at the t, so btw never can";
  UseTriggers("tw=1\nbtw=2\n");
  Type("btw");
  EXPECT_EQ(Output(), "1");
  UseTriggers("btw=1\ntw=2\n");
  Type("btw");
  EXPECT_EQ(Output(), "1");
  EXPECT_EQ(Backspaces(), 3);
  UseTriggers("sig=One\nsig=Two\n");
  Type("sig");
  EXPECT_EQ(Output(), "One") << "the file's first line with the trigger is played";
}

TEST_F(ExpansionTest, AbbreviationsMatchInTheLetterCaseTyped) {
  UseTriggers("btw=x\nSig=y\n");
  Type("BTW");
  EXPECT_FALSE(PlayerStarted());
  Type("sig");
  EXPECT_FALSE(PlayerStarted());
  Type("Sig");
  EXPECT_EQ(Output(), "y");
}

TEST_F(ExpansionTest, LongAbbreviationsFireWholeAndEraseEveryCharacter) {
  std::string t61, t40;
  for (int i = 0; i < 61; ++i) t61 += char('a' + i % 26);
  for (int i = 0; i < 40; ++i) t40 += char('z' - i % 26);
  UseTriggers(t61 + "=sixty-one\n" + t40 + "=forty\n");
  Type(t61.substr(1));
  EXPECT_FALSE(PlayerStarted()) << "60 of the 61 characters are not enough";
  Type(t61.substr(0, 1) + t61);
  EXPECT_EQ(Output(), "sixty-one");
  EXPECT_EQ(Backspaces(), 61);
  UseTriggers(t40 + "=forty\n");
  Type("x" + t40);
  EXPECT_EQ(Output(), "forty");
  EXPECT_EQ(Backspaces(), 40);
}

TEST_F(ExpansionTest, HotkeysNeedExactlyTheirModifiersAndEraseNothing) {
  UseTriggers("{control}k=ctrl k\n{control}{shift}{alt}j=all\n{F5}=f5\n");
  Press('K');
  PressWith({kVkShift, kVkControl}, 'K');
  PressWith({kVkControl, kVkAlt}, 'K');
  PressWith({kVkAlt}, 0x74);
  EXPECT_FALSE(PlayerStarted());
  PressWith({kVkLeftControl, kVkControl}, 'K');
  EXPECT_EQ(Output(), "ctrl k");
  EXPECT_EQ(Backspaces(), 0);
  PressWith({kVkControl, kVkShift, kVkAlt}, 'J');
  EXPECT_EQ(Output(), "all");
  Press(0x74);
  EXPECT_EQ(Output(), "f5") << "a key name alone fires with no modifier held";
  EXPECT_EQ(gShell.automationCount, 3);
}

// An output with fields opens the form once the abbreviation is erased; cancelled, what the
// erase took comes back, and after a hotkey, which erased nothing, nothing does.
TEST_F(ExpansionTest, ACancelledFormTypesBackOnlyWhatTheEraseTook) {
  UseTriggers("ty=Dear {Input Name}\n{control}k=Hi {Input Name}\n");
  Type("xty");
  std::vector<FakeEvent> forms = FakeEventsOf(kFakeFieldForm);
  ASSERT_EQ(forms.size(), 1u);
  EXPECT_EQ(forms[0].text, "ty");
  EXPECT_EQ(forms[0].b, 1u) << "one field";
  EXPECT_EQ(Backspaces(), 2);
  EXPECT_FALSE(PlayerStarted()) << "the output waits for the form";
  TypeBackCancelledForm();
  ASSERT_NE(gPlayer.outputBuffer, nullptr);
  EXPECT_STREQ(gPlayer.outputBuffer, "ty");
  FreeAndForget(gPlayer.outputBuffer);
  gFake.events.clear();
  Type("hello");
  PressWith({kVkLeftControl, kVkControl}, 'K');
  ASSERT_EQ(FakeEventsOf(kFakeFieldForm).size(), 1u);
  EXPECT_EQ(Backspaces(), 0);
  TypeBackCancelledForm();
  EXPECT_EQ(gPlayer.outputBuffer, nullptr) << "typed back: " << gPlayer.outputBuffer;
}

TEST_F(ExpansionTest, AModifierThatWentDownInTheSameTickAsALowerKeyIsNotYetHeld) {
  UseTriggers("{control}{Enter}=x\n{VolumeUp}=media\n");
  SetKey(kVkControl, true);
  SetKey(kVkEnter, true);
  Tick();
  Tick();
  EXPECT_FALSE(PlayerStarted());
  SetKey(kVkControl, false);
  SetKey(kVkEnter, false);
  Tick();
  Press(kVkVolumeUp);
  EXPECT_EQ(Output(), "media") << "a key above 127 fires like any other";
}

TEST_F(ExpansionTest, AnEmptyOutputStillFiresErasesAndCounts) {
  UseTriggers("abc=\r\nxyz=1\r\n");
  Type("abc");
  EXPECT_EQ(Output(), "");
  EXPECT_EQ(Backspaces(), 3);
  EXPECT_EQ(gFake.statusText, " Shortcuts Used:  1");
}

TEST_F(ExpansionTest, AMiddleClickAtTheEndErasesNothing) {
  UseTriggers("x{4}=xo\n{4}=ok\n");
  Press(kVkMiddleButton);
  EXPECT_EQ(Output(), "ok");
  Type("x");
  Press(kVkMiddleButton);
  EXPECT_EQ(Output(), "xo");
  Type("y");
  PressWith({kVkShift}, kVkMiddleButton);
  EXPECT_EQ(outputs_.size(), 2u) << "with Shift the middle button records no 4";
  EXPECT_EQ(Backspaces(), 0);
}

TEST_F(ExpansionTest, EnvironmentReferencesAreExpandedWhateverTheirLength) {
  gFake.environment["USERNAME"] = "alice";
  std::string longValue(9000, 'v');  // longer than the whole trigger file
  gFake.environment["LONG"] = longValue;
  UseTriggers("me=I am %USERNAME%.\npc=100%\nno=%NOT_SET%\nlong=<%LONG%>\n");
  Type("me");
  EXPECT_EQ(Output(), "I am alice.");
  Type("pc");
  EXPECT_EQ(Output(), "100%");
  Type("no");
  EXPECT_EQ(Output(), "%NOT_SET%");
  Type("long");
  EXPECT_EQ(Output(), "<" + longValue + ">");
  gFake.failExpandEnvironment = true;
  Type("me");
  EXPECT_EQ(Output(), "I am %USERNAME%.") << "played as written when expansion fails";
}

TEST_F(ExpansionTest, OutputsAreReadFromTheFileAtEveryFiring) {
  UseTriggers("btw=old\r\nsig=Regards\r\n");
  Write("triggers.txt", "btw=new\r\nsig=Regards\r\n");
  Type("btw");
  EXPECT_EQ(Output(), "new") << "a changed output needs no reload";
  Write("triggers.txt", "sig=Regards\r\n");
  gFake.events.clear();
  Type("btw");
  EXPECT_EQ(Backspaces(), 3) << "erased all the same";
  EXPECT_EQ(outputs_.size(), 1u);
  EXPECT_EQ(gFake.statusText, " * * * WARNING: No output listed!");
  EXPECT_EQ(gShell.automationCount, 1);
  EXPECT_TRUE(pollerArmed_) << "the poller goes on";
  unlink(gShell.triggerPath);
  gFake.statusText.clear();
  Type("btw");
  EXPECT_EQ(gFake.statusText, " * * * WARNING: No output listed!");
}

TEST_F(ExpansionTest, OnlyALineThatBeginsWithTheTriggerIsFound) {
  UseTriggers("xbtw=no\nbtw=yes\n");
  Write("triggers.txt", "xbtw=no\n; btw=no\nbtw=yes\n");
  Type("btw");
  EXPECT_EQ(Output(), "yes");
  UseTriggers("btw=first line\n");
  Type("btw");
  EXPECT_EQ(Output(), "first line");
}

TEST_F(ExpansionTest, WaitsUpToASecondForTheModifiersToBeLetGoAndSendsNothingWhileHeld) {
  UseTriggers("{shift}{control}k=x\n");
  PressWith({kVkShift, kVkControl}, 'K');
  EXPECT_EQ(Output(), "x");
  EXPECT_EQ(FakeEventsOf(kFakeSleep).size(), kLetGoInWaitMs / 10) << "ten-millisecond looks until they are up";
  gFake.events.clear();
  SetKey(kVkShift, true);
  SetKey(kVkControl, true);
  Tick();
  Tick();  // a scan stops at the first key it finds down
  Press('K');
  EXPECT_EQ(outputs_.size(), 1u) << "still held after a second: typed now, the output would be shortcuts";
  EXPECT_TRUE(FakeEventsOf(kFakeKeyEvent).empty());
  std::vector<FakeEvent> sleeps = FakeEventsOf(kFakeSleep);
  EXPECT_EQ(sleeps.size(), 100u) << "ten-millisecond looks for one second";
  for (const FakeEvent& e : sleeps) ASSERT_EQ(e.a, 10u);
  SetKey(kVkShift, false);
  SetKey(kVkControl, false);
  Tick();
  UseTriggers("abc=x\n");
  Type("abc");
  EXPECT_TRUE(FakeEventsOf(kFakeSleep).empty()) << "no wait when nothing is held";
}

TEST_F(ExpansionTest, WithoutMemoryOrAReadableFileNothingIsErasedAndThePollerGoesOn) {
  UseTriggers("abc=x\n");
  Type("ab");
  gFake.failHeapAllocAt = gFake.heapAllocs + 1;
  Type("c");
  EXPECT_FALSE(PlayerStarted());
  EXPECT_TRUE(pollerArmed_);
  gFake.events.clear();
  gFake.lockedPaths.insert(gShell.triggerPath);  // another program holds the file
  Type("abc");
  EXPECT_FALSE(PlayerStarted());
  EXPECT_EQ(Backspaces(), 0) << "what was typed stays: there is nothing to type in its place";
  gFake.lockedPaths.clear();
  Type("abc");
  EXPECT_EQ(Output(), "x");
}

TEST_F(ExpansionTest, DebugModeLogsEachFiringBeforeAnythingElse) {
  char previous[kPathCapacity];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(folder_.c_str()), 0);  // the log's fixed path lands in the test's folder
  UseTriggers("; WordHatch_DEBUG\n{control}k=x\ngone=y\n");
  PressWith({kVkControl}, 'K');
  Write("triggers.txt", "; WordHatch_DEBUG\n");
  Type("gone");
  EXPECT_EQ(Read(PathOf(kDebugLogPath)), "09:05:01 \"{control}k=\"\r\n09:05:01 \"gone=\"\r\n");
  EXPECT_EQ(AppendDebugLog(PathOf("no/such/folder/log.txt").c_str(), "%s", "x"), 0u);
  ASSERT_EQ(chdir(previous), 0);
}

// A trigger of an included file plays the output of its own line in its own file, read in that
// file's encoding; the first line in file order wins across files, and variants count within
// their own file.
TEST_F(ExpansionTest, OutputsAreReadFromTheFiringTriggersOwnFile) {
  Write("team.txt", Utf16LeFile("{in other.exe}\r\nhi=Team other\r\nbye=Team other\r\n{everywhere}\r\n"
                                "hi=Team hi\r\nbye=Team bye\r\n{in other.exe}\r\n"));
  UseTriggers("{in other.exe}\r\nhi=Main other\r\n{everywhere}\r\nsig=Main\r\n{include team.txt}\r\n"
              "bye=Main bye\r\nend=Main end\r\n");
  FakeFrontWindowOf("target.exe");
  const char* fired[][2] = {{"sig", "Main"}, {"hi", "Team hi"}, {"bye", "Team bye"}, {"end", "Main end"}};
  for (auto& f : fired) {
    Type(f[0]);
    EXPECT_EQ(Output(), f[1]) << f[0];
  }
  FakeFrontWindowOf("other.exe");
  Type("hi");
  EXPECT_EQ(Output(), "Main other");
  Type("bye");
  EXPECT_EQ(Output(), "Team other");
}
