// The text component of a database built from plain tagged entries: the
// compressed code stream with tables 10, 20, 30 and 60, and the markup tables
// 80 and 90 of its language.
#pragma once

#include <string>
#include <vector>

#include "engine_db/engine_db.h"
#include "entry_text/markup_language.h"
#include "entry_text/text_compressor.h"

namespace builder::entry_text {

struct EntryTextSpec {
  std::vector<std::string> entries;  // entry 1 first; line feeds end lines
  MarkupLanguage language = DefaultLanguage();
  CompressOptions compress;
  bool markupTables = true;  // tables 80 and 90 (a database without them cannot be read as tokens)
  bool checkEntries = true;  // refuse entries the language does not accept
};

// The text component's description; the caller may add tables (subsets) to it.
engine_db::TextComponentSpec EntryTextComponent(const EntryTextSpec& spec);

}  // namespace builder::entry_text
