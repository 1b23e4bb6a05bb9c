#include "core/spell_hash.h"

#include "core/content_file.h"
#include "zorlre/re_platform.h"

namespace {

constexpr u16 SlotCount = 32748;  // the last 20 slots of the file are never addressed
constexpr u16 KeyModulus = 32749;
constexpr int ProbeLimit = 23;

// A byte of the word as the key sees it: C-locale lower case, then
// sign-extended, so bytes 0x80-0xFF become 0xFF80-0xFFFF.
u16 KeyCharacter(char c) {
  if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return static_cast<u16>(static_cast<i16>(static_cast<signed char>(c)));
}

}  // namespace

u8* SpellHashLoad(const char* path) {
  auto* table = static_cast<u8*>(ReHeapAlloc(SpellTableBytes));
  if (!table) return nullptr;
  const ContentFile file = ContentOpen(path);
  const bool loaded = file != NoContentFile && ContentReadExact(file, table, SpellTableBytes);
  ContentClose(file);
  if (!loaded) {
    ReHeapFree(table);
    return nullptr;
  }
  return table;
}

void SpellHashFree(u8* table) { ReHeapFree(table); }

bool SpellHashFind(const u8* table, const char* word) {
  if (!table || !word || !*word) return false;
  // All arithmetic wraps at 16 bits.
  u16 n = KeyCharacter(*word);
  u16 x = n;
  for (const char* p = word + 1; *p; ++p) {
    n = static_cast<u16>(KeyCharacter(*p) + (n & 0x7F) * 256 + (n >> 7) * 19);
    if (n > SlotCount) n = static_cast<u16>(n - KeyModulus);
    x ^= n;
  }
  u16 slot = x & 0x7FFF;
  if (slot >= SlotCount) slot %= SlotCount;
  const u16 k = n & 31;
  u16 step = static_cast<u16>(3 - k);
  for (int probe = 0; probe < ProbeLimit; ++probe) {
    const u16 stored = static_cast<u16>(table[2 * slot] << 8 | table[2 * slot + 1]);
    if (stored == 0) return false;
    if (stored == n) return true;
    step = static_cast<u16>(step + 2 * k);
    slot = static_cast<u16>(slot + step);
    if (slot >= SlotCount) slot %= SlotCount;
  }
  return false;
}
