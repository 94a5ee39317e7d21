// The link cursor's image (see link_cursor_shape.h). Kept as a picture so that it can be read
// and changed; the planes are derived from it.
#include "app/link_cursor_shape.h"

#include <string.h>

const char kLinkCursorPicture[kCursorSide][kCursorSide + 1] = {
    ".....##.........................",
    "....#oo#........................",
    "....#oo#........................",
    "....#oo#........................",
    "....#oo#........................",
    "....#oo###......................",
    "....#oo#oo###...................",
    "....#oo#oo#oo##.................",
    "....#oo#oo#oo#o#................",
    "##..#oo#oo#oo#o#................",
    "#o#.#oooooooooo#................",
    "#oo##oooooooooo#................",
    ".#oo#oooooooooo#................",
    ".#ooooooooooooo#................",
    "..#oooooooooooo#................",
    "..#ooooooooooo#.................",
    "...#oooooooooo#.................",
    "...#ooooooooo#..................",
    "....#oooooooo#..................",
    "....#oooooooo#..................",
    "....##########..................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

CursorPlanes LinkCursorPlanes() {
  CursorPlanes planes;
  memset(&planes, 0, sizeof planes);
  for (int row = 0; row < kCursorSide; ++row) {
    for (int column = 0; column < kCursorSide; ++column) {
      int byte = (row * kCursorSide + column) / 8;
      uint8_t bit = uint8_t(0x80u >> (column % 8));
      char pixel = kLinkCursorPicture[row][column];
      if (pixel == 'o') planes.xorPlane[byte] |= bit;
      if (pixel != '#' && pixel != 'o') planes.andPlane[byte] |= bit;
    }
  }
  return planes;
}
