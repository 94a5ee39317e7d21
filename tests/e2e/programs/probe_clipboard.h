// probe.exe's clipboard commands: read, put and dump the clipboard's formats and their bytes.
#pragma once
#include "probe_args.h"

namespace probe {

// Runs args[0] when it is one of the clipboard commands, setting *known; returns its success.
bool RunClipboardCommand(const Args& args, Answer* answer, bool* known);

// probe.exe --clipmonitor FILE [null]: a simple clipboard monitor, as clipboard managers are. At
// each change of the clipboard it opens it (with a window of its own, or with none given "null")
// and reads its Unicode text, as soon as the change is told. FILE gets the line "ready" once it
// watches, then a line a change: "text N" with the characters read, or "none". Runs until ended.
int RunClipboardMonitor(const std::string& logPath, bool withoutOwner);

}  // namespace probe
