// REtoken over built databases: entries decoded into token chunks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packed.h"
#include "re_platform.h"
#include "text_fixture.h"

namespace texttest {
namespace {

const char kArticle[] =
    "<DS>Paris\n"
    "<P>Paris is the <B>capital</B> of <XR>France<HID>12</HID></XR>.\n"
    "<H>History</H>\n"
    "Well-being, x<UP>2</UP> and H<LO>2</LO>O <PL>plain</PL>.\n"
    "<MB>Map<HID>7</HID></MB>\n"
    "<SN>first <SN>second <SR>a <SR>b <SL>c\n"
    "<{<}>tag<{>}> and <{a}>";

const char kArticleRendered[] =
    "Paris\n"
    "Paris is the capital of France12.\n"
    "History\n"
    "Well-being, x2 and H2O plain.\n"
    "Map7\n"
    "1. first 2. second i) a ii) b a) c\n"
    "<tag> and a";

const Tok* Find(const std::vector<Tok>& tokens, const std::string& text, int nth = 0) {
  for (const Tok& t : tokens)
    if (t.text == text && nth-- == 0) return &t;
  return nullptr;
}

std::string Words(int count, int from = 0) {
  std::string text;
  for (int i = 0; i < count; ++i) text += (i ? " w" : "w") + std::to_string(from + i);
  return text;
}

TEST(TokenChunks, ArticleDecodesIntoTypedStyledTokens) {
  TextDb db(TextDatabase({kArticle}));
  ReStatusBlock last{};
  const std::vector<Tok> tokens = db.AllTokens(1, &last);
  EXPECT_EQ(Render(tokens), kArticleRendered);
  EXPECT_EQ(PACKED(last.status), ReWarn);
  EXPECT_EQ(PACKED(last.warning), -352);
  EXPECT_EQ(PACKED(last.module), 844);

  ASSERT_FALSE(tokens.empty());
  EXPECT_EQ(tokens[0].type, 2);  // the title
  EXPECT_EQ(tokens[0].flags, 0x02 | 0x04);
  const Tok* body = Find(tokens, "Paris", 1);
  ASSERT_TRUE(body);
  EXPECT_EQ(body->type, et::kBodyTextType);
  EXPECT_EQ(body->flags & 0x05, 0x05);  // line break, type change

  const Tok* bold = Find(tokens, "capital");
  ASSERT_TRUE(bold);
  EXPECT_EQ(bold->style, 0x01);
  EXPECT_TRUE(bold->flags & 0x08);
  const Tok* after = Find(tokens, "of");
  EXPECT_EQ(after->style, 0);
  EXPECT_TRUE(after->flags & 0x08);

  const Tok* xref = Find(tokens, "France");
  const Tok* number = Find(tokens, "12");
  ASSERT_TRUE(xref && number);
  EXPECT_EQ(xref->style, 0x04);
  EXPECT_NE(xref->group, 0);
  EXPECT_TRUE(xref->flags & 0x20);
  EXPECT_EQ(number->style, 0x84);  // hidden inside the cross reference
  EXPECT_EQ(number->group, xref->group);
  EXPECT_FALSE(number->flags & 0x02);  // joined to the reference
  const Tok* stop = Find(tokens, ".");
  EXPECT_EQ(stop->group, 0);
  EXPECT_TRUE(stop->flags & 0x20);

  const Tok* heading = Find(tokens, "History");
  EXPECT_EQ(heading->type, 3);
  EXPECT_EQ(heading->style, 0x08);
  EXPECT_TRUE(heading->flags & 0x01);
  EXPECT_EQ(Find(tokens, "Well-being")->type, et::kBodyTextType);
  EXPECT_EQ(Find(tokens, "2", 0)->style, 0x10);
  EXPECT_EQ(Find(tokens, "2", 1)->style, 0x20);
  EXPECT_EQ(Find(tokens, "plain")->style, 0x40);
  EXPECT_EQ(Find(tokens, "Map")->type, 10);
  EXPECT_EQ(Find(tokens, "7")->type, 10);
  EXPECT_EQ(Find(tokens, "7")->style, 0x80);

  // Sense numbers: type 1, counted per marker, the text after them body text.
  EXPECT_EQ(Find(tokens, "1")->type, 1);
  EXPECT_TRUE(Find(tokens, "1")->flags & 0x01);
  EXPECT_EQ(Find(tokens, "first")->type, et::kBodyTextType);
  EXPECT_EQ(Find(tokens, "ii")->type, 1);
  EXPECT_EQ(Find(tokens, "a", 0)->type, et::kBodyTextType);  // the text after "i)"
  EXPECT_EQ(Find(tokens, "a", 1)->type, 1);                  // the letter of the third kind of sense

  // Escapes: the brackets are plain characters, other characters extended.
  EXPECT_FALSE(Find(tokens, "<")->flags & 0x40);
  EXPECT_TRUE(tokens.back().flags & 0x40);
  EXPECT_EQ(tokens.back().text, "a");
}

TEST(TokenChunks, AttributesAndUnknownTagsAreDropped) {
  TextDb db(TextDatabase({"see <XR 1234>Rome</XR> and <FOO bar=1>that<ZAP>."}));
  EXPECT_EQ(Render(db.AllTokens(1)), "see Rome and that.");
}

TEST(TokenChunks, LongEntryComesInChunksThatJoinUp) {
  const std::string entry = "<DS>Long\n<P>" + Words(300) + "\n<B>" + Words(120, 300) + "</B>";
  TextDb small(TextDatabase({entry}), 40);
  TextDb large(TextDatabase({entry}), 2000);
  ReStatusBlock last{};
  u32 chunks = 0;
  const std::vector<Tok> pieces = small.AllTokens(1, &last, &chunks);
  EXPECT_EQ(PACKED(last.warning), -352);
  EXPECT_GT(chunks, 8u);
  const std::vector<Tok> whole = large.AllTokens(1);
  ASSERT_EQ(pieces.size(), whole.size());
  ASSERT_EQ(whole.size(), 421u);
  for (std::size_t i = 0; i < whole.size(); ++i) {
    EXPECT_EQ(pieces[i].text, whole[i].text) << i;
    EXPECT_EQ(pieces[i].style, whole[i].style) << i;
    EXPECT_EQ(pieces[i].flags & ~0x20, whole[i].flags & ~0x20) << i;
  }
}

TEST(TokenChunks, ChunkHoldsCapacityLessOneTokensAndCountsTheFirstToken) {
  TextDb db(TextDatabase({Words(39), Words(40)}), 40);
  // 39 tokens fill the chunk exactly and end the entry in the same call.
  EXPECT_EQ(db.Token(1, 470), ReWarn);
  EXPECT_EQ(PACKED(db.tokens()->tokenCount), 39);
  EXPECT_EQ(PACKED(db.tokens()->firstToken), 39);
  EXPECT_EQ(PACKED(db.tokens()->status->warning), -352);
  // 40 tokens need a second chunk.
  EXPECT_EQ(db.Token(2, 470), ReDone);
  EXPECT_EQ(PACKED(db.tokens()->tokenCount), 39);
  EXPECT_EQ(db.Token(2, 430), ReWarn);
  EXPECT_EQ(PACKED(db.tokens()->tokenCount), 1);
  EXPECT_EQ(PACKED(db.tokens()->firstToken), 40);
  EXPECT_EQ(db.Chunk()[0].text, "w39");
  EXPECT_EQ(db.Chunk()[0].flags & 0x06, 0x02);  // a word boundary, no type change
}

TEST(TokenChunks, CapacityAboveTheAllocationIsCut) {
  // The capacity field is the caller's: a larger value than the buffers
  // REmemory made for 40 must not let a chunk run past them, however the
  // heap rounds their sizes up.
  TextDb db(TextDatabase({Words(300)}), 40);
  db.tokens()->capacity = 5000;
  EXPECT_EQ(db.Token(1, 470), ReDone);  // the entry goes on in the next chunk
  const u32 tokens = PACKED(db.tokens()->tokenCount);
  EXPECT_GE(tokens, 39u);  // what 40 units hold at least
  EXPECT_LE(tokens * sizeof(ReToken), ReHeapSize(db.tokens()->tokens));
  EXPECT_LT(PACKED(db.tokens()->textLength), ReHeapSize(db.tokens()->text));
}

TEST(TokenChunks, EmptyEntryEndsAtOnceAndTheBufferGoes) {
  TextDb db(TextDatabase({"", "x"}));
  EXPECT_EQ(db.Token(1, 470), ReWarn);
  EXPECT_EQ(PACKED(db.tokens()->tokenCount), 0);
  EXPECT_EQ(PACKED(db.tokens()->status->warning), -352);
  // 470 and 430 release the buffer with the last chunk: a further 430 has none.
  EXPECT_EQ(db.Token(1, 430), ReFail);
  EXPECT_EQ(PACKED(db.tokens()->status->error), -800);
  EXPECT_EQ(db.Token(2, 470), ReWarn);
  EXPECT_EQ(db.Chunk()[0].text, "x");
}

TEST(TokenChunks, ReadOnStartsAtAnyTokenFromTheNearestSnapshot) {
  const std::string entry = "<DS>Read on\n<P>" + Words(900) + "\n<I>" + Words(900, 900) + "</I>";
  TextDb db(TextDatabase({entry, "other entry"}), 100);
  const std::vector<Tok> all = db.AllTokens(1);
  ASSERT_EQ(all.size(), 1802u);
  for (u16 start : {u16{0}, u16{1}, u16{37}, u16{511}, u16{512}, u16{1000}, u16{1700}, u16{1801}, u16{1500}, u16{3}}) {
    db.tokens()->firstToken = start;
    const u32 result = db.Token(1, 490);
    ASSERT_NE(result, ReFail) << start;
    const std::vector<Tok> chunk = db.Chunk();
    ASSERT_FALSE(chunk.empty()) << start;
    EXPECT_EQ(PACKED(db.tokens()->firstToken), start + chunk.size());
    for (std::size_t i = 0; i < chunk.size(); ++i) {
      EXPECT_EQ(chunk[i].text, all[start + i].text) << start << "+" << i;
      EXPECT_EQ(chunk[i].style, all[start + i].style) << start << "+" << i;
    }
  }
  // The last chunk under 490 keeps the buffer: reading on again works.
  db.tokens()->firstToken = 1790;
  EXPECT_EQ(db.Token(1, 490), ReWarn);
  db.tokens()->firstToken = 1000;
  EXPECT_EQ(db.Token(1, 490), ReDone);
  EXPECT_EQ(db.Chunk()[0].text, all[1000].text);
  // The first-token field left as it is goes on like 430.
  EXPECT_EQ(db.Token(1, 490), ReDone);
  EXPECT_EQ(db.Chunk()[0].text, all[1099].text);
  // Another entry is opened afresh, and read on from a buffer that has read
  // nothing yet 490 does what 470 does: the chunk starts at the entry's
  // first token, and so does the block's first-token field.
  db.tokens()->firstToken = 1;
  EXPECT_EQ(db.Token(2, 490), ReWarn);
  EXPECT_EQ(db.Chunk()[0].text, "other");
  EXPECT_EQ(PACKED(db.tokens()->firstToken), 2);
  EXPECT_EQ(db.Token(2, 480), ReDone);
}

std::vector<std::string> Hits(const std::vector<Tok>& tokens) {
  std::vector<std::string> hits;
  for (const Tok& t : tokens)
    if (t.flags & 0x80) {
      EXPECT_TRUE(t.flags & 0x10) << t.text;
      hits.push_back(t.text);
    }
  return hits;
}

TEST(TokenChunks, SearchTermsMarkWholeWords) {
  TextDb db(TextDatabase({"Well, wel\xb7l wells and well-being are WELL."}));
  const char* well = "well";
  db.tokens()->termCount = 1;
  db.tokens()->terms[0] = well;
  db.tokens()->markingMode = 145;
  const std::vector<Tok> tokens = db.AllTokens(1);
  EXPECT_EQ(Hits(tokens), (std::vector<std::string>{"Well", "wel\xb7l", "well", "WELL"}));
  EXPECT_EQ(Render(tokens), "Well, wel\xb7l wells and well-being are WELL.");
  // A term with a hyphen keeps hyphens inside words.
  const char* hyphened = "well-being";
  db.tokens()->terms[1] = hyphened;
  db.tokens()->termCount = 2;
  EXPECT_EQ(Hits(db.AllTokens(1)), (std::vector<std::string>{"Well", "wel\xb7l", "well-being", "WELL"}));
  // Marking switched off.
  db.tokens()->termCount = 0;
  EXPECT_TRUE(Hits(db.AllTokens(1)).empty());
}

// Marked pieces wait in a ring of ten: a text cut into more pieces ends the
// chunk before it, and at the start of a chunk goes whole as one token.
TEST(TokenChunks, MoreThanTenMarkedPiecesGoWhole) {
  TextDb db(TextDatabase({"x a-b-c-d-e y", "x a-b-c-d-e-f y"}));
  const char* term = "c";
  db.tokens()->termCount = 1;
  db.tokens()->terms[0] = term;
  db.tokens()->markingMode = 145;
  // Nine pieces: cut and marked.
  std::vector<Tok> tokens = db.AllTokens(1);
  EXPECT_EQ(tokens.size(), 11u);
  EXPECT_EQ(Hits(tokens), std::vector<std::string>{"c"});
  // Eleven pieces: the chunk ends after "x"; the next one takes the text whole.
  EXPECT_EQ(db.Token(2, 470), ReDone);
  ASSERT_EQ(db.Chunk().size(), 1u);
  EXPECT_EQ(db.Chunk()[0].text, "x");
  EXPECT_EQ(db.Token(2, 430), ReWarn);
  tokens = db.Chunk();
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0].text, "a-b-c-d-e-f");
  EXPECT_EQ(tokens[0].flags & 0x80, 0x80);  // it holds a hit
  EXPECT_EQ(tokens[1].text, "y");
}

