// REentlst (ordinal 5): function 240 (headword lookup, 470 only) and function
// 230 (pages of the current subset: 470, 430, 480).
#include "re_entlst.h"

#include "re_lists_codes.h"
#include "zorlre32.h"

namespace {

constexpr u16 kPages = 230;
constexpr u16 kHeadwords = 240;

}  // namespace

RE_EXPORT u32 RE_CALL REentlst(void* raw, u16 function, u16 action) {
  auto* block = static_cast<ReEntListBlock*>(raw);
  if (!block || !block->status) return ReFail;
  ReStatusBlock* status = block->status;
  ReResetStatus(status);
  if (function != kPages && function != kHeadwords) {
    ReSetStatus(status, ReSevError, ReErrFunction, ReModEntList);
    return ReFail;
  }
  const bool known =
      function == kHeadwords ? action == ReActOpen : action == ReActOpen || action == ReActNext || action == ReActClose;
  if (!known) {
    ReSetStatus(status, ReSevError, ReErrAction, ReModEntList);
    return ReFail;
  }
  if (function == kHeadwords) {
    ReHeadwordLookup(block, status);
    if (status->status == ReFail) ReSetStatus(status, ReSevError, ReErrHeadwords, ReModEntList);
  } else {
    ReEntryPage(block, action, status);
    if (status->status == ReFail) ReSetStatus(status, ReSevError, ReErrPage, ReModEntList);
  }
  return status->status;
}
