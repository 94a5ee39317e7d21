// Menu seam over the main window's menu.
#include <windows.h>

#include "platform/menu.h"
#include "platform/win32_window.h"

static HMENU MainMenu() {
  HWND main = Win32MainWindow();
  return main ? GetMenu(main) : nullptr;
}

bool PlatformMenuItemChecked(uint32_t id) {
  HMENU menu = MainMenu();
  if (!menu) return false;
  UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
  return state != UINT(-1) && (state & MF_CHECKED) != 0;
}

void PlatformCheckMenuItem(uint32_t id, bool checked) {
  if (HMENU menu = MainMenu()) CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}
