// The phrase code of packed media records: fixed 9-bit codes, most
// significant bit first, each standing for a phrase of the program's data
// resource 6668 (3584 bytes: a 1311-byte pool, 512 u16 offsets at 1311, 512
// u16 lengths at 2335, 225 unused bytes).
#pragma once

#include <cstdint>

#include "common/byte_writer.h"

namespace builder {

constexpr int MediaPhraseResourceId = 6668;
constexpr std::uint32_t MediaPhraseResourceSize = 3584;

// The authored phrase resource, the same bytes on every call.
const Bytes& MediaPhraseResource();

// A code stream that packed records are appended to, each starting at the
// code after the previous record's last code.
class MediaCodeStream {
 public:
  // Packs the bytes with the longest phrases; returns the record's first code number.
  std::uint32_t Append(const Bytes& record);
  std::uint32_t codeCount() const { return codes_; }
  // The stream, its last byte padded with zero bits.
  const Bytes& bytes() const { return bytes_; }

 private:
  void Put(std::uint32_t code);
  Bytes bytes_;
  std::uint32_t codes_ = 0;
};

}  // namespace builder
