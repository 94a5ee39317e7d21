// The save prompt (see save_prompt.h). It saves by sending the Save command, so it needs to know
// nothing of how a save is done.
#include "app/save_prompt.h"

#include "app/app_state.h"
#include "app/save_result.h"
#include "common/state.h"
#include "resources/resource_ids.h"

static const char kPromptCaption[] = "WordHatch";
static const char kSavePromptText[] = "Save changes?\n\n(Press Cancel to return to program)";

bool RunSavePrompt(HWND window) {
  // The editor's undo state is the changed state; debug mode never asks.
  if (!SendMessageA(gApp.editor, EM_CANUNDO, 0, 0) || gTriggers.debugMode) return true;
  int answer = MessageBoxA(window, kSavePromptText, kPromptCaption,
                           MB_YESNOCANCEL | MB_ICONQUESTION | MB_TASKMODAL | MB_SETFOREGROUND);
  if (answer == IDCANCEL) return false;
  // A save that failed or was cancelled stops the close or open too, so the text is not lost.
  if (answer == IDYES) return SendMessageA(window, WM_COMMAND, IDM_FILE_SAVE, 0) == kSaveDone;
  return true;
}
