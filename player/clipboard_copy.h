// A copy of everything on the clipboard, taken before a paste borrows it and put back after.
// Portable (clipboard seam); the clipboard must be open around each call.
#pragma once
#include "common/state.h"

// Copies every format on the clipboard into *saved (empty before), in the order the clipboard
// offers them, leaving out the ones the system makes again from another. False, and *saved
// empty, when a format cannot be copied or memory ran out: the clipboard could not come back
// whole.
bool SaveClipboard(SavedClipboard* saved);

// Empties the clipboard and puts every saved format back. False when the system refused any;
// the others are back.
bool RestoreClipboard(const SavedClipboard* saved);

// Frees the copy and leaves *saved empty.
void ForgetSavedClipboard(SavedClipboard* saved);
