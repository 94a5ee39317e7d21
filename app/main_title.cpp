// The main window's title (see main_title.h).
#include "app/main_title.h"

#include "app/shell_rules.h"
#include "common/state.h"

void SetMainTitleFromPath(HWND window) {
  char title[kTitleCapacity];
  FormatMainTitle(gShell.triggerPath, title, sizeof title);
  SetWindowTextA(window, title);
}
