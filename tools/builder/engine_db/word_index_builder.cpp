#include "engine_db/word_index_builder.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace builder {

namespace {

bool IsUpper(std::uint8_t c) { return (c >= 65 && c <= 90) || c == 159 || (c >= 192 && c <= 222); }

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("word index: " + what); }

// One record to write: a word with one list number (main index), or one
// entry or run of entries (search index), and an optional extension.
struct Item {
  const IndexWord* word = nullptr;
  std::uint32_t number = 0;  // list number, or the (first) entry
  std::optional<std::uint16_t> position;
  bool flagged = false;
  const IndexExtension* extension = nullptr;
  std::uint32_t runCount = 0;  // > 0: a run of entries after the running number
  std::uint32_t runStep = 0;
};

Bytes ExtensionBytes(const IndexExtension& e, std::uint8_t options) {
  Bytes out{e.wordClass};
  if (options & 4) out.push_back(e.featureBit);
  for (unsigned char c : e.text) {
    if (c < 32) Fail("extension text with a byte below 32");
    out.push_back(c);
  }
  if (e.terminator >= 32 || e.terminator == 31) out.push_back(31);  // escaped terminator
  out.push_back(e.terminator);
  if (options & 8) {
    if (e.counted.size() > 255) Fail("counted extension list longer than 255");
    out.push_back(static_cast<std::uint8_t>(e.counted.size()));
    out.insert(out.end(), e.counted.begin(), e.counted.end());
  }
  return out;
}

void Put24(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

class RecordWriter {
 public:
  explicit RecordWriter(const WordIndexOptions& options) : options_(options) {}

  // The record(s) of an item after `previous` (null at a block start), with
  // the block's running number; updates the running number.
  Bytes Write(const Item& item, const std::string* previous, std::uint32_t* running) const {
    const std::string& word = item.word->text;
    const std::size_t previousLength = previous ? std::min<std::size_t>(previous->size(), 63) : 0;
    std::size_t common = 0;
    while (previous && common < previousLength && common < word.size() && (*previous)[common] == word[common]) ++common;
    const bool continuation = common == word.size();

    if (options_.reading == 1 && item.runCount > 0 && !continuation) {
      // A run adds to the running number: at a block start write its first
      // member as an entry of its own, then the rest as a run.
      Item first = item;
      first.runCount = 0;
      first.number = item.number + item.runStep;
      Bytes out = Write(first, previous, running);
      if (item.runCount > 1) {
        Item rest = item;
        rest.runCount = item.runCount - 1;
        rest.number = first.number;
        const Bytes more = Write(rest, &word, running);
        out.insert(out.end(), more.begin(), more.end());
      }
      return out;
    }

    Bytes out{IndexRecordHeader(previousLength - common, word)};
    out.insert(out.end(), word.begin() + static_cast<std::ptrdiff_t>(common), word.end());
    if (item.extension) out.push_back(10);

    if (options_.reading == 2) {
      out.push_back(0);  // terminator
      out.push_back(0);  // the byte every tail of this reading starts with
      const std::uint32_t delta = item.number - *running;
      const auto signedDelta = static_cast<std::int32_t>(delta);
      if (signedDelta < -0x800000 || signedDelta > 0x7FFFFF) Fail("list number delta beyond 24 bits");
      if ((delta & 0xFFFFFF) == 0xFFFFF && (options_.indexFlags & 2) && options_.formatLevel >= 7)
        Fail("list number delta equal to the long-list reset value");
      Put24(out, delta & 0xFFFFFF);
      *running = item.number;
    } else {
      std::uint32_t value;
      if (item.runCount > 0) {
        if (item.runStep > 31 || item.runCount > 0x3FFFF) Fail("entry run out of range");
        value = 0x800000 | item.runCount << 5 | item.runStep;
        *running += item.runStep * item.runCount;
      } else {
        value = continuation ? item.number - *running : item.number;
        *running = item.number;
      }
      if (value > 0x7FFFFF && item.runCount == 0) Fail("entry number beyond 23 bits");
      out.push_back(item.position ? 5 : 0);
      Put24(out, value);
      if (item.position) {
        if (*item.position > 0x1FFF) Fail("word position beyond 8191");
        const std::uint16_t p = static_cast<std::uint16_t>(*item.position | (item.flagged ? 0x8000 : 0));
        out.push_back(static_cast<std::uint8_t>(p >> 8));
        out.push_back(static_cast<std::uint8_t>(p));
      }
    }
    if (item.extension) {
      const Bytes e = ExtensionBytes(*item.extension, options_.recordOptions);
      out.insert(out.end(), e.begin(), e.end());
    }
    return out;
  }

 private:
  const WordIndexOptions& options_;
};

// The words merged by spelling, in index order.
std::vector<IndexWord> SortedWords(std::vector<IndexWord> words) {
  std::stable_sort(words.begin(), words.end(),
                   [](const IndexWord& a, const IndexWord& b) { return IndexWordLess(a.text, b.text); });
  std::vector<IndexWord> merged;
  for (IndexWord& w : words) {
    if (w.text.empty()) Fail("empty word");
    if (w.text.size() > 255) Fail("word longer than 255 characters: " + w.text.substr(0, 32));
    for (unsigned char c : w.text)
      if (c < 32) Fail("word with a byte below 32");
    if (!merged.empty() && merged.back().text == w.text) {
      IndexWord& into = merged.back();
      into.extensions.insert(into.extensions.end(), w.extensions.begin(), w.extensions.end());
      into.occurrences.insert(into.occurrences.end(), w.occurrences.begin(), w.occurrences.end());
    } else {
      merged.push_back(std::move(w));
    }
  }
  return merged;
}

std::vector<Item> ItemsOf(const std::vector<IndexWord>& words, std::uint16_t reading) {
  std::vector<Item> items;
  for (const IndexWord& w : words) {
    if (reading == 2) {
      Item item;
      item.word = &w;
      item.number = w.listNumber;
      item.extension = w.extensions.empty() ? nullptr : &w.extensions[0];
      items.push_back(item);
      for (std::size_t k = 1; k < w.extensions.size(); ++k)
        items.push_back({&w, w.listNumber, {}, false, &w.extensions[k]});
      continue;
    }
    std::vector<const IndexOccurrence*> occ;
    for (const IndexOccurrence& o : w.occurrences) occ.push_back(&o);
    if (occ.empty()) Fail("search-index word without occurrences: " + w.text);
    std::stable_sort(occ.begin(), occ.end(), [](const IndexOccurrence* a, const IndexOccurrence* b) {
      return a->entry != b->entry ? a->entry < b->entry : a->position.value_or(0) < b->position.value_or(0);
    });
    for (std::size_t k = 0; k < occ.size();) {
      const IndexOccurrence& o = *occ[k];
      // Plain entries at a constant step after this one become a run.
      if (k > 0 && !o.position && !o.extension && w.text.size() <= 63) {
        const std::uint32_t step = o.entry - occ[k - 1]->entry;
        std::size_t end = k + 1;
        while (end < occ.size() && !occ[end]->position && !occ[end]->extension &&
               occ[end]->entry - occ[end - 1]->entry == step)
          ++end;
        if (step >= 1 && step <= 31 && end - k >= 3) {
          Item run;
          run.word = &w;
          run.number = occ[k - 1]->entry;
          run.runCount = static_cast<std::uint32_t>(end - k);
          run.runStep = step;
          items.push_back(run);
          k = end;
          continue;
        }
      }
      Item item{&w, o.entry, o.position, o.flaggedField, o.extension ? &*o.extension : nullptr};
      items.push_back(item);
      ++k;
    }
  }
  return items;
}

}  // namespace

