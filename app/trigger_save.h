// Writing the trigger file from the editor's text so that a failure loses neither the file on
// disk nor the text: the text goes to a temporary file beside the trigger file first, which then
// replaces the trigger file in one step. Portable (files seam).
#pragma once
#include <stdint.h>

#include "common/state.h"

// Shown once, by the save that turned a file in the ANSI code page into UTF-8.
const char kSavedAsUtf8Text[] = " * * * Saved as UTF-8: the file now holds characters that its code page cannot.";

// Writes `count` bytes at `offset` of the file at `path` (from the end of the file when the
// offset is negative), creating the file when it does not exist; other bytes of an existing file
// are left as they are. Returns the number of bytes written, 0 when the file could not be opened.
uint32_t WriteFileAt(const char* path, int32_t offset, const void* buffer, uint32_t count);

// The temporary file that a save writes first: the trigger path with ".saving" appended. Returns
// false, with `out` empty, when that would exceed 259 characters.
bool MakeSaveTempPath(const char* path, char out[kPathCapacity]);

// Makes the file at `path` hold exactly the `count` bytes of `text` (no NUL, no byte-order mark).
// Returns false when that failed; the file at `path` then is as it was and no temporary file is
// left behind.
bool SaveTextAsFile(const char* path, const char* text, uint32_t count);

// Asks the user, naming `path`, before a save writes the editor's text over a file of which the
// editor does not hold all (gTriggers.fileShortfall): one that could not be read, or one with a
// NUL character or bytes that are no text. Returns true when the save may go on: nothing would
// be lost, or the user answered Yes.
bool MaySaveOverTriggerFile(const char* path);

// Saves the editor's text as the trigger file at `path`, in the encoding the loaded file was
// read in (gTriggers.fileEncoding): ANSI text that the code page cannot hold is saved as UTF-8
// with the byte-order mark instead. Then the editor lacks nothing of the file
// (gTriggers.fileShortfall), and the triggers are reloaded from it; after a change to UTF-8 the
// status bar says so. Returns false, with nothing reloaded and the file on disk as it was, when
// the text could not be read or written. Asks nothing: MaySaveOverTriggerFile asks first.
bool SaveAndReloadTriggerFile(const char* path);