TEST(TokenChunks, SecondMarkingStepMarksRunsInsideWords) {
  TextDb db(TextDatabase({"Farewell to wells"}));
  const char* term = "well";
  db.tokens()->termCount = 1;
  db.tokens()->terms[0] = term;
  db.tokens()->markingMode = 220;
  const std::vector<Tok> tokens = db.AllTokens(1);
  EXPECT_EQ(Hits(tokens), (std::vector<std::string>{"well", "well"}));
  EXPECT_EQ(Render(tokens), "Farewell to wells");
}

// Line ends call the callback with (text length, 8 x capacity); the loader
// with (stream position, stream length); the end of a chunk with the largest values.
constexpr u32 kTextRoom = 8 * 1024;
i32 RE_CALL StopAtLineEnds(u32, u32 total) { return total == kTextRoom; }
i32 RE_CALL StopLoading(u32, u32 total) { return total != kTextRoom && total != 2147483647u; }

TEST(TokenChunks, RefusalsAndFailures) {
  TextDb db(TextDatabase({"one\ntwo"}));
  EXPECT_EQ(db.Token(0, 470), ReFail);
  EXPECT_EQ(PACKED(db.tokens()->status->error), -402);
  EXPECT_EQ(db.Token(2, 470), ReFail);
  EXPECT_EQ(db.Token(1, 470, 999), ReFail);
  EXPECT_EQ(PACKED(db.tokens()->status->error), -462);
  EXPECT_EQ(db.Token(1, 999), ReFail);
  EXPECT_EQ(PACKED(db.tokens()->status->error), -464);
  EXPECT_EQ(db.Token(1, 430, 160), ReFail);
  EXPECT_EQ(PACKED(db.tokens()->status->error), -464);
  // The subset test of a database without subsets.
  EXPECT_EQ(db.Token(1, 470, 160), ReDone);
  EXPECT_EQ(PACKED(db.tokens()->subsetResult), 0);

  // The progress callback stops the chunk at a line end: a failure.
  db.db().block()->progress = StopAtLineEnds;
  ASSERT_EQ(REdb(db.db().block(), 100, 460), ReDone);
  EXPECT_EQ(db.Token(1, 470), ReFail);
  EXPECT_EQ(PACKED(db.tokens()->status->error), -900);
  db.db().block()->progress = nullptr;
  ASSERT_EQ(REdb(db.db().block(), 100, 460), ReDone);
  EXPECT_EQ(db.Token(1, 470), ReWarn);

  // Stopped while the loader reads the stream: a warning, with the tokens so far.
  TextDb loading(TextDatabase({Words(900)}));
  loading.db().block()->progress = StopLoading;
  ASSERT_EQ(REdb(loading.db().block(), 100, 460), ReDone);
  EXPECT_EQ(loading.Token(1, 470), ReWarn);
  EXPECT_EQ(PACKED(loading.tokens()->status->warning), -900);
  EXPECT_EQ(PACKED(loading.tokens()->status->module), 305);
  EXPECT_GT(PACKED(loading.tokens()->tokenCount), 0);
  EXPECT_LT(PACKED(loading.tokens()->tokenCount), 900);

  // A chunk too small for the longest piece cannot be read.
  TextDb tiny(TextDatabase({"x"}), 10);
  EXPECT_EQ(tiny.Token(1, 470), ReFail);
  EXPECT_EQ(PACKED(tiny.tokens()->status->error), -800);

  // Without tables 80 and 90 the text cannot be read as tokens.
  TextOptions plain;
  plain.markupTables = false;
  TextDb bare(TextDatabase({"x"}, plain));
  EXPECT_EQ(bare.Token(1, 470), ReFail);
  EXPECT_EQ(PACKED(bare.tokens()->status->error), -460);
  EXPECT_EQ(bare.Token(1, 430), ReFail);
  EXPECT_EQ(PACKED(bare.tokens()->status->error), -800);  // the failure released the buffer
}

}  // namespace
}  // namespace texttest
