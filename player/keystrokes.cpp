// Keystroke synthesis: key names and characters of an output become queued key events, which
// FlushKeyEvents hands to the system in one piece. A character goes through the key that the
// receiving window's keyboard layout gives it, with Shift around it as needed; one that the
// layout has no such key for goes as a Unicode key event, which needs no key at all. Control and
// Alt are never sent for a character: they would fire the receiving program's shortcuts.
#include "player/keystrokes.h"

#include "common/state.h"
#include "common/utf8.h"
#include "platform/keyboard.h"
#include "triggers/key_names.h"

const int kEventsPerPress = 2;
// A character beyond the first 65,536 is two UTF-16 units, each pressed and released.
const int kUnitsPerPair = 2;

// Virtual-key codes sent as extended keys: the navigation block, Control (the right-hand one)
// and the Windows and Application keys.
const uint8_t kVkFirstNavigation = 0x21;  // Page Up
const uint8_t kVkLastNavigation = 0x2E;   // Delete
const uint8_t kVkApplications = 0x5D;

// A layout answer with this key code names no key.
const uint8_t kNoKeyCode = 0xFF;
// The shift states of a layout's answer that this route types: none, and Shift alone.
const uint8_t kShiftStateNone = 0;
const uint8_t kShiftStateShift = 1;

// Code points the key route and the Unicode route look at.
const uint32_t kFirstPrintable = 0x20;
const uint32_t kDeleteCharacter = 0x7F;
const uint32_t kLastC1Control = 0x9F;
const uint32_t kFirstSurrogate = 0xD800;
const uint32_t kFirstLowSurrogate = 0xDC00;
const uint32_t kLastSurrogate = 0xDFFF;
const uint32_t kFirstSupplementary = 0x10000;
const int kSurrogateShift = 10;
const uint32_t kSurrogateLowBits = 0x3FF;

static bool IsExtendedKey(uint8_t vk) {
  return (vk >= kVkFirstNavigation && vk <= kVkLastNavigation) || vk == kVkControl ||
         (vk >= kVkLeftWindows && vk <= kVkApplications);
}

static void QueueEvent(uint8_t vk, uint8_t scanCode, uint16_t unit, uint32_t flags) {
  KeyEvent& event = gPlayer.pendingKeys[gPlayer.pendingKeyCount++];
  event.vk = vk;
  event.scanCode = scanCode;
  event.unit = unit;
  event.flags = flags;
}

// Flushes first when `count` more events would not fit, so one key's events stay in one piece.
static void MakeRoomFor(int count) {
  if (gPlayer.pendingKeyCount + count > kKeyBatchCapacity) FlushKeyEvents();
}

// Queues a key's down and/or up event with its scan code; room must have been made.
static void QueueKey(uint8_t vk, int mode) {
  uint8_t scanCode = uint8_t(PlatformMapVirtualKey(vk, kMapVkToScanCode));
  uint32_t extended = IsExtendedKey(vk) ? kKeyEventExtended : 0;
  if (mode == kKeyPressRelease || mode == kKeyDownOnly) QueueEvent(vk, scanCode, 0, extended);
  if (mode == kKeyPressRelease || mode == kKeyUpOnly) QueueEvent(vk, scanCode, 0, extended | kKeyEventKeyUp);
}

void SendKey(uint8_t vk, int mode) {
  MakeRoomFor(kEventsPerPress);
  QueueKey(vk, mode);
}

// The layout of the window in front, asked once per batch: a batch goes to one window, and a
// command that brings another one forward flushes first.
static KeyboardLayout ReceivingLayout() {
  if (!gPlayer.haveReceivingLayout) {
    gPlayer.receivingLayout = PlatformForegroundKeyboardLayout();
    gPlayer.haveReceivingLayout = true;
  }
  return gPlayer.receivingLayout;
}

// The layout's key, with Shift held around it for the Shift state.
static void TypeLayoutKey(uint8_t vk, bool shifted) {
  MakeRoomFor(shifted ? 2 * kEventsPerPress : kEventsPerPress);
  if (shifted) QueueKey(kVkShift, kKeyDownOnly);
  QueueKey(vk, kKeyPressRelease);
  if (shifted) QueueKey(kVkShift, kKeyUpOnly);
}

