// Keystroke synthesis: the key names and characters of an output become synthetic key events.
//
// Events are not sent one by one: they are queued in gPlayer.pendingKeys and handed to the
// system in one piece by FlushKeyEvents (or earlier, when the queue is full, never splitting
// the events of one key or character). The system puts none of the user's own typing inside
// one piece, so a run of text arrives whole and in order even while the user types.
// Callers flush before anything that is not a key event and before yielding to the message loop.
#pragma once
#include <stdint.h>

// Queues the events of virtual key `vk` in key mode `mode` (KeyMode of triggers/key_names.h):
// press-and-release, down only or up only; extended keys carry kKeyEventExtended.
void SendKey(uint8_t vk, int mode);

// Queues the events that type the character `codePoint` into the window in front: the key that
// the window's keyboard layout gives it, with Shift around it as needed, when the layout types
// it without other modifiers; else the character itself as a Unicode key event (two for a
// character beyond U+FFFF). A control character without such a key, a surrogate and a value
// past U+10FFFF queue nothing. Returns whether it queued anything.
bool TypeCodePoint(uint32_t codePoint);

// True for a character that is text: a code point that is no surrogate and no control character.
bool IsTextCharacter(uint32_t codePoint);

// Hands every queued key event to the system in one piece and empties the queue. Before the
// output's last command that waits for its keys, the input of the window in front is shared
// first (raw input is off while it is: see PlatformShareFrontInput).
void FlushKeyEvents();

// Flushes, then waits (bounded) until the window in front has taken every key sent since the
// last wait, so that a window brought forward next cannot take them; no wait when none were sent.
// Key events flushed while a play position before gPlayer.waitsBefore is played go out with the
// input of the window in front shared, which the wait needs and which begins before them.
void WaitForKeysTaken();

// Flushes and ends the sharing of the front window's input, at the end of an output.
void EndKeyEvents();
