// What one key press does, whichever source saw it: the key poller or the raw input events.
#pragma once

// True for Shift, Ctrl and Alt, on either side or without one, and for a key of its own that
// selects the AltGr column (IsLevelThreeKey).
bool IsModifierKey(int vk);

// Takes the press of virtual key `vk`. Backspace as the first key after a whole-word correction
// takes it back; any other key goes into the typed history (Backspace and clicks act on it, a
// modifier and the sentinel change nothing), and the matcher looks at the result, which may start
// an expansion. Returns true when an expansion or an undo has begun: it resumes watching itself.
bool TakeKeyPress(int vk);

// Takes the release of a key whose press the stream never showed (under Wine, the input method
// keeps the presses of a dead key and the key after it): it may complete a composed character,
// which goes into the history as a key press would. Returns true as TakeKeyPress does.
bool TakeUnseenPressRelease(int vk);
