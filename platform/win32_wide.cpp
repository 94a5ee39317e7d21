// UTF-8 to and from wide text at the Win32 calls (see win32_wide.h), by the core's UTF-16 helpers.
#include "platform/win32_wide.h"

#include <stdint.h>
#include <string.h>

#include "common/utf16.h"
#include "platform/memory.h"

wchar_t* Win32WideFromUtf8(const char* text) {
  if (!text) return nullptr;
  size_t length = strlen(text);
  wchar_t* wide = static_cast<wchar_t*>(PlatformHeapAlloc((length + 1) * sizeof(wchar_t)));
  if (wide) Utf8ToUtf16(text, length, reinterpret_cast<uint16_t*>(wide));
  return wide;
}

size_t Win32Utf8FromWide(const wchar_t* text, char* out, size_t size) {
  size_t used = 0, needed = 0;
  for (size_t i = 0; text[i]; ++i) {
    // A pair of surrogates goes over as one character.
    size_t units = IsSurrogatePair(uint16_t(text[i]), uint16_t(text[i + 1])) ? 2 : 1;
    char bytes[2 * kUtf8BytesPerUtf16Unit];
    size_t n = Utf16ToUtf8(reinterpret_cast<const uint16_t*>(text + i), units, bytes);
    i += units - 1;
    needed += n;
    if (needed < size) {
      memcpy(out + used, bytes, n);
      used += n;
    }
  }
  out[used] = 0;
  return needed + 1;
}
