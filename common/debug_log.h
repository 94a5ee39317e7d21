// The debug log: one line per thing worth seeing in debug mode (gTriggers.debugMode), appended
// to a fixed file, by any subsystem that has something to say.
#pragma once
#include <stdint.h>

const char kDebugLogPath[] = "C:\\WordHatch_log.txt";

// Appends one formatted line (at most 1,023 bytes) to the file at `path`, creating it when
// missing. Returns the number of bytes written, 0 when the file cannot be opened.
uint32_t AppendDebugLog(const char* path, const char* format, ...);
