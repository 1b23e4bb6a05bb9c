// REidxlst 210: a word as typed, and the index words spelled like it, batch
// by batch (470 starts a lookup, 440 runs the remaining passes).
#include <algorithm>
#include <cstring>

#include "re_handles.h"
#include "re_index_lists.h"
#include "re_spelling.h"

namespace {

// Puts the block's present results back into the pool (440), so that the
// new batch neither repeats nor loses them. The found count is the caller's:
// it is bounded by the result limit and the area.
void ReloadResults(const ReIdxListBlock* block, ReIndexState* state) {
  const i32 count = block->foundCount < 0 ? 0 : std::min<i32>(block->foundCount, block->resultLimit);
  u32 at = 0;
  for (i32 i = 0; i < count && block->results && at < block->resultAreaSize; ++i) {
    const void* end = std::memchr(block->results + at, 0, block->resultAreaSize - at);
    if (!end) break;
    const u32 length = static_cast<u32>(static_cast<const char*>(end) - (block->results + at));
    ReAddResultWord(block->results + at, static_cast<u16>(length), state, 0);
    at += length + 1;
  }
}

}  // namespace

u32 ReLookupWord(ReIdxListBlock* block, u16 action) {
  ReListCall call;
  if (!ReBeginListCall(&call, block, ReTagSpelling, ReModLookupWord)) return call.status->status;
  ReIndexState* state = call.state;
  ReSpellPassState& spell = state->spell;
  const u32 length = ReBlockWordLength(call);
  const bool start = action == ReActOpen || spell.currentPass < 0;
  if (action == ReActOpen) {
    block->foundCount = 0;
    if (length == 0) {
      ReSetStatus(call.status, ReSevError, ReErrWordEmpty, ReModLookupWord);
    } else if (length > ReLongestListWord(call)) {
      ReSetStatus(call.status, ReSevError, ReErrWordTooLong, ReModLookupWord);
    }
    if (call.status->status == ReFail) {
      ReCloseProgress(call);
      ReEndListCall(&call, ReHandleFree);
      return call.status->status;
    }
  }

  const u32 limit = block->resultLimit;
  ReScopedGlobal offsets, pool, spare, word;
  if (!offsets.Alloc(limit * 2) || !pool.Alloc(block->resultAreaSize) || !spare.Alloc(limit * 2) ||
      !word.Alloc(ReLongestListWord(call) + 1u)) {
    ReSetStatus(call.status, ReSevError, ReErrMemory, ReModLookupWord);
    ReCloseProgress(call);
    ReEndListCall(&call, ReHandleFree);
    return call.status->status;
  }
  auto* typed = reinterpret_cast<char*>(word.data());
  if (block->word && length <= ReLongestListWord(call)) std::memcpy(typed, block->word, length);
  ReLowerWord(*call.index, typed);

  ReBeginListWalk(call, ReWalkSpelling);
  state->pool = reinterpret_cast<char*>(pool.data());
  state->offsets = reinterpret_cast<u16*>(offsets.data());
  state->resultLimit = static_cast<i16>(limit > 0x7FFF ? 0x7FFF : limit);
  state->poolSize = block->resultAreaSize;
  i32 oldCount = 0;
  if (start) {
    ReResetSpellPasses(state, typed);
    state->currentBlock = ReNoBlock;
  } else {
    ReloadResults(block, state);
    spell.rankedCount = state->resultCount;
    oldCount = state->resultCount;
  }

  if (ReSpellPasses(state, ReSpellFirstBatch) == 0)
    ReSetStatus(call.status, ReSevWarning, ReWarnNoFurther, ReModLookupWord);
  if (state->stop) ReSetStatus(call.status, ReSevWarning, ReCodeStopped, ReModLookupWord);
  ReReportWalkFailure(call);
  if (state->resultCount == 0) ReSetStatus(call.status, ReSevWarning, ReWarnNothing, ReModLookupWord);

  // The block keeps its earlier results; the new ones follow them, packed.
  u32 used = 0;
  for (i32 i = 0; i < oldCount; ++i) used += static_cast<u32>(std::strlen(ReResultWord(state, i))) + 1;
  ReCopyResults(state, oldCount, block->results, block->resultAreaSize, used);
  block->foundCount = state->resultCount;

  state->pool = nullptr;
  state->offsets = nullptr;
  ReCloseProgress(call);
  ReEndListCall(&call, ReHandleFree);
  return call.status->status;
}
