// The mouse commands called directly, for what the player cannot vary: an argument cut short,
// no foreground window, the system's double-click time, and the absolute move of the return.
#include <gtest/gtest.h>

#include <string>

#include "common/state.h"
#include "platform/mouse.h"
#include "player/mouse_commands.h"
#include "tests/unit/fake_platform.h"

namespace {

std::string Pair(int32_t a, int32_t b) { return std::to_string(a) + "," + std::to_string(b); }

// In order: where the cursor was put as "x,y", each wait as "sleepN", each mouse event as "flags:dx,dy".
std::string MouseTrace() {
  std::string out;
  for (const FakeEvent& e : gFake.events) {
    std::string item = e.kind == kFakeCursorMove ? Pair(e.a, e.b) : e.kind == kFakeSleep ? "sleep" + std::to_string(e.a)
                     : e.kind == kFakeMouseEvent ? std::to_string(e.a) + ":" + Pair(e.b, e.c) : "";
    if (!item.empty()) out += (out.empty() ? "" : " ") + item;
  }
  return out;
}

TEST(MouseCommandTest, ClicksCutShortWithoutAWindowAndDoubleClickWaits) {
  const std::string left = std::to_string(kMouseLeftDown) + ":0,0 " + std::to_string(kMouseLeftUp) + ":0,0";
  struct Case { const char* argument; int32_t length; bool foreground; uint32_t doubleClickTime; std::string trace; };
  const Case cases[] = {
      {"12,34}", 4, true, 500, "112,203 " + left},       // the output ends after "12,3"
      {"right 1,2}", 4, true, 500, "100,200 " + left},   // too short to begin with "right"
      {" 30,40}", 7, false, 500, "30,40 " + left},       // no foreground window: the screen's corner
      {"dbl 1,1}", 8, true, 901, "101,201 " + left + " sleep450 " + left},  // half the time
      {"dbl 1,1}", 8, true, 22, "101,201 " + left + " sleep11 " + left},
      {"dbl 1,1}", 8, true, 19, "101,201 " + left + " sleep10 " + left},    // but at least 10 ms
  };
  for (const Case& c : cases) {
    FakeReset();
    gFake.hasForeground = c.foreground;
    gFake.foregroundX = 100, gFake.foregroundY = 200;
    gFake.doubleClickTime = c.doubleClickTime;
    ClickCommand(c.argument, c.length);
    EXPECT_EQ(MouseTrace(), c.trace) << c.argument << " (" << c.length << "), " << c.doubleClickTime;
  }
}

TEST(MouseCommandTest, MouseReturnScalesToTheAbsoluteRangeIn64Bits) {
  struct Case { int32_t x, y, width, height, nx, ny; } cases[] = {
      {1023, 767, 1024, 768, 65535, 65535},
      {40000, 0, 1024, 768, 2562463, 0},   // 40000 * 65535 does not fit in 32 bits
      {-100, -1, 1024, 768, -6406, -85},   // truncated toward zero
      {500, 500, 1, 0, 0, 0},              // a screen of one pixel or none
      {2000000000, 5, 2, 2, INT32_MAX, 327675},
  };
  for (const Case& c : cases) {
    FakeReset();
    gPlayer = PlayerState();
    gFake.screenWidth = c.width, gFake.screenHeight = c.height;
    gPlayer.savedCursorX = c.x, gPlayer.savedCursorY = c.y;
    MouseReturnCommand();
    EXPECT_EQ(MouseTrace(), std::to_string(kMouseMove | kMouseAbsolute) + ":" + Pair(c.nx, c.ny) + " " + Pair(c.x, c.y))
        << "on " << c.width << "x" << c.height;
  }
}

}  // namespace
