#include "entry_text/entry_text.h"

#include <algorithm>
#include <stdexcept>

namespace builder::entry_text {

engine_db::TextComponentSpec EntryTextComponent(const EntryTextSpec& spec) {
  if (spec.checkEntries)
    for (const std::string& entry : spec.entries) CheckEntry(spec.language, entry);
  CompressOptions options = spec.compress;
  options.maxCodes = std::min<std::uint32_t>(options.maxCodes, 65535);  // element counts are 16-bit
  const CompressedText text = Compress(spec.entries, options);

  engine_db::TextComponentSpec component;
  component.entryCount = text.entryCount;
  component.groupSize = text.groupSize;
  component.codeWidth = text.codeWidth;
  component.longestEntryText = static_cast<std::uint16_t>(std::min<std::uint32_t>(text.longestEntry, 65534));
  component.longestLine = static_cast<std::uint16_t>(std::min<std::uint32_t>(text.longestLine, 65534));
  component.codeStream = text.stream;
  auto table = [](std::uint16_t id, std::uint32_t elementSize, std::uint32_t count, const Bytes& data) {
    engine_db::Table t;
    t.id = id;
    t.elementSize = elementSize;
    t.elementCount = static_cast<std::uint16_t>(count);
    t.data = data;
    return t;
  };
  component.tables.push_back(table(10, 4, text.groupCount, text.groups));
  component.tables.push_back(table(20, 2, text.codeCount, text.first));
  component.tables.push_back(table(30, 2, text.codeCount, text.second));
  // Table 60's element count is the number of terminal codes.
  component.tables.push_back(table(60, 1, text.terminalCount, text.pool));
  if (spec.markupTables) {
    component.tables.push_back(AutomatonTableOf(spec.language));
    component.tables.push_back(MarkupTableOf(spec.language));
  }
  return component;
}

}  // namespace builder::entry_text
