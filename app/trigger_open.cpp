// Opening another trigger file (see trigger_open.h).
#include "app/trigger_open.h"

#include "app/settings.h"
#include "common/state.h"
#include "common/text.h"
#include "platform/ui.h"
#include "player/output_player.h"
#include "watcher/key_events.h"
#include "watcher/key_poller.h"

void OpenTriggerFile(const char* path) {
  CopyTextBounded(gShell.triggerPath, path, sizeof gShell.triggerPath);
  SuspendKeyWatch();
  if (!ReloadTriggerFile(gShell.triggerPath)) PlatformSetEditorText("");
  WriteSettingText(kKeyFile, gShell.triggerPath);
  ResumeWatchUnlessPlaying();
}

void ResumeWatchUnlessPlaying() {
  if (!OutputPlaying()) ResumeKeyWatch();
}
