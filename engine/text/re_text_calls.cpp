#include "re_text_calls.h"

#include "re_frame.h"
#include "re_handles.h"
#include "re_synonyms.h"
#include "re_text_work.h"

namespace {

void ServeSynonyms(const ReDbRecord* record, ReWorkRecord* work, ReEntryBlock* block, u16 function, u16 action,
                   ReStatusBlock* status) {
  ReSynonymText(record, work, block, function, action, status);
}
void ServeSynonyms(const ReDbRecord* record, ReWorkRecord* work, ReTokenBlock* block, u16, u16, ReStatusBlock* status) {
  ReSynonymChunk(record, work, block, status);
}

// What function 160 empties before it answers.
void EmptyOutput(ReEntryBlock* block) { block->textLength = 0; }
void EmptyOutput(ReTokenBlock* block) { block->tokenCount = 0; }

template <class Block>
bool BeginTextCall(Block* block, u16 function, u16 action, u16 module, ReStatusBlock* status) {
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(block->handle, ReTagText, status, ReModDb, &record, &work)) return false;
  if (record->textFormat == ReSynonymFormat) {
    ServeSynonyms(record, work, block, function, action, status);
    ReFrameUnlock(block->handle, ReHandleFree, status, module);
    return false;
  }
  if (!ReFrameUnlock(block->handle, ReHandleFree, status, module)) return false;
  if (function != ReFnTextSubset) return true;
  if (action != ReActOpen) {
    ReSetStatus(status, ReSevError, ReErrAction, module);
    return false;
  }
  EmptyOutput(block);
  u16 subset = 0;
  if (ReSubsetOfBlockEntry(block->handle, block->entry, module, &subset, status)) block->subsetResult = subset;
  return false;
}

}  // namespace

bool ReBeginTextCall(ReEntryBlock* block, u16 function, u16 action, ReStatusBlock* status) {
  return BeginTextCall(block, function, action, ReModEntry, status);
}

bool ReBeginTextCall(ReTokenBlock* block, u16 function, u16 action, ReStatusBlock* status) {
  return BeginTextCall(block, function, action, ReModToken, status);
}
