// Folder watch seam: the system tells the program when something in a folder changes, so that
// nothing has to look at the trigger files on a timer while nothing changes.
#pragma once
#include <stdint.h>

// The folders watched at once at most: one wait of the system takes 64 handles, and the watch's
// own stop signal takes one of them.
const int kMaxWatchedFolders = 63;

// The message that a change in a watched folder posts to the main window (the app range of the
// system's messages); its parameters carry nothing.
const uint32_t kFolderChangedMessage = 0x8000 + 0x31;

// Watches the `count` folders at `folders` (each once; the caller removes repeats; at most
// kMaxWatchedFolders are taken) for files made, removed or renamed in them and for changes of a
// file's size or last write time, not in their subfolders. Each change that the system reports
// posts one kFolderChangedMessage to the main window; several changes close together may come as
// one message, and a message may come for a change of any file in the folder. A watch already
// running is stopped first: its background wait has ended and its handles are closed when this
// returns, and no message is posted for it afterwards. A folder that cannot be watched (missing,
// offline) is left out. `count` 0 stops watching. Returns the number of folders watched.
int PlatformWatchFolders(const char* const* folders, int count);
