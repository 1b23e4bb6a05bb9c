#include "engine_db/engine_db.h"

#include <algorithm>
#include <stdexcept>

namespace builder::engine_db {

namespace {

constexpr std::size_t kHeaderSize = 1024;
constexpr std::size_t kDirectoryOffset = 800;  // inside the header, after its fixed words
constexpr std::size_t kDirectoryEntry = 12;
constexpr std::size_t kUnit = 512;
constexpr std::size_t kTableRecordsAt = 256;  // the table list inside a component header
constexpr std::size_t kTableRecord = 16;
constexpr std::uint32_t kTextStartLimit = 6144000;

void Put(Bytes& bytes, const Field& field) {
  if (field.offset + field.width > bytes.size()) throw std::invalid_argument("header field outside its header");
  for (int i = field.width - 1, shift = 0; i >= 0; --i, shift += 8)
    bytes[field.offset + i] = static_cast<std::uint8_t>(field.value >> shift);
}

std::uint16_t CountOf(const Table& table) {
  if (table.elementCount) return *table.elementCount;
  const std::size_t count = table.elementSize ? table.data.size() / table.elementSize : 0;
  if (count > 0xFFFF) throw std::invalid_argument("table element count beyond 16 bits");
  return static_cast<std::uint16_t>(count);
}

std::size_t UnitsFor(const Component& component) {
  const std::size_t needed = kTableRecordsAt + component.tables.size() * kTableRecord;
  return (needed + kUnit - 1) / kUnit;
}

std::size_t AlignUp(std::size_t value, std::size_t unit) { return (value + unit - 1) / unit * unit; }

// One component: header, leading payload, tables, trailing payload. The
// positions are worked out first so the header can name them.
Bytes LayOutComponent(const Component& component, std::size_t headerSize, std::size_t fileOffset,
                      ComponentLayout* layout) {
  std::size_t position = headerSize;
  if (!component.leading.empty()) {
    if (component.leadingAt < headerSize) throw std::invalid_argument("leading payload overlaps the header");
    position = component.leadingAt + component.leading.size();
  }
  std::vector<std::size_t> tableAt;
  for (const Table& table : component.tables) {
    position = AlignUp(position, 4);
    tableAt.push_back(position);
    position += table.data.size();
  }
  // The trailing payload's start is a file offset in 512-byte units (the
  // component itself starts on a unit).
  std::size_t trailingAt = 0;
  if (component.trailingStartField) {
    if (fileOffset % kUnit) throw std::invalid_argument("a component with a start word must start on 512 bytes");
    trailingAt = AlignUp(position, kUnit);
    if (fileOffset + trailingAt > kTextStartLimit) throw std::invalid_argument("text start beyond the 16-bit start word");
  }

  Bytes header(headerSize, 0);
  Put(header, {0, 2, component.type});
  Put(header, {2, 2, component.subtype});
  for (const Field& field : component.fields) Put(header, field);
  Put(header, {80, 2, static_cast<std::uint32_t>(component.tables.size())});
  Put(header, {82, 4, kTableRecordsAt});
  layout->tableRecords = fileOffset + kTableRecordsAt;
  for (std::size_t i = 0; i < component.tables.size(); ++i) {
    const Table& table = component.tables[i];
    const auto record = static_cast<std::uint32_t>(kTableRecordsAt + i * kTableRecord);
    Put(header, {record, 2, table.id});
    Put(header, {record + 2, 4, static_cast<std::uint32_t>(tableAt[i])});
    Put(header, {record + 6, 4, table.elementSize});
    Put(header, {record + 10, 2, CountOf(table)});
    Put(header, {record + 12, 4, static_cast<std::uint32_t>(table.data.size())});
    layout->tables.push_back({table.id, fileOffset + record, fileOffset + tableAt[i], table.data.size()});
  }
  if (component.trailingStartField)
    Put(header, {*component.trailingStartField, 2, static_cast<std::uint32_t>((fileOffset + trailingAt) / kUnit)});

  ByteWriter out;
  out.Append(header);
  if (!component.leading.empty()) {
    out.PadTo(component.leadingAt);
    out.Append(component.leading);
  }
  for (std::size_t i = 0; i < component.tables.size(); ++i) {
    out.PadTo(tableAt[i]);
    out.Append(component.tables[i].data);
  }
  layout->trailing = 0;
  if (component.trailingStartField) {
    out.PadTo(trailingAt);
    out.Append(component.trailing);
    layout->trailing = fileOffset + trailingAt;
  }
  return out.take();
}

}  // namespace

const TableLayout* Layout::Find(std::uint16_t id) const {
  for (const ComponentLayout& component : components)
    for (const TableLayout& table : component.tables)
      if (table.id == id) return &table;
  return nullptr;
}

Built Build(const Database& database) {
  const Header& h = database.header;
  if (h.title.empty() || h.title.size() >= 384) throw std::invalid_argument("header title must fit before word 384");
  if (database.components.size() * kDirectoryEntry > kHeaderSize - kDirectoryOffset)
    throw std::invalid_argument("too many components for the directory");
  std::size_t units = std::max<std::size_t>(h.componentHeaderUnits, 1);
  for (const Component& component : database.components) units = std::max(units, UnitsFor(component));
  if (units > 0xFFFF) throw std::invalid_argument("component header too large");
  const std::size_t headerSize = units * kUnit;

  Bytes header(kHeaderSize, 0);
  std::copy(h.title.begin(), h.title.end(), header.begin());
  Put(header, {384, 2, h.format});
  Put(header, {386, 2, h.kind});
  Put(header, {388, 2, h.check5});
  Put(header, {390, 2, h.check2});
  Put(header, {700, 4, h.databaseId});
  Put(header, {704, 2, h.variant});
  Put(header, {706, 2, h.textFormat});
  Put(header, {708, 2, h.titleMode});
  Put(header, {710, 2, h.dotMode});
  Put(header, {738, 2, h.word738});
  Put(header, {788, 2, h.lineRule});
  Put(header, {790, 2, static_cast<std::uint32_t>(database.components.size())});
  Put(header, {792, 4, kDirectoryOffset});
  Put(header, {796, 2, static_cast<std::uint32_t>(units)});
  Put(header, {798, 2, h.capabilityMask});
  for (const Field& field : h.extra) Put(header, field);

  Built built;
  built.layout.directory = kDirectoryOffset;
  built.layout.componentHeaderSize = headerSize;
  std::vector<Bytes> bodies;
  std::size_t position = kHeaderSize;
  for (std::size_t i = 0; i < database.components.size(); ++i) {
    const Component& component = database.components[i];
    ComponentLayout layout{};
    layout.directoryEntry = kDirectoryOffset + i * kDirectoryEntry;
    layout.offset = AlignUp(position, kUnit);
    bodies.push_back(LayOutComponent(component, headerSize, layout.offset, &layout));
    layout.length = bodies.back().size();
    position = layout.offset + layout.length;
    if (position > 0xFFFFFFFFu) throw std::invalid_argument("database beyond 4 GiB");
    const auto entry = static_cast<std::uint32_t>(layout.directoryEntry);
    Put(header, {entry, 2, component.type});
    Put(header, {entry + 2, 2, component.subtype});
    Put(header, {entry + 4, 4, static_cast<std::uint32_t>(layout.offset)});
    Put(header, {entry + 8, 4, static_cast<std::uint32_t>(layout.length)});
    built.layout.components.push_back(std::move(layout));
  }

  ByteWriter out;
  out.Append(header);
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    out.PadTo(built.layout.components[i].offset);
    out.Append(bodies[i]);
  }
  built.bytes = out.take();
  return built;
}

