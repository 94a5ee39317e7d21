// Shell seam over Win32.
#include <windows.h>
#include <shellapi.h>

#include "platform/memory.h"
#include "platform/shell.h"
#include "platform/win32_wide.h"

// The answer is a number in an HINSTANCE, pointer-sized in the 64-bit program: cutting it to 32
// bits could turn a success (above 32) into an error number, so it is held at the 32-bit bounds.
static int32_t SaturatedToInt32(INT_PTR value) {
  const INT_PTR highest = INT32_MAX, lowest = INT32_MIN;
  return int32_t(value > highest ? highest : value < lowest ? lowest : value);
}

// The shell's answer when the names could not be converted for want of memory.
const int32_t kShellOutOfMemory = 0;

// Names in any language go over whole through the wide calls.
int32_t PlatformShellExecute(const char* file, const char* parameters) {
  wchar_t* wideFile = Win32WideFromUtf8(file);
  wchar_t* wideParameters = Win32WideFromUtf8(parameters);
  int32_t result = kShellOutOfMemory;
  if (wideFile && (wideParameters || !parameters)) {
    HINSTANCE answer = ShellExecuteW(nullptr, nullptr, wideFile, wideParameters, nullptr, SW_SHOWNORMAL);
    result = SaturatedToInt32(reinterpret_cast<INT_PTR>(answer));
  }
  PlatformHeapFree(wideParameters);
  PlatformHeapFree(wideFile);
  return result;
}

bool PlatformSetCurrentDirectory(const char* folder) {
  wchar_t* wide = Win32WideFromUtf8(folder);
  bool set = wide && SetCurrentDirectoryW(wide) != FALSE;
  PlatformHeapFree(wide);
  return set;
}
