// Registry seam over advapi32.
#include <windows.h>

#include "platform/registry.h"

struct PlatformRegistryKey {
  HKEY key;
};

static HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case kRegistryCurrentUser: return HKEY_CURRENT_USER;
    case kRegistryLocalMachine: return HKEY_LOCAL_MACHINE;
    default: return nullptr;
  }
}

static REGSAM AccessMask(RegistryAccess access) {
  switch (access) {
    case kRegistryQuery: return KEY_QUERY_VALUE;
    case kRegistryAllAccess: return KEY_ALL_ACCESS;
    default: return KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
  }
}

static RegistryKey Wrap(HKEY key) { return new PlatformRegistryKey{key}; }

RegistryKey PlatformOpenRegistryKey(RegistryRoot root, const char* path, RegistryAccess access) {
  HKEY base = RootKey(root), key;
  if (!base || RegOpenKeyExA(base, path, 0, AccessMask(access), &key) != ERROR_SUCCESS) return nullptr;
  return Wrap(key);
}

RegistryKey PlatformCreateRegistryKey(RegistryRoot root, const char* path) {
  HKEY base = RootKey(root), key;
  char noClass[] = "";
  if (!base || RegCreateKeyExA(base, path, 0, noClass, REG_OPTION_NON_VOLATILE, AccessMask(kRegistryReadWrite),
                               nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return Wrap(key);
}

void PlatformCloseRegistryKey(RegistryKey key) {
  if (!key) return;
  RegCloseKey(key->key);
  delete key;
}

bool PlatformQueryRegistryValue(RegistryKey key, const char* name, void* buffer, uint32_t* size) {
  DWORD bytes = *size;
  LONG result = RegQueryValueExA(key->key, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &bytes);
  *size = bytes;
  return result == ERROR_SUCCESS;
}

bool PlatformSetRegistryExpandString(RegistryKey key, const char* name, const char* data, uint32_t size) {
  return RegSetValueExA(key->key, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(data), size) ==
         ERROR_SUCCESS;
}

bool PlatformDeleteRegistryValue(RegistryKey key, const char* name) {
  return RegDeleteValueA(key->key, name) == ERROR_SUCCESS;
}

bool PlatformDeleteRegistryKey(RegistryRoot root, const char* path) {
  HKEY base = RootKey(root);
  return base && RegDeleteKeyA(base, path) == ERROR_SUCCESS;
}
