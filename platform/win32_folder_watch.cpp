// Folder watch seam over the system's change notifications: one background thread waits on a
// change handle per folder and on a stop event, and posts a message to the main window for each
// change. The main thread alone starts and stops it; while it runs, the thread alone touches the
// handle array (it drops a folder that can no longer be watched), and the main thread reads the
// array again only after the thread has ended.
#include <windows.h>

#include "platform/folder_watch.h"
#include "platform/win32_window.h"

static const DWORD kWatchedChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
static const int kWideFolderCapacity = MAX_PATH;

struct FolderWatch {
  HANDLE handles[kMaxWatchedFolders + 1];  // the stop event, then one change handle per folder
  DWORD count;   // handles made, the stop event included
  DWORD waited;  // the first `waited` of them are waited on; the rest are dropped, to be closed
  HWND window;
  HANDLE thread;
};
static FolderWatch gWatch;
static_assert(kMaxWatchedFolders + 1 <= MAXIMUM_WAIT_OBJECTS, "one wait takes the stop event and every folder");

// The background thread: waits until the stop event, posting one message per change.
static DWORD WINAPI WaitForChanges(void* parameter) {
  FolderWatch* watch = static_cast<FolderWatch*>(parameter);
  for (;;) {
    DWORD signalled = WaitForMultipleObjects(watch->waited, watch->handles, FALSE, INFINITE);
    DWORD index = signalled - WAIT_OBJECT_0;
    if (signalled == WAIT_FAILED || index == 0 || index >= watch->waited) return 0;
    PostMessageW(watch->window, kFolderChangedMessage, 0, 0);
    if (FindNextChangeNotification(watch->handles[index])) continue;
    // The folder went away or cannot be watched any more: it would signal without end.
    HANDLE dropped = watch->handles[index];
    watch->handles[index] = watch->handles[watch->waited - 1];
    watch->handles[--watch->waited] = dropped;
  }
}

// Ends the running watch, if any, and closes its handles.
static void StopWatch() {
  if (gWatch.thread) {
    SetEvent(gWatch.handles[0]);
    WaitForSingleObject(gWatch.thread, INFINITE);
    CloseHandle(gWatch.thread);
  }
  if (gWatch.count > 0) CloseHandle(gWatch.handles[0]);
  for (DWORD i = 1; i < gWatch.count; ++i) FindCloseChangeNotification(gWatch.handles[i]);
  gWatch = FolderWatch();
}

// A change handle for `folder`, a path in the ANSI code page as the file seam takes paths;
// INVALID_HANDLE_VALUE when it cannot be watched.
static HANDLE WatchOneFolder(const char* folder) {
  wchar_t wide[kWideFolderCapacity];
  if (!MultiByteToWideChar(CP_ACP, 0, folder, -1, wide, kWideFolderCapacity)) return INVALID_HANDLE_VALUE;
  return FindFirstChangeNotificationW(wide, FALSE, kWatchedChanges);
}

int PlatformWatchFolders(const char* const* folders, int count) {
  StopWatch();
  HWND window = Win32MainWindow();
  if (!window || count <= 0) return 0;
  gWatch.handles[0] = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!gWatch.handles[0]) return 0;
  gWatch.count = 1;
  for (int i = 0; i < count && i < kMaxWatchedFolders; ++i) {
    HANDLE change = WatchOneFolder(folders[i]);
    if (change != INVALID_HANDLE_VALUE) gWatch.handles[gWatch.count++] = change;
  }
  gWatch.waited = gWatch.count;
  gWatch.window = window;
  if (gWatch.count > 1) gWatch.thread = CreateThread(nullptr, 0, WaitForChanges, &gWatch, 0, nullptr);
  if (!gWatch.thread) StopWatch();
  return gWatch.thread ? int(gWatch.count - 1) : 0;
}
