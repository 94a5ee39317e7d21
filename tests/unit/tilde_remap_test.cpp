// The tilde remap through the key poller: its two states, the events of each transition, what
// the scan and the typed history see, and an "{alt}" hotkey fired with the tilde key held.
#include <stdio.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "tests/unit/watcher_fixture.h"
#include "watcher/tilde_remap.h"

const int kVkK = 'K';

class TildeRemapTest : public WatcherTest {
 protected:
  // A trigger file with the two marker words, loaded on a computer that allows the remap.
  void LoadRemapFile(const std::string& triggers = "; REMAP TILDE\r\n{alt}k=Hello\r\nbtw=by the way\r\n") {
    CopyTextBounded(gShell.triggerPath, PathOf("triggers.txt").c_str(), sizeof gShell.triggerPath);
    gShell.remapAllowed = true;
    Load(triggers);
    gFake.events.clear();
    gFake.syntheticKeysChangeState = true;
  }
  // One tick; returns its key events as FakeKeyEventText writes them.
  std::string RemapTick() {
    size_t first = gFake.events.size();
    Tick();
    std::string sent;
    for (size_t i = first; i < gFake.events.size(); ++i) {
      const FakeEvent& e = gFake.events[i];
      if (e.kind != kFakeKeyEvent) continue;
      char one[16];
      snprintf(one, sizeof one, "%s%X:%X", sent.empty() ? "" : " ", e.a, e.c);
      sent += one;
    }
    return sent;
  }
};

TEST_F(TildeRemapTest, ATildeReleaseThatTheScanSeesFirstStillLetsTheAltGo) {
  LoadRemapFile();
  SetKey(kVkTilde, true);
  EXPECT_EQ(RemapTick(), "8:0 8:2 12:0");
  EXPECT_EQ(RemapTick(), "") << "the scan stops at the synthetic Alt";
  // Let go after the remap step has looked at it, while the scan is on its way up the keys.
  gFake.lastInputTick = gFake.tickCount;
  gFake.releaseVk = kVkTilde;
  gFake.releaseAtQuery = gFake.asyncKeyQueries + 2;
  RemapTick();
  ASSERT_EQ(gFake.asyncKeyState[kVkTilde], 0) << "the key went up during that tick";
  EXPECT_EQ(RemapTick(), "12:2") << "the Alt must not stay down";
  EXPECT_FALSE(gWatcher.remapAltDown);
}

TEST_F(TildeRemapTest, WithoutRemapModeTheTildeKeyIsAnOrdinaryKey) {
  gShell.remapAllowed = false;
  Load("; REMAP TILDE\r\na=b\r\n");
  ASSERT_EQ(gTriggers.remapMode, 0);
  gFake.events.clear();
  Press(kVkTilde);
  EXPECT_EQ(History(1), "`");
  EXPECT_EQ(FakeKeyEventText(), "") << "no synthetic events";
}

TEST_F(TildeRemapTest, ATapErasesItsCharacterHoldsAltForATickAndRecordsNothing) {
  LoadRemapFile();
  ASSERT_EQ(gTriggers.remapMode, kRemapModeBit);
  Type("bt");
  SetKey(kVkTilde, true);
  EXPECT_EQ(RemapTick(), "8:0 8:2 12:0") << "idle to holding: Backspace down and up, then Alt down";
  EXPECT_EQ(gWatcher.previousKeyState[kVkTilde], 1);
  EXPECT_EQ(FakeEventsOf(kFakeKeyEvent)[0].b, 0x0Eu) << "the Backspace carries its scan code";
  EXPECT_EQ(FakeEventsOf(kFakeKeyEvent)[2].b, 0u) << "the Alt carries none";
  EXPECT_EQ(FakeKeyBatchSizes(), std::vector<uint32_t>{3}) << "the three go in one piece";
  EXPECT_EQ(RemapTick(), "") << "holding, key still down: the scan runs and sees the synthetic Alt";
  EXPECT_EQ(gWatcher.previousKeyState[kVkAlt], 1);
  SetKey(kVkTilde, false);
  EXPECT_EQ(RemapTick(), "12:2") << "holding to idle: Alt up";
  EXPECT_EQ(gWatcher.previousKeyState[kVkTilde], 0);
  EXPECT_EQ(RemapTick(), "");
  EXPECT_EQ(gWatcher.previousKeyState[kVkAlt], 0);
  EXPECT_EQ(History(3), std::string("tb\0", 3)) << "the tilde key recorded nothing";
  Type("w");
  EXPECT_EQ(outputs_, std::vector<std::string>{"by the way"}) << "typing goes on as before";
}

TEST_F(TildeRemapTest, AChangeOfTheTildeKeyEndsTheTickWithoutAScan) {
  LoadRemapFile();
  SetKey(kVkTilde, true);
  SetKey('B', true);  // down in the same tick as the tilde key
  RemapTick();
  EXPECT_EQ(History(1), std::string(1, '\0'));
  EXPECT_EQ(gFake.events.back().kind, kFakeTimerStart) << "the tick sets its timer again";
  EXPECT_EQ(gFake.events.back().a, kPollTimerId);
  RemapTick();
  RemapTick();
  EXPECT_EQ(gWatcher.previousKeyState['B'], 1) << "the ticks that follow scan: the Alt, then the B";
  EXPECT_EQ(History(2), std::string(2, '\0')) << "Alt+B, a shortcut, types nothing";
}

TEST_F(TildeRemapTest, AHotkeyWithAltFiresAndItsOutputIsNotTypedWithTheRemapsAlt) {
  LoadRemapFile();
  SetKey(kVkTilde, true);
  RemapTick();
  RemapTick();
  SetKey(kVkK, true);
  gFake.events.clear();
  EXPECT_EQ(RemapTick(), "12:2") << "the synthetic Alt goes up before the output";
  EXPECT_EQ(outputs_, std::vector<std::string>{"Hello"});
  int slept = 0;
  for (const FakeEvent& e : FakeEventsOf(kFakeSleep)) slept += int(e.a);
  EXPECT_EQ(slept, 0) << "no wait for a modifier that the program itself held";
  SetKey(kVkK, false);
  EXPECT_EQ(RemapTick(), "12:0") << "tilde still held: Alt down again, with no Backspace";
  RemapTick();
  SetKey(kVkK, true);
  RemapTick();
  EXPECT_EQ(outputs_.size(), 2u) << "a second key while the tilde key is held fires again";
  SetKey(kVkK, false);
  SetKey(kVkTilde, false);
  RemapTick();
  EXPECT_EQ(RemapTick(), "") << "released during the output: no Alt left to let go";
  EXPECT_EQ(gWatcher.previousKeyState[kVkTilde], 0);
}

TEST_F(TildeRemapTest, ALoadLetsTheAltGoAndForgetsTheHold) {
  LoadRemapFile();
  SetKey(kVkTilde, true);
  RemapTick();
  gFake.events.clear();
  Load("; REMAP TILDE\r\na=b\r\n");
  EXPECT_EQ(FakeKeyEventText(), "12:2") << "the loader lets the held Alt go";
  EXPECT_FALSE(gWatcher.remapAltDown);
  EXPECT_EQ(gWatcher.previousKeyState[kVkTilde], 0);
  gFake.events.clear();
  EXPECT_EQ(RemapTick(), "8:0 8:2 12:0") << "a key still held is a new hold";
}

TEST_F(TildeRemapTest, ReleaseRemapAltDoesNothingWhenNoAltIsHeld) {
  ReleaseRemapAlt();
  EXPECT_EQ(FakeKeyEventText(), "");
}
