// Suspend as the user sees it (see suspend_display.h).
#include "app/suspend_display.h"

#include "app/app_state.h"
#include "app/tray_menu.h"
#include "common/status_text.h"
#include "platform/menu.h"
#include "resources/resource_ids.h"
#include "triggers/firing_rules.h"

static const char kSuspendedStatus[] =
    " * * * SUSPENDED: no trigger fires and nothing typed is kept (Options > Suspend)";
static const char kResumedStatus[] = " Suspend is off: triggers fire again";

void OnSuspendCommand(HWND window) {
  SetTriggersSuspended(!TriggersSuspended());
  ShowSuspendIfChanged(window);
}

void ShowSuspendIfChanged(HWND window) {
  bool suspended = TriggersSuspended();
  if (suspended == gApp.shownSuspended) return;
  gApp.shownSuspended = suspended;
  PlatformCheckMenuItem(IDM_OPT_SUSPEND, suspended);
  ShowTrayLook(window);
  SetStatusText(suspended ? kSuspendedStatus : kResumedStatus);
}
