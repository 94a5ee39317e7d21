// probe.exe's clipboard commands (see probe_clipboard.h). The clipboard is opened without an
// owner window, so the probe never becomes the owner that a delayed rendering would ask to render.
#include "probe_clipboard.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace probe {
namespace {

const wchar_t kHtmlFormat[] = L"HTML Format";
const uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
const uint64_t kFnvPrime = 0x100000001b3ULL;
// Large enough for any test picture, small enough that the byte count stays far below 4 GB.
const unsigned long kMaxDibSide = 4096;
const DWORD kDibBitsPerPixel = 32;
// Odd steps per channel, so that neighbouring pixels and rows differ in every byte.
const DWORD kDibStepX = 0x010203;
const DWORD kDibStepY = 0x0A0B0C;

// Formats whose data is a GDI object or an owner's private handle rather than a global memory
// block of bytes.
bool IsHandleFormat(UINT format) {
  switch (format) {
    case CF_BITMAP:
    case CF_METAFILEPICT:
    case CF_PALETTE:
    case CF_ENHMETAFILE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
      return true;
  }
  return format >= CF_PRIVATEFIRST && format <= CF_GDIOBJLAST;
}

std::string HexOf(const BYTE* data, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    hex += kDigits[data[i] >> 4];
    hex += kDigits[data[i] & 15];
  }
  return hex;
}

std::string FnvOf(const BYTE* data, size_t size) {
  uint64_t hash = kFnvOffset;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * kFnvPrime;
  char text[24];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

HGLOBAL GlobalCopy(const void* bytes, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  std::memcpy(GlobalLock(memory), bytes, size);
  GlobalUnlock(memory);
  return memory;
}

// "WxH": a bottom-up 32-bit BI_RGB DIB. Rows are counted as stored (y = 0 is the bottom row); pixel
// x of row y is the DWORD x*kDibStepX ^ y*kDibStepY, so a test can rebuild the block byte for byte.
HGLOBAL PatternDib(const std::string& size, Answer* answer) {
  unsigned long width = 0, height = 0;
  size_t cross = size.find('x');
  if (cross == std::string::npos || !ParseNumber(size.substr(0, cross), &width) ||
      !ParseNumber(size.substr(cross + 1), &height) || width == 0 || height == 0 || width > kMaxDibSide ||
      height > kMaxDibSide) {
    answer->Fail("expected a DIB size WxH, each side 1.." + Number(long(kMaxDibSide)));
    return nullptr;
  }
  BITMAPINFOHEADER header = {};
  static_assert(sizeof header == 40, "BITMAPINFOHEADER as CF_DIB holds it");
  header.biSize = sizeof header;
  header.biWidth = LONG(width);
  header.biHeight = LONG(height);
  header.biPlanes = 1;
  header.biBitCount = WORD(kDibBitsPerPixel);
  header.biCompression = BI_RGB;
  header.biSizeImage = DWORD(width * height * sizeof(DWORD));
  std::string block(reinterpret_cast<const char*>(&header), sizeof header);
  block.resize(sizeof header + header.biSizeImage);
  DWORD* pixels = reinterpret_cast<DWORD*>(&block[sizeof header]);
  for (DWORD y = 0; y < height; ++y) {
    for (DWORD x = 0; x < width; ++x) pixels[y * width + x] = (x * kDibStepX) ^ (y * kDibStepY);
  }
  HGLOBAL memory = GlobalCopy(block.data(), block.size());
  if (!memory) answer->Fail("out of memory");
  return memory;
}

// The clipboard format and global memory block of one KIND DATA pair of clipput.
bool ClipboardItem(const std::string& kind, const std::string& data, UINT* format, HGLOBAL* memory, Answer* answer) {
  if (kind == "dib") {
    *format = CF_DIB;
    *memory = PatternDib(data, answer);
    return *memory != nullptr;
  }
  if (kind == "unicode") {
    std::wstring text = Wide(data);
    *format = CF_UNICODETEXT;
    *memory = GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  } else if (kind == "text" || kind == "html") {
    *format = kind == "text" ? CF_TEXT : RegisterClipboardFormatW(kHtmlFormat);
    *memory = GlobalCopy(data.c_str(), data.size() + 1);
  } else {
    return answer->Fail("unknown clipboard kind " + kind);
  }
  if (!*memory) return answer->Fail("out of memory");
  return true;
}

// A format given as a number or as a registered name.
UINT FormatOf(const std::string& given) {
  unsigned long number = 0;
  if (ParseNumber(given, &number)) return UINT(number);
  return RegisterClipboardFormatW(Wide(given).c_str());
}

bool RunGet(Answer* answer) {
  if (!OpenClipboard(nullptr)) return answer->Fail("cannot open the clipboard");
  std::wstring text;
  bool has = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = locked;
      has = true;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (!has) return answer->Fail("no text on the clipboard");
  answer->Line(EscapedWide(text));
  return true;
}

bool RunSet(const Args& args, Answer* answer) {
  std::wstring text = Wide(args.size() > 1 ? args[1] : "");
  HGLOBAL memory = GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  if (!memory) return answer->Fail("out of memory");
  if (!OpenClipboard(nullptr)) {
    GlobalFree(memory);
    return answer->Fail("cannot open the clipboard");
  }
  EmptyClipboard();
  bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!ok) return answer->Fail("SetClipboardData failed");
  answer->Line("set");
  return true;
}

