// A fixture for tests that load trigger files: an empty trigger table, a temporary folder for
// real files, and a packed default trigger text as resource 8002.
#pragma once
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "common/state.h"
#include "resources/resource_ids.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/temp_folder_test_base.h"
#include "tools/pack_text.h"
#include "app/trigger_open.h"
#include "triggers/trigger_loader.h"
#include "triggers/trigger_reload.h"
#include "watcher/key_poller.h"

const char kTestDefaultText[] = "; default\r\nteh=the\r\nbtw=by the way\r\n";

// ASCII `text` as a UTF-16 little-endian file with its mark.
inline std::string Utf16LeFile(const std::string& text) {
  std::string bytes = "\xFF\xFE";
  for (char c : text) bytes += std::string(1, c) + '\0';
  return bytes;
}

class LoaderTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    ReleaseTriggerTable();
    memset(&gTriggers, 0, sizeof gTriggers);
    memset(&gWatcher, 0, sizeof gWatcher);
    memset(&gKeyLayout, 0, sizeof gKeyLayout);
    memset(&gShell, 0, sizeof gShell);
    memset(&gTriggerFiles, 0, sizeof gTriggerFiles);
    memset(&gTriggerWatch, 0, sizeof gTriggerWatch);
    gFake.resources[IDR_DEFAULT_TRIGGERS] = PackText(kTestDefaultText) + '\0';
  }
  void TearDown() override {
    ReleaseTriggerTable();
    TempFolderTest::TearDown();
  }

  // Writes `bytes` as a trigger file, loads it and returns the number of entries in the table.
  int Load(const std::string& bytes, const std::string& name = "triggers.txt") {
    std::string path = Write(name, bytes);
    ReloadTriggerFile(path.c_str());
    return EntryCount();
  }

  static int EntryCount() { return TriggerCount(); }

  // Makes `name` the trigger file holding `bytes`, and loads it.
  std::string LoadMain(const std::string& bytes, const std::string& name = "triggers.txt") {
    snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", Write(name, bytes).c_str());
    LoadTriggerFile(gShell.triggerPath);
    return gShell.triggerPath;
  }
  // Another program writes (or appends) `bytes` to file `name`, and its folder's watch tells.
  void ChangeOnDisk(const std::string& name, const std::string& bytes, bool append = false) {
    std::ofstream(PathOf(name), append ? std::ios::app : std::ios::trunc) << bytes;
    OnTriggerFolderChanged();
  }
  // The clock runs on by `ms`; the reload timer fires each period after its last start, until stopped.
  static void Elapse(uint32_t ms) {
    for (uint32_t end = gFake.tickCount + ms; gFake.tickCount < end;) {
      ++gFake.tickCount;
      for (auto e = gFake.events.rbegin(); e != gFake.events.rend(); ++e) {
        if (e->a != kReloadTimerId || (e->kind != kFakeTimerStart && e->kind != kFakeTimerStop)) continue;
        if (e->kind == kFakeTimerStart && (gFake.tickCount - e->c) % e->b == 0) OnReloadTimer();
        break;
      }
    }
  }

  static std::string Stored(int entry) { return StoredTrigger(entry); }
  static std::string SearchKey(int entry) { return TriggerSearchKey(entry); }
};
