// Term matching in expanded entry text.
//
// Whole-word rules (function 145): a match starts where the character before
// is not a letter or digit (a tag's closing '>' counts as a boundary, and a
// term that is itself a tag may follow a letter) and ends where the character
// after is not a letter or digit. Under both functions no match starts inside
// a tag name, and the characters '/', '\' and the middle dot glue what follows
// them to what stands before. Stress marks and syllable dots inside a word
// are skipped while comparing. NEAR counts positions: every character position
// that can begin a word counts one (under 145, a position right after a letter
// or digit does not).
#include "re_query_match.h"

#include <cstring>

#include "re_charclass.h"

namespace {

constexpr u32 kLetterOrDigit = ReClassOrdinal | ReClassLower | ReClassUpper | ReClassDigit;

// Stress marks as they stand in the text.
constexpr const char* kStressMarks[] = {"<{BPRIME}>", "<{LPRIME}>", "\\BPRIME/", "\\LPRIME/"};

bool LetterOrDigit(const ReMatchRules& rules, u8 c) { return (rules.classes[c] & kLetterOrDigit) != 0; }

u8 Fold(const ReMatchRules& rules, u8 c) {
  if (rules.caseMode == 1 && (rules.classes[c] & ReClassUpper)) return static_cast<u8>(c + 32);
  return c;
}

bool Glues(u8 c) { return c == '/' || c == '\\' || c == ReMiddleDot; }

// Length of the stress mark at text[at], 0 when none starts there, or -1 when
// text ends before it can be told.
i32 StressMarkAt(const u8* text, u32 at, u32 end) {
  if (text[at] != '\\' && text[at] != '<') return 0;
  bool partial = false;
  for (const char* mark : kStressMarks) {
    const u32 length = static_cast<u32>(std::strlen(mark));
    u32 i = 0;
    while (i < length && at + i < end && text[at + i] == static_cast<u8>(mark[i])) ++i;
    if (i == length) return static_cast<i32>(length);
    if (at + i == end) partial = true;
  }
  return partial ? -1 : 0;
}

// The word-end rule: the character after the term does not continue a word.
bool EndsWord(const u8* text, u32 after, const char* term, u32 termLength, const ReMatchRules& rules) {
  const u8 next = text[after];
  if (Glues(next)) return false;
  if (!rules.wordSearch || !LetterOrDigit(rules, next)) return true;
  // A term that ends a tag may run straight into a word.
  return termLength >= 1 && term[termLength - 1] == '>' && !(termLength >= 2 && term[termLength - 2] == '}');
}

}  // namespace

bool ReMayStartAt(const u8* text, u32 at, const char* term, const ReMatchRules& rules) {
  if (at == 0) return true;
  const u8 before = text[at - 1];
  if (before == '<' || (before == '/' && at >= 2 && text[at - 2] == '<')) return false;  // inside a tag name
  if (!rules.wordSearch) return true;
  if (Glues(before)) return false;
  if (!LetterOrDigit(rules, before)) return true;
  if (term[0] == '<' && term[1] != '{') return true;
  // A letter right after a tag's '>' (not an escape's "}>") is a word start.
  return at >= 2 && text[at - 2] == '>' && !(at >= 3 && text[at - 3] == '}');
}

ReProbe ReMatchTermAt(const char* term, u32 termLength, const u8* text, u32 at, u32 end, bool textComplete,
                      const ReMatchRules& rules, u32* covered) {
  u32 i = at;
  u32 j = 0;
  while (j < termLength) {
    if (i >= end) return textComplete ? ReProbe::None : ReProbe::CutOff;
    const u8 c = text[i];
    const u8 wanted = static_cast<u8>(term[j]);
    if (j > 0 && c != wanted) {
      if (c == ReMiddleDot) {
        ++i;
        continue;
      }
      const i32 mark = StressMarkAt(text, i, end);
      if (mark < 0) return textComplete ? ReProbe::None : ReProbe::CutOff;
      if (mark > 0) {
        i += static_cast<u32>(mark);
        continue;
      }
    }
    if (Fold(rules, c) != Fold(rules, wanted)) return ReProbe::None;
    ++i;
    ++j;
  }
  if (i == end) {
    if (!textComplete) return ReProbe::CutOff;  // the word may go on
  } else if (!EndsWord(text, i, term, termLength, rules)) {
    return ReProbe::None;
  }
  if (covered) *covered = i - at;
  return ReProbe::Full;
}

