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
    std::string path = Write(name, bytes);
    snprintf(gShell.triggerPath, sizeof gShell.triggerPath, "%s", path.c_str());
    LoadTriggerFile(path.c_str());
    return path;
  }
  // Another program writes `bytes` as file `name` (appends them with `append`), and its folder's
  // watch tells the change.
  void ChangeOnDisk(const std::string& name, const std::string& bytes, bool append = false) {
    std::ofstream(PathOf(name), append ? std::ios::binary | std::ios::app : std::ios::binary) << bytes;
    OnTriggerFolderChanged();
  }
  // The clock runs on by `ms`, and the reload timer fires as the system's would: each period
  // after its last start, until it is stopped.
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
