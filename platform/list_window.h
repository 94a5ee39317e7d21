// Pick list window seam: the core opens the list's window; the window reports back through the
// pick list's procedures (picklist/pick_list.h).
#pragma once
#include <stdint.h>

// Screen placement of a window's frame.
struct ListPlacement {
  int32_t left, top, width, height;
};

// Opens a pick list window at `placement`, owned by the main window, and paints it at once.
// Returns at once; false when the window could not be made.
bool PlatformOpenListWindow(const ListPlacement& placement);
