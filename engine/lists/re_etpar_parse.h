// Turning tagged text into parsed entries: headlines and labels of slots,
// sub-items of entry lines, entries of text-mode lines, and the choice of the
// current entry. Works on lines; reading the entries is REetpar's.
#pragma once

#include "re_etpar_records.h"
#include "re_tagged_text.h"
#include "re_types.h"

// String-table look-ups for the labels.
struct ReLabelSource {
  void* context;
  // 0 found (*text is a heap copy), 4 absent, 8 no memory.
  u32 (*lookup)(void* context, u16 key1, u16 key2, bool second, char** text);
};

struct ReEtParser {
  ReTextFormat format;
  ReLabelSource labels;
  u16 posKey;  // text mode, index 6: part-of-speech key of the entries that follow
  ReTagNode* nodes;
  u32 nodeCapacity;
  char* scratch;
  u32 scratchCapacity;
};

void ReInitParser(ReEtParser* parser, const ReTextFormat& format, const ReLabelSource& labels);
void ReFreeParser(ReEtParser* parser);

// The parsed entry of one entry-list slot: headline from its title, labels by
// its class byte, class code 1, no sub-items. 0 or 8 (no memory).
u32 ReMakeSlotEntry(ReEtParser* parser, const char* title, u8 classByte, ReEtParEntry** entry);

// Adds the sub-items of one line of an entry's text (and its note, when the
// entry has none yet) to the entry. 0 or 8 (no memory).
u32 ReParseEntryLine(ReEtParser* parser, const char* line, u32 length, ReEtParEntry* entry);

// Text mode: takes the headword and part-of-speech key of one line and makes
// an entry from its first group tag, appended to the result. 0 or 8.
u32 ReParseTextModeLine(ReEtParser* parser, const char* line, u32 length, ReEtParResult* result);

// What the choice of the current entry compares with.
struct ReSelection {
  bool flag;                  // the caller chose a text
  const char* selectionText;  // index 6, flag set
  const char* buffer;         // other indexes, flag set
  const char* word;           // the looked-up word
  const char* firstTitle;     // title of the first slot
};
// Sets result->current to the first entry that matches (0 when none does).
void ReChooseCurrentEntry(ReEtParResult* result, u16 kind, const ReSelection& selection);

// Appends one entry pointer to the result (the array is made anew). 0 or 8.
u32 ReAppendEntry(ReEtParResult* result, ReEtParEntry* entry);

void ReFreeEntryItems(ReEtParEntry* entry);
void ReFreeEntry(ReEtParEntry* entry);
void ReFreeResult(ReEtParResult* result);

// A NUL-terminated heap copy of `length` bytes, or null.
char* ReCopyText(const char* text, u32 length);
