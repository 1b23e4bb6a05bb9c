// The tile canvas and its sample cache: sizing, the round-robin slots, purged
// memory, idle prefetching and views across the seam.
#include "tile_canvas.h"

#include "movie_reader.h"
#include "pano_fixture.h"
#include "pano_types.h"

namespace panotest {
namespace {

using namespace pano;

std::uint32_t gNow = 1000;
std::uint32_t Now() { return gNow; }

TEST(TileCanvasSizingTest, HeldRowsFromMemoryAndMaxCacheRows) {
  int held = 0;
  // 120,000 bytes: the first guess is (R + 1) / 4 = 4, which divides 16.
  ASSERT_EQ(TileCanvasHeldRows(100, 16, 2, 120000, 0, &held), kOk);
  EXPECT_EQ(held, 4);
  ASSERT_EQ(TileCanvasHeldRows(8192, 16, 2, 1 << 30, -1, &held), kOk);
  EXPECT_EQ(held, 16);
  ASSERT_EQ(TileCanvasHeldRows(8192, 16, 2, 1 << 30, 3, &held), kOk);
  EXPECT_EQ(held, 3);  // a cap below the computed 8
  ASSERT_EQ(TileCanvasHeldRows(8192, 16, 2, 1 << 30, 0, &held), kOk);
  EXPECT_EQ(held, 8);
  EXPECT_EQ(TileCanvasHeldRows(1 << 20, 16, 2, 1000, 0, &held), kErrMemory);
}

class TileCacheTest : public PanoHostTest {
 protected:
  void SetUp() override {
    PanoHostTest::SetUp();
    System().tickCount = Now;
    bp::PanoramaMovie movie = SmallPanorama();
    movie.pictureWidth = 16 * 64;  // 16 tile rows of 2 tiles
    movie.nodes[0].picture = [](int x, int y) { return PictureColour(0, x, y); };
    const std::string path = WriteFile(bp::BuildPanoramaMovie(movie), "tiles.mov");
    const std::intptr_t handle = System().openFile(path.c_str());
    ASSERT_EQ(MovieFileRead(handle, kModeDib, 32, &file_), kOk);
    canvas_ = TileCanvasCreate(64, 64, 4, 2, 24, nullptr);
    TileCanvasSetGrid(canvas_, 16, 2);
    TileCanvasSetTrack(canvas_, file_->image);
    TileCanvasSetFirstSample(canvas_, 1);
  }
  void TearDown() override {
    TileCanvasFree(canvas_);
    MovieFileDiscard(file_);
    EXPECT_EQ(kn::LiveHandles(), 0);
    PanoHostTest::TearDown();
  }
  MovieFile* file_ = nullptr;
  TileCanvas* canvas_ = nullptr;
};

TEST_F(TileCacheTest, DecodedTilesLandInTheRingAcrossTheSeam) {
  // Lines 1000 .. 1100 wrap: tile rows 15 and 0, 1.
  EXPECT_EQ(TileCacheFill(canvas_, 0, 1000, 127, 60, false), 4);
  EXPECT_EQ(canvas_->decoded[TileCanvasTileNumber(canvas_, 15, 0)], 1);
  EXPECT_EQ(canvas_->decoded[TileCanvasTileNumber(canvas_, 0, 1)], 1);
  // Line 1000 sits in ring slot 15 mod 4 = 3: red = line / 2 (mod 256), green = 2 x pixel.
  const std::uint8_t* line = canvas_->pixels + canvas_->lineBytes * (1000 % 256);
  EXPECT_EQ(line[2], static_cast<std::uint8_t>(1000 / 2));
  EXPECT_EQ(line[3 * 70 + 1], 140);
  EXPECT_EQ(TileCacheFill(canvas_, 0, 1000, 127, 60, false), 0);  // nothing missing any more
}

TEST_F(TileCacheTest, SlotsGoRoundRobinAndPurgedTilesAreFetchedAgain) {
  bool present = false;
  kn::KnHandle handle = 0;
  ASSERT_EQ(TileCacheLoad(canvas_, 1, &present, &handle), kOk);
  EXPECT_FALSE(present);
  ASSERT_EQ(TileCacheLoad(canvas_, 1, &present, &handle), kOk);
  EXPECT_TRUE(present);
  EXPECT_EQ(kn::PurgeUnlockedHandles(), 1);
  ASSERT_EQ(TileCacheLoad(canvas_, 1, &present, &handle), kOk);
  EXPECT_FALSE(present);  // its memory was purged: read again
  EXPECT_EQ(canvas_->cache.lastSlot, 1);
  EXPECT_EQ(TileCacheLoad(canvas_, 1 + 192, &present, &handle), kErrTileRange);
  EXPECT_EQ(TileCacheLoad(canvas_, 0, &present, &handle), kErrTileRange);
  EXPECT_EQ(TileCacheLoad(canvas_, 40, &present, &handle), kErrMissing);  // the track has 32 samples

  TileCacheReset(&canvas_->cache);
  for (int i = 0; i < 192; ++i) canvas_->cache.slotSample[i] = 5000;  // every slot taken
  canvas_->cache.lastSlot = 191;
  ASSERT_EQ(TileCacheLoad(canvas_, 2, &present, &handle), kOk);
  EXPECT_EQ(canvas_->cache.lastSlot, 0);  // the 193rd tile reuses slot 0
  EXPECT_EQ(canvas_->cache.sampleMap[1], 0);
}

TEST_F(TileCacheTest, IdleFetchesOneTileRightAfterADrawAndMoreWhenCallsFollowQuickly) {
  TileCacheFill(canvas_, 0, 0, 127, 100, false);  // draw: rows 0 and 1 decoded
  EXPECT_EQ(TileCacheFill(canvas_, 0, 0, 127, 100, true), 1);
  gNow += 100;
  const int more = TileCacheFill(canvas_, 0, 0, 127, 100, true);
  EXPECT_EQ(more, 2);  // as many as visible tile rows
  gNow += 600;
  EXPECT_EQ(TileCacheFill(canvas_, 0, 0, 127, 100, true), 1);  // a pause: one again
}

TEST_F(TileCacheTest, HeldWindowMovesDownAndUpForAPartialRow) {
  TileCanvas* partial = TileCanvasCreate(64, 64, 4, 1, 24, nullptr);  // one of the two tiles down a row
  TileCanvasSetGrid(partial, 16, 2);
  TileCanvasSetTrack(partial, file_->image);
  TileCanvasSetFirstSample(partial, 1);
  EXPECT_EQ(TileCanvasHeldHeight(partial), 64);
  EXPECT_EQ(TileCacheFill(partial, 0, 0, 10, 60, false), 1);
  EXPECT_EQ(partial->firstHeldIndex, 0);
  EXPECT_EQ(TileCacheFill(partial, 70, 0, 100, 60, false), 1);  // the lower tile: the window moves down
  EXPECT_EQ(partial->firstHeldIndex, 1);
  EXPECT_EQ(partial->decoded[TileCanvasTileNumber(partial, 0, 0)], 0);
  EXPECT_EQ(partial->decoded[TileCanvasTileNumber(partial, 0, 1)], 1);
  // Pixel 70 of line 10 is at 70 - 64 within the held window: green = 2 x 70.
  EXPECT_EQ(partial->pixels[partial->lineBytes * 10 + 3 * 6 + 1], 140);
  EXPECT_EQ(TileCacheFill(partial, 0, 0, 10, 60, false), 1);  // and back up
  EXPECT_EQ(partial->firstHeldIndex, 0);
  TileCanvasFree(partial);
}

}  // namespace
}  // namespace panotest
