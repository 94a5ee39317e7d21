// The link cursor's image: a pointing hand, black outline and white fill, 32 by 32 pixels, with
// its hot spot at the tip of the index finger. Portable: the picture and its bit planes.
#pragma once
#include <stdint.h>

const int kCursorSide = 32;
const int kCursorPlaneBytes = kCursorSide * kCursorSide / 8;
const int kLinkCursorHotX = 5;
const int kLinkCursorHotY = 0;

// The picture, row by row: '#' black, 'o' white, '.' transparent.
extern const char kLinkCursorPicture[kCursorSide][kCursorSide + 1];

// The two planes of a monochrome cursor, rows top down, leftmost pixel in the high bit.
// AND 0 and XOR 0 is black, AND 0 and XOR 1 white, AND 1 and XOR 0 transparent.
struct CursorPlanes {
  uint8_t andPlane[kCursorPlaneBytes];
  uint8_t xorPlane[kCursorPlaneBytes];
};

// The planes of kLinkCursorPicture.
CursorPlanes LinkCursorPlanes();
