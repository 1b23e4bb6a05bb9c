#include "gallery/palette_picture.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

namespace builder::gallery {
namespace {

constexpr int kColours = 256;

// Colours of 5 bits a channel, the key of the histogram.
int Key(int r, int g, int b) { return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3); }

struct Box {
  std::vector<int> keys;  // histogram keys inside the box
  long long pixels = 0;
};

int Channel(int key, int channel) { return (key >> (10 - 5 * channel)) & 31; }

// Splits the box at the median of its widest channel (by pixel count).
std::pair<Box, Box> Split(Box box, const std::vector<std::uint32_t>& histogram) {
  int widest = 0, widestRange = -1;
  for (int c = 0; c < 3; ++c) {
    int low = 31, high = 0;
    for (int key : box.keys) {
      low = std::min(low, Channel(key, c));
      high = std::max(high, Channel(key, c));
    }
    if (high - low > widestRange) {
      widestRange = high - low;
      widest = c;
    }
  }
  std::sort(box.keys.begin(), box.keys.end(), [&](int a, int b) { return Channel(a, widest) < Channel(b, widest); });
  long long seen = 0;
  std::size_t cut = 0;
  while (cut + 2 < box.keys.size() && (seen += histogram[box.keys[cut]]) * 2 < box.pixels) ++cut;
  Box first, second;
  first.keys.assign(box.keys.begin(), box.keys.begin() + static_cast<std::ptrdiff_t>(cut + 1));
  second.keys.assign(box.keys.begin() + static_cast<std::ptrdiff_t>(cut + 1), box.keys.end());
  for (int key : first.keys) first.pixels += histogram[key];
  second.pixels = box.pixels - first.pixels;
  return {std::move(first), std::move(second)};
}

std::vector<Rgb> MedianCut(const RgbImage& image) {
  std::vector<std::uint32_t> histogram(1 << 15, 0);
  std::vector<std::array<unsigned long long, 3>> sums(1 << 15, {0, 0, 0});
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const Rgb c = image.At(x, y);
      const int key = Key(c.r, c.g, c.b);
      ++histogram[key];
      sums[key][0] += c.r;
      sums[key][1] += c.g;
      sums[key][2] += c.b;
    }
  std::vector<Box> boxes(1);
  for (int key = 0; key < (1 << 15); ++key)
    if (histogram[key] != 0) {
      boxes[0].keys.push_back(key);
      boxes[0].pixels += histogram[key];
    }
  // Split the box that holds the most pixels, as long as it can be split.
  while (static_cast<int>(boxes.size()) < kColours) {
    std::size_t largest = boxes.size();
    for (std::size_t i = 0; i < boxes.size(); ++i)
      if (boxes[i].keys.size() > 1 && (largest == boxes.size() || boxes[i].pixels > boxes[largest].pixels)) largest = i;
    if (largest == boxes.size()) break;
    auto [first, second] = Split(std::move(boxes[largest]), histogram);
    boxes[largest] = std::move(first);
    boxes.push_back(std::move(second));
  }
  std::vector<Rgb> palette;
  for (const Box& box : boxes) {
    unsigned long long s[3] = {0, 0, 0};
    for (int key : box.keys)
      for (int c = 0; c < 3; ++c) s[c] += sums[key][c];
    const auto mean = [&](int c) { return static_cast<std::uint8_t>((s[c] + box.pixels / 2) / box.pixels); };
    palette.push_back({mean(0), mean(1), mean(2)});
  }
  palette.resize(kColours);
  return palette;
}

int Nearest(const std::vector<Rgb>& palette, int r, int g, int b) {
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
    const long dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
    const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

}  // namespace

Picture PalettePicture(const RgbImage& image, std::uint8_t type, const std::string& caption) {
  if (image.width < 1 || image.height < 1 || image.width > 0xFFFF || image.height > 0xFFFF)
    throw std::runtime_error("gallery: a picture must be 1 to 65535 pixels a side");
  const std::vector<Rgb> palette = MedianCut(image);
  // The nearest palette colour of each 5-bit colour, found once.
  std::vector<std::int16_t> nearest(1 << 15, -1);
  Picture picture;
  picture.type = type;
  picture.width = static_cast<std::uint16_t>(image.width);
  picture.height = static_cast<std::uint16_t>(image.height);
  picture.bitsPerPixel = 8;
  picture.caption = caption;
  for (const Rgb& c : palette) picture.colours.push_back(std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b);
  picture.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  // Floyd-Steinberg over two rows of errors (in sixteenths).
  std::vector<std::array<int, 3>> current(image.width + 2, {0, 0, 0}), next(image.width + 2, {0, 0, 0});
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb c = image.At(x, y);
      int want[3] = {c.r + current[x + 1][0] / 16, c.g + current[x + 1][1] / 16, c.b + current[x + 1][2] / 16};
      for (int& v : want) v = std::clamp(v, 0, 255);
      const int key = Key(want[0], want[1], want[2]);
      if (nearest[key] < 0)
        nearest[key] = static_cast<std::int16_t>(Nearest(palette, want[0] | 4, want[1] | 4, want[2] | 4));
      const int index = nearest[key];
      picture.pixels[static_cast<std::size_t>(y) * image.width + x] = static_cast<std::uint8_t>(index);
      const int error[3] = {want[0] - palette[index].r, want[1] - palette[index].g, want[2] - palette[index].b};
      for (int k = 0; k < 3; ++k) {
        current[x + 2][k] += error[k] * 7;
        next[x][k] += error[k] * 3;
        next[x + 1][k] += error[k] * 5;
        next[x + 2][k] += error[k];
      }
    }
    std::swap(current, next);
    std::fill(next.begin(), next.end(), std::array<int, 3>{0, 0, 0});
  }
  return picture;
}

Rgb PictureColour(const Picture& picture, int x, int y) {
  const std::uint32_t c = picture.colours[picture.pixels[static_cast<std::size_t>(y) * picture.width + x]];
  return {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)};
}

}  // namespace builder::gallery
