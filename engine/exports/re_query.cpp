// The queries' exports: REsearch (ordinal 7), a Boolean search in pages of
// hits (470 builds the search buffers, parses and returns the first page, 430
// the next page, 480 releases the buffers; the last page comes with warning
// -352); REconqry (ordinal 14), a ranked concept query over one or more
// databases; REcontable (ordinal 15), the hits of the last concept collection
// on a database, between the collecting and the ranking calls.
#include "re_concept.h"
#include "re_frame.h"
#include "re_search.h"
#include "zorlre32.h"

RE_EXPORT u32 RE_CALL REsearch(void* block, u16 function, u16 action) {
  static const ReEntrySpec spec{
      ReModSearch, {ReFuncWordSearch, ReFuncTextSearch}, {ReActOpen, ReActNext, ReActClose}, false};
  auto* search = static_cast<ReSearchBlock*>(block);
  return ReRunEntry(search, spec, function, action, [&](ReStatusBlock* status) {
    if (action == ReActClose) {
      ReReleaseSearch(search->handle, status, ReBuffersSearch);
      return;
    }
    const u8 wordSearch = function == ReFuncWordSearch ? 1 : 0;
    if (action == ReActOpen && ReAllocSearchBuffers(search->handle, 0, 256, search->query, wordSearch, search->caseMode,
                                                    status, ReBuffersSearch) == ReFail) {
      ReSetStatus(status, ReSevError, ReErrBuffers, ReModSearch);
      return;
    }
    const u32 result = ReRunSearch(search, function);
    if (result == ReDone) return;
    if (result == ReFail) ReSetStatus(status, ReSevError, ReErrCodeMap, ReModSearch);
    // A finished, stopped or failed search gives its buffers back at once.
    ReReleaseSearch(search->handle, status, ReBuffersSearch);
  });
}

RE_EXPORT u32 RE_CALL REconqry(void* dbBlock, void* rankRecord, void* searchBlock, u16 /*mode*/, u16 action) {
  auto* db = static_cast<ReDbBlock*>(dbBlock);
  auto* rank = static_cast<ReRankRecord*>(rankRecord);
  auto* search = static_cast<ReSearchBlock*>(searchBlock);
  if (!ReIsLive(db)) return ReFail;
  ReStatusBlock* status = ReStartCall(search);
  if (!status) return ReFail;
  if (action != ReActOpen && action != ReActNextAlt && action != ReActClose)
    return ReRefuse(status, ReErrAction, ReModSearch);
  // Collecting needs the terms and their frequencies; ranking, the
  // frequencies and the weights.
  if (!rank || (action != ReActClose && rank->termCount > 0 && (!rank->termTexts || !rank->idf)) ||
      (action == ReActClose && (!rank->idf || !rank->weights)))
    return ReRefuse(status, ReErrNoSelection, ReModSearch);
  return ReRunConceptQuery(db, rank, search, action, status);
}

RE_EXPORT u32 RE_CALL REcontable(void* block, u32* hitTable, u32* hitCount) {
  auto* db = static_cast<ReDbBlock*>(block);
  ReStatusBlock* status = ReStartCall(db);
  if (!status) return ReFail;
  if (!hitTable || !hitCount) return ReRefuse(status, ReErrNoSelection, ReModConTable);
  ReHandOverConceptHits(db->handle, hitTable, hitCount, status);
  return status->status;
}
