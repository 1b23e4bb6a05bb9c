#include "core/typematic.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "content/title_index_file.h"
#include "core/working_directory.h"
#include "temp_dir.h"

namespace {

std::string Text(const builder::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// An index in a scratch working directory.
class TitleIndex {
 public:
  TitleIndex(const std::string& ram, const std::string& dsk) {
    SetWorkingDirectory(dir_.path().c_str());
    dir_.Write("T.RAM", ram);
    dir_.Write("T.DSK", dsk);
  }
  explicit TitleIndex(const builder::TitleIndexFiles& files) : TitleIndex(Text(files.ram), Text(files.dsk)) {}

  BOOL Open() { return index_.Open(); }
  // "" when not found.
  std::string ByText(const char* text, int* entry) {
    char title[TitleBufferSize];
    return index_.Lookup(text, title, entry, CTypematic::ByText) ? title : "";
  }
  std::string ByEntry(int entry) {
    char title[TitleBufferSize];
    return index_.Lookup(nullptr, title, &entry, CTypematic::ByEntry) ? title : "";
  }

 private:
  TempDir dir_;
  CTypematic index_{"T.RAM", "T.DSK"};
};

// A hand-made index of code width 9 where codes 1-256 are the bytes 0-255, to
// state records the builder would never write.
struct HandIndex {
  std::vector<std::vector<u8>> blocks;  // the unpacked bytes of each block
  std::vector<std::string> keys;
  std::vector<u32> firstEntries;
  std::vector<std::array<u8, 14>> patches;

  static std::vector<u8> Record(int dropped, bool capital, const std::string& text, u32 delta) {
    builder::ByteWriter bytes;
    bytes.U8(static_cast<u32>(dropped) | (capital ? 0x80u : 0u));
    bytes.Append(text);
    bytes.U8(0);  // end of the title
    bytes.U16be(0);
    bytes.U24be(delta);
    return bytes.take();
  }

  std::pair<std::string, std::string> Files() const {
    builder::ByteWriter ram;
    ram.U16le(static_cast<u32>(blocks.size()));
    ram.U16le(static_cast<u32>(patches.size()));
    ram.U16le(256);
    ram.U16le(9);
    for (u32 b = 0; b < 256; ++b) ram.U8(b);
    for (u32 c = 0; c < 512; ++c) ram.U16le(c >= 1 && c <= 256 ? c - 1 : 0);
    for (u32 c = 0; c < 512; ++c) ram.U8(c >= 1 && c <= 256 ? 1 : 0);
    for (const std::string& key : keys) ram.Append(key);
    for (u32 entry : firstEntries) ram.U24be(entry);
    for (const auto& row : patches) ram.Append(builder::Bytes(row.begin(), row.end()));
    std::string dsk;
    for (const auto& block : blocks) {
      std::string packed(512, '\0');
      int bit = 0;
      auto put = [&](u32 code) {
        for (int i = 8; i >= 0; --i, ++bit)
          if (bit < 4096 && (code >> i & 1)) packed[bit / 8] = static_cast<char>(packed[bit / 8] | 0x80 >> bit % 8);
      };
      for (u8 byte : block) put(byte + 1u);
      put(0);
      dsk += packed;
    }
    return {Text(ram.bytes()), dsk};
  }
};

TEST(TitleKey, NormalisesTypedText) {
  char key[TitleBufferSize];
  MakeTitleKey("Rock & Roll", key, sizeof key);
  EXPECT_STREQ(key, "rockandroll");
  MakeTitleKey("Henry 8", key, sizeof key);
  EXPECT_STREQ(key, "henry");
  MakeTitleKey("1984", key, sizeof key);
  EXPECT_STREQ(key, "1984");
  MakeTitleKey("Caf\xC9 @home", key, 6);
  EXPECT_STREQ(key, "caf\xC9@");

  char title[8] = "A&B, c!";
  NormalizeTitle(title, 6);  // "AandBc" would need 7 bytes
  EXPECT_STREQ(title, "AandB");
  char accented[] = "\xC9t\xE9 \xFF\x8A\xE6t";
  FoldAccents(accented);
  EXPECT_STREQ(accented, "Ete yS");  // 0xE6 has no plain letter and ends the text
}

TEST(Typematic, FindsTitlesByTextAndByEntry) {
  const std::vector<std::string> titles = {"Aardvark", "Henry VIII", "McDonald Islands", "NASA Space Agency Report",
                                           "Ox",       "Oxen",       "Rock & Roll",      "Zebra"};
  const auto numbered = builder::NumberInTitleOrder(titles, 10);
  TitleIndex index(builder::BuildTitleIndex(numbered));
  ASSERT_TRUE(index.Open());
  int entry = 0;
  EXPECT_EQ(index.ByText("Rock and roll", &entry), "rock & roll");
  EXPECT_EQ(entry, 16);
  EXPECT_EQ(index.ByText("Henry 8", &entry), "henry viii");
  EXPECT_EQ(index.ByText("o", &entry), "ox");  // shorter than the block key
  EXPECT_EQ(index.ByText("Zebras", &entry), "");
  for (const auto& title : numbered) EXPECT_EQ(index.ByEntry(static_cast<int>(title.entry)), title.title);
  EXPECT_EQ(index.ByEntry(9), "");
  EXPECT_EQ(index.ByEntry(-1), "");
}

TEST(Typematic, TitlesSharingAPrefixRunOverSeveralBlocks) {
  std::vector<std::string> titles;
  for (int i = 0; i < 600; ++i)
    titles.push_back(std::string("Shared ") + static_cast<char>('a' + i / 26 % 26) + static_cast<char>('a' + i % 26) +
                     " of the long series");
  titles.push_back("Zulu");
  const auto numbered = builder::NumberInTitleOrder(titles);
  const builder::TitleIndexFiles files = builder::BuildTitleIndex(numbered);
  ASSERT_GT(files.dsk.size(), 3 * 512u);
  TitleIndex index(files);
  ASSERT_TRUE(index.Open());
  int entry = 0;
  for (int i = 0; i < 601; i += 37) {
    EXPECT_EQ(index.ByEntry(static_cast<int>(numbered[i].entry)), numbered[i].title);
    EXPECT_NE(index.ByText(numbered[i].title.c_str(), &entry), "");
    EXPECT_EQ(entry, static_cast<int>(numbered[i].entry));
  }
  EXPECT_EQ(index.ByText("Shared zz", &entry), "zulu");
}

TEST(Typematic, SharesAtMostSixtyThreeCharactersAndAppliesPatches) {
  HandIndex hand;
  const std::string seventy(70, 'x');
  hand.blocks = {{}};
  for (const auto& record : {HandIndex::Record(0, false, seventy, 5), HandIndex::Record(0, true, "z", 1),
                             HandIndex::Record(2, false, "y", 1)}) {
    hand.blocks[0].insert(hand.blocks[0].end(), record.begin(), record.end());
  }
  hand.keys = {"xxxx"};
  hand.firstEntries = {5};
  // Entry 6: third character 'X'; a pair past the title and a count above 5 are ignored.
  hand.patches = {{0, 0, 6, 3, 'X', 200, 'Q', 0, 0, 0, 0, 0, 0, 9}};
  const auto [ram, dsk] = hand.Files();
  TitleIndex index(ram, dsk);
  ASSERT_TRUE(index.Open());
  EXPECT_EQ(index.ByEntry(5), seventy);
  EXPECT_EQ(index.ByEntry(6), "XxX" + std::string(60, 'x') + "z");
  EXPECT_EQ(index.ByEntry(7), std::string(61, 'x') + "y");
}

TEST(Typematic, DamagedRecordsEndTheirBlock) {
  HandIndex hand;
  hand.blocks = {HandIndex::Record(0, false, "abc", 1), HandIndex::Record(0, false, std::string(300, 'q'), 3)};
  const auto bad = HandIndex::Record(4, false, "d", 1);  // drops more than the 3 characters before it
  const auto after = HandIndex::Record(0, false, "e", 1);
  hand.blocks[0].insert(hand.blocks[0].end(), bad.begin(), bad.end());
  hand.blocks[0].insert(hand.blocks[0].end(), after.begin(), after.end());
  hand.keys = {"abc ", "abc "};
  hand.firstEntries = {1, 3};
  const auto [ram, dsk] = hand.Files();
  TitleIndex index(ram, dsk);
  ASSERT_TRUE(index.Open());
  EXPECT_EQ(index.ByEntry(1), "abc");
  EXPECT_EQ(index.ByEntry(2), "");
  EXPECT_EQ(index.ByEntry(3), "");
}

TEST(Typematic, OnlyAMissingRamFileFailsTheOpen) {
  const builder::TitleIndexFiles files = builder::BuildTitleIndex(builder::NumberInTitleOrder({"One", "Two"}));
  const std::string ram = Text(files.ram);
  const std::string dsk = Text(files.dsk);
  {
    TitleIndex whole(ram, dsk);
    ASSERT_TRUE(whole.Open());
    EXPECT_EQ(whole.ByEntry(1), "One");
  }
  // Damaged tables open an index that finds nothing.
  std::vector<std::string> damaged = {ram.substr(0, ram.size() - 1), ram.substr(0, 5)};
  std::string outside = ram;
  const int pool = static_cast<u8>(ram[4]) | static_cast<u8>(ram[5]) << 8;
  outside[8 + pool + 2] = static_cast<char>(0xFF);  // code 1 starts past the pool
  outside[8 + pool + 3] = static_cast<char>(0xFF);
  damaged.push_back(outside);
  for (char width : {'\0', '\x11'}) {
    std::string wrong = ram;
    wrong[6] = width;
    damaged.push_back(wrong);
  }
  for (const std::string& tables : damaged) {
    TitleIndex index(tables, dsk);
    ASSERT_TRUE(index.Open());
    int entry = 0;
    EXPECT_EQ(index.ByEntry(1), "");
    EXPECT_EQ(index.ByText("one", &entry), "");
  }
  {
    TempDir dir;
    SetWorkingDirectory(dir.path().c_str());
    dir.Write("T.RAM", ram);
    CTypematic noDsk("T.RAM", "T.DSK");
    ASSERT_TRUE(noDsk.Open());
    char title[TitleBufferSize];
    int entry = 1;
    EXPECT_EQ(noDsk.Lookup(nullptr, title, &entry, CTypematic::ByEntry), 0);
    EXPECT_FALSE(CTypematic("NONE.RAM", "T.DSK").Open());
  }
  // A DSK file short of its blocks finds nothing, without old block data.
  TitleIndex truncated(ram, dsk.substr(0, 100));
  ASSERT_TRUE(truncated.Open());
  EXPECT_EQ(truncated.ByEntry(1), "");
}

TEST(Typematic, EmptyIndexFindsNothing) {
  TitleIndex index(HandIndex().Files().first, "");
  ASSERT_TRUE(index.Open());
  int entry = 1;
  EXPECT_EQ(index.ByEntry(1), "");
  EXPECT_EQ(index.ByText("a", &entry), "");
}

}  // namespace
