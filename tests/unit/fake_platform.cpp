// Recording fake of the platform seam (see fake_platform.h): keyboard, heap, files, folder watch,
// resources, window, clock, mouse, environment and settings.
#include "tests/unit/fake_platform.h"
#include "tests/unit/fake_keyboard_layout.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/folder_watch.h"
#include "platform/keyboard.h"
#include "platform/memory.h"
#include "platform/mouse.h"
#include "platform/resources.h"
#include "platform/settings.h"
#include "platform/ui.h"
#include "watcher/key_events.h"

FakePlatform gFake;

void FakeReset() {
  gFake = FakePlatform();  // value-initialised: every number, flag and key state is 0
  gFake.hasStatusBar = gFake.hasEditor = true;
  gFake.tickCount = 1000;
  gFake.today = LocalDate{2026, 12, 8};
  gFake.now = LocalTime{9, 5, 1};
  gFake.screenWidth = 1024;
  gFake.screenHeight = 768;
  gFake.screenDpi = kBaseDpi;
  gFake.modulePath = "/fake/WordHatch.exe";
  gFake.hasLastInputTick = true;
  gFake.hasForeground = true;
  gFake.doubleClickTime = 500;
  gFake.foregroundLayout = kFakeLayoutUs;
  gFake.frontInputThread = kFakeFrontThread;
  FakeForgetKeyTextQueries();
}

bool FakeCallFails() { return ++gFake.fallibleCalls == gFake.failCallAt; }

void FakeRecord(FakeEventKind kind, uint32_t a, uint32_t b, uint32_t c, const std::string& text,
                const std::string& detail) {
  gFake.events.push_back(FakeEvent{kind, a, b, c, text, detail});
}

static void Record(FakeEventKind kind, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0,
                   const std::string& text = "") {
  FakeRecord(kind, a, b, c, text);
}

std::vector<FakeEvent> FakeEventsOf(FakeEventKind kind) {
  std::vector<FakeEvent> out;
  for (const FakeEvent& e : gFake.events) {
    if (e.kind == kind) out.push_back(e);
  }
  return out;
}

std::string FakeKeyEventText() {
  std::string out;
  char one[32];
  for (const FakeEvent& e : FakeEventsOf(kFakeKeyEvent)) {
    if (e.c & kKeyEventUnicode) {
      snprintf(one, sizeof one, "%sU+%X:%X", out.empty() ? "" : " ", e.b, e.c);
    } else {
      snprintf(one, sizeof one, "%s%X:%X", out.empty() ? "" : " ", e.a, e.c);
    }
    out += one;
  }
  return out;
}

std::vector<uint32_t> FakeKeyBatchSizes() {
  std::vector<uint32_t> out;
  for (const FakeEvent& e : FakeEventsOf(kFakeKeyBatch)) out.push_back(e.a);
  return out;
}

// ---- keyboard: a US layout -------------------------------------------------------------------

uint16_t PlatformAsyncKeyState(int vk) {
  if (++gFake.asyncKeyQueries == gFake.releaseAtQuery) gFake.asyncKeyState[gFake.releaseVk] = 0;
  return (vk >= 0 && vk < 256) ? gFake.asyncKeyState[vk] : 0;
}

uint16_t PlatformThreadKeyState(int vk) { return (vk >= 0 && vk < 256) ? gFake.threadKeyState[vk] : 0; }

void PlatformClearKeyboardState() {
  memset(gFake.threadKeyState, 0, sizeof gFake.threadKeyState);
  Record(kFakeClearKeyboard);
}

