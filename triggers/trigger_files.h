// The list of trigger files (gTriggerFiles, common/state.h): the main file and the files that it
// includes. The loader lists each file as it reaches one, and notes how its reading went; the
// expansion and the search read each entry's output from its own file.
// Model: file numbers are the places in the list, given in the order the load reached the files,
// so a file's number never changes within one table; TriggerRecord.file holds them.
#pragma once
#include <stdint.h>

#include "common/state.h"

// Begins the list of a new load with the main file at `path` (listed without "." and ".." folders),
// read.
void StartTriggerFileList(const char* path);

// Lists the file at `path`, `depth` includes deep, as read until NoteTriggerFileUnread says
// otherwise, and returns its number. -1 when the list is full: the include is counted in
// gTriggerFiles.unlisted instead.
int32_t ListTriggerFile(const char* path, int depth);

// The number of the listed file whose path names the same file as `path` (SamePath); -1 for none.
int32_t FindTriggerFile(const char* path);

// Notes that listed file `file` could not be read, and why (`error` for kTriggerFileNotOpened).
void NoteTriggerFileUnread(int32_t file, TriggerFileState state, FileError error);

// Notes the stamp of listed file `file` as the load opened it to read (reload on change compares it).
void NoteTriggerFileStamp(int32_t file, const FileStamp& stamp);

// Notes an include line that named listed file `file` again: it is not loaded a second time.
void NoteRepeatedInclude(int32_t file);

int32_t TriggerFileCount();
const TriggerFile& TriggerFileAt(int32_t file);

// The number of listed files that could not be read; *first gets the first of them (-1 for none).
int32_t UnreadTriggerFiles(int32_t* first);

// The path to read the outputs of file `file` from: the trigger path for the main file (the file
// that the editor shows and saves, as it always was), the path listed for an included one.
const char* OutputFilePath(int32_t file);
