#include "content/bit_file.h"

#include <set>
#include <stdexcept>

namespace builder {

Bytes EncodeBitFile(std::uint32_t bitCount, const std::vector<std::uint32_t>& articles) {
  ByteWriter out;
  out.U32le(bitCount);
  Bytes bits((bitCount >> 3) + 1, 0);
  for (std::uint32_t article : articles) {
    if (article == 0 || article > bitCount)
      throw std::runtime_error("article " + std::to_string(article) + " outside a set of " + std::to_string(bitCount));
    bits[(article - 1) >> 3] |= static_cast<std::uint8_t>(1u << ((article - 1) & 7));
  }
  out.Append(bits);
  return out.take();
}

const std::vector<std::string>& FilterFileNames() {
  static const std::vector<std::string> names = {"Hsp.bit",     "Mrv.bit",    "Pic.bit",   "Graph.bit", "Table.bit",
                                                 "Map.bit",     "Sound.bit",  "Video.bit", "Anim.bit",  "Mult.bit",
                                                 "Clkmap.bit",  "Clkpic.bit", "Tdw.bit",   "Knvr.bit",  "Tml.bit",
                                                 "Updates.bit", "Vorn.bit",   "Url.bit",   "Link.bit"};
  return names;
}

std::map<std::string, Bytes> EncodeFilterFiles(const FilterSets& filters) {
  const std::uint32_t bitCount = filters.mainEntries + filters.updateEntries;
  for (const auto& [name, members] : filters.members) {
    bool known = false;
    for (const std::string& filter : FilterFileNames()) known = known || filter == name;
    if (!known) throw std::runtime_error("not a filter file: " + name);
  }
  auto membersOf = [&](const std::string& name) {
    const auto found = filters.members.find(name);
    return found == filters.members.end() ? std::vector<std::uint32_t>{} : found->second;
  };
  std::set<std::uint32_t> updatePositions;
  for (const char* name : {"Url.bit", "Updates.bit"})
    for (std::uint32_t article : membersOf(name)) updatePositions.insert(article);
  if (updatePositions.size() != filters.updateEntries)
    throw std::runtime_error("Url.bit and Updates.bit hold " + std::to_string(updatePositions.size()) +
                             " articles, the update database " + std::to_string(filters.updateEntries) + " entries");
  std::map<std::string, Bytes> files;
  for (const std::string& name : FilterFileNames()) files[name] = EncodeBitFile(bitCount, membersOf(name));
  return files;
}

void WriteFilterFiles(const std::string& directory, const FilterSets& filters) {
  // Encode everything first, so that a bad set leaves no partial file set.
  for (const auto& [name, bytes] : EncodeFilterFiles(filters)) WriteFileAtomically(JoinPath(directory, name), bytes);
}

}  // namespace builder
