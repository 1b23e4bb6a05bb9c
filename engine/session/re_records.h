// The engine's own records behind a database handle: the database record
// (one per open file and session, shared by its handles), the word-index
// descriptor it owns, and the work record of each handle. All live in
// zero-filled global memory, locked once for their whole life, so pointers
// into them stay valid; the lock refreshes the few derived pointers anyway.
//
// Later layers extend these records: add fields at the end of the section
// they belong to, and free what they own in the release hooks below.
#pragma once

#include "re_blocks.h"
#include "re_bytes.h"
#include "re_file.h"
#include "re_memory.h"
#include "re_status.h"
#include "re_types.h"

constexpr u32 ReNameSize = 261;

// A table of a component, as loaded: whole in locked global memory, or
// small on the heap (converted and then freed). data is null when absent.
struct ReTable {
  ReMemHandle memory;  // global memory, or null
  u8* data;
  u32 length;        // bytes
  u32 elementSize;   // from the table record
  u32 elementCount;  // from the table record (table 10 may carry +65536)
  bool onHeap;
};

// One subset definition (18 bytes, in file order: the tree in pre-order).
#pragma pack(push, 1)
struct ReSubsetNode {
  u16 id;
  u8 level;         // depth, 0 at the top
  u8 flags;         // 0 not selectable; bits 1, 2, 4, 8 restrict the values
  u32 first;        // first entry of the range (0 = no range)
  u32 last;         // last entry of the range
  u16 nextSibling;  // index of the node after this node's subtree (0 = the next node)
  u32 storedBits;   // 1 + offset of the node's bits in table 50, or 0
};
#pragma pack(pop)
static_assert(sizeof(ReSubsetNode) == 18, "subset nodes are 18 bytes");

// Tables of one index component, as loaded.
struct ReIndexTables {
  ReTable phrasePool;     // 200
  ReTable phraseOffsets;  // 210: big-endian u16 per code
  ReTable phraseLengths;  // 220: one byte per code
  ReTable prefixes;       // 230: one element per block, element size = prefix length
  ReTable table240;       // 240 as stored (heap), split into blockArrays
  ReTable table250, table260, table270, table280, table290, table300;
  ReGlobalBlock blockValues;  // 310 expanded to u32 per block (host order)
  u32 blockValueCount;
  ReGlobalBlock blockArrays[4];  // 240 split: u32, u32, u8, u8 per block
  u32 blockRecordCount;          // table 240 length / 8
};

// The word index of an open database (one per database record). Filled by
// the container at open; its pointers are refreshed at the first nested lock.
struct ReIndexDescriptor {
  u16 blockSize;
  i16 formatLevel;
  u8 indexFlags;
  u8 recordOptions;
  u32 indexBase;  // file offset of block 0 (the component's file offset)
  const u8* phrasePool;
  u32 phrasePoolLength;
  const u8* phraseOffsets;  // big-endian u16 per code
  u32 phraseOffsetsLength;
  const u8* phraseLengths;
  u32 phraseLengthsLength;
  const u8* prefixTable;  // blockCount elements of prefixLength bytes
  u16 blockCount;
  u16 codeWidth;
  u16 literalLimit;  // table 200's element count
  u8 prefixLength;   // at most 4
  u16 longestWord;
  u16 defaultListCount;  // index word 116
  u8 databaseKind;
  const u32* charClasses;  // null for kinds without a table
  ReFileHandle file;       // the file of the work record that holds the lock
  // Per-block arrays built from table 240, the table itself, and the
  // further tables (null when absent).
  const u32* blockFirst;
  const u32* blockSecond;
  const u8* blockThird;
  const u8* blockFourth;
  const u8* table240;
  u32 table240Length;
  const u8* table250;
  u32 table250Length;
  const u8* table260;
  u32 table260Length;
  const u8* table270;
  u32 table270Length;
  const u32* blockValues;  // table 310, one per block
  u32 blockValueCount;
  const u8* wordHash;  // table 280: big-endian u32 entries
  u32 wordHashLength;
  // The spelling lookup adds its rule tables here.
};

// Sections of the markup table (table 90) once converted to host order.
struct ReMarkupSections {
  u16 elementCount, transitionCount, sequenceCount, codeListCount;
  const u16* elements;     // elementCount x 4 words
  const u16* transitions;  // transitionCount x 2 words
  const u16* sequences;
  const u16* codeLists;
  const u8* programs;
  u32 programsLength;
};

// The character automaton (table 80) once converted to host order.
struct ReAutomatonSections {
  const u32* values;  // the head's values (values[0]: name area offset)
  u32 valueCount;
  const u16* entries;  // pairs: set offset in the name area, next state
  u32 entryCount;
  const u8* names;
  u32 namesLength;
};

struct ReDbRecord;
struct ReWorkRecord;
using ReDbReleaseHook = void (*)(ReDbRecord* record);
using ReWorkReleaseHook = void (*)(ReWorkRecord* work);

// Table 30's word of a code at or above the terminal count that stands for
// one character (table 20's low byte).
constexpr u16 ReSingleCharacter = 0xFFFF;

struct ReDbRecord {
  char directory[ReNameSize];
  char fileName[ReNameSize];

  // Header values.
  u16 kind;
  u32 databaseId;
  u16 variant;
  u16 headerWord738;
  u16 lineRule;
  u16 capabilityMask;
  u16 componentHeaderUnits;  // component header size / 512
  u16 textFormat;            // header word 706
  u16 titleMode;             // header word 708
  u16 dotMode;               // header word 710
  u32 fileSize;
  ReGlobalBlock directoryCopy;  // 12 bytes an entry, as stored
  u16 directoryCount;

