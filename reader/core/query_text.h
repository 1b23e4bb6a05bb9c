// The free text of the Smart Search cut into query terms: tokens of letters
// and digits with inner hyphens, a final apostrophe, decimal points and the
// periods of known abbreviations, at most 30 characters each, each with the
// number of its sentence; text in angle brackets is passed over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "afx_core.h"
#include "zorlre/re_charclass.h"
#include "zorlre/re_types.h"

constexpr int MaxQueryTokenLength = 30;

// Group words of a term occurrence: the sentence number in the low 12 bits,
// a separator bit that makes equal sentence numbers differ, a weak-term flag.
constexpr u32 GroupSentenceMask = 0x0FFF;
constexpr u32 GroupSeparator = 0x1000;
constexpr u32 GroupWeak = 0x2000;

// The character classes a query's words are made of: letters, plain and
// accented, and digits.
constexpr u32 QueryWordClasses =
    ReClassUpper | ReClassLower | ReClassDigit | ReClassAcute | ReClassGrave | ReClassCircumflex | ReClassDiaeresis;
// The class table for an index from a database's engine record: the engine's
// one table of code page 1252 for 0, 3, 5-14, 16 and 17; null for 1, 2, 4, 15,
// 18 and above. The reader's list differs from the engine's selection by kind
// (which has 1, not 0); the tuner reads words with ReWordClassTable instead.
const u32* GetCharClassTable(int index);

// A list of NUL-separated words (the stop-word and abbreviation resources),
// read no further than its size and up to its first empty word.
class WordList {
 public:
  WordList() = default;
  WordList(const char* data, u32 size);
  int Count() const { return static_cast<int>(words_.size()); }
  std::string_view operator[](int i) const { return words_[static_cast<size_t>(i)]; }
  // True when one of the first `limit` words (all when negative) equals the
  // word without regard to case.
  bool Contains(std::string_view word, int limit = -1) const;

 private:
  std::vector<std::string_view> words_;
};

class QueryTokenizer {
 public:
  void SetAbbreviations(const WordList* abbreviations) { abbreviations_ = abbreviations; }
  // The next token of the text: a text starts a new scan, null goes on with
  // the last one. Returns the token's start offset, or -1 at the end.
  int Next(const char* text, CString& token, int& sentence, bool lowerCase);

 private:
  bool IsAbbreviation(const std::string& token) const;

  std::string text_;
  bool active_ = false;
  size_t offset_ = 0;
  int sentence_ = 1;
  const WordList* abbreviations_ = nullptr;
};

// Appends every token of the text and its sentence number; returns the
// number of distinct tokens (0 when the text has none).
int ParseQuery(QueryTokenizer& tokenizer, const char* text, CStringArray& terms, CDWordArray& groups, bool lowerCase);
// Removes the terms that are among the first `limit` stop words (compared in
// lower case) with their group entries; returns the number of terms left.
int RemoveStopWords(CStringArray& terms, CDWordArray& groups, const WordList& stopWords, int limit);
// How many stop words the screens pass for `termCount` terms.
int StopWordLimit(int termCount);
