// WM_COMMAND of the main window: the File and Edit menus, the accelerators and the editor's
// change notification.
#pragma once
#include <windows.h>

// Handles one WM_COMMAND. Returns true with *result set when the command is the shell's;
// false sends it on to default processing (the commands of later menus).
bool OnCommand(HWND window, WPARAM wParam, LPARAM lParam, LRESULT* result);
