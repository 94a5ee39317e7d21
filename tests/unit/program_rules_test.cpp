// Program rules and Suspend: patterns against the program and title of the window in front,
// rules on options lines and trigger lines, variants of one trigger in file order with the
// output of the line that fired, and nothing kept of what is typed where nothing may fire.
#include <string>

#include "common/text.h"
#include "player/inserted_text.h"
#include "tests/unit/watcher_fixture.h"
#include "triggers/firing_rules.h"

const int kVkP = 'P';

TEST(PatternTest, StarQuestionMarkAndWholeText) {
  struct Case {
    const char* pattern;
    const char* text;
    bool matches;
  };
  const Case cases[] = {
      {"notepad.exe", "notepad.exe", true},   {"notepad.exe", "notepad.exe2", false},
      {"note", "notepad.exe", false},         {"*.exe", "notepad.exe", true},
      {"keepass*.exe", "keepassxc.exe", true}, {"keepass*.exe", "keepass.exe", true},
      {"keepass*.exe", "keepass.com", false}, {"n?tepad.exe", "notepad.exe", true},
      {"n?tepad.exe", "ntepad.exe", false},   {"*- gmail*", "inbox - gmail - browser", true},
      {"*a*b", "aaab", true},                 {"*a*b", "aaba", false},
      {"*", "", true},                        {"?", "", false},
      {"\xC3\xA9?", "\xC3\xA9\xE2\x82\xAC", true},  // "?" takes one character of three bytes
      {"??", "\xE2\x82\xAC", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PatternMatches(c.pattern, strlen(c.pattern), c.text), c.matches) << c.pattern << " / " << c.text;
  }
}

TEST(PatternTest, RuleWordsAreReadInAnyCaseWithBlanksAroundPatternsOff) {
  RuleWord word;
  EXPECT_EQ(ReadRuleWordAt("{IN  Notepad.EXE ;title *- Gmail* ; }=x", &word), strlen("{IN  Notepad.EXE ;title *- Gmail* ; }"));
  EXPECT_STREQ(word.patterns, "notepad.exe;title *- gmail*;");
  EXPECT_TRUE(word.byTitle);
  EXPECT_FALSE(word.exclude);
  EXPECT_GT(ReadRuleWordAt("{Not In keepass*.exe}", &word), 0u);
  EXPECT_TRUE(word.exclude);
  EXPECT_FALSE(word.byTitle);
  EXPECT_GT(ReadRuleWordAt("{EVERYWHERE}", &word), 0u);
  EXPECT_TRUE(word.everywhere);
  EXPECT_EQ(ReadRuleWordAt("{insert}", &word), 0u) << "a key name";
  EXPECT_EQ(ReadRuleWordAt("{in notepad.exe\r\n}", &word), 0u) << "no end on its line";
  EXPECT_EQ(ReadRuleWordAt(("{in " + std::string(kMaxRulePatternBytes + 1, 'x') + "}").c_str(), &word), 0u);
}

class ProgramRulesTest : public WatcherTest {
 protected:
  void UseTriggers(const std::string& triggers) {
    CopyTextBounded(gShell.triggerPath, PathOf("triggers.txt").c_str(), sizeof gShell.triggerPath);
    ASSERT_GT(Load(triggers), 0);
    outputs_.clear();
    gFake.events.clear();
  }
  // Types `text` and returns the output that it fired ("" for none).
  std::string Fired(const std::string& text) {
    outputs_.clear();
    Type(text);
    return outputs_.empty() ? "" : outputs_.back();
  }
  void TearDown() override {
    SetTriggersSuspended(false);
    gWatcher.front = WindowInFront();
    WatcherTest::TearDown();
  }
};

TEST_F(ProgramRulesTest, VariantsFireInTheirProgramsWithTheOutputOfTheirOwnLine) {
  UseTriggers(
      "{in notepad.exe}\r\nsig=Notepad's\r\n{word}{case}\r\nok=Notepad's word\r\n{anywhere}{exact}{in target.exe}\r\n"
      "sig=Target's\r\n{everywhere}\r\nsig=Anywhere\r\nmail{not in Notepad.exe; title *secret*}=No notepad\r\n"
      "{in notepad.exe}\r\nmail{everywhere}=Own line\r\n");
  FakeFrontWindowOf("NOTEPAD.EXE", "Untitled - Notepad");
  EXPECT_EQ(Fired("sig"), "Notepad's") << "the first of three lines that begin \"sig=\"";
  EXPECT_EQ(Fired("mail"), "Own line") << "the line's own rule replaces the options line's";
  EXPECT_EQ(Fired("OK "), "Notepad's word");
  FakeFrontWindowOf("target.exe", "WordHatch test window");
  EXPECT_EQ(Fired("sig"), "Target's") << "the second line with the same search key";
  EXPECT_EQ(Fired("mail"), "No notepad");
  EXPECT_EQ(Fired(" ok "), "") << "{word}{case} kept the rule of the line above";
  FakeFrontWindowOf("other.exe", "A secret document");
  EXPECT_EQ(Fired("sig"), "Anywhere");
  EXPECT_EQ(Fired("mail"), "Own line") << "a title pattern excludes the first";
  EXPECT_EQ(TriggerCount(), 6);
  EXPECT_EQ(ProgramRuleCount(), 4) << "an options line's rule is one for all its lines";
}

