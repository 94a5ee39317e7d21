// The fill-in form's part in the program's message loop. Win32 only.
#pragma once
#include <windows.h>

// Whether `message` was the open form's and has been handled: Tab and Shift+Tab move between its
// fields, Enter accepts it (with a choice's list dropped too), Escape cancels it. The loop
// dispatches nothing more of a message taken here. False while no form is open.
bool FormWindowTakesMessage(MSG* message);
