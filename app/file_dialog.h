// The system's file dialogs, as Open and Save As ask for a trigger file.
#pragma once
#include <windows.h>

enum FileDialogMode { kAskToOpen, kAskToSave };

// Room of the name buffer announced to the dialog: a chosen path has at most 255 characters.
const DWORD kFileDialogNameSize = 256;

// The filter list of the trigger file dialogs: text files first, then all files.
extern const char kTriggerFileFilter[];

// Shows the open or save dialog, owned by `owner` (the foreground window when that is not a
// window), starting from the name in `fileName` (a buffer of kFileDialogNameSize bytes or more).
// Returns true with the chosen full path in `fileName`, false with `fileName` emptied.
bool AskFileName(HWND owner, char* fileName, const char* filter, FileDialogMode mode);