TEST_F(ProgramRulesTest, ARuleLongerThanATriggerStillLoadsAndHotkeysFollowRules) {
  std::string programs = "a-program-with-a-long-name.exe; another-program-with-a-long-name.exe; target.exe";
  UseTriggers("ty{in " + programs + "}=Thanks\r\neq{in title x=y*}=Equals\r\n{in notepad.exe}\r\n"
              "{control}{alt}p=Hotkey\r\n");
  FakeFrontWindowOf("target.exe", "X=Y test");
  EXPECT_EQ(Fired("ty"), "Thanks");
  EXPECT_EQ(Fired("eq"), "Equals") << "an \"=\" in a rule word does not end the trigger";
  outputs_.clear();
  PressWith({kVkControl, kVkAlt}, kVkP);
  EXPECT_TRUE(outputs_.empty()) << "the hotkey is for Notepad only";
  FakeFrontWindowOf("notepad.exe");
  PressWith({kVkControl, kVkAlt}, kVkP);
  EXPECT_EQ(outputs_.back(), "Hotkey");
}

TEST_F(ProgramRulesTest, NothingTypedIsKeptWhereNothingMayFire) {
  UseTriggers("{not in keepass*.exe}\r\nbtw=by the way\r\n");
  uint32_t keepass = FakeFrontWindowOf("KeePassXC.exe", "Passwords");
  Type("bt");
  EXPECT_EQ(History(kHistorySize), std::string(kHistorySize, '\0')) << "none of the password's keys";
  FakeFrontWindowOf("target.exe");
  EXPECT_EQ(Fired("w"), "") << "its first keys were never seen";
  EXPECT_EQ(Fired("btw"), "by the way");
  gFake.foregroundWindow = keepass;
  Type("x");
  EXPECT_EQ(History(kHistorySize), std::string(kHistorySize, '\0')) << "the history is cut off on return";
  EXPECT_EQ(FakeEventsOf(kFakeProgramQuery).size(), 3u) << "the program is asked when the window changes only";
}

TEST_F(ProgramRulesTest, ATitleIsReadOnlyWhenARuleOnTitlesIsJudged) {
  UseTriggers("btw=plain\r\n{in title *Mail*}\r\nsig=Mail signature\r\n");
  uint32_t window = FakeFrontWindowOf("browser.exe", "Inbox - Mail");
  EXPECT_EQ(Fired("btw"), "plain");
  EXPECT_TRUE(FakeEventsOf(kFakeCaptionQuery).empty());
  EXPECT_EQ(Fired("sig"), "Mail signature");
  EXPECT_EQ(FakeEventsOf(kFakeCaptionQuery).size(), 1u);
  gFake.windows[window - 1].title = "News";
  EXPECT_EQ(Fired("sig"), "") << "the title is read anew: the same window, another tab";
}

TEST_F(ProgramRulesTest, WhileSuspendedOnlyTheHotkeyThatSwitchesItFires) {
  UseTriggers("btw=by the way\r\n{control}{alt}p=x{Suspend}\r\n{control}{alt}q=other\r\n");
  SetTriggersSuspended(true);
  EXPECT_EQ(Fired("btw"), "");
  EXPECT_EQ(History(kHistorySize), std::string(kHistorySize, '\0'));
  PressWith({kVkControl, kVkAlt}, 'Q');
  EXPECT_TRUE(outputs_.empty());
  PressWith({kVkControl, kVkAlt}, kVkP);
  ASSERT_FALSE(outputs_.empty());
  EXPECT_EQ(outputs_.back(), "x{Suspend}");
  UseTriggers("btw=by the way\r\n");
  EXPECT_TRUE(TriggersSuspended()) << "a load leaves Suspend as it is";
}

TEST_F(ProgramRulesTest, ProgramAndTitleAreTypedAsPlainText) {
  FakeFrontWindowOf("Target.exe", "{Enter} 100% RUN: x\ty");
  uint32_t length = 0;
  char* text = InsertedText("{Program}", strlen("{Program}"), &length);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "Target.exe");
  FreeBlock(text);
  text = InsertedText("{title}", strlen("{title}"), &length);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "{Enter} 100% RUN: x\ty");
  FreeBlock(text);
}
