// Resource handles: lock and unlock states, tags, reservations, and the
// frame's codes around them.
#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "packed.h"
#include "re_frame.h"

namespace {

using namespace enginetest;

class Handles : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = WriteDatabase(dir_, SmallDatabase());
    ASSERT_EQ(a_.Open(dir_.path(), name_), ReDone);
    handle_ = a_.block()->handle;
  }
  u32 Lock(u16 tag, u16 handle = 0) { return ReLockHandle(handle ? handle : handle_, tag, &record_, &work_, &status_); }
  u32 Unlock(u16 state, u16 handle = 0) { return ReUnlockHandle(handle ? handle : handle_, state, &status_); }

  TempDir dir_;
  std::string name_;
  Session session_;
  Database a_{session_};
  u16 handle_ = 0;
  ReDbRecord* record_ = nullptr;
  ReWorkRecord* work_ = nullptr;
  ReStatusBlock status_{};
};

TEST_F(Handles, LockHandsOutTheRecordsAndNests) {
  ASSERT_EQ(Lock(ReTagSearch), ReDone);
  EXPECT_EQ(record_, a_.record());
  EXPECT_EQ(work_, a_.work());
  EXPECT_EQ(work_->status, &status_);
  EXPECT_EQ(a_.node()->state, ReHandleLocked);
  EXPECT_EQ(a_.node()->tag, ReTagSearch);
  EXPECT_EQ(a_.node()->database->lockCount, 1);
  EXPECT_EQ(record_->index->file, work_->file);

  // A second lock fails and leaves the first intact.
  EXPECT_EQ(Lock(ReTagText), ReFail);
  EXPECT_EQ(PACKED(status_.handleError), ReErrHandleLocked);
  EXPECT_EQ(PACKED(status_.module), ReModHandles);
  EXPECT_EQ(a_.node()->tag, ReTagSearch);
  EXPECT_EQ(a_.node()->database->lockCount, 1);

  status_ = {};
  ASSERT_EQ(Unlock(ReHandleFree), ReDone);
  EXPECT_EQ(a_.node()->tag, ReTagNone);
  EXPECT_EQ(a_.node()->database->lockCount, 0);
  EXPECT_EQ(Unlock(ReHandleFree), ReFail);
  EXPECT_EQ(PACKED(status_.handleError), ReErrHandleNotLocked);
}

TEST_F(Handles, UnknownHandles) {
  EXPECT_EQ(Lock(ReTagSearch, 999), ReFail);
  EXPECT_EQ(PACKED(status_.handleError), ReErrHandleInvalid);
  status_ = {};
  EXPECT_EQ(Unlock(ReHandleFree, 999), ReFail);
  EXPECT_EQ(PACKED(status_.handleError), ReErrHandleInvalid);
}

TEST_F(Handles, ReservationAdmitsTheSameTagAndStringTables) {
  ASSERT_EQ(Lock(ReTagWildcard), ReDone);
  ASSERT_EQ(Unlock(ReHandleReserved), ReDone);
  EXPECT_EQ(a_.node()->state, ReHandleReserved);
  EXPECT_EQ(a_.node()->tag, ReTagWildcard);

  EXPECT_EQ(Lock(ReTagSearch), ReFail);
  EXPECT_EQ(PACKED(status_.handleError), ReErrHandleReserved);
  EXPECT_EQ(a_.node()->state, ReHandleReserved);

  // A string-table lock takes the reserved handle with its own tag; what
  // the unlock then does is the new state's: reserved again keeps tag 34...
  status_ = {};
  ASSERT_EQ(Lock(ReTagStrTab), ReDone);
  EXPECT_EQ(a_.node()->tag, ReTagStrTab);
  ASSERT_EQ(Unlock(ReHandleReserved), ReDone);
  EXPECT_EQ(a_.node()->state, ReHandleReserved);
  EXPECT_EQ(a_.node()->tag, ReTagStrTab);
  // ... which any tag may lock; a full unlock frees the handle (tag 10).
  ASSERT_EQ(Lock(ReTagSearch), ReDone);
  ASSERT_EQ(Unlock(ReHandleFree), ReDone);
  EXPECT_EQ(a_.node()->state, ReHandleFree);
  EXPECT_EQ(a_.node()->tag, ReTagNone);

  ASSERT_EQ(Lock(ReTagWildcard), ReDone);
  ASSERT_EQ(Unlock(ReHandleReserved), ReDone);
  ASSERT_EQ(Lock(ReTagStrTab), ReDone);
  ASSERT_EQ(Unlock(ReHandleFree), ReDone);
  EXPECT_EQ(a_.node()->state, ReHandleFree);
  EXPECT_EQ(a_.node()->tag, ReTagNone);
}

