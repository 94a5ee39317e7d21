// Opening a trigger file: File > Open, and the load tried again while the trigger file cannot be
// read. Portable (settings and main-window seams).
#pragma once
#include <stdint.h>

// While the trigger file cannot be read, this timer of the main window tries the load again.
const uint32_t kLoadRetryTimerId = 7781;
const uint32_t kLoadRetryMs = 2000;

// Makes `path` the trigger file: loads it with the key poller stopped and stores it as the next
// run's file. The save prompt has run before, so the editor lets go of the old file's text first:
// the load shows the new file's. A file that does not open changes nothing but the status bar,
// which says why: the file shown, its triggers and its name stay.
void OpenTriggerFile(const char* path);

// After a load with the key poller stopped: watching goes on, unless an output is still under
// way (in a pause, or in a message box's loop), whose end resumes it.
void ResumeWatchUnlessPlaying();
// After a load: while it could not read the file (gTriggers.loadFailed), the load is tried again
// every kLoadRetryMs.
void RetryLoadWhileUnread();

// Timer kLoadRetryTimerId: loads the trigger file again once it opens, at a moment when no
// expansion or output is under way, and stops the timer once a load has read it. A load then
// keeps any text that the user has typed in the editor meanwhile (LoadTriggerFile).
void OnLoadRetryTimer();

// Timer kReloadTimerId (triggers/trigger_reload.h): reloads the trigger files that another
// program changed once they have settled; a reload that could not read the main file is tried
// again as after any load.
void OnReloadTimer();
