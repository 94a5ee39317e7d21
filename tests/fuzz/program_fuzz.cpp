// Fuzz target: a command text split for the shell, started, and its folder entered, as
// LaunchCommand, SplitCommand, SetCommandDirectory and "RUN: " do it.
#include <string.h>

#include <string>
#include <vector>

#include "common/state.h"
#include "common/text.h"
#include "player/program_commands.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/unit/fake_platform.h"

static bool IsPadding(char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBegin();
  std::string text(reinterpret_cast<const char*>(data), size);
  const char* command = text.c_str();

  char program[kProgramNameLimit + 1], parameters[kParametersLimit + 1];
  SplitCommand(command, program, parameters);
  size_t parametersLength = strlen(parameters);
  FUZZ_CHECK(strlen(program) <= size_t(kProgramNameLimit) && parametersLength <= size_t(kParametersLimit));
  FUZZ_CHECK(parametersLength == 0 || (!IsPadding(parameters[0]) && !IsPadding(parameters[parametersLength - 1])));

  bool started = LaunchCommand(command);
  std::vector<FakeEvent> calls = FakeEventsOf(kFakeShellExecute);
  FUZZ_CHECK(calls.size() == 1 && calls[0].text == program && calls[0].detail == parameters);
  FUZZ_CHECK(started == (gFake.startableFiles.count(program) != 0));

  gFake.events.clear();
  SetCommandDirectory(command);
  std::vector<FakeEvent> folders = FakeEventsOf(kFakeSetDirectory);
  FUZZ_CHECK(folders.size() == 1 && folders[0].text.size() < size_t(kPathCapacity));
  FUZZ_CHECK(text.compare(0, folders[0].text.size(), folders[0].text) == 0);

  // "RUN: " takes the command up to its end and its limit; a start that fails is told.
  gFake.events.clear();
  char argument[kRunArgumentLimit + 1];
  CopyCommandArgument(argument, command, kRunArgumentLimit);
  bool ran = RunCommand(argument);
  FUZZ_CHECK(ran == FakeEventsOf(kFakeWarning).empty());
  FuzzEnd();
  return 0;
}
