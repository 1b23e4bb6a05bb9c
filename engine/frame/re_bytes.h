// Big-endian numbers of file data already checked to lie in its buffer.
#pragma once

#include "re_types.h"

inline u16 ReBe16(const u8* p) { return static_cast<u16>(p[0] << 8 | p[1]); }
inline u32 ReBe24(const u8* p) { return static_cast<u32>(p[0]) << 16 | static_cast<u32>(p[1]) << 8 | p[2]; }
inline u32 ReBe32(const u8* p) {
  return static_cast<u32>(p[0]) << 24 | static_cast<u32>(p[1]) << 16 | static_cast<u32>(p[2]) << 8 | p[3];
}
