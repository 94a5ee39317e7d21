// Keystroke synthesis: the key names and characters of an output become synthetic key events.
//
// Events are not sent one by one: they are queued in gPlayer.pendingKeys and handed to the
// system in one piece by FlushKeyEvents (or earlier, when the queue is full, never splitting
// the events of one key or character). The system puts none of the user's own typing inside
// one piece, so a run of text arrives whole and in order even while the user types.
// Callers flush before anything that is not a key event and before yielding to the message loop.
#pragma once
#include <stdint.h>

// One entry of the Alt-code table: the decimal code typed on the keypad and the byte it stands
// for, sign-extended (the byte 0xE9 is -23). The table ends at an entry whose code is 0.
struct AltCode {
  int16_t code;
  int16_t character;
};
const int kAltCodeEntries = 159;
extern const AltCode kAltCodes[kAltCodeEntries + 1];

// Queues the events of virtual key `vk` in key mode `mode` (KeyMode of triggers/key_names.h):
// press-and-release, down only or up only; extended keys carry kKeyEventExtended.
void SendKey(uint8_t vk, int mode);

// Queues the events that type byte `c` (1 to 255): its layout key with Shift around it as
// needed, or Alt with the four keypad digits of its Alt code; nothing for a byte that has
// neither.
void TypeCharacter(char c);

// Hands every queued key event to the system in one piece and empties the queue.
void FlushKeyEvents();
