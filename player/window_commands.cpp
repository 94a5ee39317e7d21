// The window search: an exact title wins over a title that begins with the text, and that over
// one that merely contains it; among windows of one kind the nearest to the top wins.
#include "player/window_commands.h"

#include <string.h>

#include "common/text.h"
#include "platform/ui.h"

const char kWindowNotFoundMessage[] = "Window not found";
// A broken z-order chain must not keep the search going for ever.
const int kMostWindowsPerPass = 10000;

enum TitlePass { kExactTitle, kTitlePrefix, kTitleContains, kTitlePassCount };

static bool TitleMatches(TitlePass pass, const char* windowTitle, const char* title) {
  switch (pass) {
    case kExactTitle: return strcmp(windowTitle, title) == 0;
    case kTitlePrefix: return StartsWithNoCase(windowTitle, title);
    default: return FindTextNoCase(windowTitle, title) != nullptr;
  }
}

// One pass down the z-order from the foreground window; windows above it are not visited.
static WindowHandle SearchPass(TitlePass pass, const char* title) {
  char windowTitle[kWindowArgumentLimit + 1];
  WindowHandle window = PlatformForegroundWindow();
  for (int visited = 0; window && visited < kMostWindowsPerPass; ++visited) {
    bool answered = PlatformWindowTitle(window, windowTitle, sizeof windowTitle, kTitleQueryTimeoutMs);
    if (answered && windowTitle[0] && TitleMatches(pass, windowTitle, title)) return window;
    window = PlatformNextWindowDown(window);
  }
  return nullptr;
}

WindowHandle FindWindowByTitle(const char* title) {
  if (WindowHandle exact = PlatformFindWindowByExactTitle(title)) return exact;
  for (int pass = kExactTitle; pass < kTitlePassCount; ++pass) {
    if (WindowHandle found = SearchPass(TitlePass(pass), title)) return found;
  }
  return nullptr;
}

bool WindowCommand(const char* title) {
  // An empty title would match the first titled window under the foreground one, whichever it
  // is: it names no window.
  WindowHandle window = title[0] ? FindWindowByTitle(title) : nullptr;
  if (!window) {
    PlatformShowWarning(kWindowNotFoundMessage, title);
    return false;
  }
  if (PlatformIsWindow(window)) PlatformBringWindowForward(window);
  return true;
}