void Write(const std::string& path, const Database& database) { WriteFileAtomically(path, Build(database).bytes); }

Component TextComponent(const TextComponentSpec& spec) {
  if (spec.groupSize == 0 || (spec.groupSize & (spec.groupSize - 1)))
    throw std::invalid_argument("group size must be a power of two");
  if (spec.entryCount > 0x7FFFFFFF) throw std::invalid_argument("entry count beyond 2147483647");
  Component c;
  c.type = 1;
  c.subtype = 1;
  c.fields = {{25, 1, spec.flags},        {104, 4, spec.entryCount},  {108, 2, spec.word108},
              {114, 2, spec.groupSize},   {118, 2, spec.codeWidth},   {120, 2, spec.longestEntryText},
              {122, 2, spec.longestLine}, {124, 4, spec.rawAreaSize}, {128, 2, spec.cacheSize}};
  c.tables = spec.tables;
  c.trailing = spec.codeStream;
  c.trailingStartField = 30;
  return c;
}

Component IndexComponent(const IndexComponentSpec& spec) {
  Component c;
  c.type = 2;
  c.subtype = spec.subtype;
  c.fields = {{25, 1, spec.flags},           {26, 2, spec.formatLevel},  {93, 1, spec.recordOptions},
              {116, 2, spec.entryListCount}, {118, 2, spec.longestLine}, {140, 2, spec.blockSize},
              {146, 2, spec.longestWord},    {148, 2, spec.codeWidth},   {160, 2, spec.stringTableSize}};
  c.tables = spec.tables;
  if (!spec.blocks.empty()) {
    ByteWriter blocks;
    for (const Bytes& block : spec.blocks) {
      if (block.size() > spec.blockSize) throw std::invalid_argument("index block larger than the block size");
      blocks.Append(block);
      blocks.PadTo(blocks.size() + (spec.blockSize - block.size()));
    }
    c.leading = blocks.take();
    c.leadingAt = spec.blockSize;  // block 0 is the component header
  }
  return c;
}

