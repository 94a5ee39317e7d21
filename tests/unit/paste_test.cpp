// Long runs of text pasted through the clipboard, through the recording fake: how an output
// splits into pasted and typed runs, the threshold and the {type} word, and the user's clipboard
// saved and put back, whatever happens to the paste.
#include <gtest/gtest.h>

#include <string.h>

#include <map>
#include <string>

#include "common/heap.h"
#include "common/state.h"
#include "platform/keyboard.h"
#include "player/keystrokes.h"
#include "player/output_player.h"
#include "player/paste.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/loader_fixture.h"
#include "triggers/key_names.h"
#include "triggers/trigger_table.h"
#include "triggers/word_case.h"

namespace {

const uint32_t kHtmlFormat = 0xC000, kDibFormat = 8, kBitmapFormat = 2;
// How the fake's typed text shows Ctrl+V: Control types nothing it knows.
const char kCtrlV[] = "?v";

class PasteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    gPlayer = PlayerState();
    gPlayer.pasteThreshold = 10;
    user_ = {{1, std::string("copied\0", 7)}, {kDibFormat, std::string("BM\0\x01\xff", 5)},
             {kHtmlFormat, "<b>copied</b>"}};
    gFake.clipboard = user_;
  }
  void TearDown() override {
    EndPasteAtExit();
    FreeAndForget(gPlayer.outputBuffer);
  }
  void Start(const std::string& output) {
    gPlayer.outputBuffer = static_cast<char*>(AllocZeroed(output.size() + 1, 1));
    memcpy(gPlayer.outputBuffer, output.data(), output.size());
    StartPlayer();
  }
  // Ticks until the output ends, the window in front asking for every pasted run at once.
  void PlayAllPasting() {
    for (int tick = 0; tick < 20 && gPlayer.outputBuffer; ++tick) {
      PlayOutputTick();
      if (gFake.clipboardTextOffered) {
        EXPECT_EQ(LastTimerMs(), kPasteWaitMs);
        RenderPastedText();
        pasted_ += gFake.clipboard[kFakeUnicodeFormat] + "|";
        EXPECT_EQ(LastTimerMs(), 0u) << "the user's clipboard goes back at once";
      }
    }
  }
  static uint32_t LastTimerMs() {
    auto starts = FakeEventsOf(kFakeTimerStart);
    return starts.empty() ? 0xFFFFFFFF : starts.back().b;
  }
  std::map<uint32_t, std::string> user_;
  std::string pasted_;
};

TEST_F(PasteTest, LongRunsArePastedAndShortRunsKeysAndCommandsTyped) {
  const std::string longRun = "Dear Sir or Madam,", later = "with kind regards";
  Start("Hi{Enter}" + longRun + "{Tab}" + "ok" + "{Enter}" + later + "{Delay 5}0123456789");
  PlayAllPasting();
  EXPECT_EQ(pasted_, longRun + "|" + later + "|");
  EXPECT_EQ(FakeTypedText(), std::string("Hi\r") + kCtrlV + "\tok\r" + kCtrlV + "0123456789")
      << "ten characters are no more than the threshold";
  EXPECT_EQ(gFake.clipboard, user_) << "the user's clipboard is back, every format";
  EXPECT_FALSE(PasteUnderWay());
}

TEST_F(PasteTest, TheCaseAskedForShapesThePastedTextAndTypeOrNoThresholdTypesIt) {
  Start("here is a long enough text");
  gPlayer.outputCase = kCaseFirstCapital;
  PlayAllPasting();
  EXPECT_EQ(pasted_, "Here is a long enough text|");
  for (int variant = 0; variant < 2; ++variant) {
    gFake.events.clear();
    gPlayer.typeOnly = variant == 0;
    gPlayer.pasteThreshold = variant == 0 ? 10 : 0;
    Start("here is a long enough text");
    PlayAllPasting();
    EXPECT_EQ(FakeTypedText(), "here is a long enough text") << variant;
    EXPECT_EQ(pasted_, "Here is a long enough text|") << "nothing more pasted";
  }
  gPlayer.literalOutput = true;
  Start("typed back as it stood, never pasted");
  PlayAllPasting();
  EXPECT_EQ(pasted_, "Here is a long enough text|");
}

TEST_F(PasteTest, AClipboardThatCannotComeBackWholeIsLeftAloneAndTheRunTyped) {
  const char* cases[] = {"busy", "uncopyable", "offer refused"};
  for (const char* c : cases) {
    SetUp();
    gFake.clipboardBusy = !strcmp(c, "busy");
    if (!strcmp(c, "uncopyable")) gFake.clipboardUncopyable.insert(kHtmlFormat);
    gFake.failClipboardOffer = !strcmp(c, "offer refused");
    Start("a run long enough to paste");
    PlayAllPasting();
    EXPECT_EQ(FakeTypedText(), "a run long enough to paste") << c;
    EXPECT_EQ(pasted_, "") << c;
    EXPECT_EQ(gFake.clipboard, user_) << c;
    EXPECT_EQ(gFake.clipboardOpens, 0) << c;
  }
  // A format that the system makes again from another one is not copied: it comes back with it.
  SetUp();
  gFake.clipboard[kBitmapFormat] = "made from the DIB";
  gFake.clipboardDerived.insert(kBitmapFormat);
  Start("a run long enough to paste");
  PlayAllPasting();
  EXPECT_EQ(pasted_, "a run long enough to paste|");
  EXPECT_EQ(gFake.clipboard, user_);
}

