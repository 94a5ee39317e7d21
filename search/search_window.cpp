// The search window: class "WordHatch_Search_Class", titled "WordHatch Search", always on top,
// centred on the window that was in front within its monitor's work area, sized and lettered for
// that monitor's DPI. An edit box for the query, with the keyboard focus from the start, above a
// list of rows (trigger, label, output's first line). The keys that move a selection move the
// list's from the edit box; Enter or a double click plays the chosen row's output into the window
// that was in front; Escape, or the window losing the focus, closes it and types nothing.
//
// The window is the Win32 side of the search window seam (platform/search_window.h); what it
// lists is the portable search (search/trigger_search.h).
#include <windows.h>

#include "app/app_state.h"
#include "common/state.h"
#include "platform/memory.h"
#include "platform/search_window.h"
#include "platform/top_windows.h"
#include "platform/win32_dpi.h"
#include "platform/win32_popup.h"
#include "platform/win32_wide.h"
#include "search/trigger_search.h"
#include "watcher/expansion.h"
#include "watcher/window_in_front.h"

const wchar_t kSearchClassName[] = L"WordHatch_Search_Class";
const wchar_t kSearchTitle[] = L"WordHatch Search";
const int kQueryId = 1, kRowsId = 2;
// Sizes at 96 pixels an inch, scaled to the monitor's DPI.
const int kWindowWidth = 640, kWindowHeight = 380;
const int kMargin = 6, kRowPadding = 4;
const int kFontPoints = 10;
// The columns' shares of a row's width, in percent: trigger and label; the output has the rest.
const int kTriggerColumn = 24, kLabelColumn = 28;
const DWORD kSearchExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
const DWORD kSearchStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
const DWORD kQueryStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
const DWORD kRowsStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NODATA | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

// The open window: at most one at a time.
struct SearchWindow {
  HWND window, query, rows;
  HWND previous;     // the window that was in front
  HFONT font;
  int rowHeight;
  WNDPROC queryProc;  // the edit box's own procedure
  bool closing;       // closed by a choice or Escape: the loss of the focus that follows is no cancel
};
static SearchWindow sSearch;

// ---- size and letters ------------------------------------------------------------------------

// ---- the rows --------------------------------------------------------------------------------

// The edit box's text, as the query.
static void ReadQuery(char* out, size_t size) {
  wchar_t wide[kSearchQuerySize];
  GetWindowTextW(sSearch.query, wide, kSearchQuerySize);
  Win32Utf8FromWide(wide, out, size);
}

static void ShowRows() {
  SendMessageW(sSearch.rows, WM_SETREDRAW, FALSE, 0);
  SendMessageW(sSearch.rows, LB_SETCOUNT, WPARAM(gSearch.rowCount), 0);
  SendMessageW(sSearch.rows, LB_SETCURSEL, gSearch.rowCount > 0 ? 0 : WPARAM(-1), 0);
  SendMessageW(sSearch.rows, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(sSearch.rows, nullptr, TRUE);
}

static void OnQueryChanged() {
  char query[kSearchQuerySize * 3];
  ReadQuery(query, sizeof query);
  FilterSearchItems(query);
  ShowRows();
}

static void DrawCell(HDC dc, const char* text, RECT area) {
  wchar_t* wide = Win32WideFromUtf8(text);
  if (wide) DrawTextW(dc, wide, -1, &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  PlatformHeapFree(wide);
}

static void OnDrawRow(const DRAWITEMSTRUCT* item) {
  if (item->itemID == UINT(-1) || int32_t(item->itemID) >= gSearch.rowCount) return;
  bool selected = (item->itemState & ODS_SELECTED) != 0;
  FillRect(item->hDC, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  SetBkMode(item->hDC, TRANSPARENT);
  HGDIOBJ before = SelectObject(item->hDC, sSearch.font);
  int32_t row = int32_t(item->itemID);
  RECT area = item->rcItem;
  area.left += kRowPadding;
  LONG width = area.right - area.left;
  RECT trigger = area, label = area, output = area;
  trigger.right = area.left + width * kTriggerColumn / 100 - kRowPadding;
  label.left = trigger.right + kRowPadding;
  label.right = area.left + width * (kTriggerColumn + kLabelColumn) / 100 - kRowPadding;
  output.left = label.right + kRowPadding;
  SetTextColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawCell(item->hDC, SearchRowTrigger(row), trigger);
  DrawCell(item->hDC, SearchRowOutput(row), output);
  SetTextColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_GRAYTEXT));
  DrawCell(item->hDC, SearchRowLabel(row), label);
  SelectObject(item->hDC, before);
}

// ---- choosing and closing --------------------------------------------------------------------

// Closes the window; with `giveBack` the window that was in front gets the focus again, and the
// call returns once it has it (a moment at most), so that what is played next goes there.
static void CloseSearch(bool giveBack) {
  sSearch.closing = true;
  HWND previous = sSearch.previous;
  if (sSearch.window) DestroyWindow(sSearch.window);
  if (giveBack) Win32GiveFocusBack(previous);
}

static void ChooseSelectedRow() {
  LRESULT row = SendMessageW(sSearch.rows, LB_GETCURSEL, 0, 0);
  if (row == LB_ERR || row >= gSearch.rowCount) return;
  int entry = ChooseSearchRow(int32_t(row));
  CloseSearch(true);
  PlayChosenTrigger(entry);
}

// The keys that move a selection move the list's; Enter chooses and Escape closes.
static bool OnQueryKey(WPARAM key) {
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      SendMessageW(sSearch.rows, WM_KEYDOWN, key, 0);
      return true;
    case VK_RETURN: ChooseSelectedRow(); return true;
    case VK_ESCAPE: CloseSearch(true); return true;
  }
  return false;
}

