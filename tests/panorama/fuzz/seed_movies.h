// The builder-made movies the panorama fuzzers start from: small panoramas
// (one to three nodes, hot spots, links and navigation views) and an object
// movie with looping viewpoints.
#pragma once

#include "common/byte_writer.h"

namespace panoseeds {

constexpr int kPanoramaVariants = 3;

// Variant 0: one node whose narrow first view puts its navigation points
// past what an int holds in the window; 1: two nodes and a hot-spot track;
// 2: three nodes.
builder::Bytes SeedPanorama(int variant);
// A full turn of 12 columns and 3 rows, each viewpoint a loop of 4 frames.
builder::Bytes SeedObjectMovie();

}  // namespace panoseeds
