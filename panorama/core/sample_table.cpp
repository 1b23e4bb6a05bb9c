#include "sample_table.h"

#include "movie_atoms.h"
#include "pano_host.h"
#include "pano_types.h"

namespace pano {

namespace {
constexpr std::int32_t kMaxSamples = 1 << 20;
}

std::int32_t ReadSampleTable(const std::uint8_t* stbl, std::size_t size, SampleTable* table) {
  *table = SampleTable{};
  const Atom stsc = FindAtom(stbl, size, Tag("stsc"));
  const Atom stco = FindAtom(stbl, size, Tag("stco"));
  const Atom stsz = FindAtom(stbl, size, Tag("stsz"));
  if (stsc.data == nullptr || stco.data == nullptr || stsz.data == nullptr) return kErrMissing;
  if (stsc.size < 16 || stco.size < 16 || stsz.size < 20) return kErrAtomWalk;

  const std::int32_t runs = Be32s(stsc.data + 12);
  const std::int32_t chunks = Be32s(stco.data + 12);
  const std::int32_t common = Be32s(stsz.data + 12);
  const std::int32_t samples = Be32s(stsz.data + 16);
  // Every count must fit the bytes its atom holds.
  if (runs < 0 || static_cast<std::size_t>(runs) > (stsc.size - 16) / 12) return kErrAtomWalk;
  if (chunks < 0 || static_cast<std::size_t>(chunks) > (stco.size - 16) / 4) return kErrAtomWalk;
  if (samples < 0 || samples > kMaxSamples) return kErrAtomWalk;
  if (common == 0 && static_cast<std::size_t>(samples) > (stsz.size - 20) / 4) return kErrAtomWalk;
  if (common < 0) return kErrAtomWalk;

  auto* records = static_cast<SampleRecord*>(
      HostAlloc(static_cast<std::int32_t>(sizeof(SampleRecord)) * (samples > 0 ? samples : 1)));
  if (records == nullptr) return kErrMemory;

  std::int32_t sample = 0;
  std::int32_t largest = 0;
  for (std::int32_t run = 0; run < runs && sample < samples; ++run) {
    const std::uint8_t* entry = stsc.data + 16 + 12 * run;
    const std::int32_t first = Be32s(entry);
    const std::int32_t perChunk = Be32s(entry + 4);
    const std::int32_t description = Be32s(entry + 8);
    const std::int32_t next = run + 1 < runs ? Be32s(entry + 12) : chunks + 1;
    if (perChunk < 0) break;
    for (std::int32_t chunk = first < 1 ? 1 : first; chunk < next && chunk <= chunks && sample < samples; ++chunk) {
      std::int64_t offset = Be32s(stco.data + 16 + 4 * (chunk - 1));
      for (std::int32_t k = 0; k < perChunk && sample < samples; ++k) {
        const std::int32_t sampleSize = common != 0 ? common : Be32s(stsz.data + 20 + 4 * sample);
        if (sampleSize < 0 || offset < 0 || offset > INT32_MAX) {
          HostFree(records);
          return kErrAtomWalk;
        }
        records[sample] = SampleRecord{static_cast<std::int32_t>(offset), description, sampleSize};
        if (sampleSize > largest) largest = sampleSize;
        offset += sampleSize;
        ++sample;
      }
    }
  }
  if (sample < samples) {  // the chunks do not hold every sample the sizes name
    HostFree(records);
    return kErrAtomWalk;
  }
  table->records = records;
  table->count = samples;
  table->largest = largest;
  return kOk;
}

void FreeSampleTable(SampleTable* table) {
  HostFree(table->records);
  *table = SampleTable{};
}

}  // namespace pano
