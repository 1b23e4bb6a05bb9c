// The movies of the sample content that the media screens play: the gallery's
// eruption video and the home screen's intro, plain movies whose movie atom
// gives a duration and one video track of the picture's size.
#pragma once

#include <cstdint>
#include <string>

#include "common/byte_writer.h"

namespace builder::media {

// A movie file of `width` x `height` pixels lasting `duration` units of
// `timeScale` per second (all big-endian, as movie atoms are).
Bytes BuildPlainMovie(std::uint32_t width, std::uint32_t height, std::uint32_t timeScale, std::uint32_t duration);

// Writes "ERUPTION.MOV" and "INTRO.MOV" into the directory; with a larger
// set's gallery in use, its movies and sounds instead (INTRO.MOV among them).
void WriteMediaSample(const std::string& directory);

}  // namespace builder::media
