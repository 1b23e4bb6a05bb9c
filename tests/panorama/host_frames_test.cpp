// The stand-in host's own controller over a movie of frames: the frame
// track read from a movie written out by hand from the atom layouts, the
// frame shown at each time, and the control bar the bounds make room for.
#include <cstring>

#include "hand_bytes.h"
#include "kn_components.h"
#include "kn_frames.h"
#include "kn_movie.h"
#include "pano_fixture.h"

namespace panotest {
namespace {

// Two frames of 2 x 2 pixels in one chunk: frame 0 a red row over a green
// and a blue pixel, frame 1 a black row over a white one.
handbytes::HandFile TwoFrameMovie() {
  handbytes::HandFile f;
  f.Be32(0, 27);
  f.Text(4, "mdat");
  f.Put(8, {0x80, 0xFF, 0x00, 0x00, 0x01, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF});  // repeat 2 red; 2 literals
  f.Put(19, {0x80, 0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF});                   // 2 black; 2 white
  f.Be32(27, 450);
  f.Text(31, "moov");
  f.Be32(35, 108);
  f.Text(39, "mvhd");
  f.Be32(55, 600);  // time scale
  f.Be32(59, 120);  // duration: 60 a frame
  f.Be32(143, 334);
  f.Text(147, "trak");
  f.Be32(151, 92);
  f.Text(155, "tkhd");
  f.Be32(159, 3);
  f.Be32(235, 2 << 16);
  f.Be32(239, 2 << 16);
  f.Be32(243, 234);
  f.Text(247, "mdia");
  f.Be32(251, 32);
  f.Text(255, "hdlr");
  f.Text(263, "mhlr");
  f.Text(267, "vide");
  f.Be32(283, 194);
  f.Text(287, "minf");
  f.Be32(291, 186);
  f.Text(295, "stbl");
  f.Be32(299, 102);
  f.Text(303, "stsd");
  f.Be32(311, 1);
  f.Be32(315, 86);  // the image description
  f.Text(319, "knrl");
  f.Be16(347, 2);
  f.Be16(349, 2);
  f.Be16(397, 24);
  f.Be16(399, 0xFFFF);
  f.Be32(401, 28);
  f.Text(405, "stsc");
  f.Be32(413, 1);
  f.Be32(417, 1);  // from chunk 1 on
  f.Be32(421, 2);  // two samples a chunk
  f.Be32(425, 1);
  f.Be32(429, 20);
  f.Text(433, "stco");
  f.Be32(441, 1);
  f.Be32(445, 8);
  f.Be32(449, 28);
  f.Text(453, "stsz");
  f.Be32(465, 2);
  f.Be32(469, 11);
  f.Be32(473, 8);
  return f;
}

class HostFramesTest : public PanoHostTest {
 protected:
  void SetUp() override {
    PanoHostTest::SetUp();
    kn::InitializeHost();
  }
  kn::Movie* Open(const builder::Bytes& bytes) { return kn::AsMovie(OpenMovie(bytes, "frames.mov")); }
  // A standard controller over the movie, made with the given flags.
  std::intptr_t Controller(kn::Movie* movie, std::intptr_t flags, kn::KnRect box) {
    const std::intptr_t args[4] = {reinterpret_cast<std::intptr_t>(movie), reinterpret_cast<std::intptr_t>(&box), flags,
                                   0};
    return kn::MediaEntry(kn::kKnNewMovieController, args, 4);
  }
  static kn::StandardController* Record(std::intptr_t controller) {
    const std::intptr_t args[1] = {controller};
    return reinterpret_cast<kn::StandardController*>(kn::ManagerEntry(kn::kGroupManager, kn::kCmGetStorage, args, 1));
  }
};

TEST_F(HostFramesTest, TheFramesOfAChunkAreFoundAndDecoded) {
  const handbytes::HandFile file = TwoFrameMovie();
  kn::Movie* movie = Open(file.bytes());
  ASSERT_NE(movie, nullptr);
  ASSERT_TRUE(movie->frames.Has());
  EXPECT_EQ(movie->frames.offsets, (std::vector<std::uint32_t>{8, 19}));
  EXPECT_EQ(movie->frames.sizes, (std::vector<std::uint32_t>{11, 8}));
  EXPECT_EQ(movie->frames.width, 2);
  EXPECT_EQ(movie->frames.depth, 24);
  EXPECT_EQ(kn::FrameAt(movie->frames, 0, 120), 0);
  EXPECT_EQ(kn::FrameAt(movie->frames, 59, 120), 0);
  EXPECT_EQ(kn::FrameAt(movie->frames, 60, 120), 1);
  EXPECT_EQ(kn::FrameAt(movie->frames, 120, 120), 1);  // the end shows the last frame

  kn::DecodedFrame frame;
  ASSERT_TRUE(kn::DecodeFrame(movie->path, movie->frames, 0, &frame));
  EXPECT_EQ(frame.rowBytes, 8);  // 6 bytes of pixels, rounded up to 4
  // Blue, green, red: row 0 red, red; row 1 green, blue.
  EXPECT_EQ(std::vector<std::uint8_t>(frame.pixels.begin(), frame.pixels.begin() + 6),
            (std::vector<std::uint8_t>{0, 0, 255, 0, 0, 255}));
  EXPECT_EQ(std::vector<std::uint8_t>(frame.pixels.begin() + 8, frame.pixels.begin() + 14),
            (std::vector<std::uint8_t>{0, 255, 0, 255, 0, 0}));
  EXPECT_FALSE(kn::DecodeFrame(movie->path, movie->frames, 2, &frame));
}

TEST_F(HostFramesTest, ThePlayingControllerShowsTheFrameOfItsTime) {
  const handbytes::HandFile file = TwoFrameMovie();
  kn::Movie* movie = Open(file.bytes());
  ASSERT_NE(movie, nullptr);
  const std::intptr_t controller = Controller(movie, 3, {0, 0, 2, 2});
  ASSERT_NE(controller, 0);
  kn::StandardController* record = Record(controller);
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(record->bar);
  EXPECT_EQ(record->bounds.bottom, 2 + kn::kControlBarHeight);  // room for the bar under the movie
  const kn::DecodedFrame* shown = kn::CurrentFrame(*record);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->pixels[2], 255);  // red
  kn::PlayOrStop(*record, true);
  EXPECT_FALSE(kn::AdvanceStandardController(*record, 100));  // 60 units at 600 a second
  EXPECT_EQ(movie->time, 60);
  shown = kn::CurrentFrame(*record);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->pixels[2], 0);                            // black
  EXPECT_EQ(shown->pixels[8], 255);                          // white
  EXPECT_TRUE(kn::AdvanceStandardController(*record, 200));  // on to the end, where it stops
  EXPECT_EQ(record->rate, 0);
  kn::PlayOrStop(*record, true);  // played from the end: from the start
  EXPECT_EQ(movie->time, 0);
  kn::CloseComponent(controller);

