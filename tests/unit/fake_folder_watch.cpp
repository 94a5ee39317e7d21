// Recording fake of the folder watch seam: it keeps the folders watched; a test delivers a change
// by calling the handler of the change message itself.
#include "platform/folder_watch.h"
#include "tests/unit/fake_platform.h"

void PlatformWatchFolders(const char* const* folders, int count) {
  ++gFake.folderWatchCalls;
  gFake.watchedFolders.clear();
  for (int i = 0; i < count && i < kMaxWatchedFolders; ++i) gFake.watchedFolders.push_back(folders[i]);
}
