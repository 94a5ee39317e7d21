// The main window: class registration, creation of the editor and status bar, layout, end of run.
#include <windows.h>
#include <commctrl.h>

#include "app/app_state.h"
#include "platform/win32_window.h"
#include "resources/resource_ids.h"

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_WORDHATCH));
  wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_WORDHATCH), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                             LR_DEFAULTCOLOR));
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
  wc.lpszClassName = kMainClassName;
  return RegisterClassExA(&wc) != 0;
}

// WM_CREATE: the editor above a one-part status bar.
static LRESULT OnCreate(HWND window) {
  RECT outer;
  GetWindowRect(window, &outer);
  gApp.mainWindow = window;
  gApp.editor = CreateWindowExA(0, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                0, 0, outer.right - outer.left, outer.bottom - outer.top - 20, window,
                                reinterpret_cast<HMENU>(IDC_EDITOR), gApp.instance, nullptr);
  gApp.statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, " ", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                   window, reinterpret_cast<HMENU>(IDC_STATUS_BAR), gApp.instance, nullptr);
  Win32AttachMainWindow(window, gApp.editor, gApp.statusBar);
  SetFocus(gApp.editor);
  return 0;
}

// WM_SIZE: the editor fills the client area above the status bar.
static void OnSize(HWND window, WPARAM wParam, LPARAM lParam) {
  RECT client, bar;
  GetClientRect(window, &client);
  GetWindowRect(gApp.statusBar, &bar);
  int barHeight = bar.bottom - bar.top;
  SetWindowPos(gApp.editor, HWND_TOP, 0, 0, client.right, client.bottom - barHeight + 1, SWP_FRAMECHANGED);
  SendMessageA(gApp.statusBar, WM_SIZE, wParam, lParam);
  InvalidateRect(gApp.statusBar, nullptr, TRUE);
}

// WM_DESTROY: the run ends.
static void OnDestroy() {
  Win32AttachMainWindow(nullptr, nullptr, nullptr);
  PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_COMMAND:
      if (LOWORD(wParam) == IDM_FILE_EXIT) SendMessageA(window, WM_CLOSE, 0, 0);
      break;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
