// The notification-area icon: one icon, id IDI_WORDHATCH, per main window.
#include "app/tray_icon.h"

#include <shellapi.h>
#include <string.h>

#include "common/text.h"
#include "platform/win32_sizes.h"
#include "resources/resource_ids.h"

// The record in its shell-version-5 form, the largest that every supported system accepts. The
// shell tells the forms apart by their size, which is that of the build's own record.
static const DWORD kNotifyRecordSize = NOTIFYICONDATAA_V2_SIZE;
static_assert(kNotifyRecordSize == Win32BuildSize(488, 504), "the shell-version-5 size of this build's record");
static const UINT kBalloonTimeoutMs = 10000;  // no balloon is ever shown; set as the record expects

// A zeroed record naming the icon of `window`.
static NOTIFYICONDATAA IconRecord(HWND window) {
  NOTIFYICONDATAA record;
  memset(&record, 0, sizeof record);
  record.cbSize = kNotifyRecordSize;
  record.hWnd = window ? window : GetDesktopWindow();
  record.uID = IDI_WORDHATCH;
  record.uTimeout = kBalloonTimeoutMs;
  return record;
}

bool AddTrayIcon(HWND window, HICON icon, const char* tip) {
  NOTIFYICONDATAA record = IconRecord(window);
  record.uFlags = NIF_MESSAGE | NIF_ICON;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = icon ? icon : LoadIconA(nullptr, IDI_ASTERISK);
  if (tip && *tip) {
    record.uFlags |= NIF_TIP;
    CopyTextBounded(record.szTip, tip, sizeof record.szTip);
  }
  return Shell_NotifyIconA(NIM_ADD, &record) != 0;
}

void RemoveTrayIcon(HWND window) {
  NOTIFYICONDATAA record = IconRecord(window);
  Shell_NotifyIconA(NIM_DELETE, &record);
}
