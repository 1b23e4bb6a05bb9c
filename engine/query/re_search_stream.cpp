#include "re_search_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "re_container.h"
#include "re_platform.h"

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

void ReOpenSearchStream(ReSearchStream* stream, const ReDbRecord* record, ReFileHandle file, u8* window) {
  stream->file = file;
  stream->base = record->textBase;
  stream->length = record->textLength;
  stream->width = record->codeWidth;
  stream->codeCount = stream->width ? static_cast<u32>(static_cast<u64>(stream->length) * 8 / stream->width) : 0;
  stream->window = window;
  stream->windowStart = 0;
  stream->windowFill = 0;
}

i32 ReFillStreamWindow(ReSearchStream* stream, u32 first, u32 last) {
  stream->windowFill = 0;
  if (ReSeekDataFile(stream->file, static_cast<i32>(stream->base + first), 0) != ReDone) return ReErrFileSeek;
  const u32 want = stream->length - first < ReStreamWindow ? stream->length - first : ReStreamWindow;
  u32 got = 0;
  if (ReReadBytes(stream->file, static_cast<i32>(want), stream->window, &got) != ReDone || got <= last - first)
    return ReErrFileRead;
  std::memset(stream->window + got, 0, ReStreamWindowBytes - ReStreamWindow);
  stream->windowStart = first;
  stream->windowFill = got;
  return 0;
}

u32 ReWindowCodes(const ReSearchStream& stream, u32 first, u32 count, u16* out) {
  const u32 width = stream.width;
  if (width == 0 || first >= stream.codeCount) return 0;
  const u64 windowBits = (u64{stream.windowStart} + stream.windowFill) * 8;
  if (windowBits < width || u64{first} * width < u64{stream.windowStart} * 8) return 0;
  const u64 held = (windowBits - width) / width + 1;  // codes whose last byte the window holds
  const u64 limit = std::min<u64>({held, stream.codeCount, u64{first} + count});
  if (limit <= first) return 0;
  const u32 n = static_cast<u32>(limit - first);
  if (width == 16) {
    // Big-endian 16-bit codes: the bytes as they stand, then each pair swapped.
    std::memcpy(out, stream.window + (2 * first - stream.windowStart), 2 * n);
    if constexpr (std::endian::native == std::endian::little)
      for (u32 k = 0; k < n; ++k) out[k] = static_cast<u16>(out[k] >> 8 | out[k] << 8);
    return n;
  }
  const u32 mask = (1u << width) - 1;
  u64 bit = u64{first} * width;
  for (u32 k = 0; k < n; ++k, bit += width) {
    const u8* p = stream.window + (static_cast<u32>(bit / 8) - stream.windowStart);
    const u32 bits = static_cast<u32>(p[0]) << 16 | static_cast<u32>(p[1]) << 8 | p[2];
    out[k] = static_cast<u16>((bits >> (24 - static_cast<u32>(bit % 8) - width)) & mask);
  }
  return n;
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

namespace {

i32 ExpandForSearch(const void* record, u32 code, u8* out, u32 capacity) {
  return ReExpandCodeInto(static_cast<const ReDbRecord*>(record), code, out, capacity);
}

}  // namespace

bool ReBuildSearchCodeTexts(const ReDbRecord* record, ReCodeTexts* texts) {
  const u32 count = std::min({record->codeCount, record->codeFirst.length / 2, record->codeSecond.length / 2});
  return ReBuildCodeTexts(count, ExpandForSearch, record, texts);
}

i32 ReCodeText(const ReDbRecord* record, const ReCodeTexts& texts, u32 code, u8* out, u32 capacity) {
  const u32 entry = ReCodeTextEntry(texts, code);
  if (entry != ReCodeNotHeld) {
    const u32 length = ReCodeTextLength(entry);
    if (length > capacity) return -1;
    std::memcpy(out, ReCodeTextOf(texts, entry), length);
    return static_cast<i32>(length);
  }
  const i32 length = ReExpandCodeInto(record, code, out, capacity);
  for (i32 i = 0; i < length; ++i)
    if (out[i] == 255) out[i] = '\n';
  return length;
}

u32 ReSeekComponent(u16 type, u16 subtype, ReFileHandle file, const ReDbRecord* record, u32 offset, i16 origin) {
  const u8* directory = record->directoryCopy.data;
  for (u32 i = 0; directory && i < record->directoryCount; ++i) {
    const u8* entry = directory + ReDirectoryEntrySize * i;
    if (ReBe16(entry) != type || ReBe16(entry + 2) != subtype) continue;
    return ReSeekDataFile(file, static_cast<i32>(ReBe32(entry + 4) + offset), origin);
  }
  return ReFail;
}
