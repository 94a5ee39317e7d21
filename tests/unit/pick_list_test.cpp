// The pick list through the recording fake: the list text it keeps, its placement, the lines it
// paints, the line under a click, and what a choice does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/state.h"
#include "picklist/pick_list.h"
#include "player/program_commands.h"
#include "tests/unit/fake_platform.h"

namespace {

const char kSettings[] = "/fake/WordHatch.ini";
const char kSection[] = "WordHatch Settings";

class PickListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    gShell = ShellState();
    gPickList = PickListState();
    snprintf(gShell.settingsPath, sizeof gShell.settingsPath, "%s", kSettings);
    gFake.screenWidth = 1920;
  }
  void TearDown() override { ReleasePickList(); }

  // Every painted line as "top:text", lines `height` apart.
  std::vector<std::string> Paint(int32_t height = 16) {
    std::vector<std::string> lines;
    ListPaintWalk walk = StartListPaint(height);
    char line[kListLineSize];
    int32_t top = -1;
    while (NextListLine(&walk, line, sizeof line, &top)) lines.push_back(std::to_string(top) + ":" + line);
    return lines;
  }
  std::string Item(int32_t index) {
    char item[kProgramNameLimit + 1];
    ListItemText(index, item);
    return item;
  }
};

std::string ListWindows() {
  std::string out;
  for (const FakeEvent& e : FakeEventsOf(kFakeListWindow)) out += e.text + ";";
  return out;
}

TEST_F(PickListTest, KeepsTheListTextUpToItsEndAndOpensAtTheStoredPlace) {
  EXPECT_EQ(OpenPickList("Notepad;Calculator{Enter}rest"), 18);
  EXPECT_EQ(std::string(gPickList.listBuffer), "Notepad;Calculator");
  EXPECT_EQ(ListWindows(), "1610,10,300,200;");  // near the top right corner of a 1920 screen

  gFake.events.clear();
  EXPECT_EQ(OpenPickList(std::string(500, 'x').c_str()), 479);
  EXPECT_EQ(std::string(gPickList.listBuffer).size(), 479u);

  // Stored fields are read as they stand; missing ones are 0, each is read from 31 characters.
  FakePresetSetting(kSettings, kSection, "window_list", "-20,30,x400");
  EXPECT_EQ(ReadListPlacement().left, -20);
  EXPECT_EQ(ReadListPlacement().width, 400);
  EXPECT_EQ(ReadListPlacement().height, 0);
  FakePresetSetting(kSettings, kSection, "window_list", std::string(31, ' ') + "5,6,7,8");
  EXPECT_EQ(ReadListPlacement().left, 0);
  EXPECT_EQ(ReadListPlacement().top, 6);
  FakePresetSetting(kSettings, kSection, "window_list", "");
  EXPECT_EQ(ReadListPlacement().left, 1610);

  // The default placement is in pixels at 96 DPI, scaled to the screen's; a stored one is not.
  gFake.screenDpi = 144;
  gFake.events.clear();
  OpenPickList("Notepad");
  EXPECT_EQ(ListWindows(), "1455,15,450,300;");
  FakePresetSetting(kSettings, kSection, "window_list", "5,6,300,200");
  EXPECT_EQ(ReadListPlacement().width, 300);
  EXPECT_EQ(ReadListPlacement().height, 200);
}

TEST_F(PickListTest, WithoutAListBufferNothingIsShownOrChosen) {
  gFake.failHeapAllocAt = 1;
  // The list text is still passed over, so it is never typed.
  EXPECT_EQ(OpenPickList("Notepad;Calc{Enter}"), 12);
  EXPECT_EQ(gPickList.listBuffer, nullptr);
  EXPECT_EQ(ListWindows(), "");
  EXPECT_TRUE(Paint().empty());
  ChoosePickListItem(0);
  EXPECT_TRUE(FakeEventsOf(kFakeShellExecute).empty());
}

