// Clipboard seam: the text on the system's clipboard, read and replaced in one opening.
// The program implements it over user32 and global memory (win32_clipboard.cpp).
#pragma once
#include <stdint.h>

// True when the clipboard offers text (the system derives its Unicode form from the other text
// forms where a program put only those). Needs no opening.
bool PlatformClipboardHasText();

// Opens the clipboard for this program, with the main window as its owner. False when another
// program holds it open. Every successful open is followed by PlatformCloseClipboard.
bool PlatformOpenClipboard();
void PlatformCloseClipboard();

// While the clipboard is open: returns its text in UTF-8 and the count of its bytes (they need
// not end in a NUL within that count), or nullptr when there is no text or it cannot be read.
// Every successful lock is followed by PlatformUnlockClipboardText.
const char* PlatformLockClipboardText(uint32_t* size);
void PlatformUnlockClipboardText();

// While the clipboard is open: replaces everything on it (every format) by the `length` bytes of
// UTF-8 `text` as Unicode text, with a NUL after them. Returns false when no memory could be had for them,
// and the clipboard is then as it was; or when the system refused the text after the clipboard
// was emptied, and it then holds nothing.
bool PlatformReplaceClipboardText(const char* text, uint32_t length);

// ---- every format, for a paste that gives the clipboard back ---------------------------------
// Formats are the system's numbers: the standard ones, and registered ones, whose numbers hold
// for the whole session.

// While open: the format after `format` in the order the clipboard offers them (0: the first);
// 0 after the last.
uint32_t PlatformNextClipboardFormat(uint32_t format);

// What a format's content allows.
enum ClipboardFormatKind {
  kFormatCopyable,     // its bytes can be read and put back as they are
  kFormatLeftToSystem, // the system makes it again from another format that is copied
  kFormatNotCopyable,  // drawn by its owner, a private handle, or not rendered when asked
};

// While open: what the format allows, and for a copyable one the count of its bytes. Reading
// a format that its owner renders late makes the owner render it.
ClipboardFormatKind PlatformMeasureClipboardFormat(uint32_t format, uint32_t* size);

// While open: copies the `size` bytes that PlatformMeasureClipboardFormat counted to `out`.
// False when the content changed size or cannot be read.
bool PlatformReadClipboardFormat(uint32_t format, void* out, uint32_t size);

// While open: empties the clipboard, making this program its owner. False when the system refused.
bool PlatformEmptyClipboard();

// While open, after an empty: puts the `size` bytes of a copy read above back as `format`. False
// when memory ran out or the system refused them.
bool PlatformPutClipboardFormat(uint32_t format, const void* bytes, uint32_t size);

// While open: empties the clipboard and offers Unicode text on it that the system asks this
// program for when a window reads it (the main window gets the request), marked for the system's
// clipboard history, its cloud clipboard and clipboard monitors to leave alone. False when the
// system refused, and the clipboard is then empty.
bool PlatformOfferTextLater();

// In answer to the system's request for the offered text, with the clipboard open by the reader:
// hands it the `length` bytes of UTF-8 `text` as Unicode text. False when memory ran out.
bool PlatformRenderOfferedText(const char* text, uint32_t length);

// In answer to the system's request for the offered text: false when the reader is surely not the
// window in front, as it opened the clipboard with a window of a program that owns neither the
// window in front nor a window inside it (a clipboard monitor that reads every new content);
// true otherwise, a reader that opened it without a window included, which cannot be told apart.
bool PlatformClipboardReaderMayBeInFront();
