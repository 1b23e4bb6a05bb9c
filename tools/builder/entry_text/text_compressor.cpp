#include "entry_text/text_compressor.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "common/flat_map32.h"

namespace builder::entry_text {

namespace {

constexpr std::uint32_t kEndCode = 0;
constexpr std::uint32_t kFirstPair = 257;  // after the end code and the 256 single characters
constexpr std::uint32_t kMaxRounds = 16;
constexpr std::uint32_t kMaxPool = 65535;      // pool offsets are 16-bit
constexpr std::uint32_t kMaxExpansion = 4096;  // characters one code may stand for

using Sequence = std::vector<std::uint32_t>;

// Counts of code pairs (key: first << 16 | second) in a table of a fixed
// size: once it is three quarters full, pairs not seen before are left
// uncounted (they are rare). A slot holds key and count together (count 0:
// empty), so that counting a pair touches one cache line. The storage is
// kept from round to round.
class PairCounts {
 public:
  // Empties the table, sized for a round over `positions` codes.
  void Start(std::size_t positions) {
    std::size_t size = 1u << 16;
    while (size < 2 * positions && size < (1u << 23)) size <<= 1;
    if (storage_.size() < size) storage_.resize(size);
    std::fill(storage_.begin(), storage_.begin() + static_cast<std::ptrdiff_t>(size), 0);
    slots_ = storage_.data();
    mask_ = size - 1;
    used_ = 0;
  }
  // Makes the slot of a key that Add will soon see ready in the cache.
  void Prefetch(std::uint32_t key) const { __builtin_prefetch(&slots_[Hash(key) & mask_]); }
  void Add(std::uint32_t key) {
    for (std::size_t slot = Hash(key) & mask_;; slot = (slot + 1) & mask_) {
      const std::uint64_t value = slots_[slot];
      if (value == 0) {
        if (used_ * 4 >= (mask_ + 1) * 3) return;  // full enough: rare pairs are left uncounted
        slots_[slot] = std::uint64_t{key} << 32 | 1;
        ++used_;
        return;
      }
      if (value >> 32 == key) {
        ++slots_[slot];
        return;
      }
    }
  }
  // The pairs seen at least twice, most frequent first: the first `wanted`
  // in order, the others after them unordered (all in order when wanted is
  // not below their number).
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Frequent(std::size_t wanted) const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    for (std::size_t slot = 0; slot <= mask_; ++slot) {
      const std::uint64_t value = slots_[slot];
      if (static_cast<std::uint32_t>(value) >= 2) out.emplace_back(static_cast<std::uint32_t>(value), value >> 32);
    }
    const auto order = [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first > b.first : a.second < b.second;
    };
    if (wanted < out.size())
      std::partial_sort(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(wanted), out.end(), order);
    else
      std::sort(out.begin(), out.end(), order);
    return out;
  }

 private:
  static std::size_t Hash(std::uint32_t key) { return (key * 2654435761u) >> 7; }
  std::vector<std::uint64_t> storage_;
  std::uint64_t* slots_ = nullptr;
  std::size_t mask_ = 0;
  std::size_t used_ = 0;
};

// The pairs chosen in one round and their new codes, with a bit per first
// code so that most positions are passed at a glance.
class ChosenPairs {
 public:
  explicit ChosenPairs(std::size_t count) : firsts_(1u << 16, false), codes_(count) {}
  void Add(std::uint32_t key, std::uint32_t code) {
    firsts_[key >> 16] = true;
    *codes_.Slot(key) = code;
  }
  // The new code of the pair (first, second), or 0.
  std::uint32_t Find(std::uint32_t first, std::uint32_t second) const {
    if (!firsts_[first]) return 0;
    const std::uint32_t* code = codes_.Find(first << 16 | second);
    return code ? *code : 0;
  }

 private:
  std::vector<bool> firsts_;
  FlatMap32 codes_;
};

// Replaces the chosen pairs left to right, in place (the sequence only shrinks).
void Rewrite(Sequence& sequence, const ChosenPairs& chosen) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < sequence.size();) {
    if (i + 1 < sequence.size()) {
      if (const std::uint32_t code = chosen.Find(sequence[i], sequence[i + 1])) {
        sequence[out++] = code;
        i += 2;
        continue;
      }
    }
    sequence[out++] = sequence[i++];
  }
  sequence.resize(out);
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
  PairCounts counts;
  for (std::uint32_t round = 0; round < options.rounds && pairs.size() < budget; ++round) {
    counts.Start(positions);
    constexpr std::size_t kAhead = 16;  // pairs whose slots are fetched ahead
    for (const Sequence& s : sequences)
      for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        if (i + kAhead + 1 < s.size()) counts.Prefetch(s[i + kAhead] << 16 | s[i + kAhead + 1]);
        counts.Add(s[i] << 16 | s[i + 1]);
      }
    // The round takes perRound pairs, passing over those that expand too
    // far: the first pairs in order are all it looks at as a rule.
    std::size_t wanted = 2 * std::size_t{perRound};
    auto frequent = counts.Frequent(wanted);
    if (frequent.empty()) break;
    ChosenPairs chosen(perRound);
    std::uint32_t chosenCount = 0;
    for (std::size_t f = 0; f < frequent.size(); ++f) {
      if (f == wanted) {
        frequent = counts.Frequent(frequent.size());  // more than expected were passed over
        wanted = frequent.size();
      }
      const auto [count, key] = frequent[f];
      if (chosenCount >= perRound || pairs.size() >= budget) break;
      const std::uint32_t length = expansion[key >> 16] + expansion[key & 0xFFFF];
      if (length > kMaxExpansion) continue;
      chosen.Add(key, kFirstPair + static_cast<std::uint32_t>(pairs.size()));
      ++chosenCount;
      pairs.emplace_back(key >> 16, key & 0xFFFF);
      expansion.push_back(length);
    }
    positions = 0;
    for (Sequence& s : sequences) {
      Rewrite(s, chosen);
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
