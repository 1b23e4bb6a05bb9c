// Markup programs, the element stack, the room checks, snapshots, and
// damaged tables: every bad index is refused, never followed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packed.h"
#include "re_decoder.h"
#include "re_snapshots.h"
#include "text_fixture.h"

namespace texttest {
namespace {

std::string Print(u8 operation, u8 value) {
  char out[16];
  return std::string(out, ReFormatCounter(operation, value, out));
}

TEST(MarkupPrograms, CountersPrintInEveryForm) {
  EXPECT_EQ(Print(0x20, 4), "4");
  EXPECT_EQ(Print(0x30, 4), "IV");
  EXPECT_EQ(Print(0x40, 4), "iv");
  EXPECT_EQ(Print(0x50, 4), "D");
  EXPECT_EQ(Print(0x60, 4), "d");
  EXPECT_EQ(Print(0x30, 100), "C");
  EXPECT_EQ(Print(0x30, 188), "CLXXXVIII");  // the longest: nine characters
  EXPECT_EQ(Print(0x40, 249), "ccxlix");
  EXPECT_EQ(Print(0x20, 0), "0");
  EXPECT_EQ(Print(0x20, 255), "255");
  EXPECT_EQ(Print(0x30, 0), "");
  EXPECT_EQ(Print(0x50, 0), "");
  EXPECT_EQ(Print(0x50, 26), "Z");
  EXPECT_EQ(Print(0x50, 27), "AA");
  EXPECT_EQ(Print(0x60, 255), "iu");
}

et::MarkupLanguage WithMarkers(std::vector<et::TagDef> extra) {
  et::MarkupLanguage language = et::DefaultLanguage();
  for (et::TagDef& tag : extra) language.tags.push_back(tag);
  return language;
}

TEST(MarkupPrograms, ProgramsSetCountersTypesAndOutput) {
  TextOptions options;
  options.language = WithMarkers({
      {"FOUR", false, "set 3 4; type 20; dec 3; ROMAN 3; roman 3; ALPHA 3; alpha 3", ""},
      {"HUNDRED", false, "add 3 96; ROMAN 3; sub 3 200; dec 3; add 3 255; add 3 9; dec 3", ""},
      {"SKIP", false, "skip; \"dropped\"; \"kept\"; join; \"+\"", ""},
      {"GR", true, "group", "ungroup"},
  });
  TextDb db(TextDatabase({"a <FOUR>b", "<FOUR><HUNDRED>", "x <SKIP> y", "zero <GR>one two</GR> three"}, options));
  std::vector<Tok> tokens = db.AllTokens(1);
  EXPECT_EQ(Render(tokens), "a 4 IV iv D d b");
  EXPECT_EQ(tokens[1].type, 20);
  EXPECT_EQ(tokens[1].flags & 0x06, 0x06);  // a boundary and a type change
  EXPECT_EQ(tokens.back().type, 20);        // the type stays until a program changes it
  // Counters are bytes: 100 - 200 wraps to 156, 156 + 255 + 9 to 164.
  EXPECT_EQ(Render(db.AllTokens(2)), "4 IV iv D d C 156 164");
  tokens = db.AllTokens(3);
  EXPECT_EQ(Render(tokens), "x kept+ y");
  EXPECT_FALSE(tokens[2].flags & 0x02);  // joined
  tokens = db.AllTokens(4);
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[1].group, 1);  // the group began at token 1
  EXPECT_TRUE(tokens[1].flags & 0x20);
  EXPECT_EQ(tokens[2].group, 1);
  EXPECT_FALSE(tokens[2].flags & 0x20);
  EXPECT_EQ(tokens[3].group, 0);
  EXPECT_TRUE(tokens[3].flags & 0x20);
}

TEST(MarkupPrograms, ElementWithoutRoomOpensInTheNextChunk) {
  // 38 words leave room for one token: the sense number prints two.
  std::string entry;
  for (int i = 0; i < 38; ++i) {
    entry += 'w';
    entry += std::to_string(i);
    entry += ' ';
  }
  entry += "<SN>after";
  TextDb small(TextDatabase({entry}), 40);
  EXPECT_EQ(small.Token(1, 470), ReDone);
  const std::vector<Tok> first = small.Chunk();
  ASSERT_EQ(first.size(), 38u);
  EXPECT_EQ(PACKED(small.tokens()->textLength), 38 * 3 - 10 + 38);  // the words and their blanks
  EXPECT_EQ(small.Token(1, 430), ReWarn);
  const std::vector<Tok> second = small.Chunk();
  ASSERT_EQ(second.size(), 3u);
  EXPECT_EQ(second[0].text, "1");
  EXPECT_EQ(second[0].type, 1);
  EXPECT_EQ(second[0].flags & 0x06, 0x06);
  EXPECT_EQ(second[1].text, ".");
  EXPECT_EQ(second[2].text, "after");
}

// A printed number needs room for five characters (a longer Roman numeral
// for all of its own); a literal for its length.
TEST(MarkupPrograms, NumbersNeedRoomForFiveCharacters) {
  TextOptions options;
  options.language = WithMarkers(
      {{"N7", false, "set 4 7; dec 4", ""}, {"R188", false, "set 4 188; ROMAN 4", ""}, {"LIT", false, "\"ab\"", ""}});
  // 33 units: 264 bytes of chunk text, of which 263 may be used. A 259-byte
  // word leaves four: the 1-character "7" waits for the next chunk...
  const std::string word(259, 'x');
  TextDb db(TextDatabase({word + "<N7>", word + "<LIT>", std::string(257, 'x') + "<R188>"}, options), 33);
  EXPECT_EQ(db.Token(1, 470), ReDone);
  EXPECT_EQ(PACKED(db.tokens()->textLength), 259);
  EXPECT_EQ(db.Token(1, 430), ReWarn);
  ASSERT_EQ(db.Chunk().size(), 1u);
  EXPECT_EQ(db.Chunk()[0].text, "7");
  // ... where a 2-character literal fits.
  EXPECT_EQ(db.Token(2, 470), ReWarn);
  EXPECT_EQ(PACKED(db.tokens()->textLength), 261);
  // The nine characters of CLXXXVIII do not fit the six bytes a 257-byte
  // word leaves.
  EXPECT_EQ(db.Token(3, 470), ReDone);
  EXPECT_EQ(PACKED(db.tokens()->textLength), 257);
  EXPECT_EQ(db.Token(3, 430), ReWarn);
  ASSERT_EQ(db.Chunk().size(), 1u);
  EXPECT_EQ(db.Chunk()[0].text, "CLXXXVIII");
}

TEST(MarkupPrograms, SixtyFifthOpenElementOverflowsTheStack) {
  std::string nested;
  for (int i = 0; i < 40; ++i) nested += "<B>";
  nested += "deep";
  for (int i = 0; i < 40; ++i) nested += "</B>";
  TextDb db(TextDatabase({nested, "<B><B><B>fine</B></B></B>"}));
  EXPECT_EQ(db.Token(1, 470), ReFail);
  EXPECT_EQ(PACKED(db.tokens()->status->error), -482);
  ReStatusBlock last{};
  const std::vector<Tok> tokens = db.AllTokens(2, &last);
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].style, 0x01);  // the counter counts the nesting
  EXPECT_EQ(PACKED(last.warning), -352);
}

