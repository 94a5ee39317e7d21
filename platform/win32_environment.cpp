// Environment seam over Win32: the wide call, so that values in any language come over whole.
#include <windows.h>

#include "platform/environment.h"
#include "platform/memory.h"
#include "platform/win32_wide.h"

uint32_t PlatformExpandEnvironment(const char* text, char* out, uint32_t size) {
  wchar_t* wide = Win32WideFromUtf8(text);
  if (!wide || size == 0) {
    PlatformHeapFree(wide);
    return 0;
  }
  DWORD units = ExpandEnvironmentStringsW(wide, nullptr, 0);
  wchar_t* expanded = units ? static_cast<wchar_t*>(PlatformHeapAlloc(size_t(units) * sizeof(wchar_t))) : nullptr;
  uint32_t needed = 0;
  if (expanded && ExpandEnvironmentStringsW(wide, expanded, units) != 0) {
    size_t bytes = Win32Utf8FromWide(expanded, out, size);
    needed = bytes > UINT32_MAX ? 0 : uint32_t(bytes);
  }
  PlatformHeapFree(expanded);
  PlatformHeapFree(wide);
  return needed;
}
