// "RUN: " and "WINDOW: " through the recording fake: how a command text is split for the shell,
// the two attempts of a start, the window search's passes, and how the player goes on after each.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "common/heap.h"
#include "common/state.h"
#include "picklist/pick_list.h"
#include "player/output_player.h"
#include "watcher/key_events.h"
#include "player/program_commands.h"
#include "player/window_commands.h"
#include "tests/unit/fake_platform.h"

namespace {

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    gPlayer = PlayerState();
  }
  void TearDown() override { FreeAndForget(gPlayer.outputBuffer); }

  // Plays `output` for one tick from its start, with a fresh record.
  void PlayTick(const std::string& output) {
    FreeAndForget(gPlayer.outputBuffer);
    gPlayer.outputBuffer = static_cast<char*>(AllocZeroed(output.size() + 1, 1));
    memcpy(gPlayer.outputBuffer, output.data(), output.size());
    StartPlayer();
    gFake.events.clear();
    if (PlayOutputTick()) ResumeKeyWatch();  // as the main window does at the end
  }
};

// What the shell was asked to start, as "file|parameters" each.
std::vector<std::string> ShellCalls() {
  std::vector<std::string> out;
  for (const FakeEvent& e : FakeEventsOf(kFakeShellExecute)) out.push_back(e.text + "|" + e.detail);
  return out;
}

std::string Warnings() {
  std::string out;
  for (const FakeEvent& e : FakeEventsOf(kFakeWarning)) out += e.text + "/" + e.detail + ";";
  return out;
}

bool PollerRestarted() {
  for (const FakeEvent& e : FakeEventsOf(kFakeTimerStart)) {
    if (e.a == 7771) return true;
  }
  return false;
}

std::string Split(const std::string& command) {
  char program[kProgramNameLimit + 1], parameters[kParametersLimit + 1];
  SplitCommand(command.c_str(), program, parameters);
  return std::string(program) + "|" + parameters;
}

TEST_F(CommandTest, SplitsProgramNameFromParameters) {
  EXPECT_EQ(Split("notepad"), "notepad|");
  EXPECT_EQ(Split(" \t\r\nD:\\Tools\\app.exe  -q "), "D:\\Tools\\app.exe|-q");
  EXPECT_EQ(Split("D:\\Program Files\\Tool\\tool.exe"), "D:\\Program|Files\\Tool\\tool.exe");
  // A quoted name: either kind of quote closes it, and the padding quotes of the rest go.
  EXPECT_EQ(Split("\"C:\\a b\\x.exe' arg"), "C:\\a b\\x.exe|arg");
  EXPECT_EQ(Split("'unclosed name"), "unclosed name|");
  // A quoted last parameter keeps its opening quote only.
  EXPECT_EQ(Split("\"x.exe\" -f \"my file\""), "x.exe|-f \"my file");
  // "#" ends an unquoted name and begins the parameters.
  EXPECT_EQ(Split("D:\\Docs\\page.html#top"), "D:\\Docs\\page.html|#top");
  EXPECT_EQ(Split(""), "|");
  // Both halves are cut at their limits; the parameters' limit counts the blank that ended the
  // name, before it is trimmed.
  EXPECT_TRUE(Split(std::string(300, 'a')) == std::string(254, 'a') + "|");
  EXPECT_TRUE(Split("x " + std::string(300, 'b')) == "x|" + std::string(253, 'b'));
}

TEST_F(CommandTest, RunTriesTheQuotedCommandSecondAndEntersItsFolder) {
  gFake.startableFiles = {"C:\\Program Files\\Tool\\tool.exe"};
  gFake.folders = {"C:\\Program Files\\Tool"};
  EXPECT_TRUE(RunCommand("C:\\Program Files\\Tool\\tool.exe"));
  EXPECT_EQ(ShellCalls(), (std::vector<std::string>{"C:\\Program|Files\\Tool\\tool.exe",
                                                    "C:\\Program Files\\Tool\\tool.exe|"}));
  EXPECT_EQ(gFake.currentDirectory, "C:\\Program Files\\Tool");
  EXPECT_EQ(Warnings(), "");

  // A name without a folder leaves the current directory alone, and one attempt is enough.
  gFake.events.clear();
  gFake.startableFiles = {"notepad"};
  EXPECT_TRUE(RunCommand("notepad"));
  EXPECT_EQ(ShellCalls(), std::vector<std::string>{"notepad|"});
  EXPECT_EQ(gFake.currentDirectory, "C:\\Program Files\\Tool");
}

TEST_F(CommandTest, FailedRunWarnsWithTheQuotedCommandAndEndsTheOutput) {
  PlayTick("Then run: fast{Enter}more");
  EXPECT_EQ(ShellCalls(), (std::vector<std::string>{"fast|", "fast|"}));
  EXPECT_EQ(Warnings(), "Unable to run program/\"fast\";");
  // "Then " was typed before the command (Shift around the T); neither Enter nor "more" follows.
  EXPECT_EQ(FakeEventsOf(kFakeKeyEvent).size(), 2u + 5 * 2);
  EXPECT_TRUE(PollerRestarted());
  EXPECT_EQ(gPlayer.outputBuffer, nullptr);

  gFake.events.clear();
  EXPECT_FALSE(RunCommand(""));
  EXPECT_EQ(Warnings(), "Unable to run program/\"\";");
}

