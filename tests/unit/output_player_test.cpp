// The output player through the recording fake: which events each token of an output gives,
// where playback goes on after it, when it pauses, and how the output ends.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "common/heap.h"
#include "common/state.h"
#include "platform/mouse.h"
#include "player/output_player.h"
#include "watcher/key_events.h"
#include "triggers/word_case.h"
#include "tests/unit/fake_platform.h"

namespace {

class OutputPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    gPlayer = PlayerState();
    gFake.foregroundX = 100, gFake.foregroundY = 200;
    gFake.screenWidth = 1025, gFake.screenHeight = 769;
    gPlayer.savedCursorX = 512, gPlayer.savedCursorY = 384;
  }
  void TearDown() override {
    FreeAndForget(gPlayer.outputBuffer);
    FreeAndForget(gPickList.listBuffer);  // a "LIST: " output leaves its list behind
  }

  // Hands `output` to the player, as the start of an expansion does.
  void Start(const std::string& output) {
    FreeAndForget(gPlayer.outputBuffer);
    gPlayer.outputBuffer = static_cast<char*>(AllocZeroed(output.size() + 1, 1));
    memcpy(gPlayer.outputBuffer, output.data(), output.size());
    StartPlayer();
  }
  // One tick, with a fresh record; the end of the output resumes watching, as the main window does.
  void Tick() {
    gFake.events.clear();
    if (PlayOutputTick()) ResumeKeyWatch();
  }
};

// Everything of a tick but the key events themselves, for example
// "stop7772 batch4 show cursor110,220 leftdown leftup sleep250 move1,2 start7772:10".
std::string Trace() {
  std::string out;
  for (const FakeEvent& e : gFake.events) {
    std::string a = std::to_string(int32_t(e.a)), b = std::to_string(int32_t(e.b)), c = std::to_string(int32_t(e.c));
    std::string item = e.kind == kFakeTimerStop ? "stop" + a : e.kind == kFakeTimerStart ? "start" + a + ":" + b
                     : e.kind == kFakeKeyBatch ? "batch" + a : e.kind == kFakeShowCursor ? "show"
                     : e.kind == kFakeSleep ? "sleep" + a : e.kind == kFakeCursorMove ? "cursor" + a + "," + b
                     : e.kind != kFakeMouseEvent ? "" : e.a == kMouseLeftDown ? "leftdown"
                     : e.a == kMouseLeftUp ? "leftup" : e.a == kMouseRightDown ? "rightdown"
                     : e.a == kMouseRightUp ? "rightup" : e.a == (kMouseMove | kMouseAbsolute) ? "move" + b + "," + c
                     : "mouse?";
    if (!item.empty()) out += (out.empty() ? "" : " ") + item;
  }
  return out;
}

// The trace of a click at x,y ("x,y") with the left or the right button.
std::string Click(const std::string& at, const char* button = "left") {
  return "show cursor" + at + " " + button + "down " + button + "up start7772:10";
}

TEST_F(OutputPlayerTest, StartsAtTheBeginningAndTheEndResumesWatching) {
  gPlayer.playPosition = 5;
  Start("ab");
  EXPECT_EQ(Trace(), "start7772:1");
  Tick();
  EXPECT_EQ(Trace(), "stop7772 batch4 start7771:10");
  EXPECT_EQ(gPlayer.outputBuffer, nullptr);
  EXPECT_EQ(gPlayer.playPosition, 0);
  Tick();  // a tick without any output ends quietly
  EXPECT_EQ(Trace(), "stop7772 start7771:10");
}

