// The tilde remap: on the one computer that allows it, and with the two marker words in the
// trigger file, the tilde key (the key left of 1) acts as Alt. While the user holds it the
// program holds a synthetic Alt down, so other keys arrive as Alt combinations and "{alt}"
// hotkeys fire for them.
#pragma once
#include <stdint.h>

const uint8_t kVkTilde = 0xC0;  // the grave accent and tilde key of the US layout

// The remap step, run at the start of a key-poller tick while remap mode is on. Its state is
// the tilde key's entry of the previous key state: 0 idle, 1 holding. Idle, and the tilde key
// down: Backspace (erasing the character the key typed) and Alt down. Holding, and the key up:
// Alt up. Either change ends the tick (returns true) without a scan, so the scan never sees the
// tilde key and it records nothing. Otherwise returns false and the tick goes on.
bool RemapTildeKey();

// Lets the synthetic Alt go while the tilde key stays held, so that an output is not typed as
// Alt combinations. The remap step presses it again once the poller runs and finds the key
// still held. Does nothing when the synthetic Alt is not down.
void ReleaseRemapAlt();
