// Help Reference (command 3501): the help text, written afresh from the program's resource into
// "WordHatch README.txt" in the temporary folder, opened with Notepad.
#pragma once
#include <windows.h>

void OnHelpReferenceCommand(HWND window);
