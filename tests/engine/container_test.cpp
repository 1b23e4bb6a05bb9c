// The database container: header and component checks, table roles, and
// damaged files (truncated, counts too large, offsets past the end).
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "engine_fixture.h"
#include "packed.h"
#include "re_container.h"

namespace {

using namespace enginetest;

void Patch16(builder::Bytes& bytes, std::size_t at, u16 value) {
  bytes.at(at) = static_cast<u8>(value >> 8);
  bytes.at(at + 1) = static_cast<u8>(value);
}

u16 ReadBe16(const builder::Bytes& bytes, std::size_t at) {
  return static_cast<u16>(bytes.at(at) << 8 | bytes.at(at + 1));
}

void Patch32(builder::Bytes& bytes, std::size_t at, u32 value) {
  Patch16(bytes, at, static_cast<u16>(value >> 16));
  Patch16(bytes, at + 2, static_cast<u16>(value));
}

class Container : public ::testing::Test {
 protected:
  // Opens the bytes as a database; the codes are left in the block's status.
  u32 OpenBytes(const builder::Bytes& bytes) {
    const std::string name = WriteBytes(dir_, bytes);
    return db_.Open(dir_.path(), name);
  }
  u32 OpenDatabase(const edb::Database& database) { return OpenBytes(edb::Build(database).bytes); }
  void ExpectRefused(i16 handleError, u16 module) {
    EXPECT_EQ(PACKED(db_.status().status), ReFail);
    EXPECT_EQ(PACKED(db_.status().error), ReErrDbOpen);
    EXPECT_EQ(PACKED(db_.status().handleError), handleError);
    EXPECT_EQ(PACKED(db_.status().module), module);
    EXPECT_EQ(ReDbNodeCount(), 0);
    EXPECT_EQ(ReHandleCount(), 0);
    EXPECT_EQ(ReLiveAllocations(), live_);
  }

  TempDir dir_;
  Session session_;
  Database db_{session_};
  i32 live_ = ReLiveAllocations();
};

TEST_F(Container, HeaderChecks) {
  builder::Bytes bytes = edb::Build(SmallDatabase()).bytes;
  builder::Bytes bad = bytes;
  Patch16(bad, 384, 8);
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrHeader, ReModHeader);

  bad = bytes;
  bad[0] = 'D';
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrHeader, ReModHeader);

  for (std::size_t at : {388u, 390u}) {
    bad = bytes;
    Patch16(bad, at, 1);
    EXPECT_EQ(OpenBytes(bad), ReFail);
    ExpectRefused(ReErrHeader, ReModHeader);
  }
  // Any kind is accepted.
  bad = bytes;
  Patch16(bad, 386, 77);
  EXPECT_EQ(OpenBytes(bad), ReDone);
  EXPECT_EQ(PACKED(db_.block()->kind), 77);
  EXPECT_EQ(db_.record()->index->charClasses, nullptr);
}

TEST_F(Container, ShortFileIsAFailedRead) {
  builder::Bytes bytes = edb::Build(SmallDatabase()).bytes;
  bytes.resize(1000);
  EXPECT_EQ(OpenBytes(bytes), ReFail);
  ExpectRefused(ReErrFileRead, ReModHeader);
}

TEST_F(Container, DirectoryAndComponentHeaderMustFit) {
  const edb::Built built = edb::Build(SmallDatabase());
  builder::Bytes bad = built.bytes;
  Patch16(bad, 790, 20);  // 20 entries from offset 800 run past the header
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrHeader, ReModHeader);

  bad = built.bytes;
  Patch32(bad, 792, 0xFFFFFFF0u);
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrHeader, ReModHeader);

  bad = built.bytes;
  Patch16(bad, 796, 0);
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrHeader, ReModHeader);

  bad = built.bytes;
  Patch16(bad, 796, 0xFFFF);  // larger than the file
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrHeader, ReModHeader);
}

