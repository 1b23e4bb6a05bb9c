#include "gallery/rgb_image.h"

#include <algorithm>
#include <cmath>

namespace builder::gallery {

Rgb MapColour(const RgbImage& map, double longitude, double latitude) {
  // Pixel centres: column c covers longitudes -180 + 360 c / width onwards.
  double x = (longitude + 180.0) / 360.0 * map.width - 0.5;
  double y = (90.0 - latitude) / 180.0 * map.height - 0.5;
  y = std::clamp(y, 0.0, map.height - 1.0);
  x = std::fmod(x, static_cast<double>(map.width));
  if (x < 0) x += map.width;
  const int x0 = static_cast<int>(x) % map.width, x1 = (x0 + 1) % map.width;
  const int y0 = static_cast<int>(y), y1 = std::min(y0 + 1, map.height - 1);
  const double fx = x - std::floor(x), fy = y - y0;
  const Rgb a = map.At(x0, y0), b = map.At(x1, y0), c = map.At(x0, y1), d = map.At(x1, y1);
  const auto mix = [&](std::uint8_t pa, std::uint8_t pb, std::uint8_t pc, std::uint8_t pd) {
    const double top = pa + (pb - pa) * fx, bottom = pc + (pd - pc) * fx;
    return static_cast<std::uint8_t>(std::lround(top + (bottom - top) * fy));
  };
  return {mix(a.r, b.r, c.r, d.r), mix(a.g, b.g, c.g, d.g), mix(a.b, b.b, c.b, d.b)};
}

RgbImage MapPart(const RgbImage& map, double west, double east, double south, double north, int width, int height) {
  if (east <= west) east += 360.0;
  RgbImage part(width, height);
  for (int y = 0; y < height; ++y) {
    const double latitude = north - (y + 0.5) * (north - south) / height;
    for (int x = 0; x < width; ++x) part.Set(x, y, MapColour(map, west + (x + 0.5) * (east - west) / width, latitude));
  }
  return part;
}

RgbImage Resized(const RgbImage& image, int width, int height) {
  RgbImage out(width, height);
  for (int y = 0; y < height; ++y) {
    const int top = y * image.height / height, bottom = std::max(top + 1, (y + 1) * image.height / height);
    for (int x = 0; x < width; ++x) {
      const int left = x * image.width / width, right = std::max(left + 1, (x + 1) * image.width / width);
      unsigned sum[3] = {0, 0, 0}, count = 0;
      for (int v = top; v < bottom; ++v)
        for (int u = left; u < right; ++u) {
          const Rgb c = image.At(u, v);
          sum[0] += c.r;
          sum[1] += c.g;
          sum[2] += c.b;
          ++count;
        }
      out.Set(x, y,
              {static_cast<std::uint8_t>((sum[0] + count / 2) / count),
               static_cast<std::uint8_t>((sum[1] + count / 2) / count),
               static_cast<std::uint8_t>((sum[2] + count / 2) / count)});
    }
  }
  return out;
}

}  // namespace builder::gallery
