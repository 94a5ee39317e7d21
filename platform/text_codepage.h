// Code-page seam: the system's ANSI code page, which trigger files without the signs of UTF-8 or
// UTF-16 are written in, to and from UTF-8. Only the system knows which code page that is.
#pragma once
#include <stddef.h>
#include <stdint.h>

// The most UTF-8 bytes that one byte of ANSI text can become.
const size_t kUtf8BytesPerAnsiByte = 3;

// Converts the `size` bytes of ANSI text at `ansi` (NULs included) to UTF-8 at `out`, which must
// hold size * kUtf8BytesPerAnsiByte bytes; writes no NUL. Every byte converts, bytes the code
// page leaves undefined included, so converting back gives the same bytes. Returns the number of
// bytes written; 0 for no text, and also when the system could not convert it.
size_t PlatformAnsiToUtf8(const char* ansi, size_t size, char* out);

// Converts the `length` bytes of UTF-8 `text` to ANSI at `out`, which must hold `length` bytes;
// writes no NUL. No character is replaced by a look-alike: when one has no form of its own in
// the code page, *unrepresentable is set and what `out` holds is not to be used. Returns the
// number of bytes written (0 for no text, or with *unrepresentable set when the system could not
// convert it).
size_t PlatformUtf8ToAnsi(const char* text, size_t length, char* out, bool* unrepresentable);

// The UTF-16 unit that byte `byte` (0x80 to 0xFF) stands for in the system's ANSI code page; 0
// when the code page gives it none.
uint16_t PlatformAnsiByteToUnit(uint8_t byte);
