// Auto-start at Login: the value "WordHatch" under the current user's Run key, which starts the
// program when the user logs in. Portable (registry, files and menu seams).
#pragma once
#include <stddef.h>

extern const char kRunKeyPath[];    // "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
extern const char kRunValueName[];  // "WordHatch"

// True when the value exists and is not empty.
bool IsAutoStartSet();

// The command that the Run value holds for the program at `programPath`: the path itself, in
// double quotes when it holds a blank (the system would otherwise try "C:\Program.exe" and the
// like first). Returns false, with `out` empty, when it does not fit in `size` bytes.
bool MakeAutoStartCommand(const char* programPath, char* out, size_t size);

// Command 3401: turns auto-start off when the menu item is checked, on otherwise. The check mark
// then shows what the registry holds, so a write that failed does not show as done.
void OnAutoStartCommand();
