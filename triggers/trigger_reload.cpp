// Reload on change (see trigger_reload.h).
#include "triggers/trigger_reload.h"

#include <stdio.h>
#include <string.h>

#include "common/state.h"
#include "common/status_text.h"
#include "common/text.h"
#include "platform/files.h"
#include "platform/folder_watch.h"
#include "platform/ui.h"
#include "triggers/include_paths.h"
#include "triggers/trigger_files.h"
#include "triggers/trigger_loader.h"

static const char kMissingFormat[] =
    " * * * WARNING: A trigger file is missing: %s. Its triggers stay loaded until it comes back.";
static const char kQuestionCaption[] = "WordHatch";
static const char kChangedQuestionFormat[] =
    "The trigger file\n\n%s\n\nwas changed by another program, and the editor holds changes that are not "
    "saved.\n\nYes: show the file as it is now, and lose your changes.\nNo: keep your changes in the editor; "
    "saving writes them over the file.";

// The stamps of every listed file, by file number.
typedef FileStamp FileStamps[kMaxTriggerFiles];

static bool SameStamp(const FileStamp& a, const FileStamp& b) {
  return a.present == b.present && a.size == b.size && a.writeTime == b.writeTime;
}

// Whether listed file `file` is watched: its path is whole, and a load reads it when it can.
static bool Watched(int32_t file) {
  uint8_t state = TriggerFileAt(file).state;
  return state != kTriggerFilePathTooLong && state != kTriggerFileTooDeep;
}

static bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Whether the `length` bytes of `path` are a root: "\", "C:", or a network path's "\\server\share".
static bool IsRoot(const char* path, size_t length) {
  if (length <= 1 || (length == 2 && path[1] == ':')) return true;
  if (!IsSeparator(path[0]) || !IsSeparator(path[1])) return false;
  int separators = 0;
  for (size_t at = 2; at < length; ++at) separators += IsSeparator(path[at]) ? 1 : 0;
  return separators == 1;
}

// Writes the folder that holds the file at `path` into `folder` (kPathCapacity bytes): the path
// before its last separator, that separator kept for a root, which the system names only so;
// "." for a path without folder.
static void FolderOfFile(const char* path, char* folder) {
  const char* last = nullptr;
  for (const char* at = path; *at; ++at) {
    if (IsSeparator(*at)) last = at;
  }
  if (!last) {
    CopyTextBounded(folder, ".", kPathCapacity);
    return;
  }
  size_t length = size_t(last - path);
  if (IsRoot(path, length)) ++length;
  CopyTextBounded(folder, path, length + 1);
}

// Lists the folders of the watched files into `folders`, each once; returns their number.
static int ListWatchedFolders(char folders[kMaxWatchedFolders][kPathCapacity]) {
  int count = 0;
  for (int32_t file = 0; file < TriggerFileCount() && count < kMaxWatchedFolders; ++file) {
    if (!Watched(file)) continue;
    FolderOfFile(TriggerFileAt(file).path, folders[count]);
    bool listed = false;
    for (int i = 0; i < count && !listed; ++i) listed = SamePath(folders[i], folders[count]);
    if (!listed) ++count;
  }
  return count;
}

// The stamps of the listed files now; an unwatched file's stays as its load noted it.
static void LookAtTriggerFiles(FileStamps now) {
  for (int32_t file = 0; file < TriggerFileCount(); ++file) {
    now[file] = Watched(file) ? PlatformFileStamp(TriggerFileAt(file).path) : TriggerFileAt(file).stamp;
  }
}

static bool ChangedSinceLoad(const FileStamps now, int32_t file) {
  return !SameStamp(now[file], TriggerFileAt(file).stamp);
}

static bool AnyChangedSinceLoad(const FileStamps now) {
  for (int32_t file = 0; file < TriggerFileCount(); ++file) {
    if (ChangedSinceLoad(now, file)) return true;
  }
  return false;
}

// The first file that the last load read and that is gone now; -1 for none.
static int32_t MissingFile(const FileStamps now) {
  for (int32_t file = 0; file < TriggerFileCount(); ++file) {
    const TriggerFile& listed = TriggerFileAt(file);
    if (listed.state == kTriggerFileRead && listed.stamp.present && !now[file].present) return file;
  }
  return -1;
}

// Whether a changed file may be half-written yet: it moved since the last look, or its writer
// holds it open.
static bool StillChanging(const FileStamps now) {
  for (int32_t file = 0; file < TriggerFileCount(); ++file) {
    if (!ChangedSinceLoad(now, file) || !now[file].present) continue;
    if (!SameStamp(now[file], gTriggerWatch.looked[file])) return true;
    if (PlatformFileHeldForWriting(TriggerFileAt(file).path)) return true;
  }
  return false;
}

// The missing-file warning stands until the next load replaces the status bar's text.
static bool MissingShown() { return gTriggerWatch.missingShown && gTriggerWatch.missingAtLoad == gTriggers.loadCount; }

