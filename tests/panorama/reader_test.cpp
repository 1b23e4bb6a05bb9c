// The movie reader: the file's atoms, the panorama track's tables, the
// choice of image tracks, node samples and the table of open file objects.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "movie_reader.h"
#include "node_view.h"
#include "pano_fixture.h"
#include "pano_types.h"

namespace panotest {
namespace {

using namespace pano;

class ReaderTest : public PanoHostTest {
 protected:
  std::int32_t Read(const builder::Bytes& bytes, MovieFile** file) {
    const std::string path = WriteFile(bytes, "read.mov");
    const std::intptr_t handle = System().openFile(path.c_str());
    const std::int32_t result = MovieFileRead(handle, kModeDib, 32, file);
    if (result != kOk) System().closeFile(handle);
    return result;
  }
};

// Tiles decode into the canvas the warp engine reads, so the reader's pixels
// are the frames' pixels for every screen: a palette screen reads 5-5-5, the
// direct screens their own layout, and device-independent output 5-5-5 on a
// 16-bit screen and 24-bit blue-green-red on any other (8 or 32 bits).
TEST(ReaderMode, TilesDecodeInTheLayoutOfTheFrames) {
  struct Case {
    std::int32_t screenMode, depth, readerMode;
    int frameFormat;
  };
  for (const Case& c : {Case{kModePalette, 8, kMode555, kFormat555}, Case{kMode555, 16, kMode555, kFormat555},
                        Case{kMode565, 16, kMode565, kFormat565}, Case{kModeRgb24, 24, kModeRgb24, kFormat24},
                        Case{kModeBgr24, 24, kModeBgr24, kFormat24}, Case{kModeDib, 16, kMode555, kFormat555},
                        Case{kModeDib, 24, kModeBgr24, kFormat24}, Case{kModeDib, 32, kModeBgr24, kFormat24},
                        Case{kModeDib, 8, kModeBgr24, kFormat24}}) {
    EXPECT_EQ(ReaderModeForScreen(c.screenMode, c.depth), c.readerMode) << c.screenMode << "/" << c.depth;
    EXPECT_EQ(FrameFormatForMode(c.screenMode, c.depth), c.frameFormat) << c.screenMode << "/" << c.depth;
  }
}

// 16.16 sizes rounded to whole units, and doubles made 16.16 values: the
// ends of the 32-bit range round without overflow, and what lies beyond it
// is held at its ends.
TEST(FixedPoint, TheEndsOfTheRangeRoundWithoutOverflow) {
  EXPECT_EQ(RoundFixed(0x7FFFFFFF), 32768);
  EXPECT_EQ(RoundFixed(0x7FFF7FFF), 32767);
  EXPECT_EQ(RoundFixed(0x8000), 1);
  EXPECT_EQ(RoundFixed(0x7FFF), 0);
  EXPECT_EQ(RoundFixed(-0x8000), 0);
  EXPECT_EQ(RoundFixed(-0x8001), -1);
  EXPECT_EQ(RoundFixed(INT32_MIN), -32768);
  ImageTrackReader reader{};
  reader.width = INT32_MAX;
  reader.height = INT32_MIN;
  std::int32_t width = 0, height = 0;
  ImageTrackPictureSize(&reader, &width, &height);
  EXPECT_EQ(width, 32768);
  EXPECT_EQ(height, -32768);

  EXPECT_EQ(ScaledToFixed(1.5), 2);
  EXPECT_EQ(ScaledToFixed(-1.5), -2);
  EXPECT_EQ(ScaledToFixed(2147483647.4), INT32_MAX);
  EXPECT_EQ(ScaledToFixed(2147483647.6), INT32_MAX);
  EXPECT_EQ(ScaledToFixed(4e9), INT32_MAX);
  EXPECT_EQ(ScaledToFixed(-2147483648.4), INT32_MIN);
  EXPECT_EQ(ScaledToFixed(-3e9), INT32_MIN);
  EXPECT_EQ(ScaledToFixed(std::nan("")), 0);
  EXPECT_EQ(RadToFixed(FixedToRad(123456789)), 123456789);
  EXPECT_EQ(RadToFixed(FixedToRad(INT32_MIN)), INT32_MIN);
  EXPECT_EQ(RadToFixed(1e4), INT32_MAX);  // 573,000 degrees
}

// An atom: size (header included), type, contents.
builder::Bytes Atom(const char* type, std::initializer_list<builder::Bytes> parts) {
  builder::ByteWriter w;
  std::size_t size = 8;
  for (const builder::Bytes& part : parts) size += part.size();
  w.U32be(static_cast<std::uint32_t>(size));
  w.Append(std::string_view(type, 4));
  for (const builder::Bytes& part : parts) w.Append(part);
  return w.take();
}

// The sizes of the movie written by hand: the panorama track's width and
// height (16.16, the display rectangle), and the picture's lines around and
// pixels down (tiles of 2 x 2).
struct HandSizes {
  std::uint32_t displayWidth = 64 << 16, displayHeight = 48 << 16;
  std::uint32_t pictureWidth = 4, pictureHeight = 2;
};

// A movie written field by field from the layout, not by the content
// builder: a panorama track of one node (a header, one "link" hot spot and
// its name in "strT") and an image track of two 2 x 2 tiles.
builder::Bytes HandWrittenMovie(const HandSizes& sizes = {}) {
  using W = builder::ByteWriter;
  const auto trackHeader = [](std::uint32_t id, std::uint32_t width, std::uint32_t height) {
    W w;
    w.U32be(3);       // +8 version 0, flags 3 (2: in the movie)
    w.Zeros(8);       // +12 created, modified
    w.U32be(id);      // +20 track ID
    w.Zeros(60);      // +24 .. +83
    w.U32be(width);   // +84 width (16.16)
    w.U32be(height);  // +88 height
    return Atom("tkhd", {w.take()});
  };
  const auto mediaHeader = [] {
    W w;
    w.Zeros(12);   // +8 version and flags, created, modified
    w.U32be(600);  // +20 time scale
    w.U32be(0);    // +24 duration
    w.U16be(0);    // +28, +30 kept
    w.U16be(0);
    return Atom("mdhd", {w.take()});
  };
  const auto handler = [](const char* subtype) {
    W w;
    w.U32be(0);         // +8 version and flags
    w.Append("mhlr");   // +12 component type
    w.Append(subtype);  // +16 subtype
    w.Zeros(12);        // +20 manufacturer, flags, mask
    return Atom("hdlr", {w.take()});
  };
  const auto sampleTables = [](const builder::Bytes& description, std::vector<std::uint32_t> offsets,
                               std::vector<std::uint32_t> sizes) {
    W stsd, stsc, stco, stsz;
    stsd.U32be(0);  // +8 version and flags
    stsd.U32be(1);  // +12 entry count, entries from +16
    stsd.Append(description);
    stsc.U32be(0);
    stsc.U32be(1);  // +12 one run: from chunk 1, one sample a chunk, description 1
    stsc.U32be(1);
    stsc.U32be(1);
    stsc.U32be(1);
    stco.U32be(0);
    stco.U32be(static_cast<std::uint32_t>(offsets.size()));  // +12 chunk count, offsets from +16
    for (std::uint32_t offset : offsets) stco.U32be(offset);
    stsz.U32be(0);
    stsz.U32be(0);                                         // +12 sample size 0: sizes in the table
    stsz.U32be(static_cast<std::uint32_t>(sizes.size()));  // +16 sample count, sizes from +20
    for (std::uint32_t size : sizes) stsz.U32be(size);
    return Atom("stbl", {Atom("stsd", {stsd.take()}), Atom("stsc", {stsc.take()}), Atom("stco", {stco.take()}),
                         Atom("stsz", {stsz.take()})});
  };

  // The node's sample: pHdr, pHot with one entry, strT.
  W header;
  header.U32be(7);   // +8 node ID
  header.Zeros(48);  // +12 .. +59: default angles, limits (0: the picture's own), name offset
  header.U32be(0);   // +60
  W hot;
  hot.U16be(0);        // +8 not read
  hot.U16be(1);        // +10 entry count, entries from +12
  hot.U16be(5);        // entry +0 hot-spot ID
  hot.U16be(0);        // +2
  hot.Append("link");  // +4 type
  hot.U32be(9);        // +8 target (a pLnk ID)
  hot.Zeros(12);       // +12 three words
  hot.U16be(1);        // +24 rectangle: top, left, bottom, right
  hot.U16be(2);
  hot.U16be(3);
  hot.U16be(4);
  hot.U32be(0);        // +32
  hot.U32be(483);      // +36 cursor resource
  hot.U32be(0);        // +40
  hot.Append("    ");  // +44
  hot.U32be(8);        // +48 name offset in strT (from the atom's start)
  hot.U32be(0);        // +52
  W strings;
  strings.U8(4);  // at +8: length, characters
  strings.Append("Gate");
  const builder::Bytes node = [&] {
    W w;
    w.Append(Atom("pHdr", {header.take()}));
    w.Append(Atom("pHot", {hot.take()}));
    w.Append(Atom("strT", {strings.take()}));
    return w.take();
  }();
  // Two tiles of our run-length codec, 2 pixels down a line, 2 lines each: per
  // line one packet copying 2 literal pixels (red, green, blue).
  const builder::Bytes tile = {1, 10, 20, 30, 40, 50, 60, 1, 70, 80, 90, 100, 110, 120};

  // mdat first: the node at 8, the tiles after it.
  const std::uint32_t nodeAt = 8, tileAt = nodeAt + static_cast<std::uint32_t>(node.size());
  const std::uint32_t tileSize = static_cast<std::uint32_t>(tile.size());

  W description;                                               // the 152-byte panorama description
  description.U32be(152);                                      // +0 entry size
  description.Append("pano");                                  // +4 format
  description.Zeros(12);                                       // +8 not read, +14 kept
  description.U32be(2);                                        // +20 image track of resolution 0
  description.Zeros(28);                                       // +24 resolutions 1 to 7: none
  description.U32be(0);                                        // +52 no hot-spot track
  description.Zeros(32);                                       // +56 .. +87 kept
  description.Zeros(4);                                        // +88 not converted
  description.U32be(0);                                        // +92 pan start 0
  description.U32be(360u << 16);                               // +96 pan end 360
  description.U32be(10u << 16);                                // +100 tilt top 10
  description.U32be(static_cast<std::uint32_t>(-(10 << 16)));  // +104 tilt bottom -10
  description.U32be(0);                                        // +108, +112 field-of-view limits: none
  description.U32be(0);
  description.U32be(sizes.pictureWidth);   // +116 picture width: 4 lines around
  description.U32be(sizes.pictureHeight);  // +120 picture height: 2 pixels
  description.Zeros(12);                   // +124 kept, +128 kept
  description.U32be(0);                    // +136, +140 hot-spot picture
  description.U32be(0);
  description.U16be(0);  // +144 kept
  description.U16be(2);  // +146 tile rows around
  description.U16be(1);  // +148 tiles per row
  description.U16be(0);  // +150
  W info;
  info.U8(5);  // +8 name: length byte and 31 characters
  info.Append("Court");
  info.Zeros(26);
  info.U32be(0);  // +40, +44 kept
  info.U32be(0);
  info.Zeros(6);  // +48 not read
  info.U16be(1);  // +54 node count, entries from +56
  info.U32be(7);  // node ID
  info.U32be(0);  // kept
  const builder::Bytes panoTrack = Atom(
      "trak",
      {trackHeader(1, sizes.displayWidth, sizes.displayHeight),
       Atom("mdia",
            {mediaHeader(), handler("STpn"),
             Atom("minf", {Atom("gmhd", {Atom("STpn", {Atom("pInf", {info.take()})})}),
                           sampleTables(description.take(), {nodeAt}, {static_cast<std::uint32_t>(node.size())})})})});

  W image;                 // the 86-byte image description of the tiles
  image.U32be(86);         // +0 size
  image.Append("knrl");    // +4 codec
  image.Zeros(24);         // +8 .. +31
  image.U16be(2);          // +32 width: pixels down a line
  image.U16be(2);          // +34 height: lines per tile
  image.U32be(72u << 16);  // +36, +40 resolution
  image.U32be(72u << 16);
  image.Zeros(6);  // +44 .. +49
  image.U8(4);     // +50 name
  image.Append("Tile");
  image.Zeros(27);      // to +82
  image.U16be(24);      // +82 depth
  image.U16be(0xFFFF);  // +84 colour table -1
  const builder::Bytes imageTrack = Atom(
      "trak",
      {trackHeader(2, 64 << 16, 48 << 16),
       Atom("mdia", {mediaHeader(), handler("vide"),
                     Atom("minf", {sampleTables(image.take(), {tileAt, tileAt + tileSize}, {tileSize, tileSize})})})});
  W file;
  file.Append(Atom("mdat", {node, tile, tile}));
  file.Append(Atom("moov", {panoTrack, imageTrack}));
  return file.take();
}

TEST_F(ReaderTest, AMovieWrittenByHandFromTheLayout) {
  MovieFile* file = nullptr;
  ASSERT_EQ(Read(HandWrittenMovie(), &file), kOk);
  ASSERT_TRUE(MovieFileAdopt(file, 0));
  EXPECT_STREQ(file->pano->name, "Court");
  EXPECT_EQ(file->pano->nodeCount, 1);
  EXPECT_EQ(file->pano->timeScale, 600);
  EXPECT_EQ(MovieFileNodeId(file, 0), 7);
  kn::KnRect rect{};
  ASSERT_TRUE(MovieFileGetDisplayRect(file, &rect));
  EXPECT_EQ(rect.right, 64);
  EXPECT_EQ(rect.bottom, 48);
  const PanoDescription* d = MovieFileDescription(file);
  EXPECT_EQ(d->imageTracks[0], 2);
  EXPECT_EQ(d->panEnd, 360 << 16);
  EXPECT_EQ(d->tiltBottom, -(10 << 16));
  EXPECT_EQ(d->pictureWidth, 4);
  EXPECT_EQ(d->pictureHeight, 2);
  EXPECT_EQ(d->grid[1], 2);
  EXPECT_EQ(d->grid[2], 1);
  ImageTrackReader* image = MovieFileImageReader(file);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->samples.count, 2);
  EXPECT_EQ(image->decompressors[0]->description.width, 2);
  EXPECT_EQ(image->decompressors[0]->description.depth, 24);

