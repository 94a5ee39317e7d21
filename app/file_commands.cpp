// The File commands: Open, Save and Save As. Each load of the trigger file
// happens with the key poller's timer stopped, so the poller never sees a half-built table.
#include "app/file_commands.h"

#include <stdio.h>

#include "app/app_state.h"
#include "app/file_dialog.h"
#include "app/main_title.h"
#include "app/save_prompt.h"
#include "app/trigger_open.h"
#include "app/settings.h"
#include "app/trigger_save.h"
#include "common/state.h"
#include "common/text.h"
#include "platform/ui.h"
#include "resources/resource_ids.h"
#include "watcher/key_events.h"
#include "watcher/key_poller.h"

static const char kMessageCaption[] = "WordHatch";
static const char kSaveFailureFormat[] =
    "Unable to save the trigger file\n\n%s\n\n"
    "The file on disk has not been changed, and your text is still in the editor.";
static const UINT kMessageStyle = MB_TASKMODAL | MB_SETFOREGROUND;

// After a load: the trigger file becomes the next run's, and the title shows it without the
// changed mark.
static void RememberTriggerFile(HWND window) {
  WriteSettingText(kKeyFile, gShell.triggerPath);
  SetMainTitleFromPath(window);
}

void OnFileOpen(HWND window) {
  if (!RunSavePrompt(window)) return;
  char name[kPathCapacity] = {0};
  if (!AskFileName(window, name, kTriggerFileFilter, kAskToOpen) || !name[0]) return;
  OpenTriggerFile(name);
  SetMainTitleFromPath(window);
}

static void ReportSaveFailure(HWND window) {
  char text[kPathCapacity + sizeof kSaveFailureFormat];
  snprintf(text, sizeof text, kSaveFailureFormat, gShell.triggerPath);
  MessageBoxA(window, text, kMessageCaption, MB_OK | MB_ICONWARNING | kMessageStyle);
}

// Writes the editor's text as the trigger file and reloads it, the caret kept.
static LRESULT SaveEditorText(HWND window) {
  SuspendKeyWatch();
  DWORD start = 0, end = 0;
  SendMessageA(gApp.editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  DWORD caret = start < end ? start : end;
  if (!SaveAndReloadTriggerFile(gShell.triggerPath)) {
    // No reload: it would replace the user's text with whatever is (or is not) on disk.
    ResumeWatchUnlessPlaying();
    ReportSaveFailure(window);
    return kSaveFailed;
  }
  SendMessageA(gApp.editor, EM_SETSEL, caret, caret);
  SendMessageA(gApp.editor, EM_SCROLLCARET, 0, 0);
  RememberTriggerFile(window);
  ResumeWatchUnlessPlaying();
  return kSaveDone;
}

LRESULT OnFileSave(HWND window) {
  // Save As names the file and then saves it itself.
  if (!gShell.triggerPath[0]) return SendMessageA(window, WM_COMMAND, IDM_FILE_SAVE_AS, 0);
  if (!MaySaveOverTriggerFile(gShell.triggerPath)) return kSaveCancelled;
  return SaveEditorText(window);
}

LRESULT OnFileSaveAs(HWND window) {
  char name[kPathCapacity];
  CopyTextBounded(name, gShell.triggerPath, kFileDialogNameSize);
  if (!AskFileName(window, name, kTriggerFileFilter, kAskToSave) || !name[0]) return kSaveCancelled;
  char previous[kPathCapacity];
  CopyTextBounded(previous, gShell.triggerPath, sizeof previous);
  CopyTextBounded(gShell.triggerPath, name, sizeof gShell.triggerPath);
  // The dialog has asked before replacing a file that is there.
  LRESULT result = SaveEditorText(window);
  // Unsaved under the new name: the title still shows the old one, and so does the next Save.
  if (result != kSaveDone) CopyTextBounded(gShell.triggerPath, previous, sizeof gShell.triggerPath);
  return result;
}
