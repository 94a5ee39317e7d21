// Dates in outputs (see date_text.h). Days are counted from 1970-01-01 in the Gregorian calendar
// carried back, by eras of 400 years that repeat exactly.
#include "player/date_text.h"

#include <string.h>

#include "common/text.h"
#include "common/utf8.h"
#include "platform/date_names.h"

const int32_t kDaysPerEra = 146097;       // 400 years
const int32_t kYearsPerEra = 400;
const int32_t kEraDayOfEpoch = 719468;    // 1970-01-01 counted from 0000-03-01
const int32_t kDaysPerYear = 365;
const int32_t kYearsPerLeapYear = 4;
const int32_t kDaysPerFourYears = 1460;   // the leap day left out
const int32_t kDaysPerCentury = 36524;
const int kDaysInWeek = 7;
const int32_t kEpochWeekday = 4;          // 1970-01-01 was a Thursday
// Years that start in March, so that the leap day ends the year: month 0 is March.
const int kMonthsBeforeMarch = 2, kMonthsFromMarch = 10;
const int kMonthDaysNumerator = 153, kMonthDaysDenominator = 5;
// An offset is bounded so that every date stays in years 1 to 9999 or so of the arithmetic.
const int32_t kMostOffsetDays = 700000;
const size_t kMostOffsetDigits = 7;
const int kTwoDigits = 2, kFourDigits = 4, kHundred = 100, kHoursOnClockFace = 12;
const char kQuote = '\'';
const char kTokenWord[] = "{Date";
const char kPictureSeparator = ' ';

static int32_t DaysFromCivil(LocalDate date) {
  int32_t year = date.year - (date.month <= kMonthsBeforeMarch ? 1 : 0);
  int32_t era = (year >= 0 ? year : year - (kYearsPerEra - 1)) / kYearsPerEra;
  int32_t yearOfEra = year - era * kYearsPerEra;
  int32_t marchMonth = date.month > kMonthsBeforeMarch ? date.month - (kMonthsBeforeMarch + 1) : date.month + (kMonthsFromMarch - 1);
  int32_t dayOfYear = (kMonthDaysNumerator * marchMonth + 2) / kMonthDaysDenominator + date.day - 1;
  int32_t dayOfEra = yearOfEra * kDaysPerYear + yearOfEra / kYearsPerLeapYear - yearOfEra / kHundred + dayOfYear;
  return era * kDaysPerEra + dayOfEra - kEraDayOfEpoch;
}

static LocalDate CivilFromDays(int32_t days) {
  days += kEraDayOfEpoch;
  int32_t era = (days >= 0 ? days : days - (kDaysPerEra - 1)) / kDaysPerEra;
  int32_t dayOfEra = days - era * kDaysPerEra;
  int32_t yearOfEra = (dayOfEra - dayOfEra / kDaysPerFourYears + dayOfEra / kDaysPerCentury - dayOfEra / (kDaysPerEra - 1)) / kDaysPerYear;
  int32_t dayOfYear = dayOfEra - (kDaysPerYear * yearOfEra + yearOfEra / kYearsPerLeapYear - yearOfEra / kHundred);
  int32_t marchMonth = (kMonthDaysDenominator * dayOfYear + 2) / kMonthDaysNumerator;
  int day = int(dayOfYear - (kMonthDaysNumerator * marchMonth + 2) / kMonthDaysDenominator + 1);
  int month = int(marchMonth < kMonthsFromMarch ? marchMonth + (kMonthsBeforeMarch + 1) : marchMonth - (kMonthsFromMarch - 1));
  int year = int(yearOfEra + era * kYearsPerEra + (month <= kMonthsBeforeMarch ? 1 : 0));
  return LocalDate{year, month, day};
}

LocalDate AddDays(LocalDate date, int32_t days) { return CivilFromDays(DaysFromCivil(date) + days); }

int DayOfWeek(LocalDate date) {
  int32_t days = DaysFromCivil(date) + kEpochWeekday;
  return int(((days % kDaysInWeek) + kDaysInWeek) % kDaysInWeek);
}

// ---- the picture -------------------------------------------------------------------------------

// The text being written: never past its room, and never a part of a character.
struct Writer {
  char* out;
  uint32_t size, used;
};

static void Append(Writer* w, const char* text, size_t length) {
  if (w->used + length >= w->size) return;
  memcpy(w->out + w->used, text, length);
  w->used += uint32_t(length);
  w->out[w->used] = 0;
}

// `value` in decimal, with zeros before it up to `digits` digits.
static void AppendNumber(Writer* w, int32_t value, int digits) {
  char text[kIntTextSize];
  IntToText(value, text);
  for (int missing = digits - int(strlen(text)); missing > 0; --missing) Append(w, "0", 1);
  Append(w, text, strlen(text));
}

