// Boolean searches over one open database: the search state kept in the
// database record, its buffers, the evaluation that fills pages of hits, and
// the steps of REsearch.
#pragma once

#include "re_blocks.h"
#include "re_query.h"
#include "re_query_match.h"
#include "re_records.h"
#include "re_search_stream.h"
#include "re_status.h"
#include "re_types.h"

// Run states of a search.
enum : i16 {
  ReRunNone = 0,  // no search (buffers released)
  ReRunNew = 1,   // query not parsed yet
  ReRunActive = 2,
  ReRunRestart = 3,
  ReRunStopped = -900,
  ReRunEnded = -352,
};

// Modes of the search buffer operations.
enum : u16 { ReBuffersEntry = 1, ReBuffersSearch = 2 };

constexpr u32 ReCodeBufferSize = 128;  // codes of an entry kept while scanning

// Where the evaluation stands, between pages.
struct ReEvalRecord {
  ReCompiledQuery query;
  i32 currentBlock;  // -1 before the first
  bool inBlock;      // a block's codes are being scanned
  u32 scanPosition;  // number of the next stream code
  u32 scanEnd;       // first stream code after the current block
  u32 currentEntry;  // entries before the one being read
  // The entry being read.
  u32 entryStart;  // its first code
  u32 codeCount;
  u16 codes[ReCodeBufferSize];
  bool candidate;
  bool previousMarked;
  u32 previousCode;
  bool excluded;
  // A hit that did not fit into the last page.
  bool pending;
  u32 pendingEntry;
  ReEntryChecker checker;
};

// Built on the first 470 and kept until released.
struct ReSearchBuffers {
  ReEvalRecord* eval;
  u8* blockTerms;  // one byte per block: bit t when term t occurs in the block
  u32 blockCount;
  char* workText;  // 1025 bytes
  u8* codeMap;     // one byte per code: bit 0 when the code may hold a cover term
  u32 codeCount;
  char* title;  // the current entry's title, longest title + 1 bytes
  char* pendingTitle;
  u32 titleCapacity;
  u8* streamWindow;  // ReStreamWindowBytes bytes
};

// The search state of a database (ReDbRecord::searchBuffers), made on first
// use and freed with the record; its buffers come and go with each search.
struct ReSearchState {
  i16 runState;
  char queryCopy[ReQueryMaxLength];
  u8 wordSearch;  // 1 for function 145, 0 for 220
  u8 caseMode;
  u8 proximity;
  ReSearchBuffers* buffers;
  // The code texts, built by the first search that has the memory for them
  // and kept while the database is open.
  ReCodeTexts codeTexts;
};

// What a query finds on the locked database before it reads: refused when
// the block was made for another database (-471) or the database allows no
// search (-213); ended, with warning -352, when its search has ended.
enum class ReQueryGate { Refused, Ended, Open };
ReQueryGate ReCheckQueryDatabase(const ReDbRecord* record, u32 blockDatabaseId, const ReSearchState* state,
                                 ReStatusBlock* status);

// The search state of a record, made when missing (null without memory).
ReSearchState* ReSearchStateOf(ReDbRecord* record);

// Mode 2: builds the search buffers (when the database has none) and stores
// the query, the function's word-search flag and the case mode. REentry keeps
// its own reading record, so mode 1 is not served here (-214). 0 or 8, codes
// with module 400.
u32 ReAllocSearchBuffers(u16 handle, u32 entry, u16 windowSize, const char* query, u8 wordSearch, u8 caseMode,
                         ReStatusBlock* status, u16 mode);
// Frees the buffers of mode 2 (search), then reports
// (2^31 - 1, 2^31 - 1) to the progress callback. 0 or 8, module 430.
u32 ReReleaseSearch(u16 handle, ReStatusBlock* status, u16 mode);
// Parses on the first run, then evaluates the next page. 0, 4 or 8.
u32 ReRunSearch(ReSearchBlock* block, u16 function);
// Fills the block's page from where the last page stopped. 0, 4 or 8.
u32 ReEvaluateQuery(ReDbRecord* record, ReWorkRecord* work, ReSearchState* state, ReSearchBlock* block);
// The class table queries on the database read words with: its kind's, or
// table 1 for a kind without one.
const u32* ReQueryClasses(const ReDbRecord* record);
// Records the evaluation's outcome (module 210) and returns the call result.
u32 ReSearchError(u16 reason, ReStatusBlock* status);
