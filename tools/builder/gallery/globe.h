// The globe drawn from an equirectangular map: a sphere seen from far away
// (orthographic), turned to a longitude and tipped to a latitude, lit from
// one side, on a black sky.
#pragma once

#include "gallery/rgb_image.h"

namespace builder::gallery {

struct GlobeView {
  double longitude = 0;  // of the point at the disc's centre
  double latitude = 0;
  int size = 192;  // the picture is size x size, the disc fills it less a margin
  int margin = 4;
  // Sunlight from this longitude and latitude (on the globe); the dark side
  // shows the night map where one is given, else the day map darkened.
  double sunLongitude = 0, sunLatitude = 0;
  bool lit = true;
  // Limb darkening instead of sunlight (for the Sun, which shines itself).
  bool limbDarkening = false;
};

RgbImage DrawGlobe(const RgbImage& day, const RgbImage* night, const GlobeView& view);

}  // namespace builder::gallery
