// Main-window seam over Win32: status bar, editor and the main window's timers.
#include <windows.h>
#include <commctrl.h>

#include "platform/ui.h"
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

void PlatformShowStatusText(const char* text) {
  if (!IsWindow(gUi.statusBar)) return;
  SendMessageA(gUi.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  UpdateWindow(gUi.statusBar);
}

void PlatformSetEditorText(const char* text) {
  if (!IsWindow(gUi.editor)) return;
  SetWindowTextA(gUi.editor, text);
  SendMessageA(gUi.editor, EM_SETSEL, 0, 0);
  SendMessageA(gUi.editor, EM_SCROLLCARET, 0, 0);
  if (IsWindow(gUi.main)) InvalidateRect(gUi.main, nullptr, TRUE);
  InvalidateRect(gUi.editor, nullptr, TRUE);
}

// The system's timer ids are pointer-sized; the core's fit in 32 bits and come back whole in
// WM_TIMER's wParam.
void PlatformStartTimer(uint32_t id, uint32_t ms) {
  if (IsWindow(gUi.main)) SetTimer(gUi.main, UINT_PTR(id), ms, nullptr);
}

void PlatformStopTimer(uint32_t id) {
  if (IsWindow(gUi.main)) KillTimer(gUi.main, UINT_PTR(id));
}

void PlatformShowWarning(const char* text, const char* caption) {
  MessageBoxA(IsWindow(gUi.main) ? gUi.main : nullptr, text, caption,
              MB_OK | MB_ICONWARNING | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
}
