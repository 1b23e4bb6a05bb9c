// The entry text compressor: entries of tagged text become one stream of
// fixed-width codes (most significant bit first) and the tables that expand
// it again: 10 (where each group of entries starts), 20 and 30 (per code:
// pool offset and length, the halves of a pair, or a single character) and
// 60 (the phrase pool). Codes are found by pairing the most frequent
// neighbours, round after round; pairs that expand to short texts become
// pool phrases.
//
// Numbering: the terminal codes (those with pool text) come first: code 0 is
// the end code (pool text FE FE FE FE at offset 0), then the phrases; the
// terminal count (table 60's element count) follows them. From the terminal
// count up come the 256 single characters 0-255 (table 30 holds 0xFFFF),
// then the pairs. The stream begins with one end code (an empty entry 0);
// entry e follows entry e - 1, each closed by the end code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/byte_writer.h"

namespace builder::entry_text {

struct CompressOptions {
  std::uint32_t maxCodes = 4096;       // at most 65536
  std::uint32_t rounds = 12;           // pairing rounds, at most 16 (pairs nest this deep)
  std::uint32_t maxPhraseLength = 24;  // pairs that expand to this many bytes or fewer become phrases
  std::uint16_t groupSize = 16;        // entries per group of table 10, a power of two
};

struct CompressedText {
  Bytes groups;  // table 10: u32 per group
  Bytes first;   // table 20: u16 per code
  Bytes second;  // table 30: u16 per code
  Bytes pool;    // table 60
  std::uint32_t codeCount = 0;
  std::uint32_t terminalCount = 0;  // table 60's element count
  std::uint32_t endCode = 0;
  std::uint16_t codeWidth = 0;
  std::uint16_t groupSize = 0;
  std::uint32_t groupCount = 0;
  Bytes stream;  // padded to whole 16-bit words
  std::uint32_t entryCount = 0;
  std::uint32_t longestEntry = 0;  // bytes of tagged text
  std::uint32_t longestLine = 0;
};

// Compresses entries 1 .. n (entries[0] is entry 1). Line feeds are stored as
// byte 255; an entry that holds a byte 255 or 0, or more than 65535 bytes, is
// refused (std::invalid_argument).
CompressedText Compress(const std::vector<std::string>& entries, const CompressOptions& options = {});

}  // namespace builder::entry_text
