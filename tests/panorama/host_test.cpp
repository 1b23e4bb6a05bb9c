// The stand-in media host the plug-in runs on: memory handles that can be
// purged, the component manager, our codec's refusals, and what it reads of
// movies (box, duration, frames, user data, the controller a movie needs),
// the movie services' start and end, and the checks on packed bitmaps.
#include <cstring>
#include <vector>

#include "kn_components.h"
#include "kn_movie.h"
#include "media/media_sample.h"
#include "pano_fixture.h"

namespace panotest {
namespace {

class HostTest : public PanoHostTest {};

TEST_F(HostTest, HandlesResizeLockAndPurge) {
  const kn::KnHandle h = kn::NewHandle(16);
  ASSERT_NE(h, 0);
  std::memset(kn::HandlePointer(h), 7, 16);
  ASSERT_EQ(kn::SetHandleSize(h, 64), 0);
  EXPECT_EQ(kn::GetHandleSize(h), 64);
  EXPECT_EQ(static_cast<std::uint8_t*>(kn::HandlePointer(h))[15], 7);  // kept across the resize
  void* block = kn::HandlePointer(h);
  ASSERT_EQ(kn::SetHandleSize(h, 40), 0);  // within the block: the same memory
  EXPECT_EQ(kn::HandlePointer(h), block);
  EXPECT_EQ(kn::GetHandleSize(h), 40);
  ASSERT_EQ(kn::SetHandleSize(h, 64), 0);
  EXPECT_EQ(kn::HandlePointer(h), block);
  kn::LockHandle(h);
  EXPECT_EQ(kn::PurgeUnlockedHandles(), 0);  // locked memory stays
  kn::UnlockHandle(h);
  EXPECT_EQ(kn::PurgeUnlockedHandles(), 1);
  EXPECT_EQ(kn::HandlePointer(h), nullptr);
  EXPECT_EQ(kn::GetHandleSize(h), 0);
  ASSERT_EQ(kn::SetHandleSize(h, 8), 0);  // a purged handle takes new memory
  EXPECT_NE(kn::HandlePointer(h), nullptr);
  kn::DisposeHandle(h);
  EXPECT_EQ(kn::LiveHandles(), 0);
  EXPECT_EQ(kn::SetHandleSize(h, 8), -108);
  kn::FailMemoryAfter(0);
  EXPECT_EQ(kn::NewHandle(8), 0);
  EXPECT_EQ(kn::GetMemory(8), nullptr);
}

TEST_F(HostTest, ManagerFindsOpensAndKeepsStorage) {
  const std::intptr_t find[3] = {0, static_cast<std::intptr_t>(kn::Tag("dcmp")),
                                 static_cast<std::intptr_t>(kn::Tag("knrl"))};
  const std::intptr_t codec = kn::ManagerEntry(kn::kGroupManager, kn::kCmFindNext, find, 3);
  ASSERT_GT(codec, 0);
  const std::intptr_t next[3] = {codec, find[1], find[2]};
  EXPECT_EQ(kn::ManagerEntry(kn::kGroupManager, kn::kCmFindNext, next, 3), 0);
  kn::KnComponentDescription description{};
  const std::intptr_t describe[2] = {codec, reinterpret_cast<std::intptr_t>(&description)};
  EXPECT_EQ(kn::ManagerEntry(kn::kGroupManager, kn::kCmDescribe, describe, 2), 0);
  EXPECT_EQ(description.subtype, kn::Tag("knrl"));
  char name[8] = {};
  const std::intptr_t file[3] = {codec, reinterpret_cast<std::intptr_t>(name), sizeof name};
  EXPECT_EQ(kn::ManagerEntry(kn::kGroupManager, kn::kCmFileName, file, 3), 7);
  EXPECT_STREQ(name, "KNIM32.");  // cut to the buffer

  const std::intptr_t instance = kn::OpenComponent(static_cast<std::int32_t>(codec));
  ASSERT_NE(instance, 0);
  const std::intptr_t storage[1] = {instance};
  EXPECT_NE(kn::ManagerEntry(kn::kGroupManager, kn::kCmGetStorage, storage, 1), 0);  // the codec keeps its state
  kn::CloseComponent(instance);
  EXPECT_EQ(kn::ManagerEntry(kn::kGroupManager, kn::kCmGetStorage, storage, 1), 0);
  const std::intptr_t call[2] = {instance, 0};
  EXPECT_EQ(kn::ManagerEntry(kn::kGroupDecompressor, kn::kDcBusy, call, 2), static_cast<std::int32_t>(0x80008002u));
  EXPECT_EQ(kn::MediaEntry(999, nullptr, 0), static_cast<std::int32_t>(0x80008002u));
}

TEST_F(HostTest, CodecRefusesWhatItCannotWrite) {
  const std::intptr_t instance = kn::OpenDefaultComponent(kn::Tag("dcmp"), kn::Tag("knrl"));
  ASSERT_NE(instance, 0);
  kn::KnDecompressPrepare prepare{};
  prepare.width = 4;
  prepare.height = 4;
  prepare.depth = 24;
  prepare.outputMode = 5;  // palette indexes from 24-bit pixels: no
  const std::intptr_t params[1] = {reinterpret_cast<std::intptr_t>(&prepare)};
  EXPECT_NE(kn::CallInstance(instance, kn::kDcPrepare, params, 1), 0);
  prepare.depth = 8;  // indexes without a table: no
  EXPECT_NE(kn::CallInstance(instance, kn::kDcPrepare, params, 1), 0);
  prepare.depth = 16;
  prepare.outputMode = 6;
  EXPECT_NE(kn::CallInstance(instance, kn::kDcPrepare, params, 1), 0);
  prepare.depth = 24;
  prepare.pixelBytes = 3;  // 5-5-5 pixels are two bytes: no
  EXPECT_NE(kn::CallInstance(instance, kn::kDcPrepare, params, 1), 0);
  prepare.pixelBytes = 2;
  EXPECT_EQ(kn::CallInstance(instance, kn::kDcPrepare, params, 1), 0);
  kn::KnDecompressCall call{};
  const std::intptr_t decode[1] = {reinterpret_cast<std::intptr_t>(&call)};
  EXPECT_NE(kn::CallInstance(instance, kn::kDcDecompress, decode, 1), 0);  // nothing prepared
  kn::CloseComponent(instance);
}

TEST_F(HostTest, MoviesTellTheirBoxFramesUserDataAndController) {
  const std::intptr_t movie = OpenMovie(bp::BuildObjectMovie(ObjectGrid(4, 2, 20, 10)), "object.mov");
  kn::Movie* m = kn::AsMovie(movie);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->controllerSubtype, kn::Tag("stna"));
  kn::KnRect box{};
  const std::intptr_t boxArgs[2] = {movie, reinterpret_cast<std::intptr_t>(&box)};
  EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieBox, boxArgs, 2), 0);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.bottom, 10);
  const std::intptr_t one[1] = {movie};
  EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieFrameCount, one, 1), 8);
  EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieDuration, one, 1), 8 * 60);
  const kn::KnHandle h = kn::NewHandle(0);
  const std::intptr_t item[4] = {movie, h, static_cast<std::intptr_t>(kn::Tag("NAVG")), 1};
  EXPECT_EQ(kn::MediaEntry(kn::kKnGetUserDataItem, item, 4), 0);
  EXPECT_EQ(kn::GetHandleSize(h), 44);
  const std::intptr_t second[4] = {movie, h, static_cast<std::intptr_t>(kn::Tag("NAVG")), 2};
  EXPECT_NE(kn::MediaEntry(kn::kKnGetUserDataItem, second, 4), 0);
  kn::DisposeHandle(h);
  char path[4];
  const std::intptr_t pathArgs[3] = {movie, reinterpret_cast<std::intptr_t>(path), sizeof path};
  EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieFilePath, pathArgs, 3), -2042);  // a buffer too small is refused

  const std::intptr_t pano = OpenMovie(bp::BuildPanoramaMovie(SmallPanorama()), "pano.mov");
  EXPECT_EQ(kn::AsMovie(pano)->controllerSubtype, kn::Tag("STpn"));
  // Without the plug-in registered there is no controller for a panorama.
  kn::KnRect rect{0, 0, 64, 48};
  const std::intptr_t make[4] = {pano, reinterpret_cast<std::intptr_t>(&rect), 3, 0};
  EXPECT_EQ(kn::MediaEntry(kn::kKnNewMovieController, make, 4), 0);
  std::intptr_t reference = 0;
  EXPECT_NE(kn::OpenMovieFile(dir_.File("missing.mov").c_str(), &reference), 0);
}

