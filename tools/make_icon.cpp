// make_icon OUTPUT: draws the program's icon (a cracked egg) and writes it as an .ico file with
// 48, 32 and 16 pixel images of 256 colours each.
#include <math.h>
#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

// Palette indexes of the few colours the drawing uses; the rest of the 256 entries stay black.
enum Colour : uint8_t { kClear = 0, kOutline = 1, kShell = 2, kShade = 3, kCrack = 4, kYolk = 5 };
static const uint8_t kPalette[][3] = {  // red, green, blue
    {0, 0, 0}, {70, 45, 20}, {250, 240, 215}, {225, 205, 165}, {60, 35, 10}, {250, 190, 30}};

struct Image {
  int size;
  std::vector<uint8_t> pixels;  // top row first, one palette index each
};

// An egg: an ellipse a little wider at the bottom, with a zigzag crack and a glimpse of yolk.
static Image DrawEgg(int size) {
  Image image{size, std::vector<uint8_t>(size_t(size * size), kClear)};
  double cx = (size - 1) / 2.0, cy = size * 0.53, rx = size * 0.36, ry = size * 0.45;
  double edge = size >= 32 ? 1.6 : 1.0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double dy = (y - cy) / ry;
      double widen = dy > 0 ? 1.0 : 1.0 - 0.12 * (-dy);  // narrower top
      double dx = (x - cx) / (rx * widen);
      double r = sqrt(dx * dx + dy * dy);
      if (r > 1.0) continue;
      double inner = 1.0 - edge / (rx < ry ? rx : ry);
      uint8_t colour = r > inner ? kOutline : (dx > 0.35 && dy > 0.0 ? kShade : kShell);
      image.pixels[size_t(y * size + x)] = colour;
    }
  }
  // Zigzag crack across the upper third, with yolk showing just under it.
  int crackY = int(size * 0.38), step = size >= 32 ? size / 8 : 2;
  for (int x = int(cx - rx * 0.8); x <= int(cx + rx * 0.8); ++x) {
    int phase = (x / step) % 2 ? (x % step) : (step - x % step);
    int y = crackY + phase - step / 2;
    if (image.pixels[size_t(y * size + x)] == kClear) continue;
    image.pixels[size_t(y * size + x)] = kCrack;
    if (y + 1 < size && image.pixels[size_t((y + 1) * size + x)] != kOutline && size >= 32)
      image.pixels[size_t((y + 1) * size + x)] = kYolk;
  }
  return image;
}

static void Put16(std::string& out, uint32_t v) { out += char(v & 255); out += char((v >> 8) & 255); }
static void Put32(std::string& out, uint32_t v) { Put16(out, v & 0xFFFF); Put16(out, v >> 16); }

// One icon image: BITMAPINFOHEADER, palette, 8-bit colour rows and the 1-bit mask, bottom row first.
static std::string EncodeImage(const Image& image) {
  int n = image.size;
  int colourRow = (n + 3) & ~3, maskRow = ((n + 31) / 32) * 4;
  std::string out;
  Put32(out, 40); Put32(out, uint32_t(n)); Put32(out, uint32_t(2 * n));
  Put16(out, 1); Put16(out, 8); Put32(out, 0);
  Put32(out, uint32_t((colourRow + maskRow) * n)); Put32(out, 0); Put32(out, 0); Put32(out, 256); Put32(out, 0);
  for (int i = 0; i < 256; ++i) {
    const uint8_t* rgb = i < int(sizeof kPalette / sizeof kPalette[0]) ? kPalette[i] : kPalette[0];
    out += char(rgb[2]); out += char(rgb[1]); out += char(rgb[0]); out += char(0);
  }
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < colourRow; ++x) out += char(x < n ? image.pixels[size_t(y * n + x)] : 0);
  }
  for (int y = n - 1; y >= 0; --y) {
    std::string row(size_t(maskRow), '\0');
    for (int x = 0; x < n; ++x) {
      if (image.pixels[size_t(y * n + x)] == kClear) row[size_t(x / 8)] |= char(0x80 >> (x % 8));
    }
    out += row;
  }
  return out;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
    return 2;
  }
  const int sizes[] = {48, 32, 16};
  std::vector<std::string> images;
  for (int size : sizes) images.push_back(EncodeImage(DrawEgg(size)));
  std::string file;
  Put16(file, 0); Put16(file, 1); Put16(file, uint32_t(images.size()));
  uint32_t offset = 6 + 16 * uint32_t(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    file += char(sizes[i]); file += char(sizes[i]); file += char(0); file += char(0);
    Put16(file, 1); Put16(file, 8); Put32(file, uint32_t(images[i].size())); Put32(file, offset);
    offset += uint32_t(images[i].size());
  }
  for (const std::string& image : images) file += image;
  FILE* out = fopen(argv[1], "wb");
  if (!out || fwrite(file.data(), 1, file.size(), out) != file.size() || fclose(out) != 0) {
    fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