// Every pair is made before the clipboard is emptied, so that a bad argument leaves it as it was.
bool RunPut(const Args& args, Answer* answer) {
  std::vector<UINT> formats;
  std::vector<HGLOBAL> blocks;
  bool ok = true;
  for (size_t i = 1; ok && i + 1 < args.size(); i += 2) {
    UINT format = 0;
    HGLOBAL memory = nullptr;
    ok = ClipboardItem(args[i], args[i + 1], &format, &memory, answer);
    if (ok) {
      formats.push_back(format);
      blocks.push_back(memory);
    }
  }
  if (ok && !OpenClipboard(nullptr)) ok = answer->Fail("cannot open the clipboard");
  if (!ok) {
    for (HGLOBAL memory : blocks) GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  size_t placed = 0;
  while (placed < blocks.size() && SetClipboardData(formats[placed], blocks[placed])) ++placed;
  CloseClipboard();
  // The clipboard owns what it took; the rest is still the probe's.
  for (size_t i = placed; i < blocks.size(); ++i) GlobalFree(blocks[i]);
  if (placed < blocks.size()) return answer->Fail("SetClipboardData failed");
  answer->Line("set");
  return true;
}

std::string FormatName(UINT format) {
  wchar_t name[256] = L"";
  GetClipboardFormatNameW(format, name, 255);
  return EscapedWide(name);
}

bool RunFormats(Answer* answer) {
  if (!OpenClipboard(nullptr)) return answer->Fail("cannot open the clipboard");
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    answer->Fields({Number(long(format)), FormatName(format)});
  }
  CloseClipboard();
  return true;
}

// Formats listed in args are not read: reading a delayed format would have its owner render it.
bool RunDump(const Args& args, Answer* answer) {
  std::vector<UINT> skipped;
  for (size_t i = 1; i < args.size(); ++i) {
    unsigned long number = 0;
    if (!ArgNumber(args, i, &number, answer, "a format number")) return false;
    skipped.push_back(UINT(number));
  }
  if (!OpenClipboard(nullptr)) return answer->Fail("cannot open the clipboard");
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    std::string number = Number(long(format)), name = FormatName(format);
    bool skip = std::find(skipped.begin(), skipped.end(), format) != skipped.end();
    if (skip || IsHandleFormat(format)) {
      answer->Fields({number, name, skip ? "skipped" : "handle"});
      continue;
    }
    HANDLE data = GetClipboardData(format);
    const BYTE* bytes = data ? static_cast<const BYTE*>(GlobalLock(data)) : nullptr;
    if (!bytes) {
      answer->Fields({number, name, "unreadable"});
      continue;
    }
    size_t size = GlobalSize(data);
    answer->Fields({number, name, Number(static_cast<long long>(size)), FnvOf(bytes, size)});
    GlobalUnlock(data);
  }
  CloseClipboard();
  return true;
}

