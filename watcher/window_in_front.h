// The window in front, as the watcher judges triggers against it: which entries may fire there
// (program rules, Suspend), and whether what is typed there is kept at all.
#pragma once

// Looks at the window in front (gWatcher.front): its program's file name is asked only when the
// window or its process changed, and whether nothing may fire there only then or after a load.
// Cheap while the table has no program rules: nothing is asked then.
void LookAtWindowInFront();

// While `out`, a window of this program that takes text (the search window) is in front: keys
// typed there are not kept, and nothing fires.
void KeepKeysOut(bool out);

// Whether keys typed now go into the typed history: not while suspended, nor in a window where
// no entry may fire (as LookAtWindowInFront last saw it), nor while keys are kept out.
bool KeysKeptHere();

// Whether `entry` may fire now: its program rule lets it in the window in front (a rule on
// titles reads the title now), and while suspended only a hotkey that switches Suspend may.
bool EntryMayFireHere(int entry);