static void AppendName(Writer* w, DateNameKind kind, int index, bool firstCharacterOnly) {
  char name[kDateTextSize];
  uint32_t length = PlatformDateName(kind, index, name, sizeof name);
  if (firstCharacterOnly && length) length = uint32_t(Utf8SequenceLength(name, length));
  Append(w, name, length);
}

// One picture letter written `count` times in a row.
static void AppendField(Writer* w, char letter, size_t count, LocalDate date, LocalTime time) {
  int digits = count >= 2 ? kTwoDigits : 1;
  switch (letter) {
    case 'd':
      if (count <= 2) AppendNumber(w, date.day, digits);
      else AppendName(w, count == 3 ? kShortDayName : kDayName, DayOfWeek(date), false);
      return;
    case 'M':
      if (count <= 2) AppendNumber(w, date.month, digits);
      else AppendName(w, count == 3 ? kShortMonthName : kMonthName, date.month, false);
      return;
    case 'y':
      if (count <= 2) AppendNumber(w, date.year % kHundred, digits);
      else AppendNumber(w, date.year, kFourDigits);
      return;
    case 'h': {
      int hour = time.hour % kHoursOnClockFace;
      AppendNumber(w, hour ? hour : kHoursOnClockFace, digits);
      return;
    }
    case 'H': AppendNumber(w, time.hour, digits); return;
    case 'm': AppendNumber(w, time.minute, digits); return;
    case 's': AppendNumber(w, time.second, digits); return;
    default: AppendName(w, kTimeMarker, time.hour >= kHoursOnClockFace ? 1 : 0, count == 1); return;  // 't'
  }
}

static bool IsPictureLetter(char c) { return c && strchr("dMyhHmst", c); }

// Text in quotes, from after the opening quote; returns the position after the closing one.
static size_t AppendQuoted(Writer* w, const char* picture, size_t length, size_t at) {
  while (at < length) {
    if (picture[at] == kQuote) {
      if (at + 1 < length && picture[at + 1] == kQuote) {
        Append(w, &kQuote, 1);
        at += 2;
        continue;
      }
      return at + 1;
    }
    size_t n = size_t(Utf8SequenceLength(picture + at, length - at));
    Append(w, picture + at, n);
    at += n;
  }
  return at;
}

uint32_t FormatDatePicture(const char* picture, size_t length, LocalDate date, LocalTime time, char* out,
                           uint32_t size) {
  Writer w = {out, size, 0};
  if (size) out[0] = 0;
  for (size_t at = 0; at < length;) {
    char c = picture[at];
    if (c == kQuote && at + 1 < length && picture[at + 1] == kQuote) {
      Append(&w, &kQuote, 1);
      at += 2;
    } else if (c == kQuote) {
      at = AppendQuoted(&w, picture, length, at + 1);
    } else if (IsPictureLetter(c)) {
      size_t count = 1;
      while (at + count < length && picture[at + count] == c) ++count;
      AppendField(&w, c, count, date, time);
      at += count;
    } else {
      size_t n = size_t(Utf8SequenceLength(picture + at, length - at));
      Append(&w, picture + at, n);
      at += n;
    }
  }
  return w.used;
}

// ---- the token ---------------------------------------------------------------------------------

// The "+N" or "-N" at *at, moving past it; 0 when there is none.
static int32_t ReadOffset(const char* token, size_t length, size_t* at) {
  if (*at >= length || (token[*at] != '+' && token[*at] != '-')) return 0;
  bool back = token[(*at)++] == '-';
  size_t digits = 0;
  while (*at + digits < length && token[*at + digits] >= '0' && token[*at + digits] <= '9') ++digits;
  int32_t days = TextToIntBounded(token + *at, digits < kMostOffsetDigits ? digits : kMostOffsetDigits);
  *at += digits;
  if (days > kMostOffsetDays) days = kMostOffsetDays;
  return back ? -days : days;
}

uint32_t DateTokenText(const char* token, size_t length, char* out, uint32_t size) {
  size_t at = strlen(kTokenWord) < length ? strlen(kTokenWord) : length;
  int32_t offset = ReadOffset(token, length, &at);
  if (at < length && token[at] == kPictureSeparator) ++at;
  LocalDate today;
  LocalTime now;
  PlatformLocalNow(&today, &now);
  LocalDate date = AddDays(today, offset);
  if (at >= length) return PlatformShortDate(date, out, size);
  return FormatDatePicture(token + at, length - at, date, now, out, size);
}
