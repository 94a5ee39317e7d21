// The main window: class registration, the window procedure, and the handlers of creation,
// layout, focus and the timers. Commands are in commands.cpp, the tray in tray_menu.cpp, the end
// of the run in run_end.cpp.
#include "app/main_window.h"

#include <commctrl.h>

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/autostart.h"
#include "app/commands.h"
#include "app/editor_font.h"
#include "app/link_cursor.h"
#include "app/main_title.h"
#include "app/run_end.h"
#include "app/save_prompt.h"
#include "app/settings.h"
#include "app/shell_rules.h"
#include "app/suspend_display.h"
#include "app/track_mouse.h"
#include "app/trigger_open.h"
#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "common/state.h"
#include "platform/folder_watch.h"
#include "platform/menu.h"
#include "platform/raw_input.h"
#include "platform/ui.h"
#include "platform/win32_dpi.h"
#include "platform/win32_sizes.h"
#include "platform/win32_window.h"
#include "player/output_player.h"
#include "player/paste.h"
#include "resources/resource_ids.h"
#include "triggers/trigger_reload.h"
#include "watcher/key_events.h"
#include "watcher/key_poller.h"

const char kMainClassName[] = "WordHatchClass";

// Room for a trigger file of thousands of lines: 16 Mi UTF-16 units, 16 MB of ASCII text.
static const WPARAM kEditorTextLimit = 0x1000000;
// The editor's first height leaves room for the status bar until the first WM_SIZE places both.
static const int kFirstStatusBarAllowance = 20;
static_assert(sizeof(WNDCLASSEXA) == Win32BuildSize(48, 80), "WNDCLASSEXA as the system takes it in this build");

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_WORDHATCH));
  wc.hIconSm = gApp.smallIcon;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
  wc.lpszClassName = kMainClassName;
  return RegisterClassExA(&wc) != 0;
}

// The Options menu shows the two options that the window knows at creation.
static void SetOptionChecks() {
  PlatformCheckMenuItem(IDM_OPT_AUTOSTART, IsAutoStartSet());
  PlatformCheckMenuItem(IDM_OPT_TRAY, gShell.trayOption);
}

// The editor. Without wrapping it scrolls sideways with the caret; there is no horizontal bar
// either way. It is a Unicode control, so it shows and takes every character whatever the code
// page; its text goes through the ui seam (win32_ui.cpp), which converts to and from UTF-8.
static HWND CreateEditor(HWND window) {
  RECT outer;
  GetWindowRect(window, &outer);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  if (!gShell.wrapOption) style |= ES_AUTOHSCROLL;
  HWND editor = CreateWindowExW(0, L"EDIT", L"", style, 0, 0, outer.right - outer.left,
                                outer.bottom - outer.top - kFirstStatusBarAllowance, window,
                                reinterpret_cast<HMENU>(IDC_EDITOR), gApp.instance, nullptr);
  HFONT font = gApp.editorFont ? gApp.editorFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageA(editor, EM_LIMITTEXT, kEditorTextLimit, 0);
  ShowWindow(editor, SW_SHOW);
  UpdateWindow(editor);
  return editor;
}

// The system's status bar font, made for the screen's DPI, at `dpi`; nullptr at the screen's DPI,
// where the bar's own font is the same.
static HFONT CreateStatusFont(int dpi) {
  if (dpi == Win32ScreenDpi()) return nullptr;
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  metrics.lfStatusFont.lfHeight = Win32ScaleFromScreenDpi(int(metrics.lfStatusFont.lfHeight), dpi);
  return CreateFontIndirectA(&metrics.lfStatusFont);
}

// The status bar's font becomes the one for `dpi`; the font it had before is deleted.
static void UseStatusFont(int dpi) {
  HFONT font = CreateStatusFont(dpi);
  SendMessageA(gApp.statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (gApp.statusFont) DeleteObject(gApp.statusFont);
  gApp.statusFont = font;
}

static HWND CreateStatusBar(HWND window) {
  HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, " ", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, window,
                             reinterpret_cast<HMENU>(IDC_STATUS_BAR), gApp.instance, nullptr);
  gApp.statusFont = CreateStatusFont(Win32WindowDpi(window));
  if (gApp.statusFont) SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(gApp.statusFont), FALSE);
  ShowWindow(bar, SW_SHOW);
  UpdateWindow(bar);
  return bar;
}

// WM_CREATE: font, link cursor, option marks, editor and status bar. The editor starts empty;
// the trigger file is loaded once the window is shown.
static void OnCreate(HWND window) {
  gApp.mainWindow = window;
  char value[kFontSettingCapacity];
  ReadSettingText(kKeyFont, "", value, sizeof value);
  FontChoice font = ParseFontSetting(value);
  UseEditorFont(font.face, font.points, Win32WindowDpi(window));
  gApp.linkCursor = CreateLinkCursor(gApp.instance);
  Win32AttachMainWindow(window, nullptr, nullptr);
  SetOptionChecks();
  gApp.editor = CreateEditor(window);
  gApp.statusBar = CreateStatusBar(window);
  Win32AttachMainWindow(window, gApp.editor, gApp.statusBar);
  SetFocus(gApp.editor);
}

