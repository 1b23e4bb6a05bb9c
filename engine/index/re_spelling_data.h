// The spelling data of a word index (index tables 250, 260, 270 and 290; the
// layouts are in docs/formats.md): the pass rule table, the exception list,
// the key-prefix list and the fragment tables. Read in place; every access is
// bounded by its table's length.
#pragma once

#include "re_types.h"

constexpr u32 ReRuleRows = 12;
constexpr u32 ReFragmentRecordSize = 10;
constexpr u32 ReFragmentTextSize = 4;

// Rows of the rule table.
enum : u8 {
  ReRowAnchor = 0,
  ReRowKind = 1,
  ReRowTotal = 2,
  ReRowVowel = 3,
  ReRowSubstitution = 4,
  ReRowFragment = 5,
  ReRowLength = 6,
  ReRowKeyTotal = 7,
  ReRowKeyVowel = 8,
  ReRowKeySubstitution = 9,
  ReRowKeyFragment = 10,
  ReRowShortWords = 11,
};

struct ReSpellingData {
  bool loaded;
  // Table 250: u16 rule count, then the rows (row r of pass p at r x count + p).
  const u8* rules;
  u32 rulesLength;
  u16 ruleCount;
  // Table 260: u16 count, then pairs of NUL-terminated strings.
  const u8* exceptions;
  u32 exceptionsLength;
  u16 exceptionCount;
  // Table 270: the key-prefix list.
  u16 groupCount;
  const u8* groupRows;  // four rows of groupCount bytes: first, second, start high, start low
  const u8* thirdTable;
  const u8* fourthTable;
  const u8* entries;
  u32 entriesLength;
  // Table 290: the fragment tables.
  bool fragmentSwitch;
  u16 fragmentCount;
  const u8* fragments;  // fragmentCount records, sorted by typed text
};

// Reads the tables' heads; a table that is absent or too short for what its
// head announces counts as absent.
void ReLoadSpellingData(ReSpellingData* data, const u8* rules, u32 rulesLength, const u8* exceptions,
                        u32 exceptionsLength, const u8* prefixes, u32 prefixesLength, const u8* fragments,
                        u32 fragmentsLength);

// The rule value of a row for a pass; 0 outside the table.
u8 ReRuleValue(const ReSpellingData& data, u32 row, u32 pass);

// The i-th exception pair; false when it is not wholly inside the table.
bool ReExceptionPair(const ReSpellingData& data, u16 i, const char** typed, const char** correct);

// A fragment: its text as found in index words and as typed.
struct ReFragmentText {
  const u8* indexText;
  u8 indexLength;  // 1-4
  const u8* typedText;
  u8 typedLength;  // 1-4
};
bool ReFragmentAt(const ReSpellingData& data, u16 i, ReFragmentText* out);

// Walks the key-prefix list in order, group by group. Keys are 4 bytes,
// space-padded.
class RePrefixListCursor {
 public:
  explicit RePrefixListCursor(const ReSpellingData& data) : data_(data) {}
  // Moves to the next group; false after the last.
  bool NextGroup();
  u8 first() const { return first_; }
  u8 second() const { return second_; }
  // The next key of the current group; false at the group's end or at a
  // malformed entry.
  bool NextKey(u8 key[4]);

 private:
  const ReSpellingData& data_;
  i32 group_ = -1;
  u8 first_ = 0, second_ = 0;
  u32 at_ = 0, end_ = 0;
  u8 third_ = ' ', fourth_ = ' ';
};
