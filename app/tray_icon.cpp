// The notification-area icon: one icon, id IDI_WORDHATCH, per main window.
#include "app/tray_icon.h"

#include <shellapi.h>
#include <string.h>

#include "app/icon_grey.h"
#include "common/heap.h"
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

bool ModifyTrayIcon(HWND window, HICON icon, const char* tip) {
  NOTIFYICONDATAA record = IconRecord(window);
  record.uFlags = NIF_ICON | NIF_TIP;
  record.hIcon = icon ? icon : LoadIconA(nullptr, IDI_ASTERISK);
  CopyTextBounded(record.szTip, tip ? tip : "", sizeof record.szTip);
  return Shell_NotifyIconA(NIM_MODIFY, &record) != 0;
}

// A top-down 32-bit header of `width` by `height` pixels: rows as GreyIconPixels reads them.
static BITMAPINFO TopDownHeader(LONG width, LONG height) {
  BITMAPINFO header;
  memset(&header, 0, sizeof header);
  header.bmiHeader.biSize = sizeof header.bmiHeader;
  header.bmiHeader.biWidth = width;
  header.bmiHeader.biHeight = -height;
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  return header;
}

// The greyed colour bitmap of the icon whose parts are `parts` (a colour icon: its mask is as
// high as its image), as a DIB section; nullptr on failure.
static HBITMAP GreyedColour(const ICONINFO& parts) {
  BITMAP size;
  if (!parts.hbmColor || !GetObjectA(parts.hbmMask, sizeof size, &size)) return nullptr;
  BITMAPINFO header = TopDownHeader(size.bmWidth, size.bmHeight);
  size_t count = size_t(size.bmWidth) * size_t(size.bmHeight);
  HDC screen = GetDC(nullptr);
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(screen, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
  uint32_t* mask = static_cast<uint32_t*>(AllocZeroed(count, sizeof(uint32_t)));
  bool read = colour && mask &&
              GetDIBits(screen, parts.hbmColor, 0, UINT(size.bmHeight), bits, &header, DIB_RGB_COLORS) &&
              GetDIBits(screen, parts.hbmMask, 0, UINT(size.bmHeight), mask, &header, DIB_RGB_COLORS);
  if (read) GreyIconPixels(static_cast<uint32_t*>(bits), mask, count);
  FreeBlock(mask);
  ReleaseDC(nullptr, screen);
  if (!read && colour) DeleteObject(colour);
  return read ? colour : nullptr;
}

HICON CreateGreyedIcon(HICON icon) {
  ICONINFO parts;
  if (!icon || !GetIconInfo(icon, &parts)) return nullptr;
  HICON greyed = nullptr;
  if (HBITMAP colour = GreyedColour(parts)) {
    ICONINFO made = parts;  // the same mask and hot spot; the system copies both bitmaps
    made.hbmColor = colour;
    greyed = CreateIconIndirect(&made);
    DeleteObject(colour);
  }
  if (parts.hbmColor) DeleteObject(parts.hbmColor);
  DeleteObject(parts.hbmMask);
  return greyed;
}
