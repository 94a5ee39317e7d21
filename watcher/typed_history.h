// The typed history (gWatcher.typedHistory): the characters typed last, newest first, each in
// its UTF-8 bytes in their own order, so a reversed stored trigger is compared with it byte for
// byte. Whatever a key press records is one character, of one byte or several.
#pragma once

// Puts the character of `length` bytes (1 to kMaxUtf8Bytes) at `bytes` in front of the history;
// the oldest character falls out when kHistoryChars are held already.
void PushTypedChar(const char* bytes, int length);

// Removes the newest character, all its bytes (Backspace).
void EraseNewestTypedChar();
