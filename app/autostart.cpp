// The auto-start value under the current user's Run key.
#include "app/autostart.h"

#include <windows.h>

static const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char kRunValue[] = "WordHatch";

bool IsAutoStartSet() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  DWORD size = 0;
  LONG result = RegQueryValueExA(key, kRunValue, nullptr, nullptr, nullptr, &size);
  RegCloseKey(key);
  // A string value of only its NUL is empty.
  return result == ERROR_SUCCESS && size > 1;
}
