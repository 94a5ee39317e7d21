// UTF-8 (the core's text) to and from the wide text of the system's "W" calls, for the Win32 half
// of the seam: each call that takes or gives text converts here, at the call.
#pragma once
#include <stddef.h>
#include <wchar.h>

// `text` as a NUL-terminated wide string in a new block from PlatformHeapAlloc, which the caller
// releases with PlatformHeapFree; nullptr for no text or when the heap cannot supply it.
wchar_t* Win32WideFromUtf8(const char* text);

// Writes the NUL-terminated wide `text` as UTF-8 into `out` (`size` bytes, size > 0), whole
// characters only, and ends it with a NUL. Returns the number of bytes the whole text needs,
// its NUL included, which exceeds `size` when it was cut.
size_t Win32Utf8FromWide(const wchar_t* text, char* out, size_t size);
