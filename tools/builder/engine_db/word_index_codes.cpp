#include "engine_db/word_index_codes.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace builder {

namespace {

constexpr std::size_t kSampleBytes = 2 << 20;  // learn from at most about 2 MiB of records
constexpr std::size_t kMergesPerRound = 128;
constexpr std::uint32_t kLiteralPhraseMax = 3;  // longer merged phrases become pairs

std::uint32_t PairKey(std::uint32_t a, std::uint32_t b) { return a << 16 | b; }

}  // namespace

std::size_t PhraseCodes::SampleStride(std::size_t total) { return total > kSampleBytes ? total / kSampleBytes + 1 : 1; }

namespace {

std::vector<Bytes> EverySampleStride(const std::vector<Bytes>& samples) {
  std::size_t total = 0;
  for (const Bytes& s : samples) total += s.size();
  const std::size_t stride = PhraseCodes::SampleStride(total);
  std::vector<Bytes> taken;
  for (std::size_t i = 0; i < samples.size(); i += stride) taken.push_back(samples[i]);
  return taken;
}

}  // namespace

PhraseCodes::PhraseCodes(const std::vector<Bytes>& samples, unsigned codeWidth)
    : PhraseCodes(Sampled{}, EverySampleStride(samples), codeWidth) {}

PhraseCodes::PhraseCodes(Sampled, const std::vector<Bytes>& taken, unsigned codeWidth) : codeWidth_(codeWidth) {
  if (codeWidth < 9 || codeWidth > 12) throw std::runtime_error("word index: code width must be 9 to 12");
  const std::size_t maxCodes = (std::size_t{1} << codeWidth) - 1;  // codes 1 .. maxCodes
  const std::size_t maxMerges = maxCodes - 256;

  // Token ids: 0-255 the bytes, 256 + r the merge of rank r.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> halves;
  std::vector<std::string> text(256);
  for (unsigned b = 0; b < 256; ++b) text[b] = std::string(1, static_cast<char>(b));

  std::vector<std::vector<std::uint32_t>> sequences;
  for (const Bytes& record : taken) sequences.emplace_back(record.begin(), record.end());

  while (halves.size() < maxMerges) {
    FlatMap32 counts(1u << 16);
    for (const auto& s : sequences)
      for (std::size_t i = 0; i + 1 < s.size(); ++i) ++*counts.Slot(PairKey(s[i], s[i + 1]));
    std::vector<std::pair<std::uint32_t, std::uint32_t>> best;  // (count, pair)
    counts.ForEach([&](std::uint32_t pair, std::uint32_t count) {
      if (count >= 3) best.emplace_back(count, pair);
    });
    if (best.empty()) break;
    const std::size_t take = std::min({kMergesPerRound, best.size(), maxMerges - halves.size()});
    std::partial_sort(
        best.begin(), best.begin() + static_cast<std::ptrdiff_t>(take), best.end(),
        [](const auto& x, const auto& y) { return x.first != y.first ? x.first > y.first : x.second < y.second; });
    FlatMap32 chosen(take);  // pair -> new token id
    for (std::size_t k = 0; k < take; ++k) {
      const std::uint32_t pair = best[k].second;
      const std::uint32_t id = static_cast<std::uint32_t>(256 + halves.size());
      halves.emplace_back(pair >> 16, pair & 0xFFFF);
      text.push_back(text[pair >> 16] + text[pair & 0xFFFF]);
      *rank_.Slot(pair) = static_cast<std::uint32_t>(halves.size() - 1);
      merged_.push_back(id);
      *chosen.Slot(pair) = id;
    }
    for (auto& s : sequences) {
      std::size_t out = 0;
      for (std::size_t i = 0; i < s.size(); ++i) {
        if (i + 1 < s.size()) {
          if (const std::uint32_t* id = chosen.Find(PairKey(s[i], s[i + 1]))) {
            s[out++] = *id;
            ++i;
            continue;
          }
        }
        s[out++] = s[i];
      }
      s.resize(out);
    }
  }

  // Codes: the bytes first (byte b = code b + 1), then the literal phrases,
  // then the pairs.
  const std::size_t tokens = 256 + halves.size();
  codeOf_.assign(tokens, 0);
  entries_.push_back({0, 0});  // code 0 ends a block
  for (unsigned b = 0; b < 256; ++b) {
    pool_.push_back(static_cast<std::uint8_t>(b));
    codeOf_[b] = static_cast<std::uint16_t>(entries_.size());
    entries_.push_back({static_cast<std::uint16_t>(b), 1});
  }
  auto poolView = [&] { return std::string_view(reinterpret_cast<const char*>(pool_.data()), pool_.size()); };
  for (std::size_t id = 256; id < tokens; ++id) {
    if (text[id].size() > kLiteralPhraseMax) continue;
    std::size_t at = poolView().find(text[id]);
    if (at == std::string_view::npos) {
      at = pool_.size();
      pool_.insert(pool_.end(), text[id].begin(), text[id].end());
    }
    if (at > 0x7FFF) throw std::runtime_error("word index: phrase pool too large");
    codeOf_[id] = static_cast<std::uint16_t>(entries_.size());
    entries_.push_back({static_cast<std::uint16_t>(at), static_cast<std::uint8_t>(text[id].size())});
  }
  literalLimit_ = static_cast<std::uint16_t>(entries_.size() - 1);
  // Pairs refer to their halves by code; every half is numbered before it is
  // needed because merges only combine earlier tokens.
  for (std::size_t id = 256; id < tokens; ++id) {
    if (text[id].size() <= kLiteralPhraseMax) continue;
    codeOf_[id] = static_cast<std::uint16_t>(entries_.size());
    entries_.push_back({0, 0});
  }
  for (std::size_t id = 256; id < tokens; ++id) {
    if (text[id].size() <= kLiteralPhraseMax) continue;
    const std::uint32_t first = codeOf_[halves[id - 256].first];
    const std::uint32_t second = codeOf_[halves[id - 256].second];
    if (first > 0xFFF || second > 0xFFF) throw std::runtime_error("word index: pair half beyond 12 bits");
    entries_[codeOf_[id]] = {static_cast<std::uint16_t>(first << 4 | second >> 8),
                             static_cast<std::uint8_t>(second & 0xFF)};
  }
}

