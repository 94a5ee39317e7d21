// The key poller: timer 7771 of the main window, every 10 ms, while no output plays.
#pragma once
#include <stdint.h>

const uint32_t kPollTimerId = 7771;
const uint32_t kPollPeriodMs = 10;

// One tick of the key poller, run for WM_TIMER 7771. Re-arms its own timer on its way out.
void PollKeys();
