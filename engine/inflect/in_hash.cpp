#include "in_hash.h"

#include <cstring>

#include "in_bytes.h"

namespace {

constexpr u16 HashModulus = 32749;
constexpr int PresenceProbes = 52;
constexpr int WordHashProbes = 9;

u8 LowerAscii(u8 c) { return c >= 'A' && c <= 'Z' ? static_cast<u8>(c + 32) : c; }

}  // namespace

InHashValue InHashBytes(const u8* bytes, u32 count, bool lowerAscii) {
  u16 h = lowerAscii ? LowerAscii(bytes[0]) : bytes[0];
  u16 x = h;
  for (u32 i = 1; i < count; ++i) {
    const u8 c = lowerAscii ? LowerAscii(bytes[i]) : bytes[i];
    // (h mod 128) x 256 + c + (h / 128) x 19 stays below 65536 for h < 32749.
    h = static_cast<u16>(((h & 127) << 8) + c + (h >> 7) * 19);
    if (h >= HashModulus) h = static_cast<u16>(h - HashModulus);
    x ^= h;
  }
  return {h, x};
}

bool InIsKnownWord(const u8* presence, u32 presenceSize, const char* word) {
  if (!presence || presenceSize == 0 || !word) return false;
  const u32 length = static_cast<u32>(std::strlen(word));
  if (length == 0) return false;
  const InHashValue value = InHashBytes(reinterpret_cast<const u8*>(word), length, true);
  u8 check = static_cast<u8>(length == 1 ? value.x : value.h);
  if (check == 0) check = static_cast<u8>(length);
  const i32 spread = check & 31;
  u32 slot = (value.x & 32767u) % presenceSize;
  i32 step = 3 - spread;
  for (int probe = 0; probe < PresenceProbes; ++probe) {
    const u8 held = presence[slot];
    if (held == 0) return false;
    if (held == check) return true;
    step += 2 * spread;
    slot = static_cast<u32>((slot + static_cast<u32>(step)) % presenceSize);
  }
  return false;
}

bool InProbeWordHash(const char* text, i32 first, i32 last, const u8* table, u32 size) {
  if (!text || !table || first < 0 || last < first) return false;
  const u32 entries = size / 4;
  if (entries == 0) return false;
  const InHashValue value =
      InHashBytes(reinterpret_cast<const u8*>(text) + first, static_cast<u32>(last - first + 1), false);
  const u32 x = value.x & 32767u;
  const i32 spread = value.h & 7;
  // The slot is reduced modulo the entry count at every step, so that a table
  // of any size stays in bounds.
  u32 slot = (x & (entries - 1)) % entries;
  i32 step = 3 - spread;
  for (int probe = 0; probe < WordHashProbes; ++probe) {
    const u32 entry = ReBe32(table + slot * 4);
    if (entry == 0) return false;
    if ((entry & 0x7FFFu) == value.h) return true;
    step += 2 * spread;
    slot = (slot + static_cast<u32>(step)) % entries;
  }
  return false;
}
