// The records of a ranked concept query that the caller sees: the hit table
// the engine hands out between collecting and ranking (REcontable), whose hit
// words the caller may renumber, and the rank record (REconqry): the terms
// and their weights in, the inverse frequencies and at most 50 ranked
// entries out.
#pragma once

#include "re_types.h"

constexpr u32 ReConceptEntryUnit = 16384;  // hit word = entry x 16384 + field bit + offset
constexpr u32 ReConceptFieldBit = 8192;    // the occurrence lies in the entry's flagged field
constexpr u32 ReConceptOffsetMask = 8191;
constexpr u32 ReRankResults = 50;
constexpr u32 ReRankWorkArrays = 7;

#pragma pack(push, 1)
// One collected occurrence of a term.
struct ReConceptHit {
  u32 word;  // entry x 16384 + field bit + word offset
  u16 term;
  u16 unused;
};

struct ReRankRecord {
  u16 termCount;
  u16 resultCount;   // out: ranked entries, 0 to 50
  char** termTexts;  // termCount NUL-terminated terms
  float* idf;        // out: log2(N / df) per term, 0 when the term occurs nowhere
  float* weights;    // in: the caller's weight per term
  u32 entries[ReRankResults];
  float scores[ReRankResults];
  u16 positions[ReRankResults];  // word offset of each entry's best cluster
  void* work[ReRankWorkArrays];  // the engine's scoring arrays while it ranks
};
#pragma pack(pop)
static_assert(sizeof(ReConceptHit) == 8, "concept hits are 8 bytes");
RE_ASSERT_SIZE(ReRankRecord, 544);
