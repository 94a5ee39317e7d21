// Finding a window by its title and bringing it to the front: the "WINDOW: " command of the
// output language, and the pick list's first try for a chosen item.
#pragma once
#include <stdint.h>

#include "platform/top_windows.h"

// The longest title text that "WINDOW: " takes; a window's title is compared on as many
// characters.
const int32_t kWindowArgumentLimit = 62;
// How long a window may take to tell its title before the search passes it by.
const uint32_t kTitleQueryTimeoutMs = 50;

// "WINDOW: ": brings the window that FindWindowByTitle finds to the front. When there is none
// (an empty title names none) it tells the user ("Window not found", the title as the caption)
// and returns false.
bool WindowCommand(const char* title);

// The window titled exactly `title`; else, walking down the z-order from the foreground window,
// the first whose title equals it, then the first whose title begins with it, then the first
// whose title contains it (letter case ignored in the last two). nullptr when none matches.
// Windows that do not answer their title query in time are passed by.
WindowHandle FindWindowByTitle(const char* title);
