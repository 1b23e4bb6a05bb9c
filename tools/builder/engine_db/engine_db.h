// Engine database files (.DAT): a 1024-byte header, a directory of typed
// components, and in each component a header with its table list, its tables
// and its payload. Big-endian throughout. The typed helpers below fill the
// text and index component headers and the subset tables; later content
// (word index blocks, coded entry text, markup programs, string tables) is
// added as tables and payloads of the same components.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/byte_writer.h"

namespace builder::engine_db {

// A header word of the database or of a component (width 1, 2 or 4 bytes).
struct Field {
  std::uint32_t offset;
  std::uint8_t width;
  std::uint32_t value;
};

struct Table {
  std::uint16_t id = 0;
  std::uint32_t elementSize = 1;
  // Written as stored; when absent, the data's length / element size.
  std::optional<std::uint16_t> elementCount;
  Bytes data;
};

struct Component {
  std::uint16_t type = 0;
  std::uint16_t subtype = 0;
  std::vector<Field> fields;  // header words besides type, subtype and the table list
  std::vector<Table> tables;
  // Placed right after the component header, from `leadingAt` bytes into
  // the component (index blocks: block n at n x block size).
  Bytes leading;
  std::uint32_t leadingAt = 0;
  // Placed after the tables at a 512-byte boundary; its file offset / 512
  // is written as u16 at `trailingStartField` (the text code stream).
  Bytes trailing;
  std::optional<std::uint32_t> trailingStartField;
};

struct Header {
  std::string title = "C Veldrix engine database";  // first byte must be 'C'
  std::uint16_t format = 9;
  std::uint16_t kind = 1;
  std::uint16_t check5 = 5;
  std::uint16_t check2 = 2;
  std::uint32_t databaseId = 1;
  std::uint16_t variant = 0;
  std::uint16_t textFormat = 0;
  std::uint16_t titleMode = 0;
  std::uint16_t dotMode = 0;
  std::uint16_t word738 = 0;
  std::uint16_t lineRule = 0;
  std::uint16_t componentHeaderUnits = 1;  // raised when a table list needs more
  std::uint16_t capabilityMask = 0;
  std::vector<Field> extra;
};

struct Database {
  Header header;
  std::vector<Component> components;
};

// Where the parts of a built file lie (file offsets), for tests that damage
// a file on purpose.
struct TableLayout {
  std::uint16_t id;
  std::size_t record;  // the 16-byte table record
  std::size_t data;
  std::size_t length;
};

struct ComponentLayout {
  std::size_t directoryEntry;
  std::size_t offset;
  std::size_t length;
  std::size_t tableRecords;
  std::vector<TableLayout> tables;
  std::size_t trailing;  // 0 without a trailing payload
};

struct Layout {
  std::size_t directory;
  std::size_t componentHeaderSize;
  std::vector<ComponentLayout> components;
  const TableLayout* Find(std::uint16_t id) const;
};

struct Built {
  Bytes bytes;
  Layout layout;
};

// Lays the database out. Throws std::invalid_argument for what the format
// cannot hold.
Built Build(const Database& database);
void Write(const std::string& path, const Database& database);

// --- Text component (type 1, subtype 1) ------------------------------------

struct TextComponentSpec {
  std::uint8_t flags = 0;  // bit 0: text mode 2 (variant 2)
  std::uint32_t entryCount = 0;
  std::uint16_t word108 = 0;
  std::uint16_t groupSize = 1;  // entries per group, a power of two
  std::uint16_t codeWidth = 12;
  std::uint16_t longestEntryText = 0;
  std::uint16_t longestLine = 0;
  std::uint32_t rawAreaSize = 0;  // table 50 below it is raw (set by the subset tables)
  std::uint16_t cacheSize = 1024;
  std::vector<Table> tables;
  Bytes codeStream;
};

Component TextComponent(const TextComponentSpec& spec);

// --- Index component (type 2) -----------------------------------------------

struct IndexComponentSpec {
  std::uint16_t subtype = 1;  // 1 or 2 main index, 3 search index
  std::uint8_t flags = 0;
  std::uint16_t formatLevel = 0;
  std::uint8_t recordOptions = 0;
  std::uint16_t entryListCount = 0;
  std::uint16_t longestLine = 0;
  std::uint16_t longestWord = 0;
  std::uint16_t blockSize = 512;  // at least the component header size
  std::uint16_t codeWidth = 12;
  std::uint16_t stringTableSize = 0;
  std::vector<Table> tables;
  // Blocks 1 .. n, each blockSize bytes; block 0 is the component header.
  std::vector<Bytes> blocks;
};

Component IndexComponent(const IndexComponentSpec& spec);

// --- Subsets (tables 40 and 50) ----------------------------------------------

struct SubsetDef {
  std::uint16_t id = 0;
  std::uint8_t level = 0;
  std::uint8_t flags = 1;   // 0 not selectable
  std::uint32_t first = 0;  // 0: no range
  std::uint32_t last = 0;
  // Entries of the node's stored bits (within first .. last); none: the
  // range alone defines the node.
  std::optional<std::vector<std::uint32_t>> stored;
  bool coded = false;  // run-length code the stored bits
};

struct SubsetTables {
  Table definitions;          // 40
  std::optional<Table> bits;  // 50
  std::uint32_t rawAreaSize = 0;
};

// Raw stored bits come first in table 50, coded ones after them.
SubsetTables BuildSubsetTables(const std::vector<SubsetDef>& subsets, bool eighteenByteRecords = true);

// Run-length code: 192 + n copies n bytes, 128 + n is n bytes of 255,
// 64 + n is n bytes of 0 (n at most 63).
Bytes EncodeRuns(const Bytes& raw);

// --- Tables 80 and 90 --------------------------------------------------------

// The character automaton: u32 count 1, u32 offset of the name area from
// the table's start, the u16 pairs {set offset in the name area, next
// state}, then the NUL-terminated character sets.
Table AutomatonTable(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& entries, const Bytes& names);

struct MarkupSpec {
  std::vector<std::uint16_t> elements;     // 4 words each
  std::vector<std::uint16_t> transitions;  // 2 words each
  std::vector<std::uint16_t> sequences;
  std::vector<std::uint16_t> codeLists;
  Bytes programs;  // offset 0 means "no program": start with a dummy byte
};

Table MarkupTable(const MarkupSpec& spec);

}  // namespace builder::engine_db
