// The reference library's gallery, made from three equirectangular maps (the
// Earth by day and by night, the Sun) and a narration: the Earth's maps with
// hot spots on its continents and oceans, a picture of each of those, the
// Sun, a panorama of the world around the viewer (day and night, hot spots
// leading from one to the other), a globe to turn (an object movie), a movie
// of the Earth turning through a day (also the home screen's intro) and the
// narration with a picture of what it tells. Each item leads to the library's
// entries of its subject.
#pragma once

#include <cstdint>
#include <string>

#include "content/gallery_plan.h"
#include "gallery/rgb_image.h"

namespace builder::gallery {

struct GalleryFigures {
  std::uint32_t items = 0;     // listed items
  std::uint32_t pictures = 0;  // of them pictures
  std::uint32_t hotSpots = 0;  // on the pictures
  std::uint32_t panoramaNodes = 0, panoramaHotSpots = 0;
  std::uint32_t objectFrames = 0, movieFrames = 0;
  std::uint32_t soundMilliseconds = 0;
  std::uint64_t pictureBytes = 0, movieBytes = 0;  // pixels of the pictures; sizes of the movie and sound files
};

// Sizes the gallery's media are made at; the tests make smaller ones.
struct GallerySizes {
  int mapWidth = 620, mapHeight = 310;    // the whole maps, which the gallery's picture window shows whole
  int partWidth = 600, partHeight = 320;  // the largest picture of a continent or an ocean
  int panoramaWidth = 2048;               // pixels around; the height follows (square pixels)
  int panoramaViewWidth = 560, panoramaViewHeight = 300;
  int objectSize = 200, objectColumns = 24, objectRows = 3;
  int movieSize = 240, movieFrames = 48;
  int sunSize = 300;
};

// The narration of the sound item.
const std::string& NarrationText();

// Throws std::runtime_error when a source is unusable (not 2:1, too small).
GalleryPlan BuildEarthGallery(const GallerySources& sources, const Speech& narration, const GallerySizes& sizes,
                              GalleryFigures* figures);

}  // namespace builder::gallery
