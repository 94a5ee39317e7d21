// The shell's pure rules: settings and trigger paths, the font value, the first placement and
// show state, the remap computer and the title's changed mark.
#include <string.h>

#include <cstdlib>
#include <string>

#include "app/shell_rules.h"
#include "tests/unit/shell_fixture.h"

static std::string SettingsPathOf(const std::string& program) {
  char out[kPathCapacity];
  memset(out, '?', sizeof out);
  EXPECT_TRUE(MakeSettingsPath(program.c_str(), out)) << program;
  return out;
}

static std::string DefaultTriggerPathOf(const std::string& settings) {
  char out[kPathCapacity];
  MakeDefaultTriggerPath(settings.c_str(), out);
  return out;
}

TEST(SettingsPath, CutAtTheFirstLowerCaseExe) {
  struct Case { const char* program; const char* settings; const char* triggers; } cases[] = {
      {"C:\\Tools\\app.exe", "C:\\Tools\\app.ini", "C:\\Tools\\app.txt"},
      {"D:\\x.exe.d\\app.exe", "D:\\x.ini", "D:\\x.txt"},
      {"C:\\TOOLS\\APP.EXE", "C:\\TOOLS\\APP.EXE.ini", "C:\\TOOLS\\APP.EXE.txt"},
      {"C:\\Tools\\app", "C:\\Tools\\app.ini", "C:\\Tools\\app.txt"},
      {"C:\\a.exemplar\\b.exe", "C:\\a.ini", "C:\\a.txt"},
      {"C:\\my.ini.d\\app.exe", "C:\\my.ini.d\\app.ini", "C:\\my.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    std::string settings = SettingsPathOf(c.program);
    EXPECT_EQ(settings, c.settings);
    EXPECT_EQ(DefaultTriggerPathOf(settings), c.triggers);
  }
}

TEST(SettingsPath, EmptyProgramPathIsRefused) {
  char out[kPathCapacity] = "stale";
  EXPECT_FALSE(MakeSettingsPath("", out));
  EXPECT_STREQ(out, "");
  EXPECT_FALSE(MakeSettingsPath(nullptr, out));
}

// The settings path holds at most 259 characters: a longer one is made by cutting the program
// path's end, never by writing past the buffer (the sanitizers watch the writes).
TEST(SettingsPath, BoundedAt259Characters) {
  for (size_t length = 250; length <= 270; ++length) {
    std::string program = "C:\\" + std::string(length - 3, 'p');
    SCOPED_TRACE(length);
    std::string settings = SettingsPathOf(program);
    size_t kept = length + 4 <= 259 ? length : 255;
    EXPECT_EQ(settings, program.substr(0, kept) + ".ini");
    EXPECT_LE(settings.size(), 259u);
    std::string triggers = DefaultTriggerPathOf(settings);
    EXPECT_EQ(triggers, program.substr(0, kept) + ".txt");
  }
  std::string huge = "C:\\" + std::string(5000, 'q');
  EXPECT_EQ(SettingsPathOf(huge).size(), 259u);
  std::string withExe = std::string(254, 'r') + ".exe";  // the cut at ".exe" makes room
  EXPECT_EQ(SettingsPathOf(withExe), std::string(254, 'r') + ".ini");
}

TEST(SettingsPath, DefaultTriggerPathWithoutIniStaysBounded) {
  EXPECT_EQ(DefaultTriggerPathOf("C:\\odd"), "C:\\odd.txt");
  EXPECT_EQ(DefaultTriggerPathOf(std::string(259, 's')), std::string(255, 's') + ".txt");
}

class TriggerPathTest : public ShellTest {
 protected:
  std::string Choose(const char* configured) {
    char out[kPathCapacity];
    ChooseTriggerPath(configured, "C:\\Tools\\app.ini", out);
    return out;
  }
};

TEST_F(TriggerPathTest, ConfiguredFileOnlyWhenItExists) {
  std::string file = Write("mine.txt", "a=b\r\n");
  std::string folder = MakeFolder("folder.txt");
  EXPECT_EQ(Choose(file.c_str()), file);
  EXPECT_EQ(Choose(""), "C:\\Tools\\app.txt");
  EXPECT_EQ(Choose(nullptr), "C:\\Tools\\app.txt");
  EXPECT_EQ(Choose(folder.c_str()), "C:\\Tools\\app.txt") << "a folder is not a trigger file";
  EXPECT_EQ(Choose(PathOf("deleted.txt").c_str()), "C:\\Tools\\app.txt");
  Write("empty.txt", "");
  EXPECT_EQ(Choose(PathOf("empty.txt").c_str()), PathOf("empty.txt")) << "an empty file exists";
}

TEST(FontSetting, FaceBeforeTheSeparatorAndTheFirstNumber) {
  struct Case { const char* value; const char* face; int points; } cases[] = {
      {"Consolas,4", "Consolas", 10},
      {"Arial;14", "Arial", 14},
      {",12", "Courier New", 12},
      {"", "Courier New", 10},
      {"Courier New,10", "Courier New", 10},
      {"Tahoma,6", "Tahoma", 10},
      {"Tahoma,7", "Tahoma", 7},
      {"Arial,-12", "Arial", 10},
      {"Code2000,10", "Code2000", 2000},
      {"A;B,12", "A", 12},
      {"Verdana,0", "Verdana", 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    FontChoice font = ParseFontSetting(c.value);
    EXPECT_STREQ(font.face, c.face);
    EXPECT_EQ(font.points, c.points);
  }
}

TEST(FirstPlacement, ZeroValuesGiveACentredDefaultWindow) {
  for (int32_t screenWidth : {1280, 1279, 1920, 800}) {
    for (int32_t screenHeight : {1024, 1023, 600}) {
      SCOPED_TRACE(std::to_string(screenWidth) + "x" + std::to_string(screenHeight));
      WindowBox box = InitialWindowBox(WindowBox{0, 0, 0, 0}, screenWidth, screenHeight, 96);
      EXPECT_EQ(box.width, 780);
      EXPECT_EQ(box.height, 550);
      // Centred, with the halves rounded toward zero.
      EXPECT_EQ(box.left, screenWidth / 2 - 780 / 2);
      EXPECT_EQ(box.top, screenHeight / 2 - 550 / 2);
      EXPECT_LE(std::abs((box.left + box.width / 2) - screenWidth / 2), 1);
    }
  }
}

TEST(FirstPlacement, EachSavedValueStandsOnItsOwn) {
  WindowBox saved = InitialWindowBox(WindowBox{30, 40, 500, 300}, 1280, 1024, 96);
  EXPECT_EQ(saved.left, 30);
  EXPECT_EQ(saved.top, 40);
  EXPECT_EQ(saved.width, 500);
  EXPECT_EQ(saved.height, 300);
  // The window was last at the left screen edge: only the left edge is centred.
  WindowBox leftEdge = InitialWindowBox(WindowBox{0, 40, 500, 300}, 1280, 1024, 96);
  EXPECT_EQ(leftEdge.left, 1280 / 2 - 390);
  EXPECT_EQ(leftEdge.top, 40);
  EXPECT_EQ(leftEdge.width, 500);
  EXPECT_EQ(leftEdge.height, 300);
  WindowBox onlyWidth = InitialWindowBox(WindowBox{-8, -8, 0, 0}, 1280, 1024, 96);
  EXPECT_EQ(onlyWidth.left, -8) << "a second screen to the left keeps its negative position";
  EXPECT_EQ(onlyWidth.top, -8);
  EXPECT_EQ(onlyWidth.width, 780);
  EXPECT_EQ(onlyWidth.height, 550);
}

TEST(FirstPlacement, TheDefaultSizeFollowsTheScreensDpiButSavedPixelsStand) {
  struct Case { int32_t dpi, width, height; } cases[] = {{96, 780, 550}, {120, 975, 688}, {144, 1170, 825},
                                                         {192, 1560, 1100}, {72, 585, 413}};
  for (const Case& c : cases) {
    SCOPED_TRACE("dpi " + std::to_string(c.dpi));
    WindowBox box = InitialWindowBox(WindowBox{0, 0, 0, 0}, 2560, 1440, c.dpi);
    EXPECT_EQ(box.width, c.width);
    EXPECT_EQ(box.height, c.height);
    EXPECT_EQ(box.left, 1280 - c.width / 2);
    EXPECT_EQ(box.top, 720 - c.height / 2);
    WindowBox saved = InitialWindowBox(WindowBox{30, 40, 500, 300}, 2560, 1440, c.dpi);
    EXPECT_EQ(saved.width, 500);
    EXPECT_EQ(saved.height, 300);
  }
}

TEST(StartState, ReadIgnoringCaseAndWrittenBack) {
  struct Case { const char* value; WindowStartState state; } cases[] = {
      {"maximized", kStartMaximized}, {"Maximized", kStartMaximized}, {"MINIMIZED", kStartMinimized},
      {"minimized", kStartMinimized}, {"normal", kStartNormal},       {"hidden", kStartNormal},
      {"", kStartNormal},             {"maximized ", kStartNormal},   {"maximize", kStartNormal},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseStartState(c.value), c.state) << '"' << c.value << '"';
  EXPECT_EQ(ParseStartState(nullptr), kStartNormal);
  for (WindowStartState state : {kStartNormal, kStartMaximized, kStartMinimized}) {
    EXPECT_EQ(ParseStartState(StartStateText(state)), state) << StartStateText(state);
  }
  EXPECT_STREQ(StartStateText(kStartNormal), "normal");
  EXPECT_STREQ(StartStateText(kStartMaximized), "maximized");
  EXPECT_STREQ(StartStateText(kStartMinimized), "minimized");
}

TEST(RemapComputer, OnlyMiniboxInAnyCase) {
  EXPECT_TRUE(IsRemapComputerName("MINIBOX"));
  EXPECT_TRUE(IsRemapComputerName("minibox"));
  EXPECT_TRUE(IsRemapComputerName("MiniBox"));
  EXPECT_FALSE(IsRemapComputerName("MINIBOX2"));
  EXPECT_FALSE(IsRemapComputerName("MINIBO"));
  EXPECT_FALSE(IsRemapComputerName(""));
  EXPECT_FALSE(IsRemapComputerName(nullptr));
}

TEST(MainTitle, PathAfterThePrefixAndTheMarkOnce) {
  char title[kTitleCapacity];
  FormatMainTitle("C:\\Tools\\app.txt", title, sizeof title);
  EXPECT_STREQ(title, "WordHatch - C:\\Tools\\app.txt");
  EXPECT_TRUE(AddChangedMark(title, sizeof title));
  EXPECT_STREQ(title, "WordHatch - C:\\Tools\\app.txt *");
  EXPECT_FALSE(AddChangedMark(title, sizeof title));
  EXPECT_STREQ(title, "WordHatch - C:\\Tools\\app.txt *") << "the mark is added once";

  char starred[kTitleCapacity] = "WordHatch - C:\\a*b.txt";
  EXPECT_FALSE(AddChangedMark(starred, sizeof starred)) << "any \"*\" counts as the mark";

  char full[8] = "1234567";
  EXPECT_FALSE(AddChangedMark(full, sizeof full)) << "no room: the title is left alone";
  EXPECT_STREQ(full, "1234567");
  char fits[8] = "12345";
  EXPECT_TRUE(AddChangedMark(fits, sizeof fits));
  EXPECT_STREQ(fits, "12345 *");
}

TEST(FontSize, PointsAndPixelsConvertAsTheSystemRounds) {
  EXPECT_EQ(MulDivRounded(10, 96, 72), 13) << "13.33";
  EXPECT_EQ(MulDivRounded(3, 1, 2), 2) << "halves go away from zero";
  EXPECT_EQ(MulDivRounded(-3, 1, 2), -2);
  EXPECT_EQ(MulDivRounded(1, 1, 0), -1);
  EXPECT_EQ(MulDivRounded(INT32_MAX, 2, 1), -1) << "a result beyond 32 bits";
  EXPECT_EQ(FontHeightFromPoints(10, 96), -13);
  EXPECT_EQ(FontHeightFromPoints(12, 120), -20);
  EXPECT_EQ(FontPointsFromHeight(-13, 96), 10) << "9.75 rounds up";
  EXPECT_EQ(FontPointsFromHeight(13, 96), 10) << "either sign of the height";
  EXPECT_EQ(FontPointsFromHeight(-16, 96), 12);
  EXPECT_EQ(FontPointsFromHeight(-7, 96), 5);
  EXPECT_EQ(FontPointsFromHeight(-13, 0), -1);
  for (int points = 6; points <= 72; ++points) {
    EXPECT_EQ(FontPointsFromHeight(FontHeightFromPoints(points, 96), 96), points) << points << " points";
  }
}

TEST(FontSize, TheSettingKeepsAChosenSmallSizeAndTheNextStartCorrectsIt) {
  char setting[kFontSettingCapacity];
  FormatFontSetting("Arial", 5, setting, sizeof setting);
  EXPECT_STREQ(setting, "Arial,5");
  EXPECT_EQ(ParseFontSetting(setting).points, 10);
  FormatFontSetting("", 12, setting, sizeof setting);
  EXPECT_STREQ(setting, "Courier New,12");
}
