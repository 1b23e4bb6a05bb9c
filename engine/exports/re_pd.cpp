// REPDdb (ordinal 12) and REPDedit (ordinal 13) are not offered by this
// engine: both fail with -462 in their own module. They take a database
// block (type 520) to report in.
#include "re_frame.h"
#include "zorlre32.h"

namespace {

u32 NotOffered(void* block, u16 module) {
  auto* db = static_cast<ReDbBlock*>(block);
  if (!ReIsLive(db) || !db->status) return ReFail;
  ReStatusBlock* status = db->status;
  ReResetStatus(status);
  ReSetStatus(status, ReSevError, ReErrFunction, module);
  return ReFail;
}

}  // namespace

RE_EXPORT u32 RE_CALL REPDdb(void* block, u16, u16) { return NotOffered(block, ReModPdDb); }
RE_EXPORT u32 RE_CALL REPDedit(void* block, u16, u16) { return NotOffered(block, ReModPdEdit); }
