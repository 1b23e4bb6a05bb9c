// The line roles in vector form, for runs whose destination pixels lie side
// by side. The row pass draws its rows with them straight into the corrected
// frame; the column pass draws each column of a strip of columns into a small
// buffer and then turns the strip into frame rows. They draw exactly what the
// roles of warp_loops.h draw, with the same channel sums and masks, only
// several pixels at a time. Chosen once by what the processor offers; without
// a vector unit the passes keep to the roles.
#pragma once

#include <cstdint>

namespace pano {

// A run of count pixels side by side. For each pixel it may read more than
// the roles: the pixel its position selects and the one after it, whatever
// the half-pixel bit (the roles read the one after only at that bit), and at
// 24 bits one byte beyond those, so up to 4 bytes from a 16-bit pixel's first
// byte and 7 from a 24-bit one's. A window of several pixels is read whole
// only where it ends at or before readEnd. The passes keep that much readable
// after the last pixel a run can reach (the canvas's spare line, the frames'
// 16 spare bytes).
using RunProc = void (*)(int count, const std::uint8_t* line, std::uint32_t position, std::uint32_t step,
                         std::uint8_t* destination, const std::uint8_t* readEnd);
using TwoLineRunProc = void (*)(int count, const std::uint8_t* line1, const std::uint8_t* line2, std::uint32_t position,
                                std::uint32_t step, std::uint8_t* destination, const std::uint8_t* readEnd);
// Writes a strip (columns of height pixels, each column's pixels side by side
// and columnPixels apart) as the first `columns` pixels of height frame rows.
using StripProc = void (*)(const std::uint8_t* strip, int columnPixels, int columns, int height, std::uint8_t* frame,
                           std::int32_t rowBytes);

struct RunLoops {
  RunProc sample;            // A
  RunProc nearest;           // B
  TwoLineRunProc blendPair;  // D
  StripProc stripToRows;
};

// Columns a strip holds.
constexpr int kStripColumns = 16;

enum RunLevel : int { kRunsNone = 0, kRunsAvx2 = 1, kRunsAvx512 = 2 };
// The best level this processor and system run.
int RunLevelSupported();
// The level in use: the supported one unless lowered (tests draw at every level).
int RunLevelInUse();
void SetRunLevel(int level);
// The runs of a pixel format (16, 17 or 24) at the level in use; false when none.
bool RunLoopsFor(int format, RunLoops* loops);

// Each vector level's runs (false when the build has none).
bool RunLoopsAvx2(int format, RunLoops* loops);
bool RunLoopsAvx512(int format, RunLoops* loops);

}  // namespace pano
