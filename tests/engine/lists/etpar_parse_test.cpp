// The tagged-text parser on its own: nodes, text assembly, sub-items and their
// second texts, text-mode entries and the choice of the current entry.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "packed.h"
#include "re_charclass.h"
#include "re_etpar_parse.h"
#include "re_platform.h"

namespace {

// String-table records by (key1, key2): first and second string.
using Labels = std::map<std::pair<int, int>, std::pair<std::string, std::string>>;

u32 LookUp(void* context, u16 key1, u16 key2, bool second, char** text) {
  const auto* labels = static_cast<const Labels*>(context);
  auto found = labels->find({static_cast<i16>(key1), static_cast<i16>(key2)});
  if (found == labels->end()) return ReWarn;
  const std::string& s = second ? found->second.second : found->second.first;
  *text = ReCopyText(s.data(), static_cast<u32>(s.size()));
  return *text ? ReDone : ReFail;
}

class Parser : public ::testing::Test {
 protected:
  void SetUp() override { live_ = ReLiveAllocations(); }
  void TearDown() override {
    for (ReEtParEntry* entry : entries_) ReFreeEntry(entry);
    ReFreeResult(result_);
    ReFreeParser(&parser_);
    EXPECT_EQ(ReLiveAllocations(), live_);
  }
  void Start(u16 kind = 16, u16 mask = 128) {
    ReInitParser(&parser_, ReTextFormat{kind, mask, ReCharClassTable(static_cast<u8>(kind))},
                 ReLabelSource{&labels_, LookUp});
  }
  // Parses lines as the text of one entry.
  ReEtParEntry* Entry(std::initializer_list<std::string> lines) {
    auto* entry = static_cast<ReEtParEntry*>(ReHeapAlloc(sizeof(ReEtParEntry)));
    entries_.push_back(entry);
    for (const std::string& line : lines)
      EXPECT_EQ(ReParseEntryLine(&parser_, line.data(), static_cast<u32>(line.size()), entry), ReDone);
    return entry;
  }
  ReEtParResult* TextMode(std::initializer_list<std::string> lines) {
    result_ = static_cast<ReEtParResult*>(ReHeapAlloc(sizeof(ReEtParResult)));
    for (const std::string& line : lines)
      EXPECT_EQ(ReParseTextModeLine(&parser_, line.data(), static_cast<u32>(line.size()), result_), ReDone);
    return result_;
  }
  std::string Assemble(const std::string& text) {
    std::vector<ReTagNode> nodes(text.size() + 1);
    ReNodeLine line{
        text.data(), nodes.data(),
        ReCutNodes(text.data(), static_cast<u32>(text.size()), nodes.data(), static_cast<u32>(nodes.size()))};
    char buffer[256] = {};
    ReTextOut out{buffer, sizeof buffer - 1, 0};
    ReAssembleRun(parser_.format, line, 0, &out);
    return std::string(buffer, out.length);
  }

