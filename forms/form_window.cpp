// The fill-in form: class "WordHatch_Form_Class", titled with the trigger that fired, always on
// top, centred on the window that was in front within its monitor's work area, sized and
// lettered for that monitor's DPI. One row per field of gForm: its name, then an edit box holding
// an input's default or a drop-down list of a choice's values; OK and Cancel below. Accepted, the
// answers go to the core and the output plays into the window that was in front; cancelled, what
// the erase took is typed back there.
//
// The form is the Win32 side of the form seam (platform/form_window.h); what it asks for and
// what becomes of the answers is the portable forms/field_form.h.
#include "forms/form_window.h"

#include <string.h>

#include "app/app_state.h"
#include "common/state.h"
#include "forms/field_form.h"
#include "platform/form_window.h"
#include "platform/memory.h"
#include "platform/top_windows.h"
#include "platform/win32_dpi.h"
#include "platform/win32_popup.h"
#include "platform/win32_wide.h"
#include "watcher/expansion.h"
#include "watcher/window_in_front.h"

const wchar_t kFormClassName[] = L"WordHatch_Form_Class";
const wchar_t kOkText[] = L"OK";
const wchar_t kCancelText[] = L"Cancel";
// Field number i's control has the id kFirstFieldId + i; OK and Cancel are IDOK and IDCANCEL.
const int kFirstFieldId = 100;
// Sizes at 96 pixels an inch, scaled to the monitor's DPI.
const int kMargin = 10, kGap = 8;
const int kFieldWidth = 280, kLabelMaxWidth = 200;
const int kFieldPadding = 8;  // a field's height beyond a line of the font
const int kButtonWidth = 84;
const int kFontPoints = 10;
const int kChoiceListRows = 8;  // the rows a dropped list shows before it scrolls
// Losing the focus for this long cancels: a moment away (a dropped list, a passing window) does not.
const UINT_PTR kFocusLostTimer = 1;
const UINT kFocusLostMs = 400;
const DWORD kFormExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
const DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
const DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_CENTERIMAGE;
const DWORD kInputStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
const DWORD kChoiceStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
const DWORD kOkStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
const DWORD kCancelStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// The open form: at most one at a time.
struct FormWindow {
  HWND window;
  HWND fields[kMaxFormFields];
  HWND previous;  // the window that was in front
  HFONT font;
  bool closing;   // closed by OK or Cancel: the loss of the focus that follows is no cancel
};
static FormWindow sForm;

// Where the rows go, in pixels at the form's DPI.
struct FormLayout {
  int margin, gap, labelWidth, fieldWidth, rowHeight, buttonWidth;
  int clientWidth, clientHeight;
};

// ---- size and rows ---------------------------------------------------------------------------

// The widest field name, at most kLabelMaxWidth: longer names end in an ellipsis.
static int LabelWidth(int dpi) {
  int widest = 0;
  for (int i = 0; i < gForm.fieldCount; ++i) {
    wchar_t* name = Win32WideFromUtf8(gForm.fields[i].name);
    if (name) {
      int width = Win32TextWidth(sForm.font, name);
      if (width > widest) widest = width;
    }
    PlatformHeapFree(name);
  }
  int most = Win32ScaleToDpi(kLabelMaxWidth, dpi);
  return widest < most ? widest : most;
}

static FormLayout LayOutForm(int dpi) {
  FormLayout layout = {};
  layout.margin = Win32ScaleToDpi(kMargin, dpi);
  layout.gap = Win32ScaleToDpi(kGap, dpi);
  layout.labelWidth = LabelWidth(dpi);
  layout.fieldWidth = Win32ScaleToDpi(kFieldWidth, dpi);
  layout.rowHeight = Win32FontHeight(sForm.font) + Win32ScaleToDpi(kFieldPadding, dpi);
  layout.buttonWidth = Win32ScaleToDpi(kButtonWidth, dpi);
  layout.clientWidth = 2 * layout.margin + layout.labelWidth + layout.gap + layout.fieldWidth;
  // The rows, then the buttons' row, a gap between each two.
  layout.clientHeight = 2 * layout.margin + (gForm.fieldCount + 1) * layout.rowHeight + gForm.fieldCount * layout.gap;
  return layout;
}

// The frame around a client area of the layout's size.
static SIZE FrameSize(const FormLayout& layout) {
  RECT frame = {0, 0, layout.clientWidth, layout.clientHeight};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

static HWND MakeControl(const wchar_t* kind, const wchar_t* text, DWORD style, int id, int x, int y, int width,
                        int height) {
  HWND control = CreateWindowExW(0, kind, text, style, x, y, width, height, sForm.window,
                                 reinterpret_cast<HMENU>(INT_PTR(id)), gApp.instance, nullptr);
  if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(sForm.font), FALSE);
  return control;
}

