// The word lists of REidxlst: lookup with spelling alternatives (210),
// wildcard pages (250), anagrams (120), neighbour lists (180) and derived
// forms (150). Each worker locks the block's database handle itself and
// reports into the block's status with its own module number; REidxlst
// (re_idxlst.cpp) dispatches to them.
#pragma once

#include "re_blocks.h"
#include "re_index_walk.h"
#include "re_memory.h"
#include "re_records.h"

// Module numbers of the workers.
enum : u16 {
  ReModLookupWord = 110,
  ReModAnagrams = 120,
  ReModNeighbours = 220,
  ReModDerivedForms = 475,
  ReModWildcard = 880,
};

// Codes of the word lists.
enum : i16 {
  ReErrWildcardNone = -300,    // a wildcard pattern without '?' or '*'
  ReErrWildcardInWord = -301,  // a word with '?' or '*'
  ReErrWordTooLong = -302,     // longer than the database's longest word
  ReErrWordEmpty = -303,       // empty word
  ReWarnNoRoom = -351,         // no room for a further result
  ReWarnNoFurther = -352,      // no further batch or page; the index ends
  ReErrAnagramLength = -404,   // minimum anagram length 1, or above the word's length
  ReErrWildcardList = -465,    // the wildcard worker failed
  ReErrDerivedForms = -472,    // the derived-form worker failed
  ReErrNeighbours = -474,      // the neighbour-list worker failed
  ReErrFormGeneration = -572,  // derived-form generation failed
  ReWarnNoFormData = -215,     // the database has no derived-form data
};

// The walk state of an open database, made on first use (with the spelling
// data read from the main index's tables) and freed with the database record.
// Null when there is no memory.
ReIndexState* ReIndexStateOf(ReDbRecord* record);

// What every list call holds while it runs.
// How a list reports a failed unlock: -252 as its own error, or -240 as its
// handle error in its own module (the wildcard and neighbour lists).
enum class ReUnlockFailure { Operation, HandleLayer };

struct ReListCall {
  ReIdxListBlock* block;
  ReStatusBlock* status;
  u16 module;
  ReUnlockFailure unlockFailure;
  ReDbRecord* record;
  ReWorkRecord* work;
  ReIndexState* state;
  ReIndexDescriptor* index;
};

// Locks the block's handle with `tag` and checks the block's database id
// (-250, -471 in the module); on success the call's record, work record,
// index and walk state are set. A failure after the lock closes the progress
// display and unlocks.
bool ReBeginListCall(ReListCall* call, ReIdxListBlock* block, u16 tag, u16 module, bool checkDatabase = true,
                     ReUnlockFailure unlockFailure = ReUnlockFailure::Operation);
// Unlocks with `newState`; a failure is -252, or -240 in the handle layer
// (see ReUnlockFailure).
void ReEndListCall(ReListCall* call, u16 newState);
// The closing progress report (0x7FFFFFFF, 0x7FFFFFFF).
void ReCloseProgress(const ReListCall& call);
// Prepares a walk for the list: mode, reading 2, the handle's subset filter
// and progress callback.
void ReBeginListWalk(const ReListCall& call, u16 mode);
// Records the walk's failure (a failed read or an undecodable block: handle
// error -204; a work buffer that could not be had: -100) after a walk that
// returned 11; true when there was one.
bool ReReportWalkFailure(const ReListCall& call);
// The longest word a list takes: the index's longest word, but never more
// than a decoded word holds (a header may claim more).
u32 ReLongestListWord(const ReListCall& call);
// The length of the block's word, or longest word + 1 when it is longer.
u32 ReBlockWordLength(const ReListCall& call);
// Walks the block run of the words that start with key[0..length) (the key
// padded with byte 0 for the first block and 0xFF for the last).
u32 ReWalkKeyRange(const ReListCall& call, const char* key, u32 length, const char* walkKey, u16 walkKeyLength);

// A global block that frees itself.
struct ReScopedGlobal {
  ReGlobalBlock block{};
  ~ReScopedGlobal() { ReFreeGlobal(&block); }
  bool Alloc(u32 size) { return ReAllocGlobal(&block, size ? size : 1); }
  u8* data() const { return block.data; }
};

// Copies the state's results into the block's result area, packed, from
// result `from` on, appending after `used` bytes; returns the bytes used.
u32 ReCopyResults(const ReIndexState* state, i32 from, char* area, u32 areaSize, u32 used);

u32 ReLookupWord(ReIdxListBlock* block, u16 action);    // 210
u32 ReWildcardList(ReIdxListBlock* block, u16 action);  // 250
u32 ReAnagramList(ReIdxListBlock* block);               // 120
u32 ReNeighbourList(ReIdxListBlock* block);             // 180
u32 ReDerivedForms(ReIdxListBlock* block, u16 action);  // 150

// Frees the wildcard page stacks and clears the list (480, or a new 470).
void ReEndWildcardPages(ReIndexState* state);
