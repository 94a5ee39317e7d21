// Texts that tokens stand for (see inserted_text.h).
#include "player/inserted_text.h"

#include <string.h>

#include "common/heap.h"
#include "common/text.h"
#include "common/utf8.h"
#include "platform/clipboard.h"
#include "player/date_text.h"

const char kClipboardToken[] = "{Clipboard}";
const char kCloseBrace = '}';
const char kCarriageReturn = '\r', kLineFeed = '\n';

size_t InsertedTokenLength(const char* at, size_t available) {
  size_t clipboard = strlen(kClipboardToken);
  if (available >= clipboard && StartsWithNoCase(at, kClipboardToken)) return clipboard;
  const void* brace = memchr(at, kCloseBrace, available);
  return brace ? size_t(static_cast<const char*>(brace) - at) + 1 : available;
}

// The clipboard's text up to its first NUL, copied out before the clipboard closes.
static char* ClipboardText(uint32_t* length) {
  if (!PlatformClipboardHasText() || !PlatformOpenClipboard()) return nullptr;
  uint32_t size = 0;
  const char* data = PlatformLockClipboardText(&size);
  char* copy = nullptr;
  if (data) {
    *length = uint32_t(strnlen(data, size));
    copy = static_cast<char*>(AllocZeroed(size_t(*length) + 1, 1));
    if (copy) memcpy(copy, data, *length);
    PlatformUnlockClipboardText();
  }
  PlatformCloseClipboard();
  return copy;
}

char* InsertedText(const char* token, size_t tokenLength, uint32_t* length) {
  *length = 0;
  char* text = nullptr;
  if (StartsWithNoCase(token, kClipboardToken)) {
    text = ClipboardText(length);
  } else {
    text = static_cast<char*>(AllocZeroed(kDateTextSize, 1));
    // The "}" ends the token and is no part of the picture.
    size_t inner = tokenLength && token[tokenLength - 1] == kCloseBrace ? tokenLength - 1 : tokenLength;
    if (text) *length = DateTokenText(token, inner, text, kDateTextSize);
  }
  if (text && *length == 0) FreeAndForget(text);
  return text;
}

int32_t CaretSteps(const char* text, uint32_t length) {
  int32_t steps = 0;
  for (uint32_t at = 0; at < length;) {
    bool lineEnd = text[at] == kCarriageReturn && at + 1 < length && text[at + 1] == kLineFeed;
    at += lineEnd ? 2 : uint32_t(Utf8SequenceLength(text + at, length - at));
    ++steps;
  }
  return steps;
}