TEST_F(PickListTest, PaintsNumberedLinesUpToTheNinthAndTheFirst255Characters) {
  EXPECT_EQ(ListLineAt(40), -1);  // nothing painted yet: a click chooses nothing
  OpenPickList("  Notepad; Calculator;;a;b;c;d;e;f;tenth");
  std::vector<std::string> lines = Paint();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "0:1 - Notepad");
  EXPECT_EQ(lines[1], "16:2 - Calculator");
  EXPECT_EQ(lines[2], "32:3 - ");
  EXPECT_EQ(lines[8], "128:9 - f");
  EXPECT_EQ(lines[9], "144:tenth");
  EXPECT_EQ(ListLineAt(40), 2);

  OpenPickList("");
  EXPECT_TRUE(Paint().empty());
  // A font without height still gives distinct lines.
  OpenPickList("a;b");
  EXPECT_EQ(Paint(0), (std::vector<std::string>{"0:1 - a", "1:2 - b"}));

  std::string longList = std::string(250, 'x') + ";abcdefgh;hidden";
  OpenPickList(longList.c_str());
  lines = Paint();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "16:2 - abcd");
  // Items past the painted part can still be chosen by their line.
  EXPECT_EQ(Item(2), "hidden");
}

TEST_F(PickListTest, ItemsAreCutTrimmedAndCountedBySeparators) {
  OpenPickList(" \tD:\\Tools\\x.exe \t;;last");
  EXPECT_EQ(Item(0), "D:\\Tools\\x.exe");
  EXPECT_EQ(Item(1), "");
  EXPECT_EQ(Item(2), "last");
  EXPECT_EQ(Item(3), "");
  OpenPickList(std::string(300, 'y').c_str());
  EXPECT_EQ(Item(0).size(), 254u);
}

TEST_F(PickListTest, ChoiceBringsTheWindowForwardOrStartsTheItemOnce) {
  gFake.foregroundWindow = FakeAddWindow("Notes");
  uint32_t calculator = FakeAddWindow("Windows Calculator");
  OpenPickList("Notepad; calc ;D:\\Tools\\x.exe;;");
  ChoosePickListItem(1);
  ASSERT_EQ(FakeEventsOf(kFakeBringForward).size(), 1u);
  EXPECT_EQ(FakeEventsOf(kFakeBringForward)[0].a, calculator);
  EXPECT_TRUE(FakeEventsOf(kFakeShellExecute).empty());

  // No window: entered as a folder, started once, and a failure is not reported.
  gFake.events.clear();
  gFake.folders = {"D:\\Tools"};
  ChoosePickListItem(2);
  EXPECT_EQ(gFake.currentDirectory, "D:\\Tools");
  ASSERT_EQ(FakeEventsOf(kFakeShellExecute).size(), 1u);
  EXPECT_EQ(FakeEventsOf(kFakeShellExecute)[0].text, "D:\\Tools\\x.exe");
  EXPECT_TRUE(FakeEventsOf(kFakeWarning).empty());

  // An empty item, or one past the end, does nothing at all.
  gFake.events.clear();
  ChoosePickListItem(3);
  ChoosePickListItem(32);
  EXPECT_TRUE(gFake.events.empty());
}

TEST_F(PickListTest, ClosingStoresThePlacementAndLeavesWatchingAsItWas) {
  gWatcher.suspended = true;  // an output that opened the list still plays: its end resumes
  OnPickListClosed(ListPlacement{-5, 20, 310, 240});
  std::string stored;
  ASSERT_TRUE(FakeStoredSetting(kSettings, kSection, "window_list", &stored));
  EXPECT_EQ(stored, "-5,20,310,240");
  EXPECT_TRUE(FakeEventsOf(kFakeTimerStart).empty());
  EXPECT_TRUE(gWatcher.suspended);
  EXPECT_EQ(ReadListPlacement().width, 310);
}

}  // namespace
