// The notification-area icon of the main window (icon id 1001), and its greyed look.
#pragma once
#include <windows.h>

// Message the shell sends to the window for mouse events on the icon.
const UINT kTrayCallbackMessage = 0x222;

// Adds the icon for `window` (the desktop window when nullptr) with `icon` (the information icon
// when nullptr) and the tip `tip` (none when empty). Returns false when the shell did not take it.
bool AddTrayIcon(HWND window, HICON icon, const char* tip);

// Gives the icon of `window` the image `icon` and the tip `tip`. Returns false when the window
// has no icon in the notification area (then nothing changes) or the shell did not take it.
bool ModifyTrayIcon(HWND window, HICON icon, const char* tip);

// Removes the icon of `window`, if it has one.
void RemoveTrayIcon(HWND window);

// A new icon: `icon` in light greys (see icon_grey.h), for the caller to destroy
// with DestroyIcon; nullptr when the system could not make it.
HICON CreateGreyedIcon(HICON icon);
