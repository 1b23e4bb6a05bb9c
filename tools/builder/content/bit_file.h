// Article bit sets (.bit files): u32 bit count N, then (N >> 3) + 1 bytes,
// article n at bit (n - 1) & 7 of byte (n - 1) >> 3.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder {

// Throws when an article is 0 or above the bit count.
Bytes EncodeBitFile(std::uint32_t bitCount, const std::vector<std::uint32_t>& articles);

// The names of the 19 filter files, in the order the reader loads them.
const std::vector<std::string>& FilterFileNames();

// The filter files of one content set. Articles are numbered over the main
// and the update database together: N = main entries + update entries, and
// the update articles are exactly the members of Url.bit and Updates.bit.
struct FilterSets {
  std::uint32_t mainEntries = 0;
  std::uint32_t updateEntries = 0;
  std::map<std::string, std::vector<std::uint32_t>> members;  // by file name; missing names are empty
};

// Checks the invariants above and encodes all 19 files, by file name.
std::map<std::string, Bytes> EncodeFilterFiles(const FilterSets& filters);
// The same, written into the directory.
void WriteFilterFiles(const std::string& directory, const FilterSets& filters);

}  // namespace builder