std::uint8_t IndexRecordHeader(std::size_t drop, const std::string& word) {
  std::uint8_t header = static_cast<std::uint8_t>(drop);
  if (IsUpper(static_cast<std::uint8_t>(word[0]))) header |= 0x80;
  for (std::size_t i = 1; i < word.size(); ++i)
    if (IsUpper(static_cast<std::uint8_t>(word[i]))) header |= 0x40;
  return header;
}

std::string IndexLowerCase(const std::string& word) {
  std::string out = word;
  for (char& c : out)
    if (IsUpper(static_cast<std::uint8_t>(c))) c = static_cast<char>(static_cast<std::uint8_t>(c) + 32);
  return out;
}

bool IndexWordLess(const std::string& a, const std::string& b) {
  // The lower-case forms decide, byte by byte (unsigned); words equal in
  // lower case are ordered as written.
  auto lower = [](char c) {
    const auto u = static_cast<std::uint8_t>(c);
    return IsUpper(u) ? static_cast<std::uint8_t>(u + 32) : u;
  };
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i)
    if (lower(a[i]) != lower(b[i])) return lower(a[i]) < lower(b[i]);
  if (a.size() != b.size()) return a.size() < b.size();
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return static_cast<std::uint8_t>(a[i]) < static_cast<std::uint8_t>(b[i]);
  return false;
}

IndexExtension DerivedFormExtension(std::uint8_t wordClass, std::uint8_t featureBit,
                                    const std::vector<std::string>& formKeys) {
  if (formKeys.empty() || formKeys.size() > 2) Fail("a derived-form record names one or two forms");
  IndexExtension e;
  e.wordClass = wordClass;
  e.featureBit = featureBit;
  for (const std::string& key : formKeys) {
    if (key.find(' ') != std::string::npos) Fail("a derived-form key with a space");
    if (!e.text.empty()) e.text += ' ';
    e.text += IndexLowerCase(key);
  }
  e.terminator = static_cast<std::uint8_t>(formKeys.size());
  return e;
}

Bytes EncodeBlock(const std::vector<std::uint16_t>& codes, unsigned codeWidth, std::uint16_t blockSize) {
  Bytes block(blockSize, 0);
  std::size_t bit = 0;
  auto put = [&](std::uint32_t code) {
    for (unsigned i = 0; i < codeWidth; ++i, ++bit)
      if (code >> (codeWidth - 1 - i) & 1u) block[bit / 8] |= static_cast<std::uint8_t>(0x80u >> (bit % 8));
  };
  if (codes.size() * codeWidth > std::size_t{blockSize} * 8) Fail("codes do not fit the block");
  for (std::uint16_t c : codes) put(c);
  if (bit + codeWidth <= std::size_t{blockSize} * 8) put(0);  // the end code, when it fits
  return block;
}

