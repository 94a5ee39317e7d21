// Fuzz target: the click fields, and the cursor's return. The first byte picks the desktop (the
// foreground window's corner, the screen's size, where the cursor was), the second the system's
// double-click time; the rest is the "{click" argument to the end of the output.
#include <stdint.h>
#include <string.h>
#include <strings.h>

#include <string>
#include <vector>

#include "common/state.h"
#include "player/mouse_commands.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/unit/fake_platform.h"

struct ClickDesktop {
  bool hasForeground;
  int32_t originX, originY, screenWidth, screenHeight, savedX, savedY;
};
const ClickDesktop kDesktops[] = {
    {true, 100, 50, 1024, 768, 300, 200},
    {false, 0, 0, 1, 0, -5, 70000},
    {true, INT32_MAX - 10, INT32_MIN + 10, 1920, 1080, INT32_MIN, INT32_MAX},
    {true, -1920, 0, 2, 2, INT32_MAX, -1},
};
const uint32_t kDoubleClickStep = 10;

static bool BeginsWith(const std::vector<char>& argument, const char* word) {
  size_t length = strlen(word);
  return argument.size() > length && strncasecmp(argument.data(), word, length) == 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBegin();
  FuzzInput input = {data, size};
  const ClickDesktop& desktop = kDesktops[TakeByte(&input) % (sizeof kDesktops / sizeof kDesktops[0])];
  gFake.hasForeground = desktop.hasForeground;
  gFake.foregroundX = desktop.originX;
  gFake.foregroundY = desktop.originY;
  gFake.screenWidth = desktop.screenWidth;
  gFake.screenHeight = desktop.screenHeight;
  gFake.doubleClickTime = TakeByte(&input) * kDoubleClickStep;
  gPlayer.savedCursorX = desktop.savedX;
  gPlayer.savedCursorY = desktop.savedY;
  // Exactly as long as the argument and its NUL, so a read past the output's end is caught.
  std::string rest = TakeRest(&input);
  std::vector<char> argument(rest.begin(), rest.end());
  argument.push_back(0);

  ClickCommand(argument.data(), int32_t(rest.size()));
  size_t clicks = BeginsWith(argument, "right") || !BeginsWith(argument, "dbl") ? 2 : 4;
  FUZZ_CHECK(FakeEventsOf(kFakeMouseEvent).size() == clicks);
  FUZZ_CHECK(FakeEventsOf(kFakeCursorMove).size() == 1);
  FUZZ_CHECK(FakeEventsOf(kFakeSleep).size() == (clicks == 4 ? 1u : 0u));

  gFake.events.clear();
  MouseReturnCommand();
  FUZZ_CHECK(FakeEventsOf(kFakeMouseEvent).size() == 1);
  FUZZ_CHECK(gFake.cursorX == desktop.savedX && gFake.cursorY == desktop.savedY);
  FuzzEnd();
  return 0;
}
