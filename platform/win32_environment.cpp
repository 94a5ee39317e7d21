// Environment seam over Win32.
#include <windows.h>

#include "platform/environment.h"

uint32_t PlatformExpandEnvironment(const char* text, char* out, uint32_t size) {
  return ExpandEnvironmentStringsA(text, out, size);
}
