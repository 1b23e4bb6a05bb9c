// What a database handle keeps for reading entry text: the open entry of
// REtoken (reading buffer, decoder state, snapshots), the open entry of
// REentry, and a plain reader for titles. Built on first use, freed when
// the handle closes.
//
// For other layers of the engine (with the handle locked):
// - the title of an entry: ReReadEntryTitle, or ReDecodeEntryBeginning and
//   then ReEntryTitle / ReStripTags (re_titles.h) on the text;
// - an entry's tagged text run by run, with positions to go back or on to:
//   ReBindEntryText gives the code stream and tables, then a RePlainReader
//   of your own (re_plain_text.h: ReInitPlainReader, ReOpenPlainEntry,
//   ReDecodeEntryText with RePlainContinue or a text position,
//   ReFreePlainReader);
// - token chunks: ReNextTextChunk (re_decoder.h) over a ReTokenReading;
//   search-hit marking of token text: re_hits.h.
#pragma once

#include "re_code_stream.h"
#include "re_decoder.h"
#include "re_plain_text.h"
#include "re_records.h"
#include "re_titles.h"
#include "re_types.h"

// REentry's reading record.
struct ReEntryReading {
  u32 entry;     // 0: no entry open
  char* buffer;  // decoded text not handed out yet
  u32 size;
  u32 held;
  i32 state;  // 0 idle, 1 reading, -352 the entry has ended
  bool hitFlag;
  RePlainReader reader;
};

struct ReTextWork {
  ReTokenReading token;  // REtoken's reading buffer (window null when released)
  ReEntryReading entry;
  RePlainReader titles;           // titles and beginnings of entries for other layers
  ReStreamAhead* ahead;           // what the handle's code reader refills from
  ReCodeTexts codeTexts;          // the database's codes, expanded once
  ReAutomatonRows automatonRows;  // the character automaton's rows as tables
};

// The handle's text state, built on first use (with the texts of the
// database's codes); null when there is no memory.
ReTextWork* ReTextWorkOf(const ReDbRecord* record, ReWorkRecord* work);
// Frees everything the handle's text state holds.
void ReReleaseTextWork(ReWorkRecord* work);

// Views over an open database's stored text for this handle: the code stream
// (through the handle's code reader; `progress` is called at every refill
// from the file) and the text tables. False when the database has no text.
bool ReBindEntryText(const ReDbRecord* record, ReWorkRecord* work, ReProgressCallback progress, ReCodeStream* stream,
                     ReTextTables* tables);

// What a block's buffers really hold. The block's size fields are the
// caller's to set; a value above what REmemory allocated is cut to it.
u32 ReTokenCapacity(const ReTokenBlock* block);  // tokens per chunk
u32 ReEntryTextRoom(const ReEntryBlock* block);  // bytes of the text buffer

// Function 160 of REentry and REtoken: the subset that holds `entry`, into
// *subset. False when the test fails (-467 in `module`); a failed lock is
// -250 (module 250), a failed unlock -252 in `module`.
bool ReSubsetOfBlockEntry(u16 handle, u32 entry, u16 module, u16* subset, ReStatusBlock* status);

// The title rules of a database.
ReTitleRules ReTitleRulesOf(const ReDbRecord* record);

// Decodes the beginning of an entry up to its first line feed (included) or
// size - 1 bytes, NUL-terminated: the text titles are cut from. 0, or 8
// with -402 (entry outside the database), -460 (damaged text) or -204 (read
// failed) recorded in `module`.
u32 ReDecodeEntryBeginning(const ReDbRecord* record, ReWorkRecord* work, u32 entry, char* out, u32 size, u32* length,
                           ReStatusBlock* status, u16 module);

// The title of an entry by the database's title rules (ReEntryTitle over
// ReDecodeEntryBeginning of up to the longest line + 1 bytes). 0, or 8 when
// the text cannot be read (codes as above) or has no title (nothing recorded).
u32 ReReadEntryTitle(const ReDbRecord* record, ReWorkRecord* work, u32 entry, char* title, u32 size,
                     bool* plainHeadword, ReStatusBlock* status, u16 module);
