// Search-hit marking of token text: the text of a pending token is cut into
// words and separator runs with the database's character classes, and each
// word is compared with the search terms. The query layer may hand its own
// terms in; the matching rules live here only.
#pragma once

#include "re_types.h"

constexpr u32 ReMaxHitTerms = 8;

// Marking modes of the token block.
enum : u16 {
  ReMarkWords = 145,         // whole words that match a term
  ReMarkWordsAndRuns = 220,  // also every run of characters that spells a term
};

struct ReHitTerms {
  u32 count;  // 0: no marking
  const char* terms[ReMaxHitTerms];
  u16 mode;
  const u32* classes;  // the database's character classes (null: a fallback for plain ASCII)
  bool hyphenInTerms;  // some term holds a hyphen: hyphens stay inside words
};

struct ReHitPiece {
  u16 start;
  u16 length;
  bool hit;
};

// Prepares terms from the token block's fields (null terms are left out).
ReHitTerms ReMakeHitTerms(u32 count, const char* const* terms, u16 mode, const u32* classes);

// Cuts text (at most 256 bytes) into pieces and marks hits. Returns the
// number of pieces written: at most `max`, which should be the text's length.
u32 ReMarkHits(const ReHitTerms* terms, const u8* text, u32 length, ReHitPiece* pieces, u32 max);

// True when the word (middle dots skipped) equals the term (leading
// separators skipped; the term ends there or at a separator), letters
// compared without regard to case.
bool ReWordMatchesTerm(const ReHitTerms* terms, const u8* word, u32 length, const char* term);
