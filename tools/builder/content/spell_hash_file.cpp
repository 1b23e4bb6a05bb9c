#include "content/spell_hash_file.h"

namespace builder {
namespace {

constexpr std::uint32_t Slots = 32748;
constexpr std::uint32_t TableBytes = 65536;
constexpr int ProbeLimit = 23;

// Lower-case A-Z, then take the byte as a signed char widened to 16 bits.
std::uint16_t Widen(unsigned char byte) {
  if (byte >= 'A' && byte <= 'Z') byte = static_cast<unsigned char>(byte + 32);
  return byte >= 0x80 ? static_cast<std::uint16_t>(0xFF00 | byte) : byte;
}

}  // namespace

std::uint16_t SpellKey(const std::string& word, std::uint16_t* startSlot) {
  std::uint16_t key = Widen(static_cast<unsigned char>(word[0]));
  std::uint16_t mixed = key;
  for (std::size_t i = 1; i < word.size(); ++i) {
    std::uint32_t next = Widen(static_cast<unsigned char>(word[i])) + (key & 0x7Fu) * 256u + (key >> 7) * 19u;
    key = static_cast<std::uint16_t>(next);
    if (key > 32748) key = static_cast<std::uint16_t>(key - 32749);
    mixed = static_cast<std::uint16_t>(mixed ^ key);
  }
  std::uint32_t start = mixed & 0x7FFFu;
  if (start >= Slots) start %= Slots;
  if (startSlot) *startSlot = static_cast<std::uint16_t>(start);
  return key;
}

SpellHashTable BuildSpellHash(const std::vector<std::string>& words) {
  SpellHashTable table;
  table.bytes.assign(TableBytes, 0);
  auto slotKey = [&](std::uint32_t slot) {
    return static_cast<std::uint16_t>(table.bytes[2 * slot] << 8 | table.bytes[2 * slot + 1]);
  };
  for (const std::string& word : words) {
    if (word.empty() || word.find('\0') != std::string::npos) {
      table.unplaced.push_back(word);
      continue;
    }
    std::uint16_t start = 0;
    const std::uint16_t key = SpellKey(word, &start);
    if (key == 0) {  // indistinguishable from an empty slot
      table.unplaced.push_back(word);
      continue;
    }
    // Probe sequence: s0, then steps of 3 + k, 3 + 3k, 3 + 5k, ... (k = key & 31).
    const std::uint32_t k = key & 31u;
    std::uint32_t slot = start;
    std::uint32_t step = 3 + k;
    bool placed = false;
    for (int probe = 0; probe < ProbeLimit && !placed; ++probe) {
      const std::uint16_t stored = slotKey(slot);
      if (stored == key) {
        placed = true;  // already there (another word with this key)
      } else if (stored == 0) {
        table.bytes[2 * slot] = static_cast<std::uint8_t>(key >> 8);
        table.bytes[2 * slot + 1] = static_cast<std::uint8_t>(key);
        placed = true;
      } else {
        slot = (slot + step) % Slots;
        step += 2 * k;
      }
    }
    if (!placed) table.unplaced.push_back(word);
  }
  return table;
}

}  // namespace builder
