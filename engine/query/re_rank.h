// Ranked concept queries: the proximity scoring that turns the collected
// hits into at most 50 ranked entries of the caller's rank record.
#pragma once

#include "re_concept_records.h"
#include "re_types.h"

constexpr u32 ReConceptHitCapacity = 100000;

// Called between the passes of the sorts; nonzero stops the ranking.
using ReRankProgress = i32(RE_CALL*)(u32 done, u32 total);

inline u32 ReConceptEntry(u32 word) { return word / ReConceptEntryUnit; }
inline u32 ReConceptOffset(u32 word) { return word & ReConceptOffsetMask; }

// idf = log2(N / df), 0 when df is 0 (df counted in 32 bits).
float ReInverseFrequency(u32 entryCount, u32 df);

// Sorts hits by entry, word offset, term and whole hit word (Shell sort, gaps
// n/2 .. 1); after each gap reports (gaps done, 2 x P). False when stopped.
bool ReSortHits(ReConceptHit* hits, u32 count, ReRankProgress progress);
// Sorts entries by score, highest first, carrying entries and positions;
// reports (P + 2 x gaps done, 2 x P) after each gap. False when stopped.
bool ReSortRanks(float* scores, u32* entries, u16* positions, u32 count, ReRankProgress progress);

// The scoring arrays of one ranking (entry-indexed arrays hold N + 1 cells:
// entries are numbered from 1).
struct ReRankWork {
  float* s1;        // T
  float* s2;        // T
  float* scores;    // N + 1
  u32* entries;     // N + 1
  u16* wordCounts;  // 8192: terms sharing each word offset
  float* best;      // T: smallest distance value per term
  u16* positions;   // N + 1
};

struct ReRankInput {
  const ReConceptHit* hits;  // sorted with ReSortHits
  u32 hitCount;
  u16 termCount;
  const float* idf;
  const float* weights;
  u32 entryCount;  // N: hits of entries above it are left out
};

// Scores every entry with hits and compacts the entries with a nonzero score
// to the front of work.scores / entries / positions (in entry order).
// Returns their number.
u32 ReScoreEntries(const ReRankInput& input, const ReRankWork& work);

// Sorts the scored entries and copies at most 50, down to a quarter of the
// best score, into the record. False when the progress callback stopped it.
bool ReFillRanks(const ReRankWork& work, u32 kept, ReRankRecord* record, ReRankProgress progress);
