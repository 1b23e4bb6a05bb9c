// The sample table of a track, expanded from its "stsc" runs over the "stco"
// chunk offsets with the sizes of "stsz".
#pragma once

#include <cstddef>
#include <cstdint>

namespace pano {

struct SampleRecord {
  std::int32_t offset;       // in the file
  std::int32_t description;  // 1-based sample description index
  std::int32_t size;
};

struct SampleTable {
  SampleRecord* records = nullptr;  // host memory
  std::int32_t count = 0;
  std::int32_t largest = 0;
};

// Reads the table from a "stbl" atom's contents. Returns 0, kErrMissing when
// one of "stsc", "stco", "stsz" is absent, kErrAtomWalk when a table does
// not fit its atom or does not cover the samples, kErrMemory.
std::int32_t ReadSampleTable(const std::uint8_t* stbl, std::size_t size, SampleTable* table);
void FreeSampleTable(SampleTable* table);

}  // namespace pano