TEST(MarkupPrograms, UnexpectedCodeEndsTheChunkWithAWarning) {
  // An entry the builder would refuse: an end tag with nothing open.
  TextOptions options;
  options.checkEntries = false;
  TextDb db(TextDatabase({"one </B> two"}, options));
  EXPECT_EQ(db.Token(1, 470), ReWarn);
  EXPECT_EQ(PACKED(db.tokens()->status->warning), -481);
  EXPECT_EQ(PACKED(db.tokens()->status->module), et::CloseCode(et::DefaultLanguage(), "B"));
  EXPECT_EQ(Render(db.Chunk()), "one");
}

TEST(Snapshots, KeptEveryIntervalAndThinnedWhenFull) {
  ReSnapshotTable table{};
  ASSERT_TRUE(ReInitSnapshots(&table, 4, sizeof(u32), 9));
  for (u32 t = 0; t < 1500; ++t) ReOfferSnapshot(&table, t, &t);
  EXPECT_EQ(table.used, 2);  // 512 and 1024
  const void* found = ReFindSnapshot(&table, 1000);
  ASSERT_TRUE(found);
  EXPECT_EQ(ReSnapshotKey(found), 512u);  // 488 tokens to drop
  EXPECT_EQ(ReFindSnapshot(&table, 511), nullptr);
  for (u32 t = 1500; t < 2600; ++t) ReOfferSnapshot(&table, t, &t);
  // 2048 and 2560 would be the fifth and sixth: every second one went.
  EXPECT_EQ(table.shift, 10);
  EXPECT_EQ(table.used, 2);
  EXPECT_EQ(ReSnapshotKey(ReFindSnapshot(&table, 2599)), 2048u);
  EXPECT_EQ(ReSnapshotKey(ReFindSnapshot(&table, 2047)), 1024u);
  ReFreeSnapshots(&table);
}

// --- Damaged tables ------------------------------------------------------------

