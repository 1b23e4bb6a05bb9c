// The search's view of the stored entry text: the stream of w-bit codes (most
// significant bit first), read a window of ReStreamWindow bytes at a time,
// and the expansion of a code into its text through the code tables.
#pragma once

#include "re_code_stream.h"
#include "re_file.h"
#include "re_records.h"
#include "re_types.h"

// A window holds a candidate block's codes whole as a rule, so that checking
// a long entry reads its codes again from memory; its four bytes past the
// end stay zero.
constexpr u32 ReStreamWindow = 1u << 16;
constexpr u32 ReStreamWindowBytes = ReStreamWindow + 4;
constexpr u32 ReExpandStack = 64;        // pending second halves of nested pairs
constexpr u32 ReExpandOutput = 256;      // characters handed on at a time
constexpr u32 ReExpandLimit = 1u << 16;  // characters one code may expand to

struct ReSearchStream {
  ReFileHandle file;
  u32 base;    // file offset of the stream
  u32 length;  // bytes
  u16 width;   // bits per code
  u32 codeCount;
  u8* window;       // ReStreamWindowBytes bytes
  u32 windowStart;  // stream byte of window[0]
  u32 windowFill;
};

// Results of ReStreamCode besides 0.
enum : i32 { ReStreamPastEnd = 1 };

// `window`: ReStreamWindowBytes bytes of the search buffers.
void ReOpenSearchStream(ReSearchStream* stream, const ReDbRecord* record, ReFileHandle file, u8* window);
// Reads the window that holds bytes first .. last of the stream: 0, or the
// handle-layer code of a failed seek (-205) or read (-204).
i32 ReFillStreamWindow(ReSearchStream* stream, u32 first, u32 last);

// Decodes codes first, first + 1, ... (at most count) that the window holds
// into out and returns how many: 0 when the window does not hold code first.
u32 ReWindowCodes(const ReSearchStream& stream, u32 first, u32 count, u16* out);

// Code number `index`: 0, ReStreamPastEnd, or the handle-layer code of a
// failed seek (-205) or read (-204).
inline i32 ReStreamCode(ReSearchStream* stream, u32 index, u32* code) {
  if (index >= stream->codeCount) return ReStreamPastEnd;
  const u32 width = stream->width;
  const u64 bit = static_cast<u64>(index) * width;
  const u32 first = static_cast<u32>(bit / 8);
  const u32 last = static_cast<u32>((bit + width - 1) / 8);
  if (first < stream->windowStart || last >= stream->windowStart + stream->windowFill) {
    if (const i32 failed = ReFillStreamWindow(stream, first, last)) return failed;
  }
  const u8* p = stream->window + (first - stream->windowStart);
  const u32 bits = static_cast<u32>(p[0]) << 16 | static_cast<u32>(p[1]) << 8 | p[2];  // zeros past the fill
  *code = (bits >> (24 - static_cast<u32>(bit % 8) - width)) & ((1u << width) - 1);
  return 0;
}

// Expands code into text, handing it on in pieces of at most ReExpandOutput
// characters to sink(piece, count, context). False when the tables do not
// describe the code (a code, offset or nesting outside them) or its text
// passes ReExpandLimit; what was handed on stays handed on.
using ReTextSink = void (*)(const u8* piece, u32 count, void* context);
bool ReExpandCode(const ReDbRecord* record, u32 code, ReTextSink sink, void* context);

// Expands code into out (at most capacity characters). Returns the text's
// length, or -1 when it cannot be expanded or does not fit.
i32 ReExpandCodeInto(const ReDbRecord* record, u32 code, u8* out, u32 capacity);

// The code's text as the search reads it (line feeds for bytes 255) into
// out (at most capacity characters): its length, or -1 when it cannot be
// expanded or does not fit.
i32 ReCodeText(const ReDbRecord* record, const ReCodeTexts& texts, u32 code, u8* out, u32 capacity);

// Builds the texts of every code as the search expands them (false without
// memory).
bool ReBuildSearchCodeTexts(const ReDbRecord* record, ReCodeTexts* texts);

// Finds the component of that type and subtype in the database's directory
// and seeks file to its offset plus `offset`. 0, or 8 when it is not there or
// the seek fails.
u32 ReSeekComponent(u16 type, u16 subtype, ReFileHandle file, const ReDbRecord* record, u32 offset, i16 origin);
