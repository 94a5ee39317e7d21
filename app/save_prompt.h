// The save prompt that Close, Open and the tray's Exit run before the editor's text goes away.
#pragma once
#include <windows.h>

// Asks "Save changes?" when the editor has unsaved changes and debug mode is off; Yes saves.
// Returns false when the operation that asked must stop: Cancel, or a save that did not happen.
bool RunSavePrompt(HWND window);
