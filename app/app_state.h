// The application shell's state record: the main window, its children and the paths of the run.
#pragma once
#include <windows.h>

const char kMainClassName[] = "WordHatchClass";
const char kSettingsSection[] = "WordHatch Settings";
// The Win32 half of the shell's state; the portable half (paths, options) is gShell.
struct AppState {
  HINSTANCE instance;
  HWND mainWindow;
  HWND editor;
  HWND statusBar;
};

extern AppState gApp;

// Registers the main window class; false on failure.
bool RegisterMainWindowClass(HINSTANCE instance);

// The main window procedure.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
