// Text helpers shared by every subsystem: the program's one number reader and writer, and a
// substring search that ignores ASCII letter case. Texts are NUL-terminated single-byte strings.
#pragma once
#include <stddef.h>
#include <stdint.h>

// Size of the buffer that IntToText writes into.
const size_t kIntTextSize = 32;

// Reads the first run of decimal digits in `text` as a 32-bit signed number, negative when a "-"
// stands directly before the run. No text, or a text without digits, gives 0. Digits beyond the
// range wrap in 32-bit arithmetic, as they always have.
int32_t TextToInt(const char* text);

// Same as TextToInt, but looks at no more than `length` bytes of `text` (stopping at a NUL first).
int32_t TextToIntBounded(const char* text, size_t length);

// Writes the decimal form of `value` into `out` (kIntTextSize bytes): "0", a "-" for negative
// values, no leading zeros. Returns `out`.
char* IntToText(int32_t value, char* out);

// Returns the first position of `word` in `text`, comparing ASCII letters without regard to case,
// or nullptr. Either argument absent or empty gives nullptr.
const char* FindTextNoCase(const char* text, const char* word);
char* FindTextNoCase(char* text, const char* word);

// True when `text` begins with `prefix`, ASCII letters compared without regard to case.
bool StartsWithNoCase(const char* text, const char* prefix);

// ASCII-only lower-casing of one byte; other bytes are returned unchanged.
inline unsigned char AsciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// Copies at most size - 1 bytes of `from` into `to` and ends it with a NUL (size > 0).
void CopyTextBounded(char* to, const char* from, size_t size);

// Copies the argument of an output command: the characters of `from` up to, not including, the
// first CR, LF or "{" (or its NUL), at most `limit` of them, followed by a NUL (`to` holds
// limit + 1 bytes; nullptr copies nothing). Returns the number of characters taken.
int32_t CopyCommandArgument(char* to, const char* from, int32_t limit);

// Reads up to `count` comma-separated numbers from the first `length` characters of `text` into
// `values`: each field is read with TextToIntBounded from no more than its first `fieldLimit`
// characters; a field that is missing gives 0.
void ReadCommaFields(const char* text, int32_t length, int32_t fieldLimit, int32_t* values, int count);

// True for the blank and the tab.
inline bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
