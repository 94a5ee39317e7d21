// Opening another trigger file. Portable (settings and main-window seams).
#pragma once

// Makes `path` the trigger file: loads it with the key poller stopped and stores it as the next
// run's file. The save prompt has run before, so when the file cannot be read the editor is
// emptied rather than left showing the old file's text, which a save would write into this one.
void OpenTriggerFile(const char* path);

// After a load with the key poller stopped: watching goes on, unless an output is still under
// way (in a pause, or in a message box's loop), whose end resumes it.
void ResumeWatchUnlessPlaying();
