// Show Total Automations (see totals_box.h).
#include "app/totals_box.h"

#include <stdio.h>

#include "app/settings.h"
#include "common/state.h"

static const char kTotalsCaption[] = "WordHatch Totals";
static const char kTotalsFormat[] = "Automations since startup: \t%d\n\nAutomations since install: \t%d";
static const size_t kTotalsTextSize = 128;

void OnShowTotalsCommand(HWND window) {
  char text[kTotalsTextSize];
  snprintf(text, sizeof text, kTotalsFormat, int(gShell.automationCount), int(ReadActivationTotal()));
  MessageBoxA(window, text, kTotalsCaption, MB_OK | MB_SETFOREGROUND);
}