bool RunHex(const Args& args, Answer* answer) {
  if (args.size() < 2) return answer->Fail("expected a format number or name");
  UINT format = FormatOf(args[1]);
  if (!format) return answer->Fail("no format " + args[1]);
  if (IsHandleFormat(format)) return answer->Fail("format " + args[1] + " holds a handle, not bytes");
  if (!OpenClipboard(nullptr)) return answer->Fail("cannot open the clipboard");
  HANDLE data = GetClipboardData(format);
  const BYTE* bytes = data ? static_cast<const BYTE*>(GlobalLock(data)) : nullptr;
  std::string hex;
  if (bytes) {
    hex = HexOf(bytes, GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  if (!bytes) return answer->Fail("format " + args[1] + " is not on the clipboard");
  answer->Line(hex);
  return true;
}

// ---- the monitor ----

// Not declared for the system version the probe is built for: looked up at run time.
const UINT kClipboardUpdateMessage = 0x031D;  // WM_CLIPBOARDUPDATE
const wchar_t kMonitorClass[] = L"WordHatchProbeClipboardMonitor";
// A reader that finds the clipboard busy tries again, this often and this many times.
const DWORD kMonitorRetryMs = 5;
const int kMonitorTries = 20;
typedef BOOL(WINAPI* AddListenerFunction)(HWND);

struct Monitor {
  std::wstring logPath;
  bool withoutOwner = false;
} gMonitor;

void AppendMonitorLine(const std::string& line) {
  HANDLE file = CreateFileW(gMonitor.logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  std::string bytes = line + "\n";
  DWORD written = 0;
  WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// Reads the clipboard's text as a clipboard manager does at every change.
void ReadChangedClipboard(HWND window) {
  bool opened = false;
  for (int tries = 0; tries < kMonitorTries && !opened; ++tries) {
    opened = OpenClipboard(gMonitor.withoutOwner ? nullptr : window) != 0;
    if (!opened) Sleep(kMonitorRetryMs);
  }
  if (!opened) {
    AppendMonitorLine("busy");
    return;
  }
  std::string line = "none";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data))) {
      line = "text " + Number(long(wcslen(text)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  AppendMonitorLine(line);
}

LRESULT CALLBACK MonitorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kClipboardUpdateMessage) {
    ReadChangedClipboard(window);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int RunClipboardMonitor(const std::string& logPath, bool withoutOwner) {
  gMonitor.logPath = Wide(logPath);
  gMonitor.withoutOwner = withoutOwner;
  auto addListener = reinterpret_cast<AddListenerFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AddClipboardFormatListener")));
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = MonitorProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kMonitorClass;
  if (!addListener || !RegisterClassW(&windowClass)) return 2;
  HWND window = CreateWindowExW(0, kMonitorClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                                nullptr);
  if (!window || !addListener(window)) return 3;
  AppendMonitorLine("ready");
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

bool RunClipboardCommand(const Args& args, Answer* answer, bool* known) {
  const std::string& command = args[0];
  *known = true;
  if (command == "clipget") return RunGet(answer);
  if (command == "clipset") return RunSet(args, answer);
  if (command == "clipput") return RunPut(args, answer);
  if (command == "clipformats") return RunFormats(answer);
  if (command == "clipdump") return RunDump(args, answer);
  if (command == "cliphex") return RunHex(args, answer);
  *known = false;
  return false;
}

}  // namespace probe
