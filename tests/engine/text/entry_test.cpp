// REentry (tagged text piece by piece), titles, and synonym databases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packed.h"
#include "re_handles.h"
#include "re_platform.h"
#include "re_text_work.h"
#include "re_titles.h"
#include "text_fixture.h"

namespace texttest {
namespace {

std::string LongEntry() {
  std::string text = "<DS>Long entry\n<P>";
  for (int i = 0; i < 60; ++i) text += "word" + std::to_string(i) + (i % 10 == 9 ? "\n" : " ");
  return text + "<B>the end</B>";
}

TEST(EntryText, LongEntryComesInNulTerminatedPieces) {
  const std::string entry = LongEntry();
  TextDb db(TextDatabase({entry}), 0, 64);
  ReStatusBlock last{};
  std::vector<u32> pieces;
  EXPECT_EQ(db.AllText(1, &last, &pieces), entry);
  EXPECT_GT(pieces.size(), 7u);
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) EXPECT_EQ(pieces[i], 63u) << i;
  EXPECT_EQ(PACKED(last.status), ReWarn);
  EXPECT_EQ(PACKED(last.warning), -352);
  EXPECT_EQ(PACKED(last.module), 370);
  // The last piece closed the entry.
  EXPECT_EQ(db.Entry(1, 430), ReFail);
  EXPECT_EQ(PACKED(db.entry()->status->error), -400);
  EXPECT_EQ(PACKED(db.entry()->textLength), 0);
  EXPECT_EQ(db.entry()->text[0], 0);
}

TEST(EntryText, ManyEntriesReadInAnyOrderAsTokensAndAsText) {
  // More stored text than the handle reads ahead at a time: entries read
  // forwards, backwards and again give their own text and the same tokens.
  std::vector<std::string> entries;
  for (int e = 0; e < 900; ++e) {
    std::string text = "<DS>Entry " + std::to_string(e) + "\n<P>";
    for (int w = 0; w < 40 + e % 50; ++w)
      text += (w % 7 == 3 ? "<B>bold" + std::to_string(w) + "</B>" : "word" + std::to_string((e * 31 + w) % 97)) +
              (w % 12 == 11 ? "\n" : " ");
    entries.push_back(text + "end");
  }
  TextDb db(TextDatabase(entries));
  std::vector<std::string> forwards;
  for (u32 e = 1; e <= entries.size(); ++e) {
    EXPECT_EQ(db.AllText(e), entries[e - 1]) << e;
    forwards.push_back(Render(db.AllTokens(e)));
  }
  for (i32 e = static_cast<i32>(entries.size()); e >= 1; e -= 7) {
    EXPECT_EQ(Render(db.AllTokens(static_cast<u32>(e))), forwards[e - 1]) << e;
    EXPECT_EQ(db.AllText(static_cast<u32>(e)), entries[e - 1]) << e;
  }
}

TEST(EntryText, PiecesAreTerminatedAndCountedWithTheEntryEnd) {
  TextDb db(TextDatabase({std::string(126, 'x'), "", "short"}), 0, 64);
  EXPECT_EQ(db.Entry(1, 470), ReDone);
  EXPECT_EQ(PACKED(db.entry()->textLength), 63);
  EXPECT_EQ(db.entry()->text[63], 0);
  EXPECT_EQ(db.Entry(1, 430), ReWarn);  // the piece that takes the last byte ends the entry
  EXPECT_EQ(PACKED(db.entry()->textLength), 63);
  EXPECT_EQ(db.Entry(1, 430), ReFail);
  EXPECT_EQ(PACKED(db.entry()->status->error), -400);
  EXPECT_EQ(db.Entry(2, 470), ReWarn);
  EXPECT_EQ(PACKED(db.entry()->status->warning), -352);
  EXPECT_EQ(db.Entry(3, 470), ReWarn);
  EXPECT_STREQ(db.entry()->text, "short");
}

TEST(EntryText, ReadOnFromAPosition) {
  const std::string entry = LongEntry() + std::string(2000, 'y');
  TextDb db(TextDatabase({entry, "second"}), 0, 100);
  ASSERT_EQ(db.Entry(1, 470), ReDone);
  EXPECT_EQ(PACKED(db.entry()->readPosition), 99);
  for (u16 position : {u16{300}, u16{1500}, u16{7}, u16{0}, u16{2100}}) {
    db.entry()->readPosition = position;
    ASSERT_EQ(db.Entry(1, 490), ReDone) << position;
    EXPECT_EQ(std::string(db.entry()->text), entry.substr(position, 99)) << position;
    EXPECT_EQ(PACKED(db.entry()->readPosition), position + 99);
  }
  // Reading on to the end keeps the entry open under 490.
  db.entry()->readPosition = static_cast<u16>(entry.size() - 10);
  EXPECT_EQ(db.Entry(1, 490), ReWarn);
  EXPECT_EQ(std::string(db.entry()->text), entry.substr(entry.size() - 10));
  db.entry()->readPosition = 5;
  EXPECT_EQ(db.Entry(1, 490), ReDone);
  EXPECT_EQ(std::string(db.entry()->text), entry.substr(5, 99));
  // 430 goes on from there; 490 on another entry opens it.
  EXPECT_EQ(db.Entry(1, 430), ReDone);
  EXPECT_EQ(std::string(db.entry()->text), entry.substr(104, 99));
  db.entry()->readPosition = 2;
  EXPECT_EQ(db.Entry(2, 490), ReWarn);
  EXPECT_STREQ(db.entry()->text, "cond");
  EXPECT_EQ(db.Entry(2, 480), ReDone);
}

TEST(EntryText, DefaultBufferHoldsTheLongestEntryWhole) {
  // The block's default buffer is the longest entry text + 1: the longest
  // entry comes whole in the first piece, which is all the reader takes.
  const std::string longest = "<WD>cat\n" + std::string(200, 'z');
  TextDb db(TextDatabase({longest, "short"}));
  EXPECT_EQ(PACKED(db.entry()->bufferSize), longest.size() + 1);
  EXPECT_EQ(db.Entry(1, 470), ReWarn);
  EXPECT_EQ(std::string(db.entry()->text), longest);
  EXPECT_EQ(PACKED(db.entry()->textLength), longest.size());
}

TEST(EntryText, BufferSizeAboveTheAllocationIsCut) {
  // The size field is the caller's: a larger value than the buffer REmemory
  // made (64 bytes) must not let a piece run past it, however the heap
  // rounds its size up.
  const std::string entry = LongEntry();
  TextDb db(TextDatabase({entry}), 0, 64);
  db.entry()->bufferSize = 60000;
  const u32 made = ReHeapSize(db.entry()->text);
  ASSERT_GE(made, 64u);
  ReStatusBlock last{};
  std::vector<u32> pieces;
  EXPECT_EQ(db.AllText(1, &last, &pieces), entry);
  EXPECT_GT(pieces.size(), entry.size() / made);
  for (u32 length : pieces) EXPECT_LT(length, made);
  EXPECT_EQ(PACKED(last.warning), -352);
}

TEST(EntryText, Refusals) {
  TextDb db(TextDatabase({"one"}));
  EXPECT_EQ(db.Entry(0, 470), ReFail);
  EXPECT_EQ(PACKED(db.entry()->status->error), -402);
  EXPECT_EQ(db.Entry(1, 470, 999), ReFail);
  EXPECT_EQ(PACKED(db.entry()->status->error), -462);
  EXPECT_EQ(PACKED(db.entry()->status->module), 320);
  EXPECT_EQ(db.Entry(1, 999), ReFail);
  EXPECT_EQ(PACKED(db.entry()->status->error), -464);
  EXPECT_EQ(db.Entry(1, 430), ReFail);  // nothing open
  EXPECT_EQ(PACKED(db.entry()->status->error), -400);
  EXPECT_EQ(db.Entry(1, 470, 160), ReDone);
  EXPECT_EQ(db.Entry(1, 470, 145), ReWarn);
  EXPECT_STREQ(db.entry()->text, "one");
}

// --- Titles ----------------------------------------------------------------

std::string Title(const std::string& text, ReTitleRules rules, u32 size = 64, bool* plain = nullptr,
                  u32* result = nullptr) {
  char title[64] = "junk";
  const u32 r = ReEntryTitle(text.data(), static_cast<u32>(text.size()), rules, title, size, plain);
  if (result) *result = r;
  return r == ReDone ? std::string(title) : "<none>";
}

TEST(Titles, HeadwordsWithSuperscriptAndSyllableDots) {
  const std::string word =
      "<WD>cat\xb7"
      "a\xb7log<UP>2</UP>\nnoun";
  bool plain = false;
  EXPECT_EQ(Title(word, {1, 3, 0}, 64, &plain), "catalog (2)");
  EXPECT_TRUE(plain);
  EXPECT_EQ(Title(word, {1, 3, 3}),
            "cat\xb7"
            "a\xb7log (2)");
  EXPECT_EQ(Title(word, {4, 3, 0}), "catalog (2)");
  // After an inflected headword the tag is copied and the title ends at the next '<'.
  const std::string inflected =
      "<IWD>cat\xb7"
      "a\xb7log<UP>2</UP>\n";
  EXPECT_EQ(Title(inflected, {1, 1, 0}, 64, &plain), "catalog<UP>2");
  EXPECT_FALSE(plain);
  EXPECT_EQ(Title("<WD>run</WD> fast\n", {1, 3, 0}), "run");
  EXPECT_EQ(Title("<WD>run<B>x</B>\n", {1, 0, 0}), "run");
  EXPECT_EQ(Title("<WD>run\rmore\n", {1, 4, 0}), "run");
  EXPECT_EQ(Title("<WD>word<B>x\n", {1, 2, 0}), "word");
}

TEST(Titles, TitleLinesAfterDs) {
  EXPECT_EQ(Title("<DS>Paris\n<P>body", {0, 0, 0}), "Paris");
  EXPECT_EQ(Title("noise <DS>Rome<B>x</B> y\nrest", {0, 4, 0}), "Rome<B>x</B> y");
  EXPECT_EQ(Title("<DS>Rome<B>x\n", {0, 2, 0}), "Rome");
  EXPECT_EQ(Title("<DS>a<{<}>b<{}>c\n", {0, 0, 0}), "a<{<}>bc");
  EXPECT_EQ(Title("<DS>Paris\n", {0, 0, 0}, 4), "Par");  // cut at the buffer
  char stripped[32];
  EXPECT_EQ(ReStripTags("Rome<B>x</B> y<", stripped, sizeof stripped), 7u);
  EXPECT_STREQ(stripped, "Romex y");
  EXPECT_EQ(ReStripTags("abcdef", stripped, 4), 3u);
  EXPECT_STREQ(stripped, "abc");
}

// A cut title as the reader shows it: escapes as the characters they stand
// for, none for an escape of more characters, an empty one or one without
// its end; in text format 4 no tags, while an escaped '<' stays.
TEST(Titles, ShownWithEscapesAsTheirCharacters) {
  const auto shown = [](std::string title, u16 format) {
    ReShowTitle(title.data(), format);
    return std::string(title.c_str());
  };
  EXPECT_EQ(shown("<{<}>g>", 0), "<g>");
  EXPECT_EQ(shown("<{<}>gr&d>", 0), "<gr&d>");
  EXPECT_EQ(shown("a<{}}>b<{>}>c<{{}>", 0), "a}b>c{");
  EXPECT_EQ(shown("ab<{BPRIME}>c<{}>d", 0), "abcd");
  EXPECT_EQ(shown("cut<{<", 0), "cut<");
  EXPECT_EQ(shown("Rome<B>x</B> <{<}>y", 4), "Romex <y");
  EXPECT_EQ(shown("Rome<B>x</B>", 0), "Rome<B>x</B>");
  char stripped[32];
  EXPECT_EQ(ReStripTags("a<{<}>b<B>c</B>", stripped, sizeof stripped), 8u);
  EXPECT_STREQ(stripped, "a<{<}>bc");
}

TEST(Titles, NoTitleWithoutItsTagOrItsEnd) {
  u32 result = 0;
  EXPECT_EQ(Title("<WD>dog\n", {0, 0, 0}, 64, nullptr, &result), "<none>");
  EXPECT_EQ(result, ReFail);
  EXPECT_EQ(Title("<DS>cat\n", {1, 0, 0}), "<none>");
  EXPECT_EQ(Title("<DS>no line end", {0, 0, 0}), "<none>");
  EXPECT_EQ(Title("", {0, 0, 0}), "<none>");
}

TEST(Titles, ReadFromTheDatabaseByItsRules) {
  TextOptions options;
  options.titleMode = 1;
  options.textFormat = 3;
  TextDb db(TextDatabase({"<WD>cat\xb7"
                          "a\xb7log<UP>2</UP>\n<PS>noun",
                          "no headword\n"},
                         options));
  ReDbRecord* record = db.db().record();
  ReWorkRecord* work = db.db().work();
  ReStatusBlock status{};
  char title[40];
  bool plain = false;
  EXPECT_EQ(ReReadEntryTitle(record, work, 1, title, sizeof title, &plain, &status, 460), ReDone);
  EXPECT_STREQ(title, "catalog (2)");
  EXPECT_TRUE(plain);
  EXPECT_EQ(ReReadEntryTitle(record, work, 2, title, sizeof title, &plain, &status, 460), ReFail);
  EXPECT_EQ(PACKED(status.status), ReDone);  // no title is not a read failure
  EXPECT_EQ(ReReadEntryTitle(record, work, 3, title, sizeof title, &plain, &status, 460), ReFail);
  EXPECT_EQ(PACKED(status.error), -402);
  char beginning[8];
  u32 length = 0;
  EXPECT_EQ(ReDecodeEntryBeginning(record, work, 1, beginning, sizeof beginning, &length, &status, 460), ReDone);
  EXPECT_EQ(length, 7u);
  EXPECT_STREQ(beginning, "<WD>cat");
}

// --- Synonym databases -------------------------------------------------------

std::vector<std::vector<et::RingMember>> Rings() {
  return {{{"big", 3}, {"large", 3}, {"huge", 3}, {"vast", 3}}, {{"alone", 5}}, {{"quick", 12}, {"fast", 12}}};
}

TEST(Synonyms, RingAsTokens) {
  std::vector<std::vector<u32>> entries;
  TextDb db(ThesaurusDatabase(Rings(), &entries));
  ReStatusBlock last{};
  std::vector<Tok> tokens = db.AllTokens(entries[0][0], &last);
  EXPECT_EQ(PACKED(last.warning), -352);
  EXPECT_EQ(PACKED(last.module), 215);
  ASSERT_EQ(tokens.size(), 7u);
  EXPECT_EQ(tokens[0].text, "big");
  EXPECT_EQ(tokens[0].type, 0);
  EXPECT_EQ(tokens[0].flags, 0x06);
  EXPECT_EQ(tokens[1].text, "3");
  EXPECT_EQ(tokens[1].type, 1);
  EXPECT_EQ(tokens[2].text, "large");
  EXPECT_EQ(tokens[2].type, 7);
  EXPECT_EQ(tokens[2].flags, 0x06);
  EXPECT_EQ(tokens[3].text, ",");
  EXPECT_EQ(tokens[3].flags, 0);
  EXPECT_EQ(tokens[4].text, "huge");
  EXPECT_EQ(tokens[4].flags, 0x02);
  EXPECT_EQ(tokens[6].text, "vast");
  // The chunk's text holds the tags as well.
  EXPECT_EQ(std::string(db.tokens()->text, PACKED(db.tokens()->textLength)),
            "<DS>big\n<PS>3\n<SY>large,huge,vast</SY>");
  // From another member the ring turns.
  tokens = db.AllTokens(entries[2][1]);
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0].text, "fast");
  EXPECT_EQ(tokens[1].text, "12");
  EXPECT_EQ(tokens[2].text, "quick");
}

