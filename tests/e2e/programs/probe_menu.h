// probe.exe's menu commands: a window's menu bar and its items, read inside the window's own
// process (Wine answers menu calls nowhere else) through probe_hook.dll.
#pragma once
#include "probe_args.h"

namespace probe {

// Runs args[0] when it is "menu" or "menuitem", setting *known; returns its success.
bool RunMenuCommand(const Args& args, Answer* answer, bool* known);

}  // namespace probe
