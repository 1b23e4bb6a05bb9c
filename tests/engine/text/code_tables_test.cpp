// The code tables of the stored entry text (tables 20, 30 and 60), written by
// hand: codes below the terminal count are pool texts, whatever table 30
// holds; from the terminal count up, table 30's 0xFFFF marks a single
// character and anything else a pair (first half in table 20, second in 30).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "re_code_stream.h"
#include "re_records.h"
#include "re_search_stream.h"
#include "text_fixture.h"

namespace texttest {
namespace {

// Table 20 and 30 words of one code.
struct CodeWords {
  u16 first, second;
};

std::vector<u8> Words(const std::vector<CodeWords>& codes, bool secondTable) {
  std::vector<u8> out;
  for (const CodeWords& code : codes) {
    const u16 word = secondTable ? code.second : code.first;
    out.push_back(static_cast<u8>(word >> 8));
    out.push_back(static_cast<u8>(word));
  }
  return out;
}

// The tables of a small text: the pool holds the end code's 254 254 254 254,
// "ab", then one terminal text of 65535 bytes.
struct HandTables {
  HandTables() {
    pool = {254, 254, 254, 254, 'a', 'b'};
    pool.insert(pool.end(), 65535, 'z');
    codes = {
        {6, 0xFFFF},    // 0: terminal, 65535 bytes at pool offset 6 (not a single character)
        {0, 4},         // 1: terminal, the end code's text at offset 0
        {4, 2},         // 2: terminal "ab"
        {'x', 0xFFFF},  // 3: the terminal count is 3: single character 'x'
        {'y', 0xFFFF},  // 4: single character 'y'
        {3, 4},         // 5: pair: 'x' then 'y'
        {5, 3},         // 6: pair: code 5 then 'x'
    };
    first = Words(codes, false);
    second = Words(codes, true);
  }
  std::vector<u8> pool;
  std::vector<CodeWords> codes;
  std::vector<u8> first, second;
};

// Every character of one code through the entry text expander; *end gets
// what ended the expansion.
std::string ExpandText(const HandTables& hand, u8 code, i32* end) {
  ReTextTables tables{};
  tables.first = hand.first.data();
  tables.second = hand.second.data();
  tables.codeCount = static_cast<u32>(hand.codes.size());
  tables.pool = hand.pool.data();
  tables.poolLength = static_cast<u32>(hand.pool.size());
  tables.terminalCount = 3;
  tables.endCode = 1;
  tables.codeWidth = 8;
  // A stream of one 8-bit code, then the end code.
  const u8 stream[] = {code, 1};
  ReCodeStream codes = ReMemoryCodeStream(stream, sizeof stream, 8);
  ReExpander expander;
  ReInitExpander(&expander, &codes, &tables);
  std::string text;
  i32 c;
  while ((c = ReExpandNext(&expander)) >= 0) text += static_cast<char>(c);
  *end = c;
  return text;
}

// The same code through the search's expander.
i32 ExpandSearch(const HandTables& hand, u16 code, std::vector<u8>* out) {
  auto record = std::make_unique<ReDbRecord>();
  record->codeFirst.data = const_cast<u8*>(hand.first.data());
  record->codeFirst.length = static_cast<u32>(hand.first.size());
  record->codeSecond.data = const_cast<u8*>(hand.second.data());
  record->codeSecond.length = static_cast<u32>(hand.second.size());
  record->phrasePool.data = const_cast<u8*>(hand.pool.data());
  record->phrasePool.length = static_cast<u32>(hand.pool.size());
  record->codeCount = static_cast<u32>(hand.codes.size());
  record->terminalCount = 3;
  out->assign(70000, 0);
  const i32 length = ReExpandCodeInto(record.get(), code, out->data(), static_cast<u32>(out->size()));
  out->resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return length;
}

TEST(CodeTables, TerminalsComeBeforeSingleCharactersAndPairs) {
  const HandTables hand;
  i32 end = 0;
  // A terminal whose length word is 0xFFFF is 65535 bytes of pool text.
  const std::string terminal = ExpandText(hand, 0, &end);
  EXPECT_EQ(terminal.size(), 65535u);
  EXPECT_EQ(terminal.find_first_not_of('z'), std::string::npos);
  EXPECT_EQ(end, ReExpandAtEnd);
  EXPECT_EQ(ExpandText(hand, 2, &end), "ab");
  EXPECT_EQ(ExpandText(hand, 3, &end), "x");
  EXPECT_EQ(ExpandText(hand, 6, &end), "xyx");  // pairs nest, first half first
  EXPECT_EQ(end, ReExpandAtEnd);

  std::vector<u8> text;
  EXPECT_EQ(ExpandSearch(hand, 0, &text), 65535);
  EXPECT_TRUE(text == std::vector<u8>(65535, 'z'));
  EXPECT_EQ(ExpandSearch(hand, 4, &text), 1);
  EXPECT_EQ(text, std::vector<u8>{'y'});
  EXPECT_EQ(ExpandSearch(hand, 6, &text), 3);
  EXPECT_EQ(std::string(text.begin(), text.end()), "xyx");
}

// The builder numbers its codes in the same order: the end code and the
// phrases (pool texts) below table 60's element count, then the 256 single
// characters, then the pairs.
TEST(CodeTables, TheBuilderNumbersTerminalsFirst) {
  const std::vector<std::string> entries = {"the cat and the hat", "the cat sat on the mat", "that hat"};
  et::EntryTextSpec spec;
  spec.entries = entries;
  spec.markupTables = false;
  const edb::TextComponentSpec text = et::EntryTextComponent(spec);
  const builder::Bytes *first = nullptr, *second = nullptr, *pool = nullptr;
  u32 terminals = 0;
  for (const edb::Table& table : text.tables) {
    if (table.id == 20) first = &table.data;
    if (table.id == 30) second = &table.data;
    if (table.id == 60) {
      pool = &table.data;
      terminals = *table.elementCount;
    }
  }
  ASSERT_TRUE(first && second && pool);
  const auto word = [](const builder::Bytes& t, u32 code) {
    return static_cast<u32>(t[2 * code] << 8 | t[2 * code + 1]);
  };
  const u32 codes = static_cast<u32>(first->size() / 2);
  ASSERT_GT(terminals, 1u);  // the end code and at least one phrase
  ASSERT_GE(codes, terminals + 256);
  // Code 0 is the end code: pool text 254 254 254 254 at offset 0.
  EXPECT_EQ(word(*first, 0), 0u);
  EXPECT_EQ(word(*second, 0), 4u);
  for (u32 c = 1; c < terminals; ++c) {
    EXPECT_NE(word(*second, c), 0xFFFFu) << c;
    EXPECT_LE(word(*first, c) + word(*second, c), pool->size()) << c;
  }
  for (u32 c = 0; c < 256; ++c) {
    EXPECT_EQ(word(*second, terminals + c), 0xFFFFu) << c;
    EXPECT_EQ(word(*first, terminals + c), c) << c;
  }
  for (u32 c = terminals + 256; c < codes; ++c) {
    EXPECT_NE(word(*second, c), 0xFFFFu) << c;
    EXPECT_LT(word(*first, c), c);  // halves are earlier codes
    EXPECT_LT(word(*second, c), c);
  }
  // And the engine reads it back.
  TextDb db(TextDatabase(entries, {}));
  EXPECT_EQ(db.AllText(2), entries[1]);
}

}  // namespace
}  // namespace texttest
