// REetpar over built databases: a thesaurus, an English dictionary of tagged
// entries and a French-English dictionary in text mode.
#include <gtest/gtest.h>

#include <cstring>

#include "engine_db/lists_samples.h"
#include "lists_fixture.h"
#include "packed.h"
#include "re_entlst_slots.h"
#include "re_lists_codes.h"
#include "re_platform.h"

namespace {

using namespace liststest;
namespace edb = builder::engine_db;
using Texts = std::vector<std::string>;

TEST(EtParThesaurus, SensesAndSynonyms) {
  edb::BuiltThesaurus thesaurus = edb::ThesaurusDatabase(edb::EnglishThesaurus());
  ListsDb db(thesaurus.database);
  ASSERT_EQ(db.Lookup("run"), ReDone);
  ASSERT_EQ(db.Parse(500, ReActOpen), ReDone);
  const ReEtParResult* r = db.result();
  ASSERT_NE(r, nullptr);
  EXPECT_STREQ(r->string00, "Thesaurus");
  EXPECT_EQ(r->headword, nullptr);
  ASSERT_EQ(PACKED(r->count), 2);
  // The verb ring (run, dash, sprint, race) and the noun ring (run, trip, jaunt).
  const ReEtParEntry* verb =
      r->entries[0]->label1 && std::string(r->entries[0]->label1) == "verb" ? r->entries[0] : r->entries[1];
  const ReEtParEntry* noun = verb == r->entries[0] ? r->entries[1] : r->entries[0];
  EXPECT_STREQ(verb->headline, "run");
  EXPECT_STREQ(verb->label2, "Synonyms");
  EXPECT_EQ(PACKED(verb->classCode), 1);
  EXPECT_EQ(ItemTexts(verb), (Texts{"dash", "sprint", "race"}));
  EXPECT_STREQ(noun->label1, "noun");
  EXPECT_EQ(ItemTexts(noun), (Texts{"trip", "jaunt"}));
  for (i16 k = 0; k < verb->itemCount; ++k) {
    EXPECT_EQ(PACKED(verb->items[k]->group), 1);
    EXPECT_EQ(verb->items[k]->second, nullptr);
    EXPECT_EQ(PACKED(verb->items[k]->number), ReNoItemNumber);
  }
  EXPECT_EQ(db.Parse(500, ReActClose), ReDone);
  EXPECT_EQ(db.result(), nullptr);
}

TEST(EtParThesaurus, RingOfOneMemberHasNoSynonyms) {
  ListsDb db(edb::ThesaurusDatabase(edb::EnglishThesaurus()).database);
  ASSERT_EQ(db.Lookup("Polish"), ReDone);
  ASSERT_EQ(db.Parse(500, ReActOpen), ReDone);
  ASSERT_EQ(PACKED(db.result()->count), 1);
  EXPECT_EQ(PACKED(db.result()->entries[0]->itemCount), 0);
  EXPECT_STREQ(db.result()->entries[0]->label1, "adjective");
}

TEST(EtParThesaurus, AFreedBlockTakesItsResultAlong) {
  ListsDb db(edb::ThesaurusDatabase(edb::EnglishThesaurus()).database);
  ASSERT_EQ(db.Lookup("run"), ReDone);
  const i32 live = ReLiveAllocations();
  void* pointer = nullptr;
  ASSERT_EQ(REmemory(&pointer, db.db().block(), ReBlockEtPar, ReActOpen, 0), ReDone);
  auto* block = static_cast<ReEtParBlock*>(pointer);
  block->databaseRecord = db.db().block();
  block->slots = db.list()->slots;
  block->slotCount = static_cast<i16>(db.Slots().size());
  ASSERT_EQ(REetpar(block, 500, ReActOpen), ReDone);
  ASSERT_NE(PACKED(block->result), nullptr);
  // Freed without the closing call: the result goes with the block.
  ASSERT_EQ(REmemory(&pointer, nullptr, ReBlockEtPar, ReActClose, 0), ReDone);
  EXPECT_EQ(ReLiveAllocations(), live);
}

class EnglishParse : public ::testing::Test {
 protected:
  ListsDb db_{edb::DictionaryDatabase(edb::EnglishDictionary())};
};

TEST_F(EnglishParse, EntryLinesBecomeSubItems) {
  ASSERT_EQ(db_.Lookup("run"), ReDone);
  ASSERT_EQ(db_.Parse(500, ReActOpen), ReDone);
  const ReEtParEntry* run = db_.result()->entries[0];
  EXPECT_STREQ(run->headline, "run");
  EXPECT_STREQ(run->label1, "verb");
  ASSERT_EQ(ItemTexts(run), (Texts{"dash", "sprint", "race"}));
  EXPECT_STREQ(run->items[0]->second, "run fast");
  EXPECT_EQ(run->items[1]->second, nullptr);
  EXPECT_STREQ(run->items[2]->second, "*");
  EXPECT_EQ(PACKED(run->items[2]->star), 1);
  EXPECT_EQ(PACKED(run->items[2]->group), 6);
  EXPECT_EQ(PACKED(run->items[2]->number), 7u);
}

// The reader parses the slots of a headword lookup: a spelling variant
// reaches the parser as the entry writes it.
TEST_F(EnglishParse, AHeadwordLookupKeepsTheEscapesThePartsAreMadeOf) {
  ASSERT_EQ(db_.Lookup("realize"), ReDone);
  ASSERT_EQ(db_.Slots().size(), 1u);
  EXPECT_EQ(db_.Slots()[0].title, "reali<{sz}>e");
  ASSERT_EQ(db_.Parse(500, ReActOpen), ReDone);
  ASSERT_EQ(PACKED(db_.result()->count), 1);
  EXPECT_STREQ(db_.result()->entries[0]->headline, "realize");
}

TEST_F(EnglishParse, AntonymsTakeTheirLabel) {
  ASSERT_EQ(db_.Lookup("cat"), ReDone);
  ASSERT_EQ(db_.Parse(500, ReActOpen), ReDone);
  const ReEtParEntry* cat = db_.result()->entries[0];
  ASSERT_EQ(ItemTexts(cat), (Texts{"kitty", "puss", "dog"}));
  EXPECT_STREQ(cat->items[2]->second, "Antonyms");
  EXPECT_EQ(PACKED(cat->items[2]->group), 3);
}

TEST_F(EnglishParse, ClassWithoutARecordHasNoLabel) {
  ASSERT_EQ(db_.Lookup("bass"), ReDone);
  ReEntListSlot second = ReReadSlot(db_.list()->slots, 1);
  second.wordClass = 9;  // no record (1, 9)
  ReWriteSlot(db_.list()->slots, 1, second);
  ASSERT_EQ(db_.Parse(500, ReActOpen), ReDone);
  ASSERT_EQ(PACKED(db_.result()->count), 2);
  EXPECT_STREQ(db_.result()->entries[0]->label1, "noun");
  EXPECT_EQ(db_.result()->entries[1]->label1, nullptr);
  EXPECT_STREQ(db_.result()->entries[1]->headline, "bass (2)");
}

TEST_F(EnglishParse, CurrentSlotOnlyAndItsReparse) {
  // Slots: run (entry 4) from a lookup, then cat (entry 1) put in by hand.
  ASSERT_EQ(db_.Lookup("run"), ReDone);
  ReEntListSlot cat = ReReadSlot(db_.list()->slots, 1);
  cat.entry = 1;
  cat.wordClass = edb::kClassNoun;
  std::strcpy(cat.title, "cat");
  ReWriteSlot(db_.list()->slots, 1, cat);
  db_.list()->count = 2;

  ASSERT_EQ(db_.Parse(510, ReActOpen, 1), ReDone);
  const ReEtParResult* r = db_.result();
  ASSERT_EQ(PACKED(r->count), 2);
  EXPECT_EQ(PACKED(r->current), 1);
  EXPECT_EQ(PACKED(r->entries[0]->itemCount), 0);  // only the current slot's text is read
  EXPECT_EQ(ItemTexts(r->entries[1]), (Texts{"kitty", "puss", "dog"}));

  // 460 on the same slots: the sub-items of the new current slot only.
  char* firstHeadline = r->entries[0]->headline;
  ASSERT_EQ(db_.Parse(510, ReActReset, 0), ReDone);
  EXPECT_EQ(db_.result(), r);
  EXPECT_EQ(r->entries[0]->headline, firstHeadline);  // kept
  EXPECT_EQ(PACKED(r->current), 0);
  EXPECT_EQ(ItemTexts(r->entries[0]), (Texts{"dash", "sprint", "race"}));
  EXPECT_EQ(PACKED(r->entries[1]->itemCount), 0);

  // Changed slots: 460 parses anew.
  std::strcpy(ReReadSlot(db_.list()->slots, 1).title, "kitten");
  ASSERT_EQ(db_.Parse(510, ReActReset, 1), ReDone);
  EXPECT_STREQ(db_.result()->entries[1]->headline, "kitten");
}

TEST_F(EnglishParse, ResetWithoutAResultIsRefusedButParses) {
  ASSERT_EQ(db_.Lookup("cat"), ReDone);
  EXPECT_EQ(db_.Parse(510, ReActReset, 0), ReFail);
  EXPECT_EQ(PACKED(db_.etparStatus().error), ReErrAction);
  EXPECT_EQ(PACKED(db_.etparStatus().module), ReModEtParWork);
  ASSERT_NE(db_.result(), nullptr);
  EXPECT_EQ(ItemTexts(db_.result()->entries[0]), (Texts{"kitty", "puss", "dog"}));
}

TEST_F(EnglishParse, FrameCodes) {
  ASSERT_EQ(db_.Lookup("cat"), ReDone);
  EXPECT_EQ(REetpar(nullptr, 500, ReActOpen), ReFail);
  // A block without its database returns 8 and writes nothing.
  db_.etpar()->databaseRecord = nullptr;
  db_.etpar()->status->error = 1;
  EXPECT_EQ(REetpar(db_.etpar(), 500, ReActOpen), ReFail);
  EXPECT_EQ(PACKED(db_.etparStatus().error), 1);
  EXPECT_EQ(db_.Parse(520, ReActOpen), ReFail);
  EXPECT_EQ(PACKED(db_.etparStatus().error), ReErrFunction);
  EXPECT_EQ(PACKED(db_.etparStatus().module), ReModEtPar);
  EXPECT_EQ(db_.Parse(500, ReActNext), ReFail);
  EXPECT_EQ(PACKED(db_.etparStatus().error), ReErrAction);
  // A current slot outside the list cannot be read.
  EXPECT_EQ(db_.Parse(510, ReActOpen, 5), ReFail);
  EXPECT_EQ(PACKED(db_.etparStatus().error), ReWarnNothing);
  EXPECT_EQ(db_.Parse(510, ReActOpen, -1), ReFail);
}

TEST_F(EnglishParse, EntryOutsideTheDatabaseCannotBeRead) {
  ASSERT_EQ(db_.Lookup("cat"), ReDone);
  ReEntListSlot slot = ReReadSlot(db_.list()->slots, 0);
  slot.entry = 999;
  ReWriteSlot(db_.list()->slots, 0, slot);
  EXPECT_EQ(db_.Parse(500, ReActOpen), ReFail);
  EXPECT_EQ(PACKED(db_.etparStatus().error), ReWarnNothing);
  EXPECT_EQ(PACKED(db_.etparStatus().module), ReModEtParWork);
}

TEST_F(EnglishParse, EveryAllocationFailureIsReportedAndUnwound) {
  ASSERT_EQ(db_.Lookup("run"), ReDone);
  ASSERT_EQ(db_.Parse(500, ReActOpen), ReDone);
  ASSERT_EQ(db_.Parse(500, ReActClose), ReDone);
  const i32 live = ReLiveAllocations();
  u32 failures = 0;
  for (u32 fail = 1; fail < 200; ++fail) {
    ReFailAllocationAfter(fail);
    const u32 result = db_.Parse(500, ReActOpen);
    ReFailAllocationAfter(0);
    if (result == ReFail) {
      ++failures;
      EXPECT_NE(PACKED(db_.etparStatus().error), 0);
    } else {
      EXPECT_EQ(ItemTexts(db_.result()->entries[0]), (Texts{"dash", "sprint", "race"}));
    }
    ASSERT_EQ(db_.Parse(500, ReActClose), ReDone);
    EXPECT_EQ(ReLiveAllocations(), live) << fail;
  }
  EXPECT_GT(failures, 10u);
}

TEST(EtParLongEntry, LinesCarryAcrossThePiecesOfTheText) {
  // One line of 400 synonyms: REentry hands it out in pieces of 1023 bytes.
  edb::DictionarySpec spec;
  auto word = [](int i) { return std::string(1, 'w').append(std::to_string(i)); };
  std::string line = "<SY>w0";
  for (int i = 1; i < 400; ++i) line.append("<D1>").append(word(i));
  spec.entries = {"<WD>many\n" + line + "\n<AN>few"};
  spec.headwords = {{"many", 1, 1, 0}};
  ListsDb db(edb::DictionaryDatabase(spec));
  ASSERT_EQ(db.Lookup("many"), ReDone);
  ASSERT_EQ(db.Parse(500, ReActOpen), ReDone);
  const Texts items = ItemTexts(db.result()->entries[0]);
  ASSERT_EQ(items.size(), 401u);
  for (int i = 0; i < 400; ++i) ASSERT_EQ(items[i], word(i));
  EXPECT_EQ(items[400], "few");
}

class FrenchParse : public ::testing::Test {
 protected:
  ListsDb db_{edb::DictionaryDatabase(edb::FrenchEnglishDictionary())};
};

TEST_F(FrenchParse, TextModeEntriesFromLines) {
  ASSERT_EQ(db_.Lookup("\xE9t\xE9"), ReDone);
  ASSERT_EQ(db_.Parse(500, ReActOpen), ReDone);
  const ReEtParResult* r = db_.result();
  EXPECT_STREQ(r->string00,
               "Fran\xE7"
               "ais-Anglais");
  EXPECT_STREQ(r->headword, "\xE9t\xE9");
  ASSERT_EQ(PACKED(r->count), 2);
  EXPECT_STREQ(r->entries[0]->headline, "\xE9t\xE9");
  EXPECT_STREQ(r->entries[0]->label1, "n.m.");
  EXPECT_STREQ(r->entries[0]->label2, "Traductions");
  EXPECT_EQ(PACKED(r->entries[0]->classCode), 1);
  EXPECT_EQ(ItemTexts(r->entries[0]), Texts{"summer"});
  EXPECT_STREQ(r->entries[1]->label1, "p.p.");
  EXPECT_EQ(ItemTexts(r->entries[1]), Texts{"been"});
  EXPECT_EQ(PACKED(r->current), 0);  // the word is the headword: nothing sought
}

TEST_F(FrenchParse, CurrentEntryBySubItem) {
  ASSERT_EQ(db_.Lookup("\xE9t\xE9"), ReDone);
  db_.etpar()->selectionFlag = 1;
  std::strcpy(db_.etpar()->text, "been");
  ASSERT_EQ(db_.Parse(500, ReActOpen), ReDone);
  EXPECT_EQ(PACKED(db_.result()->current), 1);
}

TEST_F(FrenchParse, AntonymLineTakesTheGroupName) {
  ASSERT_EQ(db_.Lookup("chanter"), ReDone);
  ASSERT_EQ(db_.Parse(500, ReActOpen), ReDone);
  const ReEtParResult* r = db_.result();
  ASSERT_EQ(PACKED(r->count), 2);
  EXPECT_STREQ(r->entries[1]->headline, "Antonymes");
  EXPECT_STREQ(r->entries[1]->label2, "Antonymes");
  EXPECT_EQ(PACKED(r->entries[1]->classCode), 3);
  EXPECT_EQ(ItemTexts(r->entries[1]), Texts{"se taire"});
}

TEST(FrenchParseFolding, CapitalAccentsFoldUnderOption64) {
  ListsDb db(edb::DictionaryDatabase(edb::FrenchEnglishDictionary()), 0, 64);
  ASSERT_EQ(db.Lookup("\xE9tat"), ReDone);
  ASSERT_EQ(db.Parse(500, ReActOpen), ReDone);
  ASSERT_EQ(PACKED(db.result()->count), 1);
  EXPECT_STREQ(db.result()->entries[0]->headline, "ETAT");
  EXPECT_STREQ(db.result()->headword, "ETAT");
}

}  // namespace
