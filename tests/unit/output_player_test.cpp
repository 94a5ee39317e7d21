// The output player through the recording fake: which events each token of an output gives,
// where playback goes on, when it pauses, and how the output ends.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "common/heap.h"
#include "common/state.h"
#include "platform/mouse.h"
#include "player/output_player.h"
#include "tests/unit/fake_platform.h"

namespace {

class OutputPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    gPlayer = PlayerState();
    gFake.foregroundX = 100;
    gFake.foregroundY = 200;
  }
  void TearDown() override { FreeAndForget(gPlayer.outputBuffer); }

  // Hands `output` to the player, as the start of an expansion does.
  void Start(const std::string& output) {
    FreeAndForget(gPlayer.outputBuffer);
    gPlayer.outputBuffer = static_cast<char*>(AllocZeroed(output.size() + 1, 1));
    memcpy(gPlayer.outputBuffer, output.data(), output.size());
    StartPlayer();
  }

  // Runs one tick with a fresh record.
  void Tick() {
    gFake.events.clear();
    PlayOutputTick();
  }
};

// Everything of a tick except the key events themselves, in order, for example
// "stop7772 batch4 show cursor110,220 leftdown leftup sleep250 move1,2 start7772:10".
std::string Trace() {
  std::string out;
  for (const FakeEvent& e : gFake.events) {
    std::string a = std::to_string(int32_t(e.a)), b = std::to_string(int32_t(e.b));
    std::string c = std::to_string(int32_t(e.c));
    std::string item = e.kind == kFakeTimerStop ? "stop" + a
                     : e.kind == kFakeTimerStart ? "start" + a + ":" + b
                     : e.kind == kFakeKeyBatch ? "batch" + a
                     : e.kind == kFakeShowCursor ? "show"
                     : e.kind == kFakeSleep ? "sleep" + a
                     : e.kind == kFakeCursorMove ? "cursor" + a + "," + b
                     : e.kind != kFakeMouseEvent ? ""
                     : e.a == kMouseLeftDown ? "leftdown"
                     : e.a == kMouseLeftUp ? "leftup"
                     : e.a == kMouseRightDown ? "rightdown"
                     : e.a == kMouseRightUp ? "rightup"
                     : e.a == (kMouseMove | kMouseAbsolute) ? "move" + b + "," + c : "mouse?";
    if (!item.empty()) out += (out.empty() ? "" : " ") + item;
  }
  return out;
}

const char kEnds[] = "stop7772 start7771:10";

