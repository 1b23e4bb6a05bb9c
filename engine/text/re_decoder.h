// The chunk decoder: reads an entry's coded form (re_loader.h) through the
// element automaton and the markup programs of table 90 and hands the text
// out as nine-byte tokens, one chunk at a time. Its whole position is a
// small state record; copies of it taken every few tokens let reading
// resume at any token number without decoding the entry from its start.
#pragma once

#include "re_blocks.h"
#include "re_hits.h"
#include "re_loader.h"
#include "re_records.h"
#include "re_snapshots.h"
#include "re_status.h"
#include "re_text_tables.h"
#include "re_types.h"

constexpr u32 ReElementStackDepth = 64;

// Flags of a token (ReToken::flags).
enum : u8 {
  ReTokLineBreak = 0x01,
  ReTokWordBoundary = 0x02,
  ReTokTypeChange = 0x04,
  ReTokStyleChange = 0x08,
  ReTokHitChange = 0x10,
  ReTokGroupChange = 0x20,
  ReTokExtended = 0x40,
  ReTokHit = 0x80,
};

// Pending flags use 0x80 as the word-boundary mark: it becomes 0x02 when the
// next token is emitted.
constexpr u8 ReBoundaryMark = 0x80;

struct ReDecodeState {
  i16 stack[ReElementStackDepth];  // pending states: < 0 an encoded close program, else a sequence position
  i16 depth;
  u16 state;            // state code being processed (16384 at an entry's start)
  u32 textPosition;     // offset in the entry's coded form
  u32 tokenNumber;      // tokens handed out so far in this entry
  u16 groupMark;        // token number at which the current marked group began, 0 none
  u8 styleCounters[8];  // one per style bit 0x80 ... 0x01
  u8 numberCounters[16];
  u8 lastType;  // of the last token handed out
  u8 skipNext;  // the next number or literal of a program is dropped
  u8 lineMode;  // a line end forces a line break
  u8 lastFlags;
  // The pending token and what the store step compares with.
  u8 type;   // type of the following tokens
  u8 style;  // style byte rebuilt from the counters
  u8 pendingFlags;
  u8 lastStyle;
  u16 lastGroup;
};

// A snapshot: the state and where its window of the coded form begins.
struct ReTokenSnapshot {
  u32 tokenNumber;  // key
  ReDecodeState state;
  ReLoaderPos window;  // boundary at the start of the window
  u32 offset;          // read offset within that window
};

constexpr u8 ReTokenSnapshotShift = 5;
constexpr u16 ReTokenSnapshotCount = 32;

// One entry open for token reading (the reading buffer of REtoken).
struct ReTokenReading {
  u32 entry;     // 0: none
  bool started;  // a chunk has been decoded since the entry was opened
  ReCodedWindow window;
  u32 offset;  // next byte of the window to read
  ReLoaderPos entryStart;
  ReDecodeState state;
  ReExpander expander;
  ReSnapshotTable snapshots;
};

// Allocates the reading buffer (8 x capacity + 1 bytes, at least
// ReMinimumWindow) and the snapshot table. False on no memory.
bool ReInitTokenReading(ReTokenReading* reading, u32 capacity);
void ReFreeTokenReading(ReTokenReading* reading);

// Opens an entry: finds its codes, empties the snapshots, zeroes the state.
// 0, or a loader result (ReLoadBadText, ReLoadReadFailed, ReLoadStopped).
i32 ReOpenTokenEntry(ReTokenReading* reading, ReCodeStream* stream, const ReTextTables* tables, u32 entry);

// What one chunk is filled into.
struct ReChunkOut {
  char* text;
  u32 textRoom;  // 8 x capacity
  u32 textLength;
  ReToken* tokens;
  u32 tokenRoom;  // capacity; a chunk holds at most capacity - 1 tokens
  u32 tokenCount;
};

// Everything one chunk is decoded from.
struct ReChunkSource {
  ReCodeStream* stream;
  const ReTextTables* tables;
  const ReAutomatonSections* automaton;
  const ReMarkupSections* markup;
  const ReHitTerms* hits;       // null or count 0: no hit marking
  ReProgressCallback progress;  // the database's callback, or null
  const ReAutomatonRows* rows;  // the automaton's row tables, or null
};

// Fills one chunk (ReNextTextChunk). Action 470 starts the entry; 430 goes
// on; 490 returns the chunk that starts at token *firstToken (from the
// nearest snapshot at or before it). On return *firstToken has the chunk's
// token count added. Codes go to `status` with module 844; returns the status.
u32 ReNextTextChunk(ReTokenReading* reading, const ReChunkSource& source, u16 action, u16* firstToken, ReChunkOut* out,
                    ReStatusBlock* status);

// Chunk-level codes (module 844).
enum : i16 {
  ReErrNoReadingBuffer = -800,
  ReErrNoMarkup = -460,
  ReErrBadState = -480,
  ReWarnUnexpectedCode = -481,
  ReErrElementStack = -482,
  ReWarnEntryEnd = -352,
};
enum : u16 { ReModChunk = 844, ReModLoader = 305 };

// Markup program operations (the first byte; low four bits the operand n).
enum : u8 {
  ReOpEnd = 0x00,
  ReOpStyleSet = 0x03,
  ReOpStyleOff = 0x04,
  ReOpStyleOn = 0x05,
  ReOpGroup = 0x06,
  ReOpUngroup = 0x07,
  ReOpJoin = 0x08,
  ReOpSkip = 0x09,
  ReOpBreak = 0x0A,
  ReOpLinesOn = 0x0B,
  ReOpLinesOff = 0x0C,
  ReOpType = 0x0F,
  ReOpTypeN = 0x10,
  ReOpDecimal = 0x20,
  ReOpRomanUpper = 0x30,
  ReOpRomanLower = 0x40,
  ReOpLetterUpper = 0x50,
  ReOpLetterLower = 0x60,
  ReOpCounterSet = 0x80,
  ReOpCounterAdd = 0x90,
  ReOpCounterSub = 0xA0,
  ReOpLiteral = 0xC0,
};

// Prints a counter value by a print operation's high nibble (0x20 decimal,
// 0x30/0x40 Roman, 0x50/0x60 letters). Roman and letters print nothing for 0;
// past 26 the letters go on as AA, AB ... Returns the length (at most 9).
u32 ReFormatCounter(u8 operation, u8 value, char* out);
