#include "entry_text/synonym_rings.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace builder::entry_text {

namespace {

constexpr std::uint16_t kCodeWidth = 9;  // code c stands for the byte c - 1; code 0 ends a block
constexpr std::size_t kMaxWord = 63;

struct Member {
  std::string word;
  std::uint8_t classByte;
  std::size_t ring, place;
  std::uint32_t entry = 0, next = 0;
};

std::string Lower(std::string word) {
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return word;
}

// The bytes of one word record (reading 2: a list number follows the word).
Bytes Record(const std::string& previous, const Member& member, std::int32_t delta) {
  const std::string& word = member.word;
  std::size_t common = 0;
  while (common < previous.size() && common < word.size() && previous[common] == word[common]) ++common;
  Bytes out;
  out.reserve(word.size() + 12);
  std::uint8_t header = static_cast<std::uint8_t>(previous.size() - common);
  if (std::isupper(static_cast<unsigned char>(word[0]))) header |= 0x80;
  for (std::size_t i = 1; i < word.size(); ++i)
    if (std::isupper(static_cast<unsigned char>(word[i]))) header |= 0x40;
  out.push_back(header);
  for (std::size_t i = common; i < word.size(); ++i) out.push_back(static_cast<std::uint8_t>(word[i]));
  out.push_back(10);  // an extension follows the tail
  out.push_back(0);   // terminator: no further tail bytes
  out.push_back(0);   // the byte every reading-2 tail begins with
  const auto value = static_cast<std::uint32_t>(delta) & 0xFFFFFF;
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(member.classByte);
  out.push_back(0);  // the extension's text ends at once
  return out;
}

class CodeBlock {
 public:
  explicit CodeBlock(std::uint16_t size) : size_(size) {}
  // Codes left before the block's closing code 0.
  std::size_t Room() const { return (static_cast<std::size_t>(size_) * 8) / kCodeWidth - codes_ - 1; }
  void Put(const Bytes& bytes) {
    for (std::uint8_t b : bytes) {
      const std::uint32_t code = b + 1u;
      for (int bit = kCodeWidth - 1; bit >= 0; --bit, ++bits_) {
        if (bits_ % 8 == 0) out_.push_back(0);
        if (code >> bit & 1) out_.back() |= static_cast<std::uint8_t>(0x80u >> (bits_ % 8));
      }
      ++codes_;
    }
  }
  Bytes Take() {
    out_.resize(size_, 0);  // the codes after the last record are 0
    return std::move(out_);
  }

 private:
  std::uint16_t size_;
  Bytes out_;
  std::size_t bits_ = 0, codes_ = 0;
};

}  // namespace

SynonymIndex SynonymRingIndex(const std::vector<std::vector<RingMember>>& rings, std::uint16_t blockSize) {
  if (blockSize < 512) throw std::invalid_argument("index blocks are at least one component header long");
  std::vector<Member> members;
  for (std::size_t r = 0; r < rings.size(); ++r) {
    if (rings[r].empty()) throw std::invalid_argument("an empty ring");
    for (std::size_t p = 0; p < rings[r].size(); ++p) {
      const std::string& word = rings[r][p].word;
      if (word.empty() || word.size() > kMaxWord) throw std::invalid_argument("ring words hold 1 to 63 characters");
      for (char c : word)
        if (static_cast<unsigned char>(c) < 11) throw std::invalid_argument("ring words hold no control bytes");
      members.push_back(Member{word, rings[r][p].classByte, r, p});
    }
  }
  std::stable_sort(members.begin(), members.end(),
                   [](const Member& a, const Member& b) { return Lower(a.word) < Lower(b.word); });
  SynonymIndex result;
  result.entries.resize(rings.size());
  for (std::size_t r = 0; r < rings.size(); ++r) result.entries[r].resize(rings[r].size());
  for (std::size_t i = 0; i < members.size(); ++i) {
    members[i].entry = static_cast<std::uint32_t>(i + 1);
    result.entries[members[i].ring][members[i].place] = members[i].entry;
  }
  for (Member& m : members) {
    const auto& ring = result.entries[m.ring];
    m.next = ring[(m.place + 1) % ring.size()];
  }
  result.entryCount = static_cast<std::uint32_t>(members.size());
  // "<DS>w\n<PS>n\n<SY>w2<D1>w3...</SY>", read from any member.
  for (const auto& ring : rings) {
    std::size_t words = 0;
    for (const RingMember& m : ring) words += m.word.size() + 4;
    result.longestText = std::max<std::uint32_t>(result.longestText, static_cast<std::uint32_t>(words + 5 + 3 + 2 + 5));
  }

  // Blocks 1 ..: as many whole records as fit, the list number counted
  // from 0 in every block. Block 0 is the component header.
  ByteWriter before, prefixes;
  before.U32be(0);
  prefixes.Append(std::string("    "));
  std::size_t i = 0;
  std::uint16_t longest = 0;
  while (i < members.size()) {
    before.U32be(static_cast<std::uint32_t>(i));
    std::string prefix = Lower(members[i].word).substr(0, 4);
    prefix.resize(4, ' ');
    prefixes.Append(prefix);
    CodeBlock block(blockSize);
    std::string previous;
    std::int32_t running = 0;
    const std::size_t first = i;
    while (i < members.size()) {
      const Bytes record = Record(previous, members[i], static_cast<std::int32_t>(members[i].next) - running);
      if (record.size() > block.Room()) {
        if (i == first) throw std::invalid_argument("a word record larger than a block");
        break;
      }
      block.Put(record);
      running = static_cast<std::int32_t>(members[i].next);
      previous = members[i].word;
      longest = std::max<std::uint16_t>(longest, static_cast<std::uint16_t>(previous.size()));
      ++i;
    }
    result.index.blocks.push_back(block.Take());
  }
  const std::size_t blockCount = result.index.blocks.size() + 1;
  if (blockCount > 0xFFFF) throw std::invalid_argument("too many index blocks");

  ByteWriter offsets, lengths;
  Bytes pool(256);
  offsets.U16be(0);
  lengths.U8(0);
  for (std::uint32_t c = 0; c < 256; ++c) {
    pool[c] = static_cast<std::uint8_t>(c);
    offsets.U16be(c);
    lengths.U8(1);
  }
  SynonymIndex& r = result;
  r.index.subtype = 1;
  r.index.blockSize = blockSize;
  r.index.codeWidth = kCodeWidth;
  r.index.longestWord = longest;
  r.index.longestLine = static_cast<std::uint16_t>(longest + 16);
  r.index.entryListCount = 20;
  r.index.tables = {
      {200, 1, std::uint16_t{256}, pool},
      {210, 2, std::nullopt, offsets.take()},
      {220, 1, std::nullopt, lengths.take()},
      {230, 4, static_cast<std::uint16_t>(blockCount), prefixes.take()},
      {310, 4, static_cast<std::uint16_t>(blockCount), before.take()},
  };
  return result;
}

}  // namespace builder::entry_text
