// The frames of a movie's first image track, as the host's own controller
// plays them: where each sample lies in the file, its image description,
// and the decoding of one frame through the host's decompressor into 24-bit
// rows (blue, green, red; top row first; rows of 4-byte multiples).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kn {

struct FrameTrack {
  std::vector<std::uint32_t> offsets, sizes;  // of each sample, from the start of the file
  std::vector<std::uint8_t> description;      // the first image description as stored
  std::uint32_t codec = 0;
  std::int32_t width = 0, height = 0, depth = 0;
  bool Has() const { return !offsets.empty(); }
};

// Reads an image track's sample tables ("stbl"). False, and the track left
// empty, when a table is short, a sample lies nowhere or the description
// names no picture of 1 to 32767 pixels a side.
bool ReadFrameTrack(const std::uint8_t* stbl, std::size_t size, FrameTrack* track);

struct DecodedFrame {
  std::int32_t width = 0, height = 0;
  std::int32_t rowBytes = 0;
  std::vector<std::uint8_t> pixels;  // height x rowBytes
};

// The sample that shows at `time` of a movie of `duration` units, its
// samples spread evenly over it (0 before the start, the last at the end).
std::int32_t FrameAt(const FrameTrack& track, std::int32_t time, std::int32_t duration);

// Decodes sample `index` of the movie file at `path`; false when it cannot
// be read or the decompressor refuses it.
bool DecodeFrame(const std::string& path, const FrameTrack& track, std::int32_t index, DecodedFrame* frame);

}  // namespace kn
