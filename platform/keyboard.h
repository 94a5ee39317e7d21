// Keyboard seam: key states, keyboard-layout queries and synthetic key events.
// The program implements it over Win32 (win32_keyboard.cpp); host tests link a scriptable fake.
#pragma once
#include <stdint.h>

// Flags of a synthetic key event, with the values of the system.
const uint32_t kKeyEventExtended = 0x0001;
const uint32_t kKeyEventKeyUp = 0x0002;
// The event carries a UTF-16 unit instead of a key: the receiving window gets it as a character.
const uint32_t kKeyEventUnicode = 0x0004;

// Map types of PlatformMapVirtualKey, with the values of the system.
const uint32_t kMapVkToScanCode = 0;
const uint32_t kMapVkToChar = 2;

// Virtual-key codes of the system that the core names.
const uint8_t kVkLeftButton = 0x01;
const uint8_t kVkRightButton = 0x02;
const uint8_t kVkMiddleButton = 0x04;
const uint8_t kVkBackspace = 0x08;
const uint8_t kVkShift = 0x10;
const uint8_t kVkControl = 0x11;
const uint8_t kVkAlt = 0x12;
const uint8_t kVkCapsLock = 0x14;
const uint8_t kVkLeftWindows = 0x5B;
const uint8_t kVkRightWindows = 0x5C;
// The key that marks the end of the keys sent (see PlatformWaitForKeysTaken): programs ignore it.
const uint8_t kVkSentinel = 0x87;  // F24

// Bit of a key state that is set while the key is down.
const uint16_t kKeyDownBit = 0x8000;
// Bit of the thread key state that is set while a lock key (Caps Lock) is toggled on.
const uint16_t kKeyToggledBit = 0x0001;

// Returns the desktop-wide state of virtual key `vk` (0 to 255) as the system reports it now:
// kKeyDownBit while the key is down; bit 0 when it was pressed since the previous query, which
// the query itself clears. Callers may rely on nothing else in the value.
uint16_t PlatformAsyncKeyState(int vk);

// Returns the calling thread's view of key `vk`: kKeyDownBit while down, kKeyToggledBit while toggled.
uint16_t PlatformThreadKeyState(int vk);

// Sets the thread's keyboard state to all keys up and no toggles.
void PlatformClearKeyboardState();

// Maps virtual-key code `code` with the current keyboard layout. kMapVkToScanCode yields the scan
// code, kMapVkToChar the key's unshifted character in the low byte; 0 when there is none.
uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t mapType);

// A keyboard layout as the system names it (its HKL value); 0 stands for the program's own.
typedef uint64_t KeyboardLayout;

// Returns the keyboard layout of the thread of the window in front, where synthetic keys arrive;
// the program's own layout when no window is in front.
KeyboardLayout PlatformForegroundKeyboardLayout();

// What no key types: the answer of PlatformKeyForUnit for a character the layout cannot type.
const uint16_t kNoLayoutKey = 0xFFFF;

// For the UTF-16 unit `unit` in `layout`, the virtual key in the low byte and the shift state
// (1 Shift, 2 Ctrl, 4 Alt) in the high byte; kNoLayoutKey when the layout has no key that types
// it by itself (a dead key, which would wait for the next key, counts as none).
uint16_t PlatformKeyForUnit(uint16_t unit, KeyboardLayout layout);

// Hands one key event to the system's input stream, which delivers it to the focused window
// later, as if typed. `flags` is a combination of kKeyEventExtended and kKeyEventKeyUp.
void PlatformSendKeyEvent(uint8_t vk, uint8_t scanCode, uint32_t flags);

// One synthetic key event: virtual key, scan code, kKeyEvent* flags; with kKeyEventUnicode, vk
// and scanCode are 0 and `unit` is the UTF-16 unit typed (half of a surrogate pair goes as one
// event per half, the high one first).
struct KeyEvent {
  uint8_t vk;
  uint8_t scanCode;
  uint16_t unit;
  uint32_t flags;
};

// The most key events that PlatformSendKeyEvents takes in one call.
const uint32_t kMaxKeyEventsAtOnce = 256;

// Hands `count` key events (at most kMaxKeyEventsAtOnce) to the system's input stream in one
// piece and in this order: the system puts none of the user's own key or mouse events between
// them. Events beyond kMaxKeyEventsAtOnce are not sent. Returns how many the
// system took (fewer only when the input stream refused them, for example while another
// program's window of higher integrity has the focus).
uint32_t PlatformSendKeyEvents(const KeyEvent* events, uint32_t count);

// Sets *tick to the time of the session's last keyboard or mouse input event, on the clock of
// PlatformTickCount (milliseconds, wrapping). A key state that the event changed may show in
// PlatformAsyncKeyState only some time after it: up to about 60 ms under Wine. Returns false
// when the time cannot be had; callers must then assume input may have happened at any time.
bool PlatformLastInputTick(uint32_t* tick);

// Shares this thread's input state with that of the thread of the window in front, so that
// PlatformWaitForKeysTaken can watch that thread take keys. Sharing resets which keys that thread
// reads as down, so it must begin before the first of the keys that a wait will watch is sent:
// a reset between a Shift press taken and the letter after it would type the letter unshifted.
// The keys down on the desktop (the user's, and those that the program holds down) are written
// back at once. While the input is shared, raw input is off (keys sent to a thread whose input
// is shared with a raw-input window are lost otherwise): own key events sent meanwhile neither
// come back nor count in PlatformOwnKeyEventCount, and the user's keys are not reported. Returns
// the thread shared with; 0 when no window of another thread is in front or the system refused.
uint32_t PlatformShareFrontInput();

// Ends the sharing that PlatformShareFrontInput began with `thread`; raw input is on again.
void PlatformStopSharingInput(uint32_t thread);

// The longest that PlatformWaitForKeysTaken waits.
const uint32_t kKeysTakenTimeoutMs = 500;

// While this thread shares the input of the window in front, waits until that window's thread
// has taken every key event sent so far, at most `timeoutMs` in all: sends a press of
// kVkSentinel after them and watches that thread take it, then the release, and watches that
// taken too, so that every wait starts from the sentinel up. The key poller must not record the
// sentinel. Returns the milliseconds waited.
uint32_t PlatformWaitForKeysTaken(uint32_t timeoutMs);
