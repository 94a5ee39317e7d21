// The output player: plays the output in gPlayer.outputBuffer into the focused window, on timer
// 7772 of the main window, and restarts the key poller when the output ends.
#pragma once
#include <stdint.h>

const uint32_t kPlayTimerId = 7772;
const uint32_t kPlayStartDelayMs = 1;  // the first tick comes as soon as the system allows

// Hands the output in gPlayer.outputBuffer to the player: play position 0, timer 7772 in 1 ms.
// The key poller's timer must be stopped; the player starts it again at the end of the output.
// gPlayer.literalOutput, outputCase and endingText say how it types; the end resets them.
void StartPlayer();

// True when `output` is text alone: no command, no key name and no control character, so that
// every character of it is typed as one.
bool IsPlainTextOutput(const char* output);

// One tick of the player, run for WM_TIMER 7772: plays from the play position up to the next
// pause (re-arming its timer) or to the end of the output (freeing the buffer and restarting
// the key poller).
void PlayOutputTick();
