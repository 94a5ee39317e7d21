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
#include "triggers/trigger_loader.h"
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

  static std::string Stored(int entry) { return StoredTrigger(entry); }
  static std::string SearchKey(int entry) { return TriggerSearchKey(entry); }
};
