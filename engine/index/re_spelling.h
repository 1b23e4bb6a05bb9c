// Spelling alternatives: the budgeted edit tests, the ordering by similarity,
// the candidate keys of each pass kind and the pass loop over the word index.
#pragma once

#include "re_index_walk.h"
#include "re_types.h"

// Pass kinds (rule row 1).
enum : u8 {
  ReKindFirstTwo = 1,
  ReKindAnchored = 2,
  ReKindStart = 3,
  ReKindAccents = 4,
  ReKindExceptions = 5,
  ReKindVowelStart = 6,
  ReKindShortAnchored = 7,
  ReKindEndings = 8,
};

// A recursive test never visits more states than this; beyond, it fails.
constexpr u32 ReMatchStepLimit = 50000;

struct ReSpellBudgets {
  i32 total, vowel, substitution, fragment, length;
};

// What the edit tests need beside the two words.
struct ReSpellContext {
  const ReIndexDescriptor* index;
  const ReSpellingData* data;
  const u8* fragments;  // (characters to the typed word's end, fragment) pairs
  u16 fragmentPairs;
  bool foldAccents;  // kind 4: compare after folding accented vowels
};

// True when index word w can be turned into typed word t within the budgets.
bool ReSpellMatch(const ReSpellContext& context, const char* w, const char* t, const ReSpellBudgets& budgets);
// True when the key prefix (up to its first space) fits the start of t within
// the budgets (length is not limited).
bool ReKeyFit(const ReSpellContext& context, const u8 key[4], const char* t, const ReSpellBudgets& budgets);
// The ending test of kind 8.
bool ReEndingFit(const ReSpellContext& context, const char* w, const char* t);
// Accent folding of kind 4 (à á â ä -> a, and the like for e, i, o, u).
u8 ReFoldAccent(u8 c);

// Orders results first .. last of the state's pool by similarity to the typed
// word (a stable exchange sort on ascending score). False when there is no
// memory for the scores: the results are then not in order.
bool ReRankAlternatives(ReIndexState* state, const char* typed, i32 first, i32 last);
i32 ReSimilarityScore(const ReIndexDescriptor& index, const char* typed, const char* result);

// Fills the state's candidate keys for the current pass (its rows are in
// state->spell.rows); returns their number.
u16 ReMakeCandidateKeys(ReIndexState* state);
// Builds the fragment match list of the typed word (pass 2).
void ReBuildFragmentList(ReIndexState* state);

// Pass loop modes.
enum : u8 {
  ReSpellFirstBatch = 0,  // first call: stop after the first pass that finds; later calls run the rest
  ReSpellEachPass = 1,
  ReSpellAll = 2,
  ReSpellEachPassOnce = 3,
};

// Resets the pass state for a new lookup of `typed` (lower case).
void ReResetSpellPasses(ReIndexState* state, const char* typed);
// Runs passes; 1 when a further batch can follow, 0 when none can (passes
// exhausted, result limit reached, stopped, or the walk failed).
u32 ReSpellPasses(ReIndexState* state, u8 mode);