static void ShowMissingFile(int32_t file) {
  SetStatusText(kMissingFormat, TriggerFileAt(file).path);
  gTriggerWatch.missingShown = true;
  gTriggerWatch.missingAtLoad = gTriggers.loadCount;
}

static void StartReloadTimer(uint32_t ms) { PlatformStartTimer(kReloadTimerId, ms); }

// Whether listed file `file` was not read by the last load because another program held it.
static bool HeldAtLoad(int32_t file) {
  const TriggerFile& listed = TriggerFileAt(file);
  return listed.state == kTriggerFileNotOpened && listed.error == kFileInUse;
}

void LookAgainAtHeldFiles() {
  for (int32_t file = 0; file < TriggerFileCount(); ++file) {
    if (!HeldAtLoad(file)) continue;
    StartReloadTimer(kHeldLookAgainMs);
    return;
  }
}

void WatchTriggerFolders() {
  static char folders[kMaxWatchedFolders][kPathCapacity];  // the main thread alone watches
  int count = ListWatchedFolders(folders);
  bool same = count == gTriggerWatch.folderCount;
  for (int i = 0; i < count && same; ++i) same = strcmp(folders[i], gTriggerWatch.folders[i]) == 0;
  if (same && gTriggerWatch.allWatched) return;
  const char* named[kMaxWatchedFolders];
  for (int i = 0; i < count; ++i) {
    memcpy(gTriggerWatch.folders[i], folders[i], kPathCapacity);
    named[i] = gTriggerWatch.folders[i];
  }
  gTriggerWatch.folderCount = count;
  gTriggerWatch.allWatched = PlatformWatchFolders(named, count) == count;
  FileStamps now;
  LookAtTriggerFiles(now);
  if (!AnyChangedSinceLoad(now)) return;
  memcpy(gTriggerWatch.looked, now, sizeof now);
  StartReloadTimer(kReloadSettleMs);
}

void StopWatchingTriggerFolders() {
  PlatformWatchFolders(nullptr, 0);
  gTriggerWatch.folderCount = 0;
}

void OnTriggerFolderChanged() {
  FileStamps now;
  LookAtTriggerFiles(now);
  if (!AnyChangedSinceLoad(now) && !MissingShown()) return;
  memcpy(gTriggerWatch.looked, now, sizeof now);
  StartReloadTimer(kReloadSettleMs);
}

// Asks whether the editor's unsaved changes stay over the main file as another program changed
// it; true to keep them. The answer holds until the table has been loaded again.
static bool KeepEditorChanges() {
  bool answered = gTriggerWatch.answered && gTriggerWatch.answeredAtLoad == gTriggers.loadCount;
  if (answered) return gTriggerWatch.keepEditorText;
  char question[sizeof kChangedQuestionFormat + kPathCapacity];
  snprintf(question, sizeof question, kChangedQuestionFormat, gShell.triggerPath);
  gTriggerWatch.asking = true;
  bool showFile = PlatformAskYesNo(question, kQuestionCaption);
  gTriggerWatch.asking = false;
  gTriggerWatch.answered = true;
  gTriggerWatch.answeredAtLoad = gTriggers.loadCount;
  gTriggerWatch.keepEditorText = !showFile;
  return !showFile;
}

// Loads the table again from the files as they are now (`mainNow` the main file's stamp). The
// editor shows the main file's new text, unless the user keeps their unsaved changes; a main file
// that did not change leaves the editor's text alone.
static void ReloadTable(const FileStamp& mainNow) {
  bool mainChanged = !SameStamp(mainNow, TriggerFileAt(kMainTriggerFile).stamp);
  bool keep = !mainChanged && gTriggers.fileShortfall != kShortfallUnread;
  if (mainChanged && PlatformEditorChanged()) keep = KeepEditorChanges();
  // The question's message loop may have started an expansion meanwhile.
  if (gWatcher.suspended) {
    StartReloadTimer(kReloadSettleMs);
    return;
  }
  if (keep) LoadTriggerFileKeepingEditorText(gShell.triggerPath);
  else LoadTriggerFile(gShell.triggerPath);
}

void ReloadChangedTriggerFiles() {
  // An expansion reads its output from the file and types it: the next tick comes soon enough.
  if (gTriggerWatch.asking || gWatcher.suspended) return;
  FileStamps now;
  LookAtTriggerFiles(now);
  int32_t missing = MissingFile(now);
  bool lookAgain = missing < 0 && StillChanging(now);
  memcpy(gTriggerWatch.looked, now, sizeof now);
  if (lookAgain) {
    StartReloadTimer(kReloadLookAgainMs);
    return;
  }
  PlatformStopTimer(kReloadTimerId);
  if (missing >= 0) {
    ShowMissingFile(missing);
    return;
  }
  if (AnyChangedSinceLoad(now) || MissingShown()) ReloadTable(now[kMainTriggerFile]);
}
