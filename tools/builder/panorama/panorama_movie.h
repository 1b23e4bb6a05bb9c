// Panorama and object movies: the movie atoms, track tables, the panorama
// sample of each node with its header, hot-spot, link, navigation and string
// tables, the image tracks of tiles in our run-length codec ("knrl"), and the
// NAVG user data of object movies. Written from the byte layouts in
// docs/formats.md ("Panorama movies").
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder::panorama {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
};

// 16.16 fixed-point degrees.
constexpr std::int32_t Degrees(double degrees) { return static_cast<std::int32_t>(degrees * 65536.0); }

struct HotSpot {
  std::int16_t id = 0;
  std::string type = "link";  // "link", "navg", "stil", "misc" ...
  std::int32_t target = 0;    // the pLnk or pNav entry it names
  std::int16_t rect[4] = {};  // left, top, right, bottom in the picture
  std::int32_t cursor = 0;    // cursor resource, 0 = the type's own
  std::string name;
};

struct Link {
  std::int16_t id = 0;
  std::int32_t destinationNode = 0;
  std::int32_t pan = 0, tilt = 0, zoom = 0;  // 16.16 degrees, zoom 0 = keep
};

struct Navigation {
  std::int16_t id = 0;
  std::int32_t view[3] = {};
  std::int16_t rect[4] = {};  // two picture points
};

struct Node {
  std::int32_t id = 1;
  std::string name;
  std::int32_t defaultPan = 0, defaultTilt = 0, defaultZoom = 0;
  std::int32_t panMin = 0, panMax = 0, tiltMin = 0, tiltMax = 0;  // 0, 0 = the picture's own
  std::vector<HotSpot> hotSpots;
  std::vector<Link> links;
  std::vector<Navigation> navigation;
  // The picture: x runs around (0 .. picture width - 1, one stored line
  // each), y down (0 .. picture height - 1).
  std::function<Rgb(int x, int y)> picture;
  // Hot-spot IDs over the same picture (only with a hot-spot track).
  std::function<std::uint8_t(int x, int y)> hotSpotPicture;
};

struct PanoramaMovie {
  std::string name = "Panorama";
  int viewWidth = 320, viewHeight = 240;  // the display rectangle
  int pictureWidth = 512, pictureHeight = 128;
  int tileWidth = 64;     // pixels down the picture per tile
  int linesPerTile = 64;  // lines around per tile
  std::int32_t panStart = 0, panEnd = Degrees(360);
  std::int32_t tiltTop = Degrees(25), tiltBottom = Degrees(-25);
  std::int32_t fieldOfViewMin = 0, fieldOfViewMax = 0;
  bool hotSpotTrack = false;
  // Image track IDs by resolution (0 = none); each names a track of the same tiles.
  std::vector<std::int32_t> resolutionTracks = {2};
  bool flagsWithoutEnabled = false;  // writes the tracks without tkhd flag 2 (for tests)
  std::vector<Node> nodes;
};

builder::Bytes BuildPanoramaMovie(const PanoramaMovie& movie);

struct ObjectMovie {
  int frameWidth = 64, frameHeight = 48;
  std::int16_t columns = 12, rows = 3, loopCount = 1, frameDuration = 60, dragMode = 2, loopSpeed = 0;
  std::int32_t fieldOfView = Degrees(180);
  std::int32_t panStart = 0, panEnd = Degrees(360), tiltStart = Degrees(-30), tiltEnd = Degrees(30);
  bool withNavigation = true;
  // frame index -> its colour
  std::function<Rgb(int frame, int x, int y)> frame;
};

builder::Bytes BuildObjectMovie(const ObjectMovie& movie);

// One image in our codec: rows of width pixels, 3 bytes (red, green, blue) or
// 1 byte (an index) each.
builder::Bytes EncodeRunLength(const std::vector<std::uint8_t>& pixels, int width, int height, int bytesPerPixel);

// The sample set: PANORAMA.MOV (two nodes with hot spots) and OBJECT.MOV.
void WriteSamplePanoramas(const std::string& directory);

}  // namespace builder::panorama
