// The portable Options commands: Minimize to Tray and Track Mouse, with their check marks.
#include <string>
#include <vector>

#include "app/track_mouse.h"
#include "app/tray_option.h"
#include "resources/resource_ids.h"
#include "tests/unit/shell_fixture.h"

using OptionCommandsTest = ShellTest;

TEST_F(OptionCommandsTest, MinimizeToTrayFlipsTheOptionAndWritesIt) {
  gShell.trayOption = true;
  OnTrayOptionCommand();
  EXPECT_FALSE(gShell.trayOption);
  EXPECT_FALSE(gFake.menuChecks[IDM_OPT_TRAY]);
  OnTrayOptionCommand();
  EXPECT_TRUE(gShell.trayOption);
  EXPECT_TRUE(gFake.menuChecks[IDM_OPT_TRAY]);
  EXPECT_EQ(Writes(), (std::vector<std::string>{"tray=0", "tray=1"}));
}

TEST_F(OptionCommandsTest, TrackMouseRunsItsTimerAndLeavesABlankStatusWhenOff) {
  OnTrackMouseCommand();
  ASSERT_EQ(FakeEventsOf(kFakeTimerStart).size(), 1u);
  EXPECT_EQ(FakeEventsOf(kFakeTimerStart)[0].a, kTrackMouseTimerId);
  EXPECT_EQ(FakeEventsOf(kFakeTimerStart)[0].b, kTrackMousePeriodMs);
  EXPECT_TRUE(gFake.menuChecks[IDM_OPT_TRACK_MOUSE]);
  EXPECT_TRUE(FakeEventsOf(kFakeStatusText).empty());
  OnTrackMouseCommand();
  ASSERT_EQ(FakeEventsOf(kFakeTimerStop).size(), 1u);
  EXPECT_EQ(FakeEventsOf(kFakeTimerStop)[0].a, kTrackMouseTimerId);
  EXPECT_EQ(gFake.statusText, " ");
  EXPECT_FALSE(gFake.menuChecks[IDM_OPT_TRACK_MOUSE]);
}

TEST_F(OptionCommandsTest, ThePositionIsRelativeToTheForegroundFrame) {
  gFake.cursorX = 100;
  gFake.cursorY = 50;
  gFake.foregroundX = 120;
  gFake.foregroundY = 20;
  ShowMousePosition();
  EXPECT_EQ(gFake.statusText, "  -20, 30");
  gFake.hasForeground = false;
  ShowMousePosition();
  EXPECT_EQ(gFake.statusText, "  100, 50") << "the screen position without a foreground window";
}
