// Dates in outputs: the {Date} token's day offset and picture, formatted with the picture letters
// of the system's regional settings, names of days and months in the user's language.
// Portable (clock and date-name seams).
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "platform/clock.h"

// Room for the text of one token; a longer text is cut at a whole character.
const uint32_t kDateTextSize = 1024;

// The date `days` on from `date` (back, for a negative number), in the Gregorian calendar.
LocalDate AddDays(LocalDate date, int32_t days);

// The day of the week of `date`: 0 Sunday to 6 Saturday.
int DayOfWeek(LocalDate date);

// Writes the `length` bytes of `picture` with every picture letter replaced into `out` (at most
// size - 1 bytes and a NUL) and returns the length written. Letters: d dd ddd dddd, M MM MMM
// MMMM, y yy yyyy, h hh H HH m mm s ss t tt; text in single quotes stands as it is, two of them
// give one; any other character stands as it is.
uint32_t FormatDatePicture(const char* picture, size_t length, LocalDate date, LocalTime time, char* out,
                           uint32_t size);

// The text of the token that `token` begins with ("{Date", then "+N" or "-N" days, then a blank
// and the picture up to the "}"), `length` bytes long up to and without its "}" (or up to the end
// of the output, which ends it too), for the local date and time now. No picture, or an empty
// one, gives the user's short date.
uint32_t DateTokenText(const char* token, size_t length, char* out, uint32_t size);
