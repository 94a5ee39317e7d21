// UTF-8, the text of the core: trigger files of every encoding are read into it, the typed
// history records it, and the player types from it. The platform converts at each system call.
// These helpers never fail: a byte that does not begin a well-formed sequence stands for itself,
// as one character, so text of any origin can be walked without getting stuck.
#pragma once
#include <stddef.h>
#include <stdint.h>

const int kMaxUtf8Bytes = 4;
const uint32_t kLastCodePoint = 0x10FFFF;

// True for the bytes 0x80 to 0xBF, which only continue a sequence.
inline bool IsUtf8Continuation(uint8_t byte) { return (byte & 0xC0) == 0x80; }

// The length in bytes (1 to 4) of the well-formed sequence at `text`, looking at no more than
// `available` bytes; 1 for ASCII, a NUL and any byte that does not begin a well-formed sequence.
int Utf8SequenceLength(const char* text, size_t available);

// The code point of the character at `text` (at most `available` bytes, at least 1) and, in
// *length, its bytes; a byte that begins no well-formed sequence gives its own value.
uint32_t DecodeUtf8(const char* text, size_t available, int* length);

// Writes `codePoint` (at most kLastCodePoint, not a surrogate) as UTF-8 into out
// (kMaxUtf8Bytes bytes, no NUL) and returns the number of bytes; 0 for a value with no form.
int EncodeUtf8(uint32_t codePoint, char* out);

// True when the `size` bytes are well-formed UTF-8 throughout (NULs included); *multiByte tells
// whether at least one sequence is longer than a byte.
bool IsWellFormedUtf8(const char* bytes, size_t size, bool* multiByte);

// The number of bytes at the start of the `size` bytes that are ASCII (below 0x80).
size_t AsciiPrefixLength(const char* bytes, size_t size);

// The number of characters of the NUL-terminated `text`, as DecodeUtf8 walks it.
size_t Utf8CharCount(const char* text);
