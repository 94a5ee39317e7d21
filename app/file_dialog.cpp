// The system's open and save dialogs for the trigger file.
#include "app/file_dialog.h"

#include <commdlg.h>

#include "common/text.h"

const char kTriggerFileFilter[] = "Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";

bool AskFileName(HWND owner, char* fileName, const char* filter, FileDialogMode mode) {
  // The dialog starts in the folder of the initial name; its own copy, as the dialog writes the
  // name buffer.
  char initialDir[kFileDialogNameSize];
  CopyTextBounded(initialDir, fileName, sizeof initialDir);
  OPENFILENAMEA dialog = {};
  // The older structure size: the dialog looks the same everywhere without the newer fields.
  dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  dialog.hwndOwner = IsWindow(owner) ? owner : GetForegroundWindow();
  dialog.lpstrFilter = filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = fileName;
  dialog.nMaxFile = kFileDialogNameSize;
  dialog.lpstrInitialDir = initialDir;
  BOOL chosen;
  if (mode == kAskToOpen) {
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_LONGNAMES;
    chosen = GetOpenFileNameA(&dialog);
  } else {
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_LONGNAMES;
    chosen = GetSaveFileNameA(&dialog);
  }
  if (!chosen) fileName[0] = 0;
  return chosen != 0;
}