struct Damage {
  edb::Built built;
  std::size_t markup = 0;  // file offsets of table 90's sections
  std::size_t elements = 0, transitions = 0, sequences = 0, codeLists = 0, programs = 0;
  std::size_t automaton = 0;

  explicit Damage(const std::vector<std::string>& entries) : built(edb::Build(TextDatabase(entries))) {
    const auto& b = built.bytes;
    markup = built.layout.Find(90)->data;
    auto word = [&](std::size_t at) { return static_cast<std::size_t>(b[at] << 8 | b[at + 1]); };
    const std::size_t e = word(markup), t = word(markup + 2), s = word(markup + 4), l = word(markup + 8);
    elements = markup + 26;
    transitions = elements + 8 * e;
    sequences = transitions + 4 * t;
    codeLists = sequences + 2 * s;
    programs = codeLists + 2 * l;
    automaton = built.layout.Find(80)->data;
  }
  void Put16(std::size_t at, u16 value) {
    built.bytes[at] = static_cast<u8>(value >> 8);
    built.bytes[at + 1] = static_cast<u8>(value);
  }
  u16 Get16(std::size_t at) const { return static_cast<u16>(built.bytes[at] << 8 | built.bytes[at + 1]); }
  // Decodes entry 1: the status of the first chunk.
  ReStatusBlock Read() {
    TextDb db(built.bytes);
    db.Token(1, 470);
    return *db.tokens()->status;
  }
};

TEST(DamagedTables, ElementAutomatonIndexesAreChecked) {
  {
    Damage d({"text"});
    d.Put16(d.elements + 2, 0xFFF0);  // the entry element's first transition
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
  {
    Damage d({"text"});
    d.Put16(d.transitions, 0xFFF0);  // a code list outside the table
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
  {
    Damage d({"text"});
    d.Put16(d.transitions + 2, 0x7FF0);  // a sequence outside the table
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
  {
    Damage d({"text"});
    const u16 sequence = d.Get16(d.transitions + 2);
    d.Put16(d.sequences + 2 * sequence, 16384 + 9000);  // an element that does not exist
    EXPECT_EQ(PACKED(d.Read().error), -480);
  }
  {
    Damage d({"text"});
    const u16 sequence = d.Get16(d.transitions + 2);
    d.Put16(d.sequences + 2 * sequence, 5);  // no state at all
    EXPECT_EQ(PACKED(d.Read().error), -480);
  }
  {
    Damage d({"text"});
    // Code lists that run to the end of the table without their 0xFFFF.
    for (std::size_t at = d.codeLists; at < d.programs; at += 2) d.Put16(at, 0x7777);
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
}

TEST(DamagedTables, ProgramsAreChecked) {
  {
    Damage d({"text"});
    d.Put16(d.elements + 4, 0xFFF0);  // an open program outside the table
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
  {
    Damage d({"text"});
    const u16 program = d.Get16(d.elements + 4);
    d.built.bytes[d.programs + program] = 0x0D;  // no such operation
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
  {
    Damage d({"x<SL>"});
    // The last program loses its end: it would run off the table.
    std::size_t last = d.built.layout.Find(90)->data + d.built.layout.Find(90)->length - 1;
    ASSERT_EQ(d.built.bytes[last], 0);
    d.built.bytes[last] = 0x01;
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
  {
    Damage d({"x<SL>"});
    std::size_t last = d.built.layout.Find(90)->data + d.built.layout.Find(90)->length - 1;
    d.built.bytes[last] = 0xC5;  // a literal whose text lies past the end
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
}

TEST(DamagedTables, CharacterAutomatonAndCodesAreChecked) {
  {
    Damage d({"<B>x</B>"});
    d.Put16(d.automaton + 10, 0x1FFF);  // row 0's '<' leads past the entries
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
  {
    Damage d({"<B>x</B>"});
    d.Put16(d.automaton + 8, 0xFFF0);  // a character set outside the name area
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
  {
    Damage d({"abc def"});
    // Row 0 has five entries; the word row's first set (the characters that
    // end a word) leads to a final code of kind 5, which no piece can hold.
    d.Put16(d.automaton + 8 + 5 * 4 + 2, 0x2500);
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
  {
    Damage d({"abc"});
    d.Put16(d.automaton + 8 + 4 * 4 + 2, 0x2300);  // row 0 ends a piece on its first character
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
  {
    Damage d({"some text to code"});
    const std::size_t stream = d.built.layout.components[0].trailing;
    d.built.bytes[stream + 2] = 0xFF;  // codes beyond the code tables
    d.built.bytes[stream + 3] = 0xFF;
    d.built.bytes[stream + 4] = 0xFF;
    EXPECT_EQ(PACKED(d.Read().error), -460);
  }
}

}  // namespace
}  // namespace texttest
