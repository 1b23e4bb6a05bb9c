// The steps of REsearch, a Boolean search in pages of hits, and the search
// state each database keeps.
#include "re_search.h"

#include <algorithm>
#include <cstring>

#include "re_charclass.h"
#include "re_concept.h"
#include "re_frame.h"
#include "re_handles.h"
#include "re_platform.h"
#include "re_search_stream.h"

namespace {

constexpr u32 kWorkTextSize = ReQueryMaxLength + 1;

void FreeBuffers(ReSearchBuffers* buffers) {
  if (!buffers) return;
  ReHeapFree(buffers->streamWindow);
  ReHeapFree(buffers->pendingTitle);
  ReHeapFree(buffers->title);
  ReHeapFree(buffers->codeMap);
  ReHeapFree(buffers->workText);
  ReHeapFree(buffers->blockTerms);
  ReHeapFree(buffers->eval);
  ReHeapFree(buffers);
}

void ReleaseState(ReDbRecord* record) {
  ReEndConceptsOf(record);
  auto* state = static_cast<ReSearchState*>(record->searchBuffers);
  if (state) {
    FreeBuffers(state->buffers);
    ReFreeCodeTexts(&state->codeTexts);
    ReHeapFree(state);
  }
  record->searchBuffers = nullptr;
}

// The blocks and codes that tables 10, 20 and 30 really hold, whatever their
// element counts say.
u32 BlockCount(const ReDbRecord* record) {
  return record->groupIndex.data ? std::min(record->groupCount, record->groupIndex.length / 4) : 0;
}
u32 CodeCount(const ReDbRecord* record) {
  return std::min({record->codeCount, record->codeFirst.length / 2, record->codeSecond.length / 2});
}

// Buffers in this order: evaluation record, block term bytes, work text,
// code map, title buffers, the window of the text stream. Null when any is
// missing (all freed).
ReSearchBuffers* BuildBuffers(const ReDbRecord* record) {
  auto* buffers = static_cast<ReSearchBuffers*>(ReHeapAlloc(sizeof(ReSearchBuffers)));
  if (!buffers) return nullptr;
  buffers->blockCount = BlockCount(record);
  buffers->codeCount = CodeCount(record);
  buffers->titleCapacity = static_cast<u32>(record->longestLine) + 1;
  buffers->eval = static_cast<ReEvalRecord*>(ReHeapAlloc(sizeof(ReEvalRecord)));
  buffers->blockTerms = buffers->eval ? static_cast<u8*>(ReHeapAlloc(buffers->blockCount + 1)) : nullptr;
  buffers->workText = buffers->blockTerms ? static_cast<char*>(ReHeapAlloc(kWorkTextSize)) : nullptr;
  buffers->codeMap = buffers->workText ? static_cast<u8*>(ReHeapAlloc(buffers->codeCount + 1)) : nullptr;
  buffers->title = buffers->codeMap ? static_cast<char*>(ReHeapAlloc(buffers->titleCapacity)) : nullptr;
  buffers->pendingTitle = buffers->title ? static_cast<char*>(ReHeapAlloc(buffers->titleCapacity)) : nullptr;
  buffers->streamWindow = buffers->pendingTitle ? static_cast<u8*>(ReHeapAlloc(ReStreamWindowBytes)) : nullptr;
  if (!buffers->streamWindow) {
    FreeBuffers(buffers);
    return nullptr;
  }
  return buffers;
}

// Copies a query text of a 1024-byte buffer that may lack its NUL.
void CopyQuery(char* to, const char* from) {
  const size_t length = from ? strnlen(from, ReQueryMaxLength - 1) : 0;
  std::memcpy(to, from, length);
  to[length] = '\0';
}

bool SameQuery(const char* query, const char* copy) {
  return strnlen(query, ReQueryMaxLength) < ReQueryMaxLength && std::strcmp(query, copy) == 0;
}

// The next page of a search whose database is open to it: the same query,
// function and case mode as the 470 that built the buffers, parsed on the
// first run.
void RunPage(ReDbRecord* record, ReWorkRecord* work, ReSearchState* state, ReSearchBlock* block, u8 wordSearch) {
  ReStatusBlock* status = block->status;
  if (!state || !state->buffers || !SameQuery(block->query, state->queryCopy) || state->wordSearch != wordSearch ||
      state->caseMode != block->caseMode) {
    ReSetStatus(status, ReSevError, ReErrRunState, ReModQuery);
    return;
  }
  const bool firstRun = state->runState == ReRunNew;
  if (firstRun) {
    const ReParseContext context{ReQueryClasses(record), record->longestWord};
    const ReParseOutput output{state->buffers->workText, state->queryCopy, &state->proximity};
    if (ReParseQuery(context, output, block->query, ReQueryBufferSize, wordSearch, block->caseMode, status) != ReDone)
      return;
  }
  const u32 result = ReEvaluateQuery(record, work, state, block);
  if (firstRun && block->hitCount == 0 && result != ReFail && status->warning != ReCodeStopped)
    ReSetStatus(status, ReSevWarning, ReWarnNothing, ReModQuery);
}

}  // namespace

