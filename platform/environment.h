// Environment seam: the program's own environment variables.
#pragma once
#include <stdint.h>

// Expands every %NAME% in the UTF-8 `text` whose NAME is a variable of the program's
// environment, giving UTF-8; a name that is not defined stays as written, percent signs
// included. Writes at most `size` bytes, the NUL included, into `out`. Returns the size that the
// whole expansion needs, the NUL included (it may be a little more than needed, never less);
// when that exceeds `size`, what `out` holds is not to be used. Returns 0 on failure.
uint32_t PlatformExpandEnvironment(const char* text, char* out, uint32_t size);
