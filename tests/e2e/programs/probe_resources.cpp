// probe.exe's commands on exe files (see probe_resources.h). Exe files are opened as data files,
// so nothing of them runs.
#include "probe_resources.h"

#include <cstring>

namespace probe {
namespace {

// ---- exe resources ----

struct Module {
  HMODULE handle = nullptr;
  ~Module() {
    if (handle) FreeLibrary(handle);
  }
};

bool OpenModule(const Args& args, size_t index, Module* module, Answer* answer) {
  if (index >= args.size()) return answer->Fail("expected an exe path");
  module->handle = LoadLibraryExW(Wide(args[index]).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module->handle) return answer->Fail("cannot open " + args[index] + " (error " + Number(GetLastError()) + ")");
  return true;
}

struct TypeName {
  const char* name;
  uintptr_t id;
};
const TypeName kTypes[] = {{"CURSOR", 1},  {"BITMAP", 2},   {"ICON", 3},         {"MENU", 4},
                           {"DIALOG", 5},  {"STRING", 6},   {"ACCELERATOR", 9},  {"RCDATA", 10},
                           {"GROUP_CURSOR", 12}, {"GROUP_ICON", 14}, {"VERSION", 16}, {"MANIFEST", 24}};

// A resource type or name as given: a known type word, a number, or a string name.
struct ResourceId {
  std::wstring text;
  uintptr_t number = 0;
  LPCWSTR Get() const { return number ? MAKEINTRESOURCEW(number) : text.c_str(); }
};

ResourceId ParseResourceId(const std::string& given, bool isType) {
  ResourceId id;
  if (isType) {
    for (const TypeName& type : kTypes) {
      if (given == type.name) {
        id.number = type.id;
        return id;
      }
    }
  }
  unsigned long value = 0;
  if (ParseNumber(given, &value) && value > 0 && value < 0x10000) {
    id.number = value;
  } else {
    id.text = Wide(given);
  }
  return id;
}

std::string ResourceIdText(LPCWSTR id, bool isType) {
  if (IS_INTRESOURCE(id)) {
    uintptr_t number = reinterpret_cast<uintptr_t>(id);
    if (isType) {
      for (const TypeName& type : kTypes) {
        if (type.id == number) return type.name;
      }
    }
    return Number(long(number));
  }
  return EscapedWide(id);
}

bool LoadResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name, const BYTE** data, DWORD* size) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return false;
  *data = static_cast<const BYTE*>(LockResource(loaded));
  *size = SizeofResource(module, found);
  return *data != nullptr;
}

struct ResourceWalk {
  Answer* answer;
};

BOOL CALLBACK OnLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR data) {
  ResourceWalk* walk = reinterpret_cast<ResourceWalk*>(data);
  HRSRC found = FindResourceExW(module, type, name, language);
  DWORD size = found ? SizeofResource(module, found) : 0;
  walk->answer->Fields({ResourceIdText(type, true), ResourceIdText(name, false), Number(language), Number(long(size))});
  return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR data) {
  EnumResourceLanguagesW(module, type, name, OnLanguage, data);
  return TRUE;
}

BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR data) {
  EnumResourceNamesW(module, type, OnName, data);
  return TRUE;
}

#pragma pack(push, 2)
struct GroupIconHeader {
  WORD reserved, type, count;
};
struct GroupIconEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)
// The layout of the resource data itself, the same in an exe of either build.
static_assert(sizeof(GroupIconHeader) == 6 && sizeof(GroupIconEntry) == 14, "icon group records as stored");

// What the icon image itself says: PNG or a DIB whose height counts the mask too.
void DescribeIconImage(const BYTE* data, DWORD size, std::string* width, std::string* height, std::string* bpp,
                       std::string* format) {
  static const BYTE kPng[] = {0x89, 'P', 'N', 'G'};
  if (size >= 24 && memcmp(data, kPng, sizeof kPng) == 0) {
    auto be32 = [&](int at) { return (DWORD(data[at]) << 24) | (DWORD(data[at + 1]) << 16) | (DWORD(data[at + 2]) << 8) | data[at + 3]; };
    *width = Number(long(be32(16)));
    *height = Number(long(be32(20)));
    *bpp = size > 25 ? Number(data[24] * (data[25] == 6 ? 4 : data[25] == 2 ? 3 : 1)) : "?";
    *format = "png";
    return;
  }
  if (size >= sizeof(BITMAPINFOHEADER)) {
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    *width = Number(header->biWidth);
    *height = Number(header->biHeight / 2);
    *bpp = Number(header->biBitCount);
    *format = "dib";
    return;
  }
  *width = *height = *bpp = "?";
  *format = "unknown";
}

