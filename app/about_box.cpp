// The about box and its link. The system's message box has no link control of its own: a timer
// that keeps running inside the box's modal loop finds the box once it exists and adds a static
// control, whose procedure paints it as a link and opens the page when clicked.
#include "app/about_box.h"

#include <shellapi.h>

#include "app/app_state.h"
#include "platform/ui.h"
#include "platform/win32_dpi.h"
#include "platform/win32_sizes.h"
#include "resources/resource_ids.h"

// The project's own page. The link shows the address; a click opens the support page.
static const char kMakerAddress[] = "www.wordhatch.example.org";
static const char kSupportPage[] = "https://www.wordhatch.example.org/support";

static const char kAboutCaption[] = "About WordHatch";
static const char kAboutText[] =
    "WordHatch\n"
    "\n"
    "\n"
    "Types out your abbreviations and hotkeys in full, in any program.\n"
    "\n"
    "Copyright (c) The WordHatch authors.\n"
    "This program is provided as is, without warranty of any kind.";
static const UINT kAboutStyle = MB_OK | MB_USERICON | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST;
static_assert(sizeof(MSGBOXPARAMSA) == Win32BuildSize(40, 80), "MSGBOXPARAMSA as the system takes it in this build");

static const int kLinkControlId = 0x800F;
static const int kLinkSideMargin = 75;
static const int kLinkTopBeforeVista = 15;
static const int kLinkTop = 30;
static const int kLinkHeight = 20;
static const DWORD kVistaMajorVersion = 6;
static const COLORREF kLinkColour = RGB(0, 0, 255);
static const int kLinkTextCapacity = 255;  // at most 254 characters

void OnAboutCommand(HWND window) {
  PlatformStartTimer(kAboutLinkTimerId, kAboutLinkPeriodMs);
  MSGBOXPARAMSA box = {};
  box.cbSize = sizeof box;
  box.hwndOwner = window;
  box.hInstance = gApp.instance;
  box.lpszText = kAboutText;
  box.lpszCaption = kAboutCaption;
  box.dwStyle = kAboutStyle;
  box.lpszIcon = MAKEINTRESOURCEA(IDI_WORDHATCH);
  box.dwLanguageId = LANG_NEUTRAL;
  MessageBoxIndirectA(&box);
  PlatformStopTimer(kAboutLinkTimerId);
}

// The about box of this program: another program's window of the same title is left alone.
static HWND FindOwnAboutBox() {
  HWND found = nullptr;
  while ((found = FindWindowExA(nullptr, found, nullptr, kAboutCaption)) != nullptr) {
    if (GetWindowThreadProcessId(found, nullptr) == GetCurrentThreadId()) return found;
  }
  return nullptr;
}

static void OpenSupportPage() { ShellExecuteA(nullptr, nullptr, kSupportPage, nullptr, nullptr, SW_SHOWNORMAL); }

static void PaintLink(HWND link) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(link, &paint);
  RECT client;
  GetClientRect(link, &client);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kLinkColour);
  HGDIOBJ previousFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  char text[kLinkTextCapacity] = {0};
  GetWindowTextA(link, text, sizeof text);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
  if (GetWindowLongA(link, GWL_STYLE) & SS_CENTER) format |= DT_CENTER;
  DrawTextA(dc, text, -1, &client, format);
  SelectObject(dc, previousFont);
  EndPaint(link, &paint);
}

// Everything else goes to the default procedure rather than the static control's, which would
// pass the mouse through to the box beneath and never see the two mouse messages.
static LRESULT CALLBACK LinkWindowProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      SetCursor(gApp.linkCursor);
      break;
    case WM_LBUTTONDOWN:
      OpenSupportPage();
      break;
    case WM_PAINT:
      PaintLink(link);
      return 1;
  }
  return DefWindowProcA(link, message, wParam, lParam);
}

static int LinkTop() {
  DWORD major = LOBYTE(LOWORD(GetVersion()));
  return major < kVistaMajorVersion ? kLinkTopBeforeVista : kLinkTop;
}

void OnAboutLinkTimer() {
  HWND box = FindOwnAboutBox();
  if (!box) return;
  PlatformStopTimer(kAboutLinkTimerId);
  RECT client;
  GetClientRect(box, &client);
  // The box is laid out for its DPI; the link's place, in pixels at 96 DPI, is scaled to match.
  int dpi = Win32WindowDpi(box);
  int side = Win32ScaleToDpi(kLinkSideMargin, dpi);
  HWND link = CreateWindowExA(WS_EX_TOPMOST, "STATIC", kMakerAddress, WS_CHILD | WS_VISIBLE | SS_CENTER, side,
                              Win32ScaleToDpi(LinkTop(), dpi), client.right - 2 * side,
                              Win32ScaleToDpi(kLinkHeight, dpi), box, reinterpret_cast<HMENU>(kLinkControlId),
                              gApp.instance, nullptr);
  if (!link) return;
  SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkWindowProc));
  ShowWindow(link, SW_SHOW);
  UpdateWindow(link);
  InvalidateRect(box, nullptr, TRUE);
  InvalidateRect(link, nullptr, TRUE);
}

void OnWebsiteCommand() { OpenSupportPage(); }
