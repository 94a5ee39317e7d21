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
