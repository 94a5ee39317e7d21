// The paste of a long run of plain text: the run is offered on the clipboard, Ctrl+V is sent,
// and the user's clipboard goes back once the window in front has asked for the run and got it
// (or, when no window asks in time, before the player types the run instead). The player's timer
// carries the waits. Portable (clipboard, keyboard and clock seams).
#pragma once
#include <stdint.h>

// How long a window has to ask for the pasted text before the run is typed instead.
const uint32_t kPasteWaitMs = 1000;

// Sends the key events queued so far, then saves the user's clipboard, offers `text` (a heap
// block of `length` bytes of UTF-8, which this takes) in its place and queues Ctrl+V. False when
// the clipboard cannot be opened, holds a format that could not be put back or memory ran out:
// the clipboard is then as it was, and the caller types the run.
bool BeginPaste(char* text, uint32_t length);

// True while a paste begun is not finished.
bool PasteUnderWay();

// What a tick of the player does with the paste under way.
enum PasteOutcome {
  kPasteGoesOn,  // still waiting: the player looks again in *waitMs
  kPastePasted,  // the window took the run, and the user's clipboard is back
  kPasteToType,  // no window took it: the user's clipboard is back, and the run is to be typed
};
PasteOutcome TakePasteOutcome(uint32_t* waitMs);

// The system asks for the offered text (a window reads it): hands it over, unless the reader is
// surely not the window in front (then the paste is waited for still).
void RenderPastedText();

// Another program emptied the clipboard while this program held it: what it put there stays.
void OnClipboardTaken();

// At the end of the run: puts the user's clipboard back if a paste still holds it.
void EndPasteAtExit();
