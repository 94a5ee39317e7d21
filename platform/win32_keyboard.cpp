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

// The largest number of events handed to one SendInput call; longer runs go in several.
static const uint32_t kSendInputChunk = 256;

uint32_t PlatformSendKeyEvents(const KeyEvent* events, uint32_t count) {
  INPUT inputs[kSendInputChunk];
  uint32_t sent = 0;
  while (sent < count) {
    uint32_t n = count - sent < kSendInputChunk ? count - sent : kSendInputChunk;
    ZeroMemory(inputs, sizeof(INPUT) * n);
    for (uint32_t i = 0; i < n; ++i) {
      inputs[i].type = INPUT_KEYBOARD;
      inputs[i].ki.wVk = events[sent + i].vk;
      inputs[i].ki.wScan = events[sent + i].scanCode;
      inputs[i].ki.dwFlags = events[sent + i].flags;
    }
    UINT taken = SendInput(n, inputs, sizeof(INPUT));
    sent += taken;
    if (taken < n) break;
  }
  return sent;
}

bool PlatformLastInputTick(uint32_t* tick) {
  LASTINPUTINFO info = {sizeof info, 0};
  if (!GetLastInputInfo(&info)) return false;
  *tick = info.dwTime;
  return true;
}
