// The link cursor: the pointing hand shown over links.
#pragma once
#include <windows.h>

// Makes the cursor from the program's picture (link_cursor_shape.h); nullptr on failure.
HCURSOR CreateLinkCursor(HINSTANCE instance);
