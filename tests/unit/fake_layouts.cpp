// The fake's keyboard layouts: what PlatformKeyForUnit answers for the US, German and French
// layouts.
//
// The German and French answers for ASCII were recorded from VkKeyScanExW under Wine 8 with the
// X keymap set to "de" and "fr" (Wine follows the X layout there, with its own key codes); the
// answers for the characters beyond ASCII are those of the Windows layouts, which Wine does not
// give. Dead keys are no key: a dead key types nothing by itself.
#include <string.h>

#include <map>
#include <string>

#include "common/utf8.h"

#include "platform/keyboard.h"
#include "tests/unit/fake_platform.h"

namespace {

const uint16_t kFirstTabled = 0x20;
const uint16_t kLastTabled = 0x7E;

// Answers for U+0020 to U+007E.
const uint16_t kGermanAscii[] = {
    // "(" and ")" are Shift+8 and Shift+9, as on Windows; Wine's answer there depends on two
    // keypad keys of the X server's map that the harness removes.
    0x0020, 0x0131, 0x0132, 0x00DC, 0x0134, 0x0135, 0x0136, 0x01DC, 0x0138, 0x0139, 0x01DD, 0x00DD,
    0x00BC, 0x00BF, 0x00BE, 0x0137, 0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x01BE, 0x01BC, 0x00E2, 0x0130, 0x01E2, 0x01BA, 0x0651, 0x0141, 0x0142, 0x0143,
    0x0144, 0x0145, 0x0146, 0x0147, 0x0148, 0x0149, 0x014A, 0x014B, 0x014C, 0x014D, 0x014E, 0x014F,
    0x0150, 0x0151, 0x0152, 0x0153, 0x0154, 0x0155, 0x0156, 0x0157, 0x0158, 0x0159, 0x015A, 0x0638,
    0x06BA, 0x0639, 0xFFFF, 0x01BF, 0xFFFF, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, 0x0050, 0x0051, 0x0052, 0x0053,
    0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x0637, 0x06E2, 0x0630, 0x06DD,
};
const uint16_t kFrenchAscii[] = {
    0x0020, 0x00DF, 0x0033, 0x0633, 0x00BA, 0x01BD, 0x0031, 0x0034, 0x0035, 0x00DB, 0x00DC, 0x01BB,
    0x00BC, 0x0036, 0x01BE, 0x01BF, 0x0130, 0x0131, 0x0132, 0x0133, 0x0134, 0x0135, 0x0136, 0x0137,
    0x0138, 0x0139, 0x00BF, 0x00BE, 0x00E2, 0x00BB, 0x01E2, 0x01BC, 0x0630, 0x0141, 0x0142, 0x0143,
    0x0144, 0x0145, 0x0146, 0x0147, 0x0148, 0x0149, 0x014A, 0x014B, 0x014C, 0x014D, 0x014E, 0x014F,
    0x0150, 0x0151, 0x0152, 0x0153, 0x0154, 0x0155, 0x0156, 0x0157, 0x0158, 0x0159, 0x015A, 0x0635,
    0x0638, 0x06DB, 0x0639, 0x0038, 0x0637, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, 0x0050, 0x0051, 0x0052, 0x0053,
    0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x0634, 0x0636, 0x06BB, 0x01C0,
};
static_assert(sizeof kGermanAscii / sizeof kGermanAscii[0] == kLastTabled - kFirstTabled + 1, "one per character");
static_assert(sizeof kFrenchAscii / sizeof kFrenchAscii[0] == kLastTabled - kFirstTabled + 1, "one per character");

// Characters beyond ASCII, as the Windows layouts have them; the rest have no key.
const std::map<uint16_t, uint16_t> kGermanBeyond = {
    {0xE4, 0x00DE}, {0xF6, 0x00C0}, {0xFC, 0x00BA}, {0xDF, 0x00DB}, {0xC4, 0x01DE}, {0xD6, 0x01C0},
    {0xDC, 0x01BA}, {0xA7, 0x0133}, {0xB0, 0x01DC}, {0x20AC, 0x0645}, {0xB5, 0x064D}, {0xB2, 0x0632},
    {0xB3, 0x0633}};
const std::map<uint16_t, uint16_t> kFrenchBeyond = {
    {0xE9, 0x0032}, {0xE8, 0x0037}, {0xE7, 0x0039}, {0xE0, 0x0030}, {0xF9, 0x00C0}, {0xB2, 0x00DE},
    {0xA3, 0x01BA}, {0xB5, 0x01DC}, {0xA7, 0x01DF}, {0xB0, 0x01DB}, {0x20AC, 0x0645}, {0xA4, 0x06BA}};

// Unshifted character of each US key, by virtual-key code.
char UsKeyChar(uint32_t vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return char(vk);
  if (vk >= 0x60 && vk <= 0x69) return char('0' + vk - 0x60);
  switch (vk) {
    case 0x08: case 0x09: case 0x0D: case 0x1B: case 0x20: return char(vk);
    case 0x6A: return '*';
    case 0x6B: return '+';
    case 0x6D: return '-';
    case 0x6E: return '.';
    case 0x6F: return '/';
    case 0xBA: return ';';
    case 0xBB: return '=';
    case 0xBC: return ',';
    case 0xBD: return '-';
    case 0xBE: return '.';
    case 0xBF: return '/';
    case 0xC0: return '`';
    case 0xDB: return '[';
    case 0xDC: return '\\';
    case 0xDD: return ']';
    case 0xDE: return '\'';
    default: return 0;
  }
}

// The US layout of Windows: letters, digits, the Shift pairs and the control keys.
uint16_t UsKeyForUnit(uint16_t unit) {
  static const char kShifted[] = "~!@#$%^&*()_+{}|:\"<>?";
  static const char kPlain[] = "`1234567890-=[]\\;',./";
  if (unit >= 'a' && unit <= 'z') return uint16_t(unit - 32);
  if (unit >= 'A' && unit <= 'Z') return uint16_t(0x100 | unit);
  if (unit == 0 || unit >= 0x80) return kNoLayoutKey;
  for (int i = 0; kShifted[i]; ++i) {
    if (kShifted[i] == char(unit)) return uint16_t(0x100 | UsKeyForUnit(uint16_t((unsigned char)kPlain[i])));
  }
  for (uint32_t vk = 0; vk < 256; ++vk) {
    if (vk >= 0x60 && vk <= 0x6F) continue;  // keypad keys are never the layout's first choice
    if (UsKeyChar(vk) == char(unit)) return uint16_t(vk);
  }
  return kNoLayoutKey;
}

uint16_t TabledKeyForUnit(uint16_t unit, const uint16_t* ascii, const std::map<uint16_t, uint16_t>& beyond) {
  if (unit >= kFirstTabled && unit <= kLastTabled) return ascii[unit - kFirstTabled];
  if (unit < kFirstTabled) return UsKeyForUnit(unit);  // the control keys are the same everywhere
  auto found = beyond.find(unit);
  return found == beyond.end() ? kNoLayoutKey : found->second;
}

}  // namespace

