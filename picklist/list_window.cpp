// The pick list window: class "WordHatch_List_Class", titled "Custom List", always on top and
// owned by the main window. It paints the items of the list text, chooses one by digit key or
// click, closes on any other key, and takes the foreground a quarter of a second after it
// opened, so that the window in which the trigger was typed has finished with its keys.
//
// The window is the Win32 side of the pick list seam (platform/list_window.h); what it shows and
// what a choice does is the portable pick list (picklist/pick_list.h).
#include <windows.h>

#include "app/app_state.h"
#include "picklist/pick_list.h"
#include "platform/list_window.h"
#include "platform/memory.h"
#include "platform/top_windows.h"
#include "platform/win32_dpi.h"
#include "platform/win32_sizes.h"
#include "platform/win32_wide.h"

const char kListClassName[] = "WordHatch_List_Class";
const char kListTitle[] = "Custom List";
const UINT_PTR kListFocusTimerId = 1001;
const UINT kListFocusDelayMs = 250;
const LONG kListTextLeft = 5;
const int kLineSpacing = 2;  // pixels between the font's height and the next line
const COLORREF kListTextColour = RGB(0, 0, 255);
const DWORD kListExStyle = WS_EX_TOPMOST;
// The window is made hidden and then shown without activation (it gains WS_VISIBLE then): until its
// focus timer fires, the keys that the output types after the list text go to the user's window.
const DWORD kListStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
// The digits of the main keyboard choose the first nine items; other keys close the list.
const WPARAM kFirstDigitKey = '1';
const WPARAM kLastDigitKey = '9';
static_assert(sizeof(WNDCLASSEXA) == Win32BuildSize(48, 80), "WNDCLASSEXA as the system takes it in this build");

static HFONT StockListFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

// The default GUI font, made for the screen's DPI, at `dpi`: nullptr at the screen's DPI, where
// the stock font itself is used.
static HFONT CreateScaledListFont(int dpi) {
  LOGFONTA description;
  if (dpi == Win32ScreenDpi() || !GetObjectA(StockListFont(), sizeof description, &description)) return nullptr;
  description.lfHeight = Win32ScaleFromScreenDpi(int(description.lfHeight), dpi);
  description.lfWidth = 0;
  return CreateFontIndirectA(&description);
}

// The font of list `window`: the one scaled for its DPI, which the window keeps as its user data
// and deletes when it closes, or the stock font.
static HFONT ListFont(HWND window) {
  HFONT scaled = reinterpret_cast<HFONT>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return scaled ? scaled : StockListFont();
}

// The character height of `font`, measured on the screen.
static int GetFontHeight(HFONT font) {
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  HGDIOBJ previous = SelectObject(screen, font);
  TEXTMETRICA metrics = {};
  int height = GetTextMetricsA(screen, &metrics) ? int(metrics.tmHeight) : 0;
  SelectObject(screen, previous);
  ReleaseDC(nullptr, screen);
  return height;
}

static void ChooseLine(HWND window, int32_t line) {
  SendMessageA(window, WM_COMMAND, WPARAM(kFirstItemCommand + uint32_t(line)), 0);
}

static void OnListMouseMove() {
  if (gApp.linkCursor) SetCursor(gApp.linkCursor);
}

static void OnListFocusTimer(HWND window) {
  KillTimer(window, kListFocusTimerId);
  if (IsWindow(window)) PlatformBringWindowForward(reinterpret_cast<WindowHandle>(window));
  SetFocus(window);
}

// One line of the list, in wide text so that every character of it shows.
static void DrawListLine(HDC dc, const char* line, RECT* area) {
  wchar_t* wide = Win32WideFromUtf8(line);
  if (wide) DrawTextW(dc, wide, -1, area, DT_SINGLELINE);
  PlatformHeapFree(wide);
}

static void OnListPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  area.left = kListTextLeft;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kListTextColour);
  HFONT font = ListFont(window);
  HGDIOBJ previous = SelectObject(dc, font);
  ListPaintWalk walk = StartListPaint(GetFontHeight(font) + kLineSpacing);
  char line[kListLineSize];
  int32_t lineTop = 0;
  while (NextListLine(&walk, line, sizeof line, &lineTop)) {
    RECT lineArea = area;
    lineArea.top = area.top + lineTop;
    DrawListLine(dc, line, &lineArea);
  }
  SelectObject(dc, previous);
  EndPaint(window, &paint);
}

// Lines past the last one that can be chosen do nothing, and the list stays open.
static void OnListButtonDown(HWND window, LPARAM position) {
  int32_t line = ListLineAt(HIWORD(position));
  if (line >= 0 && uint32_t(line) <= kLastItemCommand - kFirstItemCommand) ChooseLine(window, line);
}

static void OnListKeyDown(HWND window, WPARAM key) {
  if (key >= kFirstDigitKey && key <= kLastDigitKey) {
    ChooseLine(window, int32_t(key - kFirstDigitKey));
    return;
  }
  DestroyWindow(window);
}

static void OnListCommand(HWND window, WPARAM command) {
  uint32_t id = LOWORD(command);
  if (id < kFirstItemCommand || id > kLastItemCommand) return;
  ChoosePickListItem(int32_t(id - kFirstItemCommand));
  if (IsWindow(window)) DestroyWindow(window);
}

static void OnListDestroy(HWND window) {
  RECT frame = {};
  GetWindowRect(window, &frame);
  OnPickListClosed(ListPlacement{frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top});
  HFONT scaled = reinterpret_cast<HFONT>(SetWindowLongPtrA(window, GWLP_USERDATA, 0));
  if (scaled) DeleteObject(scaled);
}

static LRESULT CALLBACK ListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE: OnListMouseMove(); break;
    case WM_TIMER: OnListFocusTimer(window); break;
    case WM_PAINT: OnListPaint(window); return 1;
    case WM_LBUTTONDOWN: OnListButtonDown(window, lParam); break;
    case WM_KEYDOWN: OnListKeyDown(window, wParam); break;
    case WM_COMMAND: OnListCommand(window, wParam); break;
    case WM_DESTROY: OnListDestroy(window); break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

static bool RegisterListClass() {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(gApp.instance, kListClassName, &existing)) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ListWindowProc;
  wc.hInstance = gApp.instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kListClassName;
  return RegisterClassExA(&wc) != 0;
}

bool PlatformOpenListWindow(const ListPlacement& placement) {
  if (!RegisterListClass()) return false;
  HWND window = CreateWindowExA(kListExStyle, kListClassName, kListTitle, kListStyle, placement.left, placement.top,
                                placement.width, placement.height, gApp.mainWindow, nullptr, gApp.instance, nullptr);
  if (!window) return false;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(CreateScaledListFont(Win32WindowDpi(window))));
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(ListFont(window)), TRUE);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  // Painting now sets the line height before any click can arrive.
  UpdateWindow(window);
  SetTimer(window, kListFocusTimerId, kListFocusDelayMs, nullptr);
  return true;
}