TEST_F(Container, ComponentTypeAndSubtypeChecks) {
  const edb::Built built = edb::Build(SmallDatabase());
  const edb::ComponentLayout& text = built.layout.components[0];
  builder::Bytes bad = built.bytes;
  Patch16(bad, text.offset, 2);  // header says index, directory says text
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrComponentType, ReModComponents);

  bad = built.bytes;
  Patch16(bad, text.offset + 2, 9);
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrComponentSubtype, ReModComponents);

  bad = built.bytes;
  Patch16(bad, text.offset, 3);
  Patch16(bad, text.directoryEntry, 3);
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrComponentUnknown, ReModComponents);
}

TEST_F(Container, ComponentsAndTablesMustLieInsideTheirContainers) {
  const edb::Built built = edb::Build(SmallDatabase());
  const edb::ComponentLayout& text = built.layout.components[0];
  builder::Bytes bad = built.bytes;
  Patch32(bad, text.directoryEntry + 4, static_cast<u32>(built.bytes.size()));  // component past the end
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrFileRead, ReModComponents);

  bad = built.bytes;
  Patch32(bad, text.directoryEntry + 8, 100);  // shorter than its header
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrTableList, ReModComponents);

  bad = built.bytes;
  Patch16(bad, text.offset + 80, 40);  // 40 records from 256 pass the 512-byte header
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrTableList, ReModComponents);

  bad = built.bytes;
  Patch32(bad, text.offset + 82, 0x7FFFFFF0u);
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrTableList, ReModComponents);

  const edb::TableLayout* groups = built.layout.Find(10);
  ASSERT_NE(groups, nullptr);
  bad = built.bytes;
  Patch32(bad, groups->record + 2, static_cast<u32>(text.length));  // table offset past the component
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrTable, ReModComponents);

  bad = built.bytes;
  Patch32(bad, groups->record + 12, 0xFFFFFFF0u);  // length past the component
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrTable, ReModComponents);
}

// Every prefix of a database file is refused with a code, never read past.
TEST_F(Container, EveryTruncationIsRefused) {
  const builder::Bytes bytes = edb::Build(SmallDatabase()).bytes;
  for (std::size_t size = 0; size < bytes.size(); size += size < 1100 ? 61 : 97) {
    builder::Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    ASSERT_EQ(OpenBytes(cut), ReFail) << size;
    EXPECT_EQ(PACKED(db_.status().error), ReErrDbOpen) << size;
    EXPECT_NE(PACKED(db_.status().handleError), 0) << size;
    EXPECT_EQ(ReLiveAllocations(), live_) << size;
  }
}

TEST_F(Container, TextStartRuleAndStreamBounds) {
  edb::Database database = SmallDatabase();
  const edb::Built built = edb::Build(database);
  const edb::ComponentLayout& text = built.layout.components[0];
  ASSERT_EQ(OpenBytes(built.bytes), ReDone);
  const ReDbRecord* record = db_.record();
  // The start word counts 512-byte units from the start of the file; the
  // stream runs from there to the end of the text component.
  EXPECT_EQ(ReadBe16(built.bytes, text.offset + 30) * 512u, record->textStart);
  EXPECT_EQ(record->textBase, built.layout.components[0].trailing);
  EXPECT_EQ(record->textStart + record->textLength, text.offset + text.length);
  EXPECT_EQ(record->groupShift, 3);
  EXPECT_EQ(record->groupCount, kEntries / 8 + 1);
  EXPECT_EQ(record->terminalCount, 2u);
  ASSERT_EQ(db_.Close(), ReDone);

  // A start past the component's end is refused, and so is one before the
  // component (it counts from the file, not from the component); so is a
  // wrapped start.
  builder::Bytes bad = built.bytes;
  Patch16(bad, text.offset + 30, static_cast<u16>((text.offset + text.length) / 512 + 1));
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrTextComponent, ReModComponents);
  bad = built.bytes;
  Patch16(bad, text.offset + 30, static_cast<u16>(text.offset / 512 - 1));
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrTextComponent, ReModComponents);
  bad = built.bytes;
  Patch16(bad, text.offset + 30, 12001);
  EXPECT_EQ(OpenBytes(bad), ReFail);
  ExpectRefused(ReErrTextComponent, ReModComponents);
}

