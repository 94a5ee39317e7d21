// What a key press types on the keyboard layout of the window in front, as the watcher records
// it: the layout's own character for the key with the Shift, AltGr and Caps Lock state of the
// moment, in UTF-8; nothing for a shortcut. On a US layout that is the byte the key has always
// recorded.
//
// AltGr is down when a key of its own for it is (Wine's, see PlatformIsLevelThreeKey) or, on a
// Windows layout with AltGr, the right Alt or Ctrl and Alt together: a left Ctrl that the system
// adds to the right Alt, or leaves out, changes nothing. Ctrl, Alt or a Windows key held
// otherwise makes a shortcut, which types nothing where the caret is.
//
// Dead keys come in two ways. On Windows the dead key's press comes, and the key after it types
// the composed character. Under Wine the system's input method keeps both presses to itself:
// the stream shows the dead key's release alone, then the composed character as a press of a key
// without a name, then the release of the key it was made of.
#pragma once
#include <stdint.h>

#include "common/state.h"

// The most bytes that one key press records: a dead key's accent that made nothing with the
// key after it, and that key's own text.
const int kKeyPressTextSize = kMaxUtf8Bytes + kKeyTextSize;
// What KeyPressText answers for a dead key: nothing typed yet, the next key decides.
const int kKeyWaitsForNext = -1;

// Writes the UTF-8 text that the press of virtual key `vk` types into out (kKeyPressTextSize
// bytes, NUL-terminated) and returns its length in bytes: 0 for a key that types nothing (a
// shortcut included), kKeyWaitsForNext for a dead key, whose accent waits for the next key, and
// for a character composed under Wine, which the next release names. The modifiers are read
// from gWatcher.previousKeyState, Caps Lock from the thread's.
int KeyPressText(int vk, char* out);

// The same for the release of `vk` when its press never came (Wine's dead keys): the composed
// character once its key is known, else kKeyWaitsForNext (nothing typed, yet or at all).
int KeyReleaseText(int vk, char* out);

// Whether pressing `vk` with the key states `keys` (256 entries, as gWatcher.previousKeyState)
// is a shortcut: Ctrl, Alt or a Windows key held, other than as an AltGr that types on `vk`.
bool IsShortcutPress(int vk, const uint8_t* keys);

// Whether `vk` is a key of its own that selects the AltGr column (see PlatformIsLevelThreeKey).
bool IsLevelThreeKey(int vk);

// Forgets the tables and a waiting accent: the next key press reads the layout anew.
void ForgetKeyLayout();
