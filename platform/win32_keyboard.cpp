// Keyboard seam over Win32.
#include <windows.h>

#include "platform/keyboard.h"

uint16_t PlatformAsyncKeyState(int vk) { return uint16_t(GetAsyncKeyState(vk)); }

uint16_t PlatformThreadKeyState(int vk) { return uint16_t(GetKeyState(vk)); }

void PlatformClearKeyboardState() {
  BYTE state[256] = {0};
  SetKeyboardState(state);
}

uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t mapType) { return MapVirtualKeyA(code, mapType); }

uint16_t PlatformKeyForChar(char c) { return uint16_t(VkKeyScanA(c)); }

void PlatformSendKeyEvent(uint8_t vk, uint8_t scanCode, uint32_t flags) { keybd_event(vk, scanCode, flags, 0); }
