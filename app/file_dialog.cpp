// The system's open and save dialogs for the trigger file.
#include "app/file_dialog.h"

#include <commdlg.h>
#include <stddef.h>

#include "common/text.h"
#include "platform/win32_sizes.h"

// The older record size (OPENFILENAME_SIZE_VERSION_400A: the fields up to lpTemplateName), so
// that the dialog looks the same everywhere without the newer fields. Worked out here because the
// system's macro is no compile-time constant, and the size differs between the builds.
static const DWORD kDialogRecordSize =
    DWORD(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName));
static_assert(kDialogRecordSize == Win32BuildSize(76, 136), "the older OPENFILENAMEA size of this build");

const char kTriggerFileFilter[] = "Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";

bool AskFileName(HWND owner, char* fileName, const char* filter, FileDialogMode mode) {
  // The dialog starts in the folder of the initial name; its own copy, as the dialog writes the
  // name buffer.
  char initialDir[kFileDialogNameSize];
  CopyTextBounded(initialDir, fileName, sizeof initialDir);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = kDialogRecordSize;
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