TEST(Synonyms, RingOfOneMember) {
  std::vector<std::vector<u32>> entries;
  TextDb db(ThesaurusDatabase(Rings(), &entries));
  EXPECT_EQ(db.Token(entries[1][0], 470), ReWarn);
  EXPECT_EQ(PACKED(db.tokens()->status->warning), -352);
  EXPECT_EQ(db.Chunk().size(), 2u);
  EXPECT_EQ(std::string(db.tokens()->text, PACKED(db.tokens()->textLength)), "<DS>alone\n<PS>5\n</SY>");
}

TEST(Synonyms, RingAsTaggedText) {
  std::vector<std::vector<u32>> entries;
  TextDb db(ThesaurusDatabase(Rings(), &entries));
  EXPECT_EQ(db.Entry(entries[0][0], 470), ReWarn);
  EXPECT_EQ(PACKED(db.entry()->status->warning), -352);
  EXPECT_STREQ(db.entry()->text, "<DS>big\n<PS>3\n<SY>large<D1>huge<D1>vast</SY>");
  EXPECT_EQ(PACKED(db.entry()->textLength), 44);
  EXPECT_EQ(db.Entry(entries[0][0], 480), ReDone);
  EXPECT_EQ(db.Entry(entries[0][0], 430), ReFail);
  EXPECT_EQ(PACKED(db.entry()->status->error), -464);
  EXPECT_EQ(db.Entry(entries[0][0], 470, 999), ReFail);
  EXPECT_EQ(PACKED(db.entry()->status->error), -462);
  EXPECT_EQ(db.Entry(9999, 470), ReFail);
  EXPECT_EQ(PACKED(db.entry()->status->error), -304);
  EXPECT_EQ(db.Token(9999, 470), ReFail);
  EXPECT_EQ(PACKED(db.tokens()->status->error), -304);
}

