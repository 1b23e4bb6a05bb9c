// Term analysis over a word hash: the alternatives of a word whose elided
// beginning or whose ending the hash knows. Used by the conjugation fallback
// (the word hash of the .ram file) and by the entry lists (table 280 of a
// database), each with its database kind.
#pragma once

#include "re_types.h"

// A word hash: `size` bytes of big-endian u32 entries.
struct InWordHash {
  const u8* data;
  u32 size;
};

// Writes the alternatives of `word`, NUL-terminated one after another, into
// `result` (`resultSize` bytes) and returns their number (0 = none). An
// alternative that does not fit ends the list; nothing is written past the
// buffer. `classes` is the character-class table of the kind (may be null).
// *elided is set to 1 when an elided beginning was removed, never cleared.
i16 InAnalyzeWord(const char* word, u8 kind, const u32* classes, InWordHash hash, char* result, u32 resultSize,
                  u8* elided);