  DecodedNode node;
  ASSERT_EQ(MovieFileGetNode(file, 1, &node), kOk);
  EXPECT_EQ(node.header.words[kHdrNodeId], 7);
  ASSERT_EQ(node.hotSpots.count, 1);
  // The entries stay in the sample as stored (big-endian), read field by field.
  const std::uint8_t* entry = node.hotSpots.first;
  const auto be32 = [](const std::uint8_t* p) { return p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]; };
  EXPECT_EQ(entry[0] << 8 | entry[1], 5);
  EXPECT_EQ(std::memcmp(entry + 4, "link", 4), 0);
  EXPECT_EQ(be32(entry + 8), 9);
  EXPECT_EQ(be32(entry + 36), 483);
  const std::int32_t nameOffset = be32(entry + 48);
  char name[32] = {};
  NodeString(node, nameOffset, name, sizeof name);
  EXPECT_STREQ(name, "Gate");
  EXPECT_EQ(MovieFileClose(file), kOk);
}

// The display rectangle is the panorama track's size rounded: a size that
// rounds to no pixel, or past the 16 bits the node view keeps it in, fails
// the track's tables. Its largest value once overflowed the rounding.
TEST_F(ReaderTest, DisplaySizesRoundToOneTo32767Pixels) {
  struct Case {
    std::uint32_t width, height;
    std::int32_t result;
    int right = 0, bottom = 0;
  };
  for (const Case& c : {Case{0x7FFF7FFF, 0x7FFF7FFF, kOk, 32767, 32767},  // just below 32767.5 each way
                        Case{0x8000, 0x8000, kOk, 1, 1},                  // 0.5 is a pixel
                        Case{64 << 16, 0x7FFFFFFF, kErrMakeTable},        // the largest 16.16 value
                        Case{0x7FFFFFFF, 48 << 16, kErrMakeTable},
                        Case{0x7FFF8000, 48 << 16, kErrMakeTable},  // 32767.5 rounds to 32768
                        Case{64 << 16, 0x7FFF, kErrMakeTable},      // just below 0.5: no pixel
                        Case{0x80000000, 48 << 16, kErrMakeTable},  // negative
                        Case{64 << 16, 0xFFFF0000, kErrMakeTable}}) {
    HandSizes sizes;
    sizes.displayWidth = c.width;
    sizes.displayHeight = c.height;
    MovieFile* file = nullptr;
    ASSERT_EQ(Read(HandWrittenMovie(sizes), &file), c.result) << std::hex << c.width << " x " << c.height;
    if (file == nullptr) continue;
    EXPECT_EQ(file->display.right, c.right);
    EXPECT_EQ(file->display.bottom, c.bottom);
    MovieFileDiscard(file);
  }
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

// The picture's size over the tile size must give one to 192 tiles (a node's
// most); a picture that makes no grid is refused when the movie is read.
TEST_F(ReaderTest, PicturesOfOneTo192TilesOpen) {
  struct Case {
    std::uint32_t width, height;
    std::int32_t result;
  };
  for (const Case& c :
       {Case{2, 2, kOk}, Case{2 * 192, 2, kOk}, Case{2 * 96, 2 * 2, kOk}, Case{2 * 193, 2, kErrMakeTable},
        Case{2 * 97, 2 * 2, kErrMakeTable}, Case{1, 2, kErrMakeTable}, Case{2, 0, kErrMakeTable},
        Case{0x80000000, 2, kErrMakeTable}, Case{0x7FFFFFFF, 0x7FFFFFFF, kErrMakeTable}}) {
    HandSizes sizes;
    sizes.pictureWidth = c.width;
    sizes.pictureHeight = c.height;
    MovieFile* file = nullptr;
    EXPECT_EQ(Read(HandWrittenMovie(sizes), &file), c.result) << c.width << " x " << c.height;
    if (file != nullptr) MovieFileDiscard(file);
  }
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

// With a hot-spot track, the description's own tile grid (+146 tile rows,
// +148 tiles per row) places the hot-spot tiles: beyond a node's 192 tiles,
// or empty, it is refused.
TEST_F(ReaderTest, AHotSpotGridBeyondANodesTilesIsRefused) {
  bp::PanoramaMovie movie = SmallPanorama(3);
  movie.hotSpotTrack = true;
  const builder::Bytes built = bp::BuildPanoramaMovie(movie);
  const auto grid = static_cast<std::size_t>(FindAtom(built, "stsd")) + 16 + 146;
  struct Case {
    std::uint8_t rows, perRow;
    std::int32_t result;
  };
  for (const Case& c : {Case{8, 24, kOk}, Case{1, 1, kOk}, Case{8, 25, kErrMakeTable}, Case{0, 2, kErrMakeTable},
                        Case{0xFF, 2, kErrMakeTable}}) {
    builder::Bytes bytes = built;
    bytes[grid] = c.rows == 0xFF ? 0x7F : 0;
    bytes[grid + 1] = c.rows;
    bytes[grid + 2] = 0;
    bytes[grid + 3] = c.perRow;
    MovieFile* file = nullptr;
    EXPECT_EQ(Read(bytes, &file), c.result) << int{c.rows} << " x " << int{c.perRow};
    if (file != nullptr) MovieFileDiscard(file);
  }
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

TEST_F(ReaderTest, ShortFilesBadAtomsAndMissingPartsFail) {
  MovieFile* file = nullptr;
  EXPECT_EQ(Read(builder::Bytes(7, 0), &file), kErrMissing);
  builder::Bytes badSize = {0, 0, 0, 4, 'm', 'o', 'o', 'v', 0, 0, 0, 0};
  EXPECT_EQ(Read(badSize, &file), kErrAtomWalk);
  builder::Bytes noMovie = {0, 0, 0, 8, 'f', 'r', 'e', 'e'};
  EXPECT_EQ(Read(noMovie, &file), kErrAtomWalk);
  bp::PanoramaMovie disabled = SmallPanorama();
  disabled.flagsWithoutEnabled = true;  // every track lacks flag 2: none is kept
  EXPECT_EQ(Read(bp::BuildPanoramaMovie(disabled), &file), kErrMissing);
  builder::Bytes missingTrack = bp::BuildPanoramaMovie(SmallPanorama());
  const long stsd = FindAtom(missingTrack, "stsd");
  missingTrack[static_cast<std::size_t>(stsd) + 16 + 55] = 7;  // a hot-spot track that is not there
  EXPECT_EQ(Read(missingTrack, &file), kErrMissing);
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

TEST_F(ReaderTest, ReadsTheDescriptionNameNodesAndDisplayRectangle) {
  bp::PanoramaMovie movie = SmallPanorama(3);
  movie.name = "Courtyard";
  MovieFile* file = nullptr;
  ASSERT_EQ(Read(bp::BuildPanoramaMovie(movie), &file), kOk);
  ASSERT_TRUE(MovieFileAdopt(file, 0));
  EXPECT_STREQ(file->pano->name, "Courtyard");
  EXPECT_EQ(file->pano->nodeCount, 3);
  kn::KnRect rect{};
  ASSERT_TRUE(MovieFileGetDisplayRect(file, &rect));
  EXPECT_EQ(rect.right, 64);
  EXPECT_EQ(rect.bottom, 48);
  EXPECT_FALSE(MovieFileSetDisplayRect(file, kn::KnRect{10, 0, 5, 10}));
  const PanoDescription* d = MovieFileDescription(file);
  EXPECT_EQ(d->pictureWidth, 512);
  EXPECT_EQ(d->grid[1], 8);
  EXPECT_EQ(d->grid[2], 2);
  // Node IDs 100, 101, 102: the first ID at least the one sought.
  EXPECT_EQ(MovieFileNodeIndex(file, 101), 2);
  EXPECT_EQ(MovieFileNodeIndex(file, 50), 1);
  EXPECT_EQ(MovieFileNodeIndex(file, 500), 1);
  EXPECT_EQ(MovieFileNodeId(file, 0), 100);
  DecodedNode node;
  ASSERT_EQ(MovieFileGetNode(file, 3, &node), kOk);
  EXPECT_EQ(node.header.words[kHdrNodeId], 102);
  EXPECT_EQ(MovieFileGetNode(file, 4, &node), kErrNodeInfo);
  EXPECT_EQ(MovieFileClose(file), kOk);
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

TEST_F(ReaderTest, ResolutionStepsDownToATrackThatExists) {
  bp::PanoramaMovie movie = SmallPanorama();
  movie.resolutionTracks = {5, 6, 0, 0};
  SetProfile("VR", "Resolution", 3);
  MovieFile* file = nullptr;
  ASSERT_EQ(Read(bp::BuildPanoramaMovie(movie), &file), kOk);
  EXPECT_EQ(file->pano->resolution, 1);
  MovieFileDiscard(file);
}

TEST_F(ReaderTest, LongNamesAndOversizedCountsReadOnlyWhatIsThere) {
  bp::PanoramaMovie movie = SmallPanorama(2);
  movie.name = std::string(40, 'x');
  builder::Bytes bytes = bp::BuildPanoramaMovie(movie);
  const long info = FindAtom(bytes, "pInf");
  ASSERT_GT(info, 0);
  bytes[static_cast<std::size_t>(info) + 8] = 200;    // name length
  bytes[static_cast<std::size_t>(info) + 54] = 0x7F;  // node count far beyond the atom
  const long hot = FindAtom(bytes, "pHot");
  bytes[static_cast<std::size_t>(hot) + 10] = 0x40;  // 16384+ hot spots in an empty table
  MovieFile* file = nullptr;
  ASSERT_EQ(Read(bytes, &file), kOk);
  ASSERT_TRUE(MovieFileAdopt(file, 0));
  EXPECT_EQ(std::strlen(file->pano->name), 31u);
  EXPECT_EQ(file->pano->nodeCount, 2);
  DecodedNode node;
  ASSERT_EQ(MovieFileGetNode(file, 1, &node), kOk);
  EXPECT_EQ(node.hotSpots.count, 0);
  MovieFileClose(file);
}

TEST_F(ReaderTest, SampleTablesMustFitTheirAtomsAndCoverTheSamples) {
  MovieFile* file = nullptr;
  builder::Bytes chunks = bp::BuildPanoramaMovie(SmallPanorama());
  const long stco = FindAtom(chunks, "stco");
  chunks[static_cast<std::size_t>(stco) + 14] = 0x10;  // a chunk count far beyond the atom
  EXPECT_EQ(Read(chunks, &file), kErrMakeTable);
  builder::Bytes sizes = bp::BuildPanoramaMovie(SmallPanorama());
  const long stsz = FindAtom(sizes, "stsz");
  sizes[static_cast<std::size_t>(stsz) + 18] = 0x10;  // more samples than sizes
  EXPECT_EQ(Read(sizes, &file), kErrMakeTable);
  builder::Bytes runs = bp::BuildPanoramaMovie(SmallPanorama());
  const long stsc = FindAtom(runs, "stsc");
  runs[static_cast<std::size_t>(stsc) + 23] = 0;  // no samples per chunk: nothing covers the samples
  EXPECT_EQ(Read(runs, &file), kErrMakeTable);
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

TEST_F(ReaderTest, ASampleTooLargeForAnyBufferFailsTheTrack) {
  MovieFile* file = nullptr;
  builder::Bytes movie = bp::BuildPanoramaMovie(SmallPanorama());
  // Every track's last sample 2^31 - 1 bytes long ("stsz": +16 the sample
  // count, sizes from +20): the panorama track's buffer, a sample and 8
  // bytes, cannot be had (its size was an int overflow), and the panorama
  // track's tables fail as a whole.
  const std::string tag = "stsz";
  for (auto at = std::search(movie.begin(), movie.end(), tag.begin(), tag.end()); at != movie.end();
       at = std::search(at + 1, movie.end(), tag.begin(), tag.end())) {
    const auto atom = static_cast<std::size_t>(at - movie.begin()) - 4;
    const std::size_t count = movie[atom + 18] << 8 | movie[atom + 19];
    const std::size_t last = atom + 20 + 4 * (count - 1);
    for (int i = 0; i < 4; ++i) movie[last + i] = i == 0 ? 0x7F : 0xFF;
  }
  EXPECT_EQ(Read(movie, &file), kErrMakeTable);
  EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_);
}

TEST_F(ReaderTest, ColourTableKeepsAtMost256Entries) {
  builder::Bytes bytes = bp::BuildPanoramaMovie(SmallPanorama());
  const long moov = FindAtom(bytes, "moov");
  ASSERT_GT(moov, 0);
  builder::ByteWriter ctab;
  ctab.U32be(3000);
  ctab.Append(std::string_view("ctab"));
  ctab.Zeros(2992);
  bytes.insert(bytes.end(), ctab.bytes().begin(), ctab.bytes().end());
  const std::uint32_t size = static_cast<std::uint32_t>(bytes.size() - static_cast<std::size_t>(moov));
  for (int i = 0; i < 4; ++i)
    bytes[static_cast<std::size_t>(moov) + i] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
  MovieFile* file = nullptr;
  ASSERT_EQ(Read(bytes, &file), kOk);
  EXPECT_EQ(file->colorCount, 256);
  MovieFileDiscard(file);
}

TEST_F(ReaderTest, SixteenOpenFileObjectsAtMost) {
  const builder::Bytes bytes = bp::BuildPanoramaMovie(SmallPanorama());
  std::intptr_t movies[17];
  for (int i = 0; i < 17; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "m%d.mov", i);
    movies[i] = OpenMovie(bytes, name);
  }
  MovieFile* files[16];
  std::int32_t error = 0;
  for (int i = 0; i < 16; ++i) {
    files[i] = MovieFileOpen(movies[i], true, kModeDib, 32, &error);
    ASSERT_NE(files[i], nullptr) << i;
  }
  EXPECT_EQ(MovieFileOpen(movies[16], true, kModeDib, 32, &error), nullptr);
  EXPECT_EQ(error, kErrBadFile);
  // The same movie, or the file object itself, finds the open one.
  EXPECT_EQ(MovieFileOpen(movies[3], true, kModeDib, 32, &error), files[3]);
  EXPECT_EQ(MovieFileOpen(reinterpret_cast<std::intptr_t>(files[5]), false, kModeDib, 32, &error), files[5]);
  EXPECT_EQ(MovieFileClose(files[0]), kOk);
  EXPECT_EQ(MovieFileCount(), 15);
  EXPECT_EQ(MovieFileOpen(movies[5], false, kModeDib, 32, &error), files[5]);  // later slots moved up
  for (int i = 1; i < 16; ++i) MovieFileClose(files[i]);
  EXPECT_EQ(MovieFileCount(), 2);  // the two opened again hold a share each
  MovieFileClose(files[3]);
  MovieFileClose(files[5]);
  MovieFileClose(files[5]);
  EXPECT_EQ(MovieFileCount(), 0);
  EXPECT_EQ(MovieFileClose(files[1]), kErrBadFile);
}

}  // namespace
}  // namespace panotest

namespace panotest {
namespace {

using namespace pano;

class ReaderMemoryTest : public PanoHostTest {};

// Memory running out at any allocation of a read leaves nothing behind.
TEST_F(ReaderMemoryTest, EveryFailedAllocationUnwinds) {
  bp::PanoramaMovie movie = SmallPanorama(2);
  movie.hotSpotTrack = true;
  const std::string path = WriteFile(bp::BuildPanoramaMovie(movie), "memory.mov");
  int failures = 0;
  for (int n = 0; n < 200; ++n) {
    const std::intptr_t handle = System().openFile(path.c_str());
    kn::FailMemoryAfter(n);
    MovieFile* file = nullptr;
    const std::int32_t result = MovieFileRead(handle, kModeDib, 32, &file);
    kn::FailMemoryAfter(-1);
    if (result == kOk) {
      MovieFileDiscard(file);
      break;
    }
    ++failures;
    System().closeFile(handle);
    EXPECT_TRUE(result == kErrMemory || result == kErrMakeTable) << n << ": " << result;
    EXPECT_EQ(kn::LiveBlocks(), blocksAtStart_) << n;
  }
  EXPECT_GT(failures, 5);
}

}  // namespace
}  // namespace panotest
