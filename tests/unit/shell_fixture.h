// A fixture for the application shell's portable parts: a fresh fake platform, cleared shell
// state and a temporary folder for real files.
#pragma once
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "app/settings.h"
#include "common/state.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/temp_folder_test_base.h"

class ShellTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    memset(&gShell, 0, sizeof gShell);
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

};
