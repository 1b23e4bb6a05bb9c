// INinit and INterm on built conjugation files, and the character mapping.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

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
