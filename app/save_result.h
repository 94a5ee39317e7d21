// Results of the Save and Save As commands, as the WM_COMMAND that runs them returns them.
#pragma once
#include <windows.h>

const LRESULT kSaveDone = 0;
const LRESULT kSaveFailed = 1;     // the file could not be written; nothing was reloaded
const LRESULT kSaveCancelled = 2;  // the Save As dialog was cancelled, or the user said No to a save
                                   // that would write less than the file holds