  // A named file's controller (flag 8) has no bar.
  const std::intptr_t plain = Controller(movie, 11, {0, 0, 2, 2});
  ASSERT_NE(plain, 0);
  EXPECT_FALSE(Record(plain)->bar);
  EXPECT_EQ(Record(plain)->bounds.bottom, 2);
  kn::CloseComponent(plain);
}

TEST_F(HostFramesTest, AShortTableLeavesAMovieWithoutFrames) {
  handbytes::HandFile file = TwoFrameMovie();
  file.Be32(465, 3);  // three sizes claimed, two stored
  kn::Movie* movie = Open(file.bytes());
  ASSERT_NE(movie, nullptr);  // still a movie: it plays its time without pictures
  EXPECT_FALSE(movie->frames.Has());
  file = TwoFrameMovie();
  file.Be32(445, 470);  // the samples past the end of the file
  movie = Open(file.bytes());
  ASSERT_NE(movie, nullptr);
  ASSERT_TRUE(movie->frames.Has());
  kn::DecodedFrame frame;
  EXPECT_FALSE(kn::DecodeFrame(movie->path, movie->frames, 1, &frame));
  file = TwoFrameMovie();
  file.Be16(347, 0);  // a frame of no width
  movie = Open(file.bytes());
  ASSERT_NE(movie, nullptr);
  EXPECT_FALSE(movie->frames.Has());
}

}  // namespace
}  // namespace panotest
