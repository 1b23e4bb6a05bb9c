// INflect on the built English and French sample data.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "inflect/conjugation.h"
#include "inflect/inflect_samples.h"
#include "inflect_fixture.h"
#include "packed.h"
#include "re_file.h"
#include "re_platform.h"

namespace {

using builder::inflect::BuildConjugationFiles;
using builder::inflect::ConjugationData;
using Strings = std::vector<std::string>;

class Tables : public ::testing::Test {
 protected:
  InTableContext& Open(const ConjugationData& data) {
    const auto files = BuildConjugationFiles(data);
    WriteFile(dir_, "data.ram", files.ram);
    WriteFile(dir_, "data.dsk", files.dsk);
    context_ = NewTableContext(dir_, "data.ram", "data.dsk");
    EXPECT_EQ(INinit(context_.get()), ReDone);
    return *context_;
  }
  InTableContext& English() { return Open(builder::inflect::SampleEnglishConjugation()); }
  InTableContext& French() { return Open(builder::inflect::SampleFrenchConjugation()); }
  void TearDown() override {
    if (context_) INterm(context_.get());
    EXPECT_EQ(ReLiveAllocations(), baseline_);
  }
  const InTableRecord& Table(int index = 0) { return *context_->tables[index]; }
  Strings LineTexts(const InTableRecord& r) {
    Strings texts;
    for (i16 l = 0; l < r.lineCount; ++l) texts.emplace_back(r.lines[l].text);
    return texts;
  }
  Strings Candidates() {
    Strings words;
    for (i16 i = 0; i < context_->candidateCount; ++i) words.emplace_back(context_->candidates[i]);
    return words;
  }

