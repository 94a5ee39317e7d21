// Mouse commands of the output language: "{click" clicks at a position relative to the
// foreground window's frame, "{mouse_return}" puts the cursor back where the user had it when
// the output started.
#include "player/mouse_commands.h"

#include "common/state.h"
#include "common/text.h"
#include "platform/clock.h"
#include "platform/mouse.h"

// Each coordinate field of a click is read from its first characters only.
const int32_t kClickFieldLimit = 31;
const char kRightWord[] = "right";
const char kDoubleWord[] = "dbl";
// A double click waits half the system's double-click time between its clicks, but never less
// than this, so that the two clicks stay apart.
const uint32_t kDoubleClickDivisor = 2;
const uint32_t kShortestDoubleClickWaitMs = 10;
// Absolute mouse coordinates run from 0 to this over the primary screen.
const int64_t kAbsoluteMouseRange = 65535;

// True when the first `length` characters of `argument` begin with `word`, ignoring case.
static bool ArgumentBeginsWith(const char* argument, int32_t length, const char* word) {
  int32_t wordLength = 0;
  while (word[wordLength]) ++wordLength;
  return length >= wordLength && StartsWithNoCase(argument, word);
}

// x from the text before the first comma, y from the text between it and the next; y is 0
// without a comma. The fields are not bounded by the closing "}".
static void ReadClickPosition(const char* argument, int32_t length, int32_t* x, int32_t* y) {
  int32_t position[2];
  ReadCommaFields(argument, length, kClickFieldLimit, position, 2);
  *x = position[0];
  *y = position[1];
}

// Sums in wrapping 32-bit arithmetic: a huge coordinate in an output must not overflow.
static int32_t WrappingAdd(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }

static void LeftClick() {
  PlatformSendMouseEvent(kMouseLeftDown, 0, 0, 0);
  PlatformSendMouseEvent(kMouseLeftUp, 0, 0, 0);
}

static void RightClick() {
  PlatformSendMouseEvent(kMouseRightDown, 0, 0, 0);
  PlatformSendMouseEvent(kMouseRightUp, 0, 0, 0);
}

static uint32_t DoubleClickWaitMs() {
  uint32_t wait = PlatformDoubleClickTime() / kDoubleClickDivisor;
  return wait > kShortestDoubleClickWaitMs ? wait : kShortestDoubleClickWaitMs;
}

void ClickCommand(const char* argument, int32_t length) {
  if (length < 0) length = 0;
  int32_t originX = 0, originY = 0;
  PlatformForegroundWindowOrigin(&originX, &originY);  // 0, 0 without a foreground window
  int32_t x = 0, y = 0;
  ReadClickPosition(argument, length, &x, &y);
  // The cursor may have been hidden by the program that has the focus; the count is not lowered again.
  PlatformShowCursor();
  PlatformSetCursorPos(WrappingAdd(originX, x), WrappingAdd(originY, y));
  // Both words are looked for at the first character, so a double click is always a left one.
  if (ArgumentBeginsWith(argument, length, kRightWord)) {
    RightClick();
    return;
  }
  LeftClick();
  if (ArgumentBeginsWith(argument, length, kDoubleWord)) {
    PlatformSleep(DoubleClickWaitMs());
    LeftClick();
  }
}

// One screen coordinate in the absolute range of the mouse, in 64-bit arithmetic so that a
// position far off the screen cannot overflow; a screen of one pixel or none maps to 0.
static int32_t AbsoluteMouseCoordinate(int32_t position, int32_t screenExtent) {
  if (screenExtent <= 1) return 0;
  int64_t absolute = int64_t(position) * kAbsoluteMouseRange / (screenExtent - 1);
  if (absolute > INT32_MAX) return INT32_MAX;
  if (absolute < INT32_MIN) return INT32_MIN;
  return int32_t(absolute);
}

// The absolute move reaches programs that follow mouse input; setting the cursor afterwards puts
// it on the exact pixel, which the scaled move may miss by one.
void MouseReturnCommand() {
  int32_t width = 0, height = 0;
  PlatformScreenSize(&width, &height);
  PlatformSendMouseEvent(kMouseMove | kMouseAbsolute, AbsoluteMouseCoordinate(gPlayer.savedCursorX, width),
                         AbsoluteMouseCoordinate(gPlayer.savedCursorY, height), 0);
  PlatformSetCursorPos(gPlayer.savedCursorX, gPlayer.savedCursorY);
}
