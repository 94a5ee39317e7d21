// Search window seam: the core opens the window that searches every trigger; the window reports
// back through the search's procedures (search/trigger_search.h) and the watcher's
// PlayChosenTrigger.
#pragma once

#include "platform/top_windows.h"

// Opens the search window, always on top, centred on `previous` (the window that was in front)
// within the work area of its monitor, its edit box holding gSearch.lastQuery selected and the
// rows of gSearch.rows below; it has the keyboard focus before it can be found by its title.
// Returns false when the window could not be made.
bool PlatformOpenSearchWindow(WindowHandle previous);
