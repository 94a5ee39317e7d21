// The typed history (gWatcher.typedHistory): the characters typed last, newest first, each in
// its UTF-8 bytes in their own order, so a reversed stored trigger is compared with it byte for
// byte. Whatever a key press records is one character, of one byte or several.
#pragma once
#include <stddef.h>
#include <stdint.h>

// Puts the character of `length` bytes (1 to kMaxUtf8Bytes) at `bytes` in front of the history;
// the oldest character falls out when kHistoryChars are held already.
void PushTypedChar(const char* bytes, int length);

// Removes the newest character, all its bytes (Backspace).
void EraseNewestTypedChar();

// The number of bytes of the newest `count` characters of `history` (a typed history or a copy
// of one). A zero byte counts as a character: a key that types nothing is one.
size_t NewestCharsBytes(const uint8_t* history, int count);

// Writes the newest `count` characters of `history` into `out` in the order they were typed,
// and a NUL; `out` holds kHistorySize bytes. Returns their length in bytes.
size_t NewestCharsInOrder(const uint8_t* history, int count, char* out);
