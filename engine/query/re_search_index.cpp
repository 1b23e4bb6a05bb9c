#include "re_search_index.h"

#include "re_rank.h"

ReTermLookup ReMarkTermBlocks(ReDbRecord*, ReWorkRecord*, const char*, u8* blockTerms, u32 blockCount, u32, u8 bit) {
  for (u32 b = 0; b < blockCount; ++b) blockTerms[b] |= bit;
  return ReTermLookup::Everywhere;
}

ReTermLookup ReCollectTermHits(ReDbRecord*, ReWorkRecord*, const char*, u16, ReConceptHit*, u32, u32* added) {
  *added = 0;
  return ReTermLookup::Done;
}
