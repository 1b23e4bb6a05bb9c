// REtoken's reading: an entry's text as chunks of nine-byte tokens.
#include "re_charclass.h"
#include "re_frame.h"
#include "re_handles.h"
#include "re_text_calls.h"
#include "re_text_work.h"

namespace {

enum : u16 { ReModOpenBuffer = 846, ReModReleaseBuffer = 848 };
enum : i16 { ReErrOpenBuffer = -490 };

// A chunk needs room for the longest literal piece (255 bytes) in its 8 x
// capacity bytes of text.
constexpr u16 ReMinimumCapacity = 33;

void ReleaseBuffer(ReTokenBlock* block, ReStatusBlock* status) {
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(block->handle, ReTagText, status, ReModReleaseBuffer, &record, &work)) return;
  if (work->text) ReFreeTokenReading(&work->text->token);
  ReFrameUnlock(block->handle, ReHandleFree, status, ReModReleaseBuffer);
}

// Opens the reading buffer for the block's entry; keeps it under 490 when it
// already holds that entry. False on failure (its cause recorded).
bool OpenBuffer(ReTokenBlock* block, u16 action, ReStatusBlock* status) {
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(block->handle, ReTagText, status, ReModDb, &record, &work)) return false;
  bool ok = false;
  const u32 entry = block->entry;
  const u32 capacity = ReTokenCapacity(block);
  ReTextWork* text = nullptr;
  if (entry < 1 || entry > record->entryCount) {
    ReSetStatus(status, ReSevError, ReErrEntryRange, ReModOpenBuffer);
  } else if (capacity < ReMinimumCapacity || !block->text || !block->tokens) {
    ReSetStatus(status, ReSevError, ReErrNoReadingBuffer, ReModOpenBuffer);
  } else if (!(text = ReTextWorkOf(record, work))) {
    ReSetStatus(status, ReSevError, ReErrMemory, ReModOpenBuffer);
  } else {
    ReTokenReading& reading = text->token;
    const bool keep = action == ReActReadOn && reading.window.bytes && reading.entry == entry;
    if (!reading.window.bytes && !ReInitTokenReading(&reading, capacity)) {
      ReSetStatus(status, ReSevError, ReErrMemory, ReModOpenBuffer);
    } else if (keep) {
      ok = true;
    } else {
      ReCodeStream stream{};
      ReTextTables tables{};
      // Finding the entry asks no progress callback; loading its text does.
      const i32 opened = ReBindEntryText(record, work, nullptr, &stream, &tables)
                             ? ReOpenTokenEntry(&reading, &stream, &tables, entry)
                             : ReLoadBadText;
      if (opened == ReLoadReadFailed) ReSetHandleStatus(status, ReSevError, ReErrFileRead, ReModOpenBuffer);
      if (opened == ReLoadBadText) ReSetStatus(status, ReSevError, ReErrNoMarkup, ReModOpenBuffer);
      ok = opened == ReLoadDone;
    }
  }
  ReFrameUnlock(block->handle, ReHandleFree, status, ReModToken);
  return ok && status->status != ReFail;
}

// Fills one chunk from the open entry.
void FillChunk(ReTokenBlock* block, u16 action, ReStatusBlock* status) {
  block->textLength = 0;
  block->tokenCount = 0;
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(block->handle, ReTagText, status, ReModDb, &record, &work)) return;
  ReTextWork* text = work->text;
  ReCodeStream stream{};
  ReTextTables tables{};
  const bool bound = ReBindEntryText(record, work, work->progress, &stream, &tables);
  const char* terms[ReMaxHitTerms];
  for (u32 i = 0; i < ReMaxHitTerms; ++i) terms[i] = block->terms[i];
  const u32* classes = record->kind <= 255 ? ReCharClassTable(static_cast<u8>(record->kind)) : nullptr;
  const ReHitTerms hits = ReMakeHitTerms(block->termCount, terms, block->markingMode, classes);
  ReChunkSource source{};
  source.stream = &stream;
  source.tables = &tables;
  const bool markup = bound && ReHasMarkup(record);
  source.automaton = markup ? &record->automaton : nullptr;
  source.rows = markup && text && text->automatonRows.next ? &text->automatonRows : nullptr;
  source.markup = markup ? &record->markupSections : nullptr;
  source.hits = &hits;
  source.progress = work->progress;
  ReChunkOut out{};
  out.text = block->text;
  out.textRoom = 8u * ReTokenCapacity(block);
  out.tokens = block->tokens;
  out.tokenRoom = ReTokenCapacity(block);
  u16 first = block->firstToken;
  ReNextTextChunk(text ? &text->token : nullptr, source, action, &first, &out, status);
  block->firstToken = first;
  block->textLength = static_cast<u16>(out.textLength);
  block->tokenCount = static_cast<u16>(out.tokenCount);
  ReFrameUnlock(block->handle, ReHandleFree, status, ReModToken);
}

}  // namespace

void ReReadTokenText(ReTokenBlock* block, u16 action, ReStatusBlock* status) {
  if (action == ReActClose) {
    ReleaseBuffer(block, status);
    return;
  }
  if ((action == ReActOpen || action == ReActReadOn) && !OpenBuffer(block, action, status)) {
    ReSetStatus(status, ReSevError, ReErrOpenBuffer, ReModToken);
    return;
  }
  FillChunk(block, action, status);
  const bool ended = status->status == ReWarn && status->warning == ReWarnEntryEnd;
  if (status->status == ReFail || (ended && action != ReActReadOn)) ReleaseBuffer(block, status);
}
