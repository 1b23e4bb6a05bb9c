// The word-form engine on built enue.ram, enue.dsk and hash.dat.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hand_bytes.h"
#include "in_hash.h"
#include "inflect/inflect_records.h"
#include "inflect/inflect_samples.h"
#include "inflect_fixture.h"
#include "packed.h"
#include "re_platform.h"

namespace {

using builder::Bytes;
using builder::inflect::BuildFormFiles;
using builder::inflect::FormData;
using builder::inflect::FormFiles;
using Strings = std::vector<std::string>;

// Offsets of the tables of a built enue.ram, from its header.
struct RamLayout {
  explicit RamLayout(const Bytes& ram) {
    auto u16 = [&](size_t at) { return static_cast<u32>(ram[at] << 8 | ram[at + 1]); };
    const u32 tags = u16(0), rows = u16(2), a = u16(4), b = u16(6), rules = u16(8);
    phrases = u16(18);
    endings = 512 + a * 20;
    const u32 tagsAt = endings + b * 20;
    const u32 matrixAt = tagsAt + tags * 11;
    const u32 valuesAt = matrixAt + rows * ((rules + 7) / 8);
    const u32 tableDAt = valuesAt + rules * 4;
    pool = tableDAt + u16(26);
    offsets = pool + u16(22);
  }
  u32 phrases, endings, pool, offsets;
};

class WordForms : public ::testing::Test {
 protected:
  void Load(const FormFiles& files) {
    WriteFile(dir_, "enue.ram", files.ram);
    WriteFile(dir_, "enue.dsk", files.dsk);
    WriteFile(dir_, "hash.dat", files.hash);
    ASSERT_EQ(INinitX(16, context_.get(), dir_.path().c_str()), InFormsFound);
    context_->lemmaLookup = 1;
  }
  void Load(const FormData& data) { Load(BuildFormFiles(data)); }
  void TearDown() override {
    INtermX(context_.get());
    EXPECT_EQ(ReLiveAllocations(), baseline_);
  }
  Strings Expand(const std::string& word, u32 expected = InFormsFound) {
    context_->formCount = 0;
    EXPECT_EQ(INinflectX(word.c_str(), context_.get()), expected) << word;
    return Forms(*context_);
  }

