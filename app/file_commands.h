// The File commands: Open, Save, Save As, and the save prompt that Close and Open run first.
#pragma once
#include <windows.h>

// Results of the Save and Save As commands, as the WM_COMMAND that runs them returns them.
const LRESULT kSaveDone = 0;
const LRESULT kSaveFailed = 1;     // the file could not be written; nothing was reloaded
const LRESULT kSaveCancelled = 2;  // the Save As dialog was cancelled

// Asks "Save changes?" when the editor has unsaved changes and debug mode is off; Yes saves.
// Returns false when the operation that asked must stop: Cancel, or a save that did not happen.
bool RunSavePrompt(HWND window);

void OnFileOpen(HWND window);
LRESULT OnFileSave(HWND window);
LRESULT OnFileSaveAs(HWND window);
