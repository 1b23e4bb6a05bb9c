#include "re_code_stream.h"

#include <algorithm>

#include "re_bytes.h"

namespace {

// Makes bytes [first, last] of the stream available; returns their address.
const u8* StreamBytes(ReCodeStream* stream, u32 first, u32 last) {
  if (last >= stream->length) return nullptr;
  if (stream->memory) return stream->memory + first;
  ReCodeReader* reader = stream->reader;
  if (!reader || !reader->buffer || reader->bufferSize < 4) return nullptr;
  const u32 start = reader->position, held = reader->bitState;
  if (first >= start && last < start + held) return reader->buffer + (first - start);
  if (stream->progress && stream->progress(first, stream->length) != 0) {
    stream->stopped = true;
    return nullptr;
  }
  const u32 want = std::min<u32>(reader->bufferSize, stream->length - first);
  u32 got = 0;
  reader->bitState = 0;
  if (ReSeekDataFile(reader->file, static_cast<i32>(reader->base + first), 0) != ReDone ||
      ReReadBytes(reader->file, static_cast<i32>(want), reader->buffer, &got) != ReDone || got < last - first + 1) {
    stream->readFailed = true;
    return nullptr;
  }
  reader->position = first;
  reader->bitState = got;
  return reader->buffer;
}

}  // namespace

ReCodeStream ReFileCodeStream(ReCodeReader* reader, u16 width, ReProgressCallback progress) {
  ReCodeStream stream{};
  stream.reader = reader;
  stream.length = reader ? reader->length : 0;
  stream.width = width;
  stream.progress = progress;
  return stream;
}

ReCodeStream ReMemoryCodeStream(const u8* bytes, u32 length, u16 width) {
  ReCodeStream stream{};
  stream.memory = bytes;
  stream.length = bytes ? length : 0;
  stream.width = width;
  return stream;
}

bool ReReadCode(ReCodeStream* stream, u32 index, u32* code) {
  const u32 width = stream->width;
  if (width < 1 || width > 16) return false;
  const u64 bit = static_cast<u64>(index) * width;
  const u64 lastBit = bit + width - 1;
  if ((lastBit >> 3) >= stream->length) return false;
  const u32 first = static_cast<u32>(bit >> 3), last = static_cast<u32>(lastBit >> 3);
  const u8* bytes = StreamBytes(stream, first, last);
  if (!bytes) return false;
  u32 window = 0;
  for (u32 i = 0; i < 3; ++i) window = window << 8 | (first + i <= last ? bytes[i] : 0);
  const u32 shift = 24 - static_cast<u32>(bit & 7) - width;
  *code = (window >> shift) & ((1u << width) - 1);
  return true;
}

void ReInitExpander(ReExpander* expander, ReCodeStream* stream, const ReTextTables* tables) {
  *expander = ReExpander{};
  expander->stream = stream;
  expander->tables = tables;
}

namespace {

// Starts the expansion of one code: a terminal's text, a single character or
// a pair (its second half waits on the stack), tested in that order. False
// for a bad code.
bool Expand(ReExpander* e, u32 code) {
  const ReTextTables* t = e->tables;
  for (;;) {
    if (++e->steps > ReExpandStepLimit || code >= t->codeCount) return false;
    const u16 second = ReBe16(t->second + 2 * code);
    const u16 first = ReBe16(t->first + 2 * code);
    if (code < t->terminalCount) {
      if (static_cast<u32>(first) + second > t->poolLength) return false;
      e->run = t->pool + first;
      e->runLeft = second;
      return true;
    }
    if (second == ReSingleCharacter) {
      e->single = 0x100u | (first & 0xFF);
      return true;
    }
    if (e->depth >= ReExpandDepth) return false;
    e->stack[e->depth++] = second;
    code = first;
  }
}

i32 Hand(ReExpander* e, u8 c) {
  ++e->produced;
  return c == ReStoredLineFeed ? ReLineFeed : c;
}

}  // namespace

