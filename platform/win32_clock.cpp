// Clock seam over Win32.
#include <windows.h>

#include "platform/clock.h"

uint32_t PlatformTickCount() { return GetTickCount(); }

void PlatformSleep(uint32_t ms) { Sleep(ms); }

LocalTime PlatformLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalTime{now.wHour, now.wMinute, now.wSecond};
}

void PlatformLocalNow(LocalDate* date, LocalTime* time) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  *date = LocalDate{now.wYear, now.wMonth, now.wDay};
  *time = LocalTime{now.wHour, now.wMinute, now.wSecond};
}
