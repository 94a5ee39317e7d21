// The main window: its class and its window procedure, which hands each message to a named
// handler in the file of its subject.
#pragma once
#include <windows.h>

// Registers the main window class with the class icon, the small icon (gApp.smallIcon) and menu
// resource IDR_MAIN_MENU. Returns false on failure.
bool RegisterMainWindowClass(HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
