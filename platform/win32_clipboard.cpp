// Clipboard seam over user32 and movable global memory.
#include <windows.h>

#include <limits.h>
#include <string.h>
#include <wchar.h>

#include "platform/clipboard.h"
#include "platform/win32_window.h"

// The text goes through the clipboard's Unicode form, so that no character is lost to the code
// page; the system offers it in the other text forms too. The core reads and writes UTF-8.

// The UTF-8 copy handed out by PlatformLockClipboardText, released by the unlock.
static char* gLockedText;

// The seam counts bytes in 32 bits; a bigger text (only the 64-bit program can meet one) counts
// as its first 4 GiB less a byte rather than as its size cut to 32 bits, which could be 0.
static uint32_t BlockSizeWithinSeam(SIZE_T bytes) {
  const SIZE_T limit = UINT32_MAX;
  return uint32_t(bytes < limit ? bytes : limit);
}

bool PlatformClipboardHasText() { return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0; }

// An owner is needed: emptying a clipboard opened without one leaves it ownerless, and the
// system then refuses the new text, which would lose what the user had copied.
bool PlatformOpenClipboard() { return OpenClipboard(Win32MainWindow()) != 0; }

void PlatformCloseClipboard() { CloseClipboard(); }

// The UTF-8 form of `units` wide characters in a new heap block with a NUL after it, or nullptr.
static char* Utf8Copy(const wchar_t* text, int units, uint32_t* size) {
  int bytes = units ? WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr) : 0;
  if (units && bytes <= 0) return nullptr;
  char* copy = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, SIZE_T(bytes) + 1));
  if (!copy) return nullptr;
  if (units) WideCharToMultiByte(CP_UTF8, 0, text, units, copy, bytes, nullptr, nullptr);
  *size = BlockSizeWithinSeam(SIZE_T(bytes));
  return copy;
}

const char* PlatformLockClipboardText(uint32_t* size) {
  *size = 0;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (!text) return nullptr;
  // The text ends at its first NUL, or at the end of its block when another program left none.
  size_t units = wcsnlen(text, GlobalSize(data) / sizeof(wchar_t));
  const size_t mostUnits = INT_MAX;
  gLockedText = Utf8Copy(text, int(units < mostUnits ? units : mostUnits), size);
  GlobalUnlock(data);
  return gLockedText;
}

void PlatformUnlockClipboardText() {
  if (gLockedText) HeapFree(GetProcessHeap(), 0, gLockedText);
  gLockedText = nullptr;
}

bool PlatformReplaceClipboardText(const char* text, uint32_t length) {
  int units = length ? MultiByteToWideChar(CP_UTF8, 0, text, int(length), nullptr, 0) : 0;
  if (length && units <= 0) return false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T(units) + 1) * sizeof(wchar_t));
  wchar_t* wide = block ? static_cast<wchar_t*>(GlobalLock(block)) : nullptr;
  if (!wide) {
    if (block) GlobalFree(block);
    return false;
  }
  if (units) MultiByteToWideChar(CP_UTF8, 0, text, int(length), wide, units);
  GlobalUnlock(block);
  EmptyClipboard();
  // From here on the system owns the block, unless it refuses it.
  if (SetClipboardData(CF_UNICODETEXT, block)) return true;
  GlobalFree(block);
  return false;
}
