#include "content/media_phrases.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace builder {
namespace {

constexpr std::uint32_t PoolSize = 1311;
constexpr std::uint32_t Codes = 512;
constexpr std::uint32_t OffsetsAt = 1311;
constexpr std::uint32_t LengthsAt = 2335;

// Pool layout: 160 zeros at 0; 64 pairs 01 FF at 160; the 256 byte values at
// 288 (0xD3 first, 0x93 last, the others ascending between); text fragments
// from 544 on.
constexpr std::uint32_t ZerosAt = 0;
constexpr std::uint32_t PairsAt = 160;
constexpr std::uint32_t SinglesAt = 288;
constexpr std::uint32_t TextAt = 544;

const char* const kFragments[] = {
    " the ", " and ", " of the ", "tion",  "ing ",    " in ",   " is ",    " was ", " to ", " a ",   "The ",
    ", ",    ". ",    "ed ",      "er",    "es",      "re",     "on",      "an",    "th",   "in",    "en",
    "at",    "or",    "al",       "st",    "ar",      "nd",     "te",      "it",    "is",   "ou",    "le",
    "ic",    "ro",    "ent",      "ion",   "ter",     "ers",    "and",     "for",   "his",  "her",   "was",
    "rom",   "ati",   "com",      "con",   "pro",     "per",    "ity",     "ive",   "ted",  "one",   "ous",
    "ment",  "ance",  "ence",     "able",  "ally",    "ical",   "from",    "with",  "that", "which", "were",
    "their", "known", "world",    "first", "century", "during", "between", "became"};

Bytes Author() {
  Bytes resource(MediaPhraseResourceSize, 0);
  std::vector<std::uint16_t> offsets(Codes, 0), lengths(Codes, 0);
  auto setCode = [&](std::uint32_t code, std::uint32_t offset, std::uint32_t length) {
    if (offset + length > PoolSize) throw std::logic_error("phrase outside the pool");
    offsets[code] = static_cast<std::uint16_t>(offset);
    lengths[code] = static_cast<std::uint16_t>(length);
  };
  for (std::uint32_t i = 0; i < 64; ++i) {
    resource[PairsAt + 2 * i] = 0x01;
    resource[PairsAt + 2 * i + 1] = 0xFF;
  }
  std::vector<std::uint8_t> singles = {0xD3};
  for (std::uint32_t byte = 0; byte < 256; ++byte)
    if (byte != 0xD3 && byte != 0x93) singles.push_back(static_cast<std::uint8_t>(byte));
  singles.push_back(0x93);
  std::copy(singles.begin(), singles.end(), resource.begin() + SinglesAt);

  setCode(0, 0, 0);          // produces nothing
  setCode(1, ZerosAt, 160);  // 160 zero bytes
  setCode(2, ZerosAt, 80);   // 80 zero bytes
  setCode(3, PairsAt, 128);  // 64 x 01 FF
  std::uint32_t code = 4;
  for (std::uint32_t length = 2; length <= 61; ++length) setCode(code++, ZerosAt, length);  // codes 4-63
  for (std::uint32_t pairs = 1; pairs <= 32; ++pairs) setCode(code++, PairsAt, 2 * pairs);  // codes 64-95
  std::uint32_t text = TextAt;
  for (const char* fragment : kFragments) {
    const std::uint32_t length = static_cast<std::uint32_t>(std::strlen(fragment));
    std::memcpy(resource.data() + text, fragment, length);
    setCode(code++, text, length);
    text += length;
  }
  // The rest up to 255: longer zero runs.
  for (std::uint32_t length = 62; code < 256; ++length) setCode(code++, ZerosAt, length);
  for (std::uint32_t i = 0; i < 256; ++i) setCode(256 + i, SinglesAt + i, 1);

  for (std::uint32_t c = 0; c < Codes; ++c) {
    resource[OffsetsAt + 2 * c] = static_cast<std::uint8_t>(offsets[c]);
    resource[OffsetsAt + 2 * c + 1] = static_cast<std::uint8_t>(offsets[c] >> 8);
    resource[LengthsAt + 2 * c] = static_cast<std::uint8_t>(lengths[c]);
    resource[LengthsAt + 2 * c + 1] = static_cast<std::uint8_t>(lengths[c] >> 8);
  }
  return resource;
}

struct Phrase {
  std::uint32_t code;
  const std::uint8_t* bytes;
  std::uint32_t length;
};

// Phrases longest first, so the first match at a place is the longest.
const std::vector<Phrase>& PhrasesLongestFirst() {
  static const std::vector<Phrase> phrases = [] {
    const Bytes& resource = MediaPhraseResource();
    std::vector<Phrase> list;
    for (std::uint32_t c = 1; c < Codes; ++c) {
      const std::uint32_t offset = resource[OffsetsAt + 2 * c] | resource[OffsetsAt + 2 * c + 1] << 8;
      const std::uint32_t length = resource[LengthsAt + 2 * c] | resource[LengthsAt + 2 * c + 1] << 8;
      if (length > 0) list.push_back({c, resource.data() + offset, length});
    }
    std::stable_sort(list.begin(), list.end(), [](const Phrase& a, const Phrase& b) { return a.length > b.length; });
    return list;
  }();
  return phrases;
}

}  // namespace

const Bytes& MediaPhraseResource() {
  static const Bytes resource = Author();
  return resource;
}

void MediaCodeStream::Put(std::uint32_t code) {
  for (int bit = 8; bit >= 0; --bit) {
    const std::uint64_t at = static_cast<std::uint64_t>(codes_) * 9 + (8 - bit);
    if (at % 8 == 0) bytes_.push_back(0);
    if ((code >> bit) & 1) bytes_.back() |= static_cast<std::uint8_t>(0x80 >> (at % 8));
  }
  ++codes_;
}

std::uint32_t MediaCodeStream::Append(const Bytes& record) {
  const std::uint32_t first = codes_;
  for (std::size_t at = 0; at < record.size();) {
    for (const Phrase& phrase : PhrasesLongestFirst()) {
      if (phrase.length > record.size() - at) continue;
      if (std::memcmp(record.data() + at, phrase.bytes, phrase.length) != 0) continue;
      Put(phrase.code);
      at += phrase.length;
      break;
    }
  }
  return first;
}

}  // namespace builder
