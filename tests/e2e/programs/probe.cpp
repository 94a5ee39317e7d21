// probe.exe: looks at other programs' windows, the clipboard and exe files' resources for end-to-end tests.
//
//   probe.exe COMMAND ARG...    runs one command
//   probe.exe --serve           reads commands from stdin, one a line, arguments separated by tabs
//   probe.exe --idle            does nothing until it is ended
//   probe.exe --clipmonitor FILE [null]   reads the clipboard's text at every change, as a
//                               clipboard manager does (see probe_clipboard.h)
//
// Every command answers with zero or more lines and then a line holding only ".". A failed command
// answers "error<TAB>message" before the ".". Fields are separated by tabs; in texts (arguments and
// answers) a backslash, tab, CR and LF are written \\, \t, \r and \n. Texts are UTF-8. Window
// handles are written 0x... in hex; numbers may be given in decimal or 0x... hex.
//
// Windows:
//   ping                           -> pong
//   find CLASS TITLE               -> HWND of the first top-level window matching ("" or * = any), or 0x0
//   list [CLASS]                   -> HWND class title visible pid, one line per top-level window
//   count CLASS                    -> number of top-level windows of CLASS
//   title HWND                     -> the window's title
//   class HWND                     -> the window's class name
//   text HWND [ID]                 -> WM_GETTEXT of the window, or of its child with control id ID
//   children HWND                  -> HWND id class visible text, one line per descendant window
//   state HWND [ID]                -> key=value fields: exists visible minimized maximized enabled
//                                     foreground rect=l,t,r,b client=l,t,r,b (screen coordinates)
//   focus HWND                     -> focus=HWND focusid=ID focusclass=C active=HWND of HWND's thread
//   foreground                     -> HWND class title of the foreground window
//   xwindow HWND                   -> the X11 window id (decimal) Wine shows the window in
//   activate HWND                  -> makes the window the foreground window
//   menu HWND                      -> the window's menu bar, see "Menus" below
//   menuitem HWND ID               -> checked grayed text of the menu item with command id ID
//                                     (both read the menu inside the window's process through
//                                     probe_hook.dll, which must lie beside probe.exe)
//   command HWND ID                -> posts WM_COMMAND ID
//   close HWND                     -> posts WM_CLOSE
//   move HWND X Y W H              -> SetWindowPos to that frame (no activation)
//   post HWND MSG WPARAM LPARAM    -> posts a message
//   send HWND MSG WPARAM LPARAM    -> sends a message (5 s time-out); answers the result
//   settext HWND ID TEXT           -> WM_SETTEXT to the child ID (0 = the window itself)
//   keystate VK                    -> down=0|1 of GetAsyncKeyState
//   memory PID                     -> workingset=BYTES peak=BYTES of the process
//   sendkey VK down|up             -> one key event through SendInput, as a keyboard gives it
//   cursor                         -> x y of the mouse cursor as the system sees it
//   regmsg NAME                    -> the number of the registered window message NAME
//   tray HWND ID                   -> exists=0|1: whether the shell has the window's icon ID
//   traydelete HWND ID             -> removes that icon, as a restarting shell loses it
// Files (paths as Windows sees them):
//   holdfile PATH                  -> opens the file sharing nothing and keeps it open, as a sync
//                                     client or a backup holds it, until releasefile or the end
//   releasefile PATH               -> closes the file that holdfile opened
// Clipboard (opened with no owner window):
//   clipget                        -> the clipboard's text
//   clipset TEXT                   -> puts TEXT on the clipboard
//   clipput [KIND DATA]...         -> empties the clipboard and puts DATA on it in each KIND: text
//                                     (CF_TEXT, the bytes as given), html ("HTML Format", the bytes
//                                     as given), unicode (CF_UNICODETEXT of the UTF-8 DATA) or dib
//                                     (DATA "WxH": a 32-bit bottom-up BI_RGB CF_DIB, its header
//                                     then pixel x of stored row y = x*0x010203 ^ y*0x0A0B0C);
//                                     text, html and unicode end in a NUL
//   clipformats                    -> number name of each format on the clipboard, in its order
//   clipdump [NUMBER...]           -> number name size fnv of each format, in the clipboard's order:
//                                     the byte count of its global memory block and its FNV-1a 64
//                                     in 16 hex digits; instead of size fnv one word: handle (a GDI
//                                     or private handle, not read), skipped (a NUMBER given, not
//                                     read, so a delayed format stays unrendered) or unreadable
//   cliphex FORMAT                 -> the format's bytes in hex (FORMAT a number or registered name)
// Exe files (paths as Windows sees them, e.g. Z:\work\...):
//   resources EXE                  -> type name lang size, one line per resource
//   icongroup EXE NAME             -> per image: width height colors planes bitcount bytes id, then
//                                     what the image itself says: imgwidth imgheight imgbpp format
//   accelerators EXE NAME          -> flags key command, one line per entry
//   resmenu EXE NAME               -> the menu resource, loaded and walked like "menu"
//   resdata EXE TYPE NAME          -> the resource's bytes in hex
// Resource types are numbers or ICON, GROUP_ICON, MENU, ACCELERATOR, RCDATA, MANIFEST, STRING,
// VERSION, DIALOG, BITMAP, CURSOR, GROUP_CURSOR; names are numbers or strings.
//
// Menus: one line per item, depth first: path kind id checked grayed text, where path is the
// item's position from the bar down ("0", "0/3"), kind is popup, item or separator and id is -1
// for popups.
#include <windows.h>
#include <shellapi.h>
#include <psapi.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "probe_clipboard.h"
#include "probe_common.h"
#include "probe_menu.h"
#include "probe_resources.h"