// The box is the tracks' largest size rounded (16.16, signed). A track whose
// size rounds below 0 or past 32767 pixels makes no box: the movie is one the
// host cannot read. Sizes at the edges still open.
TEST_F(HostTest, ATrackSizeThatMakesNoBoxRefusesTheMovie) {
  const builder::Bytes built = bp::BuildObjectMovie(ObjectGrid(4, 2, 20, 10));
  const auto width = static_cast<std::size_t>(FindAtom(built, "tkhd")) + 84;
  struct Case {
    std::uint32_t width;
    std::int32_t result;
    int right = 0;
  };
  for (const Case& c : {Case{0x7FFF7FFF, 0, 32767}, Case{0x7FFF, 0, 0}, Case{0xFFFF8000, 0, 0}, Case{0x7FFF8000, -2048},
                        Case{0x7FFFFFFF, -2048}, Case{0xFFFF0000, -2048}, Case{0x80000000, -2048}}) {
    builder::Bytes bytes = built;
    for (int i = 0; i < 4; ++i) bytes[width + i] = static_cast<std::uint8_t>(c.width >> (24 - 8 * i));
    std::intptr_t reference = 0, movie = 0;
    ASSERT_EQ(kn::OpenMovieFile(WriteFile(bytes, "sized.mov").c_str(), &reference), 0);
    EXPECT_EQ(kn::NewMovieFromFile(&movie, reference), c.result) << std::hex << c.width;
    kn::CloseMovieFile(reference);
    if (c.result != 0) continue;
    kn::KnRect box{};
    const std::intptr_t boxArgs[2] = {movie, reinterpret_cast<std::intptr_t>(&box)};
    EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieBox, boxArgs, 2), 0);
    EXPECT_EQ(box.right, c.right) << std::hex << c.width;
    EXPECT_EQ(box.bottom, 10);
    kn::DisposeMovie(movie);
  }
}

