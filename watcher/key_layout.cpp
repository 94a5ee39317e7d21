// The watcher's layout tables (see key_layout.h). A table is built from the system's answers
// the first time a key is pressed on a layout, and again whenever the window in front types
// with another one. A dead key records nothing itself; the key after it records what the user
// sees: the composed character, the accent alone (after Space), or the accent and the key.
#include "watcher/key_layout.h"

#include <string.h>

#include "common/state.h"
#include "common/utf16.h"
#include "common/utf8.h"
#include "platform/keyboard.h"

const uint32_t kSpace = 0x20;
const uint8_t kVkRightAlt = 0xA5;
// Under Wine, a character that the system's input method composed comes as a press of this key.
const uint8_t kVkNoName = 0xFC;

static void BuildKeyLayout(KeyboardLayout layout) {
  gKeyLayout.hasAltGr = false;
  gKeyLayout.levelThreeCount = 0;
  for (int vk = 0; vk < 256; ++vk) {
    for (int state = 0; state < kLayoutStates; ++state) {
      uint16_t units[kMaxKeyTextUnits] = {0};
      int count = PlatformKeyText(layout, vk, uint8_t(state), units);
      gKeyLayout.dead[vk][state] = count == kDeadKeyText;
      char* text = gKeyLayout.text[vk][state];
      text[Utf16ToUtf8(units, size_t(count == kDeadKeyText ? 1 : count), text)] = 0;
      if ((state & kLayoutAltGr) && text[0]) gKeyLayout.hasAltGr = true;
    }
    if (gKeyLayout.levelThreeCount < kMaxLevelThreeKeys && PlatformIsLevelThreeKey(layout, vk)) {
      gKeyLayout.levelThreeKeys[gKeyLayout.levelThreeCount++] = uint8_t(vk);
    }
  }
  gKeyLayout.layout = layout;
  gKeyLayout.built = true;
}

// The tables of the layout that the window in front types with.
static void UseForegroundLayout() {
  KeyboardLayout layout = PlatformForegroundKeyboardLayout();
  if (!gKeyLayout.built || gKeyLayout.layout != layout) BuildKeyLayout(layout);
}

// The tables of the last key press, which tell the modifiers of the one to come.
static void UseLastLayout() {
  if (!gKeyLayout.built) UseForegroundLayout();
}

void ForgetKeyLayout() {
  gKeyLayout.built = false;
  gKeyLayout.pendingAccent = gKeyLayout.heldBackAccent = 0;
  gKeyLayout.composedWaits = false;
}

bool IsLevelThreeKey(int vk) {
  UseLastLayout();
  for (int i = 0; i < gKeyLayout.levelThreeCount; ++i) {
    if (gKeyLayout.levelThreeKeys[i] == vk) return true;
  }
  return false;
}

// Where AltGr is a key of its own (Wine), Ctrl and Alt together type nothing.
static bool AltGrHeld(const uint8_t* keys) {
  for (int i = 0; i < gKeyLayout.levelThreeCount; ++i) {
    if (keys[gKeyLayout.levelThreeKeys[i]]) return true;
  }
  bool windowsAltGr = gKeyLayout.hasAltGr && gKeyLayout.levelThreeCount == 0;
  return windowsAltGr && (keys[kVkRightAlt] || (keys[kVkControl] && keys[kVkAlt]));
}

// The table column of the key states `keys`.
static int KeyState(const uint8_t* keys) {
  int state = keys[kVkShift] ? kLayoutShift : 0;
  if (PlatformThreadKeyState(kVkCapsLock) & kKeyToggledBit) state |= kLayoutCapsLock;
  if (AltGrHeld(keys)) state |= kLayoutAltGr;
  return state;
}

bool IsShortcutPress(int vk, const uint8_t* keys) {
  UseLastLayout();
  if (keys[kVkLeftWindows] || keys[kVkRightWindows]) return true;
  if (!keys[kVkControl] && !keys[kVkAlt]) return false;
  int state = KeyState(keys);
  // With AltGr, a key that types nothing there is a shortcut of Ctrl and Alt as well.
  return !(state & kLayoutAltGr) || (!gKeyLayout.text[vk][state][0] && !gKeyLayout.dead[vk][state]);
}

