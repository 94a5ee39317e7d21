// The key-event path: where the watcher's key presses come from. Raw input reports every press
// and release of the desktop, in order, as messages to the main window; where the system does not
// grant it, or the tilde remap is on, the key poller looks at the key states every 10 ms instead.
#pragma once
#include <stdint.h>

#include "platform/raw_input.h"

// Own key events that have not come back through raw input after this long are given up on
// (the system drops keys sent to a window of higher integrity).
const uint32_t kEchoWaitTimerId = 7774;
const uint32_t kEchoWaitMs = 250;

// Starts watching, once, after the first load: through raw input when `rawAllowed` and the system
// grants it and the tilde remap is off, else through the key poller. The debug log says which.
void StartKeyWatch(bool rawAllowed);

// Takes the events of one raw-input message, in order. While an expansion or an output is under
// way they wait; an event of the user's also waits until every key this program sent before it
// has come back. Own events are never recorded: each cuts the typed history off, since the
// output they typed stands between what was typed before and after them.
void TakeInputEvents(const InputEvent* events, int count);

// Watching waits, as while an expansion or an output is under way (the poller's timer stops).
void SuspendKeyWatch();

// Watching goes on: the poller's timer runs again, or the events that waited are handled.
void ResumeKeyWatch();

// True while the user holds Shift, Ctrl or Alt, as the events so far say, those that wait included.
bool UserModifiersHeld();

// The keys that the user typed after the trigger of the expansion under way, which the window in
// front received before the erase: when each of them only types where the caret is (and there
// are at most kMaxKeysAfterTrigger), appends their text to `text` (NUL-ended, kEndingTextSize
// bytes), sets *chars to its characters and *lastKey to the last key that typed one, and returns
// true. False, taking none of them, when the erase would be
// wrong with them: they are then handled as typed.
bool TakeKeysAfterTrigger(char* text, int32_t* chars, uint8_t* lastKey);

// The echo wait has run out: own key events still missing are taken as come.
void OnEchoWaitTimer();
