// Shared by probe.exe and probe_hook.dll: UTF-8 text helpers, the line format and the menu walk.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace probe {

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "the probe is a 32-bit or a 64-bit Windows program");

// The size the system documents for this build of the probe: `size32` in the 32-bit probe,
// `size64` in the 64-bit one. The probe checks each structure it hands the system against it.
constexpr size_t BuildSize(size_t size32, size_t size64) { return sizeof(void*) == 8 ? size64 : size32; }

// The hook DLL answers this registered message, sent with the asking probe's process id in wParam,
// by writing the window's menu into the file mapping named kMenuMappingPrefix + that id:
// a DWORD byte count, then the lines of DumpMenu.
const wchar_t kMenuMessage[] = L"WordHatchProbeDumpMenu";
const wchar_t kMenuMappingPrefix[] = L"WordHatchProbeMenu-";
const DWORD kMenuMappingSize = 256 * 1024;

inline std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring result(size, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &result[0], size);
  return result;
}

inline std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &result[0], size, nullptr, nullptr);
  return result;
}

// Fields are tab-separated and answers line-based, so these characters travel escaped.
inline std::string Escape(const std::string& text) {
  std::string result;
  for (char c : text) {
    switch (c) {
      case '\\': result += "\\\\"; break;
      case '\t': result += "\\t"; break;
      case '\r': result += "\\r"; break;
      case '\n': result += "\\n"; break;
      default: result += c;
    }
  }
  return result;
}

inline std::string Unescape(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      result += text[i];
      continue;
    }
    char c = text[++i];
    switch (c) {
      case 't': result += '\t'; break;
      case 'r': result += '\r'; break;
      case 'n': result += '\n'; break;
      case '\\': result += '\\'; break;
      default: result += '\\'; result += c;  // not an escape: a plain backslash, as in paths
    }
  }
  return result;
}

inline std::string EscapedWide(const std::wstring& text) { return Escape(Utf8(text)); }

// Handles are pointer-sized: every bit of them is written, also in the 64-bit probe, whose
// unsigned long has only 32.
inline std::string Hex(uintptr_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
  return buffer;
}

// Wide enough for a pointer-sized result (LRESULT) of either build.
inline std::string Number(long long value) { return std::to_string(value); }

inline std::string JoinFields(std::initializer_list<std::string> fields) {
  std::string line;
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) line += '\t';
    line += field;
    first = false;
  }
  return line;
}

// One line per item, depth first: path kind id checked grayed text. Only works on menus of this
// process: Wine refuses menu calls on another process's menu handle.
inline void DumpMenu(HMENU menu, const std::string& path, std::string* lines) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    std::string here = path.empty() ? Number(i) : path + "/" + Number(i);
    wchar_t text[512] = L"";
    MENUITEMINFOW info = {};
    static_assert(sizeof info == BuildSize(48, 80), "MENUITEMINFOW as the menu calls take it in this build");
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 511;
    if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) continue;
    const char* kind = info.hSubMenu ? "popup" : (info.fType & MFT_SEPARATOR) ? "separator" : "item";
    long id = info.hSubMenu ? -1 : long(info.wID);
    *lines += JoinFields({here, kind, Number(id), (info.fState & MFS_CHECKED) ? "1" : "0",
                          (info.fState & MFS_GRAYED) ? "1" : "0", EscapedWide(text)}) + "\n";
    if (info.hSubMenu) DumpMenu(info.hSubMenu, here, lines);
  }
}

}  // namespace probe