std::vector<std::uint16_t> PhraseCodes::Encode(const Bytes& record) const {
  std::vector<std::uint32_t> tokens(record.begin(), record.end());
  for (;;) {
    std::uint32_t bestRank = UINT32_MAX;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
      const std::uint32_t* rank = rank_.Find(PairKey(tokens[i], tokens[i + 1]));
      if (rank && *rank < bestRank) bestRank = *rank;
    }
    if (bestRank == UINT32_MAX) break;
    const std::uint32_t id = merged_[bestRank];
    std::size_t out = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
      if (i + 1 < tokens.size()) {
        const std::uint32_t* rank = rank_.Find(PairKey(tokens[i], tokens[i + 1]));
        if (rank && *rank == bestRank) {
          tokens[out++] = id;
          ++i;
          continue;
        }
      }
      tokens[out++] = tokens[i];
    }
    tokens.resize(out);
  }
  std::vector<std::uint16_t> codes;
  codes.reserve(tokens.size());
  for (std::uint32_t t : tokens) codes.push_back(codeOf_[t]);
  return codes;
}

Bytes PhraseCodes::OffsetTable() const {
  ByteWriter w;
  for (const Entry& e : entries_) w.U16be(e.offsetOrPair);
  return w.take();
}

Bytes PhraseCodes::LengthTable() const {
  Bytes out;
  for (const Entry& e : entries_) out.push_back(e.lengthOrLow);
  return out;
}

}  // namespace builder