namespace {

using namespace probe;


const UINT kSendTimeoutMs = 5000;
const size_t kMaxText = 1 << 20;

// Structures the probe hands the system, at the size the system expects in this build.
static_assert(NOTIFYICONDATAW_V2_SIZE == BuildSize(936, 952), "the shell-version-5 size of this build's icon record");
static_assert(sizeof(GUITHREADINFO) == BuildSize(48, 72), "GUITHREADINFO as the system takes it in this build");
static_assert(sizeof(INPUT) == BuildSize(28, 40), "INPUT as SendInput takes it in this build");
static_assert(sizeof(PROCESS_MEMORY_COUNTERS) == BuildSize(40, 72), "PROCESS_MEMORY_COUNTERS of this build");

// ---- windows ----

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TitleOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  length = GetWindowTextW(window, &text[0], length + 1);
  text.resize(length > 0 ? length : 0);
  return text;
}

// WM_GETTEXT: answered across processes by edit controls, status bars and most standard controls.
bool TextOf(HWND window, std::wstring* text) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return false;
  if (length > kMaxText) length = kMaxText;
  std::wstring buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&buffer[0]), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &copied)) {
    return false;
  }
  buffer.resize(copied <= length ? copied : length);
  *text = buffer;
  return true;
}

bool Matches(const std::wstring& actual, const std::string& wanted) {
  return wanted.empty() || wanted == "*" || actual == Wide(wanted);
}

struct Search {
  std::string className, title;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM data) {
  Search* search = reinterpret_cast<Search*>(data);
  if (Matches(ClassOf(window), search->className) && Matches(TitleOf(window), search->title)) {
    search->found.push_back(window);
  }
  return TRUE;
}

std::vector<HWND> TopLevel(const std::string& className, const std::string& title) {
  Search search{className, title, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

std::string RectText(const RECT& rect) {
  return Number(rect.left) + "," + Number(rect.top) + "," + Number(rect.right) + "," + Number(rect.bottom);
}

// ---- commands ----

bool RunFind(const Args& args, Answer* answer) {
  std::vector<HWND> found = TopLevel(args.size() > 1 ? args[1] : "", args.size() > 2 ? args[2] : "");
  answer->Line(Hex(found.empty() ? 0 : reinterpret_cast<uintptr_t>(found.front())));
  return true;
}

bool RunList(const Args& args, Answer* answer) {
  for (HWND window : TopLevel(args.size() > 1 ? args[1] : "", "")) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    answer->Fields({Hex(reinterpret_cast<uintptr_t>(window)), EscapedWide(ClassOf(window)), EscapedWide(TitleOf(window)),
                    IsWindowVisible(window) ? "1" : "0", Number(long(pid))});
  }
  return true;
}

bool RunChildren(const Args& args, Answer* answer) {
  HWND window;
  if (!TargetWindow(args, &window, answer)) return false;
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    std::wstring text;
    TextOf(child, &text);
    answer->Fields({Hex(reinterpret_cast<uintptr_t>(child)), Number(GetDlgCtrlID(child)), EscapedWide(ClassOf(child)),
                    IsWindowVisible(child) ? "1" : "0", EscapedWide(text)});
  }
  return true;
}

