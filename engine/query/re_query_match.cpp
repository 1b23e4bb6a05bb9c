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

#include <bit>
#include <cstring>
#include <initializer_list>

#include "re_charclass.h"
#include "re_word_pieces.h"

namespace {

constexpr u32 kLetterOrDigit = ReClassOrdinal | ReClassLower | ReClassUpper | ReClassDigit;

// Stress marks as they stand in the text.
constexpr const char* kStressMarks[] = {"<{BPRIME}>", "<{LPRIME}>", "\\BPRIME/", "\\LPRIME/"};

bool LetterOrDigit(const ReMatchRules& rules, u8 c) { return (rules.classes[c] & kLetterOrDigit) != 0; }

u8 Fold(const ReMatchRules& rules, u8 c) {
  if (rules.caseMode == 1 && (rules.classes[c] & ReClassUpper)) return static_cast<u8>(c + 32);
  return c;
}

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
  if (ReGlues(next)) return false;
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
  if (ReGlues(before)) return false;
  // After a letter or digit no word starts, also not after the first letter
  // behind a tag's '>'; a term that is itself a tag may follow a letter.
  return !LetterOrDigit(rules, before) || (term[0] == '<' && term[1] != '{');
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
  // A match can start only where the character folds to a cover term's first.
  u8 firsts[ReQueryMaxTerms];
  u32 firstCount = 0;
  for (i16 t = 0; t < query.termCount; ++t)
    if (query.cover[t]) firsts[firstCount++] = Fold(probe, static_cast<u8>(query.termText[t][0]));
  for (u32 s = 0; s < limit; ++s) {
    const u8 folded = Fold(probe, text[s]);
    bool possible = false;
    for (u32 k = 0; k < firstCount; ++k) possible = possible || firsts[k] == folded;
    if (!possible) continue;
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

bool ReTextPassable(const u8* text, u32 length, const ReMatchRules& rules) {
  if (length > 255 || std::memchr(text, '<', length) || std::memchr(text, '{', length)) return false;
  return !ReTextHoldsCoverTerm(text, length, length, rules, true);
}

void ReEntryChecker::Prepare(const ReMatchRules& rules) {
  rules_ = rules;
  staysTrue_ = ReQueryStaysTrue(*rules.query);
  // The characters each term can start with: those that fold to the same
  // character as its first one (a character folds to itself or to itself + 32).
  std::memset(startTerms_, 0, sizeof startTerms_);
  const ReCompiledQuery& query = *rules.query;
  for (i16 t = 0; t < query.termCount; ++t) {
    const u8 first = Fold(rules, static_cast<u8>(query.termText[t][0]));
    for (const u32 c : {u32{first}, first >= 32 ? first - 32u : u32{first}})
      if (Fold(rules, static_cast<u8>(c)) == first) startTerms_[c] |= static_cast<u8>(1u << t);
  }
  for (u32 c = 0; c < 256; ++c) {
    const u8 character = static_cast<u8>(c);
    before_[c] = ReGlues(character) ? 1 : rules.wordSearch && LetterOrDigit(rules, character) ? 2 : 0;
    special_[c] = c == '<' || c == '{' ? 2 : startTerms_[c] != 0;
  }
}

void ReEntryChecker::BeginEntry(char* title, u32 titleCapacity) {
  title_ = title;
  titleCapacity_ = titleCapacity;
  titleLength_ = 0;
  if (title_ && titleCapacity_ > 0) title_[0] = '\0';
  titleSeen_ = false;
  titleEnd_ = kNoTitleEnd;
  inPronunciation_ = false;
  newMatch_ = false;
  wordPosition_ = 0;
  for (u32 t = 0; t < ReQueryMaxTerms; ++t) {
    found_[t] = 0;
    lastPosition_[t] = -1;
    pairBits_[t] = 0;
  }
  length_ = 0;
  next_ = 0;
}

void ReEntryChecker::Append(const u8* text, u32 count, bool lines) {
  u8* out = window_ + length_;
  if (!titleSeen_) {
    // Characters before the first byte 255 are the title; a title longer
    // than its buffer is cut at the buffer's end.
    const void* end = lines ? nullptr : std::memchr(text, ReTitleEnd, count);
    const u32 titleChars = end ? static_cast<u32>(static_cast<const u8*>(end) - text) : count;
    if (title_ && titleLength_ + 1 < titleCapacity_) {
      const u32 room = titleCapacity_ - 1 - titleLength_;
      const u32 take = titleChars < room ? titleChars : room;
      std::memcpy(title_ + titleLength_, text, take);
      titleLength_ += take;
      title_[titleLength_] = '\0';
    }
    if (end) {
      titleSeen_ = true;
      titleEnd_ = length_ + titleChars;
    }
  }
  if (lines) {
    std::memcpy(out, text, count);
  } else {
    // Byte 255 stands for a line feed in the text.
    for (u32 k = 0; k < count; ++k) out[k] = text[k] == ReTitleEnd ? '\n' : text[k];
  }
  length_ += count;
}

void ReEntryChecker::Take(const u8* text, u32 count, bool lines) {
  Put(text, count, lines);
  if (staysTrue_) Process(length_, false, true);
}

void ReEntryChecker::Put(const u8* text, u32 count, bool lines) {
  while (count > 0) {
    if (length_ == kWindow) {
      Process(kWindow - kLookahead, false, false);
      // Keep a few characters before the next position for the word rules.
      // The window moves by the same step whatever was handled early, so
      // every position meets the same text end as window by window.
      const u32 keep = kWindow - kLookahead - 4;
      std::memmove(window_, window_ + keep, length_ - keep);
      length_ -= keep;
      next_ -= keep;
      if (titleEnd_ != kNoTitleEnd) titleEnd_ -= keep;
    }
    const u32 room = kWindow - length_;
    const u32 take = count < room ? count : room;
    Append(text, take, lines);
    text += take;
    count -= take;
  }
}

void ReEntryChecker::Feed(const u8* text, u32 count) { Take(text, count, false); }

void ReEntryChecker::FeedLines(const u8* text, u32 count) { Take(text, count, true); }

void ReEntryChecker::Finish() { Process(length_, true, false); }

bool ReEntryChecker::Settled() {
  if (!staysTrue_ || !titleSeen_ || titleEnd_ != kNoTitleEnd || !newMatch_) return false;
  newMatch_ = false;
  return ReEvalQueryCode(*rules_.query, found_, false, pairBits_);
}

bool ReEntryChecker::CanPassOver() {
  if (!titleSeen_ || titleEnd_ != kNoTitleEnd) return false;
  Process(length_, false, true);
  if (next_ != length_) return false;
  for (u32 t = 0; t < ReQueryMaxTerms; ++t)
    if (lastPosition_[t] >= 0 && wordPosition_ - lastPosition_[t] < ReNearWindow) return false;
  return true;
}

void ReEntryChecker::PassedOver(const u8* last, u32 count) {
  Put(last, count, true);
  next_ = length_;
}

void ReEntryChecker::Process(u32 upTo, bool textComplete, bool early) {
  while (next_ < upTo) {
    if (!inPronunciation_ && next_ >= 3) {
      // A run of plain positions (no '<' or '{', no word starting with a
      // term's first character, not the title's end) only counts its word
      // starts.
      const u32 end = titleEnd_ >= next_ && titleEnd_ < upTo ? titleEnd_ : upTo;
      const u8* w = window_;
      u32 p = next_;
      i32 counted = 0;
      for (; p < end; ++p) {
        const u8 kind = before_[w[p - 1]];
        bool skipped = kind != 0;
        if (kind == 2 && w[p - 2] == '>') skipped = w[p - 3] == '}';  // a word may follow a tag
        // A term's first character where no word starts is passed over too.
        const u8 special = special_[w[p]];
        if (special == 2 || (special == 1 && !skipped)) break;
        counted += !skipped;
      }
      wordPosition_ += counted;
      next_ = p;
      if (p == upTo) return;
    }
    if (!HandlePosition(next_, textComplete, early)) return;
    ++next_;
  }
}

bool ReEntryChecker::Skipped(u32 p) const {
  if (p == 0) return false;
  const u8 before = window_[p - 1];
  if (ReGlues(before)) return true;
  if (!rules_.wordSearch) return false;
  if (before == '<' && window_[p] == '{') return true;
  if (!LetterOrDigit(rules_, before)) return false;
  return !(p >= 2 && window_[p - 2] == '>' && !(p >= 3 && window_[p - 3] == '}'));
}

bool ReEntryChecker::HandlePosition(u32 p, bool textComplete, bool early) {
  // First what happens at p, changing nothing: an early call gives up (false)
  // where the text after the window's end may change it.
  const u8 c = window_[p];
  bool inPronunciation = inPronunciation_;
  bool counts = true;
  if (inPronunciation) {
    // The pronunciation runs to the next '<' that does not open an escape.
    if (c != '<') {
      counts = false;
    } else if (p + 1 >= length_ && early) {
      return false;
    } else if (p + 1 < length_ && window_[p + 1] == '{') {
      counts = false;
    } else {
      inPronunciation = false;
    }
  }
  if (counts && c == '<') {
    if (p + 2 >= length_ && early) return false;
    if (p + 2 < length_ && window_[p + 1] == 'P' && window_[p + 2] == 'R') {
      inPronunciation = true;
      counts = false;
    }
  }
  if (counts && Skipped(p)) counts = false;
  u8 matches = 0;
  if (counts) {
    const ReCompiledQuery& query = *rules_.query;
    for (u32 mask = startTerms_[c]; mask != 0; mask &= mask - 1) {
      const u32 t = static_cast<u32>(std::countr_zero(mask));
      const char* term = query.termText[t];
      if (!ReMayStartAt(window_, p, term, rules_)) continue;
      const ReProbe probe =
          ReMatchTermAt(term, query.termLength[t], window_, p, length_, textComplete, rules_, nullptr);
      if (probe == ReProbe::CutOff && early) return false;
      if (probe == ReProbe::Full) matches |= static_cast<u8>(1u << t);
    }
  }

  if (p == titleEnd_) {
    // Matches in the title count as found; NEAR starts after it.
    titleEnd_ = kNoTitleEnd;
    wordPosition_ = 0;
    for (u32 t = 0; t < ReQueryMaxTerms; ++t) {
      lastPosition_[t] = -1;
      pairBits_[t] = 0;
    }
  }
  inPronunciation_ = inPronunciation;
  if (!counts) return true;
  for (u32 t = 0; matches != 0; ++t, matches >>= 1)
    if (matches & 1) Matched(t);
  ++wordPosition_;
  return true;
}

void ReEntryChecker::Matched(u32 term) {
  found_[term] = 1;
  newMatch_ = true;
  for (u32 u = 0; u < ReQueryMaxTerms; ++u) {
    if (u == term || lastPosition_[u] < 0) continue;
    if (wordPosition_ - lastPosition_[u] < ReNearWindow) {
      pairBits_[term] |= static_cast<u8>(1u << u);
      pairBits_[u] |= static_cast<u8>(1u << term);
    }
  }
  lastPosition_[term] = wordPosition_;
}
