// Clipboard seam over user32 and movable global memory.
#include <windows.h>

#include <limits.h>
#include <string.h>
#include <wchar.h>

#include "platform/clipboard.h"
#include "platform/win32_window.h"

// The text goes through the clipboard's Unicode form, so that no character is lost to the code
// page; the system offers it in the other text forms too. The core reads and writes UTF-8.

// The UTF-8 copy handed out by PlatformLockClipboardText, released by the unlock.
static char* gLockedText;

// The seam counts bytes in 32 bits; a bigger text (only the 64-bit program can meet one) counts
// as its first 4 GiB less a byte rather than as its size cut to 32 bits, which could be 0.
static uint32_t BlockSizeWithinSeam(SIZE_T bytes) {
  const SIZE_T limit = UINT32_MAX;
  return uint32_t(bytes < limit ? bytes : limit);
}

bool PlatformClipboardHasText() { return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0; }

// An owner is needed: emptying a clipboard opened without one leaves it ownerless, and the
// system then refuses the new text, which would lose what the user had copied.
bool PlatformOpenClipboard() { return OpenClipboard(Win32MainWindow()) != 0; }

void PlatformCloseClipboard() { CloseClipboard(); }

// The UTF-8 form of `units` wide characters in a new heap block with a NUL after it, or nullptr.
static char* Utf8Copy(const wchar_t* text, int units, uint32_t* size) {
  int bytes = units ? WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr) : 0;
  if (units && bytes <= 0) return nullptr;
  char* copy = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, SIZE_T(bytes) + 1));
  if (!copy) return nullptr;
  if (units) WideCharToMultiByte(CP_UTF8, 0, text, units, copy, bytes, nullptr, nullptr);
  *size = BlockSizeWithinSeam(SIZE_T(bytes));
  return copy;
}

const char* PlatformLockClipboardText(uint32_t* size) {
  *size = 0;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (!text) return nullptr;
  // The text ends at its first NUL, or at the end of its block when another program left none.
  size_t units = wcsnlen(text, GlobalSize(data) / sizeof(wchar_t));
  const size_t mostUnits = INT_MAX;
  gLockedText = Utf8Copy(text, int(units < mostUnits ? units : mostUnits), size);
  GlobalUnlock(data);
  return gLockedText;
}

void PlatformUnlockClipboardText() {
  if (gLockedText) HeapFree(GetProcessHeap(), 0, gLockedText);
  gLockedText = nullptr;
}

// The UTF-8 `text` as NUL-ended Unicode text in a new movable block, or nullptr.
static HGLOBAL UnicodeBlockOf(const char* text, uint32_t length) {
  int units = length ? MultiByteToWideChar(CP_UTF8, 0, text, int(length), nullptr, 0) : 0;
  if (length && units <= 0) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T(units) + 1) * sizeof(wchar_t));
  wchar_t* wide = block ? static_cast<wchar_t*>(GlobalLock(block)) : nullptr;
  if (!wide) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  if (units) MultiByteToWideChar(CP_UTF8, 0, text, int(length), wide, units);
  GlobalUnlock(block);
  return block;
}

// From here on the system owns the block, unless it refuses it.
static bool PutBlock(uint32_t format, HGLOBAL block) {
  if (!block) return false;
  if (SetClipboardData(format, block)) return true;
  GlobalFree(block);
  return false;
}

bool PlatformReplaceClipboardText(const char* text, uint32_t length) {
  HGLOBAL block = UnicodeBlockOf(text, length);
  if (!block) return false;
  EmptyClipboard();
  return PutBlock(CF_UNICODETEXT, block);
}

// ---- every format ----------------------------------------------------------------------------

uint32_t PlatformNextClipboardFormat(uint32_t format) { return EnumClipboardFormats(format); }

// Formats whose content is no global memory block: a bitmap, a palette or a metafile handle,
// what its owner draws, and the ranges of private and GDI handles the system cannot copy.
static bool IsHandleFormat(uint32_t format) {
  switch (format) {
    case CF_BITMAP: case CF_PALETTE: case CF_METAFILEPICT: case CF_ENHMETAFILE: case CF_OWNERDISPLAY:
    case CF_DSPBITMAP: case CF_DSPMETAFILEPICT: case CF_DSPENHMETAFILE:
      return true;
    default:
      return format >= CF_PRIVATEFIRST && format <= CF_GDIOBJLAST;
  }
}

static bool HasDeviceIndependentBitmap() {
  return IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_DIBV5);
}

// Whether `first` comes before `second` in the clipboard's order (the formats that the system
// makes from another come after the ones that programs put there).
static bool ListedBefore(UINT first, UINT second) {
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    if (format == first) return true;
    if (format == second) return false;
  }
  return false;
}

// The system makes each text form from the others, a bitmap and its palette from a DIB, one DIB
// form from the other and the old metafile from the enhanced one; a copy of the source brings
// them back in their place. Of the two DIB forms the later is taken for the one made.
static bool SystemRemakes(uint32_t format) {
  switch (format) {
    case CF_BITMAP: case CF_PALETTE: return HasDeviceIndependentBitmap();
    case CF_DIBV5: return ListedBefore(CF_DIB, CF_DIBV5);
    case CF_DIB: return ListedBefore(CF_DIBV5, CF_DIB);
    case CF_METAFILEPICT: return IsClipboardFormatAvailable(CF_ENHMETAFILE) != 0;
    default: return false;
  }
}

