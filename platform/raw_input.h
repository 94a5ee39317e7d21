// Raw-input seam: every key and mouse-button event of the desktop, whichever window has the
// focus, as messages to the main window, in the order the input stream carried them. Events that
// this program sent itself come marked, so the watcher never takes them for the user's.
#pragma once
#include <stdint.h>

// One press or release: a virtual key (a mouse button as its virtual key), whether it is a
// mouse button, and whether this program sent it. Left and right Shift, Ctrl and Alt come as
// their own keys (0xA0 to 0xA5). An own key event may carry no key (vk 0: a character sent as such).
struct InputEvent {
  uint8_t vk;
  bool down;
  bool button;
  bool own;
};

// The most events that one raw-input message carries (the buttons of one mouse report).
const int kMaxEventsPerInput = 6;

// Asks for the raw keyboard and mouse input of the whole desktop on the main window. False when
// the system refused: the watcher then polls the key states instead.
bool PlatformStartRawInput();

// Writes the events of the raw-input message whose handle is `input` (the message's lParam) into
// `events` (kMaxEventsPerInput of them) and returns how many; 0 for a mouse movement, a wheel, a
// key event without a key (a character sent as such) and anything unreadable.
int PlatformReadRawInput(uintptr_t input, InputEvent* events);

// Hands every raw-input message that already waits for the main window to its window procedure
// now, in order, so that nothing the user typed before the next key event that this program
// sends is still unseen.
void PlatformDeliverPendingInput();

// How many key events this program has handed to the input stream so far (wrapping): each one
// comes back as one own raw-input event.
uint32_t PlatformOwnKeyEventCount();
