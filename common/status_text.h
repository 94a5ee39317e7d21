// The status bar of the main window, as every subsystem reports to it.
#pragma once

// Longest formatted status text, its NUL included.
const int kStatusTextSize = 1024;

// Formats `format` with its arguments (printf-style: %d, %s, %02d and the like) into at most
// kStatusTextSize - 1 characters and shows the result in the status bar at once. An absent or
// empty format does nothing; a format whose result is empty clears the bar.
void SetStatusText(const char* format, ...);
