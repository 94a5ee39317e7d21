// The key-event path: where the watcher's key presses come from. Raw input reports every press
// and release of the desktop, in order, as messages to the main window; where the system does not
// grant it, or the tilde remap is on, the key poller looks at the key states every 10 ms instead.
//
// The model, for raw input:
// - Every event goes through one queue and is taken in order. It waits there while watching is
//   suspended (an expansion, an output or a load is under way) and while keys that this program
//   sent before it have not come back through raw input yet: the history then sees the user's
//   keys and the program's own in the order the window in front received them.
// - Two counters wrap: ownKeysSeen (own key events that came back) and ownKeysHandled (those of
//   them taken from the queue), each against PlatformOwnKeyEventCount (own key events sent while
//   raw input was on). They are compared only as signed differences.
// - An own event cuts the history off. A history set aside (the keys typed after a trigger, or
//   what an undo gives back) replaces the history once every own key sent is handled; with
//   nothing of it still to come back, that is when watching resumes.
// - Only TakeInputEvents, ResumeKeyWatch and OnEchoWaitTimer take events; taking one may start an
//   expansion, which suspends watching, so the rest wait in the queue. Nothing re-enters: the
//   expansion's own wait reads new messages into the queue and takes none of them.
// - The modifiers held are those of the stream, checked against the system's key state where a
//   release may never come (see UserModifiersHeld).
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

// Watching goes on: the poller's timer runs again, or a history set aside comes back when its
// keys are all back and the events that waited are handled. The caller makes sure that no
// output plays (its own keys would be taken for the user's).
void ResumeKeyWatch();

// True while the user holds Shift, Ctrl, Alt or a Windows key, as the events so far say, those
// that wait included. A modifier with no event for kStuckModifierMs that the system reports up
// is taken as let go: its release went where raw input does not see (a secure desktop, a window
// of higher integrity, raw input paused), and the stream would hold it down for good.
bool UserModifiersHeld();

// True while the user holds Ctrl, Alt or a Windows key, as the events taken so far say: a key
// pressed now is a shortcut of the window in front, not typing.
bool ShortcutModifiersHeld();

// The keys that the user typed after the trigger of the expansion under way, which the window in
// front received before the erase: when each of them only types where the caret is (and there
// are at most kMaxKeysAfterTrigger), appends their text to `text` (NUL-ended, kEndingTextSize
// bytes), sets *chars to its characters and *lastKey to the last key that typed one, and returns
// true. False, taking none of them, when the erase would be
// wrong with them: they are then handled as typed.
bool TakeKeysAfterTrigger(char* text, int32_t* chars, uint8_t* lastKey);

// The echo wait has run out: own key events still missing are taken as come.
void OnEchoWaitTimer();
