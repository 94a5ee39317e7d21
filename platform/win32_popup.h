// What the program's small always-on-top windows (the search window, the fill-in form) share:
// the system's message font at their monitor's DPI, a frame centred on the window that was in
// front, and giving the focus back to that window when they close. Win32 only.
#pragma once
#include <windows.h>

// Registers the window class `name` of such a window in `instance` (the dialog colour, the arrow
// cursor) with `procedure`, once for the run; true when it is registered.
bool Win32RegisterPopupClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure);

// The system's message font at `points` for `dpi`; the caller deletes it. nullptr when the
// system cannot make it (the controls keep their own font then).
HFONT Win32CreatePopupFont(int points, int dpi);

// The height of a line of `font`, in pixels; 0 when it cannot be measured.
int Win32FontHeight(HFONT font);

// The width of `text` (wide, NUL-ended) in `font`, in pixels; 0 when it cannot be measured.
int Win32TextWidth(HFONT font, const wchar_t* text);

// A frame of `width` by `height` centred on `previous` (the whole work area when there is none or
// it is minimised), kept inside the work area of `monitor`.
RECT Win32CentredFrame(HWND previous, HMONITOR monitor, int width, int height);

// Brings `previous` forward again and returns once it is the foreground window, or after half a
// second at most, so that what is typed next goes there. Does nothing for a window that is gone.
void Win32GiveFocusBack(HWND previous);
