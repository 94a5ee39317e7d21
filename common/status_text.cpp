// Status-bar reports: formatting here, showing through the main-window seam.
#include "common/status_text.h"

#include <stdarg.h>
#include <stdio.h>

#include "platform/ui.h"

void SetStatusText(const char* format, ...) {
  if (!format || !*format) return;
  char text[kStatusTextSize] = {0};
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  PlatformShowStatusText(text);
}
