// Registry seam: keys and values of the system's registry, as the auto-start value needs them.
// The program implements it over advapi32 (win32_registry.cpp); host tests over an in-memory store.
#pragma once
#include <stdint.h>

// Registry roots. kRegistryNoRoot is what a caller passes for "the default root"; the seam never
// gets it from the helpers (registry_helpers.h), and fails every call that names it.
enum RegistryRoot { kRegistryNoRoot, kRegistryCurrentUser, kRegistryLocalMachine };

// Access asked for when a key is opened.
enum RegistryAccess {
  kRegistryQuery,      // read values only
  kRegistryAllAccess,  // everything
  kRegistryReadWrite,  // read, set values and create subkeys
};

struct PlatformRegistryKey;  // opaque; owned by the seam until PlatformCloseRegistryKey
typedef PlatformRegistryKey* RegistryKey;

// Opens the key at `path` under `root`. Returns nullptr when it does not exist or the access is
// refused.
RegistryKey PlatformOpenRegistryKey(RegistryRoot root, const char* path, RegistryAccess access);

// Opens the key at `path` under `root` with kRegistryReadWrite access, creating it (and any
// missing key above it) when needed, non-volatile. Returns nullptr on failure.
RegistryKey PlatformCreateRegistryKey(RegistryRoot root, const char* path);

// Closes a key; nullptr is ignored.
void PlatformCloseRegistryKey(RegistryKey key);

// Reads the data of value `name` of `key` into `buffer`, which holds *size bytes, and sets *size
// to the number of bytes stored. Returns false, with `buffer` unspecified, when the value does not
// exist or its data does not fit. String data ends in a NUL only when it was stored with one.
bool PlatformQueryRegistryValue(RegistryKey key, const char* name, void* buffer, uint32_t* size);

// Sets value `name` of `key` to the `size` bytes at `data`, typed as a string with environment
// references (REG_EXPAND_SZ). The caller counts the NUL in `size`. Returns false on failure.
bool PlatformSetRegistryExpandString(RegistryKey key, const char* name, const char* data, uint32_t size);

// Deletes value `name` of `key`. Returns false when there was none or it could not be deleted.
bool PlatformDeleteRegistryValue(RegistryKey key, const char* name);

// Deletes the key at `path` under `root`, which must have no subkeys. Returns false when there
// was none or it could not be deleted.
bool PlatformDeleteRegistryKey(RegistryRoot root, const char* path);
