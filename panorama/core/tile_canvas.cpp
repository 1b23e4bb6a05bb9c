#include "tile_canvas.h"

#include <cstring>

#include "pano_host.h"
#include "pano_types.h"

namespace pano {
namespace {

std::uint32_t gLastIdle = 0;

int Mod(int value, int by) {
  if (by <= 0) return 0;
  const int m = value % by;
  return m < 0 ? m + by : m;
}

std::uint8_t* TilePosition(TileCanvas* c, int row, int index) {
  const int slot = Mod(row, c->heldRows);
  const int indexSlot = index - c->firstHeldIndex;
  return c->pixels + static_cast<std::ptrdiff_t>(c->lineBytes) * c->linesPerTile * slot +
         static_cast<std::ptrdiff_t>(c->pixelBytes) * c->tileWidth * indexSlot;
}

int SlotOf(const TileCanvas* c, int row, int index) {
  return Mod(row, c->heldRows) * c->tilesPerHeldRow + (index - c->firstHeldIndex);
}

bool Decoded(const TileCanvas* c, int tile) { return tile >= 0 && tile < kMaxTiles && c->decoded[tile] != 0; }

void FreePixels(TileCanvas* c) {
  if (c->ownsPixels) {
    if (c->systemPixels && System().freeCanvas != nullptr) {
      System().freeCanvas(c->pixels);
    } else {
      HostFree(c->pixels);
    }
  }
  c->pixels = nullptr;
  c->ownsPixels = false;
  c->systemPixels = false;
}

}  // namespace

void TileCacheSetLastIdle(std::uint32_t time) { gLastIdle = time; }

TileCanvas* TileCanvasCreate(int tileWidth, int linesPerTile, int heldRows, int tilesPerHeldRow, int depth,
                             std::uint8_t* memory) {
  auto* canvas = static_cast<TileCanvas*>(HostAlloc(static_cast<std::int32_t>(sizeof(TileCanvas))));
  if (canvas == nullptr) return nullptr;
  canvas->samplesPerEntry = 1;
  canvas->firstSample = 1;
  TileSampleCache& cache = canvas->cache;
  cache.handles = static_cast<kn::KnHandle*>(HostAlloc(static_cast<std::int32_t>(sizeof(kn::KnHandle)) * kMaxTiles));
  cache.slotSample = static_cast<std::int32_t*>(HostAlloc(4 * kMaxTiles));
  cache.sampleMap = static_cast<std::int32_t*>(HostAlloc(4 * kMaxTiles));
  cache.samplesPerEntry = 1;
  cache.firstSample = 1;
  canvas->tileRows = static_cast<std::int16_t>(heldRows);
  canvas->tilesPerRow = static_cast<std::int16_t>(tilesPerHeldRow);
  if (cache.handles == nullptr || cache.slotSample == nullptr || cache.sampleMap == nullptr) return canvas;
  TileCacheReset(&cache);
  TileCanvasSetup(canvas, tileWidth, linesPerTile, heldRows, tilesPerHeldRow, depth, memory);
  TileCanvasReset(canvas);
  return canvas;
}

std::int32_t TileCanvasSetup(TileCanvas* c, int tileWidth, int linesPerTile, int heldRows, int tilesPerHeldRow,
                             int depth, std::uint8_t* memory) {
  if (c->pixels != nullptr && tileWidth == c->tileWidth && linesPerTile == c->linesPerTile && heldRows == c->heldRows &&
      tilesPerHeldRow == c->tilesPerHeldRow && depth == c->depth && (memory == nullptr || memory == c->pixels)) {
    return 0;
  }
  FreePixels(c);
  c->tileWidth = static_cast<std::int16_t>(tileWidth);
  c->linesPerTile = static_cast<std::int16_t>(linesPerTile);
  c->heldRows = static_cast<std::int16_t>(heldRows);
  c->tilesPerHeldRow = static_cast<std::int16_t>(tilesPerHeldRow);
  c->depth = static_cast<std::int16_t>(depth);
  c->pixelBytes = static_cast<std::int16_t>(depth / 8);
  c->lineBytes = tilesPerHeldRow * c->pixelBytes * tileWidth;
  if (memory != nullptr) {
    c->pixels = memory;
    return 0;
  }
  const std::int64_t bytes = std::int64_t{heldRows} * c->lineBytes * linesPerTile;
  // A line of spare bytes: the blending loops read one pixel past a line's end.
  const std::int64_t total = bytes + c->lineBytes + 16;
  if (tileWidth <= 0 || linesPerTile <= 0 || heldRows <= 0 || tilesPerHeldRow <= 0 || c->pixelBytes <= 0 ||
      total > INT32_MAX) {
    return -1;
  }
  SystemServices& system = System();
  c->pixels = static_cast<std::uint8_t*>(system.allocateCanvas != nullptr
                                             ? system.allocateCanvas(static_cast<std::size_t>(total))
                                             : HostAlloc(static_cast<std::int32_t>(total)));
  if (c->pixels == nullptr) return -1;
  c->ownsPixels = true;
  c->systemPixels = system.allocateCanvas != nullptr;
  return 0;
}

void TileCacheDrop(TileSampleCache* cache, int slot) {
  if (slot < 0 || slot >= kMaxTiles) return;
  if (cache->handles[slot] != 0) CallMedia(kn::kKnDisposeHandle, {cache->handles[slot]});
  cache->handles[slot] = 0;
  cache->slotSample[slot] = -1;
}

void TileCacheReset(TileSampleCache* cache) {
  if (cache->slotSample == nullptr || cache->sampleMap == nullptr) return;
  for (int i = 0; i < kMaxTiles; ++i) {
    cache->slotSample[i] = -1;
    cache->sampleMap[i] = -1;
  }
  cache->lastSlot = -1;
  cache->slotsUsed = 0;
}

void TileCanvasFree(TileCanvas* c) {
  if (c == nullptr) return;
  FreePixels(c);
  if (c->cache.handles != nullptr) {
    for (int i = 0; i < kMaxTiles; ++i) {
      if (c->cache.handles[i] != 0) CallMedia(kn::kKnDisposeHandle, {c->cache.handles[i]});
    }
  }
  HostFree(c->cache.handles);
  HostFree(c->cache.slotSample);
  HostFree(c->cache.sampleMap);
  HostFree(c);
}

std::uint8_t* TileCanvasPixels(const TileCanvas* canvas) { return canvas->pixels; }

bool TileGridFits(int tileRows, int tilesPerRow) {
  return tileRows > 0 && tilesPerRow > 0 && tileRows <= kMaxTiles && tilesPerRow <= kMaxTiles &&
         tileRows * tilesPerRow <= kMaxTiles;
}

bool TileCanvasSetGrid(TileCanvas* c, int tileRows, int tilesPerRow) {
  if (!TileGridFits(tileRows, tilesPerRow)) return false;
  c->tileRows = static_cast<std::int16_t>(tileRows);
  c->tilesPerRow = static_cast<std::int16_t>(tilesPerRow);
  return true;
}

void TileCanvasSetTrack(TileCanvas* c, ImageTrackReader* track) {
  if (track != nullptr) c->track = track;
  TileCacheReset(&c->cache);
}

void TileCanvasReset(TileCanvas* c) {
  for (int i = 0; i < kMaxTiles; ++i) {
    c->slotMap[i] = -1;
    c->decoded[i] = 0;
  }
  TileCacheReset(&c->cache);
}

void TileCanvasSetFirstSample(TileCanvas* c, std::int32_t sample) {
  c->firstSample = sample;
  c->cache.firstSample = sample;
  c->cache.samplesPerEntry = c->samplesPerEntry;
}

int TileCanvasHeldWidth(const TileCanvas* c) {
  if (c->heldRows >= c->tileRows || c->heldRows == 1) return c->heldRows * c->linesPerTile;
  return (c->heldRows - 1) * c->linesPerTile;
}

int TileCanvasHeldHeight(const TileCanvas* c) {
  if (c->tilesPerHeldRow >= c->tilesPerRow || c->tilesPerHeldRow == 1) return c->tilesPerHeldRow * c->tileWidth;
  return (c->tilesPerHeldRow - 1) * c->tileWidth;
}

int TileCanvasRingLines(const TileCanvas* c) { return c->heldRows * c->linesPerTile; }

int TileCanvasTileNumber(const TileCanvas* c, int row, int index) {
  return Mod(row, c->tileRows) * c->tilesPerRow + Mod(index, c->tilesPerRow);
}

std::int32_t TileCacheLoad(TileCanvas* canvas, std::int32_t sample, bool* present, kn::KnHandle* handle) {
  TileSampleCache& cache = canvas->cache;
  const std::int32_t per = cache.samplesPerEntry > 0 ? cache.samplesPerEntry : 1;
  const std::int32_t mapIndex = (sample - cache.firstSample) / per;
  *present = false;
  *handle = 0;
  if (mapIndex >= 0 && mapIndex < kMaxTiles) {
    const std::int32_t slot = cache.sampleMap[mapIndex];
    if (slot >= 0 && slot < kMaxTiles && cache.slotSample[slot] == sample && cache.handles[slot] != 0) {
      CallMedia(kn::kKnLockHandle, {cache.handles[slot]});
      const std::intptr_t data = CallMedia(kn::kKnHandlePointer, {cache.handles[slot]});
      CallMedia(kn::kKnUnlockHandle, {cache.handles[slot]});
      if (data != 0) {
        *present = true;
        *handle = cache.handles[slot];
        return kOk;
      }
    }
  }
  if (mapIndex < 0 || mapIndex >= kMaxTiles) return kErrTileRange;
  cache.lastSlot = cache.lastSlot + 1 >= kMaxTiles ? 0 : cache.lastSlot + 1;
  const int slot = cache.lastSlot;
  kn::KnHandle h = cache.handles[slot];
  bool usable = false;
  if (h != 0) {
    CallMedia(kn::kKnLockHandle, {h});
    usable = CallMedia(kn::kKnHandlePointer, {h}) != 0;
    CallMedia(kn::kKnUnlockHandle, {h});
  }
  if (!usable) {
    System().compactMemory();
    if (h != 0) {
      if (CallMedia(kn::kKnSetHandleSize, {h, 0}) != 0) h = 0;
    }
    if (h == 0) h = CallMedia(kn::kKnNewHandle, {0});
    cache.handles[slot] = h;
    if (h == 0) return kErrMemory;
  }
  // The slot's old sample loses its map entry.
  if (cache.slotSample[slot] >= 0) {
    const std::int32_t old = (cache.slotSample[slot] - cache.firstSample) / per;
    if (old >= 0 && old < kMaxTiles && cache.sampleMap[old] == slot) cache.sampleMap[old] = -1;
  }
  cache.slotSample[slot] = -1;
  const std::int32_t size = ImageTrackSampleSize(canvas->track, sample);
  if (size < 0) return kErrMissing;
  if (CallMedia(kn::kKnSetHandleSize, {h, size}) != 0) return kErrMemory;
  CallMedia(kn::kKnLockHandle, {h});
  auto* data = reinterpret_cast<std::uint8_t*>(static_cast<std::intptr_t>(CallMedia(kn::kKnHandlePointer, {h})));
  if (data == nullptr) {
    CallMedia(kn::kKnUnlockHandle, {h});
    return kErrHandleLock;
  }
  const std::int32_t read = ImageTrackReadSample(canvas->track, sample, data, size);
  CallMedia(kn::kKnUnlockHandle, {h});
  if (read != kOk) return read;
  if (cache.lastSlot + 1 > cache.slotsUsed) cache.slotsUsed = cache.lastSlot + 1;
  cache.slotSample[slot] = sample;
  cache.sampleMap[mapIndex] = slot;
  *handle = h;
  return kOk;
}

int TileCanvasDecode(TileCanvas* c, int row, int index) {
  if (c->track == nullptr || c->pixels == nullptr) return 0;
  if (index < c->firstHeldIndex || index >= c->firstHeldIndex + c->tilesPerHeldRow) return 0;
  const int tile = TileCanvasTileNumber(c, row, index);
  const int slot = SlotOf(c, row, index);
  if (slot < 0 || slot >= kMaxTiles) return 0;
  bool present = false;
  kn::KnHandle handle = 0;
  if (TileCacheLoad(c, c->firstSample + tile, &present, &handle) != kOk) return 0;
  CallMedia(kn::kKnLockHandle, {handle});
  auto* data = reinterpret_cast<std::uint8_t*>(static_cast<std::intptr_t>(CallMedia(kn::kKnHandlePointer, {handle})));
  if (data == nullptr) {
    CallMedia(kn::kKnUnlockHandle, {handle});
    return 0;
  }
  const std::int32_t size = ImageTrackSampleSize(c->track, c->firstSample + tile);
  const std::int32_t result = size < 0 ? kErrMissing
                                       : ImageTrackDecode(c->track, c->firstSample + tile, data, size,
                                                          TilePosition(c, row, index), c->lineBytes);
  CallMedia(kn::kKnUnlockHandle, {handle});
  if (result != kOk) return 0;
  const int previous = c->slotMap[slot];
  if (previous >= 0 && previous < kMaxTiles) c->decoded[previous] = 0;
  c->slotMap[slot] = static_cast<std::int16_t>(tile);
  c->decoded[tile] = 1;
  return 1;
}

void TileCanvasMoveHeld(TileCanvas* c, int distance) {
  int target = c->firstHeldIndex + distance;
  if (target < 0) target = 0;
  if (target + c->tilesPerHeldRow > c->tilesPerRow) target = c->tilesPerRow - c->tilesPerHeldRow;
  distance = target - c->firstHeldIndex;
  if (distance == 0) return;
  const int tileBytes = c->tileWidth * c->pixelBytes;
  for (int held = 0; held < c->heldRows; ++held) {
    // Walk from the end that is not overwritten before it moves.
    for (int n = 0; n < c->tilesPerHeldRow; ++n) {
      const int from = distance > 0 ? n : c->tilesPerHeldRow - 1 - n;
      const int to = from - distance;
      if (to < 0 || to >= c->tilesPerHeldRow) {
        const int gone = c->slotMap[held * c->tilesPerHeldRow + from];
        if (gone >= 0 && gone < kMaxTiles) c->decoded[gone] = 0;
        c->slotMap[held * c->tilesPerHeldRow + from] = -1;
        continue;
      }
      const int fromSlot = held * c->tilesPerHeldRow + from;
      const int toSlot = held * c->tilesPerHeldRow + to;
      const int displaced = c->slotMap[toSlot];
      if (displaced >= 0 && displaced < kMaxTiles && displaced != c->slotMap[fromSlot]) c->decoded[displaced] = 0;
      const int tile = c->slotMap[fromSlot];
      c->slotMap[toSlot] = -1;
      if (tile >= 0 && Decoded(c, tile)) {
        std::uint8_t* base = c->pixels + static_cast<std::ptrdiff_t>(c->lineBytes) * c->linesPerTile * held;
        for (int line = 0; line < c->linesPerTile; ++line) {
          std::uint8_t* rowStart = base + static_cast<std::ptrdiff_t>(c->lineBytes) * line;
          std::memmove(rowStart + tileBytes * to, rowStart + tileBytes * from, static_cast<std::size_t>(tileBytes));
        }
        c->slotMap[toSlot] = static_cast<std::int16_t>(tile);
      }
      c->slotMap[fromSlot] = -1;
    }
  }
  c->firstHeldIndex = static_cast<std::int16_t>(target);
}

int TileCacheFill(TileCanvas* c, int topPixel, int leftLine, int bottomPixel, int rightLine, bool idle) {
  if (c->track == nullptr || c->linesPerTile <= 0 || c->tileWidth <= 0) return 0;
  const int firstRow =
      leftLine >= 0 ? leftLine / c->linesPerTile : -((-leftLine + c->linesPerTile - 1) / c->linesPerTile);
  int lastRow = rightLine >= 0 ? rightLine / c->linesPerTile : -((-rightLine + c->linesPerTile - 1) / c->linesPerTile);
  if (lastRow < firstRow) lastRow += c->tileRows;
  if (lastRow - firstRow >= c->tileRows) lastRow = firstRow + c->tileRows - 1;
  int firstIndex = topPixel / c->tileWidth;
  int lastIndex = bottomPixel / c->tileWidth;
  if (firstIndex < 0) firstIndex = 0;
  if (lastIndex > c->tilesPerRow - 1) lastIndex = c->tilesPerRow - 1;
  if (lastIndex < firstIndex) lastIndex = firstIndex;

  if (c->tilesPerHeldRow < c->tilesPerRow) {
    if (lastIndex >= c->firstHeldIndex + c->tilesPerHeldRow) {
      TileCanvasMoveHeld(c, lastIndex - c->firstHeldIndex - c->tilesPerHeldRow + 1);
    } else if (firstIndex < c->firstHeldIndex) {
      TileCanvasMoveHeld(c, firstIndex - c->firstHeldIndex);
    }
    if (firstIndex < c->firstHeldIndex) firstIndex = c->firstHeldIndex;
    if (lastIndex >= c->firstHeldIndex + c->tilesPerHeldRow) lastIndex = c->firstHeldIndex + c->tilesPerHeldRow - 1;
  }
  c->firstVisibleLine = static_cast<std::int16_t>(c->linesPerTile * firstRow);

  int limit = 1 << 30;
  if (idle) {
    const std::uint32_t now = System().tickCount();
    std::uint32_t elapsed = now - gLastIdle;
    if (now < gLastIdle) elapsed -= 1;
    limit = (gLastIdle == 0 || elapsed > 500 || System().inputPending()) ? 1 : lastRow - firstRow + 1;
  }
  int taken = 0;
  bool stop = false;
  auto visit = [&](int row, int index) {
    if (stop) return;
    const int tile = TileCanvasTileNumber(c, row, index);
    if (!idle) {
      if (!Decoded(c, tile) || c->slotMap[SlotOf(c, row, index)] != tile) {
        if (TileCanvasDecode(c, row, index) == 1) ++taken;
      }
      return;
    }
    if (Decoded(c, tile)) return;
    bool present = false;
    kn::KnHandle handle = 0;
    if (TileCacheLoad(c, c->firstSample + tile, &present, &handle) == kOk && !present) ++taken;
    if (taken >= limit || System().inputPending()) stop = true;
  };
  for (int row = firstRow; row <= lastRow && !stop; ++row) {
    for (int index = firstIndex; index <= lastIndex && !stop; ++index) visit(row, index);
  }
  if (idle) {
    const int visibleIndexes = lastIndex - firstIndex + 1;
    const int visibleRows = lastRow - firstRow + 1;
    const int verticalLimit = (2 * c->tilesPerHeldRow - visibleIndexes) >> 1;
    const int panLimit = (2 * c->heldRows - visibleRows) >> 1;
    const bool wholeRows = c->tilesPerHeldRow >= c->tilesPerRow;
    for (int ring = 1; !stop && (ring <= verticalLimit || ring <= panLimit); ++ring) {
      if (ring <= verticalLimit && wholeRows) {
        const int rowFrom = ring <= panLimit ? firstRow - ring : firstRow;
        const int rowTo = ring <= panLimit ? lastRow + ring : lastRow;
        for (int side = 0; side < 2 && !stop; ++side) {
          const int index = side == 0 ? firstIndex - ring : lastIndex + ring;
          if (index < 0 || index >= c->tilesPerHeldRow) continue;
          for (int row = rowFrom; row <= rowTo && !stop; ++row) visit(row, index);
        }
      }
      if (ring <= panLimit) {
        const int from = firstIndex - ring + 1 > 0 ? firstIndex - ring + 1 : 0;
        const int to = lastIndex + ring < c->tilesPerRow ? lastIndex + ring : c->tilesPerRow;
        for (int side = 0; side < 2 && !stop; ++side) {
          const int row = side == 0 ? firstRow - ring : lastRow + ring;
          for (int index = from; index < to && !stop; ++index) visit(row, index);
        }
      }
    }
    gLastIdle = System().tickCount();
    if (gLastIdle == 0) gLastIdle = 1;
  } else {
    gLastIdle = 0;
  }
  return taken;
}

std::int32_t TileCanvasHeldRows(std::int64_t tileBytes, int tileRows, int tilesPerRow, std::int64_t available,
                                std::int32_t maxCacheRows, int* heldRows) {
  const std::int64_t a = static_cast<std::int32_t>(available > INT32_MAX ? INT32_MAX : available);
  if (tileBytes <= 0 || tileRows <= 0 || tilesPerRow <= 0) return kErrMemory;
  if (a < tileBytes * (tileRows + 1) * tilesPerRow / 4) return kErrMemory;
  const int low = (tileRows + 1) / 4;
  std::int64_t n;
  if (a >= 2000001) {
    n = a / 4 / tileBytes / tilesPerRow;
  } else if (a < 200001) {
    n = low;
  } else {
    n = a / tileBytes / tilesPerRow;
  }
  if (n > tileRows) n = tileRows;
  while (n > 0 && !(n <= (tileRows + 1) / 2 && tileRows % n == 0)) --n;
  if (n == 0) n = 1;
  while (n == 0 || n < low || tileRows % n != 0) ++n;
  if (maxCacheRows == -1) {
    n = tileRows;
  } else if (maxCacheRows > 0 && maxCacheRows < n) {
    n = maxCacheRows;
  }
  *heldRows = static_cast<int>(n);
  return kOk;
}

}  // namespace pano
