// The two built-in language descriptors of the conjugation engine: the word
// classes they tabulate, where each form code goes in a table, the pronouns
// and auxiliaries of the cell texts, the variant markers and the labels.
// Strings are in the data's character code.
#pragma once

#include "re_types.h"

constexpr i8 InTitleLine = -1;  // a place in the title cells (the second list)
constexpr u32 InMaxTenses = 15;
constexpr u32 InTitleCells = 4;

struct InDescriptorTag {
  const char* tag;
  u8 wordClass;
};

// One placement of a form code: line (or InTitleLine) and the cells it fills.
struct InPlace {
  const char* code;
  u8 wordClass;
  i8 line;
  u8 cellCount;
  u8 cells[6];
};

struct InLabelSet {
  const char* language;
  const char* classTitles[3];         // noun, adjective, verb
  const char* classAbbreviations[3];  // "n", "adj", "v"
  const char* classRows[2];           // the one line of a noun and of an adjective table
  const char* tenses[InMaxTenses];
  const char* titleLabels[InTitleCells];  // infinitive, present participle, past participle, last title cell
  const char* markers[4];                 // variant markers (English data)
  const char* nounCells[4];
  const char* adjectiveCells[4];
};

// English compound row: the title cell its forms come from and the auxiliary per person.
struct InCompoundRow {
  u8 line;
  u8 source;
  const char* auxiliaries[6];
};

struct InMarkerMapping {
  u8 flags;
  u8 marker;  // index into the label set's markers
};

struct InDescriptor {
  u8 tableIndex;
  const InDescriptorTag* tags;
  u32 tagCount;
  i16 codeOffset;
  u8 rows[3];             // lines of a noun, adjective and verb table
  u8 cells[3];            // cells per line
  const InPlace* places;  // besides the French tense codes, which are read from the code itself
  u32 placeCount;
  const char* subjects[6];
  const char* elidedSubjects[6];  // null when the pronoun has no elided form
  const char* reflexives[6];      // French data
  const char* elidedReflexives[6];
  const char* avoir[7][6];  // French compound tenses, by simple tense and person
  const char* etre[7][6];
  const char* imperativePronouns[3];  // "-toi", "-nous", "-vous"
  const InCompoundRow* compoundRows;  // English data
  u32 compoundRowCount;
  const InMarkerMapping* markerMap;
  u32 markerMapCount;
  u8 defaultFlags;
  InLabelSet labels[2];  // [0] in the data's own language, [1] in the other
};

// The descriptor of a character-table index (5 French, 16 English), or null.
const InDescriptor* InFindDescriptor(u8 tableIndex);
// The label set chosen by the context's selector: 5 French, 16 English, else the first.
const InLabelSet& InChooseLabels(const InDescriptor& descriptor, u8 selector);

// Calls `place` for every placement of a form code of the given class.
template <class Visit>
void InForEachPlace(const InDescriptor& d, const char* code, u8 wordClass, Visit place);

// French tense codes: "v" + tense letter + "s"/"p" + person 1-3.
bool InFrenchTenseCode(const char* code, u8* line, u8* cell);

#include <cstring>

template <class Visit>
void InForEachPlace(const InDescriptor& d, const char* code, u8 wordClass, Visit place) {
  u8 line = 0;
  u8 cell = 0;
  if (d.tableIndex == 5 && wordClass == 2 && InFrenchTenseCode(code, &line, &cell)) {
    const InPlace tense{code, wordClass, static_cast<i8>(line), 1, {cell}};
    place(tense);
    return;
  }
  for (u32 i = 0; i < d.placeCount; ++i)
    if (d.places[i].wordClass == wordClass && std::strcmp(d.places[i].code, code) == 0) place(d.places[i]);
}
