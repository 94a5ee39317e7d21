// Code-page seam over Win32: the ANSI code page through UTF-16, the system's own conversions on
// the code page's side and the core's UTF-16 helpers on UTF-8's.
#include <windows.h>
#include <limits.h>
#include <string.h>

#include "common/utf16.h"
#include "platform/memory.h"
#include "platform/text_codepage.h"

// A system set to use UTF-8 as its ANSI code page needs no conversion, and its converter takes
// neither the no-look-alike flag nor the used-default answer.
static bool AnsiIsUtf8() { return GetACP() == CP_UTF8; }

size_t PlatformAnsiToUtf8(const char* ansi, size_t size, char* out) {
  if (size == 0 || size > size_t(INT_MAX)) return 0;
  if (AnsiIsUtf8()) {
    memcpy(out, ansi, size);
    return size;
  }
  uint16_t* wide = static_cast<uint16_t*>(PlatformHeapAlloc(size * sizeof(uint16_t)));
  if (!wide) return 0;
  int units = MultiByteToWideChar(CP_ACP, 0, ansi, int(size), reinterpret_cast<wchar_t*>(wide), int(size));
  size_t written = units > 0 ? Utf16ToUtf8(wide, size_t(units), out) : 0;
  PlatformHeapFree(wide);
  return written;
}

size_t PlatformUtf8ToAnsi(const char* text, size_t length, char* out, bool* unrepresentable) {
  *unrepresentable = false;
  if (length == 0) return 0;
  if (AnsiIsUtf8()) {
    memcpy(out, text, length);
    return length;
  }
  uint16_t* wide = length <= size_t(INT_MAX) ? static_cast<uint16_t*>(PlatformHeapAlloc(length * sizeof(uint16_t))) : nullptr;
  if (!wide) {
    *unrepresentable = true;
    return 0;
  }
  size_t units = Utf8ToUtf16(text, length, wide);
  BOOL usedDefault = FALSE;
  int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(wide), int(units),
                                    out, int(length), nullptr, &usedDefault);
  PlatformHeapFree(wide);
  if (written <= 0 || usedDefault) *unrepresentable = true;
  return written > 0 ? size_t(written) : 0;
}

uint16_t PlatformAnsiByteToUnit(uint8_t byte) {
  const int kOneByte = 1;
  char text = char(byte);
  WCHAR unit = 0;
  if (MultiByteToWideChar(CP_ACP, 0, &text, kOneByte, &unit, kOneByte) != kOneByte) return 0;
  return uint16_t(unit);
}
