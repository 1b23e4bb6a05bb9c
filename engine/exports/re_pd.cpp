// REPDdb (ordinal 12) and REPDedit (ordinal 13) are not offered by this
// engine: both fail with -462 in their own module. They take a database
// block (type 520) to report in.
#include "re_frame.h"
#include "zorlre32.h"

namespace {

u32 NotOffered(void* block, u16 module) {
  ReStatusBlock* status = ReStartCall(static_cast<ReDbBlock*>(block));
  return status ? ReRefuse(status, ReErrFunction, module) : ReFail;
}

}  // namespace

RE_EXPORT u32 RE_CALL REPDdb(void* block, u16, u16) { return NotOffered(block, ReModPdDb); }
RE_EXPORT u32 RE_CALL REPDedit(void* block, u16, u16) { return NotOffered(block, ReModPdEdit); }
