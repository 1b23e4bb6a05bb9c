// REentlst (ordinal 5): function 240 (headword lookup, 470 only) and function
// 230 (pages of the current subset: 470, 430, 480).
#include "re_entlst.h"

#include "re_frame.h"
#include "re_lists_codes.h"
#include "zorlre32.h"

namespace {

constexpr u16 kPages = 230;
constexpr u16 kHeadwords = 240;

}  // namespace

RE_EXPORT u32 RE_CALL REentlst(void* raw, u16 function, u16 action) {
  static const ReEntrySpec spec{ReModEntList, {kPages, kHeadwords}, {ReActOpen, ReActNext, ReActClose}, false};
  auto* block = static_cast<ReEntListBlock*>(raw);
  return ReRunEntry(block, spec, function, action, [&](ReStatusBlock* status) {
    if (function == kHeadwords) {
      if (action != ReActOpen) {  // the lookup has no pages
        ReSetStatus(status, ReSevError, ReErrAction, ReModEntList);
        return;
      }
      ReHeadwordLookup(block, status);
      if (status->status == ReFail) ReSetStatus(status, ReSevError, ReErrHeadwords, ReModEntList);
    } else {
      ReEntryPage(block, action, status);
      if (status->status == ReFail) ReSetStatus(status, ReSevError, ReErrPage, ReModEntList);
    }
  });
}
