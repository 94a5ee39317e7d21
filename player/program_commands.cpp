// Program starts: the command text is split the way a user writes a command line, and the
// shell's default action does the rest, so a program, a document and an address all start.
#include "player/program_commands.h"

#include <string.h>

#include "common/state.h"
#include "common/text.h"
#include "platform/shell.h"
#include "platform/ui.h"

const char kUnableToRunMessage[] = "Unable to run program";
// The shell's answers up to this value are errors.
const int32_t kLastShellError = 32;
// The quoted form of a command: the command text between two double quotes.
const int32_t kQuotedCommandSize = kRunArgumentLimit + 3;

static bool IsCommandSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
static bool IsQuote(char c) { return c == '"' || c == '\''; }
// Characters trimmed from both ends of the parameters.
static bool IsParameterPadding(char c) { return IsQuote(c) || IsBlankOrTab(c); }
static bool EndsUnquotedName(char c) { return c == 0 || IsCommandSpace(c) || c == '#'; }

// Copies at most `limit` characters of the `length` at `from`, and a NUL.
static void CopyPart(char* to, const char* from, size_t length, size_t limit) {
  size_t n = length < limit ? length : limit;
  memcpy(to, from, n);
  to[n] = 0;
}

// Copies at most kParametersLimit characters of `rest`, less the quotes, blanks and tabs around it.
static void CopyParameters(char* parameters, const char* rest) {
  CopyPart(parameters, rest, strlen(rest), size_t(kParametersLimit));
  char* start = parameters;
  while (IsParameterPadding(*start)) ++start;
  size_t length = strlen(start);
  while (length > 0 && IsParameterPadding(start[length - 1])) --length;
  memmove(parameters, start, length);
  parameters[length] = 0;
}

void SplitCommand(const char* commandText, char* program, char* parameters) {
  const char* at = commandText;
  while (IsCommandSpace(*at)) ++at;
  const char* name = at;
  const char* end = at;
  if (IsQuote(*at)) {
    // Either kind of quote closes the name, whichever opened it.
    name = end = at + 1;
    while (*end && !IsQuote(*end)) ++end;
  } else {
    while (!EndsUnquotedName(*end)) ++end;
  }
  CopyPart(program, name, size_t(end - name), size_t(kProgramNameLimit));
  // The character that ended the name begins the parameters: a closing quote is trimmed away
  // with the padding, a "#" stays.
  CopyParameters(parameters, end);
}

bool LaunchCommand(const char* commandText) {
  char program[kProgramNameLimit + 1], parameters[kParametersLimit + 1];
  SplitCommand(commandText, program, parameters);
  return PlatformShellExecute(program, parameters) > kLastShellError;
}

void SetCommandDirectory(const char* commandText) {
  char folder[kPathCapacity];
  CopyTextBounded(folder, commandText, sizeof folder);
  if (char* lastBackslash = strrchr(folder, '\\')) *lastBackslash = 0;
  PlatformSetCurrentDirectory(folder);
}

bool RunCommand(const char* commandText) {
  SetCommandDirectory(commandText);
  if (LaunchCommand(commandText)) return true;
  char quoted[kQuotedCommandSize];
  quoted[0] = '"';
  CopyTextBounded(quoted + 1, commandText, size_t(kRunArgumentLimit + 1));
  strcat(quoted, "\"");
  if (LaunchCommand(quoted)) return true;
  PlatformShowWarning(kUnableToRunMessage, quoted);
  return false;
}
