#include "core/spell_hash.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "content/spell_hash_file.h"
#include "temp_dir.h"

namespace {

using Table = std::vector<u8>;

void Put(Table& table, int slot, u16 key) {
  table[2 * slot] = static_cast<u8>(key >> 8);
  table[2 * slot + 1] = static_cast<u8>(key);
}

// Probe i of the one-letter word "a": key 97, k = 1, so slot 97 + 3i + i * i.
int ProbeOfA(int i) { return 97 + 3 * i + i * i; }

TEST(SpellHash, LoadsExactlyTheWholeTable) {
  TempDir dir;
  u8* table = SpellHashLoad(dir.Write("full.dat", std::string(65536, '\0')).c_str());
  ASSERT_NE(table, nullptr);
  SpellHashFree(table);
  EXPECT_EQ(SpellHashLoad(dir.Write("short.dat", std::string(65535, '\0')).c_str()), nullptr);
  EXPECT_EQ(SpellHashLoad(dir.File("missing.dat").c_str()), nullptr);
}

TEST(SpellHash, OneLetterWordIsItsOwnKeyAndStartSlot) {
  Table table(SpellTableBytes, 0);
  EXPECT_FALSE(SpellHashFind(table.data(), "a"));  // all zeros: not found at the first probe
  Put(table, 97, 97);
  EXPECT_TRUE(SpellHashFind(table.data(), "a"));
  EXPECT_TRUE(SpellHashFind(table.data(), "A"));
  // A byte of 0x80 and above is sign-extended: key 0xFFE9 at slot 0x7FE9.
  EXPECT_FALSE(SpellHashFind(table.data(), "\xE9"));
  Put(table, 0x7FE9, 0xFFE9);
  EXPECT_TRUE(SpellHashFind(table.data(), "\xE9"));
  EXPECT_FALSE(SpellHashFind(table.data(), ""));
  EXPECT_FALSE(SpellHashFind(nullptr, "a"));
}

TEST(SpellHash, ProbesAtMostTwentyThreeSlots) {
  Table table(SpellTableBytes, 0);
  for (int i = 0; i < 22; ++i) Put(table, ProbeOfA(i), 1000 + i);
  Put(table, ProbeOfA(22), 97);  // the 23rd probe
  EXPECT_TRUE(SpellHashFind(table.data(), "a"));
  Put(table, ProbeOfA(22), 999);
  Put(table, ProbeOfA(23), 97);  // a 24th probe is never made
  EXPECT_FALSE(SpellHashFind(table.data(), "a"));
}

TEST(SpellHash, BuiltTableFindsItsWordsAndReportsWhatItCannotPlace) {
  std::vector<std::string> words = {"Word", "caf\xE9", "encyclopedia", "x"};
  const builder::SpellHashTable small = builder::BuildSpellHash(words);
  ASSERT_TRUE(small.unplaced.empty());
  for (const std::string& word : words) EXPECT_TRUE(SpellHashFind(small.bytes.data(), word.c_str())) << word;
  EXPECT_TRUE(SpellHashFind(small.bytes.data(), "word"));
  EXPECT_FALSE(SpellHashFind(small.bytes.data(), "cafe"));

  // Only keys are stored: a word whose key and start slot collide with a
  // stored word's reads as known.
  std::uint16_t start = 0, otherStart = 0;
  ASSERT_EQ(builder::SpellKey("ajja", &start), builder::SpellKey("hbak", &otherStart));
  ASSERT_EQ(start, otherStart);
  EXPECT_TRUE(SpellHashFind(builder::BuildSpellHash({"ajja"}).bytes.data(), "hbak"));

  // More words than slots: some chains run past 23 probes. Exactly the
  // words the builder reports are the ones a lookup cannot find.
  words.clear();
  for (int i = 0; i < 40000; ++i) words.push_back(std::to_string(i * 7919).insert(0, 1, 'w'));
  const builder::SpellHashTable full = builder::BuildSpellHash(words);
  ASSERT_FALSE(full.unplaced.empty());
  const std::set<std::string> unplaced(full.unplaced.begin(), full.unplaced.end());
  for (const std::string& word : words)
    ASSERT_EQ(SpellHashFind(full.bytes.data(), word.c_str()), unplaced.count(word) == 0) << word;
}

}  // namespace
