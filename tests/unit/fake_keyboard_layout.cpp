// The fake's keyboard layouts (see fake_keyboard_layout.h). Each layout is the Windows layout's
// character table for the keys it changes: plain, Shift, AltGr, with its dead keys and the
// keys that Caps Lock shifts; the letter keys type their letter, in the case that Shift and
// Caps Lock give, on every layout.
#include "tests/unit/fake_keyboard_layout.h"

#include <string.h>

#include "common/utf8.h"

static int gQueries = 0;

int FakeKeyTextQueries() { return gQueries; }
void FakeForgetKeyTextQueries() { gQueries = 0; }

// One key of a layout: its texts in UTF-8 ("" types nothing), a leading "!" marks a dead key.
struct FakeKey {
  int vk;
  const char* plain;
  const char* shift;
  const char* altGr;
  bool capsShifts;  // Caps Lock turns this key to its Shift text
};

static const FakeKey kUsKeys[] = {
    {'0', "0", ")", "", false}, {'1', "1", "!", "", false}, {'2', "2", "@", "", false}, {'3', "3", "#", "", false},
    {'4', "4", "$", "", false}, {'5', "5", "%", "", false}, {'6', "6", "^", "", false}, {'7', "7", "&", "", false},
    {'8', "8", "*", "", false}, {'9', "9", "(", "", false}, {0xBA, ";", ":", "", false}, {0xBB, "=", "+", "", false},
    {0xBC, ",", "<", "", false}, {0xBD, "-", "_", "", false}, {0xBE, ".", ">", "", false}, {0xBF, "/", "?", "", false},
    {0xC0, "`", "~", "", false}, {0xDB, "[", "{", "", false}, {0xDC, "\\", "|", "", false}, {0xDD, "]", "}", "", false},
    {0xDE, "'", "\"", "", false}, {0, nullptr, nullptr, nullptr, false},
};

static const FakeKey kGermanKeys[] = {
    {'0', "0", "=", "}", false}, {'1', "1", "!", "", false}, {'2', "2", "\"", "\xC2\xB2", false},
    {'3', "3", "\xC2\xA7", "\xC2\xB3", false}, {'4', "4", "$", "", false}, {'5', "5", "%", "", false},
    {'6', "6", "&", "", false}, {'7', "7", "/", "{", false}, {'8', "8", "(", "[", false}, {'9', "9", ")", "]", false},
    {'Q', "q", "Q", "@", true}, {'E', "e", "E", "\xE2\x82\xAC", true}, {'M', "m", "M", "\xC2\xB5", true},
    {0xBA, "\xC3\xBC", "\xC3\x9C", "", true}, {0xBB, "+", "*", "~", false}, {0xBC, ",", ";", "", false},
    {0xBD, "-", "_", "", false}, {0xBE, ".", ":", "", false}, {0xBF, "#", "'", "", false},
    {0xC0, "\xC3\xB6", "\xC3\x96", "", true}, {0xDB, "\xC3\x9F", "?", "\\", false},
    {0xDC, "!^", "\xC2\xB0", "", false}, {0xDD, "!\xC2\xB4", "!`", "", false},
    {0xDE, "\xC3\xA4", "\xC3\x84", "", true}, {0xE2, "<", ">", "|", false}, {0, nullptr, nullptr, nullptr, false},
};

static const FakeKey kFrenchKeys[] = {
    {'0', "\xC3\xA0", "0", "@", true}, {'1', "&", "1", "", true}, {'2', "\xC3\xA9", "2", "!~", true},
    {'3', "\"", "3", "#", true}, {'4', "'", "4", "{", true}, {'5', "(", "5", "[", true}, {'6', "-", "6", "|", true},
    {'7', "\xC3\xA8", "7", "!`", true}, {'8', "_", "8", "\\", true}, {'9', "\xC3\xA7", "9", "^", true},
    {'E', "e", "E", "\xE2\x82\xAC", true}, {0xBA, "$", "\xC2\xA3", "\xC2\xA4", false},
    {0xBB, "=", "+", "}", false}, {0xBC, ",", "?", "", false}, {0xBE, ";", ".", "", false},
    {0xBF, ":", "/", "", false}, {0xC0, "\xC3\xB9", "%", "", false}, {0xDB, ")", "\xC2\xB0", "]", false},
    {0xDC, "*", "\xC2\xB5", "", false}, {0xDD, "!^", "!\xC2\xA8", "", false}, {0xDE, "\xC2\xB2", "", "", false},
    {0xDF, "!", "\xC2\xA7", "", false}, {0xE2, "<", ">", "", false}, {0, nullptr, nullptr, nullptr, false},
};

