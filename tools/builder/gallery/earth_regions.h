// The continents and oceans of the Earth's map: which one a point of the map
// belongs to (by its colour, land or sea, and by where it lies), and what the
// gallery shows of each. The borders are drawn coarsely, by longitude and
// latitude; a coast decides between a continent and an ocean.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gallery/rgb_image.h"

namespace builder::gallery {

struct EarthRegion {
  std::uint8_t key;  // 1 and up: the byte of the region in a picture's mask
  std::string name;  // "Africa", "Pacific Ocean"
  bool ocean;
  std::vector<std::string> entries;  // titles of the dictionary entries it leads to
  // What its own picture shows: the map between these longitudes (west to
  // east, wrapping) and latitudes; a latitude past 60 degrees (north or
  // south) as the globe seen from above that pole instead.
  double west, east, south, north;
  std::string caption;
};

const std::vector<EarthRegion>& EarthRegions();

// Whether the map's colour at a point is sea: the day map's oceans are dark
// blue, its shallow seas blue-green, its land green, brown or white.
bool IsSeaColour(Rgb colour);

// The key of the region at a longitude and latitude (degrees) whose map
// colour is `colour`, or 0 for a lake or a sea no ocean holds.
std::uint8_t RegionAt(double longitude, double latitude, Rgb colour);

}  // namespace builder::gallery
