#include "re_text_work.h"

#include <algorithm>

#include "re_frame.h"
#include "re_handles.h"
#include "re_platform.h"
#include "re_subsets.h"

namespace {

constexpr i16 kErrSubsetTest = -467;

}  // namespace

ReTextWork* ReTextWorkOf(const ReDbRecord* record, ReWorkRecord* work) {
  if (work->text) return work->text;
  auto* text = static_cast<ReTextWork*>(ReHeapAlloc(sizeof(ReTextWork)));
  if (!text) return nullptr;
  if (!ReInitPlainReader(&text->entry.reader)) {
    ReHeapFree(text);
    return nullptr;
  }
  if (!ReInitPlainReader(&text->titles)) {
    ReFreePlainReader(&text->entry.reader);
    ReHeapFree(text);
    return nullptr;
  }
  text->ahead = static_cast<ReStreamAhead*>(ReHeapAlloc(sizeof(ReStreamAhead)));
  ReTextTables tables{};
  const bool hasText = ReTextTablesOf(record, &tables);
  if (!text->ahead || (hasText && !ReBuildEntryCodeTexts(&tables, &text->codeTexts)) ||
      (record->automaton.entries && !ReBuildAutomatonRows(&record->automaton, &text->automatonRows))) {
    ReFreeCodeTexts(&text->codeTexts);
    ReHeapFree(text->ahead);
    ReFreePlainReader(&text->titles);
    ReFreePlainReader(&text->entry.reader);
    ReHeapFree(text);
    return nullptr;
  }
  work->text = text;
  return text;
}

void ReReleaseTextWork(ReWorkRecord* work) {
  ReTextWork* text = work->text;
  if (!text) return;
  ReFreeTokenReading(&text->token);
  ReHeapFree(text->entry.buffer);
  ReFreePlainReader(&text->entry.reader);
  ReFreePlainReader(&text->titles);
  ReHeapFree(text->ahead);
  ReFreeCodeTexts(&text->codeTexts);
  ReFreeAutomatonRows(&text->automatonRows);
  ReHeapFree(text);
  work->text = nullptr;
}

bool ReBindEntryText(const ReDbRecord* record, ReWorkRecord* work, ReProgressCallback progress, ReCodeStream* stream,
                     ReTextTables* tables) {
  if (!ReTextTablesOf(record, tables) || !work->textReader) return false;
  *stream = ReFileCodeStream(work->textReader, tables->codeWidth, progress);
  stream->ahead = work->text ? work->text->ahead : nullptr;
  if (work->text && work->text->codeTexts.entries) tables->codeTexts = &work->text->codeTexts;
  return true;
}

u32 ReTokenCapacity(const ReTokenBlock* block) {
  const u32 text = ReHeapSize(block->text) / 8;
  const u32 tokens = ReHeapSize(block->tokens) / sizeof(ReToken);
  return std::min<u32>({block->capacity, text, tokens});
}

u32 ReEntryTextRoom(const ReEntryBlock* block) { return std::min<u32>(block->bufferSize, ReHeapSize(block->text)); }

bool ReSubsetOfBlockEntry(u16 handle, u32 entry, u16 module, u16* subset, ReStatusBlock* status) {
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(handle, ReTagSubset, status, ReModDb, &record, &work)) return false;
  const bool tested = ReSubsetOfEntry(record, work, static_cast<i32>(entry), subset, status) == ReDone;
  if (!tested) ReSetStatus(status, ReSevError, kErrSubsetTest, module);
  ReFrameUnlock(handle, ReHandleFree, status, module);
  return tested;
}

ReTitleRules ReTitleRulesOf(const ReDbRecord* record) {
  return ReTitleRules{record->titleMode, record->textFormat, record->dotMode};
}

u32 ReDecodeEntryBeginning(const ReDbRecord* record, ReWorkRecord* work, u32 entry, char* out, u32 size, u32* length,
                           ReStatusBlock* status, u16 module) {
  *length = 0;
  if (out && size) out[0] = 0;
  if (!out || size < 2) return ReFail;
  if (entry < 1 || entry > record->entryCount) {
    ReSetStatus(status, ReSevError, ReErrEntryRange, module);
    return ReFail;
  }
  ReTextWork* text = ReTextWorkOf(record, work);
  if (!text) {
    ReSetStatus(status, ReSevError, ReErrMemory, module);
    return ReFail;
  }
  ReCodeStream stream{};
  ReTextTables tables{};
  if (!ReBindEntryText(record, work, nullptr, &stream, &tables)) {
    ReSetStatus(status, ReSevError, ReErrNoMarkup, module);
    return ReFail;
  }
  i32 result = ReOpenPlainEntry(&text->titles, &stream, &tables, entry);
  u32 decoded = 0;
  if (result == 0 || result == RePlainEnded)
    result = ReDecodeEntryText(&text->titles, &stream, &tables, RePlainTitle, RePlainContinue, out, size + 1, &decoded);
  if (result == RePlainBad) {
    if (stream.readFailed) ReSetHandleStatus(status, ReSevError, ReErrFileRead, module);
    ReSetStatus(status, ReSevError, ReErrNoMarkup, module);
    return ReFail;
  }
  out[decoded] = 0;
  *length = decoded;
  return ReDone;
}

u32 ReReadEntryTitle(const ReDbRecord* record, ReWorkRecord* work, u32 entry, char* title, u32 size,
                     bool* plainHeadword, ReStatusBlock* status, u16 module) {
  if (title && size) title[0] = 0;
  const u32 room = std::max<u32>(record->longestLine, 255) + 2u;
  char* beginning = static_cast<char*>(ReHeapAlloc(room));
  if (!beginning) {
    ReSetStatus(status, ReSevError, ReErrMemory, module);
    return ReFail;
  }
  u32 length = 0;
  u32 result = ReDecodeEntryBeginning(record, work, entry, beginning, room, &length, status, module);
  if (result == ReDone) result = ReEntryTitle(beginning, length, ReTitleRulesOf(record), title, size, plainHeadword);
  ReHeapFree(beginning);
  return result;
}
