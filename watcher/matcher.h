// Trigger matching: which entry of the trigger table, if any, the key just pressed completes.
#pragma once
#include <stdint.h>

// Returns the first entry of the trigger table in file order that matches, or -1; the index keeps
// this to a few entries whatever the table's size. An
// abbreviation matches when its stored trigger equals the newest bytes of the typed history
// over its whole length; a hotkey when its key is `pressedKey` and exactly its modifiers are
// held (the poller's Shift, Ctrl and Alt entries). Only an entry that may fire in the window in
// front counts (EntryMayFireHere): a variant further down the file may fire there instead.
int FindMatchingTrigger(uint8_t pressedKey);
