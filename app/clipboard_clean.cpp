// Remove Clipboard Formatting (see clipboard_clean.h). The text is copied out before the
// clipboard is emptied, as emptying releases the data it came from.
#include "app/clipboard_clean.h"

#include <string.h>

#include "common/heap.h"
#include "platform/clipboard.h"

// Room of the private copy: the text, its NUL and one byte more, and never less than kTextSlack.
static size_t CopySize(size_t length) { return length + 2 > kTextSlack ? length + 2 : kTextSlack; }

bool CleanClipboard() {
  if (!PlatformClipboardHasText() || !PlatformOpenClipboard()) return false;
  uint32_t size = 0;
  const char* data = PlatformLockClipboardText(&size);
  if (!data) {
    PlatformCloseClipboard();
    return false;
  }
  // The text ends at its first NUL, or at the end of its block when another program left none.
  size_t length = strnlen(data, size);
  char* copy = static_cast<char*>(AllocZeroed(CopySize(length), 1));
  if (copy) memcpy(copy, data, length);
  PlatformUnlockClipboardText();
  bool replaced = copy && PlatformReplaceClipboardText(copy, uint32_t(length));
  PlatformCloseClipboard();
  FreeBlock(copy);
  return replaced;
}
