// probe.exe's commands on exe files: resources, icon groups, accelerators, menus and raw data.
#pragma once
#include "probe_args.h"

namespace probe {

// Runs args[0] when it is one of the exe-file commands, setting *known; returns its success.
bool RunResourceCommand(const Args& args, Answer* answer, bool* known);

}  // namespace probe
