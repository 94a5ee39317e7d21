// The end of the run (WM_DESTROY, WM_ENDSESSION) and the placement saving (WM_EXITSIZEMOVE).
#pragma once
#include <windows.h>

// Writes the window state, the font default and the summed automation count to the settings,
// removes the tray icon, releases the GDI objects and the buffers left allocated, and posts the
// quit message. Runs once, whichever of the two messages comes first.
void OnEndOfRun(HWND window);

// Saves the window's outer rectangle when it is in its normal state.
void OnExitSizeMove(HWND window);
