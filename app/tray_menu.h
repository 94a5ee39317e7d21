// The main window in the notification area: hiding into it when minimised with the tray option
// on, the icon's mouse callback and its menu, Show, and the icon's return after the shell's
// notification area was re-created. While Suspend is on the icon is greyed and its tip says so.
#pragma once
#include <windows.h>

// WM_SIZE with SIZE_MINIMIZED while the tray option is on: adds the tray icon and hides the
// window. Without an icon the window stays minimised on the taskbar, as the user could not
// bring it back otherwise.
void HideToTray(HWND window);

// The tray icon's callback message: a left or right button press opens the tray menu at the
// cursor; a left double click shows the window.
void OnTrayCallback(HWND window, LPARAM mouseMessage);

// Command 3199, "Show WordHatch": removes the icon and shows the window in front.
void OnShowFromTrayCommand(HWND window);

// The message the shell broadcasts when its notification area has been (re-)created, which
// loses every icon: registered once.
UINT TaskbarCreatedMessage();

// That message: a window hidden in the tray gets its icon back.
void OnTaskbarCreated(HWND window);

// The icon of a window hidden in the tray takes the look of Suspend's present state.
void ShowTrayLook(HWND window);