static uint32_t FirstCodePoint(const char* text) {
  int length = 0;
  return DecodeUtf8(text, strlen(text), &length);
}

// Appends the accent `accent` composed with `text` where the two make one character.
static int ResolveAccent(uint32_t accent, const char* text, char* out) {
  uint32_t base = FirstCodePoint(text);
  int baseLength = Utf8SequenceLength(text, strlen(text));
  uint32_t composed = PlatformComposeDeadKey(accent, base);
  int written = 0;
  if (composed) {
    written = EncodeUtf8(composed, out);
    text += baseLength;  // the rest of a two-character key follows the composed character
  } else {
    written = EncodeUtf8(accent, out);
    if (base == kSpace) text += baseLength;  // Space after a dead key types the accent alone
  }
  size_t rest = strlen(text);
  memcpy(out + written, text, rest + 1);
  return written + int(rest);
}

// The one character that the input method made of `accent` and a key typing `text`: the two
// composed, or the accent alone after Space or after its own key; 0 for one made otherwise.
static int ComposedText(uint32_t accent, const char* text, char* out) {
  uint32_t base = FirstCodePoint(text);
  uint32_t composed = PlatformComposeDeadKey(accent, base);
  if (!composed && (base == kSpace || base == accent)) composed = accent;
  int written = composed ? EncodeUtf8(composed, out) : 0;
  out[written] = 0;
  return written;
}

// A press of the key without a name: with the accent of a dead key held back, the composed
// character that the next release names; else a character made of keys not seen, unknown here.
static int ComposedPressText() {
  if (!gKeyLayout.heldBackAccent) return 0;
  gKeyLayout.composedWaits = true;
  return kKeyWaitsForNext;
}

int KeyPressText(int vk, char* out) {
  out[0] = 0;
  UseForegroundLayout();
  if (vk == kVkNoName) return ComposedPressText();
  gKeyLayout.heldBackAccent = 0;  // any other press ends what the input method held back
  gKeyLayout.composedWaits = false;
  const uint8_t* keys = gWatcher.previousKeyState;
  if (IsShortcutPress(vk, keys)) return 0;
  int state = KeyState(keys);
  const char* text = gKeyLayout.text[vk][state];
  if (gKeyLayout.dead[vk][state]) {
    // A second dead key types the first one's accent, as the system does, and waits itself.
    int written = 0;
    if (gKeyLayout.pendingAccent) written = EncodeUtf8(gKeyLayout.pendingAccent, out);
    out[written] = 0;
    gKeyLayout.pendingAccent = FirstCodePoint(text);
    return written > 0 ? written : kKeyWaitsForNext;
  }
  if (gKeyLayout.pendingAccent && text[0]) {
    uint32_t accent = gKeyLayout.pendingAccent;
    gKeyLayout.pendingAccent = 0;
    return ResolveAccent(accent, text, out);
  }
  size_t length = strlen(text);
  memcpy(out, text, length + 1);
  return int(length);
}

int KeyReleaseText(int vk, char* out) {
  out[0] = 0;
  UseForegroundLayout();
  const char* text = gKeyLayout.text[vk][KeyState(gWatcher.previousKeyState)];
  uint32_t accent = gKeyLayout.heldBackAccent;
  bool composed = gKeyLayout.composedWaits;
  gKeyLayout.heldBackAccent = 0;
  gKeyLayout.composedWaits = false;
  if (!accent) {
    // A dead key, whose accent waits for the key after it.
    gKeyLayout.heldBackAccent = FirstCodePoint(text);
    return kKeyWaitsForNext;
  }
  // No composed character came: the input method dropped the accent and this key together.
  if (!composed) return kKeyWaitsForNext;
  return ComposedText(accent, text, out);
}
