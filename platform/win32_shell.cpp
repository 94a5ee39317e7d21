// Shell seam over Win32.
#include <windows.h>
#include <shellapi.h>

#include "platform/shell.h"

int32_t PlatformShellExecute(const char* file, const char* parameters) {
  HINSTANCE answer = ShellExecuteA(nullptr, nullptr, file, parameters, nullptr, SW_SHOWNORMAL);
  return int32_t(reinterpret_cast<INT_PTR>(answer));
}

bool PlatformSetCurrentDirectory(const char* folder) { return SetCurrentDirectoryA(folder) != FALSE; }