static void QueueUnicodeUnit(uint16_t unit) {
  QueueEvent(0, 0, unit, kKeyEventUnicode);
  QueueEvent(0, 0, unit, kKeyEventUnicode | kKeyEventKeyUp);
}

// The character as Unicode key events: one unit, or the two halves of a surrogate pair.
static void TypeUnicodeCharacter(uint32_t codePoint) {
  if (codePoint < kFirstSupplementary) {
    MakeRoomFor(kEventsPerPress);
    QueueUnicodeUnit(uint16_t(codePoint));
    return;
  }
  uint32_t offset = codePoint - kFirstSupplementary;
  MakeRoomFor(kUnitsPerPair * kEventsPerPress);
  QueueUnicodeUnit(uint16_t(kFirstSurrogate + (offset >> kSurrogateShift)));
  QueueUnicodeUnit(uint16_t(kFirstLowSurrogate + (offset & kSurrogateLowBits)));
}

// C0, Delete and C1: the undefined bytes of the code page come out as C1 controls.
static bool IsControlCharacter(uint32_t codePoint) {
  return codePoint < kFirstPrintable || (codePoint >= kDeleteCharacter && codePoint <= kLastC1Control);
}

bool IsTextCharacter(uint32_t codePoint) {
  return codePoint <= kLastCodePoint && (codePoint < kFirstSurrogate || codePoint > kLastSurrogate) &&
         !IsControlCharacter(codePoint);
}

bool TypeCodePoint(uint32_t codePoint) {
  if (codePoint > kLastCodePoint || (codePoint >= kFirstSurrogate && codePoint <= kLastSurrogate)) return false;
  if (codePoint < kFirstSupplementary) {
    uint16_t key = PlatformKeyForUnit(uint16_t(codePoint), ReceivingLayout());
    uint8_t vk = uint8_t(key), shiftState = uint8_t(key >> 8);
    if (vk != kNoKeyCode && (shiftState == kShiftStateNone || shiftState == kShiftStateShift)) {
      TypeLayoutKey(vk, shiftState == kShiftStateShift);
      return true;
    }
    // A control character arriving as a character could act as a shortcut (Ctrl+A selects all).
    if (IsControlCharacter(codePoint)) return false;
  }
  TypeUnicodeCharacter(codePoint);
  return true;
}

// Sharing the input of the window in front resets which keys it reads as down; begun before
// the first key that a wait will watch, the reset can change none of them.
static void ShareFrontInput() {
  if (!gPlayer.sharedInputThread) gPlayer.sharedInputThread = PlatformShareFrontInput();
}

static void StopSharingInput() {
  if (!gPlayer.sharedInputThread) return;
  PlatformStopSharingInput(gPlayer.sharedInputThread);
  gPlayer.sharedInputThread = 0;
}

void FlushKeyEvents() {
  gPlayer.haveReceivingLayout = false;
  if (gPlayer.pendingKeyCount <= 0) return;
  if (gPlayer.playPosition < gPlayer.waitsBefore) ShareFrontInput();
  // What the input stream refuses is lost: the player goes on as if it had been typed.
  PlatformSendKeyEvents(gPlayer.pendingKeys, uint32_t(gPlayer.pendingKeyCount));
  gPlayer.pendingKeyCount = 0;
  gPlayer.keysUnconfirmed = true;
}

void WaitForKeysTaken() {
  FlushKeyEvents();
  if (gPlayer.keysUnconfirmed) {
    gPlayer.keysUnconfirmed = false;
    // Keys sent before sharing began can only be the erase's Backspaces, which a reset of the
    // keys down does not change.
    ShareFrontInput();
    if (gPlayer.sharedInputThread) PlatformWaitForKeysTaken(kKeysTakenTimeoutMs);
  }
  // The command after the wait may bring a window of this program forward.
  StopSharingInput();
}

void EndKeyEvents() {
  FlushKeyEvents();
  StopSharingInput();
}
