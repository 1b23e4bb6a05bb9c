// Tests of the panorama components run against the stand-in media host's
// portable core: the plug-in's host tables point at it, movies are built by
// the content builder into a scratch directory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"
#include "kn_host.h"
#include "pano_host.h"
#include "panorama/panorama_movie.h"
#include "temp_dir.h"

namespace panotest {

namespace bp = builder::panorama;

class PanoHostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the bytes as a movie file and opens it as a host movie.
  std::intptr_t OpenMovie(const builder::Bytes& bytes, const std::string& name = "test.mov");
  std::string WriteFile(const builder::Bytes& bytes, const std::string& name);

  TempDir dir_;
  int blocksAtStart_ = 0;
};

// A small full-circle panorama: 512 lines around, 128 pixels down, 64 x 64
// tiles. The colour of line x is (x, y, node * 50) so a pixel tells where it came from.
bp::PanoramaMovie SmallPanorama(int nodes = 1);
bp::Rgb PictureColour(int node, int x, int y);
// An object movie of columns x rows views, each frame width x height pixels.
bp::ObjectMovie ObjectGrid(std::int16_t columns, std::int16_t rows, int width, int height);

// Replaces the first atom header of a type found in the bytes (its size field
// stays); returns the offset of the atom, or -1.
long FindAtom(const builder::Bytes& bytes, const char* type, long from = 0);

// An image description as an image track's "stsd" stores it: codec, size,
// depth, and the colour table id at 84, or a stored table in its place.
builder::Bytes Description(const char* codec, int width, int height, int depth, std::int16_t colorTable,
                           const builder::Bytes& storedTable = {});
// A colour table as stored: id, seed, flags, count - 1, entries.
builder::Bytes ColourTable(std::int16_t id, const std::vector<bp::Rgb>& colours, bool inOrder);

// KNW.INI values for the tests ([section] key = value).
void SetProfile(const std::string& section, const std::string& key, int value);
void ClearProfile();

}  // namespace panotest
