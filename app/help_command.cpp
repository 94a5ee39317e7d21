// Help Reference (see help_command.h): the help file in the temporary folder, opened in Notepad.
#include "app/help_command.h"

#include <stdio.h>

#include "app/help_file.h"
#include "common/state.h"

static const char kHelpFileName[] = "WordHatch README.txt";
static const char kNoHelpText[] = "Unable to show help";
static const char kNoHelpCaption[] = "Error";
static const char kNoViewerText[] = "Unable to run program";
static const DWORD kTempPathCapacity = 259;  // at most 258 characters
static const UINT kHelpFailureStyle = MB_ICONWARNING | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST;

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

void OnHelpReferenceCommand(HWND window) {
  char path[kPathCapacity];
  char command[kHelpCommandSize];
  HelpResult result = MakeHelpFilePath(path) ? ShowHelpFile(path, command) : kHelpNotWritten;
  if (result == kHelpNotWritten) ShowHelpFailure(window, kNoHelpText, kNoHelpCaption);
  if (result == kHelpViewerFailed) ShowHelpFailure(window, kNoViewerText, command);
}