bool RunIconGroup(const Args& args, Answer* answer) {
  Module module;
  if (!OpenModule(args, 1, &module, answer)) return false;
  if (args.size() < 3) return answer->Fail("expected an icon group name");
  ResourceId name = ParseResourceId(args[2], false);
  const BYTE* data = nullptr;
  DWORD size = 0;
  if (!LoadResourceBytes(module.handle, MAKEINTRESOURCEW(14), name.Get(), &data, &size)) {
    return answer->Fail("no icon group " + args[2]);
  }
  if (size < sizeof(GroupIconHeader)) return answer->Fail("icon group too short");
  const GroupIconHeader* header = reinterpret_cast<const GroupIconHeader*>(data);
  if (sizeof(GroupIconHeader) + header->count * sizeof(GroupIconEntry) > size) return answer->Fail("icon group truncated");
  const GroupIconEntry* entries = reinterpret_cast<const GroupIconEntry*>(data + sizeof(GroupIconHeader));
  for (WORD i = 0; i < header->count; ++i) {
    const GroupIconEntry& entry = entries[i];
    std::string width = "?", height = "?", bpp = "?", format = "missing";
    const BYTE* image = nullptr;
    DWORD imageSize = 0;
    if (LoadResourceBytes(module.handle, MAKEINTRESOURCEW(3), MAKEINTRESOURCEW(entry.id), &image, &imageSize)) {
      DescribeIconImage(image, imageSize, &width, &height, &bpp, &format);
    }
    answer->Fields({Number(entry.width ? entry.width : 256), Number(entry.height ? entry.height : 256),
                    Number(entry.colors), Number(entry.planes), Number(entry.bitCount), Number(long(entry.bytes)),
                    Number(entry.id), width, height, bpp, format});
  }
  return true;
}

bool RunAccelerators(const Args& args, Answer* answer) {
  Module module;
  if (!OpenModule(args, 1, &module, answer)) return false;
  if (args.size() < 3) return answer->Fail("expected an accelerator table name");
  ResourceId name = ParseResourceId(args[2], false);
  const BYTE* data = nullptr;
  DWORD size = 0;
  if (!LoadResourceBytes(module.handle, MAKEINTRESOURCEW(9), name.Get(), &data, &size)) {
    return answer->Fail("no accelerator table " + args[2]);
  }
  // Each entry in the file: WORD flags, WORD key, WORD command, WORD padding; 0x80 marks the last.
  const DWORD kEntrySize = 8;
  const WORD kLastEntry = 0x80;
  for (DWORD at = 0; at + kEntrySize <= size; at += kEntrySize) {
    const WORD* entry = reinterpret_cast<const WORD*>(data + at);
    answer->Fields({Number(entry[0] & ~kLastEntry), Number(entry[1]), Number(entry[2])});
    if (entry[0] & kLastEntry) break;
  }
  return true;
}

bool RunResourceMenu(const Args& args, Answer* answer) {
  Module module;
  if (!OpenModule(args, 1, &module, answer)) return false;
  if (args.size() < 3) return answer->Fail("expected a menu name");
  ResourceId name = ParseResourceId(args[2], false);
  const BYTE* data = nullptr;
  DWORD size = 0;
  if (!LoadResourceBytes(module.handle, MAKEINTRESOURCEW(4), name.Get(), &data, &size)) {
    return answer->Fail("no menu " + args[2]);
  }
  HMENU menu = LoadMenuIndirectW(data);
  if (!menu) return answer->Fail("the menu resource does not load");
  DumpMenu(menu, "", &answer->lines);
  DestroyMenu(menu);
  return true;
}

bool RunResourceData(const Args& args, Answer* answer) {
  Module module;
  if (!OpenModule(args, 1, &module, answer)) return false;
  if (args.size() < 4) return answer->Fail("expected a type and a name");
  ResourceId type = ParseResourceId(args[2], true);
  ResourceId name = ParseResourceId(args[3], false);
  const BYTE* data = nullptr;
  DWORD size = 0;
  if (!LoadResourceBytes(module.handle, type.Get(), name.Get(), &data, &size)) {
    return answer->Fail("no resource " + args[2] + " " + args[3]);
  }
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(size * 2);
  for (DWORD i = 0; i < size; ++i) {
    hex += kDigits[data[i] >> 4];
    hex += kDigits[data[i] & 15];
  }
  answer->Line(hex);
  return true;
}

}  // namespace

bool RunResourceCommand(const Args& args, Answer* answer, bool* known) {
  const std::string& command = args[0];
  *known = true;
  if (command == "resources") {
    Module module;
    if (!OpenModule(args, 1, &module, answer)) return false;
    ResourceWalk walk{answer};
    EnumResourceTypesW(module.handle, OnType, reinterpret_cast<LONG_PTR>(&walk));
    return true;
  }
  if (command == "icongroup") return RunIconGroup(args, answer);
  if (command == "accelerators") return RunAccelerators(args, answer);
  if (command == "resmenu") return RunResourceMenu(args, answer);
  if (command == "resdata") return RunResourceData(args, answer);
  *known = false;
  return false;
}

}  // namespace probe
