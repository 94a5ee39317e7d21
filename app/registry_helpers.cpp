// The registry helpers (see registry_helpers.h).
#include "app/registry_helpers.h"

#include <stdio.h>
#include <string.h>

static RegistryRoot RootOrCurrentUser(RegistryRoot root) { return root == kRegistryNoRoot ? kRegistryCurrentUser : root; }

bool RegReadString(RegistryRoot root, const char* path, const char* name, char* out, uint32_t size) {
  RegistryKey key = PlatformOpenRegistryKey(RootOrCurrentUser(root), path, kRegistryQuery);
  if (!key || size == 0) {
    PlatformCloseRegistryKey(key);
    return false;
  }
  memset(out, 0, size);
  // One byte stays back for the NUL that data stored without one would lack.
  uint32_t room = size - 1;
  bool read = PlatformQueryRegistryValue(key, name, out, &room);
  PlatformCloseRegistryKey(key);
  if (!read || room > size - 1) {
    out[0] = 0;
    return false;
  }
  out[room] = 0;
  return true;
}

void RegWriteString(RegistryRoot root, const char* path, const char* name, const char* text) {
  root = RootOrCurrentUser(root);
  RegistryKey key = PlatformOpenRegistryKey(root, path, kRegistryAllAccess);
  if (!key) key = PlatformCreateRegistryKey(root, path);
  if (!key) return;
  if (!text) text = "";
  PlatformSetRegistryExpandString(key, name, text, uint32_t(strlen(text)) + 1);
  PlatformCloseRegistryKey(key);
}

void RegDeleteEntry(RegistryRoot root, const char* path, const char* name) {
  root = RootOrCurrentUser(root);
  RegistryKey key = PlatformOpenRegistryKey(root, path, kRegistryReadWrite);
  if (!key) return;
  PlatformDeleteRegistryValue(key, name);
  // A subkey path longer than the registry allows cannot exist, so there is nothing to delete.
  char subkey[512];
  int length = snprintf(subkey, sizeof subkey, "%s\\%s", path, name);
  if (length > 0 && size_t(length) < sizeof subkey) PlatformDeleteRegistryKey(root, subkey);
  PlatformCloseRegistryKey(key);
}
