// Keyboard layouts seam over Win32.
#include <windows.h>

#include "platform/keyboard_layout.h"

// ToUnicodeEx's flag that leaves the keyboard state as it is (Windows 10 1607 and later); older
// systems ignore it, so a dead key's accent is flushed there by hand.
static const UINT kLeaveKeyboardState = 0x4;
static const BYTE kKeyDown = 0x80, kKeyToggled = 0x01;
static const int kFlushBufferUnits = 8;
// The name that Wine gives the key of an X keymap's third level (the X key symbol's name).
static const WCHAR kLevelThreeKeyName[] = L"ISO_Level3_Shift";
static const int kKeyNameUnits = 32;
static const int kKeyNameScanShift = 16;  // GetKeyNameTextW takes the scan code in bits 16 to 23
// VkKeyScanExW's answer: the key in the low byte, the shift state in the high byte (Shift, and
// Ctrl with Alt for AltGr); -1 for a character that no key types.
static const SHORT kScanNoKey = -1, kScanKeyMask = 0x00FF, kScanShift = 0x0100, kScanAltGr = 0x0600;
static const WCHAR kFirstAsciiSign = 0x21, kLastAsciiSign = 0x7E;

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

static HKL ToHkl(KeyboardLayout layout) { return reinterpret_cast<HKL>(uintptr_t(layout)); }

// ToUnicodeEx for the key in `state`, leaving no dead key waiting in this thread.
static int SystemKeyText(HKL hkl, int vk, uint8_t state, WCHAR* text) {
  BYTE keys[256] = {0};
  if (state & kLayoutShift) keys[VK_SHIFT] = keys[VK_LSHIFT] = kKeyDown;
  if (state & kLayoutAltGr) keys[VK_CONTROL] = keys[VK_LCONTROL] = keys[VK_MENU] = keys[VK_RMENU] = kKeyDown;
  if (state & kLayoutCapsLock) keys[VK_CAPITAL] = kKeyToggled;
  UINT scan = MapVirtualKeyExW(UINT(vk), MAPVK_VK_TO_VSC, hkl);
  int units = ToUnicodeEx(UINT(vk), scan, keys, text, kMaxKeyTextUnits, kLeaveKeyboardState, hkl);
  if (units < 0) {
    WCHAR flushed[kFlushBufferUnits];
    BYTE none[256] = {0};
    ToUnicodeEx(VK_SPACE, MapVirtualKeyExW(VK_SPACE, MAPVK_VK_TO_VSC, hkl), none, flushed, kFlushBufferUnits,
                kLeaveKeyboardState, hkl);
  }
  return units;
}

// ---- the AltGr column where the system does not give it --------------------------------------
// Under Wine, ToUnicodeEx reads the AltGr column only for keys typed into this program's own
// windows (it takes the X modifiers of the last key event that this process received) and
// answers nothing with Ctrl and Alt. For the keys of other programs the column then comes from
// VkKeyScanExW, which names the key of each ASCII character with its Ctrl+Alt state; the
// letters beyond ASCII, which it does not map there, are those of the Windows layout that the
// other keys show.

enum AltGrLayout { kOtherLayout, kGermanLayout, kFrenchLayout, kPolishProgrammersLayout };

// The AltGr characters beyond ASCII of a layout, as the Windows layout and the X keymap of the
// same name both have them: the keys (their letters and digits), what each types with AltGr, and
// with Shift and AltGr (nullptr: nothing).
struct AltGrLetters {
  AltGrLayout layout;
  const char* keys;
  const WCHAR* plain;
  const WCHAR* shifted;
};
static const AltGrLetters kAltGrLetters[] = {
    {kGermanLayout, "23EM", L"\u00B2\u00B3\u20AC\u00B5", nullptr},
    {kFrenchLayout, "E", L"\u20AC", nullptr},
    {kPolishProgrammersLayout, "ACELNOSXZ",
     L"\u0105\u0107\u0119\u0142\u0144\u00F3\u015B\u017A\u017C",
     L"\u0104\u0106\u0118\u0141\u0143\u00D3\u015A\u0179\u017B"},
    {kPolishProgrammersLayout, "U", L"\u20AC", nullptr},
};

struct AltGrColumn {
  HKL layout;
  bool built;
  bool fromSystem;       // ToUnicodeEx answers with AltGr: nothing is supplied
  WCHAR text[256][2];    // by key, without and with Shift; 0: nothing
};
static AltGrColumn gAltGrColumn;

static WCHAR KeyChar(HKL hkl, int vk, uint8_t state) {
  WCHAR text[kMaxKeyTextUnits] = {0};
  return SystemKeyText(hkl, vk, state, text) == 1 ? text[0] : 0;
}

