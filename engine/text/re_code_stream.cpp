#include "re_code_stream.h"

#include <algorithm>
#include <cstring>

#include "re_bytes.h"
#include "re_platform.h"

namespace {

// Reads `want` bytes of the stream from byte `first` into out: from the
// read-ahead store when there is one (filled from the file as needed), else
// from the file. False when the seek or the read fails.
bool ReadStream(ReCodeStream* stream, u32 first, u32 want, u8* out, u32* got) {
  ReCodeReader* reader = stream->reader;
  ReStreamAhead* ahead = stream->ahead;
  if (!ahead) {
    return ReSeekDataFile(reader->file, static_cast<i32>(reader->base + first), 0) == ReDone &&
           ReReadBytes(reader->file, static_cast<i32>(want), out, got) == ReDone;
  }
  if (first < ahead->start || first + want > ahead->start + ahead->fill) {
    // What the store holds ends before the bytes asked for end: read on from `first`.
    const u32 size = std::min<u32>(ReStreamAhead::kSize, stream->length - first);
    u32 read = 0;
    ahead->fill = 0;
    if (ReSeekDataFile(reader->file, static_cast<i32>(reader->base + first), 0) != ReDone ||
        ReReadBytes(reader->file, static_cast<i32>(size), ahead->bytes, &read) != ReDone)
      return false;
    ahead->start = first;
    ahead->fill = read;
  }
  const u32 held = ahead->start + ahead->fill - first;
  *got = want < held ? want : held;
  std::memcpy(out, ahead->bytes + (first - ahead->start), *got);
  return true;
}

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
  if (!ReadStream(stream, first, want, reader->buffer, &got) || got < last - first + 1) {
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

bool ReReadCodeRefilling(ReCodeStream* stream, u32 index, u32* code) {
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
      e->runLines = false;
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

// Starts a top-level code: its text from the code texts when they hold it.
bool Begin(ReExpander* e, u32 code) {
  if (const ReCodeTexts* texts = e->tables->codeTexts) {
    const u32 entry = ReCodeTextEntry(*texts, code);
    if (entry != ReCodeNotHeld) {
      e->run = ReCodeTextOf(*texts, entry);
      e->runLeft = ReCodeTextLength(entry);
      e->runLines = true;
      return true;
    }
  }
  return Expand(e, code);
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
    if (!Begin(e, code)) return ReExpandBad;
  }
}

i32 ReExpandRun(ReExpander* e, u8* out, u32 room, u32* count) {
  u32 marks = 0;
  return ReExpandRunMarked(e, out, room, count, nullptr, &marks);
}

i32 ReExpandRunMarked(ReExpander* e, u8* out, u32 room, u32* count, ReExpandMark* marks, u32* markCount) {
  u32 n = 0;
  i32 result = 0;
  *markCount = 0;
  if (marks) marks[(*markCount)++] = ReExpandMark{0, ReExpanderPos(e)};
  while (n < room) {
    if (e->runLeft) {
      const u32 take = e->runLeft < room - n ? e->runLeft : room - n;
      std::memcpy(out + n, e->run, take);
      if (!e->runLines)
        for (u8* p = out + n; (p = static_cast<u8*>(std::memchr(p, ReStoredLineFeed, out + n + take - p)));)
          *p++ = ReLineFeed;
      e->run += take;
      e->runLeft -= take;
      e->produced += take;
      n += take;
      continue;
    }
    if (e->single) {
      out[n++] = static_cast<u8>(Hand(e, static_cast<u8>(e->single)));
      e->single = 0;
      continue;
    }
    if (e->depth) {
      if (!Expand(e, e->stack[--e->depth])) {
        result = ReExpandBad;
        break;
      }
      continue;
    }
    e->inCode = false;
    u32 code = 0;
    if (!ReReadCode(e->stream, e->next, &code)) {
      result = ReExpandFailed;
      break;
    }
    if (code == e->tables->endCode) {
      result = ReExpandAtEnd;
      break;
    }
    e->current = e->next++;
    e->produced = 0;
    e->steps = 0;
    e->inCode = true;
    if (marks) marks[(*markCount)++] = ReExpandMark{n, ReExpandPos{e->current, 0}};
    if (!Begin(e, code)) {
      result = ReExpandBad;
      break;
    }
  }
  *count = n;
  return result;
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

bool ReBuildCodeTexts(u32 count, ReCodeExpansion expand, const void* context, ReCodeTexts* texts) {
  *texts = ReCodeTexts{};
  // The arena grows as the texts come: first the size of one text per code
  // of up to eight characters.
  u32 capacity = std::min<u32>(ReCodeArenaLimit, std::max<u32>(256, count * 8));
  texts->entries = static_cast<u32*>(ReHeapAlloc(count * 4 + 4));
  texts->characters = texts->entries ? static_cast<u32*>(ReHeapAlloc(count * 4 + 4)) : nullptr;
  texts->arena = texts->characters ? static_cast<u8*>(ReHeapAlloc(capacity + ReCodeTextSlack)) : nullptr;
  if (!texts->arena) {
    ReFreeCodeTexts(texts);
    return false;
  }
  texts->codeCount = count;
  u32 used = 0;
  u8 text[256];
  for (u32 c = 0; c < count; ++c) {
    texts->entries[c] = ReCodeNotHeld;
    const i32 length = expand(context, c, text, sizeof text - 1);
    if (length < 0) continue;
    const u32 n = static_cast<u32>(length);
    if (used + n > capacity) {
      const u32 grown = std::min<u32>(ReCodeArenaLimit, std::max(capacity * 2, used + n));
      u8* larger = used + n <= grown ? static_cast<u8*>(ReHeapAlloc(grown + ReCodeTextSlack)) : nullptr;
      if (!larger) continue;  // left to be expanded as it comes
      std::memcpy(larger, texts->arena, used);
      ReHeapFree(texts->arena);
      texts->arena = larger;
      capacity = grown;
    }
    u32 lineFeed = 0, characters = 0;
    for (u32 i = 0; i < n; ++i) {
      if (text[i] == ReStoredLineFeed) lineFeed = ReCodeTextLineFeed;
      texts->arena[used + i] = text[i] == ReStoredLineFeed ? ReLineFeed : text[i];
      characters |= 1u << (texts->arena[used + i] & 31);
    }
    texts->characters[c] = characters;
    texts->entries[c] = used << 9 | lineFeed | n;
    used += n;
  }
  return true;
}

void ReFreeCodeTexts(ReCodeTexts* texts) {
  ReHeapFree(texts->arena);
  ReHeapFree(texts->characters);
  ReHeapFree(texts->entries);
  *texts = ReCodeTexts{};
}

namespace {

// One code as the entry readers expand it, from a stream-less expander.
i32 ExpandForEntries(const void* tables, u32 code, u8* out, u32 capacity) {
  ReExpander e{};
  e.tables = static_cast<const ReTextTables*>(tables);
  if (!Expand(&e, code)) return -1;
  u32 n = 0;
  for (;;) {
    if (e.runLeft) {
      if (n + e.runLeft > capacity) return -1;
      std::memcpy(out + n, e.run, e.runLeft);
      n += e.runLeft;
      e.runLeft = 0;
    } else if (e.single) {
      if (n + 1 > capacity) return -1;
      out[n++] = static_cast<u8>(e.single);
      e.single = 0;
    } else if (e.depth) {
      if (!Expand(&e, e.stack[--e.depth])) return -1;
    } else {
      return static_cast<i32>(n);
    }
  }
}

}  // namespace

bool ReBuildEntryCodeTexts(const ReTextTables* tables, ReCodeTexts* texts) {
  return ReBuildCodeTexts(tables->codeCount, ExpandForEntries, tables, texts);
}
