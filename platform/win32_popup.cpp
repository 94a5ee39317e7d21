// The shared pieces of the program's small always-on-top windows (see win32_popup.h).
#include "platform/win32_popup.h"

#include "platform/top_windows.h"

const int kPointsPerInch = 72;
const UINT kWaitForFrontMs = 500, kFrontLookMs = 10;

HFONT Win32CreatePopupFont(int points, int dpi) {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font = {};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) font = metrics.lfMessageFont;
  font.lfHeight = -MulDiv(points, dpi, kPointsPerInch);
  font.lfWidth = 0;
  return CreateFontIndirectW(&font);
}

int Win32FontHeight(HFONT font) {
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  HGDIOBJ before = SelectObject(screen, font);
  TEXTMETRICW metrics = {};
  int height = GetTextMetricsW(screen, &metrics) ? int(metrics.tmHeight) : 0;
  SelectObject(screen, before);
  ReleaseDC(nullptr, screen);
  return height;
}

int Win32TextWidth(HFONT font, const wchar_t* text) {
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  HGDIOBJ before = SelectObject(screen, font);
  SIZE size = {};
  int width = GetTextExtentPoint32W(screen, text, lstrlenW(text), &size) ? int(size.cx) : 0;
  SelectObject(screen, before);
  ReleaseDC(nullptr, screen);
  return width;
}

RECT Win32CentredFrame(HWND previous, HMONITOR monitor, int width, int height) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  RECT around = info.rcWork;
  if (previous && !IsIconic(previous)) GetWindowRect(previous, &around);
  RECT work = info.rcWork;
  LONG left = around.left + (around.right - around.left - width) / 2;
  LONG top = around.top + (around.bottom - around.top - height) / 2;
  if (left + width > work.right) left = work.right - width;
  if (top + height > work.bottom) top = work.bottom - height;
  if (left < work.left) left = work.left;
  if (top < work.top) top = work.top;
  return RECT{left, top, left + width, top + height};
}

void Win32GiveFocusBack(HWND previous) {
  if (!previous || !IsWindow(previous)) return;
  PlatformBringWindowForward(reinterpret_cast<WindowHandle>(previous));
  for (UINT waited = 0; GetForegroundWindow() != previous && waited < kWaitForFrontMs; waited += kFrontLookMs) {
    Sleep(kFrontLookMs);
  }
}

bool Win32RegisterPopupClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, name, &existing)) return true;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}
