// REetpar's parse: the entries of an entry list in a dictionary-format
// database into headlines, labels and sub-items. The entries are read with
// REentry and the labels with REstrtab, each through a block of its own.
#include "re_etpar.h"

#include <cstring>

#include "re_charclass.h"
#include "re_control_blocks.h"
#include "re_etpar_parse.h"
#include "re_frame.h"
#include "re_handles.h"
#include "re_lists_codes.h"
#include "re_platform.h"
#include "re_text_calls.h"
#include "zorlre32.h"

namespace {

constexpr u16 kEntryBuffer = 1024;
constexpr u32 kLongestLine = 65535;  // a longer line is cut there

// --- Labels through a string-table block ------------------------------------

u32 LookUpLabel(void* context, u16 key1, u16 key2, bool second, char** text) {
  auto* block = static_cast<ReStrTabBlock*>(context);
  block->firstKey = key1;
  block->secondKey = key2;
  if (REstrtab(block, second ? ReFnSecondString : ReFnFirstString, ReActOpen) != ReDone) return ReWarn;
  *text = ReCopyText(block->text, static_cast<u32>(std::strlen(block->text)));
  return *text ? ReDone : ReFail;
}

// --- Lines of an entry's text -------------------------------------------------

// Gathers the text of an entry chunk by chunk and hands on whole lines; a
// run of line feeds counts as one.
class LineReader {
 public:
  ~LineReader() { ReHeapFree(line_); }

  // Feeds one chunk; calls `take(line, length)` (-> false on no memory) for
  // every line it completes. False on no memory.
  template <class Take>
  bool Feed(const char* text, u32 length, Take&& take) {
    for (u32 i = 0; i < length; ++i) {
      if (text[i] == '\n') {
        if (length_ && !take(line_, length_)) return false;
        length_ = 0;
        continue;
      }
      if (!Append(text[i])) return false;
    }
    return true;
  }
  template <class Take>
  bool Finish(Take&& take) {
    bool ok = length_ == 0 || take(line_, length_);
    length_ = 0;
    return ok;
  }

 private:
  bool Append(char c) {
    if (length_ == kLongestLine) return true;  // the rest of an over-long line is dropped
    if (length_ == capacity_) {
      u32 capacity = capacity_ ? capacity_ * 2 : 256;
      if (capacity > kLongestLine) capacity = kLongestLine;
      char* grown = static_cast<char*>(ReHeapAlloc(capacity));
      if (!grown) return false;
      if (length_) std::memcpy(grown, line_, length_);
      ReHeapFree(line_);
      line_ = grown;
      capacity_ = capacity;
    }
    line_[length_++] = c;
    return true;
  }

