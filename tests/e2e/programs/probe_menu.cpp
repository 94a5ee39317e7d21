// probe.exe's menu commands (see probe_menu.h).
#include "probe_menu.h"

#include <cstring>

namespace probe {
namespace {

const UINT kSendTimeoutMs = 5000;

Args SplitLines(const std::string& text) {
  Args lines;
  size_t start = 0, newline;
  while ((newline = text.find('\n', start)) != std::string::npos) {
    lines.push_back(text.substr(start, newline - start));
    start = newline + 1;
  }
  return lines;
}

std::wstring HookDllPath() {
  wchar_t path[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring result = path;
  size_t slash = result.find_last_of(L"\\/");
  return result.substr(0, slash == std::wstring::npos ? 0 : slash + 1) + L"probe_hook.dll";
}

// Wine answers menu calls only inside the menu's own process, so probe_hook.dll walks the menu
// there, on the window's thread, during a message sent to the window.
bool ReadWindowMenu(HWND window, std::string* lines, Answer* answer) {
  DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (!thread) return answer->Fail("no such window");
  HMODULE hookDll = LoadLibraryW(HookDllPath().c_str());
  if (!hookDll) return answer->Fail("cannot load probe_hook.dll beside probe.exe");
  HOOKPROC proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hookDll, "ProbeCallWndProc")));
  std::wstring name = kMenuMappingPrefix + std::to_wstring(GetCurrentProcessId());
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kMenuMappingSize, name.c_str());
  void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kMenuMappingSize) : nullptr;
  HHOOK hook = proc && view ? SetWindowsHookExW(WH_CALLWNDPROC, proc, hookDll, thread) : nullptr;
  bool ok = false;
  if (hook) {
    const DWORD kNothingWritten = 0xffffffff;
    std::memcpy(view, &kNothingWritten, sizeof kNothingWritten);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, RegisterWindowMessageW(kMenuMessage), GetCurrentProcessId(), 0, SMTO_ABORTIFHUNG,
                        kSendTimeoutMs, &result);
    UnhookWindowsHookEx(hook);
    DWORD size = kNothingWritten;
    std::memcpy(&size, view, sizeof size);
    if (size != kNothingWritten && size <= kMenuMappingSize - sizeof size) {
      lines->assign(static_cast<const char*>(view) + sizeof size, size);
      ok = true;
    }
  }
  if (view) UnmapViewOfFile(view);
  if (mapping) CloseHandle(mapping);
  FreeLibrary(hookDll);
  if (!hook) return answer->Fail("cannot hook the window's thread");
  if (!ok) return answer->Fail("the window's process did not answer the menu hook");
  if (lines->compare(0, 6, "error\t") == 0) {
    answer->lines = *lines;
    answer->failed = true;
    return false;
  }
  return true;
}

}  // namespace

bool RunMenuCommand(const Args& args, Answer* answer, bool* known) {
  const std::string& command = args[0];
  HWND window = nullptr;
  unsigned long number = 0;
  *known = true;
  if (command == "menu") {
    std::string lines;
    if (!TargetWindow(args, &window, answer) || !ReadWindowMenu(window, &lines, answer)) return false;
    answer->lines += lines;
    return true;
  }
  if (command == "menuitem") {
    std::string lines;
    if (!ArgWindow(args, 1, &window, answer) || !ArgNumber(args, 2, &number, answer, "a command id") ||
        !ReadWindowMenu(window, &lines, answer)) {
      return false;
    }
    // Lines: path kind id checked grayed text.
    for (const std::string& line : SplitLines(lines)) {
      Args fields = SplitFields(line);
      if (fields.size() == 6 && fields[1] == "item" && fields[2] == Number(long(number))) {
        answer->Fields({fields[3], fields[4], fields[5]});
        return true;
      }
    }
    return answer->Fail("no menu item " + args[2]);
  }
  *known = false;
  return false;
}

}  // namespace probe
