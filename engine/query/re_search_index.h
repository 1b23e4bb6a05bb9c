// What the search asks of the word index: the blocks that hold a word, and
// the occurrences of a word for the ranked query.
#pragma once

#include "re_rank.h"
#include "re_records.h"
#include "re_types.h"

enum class ReTermLookup : u8 {
  Done,        // the blocks holding the word have the bit (none when it is absent)
  Everywhere,  // every block got the bit: the index could not tell
  Stopped,     // the progress callback stopped the lookup
  Failed,      // the index could not be read
};

// Sets `bit` in blockTerms[entry >> shift] for every entry that holds the
// lower-case word.
ReTermLookup ReMarkTermBlocks(ReDbRecord* record, ReWorkRecord* work, const char* word, u8* blockTerms, u32 blockCount,
                              u32 shift, u8 bit);

// Appends one hit per occurrence of the lower-case word (term number `term`)
// to hits, at most capacity; *added gets their number.
ReTermLookup ReCollectTermHits(ReDbRecord* record, ReWorkRecord* work, const char* word, u16 term, ReConceptHit* hits,
                               u32 capacity, u32* added);
