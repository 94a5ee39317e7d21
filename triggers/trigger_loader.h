// The trigger loader: reads the trigger file into the trigger table (gTriggers).
#pragma once
#include <stdint.h>

#include "platform/files.h"
#include "triggers/trigger_table.h"

// The start of the status text of a load that could not read the trigger file.
const char kCannotOpenText[] = " * * * WARNING: The trigger file is in use or access is denied!";

// Rebuilds the trigger table from the file at `path`: creates a missing or nearly empty file
// from the default trigger text, reads the file whole, shows it in the editor, sets debug and
// remap mode from the marker words, loads every trigger line that memory has room for, and
// reports " Triggers Loaded: %d %s" in the status bar, with " (out of memory: the rest were not
// loaded)" after the count when the heap ran out part-way, and a warning when the editor cannot
// show the whole file (gTriggers.fileShortfall). The editor keeps its text instead while it holds
// text that the user typed over a file that could not be read (gTriggers.fileShortfall is
// kShortfallUnread and the editor has changed).
// Returns false, having told the user why, when the file could be neither read nor made: the
// table and the editor then stay as they were, and gTriggers.loadFailed tells an unread file.
// A load that read the file notes each file's stamp in gTriggerFiles and watches their folders
// (WatchTriggerFolders).
bool LoadTriggerFile(const char* path);

// As LoadTriggerFile, but the editor keeps its text, whatever it holds, and what a save would
// lose of the file (gTriggers.fileShortfall) stays as it was: the user chose to keep their text
// over the file as another program changed it, or the file shown did not change.
bool LoadTriggerFileKeepingEditorText(const char* path);

// Whether a load could open the file at `path` now: true when it opens, and when nothing is there
// (a load makes it); false with *error telling why not.
bool TriggerFileOpens(const char* path, FileError* error);

// The words that tell the user why a file did not open ("in use by another program", ...).
const char* OpenErrorWords(FileError error);

// Replaces every key name of the key-name table in `text` by the byte of its key code, in place.
// Returns the number of names replaced.
int ReplaceKeyNames(char* text);

// The unshifted character of the key that types `c` on the US layout ("!" gives "1", "a" gives
// "A", the virtual-key code of the letter key). Other characters are returned unchanged.
char UnshiftedKeyChar(char c);

// Takes the option words and rule words out of `text` (a trigger as written), in place.
void RemoveOptionWords(char* text);

// Reads the trigger file at `path`, as UTF-8 whatever it was written in, into a new heap buffer
// behind a line feed, so that every line, the first included, begins after one. Sets *capacity
// to the buffer's size; nullptr when the file cannot be read whole or the buffer cannot be had.
char* ReadTriggerFileAfterLineFeed(const char* path, uint32_t* capacity);

// The size of the file at `path` in bytes, 0 when it cannot be had. An absent or empty path
// names the program itself.
uint32_t GetFileLength(const char* path);

// Reads at most `maxCount` bytes of the file at `path`, from `offset` (from the end when
// negative), into `buffer` and puts a NUL after them; `buffer` must hold maxCount + 1 bytes.
// Returns the number of bytes read, 0 when nothing could be read.
uint32_t ReadFileText(const char* path, int32_t offset, char* buffer, uint32_t maxCount);
