// Recording fake of the registry, clipboard and menu seams (see fake_platform.h).
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/menu.h"
#include "platform/registry.h"
#include "tests/unit/fake_platform.h"

// ---- registry: an in-memory store that records each call -------------------------------------

struct PlatformRegistryKey {
  std::string name;
};

static const char* const kFakeAccessNames[] = {"query", "all", "readwrite"};

std::string FakeRegistryKeyName(int root, const std::string& path) {
  return std::string(root == kRegistryCurrentUser ? "HKCU" : root == kRegistryLocalMachine ? "HKLM" : "NONE") +
         "\\" + path;
}

std::vector<std::string> FakeRegistryCalls() {
  std::vector<std::string> out;
  for (const FakeEvent& e : FakeEventsOf(kFakeRegistryCall)) out.push_back(e.text);
  return out;
}

static RegistryKey FakeOpenKey(const std::string& name) {
  gFake.openRegistryKeys++;
  return new PlatformRegistryKey{name};
}

RegistryKey PlatformOpenRegistryKey(RegistryRoot root, const char* path, RegistryAccess access) {
  std::string name = FakeRegistryKeyName(root, path);
  FakeRecord(kFakeRegistryCall, 0, 0, 0, "open " + name + " " + kFakeAccessNames[access]);
  if (root == kRegistryNoRoot || !gFake.registry.count(name) || FakeCallFails()) return nullptr;
  return FakeOpenKey(name);
}

RegistryKey PlatformCreateRegistryKey(RegistryRoot root, const char* path) {
  std::string name = FakeRegistryKeyName(root, path);
  FakeRecord(kFakeRegistryCall, 0, 0, 0, "create " + name);
  if (root == kRegistryNoRoot || gFake.failRegistryCreate || FakeCallFails()) return nullptr;
  gFake.registry[name];
  return FakeOpenKey(name);
}

void PlatformCloseRegistryKey(RegistryKey key) {
  if (!key) return;
  FakeRecord(kFakeRegistryCall, 0, 0, 0, "close " + key->name);
  gFake.openRegistryKeys--;
  delete key;
}

bool PlatformQueryRegistryValue(RegistryKey key, const char* name, void* buffer, uint32_t* size) {
  FakeRecord(kFakeRegistryCall, 0, 0, 0, "query " + std::string(name) + " " + std::to_string(*size));
  auto& values = gFake.registry[key->name];
  auto value = values.find(name);
  if (value == values.end() || FakeCallFails()) return false;
  const std::string& data = value->second.data;
  bool fits = data.size() <= *size;
  if (fits) memcpy(buffer, data.data(), data.size());
  *size = uint32_t(data.size());
  return fits;
}

bool PlatformSetRegistryExpandString(RegistryKey key, const char* name, const char* data, uint32_t size) {
  FakeRecord(kFakeRegistryCall, 0, 0, 0, "set " + std::string(name) + " " + std::to_string(size));
  if (gFake.failRegistrySet || FakeCallFails()) return false;
  gFake.registry[key->name][name] = FakePlatform::RegistryValue{2, std::string(data, size)};
  return true;
}

bool PlatformDeleteRegistryValue(RegistryKey key, const char* name) {
  FakeRecord(kFakeRegistryCall, 0, 0, 0, "deletevalue " + std::string(name));
  return !FakeCallFails() && gFake.registry[key->name].erase(name) > 0;
}

bool PlatformDeleteRegistryKey(RegistryRoot root, const char* path) {
  std::string name = FakeRegistryKeyName(root, path);
  FakeRecord(kFakeRegistryCall, 0, 0, 0, "deletekey " + name);
  return !FakeCallFails() && gFake.registry.erase(name) > 0;
}

// ---- clipboard -------------------------------------------------------------------------------

const uint32_t kFakeTextFormat = 1;

bool PlatformClipboardHasText() { return gFake.clipboard.count(kFakeTextFormat) > 0; }

bool PlatformOpenClipboard() {
  if (gFake.clipboardBusy || FakeCallFails()) return false;
  FakeRecord(kFakeClipboardOpen);
  gFake.clipboardOpens++;
  return true;
}

