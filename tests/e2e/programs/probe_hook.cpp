// probe_hook.dll: lets probe.exe read another process's window menu, which Wine's menu calls do
// not allow across processes. The probe installs ProbeCallWndProc as a WH_CALLWNDPROC hook on the
// window's thread; Wine loads this DLL into that process to run it, and the hook walks the menu
// there and hands the lines back through a named file mapping.
#include <windows.h>

#include <cstring>
#include <string>

#include "probe_common.h"

namespace {

void WriteMenuDump(HWND window, DWORD probeProcess) {
  std::string lines;
  HMENU menu = GetMenu(window);
  // A popup menu's own window (class #32768) has no menu bar but knows the menu it shows.
  if (!menu) menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  if (menu) {
    probe::DumpMenu(menu, "", &lines);
  } else {
    lines = "error\tthe window has no menu\n";
  }
  std::wstring name = probe::kMenuMappingPrefix + std::to_wstring(probeProcess);
  HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name.c_str());
  if (!mapping) return;
  if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, probe::kMenuMappingSize)) {
    DWORD size = DWORD(lines.size());
    if (size > probe::kMenuMappingSize - sizeof size) size = probe::kMenuMappingSize - sizeof size;
    std::memcpy(static_cast<char*>(view) + sizeof size, lines.data(), size);
    std::memcpy(view, &size, sizeof size);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    static const UINT menuMessage = RegisterWindowMessageW(probe::kMenuMessage);
    if (call->message == menuMessage) WriteMenuDump(call->hwnd, DWORD(call->wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
