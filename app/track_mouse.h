// Track Mouse (command 3404): while it is on, the status bar shows the cursor's position
// relative to the top-left corner of the foreground window's frame, the coordinates that the
// output player's mouse commands take. Off at every start. Portable (mouse, main-window and menu
// seams).
#pragma once
#include <stdint.h>

const uint32_t kTrackMouseTimerId = 7773;
const uint32_t kTrackMousePeriodMs = 50;

// Turns the display on (timer 7773 started) or off (timer stopped, a blank status bar) and sets
// the menu item's check mark to match.
void OnTrackMouseCommand();

// Timer 7773: shows "  x, y" with the cursor's position relative to the foreground window's
// frame, or to the screen when there is no foreground window.
void ShowMousePosition();
