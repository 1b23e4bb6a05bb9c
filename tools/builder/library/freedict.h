// FreeDict (dict-freedict-fra-eng, dict-freedict-eng-fra) as the translation
// dictionaries. A definition of the dictd file is the headword, its
// pronunciation between slashes, its part of speech in angle brackets
// ("<n, masc>"), then its translations: one line, or numbered lines ("1. a,
// b"), commas between the translations of one sense.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "library/dictd_file.h"

namespace builder::library {

struct Translation {
  std::string headword;      // Windows-1252, accents kept
  std::string partOfSpeech;  // "n.m.", "v.", "adj.", or empty
  std::uint8_t wordClass = 0;
  std::vector<std::vector<std::string>> senses;  // the translations of each sense
};

// One definition (exposed for the tests); an empty headword when it has none.
Translation ParseFreeDictDefinition(const std::string& utf8);

std::vector<Translation> ParseFreeDict(const DictdDictionary& dictionary);

// The entry's tagged text in the translation dictionaries' form: "<WD>" and
// the headword, then a line per sense: the headword, "<DS>" and the part of
// speech when known, "<SY>" and the translations with "<D1>" between them.
std::string TranslationEntryText(const Translation& translation);

}  // namespace builder::library
