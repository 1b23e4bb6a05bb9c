#include "engine_db/lists_headwords.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "engine_db/word_index_builder.h"

namespace builder::engine_db {

namespace {

constexpr std::size_t kLongestWord = 63;  // a front-coded record keeps at most 63 characters
constexpr std::uint8_t kFeatureByteOption = 4;

// One record of list-number reading: header, the characters after the part
// shared with the previous word, the extension mark, terminator 0, the tail
// (a byte 0 and the 24-bit list-number delta), then the extension: class,
// feature bit number, an empty text.
Bytes Record(const Headword& h, const std::string* previous, std::uint32_t* running) {
  const std::string& word = h.word;
  std::size_t common = 0;
  if (previous)
    while (common < previous->size() && common < word.size() && (*previous)[common] == word[common]) ++common;
  const std::size_t drop = previous ? previous->size() - common : 0;
  ByteWriter out;
  out.U8(IndexRecordHeader(drop, word));
  out.Append(std::string_view(word).substr(common));
  out.U8(10);  // an extension follows the tail
  out.U8(0);   // terminator
  out.U8(0);   // the byte every tail of this reading starts with
  out.U24be((h.entry - *running) & 0xFFFFFF);
  *running = h.entry;
  out.U8(h.wordClass);
  out.U8(h.featureBit);
  out.U8(0);  // the extension's text ends at once
  return out.take();
}

void Check(const Headword& h) {
  if (h.word.empty() || h.word.size() > kLongestWord) throw std::invalid_argument("headwords hold 1 to 63 bytes");
  for (unsigned char c : h.word)
    if (c < 32) throw std::invalid_argument("headword with a byte below 32: " + h.word);
  if (h.entry == 0 || h.entry > 0x7FFFFF) throw std::invalid_argument("headword entry out of range: " + h.word);
  if (h.featureBit > 31) throw std::invalid_argument("feature bit numbers run to 31");
}

}  // namespace

IndexComponentSpec HeadwordIndex(const HeadwordIndexSpec& spec) {
  if (spec.blockSize < 512) throw std::invalid_argument("index blocks are at least one component header long");
  if (spec.prefixLength < 1 || spec.prefixLength > 4) throw std::invalid_argument("prefix length 1 to 4");
  std::vector<Headword> words = spec.headwords;
  for (const Headword& h : words) Check(h);
  std::stable_sort(words.begin(), words.end(), [](const Headword& a, const Headword& b) {
    if (a.word != b.word) return IndexWordLess(a.word, b.word);
    return a.entry < b.entry;
  });

  std::vector<const std::string*> spellings;
  for (const Headword& h : words) spellings.push_back(&h.word);
  IndexBlocks laid = LayOutIndexBlocks(
      spellings,
      [&](std::size_t i, const std::string* previous, std::uint32_t* running) {
        return Record(words[i], previous, running);
      },
      spec.blockSize, spec.codeWidth, spec.prefixLength);
  const PhraseCodes& codes = laid.codes;

  IndexComponentSpec out;
  out.subtype = 2;
  out.formatLevel = 7;
  out.recordOptions = kFeatureByteOption;
  out.blockSize = spec.blockSize;
  out.codeWidth = spec.codeWidth;
  for (const Headword& h : words)
    out.longestWord = std::max<std::uint16_t>(out.longestWord, static_cast<std::uint16_t>(h.word.size()));
  out.blocks = std::move(laid.blocks);
  const std::size_t blockCount = out.blocks.size() + 1;
  if (blockCount > 0xFFFF) throw std::invalid_argument("more than 65535 index blocks");
  out.tables = {
      {200, 1, codes.literalLimit(), codes.pool()},
      {210, 2, static_cast<std::uint16_t>(codes.codeCount()), codes.OffsetTable()},
      {220, 1, static_cast<std::uint16_t>(codes.codeCount()), codes.LengthTable()},
      {230, spec.prefixLength, static_cast<std::uint16_t>(blockCount), laid.prefixes},
  };
  return out;
}

}  // namespace builder::engine_db
