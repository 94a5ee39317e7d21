// Clipboard seam: the text on the system's clipboard, read and replaced in one opening.
// The program implements it over user32 and global memory (win32_clipboard.cpp).
#pragma once
#include <stdint.h>

// True when the clipboard offers text in the program's code page (CF_TEXT), which the system
// may also derive from the other text forms. Needs no opening.
bool PlatformClipboardHasText();

// Opens the clipboard for this program, with the main window as its owner. False when another
// program holds it open. Every successful open is followed by PlatformCloseClipboard.
bool PlatformOpenClipboard();
void PlatformCloseClipboard();

// While the clipboard is open: locks its CF_TEXT data and returns its bytes and their count
// (the data need not end in a NUL within them), or nullptr when there is no such data or it
// cannot be locked. Every successful lock is followed by PlatformUnlockClipboardText.
const char* PlatformLockClipboardText(uint32_t* size);
void PlatformUnlockClipboardText();

// While the clipboard is open: replaces everything on it (every format) by the `length` bytes of
// `text` as CF_TEXT, with a NUL after them. Returns false when no memory could be had for them,
// and the clipboard is then as it was; or when the system refused the text after the clipboard
// was emptied, and it then holds nothing.
bool PlatformReplaceClipboardText(const char* text, uint32_t length);
