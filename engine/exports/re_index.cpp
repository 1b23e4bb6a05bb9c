// The word index's export: REidxlst (ordinal 4), every word list of the
// index, by function code.
#include "re_frame.h"
#include "re_index_lists.h"
#include "zorlre32.h"

namespace {

enum : u16 {
  ReFnAnagrams = 120,
  ReFnNoOp130 = 130,
  ReFnNoOp140 = 140,
  ReFnDerivedForms = 150,
  ReFnNeighbours = 180,
  ReFnSpelling = 210,
  ReFnNoOp240 = 240,
  ReFnWildcard = 250,
};

u32 Refuse(ReStatusBlock* status, i16 code) { return ReRefuse(status, code, ReModIdxList); }

}  // namespace

RE_EXPORT u32 RE_CALL REidxlst(void* p, u16 function, u16 action) {
  auto* block = static_cast<ReIdxListBlock*>(p);
  ReStatusBlock* status = ReStartCall(block);
  if (!status) return ReFail;
  switch (function) {
    case ReFnAnagrams:
      if (action != ReActOpen) return Refuse(status, ReErrAction);
      return ReAnagramList(block);
    case ReFnNoOp130:
    case ReFnNoOp140:
    case ReFnNoOp240: return ReDone;
    case ReFnDerivedForms:
      if (ReDerivedForms(block, action) == ReFail) return Refuse(status, ReErrDerivedForms);
      return ReDone;
    case ReFnNeighbours:
      if (action != ReActOpen) return Refuse(status, ReErrAction);
      if (ReNeighbourList(block) == ReFail) return Refuse(status, ReErrNeighbours);
      return ReDone;
    case ReFnSpelling:
      if (action != ReActOpen && action != ReActNextAlt) return Refuse(status, ReErrAction);
      return ReLookupWord(block, action);
    case ReFnWildcard:
      if (action != ReActOpen && action != ReActNext && action != ReActPrevious && action != ReActClose)
        return Refuse(status, ReErrAction);
      if (ReWildcardList(block, action) == ReFail) return Refuse(status, ReErrWildcardList);
      return status->status;
    default: return Refuse(status, ReErrFunction);
  }
}
