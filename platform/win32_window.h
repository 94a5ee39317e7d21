// Win32 side of the main-window seam: the shell tells it which windows to act on.
#pragma once
#include <windows.h>

// Names the main window and its editor and status bar; any of them may be nullptr.
void Win32AttachMainWindow(HWND mainWindow, HWND editor, HWND statusBar);

// The main window named last, or nullptr while there is none.
HWND Win32MainWindow();