// Scan codes of the US keys that tests look at; 0 for the others.
static uint32_t UsScanCode(uint32_t vk) {
  static const char kRowQ[] = "QWERTYUIOP", kRowA[] = "ASDFGHJKL", kRowZ[] = "ZXCVBNM";
  for (int i = 0; kRowQ[i]; ++i) if (vk == uint32_t(kRowQ[i])) return 0x10 + i;
  for (int i = 0; kRowA[i]; ++i) if (vk == uint32_t(kRowA[i])) return 0x1E + i;
  for (int i = 0; kRowZ[i]; ++i) if (vk == uint32_t(kRowZ[i])) return 0x2C + i;
  if (vk >= '1' && vk <= '9') return 2 + vk - '1';
  switch (vk) {
    case '0': return 0x0B;
    case 0x08: return 0x0E;
    case 0x09: return 0x0F;
    case 0x0D: return 0x1C;
    case 0x10: return 0x2A;
    case 0x11: return 0x1D;
    case 0x12: return 0x38;
    case 0x1B: return 0x01;
    case 0x20: return 0x39;
    default: return 0;
  }
}

uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t mapType) {
  if (mapType == kMapVkToScanCode) return UsScanCode(code);
  if (mapType == kMapVkToChar) return (unsigned char)FakeUsKeyChar(code);
  return 0;
}

static void RecordKeyEvent(uint8_t vk, uint32_t scanCode, uint32_t flags) {
  Record(kFakeKeyEvent, vk, scanCode, flags);
  if (!gFake.inputShared) ++gFake.ownKeyEvents;
  if (gFake.syntheticKeysChangeState && !(flags & kKeyEventUnicode)) gFake.asyncKeyState[vk] = (flags & kKeyEventKeyUp) ? 0 : 0x8000;
}

void PlatformSendKeyEvent(uint8_t vk, uint8_t scanCode, uint32_t flags) { RecordKeyEvent(vk, scanCode, flags); }

uint32_t PlatformSendKeyEvents(const KeyEvent* events, uint32_t count) {
  Record(kFakeKeyBatch, count);
  for (uint32_t i = 0; i < count; ++i) {
    const KeyEvent& e = events[i];
    RecordKeyEvent(e.vk, (e.flags & kKeyEventUnicode) ? e.unit : e.scanCode, e.flags);
  }
  return count;
}

uint32_t PlatformShareFrontInput() {
  Record(kFakeShareInput, gFake.frontInputThread);
  gFake.inputShared = gFake.frontInputThread != 0;
  return gFake.frontInputThread;
}

void PlatformStopSharingInput(uint32_t thread) {
  Record(kFakeStopSharing, thread);
  gFake.inputShared = false;
}

uint32_t PlatformWaitForKeysTaken(uint32_t timeoutMs) {
  Record(kFakeKeysTakenWait, timeoutMs);
  return gFake.keysTakenWaitMs;
}

bool PlatformLastInputTick(uint32_t* tick) {
  if (!gFake.hasLastInputTick) return false;
  *tick = gFake.lastInputTick;
  return true;
}

// ---- heap ------------------------------------------------------------------------------------

void* PlatformHeapAlloc(size_t bytes) {
  if (++gFake.heapAllocs == gFake.failHeapAllocAt || FakeCallFails()) return nullptr;
  void* block = calloc(bytes ? bytes : 1, 1);
  if (block) gFake.liveHeapBlocks++;
  return block;
}

void PlatformHeapFree(void* block) {
  if (block) gFake.liveHeapBlocks--;
  free(block);
}

// ---- files: real POSIX files with injected failures ------------------------------------------

struct PlatformFile {
  int fd;
};

FileHandle PlatformOpenFile(const char* path, FileAccess access, FileCreation creation, FileError* error) {
  FileError dummy;
  if (!error) error = &dummy;
  *error = kFileOk;
  if (++gFake.fileOpens == gFake.failFileOpenAt || FakeCallFails()) {
    *error = kFileOpenDenied;
    return nullptr;
  }
  if (gFake.lockedPaths.count(path ? path : "")) {
    *error = kFileInUse;
    return nullptr;
  }
  struct stat st;
  if (gFake.deniedPaths.count(path ? path : "") || (path && stat(path, &st) == 0 && S_ISDIR(st.st_mode))) {
    *error = kFileAccessDenied;
    return nullptr;
  }
  int flags = access == kFileReadWrite ? O_RDWR : O_RDONLY;
  if (creation == kFileOpenAlways) flags |= O_CREAT;
  int fd = path ? open(path, flags, 0644) : -1;
  if (fd < 0) {
    *error = (!path || errno == ENOENT || errno == ENOTDIR) ? kFileNotFound
             : errno == EACCES                           ? kFileAccessDenied
                                                         : kFileOpenDenied;
    return nullptr;
  }
  gFake.openFiles++;
  return new PlatformFile{fd};
}

