// Date-name seam: the user's own names of days and months, time markers and short date form,
// from the system's locale settings, in UTF-8.
#pragma once
#include <stdint.h>

#include "platform/clock.h"

enum DateNameKind {
  kDayName,         // index 0 Sunday to 6 Saturday
  kShortDayName,
  kMonthName,       // index 1 January to 12 December
  kShortMonthName,
  kTimeMarker,      // index 0 before noon, 1 after
};

// Writes the name into `out` (at most size - 1 bytes and a NUL) and returns its length; 0, and
// an empty text, when the system has none.
uint32_t PlatformDateName(DateNameKind kind, int index, char* out, uint32_t size);

// The date in the user's short date form, like PlatformDateName; 0 for a date the system cannot
// show (before 1601 or after 30827).
uint32_t PlatformShortDate(LocalDate date, char* out, uint32_t size);
