// Settings seam over the Win32 private-profile calls.
#include <windows.h>

#include "platform/settings.h"

uint32_t PlatformReadSetting(const char* path, const char* section, const char* key, const char* defaultValue,
                             char* out, uint32_t size) {
  if (size == 0) return 0;
  out[0] = 0;
  return GetPrivateProfileStringA(section, key, defaultValue, out, size, path);
}

int32_t PlatformReadSettingInt(const char* path, const char* section, const char* key, int32_t defaultValue) {
  return int32_t(GetPrivateProfileIntA(section, key, defaultValue, path));
}

void PlatformWriteSetting(const char* path, const char* section, const char* key, const char* value) {
  WritePrivateProfileStringA(section, key, value, path);
}
