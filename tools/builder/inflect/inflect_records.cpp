#include "inflect/inflect_records.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace builder::inflect {

namespace {

constexpr std::uint32_t MaxWord = 80;

// The bytes of one entry, its word coded against the previous entry word of the record.
Bytes EntryBytes(const Entry& e, const std::string& previous) {
  if (e.word.size() > MaxWord) throw std::invalid_argument("entry word too long: " + e.word);
  std::size_t common = 0;
  while (common < previous.size() && common < e.word.size() && previous[common] == e.word[common]) ++common;
  const std::size_t drop = previous.size() - common;
  if (drop > 63) throw std::invalid_argument("entry word drops too many letters: " + e.word);
  if (e.kind >= 5) throw std::invalid_argument("entry kind must be below 5");
  Bytes out;
  out.push_back(static_cast<std::uint8_t>((e.capitalised ? 0x80 : 0) | drop));
  for (std::size_t i = common; i < e.word.size(); ++i) {
    const auto letter = static_cast<std::uint8_t>(e.word[i]);
    if (letter < 5) throw std::invalid_argument("entry letters must be 5 or more");
    out.push_back(letter);
  }
  out.push_back(e.kind);
  if (e.kind == 1) {
    out.push_back(e.bytes[0]);
    out.push_back(e.bytes[1]);
    return out;
  }
  out.push_back(static_cast<std::uint8_t>(e.rule >> 8));
  out.push_back(static_cast<std::uint8_t>(e.rule & 0xFF));
  for (char c : e.suffix) {
    if (static_cast<std::uint8_t>(c) < 17) throw std::invalid_argument("suffix letters must be 17 or more");
    out.push_back(static_cast<std::uint8_t>(c));
  }
  if (e.cut >= 17) throw std::invalid_argument("a cut must be below 17");
  out.push_back(e.cut);
  return out;
}

std::uint32_t BitsFor(std::uint32_t value) {
  std::uint32_t bits = 1;
  while ((1u << bits) <= value) ++bits;
  return bits;
}

// Splits the entries into records of `perRecord` codes, one phrase per
// distinct entry coding; returns the phrases and each record's codes.
void Split(const std::vector<Entry>& entries, std::uint32_t perRecord, std::vector<Bytes>* phrases,
           std::vector<std::vector<std::uint32_t>>* records) {
  std::map<std::string, std::uint32_t> index;  // phrase bytes as a string key
  phrases->assign(1, Bytes{});                 // phrase 0: code 0 ends a record
  records->clear();
  std::string previous;
  for (const Entry& e : entries) {
    if (records->empty() || records->back().size() == perRecord) {
      records->emplace_back();
      previous.clear();  // each record starts afresh
    }
    Bytes coded = EntryBytes(e, previous);
    if (coded.size() > 255) throw std::invalid_argument("entry too long for one phrase");
    const std::string key(coded.begin(), coded.end());
    auto found = index.find(key);
    if (found == index.end()) {
      found = index.emplace(key, static_cast<std::uint32_t>(phrases->size())).first;
      phrases->push_back(coded);
    }
    records->back().push_back(found->second);
    previous = e.word;
  }
}

}  // namespace

WordHash HashWord(const std::string& bytes, bool lowerAscii) {
  auto letter = [&](char c) -> std::uint16_t {
    auto b = static_cast<std::uint8_t>(c);
    if (lowerAscii && b >= 'A' && b <= 'Z') b = static_cast<std::uint8_t>(b + 32);
    return b;
  };
  std::uint32_t h = letter(bytes.at(0));
  std::uint32_t x = h;
  for (std::size_t i = 1; i < bytes.size(); ++i) {
    h = (h * 256 + letter(bytes[i])) % 32749;
    x ^= h;
  }
  return {static_cast<std::uint16_t>(h), static_cast<std::uint16_t>(x)};
}

std::string LowerKeyText(std::string text, KeyCase keyCase) {
  for (char& letter : text) {
    const auto c = static_cast<std::uint8_t>(letter);
    if ((c >= 'A' && c <= 'Z') || (keyCase == KeyCase::DataCode && (c == 159 || (c >= 192 && c <= 222))))
      letter = static_cast<char>(c + 32);
  }
  return text;
}

std::string Reversed(const std::string& text) { return std::string(text.rbegin(), text.rend()); }

Records EncodeRecords(const std::vector<Entry>& entries, std::uint32_t recordLength, KeyCase keyCase) {
  if (recordLength < 2) throw std::invalid_argument("records must hold at least two bytes");
  Records out;
  std::vector<Bytes> phrases;
  std::vector<std::vector<std::uint32_t>> records;
  // The narrowest code width whose records still name every phrase.
  std::uint32_t width = 1;
  for (;; ++width) {
    if (width > 16) throw std::invalid_argument("too many phrases for 16-bit codes");
    Split(entries, recordLength * 8 / width, &phrases, &records);
    if (BitsFor(static_cast<std::uint32_t>(phrases.size() - 1)) <= width) break;
  }
  out.codeWidth = width;
  out.phraseCount = static_cast<std::uint32_t>(phrases.size());
  for (const Bytes& phrase : phrases) {
    if (out.pool.size() > 0xFFFF) throw std::invalid_argument("phrase pool above 64 KiB");
    out.offsets.push_back(static_cast<std::uint8_t>(out.pool.size() & 0xFF));
    out.offsets.push_back(static_cast<std::uint8_t>(out.pool.size() >> 8));
    out.lengths.push_back(static_cast<std::uint8_t>(phrase.size()));
    out.pool.insert(out.pool.end(), phrase.begin(), phrase.end());
  }

  std::size_t next = 0;
  std::string previousKey;
  for (const auto& codes : records) {
    Bytes record(recordLength, 0);
    std::uint32_t bit = 0;
    for (std::uint32_t code : codes)
      for (std::uint32_t i = 0; i < width; ++i, ++bit)
        if ((code >> (width - 1 - i)) & 1u) record[bit >> 3] |= static_cast<std::uint8_t>(0x80 >> (bit & 7));
    out.dsk.insert(out.dsk.end(), record.begin(), record.end());

    std::string key = LowerKeyText(entries[next].word.substr(0, 4), keyCase);
    key.resize(4, ' ');
    if (key < previousKey) throw std::invalid_argument("record keys would not ascend at " + entries[next].word);
    previousKey = key;
    out.keys.insert(out.keys.end(), key.begin(), key.end());
    next += codes.size();
  }
  out.recordCount = static_cast<std::uint32_t>(records.size());
  return out;
}

}  // namespace builder::inflect
