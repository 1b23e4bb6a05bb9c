// Short sound files for the sample content: RIFF WAVE, 8-bit mono PCM.
#pragma once

#include <cstdint>

#include "common/byte_writer.h"

namespace builder {

// A tone of `hertz` lasting `milliseconds`, at 8000 samples a second.
Bytes ToneWave(std::uint32_t hertz, std::uint32_t milliseconds);

}  // namespace builder
