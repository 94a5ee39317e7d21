// Entry point of WordHatch: single instance, main window, message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/app_state.h"
#include "resources/resource_ids.h"

AppState gApp;

const int kDefaultWidth = 780;
const int kDefaultHeight = 550;

// Brings a running instance forward. Returns true when there is one.
static bool ActivateRunningInstance() {
  HWND running = FindWindowA(kMainClassName, nullptr);
  if (!running || !IsWindow(running)) return false;
  if (!IsWindowVisible(running)) {
    ShowWindow(running, SW_SHOWNORMAL);
  } else if (IsIconic(running)) {
    ShowWindow(running, SW_RESTORE);
  }
  BringWindowToTop(running);
  SetForegroundWindow(running);
  return true;
}

static void ShowFailure(const char* text) {
  MessageBoxA(nullptr, text, nullptr, MB_ICONWARNING | MB_TASKMODAL | MB_SETFOREGROUND);
}

static int RunMessageLoop(HWND mainWindow, HACCEL accelerators) {
  MSG message;
  for (;;) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (TranslateAcceleratorA(mainWindow, accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return int(message.wParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (ActivateRunningInstance()) return 0;
  gApp.instance = instance;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  if (!RegisterMainWindowClass(instance)) {
    ShowFailure("WordHatch Run Failure");
    return 0;
  }
  int left = GetSystemMetrics(SM_CXSCREEN) / 2 - kDefaultWidth / 2;
  int top = GetSystemMetrics(SM_CYSCREEN) / 2 - kDefaultHeight / 2;
  HWND window = CreateWindowExA(0, kMainClassName, "WordHatch",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, left, top,
                                kDefaultWidth, kDefaultHeight, nullptr, nullptr, instance, nullptr);
  if (!window) {
    ShowFailure("WordHatch Window Failure");
    return 0;
  }
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  return RunMessageLoop(window, accelerators);
}
