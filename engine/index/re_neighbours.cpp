// REidxlst 180: the words that stand around a word in the index: half of the
// result limit before it, the rest from the word on, with their capitals.
#include <algorithm>
#include <cstring>

#include "re_handles.h"
#include "re_index_lists.h"

namespace {

struct NeighbourWalk {
  // Mode 13: where the word is.
  u16 block, ordinal;
  bool found;
  // Modes 14 and 15: how many words to take, and until which ordinal.
  i32 wanted;
  u16 endOrdinal;  // mode 15 over a block's start: stop before this ordinal
  u32 counted;     // mode 14
};

ReVisit VisitFind(ReIndexState* state, const ReIndexWord& word) {
  auto& walk = *static_cast<NeighbourWalk*>(state->context);
  const int order = ReCompareWords(word.text, state->key);
  if (order < 0) return ReVisitGoOn;
  if (order > 0) return ReVisitPassed;
  walk.found = true;
  walk.block = word.block;
  walk.ordinal = word.ordinal;
  return ReVisitDone;
}

ReVisit VisitCount(ReIndexState* state, const ReIndexWord&) {
  ++static_cast<NeighbourWalk*>(state->context)->counted;
  return ReVisitGoOn;
}

// Collects words in index order; a record that repeats the word before it
// (another record of the same word) is not listed twice.
ReVisit VisitCollect(ReIndexState* state, const ReIndexWord& word) {
  auto& walk = *static_cast<NeighbourWalk*>(state->context);
  if (word.ordinal >= walk.endOrdinal) return ReVisitDone;
  if (state->resultCount >= walk.wanted) return ReVisitDone;
  ReRestoreCase(*state->index, word, ReCaseLower, state->spare);
  const u32 added = ReAddResultWord(state->spare, word.length, state, 2);
  if (added == ReAddFull) return ReVisitFull;
  return state->resultCount >= walk.wanted ? ReVisitDone : ReVisitGoOn;
}

// Collects the words of one block, ordinals 0 .. end - 1, into the state's
// pool (which the caller set). False when the walk failed or was stopped.
bool CollectBlock(const ReListCall& call, NeighbourWalk& walk, u16 block, u16 end) {
  ReIndexState* state = call.state;
  state->visit = VisitCollect;
  walk.endOrdinal = end;
  walk.wanted = 0x7FFF;
  const u32 walked =
      ReDecodeIndex(state->key, static_cast<i16>(std::max<u16>(state->keyLength, 1)), block, 0, call.index, state);
  return walked == ReWalkDone || walked == ReWalkFull;
}

}  // namespace

