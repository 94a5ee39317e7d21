// Keystroke synthesis: key names and characters of an output become queued key events, which
// FlushKeyEvents hands to the system in one piece. A character goes through the key that the
// keyboard layout gives it, with Shift around it as needed, or as Alt with its code on the keypad.
#include "player/keystrokes.h"

#include <stdio.h>

#include "common/state.h"
#include "platform/keyboard.h"
#include "triggers/key_names.h"

// The Alt codes of the punctuation and of the upper half of the code page, typed with a leading
// 0 so that the system reads them in the Windows code page. Letters, digits and control
// characters have none.
const AltCode kAltCodes[kAltCodeEntries + 1] = {
    // ASCII punctuation and symbols: each code stands for the byte of the same value.
    {33, 33}, {34, 34}, {35, 35}, {36, 36}, {37, 37}, {38, 38}, {39, 39},
    {40, 40}, {41, 41}, {42, 42}, {43, 43}, {44, 44}, {45, 45}, {46, 46}, {47, 47},
    {58, 58}, {59, 59}, {60, 60}, {61, 61}, {62, 62}, {63, 63}, {64, 64},
    {91, 91}, {92, 92}, {93, 93}, {94, 94}, {95, 95}, {96, 96},
    {123, 123}, {124, 124}, {125, 125}, {126, 126},
    // The upper half, sign-extended, without 129. Seven codes stand for a space instead of their
    // own byte, which then has no code and is not typed at all.
    {128, -128}, {130, -126}, {131, -125}, {132, -124}, {133, -123}, {134, -122}, {135, -121},
    {136, -120}, {137, -119}, {138, -118}, {139, -117}, {140, -116}, {141, 32}, {142, -114}, {143, 32},
    {144, 32}, {145, -111}, {146, -110}, {147, -109}, {148, -108}, {149, -107}, {150, -106}, {151, -105},
    {152, -104}, {153, -103}, {154, -102}, {155, -101}, {156, -100}, {157, 32}, {158, -98}, {159, -97},
    {160, 32}, {161, -95}, {162, -94}, {163, -93}, {164, -92}, {165, -91}, {166, -90}, {167, -89},
    {168, 32}, {169, -87}, {170, -86}, {171, -85}, {172, -84}, {173, 32}, {174, -82}, {175, -81},
    {176, -80}, {177, -79}, {178, -78}, {179, -77}, {180, -76}, {181, -75}, {182, -74}, {183, -73},
    {184, -72}, {185, -71}, {186, -70}, {187, -69}, {188, -68}, {189, -67}, {190, -66}, {191, -65},
    {192, -64}, {193, -63}, {194, -62}, {195, -61}, {196, -60}, {197, -59}, {198, -58}, {199, -57},
    {200, -56}, {201, -55}, {202, -54}, {203, -53}, {204, -52}, {205, -51}, {206, -50}, {207, -49},
    {208, -48}, {209, -47}, {210, -46}, {211, -45}, {212, -44}, {213, -43}, {214, -42}, {215, -41},
    {216, -40}, {217, -39}, {218, -38}, {219, -37}, {220, -36}, {221, -35}, {222, -34}, {223, -33},
    {224, -32}, {225, -31}, {226, -30}, {227, -29}, {228, -28}, {229, -27}, {230, -26}, {231, -25},
    {232, -24}, {233, -23}, {234, -22}, {235, -21}, {236, -20}, {237, -19}, {238, -18}, {239, -17},
    {240, -16}, {241, -15}, {242, -14}, {243, -13}, {244, -12}, {245, -11}, {246, -10}, {247, -9},
    {248, -8}, {249, -7}, {250, -6}, {251, -5}, {252, -4}, {253, -3}, {254, -2}, {255, -1},
    {0, 0},
};

const int kEventsPerPress = 2;
// An Alt code is Alt down, four keypad digits pressed and released, Alt up: the most events that
// one character ever needs.
const int kAltCodeDigits = 4;
const char kAltCodeFormat[] = "%04d";
const int kAltCodeEvents = 2 + kAltCodeDigits * kEventsPerPress;