// A choice's values in its list, the first selected.
static void FillChoices(int index, HWND list) {
  size_t size = strlen(gForm.fields[index].offer) + 1;
  char* value = static_cast<char*>(PlatformHeapAlloc(size));
  if (!value) return;
  for (int n = 0; FieldChoice(index, n, value, size); ++n) {
    wchar_t* wide = Win32WideFromUtf8(value);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide ? wide : L""));
    PlatformHeapFree(wide);
  }
  PlatformHeapFree(value);
  SendMessageW(list, CB_SETCURSEL, 0, 0);
}

// Field `index`'s row at `top`: its name, and its edit box or list.
static HWND MakeFieldRow(int index, int top, const FormLayout& layout) {
  const FormField& field = gForm.fields[index];
  wchar_t* name = Win32WideFromUtf8(field.name);
  MakeControl(L"STATIC", name ? name : L"", kLabelStyle, -1, layout.margin, top, layout.labelWidth, layout.rowHeight);
  PlatformHeapFree(name);
  int left = layout.margin + layout.labelWidth + layout.gap;
  int id = kFirstFieldId + index;
  if (field.kind == kFieldChoice) {
    // A list's height is that of its dropped list; its closed box takes the font's.
    HWND list = MakeControl(L"COMBOBOX", L"", kChoiceStyle, id, left, top, layout.fieldWidth,
                            layout.rowHeight * (kChoiceListRows + 1));
    if (list) FillChoices(index, list);
    return list;
  }
  wchar_t* offer = Win32WideFromUtf8(field.offer);
  HWND input = MakeControl(L"EDIT", offer ? offer : L"", kInputStyle, id, left, top, layout.fieldWidth,
                           layout.rowHeight);
  PlatformHeapFree(offer);
  return input;
}

// Every row, then OK and Cancel at the right of the last line. False when a control was not made.
static bool MakeRows(const FormLayout& layout) {
  int top = layout.margin;
  for (int i = 0; i < gForm.fieldCount; ++i, top += layout.rowHeight + layout.gap) {
    sForm.fields[i] = MakeFieldRow(i, top, layout);
    if (!sForm.fields[i]) return false;
  }
  int cancelLeft = layout.clientWidth - layout.margin - layout.buttonWidth;
  int okLeft = cancelLeft - layout.gap - layout.buttonWidth;
  HWND ok = MakeControl(L"BUTTON", kOkText, kOkStyle, IDOK, okLeft, top, layout.buttonWidth, layout.rowHeight);
  HWND cancel =
      MakeControl(L"BUTTON", kCancelText, kCancelStyle, IDCANCEL, cancelLeft, top, layout.buttonWidth, layout.rowHeight);
  return ok && cancel;
}

// Gives `control` the focus; an edit box's text is selected, so that typing replaces it.
static void FocusControl(HWND control) {
  if (!control) return;
  SetFocus(control);
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
}

// ---- answering and closing -------------------------------------------------------------------

// The text of field `index`'s control (a list's chosen value) as its answer.
static void StoreAnswer(int index) {
  HWND control = sForm.fields[index];
  int length = GetWindowTextLengthW(control);
  wchar_t* wide = static_cast<wchar_t*>(PlatformHeapAlloc((size_t(length) + 1) * sizeof(wchar_t)));
  // A UTF-16 unit takes at most three bytes of UTF-8 (a pair of them four).
  size_t size = size_t(length) * 3 + 1;
  char* text = static_cast<char*>(PlatformHeapAlloc(size));
  if (wide && text) {
    GetWindowTextW(control, wide, length + 1);
    Win32Utf8FromWide(wide, text, size);
    SetFieldAnswer(index, text);
  }
  PlatformHeapFree(wide);
  PlatformHeapFree(text);
}

// Closes the form; with `giveBack` the window that was in front gets the focus again first, so
// that what is typed next goes there.
static void CloseForm(bool giveBack) {
  sForm.closing = true;
  HWND previous = sForm.previous;
  if (sForm.window) DestroyWindow(sForm.window);
  if (giveBack) Win32GiveFocusBack(previous);
}

static void AcceptForm() {
  for (int i = 0; i < gForm.fieldCount; ++i) StoreAnswer(i);
  CloseForm(true);
  PlayAcceptedForm();
}

