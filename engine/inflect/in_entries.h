// The entry records shared by the word-form data (enue.dsk) and the
// conjugation data (.dsk): ascending 4-byte record keys, and per record a
// stream of fixed-width codes, each standing for a phrase of bytes that the
// entry decoder reads as entries.
#pragma once

#include "re_types.h"

constexpr u32 InKeySize = 4;
constexpr u32 InMaxEntryWord = 80;  // a longer entry word ends its record

// The phrase tables of a .ram file.
struct InPhrases {
  const u8* offsets;  // little-endian u16 per phrase
  const u8* lengths;  // one byte per phrase
  const u8* pool;
  u32 count;
  u32 poolSize;
};

// Records first..last (inclusive) to scan for a lower-cased word; empty when first > last.
struct InRecordRange {
  i32 first;
  i32 last;
};
InRecordRange InFindRecords(const u8* keys, u32 recordCount, const char* loweredWord);

// One decoded entry. The word buffers belong to the decoder; a visitor may
// change word[0] in place (later entries build on it).
struct InEntry {
  char* word;           // the entry word as stored
  const char* lowered;  // the same word lower-cased
  u32 length;
  bool capitalised;
  u8 kind;          // below 5
  u8 kindBytes[2];  // kind 1
  u16 rule;         // every other kind
  const char* suffix;
  u32 suffixLength;
  u8 cut;
};

// Lower-cases one byte: A to Z only without a class table, else every byte
// whose class has the upper-case bit gets 32 added.
u8 InLowerByte(u8 c, const u32* classes);

// Decodes one record of `length` bytes. `visit` is called for every complete
// entry and returns false to stop the scan; the call then returns false.
// Codes that name no phrase, or phrases that leave the pool, are skipped.
class InEntryVisitor {
 public:
  virtual bool Visit(InEntry& entry) = 0;

 protected:
  ~InEntryVisitor() = default;
};
bool InDecodeRecord(const u8* record, u32 length, u32 codeWidth, const InPhrases& phrases, const u32* classes,
                    InEntryVisitor& visitor);
