// Tagged text of dictionary-format entries: the tag lexicon, the cutting of a
// line into nodes, and the assembly of display text from a run of nodes.
#pragma once

#include "re_types.h"

// Tag codes of the lexicon; every other piece of text is a text node.
enum ReTagCode : u8 {
  ReTagSz = 211,     // <{sz}>, a spelling variant
  ReTagTrade = 212,  // <TRADE>
  ReTagE0End = 213,  // </E0>
  ReTagE0 = 214,     // <E0>
  ReTagWD = 216,
  ReTagUS = 217,
  ReTagUP = 218,
  ReTagUN = 219,
  ReTagUG = 220,
  ReTagRW = 222,
  ReTagPS = 223,
  ReTagGM = 224,
  ReTagGL = 225,
  ReTagFT = 227,
  ReTagDS = 228,
  ReTagDF = 229,
  ReTagD2 = 230,
  ReTagD1 = 231,
  ReTagCX = 233,
  ReTagCT = 234,
  ReTagCR = 235,
  ReTagAN = 237,
  ReTagAL = 238,
  ReTagSYEnd = 240,
  ReTagSY = 241,
  ReTagSE = 242,
  ReTagIL = 244,
  ReTagIDEnd = 245,
  ReTagID = 246,
  ReTagHYEnd = 248,
  ReTagHY = 249,
  ReTagHR = 250,
  ReTagBBEnd = 252,
  ReTagBB = 253,
  ReTagTextNode = 255,
};

// One node of a cut line: a tag or a piece of text.
struct ReTagNode {
  u32 offset;  // from the start of the line
  u32 length;
  u8 code;  // a ReTagCode
};

// Cuts `length` bytes of tagged text into at most `capacity` nodes and returns
// their number. A line of n bytes never needs more than n nodes.
u32 ReCutNodes(const char* text, u32 length, ReTagNode* nodes, u32 capacity);

// Group number of a tag that opens a group (<SY> 1 ... <SE> 8), else 0.
u8 ReTagGroup(u8 code);
// Tags that join the text around them when a text is assembled.
bool ReIsJoinerTag(u8 code);
// Text nodes and the tags that a walk passes together with a tag before them.
bool ReIsPassedWithTag(u8 code);

// What text assembly needs of the database.
struct ReTextFormat {
  u16 kind;            // the database's character-table index
  u16 optionMask;      // the options in force
  const u32* classes;  // character classes of the kind, or null
};

// A bounded text under construction; appends beyond the room are cut.
struct ReTextOut {
  char* text;
  u32 capacity;  // bytes of text, without the NUL that always follows
  u32 length;
};

void ReTextAppend(ReTextOut* out, const char* bytes, u32 count);
void ReTextAppendChar(ReTextOut* out, char c);

// One line with its nodes.
struct ReNodeLine {
  const char* text;
  const ReTagNode* nodes;
  u32 count;
};

// Assembles the run of text nodes and joiner tags that starts at node `start`
// into `out` and returns the index of the first node after the run. The run
// ends at the first tag that is not a joiner.
u32 ReAssembleRun(const ReTextFormat& format, const ReNodeLine& line, u32 start, ReTextOut* out);

// Folds upper-case accented letters to their plain capitals when the database
// asks for it (character-table index 5 with option mask 64).
void ReFoldAccents(const ReTextFormat& format, char* text, u32 length);

// Reads the decimal number of a text node (leading blanks and a sign allowed,
// at most 10 characters). A number that does not fit 32 bits is clamped.
u32 ReReadNodeNumber(const ReNodeLine& line, u32 node);
