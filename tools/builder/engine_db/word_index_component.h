// A built word index as an index component of an engine database file.
#pragma once

#include <cstdint>
#include <vector>

#include "engine_db/engine_db.h"
#include "engine_db/word_index_builder.h"

namespace builder {

struct WordIndexComponentOptions {
  std::uint16_t subtype = 1;  // 1 or 2: main index; 3: search index
  std::uint16_t entryListCount = 30;
  std::uint16_t longestLine = 0;
  std::uint16_t stringTableSize = 0;
};

// A built table as a component's table; its element count must fit 16 bits.
engine_db::Table ComponentTableOf(const BuiltTable& table);

// The index component with the index's tables and `extra` tables (the
// spelling data of a main index).
engine_db::Component WordIndexComponentOf(const WordIndexComponent& index, const std::vector<BuiltTable>& extra,
                                          const WordIndexComponentOptions& options = {});

}  // namespace builder
