// Top-level windows seam: finding a window by its title and bringing it to the front.
#pragma once
#include <stdint.h>

// A top-level window of any program; nullptr is no window.
typedef struct PlatformWindowTag* WindowHandle;

// The top-level window whose title is exactly the UTF-8 `title` (letter case included), or nullptr.
WindowHandle PlatformFindWindowByExactTitle(const char* title);

// The foreground window, or nullptr.
WindowHandle PlatformForegroundWindow();

// The next window below `window` in the z-order, or nullptr at the bottom.
WindowHandle PlatformNextWindowDown(WindowHandle window);

// Asks `window` for its title, waiting no longer than `timeoutMs`: its UTF-8, at most size - 1
// bytes of whole characters, and a NUL go into `out` (size > 0). False, with `out` empty, when the window did not answer in
// time (or is gone).
bool PlatformWindowTitle(WindowHandle window, char* out, uint32_t size, uint32_t timeoutMs);

// The process that owns `window`, 0 when there is none. Cheap: it may be asked at every key.
uint32_t PlatformWindowProcess(WindowHandle window);

// The file name, without its folder, of the program that process `process` runs ("notepad.exe"),
// in UTF-8: at most size - 1 bytes of whole characters and a NUL go into `out` (size > 0). False,
// with `out` empty, when the system does not tell (the process is gone, or denies it).
bool PlatformProcessFileName(uint32_t process, char* out, uint32_t size);

// The title that the system keeps for `window`, read without asking the window (one that hangs
// cannot hold the caller): into `out` as PlatformWindowTitle writes it. False, `out` empty, when
// the window is gone.
bool PlatformWindowCaption(WindowHandle window, char* out, uint32_t size);

// True while `window` exists.
bool PlatformIsWindow(WindowHandle window);

// The longest that PlatformBringWindowForward waits for the window to answer a message.
const uint32_t kWindowAnswerTimeoutMs = 100;

// Restores or shows `window` and makes it the active, foreground window with the keyboard focus,
// lifting the system's foreground lock first. Nothing is reported when the system refuses. A
// window whose program hangs cannot hold the caller: it is waited for kWindowAnswerTimeoutMs at
// most, and what it has not done by then it does when it runs again.
void PlatformBringWindowForward(WindowHandle window);
