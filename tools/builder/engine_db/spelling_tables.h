// The spelling data of a word index (tables 250, 260, 270 and 290; layouts in
// docs/formats.md): the pass rules, the exception list, the key-prefix list
// of the index's words and the fragment tables.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine_db/word_index_builder.h"

namespace builder {

// One spelling pass: the twelve rule rows.
struct SpellingPass {
  std::uint8_t anchor = 0;  // leading letters a key keeps (kinds 2 and 7)
  std::uint8_t kind = 0;    // 1-8: how candidate keys are made
  std::uint8_t total = 0, vowel = 0, substitution = 0, fragment = 0, lengthDifference = 0;
  std::uint8_t keyTotal = 0, keyVowel = 0, keySubstitution = 0, keyFragment = 0;
  std::uint8_t shortWords = 1;  // 0: skipped for typed words shorter than 4
};

struct SpellingFragment {
  std::string indexText;  // as found in index words, 1-4 characters
  std::string typedText;  // as typed, 1-4 characters
};

struct SpellingData {
  std::vector<SpellingPass> passes;                             // passes 0 .. count - 1
  std::vector<std::pair<std::string, std::string>> exceptions;  // (as typed, correct)
  std::vector<SpellingFragment> fragments;
  bool fragmentSwitch = true;
};

// The engine runs one pass more than the table's count: that pass reads pass
// 0's rows shifted by one (its kind is pass 0's total budget), so pass 0 must
// have a total budget of 0, which makes the extra pass do nothing.
std::vector<BuiltTable> BuildSpellingTables(const SpellingData& data, const std::vector<std::string>& indexWords);

// A pass table for English and French word lists: exact and swapped words
// first, then corrections of growing cost (20 passes).
SpellingData StandardSpelling();

}  // namespace builder
