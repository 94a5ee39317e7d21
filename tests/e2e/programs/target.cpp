// target.exe: a window with a multi-line edit that end-to-end tests type into.
//
//   target.exe --title TITLE --out FILE [--keys FILE] [--text TEXT] [--ansi 1] [--no-paste 1]
//
// The window takes the foreground and puts the focus on its edit at start (there is no window
// manager to do it). Every change of the edit's text rewrites FILE with the whole text in UTF-8
// (written to FILE.tmp and renamed, so a reader never sees half of it). FILE is first written
// once the window has the focus, so its existence means "ready to type into".
// The window's menu has a checked item, a grayed item and an item that its own command toggles,
// so that tests can check what the probe reads from a menu.
// With --keys, every WM_KEYDOWN/WM_KEYUP/WM_CHAR the edit receives is appended to that file as
// a line "down VK", "up VK" or "char CODE" (decimal), for tests that count key events.
// With --ansi 1 the edit is an ANSI window, as in a program built without UNICODE: it is created,
// read and fed its messages through the A functions, and gets characters in the ANSI code page;
// FILE still receives its text in UTF-8.
// WM_COMMAND kHangCommand (204, with no menu item) makes the program stop reading its messages
// for a minute, as a program that hangs does, once it has written FILE.hangs.
// With --no-paste 1 the edit ignores every paste (WM_PASTE, and the Ctrl+V character that an edit
// turns into one) but takes typed characters as before, so that a test sees which text came by
// paste and which was typed.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

const int kEditId = 100;
const int kWidth = 480;
const int kHeight = 320;
const wchar_t kClassName[] = L"WordHatchTestTarget";

struct Options {
  std::wstring title = L"WordHatch test target";
  std::wstring outFile;
  std::wstring keysFile;
  std::wstring initialText;
  bool ansi = false;
  bool noPaste = false;
};

// Menu of the window: fixed states to read back, and one item that WM_COMMAND toggles.
const UINT kMenuChecked = 201;
const UINT kMenuGrayed = 202;
const UINT kMenuToggle = 203;

// The command that hangs the program, and for how long: longer than any test waits for it.
const UINT kHangCommand = 204;
const DWORD kHangMs = 60000;
const wchar_t kHangsSuffix[] = L".hangs";

// The character that Ctrl+V gives in an edit control, which pastes on it.
const WPARAM kCtrlVChar = 0x16;

HMENU BuildMenu() {
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING | MF_CHECKED, kMenuChecked, L"&Checked");
  AppendMenuW(popup, MF_STRING | MF_GRAYED, kMenuGrayed, L"&Grayed");
  AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popup, MF_STRING, kMenuToggle, L"&Toggle\tCtrl+T");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"&Test");
  return bar;
}

Options gOptions;
HWND gEdit = nullptr;
WNDPROC gEditProc = nullptr;

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &result[0], size, nullptr, nullptr);
  return result;
}

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  int size = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), &result[0], size, nullptr, nullptr);
  return result;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

// The edit's text as the ANSI window holds it, converted from the ANSI code page.
std::wstring AnsiEditText() {
  int length = GetWindowTextLengthA(gEdit);
  std::string bytes(length + 1, '\0');
  length = GetWindowTextA(gEdit, &bytes[0], length + 1);
  if (length <= 0) return std::wstring();
  int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  std::wstring text(size, L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, &text[0], size);
  return text;
}

std::wstring EditText() {
  if (gOptions.ansi) return AnsiEditText();
  int length = GetWindowTextLengthW(gEdit);
  std::wstring text(length + 1, L'\0');
  length = GetWindowTextW(gEdit, &text[0], length + 1);
  text.resize(length);
  return text;
}

