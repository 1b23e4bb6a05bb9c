// Character mapping between a caller's words and the conjugation data's
// character code, chosen by the character-table index of the data.
#pragma once

#include "re_types.h"

enum : int { InToCaller = 0, InToData = 1 };

// Maps `count` bytes of `text` into `out` and writes a NUL (count < 1 gives
// an empty string); `out` holds count + 1 bytes and may be `text` itself.
// Returns 8, writing nothing, for an index above 18 or one without tables.
u32 InMapText(u8 tableIndex, int direction, const char* text, i32 count, char* out);
// Maps a NUL-terminated string in place; false when the index has no tables.
bool InMapString(u8 tableIndex, int direction, char* text);
