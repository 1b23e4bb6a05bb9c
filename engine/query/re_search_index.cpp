// The search's lookups in the search index: the exact word walk (mode 3)
// with the hit reading, marking blocks or collecting occurrences.
#include "re_search_index.h"

#include <cstring>

#include "re_index_lists.h"
#include "re_index_walk.h"
#include "re_word_index.h"

namespace {

template <class Setup>
ReTermLookup WalkWord(ReDbRecord* record, ReWorkRecord* work, const char* word, Setup&& setup) {
  ReIndexState* state = ReIndexStateOf(record);
  if (!state) return ReTermLookup::Failed;
  ReIndexDescriptor* index = &record->searchIndex;
  const size_t length = std::strlen(word);
  if (length == 0 || length > ReWordCapacity || index->blockCount == 0) return ReTermLookup::Done;
  u16 further = 0;
  const u16 first = ReFindWordBlock(word, 0, static_cast<i16>(length - 1), &further, index);
  ReBeginWalk(state, index, ReWalkExact, ReReadingHits);
  state->progress = work->progress;
  setup(state);
  const u32 result = ReDecodeIndex(word, static_cast<i16>(length), first, further, index, state);
  const bool stopped = state->stop != 0;
  const bool failed = state->failure != ReWalkOk;
  state->termMap = nullptr;
  state->hits = nullptr;
  state->progress = nullptr;
  if (result == ReWalkStopped && stopped) return ReTermLookup::Stopped;
  if (result == ReWalkStopped && failed) return ReTermLookup::Failed;
  return ReTermLookup::Done;  // an absent word marks nothing
}

}  // namespace

ReTermLookup ReMarkTermBlocks(ReDbRecord* record, ReWorkRecord* work, const char* word, u8* blockTerms, u32 blockCount,
                              u32 shift, u8 bit) {
  return WalkWord(record, work, word, [&](ReIndexState* state) {
    state->termMap = blockTerms;
    state->termMapSize = blockCount;
    state->termShift = static_cast<u8>(shift);
    state->termBit = bit;
  });
}

ReTermLookup ReCollectTermHits(ReDbRecord* record, ReWorkRecord* work, const char* word, u16 term, ReConceptHit* hits,
                               u32 capacity, u32* added) {
  *added = 0;
  if (capacity == 0) return ReTermLookup::Done;
  const ReTermLookup result = WalkWord(record, work, word, [&](ReIndexState* state) {
    // A hit is the pair (hit word, term number) of two 32-bit cells, as the
    // concept hit lays them out.
    state->hits = reinterpret_cast<u32*>(hits);
    state->hitCapacity = static_cast<i32>(capacity);
    state->termNumber = term;
  });
  const ReIndexState* state = static_cast<const ReIndexState*>(record->indexState);
  if (state) *added = static_cast<u32>(state->hitCount);
  return result;
}