// The key events that type `text` on the fake's US layout, as FakeKeyEventText writes them.
std::string Typed(const std::string& text) {
  struct Sign { char c; unsigned vk; bool shift; } signs[] = {
      {'{', 0xDB, true}, {'}', 0xDD, true}, {',', 0xBC, false}, {'=', 0xBB, false}, {' ', 0x20, false}};
  std::string out;
  for (char c : text) {
    Sign key = {c, unsigned(c), false};
    if (c >= 'a' && c <= 'z') key.vk = unsigned(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z') key.shift = true;
    for (const Sign& sign : signs) if (sign.c == c) key = sign;
    char one[40];
    snprintf(one, sizeof one, key.shift ? "10:0 %X:0 %X:2 10:2" : "%X:0 %X:2", key.vk, key.vk);
    out += (out.empty() ? "" : " ") + std::string(one);
  }
  return out;
}

TEST_F(OutputPlayerTest, StartPlaysFromTheBeginningAfterOneMillisecond) {
  Start("x");
  gPlayer.playPosition = 5;
  gFake.events.clear();
  StartPlayer();
  EXPECT_EQ(gPlayer.playPosition, 0);
  EXPECT_EQ(Trace(), "start7772:1");
}

TEST_F(OutputPlayerTest, EndingFreesTheOutputAndRestartsThePoller) {
  for (const char* output : {"", "ab"}) {
    Start(output);
    Tick();
    EXPECT_EQ(Trace(), std::string(*output ? "stop7772 batch4 " : "stop7772 ") + "start7771:10") << output;
    EXPECT_EQ(gPlayer.outputBuffer, nullptr) << output;
    EXPECT_EQ(gPlayer.playPosition, 0) << output;
  }
  // A tick without any output ends quietly.
  gPlayer.playPosition = 3;
  Tick();
  EXPECT_EQ(Trace(), kEnds);
  EXPECT_EQ(gPlayer.playPosition, 0);
}

TEST_F(OutputPlayerTest, TextAndKeyNamesPlayInOneTick) {
  struct Case { const char* output; std::string keys; } cases[] = {
      {"Hello{Enter}World", Typed("Hello") + " D:0 D:2 " + Typed("World")},
      {"{enter}", "D:0 D:2"},
      {"{F12}", "7B:0 7B:2"},
      {"{Foo}", Typed("{Foo}")},
      {"{Enter", Typed("{Enter")},
      {"{{Enter}}", Typed("{") + " D:0 D:2 " + Typed("}")},
      {"{ShiftDown}aBc{ShiftUp}", "10:0 41:0 41:2 10:0 42:0 42:2 10:2 43:0 43:2 10:2"},
      {"{ControlDown}a{ControlUp}", "11:1 41:0 41:2 11:3"},
      {"{Control}", "11:3"},
      {"RUNNING", Typed("RUNNING")},
  };
  for (const Case& c : cases) {
    Start(c.output);
    Tick();
    EXPECT_EQ(FakeKeyEventText(), c.keys) << c.output;
    EXPECT_EQ(FakeKeyBatchSizes().size(), 1u) << c.output;
    EXPECT_EQ(gPlayer.outputBuffer, nullptr) << c.output;
  }
}

TEST_F(OutputPlayerTest, DelayPausesAndGoesOnAfterItsBrace) {
  struct Case { const char* output; uint32_t ms; int32_t next; std::string keysAfter; } cases[] = {
      {"{delay=500}", 500, 11, ""},
      {"{Delay=500}", 500, 11, ""},
      {"{Delay 500}", 500, 11, ""},
      {"{DELAY=500}ab", 500, 11, Typed("ab")},
      {"{Delay-5}", 5, 9, ""},           // the "-" is the skipped separator
      {"{Delay=-5}", 0, 10, ""},         // a negative number is the shortest pause
      {"{Delay=}12", 12, 8, Typed("12")},
      {"{Delay}5", 5, 7, Typed("5")},
      {"{Delay", 0, 6, ""},
      {"{Delay=", 0, 7, ""},
      {"{Delay=30 ab", 30, 12, ""},      // no "}": the rest is taken up
      {"x{Delay=1000}", 1000, 13, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    Start(c.output);
    Tick();
    EXPECT_EQ(gPlayer.playPosition, c.next);
    EXPECT_EQ(Trace(), std::string(c.output[0] == 'x' ? "stop7772 batch2 " : "stop7772 ") + "start7772:" +
                           std::to_string(c.ms));
    Tick();
    EXPECT_EQ(FakeKeyEventText(), c.keysAfter);
    EXPECT_EQ(gPlayer.outputBuffer, nullptr);
  }
}

TEST_F(OutputPlayerTest, PausesAndCommandsFlushWhatWasTypedBeforeThem) {
  Start("ab{Delay=5}cd{click 1,2}");
  Tick();
  EXPECT_EQ(Trace(), "stop7772 batch4 start7772:5");
  EXPECT_EQ(FakeKeyEventText(), Typed("ab"));
  Tick();
  EXPECT_EQ(Trace(), "stop7772 batch4 show cursor101,202 leftdown leftup start7772:10");
  EXPECT_EQ(FakeKeyEventText(), Typed("cd"));
  Tick();
  EXPECT_EQ(Trace(), kEnds);
}

TEST_F(OutputPlayerTest, ClickVariants) {
  struct Case { const char* output; const char* trace; std::string keysAfter; } cases[] = {
      {"{click 120,45}", "cursor220,245 leftdown leftup", ""},
      {"{CLICK 0,0}", "cursor100,200 leftdown leftup", ""},
      {"{click -5,10}", "cursor95,210 leftdown leftup", ""},
      {"{click right 30,40}", "cursor130,240 rightdown rightup", ""},
      {"{click Right 30,40}", "cursor130,240 rightdown rightup", ""},
      {"{click dbl 30,40}", "cursor130,240 leftdown leftup sleep250 leftdown leftup", ""},
      {"{click right dbl 30,40}", "cursor130,240 rightdown rightup", ""},
      {"{click10,20}", "cursor100,220 leftdown leftup", ""},
      {"{click 100}", "cursor200,200 leftdown leftup", ""},
      {"{click}Hello, 5{Enter}", "cursor100,205 leftdown leftup", ""},
      {"{click 10,20}Hello", "cursor110,220 leftdown leftup", Typed("Hello")},
      {"{click 10,20", "cursor110,220 leftdown leftup", ""},
      {"{click", "cursor100,200 leftdown leftup", ""},
      {"{click}", "cursor100,200 leftdown leftup", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    Start(c.output);
    Tick();
    EXPECT_EQ(Trace(), std::string("stop7772 show ") + c.trace + " start7772:10");
    Tick();
    EXPECT_EQ(FakeKeyEventText(), c.keysAfter);
    EXPECT_EQ(gPlayer.outputBuffer, nullptr);
  }
}

TEST_F(OutputPlayerTest, MouseReturnGoesBackToTheSavedPosition) {
  gFake.screenWidth = 1025;
  gFake.screenHeight = 769;
  Start("{click 10,20}{MOUSE_RETURN}x");
  gPlayer.savedCursorX = 512;
  gPlayer.savedCursorY = 384;
  Tick();
  EXPECT_EQ(gPlayer.playPosition, 13);
  Tick();
  EXPECT_EQ(Trace(), "stop7772 move32767,32767 cursor512,384 start7772:10");
  EXPECT_EQ(gPlayer.playPosition, 27);
  Tick();
  EXPECT_EQ(FakeKeyEventText(), Typed("x"));
}

TEST_F(OutputPlayerTest, LongTextGoesOutInFullBatchesThatSplitNoCharacter) {
  // Pieces of text whose events may not be split, with the number of events of each.
  struct Unit { const char* text; uint32_t events; } units[] = {{"a", 2}, {"A", 4}, {"\xE9", 10}, {"{Enter}", 2}};
  std::string output;
  std::vector<uint32_t> sizes;
  for (int i = 0; i < 60; ++i) {
    for (const Unit& u : units) {
      output += u.text;
      sizes.push_back(u.events);
    }
  }
  Start(output);
  Tick();
  std::vector<uint32_t> batches = FakeKeyBatchSizes();
  ASSERT_GT(batches.size(), 1u);
  size_t unit = 0;
  for (size_t b = 0; b < batches.size(); ++b) {
    SCOPED_TRACE("batch " + std::to_string(b));
    EXPECT_LE(batches[b], uint32_t(kKeyBatchCapacity));
    uint32_t filled = 0;
    while (unit < sizes.size() && filled + sizes[unit] <= batches[b]) filled += sizes[unit++];
    EXPECT_EQ(filled, batches[b]) << "a batch ends between two characters";
    if (unit < sizes.size()) {
      EXPECT_GT(filled + sizes[unit], uint32_t(kKeyBatchCapacity)) << "flushed early";
    }
  }
  EXPECT_EQ(unit, sizes.size()) << "every character went out";
}

}  // namespace