TEST_F(HostTest, MovieServicesCountTheirUsersAndTheLastEndDisposesMovies) {
  EXPECT_EQ(kn::MediaEntry(kn::kKnExitMovies, nullptr, 0), 0);  // an end without a start does nothing
  EXPECT_EQ(kn::MovieServiceUsers(), 0);
  EXPECT_EQ(kn::MediaEntry(kn::kKnEnterMovies, nullptr, 0), 0);
  EXPECT_EQ(kn::MediaEntry(kn::kKnEnterMovies, nullptr, 0), 0);
  const std::intptr_t movie = OpenMovie(bp::BuildObjectMovie(ObjectGrid(2, 1, 8, 8)), "object.mov");
  ASSERT_NE(kn::AsMovie(movie), nullptr);
  kn::MediaEntry(kn::kKnExitMovies, nullptr, 0);
  EXPECT_NE(kn::AsMovie(movie), nullptr);  // another user still has the services
  kn::MediaEntry(kn::kKnExitMovies, nullptr, 0);
  EXPECT_EQ(kn::AsMovie(movie), nullptr);
  EXPECT_EQ(kn::MovieServiceUsers(), 0);
}

TEST_F(HostTest, TheStandardControllerPlaysItsMovieToTheEndOnce) {
  // Ten seconds at 600 units a second.
  const std::intptr_t movie = OpenMovie(builder::media::BuildPlainMovie(320, 240, 600, 6000), "intro.mov");
  kn::KnRect box{0, 0, 320, 240};
  const std::intptr_t make[4] = {movie, reinterpret_cast<std::intptr_t>(&box), 11, 0};
  const std::intptr_t controller = kn::MediaEntry(kn::kKnNewMovieController, make, 4);
  ASSERT_NE(controller, 0);
  const auto play = [&](std::int32_t rate) {
    const std::intptr_t action[3] = {controller, kn::kMcActionPlay, rate};
    kn::MediaEntry(kn::kKnControllerAction, action, 3);
  };
  const auto playing = [&] {
    std::int32_t state = 0;
    const std::intptr_t ask[2] = {controller, reinterpret_cast<std::intptr_t>(&state)};
    kn::MediaEntry(kn::kKnControllerState, ask, 2);
    return (state & 0x40) != 0;
  };
  auto& standard = *reinterpret_cast<kn::StandardController*>(
      kn::ManagerEntry(kn::kGroupManager, kn::kCmGetStorage, &controller, 1));
  const std::intptr_t one[1] = {movie};

  EXPECT_FALSE(kn::AdvanceStandardController(standard, 1000));  // stopped: the time stays
  EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieTime, one, 1), 0);
  play(0x10000);
  EXPECT_TRUE(playing());
  for (int step = 0; step < 3; ++step) EXPECT_FALSE(kn::AdvanceStandardController(standard, 333));
  EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieTime, one, 1), 599);  // 999 ms, the rest kept
  EXPECT_FALSE(kn::AdvanceStandardController(standard, 1));
  EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieTime, one, 1), 600);
  EXPECT_TRUE(kn::AdvanceStandardController(standard, 60000));  // past the end: it stops there
  EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieTime, one, 1), 6000);
  EXPECT_FALSE(playing());
  EXPECT_FALSE(kn::AdvanceStandardController(standard, 100));  // the end is reported once
  play(0x20000);  // played from its end, the movie starts again, here at twice the speed
  EXPECT_FALSE(kn::AdvanceStandardController(standard, 500));
  EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieTime, one, 1), 600);
  const std::intptr_t dispose[1] = {controller};
  kn::MediaEntry(kn::kKnDisposeController, dispose, 1);
}

