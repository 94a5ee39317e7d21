// The end of the run and the saving of the window's placement.
#include "app/run_end.h"

#include "app/app_state.h"
#include "app/editor_font.h"
#include "app/settings.h"
#include "app/tray_icon.h"
#include "common/heap.h"
#include "common/state.h"
#include "picklist/pick_list.h"
#include "player/paste.h"
#include "platform/win32_window.h"
#include "triggers/trigger_loader.h"
#include "triggers/trigger_reload.h"

// A window hidden in the tray stays minimised, so it too counts as minimised.
static WindowStartState CurrentStartState(HWND window) {
  if (IsIconic(window)) return kStartMinimized;
  if (IsZoomed(window)) return kStartMaximized;
  return kStartNormal;
}

void OnEndOfRun(HWND window) {
  // Logging off sends WM_ENDSESSION and may destroy the window after it: the count is added once.
  if (gApp.runEnded) return;
  gApp.runEnded = true;
  WindowStartState state = CurrentStartState(window);
  WriteEndOfRunSettings(state);
  if (state == kStartMinimized && gShell.trayOption) RemoveTrayIcon(window);
  if (gApp.linkCursor) DestroyCursor(gApp.linkCursor);
  gApp.linkCursor = nullptr;
  if (gApp.greyedIcon) DestroyIcon(gApp.greyedIcon);
  gApp.greyedIcon = nullptr;
  DeleteEditorFont(&gApp.editorFont);
  if (gApp.statusFont) DeleteObject(gApp.statusFont);
  gApp.statusFont = nullptr;
  StopWatchingTriggerFolders();
  EndPasteAtExit();
  FreeAndForget(gPlayer.outputBuffer);
  ReleasePickList();
  ReleaseTriggerTable();
  Win32AttachMainWindow(nullptr, nullptr, nullptr);
  PostQuitMessage(0);
}

void OnExitSizeMove(HWND window) {
  // Maximising, minimising and restoring keep the last normal placement.
  if (IsZoomed(window) || IsIconic(window)) return;
  RECT outer;
  if (!GetWindowRect(window, &outer)) return;
  WriteWindowPlacement(WindowBox{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top});
}
