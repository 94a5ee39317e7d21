// Resource seam: the program's own raw-data resources.
#pragma once
#include <stdint.h>

// Returns the bytes of raw-data resource `id` of the program and sets *size to their count, or
// returns nullptr (size 0) when there is no such resource. The bytes are read-only and stay valid
// for the whole run; they need not end in a NUL.
const uint8_t* PlatformRawResource(int id, uint32_t* size);
