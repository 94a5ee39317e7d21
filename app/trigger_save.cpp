// Writing the trigger file (see trigger_save.h).
#include "app/trigger_save.h"

#include <stdio.h>
#include <string.h>

#include "app/trigger_open.h"
#include "common/heap.h"
#include "common/status_text.h"
#include "platform/files.h"
#include "platform/memory.h"
#include "platform/ui.h"
#include "triggers/text_encoding.h"
#include "triggers/trigger_loader.h"
#include "watcher/key_poller.h"

static const char kSaveTempSuffix[] = ".saving";
static const char kQuestionCaption[] = "WordHatch";
// The questions before a save that would write less than the file holds, by what the editor lacks.
static const char kOverUnreadFormat[] =
    "The trigger file\n\n%s\n\ncould not be read, so the editor does not hold its text. Saving writes the "
    "editor's text over the whole file.\n\nSave anyway?";
static const char kOverNulFormat[] =
    "The trigger file\n\n%s\n\nholds a NUL character, and the editor holds only the text before it. Saving "
    "writes the editor's text over the whole file: everything after the NUL character is lost.\n\nSave anyway?";
static const char kOverBytesFormat[] =
    "The trigger file\n\n%s\n\nholds bytes that are not text in its encoding, which the editor shows as "
    "\xEF\xBF\xBD. Saving writes the editor's text over the whole file: those bytes are lost.\n\nSave anyway?";

uint32_t WriteFileAt(const char* path, int32_t offset, const void* buffer, uint32_t count) {
  FileHandle file = PlatformOpenFile(path, kFileReadWrite, kFileOpenAlways, nullptr);
  if (!file) return 0;
  uint32_t written = 0;
  bool placed = offset < 0 ? PlatformSeekFile(file, 0, kSeekFromEnd) : PlatformSeekFile(file, offset, kSeekFromStart);
  if (placed && count) written = PlatformWriteFile(file, buffer, count);
  PlatformCloseFile(file);
  return written;
}

bool MakeSaveTempPath(const char* path, char out[kPathCapacity]) {
  out[0] = 0;
  size_t length = path ? strlen(path) : 0;
  if (length == 0 || length + strlen(kSaveTempSuffix) >= size_t(kPathCapacity)) return false;
  memcpy(out, path, length);
  strcpy(out + length, kSaveTempSuffix);
  return true;
}

// Writes the whole text as the new file `temp`. A temporary file left by an earlier run is
// removed first, as writing over it would keep its longer tail.
static bool WriteWholeFile(const char* temp, const char* text, uint32_t count) {
  PlatformDeleteFile(temp);
  if (PlatformPathKind(temp) != kPathNothing) return false;
  uint32_t written = WriteFileAt(temp, 0, text, count);
  // WriteFileAt tells "nothing written" and "not opened" apart only by the file being there.
  return written == count && PlatformPathKind(temp) == kPathFile;
}

bool SaveTextAsFile(const char* path, const char* text, uint32_t count) {
  char temp[kPathCapacity];
  if (!MakeSaveTempPath(path, temp)) return false;
  if (WriteWholeFile(temp, text, count) && PlatformReplaceFile(temp, path)) return true;
  PlatformDeleteFile(temp);
  return false;
}

// Writes the editor's text in the file's encoding, or in UTF-8 with the mark when the ANSI code
// page cannot hold it; *encoding is the one written. False when nothing was written.
static bool WriteEditorText(const char* path, TextEncoding* encoding) {
  size_t length = 0;
  char* text = PlatformEditorText(&length);
  if (!text) return false;
  size_t size = 0;
  bool unrepresentable = false;
  char* bytes = EncodeFileText(text, length, *encoding, &size, &unrepresentable);
  if (unrepresentable) {
    *encoding = kEncodingUtf8Marked;
    bytes = EncodeFileText(text, length, *encoding, &size, &unrepresentable);
  }
  PlatformHeapFree(text);
  bool saved = bytes && size <= UINT32_MAX && SaveTextAsFile(path, bytes, uint32_t(size));
  FreeBlock(bytes);
  return saved;
}

static const char* QuestionFormat(FileShortfall shortfall) {
  switch (shortfall) {
    case kShortfallUnread: return kOverUnreadFormat;
    case kShortfallAfterNul: return kOverNulFormat;
    case kShortfallBytes: return kOverBytesFormat;
    default: return nullptr;
  }
}

bool MaySaveOverTriggerFile(const char* path) {
  const char* format = QuestionFormat(gTriggers.fileShortfall);
  // Nothing at the path: a save loses nothing there.
  if (!format || PlatformPathKind(path) == kPathNothing) return true;
  char question[kPathCapacity + sizeof kOverUnreadFormat + sizeof kOverNulFormat + sizeof kOverBytesFormat];
  snprintf(question, sizeof question, format, path);
  return PlatformAskYesNo(question, kQuestionCaption);
}

bool SaveAndReloadTriggerFile(const char* path) {
  TextEncoding encoding = gTriggers.fileEncoding;
  if (!WriteEditorText(path, &encoding)) return false;
  bool changed = encoding != gTriggers.fileEncoding;
  gTriggers.fileEncoding = encoding;
  // The file holds exactly the editor's text now, so the reload shows it there again.
  gTriggers.fileShortfall = kShortfallNone;
  ReloadTriggerFile(path);
  RetryLoadWhileUnread();
  if (changed) SetStatusText(kSavedAsUtf8Text);
  return true;
}
