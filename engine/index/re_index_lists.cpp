// What the word lists share: the walk state of a database, the lock around a
// list call, and the result area.
#include "re_index_lists.h"

#include <algorithm>
#include <cstring>

#include "re_frame.h"
#include "re_handles.h"

namespace {

void ReleaseIndexState(ReDbRecord* record) {
  ReFreeIndexState(static_cast<ReIndexState*>(record->indexState));
  record->indexState = nullptr;
}

}  // namespace

ReIndexState* ReIndexStateOf(ReDbRecord* record) {
  if (record->indexState) return static_cast<ReIndexState*>(record->indexState);
  const u16 mainSize = record->index ? record->index->blockSize : 0;
  ReIndexState* state = ReNewIndexState(std::max(mainSize, record->searchIndex.blockSize));
  if (!state) return nullptr;
  const ReIndexTables& t = record->mainTables;
  ReLoadSpellingData(&state->spelling, t.table250.data, t.table250.length, t.table260.data, t.table260.length,
                     t.table270.data, t.table270.length, t.table290.data, t.table290.length);
  record->indexState = state;
  record->releaseIndexState = ReleaseIndexState;
  return state;
}

bool ReBeginListCall(ReListCall* call, ReIdxListBlock* block, u16 tag, u16 module, bool checkDatabase,
                     ReUnlockFailure unlockFailure) {
  *call = ReListCall{};
  call->block = block;
  call->status = block->status;
  call->module = module;
  call->unlockFailure = unlockFailure;
  if (!ReFrameLock(block->handle, tag, call->status, module, &call->record, &call->work)) return false;
  // Every failure after the lock closes the progress display.
  if (checkDatabase && block->databaseId != call->record->databaseId) {
    ReSetStatus(call->status, ReSevError, ReErrSelectionDb, module);
    ReCloseProgress(*call);
    ReEndListCall(call, ReHandleFree);
    return false;
  }
  call->index = call->record->index;
  call->state = ReIndexStateOf(call->record);
  if (!call->state || !call->index) {
    ReSetStatus(call->status, ReSevError, ReErrMemory, module);
    ReCloseProgress(*call);
    ReEndListCall(call, ReHandleFree);
    return false;
  }
  return true;
}

void ReEndListCall(ReListCall* call, u16 newState) {
  if (!call->record) return;
  if (call->unlockFailure == ReUnlockFailure::Operation) {
    ReFrameUnlock(call->block->handle, newState, call->status, call->module);
  } else {
    // The list reports its failed unlock itself: -240 in its own module, not
    // the handle layer's code and module.
    ReStatusBlock unlock = call->status ? *call->status : ReStatusBlock{};
    if (ReUnlockHandle(call->block->handle, newState, &unlock) != ReDone)
      ReSetHandleStatus(call->status, ReSevError, ReErrHandleList, call->module);
  }
  call->record = nullptr;
}

void ReCloseProgress(const ReListCall& call) {
  if (call.work && call.work->progress) call.work->progress(0x7FFFFFFF, 0x7FFFFFFF);
}

void ReBeginListWalk(const ReListCall& call, u16 mode) {
  ReIndexState* state = call.state;
  ReBeginWalk(state, call.index, mode, ReReadingListNumber);
  const ReWorkRecord* work = call.work;
  state->subsetFilter = work->activeVector && !work->allEntries;
  state->subsetBits = work->activeVector;
  state->subsetBytes = work->vectorSize;
  state->progress = work->progress;
}

bool ReReportWalkFailure(const ReListCall& call) {
  if (call.state->failure == ReWalkOk) return false;
  if (call.state->failure == ReWalkNoMemory)
    ReSetStatus(call.status, ReSevError, ReErrMemory, call.module);
  else
    ReSetHandleStatus(call.status, ReSevError, ReErrFileRead, call.module);
  return true;
}

u32 ReLongestListWord(const ReListCall& call) { return std::min<u32>(call.index->longestWord, ReWordCapacity); }

u32 ReBlockWordLength(const ReListCall& call) {
  const u32 limit = ReLongestListWord(call) + 1u;
  const char* word = call.block->word;
  if (!word) return 0;
  u32 n = 0;
  while (n < limit && word[n]) ++n;
  return n;
}

u32 ReWalkKeyRange(const ReListCall& call, const char* key, u32 length, const char* walkKey, u16 walkKeyLength) {
  const ReIndexDescriptor* index = call.index;
  const u32 width = index->prefixLength;
  if (width == 0 || width > 4) return ReWalkDone;
  u16 lowBlock;
  const u32 end = ReKeyBlockRange(key, length, index, &lowBlock);
  return ReDecodeIndex(walkKey, static_cast<i16>(walkKeyLength), lowBlock, static_cast<u16>(end - lowBlock), index,
                       call.state);
}

u32 ReCopyResults(const ReIndexState* state, i32 from, char* area, u32 areaSize, u32 used) {
  for (i32 i = from; i < state->resultCount; ++i) {
    const char* word = ReResultWord(state, i);
    const u32 length = static_cast<u32>(std::strlen(word)) + 1;
    if (!area || used + length > areaSize) break;
    std::memcpy(area + used, word, length);
    used += length;
  }
  return used;
}
