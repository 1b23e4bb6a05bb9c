// Packed picture records with regions: the record of a picture (see
// content/media_store_file.h) whose header names a region kind and the size of
// the whole record, followed, for kind 4, by a region mask of the pixel
// block's size and, for kinds 1-4, by a u16 hot-spot count and the hot-spot
// records of that kind (little-endian, no alignment):
//   1 u16 id, byte key, u16 left, top, right, bottom
//   2 u16 id, u16 n, n x (u16 x, u16 y), u16 left, top, right, bottom
//   3 u16 id, u16 label length, the label, u16 n, n x (u16 x, u16 y)
//   4 u16 id, byte key, u16 label length, the label
// The mask is stored like the pixel block: bottom-up rows at the same stride,
// delta-filtered for 256-colour pictures.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "content/media_store_file.h"

namespace builder {

struct HotSpotRecord {
  std::uint16_t id = 0;
  char key = 0;                                                 // kinds 1 and 4
  std::uint16_t left = 0, top = 0, right = 0, bottom = 0;       // kinds 1 and 2
  std::vector<std::pair<std::uint16_t, std::uint16_t>> points;  // kinds 2 and 3
  std::string label;                                            // kinds 3 and 4
};

struct PictureRegions {
  std::uint16_t kind = 0;            // 1-4
  std::vector<std::uint8_t> mask;    // kind 4: one byte a pixel, top row first
  std::vector<HotSpotRecord> spots;  // all of the kind's shape
};

// The unpacked record of a picture with its regions.
Bytes PictureRecordWithRegions(const Picture& picture, const PictureRegions& regions);

}  // namespace builder
