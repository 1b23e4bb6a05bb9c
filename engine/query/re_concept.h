// The ranked concept query: one collection of term occurrences at a time,
// engine-wide, gathered over one or more databases and then ranked.
#pragma once

#include "re_blocks.h"
#include "re_rank.h"
#include "re_records.h"
#include "re_status.h"
#include "re_types.h"

// REconqry once its blocks and rank record are checked: 470 opens a
// collection and collects every occurrence of the rank record's terms in the
// database, 440 collects in a further database, 480 scores, sorts and fills
// the rank record, then frees the collection. 0, 4 (nothing collected or
// ranked, or a warning) or 8.
u32 ReRunConceptQuery(const ReDbBlock* db, ReRankRecord* rank, ReSearchBlock* search, u16 action,
                      ReStatusBlock* status);

// REcontable: the table and the count of the hits that the last collection
// left on the database of `handle` (module 180).
void ReHandOverConceptHits(u16 handle, u32* hitTable, u32* hitCount, ReStatusBlock* status);

// Ends the collection when it was gathered in this database, which is going
// away: a collection that no ranking ended goes with its database.
void ReEndConceptsOf(const ReDbRecord* record);
