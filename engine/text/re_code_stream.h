// Reading the stored entry text: fixed-width codes packed from the most
// significant bit, and their expansion into the tagged text of an entry.
#pragma once

#include "re_blocks.h"
#include "re_file.h"
#include "re_text_tables.h"
#include "re_types.h"

// A read-ahead store under a handle's code reader: the reader refills its
// small buffer (and calls the progress callback) as it always does, but the
// bytes come from here, read from the file a large piece at a time.
struct ReStreamAhead {
  static constexpr u32 kSize = 1u << 15;
  u32 start;  // stream byte of bytes[0]
  u32 fill;   // bytes held (0: nothing)
  u8 bytes[kSize];
};

// Where the code stream's bytes come from: a file through the handle's code
// reader (its buffer holds a window of the stream), or memory (tests, fuzzing).
struct ReCodeStream {
  ReCodeReader* reader;  // file-backed: reader->position is the window's start,
                         // reader->bitState the bytes the window holds
  const u8* memory;      // memory-backed
  u32 length;            // bytes of code stream
  u16 width;
  // Called whenever the window is refilled from the file; a nonzero answer
  // stops the reading (stopped is set).
  ReProgressCallback progress;
  bool stopped;
  bool readFailed;       // the platform read failed
  ReStreamAhead* ahead;  // null: the reader reads the file itself
};

// A stream over the handle's code reader (its base and length set at open).
ReCodeStream ReFileCodeStream(ReCodeReader* reader, u16 width, ReProgressCallback progress);
ReCodeStream ReMemoryCodeStream(const u8* bytes, u32 length, u16 width);

// Reads code number `index`. False when it lies past the stream's end, the
// read failed or the progress callback stopped it.
bool ReReadCodeRefilling(ReCodeStream* stream, u32 index, u32* code);
inline bool ReReadCode(ReCodeStream* stream, u32 index, u32* code) {
  // The code's bytes in the reader's buffer: read them there.
  const ReCodeReader* reader = stream->reader;
  const u32 width = stream->width;
  const u64 bit = static_cast<u64>(index) * width;
  if (reader && width >= 1 && width <= 16) {
    const u64 first = bit >> 3;
    if (first >= reader->position && first + 3 <= u64{reader->position} + reader->bitState) {
      const u8* p = reader->buffer + (first - reader->position);
      const u32 window = static_cast<u32>(p[0]) << 16 | static_cast<u32>(p[1]) << 8 | p[2];
      *code = (window >> (24 - static_cast<u32>(bit & 7) - width)) & ((1u << width) - 1);
      return true;
    }
  }
  return ReReadCodeRefilling(stream, index, code);
}

// The texts of a database's codes, expanded once: one arena of texts, byte
// 255 turned into a line feed as the readers hand it on, and per code a u32
// of length (bits 0-7), "held a byte 255" (bit 8) and arena offset (bits
// 9-31). A code longer than 255 characters, one that cannot be expanded,
// and codes past the arena's bound are not held (ReCodeNotHeld) and are
// expanded as they come.
struct ReCodeTexts {
  u32 codeCount;
  u32* entries;
  u8* arena;
  // Per held code: bit (c & 31) for every character c of its text. A
  // character and its lower-case form (c + 32) share their bit.
  u32* characters;
};
constexpr u32 ReCodeNotHeld = 0xFFFFFFFFu;
constexpr u32 ReCodeTextLineFeed = 0x100;
constexpr u32 ReCodeArenaLimit = 1u << 23;  // offsets of 23 bits
// The arena ends with this many bytes to spare, so that a short text can be
// copied as a block of that size.
constexpr u32 ReCodeTextSlack = 32;

