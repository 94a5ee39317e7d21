// The settings file as the shell reads it at start-up and writes it at the end of the run,
// through the fake's settings store.
#include <string>
#include <vector>

#include "app/settings.h"
#include "tests/unit/shell_fixture.h"

static const char kProgram[] = "C:\\Tools\\app.exe";
static const char kSettings[] = "C:\\Tools\\app.ini";

class SettingsTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    strcpy(gShell.settingsPath, kSettings);
  }
  // Runs the start-up reading of the settings and returns the saved placement.
  WindowBox StartUp() {
    WindowBox saved = {-1, -1, -1, -1};
    EXPECT_TRUE(ReadStartupSettings(kProgram, &saved));
    return saved;
  }
};

TEST_F(SettingsTest, PresenceIsAnythingButTheStandIn) {
  EXPECT_FALSE(IsSettingPresent(kSettings, kSettingsSection, "font")) << "absent";
  struct Case { const char* value; bool present; } cases[] = {
      {"x", false}, {"", true}, {"X", true}, {"xy", true}, {" x", true}, {"0", true},
  };
  for (const Case& c : cases) {
    Preset("font", c.value);
    EXPECT_EQ(IsSettingPresent(kSettings, kSettingsSection, "font"), c.present) << '"' << c.value << '"';
  }
  Preset("font", "x" + std::string(80, 'y'));
  EXPECT_TRUE(IsSettingPresent(kSettings, kSettingsSection, "font")) << "a long value read in part";
  FakePresetSetting(kSettings, "Other Section", "tray", "1");
  FakePresetSetting("C:\\elsewhere.ini", kSettingsSection, "tray", "1");
  EXPECT_FALSE(IsSettingPresent(kSettings, kSettingsSection, "tray")) << "only the given file and section";
  EXPECT_TRUE(Writes().empty()) << "a presence test writes nothing";
}

TEST_F(SettingsTest, OptionsAreOnWhenAbsentAndOtherwiseTheirNumber) {
  struct Case { const char* value; bool on; } cases[] = {
      {nullptr, true}, {"", false}, {"x", true}, {"0", false}, {"1", true},
      {"2", true},     {"abc", false}, {"-1", true}, {"00", false},
  };
  for (const char* key : {kKeyTray, kKeyWrapText}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(key) + "=" + (c.value ? c.value : "<absent>"));
      FakeReset();
      if (c.value) Preset(key, c.value);
      StartUp();
      EXPECT_EQ(key == kKeyTray ? gShell.trayOption : gShell.wrapOption, c.on);
      EXPECT_EQ(key == kKeyTray ? gShell.wrapOption : gShell.trayOption, true) << "the other option is absent";
    }
  }
}

TEST_F(SettingsTest, StartUpFindsBothFilesAndReadsThePlacementWithoutWriting) {
  memset(gShell.settingsPath, 0, sizeof gShell.settingsPath);
  std::string mine = Write("mine.txt", "a=b\r\n");
  FakePresetSetting(kSettings, kSettingsSection, kKeyFile, mine);
  FakePresetSetting(kSettings, kSettingsSection, kKeyWindowLeft, "-8");
  FakePresetSetting(kSettings, kSettingsSection, kKeyWindowTop, "40");
  FakePresetSetting(kSettings, kSettingsSection, kKeyWindowWidth, "600");
  FakePresetSetting(kSettings, kSettingsSection, kKeyWindowHeight, "400");
  WindowBox saved = StartUp();
  EXPECT_STREQ(gShell.settingsPath, kSettings);
  EXPECT_EQ(gShell.triggerPath, mine);
  EXPECT_EQ(saved.left, -8);
  EXPECT_EQ(saved.top, 40);
  EXPECT_EQ(saved.width, 600);
  EXPECT_EQ(saved.height, 400);
  EXPECT_TRUE(Writes().empty()) << "nothing is written at start-up";
}