Bytes EncodeRuns(const Bytes& raw) {
  ByteWriter out;
  std::size_t i = 0;
  while (i < raw.size()) {
    const std::uint8_t value = raw[i];
    std::size_t run = 1;
    while (i + run < raw.size() && raw[i + run] == value && run < 63) ++run;
    if ((value == 0 || value == 0xFF) && run >= 2) {
      out.U8((value ? 128 : 64) + run);
      i += run;
      continue;
    }
    // A literal stretch up to the next run of two equal 0 or 255 bytes.
    std::size_t length = 0;
    while (i + length < raw.size() && length < 63) {
      const std::uint8_t next = raw[i + length];
      if ((next == 0 || next == 0xFF) && i + length + 1 < raw.size() && raw[i + length + 1] == next) break;
      ++length;
    }
    out.U8(192 + length);
    out.Append(Bytes(raw.begin() + i, raw.begin() + i + length));
    i += length;
  }
  return out.take();
}

SubsetTables BuildSubsetTables(const std::vector<SubsetDef>& subsets, bool eighteenByteRecords) {
  const std::size_t count = subsets.size();
  // The node after each node's subtree (pre-order by level).
  std::vector<std::size_t> next(count, count);
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t j = i + 1;
    while (j < count && subsets[j].level > subsets[i].level) ++j;
    next[i] = j;
  }
  // Each node's stored bytes: bytes first / 8 .. last / 8, bit e at the low bit first.
  auto bytesOf = [](const SubsetDef& def) {
    if (def.last < def.first) throw std::invalid_argument("subset range ends before it starts");
    Bytes bytes(def.last / 8 - def.first / 8 + 1, 0);
    for (std::uint32_t entry : *def.stored) {
      if (entry < def.first || entry > def.last) throw std::invalid_argument("stored entry outside its range");
      bytes[entry / 8 - def.first / 8] |= static_cast<std::uint8_t>(1u << (entry % 8));
    }
    return bytes;
  };
  ByteWriter raw, coded;
  std::vector<std::uint32_t> stored(count, 0);
  for (std::size_t i = 0; i < count; ++i)
    if (subsets[i].stored && !subsets[i].coded) {
      stored[i] = 1 + static_cast<std::uint32_t>(raw.size());
      raw.Append(bytesOf(subsets[i]));
    }
  const std::uint32_t rawArea = static_cast<std::uint32_t>(raw.size());
  for (std::size_t i = 0; i < count; ++i)
    if (subsets[i].stored && subsets[i].coded) {
      stored[i] = 1 + rawArea + static_cast<std::uint32_t>(coded.size());
      coded.Append(EncodeRuns(bytesOf(subsets[i])));
    }

  SubsetTables tables;
  tables.rawAreaSize = rawArea;
  tables.definitions.id = 40;
  tables.definitions.elementSize = eighteenByteRecords ? 18 : 16;
  ByteWriter defs;
  for (std::size_t i = 0; i < count; ++i) {
    const SubsetDef& def = subsets[i];
    if (next[i] > 0xFFFF) throw std::invalid_argument("too many subsets");
    defs.U16be(def.id);
    if (eighteenByteRecords) {
      defs.U8(def.level);
      defs.U8(def.flags);
    } else {
      defs.U8(0);
      defs.U8(def.level);
      defs.U8(0);
      defs.U8(def.flags);
    }
    defs.U32be(def.first);
    defs.U32be(def.last);
    defs.U16be(static_cast<std::uint32_t>(next[i]));
    if (eighteenByteRecords) {
      defs.U32be(stored[i]);
    } else if (def.stored) {
      throw std::invalid_argument("16-byte subset records cannot point at stored bits");
    }
  }
  tables.definitions.data = defs.take();
  if (raw.size() + coded.size()) {
    Table bits;
    bits.id = 50;
    bits.data = raw.take();
    const Bytes codedBytes = coded.take();
    bits.data.insert(bits.data.end(), codedBytes.begin(), codedBytes.end());
    tables.bits = std::move(bits);
  }
  return tables;
}

Table AutomatonTable(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& entries, const Bytes& names) {
  ByteWriter out;
  out.U32be(1);
  out.U32be(static_cast<std::uint32_t>(8 + 4 * entries.size()));
  for (const auto& [set, state] : entries) {
    out.U16be(set);
    out.U16be(state);
  }
  out.Append(names);
  Table table;
  table.id = 80;
  table.data = out.take();
  return table;
}

Table MarkupTable(const MarkupSpec& spec) {
  if (spec.elements.size() % 4 || spec.transitions.size() % 2)
    throw std::invalid_argument("element records are 4 words, transitions 2");
  ByteWriter out;
  out.U16be(static_cast<std::uint32_t>(spec.elements.size() / 4));
  out.U16be(static_cast<std::uint32_t>(spec.transitions.size() / 2));
  out.U16be(static_cast<std::uint32_t>(spec.sequences.size()));
  out.U16be(0);
  out.U16be(static_cast<std::uint32_t>(spec.codeLists.size()));
  out.Zeros(16);
  for (const auto* words : {&spec.elements, &spec.transitions, &spec.sequences, &spec.codeLists})
    for (std::uint16_t word : *words) out.U16be(word);
  out.Append(spec.programs);
  Table table;
  table.id = 90;
  table.data = out.take();
  return table;
}

}  // namespace builder::engine_db
