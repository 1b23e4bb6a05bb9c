// The block walk over the word index and its state. One ReIndexState per open
// database (made on first use, freed with the database record) is reused by
// every walk, so word-list calls on one database are strictly sequential.
//
// A walk: ReBeginWalk(state, index, mode, reading), set the mode's fields
// (result pool, key, visitor, subset filter, progress callback), then
// ReDecodeIndex(key, length, start, further, index, state). The walk reads
// blocks start .. start + further (calling the progress callback before each
// read), decodes every record and hands it to the mode's visitor, which
// collects, tests or stops. The state of a database: ReIndexStateOf(record)
// (re_index_lists.h), used between a lock and an unlock of its handle.
//
// The exact lookup of a term (mode 3) on the search index, for the search:
//   ReBeginWalk(state, &record->searchIndex, ReWalkExact, ReReadingHits);
//   state->termMap = blockBytes; state->termMapSize = blocks;
//   state->termShift = k; state->termBit = 1 << t;   // map[entry >> k] |= bit
//   state->hits = table; state->hitCapacity = room; state->termNumber = i;  // optional
//   u16 further; u16 first = ReFindWordBlock(term, 0, n - 1, &further, index);
//   u32 r = ReDecodeIndex(term, n, first, further, index, state);
//   // r: 0 or 11 with stop == 0 and failure == 0: done (exactFound tells
//   // whether the term is there); 10: the hit table is full; 11 with stop: the
//   // callback asked to stop; 11 with failure: a block could not be read.
// Other modes (the entry lists' slots, mode 16) set their own visitor after
// ReBeginWalk: it sees every decoded record with its entries and extension.
#pragma once

#include "re_records.h"
#include "re_spelling_data.h"
#include "re_types.h"
#include "re_word_index.h"

// Walk modes.
enum : u16 {
  ReWalkExact = 3,        // exact word with its entries (hit reading)
  ReWalkWildcard = 5,     // pattern match
  ReWalkAnagram = 6,      // letters of a word
  ReWalkFormLookup = 10,  // the forms of a derived-form key
  ReWalkFormKeys = 12,    // the derived-form keys of a spelling
  ReWalkFindWord = 13,    // a word's block and ordinal
  ReWalkCountWords = 14,  // the words of a block
  ReWalkCollect = 15,     // words from an ordinal on
  ReWalkEntryList = 16,   // entry-list slots (the visitor is the entry lists')
  ReWalkSpelling = 101,   // spelling passes (101 and up)
};

// Results of a walk and of ReAddResultWord.
enum : u32 {
  ReWalkDone = 0,      // range done, or the mode's target reached
  ReWalkNoBuffer = 8,  // the state has no block buffer
  ReWalkFull = 10,     // the mode's result space is full
  ReWalkStopped = 11,  // stopped: callback, failed read, bad block, or key passed
  ReAddAdded = 10,
  ReAddFull = 8,
  ReAddDuplicate = 11,
};

// Why a walk ended with ReWalkStopped, beside the key being passed.
enum : u8 {
  ReWalkOk = 0,
  ReWalkReadFailed = 1,  // seek or read of a block failed, or was short
  ReWalkBadBlock = 2,    // a block that breaks the format
  ReWalkNoMemory = 3,    // a work buffer of the list could not be had
};

// What a visitor tells the walk after one word.
enum ReVisit : u8 {
  ReVisitGoOn,   // next word
  ReVisitDone,   // target reached: the walk ends with ReWalkDone
  ReVisitFull,   // result space full: ReWalkFull
  ReVisitPassed  // the key is passed in an ordered mode: ReWalkStopped
};

struct ReIndexState;
using ReWordVisitor = ReVisit (*)(ReIndexState* state, const ReIndexWord& word);

constexpr u16 ReMaxCandidateKeys = 500;
constexpr u16 ReFragmentListBytes = 1000;
constexpr u16 RePageStackDepth = 10;

// Spelling pass state, kept between the 470 and 440 calls of a lookup.
struct ReSpellPassState {
  i16 currentPass;  // -1 before the first
  i16 lastPass;
  bool firstBatch;  // the first batch has been returned
  u8 rows[12];      // the current pass's rule rows, adjusted
  u16 typedLength;
  char typed[ReWordCapacity + 1];     // lower case
  u8 fragments[ReFragmentListBytes];  // (characters to the end, fragment) pairs, ended by 255 255
  u16 fragmentBytes;
  u8 keys[ReMaxCandidateKeys][4];
  u16 keyCount;
  u8 currentKey[4];
  u8 lastKey[4];
  bool hasLastKey;
  bool acceptAcronyms;
  i16 rankedCount;  // results before this index are ordered
};