static LRESULT CALLBACK QueryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && OnQueryKey(wParam)) return 0;
  // Their characters would only beep in a one-line edit box.
  if (message == WM_CHAR && (wParam == '\r' || wParam == 0x1B)) return 0;
  return CallWindowProcW(sSearch.queryProc, window, message, wParam, lParam);
}

// ---- the window ------------------------------------------------------------------------------

static void OnSearchCommand(WPARAM command) {
  if (LOWORD(command) == kQueryId && HIWORD(command) == EN_CHANGE) OnQueryChanged();
  if (LOWORD(command) == kRowsId && HIWORD(command) == LBN_DBLCLK) ChooseSelectedRow();
}

static void OnSearchActivate(WPARAM state) {
  if (LOWORD(state) == WA_INACTIVE && !sSearch.closing) CloseSearch(false);
}

static void OnSearchDestroy() {
  KeepKeysOut(false);
  ReleaseSearchItems();
  if (sSearch.font) DeleteObject(sSearch.font);
  sSearch = SearchWindow();
}

static LRESULT CALLBACK SearchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM: reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = UINT(sSearch.rowHeight); return TRUE;
    case WM_DRAWITEM: OnDrawRow(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_COMMAND: OnSearchCommand(wParam); return 0;
    case WM_ACTIVATE: OnSearchActivate(wParam); break;
    case WM_CLOSE: CloseSearch(true); return 0;
    case WM_DESTROY: OnSearchDestroy(); break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Lays the edit box and the list out in the client area; the edit box is one line of the font.
static void MakeChildren(int dpi) {
  RECT client;
  GetClientRect(sSearch.window, &client);
  int margin = Win32ScaleToDpi(kMargin, dpi);
  int queryHeight = Win32FontHeight(sSearch.font) + 2 * margin;
  int width = client.right - 2 * margin;
  sSearch.query = CreateWindowExW(0, L"EDIT", L"", kQueryStyle, margin, margin, width, queryHeight, sSearch.window,
                                  reinterpret_cast<HMENU>(INT_PTR(kQueryId)), gApp.instance, nullptr);
  int rowsTop = 2 * margin + queryHeight;
  sSearch.rows = CreateWindowExW(0, L"LISTBOX", L"", kRowsStyle, margin, rowsTop, width,
                                 client.bottom - rowsTop - margin, sSearch.window,
                                 reinterpret_cast<HMENU>(INT_PTR(kRowsId)), gApp.instance, nullptr);
  SendMessageW(sSearch.query, WM_SETFONT, reinterpret_cast<WPARAM>(sSearch.font), FALSE);
  SendMessageW(sSearch.rows, WM_SETFONT, reinterpret_cast<WPARAM>(sSearch.font), FALSE);
  sSearch.queryProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(sSearch.query, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(QueryProc)));
}

// The last query, selected, so that typing replaces it; set before the change handler runs.
static void ShowLastQuery() {
  wchar_t* wide = Win32WideFromUtf8(gSearch.lastQuery);
  SetWindowTextW(sSearch.query, wide ? wide : L"");
  PlatformHeapFree(wide);
  SendMessageW(sSearch.query, EM_SETSEL, 0, -1);
}

bool PlatformOpenSearchWindow(WindowHandle previousHandle) {
  if (sSearch.window) DestroyWindow(sSearch.window);
  if (!Win32RegisterPopupClass(gApp.instance, kSearchClassName, SearchWindowProc)) return false;
  HWND previous = reinterpret_cast<HWND>(previousHandle);
  HMONITOR monitor = MonitorFromWindow(previous, MONITOR_DEFAULTTONEAREST);
  int dpi = Win32MonitorDpi(monitor);
  sSearch.previous = previous;
  sSearch.font = Win32CreatePopupFont(kFontPoints, dpi);
  sSearch.rowHeight = Win32FontHeight(sSearch.font) + Win32ScaleToDpi(kRowPadding, dpi);
  RECT frame = Win32CentredFrame(previous, monitor, Win32ScaleToDpi(kWindowWidth, dpi),
                            Win32ScaleToDpi(kWindowHeight, dpi));
  // Untitled until it has the focus: a window found by its title takes what is typed at once.
  sSearch.window = CreateWindowExW(kSearchExStyle, kSearchClassName, L"", kSearchStyle, frame.left, frame.top,
                                   frame.right - frame.left, frame.bottom - frame.top, gApp.mainWindow, nullptr,
                                   gApp.instance, nullptr);
  if (!sSearch.window) {
    if (sSearch.font) DeleteObject(sSearch.font);
    sSearch = SearchWindow();
    return false;
  }
  MakeChildren(dpi);
  ShowLastQuery();
  ShowRows();
  KeepKeysOut(true);
  ShowWindow(sSearch.window, SW_SHOW);
  PlatformBringWindowForward(reinterpret_cast<WindowHandle>(sSearch.window));
  SetFocus(sSearch.query);
  SetWindowTextW(sSearch.window, kSearchTitle);
  return true;
}
