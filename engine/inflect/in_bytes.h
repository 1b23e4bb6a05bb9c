// Reading the inflection files' numbers: big-endian (re_bytes.h) except the
// phrase offsets.
#pragma once

#include "re_bytes.h"
#include "re_types.h"

inline u16 InReadU16le(const u8* at) { return static_cast<u16>(at[0] | (at[1] << 8)); }
