#include "entry_text/text_compressor.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace builder::entry_text {

namespace {

constexpr std::uint32_t kEndCode = 0;
constexpr std::uint32_t kFirstPair = 257;  // after the end code and the 256 single characters
constexpr std::uint32_t kMaxRounds = 16;
constexpr std::uint32_t kMaxPool = 65535;      // pool offsets are 16-bit
constexpr std::uint32_t kMaxExpansion = 4096;  // characters one code may stand for

using Sequence = std::vector<std::uint32_t>;

// Open-addressing counts of code pairs (key: first << 16 | second).
class PairCounts {
 public:
  explicit PairCounts(std::size_t positions) {
    std::size_t size = 1u << 16;
    while (size < 2 * positions && size < (1u << 23)) size <<= 1;
    keys_.assign(size, 0);
    counts_.assign(size, 0);
  }
  void Add(std::uint32_t key) {
    const std::size_t mask = keys_.size() - 1;
    for (std::size_t slot = Hash(key) & mask;; slot = (slot + 1) & mask) {
      if (keys_[slot] == key + 1) {
        ++counts_[slot];
        return;
      }
      if (keys_[slot] == 0) {
        if (used_ * 4 >= keys_.size() * 3) return;  // full enough: rare pairs are left uncounted
        keys_[slot] = key + 1;
        counts_[slot] = 1;
        ++used_;
        return;
      }
    }
  }
  // The pairs seen at least twice, most frequent first.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Frequent() const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    for (std::size_t i = 0; i < keys_.size(); ++i)
      if (keys_[i] && counts_[i] >= 2) out.emplace_back(counts_[i], keys_[i] - 1);
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    return out;
  }

 private:
  static std::size_t Hash(std::uint32_t key) { return (key * 2654435761u) >> 7; }
  std::vector<std::uint32_t> keys_;
  std::vector<std::uint32_t> counts_;
  std::size_t used_ = 0;
};

void Rewrite(Sequence& sequence, const std::map<std::uint32_t, std::uint32_t>& chosen, Sequence& scratch) {
  scratch.clear();
  for (std::size_t i = 0; i < sequence.size();) {
    if (i + 1 < sequence.size()) {
      const auto found = chosen.find(sequence[i] << 16 | sequence[i + 1]);
      if (found != chosen.end()) {
        scratch.push_back(found->second);
        i += 2;
        continue;
      }
    }
    scratch.push_back(sequence[i++]);
  }
  sequence.swap(scratch);
}

void AppendText(std::uint32_t code, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& pairs,
                std::string& out) {
  if (code < kFirstPair) {
    out.push_back(static_cast<char>(code - 1));
    return;
  }
  const auto& [first, second] = pairs[code - kFirstPair];
  AppendText(first, pairs, out);
  AppendText(second, pairs, out);
}

class BitPacker {
 public:
  explicit BitPacker(std::uint16_t width) : width_(width) {}
  void Put(std::uint32_t code) {
    for (int bit = width_ - 1; bit >= 0; --bit) {
      if (used_ == 0) bytes_.push_back(0);
      if (code >> bit & 1) bytes_.back() |= static_cast<std::uint8_t>(0x80u >> used_);
      used_ = (used_ + 1) & 7;
    }
    ++count_;
  }
  std::uint32_t count() const { return count_; }
  Bytes Take() {
    if (bytes_.size() % 2) bytes_.push_back(0);  // whole 16-bit words
    return std::move(bytes_);
  }

 private:
  std::uint16_t width_;
  Bytes bytes_;
  std::uint32_t used_ = 0;
  std::uint32_t count_ = 0;
};

}  // namespace