void PlatformCloseFile(FileHandle file) {
  if (!file) return;
  close(file->fd);
  gFake.openFiles--;
  delete file;
}

bool PlatformFileSize(FileHandle file, uint32_t* size) {
  struct stat st;
  if (!file || FakeCallFails() || fstat(file->fd, &st) != 0 || st.st_size > 0xFFFFFFFFll) return false;
  *size = uint32_t(st.st_size);
  return true;
}

bool PlatformSeekFile(FileHandle file, int32_t offset, FileSeekOrigin origin) {
  return file && !FakeCallFails() && lseek(file->fd, offset, origin == kSeekFromEnd ? SEEK_END : SEEK_SET) >= 0;
}

uint32_t PlatformReadFile(FileHandle file, void* buffer, uint32_t count) {
  uint32_t total = 0;
  if (FakeCallFails()) return 0;
  while (file && total < count) {
    ssize_t n = read(file->fd, static_cast<char*>(buffer) + total, count - total);
    if (n <= 0) break;
    total += uint32_t(n);
  }
  return total;
}

uint32_t PlatformWriteFile(FileHandle file, const void* buffer, uint32_t count) {
  if (!file || ++gFake.fileWrites == gFake.failFileWriteAt || FakeCallFails()) return 0;
  ssize_t n = write(file->fd, buffer, count);
  return n < 0 ? 0 : uint32_t(n);
}

// The stamp of what stat() or fstat() gave: `result` 0 when it found something.
static FileStamp StampOf(int result, const struct stat& st) {
  if (result != 0 || S_ISDIR(st.st_mode)) return FileStamp{};
  return FileStamp{uint64_t(st.st_size), uint64_t(st.st_mtim.tv_sec) * 1000000000u + uint64_t(st.st_mtim.tv_nsec), true};
}

FileStamp PlatformFileStamp(const char* path) {
  struct stat st;
  return StampOf(path ? stat(path, &st) : -1, st);
}

FileStamp PlatformOpenFileStamp(FileHandle file) {
  struct stat st;
  return StampOf(file ? fstat(file->fd, &st) : -1, st);
}

bool PlatformFileHeldForWriting(const char* path) {
  return path && (gFake.writingPaths.count(path) > 0 || gFake.lockedPaths.count(path) > 0);
}

int PlatformWatchFolders(const char* const* folders, int count) {
  ++gFake.folderWatchCalls;
  gFake.watchedFolders.clear();
  for (int i = 0; i < count && i < kMaxWatchedFolders; ++i) {
    if (!gFake.unwatchableFolders.count(folders[i])) gFake.watchedFolders.push_back(folders[i]);
  }
  return int(gFake.watchedFolders.size());
}

bool PlatformDeleteFile(const char* path) {
  return !gFake.failDelete && !FakeCallFails() && path && unlink(path) == 0;
}

bool PlatformReplaceFile(const char* from, const char* to) {
  return !gFake.failReplace && !FakeCallFails() && from && to && rename(from, to) == 0;
}

PathKind PlatformPathKind(const char* path) {
  struct stat st;
  if (!path || stat(path, &st) != 0) return kPathNothing;
  return S_ISDIR(st.st_mode) ? kPathDirectory : kPathFile;
}

uint32_t PlatformModulePath(char* buffer, uint32_t size) {
  if (size == 0) return 0;
  size_t n = gFake.modulePath.size() < size - 1 ? gFake.modulePath.size() : size - 1;
  memcpy(buffer, gFake.modulePath.data(), n);
  buffer[n] = 0;
  return uint32_t(n);
}

