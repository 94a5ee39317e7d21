// About WordHatch (command 3502) with its web link, and Go to website (command 3503).
#pragma once
#include <windows.h>
#include <stdint.h>

// The timer that adds the link to the about box once the box exists; it runs from just before
// the box opens until the link is added or the box has closed.
const uint32_t kAboutLinkTimerId = 4321;  // started and stopped through the main-window seam
const uint32_t kAboutLinkPeriodMs = 10;

// Shows the about box; returns when the user has closed it.
void OnAboutCommand(HWND window);

// Timer 4321: once this program's about box is open, adds the link to it and stops the timer.
void OnAboutLinkTimer();

// Opens the project's support page in the user's web browser. A failure is not reported.
void OnWebsiteCommand();
