// A fixture for tests that load trigger files: a fresh fake platform, an empty trigger table and
// a temporary folder for real files, with a packed default trigger text as resource 8002.
#pragma once
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "common/state.h"
#include "resources/resource_ids.h"
#include "tests/unit/fake_platform.h"
#include "tools/pack_text.h"
#include "triggers/trigger_loader.h"

const char kTestDefaultText[] = "; default\r\nteh=the\r\nbtw=by the way\r\n";

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    ReleaseTriggerTable();
    memset(&gTriggers, 0, sizeof gTriggers);
    memset(&gWatcher, 0, sizeof gWatcher);
    memset(&gShell, 0, sizeof gShell);
    char pattern[] = "/tmp/wh_loader_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    gFake.resources[IDR_DEFAULT_TRIGGERS] = PackText(kTestDefaultText) + '\0';
  }
  void TearDown() override {
    ReleaseTriggerTable();
    EXPECT_EQ(gFake.openFiles, 0) << "every opened file is closed again";
    std::string command = "rm -rf '" + folder_ + "'";
    EXPECT_EQ(system(command.c_str()), 0);
  }

  std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }

  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(PathOf(name), std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return PathOf(name);
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }

  // Writes `bytes` as a trigger file, loads it and returns the number of entries in the table.
  int Load(const std::string& bytes, const std::string& name = "triggers.txt") {
    std::string path = Write(name, bytes);
    LoadTriggerFile(path.c_str());
    return EntryCount();
  }

  static int EntryCount() {
    int n = 0;
    while (n < kTriggerSlots && gTriggers.entries[n] && gTriggers.entries[n]->storedTrigger[0]) ++n;
    return n;
  }

  static std::string Stored(int slot) { return gTriggers.entries[slot]->storedTrigger; }
  static std::string SearchKey(int slot) { return gTriggers.entries[slot]->searchKey; }

  std::string folder_;
};
