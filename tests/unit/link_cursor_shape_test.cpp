// The program's own pictures: the link cursor's picture and the bit planes made from it, and the
// greyed copy of the tray icon.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "app/icon_grey.h"
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

// An opaque grey of the same value in each colour channel.
static uint32_t OpaqueGrey(uint32_t value) { return 0xFF000000 | value * 0x010101; }

// The tray icon has no alpha channel: its mask says where it is transparent. Green weighs most in
// lightness, blue least.
TEST(GreyedIcon, MaskIconTurnsIntoOpaqueLightGreysInTheOrderOfTheirLightness) {
  uint32_t colour[] = {0x000000, 0xFFFFFF, 0x0000FF, 0xFF0000, 0x00FF00, 0x462D14};
  const uint32_t mask[] = {0, 0, 0, 0, 0, 0xFFFFFF};
  GreyIconPixels(colour, mask, 6);
  EXPECT_EQ(colour[0], OpaqueGrey(kGreyFloor)) << "black becomes the darkest grey";
  EXPECT_EQ(colour[1], OpaqueGrey(0xFF)) << "white stays white";
  for (int i = 2; i < 5; ++i) EXPECT_EQ(colour[i], OpaqueGrey(colour[i] & 0xFF)) << "pixel " << i;
  EXPECT_LT(colour[2], colour[3]) << "blue is darker than red";
  EXPECT_LT(colour[3], colour[4]) << "red is darker than green";
  EXPECT_EQ(colour[5] >> 24, 0u) << "transparent in the mask: transparent";
}

TEST(GreyedIcon, AlphaIconKeepsItsOpacityWhateverTheMask) {
  uint32_t colour[] = {0x80FF0000, 0x00123456};
  const uint32_t mask[] = {0xFFFFFF, 0};
  GreyIconPixels(colour, mask, 2);
  EXPECT_EQ(colour[0] >> 24, 0x80u);
  EXPECT_EQ(colour[1] >> 24, 0u);
}
