// Track Mouse (see track_mouse.h).
#include "app/track_mouse.h"

#include "common/state.h"
#include "common/status_text.h"
#include "platform/menu.h"
#include "platform/mouse.h"
#include "platform/ui.h"
#include "resources/resource_ids.h"

static const char kPositionFormat[] = "  %d, %d";
static const char kBlankStatus[] = " ";  // an empty text cannot be shown

void OnTrackMouseCommand() {
  gShell.trackMouse = !gShell.trackMouse;
  if (gShell.trackMouse) {
    PlatformStartTimer(kTrackMouseTimerId, kTrackMousePeriodMs);
  } else {
    PlatformStopTimer(kTrackMouseTimerId);
    SetStatusText(kBlankStatus);
  }
  PlatformCheckMenuItem(IDM_OPT_TRACK_MOUSE, gShell.trackMouse);
}

void ShowMousePosition() {
  int32_t x = 0, y = 0, originX = 0, originY = 0;
  PlatformCursorPos(&x, &y);
  PlatformForegroundWindowOrigin(&originX, &originY);
  SetStatusText(kPositionFormat, int(x - originX), int(y - originY));
}
