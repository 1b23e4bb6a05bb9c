// The input of the entry text fuzzer: everything the decoders read, laid out
// flat so that mutations reach the tables and the code stream directly.
//
// Head (little-endian): u8 code width, u8 group shift, u8 capacity (33 +
// value), u8 options (bit 0 hit marking, bit 1 the second marking step),
// u16 terminal count, u16 end code, u16 entry count, u16 element,
// transition, sequence and code-list counts of the markup table. Then nine
// sections, each a u32 length and its bytes: table 10, 20, 30 and 60 as
// stored (big-endian), table 80's entries (u16 pairs) and name area, table
// 90's words (host order) and program bytes, and the code stream.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace textfuzz {

enum Section { kGroups, kFirst, kSecond, kPool, kEntries, kNames, kWords, kPrograms, kStream, kSections };

struct Head {
  std::uint8_t codeWidth, groupShift, capacity, options;
  std::uint16_t terminalCount, endCode, entryCount;
  std::uint16_t elements, transitions, sequences, codeLists;
};
static_assert(sizeof(Head) == 18, "the head is 18 bytes");

struct Case {
  Head head{};
  std::vector<std::uint8_t> sections[kSections];
};

inline bool Parse(const std::uint8_t* data, std::size_t size, Case* out) {
  if (size < sizeof(Head)) return false;
  std::memcpy(&out->head, data, sizeof(Head));
  std::size_t at = sizeof(Head);
  for (auto& section : out->sections) {
    std::uint32_t length = 0;
    if (size - at < 4) return false;
    std::memcpy(&length, data + at, 4);
    at += 4;
    if (length > size - at) return false;
    section.assign(data + at, data + at + length);
    at += length;
  }
  return true;
}

inline std::vector<std::uint8_t> Serialize(const Case& c) {
  std::vector<std::uint8_t> out(sizeof(Head));
  std::memcpy(out.data(), &c.head, sizeof(Head));
  for (const auto& section : c.sections) {
    const auto length = static_cast<std::uint32_t>(section.size());
    const auto* p = reinterpret_cast<const std::uint8_t*>(&length);
    out.insert(out.end(), p, p + 4);
    out.insert(out.end(), section.begin(), section.end());
  }
  return out;
}

}  // namespace textfuzz