// Entries are numbered by signed 32-bit numbers: a larger entry count is
// refused at open (entry vectors over it would wrap their bit numbers, and
// a subset range ending at entry 4294967295 never ended).
TEST_F(Container, EntryCountBeyondSigned32BitsIsRefused) {
  edb::Database database = SmallDatabase();
  const edb::SubsetTables subsets =
      edb::BuildSubsetTables({{10, 0, 16, 0xFFFFFFF0u, 0xFFFFFFFFu, std::nullopt, false}});
  TextOf(database).tables.push_back(subsets.definitions);
  const edb::Built built = edb::Build(database);
  const std::size_t entryCount = built.layout.components[0].offset + 104;
  builder::Bytes bytes = built.bytes;
  Patch32(bytes, entryCount, 0x80000000u);
  EXPECT_EQ(OpenBytes(bytes), ReFail);
  ExpectRefused(ReErrTextComponent, ReModComponents);
  Patch32(bytes, entryCount, 0x7FFFFFFFu);
  ASSERT_EQ(OpenBytes(bytes), ReDone);
  EXPECT_EQ(PACKED(db_.block()->entryCount), 0x7FFFFFFFu);

  edb::TextComponentSpec text;
  text.entryCount = 0x80000000u;
  EXPECT_THROW(edb::TextComponent(text), std::invalid_argument);  // the builder keeps to it too
}

TEST_F(Container, EndCodeSearch) {
  edb::Database database = SmallDatabase();
  // Without the four 254 bytes in the pool there is no end code.
  TextOf(database).tables[3].data = {'x', 'y', 'z', 'w', 'v', 'c', 'a', 't'};
  EXPECT_EQ(OpenDatabase(database), ReFail);
  ExpectRefused(ReErrEndCode, ReModComponents);

  // Without table 60 the end code is the last code of table 20, and no code
  // is a terminal (there is no pool to hold their texts).
  database = SmallDatabase();
  TextOf(database).tables.pop_back();
  ASSERT_EQ(OpenDatabase(database), ReDone);
  EXPECT_EQ(db_.record()->endCode, 3u);
  EXPECT_EQ(db_.record()->terminalCount, 0u);
}

TEST_F(Container, LineRules) {
  struct Case {
    u16 rule;
    u16 expected;
  } cases[] = {
      {0, 0},   // always 0
      {3, 60},  // larger of the main index's words 118 and 146 (60, 32)
      {4, 79},  // text first: max(70, 0) + 9; the subtype 1 index does not count
      {7, 79},  // other: text word 122 + 9
  };
  for (const Case& c : cases) {
    edb::Database database = SmallDatabase();
    database.header.lineRule = c.rule;
    ASSERT_EQ(OpenDatabase(database), ReDone) << c.rule;
    EXPECT_EQ(PACKED(db_.block()->longestLine), c.expected) << c.rule;
    ASSERT_EQ(db_.Close(), ReDone);
  }
  // Rule 4 with a subtype 2 index before the text: max(60, 32) then + 9 on
  // the larger of that and word 122.
  edb::Database database = SmallDatabase();
  database.header.lineRule = 4;
  database.components[1].subtype = 2;
  std::swap(database.components[0], database.components[1]);
  ASSERT_EQ(OpenDatabase(database), ReDone);
  EXPECT_EQ(PACKED(db_.block()->longestLine), 79);
  ASSERT_EQ(db_.Close(), ReDone);
  database.components[1].fields.push_back({122, 2, 50});
  ASSERT_EQ(OpenDatabase(database), ReDone);
  EXPECT_EQ(PACKED(db_.block()->longestLine), 69);
}

