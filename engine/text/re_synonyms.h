// Synonym databases (text format 8): an entry number names a member of a
// ring of word-index entries, each with a word, a class byte and the number
// of the next member. REtoken and REentry build their text from the ring.
#pragma once

#include "re_blocks.h"
#include "re_records.h"
#include "re_status.h"
#include "re_types.h"

constexpr u16 ReSynonymFormat = 8;
constexpr u16 ReModSynonyms = 215;

enum : i16 {
  ReErrMemberDecode = -304,   // a member could not be decoded
  ReWarnSynonymsFull = -476,  // the text or chunk holds no more members
};

// One member of a ring.
struct ReRingMember {
  u32 entry;
  char* word;  // NUL-terminated; the caller's buffer of longest word + 1 bytes
  u32 wordLength;
  u8 classByte;
  u32 next;  // the next member's entry number
};

// Reads member `entry` from the main word index: the block whose range of
// entries holds it (table 310 gives each block's entries before it) and the
// word record at its place in the block. 0, or 8 (nothing recorded).
u32 ReReadRingMember(const ReDbRecord* record, ReWorkRecord* work, u32 entry, ReRingMember* member, u32 wordSize);

// REtoken on a synonym database, whatever its function and action: the ring
// as one chunk. Codes with module 215.
void ReSynonymChunk(const ReDbRecord* record, ReWorkRecord* work, ReTokenBlock* block, ReStatusBlock* status);

// REentry on a synonym database: the ring as tagged text
// "<DS>w\n<PS>n\n<SY>w2<D1>w3...</SY>". Codes with module 215.
void ReSynonymText(const ReDbRecord* record, ReWorkRecord* work, ReEntryBlock* block, u16 function, u16 action,
                   ReStatusBlock* status);