TEST_F(PasteTest, TheOfferedTextIsMarkedForTheSystemsHistoryAndCloudToLeaveAlone) {
  Start("a run long enough to paste");
  PlayOutputTick();
  ASSERT_TRUE(gFake.clipboardTextOffered);
  for (uint32_t mark : {kFakeExcludeMark, kFakeHistoryMark, kFakeCloudMark}) {
    EXPECT_EQ(gFake.clipboard[mark], std::string(4, '\0')) << mark;
  }
  EXPECT_EQ(gFake.clipboard.count(kFakeUnicodeFormat), 0u) << "the text is handed over only when asked for";
}

TEST_F(PasteTest, WhenNoWindowAsksTheClipboardComesBackAndTheRunIsTypedOnce) {
  Start("ab{Enter}a run long enough to paste{Tab}");
  gPlayer.outputCase = kCaseAllCapitals;
  PlayOutputTick();
  gFake.events.clear();
  PlayOutputTick();  // a tick before the wait is out only waits on
  EXPECT_EQ(LastTimerMs(), kPasteWaitMs);
  EXPECT_TRUE(gFake.clipboardTextOffered);
  gFake.tickCount += kPasteWaitMs;
  PlayOutputTick();
  EXPECT_EQ(FakeTypedText(), "A RUN LONG ENOUGH TO PASTE\t") << "in the case asked for, from its first letter";
  EXPECT_EQ(gFake.clipboard, user_);
  RenderPastedText();  // a window that asks too late gets nothing more
  EXPECT_EQ(gFake.clipboard, user_);
}

TEST_F(PasteTest, AReaderHoldingTheClipboardIsWaitedForAndANewCopyIsKept) {
  Start("a run long enough to paste");
  PlayOutputTick();
  RenderPastedText();
  gFake.clipboardBusy = true;
  gFake.events.clear();
  PlayOutputTick();
  EXPECT_EQ(LastTimerMs(), 1u) << "tried again soon";
  EXPECT_TRUE(PasteUnderWay());
  gFake.clipboardBusy = false;
  PlayOutputTick();
  EXPECT_EQ(gFake.clipboard, user_);
  EXPECT_EQ(gPlayer.outputBuffer, nullptr);

  // The user copies something new while the paste waits: it stays, and the run is typed.
  gFake.events.clear();
  Start("a run long enough to paste");
  PlayOutputTick();
  gFake.clipboard = {{1, "new copy"}};
  gFake.clipboardTextOffered = false;
  OnClipboardTaken();
  EXPECT_EQ(LastTimerMs(), 0u);
  PlayOutputTick();
  EXPECT_EQ(FakeTypedText(), std::string(kCtrlV) + "a run long enough to paste");
  EXPECT_EQ(gFake.clipboard, (std::map<uint32_t, std::string>{{1, "new copy"}}));
}

// A clipboard monitor reads every new content as soon as it is offered, before the window in
// front pastes: handed the text, it would count as the paste, the user's clipboard would come back
// at once and the window would paste that.
TEST_F(PasteTest, AClipboardMonitorsReadIsNoPaste) {
  Start("a run long enough to paste");
  PlayOutputTick();
  gFake.clipboardReaderElsewhere = true;
  RenderPastedText();
  EXPECT_EQ(gFake.clipboard.count(kFakeUnicodeFormat), 0u) << "the monitor gets nothing";
  EXPECT_TRUE(gFake.clipboardTextOffered) << "the offer stands";
  gFake.events.clear();
  PlayOutputTick();
  EXPECT_EQ(LastTimerMs(), kPasteWaitMs) << "the paste is waited for still";
  gFake.clipboardReaderElsewhere = false;
  RenderPastedText();
  EXPECT_EQ(gFake.clipboard[kFakeUnicodeFormat], "a run long enough to paste");
  PlayOutputTick();
  EXPECT_EQ(gPlayer.outputBuffer, nullptr);
  EXPECT_EQ(FakeTypedText(), "") << "pasted, not typed";
  EXPECT_EQ(gFake.clipboard, user_);
}

// The erase of an expansion waits in the queue of key events for the output's first keys. Reading
// or saving the clipboard can take long, and keys that the user types meanwhile reach the window
// at once: the erase must be out before, or it erases those keys instead of the abbreviation.
TEST_F(PasteTest, TheKeysQueuedBeforeGoOutBeforeTheClipboardIsOpened) {
  for (const char* output : {"a run long enough to paste", "[{Clipboard}]", "[{Clipboard}] a run long enough"}) {
    TearDown();
    SetUp();
    for (int i = 0; i < 3; ++i) SendKey(kVkBackspace, kKeyPressRelease);
    Start(output);
    PlayOutputTick();
    std::string order;
    for (const FakeEvent& e : gFake.events) {
      if (e.kind == kFakeKeyBatch) order += "keys " + std::to_string(e.a) + ", ";
      if (e.kind == kFakeClipboardOpen) order += "open, ";
    }
    EXPECT_EQ(order.substr(0, 14), "keys 6, open, ") << output << ": " << order;
  }
}

TEST_F(PasteTest, TheEndOfTheRunGivesTheClipboardBack) {
  Start("a run long enough to paste");
  PlayOutputTick();
  EndPasteAtExit();
  EXPECT_EQ(gFake.clipboard, user_);
  EXPECT_FALSE(PasteUnderWay());
}

class PasteWordTest : public LoaderTest {};

TEST_F(PasteWordTest, TypeAndPasteAreOptionWordsThatHotkeysKeepToo) {
  ASSERT_EQ(Load("a{type}=1\r\n{type}\r\nb=2\r\nc{paste}=3\r\n{shift}k=4\r\n{paste}\r\n{shift}j=5\r\n"), 5);
  const uint8_t expected[] = {kOptionTyped, kOptionTyped, 0, kOptionTyped, 0};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(TriggerOptions(i), expected[i]) << SearchKey(i);
  EXPECT_EQ(Stored(0), "a");
}

}  // namespace