CompressedText Compress(const std::vector<std::string>& entries, const CompressOptions& options) {
  if (options.maxCodes < kFirstPair || options.maxCodes > 65536)
    throw std::invalid_argument("code count must lie between 257 and 65536");
  if (options.rounds > kMaxRounds) throw std::invalid_argument("at most 16 pairing rounds");
  if (!options.groupSize || (options.groupSize & (options.groupSize - 1)))
    throw std::invalid_argument("group size must be a power of two");

  CompressedText result;
  result.entryCount = static_cast<std::uint32_t>(entries.size());
  std::vector<Sequence> sequences;
  sequences.reserve(entries.size());
  std::size_t positions = 0;
  for (const std::string& entry : entries) {
    if (entry.size() > 65535) throw std::invalid_argument("an entry holds more than 65535 bytes");
    Sequence sequence;
    sequence.reserve(entry.size());
    std::uint32_t line = 0;
    for (const char ch : entry) {
      const auto c = static_cast<std::uint8_t>(ch);
      if (c == 0 || c == 255) throw std::invalid_argument("entry text holds a byte 0 or 255");
      if (c == '\n') {
        result.longestLine = std::max(result.longestLine, line);
        line = 0;
      } else {
        ++line;
      }
      sequence.push_back(1u + (c == '\n' ? 255u : c));
    }
    result.longestLine = std::max(result.longestLine, line);
    result.longestEntry = std::max<std::uint32_t>(result.longestEntry, static_cast<std::uint32_t>(entry.size()));
    positions += sequence.size();
    sequences.push_back(std::move(sequence));
  }

  // Pairing rounds.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs;
  std::vector<std::uint32_t> expansion(kFirstPair, 1);  // characters per code
  const std::uint32_t budget = options.maxCodes - kFirstPair;
  const std::uint32_t perRound =
      options.rounds ? std::max<std::uint32_t>(1, (budget + options.rounds - 1) / options.rounds) : 0;
  Sequence scratch;
  for (std::uint32_t round = 0; round < options.rounds && pairs.size() < budget; ++round) {
    PairCounts counts(positions);
    for (const Sequence& s : sequences)
      for (std::size_t i = 0; i + 1 < s.size(); ++i) counts.Add(s[i] << 16 | s[i + 1]);
    const auto frequent = counts.Frequent();
    if (frequent.empty()) break;
    std::map<std::uint32_t, std::uint32_t> chosen;
    for (const auto& [count, key] : frequent) {
      if (chosen.size() >= perRound || pairs.size() >= budget) break;
      const std::uint32_t length = expansion[key >> 16] + expansion[key & 0xFFFF];
      if (length > kMaxExpansion) continue;
      chosen[key] = kFirstPair + static_cast<std::uint32_t>(pairs.size());
      pairs.emplace_back(key >> 16, key & 0xFFFF);
      expansion.push_back(length);
    }
    positions = 0;
    for (Sequence& s : sequences) {
      Rewrite(s, chosen, scratch);
      positions += s.size();
    }
  }

  // Short pairs become pool phrases; the others stay pairs. Renumber: the
  // terminals (end code, phrases), then the single characters, then the pairs.
  std::vector<std::string> texts(pairs.size());
  std::vector<bool> phrase(pairs.size(), false);
  std::map<std::string, std::uint32_t> poolOffsets;
  Bytes pool = {254, 254, 254, 254};
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    AppendText(static_cast<std::uint32_t>(kFirstPair + i), pairs, texts[i]);
    if (texts[i].size() > options.maxPhraseLength) continue;
    if (!poolOffsets.count(texts[i])) {
      if (pool.size() + texts[i].size() > kMaxPool) continue;
      poolOffsets[texts[i]] = static_cast<std::uint32_t>(pool.size());
      pool.insert(pool.end(), texts[i].begin(), texts[i].end());
    }
    phrase[i] = true;
  }
  std::vector<std::uint32_t> renumber(kFirstPair + pairs.size());
  renumber[kEndCode] = kEndCode;
  std::uint32_t next = kEndCode + 1;
  for (std::size_t i = 0; i < pairs.size(); ++i)
    if (phrase[i]) renumber[kFirstPair + i] = next++;
  result.terminalCount = next;
  const std::uint32_t firstCharacter = next;
  for (std::uint32_t c = 0; c < 256; ++c) renumber[1 + c] = next++;
  for (std::size_t i = 0; i < pairs.size(); ++i)
    if (!phrase[i]) renumber[kFirstPair + i] = next++;
  result.codeCount = next;
  result.endCode = kEndCode;

  std::vector<std::uint16_t> first(result.codeCount), second(result.codeCount);
  first[kEndCode] = 0;
  second[kEndCode] = 4;
  for (std::uint32_t c = 0; c < 256; ++c) {
    first[firstCharacter + c] = static_cast<std::uint16_t>(c);
    second[firstCharacter + c] = 0xFFFF;
  }
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const std::uint32_t code = renumber[kFirstPair + i];
    if (phrase[i]) {
      first[code] = static_cast<std::uint16_t>(poolOffsets[texts[i]]);
      second[code] = static_cast<std::uint16_t>(texts[i].size());
    } else {
      first[code] = static_cast<std::uint16_t>(renumber[pairs[i].first]);
      second[code] = static_cast<std::uint16_t>(renumber[pairs[i].second]);
    }
  }
  ByteWriter firstTable, secondTable;
  for (std::uint32_t c = 0; c < result.codeCount; ++c) {
    firstTable.U16be(first[c]);
    secondTable.U16be(second[c]);
  }
  result.first = firstTable.take();
  result.second = secondTable.take();
  result.pool = std::move(pool);

  result.codeWidth = 1;
  while ((1u << result.codeWidth) < result.codeCount) ++result.codeWidth;

  // The stream: an empty entry 0, then every entry closed by the end code.
  BitPacker packer(result.codeWidth);
  std::vector<std::uint32_t> endIndex;
  endIndex.reserve(sequences.size() + 1);
  endIndex.push_back(packer.count());
  packer.Put(kEndCode);
  for (const Sequence& s : sequences) {
    for (std::uint32_t code : s) packer.Put(renumber[code]);
    endIndex.push_back(packer.count());
    packer.Put(kEndCode);
  }
  result.stream = packer.Take();

  // Table 10: group g counts from the end code that closes entry g x size - 1.
  result.groupSize = options.groupSize;
  std::uint32_t shift = 0;
  while ((1u << shift) < options.groupSize) ++shift;
  result.groupCount = (result.entryCount >> shift) + 1;
  if (result.groupCount > 0xFFFF) throw std::invalid_argument("too many groups for table 10: raise the group size");
  ByteWriter groups;
  for (std::uint32_t g = 0; g < result.groupCount; ++g) groups.U32be(g == 0 ? 0 : endIndex[(g << shift) - 1]);
  result.groups = groups.take();
  return result;
}

}  // namespace builder::entry_text
