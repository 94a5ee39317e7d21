// Auto-start at Login (see autostart.h).
#include "app/autostart.h"

#include <stdio.h>
#include <string.h>

#include "app/registry_helpers.h"
#include "common/state.h"
#include "platform/files.h"
#include "platform/menu.h"
#include "resources/resource_ids.h"

const char kRunKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValueName[] = "WordHatch";

static const uint32_t kModulePathCapacity = 259;  // at most 258 characters
static const size_t kRunCommandCapacity = kModulePathCapacity + 2;  // and two quotes

bool IsAutoStartSet() {
  char value[kRunCommandCapacity];
  return RegReadString(kRegistryCurrentUser, kRunKeyPath, kRunValueName, value, sizeof value) && value[0];
}

bool MakeAutoStartCommand(const char* programPath, char* out, size_t size) {
  const char* format = strchr(programPath, ' ') ? "\"%s\"" : "%s";
  int length = snprintf(out, size, format, programPath);
  if (length < 0 || size_t(length) >= size) {
    if (size) out[0] = 0;
    return false;
  }
  return true;
}

// Writes the Run value for this program; nothing when the program does not know its own path.
static void WriteAutoStart() {
  char path[kModulePathCapacity];
  char command[kRunCommandCapacity];
  if (!PlatformModulePath(path, sizeof path) || !MakeAutoStartCommand(path, command, sizeof command)) return;
  RegWriteString(kRegistryCurrentUser, kRunKeyPath, kRunValueName, command);
}

void OnAutoStartCommand() {
  if (PlatformMenuItemChecked(IDM_OPT_AUTOSTART)) {
    RegDeleteEntry(kRegistryCurrentUser, kRunKeyPath, kRunValueName);
  } else {
    WriteAutoStart();
  }
  PlatformCheckMenuItem(IDM_OPT_AUTOSTART, IsAutoStartSet());
}
