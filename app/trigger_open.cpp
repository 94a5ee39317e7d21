// Opening a trigger file, and the load tried again (see trigger_open.h).
#include "app/trigger_open.h"

#include "app/settings.h"
#include "common/state.h"
#include "common/status_text.h"
#include "common/text.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "player/output_player.h"
#include "triggers/trigger_loader.h"
#include "triggers/trigger_reload.h"
#include "watcher/key_events.h"
#include "watcher/key_poller.h"

static const char kNotOpenedFormat[] = " * * * WARNING: Cannot open %s (%s). The file shown stays open.";

void OpenTriggerFile(const char* path) {
  FileError error = kFileOk;
  if (!TriggerFileOpens(path, &error)) {
    SetStatusText(kNotOpenedFormat, path, OpenErrorWords(error));
    return;
  }
  CopyTextBounded(gShell.triggerPath, path, sizeof gShell.triggerPath);
  SuspendKeyWatch();
  PlatformSetEditorText("");
  ReloadTriggerFile(gShell.triggerPath);
  RetryLoadWhileUnread();
  WriteSettingText(kKeyFile, gShell.triggerPath);
  ResumeWatchUnlessPlaying();
}

void ResumeWatchUnlessPlaying() {
  if (!OutputPlaying()) ResumeKeyWatch();
}

void RetryLoadWhileUnread() {
  if (gTriggers.loadFailed) PlatformStartTimer(kLoadRetryTimerId, kLoadRetryMs);
}

void OnLoadRetryTimer() {
  if (!gTriggers.loadFailed) {
    PlatformStopTimer(kLoadRetryTimerId);
    return;
  }
  // An expansion reads the file and types from it; the next tick comes soon enough.
  FileError error = kFileOk;
  if (gWatcher.suspended || !TriggerFileOpens(gShell.triggerPath, &error)) return;
  // The user may be typing in another window meanwhile: the reset of the watcher that comes with
  // Open and Save (held keys let go, the typed history cleared) would upset that, so this load
  // goes without it.
  LoadTriggerFile(gShell.triggerPath);
  if (!gTriggers.loadFailed) PlatformStopTimer(kLoadRetryTimerId);
}

void OnReloadTimer() {
  ReloadChangedTriggerFiles();
  RetryLoadWhileUnread();
}
