// Matching query terms in expanded entry text: the term comparison with its
// stress marks and word rules, the code map's probe, and the check of one
// entry (found flags and NEAR pair bits).
#pragma once

#include "re_query.h"
#include "re_text_tables.h"  // ReMiddleDot
#include "re_types.h"

constexpr u8 ReTitleEnd = 255;  // ends the title; a line feed in the text
constexpr i16 ReNearWindow = 8;

struct ReMatchRules {
  const ReCompiledQuery* query;
  const u32* classes;
  u8 caseMode;      // 1: letters compare without regard to case
  bool wordSearch;  // function 145: whole words
};

// How a term compares with text from a start position.
enum class ReProbe : u8 {
  None,       // no match
  Full,       // the whole term matched (and, for whole words, ends at a word end)
  CutOff,     // the text ended before the term did
  StressMark  // a stress mark or escape stood inside the compared stretch
};

// Compares term with text[at, end), skipping stress marks inside the word.
// Under whole-word rules a full match must end at a word end; a match that
// reaches end is cut off when more text may follow (textComplete false).
// covered receives the number of text characters the match spans.
ReProbe ReMatchTermAt(const char* term, u32 termLength, const u8* text, u32 at, u32 end, bool textComplete,
                      const ReMatchRules& rules, u32* covered);

// True when a match may start at text[at] under the rules (the characters
// before it decide; at == 0 means nothing known before it).
bool ReMayStartAt(const u8* text, u32 at, const char* term, const ReMatchRules& rules);

// Code map probe: true when some cover term matches in text, or is cut off by
// its end, at a start position below startLimit. Under whole-word rules the
// boundaries known inside text apply; boundaries outside it count as met.
bool ReTextHoldsCoverTerm(const u8* text, u32 length, u32 startLimit, const ReMatchRules& rules, bool wordRules);

// Whether the checker may pass over text (ReEntryChecker::CanPassOver): it
// holds no '<' or '{' and no cover term of the rules' query starts in it
// (nor is cut off by its end), whatever characters stand before it. At most
// 255 characters. For the checker, every term of the query must be a cover
// term (a copy of the query with every mark set).
bool ReTextPassable(const u8* text, u32 length, const ReMatchRules& rules);

// The check of one entry, fed with its expanded text in pieces. Positions are
// handled in order once enough text behind them has arrived, so memory stays
// flat whatever the entry's length. A position whose outcome the text fed so
// far already settles is handled as soon as it arrives, so that a check may
// stop at the entry's first hit (Settled); what it finds is what handling the
// positions window by window finds.
class ReEntryChecker {
 public:
  static constexpr u32 kWindow = 4096;     // text window
  static constexpr u32 kLookahead = 2048;  // longest stretch a match may span

  // Takes the rules of the entries to check (their tables are made here).
  void Prepare(const ReMatchRules& rules);
  // Starts an entry under the prepared rules.
  void BeginEntry(char* title, u32 titleCapacity);
  void Begin(const ReMatchRules& rules, char* title, u32 titleCapacity) {
    Prepare(rules);
    BeginEntry(title, titleCapacity);
  }
  // Expanded text, byte 255 standing for a line feed (the first one ends
  // the title).
  void Feed(const u8* text, u32 count);
  // Text whose line feeds are written as such: it holds no byte 255.
  void FeedLines(const u8* text, u32 count);
  // Handles the rest of the text; the entry has ended.
  void Finish();
  // True when the title is complete and the query holds whatever the rest of
  // the text holds (it has no NOT, ReQueryStaysTrue).
  bool Settled();
  // Whether the text that follows may be passed over when no term starts in
  // it (nor is cut off by its end) and it holds no '<' or '{': every position
  // fed so far is handled, the title is past and no term matched within a
  // NEAR window, so that such text changes nothing but NEAR distances that
  // are too far already.
  bool CanPassOver();
  // Ends a stretch passed over: its last characters (at most three), which
  // the word rules of the positions after it look back at.
  void PassedOver(const u8* last, u32 count);

  bool TitleSeen() const { return titleSeen_; }
  u32 TitleLength() const { return titleLength_; }
  const u16* Found() const { return found_; }
  const u8* PairBits() const { return pairBits_; }

 private:
  // Handles positions up to upTo; early: only those the text so far settles.
  void Process(u32 upTo, bool textComplete, bool early);
  // False (nothing changed) when an early call cannot settle position p yet.
  bool HandlePosition(u32 p, bool textComplete, bool early);
  bool Skipped(u32 p) const;
  void Matched(u32 term);
  void Take(const u8* text, u32 count, bool lines);
  // Puts text into the window, moving it on when full; handles nothing.
  void Put(const u8* text, u32 count, bool lines);
  void Append(const u8* text, u32 count, bool lines);

  static constexpr u32 kNoTitleEnd = 0xFFFFFFFFu;

  ReMatchRules rules_;
  bool staysTrue_;
  u8 startTerms_[256];  // per character: the terms whose first character it can be
  // Per character: 1 when it glues what follows to it, 2 when it is a letter
  // or digit after which no word starts (whole words), else 0.
  u8 before_[256];
  // Per character: 1 when it can start a term, 2 when a position holding it
  // needs the whole rule ('<', '{').
  u8 special_[256];
  char* title_;
  u32 titleCapacity_;
  u32 titleLength_;
  bool titleSeen_;
  u32 titleEnd_;  // window position of the title's end, until it is handled
  bool inPronunciation_;
  bool newMatch_;  // a term matched since Settled last held
  i32 wordPosition_;
  u16 found_[ReQueryMaxTerms];
  i32 lastPosition_[ReQueryMaxTerms];
  u8 pairBits_[ReQueryMaxTerms];
  u8 window_[kWindow];
  u32 length_;  // characters in the window
  u32 next_;    // next position to handle
};
