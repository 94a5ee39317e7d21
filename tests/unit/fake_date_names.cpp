// Recording fake of the date-name seam: the names of an English locale, and M/d/yyyy as its
// short date.
#include <stdio.h>
#include <string.h>

#include <string>

#include "platform/date_names.h"

static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
static const char* const kMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                                      "August", "September", "October", "November", "December"};

static uint32_t Give(const std::string& text, char* out, uint32_t size) {
  if (!size) return 0;
  size_t length = text.size() < size - 1 ? text.size() : size - 1;
  memcpy(out, text.data(), length);
  out[length] = 0;
  return uint32_t(length);
}

uint32_t PlatformDateName(DateNameKind kind, int index, char* out, uint32_t size) {
  bool month = kind == kMonthName || kind == kShortMonthName;
  if (kind == kTimeMarker) return Give(index ? "PM" : "AM", out, size);
  if (month ? index < 1 || index > 12 : index < 0 || index > 6) return Give("", out, size);
  std::string name = month ? kMonths[index - 1] : kDays[index];
  return Give(kind == kShortDayName || kind == kShortMonthName ? name.substr(0, 3) : name, out, size);
}

uint32_t PlatformShortDate(LocalDate date, char* out, uint32_t size) {
  char text[32];
  snprintf(text, sizeof text, "%d/%d/%04d", date.month, date.day, date.year);
  return Give(text, out, size);
}
