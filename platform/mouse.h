// Mouse seam: the cursor position and synthetic mouse events.
#pragma once
#include <stdint.h>

// Flags of a synthetic mouse event, with the values of the system.
const uint32_t kMouseMove = 0x0001;
const uint32_t kMouseLeftDown = 0x0002;
const uint32_t kMouseLeftUp = 0x0004;
const uint32_t kMouseRightDown = 0x0008;
const uint32_t kMouseRightUp = 0x0010;
const uint32_t kMouseAbsolute = 0x8000;

// Hands one mouse event to the system's input stream. With kMouseAbsolute, dx and dy are in
// the 0 to 65535 range over the primary screen; otherwise they are relative moves.
void PlatformSendMouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data);

// Moves the cursor to screen position x, y at once.
void PlatformSetCursorPos(int32_t x, int32_t y);

// The cursor's screen position; false (0, 0) when it cannot be had.
bool PlatformCursorPos(int32_t* x, int32_t* y);

// Width and height of the primary screen in pixels.
void PlatformScreenSize(int32_t* width, int32_t* height);

// The DPI that the program's sizes are written for: 100 % scaling.
const int32_t kBaseDpi = 96;

// The primary screen's DPI: kBaseDpi at 100 % scaling, 144 at 150 %. Never below 1.
int32_t PlatformScreenDpi();

// The top-left corner of the foreground window's frame (its window rectangle, frame included)
// in screen coordinates. False, with 0, 0, when there is no foreground window.
bool PlatformForegroundWindowOrigin(int32_t* x, int32_t* y);

// Raises the cursor's display count by one, so that a hidden cursor shows again.
void PlatformShowCursor();

// The system's double-click time in milliseconds.
uint32_t PlatformDoubleClickTime();
