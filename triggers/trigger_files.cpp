// The list of trigger files (see trigger_files.h). A fixed array: a load lists a few files, and
// a list that needs no heap can never fail a load half-way.
#include "triggers/trigger_files.h"

#include <string.h>

#include "common/text.h"
#include "triggers/include_paths.h"

// The main file is listed without "." and ".." folders, as every included file is, so that a file
// that includes it again is seen to.
void StartTriggerFileList(const char* path) {
  memset(&gTriggerFiles, 0, sizeof gTriggerFiles);
  gTriggerFiles.firstRepeat = -1;
  ListTriggerFile(path, 0);
  CollapseDotFolders(gTriggerFiles.files[kMainTriggerFile].path);
}

int32_t ListTriggerFile(const char* path, int depth) {
  if (gTriggerFiles.count == kMaxTriggerFiles) {
    ++gTriggerFiles.unlisted;
    return -1;
  }
  TriggerFile& file = gTriggerFiles.files[gTriggerFiles.count];
  CopyTextBounded(file.path, path, sizeof file.path);
  file.depth = uint8_t(depth);
  file.state = kTriggerFileRead;
  file.error = kFileOk;
  return gTriggerFiles.count++;
}

int32_t FindTriggerFile(const char* path) {
  for (int32_t file = 0; file < gTriggerFiles.count; ++file) {
    if (SamePath(gTriggerFiles.files[file].path, path)) return file;
  }
  return -1;
}

void NoteTriggerFileUnread(int32_t file, TriggerFileState state, FileError error) {
  gTriggerFiles.files[file].state = state;
  gTriggerFiles.files[file].error = error;
}

void NoteTriggerFileStamp(int32_t file, const FileStamp& stamp) { gTriggerFiles.files[file].stamp = stamp; }

void NoteRepeatedInclude(int32_t file) {
  if (gTriggerFiles.repeats++ == 0) gTriggerFiles.firstRepeat = file;
}

int32_t TriggerFileCount() { return gTriggerFiles.count; }

const TriggerFile& TriggerFileAt(int32_t file) { return gTriggerFiles.files[file]; }

int32_t UnreadTriggerFiles(int32_t* first) {
  int32_t unread = 0;
  *first = -1;
  for (int32_t file = 0; file < gTriggerFiles.count; ++file) {
    if (gTriggerFiles.files[file].state == kTriggerFileRead) continue;
    if (unread++ == 0) *first = file;
  }
  return unread;
}

const char* OutputFilePath(int32_t file) {
  return file == kMainTriggerFile ? gShell.triggerPath : gTriggerFiles.files[file].path;
}
