// A fixture for the keystroke watcher: real trigger files (through the loader fixture), and a
// scripted keyboard that a test presses and releases key by key while the poller ticks.
#pragma once
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "common/heap.h"
#include "common/state.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/loader_fixture.h"
#include "player/output_player.h"
#include "watcher/key_poller.h"

const uint16_t kDown = 0x8000;
const int kTickMs = 10;
const uint32_t kLetGoInWaitMs = 50;

// The main window's timers are played by hand: Tick runs the poller while its timer is armed.
// An output handed to the player is taken at once (kept in outputs_) and the poller goes on, as
// after an output that plays in no time; the player's own behaviour is tested elsewhere.
class WatcherTest : public LoaderTest {
 protected:
  void SetUp() override {
    LoaderTest::SetUp();
    memset(&gPlayer, 0, sizeof gPlayer);
    pollerArmed_ = true;
    outputs_.clear();
  }
  void TearDown() override {
    FreeBlock(gPlayer.outputBuffer);
    gPlayer.outputBuffer = nullptr;
    LoaderTest::TearDown();
  }

  // One tick of the poller, 10 ms after the last, if its timer is armed.
  void Tick() {
    gFake.tickCount += kTickMs;
    if (!pollerArmed_) return;
    size_t first = gFake.events.size();
    PollKeys();
    bool handedOver = false, rearmed = false, stopped = false;
    for (size_t i = first; i < gFake.events.size(); ++i) {
      const FakeEvent& e = gFake.events[i];
      stopped = stopped || (e.kind == kFakeTimerStop && e.a == kPollTimerId);
      if (e.kind != kFakeTimerStart) continue;
      handedOver = handedOver || e.a == kPlayTimerId;
      rearmed = rearmed || e.a == kPollTimerId;
    }
    if (handedOver) {
      outputs_.push_back(gPlayer.outputBuffer ? gPlayer.outputBuffer : "<none>");
      FreeBlock(gPlayer.outputBuffer);
      gPlayer.outputBuffer = nullptr;
    }
    pollerArmed_ = rearmed || handedOver || !stopped;  // an idle tick leaves the timer alone
  }
  // A key event: the key's state changes and the system's last-input time moves.
  static void SetKey(int vk, bool down) {
    gFake.asyncKeyState[vk] = down ? kDown : 0;
    gFake.lastInputTick = gFake.tickCount;
  }
  // Presses a key for one tick and lets it go for another, as a typist does.
  void Press(int vk) {
    SetKey(vk, true);
    Tick();
    SetKey(vk, false);
    Tick();
  }
  // The same with modifiers held around the key, each pressed a tick before it; an expansion
  // that waits for them sees them let go 50 ms into its wait.
  void PressWith(std::initializer_list<int> modifiers, int vk) {
    for (int m : modifiers) {
      SetKey(m, true);
      Tick();
    }
    gFake.keysUpAfterSleepMs = kLetGoInWaitMs;
    Press(vk);
    gFake.keysUpAfterSleepMs = 0;
    for (int m : modifiers) SetKey(m, false);
    Tick();
  }
  // Types lower-case letters, digits and blanks with their US keys, capitals with Shift.
  void Type(const std::string& text) {
    for (char c : text) {
      if (c >= 'A' && c <= 'Z') PressWith({kVkShift}, c);
      else Press(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
  }

  // The newest `count` bytes of the typed history, newest first.
  static std::string History(int count) {
    return std::string(reinterpret_cast<const char*>(gWatcher.typedHistory), size_t(count));
  }

  bool pollerArmed_;
  std::vector<std::string> outputs_;  // every output handed to the player, in order
};