const u32* ReQueryClasses(const ReDbRecord* record) { return ReWordClassTable(record->kind); }

ReQueryGate ReCheckQueryDatabase(const ReDbRecord* record, u32 blockDatabaseId, const ReSearchState* state,
                                 ReStatusBlock* status) {
  if (blockDatabaseId != record->databaseId) {
    ReSetStatus(status, ReSevError, ReErrSelectionDb, ReModQuery);
    return ReQueryGate::Refused;
  }
  if (!record->searchAllowed) {
    ReSetStatus(status, ReSevError, ReErrNoSearchIndex, ReModQuery);
    return ReQueryGate::Refused;
  }
  if (state && state->runState == ReRunEnded) {
    ReSetStatus(status, ReSevWarning, ReWarnEnded, ReModQuery);
    return ReQueryGate::Ended;
  }
  return ReQueryGate::Open;
}

ReSearchState* ReSearchStateOf(ReDbRecord* record) {
  if (!record->searchBuffers) {
    record->searchBuffers = ReHeapAlloc(sizeof(ReSearchState));
    if (record->searchBuffers) record->releaseSearchBuffers = ReleaseState;
  }
  return static_cast<ReSearchState*>(record->searchBuffers);
}

u32 ReAllocSearchBuffers(u16 handle, u32 /*entry*/, u16 /*windowSize*/, const char* query, u8 wordSearch, u8 caseMode,
                         ReStatusBlock* status, u16 mode) {
  if (mode != ReBuffersSearch) {
    ReSetStatus(status, ReSevError, ReErrBufferMode, ReModSearchBuffers);
    return ReFail;
  }
  ReDbRecord* record = nullptr;
  if (!ReFrameLock(handle, ReTagSearch, status, ReModSearchBuffers, &record, nullptr)) return ReFail;
  u32 result = ReDone;
  ReSearchState* state = nullptr;
  // A text whose codes are wider than 16 bits (or of no width) cannot be read.
  if (!record->searchAllowed || BlockCount(record) == 0 || CodeCount(record) == 0 || record->codeWidth < 1 ||
      record->codeWidth > 16) {
    ReSetStatus(status, ReSevError, ReErrNoSearchIndex, ReModSearchBuffers);
    result = ReFail;
  } else if (!(state = ReSearchStateOf(record)) || (!state->buffers && !(state->buffers = BuildBuffers(record)))) {
    ReSetStatus(status, ReSevError, ReErrMemory, ReModSearchBuffers);
    result = ReFail;
  } else {
    // A new search on existing buffers starts over.
    std::memset(state->buffers->eval, 0, sizeof(ReEvalRecord));
    state->runState = ReRunNew;
    CopyQuery(state->queryCopy, query);
    state->wordSearch = wordSearch;
    state->caseMode = caseMode;
    state->proximity = 0;
  }
  ReFrameUnlock(handle, ReHandleFree, status, ReModSearchBuffers);
  return result == ReDone ? status->status : ReFail;
}

u32 ReReleaseSearch(u16 handle, ReStatusBlock* status, u16 mode) {
  if (mode != ReBuffersSearch) {
    ReSetStatus(status, ReSevError, ReErrBufferMode, ReModSearchRelease);
    return ReFail;
  }
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(handle, ReTagSearch, status, ReModSearchRelease, &record, &work)) return ReFail;
  if (auto* state = static_cast<ReSearchState*>(record->searchBuffers)) {
    FreeBuffers(state->buffers);
    state->buffers = nullptr;
    // An ended search stays ended until the next 470; anything else is gone.
    if (state->runState != ReRunEnded) state->runState = ReRunNone;
  }
  if (work->progress) work->progress(0x7FFFFFFF, 0x7FFFFFFF);
  ReFrameUnlock(handle, ReHandleFree, status, ReModSearchRelease);
  return status->status == ReFail ? ReFail : ReDone;
}

u32 ReRunSearch(ReSearchBlock* block, u16 function) {
  ReStatusBlock* status = block->status;
  block->hitCount = 0;
  if (!block->query || !block->slots || block->slotCount == 0) {
    ReSetStatus(status, ReSevError, ReErrNoQueryBuffer, ReModQuery);
    return ReFail;
  }
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(block->handle, ReTagSearch, status, ReModQuery, &record, &work)) return ReFail;
  ReSearchState* state = static_cast<ReSearchState*>(record->searchBuffers);
  const u8 wordSearch = function == ReFuncWordSearch ? 1 : 0;
  const ReQueryGate gate = ReCheckQueryDatabase(record, block->databaseId, state, status);
  if (gate == ReQueryGate::Open) RunPage(record, work, state, block, wordSearch);
  ReFrameUnlock(block->handle, ReHandleFree, status, ReModQuery);
  // A next page asked of an ended search is a failed run.
  return gate == ReQueryGate::Ended ? ReFail : status->status;
}
