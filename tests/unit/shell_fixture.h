// A fixture for the application shell's portable parts: a fresh fake platform, cleared shell
// state and a temporary folder for real files.
#pragma once
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/settings.h"
#include "common/state.h"
#include "tests/unit/fake_platform.h"

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    memset(&gShell, 0, sizeof gShell);
    char pattern[] = "/tmp/wh_shell_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
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

  std::string MakeFolder(const std::string& name) const {
    EXPECT_EQ(mkdir(PathOf(name).c_str(), 0755), 0);
    return PathOf(name);
  }

  static bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }

  // The run's settings as the fake store holds them; "<absent>" for a missing key.
  static std::string Stored(const char* key) {
    std::string value;
    return FakeStoredSetting(gShell.settingsPath, kSettingsSection, key, &value) ? value : "<absent>";
  }
  static void Preset(const char* key, const std::string& value) {
    FakePresetSetting(gShell.settingsPath, kSettingsSection, key, value);
  }

  // The keys written, as "key=value", in order.
  static std::vector<std::string> Writes() {
    std::vector<std::string> out;
    for (const FakeEvent& e : FakeEventsOf(kFakeSettingWrite)) out.push_back(e.text);
    return out;
  }

  std::string folder_;
};