void PlatformCloseClipboard() { gFake.clipboardOpens--; }

// The locked data lives in a block of exactly its size, so that reading past it is caught.
static char* gFakeLockedText;

const char* PlatformLockClipboardText(uint32_t* size) {
  *size = 0;
  auto text = gFake.clipboard.find(kFakeTextFormat);
  if (gFake.clipboardOpens <= 0 || gFake.failClipboardLock || text == gFake.clipboard.end() || FakeCallFails()) {
    return nullptr;
  }
  gFake.clipboardLocks++;
  *size = uint32_t(text->second.size());
  free(gFakeLockedText);
  gFakeLockedText = static_cast<char*>(malloc(*size ? *size : 1));
  memcpy(gFakeLockedText, text->second.data(), *size);
  return gFakeLockedText;
}

void PlatformUnlockClipboardText() {
  gFake.clipboardLocks--;
  free(gFakeLockedText);
  gFakeLockedText = nullptr;
}

bool PlatformReplaceClipboardText(const char* text, uint32_t length) {
  if (gFake.clipboardOpens <= 0 || gFake.failClipboardMemory || FakeCallFails()) return false;
  std::string block(text, length);
  gFake.clipboard.clear();
  gFake.clipboard[kFakeTextFormat] = block + '\0';
  return true;
}

uint32_t PlatformNextClipboardFormat(uint32_t format) {
  if (gFake.clipboardOpens <= 0) return 0;
  auto next = format ? gFake.clipboard.upper_bound(format) : gFake.clipboard.begin();
  return next == gFake.clipboard.end() ? 0 : next->first;
}

ClipboardFormatKind PlatformMeasureClipboardFormat(uint32_t format, uint32_t* size) {
  *size = 0;
  if (gFake.clipboardDerived.count(format)) return kFormatLeftToSystem;
  auto data = gFake.clipboard.find(format);
  if (gFake.clipboardOpens <= 0 || data == gFake.clipboard.end() || gFake.clipboardUncopyable.count(format)) {
    return kFormatNotCopyable;
  }
  *size = uint32_t(data->second.size());
  return kFormatCopyable;
}

bool PlatformReadClipboardFormat(uint32_t format, void* out, uint32_t size) {
  auto data = gFake.clipboard.find(format);
  if (gFake.clipboardOpens <= 0 || data == gFake.clipboard.end() || data->second.size() != size) return false;
  memcpy(out, data->second.data(), size);
  return true;
}

bool PlatformEmptyClipboard() {
  if (gFake.clipboardOpens <= 0) return false;
  gFake.clipboard.clear();
  gFake.clipboardDerived.clear();
  gFake.clipboardUncopyable.clear();
  gFake.clipboardTextOffered = false;
  gFake.clipboardEmpties++;
  return true;
}

bool PlatformPutClipboardFormat(uint32_t format, const void* bytes, uint32_t size) {
  if (gFake.clipboardOpens <= 0 || gFake.failClipboardMemory) return false;
  gFake.clipboard[format] = std::string(static_cast<const char*>(bytes), size);
  return true;
}

bool PlatformOfferTextLater() {
  if (!PlatformEmptyClipboard() || gFake.failClipboardOffer) return false;
  const std::string no(4, '\0');
  for (uint32_t mark : {kFakeExcludeMark, kFakeHistoryMark, kFakeCloudMark}) gFake.clipboard[mark] = no;
  gFake.clipboardTextOffered = true;
  return true;
}

bool PlatformRenderOfferedText(const char* text, uint32_t length) {
  if (!gFake.clipboardTextOffered || gFake.failClipboardMemory) return false;
  gFake.clipboard[kFakeUnicodeFormat] = std::string(text, length);
  gFake.clipboardTextOffered = false;
  return true;
}

bool PlatformClipboardReaderMayBeInFront() { return !gFake.clipboardReaderElsewhere; }

// ---- menu ------------------------------------------------------------------------------------

bool PlatformMenuItemChecked(uint32_t id) {
  auto it = gFake.menuChecks.find(id);
  return it != gFake.menuChecks.end() && it->second;
}

void PlatformCheckMenuItem(uint32_t id, bool checked) { gFake.menuChecks[id] = checked; }
