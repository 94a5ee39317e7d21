// Clipboard seam over user32 and movable global memory.
#include <windows.h>

#include <string.h>

#include "platform/clipboard.h"
#include "platform/win32_window.h"

// The CF_TEXT handle locked by PlatformLockClipboardText.
static HANDLE gLockedText;

// The seam counts bytes in 32 bits; a bigger block (only the 64-bit program can meet one) counts
// as its first 4 GiB less a byte rather than as its size cut to 32 bits, which could be 0.
static uint32_t BlockSizeWithinSeam(SIZE_T bytes) {
  const SIZE_T limit = UINT32_MAX;
  return uint32_t(bytes < limit ? bytes : limit);
}

bool PlatformClipboardHasText() { return IsClipboardFormatAvailable(CF_TEXT) != 0; }

// An owner is needed: emptying a clipboard opened without one leaves it ownerless, and the
// system then refuses the new text, which would lose what the user had copied.
bool PlatformOpenClipboard() { return OpenClipboard(Win32MainWindow()) != 0; }

void PlatformCloseClipboard() { CloseClipboard(); }

const char* PlatformLockClipboardText(uint32_t* size) {
  *size = 0;
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  if (!text) return nullptr;
  gLockedText = data;
  *size = BlockSizeWithinSeam(GlobalSize(data));
  return text;
}

void PlatformUnlockClipboardText() {
  if (gLockedText) GlobalUnlock(gLockedText);
  gLockedText = nullptr;
}

bool PlatformReplaceClipboardText(const char* text, uint32_t length) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(length) + 1);
  char* bytes = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
  if (!bytes) {
    if (block) GlobalFree(block);
    return false;
  }
  memcpy(bytes, text, length);
  GlobalUnlock(block);
  EmptyClipboard();
  // From here on the system owns the block, unless it refuses it.
  if (SetClipboardData(CF_TEXT, block)) return true;
  GlobalFree(block);
  return false;
}
