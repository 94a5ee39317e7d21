// UTF-16 (the system's wide text) to and from UTF-8 (the core's text), as pure code, so that the
// trigger file's "Unicode" form and the editor's wide text convert the same way everywhere.
//
// Nothing is lost on the way in: an unpaired surrogate, which UTF-16 files and edit controls may
// hold, becomes the three-byte form that UTF-8 would give its value. The core walks that form as
// three single bytes, and the way back turns it into the same unpaired surrogate again, so a
// UTF-16 file that holds one is written back as it was read.
#pragma once
#include <stddef.h>
#include <stdint.h>

const uint16_t kReplacementChar = 0xFFFD;
const uint16_t kHighSurrogateFirst = 0xD800, kHighSurrogateLast = 0xDBFF;
const uint16_t kLowSurrogateFirst = 0xDC00, kLowSurrogateLast = 0xDFFF;

// True when the two units are a high and a low surrogate: one character together.
inline bool IsSurrogatePair(uint16_t first, uint16_t second) {
  return first >= kHighSurrogateFirst && first <= kHighSurrogateLast && second >= kLowSurrogateFirst &&
         second <= kLowSurrogateLast;
}

// The most UTF-8 bytes that one UTF-16 unit can become (a pair of units becomes four).
const size_t kUtf8BytesPerUtf16Unit = 3;

// Writes the `count` units at `units` as UTF-8 into `out`, which must hold
// count * kUtf8BytesPerUtf16Unit bytes; writes no NUL. Returns the number of bytes written.
size_t Utf16ToUtf8(const uint16_t* units, size_t count, char* out);

// Writes the `length` bytes of UTF-8 `text` as UTF-16 units into `out`, which must hold `length`
// units (no character takes more units than bytes); writes no NUL. A byte that begins no
// well-formed sequence, and is not the three-byte form of a surrogate, becomes U+FFFD. Returns
// the number of units written.
size_t Utf8ToUtf16(const char* text, size_t length, uint16_t* out);

// True when Utf8ToUtf16 and then Utf16ToUtf8 give the `length` bytes of `text` back unchanged, as
// they go through the editor: every byte belongs to a well-formed sequence or to the three-byte
// form of a surrogate, and no high surrogate's form stands right before a low one's (the way
// back would join the two into one character). *unpaired tells whether `text` holds such forms:
// UTF-16 units that are no characters, which come back as they were.
bool KeepsThroughUtf16(const char* text, size_t length, bool* unpaired);
