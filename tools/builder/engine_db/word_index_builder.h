// Writes the word index of an engine database: sorted words, front-coded into
// records, compressed with phrase codes into fixed-size blocks, with the
// prefix table and the phrase tables (index tables 200-230). The layout
// decisions are in docs/formats.md ("Word index").
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/boxed_optional.h"
#include "common/byte_writer.h"
#include "engine_db/word_index_codes.h"

namespace builder {

// The extension of a record: a word-class byte, a feature bit number (when
// the index's record options carry one), a text and a terminator value, and
// a counted byte list (when the options carry one).
struct IndexExtension {
  std::uint8_t wordClass = 0;
  std::uint8_t featureBit = 0;
  std::string text;  // bytes 32 and up
  std::uint8_t terminator = 0;
  Bytes counted;
};

// An extension that names the derived forms of a word: the form keys
// separated by one space, the terminator holding their number (1 or 2).
IndexExtension DerivedFormExtension(std::uint8_t wordClass, std::uint8_t featureBit,
                                    const std::vector<std::string>& formKeys);

// One occurrence of a word, for the search index's hit records.
struct IndexOccurrence {
  std::uint32_t entry = 0;
  std::optional<std::uint16_t> position;  // word offset 0-8191
  bool flaggedField = false;
  BoxedOptional<IndexExtension> extension;  // rare: kept behind a pointer
};

struct IndexWord {
  std::string text;  // as written: capitals are kept
  // Main index (list-number records): the word's list number (an entry number).
  std::uint32_t listNumber = 0;
  // Main index: one more record of the word for each extension.
  std::vector<IndexExtension> extensions;
  // Search index (hit records): the word's occurrences.
  std::vector<IndexOccurrence> occurrences;
};

struct WordIndexOptions {
  std::uint16_t reading = 2;  // 2: list-number records (main index); 1: hit records (search index)
  std::uint16_t blockSize = 1024;
  std::uint16_t codeWidth = 12;
  std::uint8_t prefixLength = 4;
  std::int16_t formatLevel = 7;
  std::uint8_t indexFlags = 0;      // component header byte 25
  std::uint8_t recordOptions = 0;   // component header byte 93
  std::uint16_t headerBytes = 512;  // the component header, which is block 0
};

struct BuiltTable {
  std::uint16_t id = 0;
  std::uint32_t elementSize = 1;
  std::uint32_t elementCount = 0;
  Bytes data;
};

// An index component but for its header: the block area starts at the
// component's first byte, and its first headerBytes bytes are left for the
// component header (block 0, which decodes as an empty block).
struct WordIndexComponent {
  std::uint16_t blockSize = 0;
  std::uint16_t codeWidth = 0;
  std::uint16_t blockCount = 0;  // with block 0
  std::uint16_t longestWord = 0;
  std::int16_t formatLevel = 0;
  std::uint8_t indexFlags = 0;
  std::uint8_t recordOptions = 0;
  Bytes blockArea;                 // blockCount x blockSize bytes
  std::vector<BuiltTable> tables;  // 200, 210, 220, 230
};

// Table ids of the word index and its spelling data.
enum : std::uint16_t {
  kTablePhrasePool = 200,
  kTablePhraseOffsets = 210,
  kTablePhraseLengths = 220,
  kTablePrefixes = 230,
  kTableSpellingRules = 250,
  kTableExceptions = 260,
  kTableKeyPrefixes = 270,
  kTableFragments = 290,
};

// The index's collation: words ordered by their lower-case bytes, then by
// their stored bytes. Lower case adds 32 to 65-90, 159 and 192-222.
std::string IndexLowerCase(const std::string& word);
bool IndexWordLess(const std::string& a, const std::string& b);

// The header byte of a front-coded record: the number of characters dropped
// from the previous word, 0x80 when the word's first letter is a capital and
// 0x40 when a later one is.
std::uint8_t IndexRecordHeader(std::size_t drop, const std::string& word);

// Records laid out in blocks: the phrase codes learnt from them, blocks 1 .. n
// and the prefix table (block 0, the component header, first).
struct IndexBlocks {
  PhraseCodes codes;
  std::vector<Bytes> blocks;
  Bytes prefixes;
};

// Writes record i after `previous`, the word before it in its block (null at
// a block start), and moves the block's running list number on.
using IndexRecordFn = std::function<Bytes(std::size_t i, const std::string* previous, std::uint32_t* running)>;

// Lays the records of `words` (in index order) out in blocks: a record that
// does not fit the current block starts the next one, front-coded afresh.
// Throws std::runtime_error on a record larger than a block.
IndexBlocks LayOutIndexBlocks(const std::vector<const std::string*>& words, const IndexRecordFn& record,
                              std::uint16_t blockSize, unsigned codeWidth, std::uint8_t prefixLength);

// Throws std::runtime_error on words the format cannot hold (empty, a byte
// below 32, longer than 255, a record larger than a block) and on options out
// of range.
WordIndexComponent BuildWordIndex(std::vector<IndexWord> words, const WordIndexOptions& options);

// The record stream of one block decoded back is the test of the writer; the
// writer's raw record encoder is offered for hand-made blocks.
Bytes EncodeBlock(const std::vector<std::uint16_t>& codes, unsigned codeWidth, std::uint16_t blockSize);

}  // namespace builder
