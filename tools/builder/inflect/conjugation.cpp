#include "inflect/conjugation.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "inflect/inflect_records.h"

namespace builder::inflect {

namespace {

constexpr std::uint32_t HeaderSize = 512;
constexpr std::uint8_t ClassBytesKind = 1;
constexpr std::uint8_t DictionaryKind = 2;

std::uint32_t PowerOfTwo(std::size_t atLeast, std::uint32_t minimum) {
  std::uint32_t n = minimum;
  while (n < atLeast) n *= 2;
  return n;
}

std::uint16_t U16(std::size_t value, const char* what) {
  if (value > 0xFFFF) throw std::invalid_argument(std::string(what) + " above 65535");
  return static_cast<std::uint16_t>(value);
}

// NUL-terminated strings, each stored once.
class StringPool {
 public:
  std::uint16_t Offset(const std::string& text) {
    const auto found = offsets_.find(text);
    if (found != offsets_.end()) return found->second;
    const std::uint16_t offset = U16(bytes_.size(), "ending pool");
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
    offsets_.emplace(text, offset);
    return offset;
  }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
  std::map<std::string, std::uint16_t> offsets_;
};

// Table F: 4-byte entries by the word's hash; table G: the rewrites.
void BuildHashedLookup(const std::vector<HashedWord>& words, Bytes* indexOut, Bytes* rewritesOut) {
  const std::uint32_t count = PowerOfTwo(words.size() * 2, 4);
  Bytes index(count * 4, 0);
  Bytes rewrites;
  for (const HashedWord& word : words) {
    if (word.word.empty() || word.rewrites.empty()) throw std::invalid_argument("a hashed word needs rewrites");
    const std::uint32_t start = static_cast<std::uint32_t>(rewrites.size()) + 1;  // stored one above
    if (start > 2047) throw std::invalid_argument("table G too large");
    for (std::size_t i = 0; i < word.rewrites.size(); ++i) {
      rewrites.push_back(word.rewrites[i].cut);
      for (char c : word.rewrites[i].append) {
        if (static_cast<std::uint8_t>(c) < 2) throw std::invalid_argument("rewrite letters must be 2 or more");
        rewrites.push_back(static_cast<std::uint8_t>(c));
      }
      rewrites.push_back(i + 1 < word.rewrites.size() ? 1 : 0);
    }
    const WordHash hash = HashWord(word.word, false);
    const auto first = static_cast<std::uint8_t>(word.word[0]);
    const std::uint8_t entry[4] = {
        static_cast<std::uint8_t>(start >> 3),
        static_cast<std::uint8_t>(((start & 7) << 5) | ((first >> 1) & 31)),
        static_cast<std::uint8_t>(((first & 1) << 7) | ((hash.h >> 8) & 127)),
        static_cast<std::uint8_t>(hash.h & 0xFF),
    };
    const std::uint32_t spread = hash.h & 31;
    std::uint32_t slot = (hash.x & 32767u) & (count - 1);
    std::int32_t step = 3 - static_cast<std::int32_t>(spread);
    bool placed = false;
    for (int probe = 0; probe < 51 && !placed; ++probe) {
      std::uint8_t* at = &index[slot * 4];
      if ((at[0] | at[1] | at[2] | at[3]) == 0) {
        std::copy(entry, entry + 4, at);
        placed = true;
      } else {
        step += 2 * static_cast<std::int32_t>(spread);
        slot = (slot + static_cast<std::uint32_t>(step)) & (count - 1);
      }
    }
    if (!placed) throw std::invalid_argument("no slot in table F for " + word.word);
  }
  *indexOut = index;
  *rewritesOut = rewrites;
}

}  // namespace

void AddToWordHash(Bytes& table, const std::string& text) {
  const std::uint32_t entries = static_cast<std::uint32_t>(table.size() / 4);
  const WordHash hash = HashWord(text, false);
  const std::uint32_t last = entries - 1;
  const std::uint32_t spread = hash.h & 7;
  std::uint32_t slot = (hash.x & 32767u) & last;
  std::int32_t step = 3 - static_cast<std::int32_t>(spread);
  for (int probe = 0; probe < 9; ++probe) {
    const std::uint32_t held = (static_cast<std::uint32_t>(table[slot * 4]) << 24) | (table[slot * 4 + 1] << 16) |
                               (table[slot * 4 + 2] << 8) | table[slot * 4 + 3];
    if ((held & 0x7FFF) == hash.h && held != 0) return;
    if (held == 0) {
      // Bit 15 keeps an entry whose hash is 0 from reading as empty.
      const std::uint32_t value = 0x8000u | hash.h;
      table[slot * 4 + 2] = static_cast<std::uint8_t>(value >> 8);
      table[slot * 4 + 3] = static_cast<std::uint8_t>(value & 0xFF);
      return;
    }
    step += 2 * static_cast<std::int32_t>(spread);
    slot += static_cast<std::uint32_t>(step);
    if (slot > last) slot -= entries;
  }
  throw std::invalid_argument("no slot in the word hash for " + text);
}

ConjugationFiles BuildConjugationFiles(const ConjugationData& data) {
  // Table C: the given tags, then any tag the paradigms use.
  std::vector<std::string> tags = data.tags;
  auto tagIndex = [&](const std::string& tag) {
    auto found = std::find(tags.begin(), tags.end(), tag);
    if (found != tags.end()) return static_cast<std::uint16_t>(found - tags.begin());
    if (tag.size() > 11) throw std::invalid_argument("tag longer than 11: " + tag);
    tags.push_back(tag);
    return static_cast<std::uint16_t>(tags.size() - 1);
  };

  // One rule per slot; a paradigm's rule list in table E, delta-coded.
  struct EndingRecord {
    std::string reversed;
    std::string replacement;
    std::uint16_t rule;
  };
  std::vector<EndingRecord> endings;
  ByteWriter firstValues;
  ByteWriter secondValues;
  ByteWriter classIndex;
  ByteWriter classRules;
  std::map<std::string, std::uint16_t> classOf;
  std::uint32_t rule = 0;
  for (const Paradigm& p : data.paradigms) {
    classOf[p.name] = U16(classOf.size(), "classes");
    classIndex.U16be(U16(classRules.size(), "table E"));
    const std::uint16_t base = tagIndex(p.baseTag);
    std::uint32_t previous = 0;
    for (const Slot& slot : p.slots) {
      const std::uint16_t form = tagIndex(slot.formTag);
      firstValues.U16be(form);
      secondValues.U16be(base);
      if (form != base) endings.push_back({Reversed(slot.ending), slot.replacement, U16(rule, "rules")});
      const std::uint32_t delta = rule - previous;
      if (delta < 128) {
        classRules.U8(delta);
      } else {
        if (delta > 0x7FFF) throw std::invalid_argument("rule delta too large");
        classRules.U8(0x80 | (delta >> 8));
        classRules.U8(delta & 0xFF);
      }
      previous = rule++;
    }
  }
  std::stable_sort(endings.begin(), endings.end(),
                   [](const EndingRecord& a, const EndingRecord& b) { return a.reversed < b.reversed; });
  StringPool pool;
  ByteWriter tableB;
  for (const EndingRecord& e : endings) {
    tableB.U16be(e.rule);
    tableB.U16be(pool.Offset(e.reversed));
    tableB.U16be(pool.Offset(e.replacement));
  }
  ByteWriter tableC;
  for (const std::string& tag : tags) {
    tableC.Append(tag);
    tableC.Append(std::string(11 - tag.size(), ' '));
  }

  // Dictionary entries by word: each headword's class bytes, then its class.
  std::vector<Headword> headwords = data.headwords;
  std::stable_sort(headwords.begin(), headwords.end(), [](const Headword& a, const Headword& b) {
    return LowerKeyText(a.word, KeyCase::DataCode) < LowerKeyText(b.word, KeyCase::DataCode);
  });
  std::vector<Entry> entries;
  for (const Headword& h : headwords) {
    const auto found = classOf.find(h.paradigm);
    if (found == classOf.end()) throw std::invalid_argument("unknown paradigm: " + h.paradigm);
    Entry bytes;
    bytes.word = h.word;
    bytes.kind = ClassBytesKind;
    bytes.bytes[0] = h.cellFlags;
    bytes.bytes[1] = h.variantFlags;
    entries.push_back(bytes);
    Entry entry;
    entry.word = h.word;
    entry.kind = DictionaryKind;
    entry.rule = found->second;
    entries.push_back(entry);
  }
  Records records;
  if (!entries.empty()) records = EncodeRecords(entries, data.recordLength, KeyCase::DataCode);

  Bytes wordHash;
  if (!data.wordHash.empty()) {
    wordHash.assign(PowerOfTwo(data.wordHash.size() * 2, 128) * 4, 0);
    for (const std::string& text : data.wordHash) AddToWordHash(wordHash, text);
  }
  Bytes hashIndex;
  Bytes rewrites;
  if (!data.hashed.empty()) BuildHashedLookup(data.hashed, &hashIndex, &rewrites);
  if (data.tableA.size() % 6 != 0) throw std::invalid_argument("table A holds 6-byte records");

  std::uint8_t flags = data.flags;
  if (!data.tableA.empty()) flags |= 0x80;
  if (!endings.empty()) flags |= 0x20;

  ByteWriter ram;
  ram.U16be(U16(tags.size(), "tags"));
  ram.U16be(U16(data.paradigms.size(), "classes"));
  ram.U16be(U16(data.tableA.size() / 6, "table A"));
  ram.U16be(U16(endings.size(), "endings"));
  ram.U16be(U16(rule, "rules"));
  ram.Zeros(4);
  ram.U8(flags);
  ram.U16be(U16(data.recordLength, "record length"));
  ram.U8(records.codeWidth);
  ram.U16be(U16(records.phraseCount, "phrases"));
  ram.U16be(data.header20);
  ram.U16be(U16(records.pool.size(), "phrase pool"));
  ram.U16be(U16(records.recordCount, "records"));
  ram.Zeros(2);
  ram.U16be(U16(pool.bytes().size(), "ending pool"));
  ram.U16be(U16(classRules.size(), "table E"));
  ram.U16be(U16(hashIndex.size() / 4, "table F"));
  ram.U16be(U16(rewrites.size(), "table G"));
  ram.U8(data.tableIndex);
  ram.Zeros(1);
  ram.U16be(U16(wordHash.size(), "word hash"));
  ram.PadTo(HeaderSize);
  ram.Append(data.tableA);
  ram.Append(tableB.bytes());
  ram.Append(pool.bytes());
  ram.Append(tableC.bytes());
  ram.Append(classIndex.bytes());
  ram.Append(classRules.bytes());
  ram.Append(firstValues.bytes());
  ram.Append(secondValues.bytes());
  if (records.recordCount != 0) {
    ram.Append(records.pool);
    ram.Append(records.offsets);
    ram.Append(records.lengths);
    ram.Append(records.keys);
  }
  ram.Append(hashIndex);
  ram.Append(rewrites);
  ram.Append(wordHash);
  return {ram.take(), records.dsk};
}

void WriteConjugationFiles(const std::string& directory, const std::string& ramName, const std::string& dskName,
                           const ConjugationData& data) {
  const ConjugationFiles files = BuildConjugationFiles(data);
  WriteFileAtomically(JoinPath(directory, ramName), files.ram);
  WriteFileAtomically(JoinPath(directory, dskName), files.dsk);
}

}  // namespace builder::inflect
