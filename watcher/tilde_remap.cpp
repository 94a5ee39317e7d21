// The tilde remap (see tilde_remap.h). Each group of synthetic events goes to the system in one
// piece, so that none of the user's own keys lands between the Backspace and the Alt.
#include "watcher/tilde_remap.h"

#include "common/state.h"
#include "platform/keyboard.h"

static KeyEvent AltEvent(uint32_t flags) { return KeyEvent{kVkAlt, 0, 0, flags}; }

// Backspace erases the character that the tilde key has typed into the focused window already.
static void PressRemapAlt(bool eraseTilde) {
  uint8_t backspaceScan = uint8_t(PlatformMapVirtualKey(kVkBackspace, kMapVkToScanCode));
  KeyEvent events[3];
  uint32_t count = 0;
  if (eraseTilde) {
    events[count++] = KeyEvent{kVkBackspace, backspaceScan, 0, 0};
    events[count++] = KeyEvent{kVkBackspace, backspaceScan, 0, kKeyEventKeyUp};
  }
  events[count++] = AltEvent(0);
  PlatformSendKeyEvents(events, count);
  gWatcher.remapAltDown = true;
}

void ReleaseRemapAlt() {
  if (!gWatcher.remapAltDown) return;
  KeyEvent up = AltEvent(kKeyEventKeyUp);
  PlatformSendKeyEvents(&up, 1);
  gWatcher.remapAltDown = false;
}

bool RemapTildeKey() {
  uint8_t& held = gWatcher.previousKeyState[kVkTilde];
  bool down = (PlatformAsyncKeyState(kVkTilde) & kKeyDownBit) != 0;
  if (!held) {
    if (!down) return false;
    held = 1;
    PressRemapAlt(true);
    return true;
  }
  if (!down) {
    held = 0;
    ReleaseRemapAlt();
    return true;
  }
  // Still held after an output let the Alt go: hold it again, with nothing to erase this time.
  if (!gWatcher.remapAltDown) {
    PressRemapAlt(false);
    return true;
  }
  return false;
}
