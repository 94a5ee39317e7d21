// Fuzz target: the start of an expansion. The input is the key pressed (one byte), the held
// modifiers (one byte: 1 Ctrl, 2 Shift, 4 Alt in the poller's state, 8 Shift still down when the
// expansion starts), the typed history (a length byte and that many bytes, newest first), and
// then the trigger file. A trigger that matches fires, and its output is played to its end; a
// whole-word correction is then taken back and that played too.
#include <stdio.h>
#include <string.h>

#include <string>

#include "common/state.h"
#include "platform/keyboard.h"
#include "player/output_player.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/unit/fake_platform.h"
#include "triggers/trigger_loader.h"
#include "watcher/expansion.h"
#include "watcher/key_poller.h"
#include "watcher/matcher.h"

const uint8_t kHeldControl = 1, kHeldShift = 2, kHeldAlt = 4, kStillDown = 8;
const uint16_t kAsyncDown = 0x8000;

static bool TimerStarted(uint32_t id) {
  for (const FakeEvent& e : gFake.events) {
    if (e.kind == kFakeTimerStart && e.a == id) return true;
  }
  return false;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBegin();
  FuzzInput input = {data, size};
  uint8_t pressedKey = TakeByte(&input), held = TakeByte(&input);
  std::string history = TakeBytes(&input, TakeByte(&input));
  const char* path = WriteTriggerFile(TakeRest(&input));
  snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", path);
  LoadTriggerFile(path);

  // What the user typed since the load comes now.
  memcpy(gWatcher.typedHistory, history.data(), history.size() < size_t(kHistoryChars) ? history.size() : kHistoryChars);
  gWatcher.previousKeyState[kVkControl] = (held & kHeldControl) != 0;
  gWatcher.previousKeyState[kVkShift] = (held & kHeldShift) != 0;
  gWatcher.previousKeyState[kVkAlt] = (held & kHeldAlt) != 0;
  if (held & kStillDown) gFake.asyncKeyState[kVkShift] = kAsyncDown;

  int entry = FindMatchingTrigger(pressedKey);
  FUZZ_CHECK(entry >= -1 && entry < TriggerCount());
  if (entry >= 0) {
    FUZZ_CHECK(StoredTrigger(entry)[0]);
    gFake.events.clear();
    StartExpansion(entry, pressedKey);
    // Either the player has the output, or the key poller runs again.
    if (gPlayer.outputBuffer) {
      FUZZ_CHECK(gShell.automationCount == 1);
      PlayToEnd(int32_t(strlen(gPlayer.outputBuffer)) + 1);
      // Backspace next takes a whole-word correction back: what was typed plays as it stands.
      if (gWatcher.undoArmed) {
        UndoExpansion();
        FUZZ_CHECK(gPlayer.outputBuffer && gPlayer.literalOutput);
        PlayToEnd(int32_t(strlen(gPlayer.outputBuffer)) + 1);
      }
    } else {
      FUZZ_CHECK(TimerStarted(kPollTimerId) && !TimerStarted(kPlayTimerId));
    }
  }
  FuzzEnd();
  return 0;
}
