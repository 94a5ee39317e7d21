// Keyboard seam over Win32.
#include <windows.h>

#include "platform/keyboard.h"
#include "platform/win32_sizes.h"

// SendInput checks the record size it is given against its own build's INPUT.
static_assert(sizeof(INPUT) == Win32BuildSize(28, 40), "INPUT as SendInput takes it in this build");

uint16_t PlatformAsyncKeyState(int vk) { return uint16_t(GetAsyncKeyState(vk)); }

uint16_t PlatformThreadKeyState(int vk) { return uint16_t(GetKeyState(vk)); }

void PlatformClearKeyboardState() {
  BYTE state[256] = {0};
  SetKeyboardState(state);
}

uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t mapType) { return MapVirtualKeyA(code, mapType); }

uint16_t PlatformKeyForChar(char c) { return uint16_t(VkKeyScanA(c)); }

void PlatformSendKeyEvent(uint8_t vk, uint8_t scanCode, uint32_t flags) { keybd_event(vk, scanCode, flags, 0); }

uint32_t PlatformSendKeyEvents(const KeyEvent* events, uint32_t count) {
  if (count > kMaxKeyEventsAtOnce) count = kMaxKeyEventsAtOnce;
  INPUT inputs[kMaxKeyEventsAtOnce];
  ZeroMemory(inputs, sizeof(INPUT) * count);
  for (uint32_t i = 0; i < count; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = events[i].vk;
    inputs[i].ki.wScan = events[i].scanCode;
    inputs[i].ki.dwFlags = events[i].flags;
  }
  return SendInput(count, inputs, sizeof(INPUT));
}

bool PlatformLastInputTick(uint32_t* tick) {
  LASTINPUTINFO info = {sizeof info, 0};
  if (!GetLastInputInfo(&info)) return false;
  *tick = info.dwTime;
  return true;
}
