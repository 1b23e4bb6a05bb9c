// Phrase codes of a word index: every byte value is a literal code, and the
// most frequent neighbouring codes of the record stream are merged into new
// codes: short ones become literal phrases of the phrase pool, longer ones
// pairs of two codes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"
#include "common/flat_map32.h"

namespace builder {

class PhraseCodes {
 public:
  // Learns up to (1 << codeWidth) - 1 codes from sample records (each a
  // byte string), learning from every SampleStride-th of them. codeWidth
  // is 9 to 12: pair halves are 12-bit codes.
  PhraseCodes(const std::vector<Bytes>& samples, unsigned codeWidth);
  // The same from the records already taken: every SampleStride(total)-th
  // of records of `total` bytes in all.
  struct Sampled {};
  PhraseCodes(Sampled, const std::vector<Bytes>& taken, unsigned codeWidth);
  static std::size_t SampleStride(std::size_t totalBytes);

  // The codes of one record, left to right.
  std::vector<std::uint16_t> Encode(const Bytes& record) const;

  unsigned codeWidth() const { return codeWidth_; }
  std::uint16_t literalLimit() const { return literalLimit_; }
  // Tables 200 (pool), 210 (big-endian u16 per code) and 220 (byte per code),
  // each with an entry for the unused code 0.
  const Bytes& pool() const { return pool_; }
  Bytes OffsetTable() const;
  Bytes LengthTable() const;
  std::size_t codeCount() const { return entries_.size(); }  // codes 0 .. count - 1

 private:
  struct Entry {
    std::uint16_t offsetOrPair;  // literal: pool offset; pair: first << 4 | second >> 8
    std::uint8_t lengthOrLow;    // literal: length; pair: second & 0xFF
  };
  unsigned codeWidth_;
  std::uint16_t literalLimit_ = 0;
  Bytes pool_;
  std::vector<Entry> entries_;
  // Merge rank of each pair of token ids, and the code each token id has.
  FlatMap32 rank_{4096};
  std::vector<std::uint32_t> merged_;  // rank -> merged token id
  std::vector<std::uint16_t> codeOf_;  // token id -> code
};

}  // namespace builder