bool RunState(const Args& args, Answer* answer) {
  HWND window;
  if (!ArgWindow(args, 1, &window, answer)) return false;
  if (args.size() > 2) {
    unsigned long id = 0;
    if (!ArgNumber(args, 2, &id, answer, "a control id")) return false;
    if (id != 0) window = IsWindow(window) ? GetDlgItem(window, int(id)) : nullptr;
  }
  if (!window || !IsWindow(window)) {
    answer->Line("exists=0");
    return true;
  }
  RECT rect, client;
  GetWindowRect(window, &rect);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  answer->Fields({"exists=1", std::string("visible=") + (IsWindowVisible(window) ? "1" : "0"),
                  std::string("minimized=") + (IsIconic(window) ? "1" : "0"),
                  std::string("maximized=") + (IsZoomed(window) ? "1" : "0"),
                  std::string("enabled=") + (IsWindowEnabled(window) ? "1" : "0"),
                  std::string("foreground=") + (GetForegroundWindow() == window ? "1" : "0"), "rect=" + RectText(rect),
                  "client=" + RectText(client)});
  return true;
}

bool RunFocus(const Args& args, Answer* answer) {
  HWND window;
  if (!TargetWindow(args, &window, answer)) return false;
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return answer->Fail("no thread information");
  answer->Fields({"focus=" + Hex(reinterpret_cast<uintptr_t>(info.hwndFocus)),
                  "focusid=" + Number(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0),
                  "focusclass=" + (info.hwndFocus ? EscapedWide(ClassOf(info.hwndFocus)) : std::string()),
                  "active=" + Hex(reinterpret_cast<uintptr_t>(info.hwndActive))});
  return true;
}

bool RunMessage(const Args& args, Answer* answer, bool send) {
  HWND window;
  unsigned long message = 0;
  ULONG_PTR wParam = 0, lParam = 0;
  if (!ArgWindow(args, 1, &window, answer) || !ArgNumber(args, 2, &message, answer, "a message") ||
      !ArgPointerSized(args, 3, &wParam, answer, "a wParam") ||
      !ArgPointerSized(args, 4, &lParam, answer, "an lParam")) {
    return false;
  }
  if (!send) {
    if (!PostMessageW(window, UINT(message), WPARAM(wParam), LPARAM(lParam))) return answer->Fail("PostMessage failed");
    answer->Line("posted");
    return true;
  }
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, UINT(message), WPARAM(wParam), LPARAM(lParam), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &result)) {
    return answer->Fail("SendMessage failed or timed out");
  }
  answer->Line(Number(LONG_PTR(result)));
  return true;
}

// NIM_MODIFY that changes nothing succeeds only for an icon the shell has.
bool RunTrayIcon(const Args& args, Answer* answer, bool remove) {
  HWND window;
  unsigned long id = 0;
  if (!ArgWindow(args, 1, &window, answer) || !ArgNumber(args, 2, &id, answer, "an icon id")) return false;
  NOTIFYICONDATAW icon = {};
  icon.cbSize = NOTIFYICONDATAW_V2_SIZE;
  icon.hWnd = window;
  icon.uID = UINT(id);
  BOOL done = Shell_NotifyIconW(remove ? NIM_DELETE : NIM_MODIFY, &icon);
  answer->Line(std::string(remove ? "removed=" : "exists=") + (done ? "1" : "0"));
  return true;
}

// ---- files held open ----

std::map<std::string, HANDLE>& HeldFiles() {
  static std::map<std::string, HANDLE> held;
  return held;
}