// ---- resources, window, clock ----------------------------------------------------------------

const uint8_t* PlatformRawResource(int id, uint32_t* size) {
  auto it = FakeCallFails() ? gFake.resources.end() : gFake.resources.find(id);
  *size = it == gFake.resources.end() ? 0 : uint32_t(it->second.size());
  return it == gFake.resources.end() ? nullptr : reinterpret_cast<const uint8_t*>(it->second.data());
}

void PlatformShowStatusText(const char* text) {
  if (!gFake.hasStatusBar) return;
  gFake.statusText = text;
  Record(kFakeStatusText, 0, 0, 0, text);
}

void PlatformSetEditorText(const char* text) {
  if (!gFake.hasEditor) return;
  gFake.editorText = text;
  gFake.editorChanged = false;
  Record(kFakeEditorText, 0, 0, 0, text);
}

char* PlatformEditorText(size_t* length) {
  *length = 0;
  if (!gFake.hasEditor) return nullptr;
  char* text = static_cast<char*>(PlatformHeapAlloc(gFake.editorText.size() + 1));
  if (!text) return nullptr;
  memcpy(text, gFake.editorText.data(), gFake.editorText.size());
  *length = gFake.editorText.size();
  return text;
}

bool PlatformEditorChanged() { return gFake.hasEditor && gFake.editorChanged; }

bool PlatformAskYesNo(const char* text, const char* caption) {
  FakeRecord(kFakeQuestion, gFake.answerYes ? 1 : 0, 0, 0, text, caption);
  if (gFake.whileAsking) gFake.whileAsking();
  return gFake.answerYes;
}

void PlatformStartTimer(uint32_t id, uint32_t ms) { Record(kFakeTimerStart, id, ms, gFake.tickCount); }
void PlatformStopTimer(uint32_t id) { Record(kFakeTimerStop, id); }

uint32_t PlatformTickCount() { return gFake.tickCount; }

void PlatformSleep(uint32_t ms) {
  gFake.tickCount += ms;
  Record(kFakeSleep, ms);
  if (gFake.keysUpAfterSleepMs == 0) return;
  gFake.keysUpAfterSleepMs = gFake.keysUpAfterSleepMs > ms ? gFake.keysUpAfterSleepMs - ms : 0;
  if (gFake.keysUpAfterSleepMs == 0) memset(gFake.asyncKeyState, 0, sizeof gFake.asyncKeyState);
}

LocalTime PlatformLocalTime() { return LocalTime{9, 5, 1}; }

void PlatformLocalNow(LocalDate* date, LocalTime* time) {
  *date = gFake.today;
  *time = gFake.now;
}

// ---- mouse -----------------------------------------------------------------------------------

void PlatformSendMouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t) {
  Record(kFakeMouseEvent, flags, uint32_t(dx), uint32_t(dy));
}

void PlatformSetCursorPos(int32_t x, int32_t y) {
  gFake.cursorX = x;
  gFake.cursorY = y;
  Record(kFakeCursorMove, uint32_t(x), uint32_t(y));
}

bool PlatformCursorPos(int32_t* x, int32_t* y) {
  *x = gFake.cursorX;
  *y = gFake.cursorY;
  return true;
}

void PlatformScreenSize(int32_t* width, int32_t* height) {
  *width = gFake.screenWidth;
  *height = gFake.screenHeight;
}

int32_t PlatformScreenDpi() { return gFake.screenDpi; }

bool PlatformForegroundWindowOrigin(int32_t* x, int32_t* y) {
  *x = gFake.hasForeground ? gFake.foregroundX : 0;
  *y = gFake.hasForeground ? gFake.foregroundY : 0;
  return gFake.hasForeground;
}

void PlatformShowCursor() { Record(kFakeShowCursor); }

uint32_t PlatformDoubleClickTime() { return gFake.doubleClickTime; }

