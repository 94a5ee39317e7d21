// Minimize to Tray (see tray_option.h).
#include "app/tray_option.h"

#include "app/settings.h"
#include "common/state.h"
#include "platform/menu.h"
#include "resources/resource_ids.h"

void OnTrayOptionCommand() {
  gShell.trayOption = !gShell.trayOption;
  WriteSettingText(kKeyTray, gShell.trayOption ? "1" : "0");
  PlatformCheckMenuItem(IDM_OPT_TRAY, gShell.trayOption);
}