  TempDir dir_;
  std::unique_ptr<InFormContext> context_ = NewFormContext();
  i32 baseline_ = ReLiveAllocations();
};

// enue.ram, enue.dsk and hash.dat written out by hand: two ending rules
// ("ed" rule 1, "s" rule 0) and one entry record ("jump" with the past form
// "jumped", rule 1).
FormFiles HandFormFiles() {
  handbytes::HandFile ram(512);
  ram.Be16(0, 1);       // table C: 1 record of 11 bytes
  ram.Be16(2, 1);       // rule matrix: 1 row
  ram.Be16(4, 0);       // table A: none
  ram.Be16(6, 2);       // ending table: 2 records of 20 bytes
  ram.Be16(8, 2);       // 2 rules
  ram.Put(14, {0x20});  // flags: the ending table is present, table A not
  ram.Be16(15, 16);     // enue.dsk record length
  ram.Put(17, {8});     // code width
  ram.Be16(18, 3);      // phrases
  ram.Be16(22, 11);     // phrase pool bytes
  ram.Be16(24, 1);      // enue.dsk records
  ram.Be16(26, 0);      // table D: none
  // Ending table, sorted by the reversed ending: u16 rule, ending last letter
  // first (9 bytes), replacement (9 bytes).
  ram.Put(512, {0, 1, 'd', 'e'});            // "ed" -> "", rule 1
  ram.Put(532, {0, 0, 's'});                 // "s" -> "", rule 0
  ram.Text(552, "NN         ");              // table C
  ram.Put(563, {0});                         // the rule matrix
  ram.Put(564, {0, 1, 0, 2, 0, 10, 0, 20});  // rule values: firsts 1, 2; seconds 10, 20
  // Phrase pool: phrase 1 = entry head 0, "jump", kind 3; phrase 2 = rule 1,
  // suffix "ed", cut 0.
  ram.Put(572, {0, 'j', 'u', 'm', 'p', 3, 0, 1, 'e', 'd', 0});
  ram.Put(583, {0, 0, 0, 0, 6, 0});  // phrase offsets, little-endian: 0, 0, 6
  ram.Put(589, {0, 6, 5});           // phrase lengths
  ram.Text(592, "jump");             // the record's key
  FormFiles files;
  files.ram = ram.bytes();
  files.dsk = {1, 2, 0};  // codes 1, 2, end; padded to the record length
  files.dsk.resize(16, 0);
  // hash.dat: "jumped" hashes (worked out by the presence rule) to slot
  // 7920 with check byte 142.
  files.hash.assign(8192, 0);
  files.hash[7920] = 142;
  return files;
}

TEST_F(WordForms, HandWrittenFiles) {
  Load(HandFormFiles());
  EXPECT_EQ(PACKED(context_->endingCount), 2);
  EXPECT_EQ(PACKED(context_->recordCount), 1);
  // The entry scan gives the base word with rule 1's pair (2, 20); the "ed"
  // ending's form has the same pair and is not added again.
  EXPECT_EQ(Expand("jumped"), Strings{"jump"});
  EXPECT_EQ(PACKED(context_->formFirstValues[0]), 2);
  EXPECT_EQ(PACKED(context_->formSecondValues[0]), 20);
  // Unknown to hash.dat: the ending rules alone.
  EXPECT_EQ(Expand("walked"), Strings{"walk"});
  EXPECT_EQ(Expand("cats"), Strings{"cat"});
  EXPECT_EQ(PACKED(context_->formSecondValues[0]), 10);
  EXPECT_EQ(Expand("xyz", InNoForms), Strings{});
}

FormData SmallData() {
  FormData data;
  data.tags = {"NN", "NNS", "VB", "VBD"};
  data.rules = {{"plural", "NNS", "NN"}, {"past", "VBD", "VB"}, {"plain", "NN", "NN"}};
  data.endings = {{"plural", "s", ""}, {"past", "ed", ""}, {"plain", "xyz", ""}};
  data.entries = {{"jump", "jumped", "past"}, {"dog", "dogs", "plural"}};
  return data;
}

TEST_F(WordForms, SampleExpandsToBaseWordsAndOneEndingForm) {
  Load(builder::inflect::SampleEnglishForms());
  // Entry scan: "walk" twice (past, participle); the ending form has the
  // past pair already, so it is not added.
  EXPECT_EQ(Expand("walked"), (Strings{"walk", "walk"}));
  EXPECT_EQ(Expand("cities"), (Strings{"city"}));
  EXPECT_EQ(Expand("tries"), (Strings{"try", "try"}));
  // The empty ending of record 0 serves every word that nothing longer matched.
  EXPECT_EQ(Expand("walk"), (Strings{"walk", "walks"}));
  EXPECT_EQ(Expand("unknown"), (Strings{"unknowns"}));
  // Rule values of the forms: first = the form's tag, second = the base tag.
  Expand("cities");
  EXPECT_EQ(PACKED(context_->formFirstValues[0]), 1);
  EXPECT_EQ(PACKED(context_->formSecondValues[0]), 0);
}

TEST_F(WordForms, FormCountIsNotResetAndBoundsTheDuplicateTest) {
  Load(SmallData());
  context_->formCount = 0;
  INinflectX("jumped", context_.get());
  INinflectX("dogs", context_.get());
  EXPECT_EQ(Forms(*context_), (Strings{"jump", "dog"}));

  // A form already in the list with the ending's pair: a known word counts it
  // among its first n forms, an unknown word makes no duplicate test.
  context_->formCount = 1;  // "jump" with the past pair
  EXPECT_EQ(INinflectX("walked", context_.get()), InFormsFound);
  EXPECT_EQ(Forms(*context_), (Strings{"jump", "walk"}));
  context_->formCount = 1;
  EXPECT_EQ(INinflectX("jumped", context_.get()), InFormsFound);
  EXPECT_EQ(Forms(*context_), (Strings{"jump", "jump"}));  // scan form, ending form skipped
}

TEST_F(WordForms, WordEqualToItsEndingWithEmptyReplacementIsKept) {
  Load(SmallData());
  EXPECT_EQ(Expand("xyz"), (Strings{"xyz"}));
  EXPECT_EQ(Expand("cat", InNoForms), Strings{});  // no ending matches, nothing known
}

TEST_F(WordForms, OneLetterAndZeroCheckWordsAreFound) {
  // A word whose hash has a low byte of 0 is checked by its length.
  std::string zeroCheck;
  for (char a = 'a'; a <= 'z' && zeroCheck.empty(); ++a)
    for (char b = 'a'; b <= 'z' && zeroCheck.empty(); ++b)
      for (char c = 'a'; c <= 'z' && zeroCheck.empty(); ++c) {
        const std::string word{a, b, c};
        if ((builder::inflect::HashWord(word, true).h & 0xFF) == 0) zeroCheck = word;
      }
  ASSERT_FALSE(zeroCheck.empty());
  FormData data = SmallData();
  data.extraKnownWords = {"a", zeroCheck};
  const FormFiles files = BuildFormFiles(data);
  EXPECT_EQ(files.hash['a'], 'a');  // one letter: slot and check are the letter
  const auto hash = builder::inflect::HashWord(zeroCheck, true);
  EXPECT_EQ(files.hash[(hash.x & 32767) % 8192], 3);
  EXPECT_TRUE(InIsKnownWord(files.hash.data(), 8192, "a"));
  EXPECT_TRUE(InIsKnownWord(files.hash.data(), 8192, "A"));  // letters are lower-cased first
  EXPECT_TRUE(InIsKnownWord(files.hash.data(), 8192, zeroCheck.c_str()));
  EXPECT_FALSE(InIsKnownWord(files.hash.data(), 8192, "b"));
  EXPECT_FALSE(InIsKnownWord(files.hash.data(), 8192, ""));
}

TEST_F(WordForms, FlagClearLeavesTheEndingTableAbsent) {
  FormData data = SmallData();
  data.endings.clear();
  FormFiles files = BuildFormFiles(data);
  ASSERT_EQ(files.ram[14] & 0x20, 0);
  files.ram[7] = 5;  // a count without its flag is not read
  Load(files);
  EXPECT_EQ(PACKED(context_->endingCount), 0);
  EXPECT_EQ(Expand("jumped"), (Strings{"jump"}));
  EXPECT_EQ(Expand("dog", InNoForms), Strings{});
}

TEST_F(WordForms, TablesAAndDAreLoadedWhenPresent) {
  FormData data = SmallData();
  data.tableA = Bytes(40, 0xA1);
  data.tableD = {1, 2, 3, 4, 5, 6};
  Load(data);
  EXPECT_EQ(PACKED(context_->tableACount), 2);
  EXPECT_EQ(PACKED(context_->tableDCount), 2);
  EXPECT_EQ(context_->tableA[39], 0xA1);
  EXPECT_EQ(context_->tableD[5], 6);
  EXPECT_EQ(Expand("jumped"), (Strings{"jump"}));  // later tables still in place
  INtermX(context_.get());
  Load(SmallData());
  EXPECT_EQ(PACKED(context_->tableD), nullptr);  // size 0: nothing allocated or read
}

TEST_F(WordForms, TablesOf64KiBOrMoreAreLoadedWhole) {
  FormData data = SmallData();
  for (char a = 'a'; a <= 'z'; ++a)
    for (char b = 'a'; b <= 'z'; ++b)
      for (char c = 'a'; c <= 'e'; ++c) data.endings.push_back({"plural", std::string{'q', a, b, c}, "!"});
  ASSERT_GT(data.endings.size() * 20, 65536u);
  Load(data);
  EXPECT_EQ(PACKED(context_->endingCount), data.endings.size());
  // The last records (reversed "e..q") lie beyond the first 64 KiB of the table.
  EXPECT_EQ(Expand("xqzze"), (Strings{"x!"}));
}

TEST_F(WordForms, RecordLengthAbove32767IsUnsigned) {
  FormData data = SmallData();
  data.recordLength = 40000;
  Load(data);
  EXPECT_EQ(PACKED(context_->recordLength), 40000);
  EXPECT_EQ(Expand("dogs"), (Strings{"dog"}));
}

TEST_F(WordForms, FailedLoadsFreeEverything) {
  const FormFiles files = BuildFormFiles(SmallData());
  auto fails = [&](const Bytes& ram, const Bytes& dsk, const Bytes& hash, const char* what) {
    WriteFile(dir_, "enue.ram", ram);
    WriteFile(dir_, "enue.dsk", dsk);
    WriteFile(dir_, "hash.dat", hash);
    auto context = NewFormContext();
    EXPECT_EQ(INinitX(16, context.get(), dir_.path().c_str()), InInitFailed) << what;
    EXPECT_EQ(ReLiveAllocations(), baseline_) << what;
    EXPECT_EQ(PACKED(context->presence), nullptr) << what;
  };
  fails(files.ram, files.dsk, Bytes(8191, 1), "short hash.dat");
  fails(files.ram, Bytes(files.dsk.begin(), files.dsk.end() - 1), files.hash, "short enue.dsk");
  for (size_t cut : {size_t{0}, size_t{511}, size_t{512}, files.ram.size() / 2, files.ram.size() - 1})
    fails(Bytes(files.ram.begin(), files.ram.begin() + static_cast<long>(cut)), files.dsk, files.hash, "short ram");
  // A count far beyond the file fails before anything is allocated.
  Bytes huge = files.ram;
  huge[22] = huge[23] = 0xFF;
  fails(huge, files.dsk, files.hash, "declared pool beyond the file");

  WriteFile(dir_, "enue.ram", files.ram);
  WriteFile(dir_, "hash.dat", files.hash);
  std::remove(dir_.File("enue.dsk").c_str());
  auto context = NewFormContext();
  EXPECT_EQ(INinitX(16, context.get(), dir_.path().c_str()), InInitFailed);
  EXPECT_EQ(ReLiveAllocations(), baseline_);
  EXPECT_EQ(INinitX(16, nullptr, dir_.path().c_str()), InInitFailed);
  EXPECT_EQ(INinitX(16, context.get(), nullptr), InInitFailed);
}

TEST_F(WordForms, EveryAllocationFailureUnwinds) {
  const FormFiles files = BuildFormFiles(SmallData());
  WriteFile(dir_, "enue.ram", files.ram);
  WriteFile(dir_, "enue.dsk", files.dsk);
  WriteFile(dir_, "hash.dat", files.hash);
  for (u32 fail = 1;; ++fail) {
    auto context = NewFormContext();
    ReFailAllocationAfter(fail);
    const u32 result = INinitX(16, context.get(), dir_.path().c_str());
    ReFailAllocationAfter(0);
    if (result == InFormsFound) {
      EXPECT_GT(fail, 8u);  // every table was allocated
      INtermX(context.get());
      break;
    }
    EXPECT_EQ(result, InInitFailed);
    EXPECT_EQ(ReLiveAllocations(), baseline_) << fail;
  }
}

TEST_F(WordForms, BadRulesPhrasesAndCodesAreSkipped) {
  FormFiles files = BuildFormFiles(SmallData());
  const RamLayout layout(files.ram);
  // The ending record of "s" (reversed: "s") names a rule beyond the table.
  FormFiles badRule = files;
  for (u32 r = 0; r < 3; ++r)
    if (badRule.ram[layout.endings + r * 20 + 2] == 's') badRule.ram[layout.endings + r * 20] = 0xFF;
  Load(badRule);
  EXPECT_EQ(Expand("cats", InNoForms), Strings{});
  EXPECT_EQ(Expand("dogs"), (Strings{"dog"}));
  INtermX(context_.get());

  // Every phrase pointing past the pool: the records decode to nothing.
  FormFiles badPhrases = files;
  for (u32 p = 1; p < layout.phrases; ++p) badPhrases.ram[layout.offsets + p * 2 + 1] = 0xFF;
  Load(badPhrases);
  EXPECT_EQ(Expand("jumped"), (Strings{"jump"}));  // only the ending form is left
  INtermX(context_.get());

  // Codes that name no phrase, and a code width above 16.
  FormFiles badCodes = files;
  std::fill(badCodes.dsk.begin(), badCodes.dsk.end(), 0xFF);
  Load(badCodes);
  EXPECT_EQ(Expand("jumped"), (Strings{"jump"}));
  INtermX(context_.get());
  FormFiles wide = files;
  wide.ram[17] = 17;
  Load(wide);
  EXPECT_EQ(Expand("jumped"), (Strings{"jump"}));
}

TEST_F(WordForms, AnyWordLengthIsSafeAndLongFormsAreSkipped) {
  Load(SmallData());
  const std::string stem39(39, 'k');
  EXPECT_EQ(Expand(stem39 + "ed"), (Strings{stem39}));
  EXPECT_EQ(Expand(stem39 + "ked", InNoForms), Strings{});  // 40 letters: skipped, not cut
  EXPECT_EQ(Expand(std::string(100000, 'e') + "d", InNoForms), Strings{});
  EXPECT_EQ(INinflectX(nullptr, context_.get()), InNoForms);
  EXPECT_EQ(INinflectX("dogs", nullptr), InNoForms);
}

TEST_F(WordForms, AppendingStopsAt300Forms) {
  Load(SmallData());
  context_->formCount = 299;
  EXPECT_EQ(INinflectX("jumped", context_.get()), InFormsFound);
  EXPECT_EQ(PACKED(context_->formCount), 300);
  EXPECT_STREQ(context_->forms[299], "jump");
  EXPECT_EQ(INinflectX("dogs", context_.get()), InFormsFound);
  EXPECT_EQ(PACKED(context_->formCount), 300);
}

TEST_F(WordForms, EntryScanNeedsTheLemmaFlagAndKeepsCapitals) {
  FormData data = SmallData();
  data.entries.push_back({"Smith", "Smiths", "plain", true});
  Load(data);
  EXPECT_EQ(Expand("Smiths"), (Strings{"Smith", "Smith"}));  // entry scan, then the ending form
  EXPECT_EQ(Expand("smiths"), (Strings{"smith"}));           // the scan's match is case-exact
  context_->lemmaLookup = 0;
  EXPECT_EQ(Expand("Smiths"), (Strings{"Smith"}));
}

}  // namespace
