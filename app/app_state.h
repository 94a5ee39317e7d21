// The Win32 half of the application shell's state: the main window, its children and the GDI
// objects it owns. The portable half (paths, options, automation count) is gShell.
#pragma once
#include <windows.h>

#include "app/shell_rules.h"

extern const char kMainClassName[];  // "WordHatchClass"

struct AppState {
  HINSTANCE instance;
  HWND mainWindow;
  HWND editor;     // control id IDC_EDITOR
  HWND statusBar;  // control id IDC_STATUS_BAR
  HICON smallIcon;  // class small icon, and the tray icon
  HICON greyedIcon;  // the tray icon while suspended; made from smallIcon at start
  HFONT editorFont;
  FontChoice editorFontChoice;  // the face and size it was made from, made again at a new DPI
  HFONT statusFont;  // the status bar's at the window's DPI; nullptr keeps the bar's own
  HCURSOR linkCursor;
  bool shownSuspended;  // the state of Suspend that the menus, the tray icon and the status bar show
  bool runEnded;  // the end-of-run steps have run (WM_ENDSESSION may precede WM_DESTROY)
};

extern AppState gApp;