// A file's time scale and a caller's rate and step can be anything: a step
// whose units run past 64 bits, or a movie without a positive scale, plays to
// the end at once; nothing overflows and the time never runs backwards.
TEST_F(HostTest, TheStandardControllerEndsMoviesItCannotTime) {
  for (const std::uint32_t scale : {0x7FFFFFFFu, 0u, 0x80000000u}) {
    const std::intptr_t movie = OpenMovie(builder::media::BuildPlainMovie(320, 240, scale, 6000), "odd.mov");
    kn::KnRect box{0, 0, 320, 240};
    const std::intptr_t make[4] = {movie, reinterpret_cast<std::intptr_t>(&box), 11, 0};
    const std::intptr_t controller = kn::MediaEntry(kn::kKnNewMovieController, make, 4);
    ASSERT_NE(controller, 0);
    const std::intptr_t action[3] = {controller, kn::kMcActionPlay, 0x7FFFFFFF};
    kn::MediaEntry(kn::kKnControllerAction, action, 3);
    auto& standard = *reinterpret_cast<kn::StandardController*>(
        kn::ManagerEntry(kn::kGroupManager, kn::kCmGetStorage, &controller, 1));
    const std::intptr_t one[1] = {movie};
    EXPECT_TRUE(kn::AdvanceStandardController(standard, 0x7FFFFFFF)) << scale;
    EXPECT_EQ(kn::MediaEntry(kn::kKnGetMovieTime, one, 1), 6000) << scale;
    const std::intptr_t dispose[1] = {controller};
    kn::MediaEntry(kn::kKnDisposeController, dispose, 1);
  }
}

// A packed bitmap: the 40-byte header, the colour table and the rows.
std::vector<std::uint8_t> PackedBitmap(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t used,
                                       std::size_t tableAndBits) {
  std::vector<std::uint8_t> bytes(40 + tableAndBits);
  const auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, static_cast<std::uint32_t>(width));
  put32(8, static_cast<std::uint32_t>(height));
  bytes[12] = 1;
  bytes[14] = static_cast<std::uint8_t>(bits);
  put32(32, used);
  return bytes;
}

