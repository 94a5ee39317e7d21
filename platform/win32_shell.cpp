// Shell seam over Win32.
#include <windows.h>
#include <shellapi.h>

#include "platform/shell.h"

// The answer is a number in an HINSTANCE, pointer-sized in the 64-bit program: cutting it to 32
// bits could turn a success (above 32) into an error number, so it is held at the 32-bit bounds.
static int32_t SaturatedToInt32(INT_PTR value) {
  const INT_PTR highest = INT32_MAX, lowest = INT32_MIN;
  return int32_t(value > highest ? highest : value < lowest ? lowest : value);
}

int32_t PlatformShellExecute(const char* file, const char* parameters) {
  HINSTANCE answer = ShellExecuteA(nullptr, nullptr, file, parameters, nullptr, SW_SHOWNORMAL);
  return SaturatedToInt32(reinterpret_cast<INT_PTR>(answer));
}

bool PlatformSetCurrentDirectory(const char* folder) { return SetCurrentDirectoryA(folder) != FALSE; }
