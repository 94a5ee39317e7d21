// Top-level windows seam over Win32.
#include <windows.h>

#include "platform/memory.h"
#include "platform/top_windows.h"
#include "platform/win32_wide.h"

static HWND AsHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
static WindowHandle AsHandle(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// Titles go over in wide text, so that a title in any language is found and read whole.
WindowHandle PlatformFindWindowByExactTitle(const char* title) {
  wchar_t* wide = Win32WideFromUtf8(title);
  HWND found = wide ? FindWindowW(nullptr, wide) : nullptr;
  PlatformHeapFree(wide);
  return AsHandle(found);
}

WindowHandle PlatformForegroundWindow() { return AsHandle(GetForegroundWindow()); }

WindowHandle PlatformNextWindowDown(WindowHandle window) { return AsHandle(GetWindow(AsHwnd(window), GW_HWNDNEXT)); }

bool PlatformWindowTitle(WindowHandle window, char* out, uint32_t size, uint32_t timeoutMs) {
  out[0] = 0;
  wchar_t* wide = static_cast<wchar_t*>(PlatformHeapAlloc(size_t(size) * sizeof(wchar_t)));
  DWORD_PTR copied = 0;
  // A window that timed out may have written part of its title: that part is not used. One that
  // the system already knows to hang is passed by at once.
  bool answered = wide && SendMessageTimeoutW(AsHwnd(window), WM_GETTEXT, size, reinterpret_cast<LPARAM>(wide),
                                              SMTO_ABORTIFHUNG, timeoutMs, &copied);
  if (answered) {
    wide[size - 1] = 0;
    Win32Utf8FromWide(wide, out, size);
  }
  PlatformHeapFree(wide);
  return answered;
}

uint32_t PlatformWindowProcess(WindowHandle window) {
  DWORD process = 0;
  if (!window || !GetWindowThreadProcessId(AsHwnd(window), &process)) return 0;
  return process;
}

typedef BOOL(WINAPI* QueryImageNameFunction)(HANDLE, DWORD, LPWSTR, PDWORD);
typedef DWORD(WINAPI* ModuleFileNameFunction)(HANDLE, HMODULE, LPWSTR, DWORD);

// The full path of the process's program: the limited query that any process grants, where the
// system has it; before that, the module list that a process of the same user grants.
static bool ProcessImagePath(DWORD process, wchar_t* path, DWORD units) {
  static const auto query = reinterpret_cast<QueryImageNameFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
  if (query) {
    HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    DWORD size = units;
    bool found = handle && query(handle, 0, path, &size);
    if (handle) CloseHandle(handle);
    return found;
  }
  HMODULE psapi = LoadLibraryW(L"psapi.dll");
  auto moduleName = psapi ? reinterpret_cast<ModuleFileNameFunction>(
                                reinterpret_cast<void*>(GetProcAddress(psapi, "GetModuleFileNameExW")))
                          : nullptr;
  HANDLE handle = moduleName ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process) : nullptr;
  bool found = handle && moduleName(handle, nullptr, path, units) > 0;
  if (handle) CloseHandle(handle);
  if (psapi) FreeLibrary(psapi);
  return found;
}

bool PlatformProcessFileName(uint32_t process, char* out, uint32_t size) {
  out[0] = 0;
  const DWORD kPathUnits = 32768;  // the longest path the system has
  wchar_t* path = static_cast<wchar_t*>(PlatformHeapAlloc(kPathUnits * sizeof(wchar_t)));
  bool found = path && process && ProcessImagePath(process, path, kPathUnits);
  if (found) {
    path[kPathUnits - 1] = 0;
    const wchar_t* name = path;
    for (const wchar_t* at = path; *at; ++at) {
      if (*at == L'\\' || *at == L'/') name = at + 1;
    }
    Win32Utf8FromWide(name, out, size);
  }
  PlatformHeapFree(path);
  return found;
}

bool PlatformWindowCaption(WindowHandle window, char* out, uint32_t size) {
  out[0] = 0;
  if (!IsWindow(AsHwnd(window))) return false;
  wchar_t* wide = static_cast<wchar_t*>(PlatformHeapAlloc(size_t(size) * sizeof(wchar_t)));
  if (!wide) return true;
  // Another program's window is not asked: the system answers from the title it keeps.
  wide[0] = 0;
  GetWindowTextW(AsHwnd(window), wide, int(size));
  wide[size - 1] = 0;
  Win32Utf8FromWide(wide, out, size);
  PlatformHeapFree(wide);
  return true;
}

bool PlatformIsWindow(WindowHandle window) { return IsWindow(AsHwnd(window)) != FALSE; }

// Each step helps on some system or for some window: the foreground lock is lifted for this
// session (not stored in the profile), the window is restored, asked to activate itself through
// its default handling, raised, and given the foreground, activation and focus. The window may
// belong to a program that hangs: no call waits on it for longer than kWindowAnswerTimeoutMs
// (the others post their requests, or act on this thread's own state alone), and none asks it to
// paint.
void PlatformBringWindowForward(WindowHandle handle) {
  HWND window = AsHwnd(handle);
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 1, reinterpret_cast<PVOID>(0), 0);
  ShowWindowAsync(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_HOTKEY, reinterpret_cast<LPARAM>(window), SMTO_ABORTIFHUNG,
                      kWindowAnswerTimeoutMs, &answer);
  // Raised as BringWindowToTop would, but through the window's own thread when it is another's.
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_ASYNCWINDOWPOS);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  SetFocus(window);
}