u32 ReNeighbourList(ReIdxListBlock* block) {
  ReStatusBlock* status = block->status;
  ReListCall call;
  if (!ReBeginListCall(&call, block, ReTagWildcard, ReModNeighbours, true, ReUnlockFailure::HandleLayer)) {
    return status->status;
  }
  const u32 limit = block->resultLimit;
  const u32 longest = ReLongestListWord(call) + 1u;
  const u32 wordLength = ReBlockWordLength(call);
  const u32 length = std::min(wordLength, longest - 1);
  ReScopedGlobal offsets, pool, word;
  if (!offsets.Alloc(limit * 2) || !pool.Alloc(block->resultAreaSize) || !word.Alloc(longest)) {
    ReSetStatus(status, ReSevError, ReErrMemory, ReModNeighbours);
    ReCloseProgress(call);
    ReEndListCall(&call, ReHandleFree);
    return status->status;
  }
  auto* typed = reinterpret_cast<char*>(word.data());
  if (block->word) std::memcpy(typed, block->word, length);
  ReLowerWord(*call.index, typed);

  ReIndexState* state = call.state;
  NeighbourWalk walk{};
  ReBeginListWalk(call, ReWalkFindWord);
  state->visit = VisitFind;
  state->context = &walk;
  std::memcpy(state->key, typed, length + 1);
  state->keyLength = static_cast<u16>(length);
  // A word longer than the longest word is not in the index.
  if (length > 0 && length == wordLength) ReWalkKeyRange(call, typed, length, typed, static_cast<u16>(length));
  const u32 before = limit / 2, after = limit - before;
  u32 beforeFound = 0;
  char* results = block->results;
  u32 used = 0;
  block->foundCount = 0;
  bool ok = !state->stop && state->failure == ReWalkOk;
  if (ok && !walk.found) {
    ReSetStatus(status, ReSevError, ReWarnNothing, ReModNeighbours);  // the word is not in the index
    ok = false;
  }

  // The word and the words after it.
  if (ok) {
    state->mode = ReWalkCollect;
    state->pool = reinterpret_cast<char*>(pool.data());
    state->offsets = reinterpret_cast<u16*>(offsets.data());
    state->resultLimit = static_cast<i16>(std::min<u32>(limit, 0x7FFF));
    state->poolSize = block->resultAreaSize;
    state->visit = VisitCollect;
    walk.wanted = static_cast<i32>(limit < 2 ? limit : after);
    walk.endOrdinal = 0xFFFF;
    state->skipOrdinals = walk.ordinal;
    const u32 walked =
        ReDecodeIndexBlock(typed, static_cast<i16>(length), walk.block,
                           static_cast<u16>(call.index->blockCount - 1u - walk.block), call.index, state);
    ok = walked == ReWalkDone || walked == ReWalkFull;
    if (ok && state->resultCount < walk.wanted) ReSetStatus(status, ReSevWarning, ReWarnNoFurther, ReModNeighbours);
  }
  const i32 afterFound = state->resultCount;

  // The words before it: this block up to the word, then block by block back.
  if (ok && limit >= 2) {
    ReScopedGlobal beforeOffsets;
    if (!beforeOffsets.Alloc(before * 2)) {
      ReSetStatus(status, ReSevError, ReErrMemory, ReModNeighbours);
      ok = false;
    }
    // Gathered newest first into the front of the pool's room after the
    // words from the word on.
    u16* kept = reinterpret_cast<u16*>(beforeOffsets.data());
    const char* firstAfter = afterFound > 0 ? ReResultWord(state, 0) : "";
    const char* newest = firstAfter;
    i32 at = walk.block;
    u16 end = walk.ordinal;
    u32 poolUsedAfter = state->poolUsed;
    while (ok && beforeFound < before) {
      // Count the block's words, then collect them into a scratch pool.
      u32 count = end;
      if (end == 0xFFFF) {
        state->mode = ReWalkCountWords;
        state->visit = VisitCount;
        walk.counted = 0;
        const u32 walked = ReDecodeIndex(typed, static_cast<i16>(std::max<u32>(length, 1)), static_cast<u16>(at), 0,
                                         call.index, state);
        if (walked != ReWalkDone) {
          ok = false;
          break;
        }
        count = walk.counted;
      }
      ReScopedGlobal scratch, scratchOffsets;
      if (count > 0) {
        if (!scratch.Alloc(longest * count) || !scratchOffsets.Alloc(count * 2)) {
          ReSetStatus(status, ReSevError, ReErrMemory, ReModNeighbours);
          ok = false;
          break;
        }
        char* pool0 = state->pool;
        u16* offsets0 = state->offsets;
        const i16 count0 = state->resultCount, limit0 = state->resultLimit;
        const u16 used0 = state->poolUsed, size0 = state->poolSize;
        state->pool = reinterpret_cast<char*>(scratch.data());
        state->offsets = reinterpret_cast<u16*>(scratchOffsets.data());
        state->resultCount = 0;
        state->resultLimit = static_cast<i16>(std::min<u32>(count, 0x7FFF));
        state->poolUsed = 0;
        state->poolSize = static_cast<u16>(std::min<u32>(longest * count, 0xFFFF));
        state->mode = ReWalkCollect;
        ok = CollectBlock(call, walk, static_cast<u16>(at), static_cast<u16>(std::min<u32>(count, 0xFFFF)));
        // Take the block's words from the last backwards.
        for (i32 i = state->resultCount; ok && i-- > 0 && beforeFound < before;) {
          const char* w = ReResultWord(state, i);
          if (std::strcmp(w, newest) == 0) continue;  // another record of the same word
          const u32 n = static_cast<u32>(std::strlen(w)) + 1;
          if (poolUsedAfter + n > size0) break;
          std::memcpy(pool0 + poolUsedAfter, w, n);
          kept[beforeFound++] = static_cast<u16>(poolUsedAfter);
          newest = pool0 + poolUsedAfter;
          poolUsedAfter += n;
        }
        state->pool = pool0;
        state->offsets = offsets0;
        state->resultCount = count0;
        state->resultLimit = limit0;
        state->poolUsed = used0;
        state->poolSize = size0;
      }
      if (!ok || beforeFound >= before) break;
      if (at == 0) {
        ReSetStatus(status, ReSevWarning, ReWarnNoFurther, ReModNeighbours);
        break;
      }
      --at;
      end = 0xFFFF;
    }
    // In index order: the words before (oldest first), then the word on.
    for (u32 i = beforeFound; ok && i-- > 0;) {
      const char* w = state->pool + kept[i];
      const u32 n = static_cast<u32>(std::strlen(w)) + 1;
      if (!results || used + n > block->resultAreaSize) break;
      std::memmove(results + used, w, n);
      used += n;
    }
  }
  if (ok) {
    ReCopyResults(state, 0, results, block->resultAreaSize, used);
    block->foundCount = static_cast<i16>(beforeFound + static_cast<u32>(afterFound));
    if (block->foundCount == 0) ReSetStatus(status, ReSevWarning, ReWarnNothing, ReModNeighbours);
  }
  if (state->stop) ReSetStatus(status, ReSevWarning, ReCodeStopped, ReModNeighbours);
  ReReportWalkFailure(call);
  state->context = nullptr;
  state->pool = nullptr;
  state->offsets = nullptr;
  if (status->status == ReFail) ReCloseProgress(call);
  ReEndListCall(&call, ReHandleFree);
  return status->status;
}
