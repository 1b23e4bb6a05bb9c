// The entry text's exports: REentry (ordinal 6), an entry's tagged text
// piece by piece; REtoken (ordinal 11), an entry's text as chunks of
// nine-byte tokens. Both answer function 160 with the subset that holds the
// entry, and a database of synonym rings gives its ring as the text.
#include "re_frame.h"
#include "re_text_calls.h"
#include "zorlre32.h"

namespace {

bool ReadsText(u16 action) {
  return action == ReActOpen || action == ReActNext || action == ReActReadOn || action == ReActClose;
}

}  // namespace

RE_EXPORT u32 RE_CALL REentry(void* pointer, u16 function, u16 action) {
  auto* block = static_cast<ReEntryBlock*>(pointer);
  ReStatusBlock* status = ReStartCall(block);
  if (!status) return ReFail;
  if (!ReBeginTextCall(block, function, action, status)) return status->status;
  if (function != ReFnTextWords && function != ReFnTextRead) return ReRefuse(status, ReErrFunction, ReModEntry);
  if (!ReadsText(action)) return ReRefuse(status, ReErrAction, ReModEntry);
  ReReadEntryText(block, action, status);
  return status->status;
}

RE_EXPORT u32 RE_CALL REtoken(void* pointer, u16 function, u16 action) {
  auto* block = static_cast<ReTokenBlock*>(pointer);
  ReStatusBlock* status = ReStartCall(block);
  if (!status) return ReFail;
  if (!ReBeginTextCall(block, function, action, status)) return status->status;
  if (function != ReFnTextRead) return ReRefuse(status, ReErrFunction, ReModToken);
  if (!ReadsText(action)) return ReRefuse(status, ReErrAction, ReModToken);
  ReReadTokenText(block, action, status);
  return status->status;
}
