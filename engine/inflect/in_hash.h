// The word hash of the inflection files: h = (h x 256 + c) modulo 32749 over
// the bytes of a word, and x the XOR of every intermediate h. hash.dat, the
// word hash of a conjugation .ram file (or of a database's table 280) and the
// hashed lookup index are all probed from these two values.
#pragma once

#include "re_types.h"

struct InHashValue {
  u16 h;
  u16 x;
};

// Hashes `count` bytes (count >= 1); with lowerAscii, A to Z are lower-cased first.
InHashValue InHashBytes(const u8* bytes, u32 count, bool lowerAscii);

// Presence test of the word-form data (hash.dat): one check byte per slot.
bool InIsKnownWord(const u8* presence, u32 presenceSize, const char* word);

// Word-hash probe: is text[first..last] in the table of `size` bytes of
// big-endian u32 entries? Any size is safe; a table under 4 bytes holds nothing.
bool InProbeWordHash(const char* text, i32 first, i32 last, const u8* table, u32 size);