// Virtual-key codes sent as extended keys: the navigation block, Control (the right-hand one)
// and the Windows and Application keys.
const uint8_t kVkFirstNavigation = 0x21;  // Page Up
const uint8_t kVkLastNavigation = 0x2E;   // Delete
const uint8_t kVkLeftWindows = 0x5B;
const uint8_t kVkApplications = 0x5D;

// What the keyboard layout answers for a character: no key, and the shift states we look at.
const uint8_t kNoLayoutKey = 0xFF;
const uint8_t kShiftStateNone = 0;
const uint8_t kShiftStateAltGr = 6;  // Control and Alt together

// Bytes from here on always go the Alt-code route, so they arrive in the Windows code page
// whatever the layout of the receiving window.
const unsigned kFirstUpperHalfByte = 128;

const uint8_t kVkKeypad0 = 0x60;
const uint8_t kAltCodeScanCode = 0;  // Alt goes out without a scan code around the keypad digits

static bool IsExtendedKey(uint8_t vk) {
  return (vk >= kVkFirstNavigation && vk <= kVkLastNavigation) || vk == kVkControl ||
         (vk >= kVkLeftWindows && vk <= kVkApplications);
}

static void QueueEvent(uint8_t vk, uint8_t scanCode, uint32_t flags) {
  KeyEvent& event = gPlayer.pendingKeys[gPlayer.pendingKeyCount++];
  event.vk = vk;
  event.scanCode = scanCode;
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
  if (mode == kKeyPressRelease || mode == kKeyDownOnly) QueueEvent(vk, scanCode, extended);
  if (mode == kKeyPressRelease || mode == kKeyUpOnly) QueueEvent(vk, scanCode, extended | kKeyEventKeyUp);
}

void SendKey(uint8_t vk, int mode) {
  MakeRoomFor(kEventsPerPress);
  QueueKey(vk, mode);
}

// The first table entry that stands for byte `c`, or nullptr.
static const AltCode* FindAltCode(char c) {
  int16_t character = static_cast<signed char>(c);
  for (const AltCode* entry = kAltCodes; entry->code != 0; ++entry) {
    if (entry->character == character) return entry;
  }
  return nullptr;
}

// Alt down, the code's four digits on the keypad, Alt up; nothing at all without a table entry.
static void TypeAltCode(char c) {
  const AltCode* entry = FindAltCode(c);
  if (!entry) return;
  char digits[16];
  snprintf(digits, sizeof digits, kAltCodeFormat, entry->code);
  MakeRoomFor(kAltCodeEvents);
  QueueEvent(kVkAlt, kAltCodeScanCode, 0);
  for (const char* digit = digits; *digit; ++digit) {
    QueueKey(uint8_t(kVkKeypad0 + (*digit - '0')), kKeyPressRelease);
  }
  QueueEvent(kVkAlt, kAltCodeScanCode, kKeyEventKeyUp);
}

// The layout's key, with Shift held around it for any shift state: Shift is the only modifier
// this route sends.
static void TypeLayoutKey(uint8_t vk, uint8_t shiftState) {
  bool shifted = shiftState != kShiftStateNone;
  MakeRoomFor(shifted ? 2 * kEventsPerPress : kEventsPerPress);
  if (shifted) QueueKey(kVkShift, kKeyDownOnly);
  QueueKey(vk, kKeyPressRelease);
  if (shifted) QueueKey(kVkShift, kKeyUpOnly);
}

void TypeCharacter(char c) {
  if ((unsigned char)c >= kFirstUpperHalfByte) {
    TypeAltCode(c);
    return;
  }
  uint16_t key = PlatformKeyForChar(c);
  uint8_t vk = uint8_t(key & 0xFF);
  uint8_t shiftState = uint8_t(key >> 8);
  // AltGr characters would need Control and Alt held, which this route never sends.
  if (vk == kNoLayoutKey || shiftState == kNoLayoutKey || shiftState == kShiftStateAltGr) {
    TypeAltCode(c);
  } else {
    TypeLayoutKey(vk, shiftState);
  }
}

void FlushKeyEvents() {
  if (gPlayer.pendingKeyCount <= 0) return;
  // What the input stream refuses is lost: the player goes on as if it had been typed.
  PlatformSendKeyEvents(gPlayer.pendingKeys, uint32_t(gPlayer.pendingKeyCount));
  gPlayer.pendingKeyCount = 0;
}
