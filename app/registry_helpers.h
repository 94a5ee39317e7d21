// The program's registry helpers: one string value read, written or deleted in one call.
// Portable (registry seam). A root of kRegistryNoRoot means the current user's.
#pragma once
#include <stdint.h>

#include "platform/registry.h"

// The least room a caller gives RegReadString.
const uint32_t kRegistryTextMin = 255;

// Reads value `name` of the key at `path` into `out` (`size` bytes, at least kRegistryTextMin).
// Returns true when it was read; `out` then always ends in a NUL within `size`. When the key
// cannot be opened `out` is left as it was; otherwise it is emptied first, and stays empty when
// the value is missing or does not fit.
bool RegReadString(RegistryRoot root, const char* path, const char* name, char* out, uint32_t size);

// Writes `text` (empty when absent) as the string value `name` of the key at `path`, with its
// NUL, typed REG_EXPAND_SZ. Creates the key when it cannot be opened. A failure is not reported.
void RegWriteString(RegistryRoot root, const char* path, const char* name, const char* text);

// Deletes value `name` of the key at `path`, and also a subkey of the same name under that key
// if there is one. Does nothing when the key cannot be opened.
void RegDeleteEntry(RegistryRoot root, const char* path, const char* name);