IndexBlocks LayOutIndexBlocks(const std::vector<const std::string*>& words, const IndexRecordFn& record,
                              std::uint16_t blockSize, unsigned codeWidth, std::uint8_t prefixLength) {
  // Learn the codes from the records as they stand front-coded in one run:
  // their total size tells which of them to learn from.
  auto eachRecord = [&](auto&& take) {
    const std::string* previous = nullptr;
    std::uint32_t running = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
      take(i, record(i, previous, &running));
      previous = words[i];
    }
  };
  std::size_t total = 0;
  eachRecord([&](std::size_t, const Bytes& bytes) { total += bytes.size(); });
  const std::size_t stride = PhraseCodes::SampleStride(total);
  std::vector<Bytes> taken;
  eachRecord([&](std::size_t i, Bytes&& bytes) {
    if (i % stride == 0) taken.push_back(std::move(bytes));
  });
  IndexBlocks out{PhraseCodes(PhraseCodes::Sampled{}, taken, codeWidth), {}, Bytes(prefixLength, 0)};

  const std::size_t blockBits = std::size_t{blockSize} * 8;
  std::vector<std::uint16_t> blockCodes;
  const std::string* previous = nullptr;
  std::uint32_t running = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::uint32_t next = running;
    std::vector<std::uint16_t> codes = out.codes.Encode(record(i, previous, &next));
    if (!previous || (blockCodes.size() + codes.size()) * codeWidth > blockBits) {
      if (previous) out.blocks.push_back(EncodeBlock(blockCodes, codeWidth, blockSize));
      blockCodes.clear();
      next = 0;
      codes = out.codes.Encode(record(i, nullptr, &next));
      if (codes.size() * codeWidth > blockBits) Fail("a record larger than a block: " + *words[i]);
      const std::string lower = IndexLowerCase(*words[i]);
      for (std::size_t k = 0; k < prefixLength; ++k)
        out.prefixes.push_back(k < lower.size() ? static_cast<std::uint8_t>(lower[k]) : ' ');
    }
    blockCodes.insert(blockCodes.end(), codes.begin(), codes.end());
    previous = words[i];
    running = next;
  }
  if (previous) out.blocks.push_back(EncodeBlock(blockCodes, codeWidth, blockSize));
  return out;
}

WordIndexComponent BuildWordIndex(std::vector<IndexWord> input, const WordIndexOptions& options) {
  if (options.reading != 1 && options.reading != 2) Fail("reading must be 1 or 2");
  if (options.prefixLength < 1 || options.prefixLength > 4) Fail("prefix length must be 1 to 4");
  if (options.blockSize < options.headerBytes || options.blockSize < 64)
    Fail("block size below the component header size");
  const std::vector<IndexWord> words = SortedWords(std::move(input));
  const std::vector<Item> items = ItemsOf(words, options.reading);
  const RecordWriter writer(options);
  std::vector<const std::string*> itemWords;
  for (const Item& item : items) itemWords.push_back(&item.word->text);
  const IndexBlocks laid = LayOutIndexBlocks(
      itemWords,
      [&](std::size_t i, const std::string* previous, std::uint32_t* running) {
        return writer.Write(items[i], previous, running);
      },
      options.blockSize, options.codeWidth, options.prefixLength);
  const PhraseCodes& codes = laid.codes;

  WordIndexComponent out;
  out.blockSize = options.blockSize;
  out.codeWidth = options.codeWidth;
  out.formatLevel = options.formatLevel;
  out.indexFlags = options.indexFlags;
  out.recordOptions = options.recordOptions;
  for (const IndexWord& w : words)
    out.longestWord = std::max<std::uint16_t>(out.longestWord, static_cast<std::uint16_t>(w.text.size()));

  out.blockArea.assign(options.blockSize, 0);  // block 0: the component header
  for (const Bytes& block : laid.blocks) out.blockArea.insert(out.blockArea.end(), block.begin(), block.end());
  const std::size_t blockCount = out.blockArea.size() / options.blockSize;
  if (blockCount > 0xFFFF) Fail("more than 65535 blocks");
  out.blockCount = static_cast<std::uint16_t>(blockCount);

  out.tables.push_back({kTablePhrasePool, 1, codes.literalLimit(), codes.pool()});
  out.tables.push_back({kTablePhraseOffsets, 2, static_cast<std::uint32_t>(codes.codeCount()), codes.OffsetTable()});
  out.tables.push_back({kTablePhraseLengths, 1, static_cast<std::uint32_t>(codes.codeCount()), codes.LengthTable()});
  out.tables.push_back({kTablePrefixes, options.prefixLength, out.blockCount, laid.prefixes});
  return out;
}

}  // namespace builder
