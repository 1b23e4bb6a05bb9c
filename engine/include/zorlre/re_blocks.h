// Control blocks: the caller-owned parameter and result records that REmemory
// makes, re-sizes and frees. All are packed and read by position; the sizes
// asserted below are those of the 32-bit Windows build.
#pragma once

#include "re_status.h"
#include "re_types.h"

// Block types (REmemory's type argument).
enum : u16 {
  ReBlockApp = 510,
  ReBlockDb = 520,
  ReBlockIdxList = 530,
  ReBlockEntList = 540,
  ReBlockEntry = 550,
  ReBlockToken = 555,
  ReBlockSearch = 560,
  ReBlockStrTab = 565,
  ReBlockSubset = 575,
  ReBlockEtPar = 590,
};

// Called while the engine walks the index; nonzero asks it to stop (-900).
using ReProgressCallback = i32(RE_CALL*)(u32 done, u32 total);

#pragma pack(push, 1)

// Directory (with its trailing separator) and file name of a database.
struct ReFileSpec {
  const char* directory;
  const char* fileName;
};

// 510: the session (REapp).
struct ReAppBlock {
  u16 session;
  u8 capabilities[4];  // 255, 159, 0, 0
  char version[9];     // "2.3"
  ReStatusBlock* status;
};
RE_ASSERT_SIZE(ReAppBlock, 19);

// Feature bits of ReDbBlock::features.
enum : u8 {
  ReFeatTextMode1 = 1,
  ReFeatTextMode2 = 2,
  ReFeatIndexFlags = 4,  // index flags with bits 1, 4 and 8 all set
  ReFeatSearch = 8,      // search index present: searching allowed
  ReFeatMarkup = 16,     // tables 80 and 90 present
  ReFeatSubsets = 32,    // subset definitions present
};

// One selectable subset as the block lists it.
struct ReSubsetListEntry {
  u16 id;
  u8 level;
};
static_assert(sizeof(ReSubsetListEntry) == 3, "subset list entries are 3 bytes");

struct ReSubsetBlock;

// 520: a database (REdb).
struct ReDbBlock {
  const ReFileSpec* fileSpec;   // caller
  u16 optionMask;               // caller: search options requested
  ReProgressCallback progress;  // caller, or none
  u16 session;
  u16 variant;  // header word 704
  u8 features;
  u8 reserved1[3];
  u16 kind;            // header word 386; selects the character classes
  u16 capabilityMask;  // header word 798
  u32 databaseId;      // header u32 700
  u16 headerWord738;
  u16 handle;  // 1-65534 while open
  u32 entryCount;
  u32 textWord108;
  u16 longestEntryText;
  u16 longestWord;
  u16 longestLine;
  u16 entryListCount;
  u16 stringTableSize;
  u32 loadedBytes;
  u16 subsetCount;  // selectable subsets (0 = none)
  ReSubsetListEntry* subsetList;
  u32 selectionDatabase;  // database id the selection belongs to
  u8* selection;          // one selection value per selectable subset
  u8 reserved2[18];
  ReSubsetBlock* restriction;  // caller: optional further restriction
  u8* activeSubset;            // entry bit vector in force, or none
  ReStatusBlock* status;
};
RE_ASSERT_SIZE(ReDbBlock, 96);

// 530: index lists (REidxlst).
struct ReIdxListBlock {
  char* word;  // longest word + 1 bytes
  u16 handle;
  u16 minimumLength;
  u8* featureMask;  // 4 bytes
  u8 wordClass;
  u32 position;
  u32 databaseId;
  u16 resultLimit;
  u16 resultAreaSize;
  ReStatusBlock* status;
  i16 foundCount;
  char* results;  // packed NUL-terminated strings
};
RE_ASSERT_SIZE(ReIdxListBlock, 35);

// One entry-list slot (18 bytes).
struct ReEntListSlot {
  u32 entry;  // 0 = empty
  char* title;
  u8 wordClass;
  u8 spare;
  u8 notWritten[4];
  u32 featureMask;
};
RE_ASSERT_SIZE(ReEntListSlot, 18);

// 540: entry lists (REentlst).
struct ReEntListBlock {
  char* word;  // longest line + 1 bytes
  u8 matchMode;
  u8 pageState1[2];
  u16 handle;
  u8 pageState2[4];
  u32 databaseId;
  u16 capacity;
  ReStatusBlock* status;
  char* line;  // longest word + 1 bytes
  u16 count;
  ReEntListSlot* slots;
};
RE_ASSERT_SIZE(ReEntListBlock, 33);

// 550: entry text (REentry).
struct ReEntryBlock {
  u32 entry;
  u16 handle;
  u16 readPosition;
  u32 textMode;
  u32 databaseId;
  u16 bufferSize;
  u16 subsetResult;
  ReStatusBlock* status;
  u16 textLength;
  char* text;
};
RE_ASSERT_SIZE(ReEntryBlock, 30);

// A token of a text chunk (9 bytes).
struct ReToken {
  char* text;
  u8 length;
  u8 type;
  u8 groupMark;
  u8 flags;
  u8 style;
};
RE_ASSERT_SIZE(ReToken, 9);

// 555: text token chunks (REtoken).
struct ReTokenBlock {
  u32 entry;
  u16 handle;
  u8 termCount;  // 0-8; 0 switches hit marking off
  u16 textLength;
  const char* terms[8];
  u16 markingMode;
  u32 databaseId;
  u16 capacity;  // tokens per chunk; the text buffer holds 8 x capacity bytes
  u16 firstToken;
  u16 subsetResult;
  ReStatusBlock* status;
  u16 tokenCount;
  char* text;
  ReToken* tokens;
};
RE_ASSERT_SIZE(ReTokenBlock, 67);

// A hit slot of a search page (8 bytes).
struct ReHitSlot {
  u32 entry;
  char* title;
};
RE_ASSERT_SIZE(ReHitSlot, 8);

constexpr u32 ReQueryBufferSize = 1024;

// 560: Boolean searches (REsearch, REconqry).
struct ReSearchBlock {
  char* query;  // 1024 bytes
  u8 caseMode;
  u16 handle;
  u32 searchState1;
  u32 searchState2;
  u32 databaseId;
  u16 slotCount;
  ReStatusBlock* status;
  u16 hitCount;
  ReHitSlot* slots;
};
RE_ASSERT_SIZE(ReSearchBlock, 31);

// 565: string tables (REstrtab).
struct ReStrTabBlock {
  u16 firstKey;
  u16 secondKey;
  u16 version;
  u16 optionMask;
  u16 handle;
  u32 databaseId;
  ReStatusBlock* status;
  char* text;  // string-table size + 1 bytes
};
RE_ASSERT_SIZE(ReStrTabBlock, 22);

// 575: an entry bit vector (no status record). Bit e, from the low bit of
// byte e / 8, stands for entry e; the vector holds entry count / 8 + 1 bytes.
struct ReSubsetBlock {
  u32 databaseId;
  u8* bits;
};
RE_ASSERT_SIZE(ReSubsetBlock, 8);

// 590: entry-text parsing (REetpar). The first 17 bytes are its request
// fields.
struct ReEtParBlock {
  void* databaseRecord;
  const char* word;
  ReEntListSlot* slots;
  i16 slotCount;
  i16 currentSlot;
  u8 selectionFlag;
  const char* selectionText;
  char* text;  // longest line + 1 bytes
  ReStatusBlock* status;
  void* result;
};
RE_ASSERT_SIZE(ReEtParBlock, 33);

#pragma pack(pop)
