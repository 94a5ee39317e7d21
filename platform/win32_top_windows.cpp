// Top-level windows seam over Win32.
#include <windows.h>

#include "platform/top_windows.h"

static HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
static WindowHandle AsHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

WindowHandle PlatformFindWindowByExactTitle(const char* title) { return AsHandle(FindWindowA(nullptr, title)); }

WindowHandle PlatformForegroundWindow() { return AsHandle(GetForegroundWindow()); }

WindowHandle PlatformNextWindowDown(WindowHandle window) { return AsHandle(GetWindow(AsHwnd(window), GW_HWNDNEXT)); }

bool PlatformWindowTitle(WindowHandle window, char* out, uint32_t size, uint32_t timeoutMs) {
  out[0] = 0;
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(AsHwnd(window), WM_GETTEXT, size, reinterpret_cast<LPARAM>(out), SMTO_NORMAL, timeoutMs,
                           &copied)) {
    out[0] = 0;  // a window that timed out may have written part of it
    return false;
  }
  out[size - 1] = 0;
  return true;
}

bool PlatformIsWindow(WindowHandle window) { return IsWindow(AsHwnd(window)) != FALSE; }

// Each step helps on some system or for some window: the foreground lock is lifted for this
// session (not stored in the profile), the window is restored, asked to activate itself through
// its default handling, raised, and given the foreground, activation and focus.
void PlatformBringWindowForward(WindowHandle handle) {
  HWND window = AsHwnd(handle);
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 1, reinterpret_cast<PVOID>(0), 0);
  ShowWindowAsync(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
  UpdateWindow(window);
  SendMessageA(window, WM_SYSCOMMAND, SC_HOTKEY, reinterpret_cast<LPARAM>(window));
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  BringWindowToTop(window);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  SetFocus(window);
}
