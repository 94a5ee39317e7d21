// Entry point of WordHatch: single instance, settings, the main window, the trigger load, the key
// poller's timer and the message loop. The run ends in run_end.cpp.
#include <windows.h>
#include <commctrl.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/shell_rules.h"
#include "app/tray_icon.h"
#include "app/trigger_open.h"
#include "common/state.h"
#include "forms/form_window.h"
#include "platform/files.h"
#include "platform/mouse.h"
#include "platform/ui.h"
#include "resources/resource_ids.h"
#include "watcher/key_events.h"
#include "watcher/key_poller.h"

AppState gApp;

static const char kRegisterFailure[] = "WordHatch Run Failure";
static const char kCreateFailure[] = "WordHatch Window Failure";
static const char kPathTooLong[] =
    "WordHatch cannot run from this folder: the path of its program file is too long.\n\n"
    "Move WordHatch to a folder with a shorter path.";
static const DWORD kComputerNameCapacity = 255;  // at most 254 characters
static const DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
static const char kPollSwitchName[] = "WORDHATCH_KEY_WATCH";
static const char kPollSwitchValue[] = "poll";
static const DWORD kPollSwitchSize = 8;

// Brings a running instance forward, showing it again when it hides in the tray. Returns true
// when there is one; this process then ends without touching anything else.
static bool ActivateRunningInstance() {
  HWND running = FindWindowA(kMainClassName, nullptr);
  if (!running || !IsWindow(running)) return false;
  if (!IsWindowVisible(running)) {
    ShowWindow(running, SW_SHOWNORMAL);
    RemoveTrayIcon(running);
  } else if (IsIconic(running)) {
    ShowWindow(running, SW_RESTORE);
  }
  BringWindowToTop(running);
  SetForegroundWindow(running);
  return true;
}

static void ShowStartFailure(const char* text) {
  MessageBoxA(nullptr, text, nullptr, MB_ICONWARNING | MB_TASKMODAL | MB_SETFOREGROUND);
}

// Only one computer may use the tilde remap; a failed name query leaves it off.
static void ReadRemapAllowed() {
  char name[kComputerNameCapacity] = {0};
  DWORD size = sizeof name;
  gShell.remapAllowed = GetComputerNameA(name, &size) && IsRemapComputerName(name);
}

// The small icon, and its greyed copy that the tray shows while Suspend is on.
static void LoadSmallIcons(HINSTANCE instance) {
  gApp.smallIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_WORDHATCH), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                 LR_DEFAULTCOLOR));
  gApp.greyedIcon = CreateGreyedIcon(gApp.smallIcon);
}

static HWND CreateMainWindow(HINSTANCE instance, WindowBox saved) {
  char title[kTitleCapacity];
  FormatMainTitle(gShell.triggerPath, title, sizeof title);
  WindowBox box =
      InitialWindowBox(saved, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), PlatformScreenDpi());
  return CreateWindowExA(0, kMainClassName, title, kMainWindowStyle, box.left, box.top, box.width, box.height,
                         nullptr, nullptr, instance, nullptr);
}

// Shows the window as "window_start" says. Minimised with the tray option on, the WM_SIZE that
// this causes hides it into the tray.
static void ShowFirstTime(HWND window) {
  char start[kStartSettingCapacity];
  ReadSettingText(kKeyWindowStart, "", start, sizeof start);
  static const int kShowCommands[] = {SW_SHOW, SW_SHOWMAXIMIZED, SW_MINIMIZE};
  ShowWindow(window, kShowCommands[ParseStartState(start)]);
  UpdateWindow(window);
}

static int RunMessageLoop(HWND mainWindow, HACCEL accelerators) {
  MSG message = {};
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0 && got != -1) {
    // The form's keys are its own: none of them is a shortcut of the main window.
    if (FormWindowTakesMessage(&message)) continue;
    if (accelerators && TranslateAcceleratorW(mainWindow, accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return got == 0 ? int(message.wParam) : 0;  // the quit code; an error of the loop ends with 0
}

// The poller watches when the settings ask for it, or the environment does (a test switch that
// runs the tests of the key poller against a build that would use raw input).
static bool PollingChosen() {
  char value[kPollSwitchSize] = "";
  DWORD length = GetEnvironmentVariableA(kPollSwitchName, value, sizeof value);
  bool switched = length > 0 && length < sizeof value && lstrcmpiA(value, kPollSwitchValue) == 0;
  return switched || KeysWatchedByPolling();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (ActivateRunningInstance()) return 0;
  gApp.instance = instance;
  ReadRemapAllowed();

  char programPath[kPathCapacity];
  PlatformModulePath(programPath, kProgramPathCapacity);
  WindowBox saved;
  if (!ReadStartupSettings(programPath, &saved)) {
    ShowStartFailure(kPathTooLong);
    return 0;
  }

  LoadSmallIcons(instance);
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  if (!RegisterMainWindowClass(instance)) {
    ShowStartFailure(kRegisterFailure);
    return 0;
  }
  HWND window = CreateMainWindow(instance, saved);
  if (!window) {
    ShowStartFailure(kCreateFailure);
    return 0;
  }
  ShowFirstTime(window);

  ReloadTriggerFile(gShell.triggerPath);
  RetryLoadWhileUnread();
  StartKeyWatch(!PollingChosen());
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  return RunMessageLoop(window, accelerators);
}
