// The debug log (see debug_log.h): formatting here, the file through the file seam.
#include "common/debug_log.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "platform/files.h"

// A line names at most a path of the longest kind and what is said of it, with room to spare.
const size_t kDebugLineSize = 1024;

uint32_t AppendDebugLog(const char* path, const char* format, ...) {
  char line[kDebugLineSize] = {0};
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  FileHandle file = PlatformOpenFile(path, kFileReadWrite, kFileOpenAlways, nullptr);
  if (!file) return 0;
  PlatformSeekFile(file, 0, kSeekFromEnd);
  uint32_t written = PlatformWriteFile(file, line, uint32_t(strlen(line)));
  PlatformCloseFile(file);
  return written;
}
