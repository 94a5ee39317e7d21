// Suspend as the user sees it: the check of the Options menu's item (the tray menu reads the
// state when it opens), the tray icon and its tip, and a line in the status bar. Suspend changes
// by the menu command, or by an output that plays {Suspend} while the main window handles raw
// input or a timer; the window shows the change once that handling is done.
#pragma once
#include <windows.h>

// Command IDM_OPT_SUSPEND, from the Options menu or the tray menu: switches Suspend and shows it.
void OnSuspendCommand(HWND window);

// Shows Suspend's state when it differs from the one shown (gApp.shownSuspended). A new run
// shows "not suspended" already, so nothing is shown until the state first changes.
void ShowSuspendIfChanged(HWND window);
