// The vector runs against the roles they stand for: every level the
// processor has, every format and role, short and long runs, steps that fit
// the wide windows and steps that do not, and runs aimed at the bounds with
// nothing readable after the bytes they may read (a page that cannot be read
// follows, so one byte too many faults in every tree); and strips turned into
// rows.
#include "warp_runs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "guarded_bytes.h"
#include "warp_loops.h"

namespace {

using namespace pano;

constexpr int kGuard = 64;

// The bytes a run may read from the first byte of a pixel it samples: that
// pixel and the next, and at 24 bits one byte more (warp_runs.h).
int ReadSpan(int pb) { return pb == 2 ? 4 : 7; }

struct Roles {
  SampleLineProc sample, nearest;
  SampleTwoLinesProc blend;
};
Roles RolesOf(int format) {
  LineLoops loops{};
  EXPECT_TRUE(LoopsForFormat(format, &loops));
  return Roles{loops.sample, loops.nearest, loops.blendPair};
}

// One run: role 0 (A) and 1 (B) sample line2, role 2 (D) blends both lines.
struct Trial {
  int role, count;
  std::uint32_t position, step;
  const std::uint8_t* line1;
  const std::uint8_t* line2;
  const std::uint8_t* readEnd;
};

// The role and its vector run draw the same pixels, and neither writes past them.
::testing::AssertionResult SameAsTheRole(const RunLoops& runs, const Roles& roles, int pb, const Trial& t) {
  std::vector<std::uint8_t> expected(static_cast<std::size_t>(t.count) * pb + kGuard, 0xA5);
  std::vector<std::uint8_t> actual(expected.size(), 0xA5);
  if (t.role == 0) {
    roles.sample(t.count, t.line2, t.position, t.step, expected.data(), pb);
    runs.sample(t.count, t.line2, t.position, t.step, actual.data(), t.readEnd);
  } else if (t.role == 1) {
    roles.nearest(t.count, t.line2, t.position, t.step, expected.data(), pb);
    runs.nearest(t.count, t.line2, t.position, t.step, actual.data(), t.readEnd);
  } else {
    roles.blend(t.count, t.line1, t.line2, t.position, t.step, expected.data(), pb);
    runs.blendPair(t.count, t.line1, t.line2, t.position, t.step, actual.data(), t.readEnd);
  }
  if (actual == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "role " << t.role << " count " << t.count << " position " << t.position
                                       << " step " << t.step << " readable to line2 + " << (t.readEnd - t.line2);
}

// Random bytes that end at a guard page.
GuardedBytes& Source(std::mt19937& random) {
  static GuardedBytes bytes(3 * 2048 * 3 + 4096);
  for (std::uint8_t* p = bytes.end() - bytes.size(); p < bytes.end(); ++p) *p = static_cast<std::uint8_t>(random());
  return bytes;
}

// Calls check(pb, runs, roles, bytes) for every format at every vector
// level, with fresh random bytes.
template <class Check>
void AtEveryLevelAndFormat(std::mt19937& random, Check check) {
  for (int level = kRunsAvx2; level <= RunLevelSupported() && !::testing::Test::HasFatalFailure(); ++level) {
    SetRunLevel(level);
    for (const int format : {16, 17, 24}) {
      SCOPED_TRACE("level " + std::to_string(level) + " format " + std::to_string(format));
      RunLoops runs{};
      ASSERT_TRUE(RunLoopsFor(format, &runs));
      check(format == 24 ? 3 : 2, runs, RolesOf(format), Source(random));
      if (::testing::Test::HasFatalFailure()) break;
    }
  }
  SetRunLevel(-1);
}

TEST(WarpRunsTest, RunsDrawWhatTheRolesDraw) {
  if (RunLevelSupported() == kRunsNone) GTEST_SKIP() << "no vector unit";
  constexpr int kLinePixels = 400;
  std::mt19937 random(16);
  AtEveryLevelAndFormat(random, [&](int pb, const RunLoops& runs, const Roles& roles, const GuardedBytes& bytes) {
    // Two lines back to back; the readable end given to the runs is the
    // second line's last pixel, after which only the bytes a run may read
    // past a pixel can be read.
    const std::uint8_t* line1 = bytes.end() - 2 * kLinePixels * pb - (ReadSpan(pb) - pb);
    const std::uint8_t* line2 = line1 + kLinePixels * pb;
    for (int trial = 0; trial < 600; ++trial) {
      const int count = 1 + static_cast<int>(random() % 70);
      const std::uint32_t step = trial % 3 == 0 ? random() % 1100 : random() % 6000;
      // The run stays on its line: its last pixel at most the line's last.
      const std::uint32_t reach = step * static_cast<std::uint32_t>(count - 1);
      const std::uint32_t room = (kLinePixels - 1) * 1024u;
      if (reach > room) continue;
      const std::uint32_t position = random() % (room - reach + 1);
      // A run on the first line reads into the second, one on the second up to the end.
      const bool first = trial % 2 != 0 && trial % 3 != 2;
      const Trial t{trial % 3, count, position, step, line1, first ? line1 : line2, line2 + kLinePixels * pb};
      ASSERT_TRUE(SameAsTheRole(runs, roles, pb, t));
    }
  });
}

// Steps that put the sixteen lanes of an AVX-512 vector, from a first lane
// of the given fraction, at most at pixel `last` from the first lane's (the
// largest such step), and one more.
std::vector<std::uint32_t> StepsReaching(std::uint32_t last, std::uint32_t fraction) {
  const std::uint32_t step = (last * 1024 + 1023 - fraction) / 15;
  return {step, step + 1};
}

// Every run here ends at the bounds. Either its last pixel is its line's
// last, with the bytes a run may read past it the last readable ones, and the
// readable end given to the run right after that pixel or after those bytes;
// or one vector of lanes starts inside the line and the readable end lies
// exactly where an AVX-512 window from the first lane would end (128 or 192
// bytes), or one byte short of it, with nothing readable beyond. The steps
// put the lanes at the largest pixel a window takes (62 and 94 for 16-bit
// pixels, 40 and 61 for 24-bit ones) and one past it, beside short and long ones.
TEST(WarpRunsTest, RunsAimedAtTheBoundsReadNothingPastTheirBytes) {
  if (RunLevelSupported() == kRunsNone) GTEST_SKIP() << "no vector unit";
  constexpr int kLinePixels = 2048;
  std::mt19937 random(27);
  const std::uint32_t fractions[] = {0, 0x1FF, 0x200, 0x3FF};
  int trials = 0;
  AtEveryLevelAndFormat(random, [&](int pb, const RunLoops& runs, const Roles& roles, const GuardedBytes& bytes) {
    std::vector<std::uint32_t> steps = {0, 1, 511, 512, 1023, 1024, 1025, 3000, 6000, 20000};
    const std::vector<std::uint32_t> windowLasts =
        pb == 2 ? std::vector<std::uint32_t>{62, 94} : std::vector<std::uint32_t>{40, 61};
    for (const std::uint32_t last : windowLasts) {
      for (const std::uint32_t fraction : fractions) {
        for (const std::uint32_t step : StepsReaching(last, fraction)) steps.push_back(step);
      }
    }
    // The lines laid out so that `readable` bytes from the first line's start are all there is.
    auto lines = [&](std::size_t readable, const std::uint8_t** line1, const std::uint8_t** line2) {
      *line1 = bytes.end() - readable;
      *line2 = *line1 + kLinePixels * pb;
    };
    for (const int role : {0, 1, 2}) {
      for (const std::uint32_t step : steps) {
        for (const std::uint32_t fraction : fractions) {
          // The last pixel is the line's last.
          for (const int count : {1, 7, 8, 9, 15, 16, 17, 33, 80}) {
            const std::uint64_t lastPosition = (kLinePixels - 1) * 1024ull + fraction;
            const std::uint64_t reach = std::uint64_t{step} * static_cast<std::uint64_t>(count - 1);
            if (reach > lastPosition) continue;
            const std::uint32_t position = static_cast<std::uint32_t>(lastPosition - reach);
            const std::uint8_t *line1, *line2;
            lines(2 * kLinePixels * pb + (ReadSpan(pb) - pb), &line1, &line2);
            const std::uint8_t* end = bytes.end();
            for (const std::uint8_t* readEnd : {line2 + kLinePixels * pb, end}) {
              ASSERT_TRUE(SameAsTheRole(runs, roles, pb, Trial{role, count, position, step, line1, line2, readEnd}));
              ++trials;
            }
          }
          // One vector's lanes from pixel 100, the readable end at a window's end or one byte short.
          const std::uint32_t position = 100 * 1024 + fraction;
          const std::uint64_t lastLane = (position + 15ull * step) >> 10;
          if (lastLane >= kLinePixels) continue;
          for (const std::size_t window : {std::size_t{128}, std::size_t{192}}) {
            for (const std::size_t shortBy : {std::size_t{0}, std::size_t{1}}) {
              const std::size_t windowEnd = kLinePixels * pb + 100 * pb + window - shortBy;
              const std::size_t lanesEnd = kLinePixels * pb + lastLane * pb + ReadSpan(pb);
              const std::uint8_t *line1, *line2;
              lines(windowEnd > lanesEnd ? windowEnd : lanesEnd, &line1, &line2);
              ASSERT_TRUE(
                  SameAsTheRole(runs, roles, pb, Trial{role, 16, position, step, line1, line2, line1 + windowEnd}));
              ++trials;
            }
          }
        }
      }
    }
  });
  EXPECT_GT(trials, 10000);
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
