// Letter-case seam over Win32: one UTF-16 unit at a time. Characters beyond the first 65,536
// keep their case and count as no letter: the system's tables answer for single units only.
#include <windows.h>

#include "platform/text_case.h"

const uint32_t kFirstSupplementary = 0x10000;
const uint32_t kFirstSurrogate = 0xD800, kLastSurrogate = 0xDFFF;
const WORD kLetterOrDigitTypes = C1_ALPHA | C1_DIGIT;
const WORD kMarkTypes = C3_NONSPACING | C3_VOWELMARK;

static bool IsSingleUnit(uint32_t codePoint) {
  return codePoint < kFirstSupplementary && (codePoint < kFirstSurrogate || codePoint > kLastSurrogate);
}

uint32_t PlatformLowerCase(uint32_t codePoint) {
  if (!IsSingleUnit(codePoint)) return codePoint;
  WCHAR unit = WCHAR(codePoint);
  CharLowerBuffW(&unit, 1);
  return unit;
}

uint32_t PlatformUpperCase(uint32_t codePoint) {
  if (!IsSingleUnit(codePoint)) return codePoint;
  WCHAR unit = WCHAR(codePoint);
  CharUpperBuffW(&unit, 1);
  return unit;
}

bool PlatformIsLetterOrDigit(uint32_t codePoint) {
  if (!IsSingleUnit(codePoint)) return false;
  WCHAR unit = WCHAR(codePoint);
  WORD type = 0;
  if (GetStringTypeW(CT_CTYPE1, &unit, 1, &type) && (type & kLetterOrDigitTypes)) return true;
  return GetStringTypeW(CT_CTYPE3, &unit, 1, &type) && (type & kMarkTypes);
}
