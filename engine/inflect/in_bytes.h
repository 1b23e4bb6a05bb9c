// Reading the inflection files' numbers: big-endian except the phrase offsets.
#pragma once

#include "re_types.h"

inline u16 InReadU16be(const u8* at) { return static_cast<u16>((at[0] << 8) | at[1]); }
inline u16 InReadU16le(const u8* at) { return static_cast<u16>(at[0] | (at[1] << 8)); }
inline u32 InReadU32be(const u8* at) {
  return (static_cast<u32>(at[0]) << 24) | (static_cast<u32>(at[1]) << 16) | (static_cast<u32>(at[2]) << 8) | at[3];
}