  char* line_ = nullptr;
  u32 length_ = 0;
  u32 capacity_ = 0;
};

// What one call works with.
struct Call {
  ReEtParBlock* block;
  const ReDbBlock* db;
  ReStatusBlock* status;
  ReEtParser parser;
  bool textMode;
};

void NoMemory(Call* call) { ReSetStatus(call->status, ReSevError, ReErrMemory, ReModEtParWork); }
void Unreadable(Call* call) { ReSetStatus(call->status, ReSevError, ReWarnNothing, ReModEtParWork); }

ReEntListSlot SlotAt(const Call& call, i16 index) {
  ReEntListSlot slot;
  std::memcpy(&slot, reinterpret_cast<const u8*>(call.block->slots) + index * sizeof(ReEntListSlot), sizeof slot);
  return slot;
}

// Reads the text of one entry and hands its lines on. 0 read, 8 failed
// (codes recorded).
template <class Take>
u32 ReadLines(Call* call, u32 entryNumber, Take&& take) {
  void* raw = nullptr;
  if (REmemory(&raw, const_cast<ReDbBlock*>(call->db), ReBlockEntry, ReActOpen, kEntryBuffer) != ReDone) {
    NoMemory(call);
    return ReFail;
  }
  auto* entry = static_cast<ReEntryBlock*>(raw);
  entry->entry = entryNumber;
  entry->handle = call->db->handle;
  LineReader lines;
  bool memory = true;
  bool anything = false;
  u32 read = REentry(entry, ReFnTextRead, ReActOpen);
  while (read != ReFail) {
    u32 length = entry->textLength;
    if (length >= entry->bufferSize) length = entry->bufferSize ? entry->bufferSize - 1u : 0u;
    anything = anything || length > 0;
    if (!lines.Feed(entry->text, length, take)) {
      memory = false;
      break;
    }
    if (read == ReWarn) break;  // the end of the entry, or a piece that ended it early
    read = REentry(entry, ReFnTextRead, ReActNext);
  }
  if (memory) memory = lines.Finish(take);
  REentry(entry, ReFnTextRead, ReActClose);
  REmemory(&raw, const_cast<ReDbBlock*>(call->db), ReBlockEntry, ReActClose, 0);
  if (!memory) {
    NoMemory(call);
    return ReFail;
  }
  if (!anything) {
    Unreadable(call);
    return ReFail;
  }
  return ReDone;
}

u32 ParseSubItems(Call* call, i16 slot, ReEtParEntry* entry) {
  const ReEntListSlot s = SlotAt(*call, slot);
  if (s.entry == 0) return ReDone;  // an empty slot has no text
  return ReadLines(call, s.entry, [&](const char* line, u32 length) {
    return ReParseEntryLine(&call->parser, line, length, entry) == ReDone;
  });
}

u32 ParseTextMode(Call* call, ReEtParResult* result, i16 slot) {
  const ReEntListSlot s = SlotAt(*call, slot);
  if (s.entry == 0) {
    Unreadable(call);
    return ReFail;
  }
  call->parser.posKey = 0;  // each parse starts without a part of speech
  const u32 read = ReadLines(call, s.entry, [&](const char* line, u32 length) {
    return ReParseTextModeLine(&call->parser, line, length, result) == ReDone;
  });
  if (read != ReDone) return read;
  ReSelection selection{};
  selection.flag = call->block->selectionFlag != 0;
  selection.selectionText = call->block->selectionText;
  selection.buffer = call->block->text;
  selection.word = call->block->word;
  selection.firstTitle = SlotAt(*call, 0).title;
  ReChooseCurrentEntry(result, call->db->kind, selection);
  return ReDone;
}

// The option mask in force on the database (its request when the handle is
// gone).
u16 OptionsInForce(const ReDbBlock* db) {
  const ReHandleNode* node = ReFindHandle(db->handle);
  if (node && node->work && node->work->search) return node->work->search->optionMask;
  return db->optionMask;
}

bool CurrentSlotValid(const Call& call) {
  return call.block->currentSlot >= 0 && call.block->currentSlot < call.block->slotCount && call.block->slots;
}

// Action 470: a new result for every slot, sub-items for all slots (500) or
// the current one (510, and every text-mode parse).
void Parse(Call* call, u16 function) {
  ReEtParBlock* block = call->block;
  ReFreeResult(static_cast<ReEtParResult*>(block->result));
  block->result = nullptr;

  auto* result = static_cast<ReEtParResult*>(ReHeapAlloc(sizeof(ReEtParResult)));
  if (!result) return NoMemory(call);
  block->result = result;
  char* string00 = nullptr;
  if (call->parser.labels.lookup(call->parser.labels.context, 0, 0, false, &string00) == ReFail) return NoMemory(call);
  result->string00 = string00;

  const i16 slots = block->slots && block->slotCount > 0 ? block->slotCount : 0;
  if (!call->textMode) {
    for (i16 i = 0; i < slots; ++i) {
      ReEtParEntry* entry = nullptr;
      if (ReMakeSlotEntry(&call->parser, SlotAt(*call, i).title, SlotAt(*call, i).wordClass, &entry) != ReDone)
        return NoMemory(call);
      if (ReAppendEntry(result, entry) != ReDone) {
        ReFreeEntry(entry);
        return NoMemory(call);
      }
    }
    if (function == ReFnParseAll) {
      for (i16 i = 0; i < slots; ++i)
        if (ParseSubItems(call, i, result->entries[i]) != ReDone) return;
      return;
    }
  }
  if (!CurrentSlotValid(*call)) return Unreadable(call);
  const i16 current = block->currentSlot;
  if (call->textMode) {
    ParseTextMode(call, result, current);
    return;
  }
  result->current = current;
  ParseSubItems(call, current, result->entries[current]);
}

// Action 460 of 510: the result stands for the same slots when their count
// and titles are those it was parsed from.
bool SameSlots(const Call& call, const ReEtParResult* result) {
  if (result->count != call.block->slotCount || !call.block->slots) return false;
  for (i16 i = 0; i < result->count; ++i) {
    const char* title = SlotAt(call, i).title;
    const char* headline = result->entries[i]->headline;
    if (!title || !headline || std::strcmp(title, headline) != 0) return false;
  }
  return true;
}

void ParseCurrentAgain(Call* call, ReEtParResult* result) {
  for (i16 i = 0; i < result->count; ++i) ReFreeEntryItems(result->entries[i]);
  if (!CurrentSlotValid(*call)) return Unreadable(call);
  result->current = call->block->currentSlot;
  ParseSubItems(call, result->current, result->entries[result->current]);
}

void Run(Call* call, u16 function, u16 action) {
  auto* result = static_cast<ReEtParResult*>(call->block->result);
  if (action == ReActReset && function == ReFnParseCurrent && !call->textMode) {
    if (result && SameSlots(*call, result)) return ParseCurrentAgain(call, result);
  }
  if (action == ReActReset && function == ReFnParseCurrent && !result)
    ReSetStatus(call->status, ReSevError, ReErrAction, ReModEtParWork);
  Parse(call, function);
}

}  // namespace

void ReRunEntryParse(ReEtParBlock* block, u16 function, u16 action, ReStatusBlock* status) {
  // A block freed before its result goes takes the result with it.
  ReSetEtParResultRelease([](void* result) { ReFreeResult(static_cast<ReEtParResult*>(result)); });
  if (action == ReActClose) {
    ReFreeResult(static_cast<ReEtParResult*>(block->result));
    block->result = nullptr;
    return;
  }
  Call call{block, static_cast<const ReDbBlock*>(block->databaseRecord), status, {}, false};
  call.textMode = (call.db->features & ReFeatTextMode1) != 0;
  void* strtab = nullptr;
  if (REmemory(&strtab, block->databaseRecord, ReBlockStrTab, ReActOpen, 0) != ReDone) {
    NoMemory(&call);
    return;
  }
  auto* labels = static_cast<ReStrTabBlock*>(strtab);
  labels->handle = call.db->handle;
  labels->optionMask = 0x80;  // no particular option: accepted by every table
  const u16 kind = call.db->kind;
  ReInitParser(&call.parser, ReTextFormat{kind, OptionsInForce(call.db), ReCharClassTable(static_cast<u8>(kind))},
               ReLabelSource{labels, LookUpLabel});
  Run(&call, function, action);
  ReFreeParser(&call.parser);
  REmemory(&strtab, block->databaseRecord, ReBlockStrTab, ReActClose, 0);
}
