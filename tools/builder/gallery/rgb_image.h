// Pictures as the gallery's builder works on them: red, green and blue bytes
// a pixel, rows from the top. The maps are equirectangular: x runs from
// longitude -180 to 180, y from latitude 90 down to -90.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace builder::gallery {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

struct RgbImage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // width x height x 3

  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 3) {}
  Rgb At(int x, int y) const {
    const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
  }
  void Set(int x, int y, Rgb c) {
    std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }
};

// The colour of a map at a longitude and latitude (degrees), bilinear, the
// longitude wrapping around and the latitude held to the poles.
Rgb MapColour(const RgbImage& map, double longitude, double latitude);

// The part of a map between two longitudes (west to east, wrapping past 180)
// and two latitudes, resampled to width x height pixels.
RgbImage MapPart(const RgbImage& map, double west, double east, double south, double north, int width, int height);

// A map resampled whole (box filter when it shrinks).
RgbImage Resized(const RgbImage& image, int width, int height);

// The pictures the gallery is made from: the Earth by day and by night and
// the Sun, each an equirectangular map.
struct GallerySources {
  RgbImage day, night, sun;
};

// Spoken words: 16-bit mono samples at `rate` a second.
struct Speech {
  unsigned rate = 0;
  std::vector<std::int16_t> samples;
};

// What the native builder reads its sources with (tools/builder/images): a
// JPEG reader and a speech engine. Either may be missing in a build for a
// target that has no such library.
struct MediaReaders {
  RgbImage (*readJpeg)(const std::string& path) = nullptr;
  Speech (*speak)(const std::string& text) = nullptr;
};

}  // namespace builder::gallery
