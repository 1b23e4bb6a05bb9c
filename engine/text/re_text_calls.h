// The calls REentry and REtoken serve once their blocks are known live: the
// start both share (a database of synonym rings, the entry's subset), then
// the reading of an entry's text as pieces (REentry) or token chunks
// (REtoken).
#pragma once

#include "re_blocks.h"
#include "re_status.h"
#include "re_types.h"

// Function codes of REentry and REtoken (REtoken has no 145).
enum : u16 { ReFnTextWords = 145, ReFnTextSubset = 160, ReFnTextRead = 495 };

// The start of an REentry or REtoken call, before its codes are checked: a
// database of synonym rings serves the call whatever its codes; function 160
// (470 only) puts the subset that holds the block's entry into the block.
// True when the call goes on to read text; false when it is done, its outcome
// in the status.
bool ReBeginTextCall(ReEntryBlock* block, u16 function, u16 action, ReStatusBlock* status);
bool ReBeginTextCall(ReTokenBlock* block, u16 function, u16 action, ReStatusBlock* status);

// REentry's reading (470 opens the block's entry, 430 the next piece, 490 on
// from the block's read position, 480 closes): one piece of tagged text into
// the block; the last piece comes with warning -352 and closes the entry
// (but under 490). Codes with modules 320 and 370.
void ReReadEntryText(ReEntryBlock* block, u16 action, ReStatusBlock* status);

// REtoken's reading, with REentry's actions: one chunk of tokens into the
// block; the reading buffer is released at 480, on failure and at the end of
// the entry (but under 490). Codes with modules 842, 846 and 848.
void ReReadTokenText(ReTokenBlock* block, u16 action, ReStatusBlock* status);
