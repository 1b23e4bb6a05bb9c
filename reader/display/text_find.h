// Finding words in the display's runs: the first occurrence of each query
// word per run becomes a find hit (marks bit 2 with its place in the run),
// and the hits can be walked from the top line in either direction.
#pragma once

#include <string>
#include <vector>

#include "display/text_model.h"

namespace display {

// Letters and lower case of the single-byte character set the text is in.
bool IsLetter(unsigned char c);
bool IsLetterOrDigit(unsigned char c);
unsigned char Lower(unsigned char c);

// Position of the first occurrence of `word` in the text, or -1.
int FindText(const char* text, int length, const std::string& word, bool matchCase);

// The words of a query: split at blanks; the Boolean operators "&", "|",
// "!" and "~" between words are passed over, never searched, while one
// inside a word ("AT&T") is part of it.
std::vector<std::string> QueryWords(const std::string& query);

struct FindState {
  int count = 0;
  int firstHit = kNone;
  int lastHit = 0;
};

// Marks the hits of every query word; returns the runs marked (in the order
// they were found; a run hit by two words appears twice).
std::vector<int> FindWords(TextModel& model, FindState& state, const std::string& query, bool matchCase,
                           bool wholeWord);
// Clears the hit marks between the first and the last hit; false when there
// were none.
bool ClearFindHits(TextModel& model, FindState& state);
// The first run with a hit, walking from the line after (step +1) or before
// (step -1) the top line; kNone when there is none.
int NextHitRun(const TextModel& model, int topLine, int step);

}  // namespace display