TEST_F(HostTest, PackedBitmapsAreMeasuredAndDamagedOnesRefused) {
  // 8 bits, 3 x 2: 256 colours, rows of 4 bytes.
  std::vector<std::uint8_t> eight = PackedBitmap(3, 2, 8, 0, 1024 + 8);
  EXPECT_EQ(kn::PackedBitmapSize(eight.data(), eight.size()), 40 + 1024 + 8);
  // Bytes past the bitmap are not part of it; one byte short is refused.
  eight.push_back(0);
  EXPECT_EQ(kn::PackedBitmapSize(eight.data(), eight.size()), 40 + 1024 + 8);
  EXPECT_EQ(kn::PackedBitmapSize(eight.data(), 40 + 1024 + 7), 0);
  // A top-down 24-bit bitmap without a table; a 4-bit one with 3 colours used.
  const std::vector<std::uint8_t> deep = PackedBitmap(5, -3, 24, 0, 16 * 3);
  EXPECT_EQ(kn::PackedBitmapSize(deep.data(), deep.size()), 40 + 16 * 3);
  const std::vector<std::uint8_t> few = PackedBitmap(9, 1, 4, 3, 12 + 8);
  EXPECT_EQ(kn::PackedBitmapSize(few.data(), few.size()), 40 + 12 + 8);
  // More colours than the depth has, no width, a depth that is none, a
  // header shorter than its own size, and sizes past 32 bits.
  const std::vector<std::uint8_t> tooMany = PackedBitmap(1, 1, 1, 3, 64);
  EXPECT_EQ(kn::PackedBitmapSize(tooMany.data(), tooMany.size()), 0);
  const std::vector<std::uint8_t> noWidth = PackedBitmap(0, 1, 8, 0, 2048);
  EXPECT_EQ(kn::PackedBitmapSize(noWidth.data(), noWidth.size()), 0);
  const std::vector<std::uint8_t> odd = PackedBitmap(1, 1, 7, 0, 2048);
  EXPECT_EQ(kn::PackedBitmapSize(odd.data(), odd.size()), 0);
  std::vector<std::uint8_t> longHeader = PackedBitmap(1, 1, 24, 0, 4);
  longHeader[0] = 200;
  EXPECT_EQ(kn::PackedBitmapSize(longHeader.data(), longHeader.size()), 0);
  const std::vector<std::uint8_t> huge = PackedBitmap(0x7FFFFFFF, 0x7FFFFFFF, 32, 0, 64);
  EXPECT_EQ(kn::PackedBitmapSize(huge.data(), huge.size()), 0);
  EXPECT_EQ(kn::PackedBitmapSize(nullptr, 100), 0);
  EXPECT_EQ(kn::PackedBitmapSize(deep.data(), 39), 0);
}

// The standard controller's box: edges in 0..32767, right of and below its
// left and top (an empty box, a sound-only movie's, fits). Another is refused
// with the bad-parameter error and the box stays; a controller asked for
// one is not made.
TEST_F(HostTest, TheStandardControllerHoldsItsBoxToSixteenBits) {
  const std::intptr_t movie = OpenMovie(builder::media::BuildPlainMovie(320, 240, 600, 6000), "box.mov");
  kn::KnRect box{0, 0, 320, 240};
  const std::intptr_t make[4] = {movie, reinterpret_cast<std::intptr_t>(&box), 11, 0};
  const std::intptr_t controller = kn::MediaEntry(kn::kKnNewMovieController, make, 4);
  ASSERT_NE(controller, 0);
  const auto setBounds = [&](kn::KnRect rect) {
    const std::intptr_t params[1] = {reinterpret_cast<std::intptr_t>(&rect)};
    return kn::CallInstance(controller, kn::kMcSetBounds, params, 1);
  };
  const auto bounds = [&] {
    kn::KnRect now{};
    const std::intptr_t ask[2] = {controller, reinterpret_cast<std::intptr_t>(&now)};
    kn::MediaEntry(kn::kKnControllerBounds, ask, 2);
    return std::vector<std::int32_t>{now.left, now.top, now.right, now.bottom};
  };
  for (const kn::KnRect refused :
       {kn::KnRect{0, 0, 40000, 240}, kn::KnRect{0, 0, 65535, 240}, kn::KnRect{-2000000000, 0, 2000000000, 240},
        kn::KnRect{0, 0, 32768, 1}, kn::KnRect{-1, 0, 10, 10}, kn::KnRect{10, 0, 5, 10}, kn::KnRect{0, 10, 5, 0}}) {
    EXPECT_EQ(setBounds(refused), -50) << refused.left << " " << refused.right;
    EXPECT_EQ(bounds(), (std::vector<std::int32_t>{0, 0, 320, 240}));
  }
  EXPECT_EQ(setBounds(kn::KnRect{0, 0, 32767, 32767}), 0);
  EXPECT_EQ(bounds(), (std::vector<std::int32_t>{0, 0, 32767, 32767}));
  EXPECT_EQ(setBounds(kn::KnRect{}), 0);
  EXPECT_EQ(bounds(), (std::vector<std::int32_t>{0, 0, 0, 0}));
  const std::intptr_t dispose[1] = {controller};
  kn::MediaEntry(kn::kKnDisposeController, dispose, 1);

  kn::KnRect wide{0, 0, 40000, 240};
  const std::intptr_t makeWide[4] = {movie, reinterpret_cast<std::intptr_t>(&wide), 11, 0};
  EXPECT_EQ(kn::MediaEntry(kn::kKnNewMovieController, makeWide, 4), 0);
  EXPECT_TRUE(kn::BoxFits(kn::KnRect{}));
  EXPECT_FALSE(kn::BoxFits(kn::KnRect{0, 32768, 1, 32768}));
}

}  // namespace
}  // namespace panotest
