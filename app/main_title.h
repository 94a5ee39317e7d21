// The main window's title, which shows the trigger file.
#pragma once
#include <windows.h>

// Sets the main window's title to "WordHatch - " and the trigger path (no changed mark).
void SetMainTitleFromPath(HWND window);
