// The search's view of the stored entry text: the stream of w-bit codes (most
// significant bit first), read 256 bytes at a time, and the expansion of a
// code into its text through the code tables.
#pragma once

#include "re_file.h"
#include "re_records.h"
#include "re_types.h"

constexpr u32 ReStreamWindow = 256;
constexpr u32 ReExpandStack = 64;        // pending second halves of nested pairs
constexpr u32 ReExpandOutput = 256;      // characters handed on at a time
constexpr u32 ReExpandLimit = 1u << 16;  // characters one code may expand to

struct ReSearchStream {
  ReFileHandle file;
  u32 base;    // file offset of the stream
  u32 length;  // bytes
  u16 width;   // bits per code
  u32 codeCount;
  u8 window[ReStreamWindow + 4];
  u32 windowStart;  // stream byte of window[0]
  u32 windowFill;
};

// Results of ReStreamCode besides 0.
enum : i32 { ReStreamPastEnd = 1 };

void ReOpenSearchStream(ReSearchStream* stream, const ReDbRecord* record, ReFileHandle file);
// Code number `index`: 0, ReStreamPastEnd, or the handle-layer code of a
// failed seek (-205) or read (-204).
i32 ReStreamCode(ReSearchStream* stream, u32 index, u32* code);

// Expands code into text, handing it on in pieces of at most ReExpandOutput
// characters to sink(piece, count, context). False when the tables do not
// describe the code (a code, offset or nesting outside them) or its text
// passes ReExpandLimit; what was handed on stays handed on.
using ReTextSink = void (*)(const u8* piece, u32 count, void* context);
bool ReExpandCode(const ReDbRecord* record, u32 code, ReTextSink sink, void* context);

// Expands code into out (at most capacity characters). Returns the text's
// length, or -1 when it cannot be expanded or does not fit.
i32 ReExpandCodeInto(const ReDbRecord* record, u32 code, u8* out, u32 capacity);

// Finds the component of that type and subtype in the database's directory
// and seeks file to its offset plus `offset`. 0, or 8 when it is not there or
// the seek fails.
u32 ReSeekComponent(u16 type, u16 subtype, ReFileHandle file, const ReDbRecord* record, u32 offset, i16 origin);
