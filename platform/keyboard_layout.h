// Keyboard layouts seam: what each key of a layout (PlatformForegroundKeyboardLayout) types
// there. The key poller builds its tables from these answers. Implemented over Win32
// (win32_keyboard_layout.cpp); host tests link a fake that answers from recorded layouts.
#pragma once
#include <stdint.h>

#include "platform/keyboard.h"

// Key states that PlatformKeyText takes, combined: Shift held, AltGr held (Ctrl and Alt
// together, as Windows reads them), Caps Lock toggled on.
const uint8_t kLayoutShift = 0x01;
const uint8_t kLayoutAltGr = 0x02;
const uint8_t kLayoutCapsLock = 0x04;
const int kLayoutStates = 8;  // every combination of the three

// The most UTF-16 units that one key types (a few layouts have keys that type two characters).
const int kMaxKeyTextUnits = 4;
const int kDeadKeyText = -1;

// Writes into out (kMaxKeyTextUnits UTF-16 units) what virtual key `vk` types with `state` on
// `layout`, and returns the number of units: 0 when the key types nothing, kDeadKeyText for a
// dead key (out[0] then holds its accent as a character of its own). Changes no keyboard state
// of this thread or any other, so the user's own dead keys keep working. With kLayoutAltGr it
// answers as the window in front receives the key with AltGr, also where the system reads that
// column only for keys typed into this program's own windows (Wine).
int PlatformKeyText(KeyboardLayout layout, int vk, uint8_t state, uint16_t* out);

// Whether virtual key `vk` of `layout` selects the AltGr column by itself, as a key of its own
// that types nothing: under Wine the third-level shift of an X keymap (the right Alt of a German
// or Polish keymap) comes as a virtual key that Windows does not have, with no Ctrl or Alt. False
// for every key of a Windows layout, whose AltGr is the right Alt.
bool PlatformIsLevelThreeKey(KeyboardLayout layout, int vk);

// The character that a dead key's accent `accent` makes of `base` (for example "´" and "e"
// make "é"), or 0 when the two make no one character.
uint32_t PlatformComposeDeadKey(uint32_t accent, uint32_t base);
