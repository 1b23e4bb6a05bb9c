// The entry lists' exports: REentlst (ordinal 5), the headword lookup (240,
// 470 only) and the pages of the current subset (230: 470, 430, 480);
// REstrtab (ordinal 8), a string of the database's string table by its two
// keys; REetpar (ordinal 10), the entries of an entry list parsed into
// headlines, labels and sub-items. REetpar's block names the open database's
// block in its first field.
#include "re_entlst.h"
#include "re_etpar.h"
#include "re_frame.h"
#include "re_lists_codes.h"
#include "re_string_table.h"
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

RE_EXPORT u32 RE_CALL REstrtab(void* raw, u16 function, u16 action) {
  auto* block = static_cast<ReStrTabBlock*>(raw);
  ReStatusBlock* status = ReStartCall(block);
  if (!status) return ReFail;
  if (!block->text) return ReRefuse(status, ReErrNoSelection, ReModStrTab);
  if (function != ReFnFirstString && function != ReFnSecondString) return ReRefuse(status, ReErrFunction, ReModStrTab);
  if (action != ReActOpen) return ReRefuse(status, ReErrAction, ReModStrTab);
  return ReLookUpString(block, function, status);
}

RE_EXPORT u32 RE_CALL REetpar(void* raw, u16 function, u16 action) {
  static const ReEntrySpec spec{
      ReModEtPar, {ReFnParseAll, ReFnParseCurrent}, {ReActOpen, ReActReset, ReActClose}, false};
  auto* block = static_cast<ReEtParBlock*>(raw);
  // The database the parse reads is named by its database block.
  if (ReIsLive(block) && !ReIsLiveBlock(block->databaseRecord, ReBlockDb)) return ReFail;
  return ReRunEntry(block, spec, function, action,
                    [&](ReStatusBlock* status) { ReRunEntryParse(block, function, action, status); });
}
