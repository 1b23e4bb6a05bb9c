#include "content/title_index_file.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace builder {
namespace {

constexpr int CodeWidth = 9;
constexpr std::uint32_t CodeCount = 1u << CodeWidth;
constexpr std::uint32_t BlockBits = 512 * 8;
constexpr std::size_t MaxTitle = 254;
constexpr std::size_t MaxShared = 63;
constexpr std::size_t MaxPatchPairs = 5;
constexpr std::size_t MaxPhrase = 4;

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// How a title is stored: lower-case A-Z, the capital flag for a first capital,
// and up to 5 further capitals restored by a patch row. A title with more
// capitals keeps them in its stored text.
struct StoredTitle {
  std::string text;
  bool capital = false;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> patch;  // 1-based position, character
};

StoredTitle StoreTitle(const std::string& title) {
  StoredTitle stored;
  stored.text = title;
  std::vector<std::size_t> capitals;
  for (std::size_t i = 1; i < title.size(); ++i)
    if (title[i] >= 'A' && title[i] <= 'Z') capitals.push_back(i);
  if (title[0] >= 'A' && title[0] <= 'Z') {
    stored.capital = true;
    stored.text[0] = static_cast<char>(title[0] + 32);
  }
  if (capitals.size() <= MaxPatchPairs)
    for (std::size_t i : capitals) {
      stored.text[i] = static_cast<char>(title[i] + 32);
      stored.patch.emplace_back(static_cast<std::uint8_t>(i + 1), static_cast<std::uint8_t>(title[i]));
    }
  return stored;
}

// Phrases: codes 1-256 are the single bytes 0-255; codes 257-511 the most
// useful fragments of 2 to 4 bytes of the titles.
struct PhraseSet {
  Bytes pool;
  std::vector<std::uint16_t> offsets = std::vector<std::uint16_t>(CodeCount, 0);
  std::vector<std::uint8_t> lengths = std::vector<std::uint8_t>(CodeCount, 0);
  std::map<std::string, std::uint32_t> codes;  // fragment -> code
};

PhraseSet ChoosePhrases(const std::vector<StoredTitle>& titles) {
  PhraseSet set;
  for (std::uint32_t byte = 0; byte < 256; ++byte) {
    set.pool.push_back(static_cast<std::uint8_t>(byte));
    set.offsets[byte + 1] = static_cast<std::uint16_t>(byte);
    set.lengths[byte + 1] = 1;
    set.codes[std::string(1, static_cast<char>(byte))] = byte + 1;
  }
  std::map<std::string, std::size_t> counts;
  for (const StoredTitle& title : titles)
    for (std::size_t length = 2; length <= MaxPhrase; ++length)
      for (std::size_t at = 0; at + length <= title.text.size(); ++at) ++counts[title.text.substr(at, length)];
  std::vector<std::pair<std::size_t, std::string>> ranked;
  for (const auto& [fragment, count] : counts)
    if (count > 1) ranked.emplace_back(count * (fragment.size() - 1), fragment);
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::uint32_t code = 257;
  for (const auto& [saving, fragment] : ranked) {
    if (code >= CodeCount) break;
    set.offsets[code] = static_cast<std::uint16_t>(set.pool.size());
    set.lengths[code] = static_cast<std::uint8_t>(fragment.size());
    set.pool.insert(set.pool.end(), fragment.begin(), fragment.end());
    set.codes[fragment] = code++;
  }
  return set;
}

// Codes of the phrase set for some bytes: the longest fragment at each place.
std::vector<std::uint32_t> Encode(const PhraseSet& phrases, const Bytes& bytes) {
  std::vector<std::uint32_t> codes;
  for (std::size_t at = 0; at < bytes.size();) {
    for (std::size_t length = std::min(MaxPhrase, bytes.size() - at); length >= 1; --length) {
      const auto found = phrases.codes.find(std::string(bytes.begin() + at, bytes.begin() + at + length));
      if (found != phrases.codes.end()) {
        codes.push_back(found->second);
        at += length;
        break;
      }
    }
  }
  return codes;
}

// One front-coded record after `previous` (empty at a block's start).
Bytes Record(const std::string& previous, const StoredTitle& title, std::uint32_t delta) {
  const std::size_t shareable = std::min(previous.size(), MaxShared);
  std::size_t shared = 0;
  while (shared < shareable && shared < title.text.size() && previous[shared] == title.text[shared]) ++shared;
  ByteWriter out;
  out.U8(static_cast<std::uint32_t>(shareable - shared) | (title.capital ? 0x80u : 0u));
  out.Append(std::string_view(title.text).substr(shared));
  out.U8(0);  // end of the title
  out.U16be(0);
  out.U24be(delta);
  return out.take();
}

class BitPacker {
 public:
  void Put(std::uint32_t code) {
    for (int bit = CodeWidth - 1; bit >= 0; --bit) {
      if (used_ % 8 == 0) bytes_.push_back(0);
      if ((code >> bit) & 1) bytes_.back() |= static_cast<std::uint8_t>(0x80 >> (used_ % 8));
      ++used_;
    }
  }
  Bytes Block() {
    bytes_.resize(512, 0);
    return bytes_;
  }

