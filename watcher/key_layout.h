// What a key press types on the keyboard layout of the window in front, as the key poller
// records it: the layout's own character for the key with the Shift, AltGr and Caps Lock state
// of the moment, in UTF-8. On a US layout that is the byte the key has always recorded.
#pragma once
#include <stdint.h>

#include "common/state.h"

// The most bytes that one key press records: a dead key's accent that made nothing with the
// key after it, and that key's own text.
const int kKeyPressTextSize = kMaxUtf8Bytes + kKeyTextSize;
// What KeyPressText answers for a dead key: nothing typed yet, the next key decides.
const int kKeyWaitsForNext = -1;

// Writes the UTF-8 text that the press of virtual key `vk` types into out (kKeyPressTextSize
// bytes, NUL-terminated) and returns its length in bytes: 0 for a key that types nothing,
// kKeyWaitsForNext for a dead key, whose accent waits for the next key. Shift, Ctrl and Alt are read from the poller's key
// states, Caps Lock from the thread's. Ctrl and Alt held together read the AltGr column; a key
// with nothing there, or Ctrl or Alt alone, reads as without them, so a shortcut records its
// key's plain character.
int KeyPressText(int vk, char* out);

// Forgets the tables and a waiting accent: the next key press reads the layout anew.
void ForgetKeyLayout();
