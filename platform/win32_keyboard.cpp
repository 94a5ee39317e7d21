// Keyboard seam over Win32.
#include <windows.h>

#include "platform/keyboard.h"
#include "platform/win32_input_tag.h"
#include "platform/win32_sizes.h"

// SendInput checks the record size it is given against its own build's INPUT.
static_assert(sizeof(INPUT) == Win32BuildSize(28, 40), "INPUT as SendInput takes it in this build");

// MapVirtualKeyEx marks the character of a dead key with the top bit.
const UINT kDeadKeyBit = 0x80000000u;
const SHORT kNoKeyAnswer = -1;
const DWORD kWaitStepMs = 1;
const int kKeyCount = 256;
const BYTE kKeyStateDown = 0x80;

uint16_t PlatformAsyncKeyState(int vk) { return uint16_t(GetAsyncKeyState(vk)); }

uint16_t PlatformThreadKeyState(int vk) { return uint16_t(GetKeyState(vk)); }

void PlatformClearKeyboardState() {
  BYTE state[256] = {0};
  SetKeyboardState(state);
}

uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t mapType) { return MapVirtualKeyA(code, mapType); }

static HKL ToHkl(KeyboardLayout layout) { return reinterpret_cast<HKL>(static_cast<uintptr_t>(layout)); }

KeyboardLayout PlatformForegroundKeyboardLayout() {
  HWND front = GetForegroundWindow();
  DWORD thread = front ? GetWindowThreadProcessId(front, nullptr) : 0;
  return KeyboardLayout(reinterpret_cast<uintptr_t>(GetKeyboardLayout(thread)));
}

uint16_t PlatformKeyForUnit(uint16_t unit, KeyboardLayout layout) {
  SHORT answer = VkKeyScanExW(WCHAR(unit), ToHkl(layout));
  if (answer == kNoKeyAnswer) return kNoLayoutKey;
  UINT vk = UINT(answer) & 0xFF;
  if (MapVirtualKeyExW(vk, MAPVK_VK_TO_CHAR, ToHkl(layout)) & kDeadKeyBit) return kNoLayoutKey;
  return uint16_t(answer);
}

void PlatformSendKeyEvent(uint8_t vk, uint8_t scanCode, uint32_t flags) {
  keybd_event(vk, scanCode, flags, kOwnInputTag);
  Win32CountOwnKeyEvents(1);
}

uint32_t PlatformSendKeyEvents(const KeyEvent* events, uint32_t count) {
  if (count > kMaxKeyEventsAtOnce) count = kMaxKeyEventsAtOnce;
  INPUT inputs[kMaxKeyEventsAtOnce];
  ZeroMemory(inputs, sizeof(INPUT) * count);
  for (uint32_t i = 0; i < count; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    bool unicode = (events[i].flags & kKeyEventUnicode) != 0;
    inputs[i].ki.wVk = unicode ? 0 : events[i].vk;
    inputs[i].ki.wScan = unicode ? events[i].unit : events[i].scanCode;
    inputs[i].ki.dwFlags = events[i].flags;
    inputs[i].ki.dwExtraInfo = kOwnInputTag;
  }
  UINT sent = SendInput(count, inputs, sizeof(INPUT));
  Win32CountOwnKeyEvents(sent);
  return sent;
}

// The shared key state shows the sentinel as the front window's thread last took it from its input.
static bool SentinelTakenAs(bool down) { return ((GetKeyState(kVkSentinel) & kKeyDownBit) != 0) == down; }

static void SendSentinel(uint32_t flags) {
  KeyEvent event = {kVkSentinel, 0, 0, flags};
  PlatformSendKeyEvents(&event, 1);
}

// False when the time ran out first.
static bool WaitForSentinel(bool down, DWORD start, uint32_t timeoutMs) {
  while (!SentinelTakenAs(down)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kWaitStepMs);
  }
  return true;
}

// Sharing cleared the shared state: the keys that are down on the desktop read as down again.
// The desktop's state already holds every key sent, so it is written before any more are.
static void WriteBackKeysDown() {
  BYTE state[kKeyCount] = {0};
  for (int vk = 0; vk < kKeyCount; ++vk) {
    if (GetAsyncKeyState(vk) & kKeyDownBit) state[vk] = kKeyStateDown;
  }
  SetKeyboardState(state);
}

uint32_t PlatformShareFrontInput() {
  HWND front = GetForegroundWindow();
  DWORD frontThread = front ? GetWindowThreadProcessId(front, nullptr) : 0;
  DWORD ownThread = GetCurrentThreadId();
  // Our own window takes its keys only when this thread reads its messages: nothing to share.
  if (!frontThread || frontThread == ownThread) return 0;
  // Under Wine, keys sent to a thread whose input is shared with a raw-input window are lost.
  Win32PauseRawInput();
  if (!AttachThreadInput(ownThread, frontThread, TRUE)) {
    Win32ResumeRawInput();
    return 0;
  }
  WriteBackKeysDown();
  return frontThread;
}

void PlatformStopSharingInput(uint32_t thread) {
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  Win32ResumeRawInput();
}

uint32_t PlatformWaitForKeysTaken(uint32_t timeoutMs) {
  DWORD start = GetTickCount();
  SendSentinel(0);
  bool pressTaken = WaitForSentinel(true, start, timeoutMs);
  SendSentinel(kKeyEventKeyUp);
  if (pressTaken) WaitForSentinel(false, start, timeoutMs);
  return GetTickCount() - start;
}

bool PlatformLastInputTick(uint32_t* tick) {
  LASTINPUTINFO info = {sizeof info, 0};
  if (!GetLastInputInfo(&info)) return false;
  *tick = info.dwTime;
  return true;
}