TEST_F(OutputPlayerTest, TextKeyNamesAndCommandsTickByTick) {
  // What the first tick does after stopping its timer (text and key names end the output in one
  // batch, a command flushes what was typed and pauses), then the key events of both ticks.
  const std::string blanks30(30, ' ');
  struct Case { std::string output, trace, keys; } cases[] = {
      {"", "start7771:10", ""},
      {"Hello{Enter}World", "batch26 start7771:10",
       "10:0 48:0 48:2 10:2 45:0 45:2 4C:0 4C:2 4C:0 4C:2 4F:0 4F:2 D:0 D:2 "
       "10:0 57:0 57:2 10:2 4F:0 4F:2 52:0 52:2 4C:0 4C:2 44:0 44:2"},
      {"{enter}", "batch2 start7771:10", "D:0 D:2"},
      {"{Foo}", "batch16 start7771:10",  // typed as it stands
       "10:0 DB:0 DB:2 10:2 10:0 46:0 46:2 10:2 4F:0 4F:2 4F:0 4F:2 10:0 DD:0 DD:2 10:2"},
      {"{ShiftDown}aBc{ShiftUp}", "batch10 start7771:10", "10:0 41:0 41:2 10:0 42:0 42:2 10:2 43:0 43:2 10:2"},
      {"{delay=500}", "start7772:500", ""},
      {"{Delay=500}", "start7772:500", ""},
      {"{Delay 500}ab", "start7772:500", "41:0 41:2 42:0 42:2"},
      {"{Delay-5}", "start7772:5", ""},              // the "-" is the skipped separator
      {"x{Delay-5}", "batch2 start7772:5", "58:0 58:2"},
      {"{Delay=-5}", "start7772:0", ""},             // a negative number is the shortest pause
      {"{Delay=}12", "start7772:12", "31:0 31:2 32:0 32:2"},   // the number may lie past the "}"
      {"{Delay}5", "start7772:5", "35:0 35:2"},      // the separator may be the "}" itself
      {"{Delay", "start7772:0", ""},
      {"{Delay=30 ab", "start7772:30", ""},          // no "}": the rest is taken up
      {"ab{CLICK 0,0}cd", "batch4 " + Click("100,200"), "41:0 41:2 42:0 42:2 43:0 43:2 44:0 44:2"},
      {"{click -5,10}", Click("95,210"), ""},
      {"{click right 30,40}", Click("130,240", "right"), ""},
      {"{click Right 30,40}", Click("130,240", "right"), ""},
      {"{click dbl 30,40}", "show cursor130,240 leftdown leftup sleep250 leftdown leftup start7772:10", ""},
      {"{click right dbl 30,40}", Click("130,240", "right"), ""},
      {"{click10,20}", Click("100,220"), ""},
      {"{click 100}", Click("200,200"), ""},
      {"{click}Hello, 5{Enter}", Click("100,205"), ""},
      {"{click", Click("100,200"), ""},
      {"{click 5,-3}", Click("105,197"), ""},         // the "-" directly before the digits is y's
      {"{click 1,2,3}", Click("101,202"), ""},        // y ends at the second comma
      {"{click 1,,3}", Click("101,200"), ""},
      {"{click " + blanks30 + "7,5}", Click("107,205"), ""},   // a field's 31st character is read
      {"{click " + blanks30 + " 7,5}", Click("100,205"), ""},  // its 32nd is not
      {"{click 1," + blanks30 + " 9}", Click("101,200"), ""},
      {"{click 2147483647,0}", Click("-2147483549,200"), ""},  // wraps instead of overflowing
      {"{MOUSE_RETURN}x", "move32767,32767 cursor512,384 start7772:10", "58:0 58:2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    Start(c.output);
    Tick();
    EXPECT_EQ(Trace(), "stop7772 " + c.trace);
    std::string keys = FakeKeyEventText();
    if (gPlayer.outputBuffer) {  // after a pause, the next tick must end the output
      Tick();
      keys += (keys.empty() || FakeKeyEventText().empty() ? "" : " ") + FakeKeyEventText();
    }
    EXPECT_EQ(keys, c.keys);
    EXPECT_EQ(gPlayer.outputBuffer, nullptr);
  }
}

TEST_F(OutputPlayerTest, TextIsTypedCharacterByCharacterInUtf8OrAsCodePageBytes) {
  struct Case { const char* what; std::string output, keys; } cases[] = {
      {"UTF-8 e acute, one character", "caf\xC3\xA9", "43:0 43:2 41:0 41:2 46:0 46:2 U+E9:4 U+E9:6"},
      {"UTF-8 euro and a character beyond U+FFFF", "\xE2\x82\xAC\xF0\x9F\x98\x80",
       "U+20AC:4 U+20AC:6 U+D83D:4 U+D83D:6 U+DE00:4 U+DE00:6"},
      {"code-page bytes of an ANSI file", "\xE9t \x80\x9F",
       "U+E9:4 U+E9:6 54:0 54:2 20:0 20:2 U+20AC:4 U+20AC:6 U+178:4 U+178:6"},
      {"an undefined code-page byte types nothing", "a\x81" "b", "41:0 41:2 42:0 42:2"},
      {"a sequence cut short is code-page bytes", "\xE2\x82" "a", "U+E2:4 U+E2:6 U+201A:4 U+201A:6 41:0 41:2"},
      {"a key name after a multi-byte character", "\xC3\xA4{Enter}", "U+E4:4 U+E4:6 D:0 D:2"},
  };
  for (const Case& c : cases) {
    Start(c.output);
    Tick();
    EXPECT_EQ(FakeKeyEventText(), c.keys) << c.what;
    EXPECT_EQ(gPlayer.outputBuffer, nullptr) << c.what;
  }
}

TEST_F(OutputPlayerTest, TheLayoutOfTheWindowInFrontChoosesTheKeys) {
  gFake.foregroundLayout = kFakeLayoutGerman;
  Start("a@\xC3\xA4");
  Tick();
  EXPECT_EQ(FakeKeyEventText(), "41:0 41:2 U+40:4 U+40:6 DE:0 DE:2");
}

TEST_F(OutputPlayerTest, CommandsThatBringAWindowForwardWaitForTheKeysTypedBefore) {
  gFake.startableFiles = {"prog"};
  FakeAddWindow("Other");
  // Where sharing the front window's input ("share", "stop") and the wait for the keys come in
  // the play of each output, in the order of events. Sharing begins before the first key that a
  // wait watches and ends before the command acts; keys after the last wait go unshared.
  struct Case { std::string output; const char* order; } cases[] = {
      {"ab{click 1,2}", "share batch wait stop mouse"},
      {"ab RUN: prog{Enter}", "share batch wait stop batch"},
      {"ab WINDOW: Other", "share batch wait stop"},
      {"ab LIST: x; y", "share batch wait stop"},
      {"ab RUN: nothing_here", "share batch wait stop"},  // the warning comes after the wait
      {"RUN: prog", ""},                                  // no keys typed, no wait
      {"ab{Delay 5}cd", "batch"},                         // a pause brings nothing forward
      {"ab{mouse_return}", "batch mouse"},
      // Held across the pause and the click: the keys after the click are shared anew.
      {"{ShiftDown}a{Delay 5}b{click 1,2}c{click 3,4}{ShiftUp}",
       "share batch wait stop mouse share batch wait stop mouse batch"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    gPlayer.keysUnconfirmed = false;
    Start(c.output);
    std::string order;
    while (gPlayer.outputBuffer) {
      Tick();
      for (const FakeEvent& e : gFake.events) {
        const char* item = e.kind == kFakeKeyBatch ? "batch" : e.kind == kFakeKeysTakenWait ? "wait"
                         : e.kind == kFakeMouseEvent ? "mouse" : e.kind == kFakeShareInput ? "share"
                         : e.kind == kFakeStopSharing ? "stop" : nullptr;
        if (!item || (!order.empty() && order.substr(order.rfind(' ') + 1) == item)) continue;
        order += (order.empty() ? "" : " ") + std::string(item);
      }
    }
    EXPECT_EQ(order, c.order);
    EXPECT_EQ(gPlayer.sharedInputThread, 0u) << "the output ends unshared";
  }
}

TEST_F(OutputPlayerTest, KeysAreWaitedForUnsharedOnlyWhenOurOwnWindowIsInFront) {
  gFake.frontInputThread = 0;
  Start("ab{click 1,2}");
  Tick();
  EXPECT_TRUE(FakeEventsOf(kFakeKeysTakenWait).empty());
  EXPECT_TRUE(FakeEventsOf(kFakeStopSharing).empty());
  EXPECT_EQ(FakeEventsOf(kFakeKeyBatch).size(), 1u);
}

TEST_F(OutputPlayerTest, TheCaseTypedAndTheEndingCharacterShapeOnlyTheText) {
  const struct {
    const char* output;
    uint8_t outputCase;
    const char* typed;
  } cases[] = {
      {"the{Tab}way", kCaseAllCapitals, "THE\tWAY."},
      {"(the) way", kCaseFirstCapital, "(The) way."},
      {"42nd", kCaseFirstCapital, "42nd."},
      {"a{Delay 1}b", kCaseAsWritten, "ab."},
  };
  for (const auto& c : cases) {
    Start(c.output);
    gPlayer.outputCase = c.outputCase;
    strcpy(gPlayer.endingText, ".");
    gFake.events.clear();
    for (int tick = 0; tick < 3 && gPlayer.outputBuffer; ++tick) {
      if (PlayOutputTick()) ResumeKeyWatch();
    }
    EXPECT_EQ(FakeTypedText(), c.typed) << c.output;
    EXPECT_EQ(gPlayer.outputCase, kCaseAsWritten) << "the end resets it";
  }
  Start("Hi WINDOW: Nowhere");
  strcpy(gPlayer.endingText, ",");
  Tick();
  EXPECT_EQ(FakeTypedText(), "Hi ,") << "typed where the text went, before the window changes";
  gPlayer.literalOutput = true;
  Start("{Enter}RUN: x%");
  Tick();
  EXPECT_EQ(FakeTypedText(), "{Enter}RUN: x%") << "a literal output plays nothing";
  EXPECT_FALSE(gPlayer.literalOutput);
  EXPECT_TRUE(IsPlainTextOutput("Plain, (text) 100% {braces}"));
  for (const char* output : {"a{Enter}", "RUN: x", "x\ty", "{click 1,2}", "a LIST: b"}) {
    EXPECT_FALSE(IsPlainTextOutput(output)) << output;
  }
}

}  // namespace
