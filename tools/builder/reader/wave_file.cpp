#include "reader/wave_file.h"

#include <cmath>

namespace builder {

Bytes ToneWave(std::uint32_t hertz, std::uint32_t milliseconds) {
  constexpr std::uint32_t kRate = 8000;
  const std::uint32_t samples = kRate * milliseconds / 1000;
  ByteWriter out;
  out.Append("RIFF");
  out.U32le(36 + samples + (samples & 1));
  out.Append("WAVEfmt ");
  out.U32le(16);
  out.U16le(1);  // PCM
  out.U16le(1);  // mono
  out.U32le(kRate);
  out.U32le(kRate);  // bytes a second
  out.U16le(1);      // bytes a sample
  out.U16le(8);      // bits a sample
  out.Append("data");
  out.U32le(samples);
  for (std::uint32_t i = 0; i < samples; ++i)
    out.U8(static_cast<std::uint32_t>(128 + 60 * std::sin(6.283185307 * hertz * i / kRate)) & 0xFF);
  if (samples & 1) out.U8(0);
  return out.take();
}

Bytes PcmWave(const std::vector<std::int16_t>& samples, std::uint32_t rate) {
  const auto bytes = static_cast<std::uint32_t>(samples.size() * 2);
  ByteWriter out;
  out.Append("RIFF");
  out.U32le(36 + bytes);
  out.Append("WAVEfmt ");
  out.U32le(16);
  out.U16le(1);  // PCM
  out.U16le(1);  // mono
  out.U32le(rate);
  out.U32le(rate * 2);  // bytes a second
  out.U16le(2);         // bytes a sample
  out.U16le(16);        // bits a sample
  out.Append("data");
  out.U32le(bytes);
  for (std::int16_t sample : samples) out.U16le(static_cast<std::uint16_t>(sample));
  return out.take();
}

}  // namespace builder
