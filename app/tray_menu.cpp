// The main window in the notification area (see tray_menu.h).
#include "app/tray_menu.h"

#include "app/app_state.h"
#include "app/tray_icon.h"
#include "resources/resource_ids.h"
#include "triggers/firing_rules.h"

static const char kTrayTip[] = "WordHatch";
static const char kSuspendedTrayTip[] = "WordHatch (suspended)";
static const char kTaskbarCreated[] = "TaskbarCreated";

struct TrayMenuItem {
  const char* text;  // nullptr for a separator
  UINT command;
};
static const TrayMenuItem kTrayMenuItems[] = {
    {"Show WordHatch", IDM_TRAY_SHOW},
    {nullptr, 0},
    {"Remove Clipboard Formatting", IDM_OPT_CLEAN_CLIPBOARD},
    {"Suspend", IDM_OPT_SUSPEND},
    {nullptr, 0},
    {"Exit WordHatch", IDM_FILE_EXIT},
};

// The icon greyed while suspended, when the system could make the greyed copy.
static HICON TrayImage() {
  return TriggersSuspended() && gApp.greyedIcon ? gApp.greyedIcon : gApp.smallIcon;
}

static const char* TrayTip() { return TriggersSuspended() ? kSuspendedTrayTip : kTrayTip; }

void HideToTray(HWND window) {
  if (!AddTrayIcon(window, TrayImage(), TrayTip())) return;
  ShowWindow(window, SW_HIDE);
  UpdateWindow(window);
}

// Built anew each time, so Suspend's check is the state of the moment; nullptr when the system
// has no menu to give.
static HMENU CreateTrayMenu() {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const TrayMenuItem& item : kTrayMenuItems) {
    bool checked = item.command == IDM_OPT_SUSPEND && TriggersSuspended();
    if (item.text) AppendMenuA(menu, MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), item.command, item.text);
    else AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  }
  return menu;
}

// The window must be in the foreground for the menu to close when the user clicks elsewhere.
// The chosen item arrives as a WM_COMMAND once the menu has closed.
static void ShowTrayMenu(HWND window) {
  SetForegroundWindow(window);
  HMENU menu = CreateTrayMenu();
  if (!menu) return;
  POINT cursor = {0, 0};
  GetCursorPos(&cursor);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
  // Lets the menu's own loop see a message, without which a second click may not open it again.
  PostMessageA(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

void OnTrayCallback(HWND window, LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      ShowTrayMenu(window);
      break;
    case WM_LBUTTONDBLCLK:
      SendMessageA(window, WM_COMMAND, IDM_TRAY_SHOW, 0);
      break;
  }
}

void OnShowFromTrayCommand(HWND window) {
  RemoveTrayIcon(window);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  SetForegroundWindow(window);
}

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA(kTaskbarCreated);
  return message;
}

void OnTaskbarCreated(HWND window) {
  if (!IsWindowVisible(window)) AddTrayIcon(window, TrayImage(), TrayTip());
}

void ShowTrayLook(HWND window) {
  if (!IsWindowVisible(window)) ModifyTrayIcon(window, TrayImage(), TrayTip());
}
