// Sound files: RIFF WAVE, mono PCM (8-bit tones of the sample content, 16-bit
// speech of the library's gallery).
#pragma once

#include <cstdint>
#include <vector>

#include "common/byte_writer.h"

namespace builder {

// A tone of `hertz` lasting `milliseconds`, at 8000 samples a second.
Bytes ToneWave(std::uint32_t hertz, std::uint32_t milliseconds);

// 16-bit mono PCM samples at `rate` a second.
Bytes PcmWave(const std::vector<std::int16_t>& samples, std::uint32_t rate);

}  // namespace builder
