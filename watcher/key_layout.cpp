// The key poller's layout tables (see key_layout.h). A table is built from the system's answers
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

static void BuildKeyLayout(KeyboardLayout layout) {
  for (int vk = 0; vk < 256; ++vk) {
    for (int state = 0; state < kLayoutStates; ++state) {
      uint16_t units[kMaxKeyTextUnits] = {0};
      int count = PlatformKeyText(layout, vk, uint8_t(state), units);
      gKeyLayout.dead[vk][state] = count == kDeadKeyText;
      char* text = gKeyLayout.text[vk][state];
      text[Utf16ToUtf8(units, size_t(count == kDeadKeyText ? 1 : count), text)] = 0;
    }
  }
  gKeyLayout.layout = layout;
  gKeyLayout.built = true;
}

void ForgetKeyLayout() {
  gKeyLayout.built = false;
  gKeyLayout.pendingAccent = 0;
}

// The table column of the moment, falling back from AltGr to the plain column where the key
// has nothing on AltGr.
static int KeyState(int vk) {
  const uint8_t* held = gWatcher.previousKeyState;
  int state = held[kVkShift] ? kLayoutShift : 0;
  if (PlatformThreadKeyState(kVkCapsLock) & kKeyToggledBit) state |= kLayoutCapsLock;
  if (held[kVkControl] && held[kVkAlt]) {
    int altGr = state | kLayoutAltGr;
    if (gKeyLayout.text[vk][altGr][0] || gKeyLayout.dead[vk][altGr]) return altGr;
  }
  return state;
}

static uint32_t FirstCodePoint(const char* text) {
  int length = 0;
  return DecodeUtf8(text, strlen(text), &length);
}

// Appends the accent that waits, composed with `text` where the two make one character.
static int ResolveAccent(const char* text, char* out) {
  uint32_t accent = gKeyLayout.pendingAccent;
  gKeyLayout.pendingAccent = 0;
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

int KeyPressText(int vk, char* out) {
  out[0] = 0;
  KeyboardLayout layout = PlatformForegroundKeyboardLayout();
  if (!gKeyLayout.built || gKeyLayout.layout != layout) BuildKeyLayout(layout);
  int state = KeyState(vk);
  const char* text = gKeyLayout.text[vk][state];
  if (gKeyLayout.dead[vk][state]) {
    // A second dead key types the first one's accent, as the system does, and waits itself.
    int written = 0;
    if (gKeyLayout.pendingAccent) written = EncodeUtf8(gKeyLayout.pendingAccent, out);
    out[written] = 0;
    gKeyLayout.pendingAccent = FirstCodePoint(text);
    return written > 0 ? written : kKeyWaitsForNext;
  }
  if (gKeyLayout.pendingAccent && text[0]) return ResolveAccent(text, out);
  size_t length = strlen(text);
  memcpy(out, text, length + 1);
  return int(length);
}
