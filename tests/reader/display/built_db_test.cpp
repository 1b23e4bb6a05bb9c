// An entry of a built database read with REtoken chunk by chunk into the
// display's text model, as the screens show an article.
#include <gtest/gtest.h>

#include <string>

#include "display/text_copy.h"
#include "model_fixture.h"
#include "text_fixture.h"

namespace displaytest {
namespace {

TEST(BuiltDatabase, AnArticleIsLaidOutChunkByChunk) {
  std::string body;
  std::string copied;
  int cities = 0;
  for (int i = 1; i <= 90; ++i) {
    std::string word = "city";
    if (i % 7 != 0) {
      word = "w";
      word += std::to_string(i);
    }
    cities += i % 7 == 0;
    if (i > 1) {
      body += ' ';
      copied += ' ';
    }
    body += word;
    copied += word;
  }
  // The sample markup language: its body text is in a type the display
  // leaves plain (it shows types 0, 3, 4 and 5 bold).
  texttest::TextOptions options;
  texttest::TextDb db(
      texttest::TextDatabase({"<DS>Paris\n<P>Paris is the <B>capital</B> of <XR>France<HID>12</HID></XR> "
                              "and more.\n<H>History</H>\n" +
                              body},
                             options),
      64);
  const char* term = "city";
  db.tokens()->termCount = 1;
  db.tokens()->terms[0] = term;
  db.tokens()->markingMode = 145;

  TextModel model;
  ASSERT_TRUE(model.Reset());
  FixedHost host;
  unsigned tokens = 0, chunks = 0;
  for (u16 action = 470;; action = 430) {
    const u32 result = db.Token(1, action);
    ASSERT_NE(result, ReFail);
    const ReTokenBlock* chunk = db.tokens();
    ASSERT_TRUE(model.AddChunk(chunk->tokens, chunk->tokenCount, host, LayoutWidths{400, 1}));
    tokens += chunk->tokenCount;
    ++chunks;
    if (result != ReDone) break;
  }
  db.Token(1, 480);
  EXPECT_GT(chunks, 1u);
  EXPECT_EQ(model.RunCount(), static_cast<int>(tokens));

  EXPECT_EQ(CopyAll(model), "Paris \r\nParis is the capital of France and more. \r\nHistory \r\n" + copied);
  int hits = 0, bold = 0, references = 0;
  for (int r = 0; r < model.RunCount(); ++r) {
    const display::Run& run = model.GetRun(r);
    hits += (run.marks & kMarkFindHit) != 0;
    bold += run.style == kStyleBold;
    if (run.marks & kMarkCrossReference) {
      ++references;
      EXPECT_EQ(run.style, kStyleCrossReference);
      EXPECT_EQ(model.RunString(r + 1), "12");
      EXPECT_EQ(model.GetRun(r + 1).style, kStyleHidden);
    }
  }
  EXPECT_EQ(hits, cities);
  EXPECT_EQ(bold, 2);  // "capital" and the heading
  EXPECT_EQ(references, 1);
  ASSERT_EQ(model.Outline().size(), 1u);
  EXPECT_EQ(model.Outline()[0].title, "History");
  EXPECT_EQ(model.Outline()[0].level, 1);
  // Title, the first paragraph, the heading, then the body wrapped at 390 pixels.
  EXPECT_GT(model.LineCount(), 5);
  for (int l = 0; l < model.LineCount(); ++l) EXPECT_LE(model.GetLine(l).width, 390) << l;
}

}  // namespace
}  // namespace displaytest
