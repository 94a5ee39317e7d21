// Shared helpers of the fuzz targets (see fuzz_support.h).
#include "tests/fuzz/fuzz_support.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "common/debug_log.h"
#include "common/heap.h"
#include "common/state.h"
#include "picklist/pick_list.h"
#include "player/output_player.h"
#include "resources/resource_ids.h"
#include "tests/unit/fake_platform.h"
#include "triggers/trigger_loader.h"
#include "watcher/expansion.h"
#include "watcher/key_events.h"
#include "watcher/key_poller.h"

const char kFuzzSettingsPath[] = "/fake/WordHatch.ini";

// A packed text without a dictionary: the header "000" and the text itself.
const char kPackedDefaultTriggers[] = "000; default\r\nteh=the \r\nbtw=by the way\r\n";
// A value longer than the output that holds it, so that %NAME% must grow the buffer.
const size_t kLongValueSize = 5000;

void FuzzFail(const char* file, int line, const char* condition) {
  fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, condition);
  abort();
}

// The desktop every input starts with: windows that the "WINDOW: " and pick list searches can
// find (one that never tells its title), programs the shell starts, and folders that exist.
static void ScriptDesktop() {
  gFake.resources[IDR_DEFAULT_TRIGGERS] = std::string(kPackedDefaultTriggers, sizeof kPackedDefaultTriggers);
  FakeAddWindow("Untitled - Notepad");
  FakeAddWindow("Calculator");
  FakeAddWindow("Hung", false);
  FakeAddWindow("");
  gFake.foregroundWindow = 1;
  gFake.startableFiles = {"notepad", "notepad.exe", "calc", "C:\\Windows\\notepad.exe", "http://example.com"};
  gFake.folders = {"C:\\Windows", "C:\\"};
  gFake.environment["USERNAME"] = "fuzz";
  gFake.environment["LONG"] = std::string(kLongValueSize, 'L');
  gFake.environment["EMPTY"] = "";
}

static void ReleaseCoreBlocks() {
  ReleaseTriggerTable();
  ReleasePickList();
  FreeAndForget(gPlayer.outputBuffer);
}

void FuzzBegin() {
  ReleaseCoreBlocks();
  gShell = ShellState();
  gTriggers = TriggerTable();
  gWatcher = WatcherState();
  gPlayer = PlayerState();
  gPickList = PickListState();
  snprintf(gShell.settingsPath, sizeof gShell.settingsPath, "%s", kFuzzSettingsPath);
  gShell.remapAllowed = true;
  FakeReset();
  ScriptDesktop();
}

void FuzzEnd() {
  FUZZ_CHECK(gFake.openFiles == 0);
  ReleaseCoreBlocks();
  // The fake's records go too: a run that frees all it took needs no heap scan for leaks.
  gFake = FakePlatform();
}

uint8_t TakeByte(FuzzInput* input) {
  if (input->size == 0) return 0;
  --input->size;
  return *input->data++;
}

std::string TakeBytes(FuzzInput* input, size_t count) {
  if (count > input->size) count = input->size;
  std::string bytes(reinterpret_cast<const char*>(input->data), count);
  input->data += count;
  input->size -= count;
  return bytes;
}

std::string TakeRest(FuzzInput* input) { return TakeBytes(input, input->size); }

// The temporary folder of this process, made at the first use and removed at the exit. It is
// also the current directory from then on, so that the debug log's relative path lands there.
static std::string gFolder, gTriggerPath;

static void RemoveFolder() {
  unlink(gTriggerPath.c_str());
  unlink((gFolder + "/" + kDebugLogPath).c_str());
  rmdir(gFolder.c_str());
}

const char* WriteTriggerFile(const std::string& bytes) {
  if (gFolder.empty()) {
    const char* tmp = getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/wh_fuzz_XXXXXX";
    FUZZ_CHECK(mkdtemp(&pattern[0]) != nullptr);
    gFolder = pattern;
    gTriggerPath = gFolder + "/triggers.txt";
    atexit(RemoveFolder);
    FUZZ_CHECK(chdir(gFolder.c_str()) == 0);
  }
  FILE* file = fopen(gTriggerPath.c_str(), "wb");
  FUZZ_CHECK(file != nullptr);
  FUZZ_CHECK(fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
  fclose(file);
  return gTriggerPath.c_str();
}

// Whether the fake's record leaves timer `id` armed: its last start came after its last stop.
static bool TimerArmed(uint32_t id, bool armedBefore) {
  bool armed = armedBefore;
  for (const FakeEvent& e : gFake.events) {
    if (e.a != id) continue;
    if (e.kind == kFakeTimerStart) armed = true;
    if (e.kind == kFakeTimerStop) armed = false;
  }
  return armed;
}

void PlayToEnd(int32_t maxTicks) {
  bool playing = TimerArmed(kPlayTimerId, false), polling = false;
  for (int32_t tick = 0; playing; ++tick) {
    FUZZ_CHECK(tick < maxTicks);
    gFake.events.clear();
    if (PlayOutputTick()) ResumeKeyWatch();
    playing = TimerArmed(kPlayTimerId, false);
    polling = TimerArmed(kPollTimerId, polling);
  }
  FUZZ_CHECK(polling);
  FUZZ_CHECK(gPlayer.outputBuffer == nullptr);
  FUZZ_CHECK(gPlayer.pendingKeyCount == 0);
}
