// Clock seam: elapsed time, blocking waits and the local time of day.
#pragma once
#include <stdint.h>

// Milliseconds since the system started; wraps around after about 49 days.
uint32_t PlatformTickCount();

// Blocks the calling thread for `ms` milliseconds.
void PlatformSleep(uint32_t ms);

// The local time of day.
struct LocalTime { int hour, minute, second; };
LocalTime PlatformLocalTime();

// The local date (month 1 to 12, day 1 to 31) and time of day, read together.
struct LocalDate { int year, month, day; };
void PlatformLocalNow(LocalDate* date, LocalTime* time);
