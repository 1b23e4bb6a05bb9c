// What the entry readers build once for a handle: the character automaton's
// rows as tables, and the texts of the codes. Both must answer exactly as
// the tables they stand for, damaged tables included.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "re_code_stream.h"
#include "re_loader.h"

namespace {

// A character automaton written entry by entry: (set, next state), a set of
// nullptr the empty set.
struct HandAutomaton {
  std::vector<u16> entries;
  std::vector<u8> names{0};  // offset 0: the empty set
  void Entry(const char* set, u16 next) {
    u16 offset = 0;
    if (set) {
      offset = static_cast<u16>(names.size());
      names.insert(names.end(), set, set + std::string(set).size());
      names.push_back(0);
    }
    entries.push_back(offset);
    entries.push_back(next);
  }
  void RawEntry(u16 offset, u16 next) {
    entries.push_back(offset);
    entries.push_back(next);
  }
  ReAutomatonSections Sections() const {
    ReAutomatonSections sections{};
    sections.entries = entries.data();
    sections.entryCount = static_cast<u32>(entries.size() / 2);
    sections.names = names.data();
    sections.namesLength = static_cast<u32>(names.size());
    return sections;
  }
};

void ExpectRowsAsSteps(const HandAutomaton& hand, u32 tabledRows) {
  const ReAutomatonSections sections = hand.Sections();
  ReAutomatonRows rows;
  ASSERT_TRUE(ReBuildAutomatonRows(&sections, &rows));
  u32 tabled = 0;
  for (u32 row = 0; row < sections.entryCount; ++row) {
    const u16 table = rows.rowOf[row];
    if (table == ReAutomatonRows::kNone) continue;
    ++tabled;
    for (u32 c = 0; c < 256; ++c)
      EXPECT_EQ(rows.next[table * 256 + c], ReAutomatonStep(&sections, row, static_cast<u8>(c)))
          << "row " << row << ", character " << c;
  }
  EXPECT_EQ(tabled, tabledRows);
  ReFreeAutomatonRows(&rows);
}

TEST(AutomatonRows, StepAsTheTableDoes) {
  HandAutomaton hand;
  hand.Entry("ab", 0x2000 | 7);  // row 0: a and b final,
  hand.Entry("bc", 3);           // b already decided: c only
  hand.Entry(nullptr, 5);        // the rest to row 5
  hand.Entry("x", 0);            // row 3
  hand.Entry(nullptr, 0x2000 | 2);
  hand.Entry("<", 3);  // row 5
  hand.Entry(nullptr, 0);
  ExpectRowsAsSteps(hand, 3);
}

TEST(AutomatonRows, DamagedRowsFailWhereTheStepFails) {
  HandAutomaton hand;
  hand.Entry("ab", 1);  // row 0
  hand.Entry(nullptr, 0);
  hand.Entry("x", 0);      // row 2: x decided, then a set outside the name area
  hand.RawEntry(9999, 0);  // every other character fails
  hand.Entry(nullptr, 2);
  ExpectRowsAsSteps(hand, 2);

  HandAutomaton open;  // the last row has no empty set: the table's end fails
  open.Entry(nullptr, 0);
  open.Entry("q", 1);
  ExpectRowsAsSteps(open, 2);

  HandAutomaton unterminated;  // a set that runs to the name area's end without a NUL
  unterminated.Entry("a", 0);
  unterminated.names.push_back('z');
  unterminated.RawEntry(static_cast<u16>(unterminated.names.size() - 1), 0);
  ExpectRowsAsSteps(unterminated, 1);
}

// Code tables: terminals "ab" and "" (the end code's), single characters,
// and pairs, one of them nested, one of them broken.
TEST(CodeTexts, EveryHeldTextIsTheCodesExpansion) {
  const std::vector<u8> pool = {'a', 'b', 254, 255, 'c'};  // "ab", then a line feed and 'c'
  struct Code {
    u16 first, second;
  };
  const std::vector<Code> codes = {
      {0, 2},         // 0: "ab"
      {2, 0},         // 1: the end code (empty)
      {3, 2},         // 2: line feed, 'c'
      {'x', 0xFFFF},  // 3: 'x'
      {0, 3},         // 4: "ab" 'x'
      {4, 2},         // 5: "abx" then a line feed and 'c'
      {9, 0},         // 6: a half past the tables: not held
  };
  std::vector<u8> first, second;
  for (const Code& c : codes) {
    first.insert(first.end(), {static_cast<u8>(c.first >> 8), static_cast<u8>(c.first)});
    second.insert(second.end(), {static_cast<u8>(c.second >> 8), static_cast<u8>(c.second)});
  }
  ReTextTables tables{};
  tables.first = first.data();
  tables.second = second.data();
  tables.codeCount = static_cast<u32>(codes.size());
  tables.pool = pool.data();
  tables.poolLength = static_cast<u32>(pool.size());
  tables.terminalCount = 3;
  tables.endCode = 1;
  ReCodeTexts texts;
  ASSERT_TRUE(ReBuildEntryCodeTexts(&tables, &texts));
  const char* expected[] = {"ab", "", "\nc", "x", "abx", "abx\nc"};
  for (u32 c = 0; c < 6; ++c) {
    const u32 entry = ReCodeTextEntry(texts, c);
    ASSERT_NE(entry, ReCodeNotHeld) << c;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(ReCodeTextOf(texts, entry)), ReCodeTextLength(entry)),
              expected[c])
        << c;
    EXPECT_EQ((entry & ReCodeTextLineFeed) != 0, c == 2 || c == 5) << c;
  }
  EXPECT_EQ(ReCodeTextEntry(texts, 6), ReCodeNotHeld);
  EXPECT_EQ(ReCodeTextEntry(texts, 7), ReCodeNotHeld);  // past the tables

  // Reading with the texts gives what reading without them gives.
  const u8 stream[] = {5, 4, 6, 1};
  for (bool held : {false, true}) {
    tables.codeTexts = held ? &texts : nullptr;
    tables.codeWidth = 8;
    ReCodeStream codeStream = ReMemoryCodeStream(stream, sizeof stream, 8);
    ReExpander expander;
    ReInitExpander(&expander, &codeStream, &tables);
    std::string text;
    i32 c;
    while ((c = ReExpandNext(&expander)) >= 0) text += static_cast<char>(c);
    EXPECT_EQ(text, "abx\ncabx") << held;
    EXPECT_EQ(c, ReExpandBad) << held;  // code 6 cannot be expanded
  }
  ReFreeCodeTexts(&texts);
}

}  // namespace