// Keys that type the same on every layout, with or without Shift.
static const char* CommonKeyText(int vk) {
  static char digit[2];
  switch (vk) {
    case 0x08: return "\b";
    case 0x09: return "\t";
    case 0x0D: return "\r";
    case 0x1B: return "\x1B";
    case 0x20: return " ";
    case 0x6A: return "*";
    case 0x6B: return "+";
    case 0x6D: return "-";
    case 0x6E: return ".";
    case 0x6F: return "/";
    default:
      if (vk < 0x60 || vk > 0x69) return nullptr;
      digit[0] = char('0' + vk - 0x60);
      digit[1] = 0;
      return digit;
  }
}

static const FakeKey* FindKey(const FakeKey* keys, int vk) {
  for (; keys->plain; ++keys) {
    if (keys->vk == vk) return keys;
  }
  return nullptr;
}

// Writes `utf8` as UTF-16 units; a leading "!" makes it a dead key.
static int Answer(const char* utf8, uint16_t* out) {
  bool dead = utf8[0] == '!' && utf8[1];
  if (dead) ++utf8;
  int count = 0;
  for (size_t left = strlen(utf8); left > 0 && count < kMaxKeyTextUnits;) {
    int length = 0;
    uint32_t codePoint = DecodeUtf8(utf8, left, &length);
    out[count++] = uint16_t(codePoint);  // the tables hold nothing beyond the first 65,536
    utf8 += length;
    left -= size_t(length);
  }
  return dead ? kDeadKeyText : count;
}

int PlatformKeyText(KeyboardLayout layout, int vk, uint8_t state, uint16_t* out) {
  ++gQueries;
  bool shift = state & kLayoutShift, caps = state & kLayoutCapsLock, altGr = state & kLayoutAltGr;
  if (const char* common = CommonKeyText(vk)) return altGr ? 0 : Answer(common, out);
  const FakeKey* keys = layout == kFakeLayoutGerman ? kGermanKeys : layout == kFakeLayoutFrench ? kFrenchKeys : kUsKeys;
  const FakeKey* key = FindKey(keys, vk);
  if (!key && vk >= 'A' && vk <= 'Z') {
    char letter[2] = {char(shift != caps ? vk : vk + ('a' - 'A')), 0};
    return altGr ? 0 : Answer(letter, out);
  }
  if (!key) return 0;
  if (altGr) return Answer(key->altGr, out);
  bool shifted = key->capsShifts ? shift != caps : shift;
  return Answer(shifted ? key->shift : key->plain, out);
}

bool PlatformIsLevelThreeKey(KeyboardLayout, int vk) { return vk != 0 && vk == gFake.levelThreeKey; }

uint32_t PlatformComposeDeadKey(uint32_t accent, uint32_t base) {
  struct Composition { uint32_t accent, base, composed; };
  static const Composition kCompositions[] = {
      {0xB4, 'e', 0xE9}, {0xB4, 'E', 0xC9}, {0xB4, 'a', 0xE1}, {'`', 'e', 0xE8}, {'`', 'a', 0xE0},
      {'^', 'e', 0xEA}, {'^', 'o', 0xF4}, {'^', 'a', 0xE2}, {0xA8, 'u', 0xFC}, {0xA8, 'i', 0xEF},
  };
  for (const Composition& c : kCompositions) {
    if (c.accent == accent && c.base == base) return c.composed;
  }
  return 0;
}
