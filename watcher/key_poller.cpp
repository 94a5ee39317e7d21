// The key poller. Each tick asks for the state of the virtual keys 0 to 254 in increasing order
// and stops at the first key that went down since the last look, which it hands on as a key
// press (key_press.h).
//
// A scan of 255 key states costs real time under Wine, so the poller skips it while nobody is
// typing: it asks for the time of the last input event once per tick and scans only while that
// time has moved recently. What it records is the same as a scan on every tick would record;
// see ScanNeeded.
#include "watcher/key_poller.h"

#include <string.h>

#include "common/state.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/ui.h"
#include "triggers/trigger_loader.h"
#include "watcher/key_layout.h"
#include "watcher/key_press.h"
#include "watcher/tilde_remap.h"

const int kScannedKeyCodes = 255;  // virtual keys 0 to 254
const int kNoKey = -1;


static void RearmPoller() { PlatformStartTimer(kPollTimerId, kPollPeriodMs); }

// ---- when to scan ----------------------------------------------------------------------------

// Skipping a scan is safe when a scan now would find every key as the last one left it. Key
// states change only through input events, and show up to kInputSettleMs after the event. So
// the poller scans on every tick from the moment it sees the last-input time move until it has
// completed a scan at least kInputSettleMs later ("settled"); after that, nothing can have
// changed until the time moves again. It also scans after a load reset the key state, and at
// least every kLongestScanGapMs. A scan that stopped at a pressed key is not complete: whatever
// made it run holds for the next tick too, which looks at the keys above. Only the poller's own
// tick counts are compared with each other, never with the system's input time, so a clock
// that wraps or an input time in the same millisecond as the last look cannot fool it.
static bool ScanNeeded(uint32_t now) {
  uint32_t inputTick = 0;
  if (!PlatformLastInputTick(&inputTick)) return true;
  if (!gWatcher.haveInputTick || inputTick != gWatcher.lastInputTick) {
    gWatcher.haveInputTick = true;
    gWatcher.lastInputTick = inputTick;
    gWatcher.inputSeenAt = now;
    gWatcher.settled = false;
  }
  return !gWatcher.settled || gWatcher.scanDue || now - gWatcher.lastFullScanAt >= kLongestScanGapMs;
}

static void NoteCompleteScan(uint32_t now) {
  gWatcher.scanDue = false;
  gWatcher.lastFullScanAt = now;
  if (now - gWatcher.inputSeenAt >= kInputSettleMs) gWatcher.settled = true;
}

// Looks at the keys in increasing order and stops at the first that went down, returning its
// code (kNoKey when none did). Keys above it keep their old state until the next tick.
static int ScanForPressedKey() {
  // In remap mode the tilde key belongs to the remap step alone: a scan that saw it change
  // between two of the remap's looks would take the change from it.
  bool remap = (gTriggers.remapMode & kRemapModeBit) != 0;
  for (int vk = 0; vk < kScannedKeyCodes; ++vk) {
    if (remap && vk == kVkTilde) continue;
    uint8_t down = (PlatformAsyncKeyState(vk) & kKeyDownBit) ? 1 : 0;
    if (down == gWatcher.previousKeyState[vk]) continue;
    gWatcher.previousKeyState[vk] = down;
    if (down) return vk;
  }
  return kNoKey;
}

// ---- the tick --------------------------------------------------------------------------------

void PollKeys() {
  // An idle tick leaves the timer as it is: it goes on firing every 10 ms, which is all that
  // stopping and setting it again would achieve, at two system calls fewer.
  uint32_t now = PlatformTickCount();
  if (!ScanNeeded(now)) return;
  PlatformStopTimer(kPollTimerId);
  // The tilde key changes only through an input event, so a tick that skips the scan has no
  // remap step to run either.
  if ((gTriggers.remapMode & kRemapModeBit) && RemapTildeKey()) {
    RearmPoller();
    return;
  }
  int pressed = ScanForPressedKey();
  if (pressed == kNoKey) NoteCompleteScan(now);
  if (pressed == kNoKey || !TakeKeyPress(pressed)) RearmPoller();
}

// ---- a new trigger file ----------------------------------------------------------------------

// Lets go of Ctrl, Shift and Alt where they are held, so no modifier stays stuck across a load.
static void ReleaseHeldModifiers() {
  const uint8_t keys[] = {kVkControl, kVkShift, kVkAlt};
  for (uint8_t vk : keys) {
    if (!(PlatformAsyncKeyState(vk) & kKeyDownBit)) continue;
    uint32_t flags = kKeyEventKeyUp | (vk == kVkControl ? kKeyEventExtended : 0);
    PlatformSendKeyEvent(vk, uint8_t(PlatformMapVirtualKey(vk, kMapVkToScanCode)), flags);
  }
}

// Asking for every key once clears the "pressed since the last query" marks.
static void DrainKeyPresses() {
  for (int vk = 0; vk < kScannedKeyCodes; ++vk) PlatformAsyncKeyState(vk);
}

// Nothing seen before a load carries over into it: the key states, the history, a waiting
// accent and an undo, whose entry numbers the load gives anew.
static void ResetWatcher() {
  ReleaseHeldModifiers();
  PlatformClearKeyboardState();
  DrainKeyPresses();
  memset(gWatcher.previousKeyState, 0, sizeof gWatcher.previousKeyState);
  gWatcher.remapAltDown = false;  // released with the other modifiers above
  ForgetKeyLayout();  // no accent of a dead key waits across a load, and the layout is read anew
  gWatcher.scanDue = true;  // every key looks up now: the next tick must see the ones still held
  DrainKeyPresses();
  memset(gWatcher.typedHistory, 0, sizeof gWatcher.typedHistory);
  gWatcher.undoArmed = gWatcher.undoneEntryHeld = false;
}

bool ReloadTriggerFile(const char* path) {
  ResetWatcher();
  return LoadTriggerFile(path);
}
