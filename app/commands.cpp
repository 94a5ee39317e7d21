// WM_COMMAND of the main window: every menu item, the accelerators, and the editor's change
// notification, which puts the changed mark into the title.
#include "app/commands.h"

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/autostart.h"
#include "app/clipboard_clean.h"
#include "app/editor_font.h"
#include "app/file_commands.h"
#include "app/help_command.h"
#include "app/shell_rules.h"
#include "app/suspend_display.h"
#include "app/totals_box.h"
#include "app/track_mouse.h"
#include "app/tray_menu.h"
#include "app/tray_option.h"
#include "resources/resource_ids.h"

// Longest title text read back when the mark is added.
static const int kTitleReadLength = 254;

// EN_CHANGE of the editor: the first change after a load or save marks the title with " *".
static void OnEditorChanged(HWND window) {
  char title[kTitleCapacity] = {0};
  GetWindowTextA(window, title, kTitleReadLength + 1);
  if (AddChangedMark(title, sizeof title)) SetWindowTextA(window, title);
}

// The Edit menu's clipboard and undo items go to the editor as the matching message.
static bool EditorMessageOf(WORD command, UINT* message) {
  switch (command) {
    case IDM_EDIT_UNDO: *message = WM_UNDO; return true;
    case IDM_EDIT_CUT: *message = WM_CUT; return true;
    case IDM_EDIT_COPY: *message = WM_COPY; return true;
    case IDM_EDIT_PASTE: *message = WM_PASTE; return true;
    case IDM_EDIT_CLEAR: *message = WM_CLEAR; return true;
    default: return false;
  }
}

// Select All acts on whichever window has the focus, which need not be the editor.
static void SelectAllInFocus() {
  if (HWND focus = GetFocus()) SendMessageA(focus, EM_SETSEL, 0, -1);
}

bool OnCommand(HWND window, WPARAM wParam, LPARAM, LRESULT* result) {
  WORD command = LOWORD(wParam);
  *result = 0;
  if (command == IDC_EDITOR) {
    if (HIWORD(wParam) == EN_CHANGE) OnEditorChanged(window);
    return true;
  }
  UINT editorMessage;
  if (EditorMessageOf(command, &editorMessage)) {
    SendMessageA(gApp.editor, editorMessage, 0, 0);
    return true;
  }
  switch (command) {
    case IDM_FILE_OPEN: OnFileOpen(window); return true;
    case IDM_FILE_SAVE: *result = OnFileSave(window); return true;
    case IDM_FILE_SAVE_AS: *result = OnFileSaveAs(window); return true;
    case IDM_FILE_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); return true;
    case IDM_EDIT_SELECT_ALL: SelectAllInFocus(); return true;
    case IDM_OPT_AUTOSTART: OnAutoStartCommand(); return true;
    case IDM_OPT_TRAY: OnTrayOptionCommand(); return true;
    case IDM_OPT_FONT: OnChooseFontCommand(); return true;
    case IDM_OPT_CLEAN_CLIPBOARD: CleanClipboard(); return true;  // silent either way
    case IDM_OPT_TRACK_MOUSE: OnTrackMouseCommand(); return true;
    case IDM_OPT_TOTALS: OnShowTotalsCommand(window); return true;
    case IDM_OPT_SUSPEND: OnSuspendCommand(window); return true;
    case IDM_HELP_REFERENCE: OnHelpReferenceCommand(window); return true;
    case IDM_HELP_ABOUT: OnAboutCommand(window); return true;
    case IDM_HELP_WEBSITE: OnWebsiteCommand(); return true;
    case IDM_TRAY_SHOW: OnShowFromTrayCommand(window); return true;
    default: return false;
  }
}
