// The DPI of monitors and windows (see win32_dpi.h). GetDpiForWindow (user32, Windows 10) and
// GetDpiForMonitor (shcore, Windows 8.1) are found at run time: the program also runs on XP.
#include "platform/win32_dpi.h"

typedef UINT(WINAPI* WindowDpiFunction)(HWND);
typedef HRESULT(WINAPI* MonitorDpiFunction)(HMONITOR, int, UINT*, UINT*);
static const int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI: the DPI that the user's scaling sets

// `name` in the system library `library`, or nullptr where that system has no such call. The
// library stays loaded for the run.
static FARPROC SystemCall(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  return module ? GetProcAddress(module, name) : nullptr;
}

int Win32ScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

int Win32MonitorDpi(HMONITOR monitor) {
  static const auto monitorDpi =
      reinterpret_cast<MonitorDpiFunction>(reinterpret_cast<void*>(SystemCall(L"shcore.dll", "GetDpiForMonitor")));
  UINT x = 0, y = 0;
  if (monitorDpi && monitor && monitorDpi(monitor, kEffectiveDpi, &x, &y) == S_OK && y > 0) return int(y);
  return Win32ScreenDpi();
}

int Win32WindowDpi(HWND window) {
  static const auto windowDpi =
      reinterpret_cast<WindowDpiFunction>(reinterpret_cast<void*>(SystemCall(L"user32.dll", "GetDpiForWindow")));
  UINT dpi = windowDpi && window ? windowDpi(window) : 0;
  if (dpi > 0) return int(dpi);
  return Win32MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

int Win32ScaleToDpi(int value, int dpi) { return MulDiv(value, dpi, kBaseDpi); }

int Win32ScaleFromScreenDpi(int value, int dpi) { return MulDiv(value, dpi, Win32ScreenDpi()); }
