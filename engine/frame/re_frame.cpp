#include "re_frame.h"

#include "re_handles.h"

namespace {

bool Known(std::initializer_list<u16> codes, u16 code) {
  for (u16 known : codes)
    if (known == code) return true;
  return false;
}

}  // namespace

bool ReEnterCall(ReStatusBlock* status, const ReEntrySpec& spec, u16 function, u16 action) {
  ReResetStatus(status);
  if (!Known(spec.functions, function)) {
    if (!spec.lenient) {
      ReSetStatus(status, ReSevError, ReErrFunction, spec.module);
      return false;
    }
    ReSetStatus(status, ReSevWarning, ReErrFunction, spec.module);
  }
  if (!Known(spec.actions, action)) {
    ReSetStatus(status, ReSevError, ReErrAction, spec.module);
    return false;
  }
  return true;
}

u32 ReRefuse(ReStatusBlock* status, i16 code, u16 module) {
  ReSetStatus(status, ReSevError, code, module);
  return ReFail;
}

u32 ReCallResult(const ReStatusBlock* status, const ReEntrySpec& spec) {
  if (!status) return ReFail;
  if (spec.lenient) return status->status == ReFail ? ReFail : ReDone;
  return status->status;
}

bool ReFrameLock(u16 handle, u16 tag, ReStatusBlock* status, u16 module, ReDbRecord** record, ReWorkRecord** work) {
  if (ReLockHandle(handle, tag, record, work, status) == ReDone) return true;
  ReSetStatus(status, ReSevError, ReErrLock, module);
  return false;
}

bool ReFrameUnlock(u16 handle, u16 newState, ReStatusBlock* status, u16 module) {
  if (ReUnlockHandle(handle, newState, status) == ReDone) return true;
  ReSetStatus(status, ReSevError, ReErrUnlock, module);
  return false;
}
