// The greyed look of an icon (see icon_grey.h).
#include "app/icon_grey.h"

// Lightness weights of red, green and blue (ITU-R BT.601), out of 256.
static const uint32_t kRedWeight = 77, kGreenWeight = 150, kBlueWeight = 29;
static const int kWeightShift = 8;
static const uint32_t kFull = 0xFF;
static const int kRedShift = 16, kGreenShift = 8, kAlphaShift = 24;

static bool HasAlphaChannel(const uint32_t* colour, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (colour[i] >> kAlphaShift) return true;
  }
  return false;
}

// The light grey of a pixel: its lightness, 0 to 255, brought into kGreyFloor to 255.
static uint32_t LightGrey(uint32_t pixel) {
  uint32_t red = (pixel >> kRedShift) & kFull, green = (pixel >> kGreenShift) & kFull, blue = pixel & kFull;
  uint32_t lightness = (kRedWeight * red + kGreenWeight * green + kBlueWeight * blue) >> kWeightShift;
  return kGreyFloor + lightness * (kFull - kGreyFloor) / kFull;
}

void GreyIconPixels(uint32_t* colour, const uint32_t* mask, size_t count) {
  bool alphaChannel = HasAlphaChannel(colour, count);
  for (size_t i = 0; i < count; ++i) {
    uint32_t opacity = alphaChannel ? colour[i] >> kAlphaShift : (mask[i] ? 0 : kFull);
    uint32_t grey = opacity ? LightGrey(colour[i]) : 0;
    colour[i] = (opacity << kAlphaShift) | (grey << kRedShift) | (grey << kGreenShift) | grey;
  }
}
