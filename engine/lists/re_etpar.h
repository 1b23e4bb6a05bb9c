// REetpar's parse of an entry list's entries (functions 500 and 510).
#pragma once

#include "re_blocks.h"
#include "re_status.h"
#include "re_types.h"

// REetpar once its codes are checked and its database block is known live:
// 470 and 460 parse the slots into the block's result (sub-items of every
// slot for 500, of the current one for 510; 460 of 510 keeps a result made
// from the same slots and parses its current slot again), 480 frees the
// result. Codes with module 900.
void ReRunEntryParse(ReEtParBlock* block, u16 function, u16 action, ReStatusBlock* status);
