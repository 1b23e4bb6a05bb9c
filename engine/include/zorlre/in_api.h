// Records of the inflection half of the engine library, shared with its
// callers: the word-form context, the conjugation context and the tables that
// INflect builds. All are byte-aligned with their fields back to back; in the
// Windows build every record keeps its exact 32-bit layout.
#pragma once

#include "re_types.h"

// Word-form context limits.
constexpr u32 InFormSlots = 300;      // form slots of one context
constexpr u32 InFormSlotSize = 40;    // bytes of one slot: at most 39 characters and a NUL
constexpr u32 InPresenceSize = 8192;  // check bytes of hash.dat

// Conjugation context limits.
constexpr u32 InDirectorySize = 261;
constexpr u32 InWordSize = 81;          // a base word or candidate: at most 80 characters
constexpr u32 InEntryWordSize = 80;     // a dictionary-entry word: at most 79 characters
constexpr u32 InMaxTables = 6;          // table records of one INflect
constexpr u32 InMaxEntries = 8;         // dictionary entries of one analysis
constexpr u32 InMaxCandidates = 150;    // candidates of one analysis
constexpr u32 InTagSize = 12;           // a word-class tag: at most 11 letters
constexpr u32 InTitleSize = 33;         // table title and line text: at most 32 characters
constexpr u32 InAbbreviationSize = 26;  // table abbreviation
constexpr u32 InCellTextSize = 26;      // words before a cell's forms: at most 25 characters
constexpr u32 InCellForms = 4;          // forms of one cell
constexpr u32 InFormSize = 81;          // one form of a cell: at most 80 characters
constexpr u32 InMarkerSize = 8;         // a variant marker such as " (Am)"
constexpr u32 InLineCells = 6;          // cells of one line: the six persons
constexpr u32 InResultSize = 200;       // result buffer of the word analysis in the fallback

// Results of the word-form calls.
enum : u32 { InFormsFound = 0, InNoForms = 4, InInitFailed = 8 };

// Results of INflect and of the word analysis.
enum : u32 {
  InBuilt = 2,          // tables built (INflect) or candidates found (analysis)
  InNotFound = 3,       // the word and its fallbacks were not found
  InNoTable = 4,        // no table could be built, or a null argument
  InNoDescriptor = 12,  // the data language has no language descriptor
};

// Error codes of the conjugation context.
enum : u16 { InErrorRead = 1010, InErrorOpen = 1012, InErrorMemory = 1030 };

// Modes of the conjugation context.
enum : u16 { InModeFill = 0, InModeBuild = 1, InModeReady = 2 };

// Label-language selector values, and the character-table indexes of the two data languages.
enum : u8 { InFrench = 5, InEnglish = 16 };

// Classes of a table.
enum : u8 { InClassNoun = 0, InClassAdjective = 1, InClassVerb = 2 };

// Flags of a cell (from the first byte of the word's dictionary entry).
enum : u8 { InCellNoElision = 0x01, InCellEtre = 0x02, InCellReflexive = 0x04 };

#pragma pack(push, 1)

// The word-form context: filled by INinitX, forms appended by INinflectX. The
// caller zeroes it, sets lemmaLookup to 1 after INinitX, and clears formCount
// before each INinflectX. The rule-value arrays hold big-endian u16, as in enue.ram.
struct InFormContext {
  u16 tagCount;  // table C: 11-byte records
  u8* tags;
  u16 matrixRows;
  u16 matrixRowBytes;  // (rules + 7) / 8
  u8* ruleMatrix;
  u16 ruleCount;
  u8* ruleValues;    // the block: first values, then second values
  u8* firstValues;   // = ruleValues
  u8* secondValues;  // = ruleValues + 2 x rules
  u8 flags;          // header byte 14
  u16 tableDCount;   // table-D size / 3
  u8* tableD;
  i16 presenceSize;  // 8192
  u8* presence;
  u16 tableACount;  // 20-byte records
  u8* tableA;
  u16 endingCount;  // table B: 20-byte records
  u8* endings;
  u32 dskFile;  // enue.dsk while INinitX reads it
  u16 recordLength;
  u16 recordCount;
  u8* recordKeys;
  u16 phraseCount;
  u16 codeWidth;
  u16 header20;
  u8* phraseOffsets;  // little-endian u16
  u8* phraseLengths;
  u8* phrasePool;
  u16 lemmaLookup;  // 1: the entry scan matches forms
  char forms[InFormSlots][InFormSlotSize];
  u16 formFirstValues[InFormSlots];
  u16 formSecondValues[InFormSlots];
  u16 formCount;
  u8* dskImage;
};
RE_ASSERT_SIZE(InFormContext, 13291);

