// Spelhash.dat: 65536 bytes, 32768 big-endian u16 word keys (0 = empty slot),
// of which slots 0-32747 are addressed. Each key is placed along the probe
// sequence of its start slot; a lookup gives up after 23 probes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder {

struct SpellHashTable {
  Bytes bytes;                        // the whole file
  std::vector<std::string> unplaced;  // words no lookup could find (chain past 23 probes, or key 0)
};

SpellHashTable BuildSpellHash(const std::vector<std::string>& words);

// The 16-bit key of a word (exposed for the builder's own checks).
std::uint16_t SpellKey(const std::string& word, std::uint16_t* startSlot);

}  // namespace builder
