// Keyboard layouts seam over Win32.
#include <windows.h>

#include "platform/keyboard_layout.h"

// ToUnicodeEx's flag that leaves the keyboard state as it is (Windows 10 1607 and later); older
// systems ignore it, so a dead key's accent is flushed there by hand.
static const UINT kLeaveKeyboardState = 0x4;
static const BYTE kKeyDown = 0x80, kKeyToggled = 0x01;
static const int kFlushBufferUnits = 8;

// Each spacing accent of a dead key with the combining mark that composes with a letter.
struct AccentMark {
  uint32_t accent, mark;
};
static const AccentMark kAccentMarks[] = {
    {0x0060, 0x0300}, {0x00B4, 0x0301}, {0x005E, 0x0302}, {0x02C6, 0x0302}, {0x007E, 0x0303},
    {0x02DC, 0x0303}, {0x00AF, 0x0304}, {0x02D8, 0x0306}, {0x02D9, 0x0307}, {0x00A8, 0x0308},
    {0x02DA, 0x030A}, {0x00B0, 0x030A}, {0x02DD, 0x030B}, {0x02C7, 0x030C}, {0x00B8, 0x0327},
    {0x02DB, 0x0328}, {0x0027, 0x0301}, {0x0022, 0x0308},
};

int PlatformKeyText(KeyboardLayout layout, int vk, uint8_t state, uint16_t* out) {
  BYTE keys[256] = {0};
  if (state & kLayoutShift) keys[VK_SHIFT] = keys[VK_LSHIFT] = kKeyDown;
  if (state & kLayoutAltGr) keys[VK_CONTROL] = keys[VK_LCONTROL] = keys[VK_MENU] = keys[VK_RMENU] = kKeyDown;
  if (state & kLayoutCapsLock) keys[VK_CAPITAL] = kKeyToggled;
  HKL hkl = reinterpret_cast<HKL>(uintptr_t(layout));
  UINT scan = MapVirtualKeyExW(UINT(vk), MAPVK_VK_TO_VSC, hkl);
  WCHAR text[kMaxKeyTextUnits] = {0};
  int units = ToUnicodeEx(UINT(vk), scan, keys, text, kMaxKeyTextUnits, kLeaveKeyboardState, hkl);
  if (units < 0) {
    WCHAR flushed[kFlushBufferUnits];
    BYTE none[256] = {0};
    ToUnicodeEx(VK_SPACE, MapVirtualKeyExW(VK_SPACE, MAPVK_VK_TO_VSC, hkl), none, flushed, kFlushBufferUnits,
                kLeaveKeyboardState, hkl);
    out[0] = text[0];
    return kDeadKeyText;
  }
  if (units > kMaxKeyTextUnits) units = kMaxKeyTextUnits;
  for (int i = 0; i < units; ++i) out[i] = text[i];
  return units;
}

uint32_t PlatformComposeDeadKey(uint32_t accent, uint32_t base) {
  if (base == 0 || base > 0xFFFF) return 0;
  for (const AccentMark& pair : kAccentMarks) {
    if (pair.accent != accent) continue;
    WCHAR decomposed[] = {WCHAR(base), WCHAR(pair.mark), 0};
    WCHAR composed[4] = {0};
    int length = FoldStringW(MAP_PRECOMPOSED, decomposed, -1, composed, 4);
    // One character and its NUL: the pair composed into one character.
    return length == 2 ? composed[0] : 0;
  }
  return 0;
}