static void CancelForm() {
  CloseForm(true);
  TypeBackCancelledForm();
}

// The user went elsewhere: the form closes without taking the focus back. What the erase took
// comes back only when the window it was taken from is in front again; elsewhere it is dropped.
static void DropForm() {
  HWND previous = sForm.previous;
  CloseForm(false);
  if (previous && GetForegroundWindow() == previous) TypeBackCancelledForm();
  else ReleaseFieldForm();
}

// ---- the window ------------------------------------------------------------------------------

static void OnFormCommand(WPARAM command) {
  if (LOWORD(command) == IDOK) AcceptForm();
  else if (LOWORD(command) == IDCANCEL) CancelForm();
}

// Tab and Shift+Tab (wParam nonzero for the one before), as the dialog keys send them.
static void OnNextControl(WPARAM previous) {
  FocusControl(GetNextDlgTabItem(sForm.window, GetFocus(), previous != 0));
}

static void OnFormActivate(WPARAM state) {
  if (LOWORD(state) != WA_INACTIVE) KillTimer(sForm.window, kFocusLostTimer);
  else if (!sForm.closing) SetTimer(sForm.window, kFocusLostTimer, kFocusLostMs, nullptr);
}

static void OnFocusLostTimer() {
  KillTimer(sForm.window, kFocusLostTimer);
  if (GetForegroundWindow() != sForm.window) DropForm();
}

static void OnFormDestroy() {
  KillTimer(sForm.window, kFocusLostTimer);
  KeepKeysOut(false);
  if (sForm.font) DeleteObject(sForm.font);
  sForm = FormWindow();
}

static LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: OnFormCommand(wParam); return 0;
    case WM_NEXTDLGCTL: OnNextControl(wParam); return 0;
    case WM_ACTIVATE: OnFormActivate(wParam); break;
    case WM_TIMER:
      if (wParam == kFocusLostTimer) OnFocusLostTimer();
      return 0;
    case WM_CLOSE: CancelForm(); return 0;
    case WM_DESTROY: OnFormDestroy(); break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool FormWindowTakesMessage(MSG* message) {
  HWND form = sForm.window;
  if (!form || (message->hwnd != form && !IsChild(form, message->hwnd))) return false;
  // Enter accepts from any field: the dialog keys would leave it to a dropped list, which only
  // closes. On Cancel it cancels.
  if (message->message == WM_KEYDOWN && message->wParam == VK_RETURN) {
    if (GetDlgCtrlID(GetFocus()) == IDCANCEL) CancelForm();
    else AcceptForm();
    return true;
  }
  return IsDialogMessageW(form, message) != 0;
}

bool PlatformOpenFieldForm(WindowHandle previousHandle) {
  // A form still open: the core has already given its output up for the new one.
  if (sForm.window) CloseForm(false);
  if (!Win32RegisterPopupClass(gApp.instance, kFormClassName, FormWindowProc)) return false;
  HWND previous = reinterpret_cast<HWND>(previousHandle);
  HMONITOR monitor = MonitorFromWindow(previous, MONITOR_DEFAULTTONEAREST);
  int dpi = Win32MonitorDpi(monitor);
  sForm.previous = previous;
  sForm.font = Win32CreatePopupFont(kFontPoints, dpi);
  FormLayout layout = LayOutForm(dpi);
  SIZE size = FrameSize(layout);
  RECT frame = Win32CentredFrame(previous, monitor, size.cx, size.cy);
  // Untitled until its first field has the focus: a form found by its title takes what is typed
  // at once.
  sForm.window = CreateWindowExW(kFormExStyle, kFormClassName, L"", kFormStyle, frame.left, frame.top, size.cx,
                                 size.cy, gApp.mainWindow, nullptr, gApp.instance, nullptr);
  if (!sForm.window || !MakeRows(layout)) {
    sForm.closing = true;
    if (sForm.window) DestroyWindow(sForm.window);
    else if (sForm.font) DeleteObject(sForm.font);
    sForm = FormWindow();
    return false;
  }
  KeepKeysOut(true);
  ShowWindow(sForm.window, SW_SHOW);
  PlatformBringWindowForward(reinterpret_cast<WindowHandle>(sForm.window));
  FocusControl(gForm.fieldCount > 0 ? sForm.fields[0] : GetDlgItem(sForm.window, IDOK));
  wchar_t* title = Win32WideFromUtf8(gForm.title);
  SetWindowTextW(sForm.window, title ? title : L"");
  PlatformHeapFree(title);
  return true;
}