// ---- environment: %NAME% from gFake.environment, as the system expands it --------------------

static bool FakeVariable(const std::string& name, std::string* value) {
  for (const auto& entry : gFake.environment) {
    if (strcasecmp(entry.first.c_str(), name.c_str()) == 0) {
      *value = entry.second;
      return true;
    }
  }
  return false;
}

uint32_t PlatformExpandEnvironment(const char* text, char* out, uint32_t size) {
  if (gFake.failExpandEnvironment || FakeCallFails() || !text) return 0;
  std::string result;
  for (const char* at = text; *at;) {
    const char* close = *at == '%' ? strchr(at + 1, '%') : nullptr;
    std::string value;
    if (!close) {
      result += *at++;
    } else if (close > at + 1 && FakeVariable(std::string(at + 1, close), &value)) {
      result += value;
      at = close + 1;
    } else {
      // Not a variable: the text up to the second "%" stays, and that "%" may begin a name.
      result.append(at, close);
      at = close;
    }
  }
  uint32_t needed = uint32_t(result.size() + 1);
  if (out && size > 0) {
    size_t n = result.size() < size - 1 ? result.size() : size - 1;
    memcpy(out, result.data(), n);
    out[n] = 0;
  }
  return needed;
}

// ---- settings: an in-memory store with the private-profile reading rules ---------------------

std::string FakeSettingKey(const std::string& path, const std::string& section, const std::string& key) {
  return path + "|" + section + "|" + key;
}

void FakePresetSetting(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& value) {
  gFake.settings[FakeSettingKey(path, section, key)] = value;
}

bool FakeStoredSetting(const std::string& path, const std::string& section, const std::string& key,
                       std::string* value) {
  auto it = gFake.settings.find(FakeSettingKey(path, section, key));
  if (it == gFake.settings.end()) return false;
  if (value) *value = it->second;
  return true;
}

uint32_t PlatformReadSetting(const char* path, const char* section, const char* key, const char* defaultValue,
                             char* out, uint32_t size) {
  if (size == 0) return 0;
  std::string value;
  if (!FakeStoredSetting(path ? path : "", section ? section : "", key ? key : "", &value)) {
    value = defaultValue ? defaultValue : "";
  }
  size_t n = value.size() < size - 1 ? value.size() : size - 1;
  memcpy(out, value.data(), n);
  out[n] = 0;
  return uint32_t(n);
}

// As the system's reader: an absent or empty value gives the default; otherwise an optional "-"
// and the digits that follow it, 0 when there are none.
int32_t PlatformReadSettingInt(const char* path, const char* section, const char* key, int32_t defaultValue) {
  std::string value;
  if (!FakeStoredSetting(path ? path : "", section ? section : "", key ? key : "", &value) || value.empty()) {
    return defaultValue;
  }
  size_t i = value[0] == '-' ? 1 : 0;
  uint32_t magnitude = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) magnitude = magnitude * 10u + uint32_t(value[i] - '0');
  return int32_t(value[0] == '-' ? 0u - magnitude : magnitude);
}

void PlatformWriteSetting(const char* path, const char* section, const char* key, const char* value) {
  if (FakeCallFails()) return;  // as the system's: a failed write is not reported
  FakePresetSetting(path ? path : "", section ? section : "", key ? key : "", value ? value : "");
  Record(kFakeSettingWrite, 0, 0, 0, std::string(key ? key : "") + "=" + (value ? value : ""));
}

// ---- raw input -------------------------------------------------------------------------------

bool PlatformStartRawInput() { return gFake.rawInputGranted; }

void PlatformDeliverPendingInput() {
  std::vector<std::vector<InputEvent>> pending;
  pending.swap(gFake.pendingInputs);
  for (const std::vector<InputEvent>& input : pending) TakeInputEvents(input.data(), int(input.size()));
}

uint32_t PlatformOwnKeyEventCount() { return gFake.ownKeyEvents; }
