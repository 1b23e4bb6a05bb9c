// Fuzz target: one word-index block decoded against phrase tables, all taken
// from the input. Layout of the input: code width, reading, record options,
// index flags, format level (one byte each), literal limit (u16), pool length
// (u16), code count (u16), then the pool, the offsets (2 bytes a code), the
// lengths (a byte a code) and the block (the rest, at most 4096 bytes).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "re_charclass.h"
#include "re_word_index.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 11) return 0;
  auto u16at = [&](std::size_t at) { return static_cast<u16>(data[at] << 8 | data[at + 1]); };
  ReIndexDescriptor index{};
  index.codeWidth = data[0] % 25;
  const u16 reading = data[1] % 3;
  index.recordOptions = data[2];
  index.indexFlags = data[3];
  index.formatLevel = data[4];
  index.literalLimit = u16at(5);
  std::size_t at = 11;
  const std::size_t poolLength = std::min<std::size_t>(u16at(7), size - at);
  index.phrasePool = data + at;
  index.phrasePoolLength = static_cast<u32>(poolLength);
  at += poolLength;
  const std::size_t codes = std::min<std::size_t>(u16at(9), (size - at) / 3);
  index.phraseOffsets = data + at;
  index.phraseOffsetsLength = static_cast<u32>(2 * codes);
  at += 2 * codes;
  index.phraseLengths = data + at;
  index.phraseLengthsLength = static_cast<u32>(codes);
  at += codes;
  const std::size_t blockSize = std::min<std::size_t>(size - at, 4096);
  if (blockSize == 0) return 0;
  // The block in a buffer of its own size, so that a read past it is seen.
  std::vector<u8> block(data + at, data + at + blockSize);
  index.blockSize = static_cast<u16>(blockSize);
  index.longestWord = 40;
  index.charClasses = ReCharClassTable(1);

  ReIndexBlockDecoder decoder;
  decoder.Begin(index, block.data(), 1, reading);
  char restored[ReWordCapacity + 1];
  std::size_t records = 0;
  while (const ReIndexWord* word = decoder.Next()) {
    if (word->length > index.longestWord || std::strlen(word->text) != word->length) __builtin_trap();
    ReRestoreCase(index, *word, static_cast<u8>(records % 4), restored);
    ++records;
  }
  return 0;
}
