// The File commands: Open, Save and Save As. Save and Save As return a kSave* result.
#pragma once
#include <windows.h>

#include "app/save_result.h"

void OnFileOpen(HWND window);
LRESULT OnFileSave(HWND window);
LRESULT OnFileSaveAs(HWND window);
