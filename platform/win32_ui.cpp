// Main-window seam over Win32: status bar, editor and the main window's timers.
#include <windows.h>
#include <commctrl.h>

#include "common/utf16.h"
#include "platform/memory.h"
#include "platform/ui.h"
#include "platform/win32_wide.h"
#include "platform/win32_window.h"

// The windows the seam acts on; set by the shell when it creates them.
static struct {
  HWND main, editor, statusBar;
} gUi;

void Win32AttachMainWindow(HWND mainWindow, HWND editor, HWND statusBar) {
  gUi.main = mainWindow;
  gUi.editor = editor;
  gUi.statusBar = statusBar;
}

HWND Win32MainWindow() { return IsWindow(gUi.main) ? gUi.main : nullptr; }

// Status texts may quote the trigger file's UTF-8 (a program's name, a window's title).
void PlatformShowStatusText(const char* text) {
  if (!IsWindow(gUi.statusBar)) return;
  wchar_t* wide = Win32WideFromUtf8(text);
  if (wide) SendMessageW(gUi.statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide));
  PlatformHeapFree(wide);
  UpdateWindow(gUi.statusBar);
}

// The editor is a Unicode control: its text goes in and comes out in UTF-16, converted by the
// core's own helpers so that an unpaired surrogate of a UTF-16 file survives the round trip.
static void SetEditorWideText(const char* text) {
  wchar_t* wide = Win32WideFromUtf8(text);
  // Without memory for the wide copy the text still goes in, as the code page reads it: an empty
  // editor could be saved over the file.
  if (wide) SetWindowTextW(gUi.editor, wide);
  else SetWindowTextA(gUi.editor, text);
  PlatformHeapFree(wide);
}

void PlatformSetEditorText(const char* text) {
  if (!IsWindow(gUi.editor)) return;
  SetEditorWideText(text);
  SendMessageA(gUi.editor, EM_SETSEL, 0, 0);
  SendMessageA(gUi.editor, EM_SCROLLCARET, 0, 0);
  if (IsWindow(gUi.main)) InvalidateRect(gUi.main, nullptr, TRUE);
  InvalidateRect(gUi.editor, nullptr, TRUE);
}

char* PlatformEditorText(size_t* length) {
  *length = 0;
  if (!IsWindow(gUi.editor)) return nullptr;
  int units = GetWindowTextLengthW(gUi.editor);
  if (units < 0) units = 0;
  wchar_t* wide = static_cast<wchar_t*>(PlatformHeapAlloc((size_t(units) + 1) * sizeof(wchar_t)));
  char* text = static_cast<char*>(PlatformHeapAlloc(size_t(units) * kUtf8BytesPerUtf16Unit + 1));
  if (wide && text) {
    int got = GetWindowTextW(gUi.editor, wide, units + 1);
    *length = Utf16ToUtf8(reinterpret_cast<const uint16_t*>(wide), size_t(got > 0 ? got : 0), text);
  } else {
    PlatformHeapFree(text);
    text = nullptr;
  }
  PlatformHeapFree(wide);
  return text;
}

bool PlatformEditorChanged() { return IsWindow(gUi.editor) && SendMessageW(gUi.editor, EM_CANUNDO, 0, 0) != 0; }

// The system's timer ids are pointer-sized; the core's fit in 32 bits and come back whole in
// WM_TIMER's wParam.
void PlatformStartTimer(uint32_t id, uint32_t ms) {
  if (IsWindow(gUi.main)) SetTimer(gUi.main, UINT_PTR(id), ms, nullptr);
}

void PlatformStopTimer(uint32_t id) {
  if (IsWindow(gUi.main)) KillTimer(gUi.main, UINT_PTR(id));
}

void PlatformShowWarning(const char* text, const char* caption) {
  wchar_t* wideText = Win32WideFromUtf8(text);
  wchar_t* wideCaption = Win32WideFromUtf8(caption);
  MessageBoxW(IsWindow(gUi.main) ? gUi.main : nullptr, wideText ? wideText : L"", wideCaption,
              MB_OK | MB_ICONWARNING | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
  PlatformHeapFree(wideCaption);
  PlatformHeapFree(wideText);
}

bool PlatformAskYesNo(const char* text, const char* caption) {
  wchar_t* wideText = Win32WideFromUtf8(text);
  wchar_t* wideCaption = Win32WideFromUtf8(caption);
  int answer = MessageBoxW(IsWindow(gUi.main) ? gUi.main : nullptr, wideText ? wideText : L"", wideCaption,
                           MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING | MB_TASKMODAL | MB_SETFOREGROUND);
  PlatformHeapFree(wideCaption);
  PlatformHeapFree(wideText);
  return answer == IDYES;
}
