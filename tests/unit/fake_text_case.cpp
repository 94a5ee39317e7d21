// The fake's letter case: ASCII, Latin-1, basic Greek and basic Cyrillic, as the system maps
// them, and their letters and digits; everything else has no case and is no letter.
#include "platform/text_case.h"

struct CaseRange {
  uint32_t firstCapital, lastCapital;
  uint32_t smallOffset;  // the small letter of a capital is this far above it
};

static const CaseRange kCaseRanges[] = {
    {0x41, 0x5A, 0x20},    {0xC0, 0xD6, 0x20},    {0xD8, 0xDE, 0x20},  // Latin
    {0x391, 0x3A1, 0x20},  {0x3A3, 0x3AB, 0x20},                         // Greek
    {0x410, 0x42F, 0x20},  {0x400, 0x40F, 0x50},                         // Cyrillic
};

struct LetterRange {
  uint32_t first, last;
};

static const LetterRange kLetterRanges[] = {
    {0x30, 0x39}, {0x41, 0x5A}, {0x61, 0x7A}, {0xC0, 0xD6}, {0xD8, 0xF6}, {0xF8, 0xFF},
    {0x300, 0x36F},  // combining marks
    {0x391, 0x3A9}, {0x3B1, 0x3C9}, {0x400, 0x45F},
};

uint32_t PlatformLowerCase(uint32_t codePoint) {
  for (const CaseRange& range : kCaseRanges) {
    if (codePoint >= range.firstCapital && codePoint <= range.lastCapital) return codePoint + range.smallOffset;
  }
  return codePoint;
}

uint32_t PlatformUpperCase(uint32_t codePoint) {
  for (const CaseRange& range : kCaseRanges) {
    uint32_t small = codePoint - range.smallOffset;
    if (codePoint >= range.smallOffset && small >= range.firstCapital && small <= range.lastCapital) return small;
  }
  return codePoint;
}

bool PlatformIsLetterOrDigit(uint32_t codePoint) {
  for (const LetterRange& range : kLetterRanges) {
    if (codePoint >= range.first && codePoint <= range.last) return true;
  }
  return false;
}
