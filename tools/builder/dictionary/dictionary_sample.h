// What the dictionary screen needs of the sample's dictionaries: the spelling
// tables of a dictionary's headwords in its word index, so that a misspelled
// or unaccented word gets its alternatives.
#pragma once

#include <vector>

#include "engine_db/engine_db.h"
#include "engine_db/lists_headwords.h"

namespace builder::dictionary {

// Adds the standard spelling tables over the lower-cased headwords to the
// database's index component.
void AddSpellingTables(engine_db::Database& database, const std::vector<engine_db::Headword>& headwords);

}  // namespace builder::dictionary