// Replaces the report file in one step so that a reader sees either the old or the new text.
void ReportText() {
  if (gOptions.outFile.empty() || !gEdit) return;
  std::wstring text = EditText();
  std::wstring temp = gOptions.outFile + L".tmp";
  if (WriteWhole(temp, ToUtf8(text))) {
    MoveFileExW(temp.c_str(), gOptions.outFile.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

// Stops reading messages for kHangMs; the marker file tells the test that it has begun.
void Hang() {
  if (!gOptions.outFile.empty()) WriteWhole(gOptions.outFile + kHangsSuffix, "hangs");
  Sleep(kHangMs);
}

void AppendKeyLine(const char* kind, unsigned value) {
  if (gOptions.keysFile.empty()) return;
  HANDLE file = CreateFileW(gOptions.keysFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  char line[48];
  int length = wsprintfA(line, "%s %u\n", kind, value);
  DWORD written = 0;
  WriteFile(file, line, DWORD(length), &written, nullptr);
  CloseHandle(file);
}

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      AppendKeyLine("down", unsigned(wParam));
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      AppendKeyLine("up", unsigned(wParam));
      break;
    case WM_CHAR:
      AppendKeyLine("char", unsigned(wParam));
      if (gOptions.noPaste && wParam == kCtrlVChar) return 0;
      break;
    case WM_PASTE:
      if (gOptions.noPaste) return 0;
      break;
  }
  if (gOptions.ansi) return CallWindowProcA(gEditProc, window, message, wParam, lParam);
  return CallWindowProcW(gEditProc, window, message, wParam, lParam);
}

// The edit of the window: a Unicode one, or with --ansi an ANSI one holding the same text.
void CreateEdit(HWND window) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  HMENU id = reinterpret_cast<HMENU>(kEditId);
  if (gOptions.ansi) {
    std::string initial = ToAnsi(gOptions.initialText);
    gEdit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", initial.c_str(), style, 0, 0, 0, 0, window, id, nullptr, nullptr);
    gEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(gEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    return;
  }
  gEdit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", gOptions.initialText.c_str(), style, 0, 0, 0, 0, window, id,
                          nullptr, nullptr);
  gEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(gEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
}

void TakeForeground(HWND window) {
  ShowWindow(window, SW_SHOWNORMAL);
  BringWindowToTop(window);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  SetFocus(gEdit);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateEdit(window);
      return 0;
    case WM_SIZE:
      MoveWindow(gEdit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      SetFocus(gEdit);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE) ReportText();
      if (LOWORD(wParam) == kMenuToggle && lParam == 0) {
        HMENU menu = GetMenu(window);
        bool checked = GetMenuState(menu, kMenuToggle, MF_BYCOMMAND) & MF_CHECKED;
        CheckMenuItem(menu, kMenuToggle, MF_BYCOMMAND | (checked ? MF_UNCHECKED : MF_CHECKED));
      }
      if (LOWORD(wParam) == kHangCommand && lParam == 0) Hang();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void ParseCommandLine() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args) return;
  for (int i = 1; i + 1 < count; i += 2) {
    std::wstring name = args[i];
    if (name == L"--title") gOptions.title = args[i + 1];
    else if (name == L"--out") gOptions.outFile = args[i + 1];
    else if (name == L"--keys") gOptions.keysFile = args[i + 1];
    else if (name == L"--text") gOptions.initialText = args[i + 1];
    else if (name == L"--ansi") gOptions.ansi = std::wstring(args[i + 1]) == L"1";
    else if (name == L"--no-paste") gOptions.noPaste = std::wstring(args[i + 1]) == L"1";
  }
  LocalFree(args);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ParseCommandLine();
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) return 2;
  HWND window = CreateWindowExW(0, kClassName, gOptions.title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, kWidth,
                                kHeight, nullptr, BuildMenu(), instance, nullptr);
  if (!window) return 3;
  TakeForeground(window);
  UpdateWindow(window);
  ReportText();

  // An ANSI program reads its messages through the A functions, which hand WM_CHAR to the
  // ANSI edit in the code page.
  MSG message;
  while ((gOptions.ansi ? GetMessageA(&message, nullptr, 0, 0) : GetMessageW(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    if (gOptions.ansi) DispatchMessageA(&message); else DispatchMessageW(&message);
  }
  return int(message.wParam);
}
