// The panorama movie reader: the file object ("MOVP") of a movie with its
// panorama track ("PANO"), image track readers and colour table, and the
// decoded sample of the current node.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image_track.h"
#include "kn_api.h"

namespace pano {

// One panorama track sample description, converted.
struct PanoDescription {
  std::int32_t size;
  std::uint32_t format;
  std::int16_t kept14[3];
  std::int32_t imageTracks[8];  // by resolution, 0 = none
  std::int32_t hotSpotTrack;
  std::int32_t kept56[7];
  std::int32_t kept84;
  std::uint8_t raw88[4];
  std::int32_t panStart, panEnd, tiltTop, tiltBottom;  // 16.16 degrees
  std::int32_t fieldOfViewMin, fieldOfViewMax;         // 16.16 degrees, 0 = none
  std::int32_t pictureWidth, pictureHeight;            // pixels around, pixels up and down
  std::int32_t kept124;
  std::int16_t kept128[4];
  std::int32_t hotSpotWidth, hotSpotHeight;
  std::int16_t grid[4];  // [1] tile rows (around), [2] tiles per row (up and down)
};

// The converted "pHdr" of a node.
struct NodeHeader {
  std::int32_t size;
  std::uint32_t type;
  std::int32_t words[10];  // +8 .. +47
  std::int16_t word48;
  std::uint8_t kept50[6];
  std::int32_t word56;
  std::int32_t word60;
};
// What the header words mean (our layout).
enum NodeHeaderWord {
  kHdrNodeId = 0,
  kHdrDefaultPan,
  kHdrDefaultTilt,
  kHdrDefaultZoom,
  kHdrPanMin,
  kHdrPanMax,
  kHdrTiltMin,
  kHdrTiltMax,
  kHdrFieldOfViewMax,
  kHdrKept44
};

struct NodeTable {
  std::int32_t count = 0;
  const std::uint8_t* first = nullptr;  // the first entry in the sample buffer
};

struct DecodedNode {
  NodeHeader header;
  NodeTable hotSpots, links, navigation, stills;
  const std::uint8_t* strings = nullptr;  // the "strT" atom, header included
  std::int32_t stringsSize = 0;
};

constexpr int kHotSpotEntryBytes = 56, kLinkEntryBytes = 56, kNavEntryBytes = 40, kStillEntryBytes = 36;

struct NodeEntryRef {
  std::int32_t id;
  std::int32_t kept;
};

struct PanoTrack {
  std::uint32_t signature;  // "PANO"
  PanoDescription* descriptions;
  std::int32_t descriptionCount;
  SampleTable samples;
  std::uint8_t* buffer;
  std::int32_t bufferSize;
  std::int32_t bufferedIndex;  // 0-based, -1 = none
  std::int32_t width, height;  // 16.16
  std::intptr_t file;
  char name[32];
  std::int32_t info40, info44;
  std::int16_t nodeCount;
  NodeEntryRef* nodes;
  std::int32_t resolution;
  std::int32_t timeScale;
  DecodedNode node;
};

struct MovieFile {
  std::uint32_t signature;  // "MOVP"
  std::intptr_t window;
  std::intptr_t file;
  std::uint32_t process;
  kn::KnRect display;
  ImageTrackReader* image;
  ImageTrackReader* hotSpots;
  PanoTrack* pano;
  std::uint8_t* colorTable;  // the "ctab" contents
  std::int32_t colorCount;
  std::intptr_t movie;
  std::intptr_t hostValue;  // disposed through the media library on close
  std::int32_t shares;      // node views using it; closed with the last
};

constexpr int kMaxMovieFiles = 16;

// Reads a movie from an open file (the file then belongs to the object).
std::int32_t MovieFileRead(std::intptr_t file, std::int32_t screenOutputMode, std::int32_t screenDepth,
                           MovieFile** out);
// Finds the file object of a host movie, or (create) opens one from the
// movie's file. The argument may itself be a file object. Each successful
// open takes a share that MovieFileClose gives back.
MovieFile* MovieFileOpen(std::intptr_t movieOrFile, bool create, std::int32_t screenOutputMode,
                         std::int32_t screenDepth, std::int32_t* error);
std::int32_t MovieFileClose(MovieFile* file);
// Puts a file object read by MovieFileRead into the table of open files
// (false when the table is full; the object is then the caller's to close).
bool MovieFileAdopt(MovieFile* file, std::intptr_t movie);
// Frees a file object that never entered the table, closing its file.
void MovieFileDiscard(MovieFile* file);
bool IsMovieFile(const MovieFile* file);
int MovieFileCount();

bool MovieFileGetDisplayRect(const MovieFile* file, kn::KnRect* rect);
bool MovieFileSetDisplayRect(MovieFile* file, const kn::KnRect& rect);
// 1-based node index of a node ID (the first entry whose ID is at least it; else 1).
std::int32_t MovieFileNodeIndex(const MovieFile* file, std::int32_t nodeId);
std::int32_t MovieFileNodeId(const MovieFile* file, std::int32_t nodeId);
const PanoDescription* MovieFileDescription(const MovieFile* file);
// Reads and decodes node (1-based index) into the track's current node.
std::int32_t MovieFileGetNode(MovieFile* file, std::int32_t nodeIndex, DecodedNode* copy);
// The tile grid of a node's picture: its lines around divided by the image
// track's lines per tile, its pixels down by the tile width. False unless the
// grid holds at least one tile and at most a node's tiles.
bool PictureTileGrid(const PanoDescription& description, const ImageTrackReader* image, int* tileRows,
                     int* tilesPerRow);
// Which image reader the resolution picks, for the tile canvas.
ImageTrackReader* MovieFileImageReader(const MovieFile* file);
ImageTrackReader* MovieFileHotSpotReader(const MovieFile* file);

// The image reader's output mode for a screen output mode: the layout of the
// frames the warp engine renders for that screen (FrameFormatForMode), so that
// tiles decode straight into it. Device-independent output (mode 1) renders
// 5-5-5 frames on a 16-bit screen and 24-bit blue-green-red frames on any
// other, so its tiles read as 6 or 11 (never 1-byte pixels).
std::int32_t ReaderModeForScreen(std::int32_t screenMode, std::int32_t screenDepth);

// A length-prefixed string of "strT" at an offset from the atom's start
// (empty when out of range); copies at most size - 1 characters.
void NodeString(const DecodedNode& node, std::int32_t offset, char* out, std::size_t size);

}  // namespace pano
