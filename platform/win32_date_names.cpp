// Date-name seam over the locale settings of the user.
#include <windows.h>

#include <string.h>

#include "platform/date_names.h"
#include "platform/win32_wide.h"

const int kNameUnits = 96;  // longer than any name the system's locales hold
const int kDaysInWeek = 7;
const int kMonthsInYear = 12;
// The years that the system's dates cover.
const int kFirstSystemYear = 1601, kLastSystemYear = 30827;

// The UTF-8 form of a wide name; 0 and an empty text for none.
static uint32_t Utf8Name(const wchar_t* name, int units, char* out, uint32_t size) {
  if (!size) return 0;
  out[0] = 0;
  if (units <= 0) return 0;
  size_t needed = Win32Utf8FromWide(name, out, size);
  return uint32_t(needed <= size ? needed - 1 : strlen(out));
}

// The system numbers the days from Monday; the seam from Sunday.
static LCTYPE NameType(DateNameKind kind, int index) {
  int fromMonday = (index + kDaysInWeek - 1) % kDaysInWeek;
  switch (kind) {
    case kDayName: return LCTYPE(LOCALE_SDAYNAME1 + fromMonday);
    case kShortDayName: return LCTYPE(LOCALE_SABBREVDAYNAME1 + fromMonday);
    case kMonthName: return LCTYPE(LOCALE_SMONTHNAME1 + index - 1);
    case kShortMonthName: return LCTYPE(LOCALE_SABBREVMONTHNAME1 + index - 1);
    default: return index ? LOCALE_S2359 : LOCALE_S1159;
  }
}

static bool IndexFits(DateNameKind kind, int index) {
  if (kind == kMonthName || kind == kShortMonthName) return index >= 1 && index <= kMonthsInYear;
  if (kind == kTimeMarker) return index == 0 || index == 1;
  return index >= 0 && index < kDaysInWeek;
}

uint32_t PlatformDateName(DateNameKind kind, int index, char* out, uint32_t size) {
  wchar_t name[kNameUnits];
  int units = IndexFits(kind, index) ? GetLocaleInfoW(LOCALE_USER_DEFAULT, NameType(kind, index), name, kNameUnits) : 0;
  return Utf8Name(name, units, out, size);
}

uint32_t PlatformShortDate(LocalDate date, char* out, uint32_t size) {
  SYSTEMTIME when = {};
  when.wYear = WORD(date.year);
  when.wMonth = WORD(date.month);
  when.wDay = WORD(date.day);
  wchar_t text[kNameUnits];
  bool fits = date.year >= kFirstSystemYear && date.year <= kLastSystemYear;
  int units = fits ? GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, text, kNameUnits) : 0;
  return Utf8Name(text, units, out, size);
}
