// INinit and INterm on built conjugation files, and the character mapping.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "hand_bytes.h"
#include "in_charmap.h"
#include "inflect/conjugation.h"
#include "inflect/inflect_samples.h"
#include "inflect_fixture.h"
#include "packed.h"
#include "re_charclass.h"
#include "re_platform.h"

namespace {

using builder::Bytes;
using builder::inflect::BuildConjugationFiles;
using builder::inflect::ConjugationData;
using builder::inflect::ConjugationFiles;

class ConjugationLoad : public ::testing::Test {
 protected:
  void Write(const ConjugationFiles& files) {
    WriteFile(dir_, "data.ram", files.ram);
    WriteFile(dir_, "data.dsk", files.dsk);
  }
  std::unique_ptr<InTableContext> Open(u32 expected, u16 error = 0) {
    auto context = NewTableContext(dir_, "data.ram", "data.dsk");
    EXPECT_EQ(INinit(context.get()), expected);
    EXPECT_EQ(PACKED(context->error), error);
    if (expected != ReDone) {
      EXPECT_EQ(ReLiveAllocations(), baseline_);
    }
    return context;
  }

  TempDir dir_;
  i32 baseline_ = ReLiveAllocations();
};

ConjugationData WithIndex(u8 index) {
  ConjugationData data = builder::inflect::SampleEnglishConjugation();
  data.tableIndex = index;
  return data;
}

TEST_F(ConjugationLoad, LoadsTheSampleAndFreesItAll) {
  Write(BuildConjugationFiles(builder::inflect::SampleFrenchConjugation()));
  auto context = Open(ReDone);
  EXPECT_EQ(PACKED(context->descriptorPresent), 1);
  EXPECT_EQ(PACKED(context->dskOpen), 1);
  EXPECT_EQ(PACKED(context->charTableIndex), 5);
  EXPECT_EQ(PACKED(context->flags) & 0xA0, 0xA0);  // what the dictionary screen checks
  EXPECT_GT(PACKED(context->wordHashSize), 0);
  EXPECT_EQ(PACKED(context->charClasses), ReCharClassTable(5));
  EXPECT_EQ(INterm(context.get()), ReDone);
  EXPECT_EQ(PACKED(context->dskOpen), 0);
  EXPECT_EQ(ReLiveAllocations(), baseline_);
  EXPECT_EQ(INterm(context.get()), ReDone);  // a second close frees nothing twice
  EXPECT_EQ(INinit(nullptr), ReWarn);
  EXPECT_EQ(INterm(nullptr), ReWarn);
}

// A .ram file written out by hand: every table present, small, and filled
// with its own bytes, so that each lands where the header and the file
// order put it.
TEST_F(ConjugationLoad, HandWrittenTablesLandInTheirPlaces) {
  handbytes::HandFile ram(512);
  ram.Be16(0, 1);                                      // table C: 1 tag of 11 bytes
  ram.Be16(2, 2);                                      // index of table E: 2 entries
  ram.Be16(4, 1);                                      // table A: 1 record of 6 bytes
  ram.Be16(6, 1);                                      // ending table B: 1 record of 6 bytes
  ram.Be16(8, 1);                                      // 1 rule
  ram.Put(14, {0xA0});                                 // flags: tables A and B present
  ram.Be16(15, 4);                                     // .dsk record length
  ram.Put(17, {8});                                    // code width
  ram.Be16(18, 1);                                     // 1 phrase
  ram.Be16(20, 0x1234);                                // kept in the context
  ram.Be16(22, 2);                                     // phrase pool bytes
  ram.Be16(24, 1);                                     // 1 .dsk record
  ram.Be16(28, 3);                                     // ending-string pool bytes
  ram.Be16(30, 2);                                     // table E bytes
  ram.Be16(32, 1);                                     // table F: 1 entry of 4 bytes
  ram.Be16(34, 2);                                     // table G bytes
  ram.Put(36, {16});                                   // character-table index: English data
  ram.Be16(38, 4);                                     // word hash bytes
  ram.Put(512, {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6});  // table A
  ram.Put(518, {0, 0, 0, 0, 0, 1});                    // table B: rule 0, ending at 0, replacement at 1
  ram.Put(524, {'s', 0, 0});                           // ending-string pool
  ram.Text(527, "NN         ");                        // table C
  ram.Put(538, {0, 0, 0, 2});                          // index of table E
  ram.Put(542, {0x01, 0x81});                          // table E
  ram.Put(544, {0, 7, 0, 9});                          // rule values: first 7, second 9
  ram.Put(548, {0x71, 0x72});                          // phrase pool
  ram.Put(550, {0, 0});                                // phrase offsets (little-endian)
  ram.Put(552, {2});                                   // phrase lengths
  ram.Text(553, "abcd");                               // record keys
  ram.Put(557, {0xF1, 0xF2, 0xF3, 0xF4});              // table F
  ram.Put(561, {0x61, 0x62});                          // table G
  ram.Put(563, {0, 0, 0x12, 0x34});                    // word hash
  WriteFile(dir_, "data.ram", ram.bytes());
  WriteFile(dir_, "data.dsk", Bytes{1, 0, 0, 0});
  auto context = Open(ReDone);
  EXPECT_EQ(PACKED(context->charTableIndex), 16);
  EXPECT_EQ(PACKED(context->descriptorPresent), 1);
  EXPECT_EQ(PACKED(context->header20), 0x1234);
  EXPECT_EQ(context->tableA[5], 0xA6);
  EXPECT_EQ(context->endings[5], 1);
  EXPECT_EQ(context->endingPool[0], 's');
  EXPECT_EQ(context->tags[0], 'N');
  EXPECT_EQ(context->classIndex[3], 2);
  EXPECT_EQ(context->classRules[1], 0x81);
  EXPECT_EQ(context->firstValues[1], 7);
  EXPECT_EQ(context->secondValues[1], 9);
  EXPECT_EQ(context->phrasePool[1], 0x72);
  EXPECT_EQ(context->phraseLengths[0], 2);
  EXPECT_EQ(context->recordKeys[3], 'd');
  EXPECT_EQ(context->hashIndex[3], 0xF4);
  EXPECT_EQ(context->rewrites[1], 0x62);
  EXPECT_EQ(context->wordHash[3], 0x34);
  INterm(context.get());
  // One byte short of the word hash: a failed read.
  WriteFile(dir_, "data.ram", Bytes(ram.bytes().begin(), ram.bytes().end() - 1));
  Open(ReFail, InErrorRead);
}

TEST_F(ConjugationLoad, OpenReadAndShortFileFailuresCarryTheirCodes) {
  Open(ReFail, InErrorOpen);  // no files at all
  const ConjugationFiles files = BuildConjugationFiles(builder::inflect::SampleFrenchConjugation());
  WriteFile(dir_, "data.ram", Bytes(files.ram.begin(), files.ram.begin() + 300));
  Open(ReFail, InErrorRead);  // short header
  for (size_t cut : {size_t{512}, size_t{600}, files.ram.size() / 2, files.ram.size() - 1}) {
    WriteFile(dir_, "data.ram", Bytes(files.ram.begin(), files.ram.begin() + static_cast<long>(cut)));
    Open(ReFail, InErrorRead);
  }
  // The whole .ram is read, then the missing .dsk fails and everything is freed.
  WriteFile(dir_, "data.ram", files.ram);
  Open(ReFail, InErrorOpen);
  auto context = NewTableContext(dir_, nullptr, "data.dsk");
  EXPECT_EQ(INinit(context.get()), ReFail);
  EXPECT_EQ(PACKED(context->error), InErrorOpen);
  EXPECT_EQ(INterm(context.get()), ReDone);  // on a context that never opened
}

TEST_F(ConjugationLoad, EveryAllocationFailureIsOutOfMemory) {
  ConjugationData data = builder::inflect::SampleEnglishConjugation();
  data.tableA = Bytes(12, 7);
  data.hashed = {{"went", {{4, "go"}}}};
  Write(BuildConjugationFiles(data));
  for (u32 fail = 1;; ++fail) {
    auto context = NewTableContext(dir_, "data.ram", "data.dsk");
    ReFailAllocationAfter(fail);
    const u32 result = INinit(context.get());
    ReFailAllocationAfter(0);
    if (result == ReDone) {
      EXPECT_GT(fail, 14u);
      INterm(context.get());
      break;
    }
    EXPECT_EQ(result, ReFail);
    EXPECT_EQ(PACKED(context->error), InErrorMemory) << fail;
    EXPECT_EQ(ReLiveAllocations(), baseline_) << fail;
  }
  EXPECT_EQ(ReLiveAllocations(), baseline_);
}

TEST_F(ConjugationLoad, TablesOf64KiBOrMoreAreLoadedWhole) {
  ConjugationData data = builder::inflect::SampleEnglishConjugation();
  data.tableA = Bytes(11000 * 6, 0);
  data.tableA.back() = 0x5A;
  Write(BuildConjugationFiles(data));
  auto context = Open(ReDone);
  EXPECT_EQ(PACKED(context->tableACount), 11000);
  EXPECT_EQ(context->tableA[11000 * 6 - 1], 0x5A);
  EXPECT_EQ(Flect(*context, "walked", InEnglish), InBuilt);  // the later tables are where they belong
  INterm(context.get());
}

TEST_F(ConjugationLoad, IndexesWithoutADescriptorLoadButBuildNoTables) {
  // Index 1 has a character-class table but no mapping, index 0 a mapping but
  // no class table; neither has a language descriptor.
  EXPECT_NE(ReCharClassTable(1), nullptr);
  EXPECT_EQ(ReCharClassTable(0), nullptr);
  for (u8 index : {0, 1, 2, 4, 15, 18, 19}) {
    Write(BuildConjugationFiles(WithIndex(index)));
    auto context = Open(ReDone);
    EXPECT_EQ(PACKED(context->descriptorPresent), 0) << int(index);
    EXPECT_EQ(PACKED(context->charClasses), ReCharClassTable(index)) << int(index);
    EXPECT_EQ(Flect(*context, "walked", InEnglish), InNoDescriptor) << int(index);
    INterm(context.get());
  }
}

TEST(CharacterMapping, SwapsTheFivePairsBothWays) {
  char out[16];
  for (int direction : {InToCaller, InToData}) {
    ASSERT_EQ(InMapText(5, direction, "\x9C\xF7\xE9", 3, out), ReDone);
    EXPECT_STREQ(out, "\xF7\x9C\xE9");
  }
  ASSERT_EQ(InMapText(3, InToData, "\x8C\xD7\x9F\xDD\xA4\xA8\xFD\xFF", 8, out), ReDone);
  EXPECT_STREQ(out, "\xD7\x8C\xDD\x9F\xA8\xA4\xFF\xFD");
  std::strcpy(out, "xyz");
  EXPECT_EQ(InMapText(5, InToData, "abc", 0, out), ReDone);
  EXPECT_STREQ(out, "");
  for (u8 none : {1, 2, 4, 15, 18, 19}) {
    std::strcpy(out, "xyz");
    EXPECT_EQ(InMapText(none, InToData, "\x9C", 1, out), ReFail) << int(none);
    EXPECT_STREQ(out, "xyz");  // nothing written
  }
}

}  // namespace
