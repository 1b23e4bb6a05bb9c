// The vector runs against the roles they stand for: every level the
// processor has, every format and role, short and long runs, steps that fit
// the wide windows and steps that do not, reads up against the end of the
// readable bytes; and strips turned into rows.
#include "warp_runs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "warp_loops.h"

namespace {

using namespace pano;

constexpr int kLinePixels = 400;
constexpr int kGuard = 64;

struct Roles {
  SampleLineProc sample, nearest;
  SampleTwoLinesProc blend;
};
Roles RolesOf(int format) {
  LineLoops loops{};
  EXPECT_TRUE(LoopsForFormat(format, &loops));
  return Roles{loops.sample, loops.nearest, loops.blendPair};
}

TEST(WarpRunsTest, RunsDrawWhatTheRolesDraw) {
  if (RunLevelSupported() == kRunsNone) GTEST_SKIP() << "no vector unit";
  std::mt19937 random(16);
  for (int level = kRunsAvx2; level <= RunLevelSupported(); ++level) {
    SetRunLevel(level);
    for (const int format : {16, 17, 24}) {
      const int pb = format == 24 ? 3 : 2;
      RunLoops runs{};
      ASSERT_TRUE(RunLoopsFor(format, &runs));
      const Roles roles = RolesOf(format);
      // Two lines back to back; the readable end is the second line's last pixel, the
      // roles' own reads of the pixel after it fall into the spare bytes.
      std::vector<std::uint8_t> lines(2 * kLinePixels * pb + 16);
      for (auto& b : lines) b = static_cast<std::uint8_t>(random());
      const std::uint8_t* line1 = lines.data();
      const std::uint8_t* line2 = lines.data() + kLinePixels * pb;
      const std::uint8_t* readEnd = lines.data() + 2 * kLinePixels * pb;
      for (int trial = 0; trial < 600; ++trial) {
        const int count = 1 + static_cast<int>(random() % 70);
        const std::uint32_t step = trial % 3 == 0 ? random() % 1100 : random() % 6000;
        // The run stays on the second line: its last pixel at most the line's last.
        const std::uint32_t reach = step * static_cast<std::uint32_t>(count - 1);
        const std::uint32_t room = (kLinePixels - 1) * 1024u;
        if (reach > room) continue;
        const std::uint32_t position = random() % (room - reach + 1);
        const int role = trial % 3;
        std::vector<std::uint8_t> expected(static_cast<std::size_t>(count) * pb + kGuard, 0xA5);
        std::vector<std::uint8_t> actual(expected.size(), 0xA5);
        // The first line's run reads into the second, the second's up to the end.
        const std::uint8_t* source = trial % 2 == 0 ? line2 : line1;
        if (role == 0) {
          roles.sample(count, source, position, step, expected.data(), pb);
          runs.sample(count, source, position, step, actual.data(), readEnd);
        } else if (role == 1) {
          roles.nearest(count, source, position, step, expected.data(), pb);
          runs.nearest(count, source, position, step, actual.data(), readEnd);
        } else {
          roles.blend(count, line1, line2, position, step, expected.data(), pb);
          runs.blendPair(count, line1, line2, position, step, actual.data(), readEnd);
        }
        ASSERT_EQ(actual, expected) << "level " << level << " format " << format << " role " << role << " count "
                                    << count << " position " << position << " step " << step;
      }
    }
  }
  SetRunLevel(-1);
}

TEST(WarpRunsTest, StripsBecomeRows) {
  if (RunLevelSupported() == kRunsNone) GTEST_SKIP() << "no vector unit";
  std::mt19937 random(61);
  for (const int format : {16, 24}) {
    const int pb = format == 24 ? 3 : 2;
    RunLoops runs{};
    ASSERT_TRUE(RunLoopsFor(format, &runs));
    for (const auto& [columns, height] : {std::pair{16, 24}, std::pair{9, 37}, std::pair{1, 5}, std::pair{16, 1}}) {
      std::vector<std::uint8_t> strip(static_cast<std::size_t>(kStripColumns) * height * pb + 16);
      for (auto& b : strip) b = static_cast<std::uint8_t>(random());
      const std::int32_t rowBytes = (columns + 3) * pb;
      std::vector<std::uint8_t> frame(static_cast<std::size_t>(rowBytes) * height, 0x5A);
      std::vector<std::uint8_t> expected = frame;
      for (int y = 0; y < height; ++y) {
        for (int c = 0; c < columns; ++c) {
          std::memcpy(&expected[static_cast<std::size_t>(rowBytes) * y + c * pb],
                      &strip[(static_cast<std::size_t>(c) * height + y) * pb], pb);
        }
      }
      runs.stripToRows(strip.data(), height, columns, height, frame.data(), rowBytes);
      EXPECT_EQ(frame, expected) << "format " << format << ", " << columns << " columns of " << height;
    }
  }
}

}  // namespace