char FakeUsKeyChar(uint32_t vk) { return UsKeyChar(vk); }

KeyboardLayout PlatformForegroundKeyboardLayout() {
  gFake.layoutQueries++;
  return gFake.foregroundLayout;
}

uint16_t PlatformKeyForUnit(uint16_t unit, KeyboardLayout layout) {
  auto scripted = gFake.keyForUnit.find(unit);
  if (scripted != gFake.keyForUnit.end()) return scripted->second;
  if (layout == kFakeLayoutGerman) return TabledKeyForUnit(unit, kGermanAscii, kGermanBeyond);
  if (layout == kFakeLayoutFrench) return TabledKeyForUnit(unit, kFrenchAscii, kFrenchBeyond);
  return UsKeyForUnit(unit);
}


std::string FakeTypedText() {
  static const char kShifted[] = "~!@#$%^&*()_+{}|:\"<>?";
  static const char kPlain[] = "`1234567890-=[]\\;',./";
  std::string text;
  bool shift = false;
  for (const FakeEvent& e : FakeEventsOf(kFakeKeyEvent)) {
    bool up = (e.c & kKeyEventKeyUp) != 0;
    if (e.c & kKeyEventUnicode) {
      char bytes[kMaxUtf8Bytes];
      if (!up) text.append(bytes, size_t(EncodeUtf8(e.b, bytes)));
      continue;
    }
    if (e.a == kVkShift) shift = !up;
    if (up || e.a == kVkShift) continue;
    char c = UsKeyChar(e.a);
    if (c >= 'A' && c <= 'Z' && !shift) c = char(c + 32);
    const char* plain = c && shift ? strchr(kPlain, c) : nullptr;
    if (plain) c = kShifted[plain - kPlain];
    text += c ? c : '?';
  }
  return text;
}
