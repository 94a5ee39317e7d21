// Show Total Automations (command 3197): the expansions of this run and of all runs together.
#pragma once
#include <windows.h>

void OnShowTotalsCommand(HWND window);