 private:
  Bytes bytes_;
  std::uint32_t used_ = 0;
};

void CheckTitles(const std::vector<TitleEntry>& titles) {
  for (std::size_t i = 0; i < titles.size(); ++i) {
    const std::string& title = titles[i].title;
    if (title.empty() || title.size() > MaxTitle) throw std::runtime_error("title length out of range: " + title);
    for (unsigned char c : title)
      if (c < 8) throw std::runtime_error("title with a control byte: " + title);
    if (titles[i].entry >= (1u << 24)) throw std::runtime_error("entry number beyond 24 bits: " + title);
    if (i > 0) {
      if (TitleSortKey(titles[i - 1].title) > TitleSortKey(title))
        throw std::runtime_error("titles out of key order at " + title);
      if (titles[i - 1].entry >= titles[i].entry)
        throw std::runtime_error("entry numbers do not ascend with the titles at " + title);
    }
  }
}

}  // namespace

std::string TitleSortKey(const std::string& title) {
  std::size_t counted = title.size();
  if (counted > 0 && !IsDigit(static_cast<unsigned char>(title[0])) &&
      IsDigit(static_cast<unsigned char>(title[counted - 1])))
    --counted;
  std::string key;
  for (std::size_t i = 0; i < counted; ++i) {
    unsigned char c = static_cast<unsigned char>(title[i]);
    if (c == '&') {
      key += "and";
    } else if (IsDigit(c) || c >= 0x40) {
      key += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
  }
  return key;
}

std::vector<TitleEntry> NumberInTitleOrder(const std::vector<std::string>& titles, std::uint32_t first) {
  std::vector<std::string> sorted = titles;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const std::string& a, const std::string& b) { return TitleSortKey(a) < TitleSortKey(b); });
  std::vector<TitleEntry> numbered;
  for (const std::string& title : sorted) numbered.push_back({title, first++});
  return numbered;
}

TitleIndexFiles BuildTitleIndex(const std::vector<TitleEntry>& titles) {
  CheckTitles(titles);
  std::vector<StoredTitle> stored;
  for (const TitleEntry& entry : titles) stored.push_back(StoreTitle(entry.title));
  const PhraseSet phrases = ChoosePhrases(stored);

  ByteWriter keys;
  ByteWriter firstEntries;
  ByteWriter patches;
  std::uint32_t patchRows = 0;
  Bytes dsk;
  BitPacker block;
  std::uint32_t blockBits = 0;
  std::uint32_t blockCount = 0;
  std::string previous;
  std::uint32_t running = 0;

  auto startBlock = [&](std::size_t i) {
    if (blockCount > 0) {
      const Bytes full = block.Block();
      dsk.insert(dsk.end(), full.begin(), full.end());
    }
    block = BitPacker();
    blockBits = 0;
    previous.clear();
    running = 0;
    ++blockCount;
    std::string key = TitleSortKey(titles[i].title).substr(0, 4);
    key.resize(4, ' ');
    keys.Append(key);
    firstEntries.U24be(titles[i].entry);
  };

  for (std::size_t i = 0; i < titles.size(); ++i) {
    if (i == 0) startBlock(0);
    std::vector<std::uint32_t> codes = Encode(phrases, Record(previous, stored[i], titles[i].entry - running));
    // Every block keeps room for its closing code 0.
    if (blockBits + (codes.size() + 1) * CodeWidth > BlockBits) {
      block.Put(0);
      startBlock(i);
      codes = Encode(phrases, Record(previous, stored[i], titles[i].entry));
    }
    for (std::uint32_t code : codes) block.Put(code);
    blockBits += static_cast<std::uint32_t>(codes.size()) * CodeWidth;
    previous = stored[i].text;
    running = titles[i].entry;

    if (!stored[i].patch.empty()) {
      patches.U24be(titles[i].entry);
      for (std::size_t pair = 0; pair < MaxPatchPairs; ++pair) {
        const bool used = pair < stored[i].patch.size();
        patches.U8(used ? stored[i].patch[pair].first : 0);
        patches.U8(used ? stored[i].patch[pair].second : 0);
      }
      patches.U8(static_cast<std::uint32_t>(stored[i].patch.size()));
      ++patchRows;
    }
  }
  if (blockCount > 0) {
    block.Put(0);
    const Bytes full = block.Block();
    dsk.insert(dsk.end(), full.begin(), full.end());
  }
  if (blockCount > 0xFFFF || patchRows > 0xFFFF || phrases.pool.size() > 0xFFFF)
    throw std::runtime_error("title index too large");

  ByteWriter ram;
  ram.U16le(blockCount);
  ram.U16le(patchRows);
  ram.U16le(static_cast<std::uint32_t>(phrases.pool.size()));
  ram.U16le(CodeWidth);
  ram.Append(phrases.pool);
  for (std::uint16_t offset : phrases.offsets) ram.U16le(offset);
  for (std::uint8_t length : phrases.lengths) ram.U8(length);
  ram.Append(keys.bytes());
  ram.Append(firstEntries.bytes());
  ram.Append(patches.bytes());
  return {ram.take(), dsk};
}

}  // namespace builder
