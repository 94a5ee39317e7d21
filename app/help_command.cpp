// Help Reference (see help_command.h). The file is rewritten each time, so it always shows the
// help of the program that opens it, and is left behind for Notepad to read.
#include "app/help_command.h"

#include <shellapi.h>
#include <stdio.h>
#include <string.h>

#include "app/trigger_save.h"
#include "common/heap.h"
#include "common/state.h"
#include "platform/files.h"
#include "platform/resources.h"
#include "resources/resource_ids.h"
#include "triggers/packed_text.h"

static const char kHelpFileName[] = "WordHatch README.txt";
static const char kHelpViewer[] = "notepad.exe";
// Notepad takes its whole parameter text as one file name, so the blank needs no quotes.
static const char kHelpCommandFormat[] = "%s %s";
static const char kNoHelpText[] = "Unable to show help";
static const char kNoHelpCaption[] = "Error";
static const char kNoViewerText[] = "Unable to run program";
static const DWORD kTempPathCapacity = 259;  // at most 258 characters
static const UINT kHelpFailureStyle = MB_ICONWARNING | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST;
static const INT_PTR kShellExecuteFirstSuccess = 33;  // ShellExecuteA's results up to 32 are errors

static void ShowHelpFailure(HWND window, const char* text, const char* caption) {
  MessageBoxA(window, text, caption, MB_OK | kHelpFailureStyle);
}

// The help file's path in the temporary folder; false when there is none or the path is too long.
static bool MakeHelpFilePath(char out[kPathCapacity]) {
  char folder[kTempPathCapacity + 1] = {0};
  DWORD length = GetTempPathA(kTempPathCapacity, folder);
  if (length == 0 || length >= kTempPathCapacity) return false;
  const char* separator = folder[length - 1] == '\\' ? "" : "\\";
  int written = snprintf(out, kPathCapacity, "%s%s%s", folder, separator, kHelpFileName);
  return written > 0 && written < kPathCapacity;
}

// Unpacks resource 8001 into the file at `path`, replacing what was there. False when the
// resource is missing or the file could not be written whole.
static bool WriteHelpFile(const char* path) {
  uint32_t size = 0;
  const uint8_t* packed = PlatformRawResource(IDR_HELP_TEXT, &size);
  if (!packed) return false;
  size_t length = strnlen(reinterpret_cast<const char*>(packed), size);
  char* text = UnpackText(reinterpret_cast<const char*>(packed), &length);
  if (!text) return false;
  PlatformDeleteFile(path);
  bool written = WriteFileAt(path, 0, text, uint32_t(length)) == length;
  FreeBlock(text);
  return written;
}

// Starts Notepad with the help file as its whole parameter text.
static bool OpenInNotepad(const char* path) {
  INT_PTR result = INT_PTR(ShellExecuteA(nullptr, nullptr, kHelpViewer, path, nullptr, SW_SHOWNORMAL));
  return result >= kShellExecuteFirstSuccess;
}

void OnHelpReferenceCommand(HWND window) {
  char path[kPathCapacity];
  // A help file that could not be written would show Notepad empty or out of date.
  if (!MakeHelpFilePath(path) || !WriteHelpFile(path)) {
    ShowHelpFailure(window, kNoHelpText, kNoHelpCaption);
    return;
  }
  if (OpenInNotepad(path)) return;
  char command[kPathCapacity + sizeof kHelpViewer + 1];
  snprintf(command, sizeof command, kHelpCommandFormat, kHelpViewer, path);
  ShowHelpFailure(window, kNoViewerText, command);
}
