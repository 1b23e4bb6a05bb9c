// The ranked concept query of REconqry, over one or more databases, and the
// hits it collected for REcontable.
#include "re_concept.h"

#include <cstring>

#include "re_charclass.h"
#include "re_frame.h"
#include "re_handles.h"
#include "re_memory.h"
#include "re_platform.h"
#include "re_rank.h"
#include "re_search.h"
#include "re_search_index.h"

namespace {

// The engine-wide collection: one concept query at a time.
struct Collection {
  ReConceptHit* hits;
  u32 count;
  u32* df;  // occurrences per term, counted in 32 bits
  u16 termCount;
};
Collection g_collection;

u32 TableValue(const ReConceptHit* hits) { return static_cast<u32>(reinterpret_cast<uintptr_t>(hits)); }

// No database record may keep the table once it is gone.
void ForgetTable(const ReConceptHit* hits) {
  for (ReHandleNode* node = ReFirstHandle(); node; node = node->next) {
    ReDbRecord* record = node->database ? node->database->record : nullptr;
    if (record && record->conceptHitTable == TableValue(hits) && hits) {
      record->conceptHitTable = 0;
      record->conceptHitCount = 0;
    }
  }
}

void FreeCollection() {
  ForgetTable(g_collection.hits);
  ReHeapFree(g_collection.hits);
  ReHeapFree(g_collection.df);
  g_collection = Collection{};
}

bool OpenCollection(u16 termCount) {
  FreeCollection();
  g_collection.hits = static_cast<ReConceptHit*>(ReHeapAllocChecked(u64{ReConceptHitCapacity} * sizeof(ReConceptHit)));
  g_collection.df = g_collection.hits ? static_cast<u32*>(ReHeapAllocChecked(u64{termCount} * 4 + 4)) : nullptr;
  if (!g_collection.df) {
    FreeCollection();
    return false;
  }
  g_collection.termCount = termCount;
  return true;
}

// Collects every occurrence of the record's terms in the database.
void Collect(ReDbRecord* record, ReWorkRecord* work, ReRankRecord* rank, u32 entryCount) {
  ReSearchState* state = static_cast<ReSearchState*>(record->searchBuffers);
  const u32* classes = ReQueryClasses(record);
  record->conceptHitTable = TableValue(g_collection.hits);
  const ReProgressCallback progress = work->progress;
  work->progress = nullptr;  // the lookups report no progress
  char word[ReQueryMaxLength];
  const u16 terms = rank->termCount < g_collection.termCount ? rank->termCount : g_collection.termCount;
  for (u16 i = 0; i < terms; ++i) {
    if (state && state->buffers) std::memset(state->buffers->blockTerms, 0, state->buffers->blockCount + 1);
    const char* text = rank->termTexts ? rank->termTexts[i] : nullptr;
    if (!text) continue;
    const size_t length = strnlen(text, sizeof word - 1);
    for (size_t c = 0; c < length; ++c) {
      const u8 character = static_cast<u8>(text[c]);
      word[c] = static_cast<char>((classes[character] & ReClassUpper) ? character + 32 : character);
    }
    word[length] = '\0';
    // The lookups walk the search index, whose words may be longer than the main index's.
    const u16 longest = record->searchIndex.longestWord ? record->searchIndex.longestWord : record->longestWord;
    if (length == 0 || length > longest) continue;
    u32 added = 0;
    const ReTermLookup lookup = ReCollectTermHits(record, work, word, i, g_collection.hits + g_collection.count,
                                                  ReConceptHitCapacity - g_collection.count, &added);
    if (lookup == ReTermLookup::Exact && added > 0) {
      g_collection.count += added;
      g_collection.df[i] += added;
    }
  }
  for (u16 i = 0; i < rank->termCount && rank->idf; ++i)
    rank->idf[i] = i < terms ? ReInverseFrequency(entryCount, g_collection.df[i]) : 0.0f;
  record->conceptHitCount = g_collection.count;
  work->progress = progress;
}

// 470 and 440: collects in the database (470 opens the collection first). 0,
// or 4 while the collection holds nothing.
u32 CollectInto(ReDbRecord* record, ReWorkRecord* work, ReRankRecord* rank, u32 entryCount, u16 action,
                ReStatusBlock* status) {
  if (action == ReActOpen && !OpenCollection(rank->termCount)) {
    ReSetStatus(status, ReSevWarning, ReWarnEnded, ReModQuery);
  } else if (g_collection.hits) {
    Collect(record, work, rank, entryCount);
  }
  return g_collection.count == 0 ? ReWarn : ReDone;
}

void FreeWork(ReRankRecord* rank) {
  for (void*& array : rank->work) {
    ReHeapFree(array);
    array = nullptr;
  }
}

// Scores the collection into the rank record. 0, 4 or 8.
u32 Rank(ReWorkRecord* work, ReRankRecord* rank, ReSearchBlock* search, u32 entryCount, ReStatusBlock* status) {
  rank->resultCount = 0;
  search->hitCount = 0;
  if (!g_collection.hits || g_collection.count == 0) {
    FreeCollection();  // the ranking ends the collection, whatever it held
    return ReWarn;
  }
  const u16 terms = rank->termCount;
  const u64 entries = u64{entryCount} + 1;
  rank->work[0] = ReHeapAllocChecked(u64{terms} * 4 + 4);
  rank->work[1] = ReHeapAllocChecked(u64{terms} * 4 + 4);
  rank->work[2] = ReHeapAllocChecked(entries * 4);
  rank->work[3] = ReHeapAllocChecked(entries * 4);
  rank->work[4] = ReHeapAllocChecked(u64{ReConceptOffsetMask + 1} * 2);
  rank->work[5] = ReHeapAllocChecked(u64{terms} * 4 + 4);
  rank->work[6] = ReHeapAllocChecked(entries * 2);
  for (void* array : rank->work) {
    if (array) continue;
    FreeWork(rank);
    ReSetStatus(status, ReSevError, ReErrMemory, ReModQuery);
    return ReFail;
  }
  const ReRankWork arrays{static_cast<float*>(rank->work[0]), static_cast<float*>(rank->work[1]),
                          static_cast<float*>(rank->work[2]), static_cast<u32*>(rank->work[3]),
                          static_cast<u16*>(rank->work[4]),   static_cast<float*>(rank->work[5]),
                          static_cast<u16*>(rank->work[6])};
  u32 result = ReDone;
  if (!ReSortHits(g_collection.hits, g_collection.count, work->progress)) {
    ReSetStatus(status, ReSevWarning, ReCodeStopped, ReModQuery);
    result = ReWarn;
  } else {
    const ReRankInput input{g_collection.hits, g_collection.count, terms, rank->idf, rank->weights, entryCount};
    const u32 kept = ReScoreEntries(input, arrays);
    if (!ReFillRanks(arrays, kept, rank, work->progress)) {
      rank->resultCount = 0;
      ReSetStatus(status, ReSevWarning, ReCodeStopped, ReModQuery);
      result = ReWarn;
    }
  }
  search->hitCount = rank->resultCount;
  FreeWork(rank);
  FreeCollection();
  return result;
}

}  // namespace