static bool HasLevelThreeKey(HKL hkl) {
  for (int vk = 1; vk < 256; ++vk) {
    if (PlatformIsLevelThreeKey(KeyboardLayout(uintptr_t(hkl)), vk)) return true;
  }
  return false;
}

// Which Windows layout the digit keys show (Wine names the letter keys by their letters, where
// they stand on the layout): the section sign on Shift+3 is German, "&" and e acute on 1 and 2
// are French, and the US digits with a key of their own for AltGr are the Polish programmers'
// layout (the X keymaps "de", "fr" and "pl").
static AltGrLayout LayoutShown(HKL hkl) {
  const WCHAR kSection = 0x00A7, kEAcute = 0x00E9;
  if (KeyChar(hkl, '3', kLayoutShift) == kSection) return kGermanLayout;
  if (KeyChar(hkl, '1', 0) == '&' && KeyChar(hkl, '2', 0) == kEAcute) return kFrenchLayout;
  if (KeyChar(hkl, '2', 0) == '2' && KeyChar(hkl, '2', kLayoutShift) == '@' && HasLevelThreeKey(hkl)) {
    return kPolishProgrammersLayout;
  }
  return kOtherLayout;
}

static bool SystemGivesAltGr(HKL hkl) {
  for (int vk = '0'; vk <= 'Z'; ++vk) {
    if (KeyChar(hkl, vk, kLayoutAltGr)) return true;
  }
  return false;
}

static void SupplyAltGrColumn(HKL hkl) {
  for (WCHAR c = kFirstAsciiSign; c <= kLastAsciiSign; ++c) {
    SHORT key = VkKeyScanExW(c, hkl);
    if (key == kScanNoKey || (key & kScanAltGr) != kScanAltGr) continue;
    gAltGrColumn.text[key & kScanKeyMask][(key & kScanShift) ? 1 : 0] = c;
  }
  AltGrLayout shown = LayoutShown(hkl);
  for (const AltGrLetters& letters : kAltGrLetters) {
    if (letters.layout != shown) continue;
    for (int i = 0; letters.keys[i]; ++i) {
      UINT vk = UINT(letters.keys[i]);
      if (!gAltGrColumn.text[vk][0]) gAltGrColumn.text[vk][0] = letters.plain[i];
      if (!gAltGrColumn.text[vk][1] && letters.shifted) gAltGrColumn.text[vk][1] = letters.shifted[i];
    }
  }
}

static const AltGrColumn& AltGrColumnOf(HKL hkl) {
  if (!gAltGrColumn.built || gAltGrColumn.layout != hkl) {
    ZeroMemory(&gAltGrColumn, sizeof gAltGrColumn);
    gAltGrColumn.layout = hkl;
    gAltGrColumn.built = true;
    gAltGrColumn.fromSystem = SystemGivesAltGr(hkl);
    if (!gAltGrColumn.fromSystem) SupplyAltGrColumn(hkl);
  }
  return gAltGrColumn;
}

// The supplied AltGr character of the key: Caps Lock shifts the letters, as the layouts do.
static int SuppliedAltGrText(HKL hkl, int vk, uint8_t state, uint16_t* out) {
  const AltGrColumn& column = AltGrColumnOf(hkl);
  if (column.fromSystem || vk < 0 || vk > kScanKeyMask) return 0;
  bool shifted = (state & kLayoutShift) != 0;
  if ((state & kLayoutCapsLock) && vk >= 'A' && vk <= 'Z') shifted = !shifted;
  out[0] = column.text[vk][shifted ? 1 : 0];
  return out[0] ? 1 : 0;
}

// ---- the seam -------------------------------------------------------------------------------

int PlatformKeyText(KeyboardLayout layout, int vk, uint8_t state, uint16_t* out) {
  HKL hkl = ToHkl(layout);
  WCHAR text[kMaxKeyTextUnits] = {0};
  int units = SystemKeyText(hkl, vk, state, text);
  if (units < 0) {
    out[0] = text[0];
    return kDeadKeyText;
  }
  if (units == 0 && (state & kLayoutAltGr)) return SuppliedAltGrText(hkl, vk, state, out);
  if (units > kMaxKeyTextUnits) units = kMaxKeyTextUnits;
  for (int i = 0; i < units; ++i) out[i] = text[i];
  return units;
}

bool PlatformIsLevelThreeKey(KeyboardLayout layout, int vk) {
  UINT scan = MapVirtualKeyExW(UINT(vk), MAPVK_VK_TO_VSC, ToHkl(layout));
  WCHAR name[kKeyNameUnits] = {0};
  if (scan == 0 || GetKeyNameTextW(LONG(scan << kKeyNameScanShift), name, kKeyNameUnits) <= 0) return false;
  return lstrcmpW(name, kLevelThreeKeyName) == 0;
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
