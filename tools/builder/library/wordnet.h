// WordNet (dict-wn) as the thesaurus's synonym rings. A definition of the
// dictd file is a word followed by its senses: a part of speech ("n", "v",
// "adj", "adv") before the first sense of each, "1:" before every sense, the
// gloss, and the sense's synonym set as "[syn: {a}, {b}]". Every synonym set
// of two or more words becomes one ring, once, whichever of its words' entries
// it is read in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "entry_text/synonym_rings.h"
#include "library/dictd_file.h"

namespace builder::library {

// Word classes of the rings (the string table's labels).
enum : std::uint8_t { kWordNoun = 1, kWordVerb = 2, kWordAdjective = 3, kWordAdverb = 4 };

struct WordNetSense {
  std::uint8_t wordClass = 0;
  std::vector<std::string> synonyms;  // Windows-1252, as listed
};

// The senses of one definition (exposed for the tests).
std::vector<WordNetSense> ParseWordNetDefinition(const std::string& text);

// The rings of all synonym sets, each in the order WordNet lists its words;
// words the thesaurus cannot hold (over 63 bytes) are left out.
std::vector<std::vector<entry_text::RingMember>> WordNetRings(const DictdDictionary& dictionary);

}  // namespace builder::library
