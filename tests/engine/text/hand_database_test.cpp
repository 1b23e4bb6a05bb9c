// A database file written out by hand from the container layout: header,
// directory, a search index component and a text component with its code
// tables, stream, character automaton and markup table. It is read through
// REdb, REentry, REtoken and REsearch; nothing of the content builder takes
// part, so a layout the builder and the engine both misread would show here.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hand_bytes.h"
#include "packed.h"
#include "text_fixture.h"

namespace texttest {
namespace {

constexpr u32 kHandId = 0x0000ABCD;
constexpr std::size_t kSearchIndex = 1024;  // file offset of the search index component
constexpr std::size_t kText = 2048;         // file offset of the text component
constexpr std::size_t kStream = 3072;       // file offset of the code stream: text word 30 = 6

// Entries 1 and 2 as the code stream spells them (byte 255 = line feed).
const char kEntry1[] = "Cats\na cat sat";
const char kEntry2[] = "Dogs\na dog ran";

void Header(handbytes::HandFile& f) {
  f.Text(0, "C hand-made database");  // only the first byte is checked
  f.Be16(384, 9);                     // format number
  f.Be16(386, 1);                     // database kind
  f.Be16(388, 5);
  f.Be16(390, 2);
  f.Be32(700, kHandId);  // database id
  f.Be16(704, 0);        // variant
  f.Be16(738, 1234);     // passed through
  f.Be16(788, 1);        // line rule "other": text word 122 + 9
  f.Be16(790, 2);        // directory entries
  f.Be32(792, 900);      // directory offset
  f.Be16(796, 1);        // component headers of 512 bytes
  f.Be16(798, 0x0081);   // capability mask
  // Directory: u16 type, u16 subtype, u32 file offset, u32 length.
  f.Be16(900, 2), f.Be16(902, 3), f.Be32(904, kSearchIndex), f.Be32(908, 1024);
  f.Be16(912, 1), f.Be16(914, 1), f.Be32(916, kText), f.Be32(920, 1046);
}

// Table record at `at` of a component: u16 id, u32 offset from the
// component, u32 element size, u16 element count, u32 length.
void TableRecord(handbytes::HandFile& f, std::size_t at, u16 id, u32 offset, u32 size, u16 count, u32 length) {
  f.Be16(at, id);
  f.Be32(at + 2, offset);
  f.Be32(at + 6, size);
  f.Be16(at + 10, count);
  f.Be32(at + 12, length);
}

// The search index: block 1 holds the records of "cat" (entry 1), "dog"
// (entry 2) and "sat" (entry 1), one literal code each.
void SearchIndex(handbytes::HandFile& f) {
  const std::size_t c = kSearchIndex;
  f.Be16(c + 0, 2);                             // type
  f.Be16(c + 2, 3);                             // subtype: the search index
  f.Be16(c + 80, 4);                            // table records
  f.Be32(c + 82, 256);                          // where they are
  f.Be16(c + 140, 512);                         // block size
  f.Be16(c + 148, 8);                           // code width
  TableRecord(f, c + 256, 200, 320, 1, 3, 24);  // phrase pool; literal limit 3
  TableRecord(f, c + 272, 210, 344, 2, 4, 8);   // phrase offsets, codes 0-3
  TableRecord(f, c + 288, 220, 352, 1, 4, 4);   // phrase lengths
  TableRecord(f, c + 304, 230, 356, 4, 2, 8);   // prefix table: 2 blocks of 4
  // Word records with hit tails: header (drop count), letters, terminator 0,
  // 24-bit entry number.
  f.Put(c + 320, {0x00, 'c', 'a', 't', 0x00, 0x00, 0x00, 0x01});
  f.Put(c + 328, {0x03, 'd', 'o', 'g', 0x00, 0x00, 0x00, 0x02});
  f.Put(c + 336, {0x03, 's', 'a', 't', 0x00, 0x00, 0x00, 0x01});
  f.Put(c + 344, {0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x10});  // offsets: -, 0, 8, 16
  f.Put(c + 352, {0x00, 0x08, 0x08, 0x08});                          // lengths
  f.Put(c + 356, {0x00, 0x00, 0x00, 0x00, 'c', 'a', 't', ' '});      // block 0 (the header), block 1
  f.Put(c + 512, {0x01, 0x02, 0x03, 0x00});                          // block 1: codes 1, 2, 3, end
  f.Grow(c + 1024);
}

// The text component: terminals 0 "cat", 1 the end code, 2 "a "; single
// characters 3-14; pairs 15-18.
void TextComponent(handbytes::HandFile& f) {
  const std::size_t c = kText;
  f.Be16(c + 0, 1);                             // type
  f.Be16(c + 2, 1);                             // subtype
  f.Be16(c + 30, kStream / 512);                // start of the code stream, from the start of the file
  f.Be16(c + 80, 6);                            // table records
  f.Be32(c + 82, 256);                          // where they are
  f.Be32(c + 104, 2);                           // entries
  f.Be16(c + 114, 2);                           // 2 entries a group: group shift 1
  f.Be16(c + 118, 8);                           // code width
  f.Be16(c + 120, 14);                          // longest entry text
  f.Be16(c + 122, 9);                           // longest line
  TableRecord(f, c + 256, 10, 512, 4, 2, 8);    // group index
  TableRecord(f, c + 272, 20, 520, 2, 19, 38);  // first code table
  TableRecord(f, c + 288, 30, 560, 2, 19, 38);  // second code table
  TableRecord(f, c + 304, 60, 600, 1, 3, 9);    // phrase pool; 3 terminals
  TableRecord(f, c + 320, 80, 612, 1, 44, 44);  // character automaton
  TableRecord(f, c + 336, 90, 656, 2, 32, 64);  // markup table

  // Table 10: group 0 counts from code 0; group 1 from code 10, the end code
  // that closes entry 1.
  f.Be32(c + 512, 0);
  f.Be32(c + 516, 10);
  // Tables 20 and 30, code by code.
  const u16 first[19] = {4,   0,    7,                                  // terminals: pool offsets
                         's', 0xFF, 'D', 'o', 'g', ' ', 'r', 'n', 'C',  // single characters
                         'a', 't',  'd',                                //
                         3,   6,    16,  12};                           // pairs: first halves
  const u16 second[19] = {3,      4,      2,                            // terminals: lengths
                          0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF,
                          0xFFFF, 0xFFFF, 0xFFFF, 4,      7,      15,     13};  // pairs: "s\n", "og", "ogs\n", "at"
  for (std::size_t i = 0; i < 19; ++i) {
    f.Be16(c + 520 + 2 * i, first[i]);
    f.Be16(c + 560 + 2 * i, second[i]);
  }
  // Table 60: the end code's text at 0, "cat" at 4, "a " at 7.
  f.Put(c + 600, {0xFE, 0xFE, 0xFE, 0xFE, 'c', 'a', 't', 'a', ' '});

  // Table 80: u32 1 value, u32 offset of the name area (36), then entries
  // {u16 set offset, u16 next state}. Row 0 (entries 0-2) starts a piece:
  // a blank goes to row 6, a line feed to row 5, anything else to the word
  // row 3, which ends as a text piece (0x2000 | 0x0200) at a blank or line
  // feed. Row 5 ends as the line end (0x2000 | 4096), row 6 as a word
  // boundary piece (0x2000 | 0x0100).
  f.Put(c + 612, {0, 0, 0, 1, 0, 0, 0, 36});
  f.Put(c + 620, {0, 1, 0, 6, 0, 3, 0, 5, 0, 0, 0, 3});  // row 0: " " -> 6, "\n" -> 5, default 3
  f.Put(c + 632, {0, 5, 0x22, 0x00, 0, 0, 0, 3});        // row 3: " \n" -> text piece, default 3
  f.Put(c + 640, {0, 0, 0x30, 0x00});                    // row 5: line end
  f.Put(c + 644, {0, 0, 0x21, 0x00});                    // row 6: word boundary piece
  f.Put(c + 648, {0, ' ', 0, '\n', 0, ' ', '\n', 0});    // names: "" at 0, " " at 1, "\n" at 3, " \n" at 5
  f.Put(c + 655, {0});

  // Table 90: E = 1 element, T = 2 transitions, S = 5 sequence words,
  // L = 4 code-list words, 16 reserved bytes.
  const std::size_t m = c + 656;
  f.Be16(m + 0, 1), f.Be16(m + 2, 2), f.Be16(m + 4, 5), f.Be16(m + 8, 4);
  // Element 0: 2 transitions from 0, open program at 1, no close program.
  f.Be16(m + 26, 2), f.Be16(m + 28, 0), f.Be16(m + 30, 1), f.Be16(m + 32, 0);
  // Transitions {code list, sequence}: text -> sequence 0; end -> sequence 3.
  f.Be16(m + 34, 0), f.Be16(m + 36, 0), f.Be16(m + 38, 2), f.Be16(m + 40, 3);
  // Sequences: {text, element 0} and {end}.
  f.Be16(m + 42, 1), f.Be16(m + 44, 16384), f.Be16(m + 46, 0xFFFF), f.Be16(m + 48, 65534), f.Be16(m + 50, 0xFFFF);
  // Code lists: {text code} and {end code}.
  f.Be16(m + 52, 1), f.Be16(m + 54, 0xFFFF), f.Be16(m + 56, 65534), f.Be16(m + 58, 0xFFFF);
  // Programs: a dummy byte at 0; at 1: type 7, line mode on, end.
  f.Put(m + 60, {0x00, 0x17, 0x0B, 0x00});

  // The code stream: the end code (empty entry 0), entry 1, the end code,
  // entry 2, the end code; padded to a whole 16-bit word.
  f.Put(kStream, {0x01,                                                  //
                  0x0B, 0x0C, 0x0D, 0x0F, 0x02, 0x00, 0x08, 0x03, 0x12,  // C a t "s\n" "a " "cat" ' ' s "at"
                  0x01,                                                  //
                  0x05, 0x11, 0x02, 0x0E, 0x10, 0x08, 0x09, 0x0C, 0x0A,  // D "ogs\n" "a " d "og" ' ' r a n
                  0x01, 0x00});
}

builder::Bytes HandDatabase() {
  handbytes::HandFile f(1024);
  Header(f);
  SearchIndex(f);
  TextComponent(f);
  return f.bytes();
}

TEST(HandDatabase, OpensWithTheHeaderValues) {
  TextDb db(HandDatabase());
  const ReDbBlock* b = db.db().block();
  EXPECT_EQ(PACKED(b->databaseId), kHandId);
  EXPECT_EQ(PACKED(b->kind), 1);
  EXPECT_EQ(PACKED(b->headerWord738), 1234);
  EXPECT_EQ(PACKED(b->entryCount), 2u);
  EXPECT_EQ(PACKED(b->longestEntryText), 14);
  EXPECT_EQ(PACKED(b->longestLine), 18);  // word 122 + 9
  EXPECT_EQ(PACKED(b->features), ReFeatSearch | ReFeatMarkup);
  const ReDbRecord* record = db.db().record();
  EXPECT_EQ(record->textBase, kStream);  // word 30 counts from the start of the file
  EXPECT_EQ(record->textLength, 22u);
  EXPECT_EQ(record->terminalCount, 3u);
  EXPECT_EQ(record->endCode, 1u);
}

TEST(HandDatabase, EntryTextExpandsTerminalsCharactersAndPairs) {
  TextDb db(HandDatabase());
  ReStatusBlock last{};
  EXPECT_EQ(db.AllText(1, &last), kEntry1);
  EXPECT_EQ(PACKED(last.warning), -352);
  EXPECT_EQ(db.AllText(2), kEntry2);
}

TEST(HandDatabase, TokensFollowTheAutomatonAndTheMarkupProgram) {
  TextDb db(HandDatabase());
  ReStatusBlock last{};
  const std::vector<Tok> tokens = db.AllTokens(2, &last);
  EXPECT_EQ(PACKED(last.warning), -352);
  ASSERT_EQ(tokens.size(), 4u);
  const char* texts[] = {"Dogs", "a", "dog", "ran"};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(tokens[i].text, texts[i]) << i;
  EXPECT_EQ(tokens[0].type, 7);  // the open program's type
  EXPECT_EQ(tokens[0].flags, 0x02 | 0x04);
  EXPECT_EQ(tokens[1].flags, 0x01 | 0x02);  // line mode: the line end breaks the line
  EXPECT_EQ(tokens[2].flags, 0x02);
  EXPECT_EQ(Render(tokens), kEntry2);
}

// One REsearch 145 run, 470 then 480: the entries hit.
std::vector<u32> Search(TextDb& db, const char* query, u32* result, std::string* firstTitle = nullptr) {
  void* block = nullptr;
  EXPECT_EQ(REmemory(&block, db.db().block(), 560, 470, 0), ReDone);
  auto* search = static_cast<ReSearchBlock*>(block);
  std::strcpy(search->query, query);
  search->caseMode = 1;
  search->handle = db.db().block()->handle;
  *result = REsearch(search, 145, 470);
  std::vector<u32> hits;
  for (u16 i = 0; i < search->hitCount; ++i) hits.push_back(PACKED(search->slots[i].entry));
  if (firstTitle && !hits.empty()) *firstTitle = search->slots[0].title;
  REsearch(search, 145, 480);
  REmemory(&block, nullptr, 560, 480, 0);
  return hits;
}

TEST(HandDatabase, SearchFindsWordsThroughTheIndexAndTheText) {
  TextDb db(HandDatabase());
  u32 result = 0;
  std::string title;
  EXPECT_EQ(Search(db, "cat", &result, &title), std::vector<u32>{1});
  EXPECT_EQ(result, ReWarn);  // the last page
  EXPECT_EQ(title, "Cats");   // the text before the first line feed
  EXPECT_EQ(Search(db, "dog | sat", &result), (std::vector<u32>{1, 2}));
  EXPECT_EQ(Search(db, "dog & sat", &result), std::vector<u32>{});
  EXPECT_EQ(result, ReWarn);
}

// A thesaurus (text format 8) written out by hand: its main index holds one
// ring, big -> large -> huge -> big. Members are numbered by their place in
// the index (big 1, huge 2, large 3); each record's list number names the
// next member, and its extension's class byte the word class.
builder::Bytes HandThesaurus() {
  handbytes::HandFile f(1024);
  f.Text(0, "C hand-made thesaurus");
  f.Be16(384, 9), f.Be16(386, 1), f.Be16(388, 5), f.Be16(390, 2);
  f.Be32(700, kHandId);
  f.Be16(706, 8);  // text format 8: a synonym database
  f.Be16(788, 1);  // line rule "other"
  f.Be16(790, 2), f.Be32(792, 900), f.Be16(796, 1), f.Be16(798, 0x0081);
  f.Be16(900, 2), f.Be16(902, 1), f.Be32(904, 1024), f.Be32(908, 1024);  // main index
  f.Be16(912, 1), f.Be16(914, 1), f.Be32(916, 2048), f.Be32(920, 516);   // text

  const std::size_t x = 1024;  // the main index
  f.Be16(x + 0, 2), f.Be16(x + 2, 1);
  f.Be16(x + 26, 7);     // format level
  f.Be16(x + 116, 20);   // entry-list count
  f.Be16(x + 140, 512);  // block size
  f.Be16(x + 146, 16);   // longest word
  f.Be16(x + 148, 8);    // code width
  f.Be16(x + 80, 5), f.Be32(x + 82, 256);
  TableRecord(f, x + 256, 200, 340, 1, 3, 39);  // pool; literal limit 3
  TableRecord(f, x + 272, 210, 380, 2, 4, 8);   // offsets of codes 0-3
  TableRecord(f, x + 288, 220, 388, 1, 4, 4);   // lengths
  TableRecord(f, x + 304, 230, 392, 4, 2, 8);   // prefixes of blocks 0 and 1
  TableRecord(f, x + 320, 310, 400, 2, 2, 4);   // entries before blocks 0 and 1
  // Records with list-number tails: header, letters, 10 (an extension
  // follows), terminator 0, one byte, 24-bit delta; then the extension's
  // class byte and its empty text's terminator.
  f.Put(x + 340, {0x00, 'b', 'i', 'g', 10, 0, 0, 0x00, 0x00, 0x03, 1, 0});            // -> 3
  f.Put(x + 352, {0x03, 'h', 'u', 'g', 'e', 10, 0, 0, 0xFF, 0xFF, 0xFE, 1, 0});       // -> 1
  f.Put(x + 365, {0x04, 'l', 'a', 'r', 'g', 'e', 10, 0, 0, 0x00, 0x00, 0x01, 1, 0});  // -> 2
  f.Put(x + 380, {0, 0, 0, 0, 0, 12, 0, 25});
  f.Put(x + 388, {0, 12, 13, 14});
  f.Put(x + 392, {0, 0, 0, 0, 'b', 'i', 'g', ' '});
  f.Put(x + 400, {0, 0, 0, 0});
  f.Put(x + 512, {1, 2, 3, 0});  // block 1

  const std::size_t c = 2048;  // the text: three empty entries
  f.Be16(c + 0, 1), f.Be16(c + 2, 1);
  f.Be16(c + 30, 5);  // the stream at file offset 2560
  f.Be16(c + 80, 4), f.Be32(c + 82, 256);
  f.Be32(c + 104, 3);   // entries
  f.Be16(c + 114, 4);   // 4 entries a group
  f.Be16(c + 118, 8);   // code width
  f.Be16(c + 120, 64);  // longest entry text: the longest ring text
  f.Be16(c + 122, 20);  // longest line
  TableRecord(f, c + 256, 10, 320, 4, 1, 4);
  TableRecord(f, c + 272, 20, 324, 2, 1, 2);
  TableRecord(f, c + 288, 30, 328, 2, 1, 2);
  TableRecord(f, c + 304, 60, 332, 1, 1, 4);
  f.Put(c + 320, {0, 0, 0, 0});              // group 0 from code 0
  f.Put(c + 324, {0, 0});                    // code 0: the end code, at pool offset 0...
  f.Put(c + 328, {0, 4});                    // ... 4 bytes long
  f.Put(c + 332, {0xFE, 0xFE, 0xFE, 0xFE});  // its text
  f.Put(2560, {0, 0, 0, 0});                 // entries 0-3, each only its end code
  return f.bytes();
}

TEST(HandDatabase, ThesaurusRingsFromTheIndex) {
  TextDb db(HandThesaurus());
  EXPECT_EQ(db.Entry(1, 470), ReWarn);
  EXPECT_EQ(PACKED(db.entry()->status->warning), -352);
  EXPECT_STREQ(db.entry()->text, "<DS>big\n<PS>1\n<SY>large<D1>huge</SY>");
  EXPECT_EQ(db.Entry(1, 480), ReDone);
  EXPECT_EQ(db.Entry(2, 470), ReWarn);
  EXPECT_STREQ(db.entry()->text, "<DS>huge\n<PS>1\n<SY>big<D1>large</SY>");
  EXPECT_EQ(db.Entry(2, 480), ReDone);

  const std::vector<Tok> tokens = db.AllTokens(3);
  ASSERT_EQ(tokens.size(), 5u);
  const char* texts[] = {"large", "1", "huge", ",", "big"};
  const u8 types[] = {0, 1, 7, 7, 7};
  const u8 flags[] = {0x06, 0x06, 0x06, 0x00, 0x02};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(tokens[i].text, texts[i]) << i;
    EXPECT_EQ(tokens[i].type, types[i]) << i;
    EXPECT_EQ(tokens[i].flags, flags[i]) << i;
  }
}

}  // namespace
}  // namespace texttest
