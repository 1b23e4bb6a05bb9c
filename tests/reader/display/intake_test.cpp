// The text model: token styles, intake of crafted chunks and their layout
// into lines and paragraphs, headings, growth and running out of memory.
#include <string>

#include "model_fixture.h"

namespace displaytest {
namespace {

struct StyleCase {
  u8 type, marker, format;
  u8 style, marks, markerAfter, formatAfter;
};

TEST(TokenStyle, MapsTypesAndFormatsToStylesAndMarks) {
  const StyleCase cases[] = {
      {7, 0, 0, kStyleNormal, 0, 0, 0},
      {0, 0, 0, kStyleBold, 0, 0, kFormatBold},  // types 0, 3, 4, 5 are bold
      {1, 0, 0, kStyleItalic, 0, 0, kFormatItalic},
      {7, 0, kFormatBold | kFormatItalic, kStyleBoldItalic, 0, 0, kFormatBold | kFormatItalic},
      {7, kTokenSearchHit, 0, kStyleNormal, kMarkFindHit, kTokenSearchHit, 0},
      // A cross reference's mark replaces the hit mark.
      {7, kTokenSearchHit, kFormatCrossReference, kStyleCrossReference, kMarkCrossReference, kTokenSearchHit,
       kFormatCrossReference},
      {7, kTokenPhonetic, kFormatItalic, kStylePhonetic, 0, kTokenPhonetic, kFormatItalic},
      {7, kTokenPhonetic, kFormatPlain, kStyleNormal, 0, kTokenPhonetic, kFormatPlain},
      {7, 0, kFormatRaised | kFormatBold, kStyleRaised, 0, 0, kFormatRaised | kFormatBold},
      {7, 0, kFormatLowered, kStyleLowered, 0, 0, kFormatLowered},
      // Hidden goes before raised; the media block's type before everything.
      {7, kTokenSearchHit, kFormatHidden | kFormatRaised, kStyleHidden, kMarkFindHit, kTokenSearchHit,
       kFormatHidden | kFormatRaised},
      {kTypeObjectBlock, 0, kFormatHidden, kStyleObject, 0, 0, kFormatHidden},
      // Outline titles: types 11 to 13 and the heading format; the engine's own bit 2 is dropped.
      {11, kTokenOutlineTitle, 0, kStyleNormal, 0, kTokenOutlineTitle, 0},
      {3, kTokenOutlineTitle, kFormatOutlineHeading, kStyleBold, 0, kTokenOutlineTitle, kFormatBold},
      {7, kTokenOutlineTitle, 0, kStyleNormal, 0, 0, 0},
  };
  for (const StyleCase& c : cases) {
    u8 marker = c.marker, format = c.format, style = 99, marks = 99;
    TokenStyle(c.type, marker, format, style, marks);
    EXPECT_EQ(style, c.style) << int(c.type) << "/" << int(c.format);
    EXPECT_EQ(marks, c.marks) << int(c.type) << "/" << int(c.format);
    EXPECT_EQ(marker, c.markerAfter) << int(c.type) << "/" << int(c.format);
    EXPECT_EQ(format, c.formatAfter) << int(c.type) << "/" << int(c.format);
  }
}

using Intake = ModelTest;

TEST_F(Intake, JoiningBlankGoesToThePreviousRunOnlyWhenItHasNone) {
  ASSERT_TRUE(Add({W("one"), W("two "), W("three"), Glued("s")}));
  ASSERT_EQ(model.RunCount(), 4);
  EXPECT_EQ(model.RunString(0), "one ");
  EXPECT_EQ(model.RunString(1), "two ");  // had its blank
  EXPECT_EQ(model.RunString(2), "three");
  EXPECT_EQ(model.GetRun(0).width, 4 * kCharWidth);
  EXPECT_EQ(model.TextLength(), 14);
  EXPECT_EQ(model.LineCount(), 1);
  EXPECT_EQ(model.GetLine(0).width, 14 * kCharWidth);
  EXPECT_EQ(model.GetParagraph(0).left, 5);
  EXPECT_EQ(model.GetParagraph(0).width, 290);
}

// The blank between a cross reference with its hidden number and the next
// word leads that word: appended to the hidden run it would vanish, and the
// two words would run together on the screen and in copied text.
TEST_F(Intake, BlankAfterAHiddenRunLeadsTheNextWord) {
  ASSERT_TRUE(Add({W("see"), W("France", kFormatCrossReference), Hidden("12"), W("for"), W("more")}));
  EXPECT_EQ(model.RunString(1), "France");
  EXPECT_EQ(model.RunString(2), "12");
  EXPECT_EQ(model.RunString(3), " for ");
  EXPECT_EQ(model.GetRun(3).width, 5 * kCharWidth);
  EXPECT_EQ(LineText(0), "see France for more");
  EXPECT_EQ(model.GetLine(0).width, 19 * kCharWidth);
}

// The first word of a chunk cannot give its blank to the previous chunk's
// last run (already measured and laid out): it leads the word instead.
TEST_F(Intake, BlankAtTheStartOfAChunkLeadsItsFirstWord) {
  ASSERT_TRUE(Add({W("end"), W("of")}));
  ASSERT_TRUE(Add({W("chunk"), Glued(".")}));
  EXPECT_EQ(model.RunString(1), "of");
  EXPECT_EQ(model.RunString(2), " chunk");
  EXPECT_EQ(LineText(0), "end of chunk.");
}

// A joining blank after a 255-character token needs a length of 256.
TEST_F(Intake, LongestTokenKeepsItsBlank) {
  const std::string word(255, 'x');
  ASSERT_TRUE(Add({W(word), W("y")}));
  EXPECT_EQ(model.GetRun(0).length, 256);
  EXPECT_EQ(model.RunString(0), word + " ");
  EXPECT_EQ(model.RunString(1), "y");
}

// Each token's text is copied, however the tokens lie in the chunk's
// buffer: two tokens pointing at the same characters need room for both.
TEST_F(Intake, TokensSharingTheirTextAreEachCopied) {
  static char text[] = "echo";
  std::vector<ReToken> tokens(3);
  for (ReToken& token : tokens) {
    token.text = text;
    token.length = 4;
    token.type = kBody;
    token.flags = kTokenJoin;
  }
  ASSERT_TRUE(model.AddChunk(tokens.data(), 3, host, widths));
  EXPECT_EQ(model.TextLength(), 14);
  EXPECT_EQ(LineText(0), "echo echo echo");
}

TEST_F(Intake, NewlinesMakeBlankLinesOfTheBlankHeight) {
  ASSERT_TRUE(Add({W("first"), Tok{"\n\n", 0, 0, kBody}, Glued("second"), W("third")}));
  const display::Run& newlines = model.GetRun(1);
  EXPECT_EQ(newlines.width, 0);
  EXPECT_EQ(newlines.height, kHeight);
  // Two newlines: one blank line, then the group (with "second") on a line of its own.
  ASSERT_EQ(model.LineCount(), 3);
  EXPECT_EQ(model.GetLine(1).runCount, 0);
  EXPECT_EQ(model.GetLine(1).height, kHeight);
  EXPECT_EQ(LineText(2), "\n\nsecond third");
  EXPECT_EQ(model.GetParagraph(0).height, 3 * kHeight);
}

TEST_F(Intake, WordsMeetingWithoutBlanksWrapTogether) {
  // 290 pixels hold 48 characters; "word" and its italic ending meet across a
  // hidden run and go to the next line as one group.
  ASSERT_TRUE(Add({W(std::string(43, 'a')), W("word"), Hidden("9"), Glued("ing", kFormatItalic), W("on")}));
  EXPECT_EQ(TextLines(), (std::vector<std::string>{std::string(43, 'a') + " ", "wording on"}));
  EXPECT_EQ(model.GetLine(1).runCount, 4);
}

TEST_F(Intake, RunStartingALineNeverJoinsTheWordBefore) {
  ASSERT_TRUE(Add({W("word"), Tok{"next", kTokenNewLine, 0, kBody}}));
  EXPECT_EQ(TextLines(), (std::vector<std::string>{"word", "next"}));
}

TEST_F(Intake, WordWiderThanTheLineStandsAloneUnsplit) {
  ASSERT_TRUE(Add({W("a"), W(std::string(60, 'w')), W("b")}));
  EXPECT_EQ(TextLines(), (std::vector<std::string>{"a ", std::string(60, 'w') + " ", "b"}));
  EXPECT_EQ(model.GetLine(1).width, 61 * kCharWidth);
}

TEST_F(Intake, RaisedAndLoweredRunsAddAQuarterBlankHeightToTheirLine) {
  ASSERT_TRUE(Add({W("x"), Glued("2", kFormatRaised), W("H"), Glued("2", kFormatLowered), Glued("O")}));
  const Line& line = model.GetLine(0);
  EXPECT_TRUE(line.raised);
  EXPECT_TRUE(line.lowered);
  EXPECT_EQ(line.height, kHeight + 2 * (kHeight / 4));
  EXPECT_EQ(model.GetParagraph(0).height, line.height);
  ASSERT_TRUE(Add({NewLine("y"), Glued("3", kFormatRaised)}));
  EXPECT_EQ(model.GetLine(1).height, kHeight + kHeight / 4);
  EXPECT_FALSE(model.GetLine(1).lowered);
}

TEST_F(Intake, HeadingsBecomeOutlineEntries) {
  const u8 heading = kFormatOutlineHeading;
  ASSERT_TRUE(Add({W("Intro"), Tok{"World", kTokenNewLine | kTokenJoin, heading, 3}, Tok{"War", kTokenJoin, heading, 3},
                   NewLine("Text"), Tok{"Small", kTokenNewLine | kTokenJoin, 0, 12}}));
  // The second heading is still open at the end of the chunk: it goes on in
  // the next chunk up to the first drawn run that is no heading.
  ASSERT_TRUE(Add({Hidden("7"), Tok{"part", kTokenJoin, 0, 12}, NewLine("More")}));
  const auto& outline = model.Outline();
  ASSERT_EQ(outline.size(), 2u);
  EXPECT_EQ(outline[0].title, "World War");
  EXPECT_EQ(outline[0].kind, kOutlineHeading);
  EXPECT_EQ(outline[0].level, 1);  // bold only
  EXPECT_EQ(outline[0].firstRun, 1);
  EXPECT_EQ(outline[1].title, "Small part");
  EXPECT_EQ(outline[1].level, 2);
  EXPECT_EQ(outline[1].firstRun, 4);
}

TEST_F(Intake, TallTextIsCutIntoParagraphsAtLineBreaks) {
  std::vector<Tok> tokens;
  for (int i = 0; i < 1100; ++i) tokens.push_back(NewLine("line"));
  ASSERT_TRUE(Add(tokens));
  ASSERT_EQ(model.ParagraphCount(), 2);
  const Paragraph& first = model.GetParagraph(0);
  EXPECT_GE(first.height, kParagraphHeightLimit);
  EXPECT_LT(first.height, kParagraphHeightLimit + kHeight);
  const Paragraph& second = model.GetParagraph(1);
  EXPECT_EQ(second.top, first.top + first.height);
  EXPECT_EQ(second.firstLine, first.firstLine + first.lineCount);
  EXPECT_EQ(first.runCount + second.runCount, 1100);
  EXPECT_EQ(model.LineTop(second.firstLine), second.top);
}

TEST_F(Intake, OneChunkGrowsTheArraysUntilItFits) {
  std::vector<Tok> tokens;
  for (int i = 0; i < 5000; ++i) tokens.push_back(W("word"));
  ASSERT_TRUE(Add(tokens));
  EXPECT_EQ(model.RunCount(), 5000);
  EXPECT_EQ(model.TextLength(), 5000 * 5 - 1);
  EXPECT_GT(model.RunCapacity(), 5000u + 10);
  EXPECT_GT(model.TextCapacity(), 25000u);
  EXPECT_EQ(model.RunCapacity() % TextModel::kRunStep, 0u);
}

TEST_F(Intake, RunningOutOfMemoryLeavesTheModelAsItWas) {
  ASSERT_TRUE(Add({W("kept"), W("text")}));
  const int runs = model.RunCount(), lines = model.LineCount(), length = model.TextLength();
  const int height = model.GetParagraph(0).height;
  // Enough lines for the line array to grow: the growth fails half-way.
  std::vector<Tok> tokens;
  for (int i = 0; i < 600; ++i) tokens.push_back(NewLine("x"));
  FailModelAllocationAfter(1);
  EXPECT_FALSE(Add(tokens));
  EXPECT_EQ(model.RunCount(), runs);
  EXPECT_EQ(model.LineCount(), lines);
  EXPECT_EQ(model.TextLength(), length);
  EXPECT_EQ(model.GetParagraph(0).height, height);
  EXPECT_EQ(LineText(0), "kept text");
  // The next chunk goes on where the model stood.
  ASSERT_TRUE(Add({W("more")}));
  EXPECT_EQ(LineText(0), "kept text more");

  FailModelAllocationAfter(1);
  EXPECT_FALSE(model.Reset());
  EXPECT_EQ(model.RunCount(), 0);
  EXPECT_FALSE(Add({W("x")}));
}

}  // namespace
}  // namespace displaytest
