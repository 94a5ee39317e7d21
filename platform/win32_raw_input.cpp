// Raw-input seam over Win32. Every key and mouse event that this program sends carries
// kOwnInputTag as its extra information, which raw input hands back with the event.
#include <windows.h>

#include "platform/raw_input.h"
#include "platform/win32_input_tag.h"
#include "platform/win32_window.h"

const USHORT kGenericDesktopPage = 0x01;
const USHORT kMouseUsage = 0x02;
const USHORT kKeyboardUsage = 0x06;
// Scan codes and virtual keys of the keys that raw input names without their side.
const USHORT kRightShiftScanCode = 0x36;
const UINT kNoKeyVirtualKey = 0xFF;

struct ButtonFlag {
  USHORT flag;
  uint8_t vk;
  bool down;
};

static const ButtonFlag kButtonFlags[] = {
    {RI_MOUSE_LEFT_BUTTON_DOWN, VK_LBUTTON, true},   {RI_MOUSE_LEFT_BUTTON_UP, VK_LBUTTON, false},
    {RI_MOUSE_RIGHT_BUTTON_DOWN, VK_RBUTTON, true},  {RI_MOUSE_RIGHT_BUTTON_UP, VK_RBUTTON, false},
    {RI_MOUSE_MIDDLE_BUTTON_DOWN, VK_MBUTTON, true}, {RI_MOUSE_MIDDLE_BUTTON_UP, VK_MBUTTON, false},
};
static_assert(sizeof kButtonFlags / sizeof kButtonFlags[0] == kMaxEventsPerInput, "one event per button flag");

static uint32_t gOwnKeyEvents = 0;
static bool gRawInputStarted = false;  // by PlatformStartRawInput
static bool gRawInputOn = false;       // registered now: not started, or paused, is off

static bool RegisterDevices(DWORD flags, HWND window) {
  RAWINPUTDEVICE devices[2] = {
      {kGenericDesktopPage, kKeyboardUsage, flags, window},
      {kGenericDesktopPage, kMouseUsage, flags, window},
  };
  return RegisterRawInputDevices(devices, 2, sizeof devices[0]) != FALSE;
}

bool PlatformStartRawInput() {
  gRawInputStarted = gRawInputOn = RegisterDevices(RIDEV_INPUTSINK, Win32MainWindow());
  return gRawInputStarted;
}

void Win32PauseRawInput() {
  if (gRawInputOn) RegisterDevices(RIDEV_REMOVE, nullptr);
  gRawInputOn = false;
}

void Win32ResumeRawInput() {
  if (gRawInputStarted && !gRawInputOn) gRawInputOn = RegisterDevices(RIDEV_INPUTSINK, Win32MainWindow());
}

// Raw input names Shift, Ctrl and Alt without their side: the scan code or the E0 prefix tells it.
static uint8_t SidedKey(const RAWKEYBOARD& key) {
  bool right = (key.Flags & RI_KEY_E0) != 0;
  switch (key.VKey) {
    case VK_SHIFT: return key.MakeCode == kRightShiftScanCode ? VK_RSHIFT : VK_LSHIFT;
    case VK_CONTROL: return right ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU: return right ? VK_RMENU : VK_LMENU;
    default: return uint8_t(key.VKey);
  }
}

// Every own key event counts, with a key or without; the user's count only with a key.
static int ReadKeyboard(const RAWKEYBOARD& key, InputEvent* events) {
  bool own = key.ExtraInformation == kOwnInputTag;
  bool hasKey = key.VKey != 0 && key.VKey < kNoKeyVirtualKey;
  if (!own && !hasKey) return 0;
  events[0] = InputEvent{hasKey ? SidedKey(key) : uint8_t(0), (key.Flags & RI_KEY_BREAK) == 0, false, own};
  return 1;
}

static int ReadMouse(const RAWMOUSE& mouse, InputEvent* events) {
  int count = 0;
  for (const ButtonFlag& button : kButtonFlags) {
    if (mouse.usButtonFlags & button.flag) {
      events[count++] = InputEvent{button.vk, button.down, true, mouse.ulExtraInformation == kOwnInputTag};
    }
  }
  return count;
}

int PlatformReadRawInput(uintptr_t input, InputEvent* events) {
  RAWINPUT raw;
  UINT size = sizeof raw;
  if (GetRawInputData(reinterpret_cast<HRAWINPUT>(input), RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) ==
      UINT(-1)) {
    return 0;
  }
  if (raw.header.dwType == RIM_TYPEKEYBOARD) return ReadKeyboard(raw.data.keyboard, events);
  if (raw.header.dwType == RIM_TYPEMOUSE) return ReadMouse(raw.data.mouse, events);
  return 0;
}

void PlatformDeliverPendingInput() {
  MSG message;
  while (PeekMessageW(&message, Win32MainWindow(), WM_INPUT, WM_INPUT, PM_REMOVE)) DispatchMessageW(&message);
}

uint32_t PlatformOwnKeyEventCount() { return gOwnKeyEvents; }

void Win32CountOwnKeyEvents(uint32_t count) {
  if (gRawInputOn) gOwnKeyEvents += count;
}