TEST_F(Container, MarkupTablesAreConvertedBySection) {
  edb::Database database = SmallDatabase();
  ASSERT_EQ(OpenDatabase(database), ReDone);
  EXPECT_EQ(PACKED(db_.block()->features) & ReFeatMarkup, 0);
  ASSERT_EQ(db_.Close(), ReDone);

  const builder::Bytes names = {'a', 'b', 0, 0};
  TextOf(database).tables.push_back(edb::AutomatonTable({{0, 0x2001}, {3, 5}}, names));
  edb::MarkupSpec markup;
  markup.elements = {1, 0, 1, 0};
  markup.transitions = {0, 1};
  markup.sequences = {0xFFFF};
  markup.codeLists = {4097, 0xFFFF};
  markup.programs = {0, 0x05, 0x80, 0};
  TextOf(database).tables.push_back(edb::MarkupTable(markup));
  ASSERT_EQ(OpenDatabase(database), ReDone);
  EXPECT_EQ(PACKED(db_.block()->features) & ReFeatMarkup, ReFeatMarkup);
  const ReDbRecord* record = db_.record();
  ASSERT_EQ(record->automaton.valueCount, 1u);
  EXPECT_EQ(record->automaton.values[0], 16u);
  ASSERT_EQ(record->automaton.entryCount, 2u);
  EXPECT_EQ(record->automaton.entries[1], 0x2001);
  EXPECT_EQ(record->automaton.entries[3], 5);
  EXPECT_EQ(std::memcmp(record->automaton.names, "ab", 3), 0);  // bytes stay as stored
  const ReMarkupSections& sections = record->markupSections;
  EXPECT_EQ(sections.elementCount, 1);
  EXPECT_EQ(sections.transitions[1], 1);
  EXPECT_EQ(sections.codeLists[0], 4097);
  ASSERT_EQ(sections.programsLength, 4u);
  EXPECT_EQ(sections.programs[1], 0x05);
  EXPECT_EQ(sections.programs[2], 0x80);
  ASSERT_EQ(db_.Close(), ReDone);

  // Counts that do not fit the table's length are refused.
  edb::Table& table90 = TextOf(database).tables.back();
  table90.data[1] = 200;
  EXPECT_EQ(OpenDatabase(database), ReFail);
  ExpectRefused(ReErrTable, ReModComponents);
  table90.data[1] = 1;
  edb::Table& table80 = TextOf(database).tables[TextOf(database).tables.size() - 2];
  table80.data[7] = 9;  // the name area no longer follows whole pairs
  EXPECT_EQ(OpenDatabase(database), ReFail);
  ExpectRefused(ReErrTable, ReModComponents);
}

