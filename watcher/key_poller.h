// The key poller: timer 7771 of the main window, every 10 ms, while no output plays. It sees
// what the user types in any window by asking for the state of every virtual key, records what each
// new key press types on the layout of the window in front in the typed history (newest first) and hands it to the matcher.
#pragma once
#include <stdint.h>

const uint32_t kPollTimerId = 7771;
const uint32_t kPollPeriodMs = 10;

// How long after the last input event key states may still change. Under Wine a key shows down
// up to about 60 ms after its event; this leaves ample room above that.
const uint32_t kInputSettleMs = 250;
// The longest time the poller goes without a full scan, whatever the last-input time says.
const uint32_t kLongestScanGapMs = 1000;

// One tick of the key poller, run for WM_TIMER 7771. A tick that scans stops its timer first and
// sets it again on its way out, except when it starts an expansion (the output player restarts
// it); a tick that skips the scan leaves the running timer alone.
void PollKeys();

// Loads the trigger file at `path` afresh (LoadTriggerFile) after a reset of everything the
// watcher holds: held Ctrl, Shift and Alt are let go, the key states and the typed history are
// cleared, the layout is read anew, and no undo waits. Returns what the load returns.
bool ReloadTriggerFile(const char* path);
