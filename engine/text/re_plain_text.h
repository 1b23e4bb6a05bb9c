// An entry read as tagged text: the expanded codes, byte 255 turned into a
// line feed. REentry hands it out piece by piece; titles are cut from its
// first line. Reading can go on from any text position: the reader keeps
// snapshots of its position every few hundred bytes.
#pragma once

#include "re_code_stream.h"
#include "re_snapshots.h"
#include "re_types.h"

struct RePlainSnapshot {
  u32 textPos;  // key: characters before this position
  ReExpandPos pos;
};

struct RePlainReader {
  u32 entry;
  ReExpandPos start;  // the entry's first character
  u32 textPos;        // characters read so far
  bool ended;         // the end code has been reached
  ReExpander expander;
  ReSnapshotTable snapshots;
};

constexpr u8 RePlainSnapshotShift = 9;
constexpr u16 RePlainSnapshotCount = 32;

// Decoding modes.
enum : u16 {
  RePlainRead = 1,   // plain reading
  RePlainHits = 6,   // reading of an entry with search hits: as plain reading
  RePlainTitle = 2,  // stops at the first line feed, without progress calls
};

constexpr u32 RePlainContinue = 0xFFFFFFFFu;  // go on from where the last run stopped

// Results besides 0 (the room is used up, or mode 2 reached its line feed).
enum : i32 {
  RePlainEnded = 4,    // the end code was reached (warning -352)
  RePlainStopped = 5,  // the progress callback asked to stop
  RePlainBad = 8,      // the text tables or the stream are damaged, or a read failed
};

// Allocates the snapshot table (false on no memory) and clears the reader.
bool ReInitPlainReader(RePlainReader* reader);
void ReFreePlainReader(RePlainReader* reader);

// Positions the reader at the start of an entry: 0, or RePlainBad when the
// group table or the stream leads nowhere. A reader that has just read the
// entry before to its end, in the same group, goes on without searching.
i32 ReOpenPlainEntry(RePlainReader* reader, ReCodeStream* stream, const ReTextTables* tables, u32 entry);

// Decodes the next run of text into out, stopping two bytes short of `room`,
// at the entry's end, or (mode 2) after the first line feed. `from` is a
// text position to go on from (earlier positions are found through the
// snapshots), or RePlainContinue. The bytes written go to *length; no NUL
// is added. A run that takes the entry's last character returns
// RePlainEnded with it. reader->textPos is the position after the run.
i32 ReDecodeEntryText(RePlainReader* reader, ReCodeStream* stream, const ReTextTables* tables, u16 mode, u32 from,
                      char* out, u32 room, u32* length);
