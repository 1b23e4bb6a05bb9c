#include <gtest/gtest.h>

#include "re_status.h"

namespace {

ReStatusBlock Fresh() {
  ReStatusBlock status;
  status.status = 99;
  status.warning = 1;
  status.error = 2;
  status.handleError = 3;
  status.module = 4;
  ReResetStatus(&status);
  return status;
}

TEST(StatusMerging, ResetClearsEveryField) {
  ReStatusBlock status = Fresh();
  EXPECT_EQ(status.status, 0u);
  EXPECT_EQ(status.warning, 0);
  EXPECT_EQ(status.error, 0);
  EXPECT_EQ(status.handleError, 0);
  EXPECT_EQ(status.module, 0);
}

TEST(StatusMerging, FirstErrorWinsAndKeepsLowerLayerModule) {
  ReStatusBlock status = Fresh();
  ReSetHandleStatus(&status, ReSevError, ReErrFileRead, ReModHeader);
  ReSetStatus(&status, ReSevError, ReErrDbOpen, ReModDb);
  ReSetStatus(&status, ReSevError, ReErrLock, ReModApp);
  EXPECT_EQ(status.status, ReFail);
  EXPECT_EQ(status.error, ReErrDbOpen);
  EXPECT_EQ(status.handleError, ReErrFileRead);
  EXPECT_EQ(status.module, ReModHeader);
}

TEST(StatusMerging, OperationErrorSetsModuleWhenNoneWasSet) {
  ReStatusBlock status = Fresh();
  ReSetStatus(&status, ReSevError, ReErrAction, ReModSearch);
  EXPECT_EQ(status.module, ReModSearch);
}

TEST(StatusMerging, OperationLevelSecondWarningReplacesWithModule) {
  ReStatusBlock status = Fresh();
  ReSetStatus(&status, ReSevWarning, ReWarnOptionMask, ReModDb);
  ReSetStatus(&status, ReSevWarning, ReWarnNothing, ReModSearch);
  EXPECT_EQ(status.status, ReWarn);
  EXPECT_EQ(status.warning, ReWarnNothing);
  EXPECT_EQ(status.module, ReModSearch);
}

TEST(StatusMerging, LowerLayerSecondWarningKeepsTheFirst) {
  ReStatusBlock status = Fresh();
  ReSetHandleStatus(&status, ReSevWarning, ReWarnOptionMask, ReModHandles);
  ReSetHandleStatus(&status, ReSevWarning, ReWarnNothing, ReModHeader);
  EXPECT_EQ(status.status, ReWarn);
  EXPECT_EQ(status.warning, ReWarnOptionMask);
  EXPECT_EQ(status.module, ReModHandles);
}

TEST(StatusMerging, WarningAfterErrorFillsOnlyAnEmptyWarningField) {
  ReStatusBlock status = Fresh();
  ReSetStatus(&status, ReSevError, ReErrLock, ReModSearch);
  ReSetStatus(&status, ReSevWarning, ReWarnNothing, ReModDb);
  EXPECT_EQ(status.status, ReFail);
  EXPECT_EQ(status.warning, ReWarnNothing);
  EXPECT_EQ(status.module, ReModSearch);
  ReSetStatus(&status, ReSevWarning, ReCodeStopped, ReModDb);
  EXPECT_EQ(status.warning, ReWarnNothing);
  ReSetHandleStatus(&status, ReSevWarning, ReCodeStopped, ReModHandles);
  EXPECT_EQ(status.warning, ReWarnNothing);
  EXPECT_EQ(status.module, ReModSearch);
}

TEST(StatusMerging, HandleErrorOverwritesModuleOnlyOnce) {
  ReStatusBlock status = Fresh();
  ReSetStatus(&status, ReSevWarning, ReWarnOptionMask, ReModDb);
  ReSetHandleStatus(&status, ReSevError, ReErrHandleInvalid, ReModHandles);
  ReSetHandleStatus(&status, ReSevError, ReErrHandleList, ReModSessions);
  EXPECT_EQ(status.status, ReFail);
  EXPECT_EQ(status.handleError, ReErrHandleInvalid);
  EXPECT_EQ(status.module, ReModHandles);
  EXPECT_EQ(status.warning, ReWarnOptionMask);
}

TEST(StatusMerging, OtherSeveritiesAndNullRecordsChangeNothing) {
  ReStatusBlock status = Fresh();
  ReSetStatus(&status, 5, ReErrLock, ReModDb);
  ReSetHandleStatus(&status, 0, ReErrLock, ReModDb);
  EXPECT_EQ(status.status, 0u);
  EXPECT_EQ(status.module, 0);
  ReSetStatus(nullptr, ReSevError, ReErrLock, ReModDb);
  ReSetHandleStatus(nullptr, ReSevError, ReErrLock, ReModDb);
  ReResetStatus(nullptr);
}

}  // namespace
