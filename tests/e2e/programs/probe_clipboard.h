// probe.exe's clipboard commands: read, put and dump the clipboard's formats and their bytes.
#pragma once
#include "probe_args.h"

namespace probe {

// Runs args[0] when it is one of the clipboard commands, setting *known; returns its success.
bool RunClipboardCommand(const Args& args, Answer* answer, bool* known);

}  // namespace probe