bool RunFileHold(const Args& args, Answer* answer, bool hold) {
  if (args.size() < 2) return answer->Fail("expected a path");
  auto found = HeldFiles().find(args[1]);
  if (!hold) {
    if (found == HeldFiles().end()) return answer->Fail("the file is not held");
    CloseHandle(found->second);
    HeldFiles().erase(found);
    answer->Line("released");
    return true;
  }
  if (found != HeldFiles().end()) return answer->Fail("the file is held already");
  HANDLE file = CreateFileW(Wide(args[1]).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return answer->Fail("CreateFile failed: " + Number(long(GetLastError())));
  HeldFiles()[args[1]] = file;
  answer->Line("held");
  return true;
}

bool Run(const Args& args, Answer* answer) {
  if (args.empty()) return answer->Fail("empty command");
  const std::string& command = args[0];
  HWND window = nullptr;
  unsigned long number = 0;
  if (command == "ping") {
    answer->Line("pong");
    return true;
  }
  if (command == "find") return RunFind(args, answer);
  if (command == "list") return RunList(args, answer);
  if (command == "count") {
    answer->Line(Number(long(TopLevel(args.size() > 1 ? args[1] : "", "").size())));
    return true;
  }
  if (command == "title" || command == "class") {
    if (!TargetWindow(args, &window, answer)) return false;
    answer->Line(EscapedWide(command == "title" ? TitleOf(window) : ClassOf(window)));
    return true;
  }
  if (command == "text") {
    if (!TargetWindow(args, &window, answer)) return false;
    std::wstring text;
    if (!TextOf(window, &text)) return answer->Fail("WM_GETTEXT failed");
    answer->Line(EscapedWide(text));
    return true;
  }
  if (command == "children") return RunChildren(args, answer);
  if (command == "state") return RunState(args, answer);
  if (command == "focus") return RunFocus(args, answer);
  if (command == "foreground") {
    window = GetForegroundWindow();
    answer->Fields({Hex(reinterpret_cast<uintptr_t>(window)), window ? EscapedWide(ClassOf(window)) : "",
                    window ? EscapedWide(TitleOf(window)) : ""});
    return true;
  }
  if (command == "xwindow") {
    if (!TargetWindow(args, &window, answer)) return false;
    // Wine's X11 driver keeps the X window of each top-level window in this property.
    HANDLE xWindow = GetPropW(window, L"__wine_x11_whole_window");
    if (!xWindow) return answer->Fail("the window has no X window");
    answer->Line(std::to_string(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(xWindow))));
    return true;
  }
  if (command == "activate") {
    if (!TargetWindow(args, &window, answer)) return false;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    BringWindowToTop(window);
    if (!SetForegroundWindow(window)) return answer->Fail("SetForegroundWindow failed");
    answer->Line("activated");
    return true;
  }
  if (command == "command" || command == "close") {
    if (!ArgWindow(args, 1, &window, answer)) return false;
    if (command == "command" && !ArgNumber(args, 2, &number, answer, "a command id")) return false;
    BOOL posted = command == "close" ? PostMessageW(window, WM_CLOSE, 0, 0)
                                     : PostMessageW(window, WM_COMMAND, WPARAM(number & 0xffff), 0);
    if (!posted) return answer->Fail("PostMessage failed");
    answer->Line("posted");
    return true;
  }
  if (command == "move") {
    unsigned long frame[4];
    if (!ArgWindow(args, 1, &window, answer)) return false;
    for (size_t i = 0; i < 4; ++i) {
      if (!ArgNumber(args, 2 + i, &frame[i], answer, "a frame number")) return false;
    }
    if (!SetWindowPos(window, nullptr, int(frame[0]), int(frame[1]), int(frame[2]), int(frame[3]),
                      SWP_NOZORDER | SWP_NOACTIVATE)) {
      return answer->Fail("SetWindowPos failed");
    }
    answer->Line("moved");
    return true;
  }
  if (command == "post" || command == "send") return RunMessage(args, answer, command == "send");
  if (command == "settext") {
    if (args.size() < 4) return answer->Fail("expected a window, a control id and a text");
    if (!TargetWindow(args, &window, answer)) return false;
    std::wstring text = Wide(args[3]);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &result)) {
      return answer->Fail("WM_SETTEXT failed");
    }
    answer->Line(Number(LONG_PTR(result)));
    return true;
  }
  if (command == "cursor") {
    POINT at = {0, 0};
    if (!GetCursorPos(&at)) return answer->Fail("GetCursorPos failed");
    answer->Fields({Number(at.x), Number(at.y)});
    return true;
  }
  if (command == "regmsg") {
    if (args.size() < 2) return answer->Fail("expected a message name");
    answer->Line(Number(long(RegisterWindowMessageW(Wide(args[1]).c_str()))));
    return true;
  }
  if (command == "tray" || command == "traydelete") return RunTrayIcon(args, answer, command == "traydelete");
  if (command == "holdfile" || command == "releasefile") return RunFileHold(args, answer, command == "holdfile");
  if (command == "keystate") {
    if (!ArgNumber(args, 1, &number, answer, "a virtual key")) return false;
    answer->Line(std::string("down=") + ((GetAsyncKeyState(int(number)) & 0x8000) ? "1" : "0"));
    return true;
  }
  if (command == "sendkey") {
    if (!ArgNumber(args, 1, &number, answer, "a virtual key")) return false;
    if (args.size() < 3 || (args[2] != "down" && args[2] != "up")) return answer->Fail("expected down or up");
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = WORD(number);
    input.ki.wScan = WORD(MapVirtualKeyA(UINT(number), MAPVK_VK_TO_VSC));
    input.ki.dwFlags = args[2] == "up" ? KEYEVENTF_KEYUP : 0;
    if (SendInput(1, &input, sizeof input) != 1) return answer->Fail("SendInput failed");
    answer->Line("sent");
    return true;
  }
  if (command == "memory") {
    if (!ArgNumber(args, 1, &number, answer, "a process id")) return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, DWORD(number));
    if (!process) return answer->Fail("OpenProcess failed");
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    BOOL read = GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    if (!read) return answer->Fail("GetProcessMemoryInfo failed");
    answer->Line("workingset=" + std::to_string(counters.WorkingSetSize) + " peak=" +
                 std::to_string(counters.PeakWorkingSetSize));
    return true;
  }
  bool known = false;
  bool done = RunClipboardCommand(args, answer, &known);
  if (known) return done;
  done = RunResourceCommand(args, answer, &known);
  if (known) return done;
  done = RunMenuCommand(args, answer, &known);
  if (known) return done;
  return answer->Fail("unknown command " + command);
}

