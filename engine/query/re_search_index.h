// What the search asks of the word index: the blocks that may hold a word,
// and the occurrences of a word for the ranked query.
#pragma once

#include "re_rank.h"
#include "re_records.h"
#include "re_types.h"

enum class ReTermLookup : u8 {
  Exact,    // the blocks holding the word have the bit (none when it is absent)
  Wider,    // more blocks have the bit than hold the word: the text decides
  Stopped,  // the progress callback stopped the lookup
  Failed,   // the index could not be read
};

// Sets `bit` in planes[b] for every block b that may hold the lower-case
// query word (ReScanWord's, with its joiners and accents) and clears it in
// the others. A stop word is in every block. A run of letters and digits is
// in the blocks the index lists for it (Exact); one with other letters than
// ASCII ones that the index lacks, as an index split at accented letters
// would, in those that hold all its runs of ASCII letters and digits. A word
// with other characters is in the blocks that hold it whole (by its key, and
// as typed when that has syllable dots) and in those that hold all its
// pieces (re_word_pieces.h), as it may stand inside a longer word ("I/O" in
// "non-serial-I/O"); a word without pieces is in every block, and a piece
// glued together ("TCP/IP") is also in the blocks that hold all its runs of
// letters and digits, as an index split at joiners holds it. Such bits are
// wider than the word, and the text decides (Wider). The six bits above
// `bit` are scratch.
ReTermLookup ReMarkWordBlocks(ReDbRecord* record, ReWorkRecord* work, const char* word, u8* planes, u32 blockCount,
                              u32 shift, u8 bit);

// The same for a word that the term puts beside gluing characters that join
// it to nothing ("dev/null" in "/dev/null", "qux" in "qux/"; re_word_pieces.h):
// `glued` is the lower-case word with them, the word stands at
// glued[bareStart, bareStart + bareLength). Its blocks are those that hold
// it with them, as the builder lists it, or, in an index that lacks it so,
// those that hold its pieces or the word alone; always wider than the term
// (Wider).
ReTermLookup ReMarkGluedWordBlocks(ReDbRecord* record, ReWorkRecord* work, const char* glued, u32 bareStart,
                                   u32 bareLength, u8* planes, u32 blockCount, u32 shift, u8 bit);

// Appends one hit per occurrence of the lower-case word (term number `term`)
// to hits, at most capacity; *added gets their number.
ReTermLookup ReCollectTermHits(ReDbRecord* record, ReWorkRecord* work, const char* word, u16 term, ReConceptHit* hits,
                               u32 capacity, u32* added);
