// The help file (see help_file.h). It is rewritten each time, so it always shows the help of the
// program that opens it, and is left behind for Notepad to read.
#include "app/help_file.h"

#include <stdio.h>
#include <string.h>

#include "app/trigger_save.h"
#include "common/heap.h"
#include "platform/resources.h"
#include "player/program_commands.h"
#include "resources/resource_ids.h"
#include "triggers/packed_text.h"

// Notepad takes its whole parameter text as one file name, so the blank in the name needs no
// quotes.
static const char kHelpCommandFormat[] = "notepad.exe %s";

// Unpacks the help text into the file at `path`, replacing what was there in one step, so that no
// tail of an older, longer file can remain. False when the resource is missing or the file could
// not be written whole.
static bool WriteHelpFile(const char* path) {
  uint32_t size = 0;
  const uint8_t* packed = PlatformRawResource(IDR_HELP_TEXT, &size);
  if (!packed) return false;
  size_t length = strnlen(reinterpret_cast<const char*>(packed), size);
  char* text = UnpackText(reinterpret_cast<const char*>(packed), &length);
  if (!text) return false;
  bool written = SaveTextAsFile(path, text, uint32_t(length));
  FreeBlock(text);
  return written;
}

HelpResult ShowHelpFile(const char* path, char* command) {
  // A help file that could not be written would show Notepad empty or out of date.
  if (!WriteHelpFile(path)) return kHelpNotWritten;
  snprintf(command, kHelpCommandSize, kHelpCommandFormat, path);
  return LaunchCommand(command) ? kHelpShown : kHelpViewerFailed;
}