// One cell of a table line: the words before the forms (a person's pronoun,
// auxiliary, or a label), and up to four forms, each with its variant marker
// and variant flags. A reader shows a cell as its text followed by its forms.
struct InTableCell {
  char text[InCellTextSize];
  i16 formCount;
  char forms[InCellForms][InFormSize];
  char markers[InCellForms][InMarkerSize];
  u8 formFlags[InCellForms];
  u8 flags;  // InCellNoElision, InCellEtre, InCellReflexive
};
RE_ASSERT_SIZE(InTableCell, 389);

// One line of a table: a tense or a set of declension forms.
struct InTableLine {
  char text[InTitleSize];  // the row label
  i16 cellCount;
  InTableCell cells[InLineCells];
};
RE_ASSERT_SIZE(InTableLine, 2369);

// One table built by INflect: the conjugation of a verb or the declension of
// a noun or an adjective. Its lines are the tenses (or the one declension
// line); its title cells are the infinitive, participles and imperative of a
// verb, shown above the lines.
struct InTableRecord {
  char word[InWordSize];
  char tag[InTagSize];
  i16 codeOffset;  // offset of the form code inside a table-C record
  u8 wordClass;    // InClassNoun, InClassAdjective, InClassVerb
  char title[InTitleSize];
  char abbreviation[InAbbreviationSize];
  u8 verbFlags;  // the candidates' first bytes, OR-ed (InCellEtre: compound tenses take etre)
  u8 flags;      // the candidates' variant flags, OR-ed
  i16 lineCount;
  InTableLine* lines;
  i16 titleCount;
  InTableCell* titles;
};
RE_ASSERT_SIZE(InTableRecord, 169);

// The conjugation context. The caller zeroes it and fills the two directories,
// the two file names, the mode and the label-language selector.
struct InTableContext {
  char ramDirectory[InDirectorySize];
  char* ramName;
  char dskDirectory[InDirectorySize];
  char* dskName;
  u16 mode;              // InModeReady before each INflect
  u8 labelLanguage;      // InFrench or InEnglish labels
  u8 descriptorPresent;  // 1 when the data language has a language descriptor
  char baseWord[InWordSize];
  i16 tableCount;
  InTableRecord* tables[InMaxTables];
  u8 charTableIndex;
  u32 dskFile;
  u8 dskOpen;
  u16 tagCount;         // table C: 11-byte tags
  u16 classIndexCount;  // index of table E: one entry per dictionary-entry class
  u16 tableACount;      // 6-byte records
  u16 endingCount;      // table B: 6-byte records
  u16 ruleCount;
  u8 flags;  // header byte 14
  u16 recordLength;
  u16 recordCount;
  u16 codeWidth;
  u16 phraseCount;
  u16 header20;
  u16 phrasePoolSize;
  u16 endingPoolSize;
  u16 classRulesSize;  // table E bytes
  u16 hashIndexCount;  // table F: 4-byte entries
  u16 rewritesSize;    // table G bytes
  u16 wordHashSize;
  u8* tags;
  u8* classIndex;
  u8* tableA;
  u8* endings;
  u8* ruleValues;
  u8* firstValues;
  u8* secondValues;
  u8* recordKeys;
  u8* phraseOffsets;
  u8* phraseLengths;
  u8* phrasePool;
  u8* recordBuffer;
  u8* endingPool;
  u8* classRules;
  u8* hashIndex;
  u8* rewrites;
  u8* wordHash;
  i16 entryCount;
  u16 entryClasses[InMaxEntries];
  const u32* charClasses;
  u16 error;  // 0, InErrorRead, InErrorOpen, InErrorMemory
  i16 candidateCount;
  char candidates[InMaxCandidates][InWordSize];
  char entryWords[InMaxEntries][InEntryWordSize];
  u8 entryFirstBytes[InMaxEntries];
  u8 entrySecondBytes[InMaxEntries];
  u8 candidateFirstBytes[InMaxCandidates];
  u8 candidateSecondBytes[InMaxCandidates];
  u16 candidateFirstValues[InMaxCandidates];
  u16 candidateSecondValues[InMaxCandidates];
  u8 builderFlag;
};
RE_ASSERT_SIZE(InTableContext, 14481);

#pragma pack(pop)