// The editor fills the client area down to the status bar, which places itself.
static void LayOutChildren(HWND window, WPARAM sizeType, LPARAM lParam) {
  RECT client, bar;
  GetClientRect(window, &client);
  GetWindowRect(gApp.statusBar, &bar);
  int barHeight = bar.bottom - bar.top;
  SetWindowPos(gApp.editor, HWND_TOP, 0, 0, client.right, client.bottom - barHeight + 1, SWP_FRAMECHANGED);
  SendMessageA(gApp.statusBar, WM_SIZE, sizeType, lParam);
  InvalidateRect(gApp.statusBar, nullptr, TRUE);
}

// WM_SIZE: the children are laid out again. Minimising with the tray option on hides the window
// into the tray instead.
static void OnSize(HWND window, WPARAM sizeType, LPARAM lParam) {
  if (sizeType == SIZE_MINIMIZED && gShell.trayOption) {
    HideToTray(window);
    return;
  }
  LayOutChildren(window, sizeType, lParam);
}

// kDpiChangedMessage: the window moved to a monitor of another DPI, or the DPI changed. It takes the
// rectangle the system suggests for the new DPI, with the editor and the status bar lettered for
// it; the status bar takes its new height before the editor is fitted above it.
static void OnDpiChanged(HWND window, WPARAM dpis, const RECT* suggested) {
  int dpi = HIWORD(dpis);
  UseEditorFont(gApp.editorFontChoice.face, gApp.editorFontChoice.points, dpi);
  UseStatusFont(dpi);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  LayOutChildren(window, SIZE_RESTORED, 0);
}

// Timer 7772: the output plays on; once it has ended, the keys are watched again.
static void OnPlayTimer() {
  if (PlayOutputTick()) ResumeKeyWatch();
}

// Timer kReloadTimerId: changed trigger files are loaded again; once the editor shows the file's
// text, unchanged, the title drops the changed mark.
static void OnReloadTick(HWND window) {
  OnReloadTimer();
  if (!PlatformEditorChanged()) SetMainTitleFromPath(window);
}

// The timer `id`: the key poller, the echo wait, the output player, Track Mouse, the about box's
// link, the load of an unread trigger file and the reload of changed ones. Returns false for other
// timers.
static bool RunTimer(HWND window, WPARAM id) {
  switch (id) {
    case kPollTimerId: PollKeys(); return true;
    case kEchoWaitTimerId: OnEchoWaitTimer(); return true;
    case kPlayTimerId: OnPlayTimer(); return true;
    case kTrackMouseTimerId: ShowMousePosition(); return true;
    case kAboutLinkTimerId: OnAboutLinkTimer(); return true;
    case kLoadRetryTimerId: OnLoadRetryTimer(); return true;
    case kReloadTimerId: OnReloadTick(window); return true;
    default: return false;
  }
}

// WM_TIMER: runs the timer; an output that it played may have switched Suspend. Returns false
// for timers that are not the window's.
static bool OnTimer(HWND window, WPARAM id) {
  if (!RunTimer(window, id)) return false;
  ShowSuspendIfChanged(window);
  return true;
}

// WM_INPUT: a key or mouse-button event of the desktop, in the order the input stream had it.
// A hotkey's output may begin to play here, and switch Suspend.
static void OnRawInput(HWND window, LPARAM input) {
  InputEvent events[kMaxEventsPerInput];
  TakeInputEvents(events, PlatformReadRawInput(uintptr_t(input), events));
  ShowSuspendIfChanged(window);
}

// The shell's registered message is not known until run time, so it cannot be a case below.
static bool IsTaskbarCreated(UINT message) {
  UINT created = TaskbarCreatedMessage();
  return created != 0 && message == created;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsTaskbarCreated(message)) {
    OnTaskbarCreated(window);
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;
    case WM_SIZE:
      OnSize(window, wParam, lParam);
      break;
    case WM_SETFOCUS:
      SetFocus(gApp.editor);
      break;
    case WM_CLOSE:
      if (!RunSavePrompt(window)) return 0;
      break;
    case kTrayCallbackMessage:
      OnTrayCallback(window, lParam);
      break;
    case WM_COMMAND: {
      LRESULT result = 0;
      if (OnCommand(window, wParam, lParam, &result)) return result;
      break;
    }
    case WM_TIMER:
      if (OnTimer(window, wParam)) return 0;
      break;
    case kFolderChangedMessage:
      OnTriggerFolderChanged();
      return 0;
    case WM_INPUT:
      OnRawInput(window, lParam);
      break;  // the system's own handling releases the input
    case WM_RENDERFORMAT:
      // Only the text of a paste is offered for later.
      if (wParam == CF_UNICODETEXT) RenderPastedText();
      return 0;
    case WM_RENDERALLFORMATS:
      EndPasteAtExit();
      return 0;
    case WM_DESTROYCLIPBOARD:
      OnClipboardTaken();
      return 0;
    case WM_EXITSIZEMOVE:
      OnExitSizeMove(window);
      break;
    case kDpiChangedMessage:
      OnDpiChanged(window, wParam, reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DESTROY:
    case WM_ENDSESSION:
      OnEndOfRun(window);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
