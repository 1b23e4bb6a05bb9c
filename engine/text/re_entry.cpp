// REentry's reading: an entry's tagged text, piece by piece.
#include <cstring>

#include "re_frame.h"
#include "re_handles.h"
#include "re_text_calls.h"
#include "re_text_work.h"

namespace {

enum : u16 { ReModPiece = 370 };
enum : i16 {
  ReErrOpenEntry = -490,
  ReErrPiece = -459,
  ReErrNoEntryOpen = -400,
};

constexpr u32 kEverything = 2147483647;

void CloseEntry(ReTextWork* text) {
  ReEntryReading& reading = text->entry;
  ReHeapFree(reading.buffer);
  reading.buffer = nullptr;
  reading.size = 0;
  reading.held = 0;
  reading.entry = 0;
  reading.state = 0;
}

// Opens the block's entry in the handle's reading record. False on failure
// (its cause recorded).
bool OpenEntry(ReDbRecord* record, ReWorkRecord* work, ReEntryBlock* block, ReStatusBlock* status) {
  const u32 entry = block->entry;
  if (entry < 1 || entry > record->entryCount) {
    ReSetStatus(status, ReSevError, ReErrEntryRange, ReModEntry);
    return false;
  }
  ReTextWork* text = ReTextWorkOf(record, work);
  // Decoding stops two bytes short of the room; one byte more than the
  // block's buffer lets a piece fill all of it but its NUL, so that a buffer
  // of the longest entry text + 1 holds any entry whole.
  const u32 size = ReEntryTextRoom(block) + 1u;
  if (!text || size < 3) {
    ReSetStatus(status, ReSevError, ReErrMemory, ReModEntry);
    return false;
  }
  CloseEntry(text);
  ReEntryReading& reading = text->entry;
  reading.buffer = static_cast<char*>(ReHeapAlloc(size));
  if (!reading.buffer) {
    ReSetStatus(status, ReSevError, ReErrMemory, ReModEntry);
    return false;
  }
  reading.size = size;
  ReCodeStream stream{};
  ReTextTables tables{};
  if (!ReBindEntryText(record, work, nullptr, &stream, &tables) ||
      ReOpenPlainEntry(&reading.reader, &stream, &tables, entry) != 0) {
    if (stream.readFailed) ReSetHandleStatus(status, ReSevError, ReErrFileRead, ReModEntry);
    CloseEntry(text);
    return false;
  }
  reading.entry = entry;
  reading.state = 0;
  return true;
}

// Reads one piece into the block. 0, 4 (-352 with the last piece) or 8.
u32 ReadPiece(ReEntryBlock* block, u16 action, ReStatusBlock* status) {
  block->textLength = 0;
  const u32 blockRoom = ReEntryTextRoom(block);
  if (blockRoom) block->text[0] = 0;
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(block->handle, ReTagText, status, ReModDb, &record, &work)) return ReFail;
  ReTextWork* text = work->text;
  ReEntryReading* reading = text && text->entry.entry ? &text->entry : nullptr;
  u32 result = ReDone;
  if (!reading) {
    ReSetStatus(status, ReSevError, ReErrNoEntryOpen, ReModPiece);
    result = ReFail;
  } else {
    const u16 mode = block->textMode == 0 || !reading->hitFlag ? RePlainRead : RePlainHits;
    if (reading->state != ReWarnEntryEnd || action == ReActReadOn) {
      // Under 490 reading goes on from the block's read position.
      u32 from = RePlainContinue;
      if (action == ReActReadOn && mode == RePlainRead) {
        from = block->readPosition;
        reading->held = 0;
      }
      reading->state = 1;
      ReCodeStream stream{};
      ReTextTables tables{};
      ReBindEntryText(record, work, work->progress, &stream, &tables);
      u32 decoded = 0;
      const i32 run = ReDecodeEntryText(&reading->reader, &stream, &tables, mode, from, reading->buffer + reading->held,
                                        reading->size - reading->held, &decoded);
      reading->held += decoded;
      if (work->progress) work->progress(kEverything, kEverything);
      if (run == RePlainEnded) {
        reading->state = ReWarnEntryEnd;
      } else if (run == RePlainStopped) {
        ReSetStatus(status, ReSevWarning, ReCodeStopped, ReModPiece);
      } else if (run != 0) {
        if (stream.readFailed) ReSetHandleStatus(status, ReSevError, ReErrFileRead, ReModPiece);
        ReSetStatus(status, ReSevError, ReErrNoMarkup, ReModPiece);
        result = ReFail;
      }
    }
    if (result != ReFail) {
      const u32 room = blockRoom < reading->size - 1 ? blockRoom : reading->size - 1;
      const u32 give = room == 0 ? 0 : reading->held < room - 1 ? reading->held : room - 1;
      std::memcpy(block->text, reading->buffer, give);
      if (room) block->text[give] = 0;
      std::memmove(reading->buffer, reading->buffer + give, reading->held - give);
      reading->held -= give;
      block->textLength = static_cast<u16>(give);
      if (mode == RePlainRead) block->readPosition = static_cast<u16>(reading->reader.textPos - reading->held);
      if (reading->state == ReWarnEntryEnd && reading->held == 0)
        ReSetStatus(status, ReSevWarning, ReWarnEntryEnd, ReModPiece);
    }
  }
  ReFrameUnlock(block->handle, ReHandleFree, status, ReModEntry);
  return status->status == ReFail ? ReFail : result;
}

}  // namespace

void ReReadEntryText(ReEntryBlock* block, u16 action, ReStatusBlock* status) {
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(block->handle, ReTagText, status, ReModDb, &record, &work)) return;
  ReTextWork* text = work->text;
  const bool same = text && text->entry.entry && text->entry.entry == block->entry;
  bool opened = true;
  if (action == ReActClose) {
    if (text) CloseEntry(text);
  } else if (action == ReActOpen || (action == ReActReadOn && !same)) {
    opened = OpenEntry(record, work, block, status);
  }
  ReFrameUnlock(block->handle, ReHandleFree, status, ReModEntry);
  if (action == ReActClose) return;
  if (!opened) {
    ReSetStatus(status, ReSevError, ReErrOpenEntry, ReModEntry);
    return;
  }
  if (ReadPiece(block, action, status) == ReFail) {
    ReSetStatus(status, ReSevError, ReErrPiece, ReModEntry);
    return;
  }
  const bool ended = status->status == ReWarn && status->warning == ReWarnEntryEnd;
  if (ended && action != ReActReadOn && ReFrameLock(block->handle, ReTagText, status, ReModDb, &record, &work)) {
    if (work->text) CloseEntry(work->text);
    ReFrameUnlock(block->handle, ReHandleFree, status, ReModEntry);
  }
}