TEST_F(CommandTest, RunArgumentEndsAtBraceOrLimitAndPlaybackGoesOn) {
  gFake.startableFiles = {"notepad"};
  PlayTick("RUN: notepad{Delay=2000}Hello");
  EXPECT_EQ(ShellCalls(), std::vector<std::string>{"notepad|"});
  EXPECT_EQ(FakeEventsOf(kFakeTimerStart).back().b, 2000u);

  // 300 characters: the first 258 are the command, the other 42 are typed.
  gFake.startableFiles = {std::string(254, 'p')};
  PlayTick("RUN: " + std::string(258, 'p') + std::string(42, 'q'));
  ASSERT_EQ(FakeEventsOf(kFakeShellExecute).size(), 1u);
  EXPECT_EQ(FakeEventsOf(kFakeKeyEvent).size(), 42u * 2);
  EXPECT_EQ(FakeKeyEventText().substr(0, 6), "51:0 5");  // a q, down then up
}

class WindowSearchTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    above_ = FakeAddWindow("Untitled");  // top-most, above the foreground window
    gFake.foregroundWindow = FakeAddWindow("Mail - Inbox");
    contains_ = FakeAddWindow("My Untitled - Notepad");
    prefix_ = FakeAddWindow("untitled - Notepad");
    FakeAddWindow("");
  }
  uint32_t Found(const char* title) {
    return uint32_t(reinterpret_cast<uintptr_t>(FindWindowByTitle(title)));
  }
  uint32_t above_, contains_, prefix_;
};

TEST_F(WindowSearchTest, ExactThenPrefixThenContainsFromTheForegroundDown) {
  EXPECT_EQ(Found("Untitled"), above_);  // only the exact lookup sees windows above
  EXPECT_EQ(Found("UNTITLED -"), prefix_);
  EXPECT_EQ(Found("titled"), contains_);
  EXPECT_EQ(Found("mail"), gFake.foregroundWindow);
  gFake.events.clear();
  EXPECT_EQ(Found("Calculator"), 0u);
  // Three passes over the four windows from the foreground one down, the untitled one included.
  EXPECT_EQ(FakeEventsOf(kFakeTitleQuery).size(), 3u * 4);
  // A title is compared on its first 62 characters only.
  gFake.windows[contains_ - 1].title = std::string(62, 'x') + "tail";
  EXPECT_EQ(Found("xtail"), 0u);
  EXPECT_EQ(Found("xxxx"), contains_);
}

TEST_F(WindowSearchTest, WindowThatDoesNotAnswerIsPassedBy) {
  // The foreground window is frozen; the last title read in the first pass was "beta", which
  // must not stand in for the frozen window's title in the second pass.
  gFake.windows.clear();
  gFake.foregroundWindow = FakeAddWindow("Frozen", false);
  uint32_t beta = FakeAddWindow("beta");
  EXPECT_EQ(Found("BET"), beta);
  EXPECT_EQ(Found("froz"), 0u);
}

TEST_F(WindowSearchTest, WindowCommandBringsForwardAndPausesOrWarnsAndEnds) {
  PlayTick("window: titled{Enter}");
  ASSERT_EQ(FakeEventsOf(kFakeBringForward).size(), 1u);
  EXPECT_EQ(FakeEventsOf(kFakeBringForward)[0].a, contains_);
  EXPECT_EQ(FakeEventsOf(kFakeTimerStart).back().a, 7772u);
  EXPECT_EQ(FakeEventsOf(kFakeTimerStart).back().b, 10u);
  EXPECT_EQ(FakeKeyEventText(), "");
  gFake.events.clear();
  if (PlayOutputTick()) ResumeKeyWatch();  // as the main window does at the end
  EXPECT_EQ(FakeKeyEventText(), "D:0 D:2");

  PlayTick("WINDOW: Calculator{Enter}");
  EXPECT_EQ(Warnings(), "Window not found/Calculator;");
  EXPECT_EQ(FakeKeyEventText(), "");
  EXPECT_TRUE(PollerRestarted());

  // An empty title names no window: the output stops rather than type into whichever is next.
  PlayTick("WINDOW: {Enter}");
  EXPECT_EQ(Warnings(), "Window not found/;");
  EXPECT_TRUE(FakeEventsOf(kFakeBringForward).empty());
  EXPECT_EQ(FakeKeyEventText(), "");
}

TEST_F(CommandTest, ListOpensAndPlaybackGoesOnAtOnce) {
  PlayTick("list: a;b{Enter}");
  EXPECT_EQ(FakeEventsOf(kFakeListWindow).size(), 1u);
  EXPECT_EQ(FakeKeyEventText(), "D:0 D:2");
  EXPECT_TRUE(PollerRestarted());
  ReleasePickList();
}

}  // namespace
