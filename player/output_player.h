// The output player: plays the output in gPlayer.outputBuffer into the focused window, on timer
// 7772 of the main window, and tells its caller when the output has ended, so that watching the
// keys may go on.
#pragma once
#include <stdint.h>

const uint32_t kPlayTimerId = 7772;
const uint32_t kPlayStartDelayMs = 1;  // the first tick comes as soon as the system allows

// Hands the output in gPlayer.outputBuffer to the player: play position 0, timer 7772 in 1 ms.
// Watching the keys must be suspended until PlayOutputTick says that the output has ended.
// gPlayer.literalOutput, outputCase and endingText say how it types; the end resets them.
void StartPlayer();

// True when `output` is text alone: no command, no key name and no control character, so that
// every character of it is typed as one.
bool IsPlainTextOutput(const char* output);

// One tick of the player, run for WM_TIMER 7772: plays from the play position up to the next
// pause (re-arming its timer) or to the end of the output (freeing the buffer). Returns true
// when the output has ended: the caller resumes watching the keys.
bool PlayOutputTick();

// True while an output is under way: begun and not ended, in a pause or waiting for a paste.
bool OutputPlaying();
