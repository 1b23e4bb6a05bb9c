// Pieces shared by the writers of the two inflection file sets: the word
// hash, and the entry records (keys, phrase tables and code streams).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder::inflect {

// h = (h x 256 + c) mod 32749 over the bytes, x = XOR of every h.
struct WordHash {
  std::uint16_t h;
  std::uint16_t x;
};
WordHash HashWord(const std::string& bytes, bool lowerAscii);

// One entry of a record: the entry word, then its kind and the kind's bytes.
struct Entry {
  std::string word;
  bool capitalised = false;
  std::uint8_t kind = 3;           // 1: two bytes follow; other kinds: rule, suffix, cut
  std::uint8_t bytes[2] = {0, 0};  // kind 1
  std::uint16_t rule = 0;          // other kinds
  std::string suffix;              // letters of 17 or more
  std::uint8_t cut = 0;            // below 17
};

// How record keys lower-case letters: A to Z only, or the capitals of the
// data's character code (A to Z, 159 and 192 to 222) as well.
enum class KeyCase { Ascii, DataCode };

// The .dsk records of a list of entries in scan order, with the tables the
// .ram file keeps for them.
struct Records {
  Bytes dsk;                      // recordCount x recordLength
  Bytes keys;                     // 4 bytes per record
  Bytes pool;                     // phrase pool
  Bytes offsets;                  // little-endian u16 per phrase
  Bytes lengths;                  // one byte per phrase
  std::uint32_t phraseCount = 0;  // phrase 0 stands for nothing (code 0 ends a record)
  std::uint32_t recordCount = 0;
  std::uint32_t codeWidth = 0;
};
// Throws std::invalid_argument when an entry cannot be coded or the keys would not ascend.
Records EncodeRecords(const std::vector<Entry>& entries, std::uint32_t recordLength, KeyCase keyCase);

// The text with its capitals lowered as the keys lower them.
std::string LowerKeyText(std::string text, KeyCase keyCase);
std::string Reversed(const std::string& text);

}  // namespace builder::inflect
