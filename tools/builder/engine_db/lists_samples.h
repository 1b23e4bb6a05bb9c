// Small dictionary-format databases of the sample content and the tests: an
// English dictionary of tagged entries, a thesaurus of synonym rings and a
// French-English dictionary in text mode with accented headwords.
#pragma once

#include <string>

#include "engine_db/lists_dictionary.h"

namespace builder::engine_db {

// Word classes of the samples (the slot's class byte) and feature bits.
enum : std::uint8_t {
  kClassNoun = 1,
  kClassVerb = 2,
  kClassAdjective = 3,
  kClassAdverb = 4,
  kClassAbbreviation = 5,
  kFeaturePresent = 1,
  kFeaturePast = 2,
  kFeaturePlural = 3,
  kFeatureParticiple = 4,
  kFeatureProgressive = 5,
};

DictionarySpec EnglishDictionary();
ThesaurusSpec EnglishThesaurus();
DictionarySpec FrenchEnglishDictionary();

// Writes the thesaurus QUIRN.DAT and the French-English dictionary
// R053F540.DAT of the sample content into the directory.
void WriteSampleDictionaries(const std::string& directory);

}  // namespace builder::engine_db