i32 ReExpandNext(ReExpander* e) {
  for (;;) {
    if (e->runLeft) {
      --e->runLeft;
      return Hand(e, *e->run++);
    }
    if (e->single) {
      const u8 c = static_cast<u8>(e->single);
      e->single = 0;
      return Hand(e, c);
    }
    if (e->depth) {
      if (!Expand(e, e->stack[--e->depth])) return ReExpandBad;
      continue;
    }
    e->inCode = false;
    u32 code = 0;
    if (!ReReadCode(e->stream, e->next, &code)) return ReExpandFailed;
    if (code == e->tables->endCode) return ReExpandAtEnd;
    e->current = e->next++;
    e->produced = 0;
    e->steps = 0;
    e->inCode = true;
    if (!Expand(e, code)) return ReExpandBad;
  }
}

ReExpandPos ReExpanderPos(const ReExpander* e) {
  const bool exhausted = !e->runLeft && !e->single && !e->depth;
  if (!e->inCode || exhausted) return ReExpandPos{e->next, 0};
  return ReExpandPos{e->current, e->produced};
}

i32 ReExpanderSeek(ReExpander* e, ReExpandPos pos) {
  e->next = pos.code;
  e->depth = 0;
  e->runLeft = 0;
  e->single = 0;
  e->inCode = false;
  e->produced = 0;
  for (u32 left = pos.produced; left > 0;) {
    if (e->runLeft) {
      // Terminal text is passed over whole: going back into a long phrase costs one step.
      const u32 skip = left < e->runLeft ? left : e->runLeft;
      e->run += skip;
      e->runLeft -= skip;
      e->produced += skip;
      left -= skip;
      continue;
    }
    const i32 c = ReExpandNext(e);
    if (c == ReExpandAtEnd) return ReExpandBad;
    if (c < 0) return c;
    --left;
  }
  return 0;
}

i32 ReFindEntryCodes(ReCodeStream* stream, const ReTextTables* tables, u32 entry, u32* firstCode, u32 hintEntry,
                     u32 hintCode) {
  const u32 shift = tables->groupShift;
  if (shift > 31) return ReExpandBad;
  const u32 group = entry >> shift;
  if (group >= tables->groupCount) return ReExpandBad;
  if (hintEntry && hintEntry + 1 == entry && (hintEntry >> shift) == group) {
    *firstCode = hintCode;
    return 0;
  }
  u32 pass = (entry & ((1u << shift) - 1)) + 1;
  if (group == 0) --pass;
  u32 index = ReBe32(tables->groups + 4 * group);
  while (pass > 0) {
    u32 code = 0;
    if (!ReReadCode(stream, index, &code)) return ReExpandFailed;
    if (code == tables->endCode) --pass;
    ++index;
  }
  *firstCode = index;
  return 0;
}

bool ReTextTablesOf(const ReDbRecord* record, ReTextTables* tables) {
  *tables = ReTextTables{};
  if (!record->hasText || !record->codeFirst.data || !record->codeSecond.data) return false;
  if (record->codeWidth < 1 || record->codeWidth > 16) return false;
  tables->groups = record->groupIndex.data;
  tables->groupCount = record->groupIndex.data ? std::min(record->groupCount, record->groupIndex.length / 4) : 0;
  tables->first = record->codeFirst.data;
  tables->second = record->codeSecond.data;
  tables->codeCount = std::min({record->codeCount, record->codeFirst.length / 2, record->codeSecond.length / 2});
  tables->pool = record->phrasePool.data;
  tables->poolLength = record->phrasePool.data ? record->phrasePool.length : 0;
  tables->terminalCount = record->terminalCount;
  tables->endCode = record->endCode;
  tables->codeWidth = record->codeWidth;
  tables->groupShift = record->groupShift;
  tables->entryCount = record->entryCount;
  return true;
}

bool ReHasMarkup(const ReDbRecord* record) {
  return record->charAutomaton.data && record->markup.data && record->automaton.entries &&
         record->markupSections.elements;
}
