#include "engine_db/word_index_component.h"

#include <stdexcept>

namespace builder {

engine_db::Table ComponentTableOf(const BuiltTable& table) {
  if (table.elementCount > 0xFFFF) throw std::invalid_argument("word index: table element count beyond 16 bits");
  return {table.id, table.elementSize, static_cast<std::uint16_t>(table.elementCount), table.data};
}

engine_db::Component WordIndexComponentOf(const WordIndexComponent& index, const std::vector<BuiltTable>& extra,
                                          const WordIndexComponentOptions& options) {
  engine_db::IndexComponentSpec spec;
  spec.subtype = options.subtype;
  spec.flags = index.indexFlags;
  spec.formatLevel = static_cast<std::uint16_t>(index.formatLevel);
  spec.recordOptions = index.recordOptions;
  spec.entryListCount = options.entryListCount;
  spec.longestLine = options.longestLine;
  spec.longestWord = index.longestWord;
  spec.blockSize = index.blockSize;
  spec.codeWidth = index.codeWidth;
  spec.stringTableSize = options.stringTableSize;
  for (const BuiltTable& t : index.tables) spec.tables.push_back(ComponentTableOf(t));
  for (const BuiltTable& t : extra) spec.tables.push_back(ComponentTableOf(t));
  // Block 0 is the component header; the builder lays out blocks 1 .. n.
  for (std::size_t b = 1; b < index.blockCount; ++b) {
    const auto from = index.blockArea.begin() + static_cast<std::ptrdiff_t>(b * index.blockSize);
    spec.blocks.emplace_back(from, from + index.blockSize);
  }
  return engine_db::IndexComponent(spec);
}

}  // namespace builder