  // Results of the component walk.
  u8 textMode;  // 0, 1 or 2 (variant 8 adds 2)
  u8 indexFlags;
  bool searchAllowed;  // search index present
  u8 features;         // ReFeat* bits
  u32 loadedBytes;
  u16 longestLine;  // by the line rule, at most 65534
  u16 longestWord;
  u16 entryListCount;
  u16 stringTableSize;

  // Text component.
  bool hasText;
  u32 textComponentOffset;
  u32 textComponentLength;
  u32 textStart;   // text word 30 x 512, after the +32 MiB rule: a file offset
  u32 textBase;    // file offset of the code stream
  u32 textLength;  // bytes of code stream: from the text start to the end of the component
  u32 entryCount;
  u32 textWord108;
  u16 groupShift;  // halvings of text word 114
  u16 codeWidth;   // text word 118
  u32 codeMask;
  u16 longestEntryText;  // text word 120
  u32 rawAreaSize;       // text word 124: table 50 below it is stored raw
  u32 cacheSize;         // text word 128, at least 1024
  u32 groupCount;        // table 10's element count (+65536 after the text start rule)
  u32 codeCount;         // table 20's element count
  u32 terminalCount;     // table 60's element count (0 without table 60): codes below it are terminals
  u32 endCode;
  ReTable groupIndex;     // 10: big-endian u32 per group
  ReTable codeFirst;      // 20: big-endian u16 per code
  ReTable codeSecond;     // 30: big-endian u16 per code
  ReTable subsetBits;     // 50 when loaded whole
  ReTable phrasePool;     // 60
  ReTable charAutomaton;  // 80, host order
  ReTable markup;         // 90, host order
  ReAutomatonSections automaton;
  ReMarkupSections markupSections;
  u32 subsetBitsOffset;  // file offset of table 50
  u32 subsetBitsLength;
  bool subsetBitsCached;  // read on demand through each work record's cache

  // Subsets.
  ReGlobalBlock subsetNodes;  // ReSubsetNode array
  u16 subsetNodeCount;
  ReGlobalBlock subsetList;  // ReSubsetListEntry per selectable node
  u16 selectableCount;

  // Word indexes.
  ReMemHandle indexMemory;
  ReIndexDescriptor* index;  // main index (subtypes 1, 2)
  bool hasMainIndex;
  ReIndexTables mainTables;
  ReIndexDescriptor searchIndex;  // search index (subtype 3)
  ReIndexTables searchTables;

  // State of later layers, built on first use and released by their hooks
  // when the last handle closes.
  void* indexState;
  ReDbReleaseHook releaseIndexState;
  void* searchBuffers;
  ReDbReleaseHook releaseSearchBuffers;
  void* entryReading;
  ReDbReleaseHook releaseEntryReading;
  // Hits of the last concept collection on this database, for REcontable.
  u32 conceptHitTable;
  u32 conceptHitCount;
  // The string table of REstrtab (table 320 of the main index), or absent.
  ReTable stringTable;
};

// Fixed-size slots handed out in order; the fill pointer is rewound at
// every lock.
struct ReSlotPool {
  u16 used;
  u16 reserved;
  u16 slotCount;
  u16 slotSize;
  u8* nextFree;
  u8* slots;  // slotCount x slotSize bytes, behind the pool record
};

constexpr u32 ReWordBufferCount = 8;
constexpr u32 ReResultRecordSize = 72;

// Search state of a handle.
struct ReHandleSearchState {
  u8* workA;
  u8* workB;
  u16 optionMask;
  ReProgressCallback progress;
  char* words[ReWordBufferCount];  // longest word + 1 bytes each
  u8* resultRecord;                // 72 bytes
  u16 blockSize;                   // index values of the main index
  u16 blockCount;
  u16 codeWidth;
};

struct ReWorkRecord {
  ReStatusBlock* status;  // status of the current call (set by the lock)
  ReFileHandle file;      // the handle's own file
  u8* workA;              // entry-list count bytes
  u32 workALength;
  u8* workB;  // 8 x entry-list count bytes
  u32 workBLength;
  ReHandleSearchState* search;
  u8* blockBuffer;  // the larger index block size
  u32 blockBufferSize;
  ReCodeReader* textReader;  // over the entry text, 256-byte buffer
  ReSlotPool* smallPool;     // 40 x 6
  ReSlotPool* largePool;     // 16 x 166
  char* wordBuffers;         // the eight word buffers in one allocation
  u8* selection;             // one byte per selectable subset
  u16 selectionCount;
  u8* subsetCache;  // table 50 read on demand
  u32 cacheStart;   // offset within table 50 of the cached bytes
  u32 cacheFilled;
  u8* activeVector;  // entry bits in force, or null
  u32 vectorSize;    // entry count / 8 + 1
  bool allEntries;   // no vector: every entry allowed
  ReProgressCallback progress;
  // State of later layers (paged lists and the like).
  void* pageState;
  ReWorkReleaseHook releasePageState;
  // Entry text reading of this handle (engine/text), freed by ReReleaseTextWork.
  struct ReTextWork* text;
  // Pages of REentlst 230 (engine/lists), freed by ReFreeEntryPages.
  struct ReEntryPages* entryPages;
};
