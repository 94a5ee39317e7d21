// What one key press does, whichever source saw it (see key_press.h).
#include "watcher/key_press.h"

#include <string.h>

#include "common/state.h"
#include "common/utf8.h"
#include "platform/keyboard.h"
#include "triggers/firing_rules.h"
#include "watcher/expansion.h"
#include "watcher/key_events.h"
#include "watcher/key_layout.h"
#include "watcher/matcher.h"
#include "watcher/typed_history.h"
#include "watcher/window_in_front.h"

const int kVkFirstSidedModifier = 0xA0;  // left and right Shift, Ctrl and Alt: 0xA0 to 0xA5
const int kVkLastSidedModifier = 0xA5;
const uint8_t kMiddleClickByte = 4;

// ---- the typed history -----------------------------------------------------------------------

bool IsModifierKey(int vk) {
  return vk == kVkShift || vk == kVkControl || vk == kVkAlt ||
         (vk >= kVkFirstSidedModifier && vk <= kVkLastSidedModifier) || IsLevelThreeKey(vk);
}

// Puts the key's text at the head of the history, one character after another, so that its
// last character is the newest.
static void PushTypedText(const char* text, int length) {
  for (int at = 0; at < length;) {
    int n = Utf8SequenceLength(text + at, size_t(length - at));
    PushTypedChar(text + at, n);
    at += n;
  }
}

// Records the text of a key (KeyPressText's answer): a key that types nothing records a 0,
// which no abbreviation spans; a dead key records nothing yet.
static void RecordKeyText(const char* text, int length) {
  if (length == 0) PushTypedChar("", 1);
  else if (length != kKeyWaitsForNext) PushTypedText(text, length);
}

// Applies one key press to the typed history. Returns true when the matcher should look at the
// result: after every key but the modifiers, the left and right buttons and Backspace.
static bool RecordKeyPress(int vk) {
  if (IsModifierKey(vk) || vk == kVkSentinel) return false;  // the sentinel marks keys WordHatch sent
  if (vk == kVkLeftButton || vk == kVkRightButton) {
    // A click moves the caret: a zero in place of the newest character keeps what came before
    // from ending a trigger.
    EraseNewestTypedChar();
    PushTypedChar("", 1);
    return false;
  }
  if (vk == kVkBackspace) {
    // Ctrl+Backspace and the like take away what the window decides: no character is known to be gone.
    if (IsShortcutPress(vk, gWatcher.previousKeyState)) PushTypedChar("", 1);
    else EraseNewestTypedChar();
    return false;
  }
  char text[kKeyPressTextSize];
  if (vk == kVkMiddleButton) {
    // For a key above Shift, the scan that found it has just refreshed Shift's entry.
    text[0] = gWatcher.previousKeyState[kVkShift] ? 0 : char(kMiddleClickByte);
    PushTypedText(text, 1);
    return true;
  }
  RecordKeyText(text, KeyPressText(vk, text));
  return true;
}

// The first key after a whole-word expansion decides its undo: Backspace alone takes it back,
// any other key but a modifier lets it stand. Backspace with Ctrl, Alt or a Windows key is a
// shortcut of the window's own (a word deleted, an undo), which the erase would only repeat.
static bool UndoesExpansion(int vk) {
  if (!gWatcher.undoArmed || IsModifierKey(vk) || vk == kVkSentinel) return false;
  gWatcher.undoArmed = false;
  return vk == kVkBackspace && !ShortcutModifiersHeld();
}

// ---- the press -------------------------------------------------------------------------------

// The matcher looks at the history after a key of `vk`, which may start an expansion.
static bool MatchAfterKey(int vk) {
  int entry = FindMatchingTrigger(uint8_t(vk));
  gWatcher.undoneEntryHeld = false;
  if (entry < 0) return false;
  StartExpansion(entry, uint8_t(vk));
  return true;
}

// Where nothing may fire, or while suspended, what is typed is not kept: the history is cut off
// and holds none of it. Only a hotkey that switches Suspend may fire then, and not in a window of
// this program that takes text of its own.
static bool TakeUnkeptPress(int vk) {
  memset(gWatcher.typedHistory, 0, sizeof gWatcher.typedHistory);
  gWatcher.undoArmed = false;
  bool suspendMayFire = TriggersSuspended() && !gWatcher.keysKeptOut;
  return !IsModifierKey(vk) && vk != kVkSentinel && suspendMayFire && MatchAfterKey(vk);
}

bool TakeKeyPress(int vk) {
  LookAtWindowInFront();
  if (!KeysKeptHere()) return TakeUnkeptPress(vk);
  if (UndoesExpansion(vk)) {
    UndoExpansion();
    return true;
  }
  return RecordKeyPress(vk) && MatchAfterKey(vk);
}

bool TakeUnseenPressRelease(int vk) {
  if (IsModifierKey(vk) || vk == kVkSentinel) return false;
  LookAtWindowInFront();
  if (!KeysKeptHere()) return TakeUnkeptPress(vk);
  char text[kKeyPressTextSize];
  int length = KeyReleaseText(vk, text);
  if (length == kKeyWaitsForNext) return false;
  RecordKeyText(text, length);
  return MatchAfterKey(vk);
}