  Labels labels_;
  ReEtParser parser_{};
  std::vector<ReEtParEntry*> entries_;
  ReEtParResult* result_ = nullptr;
  i32 live_ = 0;
};

struct Node {
  u32 offset, length;
  u8 code;
  bool operator==(const Node&) const = default;
};

std::vector<Node> Cut(const std::string& text) {
  std::vector<ReTagNode> nodes(text.size() + 1);
  u32 count = ReCutNodes(text.data(), static_cast<u32>(text.size()), nodes.data(), static_cast<u32>(nodes.size()));
  std::vector<Node> out;
  for (u32 i = 0; i < count; ++i) out.push_back({nodes[i].offset, nodes[i].length, nodes[i].code});
  return out;
}

TEST(TaggedText, CutsTagsAndTextIntoNodes) {
  EXPECT_EQ(Cut("<SY>cat<D1>kitty</SY>"),
            (std::vector<Node>{
                {0, 4, ReTagSY}, {4, 3, ReTagTextNode}, {7, 4, ReTagD1}, {11, 5, ReTagTextNode}, {16, 5, ReTagSYEnd}}));
  EXPECT_EQ(Cut("<{sz}><TRADE></E0></BB></HY></ID>"), (std::vector<Node>{{0, 6, ReTagSz},
                                                                         {6, 7, ReTagTrade},
                                                                         {13, 5, ReTagE0End},
                                                                         {18, 5, ReTagBBEnd},
                                                                         {23, 5, ReTagHYEnd},
                                                                         {28, 5, ReTagIDEnd}}));
  // An unknown tag is one text node up to and including its '>'; text after
  // it is a node of its own.
  EXPECT_EQ(Cut("a<XY>b"), (std::vector<Node>{{0, 1, ReTagTextNode}, {1, 4, ReTagTextNode}, {5, 1, ReTagTextNode}}));
  // Lower case is not a tag; a '<' without '>' runs to the next '<'.
  EXPECT_EQ(Cut("<sy>x<ab<DF>"),
            (std::vector<Node>{{0, 4, ReTagTextNode}, {4, 1, ReTagTextNode}, {5, 3, ReTagTextNode}, {8, 4, ReTagDF}}));
  EXPECT_EQ(Cut("<SY"), (std::vector<Node>{{0, 3, ReTagTextNode}}));
  EXPECT_TRUE(Cut("").empty());
}

TEST(TaggedText, NodesNeverPassTheirCapacity) {
  ReTagNode nodes[2];
  EXPECT_EQ(ReCutNodes("<SY>a<D1>b", 10, nodes, 2), 2u);
  EXPECT_EQ(nodes[1].code, ReTagTextNode);
}

TEST_F(Parser, JoinersAssembleText) {
  Start();
  EXPECT_EQ(Assemble("red<D2> white<E0>s</E0>"), "red, white's'");
  EXPECT_EQ(Assemble("Acme<TRADE> glue"), "Acme TM glue");
  EXPECT_EQ(Assemble("word <BB>note</BB>"), "word\" (note)");
  EXPECT_EQ(Assemble("a</BB><UN>b<CT>c"), "a)\nb\n\"c");
  EXPECT_EQ(Assemble("a<CT>b"), "a\"b");
  // The run ends at the first tag that is not a joiner.
  EXPECT_EQ(Assemble("one<DF>two"), "one");
}

TEST_F(Parser, QuoteTagWithNothingBeforeItAppends) {
  Start();
  EXPECT_EQ(Assemble("<BB>x</BB>"), "\" (x)");
}

TEST_F(Parser, SpellingVariantFollowsKindAndOptions) {
  Start(16, 128);
  EXPECT_EQ(Assemble("reali<{sz}>e"), "realize");
  Start(16, 32);
  EXPECT_EQ(Assemble("reali<{sz}>e"), "realize");
  Start(16, 64 | 128);
  EXPECT_EQ(Assemble("reali<{sz}>e"), "realise");
  Start(16, 0);
  EXPECT_EQ(Assemble("reali<{sz}>e"), "realise");
  Start(6, 0);
  EXPECT_EQ(Assemble("Stra<{sz}>e"), "Strasse");
  Start(6, 128);
  EXPECT_EQ(Assemble("Stra<{sz}>e"),
            "Stra\xDF"
            "e");
  Start(5, 128);
  EXPECT_EQ(Assemble("a<{sz}>b"), "ab");
}

TEST_F(Parser, AccentFoldingForIndexFiveAndMaskSixtyFour) {
  Start(5, 64);
  EXPECT_EQ(Assemble("\xC9T\xC9 \xC0 \xCE\xD4\xDB \xC7 \xE9"), "ETE A IOU \xC7 \xE9");
  Start(5, 64 | 128);
  EXPECT_EQ(Assemble("\xC9T\xC9"), "\xC9T\xC9");
}

TEST_F(Parser, SynonymsAndTheirSecondTexts) {
  Start();
  ReEtParEntry* entry = Entry({"<DS>cat", "<PS>1", "<SY>feline<DF>like a cat<FT>formal<D1>kitty</SY> tail"});
  ASSERT_EQ(PACKED(entry->itemCount), 2);
  ReEtParItem* first = entry->items[0];
  EXPECT_STREQ(first->text, "feline");
  EXPECT_STREQ(first->second, "like a cat, formal");
  EXPECT_EQ(PACKED(first->group), 1);
  EXPECT_EQ(PACKED(first->number), ReNoItemNumber);
  ReEtParItem* second = entry->items[1];
  EXPECT_STREQ(second->text, "kitty");
  EXPECT_EQ(second->second, nullptr);  // no <DF> after its text
  EXPECT_EQ(PACKED(second->group), 1);
  EXPECT_EQ(PACKED(second->star), 0);
}

TEST_F(Parser, CrossReferenceWithItsNumber) {
  Start();
  ReEtParEntry* entry = Entry({"<CR><IL>12", "<RW>warm<IL>  -7x", "<SE>see<US>usage<IL>12345678901"});
  ASSERT_EQ(PACKED(entry->itemCount), 3);
  EXPECT_STREQ(entry->items[0]->text, "");
  EXPECT_STREQ(entry->items[0]->second, "*");
  EXPECT_EQ(PACKED(entry->items[0]->star), 1);
  EXPECT_EQ(PACKED(entry->items[0]->group), 6);
  EXPECT_EQ(PACKED(entry->items[0]->number), 12u);
  EXPECT_STREQ(entry->items[1]->text, "warm");
  EXPECT_EQ(PACKED(entry->items[1]->number), static_cast<u32>(-7));
  // At most ten characters of the number are read.
  EXPECT_STREQ(entry->items[2]->text, "see");
  EXPECT_EQ(PACKED(entry->items[2]->group), 8);
  EXPECT_EQ(PACKED(entry->items[2]->number), 1234567890u);
}

TEST_F(Parser, SenseTagsInACrossReferenceRunAreStarred) {
  Start();
  ReEtParEntry* entry = Entry({"<RW>hot<D1>warm<IL>3"});
  ASSERT_EQ(PACKED(entry->itemCount), 2);
  EXPECT_STREQ(entry->items[1]->text, "warm");
  EXPECT_STREQ(entry->items[1]->second, "*");
  EXPECT_EQ(PACKED(entry->items[1]->group), 7);
  EXPECT_EQ(PACKED(entry->items[1]->number), 3u);
}

TEST_F(Parser, AntonymsTakeTheirLabelAndMarkTheLine) {
  labels_[{2, 3}] = {"Antonyms", "ant"};
  labels_[{2, 0}] = {"Senses", ""};
  Start();
  ReEtParEntry* entry = Entry({"<AN>cold<D1>frigid", "<D1>chilly"});
  ASSERT_EQ(PACKED(entry->itemCount), 3);
  EXPECT_STREQ(entry->items[0]->second, "Antonyms");
  EXPECT_EQ(PACKED(entry->items[0]->group), 3);
  // After a label in the same line, <D1> takes the record (2, 0).
  EXPECT_STREQ(entry->items[1]->second, "Senses");
  // A new line starts without a label: <D1> reads definitions instead.
  EXPECT_EQ(entry->items[2]->second, nullptr);
  EXPECT_EQ(PACKED(entry->items[2]->group), 0);
}

TEST_F(Parser, AntonymLabelsAreLeftOutForIndexEleven) {
  labels_[{2, 3}] = {"Antonyms", "ant"};
  Start(11, 0);
  ReEtParEntry* entry = Entry({"<AN>cold"});
  ASSERT_EQ(PACKED(entry->itemCount), 1);
  EXPECT_EQ(entry->items[0]->second, nullptr);
}

TEST_F(Parser, ItemsOfEveryLineInOrderAndTheFirstNote) {
  Start();
  ReEtParEntry* entry =
      Entry({"<WD>run", "no items here", "<SY>dash<D1>sprint", "<UN>informal use", "<HY>jog<CT>second note"});
  ASSERT_EQ(PACKED(entry->itemCount), 3);
  EXPECT_STREQ(entry->items[0]->text, "dash");
  EXPECT_STREQ(entry->items[1]->text, "sprint");
  EXPECT_STREQ(entry->items[2]->text, "jog\"second note");  // <CT> joins
  EXPECT_EQ(PACKED(entry->items[2]->group), 2);
  EXPECT_STREQ(entry->note, "informal use");
}

TEST_F(Parser, SlotEntriesTakeTheirLabels) {
  labels_[{1, 1}] = {"n.", "noun"};
  labels_[{2, 1}] = {"Synonyms", "syn"};
  Start(16, 128);
  ReEtParEntry* noun = nullptr;
  ReEtParEntry* odd = nullptr;
  ASSERT_EQ(ReMakeSlotEntry(&parser_, "colo<{sz}>r<TRADE>", 1, &noun), ReDone);
  entries_.push_back(noun);
  ASSERT_EQ(ReMakeSlotEntry(&parser_, "color", 9, &odd), ReDone);
  entries_.push_back(odd);
  EXPECT_STREQ(noun->headline, "colozr TM");
  EXPECT_STREQ(noun->label1, "noun");
  EXPECT_STREQ(noun->label2, "Synonyms");
  EXPECT_EQ(PACKED(noun->classCode), 1);
  // A class without a record has no first label, whatever came before.
  EXPECT_EQ(odd->label1, nullptr);
  EXPECT_STREQ(odd->label2, "Synonyms");
  EXPECT_EQ(PACKED(odd->itemCount), 0);
}

TEST_F(Parser, TextModeLineStartingWithAntonyms) {
  labels_[{2, 3}] = {"Antonyms", "ant"};
  Start();
  ReEtParResult* result = TextMode({"<WD>hot", "<AN>cold<D1>cool"});
  EXPECT_STREQ(result->headword, "hot");
  ASSERT_EQ(PACKED(result->count), 1);
  ReEtParEntry* entry = result->entries[0];
  EXPECT_STREQ(entry->headline, "Antonyms");
  EXPECT_STREQ(entry->label2, "Antonyms");
  EXPECT_EQ(PACKED(entry->classCode), 3);
  ASSERT_EQ(PACKED(entry->itemCount), 2);
  EXPECT_STREQ(entry->items[0]->text, "cold");
  EXPECT_STREQ(entry->items[1]->text, "cool");
}

TEST_F(Parser, TextModeHeadlinesAndLabels) {
  labels_[{2, 1}] = {"Synonyms", "syn"};
  labels_[{1, 4}] = {"4", "verb"};
  Start(6, 0);
  ReEtParResult* result =
      TextMode({"<PS>4", "<SY><SE>laufen<D1>rennen", "gehen<D2> schreiten<DS>fig.<CX>lit.<SY>wandern", "<HR>no record",
                "<PS>9", "<SY>eilen"});
  ASSERT_EQ(PACKED(result->count), 4);
  // <SY> first: the text after it (after a direct <SE>) is the headline;
  // index 6: the first label comes from the part-of-speech key.
  EXPECT_STREQ(result->entries[0]->headline, "laufen");
  EXPECT_STREQ(result->entries[0]->label1, "verb");
  EXPECT_EQ(PACKED(result->entries[0]->classCode), 1);
  // Text before the group tag: headline from the first text, label from the
  // texts between it and the tag.
  EXPECT_STREQ(result->entries[1]->headline, "gehen, schreiten");
  EXPECT_STREQ(result->entries[1]->label1, "fig., lit.");
  ASSERT_EQ(PACKED(result->entries[1]->itemCount), 1);
  EXPECT_STREQ(result->entries[1]->items[0]->text, "wandern");
  // A group without a string-table record still has a headline.
  EXPECT_STREQ(result->entries[2]->headline, "");
  EXPECT_EQ(PACKED(result->entries[2]->classCode), 4);
  EXPECT_EQ(result->entries[3]->label1, nullptr);  // key 9 has no record
}

TEST_F(Parser, CurrentEntryChoice) {
  Start();
  ReEtParResult* result = TextMode({"<WD>cold", "chill<SY>cool", "frost<SY>frigid<D1>icy", "ice<SY>ice cold"});
  ReSelection select{};
  select.word = "icy";
  ReChooseCurrentEntry(result, 16, select);
  EXPECT_EQ(PACKED(result->current), 1);
  // The headword itself seeks nothing.
  select.word = "cold";
  ReChooseCurrentEntry(result, 16, select);
  EXPECT_EQ(PACKED(result->current), 0);
  select.flag = true;
  select.buffer = "cool";
  ReChooseCurrentEntry(result, 16, select);
  EXPECT_EQ(PACKED(result->current), 0);
  select.buffer = "ice cold";
  ReChooseCurrentEntry(result, 16, select);
  EXPECT_EQ(PACKED(result->current), 2);

  // Index 6: by headline, then by sub-item, then by a sub-item that begins
  // with a word of the title.
  ReSelection six{};
  six.flag = true;
  six.selectionText = "frost";
  ReChooseCurrentEntry(result, 6, six);
  EXPECT_EQ(PACKED(result->current), 1);
  six.flag = false;
  six.firstTitle = "ice";
  ReChooseCurrentEntry(result, 6, six);
  EXPECT_EQ(PACKED(result->current), 2);
  six.firstTitle = "frigid";
  ReChooseCurrentEntry(result, 6, six);
  EXPECT_EQ(PACKED(result->current), 1);
  six.firstTitle = "ice co";
  ReChooseCurrentEntry(result, 6, six);
  EXPECT_EQ(PACKED(result->current), 2);
  six.firstTitle = "nothing";
  ReChooseCurrentEntry(result, 6, six);
  EXPECT_EQ(PACKED(result->current), 0);
}

TEST_F(Parser, EveryAllocationFailureUnwinds) {
  labels_[{2, 3}] = {"Antonyms", "ant"};
  labels_[{1, 1}] = {"n.", "noun"};
  const std::string line = "<SY>a<DF>b<D1>c<AN>d<CR>e<IL>5<UN>note";
  for (u32 fail = 1; fail < 40; ++fail) {
    ReEtParser parser;
    ReInitParser(&parser, ReTextFormat{16, 128, ReCharClassTable(16)}, ReLabelSource{&labels_, LookUp});
    auto* entry = static_cast<ReEtParEntry*>(ReHeapAlloc(sizeof(ReEtParEntry)));
    ASSERT_NE(entry, nullptr);
    ReFailAllocationAfter(fail);
    u32 parsed = ReParseEntryLine(&parser, line.data(), static_cast<u32>(line.size()), entry);
    ReEtParEntry* slot = nullptr;
    u32 made = ReMakeSlotEntry(&parser, "word", 1, &slot);
    ReFailAllocationAfter(0);
    if (parsed == ReDone) {
      EXPECT_EQ(PACKED(entry->itemCount), 4);
    }
    if (made == ReDone) ReFreeEntry(slot);
    ReFreeEntry(entry);
    ReFreeParser(&parser);
  }
}

TEST_F(Parser, MalformedLinesStayInsideTheirBuffers) {
  Start(5, 64);
  const std::string lines[] = {
      "<BB><BB><BB></BB><UN></BB>", "<SY><IL>", "<CR><IL>", "<SE><US><IL>", "<<<<>>>><SY<D1", "<AN>", "<SY><DF>",
      std::string(300, '<')};
  for (const std::string& text : lines) {
    // A copy of exactly the line's size, so any overread shows.
    char* copy = static_cast<char*>(ReHeapAlloc(static_cast<u32>(text.size())));
    std::memcpy(copy, text.data(), text.size());
    ReEtParEntry* entry = Entry({});
    EXPECT_EQ(ReParseEntryLine(&parser_, copy, static_cast<u32>(text.size()), entry), ReDone) << text;
    ReHeapFree(copy);
  }
}

}  // namespace
