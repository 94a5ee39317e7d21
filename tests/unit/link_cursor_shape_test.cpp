// The link cursor's picture and the bit planes made from it.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "app/link_cursor_shape.h"

static bool PlaneBit(const uint8_t* plane, int row, int column) {
  return (plane[(row * kCursorSide + column) / 8] >> (7 - column % 8)) & 1;
}

TEST(LinkCursor, PictureIsFullSizeAndUsesThreeColours) {
  for (int row = 0; row < kCursorSide; ++row) {
    EXPECT_EQ(strlen(kLinkCursorPicture[row]), size_t(kCursorSide)) << "row " << row;
    EXPECT_EQ(strspn(kLinkCursorPicture[row], "#o."), strlen(kLinkCursorPicture[row])) << "row " << row;
  }
}

TEST(LinkCursor, HotSpotIsTheTopOfTheFingertip) {
  EXPECT_EQ(kLinkCursorPicture[kLinkCursorHotY][kLinkCursorHotX], '#');
  for (int row = 0; row < kLinkCursorHotY; ++row) {
    EXPECT_EQ(strspn(kLinkCursorPicture[row], "."), size_t(kCursorSide)) << "nothing above the hot spot";
  }
}

// Every pixel: black is AND 0 XOR 0, white AND 0 XOR 1, transparent AND 1 XOR 0.
TEST(LinkCursor, PlanesFollowThePicture) {
  CursorPlanes planes = LinkCursorPlanes();
  int black = 0, white = 0;
  for (int row = 0; row < kCursorSide; ++row) {
    for (int column = 0; column < kCursorSide; ++column) {
      char pixel = kLinkCursorPicture[row][column];
      bool andBit = PlaneBit(planes.andPlane, row, column), xorBit = PlaneBit(planes.xorPlane, row, column);
      SCOPED_TRACE("pixel " + std::to_string(column) + "," + std::to_string(row) + " '" + pixel + "'");
      EXPECT_EQ(andBit, pixel == '.');
      EXPECT_EQ(xorBit, pixel == 'o');
      black += pixel == '#';
      white += pixel == 'o';
    }
  }
  EXPECT_GT(black, 0);
  EXPECT_GT(white, 0);
}