  TempDir dir_;
  std::unique_ptr<InTableContext> context_;
  i32 baseline_ = ReLiveAllocations();
};

TEST_F(Tables, EnglishVerbTableWithItsTensesAndTitleCells) {
  InTableContext& c = English();
  ASSERT_EQ(Flect(c, "walked", InEnglish), InBuilt);
  EXPECT_EQ(PACKED(c.mode), InModeReady);
  EXPECT_STREQ(c.baseWord, "walked");
  ASSERT_EQ(PACKED(c.tableCount), 1);
  const InTableRecord& r = Table();
  EXPECT_STREQ(r.word, "walk");
  EXPECT_STREQ(r.tag, "VB");
  EXPECT_STREQ(r.title, "Verb");
  EXPECT_STREQ(r.abbreviation, "v");
  EXPECT_EQ(LineTexts(r), (Strings{"Present", "Past", "Present perfect", "Past perfect", "Present progressive",
                                   "Past progressive", "Future", "Future perfect"}));
  ASSERT_EQ(PACKED(r.titleCount), 4);
  EXPECT_EQ(CellText(r.titles[0]), "Infinitive: |to walk");
  EXPECT_EQ(CellText(r.titles[1]), "Present participle: |walking");
  EXPECT_EQ(CellText(r.titles[2]), "Past participle: |walked");
  EXPECT_EQ(CellText(r.titles[3]), "Imperative: |walk");
  EXPECT_EQ(LineCell(r, "Present", 0), "I |walk");
  EXPECT_EQ(LineCell(r, "Present", 2), "he/she/it |walks");
  EXPECT_EQ(LineCell(r, "Past", 5), "they |walked");
  EXPECT_EQ(LineCell(r, "Present perfect", 2), "he/she/it has |walked");
  EXPECT_EQ(LineCell(r, "Past progressive", 1), "you were |walking");
  EXPECT_EQ(LineCell(r, "Future", 3), "we will |walk");
  EXPECT_EQ(LineCell(r, "Future perfect", 0), "I will have |walked");

  // French labels over English data: the tense names stay as they are.
  ASSERT_EQ(Flect(c, "walked", InFrench), InBuilt);
  EXPECT_STREQ(Table().title, "Verbe");
  EXPECT_EQ(CellText(Table().titles[0]), "Infinitif: |to walk");
  EXPECT_EQ(CellText(Table().titles[3]), "Imp\xE9ratif: |walk");
  EXPECT_STREQ(Table().lines[0].text, "Present");
}

TEST_F(Tables, VariantFormsCarryMarkersUnlessTheyAreTheTablesOwn) {
  InTableContext& c = English();
  ASSERT_EQ(Flect(c, "dream", InEnglish), InBuilt);
  const InTableRecord& r = Table();
  EXPECT_EQ(PACKED(r.flags), 0xC0);
  EXPECT_EQ(LineCell(r, "Past", 0), "I |dreamed (Am)/dreamt (Br)");
  EXPECT_EQ(LineCell(r, "Present perfect", 2), "he/she/it has |dreamed (Am)/dreamt (Br)");
  EXPECT_EQ(LineCell(r, "Present", 2), "he/she/it |dreams");  // flags equal the table's: no marker
  EXPECT_EQ(CellText(r.titles[0]), "Infinitive: |to dream");
}

TEST_F(Tables, IrregularVerbsAndBe) {
  InTableContext& c = English();
  ASSERT_EQ(Flect(c, "went", InEnglish), InBuilt);
  EXPECT_STREQ(Table().word, "go");
  EXPECT_EQ(LineCell(Table(), "Past", 1), "you |went");
  EXPECT_EQ(LineCell(Table(), "Present", 2), "he/she/it |goes");
  ASSERT_EQ(Flect(c, "was", InEnglish), InBuilt);
  const InTableRecord& be = Table();
  EXPECT_STREQ(be.tag, "BE");
  EXPECT_EQ(LineCell(be, "Present", 0), "I |am");
  EXPECT_EQ(LineCell(be, "Present", 2), "he/she/it |is");
  EXPECT_EQ(LineCell(be, "Present", 3), "we |are");
  EXPECT_EQ(LineCell(be, "Past", 2), "he/she/it |was");
  EXPECT_EQ(LineCell(be, "Past", 4), "you |were");
  EXPECT_EQ(LineCell(be, "Present perfect", 0), "I have |been");
  EXPECT_EQ(CellText(be.titles[0]), "Infinitive: |to be");
}

TEST_F(Tables, EnglishNounsAndAdjectives) {
  InTableContext& c = English();
  ASSERT_EQ(Flect(c, "cities", InEnglish), InBuilt);
  const InTableRecord& noun = Table();
  EXPECT_STREQ(noun.title, "Noun");
  EXPECT_EQ(PACKED(noun.titleCount), 0);
  EXPECT_EQ(LineTexts(noun), (Strings{"Noun forms"}));
  EXPECT_EQ(LineCell(noun, "Noun forms", 0), "singular: |city");
  EXPECT_EQ(LineCell(noun, "Noun forms", 1), "singular possessive: |city's");
  EXPECT_EQ(LineCell(noun, "Noun forms", 3), "plural possessive: |cities'");
  ASSERT_EQ(Flect(c, "men's", InFrench), InBuilt);
  EXPECT_EQ(LineCell(Table(),
                     "D\xE9"
                     "clinaison du nom",
                     2),
            "pluriel: |men");
  ASSERT_EQ(Flect(c, "happier", InEnglish), InBuilt);
  const InTableRecord& adjective = Table();
  EXPECT_EQ(PACKED(adjective.lines[0].cellCount), 3);
  EXPECT_EQ(LineCell(adjective, "Adjective forms", 1), "comparative adj.: |happier");
  EXPECT_EQ(LineCell(adjective, "Adjective forms", 2), "superlative adj.: |happiest");
}

TEST_F(Tables, OneWordCanGiveSeveralTables) {
  InTableContext& c = English();
  ASSERT_EQ(Flect(c, "walks", InEnglish), InBuilt);
  ASSERT_EQ(PACKED(c.tableCount), 2);
  Strings tags{c.tables[0]->tag, c.tables[1]->tag};
  std::sort(tags.begin(), tags.end());
  EXPECT_EQ(tags, (Strings{"NN", "VB"}));
}

TEST_F(Tables, EnglishPhrasesAndWordHashFallbacks) {
  InTableContext& c = English();
  ASSERT_EQ(Flect(c, "walk away", InEnglish), InBuilt);  // the first word of a phrase
  EXPECT_STREQ(c.baseWord, "walk");
  ASSERT_EQ(Flect(c, "doesn't", InEnglish), InBuilt);  // a known ending "n't"
  EXPECT_STREQ(c.baseWord, "does");
  EXPECT_STREQ(Table().word, "do");
  EXPECT_EQ(Flect(c, "qwerty", InEnglish), InNotFound);
  EXPECT_EQ(Flect(c, "qwerty walk", InEnglish), InNotFound);
  EXPECT_EQ(PACKED(c.mode), InModeReady);
  EXPECT_EQ(PACKED(c.tableCount), 0);
}

TEST_F(Tables, FrenchVerbWithPronounsElisionAndSubjunctive) {
  InTableContext& c = French();
  ASSERT_EQ(Flect(c, "aimons", InFrench), InBuilt);
  const InTableRecord& r = Table();
  EXPECT_STREQ(r.word, "aimer");
  EXPECT_STREQ(r.title, "Verbe");
  ASSERT_EQ(PACKED(r.lineCount), 15);
  EXPECT_STREQ(r.lines[0].text, "Pr\xE9sent");
  EXPECT_STREQ(r.lines[14].text, "Imp\xE9ratif");
  EXPECT_EQ(LineCell(r, "Pr\xE9sent", 0), "j'|aime");
  EXPECT_EQ(LineCell(r, "Pr\xE9sent", 3), "nous |aimons");
  EXPECT_EQ(LineCell(r, "Subjonctif pr\xE9sent", 0), "que j'|aime");
  EXPECT_EQ(LineCell(r, "Subjonctif pr\xE9sent", 2), "qu'il |aime");
  EXPECT_EQ(LineCell(r, "Pass\xE9 simple", 5), "ils |aim\xE8rent");
  EXPECT_EQ(LineCell(r, "Pass\xE9 compos\xE9", 0), "j'ai |aim\xE9");
  EXPECT_EQ(LineCell(r, "Pass\xE9 compos\xE9", 3), "nous avons |aim\xE9");  // avoir: no agreement
  EXPECT_EQ(LineCell(r, "Subjonctif pass\xE9", 5), "qu'ils aient |aim\xE9");
  EXPECT_EQ(LineCell(r, "Subjonctif plus-que-parfait", 2), "qu'il e\xFBt |aim\xE9");
  EXPECT_EQ(LineCell(r, "Imp\xE9ratif", 1), "tu |aime");
  EXPECT_EQ(LineCell(r, "Imp\xE9ratif", 0), "");
  EXPECT_EQ(CellText(r.titles[0]), "Infinitif: |aimer");
  EXPECT_EQ(CellText(r.titles[1]), "Participe pr\xE9sent: |aimant");
  EXPECT_EQ(CellText(r.titles[2]), "Participe pass\xE9: |aim\xE9");
  EXPECT_EQ(CellText(r.titles[3]), "|aim\xE9s");

  ASSERT_EQ(Flect(c, "aimons", InEnglish), InBuilt);  // English labels, French tense names
  EXPECT_STREQ(Table().title, "Verb");
  EXPECT_EQ(CellText(Table().titles[0]), "Infinitive: |aimer");
  EXPECT_STREQ(Table().lines[7].text, "Pass\xE9 compos\xE9");
}

TEST_F(Tables, FrenchEtreVerbsAgreeInThePlural) {
  InTableContext& c = French();
  ASSERT_EQ(Flect(c, "arriv\xE9", InFrench), InBuilt);
  const InTableRecord& r = Table();
  EXPECT_EQ(PACKED(r.verbFlags) & InCellEtre, InCellEtre);
  EXPECT_EQ(LineCell(r, "Pass\xE9 compos\xE9", 0), "je suis |arriv\xE9");
  EXPECT_EQ(LineCell(r, "Pass\xE9 compos\xE9", 4), "vous \xEAtes |arriv\xE9s");
  EXPECT_EQ(LineCell(r, "Plus-que-parfait", 0), "j'\xE9tais |arriv\xE9");  // elision before the auxiliary
  EXPECT_EQ(LineCell(r, "Subjonctif pass\xE9", 5), "qu'ils soient |arriv\xE9s");
  ASSERT_EQ(Flect(c, "allons", InFrench), InBuilt);
  EXPECT_EQ(LineCell(Table(), "Pr\xE9sent", 0), "je |vais");
  EXPECT_EQ(LineCell(Table(), "Futur", 0), "j'|irai");
  EXPECT_EQ(LineCell(Table(), "Pass\xE9 compos\xE9", 3), "nous sommes |all\xE9s");
}

TEST_F(Tables, FrenchReflexiveVerb) {
  InTableContext& c = French();
  ASSERT_EQ(Flect(c,
                  "s'\xE9"
                  "crie",
                  InFrench),
            InBuilt);  // elided beginning from the word hash
  EXPECT_STREQ(c.baseWord,
               "\xE9"
               "crie");
  const InTableRecord& r = Table();
  EXPECT_EQ(CellText(r.titles[0]),
            "Infinitif: |s'\xE9"
            "crier");
  EXPECT_EQ(LineCell(r, "Pr\xE9sent", 0),
            "je m'|\xE9"
            "crie");
  EXPECT_EQ(LineCell(r, "Pr\xE9sent", 3),
            "nous nous |\xE9"
            "crions");
  EXPECT_EQ(LineCell(r, "Pass\xE9 compos\xE9", 0),
            "je me suis |\xE9"
            "cri\xE9");
  EXPECT_EQ(LineCell(r, "Pass\xE9 compos\xE9", 2),
            "il s'est |\xE9"
            "cri\xE9");
  EXPECT_EQ(LineCell(r, "Pass\xE9 compos\xE9", 5),
            "ils se sont |\xE9"
            "cri\xE9s");
  // The second person singular of the imperative of a reflexive verb toggles its final "s".
  EXPECT_EQ(LineCell(r, "Imp\xE9ratif", 1),
            "tu t'|\xE9"
            "cries");
}

TEST_F(Tables, FrenchElisionBeforeHUnlessAspirate) {
  InTableContext& c = French();
  ASSERT_EQ(Flect(c, "habite", InFrench), InBuilt);
  EXPECT_EQ(LineCell(Table(), "Pr\xE9sent", 0), "j'|habite");
  ASSERT_EQ(Flect(c, "hurle", InFrench), InBuilt);
  EXPECT_EQ(LineCell(Table(), "Pr\xE9sent", 0), "je |hurle");
  EXPECT_EQ(LineCell(Table(), "Pass\xE9 compos\xE9", 0), "j'ai |hurl\xE9");
}

TEST_F(Tables, FrenchPhrasesAndSpecialForms) {
  InTableContext& c = French();
  ASSERT_EQ(Flect(c, "se laver", InFrench), InBuilt);  // the last word of a phrase
  EXPECT_STREQ(c.baseWord, "laver");
  ASSERT_EQ(Flect(c, "aime-t-il", InFrench), InBuilt);  // a known hyphenated ending
  EXPECT_STREQ(Table().word, "aimer");
  ASSERT_EQ(Flect(c, "c'est", InFrench), InBuilt);
  EXPECT_STREQ(c.baseWord, "est");
  EXPECT_STREQ(Table().word, "\xEAtre");
  ASSERT_EQ(Flect(c, "C'\xE9tait", InFrench), InBuilt);
  EXPECT_EQ(LineCell(Table(), "Imparfait", 2), "il |\xE9tait");
  EXPECT_EQ(Flect(c, "c'estime", InFrench), InNotFound);
}

TEST_F(Tables, FrenchNounsAndAdjectivesInTheCallersCode) {
  InTableContext& c = French();
  ASSERT_EQ(Flect(c, "chevaux", InFrench), InBuilt);
  EXPECT_EQ(LineCell(Table(),
                     "D\xE9"
                     "clinaison du nom",
                     0),
            "masculin singulier: |cheval");
  EXPECT_EQ(LineCell(Table(),
                     "D\xE9"
                     "clinaison du nom",
                     1),
            "masculin pluriel: |chevaux");
  ASSERT_EQ(Flect(c, "\xE9l\xE8ves", InFrench), InBuilt);  // both genders
  EXPECT_EQ(LineCell(Table(),
                     "D\xE9"
                     "clinaison du nom",
                     2),
            "f\xE9minin singulier: |\xE9l\xE8ve");
  EXPECT_EQ(LineCell(Table(),
                     "D\xE9"
                     "clinaison du nom",
                     1),
            "masculin pluriel: |\xE9l\xE8ves");
  // The caller's oe ligature (0x9C) is 0xF7 in the data and comes back as 0x9C.
  ASSERT_EQ(Flect(c, "c\x9Curs", InFrench), InBuilt);
  EXPECT_STREQ(Table().word, "c\x9Cur");
  EXPECT_EQ(LineCell(Table(),
                     "D\xE9"
                     "clinaison du nom",
                     1),
            "masculin pluriel: |c\x9Curs");
  ASSERT_EQ(Flect(c, "heureuses", InEnglish), InBuilt);
  EXPECT_STREQ(Table().title, "Adjective");
  EXPECT_EQ(LineCell(Table(), "Adjective forms", 2), "feminine singular: |heureuse");
}

TEST_F(Tables, ResultCodesForBadArguments) {
  InTableContext& c = English();
  EXPECT_EQ(INflect(nullptr, &c), InNoTable);
  EXPECT_EQ(INflect("walk", nullptr), InNoTable);
  c.mode = 7;
  EXPECT_EQ(INflect("walk", &c), InNoTable);
  EXPECT_EQ(Flect(c, std::string(81, 'a'), InEnglish), InNotFound);
  EXPECT_EQ(Flect(c, std::string(100000, 'a'), InEnglish), InNotFound);
  EXPECT_EQ(Flect(c, "", InEnglish), InNotFound);
  EXPECT_EQ(Flect(c, "walk", InEnglish), InBuilt);
}

TEST_F(Tables, AFailedRecordReadIsReported) {
  InTableContext& c = French();
  ReCloseDataFile(static_cast<ReFileHandle>(PACKED(c.dskFile)));  // the .dsk goes away under the engine
  EXPECT_EQ(Flect(c, "aimer", InFrench), InNotFound);
  EXPECT_EQ(PACKED(c.error), InErrorRead);
  c.dskOpen = 0;
}

TEST_F(Tables, UnknownTagsGiveNoTable) {
  ConjugationData data = builder::inflect::SampleEnglishConjugation();
  data.paradigms.push_back({"unlisted", "XX", {{"XX", "", ""}, {"XXS", "s", ""}}});
  data.headwords.push_back({"blorp", "unlisted"});
  InTableContext& c = Open(data);
  EXPECT_EQ(Flect(c, "blorps", InEnglish), InNoTable);
  EXPECT_EQ(PACKED(c.tableCount), 0);
}

TEST_F(Tables, OneTagRecordReturnsAtOnce) {
  ConjugationData data;
  data.tableIndex = InEnglish;
  data.paradigms = {{"noun", "NN", {{"NN", "", ""}}}};
  data.headwords = {{"dog", "noun"}};
  InTableContext& c = Open(data);
  EXPECT_EQ(Flect(c, "dog", InEnglish), InNoTable);  // found, but no candidate to tabulate
  c.mode = InModeBuild;
  EXPECT_EQ(INflect("dog", &c), InBuilt);
  EXPECT_EQ(PACKED(c.candidateCount), 0);
  EXPECT_EQ(PACKED(c.entryCount), 1);
}

TEST_F(Tables, EachCallFreesThePreviousTables) {
  InTableContext& c = French();
  ASSERT_EQ(Flect(c, "finissons", InFrench), InBuilt);
  const i32 live = ReLiveAllocations();
  for (int i = 0; i < 3; ++i) ASSERT_EQ(Flect(c, "vendu", InFrench), InBuilt);
  EXPECT_EQ(ReLiveAllocations(), live);
  EXPECT_EQ(Flect(c, "zzz", InFrench), InNotFound);
  EXPECT_LT(ReLiveAllocations(), live);
}

TEST_F(Tables, NestedModesAnalyseOrListForms) {
  InTableContext& c = French();
  c.mode = InModeBuild;
  ASSERT_EQ(INflect("vendons", &c), InBuilt);
  EXPECT_EQ(Candidates(), (Strings{"vendre", "vendre"}));  // present and imperative
  c.mode = InModeFill;
  ASSERT_EQ(INflect("vendre", &c), InBuilt);
  const Strings forms = Candidates();
  for (const char* form : {"vendre", "vends", "vendons", "vendrions", "vendu", "vendus", "vendant"})
    EXPECT_NE(std::find(forms.begin(), forms.end(), form), forms.end()) << form;
}

TEST_F(Tables, TheStemChecksOfFlags80And08) {
  ConjugationData data = builder::inflect::SampleEnglishConjugation();
  data.flags = 0x20;  // no check: every ending gives its stem
  InTableContext& unchecked = Open(data);
  unchecked.mode = InModeBuild;
  ASSERT_EQ(INflect("quacked", &unchecked), InBuilt);
  EXPECT_EQ(Candidates(), (Strings{"quack", "quack"}));  // not a headword, kept all the same
  INterm(context_.get());

  // 0x80: a stem is kept only when it is a headword that has the word as a form.
  InTableContext& checked = English();
  checked.mode = InModeBuild;
  EXPECT_EQ(INflect("quacked", &checked), InNotFound);
  checked.mode = InModeBuild;
  ASSERT_EQ(INflect("walked", &checked), InBuilt);
  EXPECT_EQ(Candidates(), (Strings{"walk", "walk"}));
  INterm(context_.get());

  // 0x08: only rules that a dictionary entry of the word lists.
  data.flags = 0x20 | 0x08;
  data.headwords.push_back({"walks", "verb", 0, 0xE0});
  InTableContext& listed = Open(data);
  listed.mode = InModeBuild;
  ASSERT_EQ(INflect("walks", &listed), InBuilt);
  EXPECT_EQ(Candidates(), (Strings{"walks", "walk"}));  // the entry itself, and its third person
  EXPECT_EQ(PACKED(listed.candidateSecondBytes[1]), 0xE0);
}

TEST_F(Tables, HashedLookupRewritesAreBounded) {
  ConjugationData data = builder::inflect::SampleEnglishConjugation();
  data.tags = {"VB"};  // hashed rewrites carry the rule values (0, 0)
  data.hashed = {{"went", {{4, "go"}}}, {"ab", {{9, "x"}, {0, "y"}}}};
  InTableContext& c = Open(data);
  c.mode = InModeBuild;
  ASSERT_EQ(INflect("went", &c), InBuilt);
  EXPECT_EQ(Candidates(), (Strings{"go"}));
  c.mode = InModeBuild;
  ASSERT_EQ(INflect("ab", &c), InBuilt);
  EXPECT_EQ(Candidates(), (Strings{"x", "aby"}));  // a cut beyond the word stops at its start
  c.mode = InModeBuild;
  EXPECT_EQ(INflect("gone", &c), InNotFound);
  ASSERT_EQ(Flect(c, "went", InEnglish), InBuilt);
  EXPECT_STREQ(Table().word, "go");
  EXPECT_STREQ(Table().tag, "VB");

  // An index entry whose start is -1, or beyond table G, finds nothing.
  for (u8 start : {0, 200}) {
    for (u16 slot = 0; slot < PACKED(c.hashIndexCount); ++slot) {
      u8* entry = c.hashIndex + slot * 4;
      if (entry[0] | entry[1] | entry[2] | entry[3]) {
        entry[0] = start;
        entry[1] &= 0x1F;
      }
    }
    c.mode = InModeBuild;
    EXPECT_EQ(INflect("went", &c), InNotFound) << int(start);
  }
}

TEST_F(Tables, AllocationFailuresWhileBuildingGiveNoTable) {
  InTableContext& c = English();
  const i32 live = ReLiveAllocations();
  for (u32 fail = 1;; ++fail) {
    ReFailAllocationAfter(fail);
    const u32 result = Flect(c, "walks", InEnglish);
    ReFailAllocationAfter(0);
    if (result == InBuilt) break;
    EXPECT_EQ(result, InNoTable) << fail;
    EXPECT_EQ(PACKED(c.error), InErrorMemory);
    EXPECT_EQ(PACKED(c.tableCount), 0);
    EXPECT_EQ(ReLiveAllocations(), live);
    c.error = 0;
  }
  EXPECT_EQ(PACKED(c.tableCount), 2);
}

}  // namespace