bool ReTextHoldsCoverTerm(const u8* text, u32 length, u32 startLimit, const ReMatchRules& rules, bool wordRules) {
  const ReCompiledQuery& query = *rules.query;
  ReMatchRules probe = rules;
  probe.wordSearch = rules.wordSearch && wordRules;
  const u32 limit = startLimit < length ? startLimit : length;
  for (u32 s = 0; s < limit; ++s) {
    for (i16 t = 0; t < query.termCount; ++t) {
      if (!query.cover[t]) continue;
      if (!ReMayStartAt(text, s, query.termText[t], probe)) continue;
      // Any stress mark inside the compared stretch counts: the probe only
      // has to be sure it misses nothing.
      const u32 termLength = query.termLength[t];
      u32 i = s;
      u32 j = 0;
      bool decided = false;
      while (j < termLength && i < length) {
        const u8 c = text[i];
        if (j > 0 && c == ReMiddleDot && query.termText[t][j] != static_cast<char>(ReMiddleDot)) {
          ++i;
          continue;
        }
        if (j > 0 && StressMarkAt(text, i, length) != 0 && c != static_cast<u8>(query.termText[t][j])) return true;
        if (Fold(probe, c) != Fold(probe, static_cast<u8>(query.termText[t][j]))) {
          decided = true;
          break;
        }
        ++i;
        ++j;
      }
      if (decided) continue;
      if (j < termLength || i == length) return true;  // cut off by the end of the text
      if (EndsWord(text, i, query.termText[t], termLength, probe)) return true;
    }
  }
  return false;
}

void ReEntryChecker::Begin(const ReMatchRules& rules, char* title, u32 titleCapacity) {
  rules_ = rules;
  title_ = title;
  titleCapacity_ = titleCapacity;
  titleLength_ = 0;
  if (title_ && titleCapacity_ > 0) title_[0] = '\0';
  titleSeen_ = false;
  titleEnd_ = kNoTitleEnd;
  inPronunciation_ = false;
  wordPosition_ = 0;
  for (u32 t = 0; t < ReQueryMaxTerms; ++t) {
    found_[t] = 0;
    lastPosition_[t] = -1;
    pairBits_[t] = 0;
  }
  length_ = 0;
  next_ = 0;
}

void ReEntryChecker::Feed(const u8* text, u32 count) {
  for (u32 k = 0; k < count; ++k) {
    u8 c = text[k];
    if (c == ReTitleEnd) {
      if (!titleSeen_) {
        titleSeen_ = true;
        titleEnd_ = length_;
      }
      c = '\n';
    } else if (!titleSeen_ && title_ && titleLength_ + 1 < titleCapacity_) {
      // A title longer than its buffer is cut at the buffer's end.
      title_[titleLength_++] = static_cast<char>(c);
      title_[titleLength_] = '\0';
    }
    if (length_ == kWindow) {
      Process(kWindow - kLookahead, false);
      // Keep a few characters before the next position for the word rules.
      const u32 keep = next_ >= 4 ? next_ - 4 : 0;
      std::memmove(window_, window_ + keep, length_ - keep);
      length_ -= keep;
      next_ -= keep;
      if (titleEnd_ != kNoTitleEnd) titleEnd_ -= keep;
    }
    window_[length_++] = c;
  }
}

void ReEntryChecker::Finish() { Process(length_, true); }

void ReEntryChecker::Process(u32 upTo, bool textComplete) {
  for (; next_ < upTo; ++next_) HandlePosition(next_, textComplete);
}

bool ReEntryChecker::Skipped(u32 p) const {
  if (p == 0) return false;
  const u8 before = window_[p - 1];
  if (Glues(before)) return true;
  if (!rules_.wordSearch) return false;
  if (before == '<' && window_[p] == '{') return true;
  if (!LetterOrDigit(rules_, before)) return false;
  return !(p >= 2 && window_[p - 2] == '>' && !(p >= 3 && window_[p - 3] == '}'));
}

void ReEntryChecker::HandlePosition(u32 p, bool textComplete) {
  if (p == titleEnd_) {
    // Matches in the title count as found; NEAR starts after it.
    titleEnd_ = kNoTitleEnd;
    wordPosition_ = 0;
    for (u32 t = 0; t < ReQueryMaxTerms; ++t) {
      lastPosition_[t] = -1;
      pairBits_[t] = 0;
    }
  }
  const u8 c = window_[p];
  if (inPronunciation_) {
    // The pronunciation runs to the next '<' that does not open an escape.
    if (c != '<' || (p + 1 < length_ && window_[p + 1] == '{')) return;
    inPronunciation_ = false;
  }
  if (c == '<' && p + 2 < length_ && window_[p + 1] == 'P' && window_[p + 2] == 'R') {
    inPronunciation_ = true;
    return;
  }
  if (Skipped(p)) return;
  const ReCompiledQuery& query = *rules_.query;
  for (i16 t = 0; t < query.termCount; ++t) {
    const char* term = query.termText[t];
    if (Fold(rules_, window_[p]) != Fold(rules_, static_cast<u8>(term[0]))) continue;
    if (!ReMayStartAt(window_, p, term, rules_)) continue;
    if (ReMatchTermAt(term, query.termLength[t], window_, p, length_, textComplete, rules_, nullptr) == ReProbe::Full)
      Matched(static_cast<u32>(t));
  }
  ++wordPosition_;
}

void ReEntryChecker::Matched(u32 term) {
  found_[term] = 1;
  for (u32 u = 0; u < ReQueryMaxTerms; ++u) {
    if (u == term || lastPosition_[u] < 0) continue;
    if (wordPosition_ - lastPosition_[u] < ReNearWindow) {
      pairBits_[term] |= static_cast<u8>(1u << u);
      pairBits_[u] |= static_cast<u8>(1u << term);
    }
  }
  lastPosition_[term] = wordPosition_;
}
