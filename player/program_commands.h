// Starting programs, documents and addresses through the shell: the "RUN: " command of the output
// language, and the launch of a pick list item.
#pragma once
#include <stdint.h>

// The longest command text that "RUN: " takes.
const int32_t kRunArgumentLimit = 258;
// The longest program name and parameters that a launch hands to the shell.
const int32_t kProgramNameLimit = 254;
const int32_t kParametersLimit = 254;

// "RUN: ": enters the command's folder, then starts the command as written and, failing that,
// in double quotes (a path with blanks written without them). When both fail it tells the user
// ("Unable to run program", the quoted command as the caption) and returns false.
bool RunCommand(const char* commandText);

// Splits `commandText` into a program name (quoted, or up to the first blank, tab, line end or
// "#") and its parameters, and has the shell start it. True when the shell took it.
bool LaunchCommand(const char* commandText);

// Makes the folder of `commandText` (the text before its last backslash, or the whole text) the
// current directory, when it names one; otherwise nothing changes and nothing is said.
void SetCommandDirectory(const char* commandText);

// The program name and parameters that LaunchCommand hands to the shell. `program` and
// `parameters` hold kProgramNameLimit + 1 and kParametersLimit + 1 bytes.
void SplitCommand(const char* commandText, char* program, char* parameters);