TEST(Synonyms, MembersKeepTheirCapitals) {
  std::vector<std::vector<u32>> entries;
  TextDb db(ThesaurusDatabase({{{"Paris", 1}, {"NASA", 1}, {"eBay", 1}, {"d'Artagnan", 1}}}, &entries));
  EXPECT_EQ(db.Entry(entries[0][0], 470), ReWarn);
  EXPECT_STREQ(db.entry()->text, "<DS>Paris\n<PS>1\n<SY>NASA<D1>eBay<D1>d'Artagnan</SY>");
}

TEST(Synonyms, LongRingStopsAtTheTextRoom) {
  // 40 members of 12 letters: the 264 bytes of a 33-unit chunk fill long
  // before its 32 tokens do.
  std::vector<et::RingMember> ring;
  for (int i = 0; i < 40; ++i)
    ring.push_back({"synonym" + std::string(1, static_cast<char>('a' + i % 26)) + "wxyz", 2});
  TextDb db(ThesaurusDatabase({ring}), 33, 120);
  EXPECT_EQ(db.Token(1, 470), ReWarn);
  EXPECT_EQ(PACKED(db.tokens()->status->warning), -476);
  EXPECT_LT(PACKED(db.tokens()->textLength), 263);
  EXPECT_LE(PACKED(db.tokens()->tokenCount), 32);
  EXPECT_EQ(db.Entry(1, 470), ReWarn);
  EXPECT_EQ(PACKED(db.entry()->status->warning), -476);
  EXPECT_LT(PACKED(db.entry()->textLength), 120);
  EXPECT_EQ(std::string(db.entry()->text).size(), PACKED(db.entry()->textLength));
}

}  // namespace
}  // namespace texttest