TEST_F(Container, IndexTablesByRole) {
  edb::Database database = SmallDatabase();
  edb::Component& index = database.components[1];
  index.tables.push_back({240, 8, std::nullopt, {0, 0, 1, 0, 0, 2, 3, 4, 0xAB, 0xCD, 0xEF, 0, 0, 1, 5, 6}});
  index.tables.push_back({310, 2, std::nullopt, {0, 7, 1, 0}});
  index.tables.push_back({250, 1, std::nullopt, {1, 2, 3}});
  ASSERT_EQ(OpenDatabase(database), ReDone);
  const ReIndexDescriptor* d = db_.record()->index;
  EXPECT_EQ(d->blockSize, 512);
  EXPECT_EQ(d->formatLevel, 7);
  EXPECT_EQ(d->indexFlags, 13);
  EXPECT_EQ(d->recordOptions, 4);
  EXPECT_EQ(d->literalLimit, 9);
  EXPECT_EQ(d->prefixLength, 4);
  EXPECT_EQ(d->blockCount, 2);
  EXPECT_EQ(d->indexBase, edb::Build(database).layout.components[1].offset);
  EXPECT_NE(d->charClasses, nullptr);
  ASSERT_NE(d->blockFirst, nullptr);
  EXPECT_EQ(d->blockFirst[0], 1u);
  EXPECT_EQ(d->blockSecond[0], 2u);
  EXPECT_EQ(d->blockThird[0], 3);
  EXPECT_EQ(d->blockFourth[1], 6);
  EXPECT_EQ(d->blockFirst[1], 0xABCDEFu);
  ASSERT_EQ(d->blockValueCount, 2u);
  EXPECT_EQ(d->blockValues[0], 7u);
  EXPECT_EQ(d->blockValues[1], 256u);
  EXPECT_EQ(d->table250Length, 3u);
  EXPECT_EQ(d->table260, nullptr);
  EXPECT_TRUE(db_.record()->searchAllowed);
  EXPECT_EQ(db_.record()->searchIndex.blockSize, 1024);
  EXPECT_EQ(db_.record()->searchIndex.literalLimit, 3);
  EXPECT_EQ(db_.work()->blockBufferSize, 1024u);
  ASSERT_EQ(db_.Close(), ReDone);

  index.tables[index.tables.size() - 2].elementSize = 3;  // table 310: only 2 or 4
  EXPECT_EQ(OpenDatabase(database), ReFail);
  ExpectRefused(ReErrTable, ReModComponents);
}

TEST_F(Container, WordHashRequiredByVariant) {
  edb::Database database = SmallDatabase();
  database.header.variant = 9;
  EXPECT_EQ(OpenDatabase(database), ReFail);
  ExpectRefused(ReErrTableMissing, ReModComponents);
  database.components[1].tables.push_back({280, 4, std::nullopt, builder::Bytes(512, 0)});
  ASSERT_EQ(OpenDatabase(database), ReDone);
  EXPECT_EQ(db_.record()->index->wordHashLength, 512u);
}

TEST_F(Container, VariantEightAndSecondComponents) {
  edb::Database database = SmallDatabase();
  database.header.variant = 8;
  database.components[1].tables.push_back({280, 4, std::nullopt, builder::Bytes(512, 0)});
  ASSERT_EQ(OpenDatabase(database), ReDone);
  // Byte 25 is read only in variant 2; variant 8 always has bits 2 and 16.
  EXPECT_EQ(PACKED(db_.block()->features) & (ReFeatTextMode1 | ReFeatTextMode2 | ReFeatMarkup),
            ReFeatTextMode2 | ReFeatMarkup);
  EXPECT_EQ(db_.record()->textMode, 2);
  ASSERT_EQ(db_.Close(), ReDone);

  database = SmallDatabase();
  database.components.push_back(database.components[0]);
  EXPECT_EQ(OpenDatabase(database), ReFail);
  ExpectRefused(ReErrTextComponent, ReModComponents);
  database = SmallDatabase();
  database.components.push_back(database.components[1]);
  EXPECT_EQ(OpenDatabase(database), ReFail);
  ExpectRefused(ReErrIndexComponent, ReModComponents);

  // Without the search index, searching is not allowed.
  database = SmallDatabase();
  database.components.pop_back();
  ASSERT_EQ(OpenDatabase(database), ReDone);
  EXPECT_EQ(PACKED(db_.block()->features) & ReFeatSearch, 0);
}

TEST_F(Container, TitleRuleWords) {
  edb::Database database = SmallDatabase();
  database.header.textFormat = 4;
  database.header.titleMode = 1;
  database.header.dotMode = 3;
  ASSERT_EQ(OpenDatabase(database), ReDone);
  EXPECT_EQ(db_.record()->textFormat, 4);
  EXPECT_EQ(db_.record()->titleMode, 1);
  EXPECT_EQ(db_.record()->dotMode, 3);
}

}  // namespace
