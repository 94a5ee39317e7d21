// The mouse commands through the recording fake: where a click lands, which buttons it sends,
// and the absolute move of the cursor's return.
#include <gtest/gtest.h>

#include <string>

#include "common/state.h"
#include "platform/mouse.h"
#include "player/mouse_commands.h"
#include "tests/unit/fake_platform.h"

namespace {

class MouseCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    gPlayer = PlayerState();
  }
};

// Where the click put the cursor, as "x,y".
std::string CursorMoves() {
  std::string out;
  for (const FakeEvent& e : FakeEventsOf(kFakeCursorMove)) {
    out += (out.empty() ? "" : " ") + std::to_string(int32_t(e.a)) + "," + std::to_string(int32_t(e.b));
  }
  return out;
}

TEST_F(MouseCommandTest, WhereAClickLands) {
  std::string blanks30(30, ' ');
  struct Case { std::string argument; int32_t length; bool foreground; const char* cursor; } cases[] = {
      {"5,-3}", -1, true, "105,197"},                // the "-" directly before the digits is in the y field
      {"5-,3}", -1, true, "105,203"},                // a "-" in the x field does not make y negative
      {"1,2,3}", -1, true, "101,202"},               // y ends at the second comma
      {"1,,3}", -1, true, "101,200"},
      {blanks30 + "7,5}", -1, true, "107,205"},      // a field's 31st character is still read
      {blanks30 + " 7,5}", -1, true, "100,205"},     // its 32nd is not
      {"1," + blanks30 + " 9}", -1, true, "101,200"},
      {"12,34}", 4, true, "112,203"},                // the output ends after "12,3"
      {"", -1, true, "100,200"},
      {" 30,40}", -1, false, "30,40"},               // no foreground window: the screen corner
      {" 2147483647,0}", -1, true, "-2147483549,200"},  // wraps instead of overflowing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("argument \"" + c.argument + "\"");
    FakeReset();
    gFake.hasForeground = c.foreground;
    gFake.foregroundX = 100;
    gFake.foregroundY = 200;
    ClickCommand(c.argument.c_str(), c.length < 0 ? int32_t(c.argument.size()) : c.length);
    EXPECT_EQ(CursorMoves(), c.cursor);
    EXPECT_EQ(FakeEventsOf(kFakeShowCursor).size(), 1u);
  }
  FakeReset();
  ClickCommand("right 1,2}", 4);  // too short to begin with "right"
  ASSERT_EQ(FakeEventsOf(kFakeMouseEvent).size(), 2u);
  EXPECT_EQ(FakeEventsOf(kFakeMouseEvent)[0].a, kMouseLeftDown);
}

TEST_F(MouseCommandTest, DoubleClickWaitsHalfTheDoubleClickTimeButAtLeastTenMs) {
  struct Case { uint32_t doubleClickTime, wait; } cases[] = {{500, 250}, {901, 450}, {21, 10}, {15, 10}, {0, 10}};
  for (const Case& c : cases) {
    FakeReset();
    gFake.doubleClickTime = c.doubleClickTime;
    ClickCommand("dbl 1,1}", 8);
    std::vector<FakeEvent> sleeps = FakeEventsOf(kFakeSleep);
    ASSERT_EQ(sleeps.size(), 1u) << c.doubleClickTime;
    EXPECT_EQ(sleeps[0].a, c.wait) << c.doubleClickTime;
    EXPECT_EQ(FakeEventsOf(kFakeMouseEvent).size(), 4u) << c.doubleClickTime;
  }
}

TEST_F(MouseCommandTest, MouseReturnScalesToTheAbsoluteRange) {
  struct Case { int32_t x, y, width, height, nx, ny; } cases[] = {
      {512, 384, 1025, 769, 32767, 32767},
      {1023, 767, 1024, 768, 65535, 65535},
      {40000, 0, 1024, 768, 2562463, 0},           // 40000 * 65535 does not fit in 32 bits
      {-100, -1, 1024, 768, -6406, -85},           // truncated toward zero
      {500, 500, 1, 0, 0, 0},                      // a screen of one pixel or none
      {2000000000, 5, 2, 2, INT32_MAX, 327675},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y) + " on " + std::to_string(c.width));
    FakeReset();
    gFake.screenWidth = c.width;
    gFake.screenHeight = c.height;
    gPlayer.savedCursorX = c.x;
    gPlayer.savedCursorY = c.y;
    MouseReturnCommand();
    std::vector<FakeEvent> mouse = FakeEventsOf(kFakeMouseEvent);
    ASSERT_EQ(mouse.size(), 1u);
    EXPECT_EQ(mouse[0].a, kMouseMove | kMouseAbsolute);
    EXPECT_EQ(int32_t(mouse[0].b), c.nx);
    EXPECT_EQ(int32_t(mouse[0].c), c.ny);
    EXPECT_EQ(CursorMoves(), std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_TRUE(FakeEventsOf(kFakeShowCursor).empty());
  }
}

}  // namespace
