// This program's own input events, shared by the Win32 files that send input and the one that
// reads raw input back: the mark they carry, their count, and the pause of raw input.
#pragma once
#include <windows.h>

// "WHKY": the extra information of every key and mouse event this program sends.
const ULONG_PTR kOwnInputTag = 0x57484B59;

// Adds `count` key events handed to the input stream to the count of own key events, which
// counts only those that raw input reports back: none are while it is paused or not started.
void Win32CountOwnKeyEvents(uint32_t count);

// Stops raw input for a while and starts it again; nothing when it was never started.
void Win32PauseRawInput();
void Win32ResumeRawInput();