// A form that the system made from another one may be refused when read; the source brings it back.
static bool SystemCanRemake(uint32_t format) {
  switch (format) {
    case CF_TEXT: case CF_OEMTEXT: case CF_LOCALE: return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
    case CF_UNICODETEXT: return IsClipboardFormatAvailable(CF_TEXT) != 0;
    case CF_DIBV5: return IsClipboardFormatAvailable(CF_DIB) != 0;
    case CF_DIB: return IsClipboardFormatAvailable(CF_DIBV5) != 0;
    default: return false;
  }
}

static ClipboardFormatKind UnreadableKind(uint32_t format) {
  return SystemCanRemake(format) ? kFormatLeftToSystem : kFormatNotCopyable;
}

// The enhanced metafile's bytes stand for it; the system counts them in 32 bits too.
static ClipboardFormatKind MeasureEnhancedMetafile(uint32_t* size) {
  HENHMETAFILE metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
  UINT bytes = metafile ? GetEnhMetaFileBits(metafile, 0, nullptr) : 0;
  *size = bytes;
  return bytes ? kFormatCopyable : kFormatNotCopyable;
}

ClipboardFormatKind PlatformMeasureClipboardFormat(uint32_t format, uint32_t* size) {
  *size = 0;
  if (SystemRemakes(format)) return kFormatLeftToSystem;
  if (format == CF_ENHMETAFILE) return MeasureEnhancedMetafile(size);
  if (IsHandleFormat(format)) return kFormatNotCopyable;
  HANDLE data = GetClipboardData(format);
  if (!data) return UnreadableKind(format);
  SIZE_T bytes = GlobalSize(data);
  // A block too big for the seam's count cannot be copied whole.
  if (bytes >= SIZE_T(UINT32_MAX)) return kFormatNotCopyable;
  *size = uint32_t(bytes);
  return kFormatCopyable;
}

bool PlatformReadClipboardFormat(uint32_t format, void* out, uint32_t size) {
  if (format == CF_ENHMETAFILE) {
    HENHMETAFILE metafile = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    return metafile && GetEnhMetaFileBits(metafile, size, static_cast<BYTE*>(out)) == size;
  }
  HANDLE data = GetClipboardData(format);
  if (!data || GlobalSize(data) != size) return false;
  if (!size) return true;
  const void* bytes = GlobalLock(data);
  if (!bytes) return false;
  memcpy(out, bytes, size);
  GlobalUnlock(data);
  return true;
}

bool PlatformEmptyClipboard() { return EmptyClipboard() != 0; }

// A movable block holding `size` bytes (at least one, as the system refuses an empty block).
static HGLOBAL BlockOf(const void* bytes, uint32_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1);
  void* locked = block ? GlobalLock(block) : nullptr;
  if (!locked) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  if (size) memcpy(locked, bytes, size);
  GlobalUnlock(block);
  return block;
}

bool PlatformPutClipboardFormat(uint32_t format, const void* bytes, uint32_t size) {
  if (format == CF_ENHMETAFILE) {
    HENHMETAFILE metafile = SetEnhMetaFileBits(size, static_cast<const BYTE*>(bytes));
    if (!metafile) return false;
    if (SetClipboardData(CF_ENHMETAFILE, metafile)) return true;
    DeleteEnhMetaFile(metafile);
    return false;
  }
  return PutBlock(format, BlockOf(bytes, size));
}

// The formats by which the system's clipboard history, its cloud clipboard and monitors know to
// leave content alone: the first by its presence, the other two by a DWORD 0.
static const wchar_t kExcludeFromMonitors[] = L"ExcludeClipboardContentFromMonitorProcessing";
static const wchar_t kIncludeInHistory[] = L"CanIncludeInClipboardHistory";
static const wchar_t kUploadToCloud[] = L"CanUploadToCloudClipboard";

static bool PutMark(const wchar_t* name) {
  const DWORD no = 0;
  UINT format = RegisterClipboardFormatW(name);
  return format && PutBlock(format, BlockOf(&no, sizeof no));
}

bool PlatformOfferTextLater() {
  if (!EmptyClipboard()) return false;
  bool marked = PutMark(kExcludeFromMonitors) && PutMark(kIncludeInHistory) && PutMark(kUploadToCloud);
  if (!marked) return false;
  // No data: the system asks the owner for it (WM_RENDERFORMAT) when a window reads it. Success
  // returns no handle either, so the clipboard itself tells.
  SetClipboardData(CF_UNICODETEXT, nullptr);
  return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
}

bool PlatformRenderOfferedText(const char* text, uint32_t length) {
  return PutBlock(CF_UNICODETEXT, UnicodeBlockOf(text, length));
}

// A window of `process` among the windows inside the window in front: an app's frame may belong
// to one program and show another's window inside it, which reads the clipboard for it.
struct ProcessSearch {
  DWORD process;
  bool found;
};

static BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM lParam) {
  ProcessSearch* search = reinterpret_cast<ProcessSearch*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  search->found = process == search->process;
  return !search->found;
}

bool PlatformClipboardReaderMayBeInFront() {
  HWND reader = GetOpenClipboardWindow();
  HWND front = GetForegroundWindow();
  if (!reader || !front) return true;
  ProcessSearch search = {0, false};
  GetWindowThreadProcessId(reader, &search.process);
  FindWindowOfProcess(front, reinterpret_cast<LPARAM>(&search));
  if (!search.found) EnumChildWindows(front, FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
