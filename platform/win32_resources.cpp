// Resource seam over the Win32 resource calls.
#include <windows.h>

#include "platform/resources.h"

const uint8_t* PlatformRawResource(int id, uint32_t* size) {
  *size = 0;
  HRSRC info = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_RCDATA);
  if (!info) return nullptr;
  HGLOBAL loaded = LoadResource(nullptr, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return nullptr;
  *size = SizeofResource(nullptr, info);
  return static_cast<const uint8_t*>(bytes);
}
