#include "re_search_stream.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr u32 kStepLimit = 4 * ReExpandLimit;  // pair and terminal steps of one code

struct Collect {
  u8* out;
  u32 capacity;
  u32 length;
  bool overflow;
};

void CollectPiece(const u8* piece, u32 count, void* context) {
  auto* collect = static_cast<Collect*>(context);
  if (collect->length + count > collect->capacity) {
    collect->overflow = true;
    return;
  }
  std::memcpy(collect->out + collect->length, piece, count);
  collect->length += count;
}

}  // namespace

void ReOpenSearchStream(ReSearchStream* stream, const ReDbRecord* record, ReFileHandle file) {
  stream->file = file;
  stream->base = record->textBase;
  stream->length = record->textLength;
  stream->width = record->codeWidth;
  stream->codeCount = stream->width ? static_cast<u32>(static_cast<u64>(stream->length) * 8 / stream->width) : 0;
  stream->windowStart = 0;
  stream->windowFill = 0;
}

i32 ReStreamCode(ReSearchStream* stream, u32 index, u32* code) {
  if (index >= stream->codeCount) return ReStreamPastEnd;
  const u64 bit = static_cast<u64>(index) * stream->width;
  const u32 first = static_cast<u32>(bit / 8);
  const u32 last = static_cast<u32>((bit + stream->width - 1) / 8);
  if (first < stream->windowStart || last >= stream->windowStart + stream->windowFill) {
    stream->windowFill = 0;
    if (ReSeekDataFile(stream->file, static_cast<i32>(stream->base + first), 0) != ReDone) return ReErrFileSeek;
    const u32 want = stream->length - first < ReStreamWindow ? stream->length - first : ReStreamWindow;
    u32 got = 0;
    if (ReReadBytes(stream->file, static_cast<i32>(want), stream->window, &got) != ReDone || got <= last - first)
      return ReErrFileRead;
    stream->windowStart = first;
    stream->windowFill = got;
  }
  const u8* p = stream->window + (first - stream->windowStart);
  const u32 available = stream->windowStart + stream->windowFill - first;
  u32 bits = 0;
  for (u32 i = 0; i < 3; ++i) bits = bits << 8 | (i < available ? p[i] : 0);
  const u32 shift = 24 - static_cast<u32>(bit % 8) - stream->width;
  *code = (bits >> shift) & ((1u << stream->width) - 1);
  return 0;
}

bool ReExpandCode(const ReDbRecord* record, u32 code, ReTextSink sink, void* context) {
  const u8* first = record->codeFirst.data;
  const u8* second = record->codeSecond.data;
  const u8* pool = record->phrasePool.data;
  const u32 poolLength = record->phrasePool.length;
  // The codes both tables hold, whatever table 20's element count says.
  const u32 codeCount = std::min({record->codeCount, record->codeFirst.length / 2, record->codeSecond.length / 2});
  if (!first || !second) return false;
  u32 stack[ReExpandStack];
  u32 depth = 0;
  u8 out[ReExpandOutput];
  u32 fill = 0;
  u32 total = 0;
  u32 steps = 0;
  auto emit = [&](const u8* text, u32 count) {
    total += count;
    while (count > 0) {
      const u32 room = ReExpandOutput - fill;
      const u32 take = count < room ? count : room;
      std::memcpy(out + fill, text, take);
      fill += take;
      text += take;
      count -= take;
      if (fill == ReExpandOutput) {
        sink(out, fill, context);
        fill = 0;
      }
    }
  };
  stack[depth++] = code;
  while (depth > 0) {
    const u32 c = stack[--depth];
    if (c >= codeCount || ++steps > kStepLimit || total > ReExpandLimit) return false;
    const u32 a = ReBe16(second + 2 * c);
    const u32 b = ReBe16(first + 2 * c);
    if (c < record->terminalCount) {
      if (!pool || b + a > poolLength) return false;
      emit(pool + b, a);
    } else if (a == ReSingleCharacter) {
      const u8 character = static_cast<u8>(b);
      emit(&character, 1);
    } else {
      // A pair: its first half, then its second.
      if (depth + 2 > ReExpandStack) return false;
      stack[depth++] = a;
      stack[depth++] = b;
    }
  }
  if (fill > 0) sink(out, fill, context);
  return total <= ReExpandLimit;
}

i32 ReExpandCodeInto(const ReDbRecord* record, u32 code, u8* out, u32 capacity) {
  Collect collect{out, capacity, 0, false};
  if (!ReExpandCode(record, code, CollectPiece, &collect) || collect.overflow) return -1;
  return static_cast<i32>(collect.length);
}

u32 ReSeekComponent(u16 type, u16 subtype, ReFileHandle file, const ReDbRecord* record, u32 offset, i16 origin) {
  const u8* directory = record->directoryCopy.data;
  for (u32 i = 0; directory && i < record->directoryCount; ++i) {
    const u8* entry = directory + 12 * i;
    if (ReBe16(entry) != type || ReBe16(entry + 2) != subtype) continue;
    return ReSeekDataFile(file, static_cast<i32>(ReBe32(entry + 4) + offset), origin);
  }
  return ReFail;
}
