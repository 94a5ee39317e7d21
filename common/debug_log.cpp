// The debug log (see debug_log.h): formatting here, the file through the file seam.
#include "common/debug_log.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "platform/files.h"

const size_t kDebugLineSize = 260;

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
