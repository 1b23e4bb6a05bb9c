// The tile canvas and the tile sample cache: a window of decoded tiles of one
// node in a block the warp engine reads directly, and up to 192 compressed
// tiles in host memory handles, fetched ahead of need while the program is
// idle. A canvas line is one column of the panorama (the picture lies on its
// side); a tile is tile width pixels across a line and lines per tile long.
#pragma once

#include <cstdint>

#include "image_track.h"
#include "kn_api.h"

namespace pano {

constexpr int kMaxTiles = 192;

struct TileSampleCache {
  kn::KnHandle* handles;     // 192
  std::int32_t* slotSample;  // 192, -1 = empty
  std::int32_t* sampleMap;   // 192, slot of (sample - first) / per entry, or -1
  std::int32_t firstSample;
  std::int32_t samplesPerEntry;
  std::int32_t slotsUsed;
  std::int32_t lastSlot;  // round-robin cursor, -1 after a reset
  std::int32_t reserved;
};

struct TileCanvas {
  ImageTrackReader* track;
  std::int16_t samplesPerEntry;
  std::uint8_t* pixels;
  bool ownsPixels;
  bool systemPixels;  // from the system's canvas memory rather than the host's
  std::int16_t tileWidth, linesPerTile, heldRows, tilesPerHeldRow, tileRows, tilesPerRow;
  std::int16_t slotMap[kMaxTiles];
  std::int32_t decoded[kMaxTiles];
  std::int16_t firstHeldIndex;
  std::int16_t firstVisibleLine;
  std::int16_t depth, pixelBytes;
  std::int32_t lineBytes;
  TileSampleCache cache;
  std::int32_t firstSample;
};

TileCanvas* TileCanvasCreate(int tileWidth, int linesPerTile, int heldRows, int tilesPerHeldRow, int depth,
                             std::uint8_t* memory);
std::int32_t TileCanvasSetup(TileCanvas* canvas, int tileWidth, int linesPerTile, int heldRows, int tilesPerHeldRow,
                             int depth, std::uint8_t* memory);
void TileCanvasFree(TileCanvas* canvas);
std::uint8_t* TileCanvasPixels(const TileCanvas* canvas);
// A node's tiles: at least one tile row of at least one tile, kMaxTiles at most.
bool TileGridFits(int tileRows, int tilesPerRow);
bool TileCanvasSetGrid(TileCanvas* canvas, int tileRows, int tilesPerRow);
void TileCanvasSetTrack(TileCanvas* canvas, ImageTrackReader* track);
void TileCanvasReset(TileCanvas* canvas);
void TileCanvasSetFirstSample(TileCanvas* canvas, std::int32_t sample);
int TileCanvasHeldWidth(const TileCanvas* canvas);
int TileCanvasHeldHeight(const TileCanvas* canvas);
// Lines of the ring of held tile rows (held rows x lines per tile).
int TileCanvasRingLines(const TileCanvas* canvas);
int TileCanvasTileNumber(const TileCanvas* canvas, int row, int index);
int TileCanvasDecode(TileCanvas* canvas, int row, int index);
// Draw time (idle false) decodes every missing tile under the view; idle
// time prefetches compressed tiles. Returns the tiles taken.
int TileCacheFill(TileCanvas* canvas, int topPixel, int leftLine, int bottomPixel, int rightLine, bool idle);
std::int32_t TileCacheLoad(TileCanvas* canvas, std::int32_t sample, bool* present, kn::KnHandle* handle);
void TileCacheReset(TileSampleCache* cache);
void TileCacheDrop(TileSampleCache* cache, int slot);
// Moves the held window of a canvas that holds part of each row.
void TileCanvasMoveHeld(TileCanvas* canvas, int distance);
// The shared time of the last idle fill (0 after a draw).
void TileCacheSetLastIdle(std::uint32_t time);

// Canvas sizing: held tile rows for a grid, or kErrMemory. maxCacheRows is
// KNW.INI [VR] "MaxCacheRows".
std::int32_t TileCanvasHeldRows(std::int64_t tileBytes, int tileRows, int tilesPerRow, std::int64_t available,
                                std::int32_t maxCacheRows, int* heldRows);

}  // namespace pano