// A reservation holds its own handle only: another handle on the same file
// takes any operation.
TEST_F(Handles, ReservationHoldsOnlyItsOwnHandle) {
  Database b(session_);
  ASSERT_EQ(b.Open(dir_.path(), name_), ReDone);
  const u16 other = b.block()->handle;
  ASSERT_EQ(Lock(ReTagWildcard), ReDone);
  ASSERT_EQ(Unlock(ReHandleReserved), ReDone);
  ASSERT_EQ(Lock(ReTagSearch, other), ReDone);
  ASSERT_EQ(Unlock(ReHandleFree, other), ReDone);
  EXPECT_EQ(a_.node()->state, ReHandleReserved);
  EXPECT_EQ(Lock(ReTagSearch), ReFail);
  EXPECT_EQ(PACKED(status_.handleError), ReErrHandleReserved);
  status_ = {};
  ASSERT_EQ(Lock(ReTagWildcard), ReDone);
  ASSERT_EQ(Unlock(ReHandleFree), ReDone);
}

TEST_F(Handles, UnlockAfterAFailedCallStillUnlocks) {
  ASSERT_EQ(Lock(ReTagText), ReDone);
  ReSetStatus(&status_, ReSevError, -459, ReModEntry);
  EXPECT_EQ(Unlock(ReHandleFree), ReFail);
  EXPECT_EQ(PACKED(status_.handleError), ReErrHandleList);
  EXPECT_EQ(PACKED(status_.error), -459);
  EXPECT_EQ(a_.node()->state, ReHandleFree);
  EXPECT_EQ(a_.node()->database->lockCount, 0);
}

TEST_F(Handles, NegativeLockCountIsRepaired) {
  ASSERT_EQ(Lock(ReTagText), ReDone);
  a_.node()->database->lockCount = 0;
  EXPECT_EQ(Unlock(ReHandleFree), ReFail);
  EXPECT_EQ(PACKED(status_.handleError), ReErrHandleList);
  EXPECT_EQ(a_.node()->database->lockCount, 0);
}

TEST_F(Handles, FrameLockAddsTheOperationsCode) {
  ReStatusBlock status{};
  ASSERT_TRUE(ReFrameLock(handle_, ReTagSearch, &status, ReModSearch, nullptr, nullptr));
  EXPECT_FALSE(ReFrameLock(handle_, ReTagSearch, &status, ReModSearch, nullptr, nullptr));
  EXPECT_EQ(PACKED(status.error), ReErrLock);
  EXPECT_EQ(PACKED(status.handleError), ReErrHandleLocked);
  EXPECT_EQ(PACKED(status.module), ReModHandles);  // the first cause's module
  status = {};
  ASSERT_TRUE(ReFrameUnlock(handle_, ReHandleFree, &status, ReModSearch));
  EXPECT_FALSE(ReFrameUnlock(handle_, ReHandleFree, &status, ReModSearch));
  EXPECT_EQ(PACKED(status.error), ReErrUnlock);
}

TEST(Frame, CodesAndReturns) {
  const ReEntrySpec strict{ReModSearch, {145, 220}, {470, 430, 480}, false};
  ReStatusBlock status{};
  EXPECT_FALSE(ReEnterCall(&status, strict, 99, 470));
  EXPECT_EQ(PACKED(status.error), ReErrFunction);
  EXPECT_EQ(PACKED(status.module), ReModSearch);
  EXPECT_EQ(ReCallResult(&status, strict), ReFail);
  EXPECT_FALSE(ReEnterCall(&status, strict, 145, 999));
  EXPECT_EQ(PACKED(status.error), ReErrAction);
  EXPECT_TRUE(ReEnterCall(&status, strict, 220, 430));
  EXPECT_EQ(PACKED(status.status), 0u);
  ReSetStatus(&status, ReSevWarning, ReWarnNothing, ReModSearch);
  EXPECT_EQ(ReCallResult(&status, strict), ReWarn);

  const ReEntrySpec lenient{ReModDb, {100}, {470}, true};
  EXPECT_TRUE(ReEnterCall(&status, lenient, 99, 470));
  EXPECT_EQ(PACKED(status.warning), ReErrFunction);
  EXPECT_EQ(ReCallResult(&status, lenient), ReDone);  // warnings stay in the record only
}

TEST(Frame, NullBlocksAndEntryPointsNotOffered) {
  for (auto entry : {REapp, REdb, REPDdb, REPDedit}) EXPECT_EQ(entry(nullptr, 100, 470), ReFail);
  Session session;
  Database db(session);
  EXPECT_EQ(REPDdb(db.block(), 100, 470), ReFail);
  EXPECT_EQ(PACKED(db.status().error), ReErrFunction);
  EXPECT_EQ(PACKED(db.status().module), ReModPdDb);
  EXPECT_EQ(REPDedit(db.block(), 100, 470), ReFail);
  EXPECT_EQ(PACKED(db.status().module), ReModPdEdit);
}

}  // namespace
