// Media object blocks in the text model: their numbers, the block paragraph,
// the text beside and below it, thumbnails and outline entries.
#include <string>

#include "model_fixture.h"

namespace displaytest {
namespace {

using Blocks = ModelTest;

std::vector<Tok> Words(int count) {
  std::vector<Tok> words;
  for (int i = 1; i <= count; ++i) {
    std::string word = std::to_string(i);
    words.push_back(W(std::string("word") + std::string(4 - word.size(), '0') + word));
  }
  return words;
}

std::vector<Tok> Join(std::vector<Tok> a, const std::vector<Tok>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(Blocks, BlockAtTheStartReusesTheFirstParagraphAndTextFlowsBesideThenBelow) {
  // indent 100, height 40, objects at the left, one object: x 2, y 3, 90 x 30, item 17.
  ASSERT_TRUE(Add(Join(Block({100, 40, 1, 1, 2, 3, 90, 30, 17, 0}), Words(16))));
  ASSERT_EQ(model.ParagraphCount(), 2);
  const Paragraph& block = model.GetParagraph(0);
  EXPECT_TRUE(block.block);
  EXPECT_EQ(block.flags, 1u);
  EXPECT_EQ(block.left, 5);
  EXPECT_EQ(block.top, 0);
  EXPECT_EQ(block.width, 290);
  EXPECT_EQ(block.indent, 100);
  EXPECT_EQ(block.firstRun, 0);
  EXPECT_EQ(block.runCount, 10 + 9);  // its own runs, then the text beside it
  EXPECT_EQ(block.objectCount, 1);
  EXPECT_EQ(block.objectSlots[0], 3);
  ASSERT_EQ(host.thumbnails.size(), 1u);
  EXPECT_EQ(host.thumbnails[0].rect, CRect(7, 3, 97, 33));
  EXPECT_EQ(host.thumbnails[0].id, 17u);
  EXPECT_EQ(host.thumbnails[0].index, 17u);
  // Beside the objects 190 pixels hold three words a line; the third line
  // reaches the block's height, and the next line break starts a full-width
  // paragraph below it, five words a line.
  EXPECT_EQ(TextModel::TextStart(block), 105);
  EXPECT_EQ(block.lineCount, 3);
  EXPECT_EQ(block.textHeight, 3 * kHeight);
  EXPECT_EQ(block.height, 3 * kHeight);
  for (int l = 0; l < 3; ++l) EXPECT_EQ(model.GetLine(l).width, 3 * 9 * kCharWidth) << l;
  const Paragraph& below = model.GetParagraph(1);
  EXPECT_FALSE(below.block);
  EXPECT_EQ(below.top, 3 * kHeight);
  EXPECT_EQ(below.width, 290);
  EXPECT_EQ(below.firstLine, 3);
  EXPECT_EQ(model.GetLine(3).width, 5 * 9 * kCharWidth);
  EXPECT_EQ(LineText(4), "word0015 word0016");
  ASSERT_EQ(model.Outline().size(), 1u);
  EXPECT_EQ(model.Outline()[0].title, "Item 17");
  EXPECT_EQ(model.Outline()[0].kind, 7);
  EXPECT_EQ(model.Outline()[0].item, 17);
  EXPECT_EQ(model.Outline()[0].firstRun, 10);
  EXPECT_EQ(model.Outline()[0].level, 0);
}

TEST_F(Blocks, BlockWithoutTextBesideSendsTheNextWordBelowIt) {
  ASSERT_TRUE(Add(Join(Block({100, 40, 4, 1, 0, 0, 90, 30, 5, 0}), {W("after"), W("that")})));
  ASSERT_EQ(model.ParagraphCount(), 2);
  EXPECT_EQ(model.GetParagraph(1).top, 40);
  EXPECT_EQ(model.GetParagraph(1).left, 5);
  EXPECT_EQ(TextLines(), (std::vector<std::string>{"after that"}));
  EXPECT_EQ(model.LineOfRun(10), 1);
  // Neither side named: the objects take the band the text leaves at the right.
  EXPECT_EQ(host.thumbnails[0].rect, CRect(195, 0, 285, 30));
}

TEST_F(Blocks, NumbersAfterTheObjectsPickItemsAndIndexes) {
  // Objects at the right; the first object's item is above 5000 and it names
  // its index (bit 13 with bit 6); the second names an index without bit 6 or
  // 7 and carries one more number (bit 5).
  ASSERT_TRUE(Add(Join({W("before")}, Join(Block({80, 32, 2, 2, 0, 0, 70, 30, 6000, 0x2040, 42, 0, 0, 70, 30, 9,
                                                  0x2020 | 0x2000, 55, 77}),
                                           {W("after")}))));
  ASSERT_EQ(model.ParagraphCount(), 2);
  EXPECT_EQ(model.GetParagraph(0).runCount, 1);
  const Paragraph& block = model.GetParagraph(1);
  EXPECT_EQ(block.top, kHeight);
  EXPECT_EQ(block.firstRun, 1);
  EXPECT_EQ(block.runCount, 19 + 1);
  ASSERT_EQ(block.objectCount, 2);
  EXPECT_EQ(block.objectSlots[0], 4);
  EXPECT_EQ(block.objectSlots[1], 11);
  ASSERT_EQ(host.thumbnails.size(), 2u);
  EXPECT_EQ(host.thumbnails[0].rect, CRect(215, 16, 285, 46));
  EXPECT_EQ(host.thumbnails[0].id, 0u);
  EXPECT_EQ(host.thumbnails[0].index, 42u);
  EXPECT_EQ(host.thumbnails[1].id, 9u);
  EXPECT_EQ(host.thumbnails[1].index, 9u);
  ASSERT_EQ(model.Outline().size(), 1u);  // item 0 has no record
  EXPECT_EQ(model.Outline()[0].firstRun, 20);

  // Text beside objects at the right starts at the left edge; the filler
  // line that keeps what follows below the block gives way to the next chunk.
  EXPECT_EQ(TextModel::TextStart(block), 5);
  EXPECT_EQ(block.lineCount, 2);
  EXPECT_EQ(model.GetLine(2).height, 32 - kHeight);
  ASSERT_TRUE(Add({W("next")}));
  EXPECT_EQ(LineText(1), "after next");
  EXPECT_EQ(model.GetParagraph(1).lineCount, 2);
  EXPECT_EQ(model.LineCount(), 3);
}

TEST_F(Blocks, WithPicturesOffTheNumbersStayHiddenAndTheOutlineListsTheItems) {
  host.pictures = false;
  ASSERT_TRUE(Add(Join({W("before")}, Join(Block({80, 32, 2, 1, 0, 0, 70, 30, 12, 0}), {W("after")}))));
  EXPECT_EQ(model.ParagraphCount(), 1);
  EXPECT_TRUE(host.thumbnails.empty());
  EXPECT_EQ(TextLines(), (std::vector<std::string>{"before after"}));
  ASSERT_EQ(model.Outline().size(), 1u);
  EXPECT_EQ(model.Outline()[0].title, "Item 12");
  host.media = false;
  ASSERT_TRUE(Add(Join(Block({80, 32, 2, 1, 0, 0, 70, 30, 13, 0}), {W("end")})));
  EXPECT_EQ(model.Outline().size(), 1u);
}

TEST_F(Blocks, AtMost128ObjectsAndMissingNumbersReadAsZero) {
  std::vector<unsigned> numbers{60, 20, 1, 200};
  for (unsigned i = 1; i <= 200; ++i) {
    for (unsigned n : {0u, 0u, 10u, 10u, i, 0u}) numbers.push_back(n);
  }
  ASSERT_TRUE(Add(Join(Block(numbers), {W("text")})));
  EXPECT_EQ(host.thumbnails.size(), 128u);
  EXPECT_EQ(model.GetParagraph(0).objectCount, 128);
  EXPECT_EQ(model.Outline().size(), 128u);

  // A block cut short: what is missing reads as 0, nothing is read past it.
  TextModel cut;
  ASSERT_TRUE(cut.Reset());
  FixedHost other;
  Chunk chunk(Join(Block({50, 20, 1, 3, 1, 2}), {W("text")}));
  ASSERT_TRUE(cut.AddChunk(chunk.tokens(), chunk.count(), other, widths));
  ASSERT_EQ(other.thumbnails.size(), 3u);
  EXPECT_EQ(other.thumbnails[0].rect, CRect(6, 2, 6, 2));
  EXPECT_EQ(other.thumbnails[2].rect, CRect(5, 0, 5, 0));
}

// The text after a block often begins a new line of the entry; it still
// starts on the block's first line, beside the objects.
TEST_F(Blocks, TextBesideABlockStartsOnItsFirstLine) {
  ASSERT_TRUE(Add(Join(Block({100, 40, 1, 1, 0, 0, 90, 30, 3, 0}), {NewLine("text")})));
  EXPECT_EQ(model.LineOfRun(10), 0);
  EXPECT_EQ(LineText(0), "text");
  EXPECT_EQ(model.GetLine(0).height, kHeight);
  EXPECT_EQ(model.GetLine(1).height, 40 - kHeight);  // the filler to the block's bottom
}

}  // namespace
}  // namespace displaytest
