// Texts that tokens stand for (see inserted_text.h).
#include "player/inserted_text.h"

#include <string.h>

#include "common/heap.h"
#include "common/text.h"
#include "common/utf8.h"
#include "forms/field_form.h"
#include "platform/clipboard.h"
#include "platform/top_windows.h"
#include "player/date_text.h"
#include "player/keystrokes.h"

const char kClipboardToken[] = "{Clipboard}";
const char kProgramToken[] = "{Program}";
const char kTitleToken[] = "{Title}";
const uint32_t kWindowTextSize = 4096;  // bytes of the program's name or the window's title
const char kCloseBrace = '}';
const char kCarriageReturn = '\r', kLineFeed = '\n', kTab = '\t';
const char kLineEnd[] = "\r\n";
const uint32_t kLineEndBytes = 2;
// The longest text that the 32-bit counts of the seam hold, its NUL aside.
const uint64_t kLongestText = UINT32_MAX - 1;

bool IsClipboardToken(const char* at) { return StartsWithNoCase(at, kClipboardToken); }

size_t InsertedTokenLength(const char* at, size_t available) {
  size_t clipboard = strlen(kClipboardToken);
  if (available >= clipboard && StartsWithNoCase(at, kClipboardToken)) return clipboard;
  if (size_t field = FieldTokenLength(at)) return field <= available ? field : available;
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

// Writes the text form of the `length` bytes at `text` to `out` (when given) and returns its
// length: each line end, CR LF or CR or LF alone, becomes CR LF; a tab stays; every other control
// character goes.
static uint64_t WriteTextForm(const char* text, uint32_t length, char* out) {
  uint64_t written = 0;
  for (uint32_t at = 0; at < length;) {
    int n = 1;
    uint32_t codePoint = DecodeUtf8(text + at, length - at, &n);
    const char* piece = text + at;
    uint32_t pieceLength = uint32_t(n);
    if (codePoint == uint32_t(kCarriageReturn) || codePoint == uint32_t(kLineFeed)) {
      bool pair = codePoint == uint32_t(kCarriageReturn) && at + 1 < length && text[at + 1] == kLineFeed;
      n = pair ? 2 : 1;
      piece = kLineEnd;
      pieceLength = kLineEndBytes;
    } else if (codePoint != uint32_t(kTab) && !IsTextCharacter(codePoint)) {
      pieceLength = 0;
    }
    if (out) memcpy(out + written, piece, pieceLength);
    written += pieceLength;
    at += uint32_t(n);
  }
  return written;
}

// Copied text is text, whatever program put it there: a backspace or escape character in it must
// not press its key, and a line end of any form must make one new line, as the program that it
// was copied from showed it (left to the keyboard layout, a lone LF is Ctrl+Enter or nothing).
// Returns the text form in a new heap block with a NUL after it (the old block released), or
// nullptr when memory ran out.
static char* ToTextForm(char* text, uint32_t* length) {
  uint64_t formLength = WriteTextForm(text, *length, nullptr);
  char* form = formLength <= kLongestText ? static_cast<char*>(AllocZeroed(size_t(formLength) + 1, 1)) : nullptr;
  if (form) WriteTextForm(text, *length, form);
  FreeBlock(text);
  *length = form ? uint32_t(formLength) : 0;
  return form;
}

// {Program} and {Title}: the file name of the program that owns the window in front, or that
// window's title, as the system tells them.
static char* WindowInFrontText(bool title, uint32_t* length) {
  char* text = static_cast<char*>(AllocZeroed(kWindowTextSize, 1));
  if (!text) return nullptr;
  WindowHandle window = PlatformForegroundWindow();
  if (title) PlatformWindowCaption(window, text, kWindowTextSize);
  else PlatformProcessFileName(PlatformWindowProcess(window), text, kWindowTextSize);
  *length = uint32_t(strlen(text));
  return text;
}

char* InsertedText(const char* token, size_t tokenLength, uint32_t* length) {
  *length = 0;
  char* text = nullptr;
  bool program = StartsWithNoCase(token, kProgramToken), title = StartsWithNoCase(token, kTitleToken);
  if (FieldTokenLength(token)) {
    text = FieldAnswerText(token, tokenLength, length);
  } else if (IsClipboardToken(token) || program || title) {
    text = program || title ? WindowInFrontText(title, length) : ClipboardText(length);
    if (text) text = ToTextForm(text, length);
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