// Wildcard page state, from the first page (470) to 480.
struct ReWildcardPages {
  bool active;
  u16 minLength, maxLength;
  char pattern[ReWordCapacity + 1];  // normalised, lower case
  u16 lowBlock;                      // the pattern's block range
  u16 rangeEnd;                      // last block of the range
  u16 pageBlock;                     // where the current walk started
  u16 pageSkip;                      // words of that block already listed
  ReMemHandle startsMemory;          // page start blocks (10 x u16)
  ReMemHandle skipsMemory;           // words of those blocks already listed (10 x u16)
  u16* starts;
  u16* skips;
  u16* offsets;   // result offsets of the page being walked
  u16 depth;      // entries on the stacks
  u16 basePage;   // page number of the bottom entry (from 1)
  u16 page;       // page number of the current page
  bool ranToEnd;  // the last walk reached the end of the range
  // Where the walk stopped when its page filled.
  u16 stopBlock, stopOrdinal;
};

struct ReIndexState {
  ReMemHandle memory;        // the state's own memory
  ReMemHandle bufferMemory;  // the block buffer's
  u16 mode;
  u16 reading;
  const ReIndexDescriptor* index;
  ReWordVisitor visit;
  void* context;  // the mode's own data for its visitor

  u8* blockBuffer;
  u16 blockBufferSize;
  u16 currentBlock;                      // ReNoBlock when the buffer holds nothing valid
  const ReIndexDescriptor* bufferIndex;  // index the buffered block belongs to
  ReIndexBlockDecoder decoder;
  // The code caches of the database's indexes (main and search), built by
  // the first walk over each.
  ReIndexCodeCache codeCaches[2];
  char spare[ReWordCapacity + 1];  // a restored or copied word

  // The key of the walk (lower case), for the ordered modes.
  char key[ReWordCapacity + 1];
  u16 keyLength;

  // Result pool: NUL-terminated words, packed, with their offsets.
  char* pool;
  u16* offsets;
  i16 resultCount, resultLimit;
  u16 poolUsed, poolSize;

  // Subset filter: entries whose bit is clear are skipped.
  bool subsetFilter;
  const u8* subsetBits;
  u32 subsetBytes;

  // Hit reading (mode 3): per-entry term bytes and collected hits.
  u8* termMap;  // map[entry >> termShift] |= termBit
  u32 termMapSize;
  u8 termShift, termBit;
  u32* hits;  // (entry x 16384 + position, term number) pairs
  i32 hitCount, hitCapacity;
  u16 termNumber;
  bool exactFound;

  ReProgressCallback progress;
  i32 blocksDone, blocksTotal;
  u8 stop;
  u8 failure;  // ReWalkReadFailed / ReWalkBadBlock

  // Ordinal to start at in the first block of the next walk (paging).
  u16 skipOrdinals;
  // Position of the last word the visitor looked at.
  u16 lastBlock, lastOrdinal;

  ReSpellingData spelling;
  ReSpellPassState spell;
  ReWildcardPages pages;
};

constexpr u32 ReMaxHits = 99999;

// Allocates a state with a block buffer of `blockBufferSize` bytes (moveable
// global memory); null when there is no memory. ReFreeIndexState frees it and
// the wildcard page stacks.
ReIndexState* ReNewIndexState(u16 blockBufferSize);
void ReFreeIndexState(ReIndexState* state);

// Prepares the state for a walk of `mode` over `index` with `reading`: clears
// the result pool, the stop flag, the failure and the progress counters, and
// picks the mode's visitor (ReWalkEntryList has none: its caller sets one).
void ReBeginWalk(ReIndexState* state, const ReIndexDescriptor* index, u16 mode, u16 reading);

// 11 when keyLength is below 1, 8 when the state has no block buffer, else
// the walk's result (ReDecodeIndexBlock).
u32 ReDecodeIndex(const char* key, i16 keyLength, u16 startBlock, u16 furtherBlocks, const ReIndexDescriptor* index,
                  ReIndexState* state);
// Walks blocks startBlock .. startBlock + furtherBlocks: 0 range done or the
// mode's target reached, 10 the result space is full, 11 stopped (see stop
// and failure) or the key passed.
u32 ReDecodeIndexBlock(const char* key, i16 keyLength, u16 startBlock, u16 furtherBlocks,
                       const ReIndexDescriptor* index, ReIndexState* state);

// The state's code cache for index, built on first use (null when the
// state holds caches for two other indexes).
const ReIndexCodeCache* ReIndexCodeCacheFor(ReIndexState* state, const ReIndexDescriptor* index);

// Reads block n into the buffer (calling the progress callback first) unless
// it is already there. False on a failed read (no block left in the buffer).
bool ReLoadIndexBlock(ReIndexState* state, const ReIndexDescriptor* index, u16 block);
// The progress report before a block read; false when the callback asked to
// stop (the stop flag is then set).
bool ReReportProgress(ReIndexState* state);

// 10 added, 8 full (count at its limit, or no room in the pool), 11 duplicate.
// dedupe 1 compares with every stored result, 2 with the last, 0 not at all.
u32 ReAddResultWord(const char* word, u16 length, ReIndexState* state, u8 dedupe);
// Restores the word's capitals and adds it with dedupe 1.
u32 ReAddCasedWord(const ReIndexWord& word, ReIndexState* state);
const char* ReResultWord(const ReIndexState* state, i32 i);
// True when the subset filter is in force and the entry's bit is clear.
bool ReSubsetExcluded(const ReIndexState* state, u32 entry);

// Lower-case byte order of two words (the index's collation).
int ReCompareWords(const char* a, const char* b);
