// Shell seam: starting programs, documents and addresses, and the process's current directory.
#pragma once
#include <stdint.h>

// Has the shell carry out the default action for `file` (a program, document or address) with
// `parameters`, both UTF-8, in the current directory, shown normally. Returns the shell's
// answer: above 32 when the command was handed on, an error number otherwise.
int32_t PlatformShellExecute(const char* file, const char* parameters);

// Makes `folder` (UTF-8) the process's current directory. False, changing nothing, when it is
// no folder.
bool PlatformSetCurrentDirectory(const char* folder);
