#include "dictionary/dictionary_sample.h"

#include <set>

#include "engine_db/spelling_tables.h"
#include "engine_db/word_index_component.h"

namespace builder::dictionary {

void AddSpellingTables(engine_db::Database& database, const std::vector<engine_db::Headword>& headwords) {
  std::set<std::string> words;
  for (const engine_db::Headword& headword : headwords) {
    std::string lower = headword.word;
    for (char& c : lower)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    words.insert(lower);
  }
  for (engine_db::Component& component : database.components) {
    if (component.type != 2) continue;
    for (const BuiltTable& table :
         BuildSpellingTables(StandardSpelling(), std::vector<std::string>(words.begin(), words.end())))
      component.tables.push_back(ComponentTableOf(table));
  }
}

}  // namespace builder::dictionary
