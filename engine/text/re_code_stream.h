// Reading the stored entry text: fixed-width codes packed from the most
// significant bit, and their expansion into the tagged text of an entry.
#pragma once

#include "re_blocks.h"
#include "re_file.h"
#include "re_text_tables.h"
#include "re_types.h"

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
  bool readFailed;  // the platform read failed
};

// A stream over the handle's code reader (its base and length set at open).
ReCodeStream ReFileCodeStream(ReCodeReader* reader, u16 width, ReProgressCallback progress);
ReCodeStream ReMemoryCodeStream(const u8* bytes, u32 length, u16 width);

// Reads code number `index`. False when it lies past the stream's end, the
// read failed or the progress callback stopped it.
bool ReReadCode(ReCodeStream* stream, u32 index, u32* code);

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
  u32 single;  // a single character not handed out yet (0x100 | char), or 0
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
