// Letter-case seam: the system's own case mapping and character classes, so that letters of
// every script fold, capitalise and count as parts of words the way the user's system says.
#pragma once
#include <stdint.h>

// The small letter of `codePoint`, or the code point itself when it has none.
uint32_t PlatformLowerCase(uint32_t codePoint);

// The capital of `codePoint`, or the code point itself when it has none.
uint32_t PlatformUpperCase(uint32_t codePoint);

// True for a letter or digit of any script, and for a mark that belongs to the letter before it.
bool PlatformIsLetterOrDigit(uint32_t codePoint);
