// Mouse seam over Win32.
#include <windows.h>

#include "platform/mouse.h"
#include "platform/win32_dpi.h"
#include "platform/win32_input_tag.h"

void PlatformSendMouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) {
  mouse_event(flags, DWORD(dx), DWORD(dy), DWORD(data), kOwnInputTag);
}

void PlatformSetCursorPos(int32_t x, int32_t y) { SetCursorPos(x, y); }

bool PlatformCursorPos(int32_t* x, int32_t* y) {
  POINT at = {0, 0};
  bool ok = GetCursorPos(&at) != 0;
  *x = at.x;
  *y = at.y;
  return ok;
}

void PlatformScreenSize(int32_t* width, int32_t* height) {
  *width = GetSystemMetrics(SM_CXSCREEN);
  *height = GetSystemMetrics(SM_CYSCREEN);
}

int32_t PlatformScreenDpi() {
  const POINT kOrigin = {0, 0};  // the primary screen's top left corner
  return Win32MonitorDpi(MonitorFromPoint(kOrigin, MONITOR_DEFAULTTOPRIMARY));
}

bool PlatformForegroundWindowOrigin(int32_t* x, int32_t* y) {
  *x = *y = 0;
  HWND foreground = GetForegroundWindow();
  RECT frame;
  if (!foreground || !GetWindowRect(foreground, &frame)) return false;
  *x = frame.left;
  *y = frame.top;
  return true;
}

void PlatformShowCursor() { ShowCursor(TRUE); }

uint32_t PlatformDoubleClickTime() { return GetDoubleClickTime(); }
