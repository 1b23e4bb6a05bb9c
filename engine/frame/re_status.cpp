#include "re_status.h"

void ReResetStatus(ReStatusBlock* status) {
  if (status) *status = ReStatusBlock{};
}

void ReSetStatus(ReStatusBlock* status, u16 severity, i16 code, u16 module) {
  if (!status) return;
  if (severity == ReSevError) {
    if (status->error != 0) return;
    status->status = ReFail;
    status->error = code;
    if (status->module == 0) status->module = module;
  } else if (severity == ReSevWarning) {
    if (status->status != ReFail) {
      status->status = ReWarn;
      status->warning = code;
      status->module = module;
    } else if (status->warning == 0) {
      status->warning = code;
    }
  }
}

void ReSetHandleStatus(ReStatusBlock* status, u16 severity, i16 code, u16 module) {
  if (!status) return;
  if (severity == ReSevError) {
    if (status->handleError != 0) return;
    status->status = ReFail;
    status->handleError = code;
    status->module = module;
  } else if (severity == ReSevWarning) {
    if (status->status == ReDone) {
      status->status = ReWarn;
      status->warning = code;
      status->module = module;
    } else if (status->warning == 0) {
      status->warning = code;
    }
  }
}