TEST_F(SettingsTest, StartUpWithoutSettingsUsesTheDefaults) {
  WindowBox saved = StartUp();
  EXPECT_STREQ(gShell.triggerPath, "C:\\Tools\\app.txt");
  EXPECT_EQ(saved.left, 0);
  EXPECT_EQ(saved.top, 0);
  EXPECT_EQ(saved.width, 0);
  EXPECT_EQ(saved.height, 0);
  EXPECT_TRUE(gShell.trayOption);
  EXPECT_TRUE(gShell.wrapOption);
}

TEST_F(SettingsTest, DeletedOrFolderFileFallsBackWithoutRewritingTheSetting) {
  for (std::string configured : {PathOf("gone.txt"), MakeFolder("dir"), std::string()}) {
    SCOPED_TRACE(configured);
    FakeReset();
    Preset(kKeyFile, configured);
    StartUp();
    EXPECT_STREQ(gShell.triggerPath, "C:\\Tools\\app.txt");
    EXPECT_EQ(Stored(kKeyFile), configured) << "\"file\" waits for the next Open or Save";
  }
}

TEST_F(SettingsTest, EmptyProgramPathReadsNothing) {
  strcpy(gShell.triggerPath, "unchanged");
  WindowBox saved;
  EXPECT_FALSE(ReadStartupSettings("", &saved));
  EXPECT_STREQ(gShell.settingsPath, "");
  EXPECT_STREQ(gShell.triggerPath, "unchanged");
  EXPECT_TRUE(Writes().empty());
}

TEST_F(SettingsTest, PlacementIsWrittenLeftTopWidthHeight) {
  WriteWindowPlacement(WindowBox{-8, 12, 800, 600});
  EXPECT_EQ(Writes(), (std::vector<std::string>{"window_left=-8", "window_top=12", "window_width=800",
                                                 "window_height=600"}));
  EXPECT_EQ(Stored(kKeyWindowLeft), "-8");
}

TEST_F(SettingsTest, EndOfRunWritesStateFontDefaultAndSummedCount) {
  Preset(kKeyActivationCount, "5");
  gShell.automationCount = 2;
  WriteEndOfRunSettings(kStartNormal);
  EXPECT_EQ(Writes(), (std::vector<std::string>{"window_start=normal", "font=Courier New,10", "activation_count=7"}));
  EXPECT_EQ(Stored(kKeyActivationCount), "7");
  EXPECT_EQ(Stored(kKeyFont), "Courier New,10");
}

TEST_F(SettingsTest, EndOfRunKeepsAPresentFont) {
  for (const char* font : {"Arial,12", ""}) {
    FakeReset();
    Preset(kKeyFont, font);
    WriteEndOfRunSettings(kStartMaximized);
    EXPECT_EQ(Stored(kKeyFont), font);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"window_start=maximized", "activation_count=0"})) << font;
  }
  FakeReset();
  Preset(kKeyFont, "x");
  WriteEndOfRunSettings(kStartMinimized);
  EXPECT_EQ(Stored(kKeyFont), "Courier New,10") << "\"x\" counts as absent";
  EXPECT_EQ(Stored(kKeyWindowStart), "minimized");
}

TEST_F(SettingsTest, EndOfRunCountFromNothingAndAtTheLimit) {
  gShell.automationCount = 3;
  WriteEndOfRunSettings(kStartNormal);
  EXPECT_EQ(Stored(kKeyActivationCount), "3");
  FakeReset();
  Preset(kKeyActivationCount, "2147483647");
  gShell.automationCount = 1;
  WriteEndOfRunSettings(kStartNormal);
  EXPECT_EQ(Stored(kKeyActivationCount), "-2147483648") << "wraps as a 32-bit count";
  FakeReset();
  Preset(kKeyActivationCount, "not a number");
  gShell.automationCount = 4;
  WriteEndOfRunSettings(kStartNormal);
  EXPECT_EQ(Stored(kKeyActivationCount), "4");
}