// How a reader expands one code: its text into out (at most capacity
// characters), its length, or -1 when it cannot be expanded or does not fit.
using ReCodeExpansion = i32 (*)(const void* context, u32 code, u8* out, u32 capacity);
// Builds the texts of codes 0 .. count - 1 (null members and false without memory).
bool ReBuildCodeTexts(u32 count, ReCodeExpansion expand, const void* context, ReCodeTexts* texts);
void ReFreeCodeTexts(ReCodeTexts* texts);
inline u32 ReCodeTextEntry(const ReCodeTexts& texts, u32 code) {
  return code < texts.codeCount && texts.entries ? texts.entries[code] : ReCodeNotHeld;
}
inline const u8* ReCodeTextOf(const ReCodeTexts& texts, u32 entry) { return texts.arena + (entry >> 9); }
inline u32 ReCodeTextLength(u32 entry) { return entry & 0xFF; }

// Builds the texts of the text tables' codes as the entry readers expand
// them.
bool ReBuildEntryCodeTexts(const ReTextTables* tables, ReCodeTexts* texts);

// A position in an entry's expanded text that reading can resume from: the
// top-level code that produces the next character and the characters of it
// already produced.
struct ReExpandPos {
  u32 code;
  u32 produced;
};

constexpr u32 ReExpandDepth = 32;  // pending second halves of pairs
// Pair and terminal steps of one top-level code: a code expands to at most
// 4096 characters, so that going back into a code costs little.
constexpr u32 ReExpandStepLimit = 1u << 14;

// Expansion of the codes of one entry into characters.
struct ReExpander {
  ReCodeStream* stream;
  const ReTextTables* tables;
  u32 next;      // index of the next top-level code
  u32 current;   // the top-level code being expanded
  u32 produced;  // characters it has produced
  u32 steps;
  u16 stack[ReExpandDepth];
  u32 depth;
  const u8* run;  // terminal text not handed out yet
  u32 runLeft;
  bool runLines;  // the run is a code's text whose line feeds stand as such
  u32 single;     // a single character not handed out yet (0x100 | char), or 0
  bool inCode;
};

// Results of ReExpandNext besides a character.
enum : i32 {
  ReExpandAtEnd = -1,   // the entry's end code
  ReExpandBad = -2,     // a code, offset or expansion outside the tables
  ReExpandFailed = -3,  // the stream could not be read (past its end, read failed, stopped)
};

void ReInitExpander(ReExpander* expander, ReCodeStream* stream, const ReTextTables* tables);

// The next character of the entry (byte 255 comes out as a line feed), or
// one of the results above. At the end code the position stays on it.
i32 ReExpandNext(ReExpander* expander);

// Up to `room` next characters of the entry into out (byte 255 as a line
// feed), as many ReExpandNext calls would give them; *count gets how many.
// 0 when all were given, else the result that stopped it (ReExpandAtEnd,
// ReExpandBad, ReExpandFailed).
i32 ReExpandRun(ReExpander* expander, u8* out, u32 room, u32* count);

// Where the text of a top-level code begins in a run: the run's character
// at `offset` has the position {code, produced}.
struct ReExpandMark {
  u32 offset;
  ReExpandPos pos;
};
// ReExpandRun that also notes a mark for the run's start and for every
// top-level code begun in it (at most room + 1 marks, into marks): the
// position of the run's character k is that of the last mark at or before
// k, moved on by the characters between.
i32 ReExpandRunMarked(ReExpander* expander, u8* out, u32 room, u32* count, ReExpandMark* marks, u32* markCount);

// The position of the next character.
ReExpandPos ReExpanderPos(const ReExpander* expander);
// Goes to a position taken with ReExpanderPos. ReExpandBad / ReExpandFailed
// when the characters before it cannot be produced again, else 0.
i32 ReExpanderSeek(ReExpander* expander, ReExpandPos pos);

// Where an entry's codes begin: group = entry >> shift; from the group's
// start code, n end codes are passed, n = (entry & (2^shift - 1)) + 1, one
// fewer in group 0. `hint`, when not null, is the position just behind the
// end code of entry `hintEntry`: the entry after it in the same group starts
// there. 0, ReExpandBad or ReExpandFailed.
i32 ReFindEntryCodes(ReCodeStream* stream, const ReTextTables* tables, u32 entry, u32* firstCode, u32 hintEntry = 0,
                     u32 hintCode = 0);
