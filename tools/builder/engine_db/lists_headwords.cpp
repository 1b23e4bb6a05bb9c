#include "engine_db/lists_headwords.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "engine_db/word_index_builder.h"
#include "engine_db/word_index_codes.h"

namespace builder::engine_db {

namespace {

constexpr std::size_t kLongestWord = 63;  // a front-coded record keeps at most 63 characters
constexpr std::uint8_t kFeatureByteOption = 4;

bool IsUpper(std::uint8_t c) { return (c >= 65 && c <= 90) || c == 159 || (c >= 192 && c <= 222); }

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
  std::uint8_t header = static_cast<std::uint8_t>(drop);
  if (IsUpper(static_cast<std::uint8_t>(word[0]))) header |= 0x80;
  for (std::size_t i = 1; i < word.size(); ++i)
    if (IsUpper(static_cast<std::uint8_t>(word[i]))) header |= 0x40;
  ByteWriter out;
  out.U8(header);
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

  // The codes are learnt from the records as they stand in one run.
  std::vector<Bytes> samples;
  {
    std::uint32_t running = 0;
    const std::string* previous = nullptr;
    for (const Headword& h : words) {
      samples.push_back(Record(h, previous, &running));
      previous = &h.word;
    }
  }
  const PhraseCodes codes(samples, spec.codeWidth);

  IndexComponentSpec out;
  out.subtype = 2;
  out.formatLevel = 7;
  out.recordOptions = kFeatureByteOption;
  out.blockSize = spec.blockSize;
  out.codeWidth = spec.codeWidth;
  const std::size_t blockBits = std::size_t{spec.blockSize} * 8;
  Bytes prefixes(spec.prefixLength, 0);  // block 0 is the component header
  std::vector<std::uint16_t> blockCodes;
  const std::string* previous = nullptr;
  std::uint32_t running = 0;
  for (const Headword& h : words) {
    std::uint32_t next = running;
    std::vector<std::uint16_t> record = codes.Encode(Record(h, previous, &next));
    if (!previous || (blockCodes.size() + record.size()) * spec.codeWidth > blockBits) {
      if (previous) out.blocks.push_back(EncodeBlock(blockCodes, spec.codeWidth, spec.blockSize));
      blockCodes.clear();
      next = 0;
      record = codes.Encode(Record(h, nullptr, &next));
      if (record.size() * spec.codeWidth > blockBits) throw std::invalid_argument("a record larger than a block");
      const std::string lower = IndexLowerCase(h.word);
      for (std::size_t i = 0; i < spec.prefixLength; ++i)
        prefixes.push_back(i < lower.size() ? static_cast<std::uint8_t>(lower[i]) : ' ');
    }
    blockCodes.insert(blockCodes.end(), record.begin(), record.end());
    previous = &h.word;
    running = next;
    out.longestWord = std::max<std::uint16_t>(out.longestWord, static_cast<std::uint16_t>(h.word.size()));
  }
  if (previous) out.blocks.push_back(EncodeBlock(blockCodes, spec.codeWidth, spec.blockSize));
  const std::size_t blockCount = out.blocks.size() + 1;
  if (blockCount > 0xFFFF) throw std::invalid_argument("more than 65535 index blocks");
  out.tables = {
      {200, 1, codes.literalLimit(), codes.pool()},
      {210, 2, static_cast<std::uint16_t>(codes.codeCount()), codes.OffsetTable()},
      {220, 1, static_cast<std::uint16_t>(codes.codeCount()), codes.LengthTable()},
      {230, spec.prefixLength, static_cast<std::uint16_t>(blockCount), prefixes},
  };
  return out;
}

}  // namespace builder::engine_db
