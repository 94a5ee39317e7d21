// The start of an expansion: erase what was typed, read the trigger's output from the file on
// disk, and hand it to the output player.
#pragma once
#include <stdint.h>

// Starts the expansion of trigger table entry `entry`, fired by key `pressedKey`. Ends the key
// poller's tick: either the output player runs, or the poller's timer is set again. An output
// that asks for fields opens the fill-in form after the erase and waits for its answer.
void StartExpansion(int entry, uint8_t pressedKey);

// Plays the output of entry `entry`, chosen from the search window, into the window in front as
// if it had fired, but with nothing to erase. Does nothing while an output plays. Ends as
// StartExpansion does: the caller's timers resume watching when the output has ended.
void PlayChosenTrigger(int entry);

// The fill-in form was accepted: its output plays into the window in front with the answers in
// place. Does nothing while an output plays.
void PlayAcceptedForm();

// The fill-in form was cancelled: what the erase took is typed back as it was typed, and nothing
// of the output. Does nothing while an output plays.
void TypeBackCancelledForm();

// Takes back the whole-word expansion that gWatcher.undoArmed says the user's Backspace has
// just followed: erases its output and types what the user had typed, through the output
// player, and puts the history back as it was before the ending character. The entry does not
// fire at the next key. Ends the key poller's tick as StartExpansion does.
void UndoExpansion();
