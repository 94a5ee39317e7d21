// WM_COMMAND of the main window: the one switch over every menu command, the accelerators, the
// tray menu and the editor's change notification. Each command's handler lives in the file of
// its subject.
#pragma once
#include <windows.h>

// Handles one WM_COMMAND. Returns true with *result set when the command is the shell's;
// false sends it on to default processing (a command the program does not know).
bool OnCommand(HWND window, WPARAM wParam, LPARAM lParam, LRESULT* result);
