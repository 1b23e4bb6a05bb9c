// The tables that drive entry text decoding, as the decoders read them, and
// the codes of the coded text form.
//
// Stored entry text is a stream of fixed-width codes (tables 10, 20, 30, 60)
// that expands into tagged text ("<B>bold</B>", byte 255 = line feed). The
// character automaton (table 80) turns tagged text into the coded form:
// literal pieces and 16-bit codes. The element automaton and the markup
// programs (table 90) turn the coded form into typed, styled tokens.
#pragma once

#include "re_records.h"
#include "re_types.h"
#include "re_word_pieces.h"  // ReMiddleDot

// Codes of the text stream.
struct ReTextTables {
  const u8* groups;  // table 10: big-endian u32 per group, the code index the group's entries are counted from
  u32 groupCount;
  const u8* first;   // table 20: big-endian u16 per code (pool offset / the character / first half)
  const u8* second;  // table 30: big-endian u16 per code (length / ReSingleCharacter / second half)
  u32 codeCount;     // codes both tables hold
  const u8* pool;    // table 60: the texts of the terminal codes
  u32 poolLength;
  u32 terminalCount;  // codes below it are terminals; from it up single characters and pairs
  u32 endCode;
  u16 codeWidth;   // bits per code, 1 to 16
  u16 groupShift;  // a group holds 2^shift entries
  u32 entryCount;
  const struct ReCodeTexts* codeTexts;  // the codes' texts, expanded once (null: as they come)
};

// Fills the views from an open database's record. False when the database
// has no usable text (no table 20 or 30, a code width outside 1 to 16).
bool ReTextTablesOf(const ReDbRecord* record, ReTextTables* tables);

// The character automaton and the markup table keep the shapes the
// container gives them (ReAutomatonSections, ReMarkupSections: host order).
bool ReHasMarkup(const ReDbRecord* record);

// Values of the 16-bit codes of the coded form.
enum : u32 {
  ReCodeLiteralLast = 4,  // 1-4: literal pieces
  ReCodeSkipRecord = 14,  // a record the decoder skips
  ReCodeSkipByte = 15,    // one byte, skipped
  ReCodeLineEnd = 4096,
  ReCodeMarkupFirst = 4097,
  ReCodeMarkupLast = 7167,
  ReCodeCharFirst = 7168,      // 7168-7423: the character code - 7168
  ReCodeExtendedFirst = 7424,  // 7424-8191: the low byte, flagged 0x40
  ReCodeCharLast = 8191,
  ReCodeEnd = 65534,
};

// Literal piece kinds (the first byte of a piece).
enum : u8 {
  RePieceBoundary = 1,  // text without a token of its own; marks a word boundary
  RePieceText = 2,
  RePieceOther = 3,
  RePieceSpace = 4,  // a separating piece
};

// Decoder state codes.
enum : u32 {
  ReStateText = 1,
  ReStateElement = 16384,  // + element record index
  ReStateCloseFirst = 32768,
  ReStateCloseBase = 49152,  // close program n is the state 49152 - n
  ReStateEnd = 65534,
};

constexpr u32 ReFinalBit = 0x2000;  // table 80: a next state with this bit is final
constexpr u32 ReSequenceEnd = 0xFFFF;
constexpr u8 ReLineFeed = 10;
constexpr u8 ReStoredLineFeed = 255;  // a line feed as the expanded text holds it