u32 ReRunConceptQuery(const ReDbBlock* db, ReRankRecord* rank, ReSearchBlock* search, u16 action,
                      ReStatusBlock* status) {
  if (ReAllocSearchBuffers(search->handle, 0, 256, search->query, 1, search->caseMode, status, ReBuffersSearch) !=
      ReDone) {
    ReSetStatus(status, ReSevError, ReErrBuffers, ReModSearch);
    return ReFail;
  }
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(db->handle, ReTagSearch, status, ReModQuery, &record, &work)) {
    ReReleaseSearch(search->handle, status, ReBuffersSearch);
    return ReFail;
  }
  const ReSearchState* state = static_cast<const ReSearchState*>(record->searchBuffers);
  u32 result = ReDone;
  if (ReCheckQueryDatabase(record, search->databaseId, state, status) == ReQueryGate::Open)
    result = action == ReActClose ? Rank(work, rank, search, db->entryCount, status)
                                  : CollectInto(record, work, rank, db->entryCount, action, status);
  ReFrameUnlock(db->handle, ReHandleFree, status, ReModQuery);
  ReReleaseSearch(search->handle, status, ReBuffersSearch);
  // Nothing collected is told by the result alone.
  if (status->status == ReDone && result == ReWarn) return ReWarn;
  return status->status;
}

void ReEndConceptsOf(const ReDbRecord* record) {
  if (g_collection.hits && record->conceptHitTable == TableValue(g_collection.hits)) FreeCollection();
}

void ReHandOverConceptHits(u16 handle, u32* hitTable, u32* hitCount, ReStatusBlock* status) {
  ReDbRecord* record = nullptr;
  if (!ReFrameLock(handle, ReTagSearch, status, ReModConTable, &record, nullptr)) return;
  *hitTable = record->conceptHitTable;
  *hitCount = record->conceptHitCount;
  ReFrameUnlock(handle, ReHandleFree, status, ReModConTable);
}