// ---- input and output ----

void Write(const std::string& bytes) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  size_t at = 0;
  while (at < bytes.size() && WriteFile(out, bytes.data() + at, DWORD(bytes.size() - at), &written, nullptr) && written) {
    at += written;
  }
}

void Respond(const Args& args) {
  Answer answer;
  Run(args, &answer);
  Write(answer.lines + ".\n");
}

Args SplitLine(const std::string& line) {
  Args args = SplitFields(line);
  for (std::string& arg : args) arg = Unescape(arg);
  return args;
}

int Serve() {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(in, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    pending.append(buffer, got);
    size_t newline;
    while ((newline = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty()) continue;
      if (line == "quit") return 0;
      Respond(SplitLine(line));
    }
  }
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!argv) return 2;
  Args args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8(argv[i]));
  LocalFree(argv);
  if (args.size() == 1 && args[0] == "--serve") return Serve();
  if ((args.size() == 2 || args.size() == 3) && args[0] == "--clipmonitor") {
    return RunClipboardMonitor(args[1], args.size() == 3 && args[2] == "null");
  }
  if (args.size() == 1 && args[0] == "--idle") {
    // Keeps one program of the prefix running: when the last one ends, Wine shuts down the
    // desktop and services, and a program starting meanwhile can hang.
    Sleep(INFINITE);
    return 0;
  }
  if (args.empty()) {
    Write("usage: probe.exe --serve | probe.exe --idle | probe.exe --clipmonitor FILE [null] | "
          "probe.exe COMMAND ARG...\n");
    return 2;
  }
  Answer answer;
  Run(args, &answer);
  Write(answer.lines + ".\n");
  return answer.failed ? 1 : 0;
}
