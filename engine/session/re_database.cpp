#include "re_database.h"

#include <algorithm>
#include <cstring>

#include "re_container.h"
#include "re_entlst.h"
#include "re_file.h"
#include "re_frame.h"
#include "re_subsets.h"
#include "re_text_work.h"

namespace {

constexpr u16 ReReaderBufferSize = 256;
constexpr u16 ReSmallPoolSlots = 40, ReSmallPoolSlotSize = 6;
constexpr u16 ReLargePoolSlots = 16, ReLargePoolSlotSize = 166;

const char kVersion[] = "2.3";

bool CopyName(char* destination, const char* source) {
  const size_t length = std::strlen(source);
  if (length >= ReNameSize) return false;
  std::memcpy(destination, source, length + 1);
  return true;
}

ReSlotPool* NewPool(u16 slots, u16 slotSize) {
  auto* pool = static_cast<ReSlotPool*>(ReHeapAlloc(sizeof(ReSlotPool) + slots * slotSize));
  if (!pool) return nullptr;
  pool->slotCount = slots;
  pool->slotSize = slotSize;
  pool->slots = reinterpret_cast<u8*>(pool + 1);
  pool->nextFree = pool->slots;
  return pool;
}

// Frees every part of a work record that was built (in reverse order). False
// when the handle's file could not be closed.
bool FreeWorkParts(ReWorkRecord* work) {
  ReReleaseTextWork(work);
  ReFreeEntryPages(work);
  if (work->releasePageState) work->releasePageState(work);
  work->releasePageState = nullptr;
  bool closed = true;
  if (work->search) ReHeapFree(work->search->resultRecord);
  ReHeapFree(work->wordBuffers);
  ReHeapFree(work->largePool);
  ReHeapFree(work->smallPool);
  ReFreeCodeReader(work->textReader);
  ReFreeSubsetState(work);
  if (work->file != ReNoFile) closed = ReCloseDataFile(work->file) == ReDone;
  ReHeapFree(work->blockBuffer);
  ReHeapFree(work->search);
  ReHeapFree(work->workB);
  ReHeapFree(work->workA);
  std::memset(work, 0, sizeof *work);
  work->file = ReNoFile;
  return closed;
}

// Builds the work record's parts in their fixed order. Each failure records
// its code in module 510: -100 as the operation's error, the others as
// handle errors.
bool BuildWorkRecord(ReDbNode* database, ReWorkRecord* work, ReDbBlock* block, ReStatusBlock* status) {
  ReDbRecord* record = database->record;
  auto memoryFailed = [&] {
    ReSetStatus(status, ReSevError, ReErrMemory, ReModWorkRecord);
    return false;
  };
  auto handleFailed = [&](i16 code) {
    ReSetHandleStatus(status, ReSevError, code, ReModWorkRecord);
    return false;
  };
  work->file = ReNoFile;
  work->workALength = record->entryListCount;
  work->workBLength = 8u * record->entryListCount;
  if (!(work->workA = static_cast<u8*>(ReHeapAlloc(work->workALength)))) return memoryFailed();
  if (!(work->workB = static_cast<u8*>(ReHeapAlloc(work->workBLength)))) return memoryFailed();
  if (!(work->search = static_cast<ReHandleSearchState*>(ReHeapAlloc(sizeof(ReHandleSearchState)))))
    return memoryFailed();
  work->blockBufferSize = std::max(record->index->blockSize, record->searchIndex.blockSize);
  if (!(work->blockBuffer = static_cast<u8*>(ReHeapAlloc(work->blockBufferSize)))) return memoryFailed();
  if (ReOpenDataFile(database->directory, database->fileName, &work->file, ReModeRead) != ReDone) {
    work->file = ReNoFile;
    return handleFailed(ReErrFileSeek);
  }
  if (ReSetUpSubsets(record, work, block, status) != ReDone) return handleFailed(ReErrHandleList);
  ReHandleSearchState* search = work->search;
  search->blockSize = record->index->blockSize;
  search->blockCount = record->index->blockCount;
  search->codeWidth = record->index->codeWidth;
  if (ReSetUpCodeReader(&work->textReader, work->file, record->codeWidth, ReReaderBufferSize, record->textBase,
                        record->textLength) != ReDone)
    return handleFailed(ReErrFileOpen);
  if (!(work->smallPool = NewPool(ReSmallPoolSlots, ReSmallPoolSlotSize))) return memoryFailed();
  if (!(work->largePool = NewPool(ReLargePoolSlots, ReLargePoolSlotSize))) return memoryFailed();
  const u32 wordSize = record->longestWord + 1u;
  if (!(work->wordBuffers = static_cast<char*>(ReHeapAlloc(ReWordBufferCount * wordSize))))
    return handleFailed(ReErrFileOpen);
  for (u32 i = 0; i < ReWordBufferCount; ++i) search->words[i] = work->wordBuffers + i * wordSize;
  if (!(search->resultRecord = static_cast<u8*>(ReHeapAlloc(ReResultRecordSize)))) return memoryFailed();
  search->workA = work->workA;
  search->workB = work->workB;
  work->allEntries = true;
  return true;
}

// Frees a database node's record and the node itself. False on failure.
bool FreeDatabaseNode(ReDbNode* database) {
  if (database->record) {
    ReReleaseDatabaseContents(database->record);
    ReGlobalBlock record{database->recordMemory, reinterpret_cast<u8*>(database->record), 0};
    ReFreeGlobal(&record);
  }
  return ReFreeDbNode(database->id) == ReDone;
}

void ClearSubsetFields(ReDbBlock* block) {
  block->subsetCount = 0;
  block->subsetList = nullptr;
  block->selectionDatabase = 0;
  block->selection = nullptr;
  block->activeSubset = nullptr;
}

void FillBlock(ReDbBlock* block, const ReDbRecord* record) {
  block->variant = record->variant;
  block->kind = record->kind;
  block->capabilityMask = record->capabilityMask;
  block->databaseId = record->databaseId;
  block->headerWord738 = record->headerWord738;
  block->entryCount = record->entryCount;
  block->textWord108 = record->textWord108;
  block->longestEntryText = record->longestEntryText;
  block->longestWord = record->longestWord;
  block->longestLine = record->longestLine;
  block->entryListCount = record->entryListCount;
  block->stringTableSize = record->stringTableSize;
  block->loadedBytes = record->loadedBytes;
  block->features = record->features;
}

// Finds or creates the database node of the block's file. The node, or null
// with the cause recorded; *created tells whether this open made it.
ReDbNode* JoinOrCreateNode(const ReFileSpec* spec, u16 session, ReStatusBlock* status, bool* created) {
  *created = false;
  if (ReDbNode* node = ReFindDbNode(session, spec->directory, spec->fileName)) {
    ++node->openCount;
    return node;
  }
  ReFileHandle probe = ReNoFile;
  if (ReOpenDataFile(spec->directory, spec->fileName, &probe, ReModeRead) != ReDone) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleList, ReModHandles);
    return nullptr;
  }
  ReCloseDataFile(probe);
  ReDbNode* node = ReNewDbNode();
  if (!node) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleList, ReModHandles);
    return nullptr;
  }
  node->session = session;
  node->openCount = 1;
  CopyName(node->directory, spec->directory);
  CopyName(node->fileName, spec->fileName);
  ReGlobalBlock record{};
  if (!ReAllocGlobal(&record, sizeof(ReDbRecord))) {
    ReSetHandleStatus(status, ReSevError, ReErrMemory, ReModHandles);
    ReFreeDbNode(node->id);
    return nullptr;
  }
  node->recordMemory = record.memory;
  node->record = reinterpret_cast<ReDbRecord*>(record.data);
  CopyName(node->record->directory, spec->directory);
  CopyName(node->record->fileName, spec->fileName);
  if (ReReadDatabaseHeader(spec->directory, spec->fileName, node->record, status) != ReDone) {
    FreeDatabaseNode(node);
    return nullptr;
  }
  *created = true;
  return node;
}

bool SpecUsable(const ReFileSpec* spec) {
  return spec && spec->directory && spec->fileName && std::strlen(spec->directory) < ReNameSize &&
         std::strlen(spec->fileName) < ReNameSize;
}

}  // namespace

bool ReOptionMaskAccepted(u16 mask, u16 capabilities) {
  const bool shares = (mask & capabilities) != 0 || (mask & ReOptionDefault) != 0;
  const bool outside = (mask & ~capabilities & ~ReOptionDefault) != 0;
  return shares && !outside;
}

void ReOpenSession(ReAppBlock* block, ReStatusBlock* status) {
  const i32 session = ReNewSession(status);
  if (session < 0) {
    ReSetStatus(status, ReSevError, ReErrNoSession, ReModApp);
    return;
  }
  block->session = static_cast<u16>(session);
  const u8 capabilities[4] = {255, 159, 0, 0};
  std::memcpy(block->capabilities, capabilities, 4);
  std::memset(block->version, 0, sizeof block->version);
  std::memcpy(block->version, kVersion, sizeof kVersion);
}

void ReCloseSession(ReAppBlock* block, ReStatusBlock* status) {
  const u16 session = block->session;
  bool failed = false;
  for (ReHandleNode* node = ReFirstHandle(); node;) {
    ReHandleNode* next = node->next;
    if (node->session == session && ReCloseHandle(node->handle, nullptr, status) != ReDone) failed = true;
    node = next;
  }
  if (failed) ReSetStatus(status, ReSevError, ReErrDbClose, ReModDb);
  if (ReFreeSession(session) != ReDone) {
    ReSetStatus(status, ReSevError, ReErrSessionRemove, ReModApp);
    return;
  }
  block->session = 0;
}

void ReOpenDatabase(ReDbBlock* block, ReStatusBlock* status) {
  const ReStatusBlock atEntry = *status;  // the frame's own warning outlives the open
  const ReFileSpec* spec = block->fileSpec;
  if (!SpecUsable(spec) || !ReFindSession(block->session)) {
    ReSetStatus(status, ReSevError, ReErrDbOpen, ReModDb);
    return;
  }
  bool created = false;
  ReDbNode* database = JoinOrCreateNode(spec, block->session, status, &created);
  if (!database) {
    ReSetStatus(status, ReSevError, ReErrDbOpen, ReModDb);
    return;
  }

  ReHandleNode* node = ReNewHandleNode();
  bool built = false;
  if (!node) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleList, ReModWorkRecord);
  } else {
    node->session = block->session;
    node->tag = ReTagNone;
    node->state = ReHandleNew;
    node->database = database;
    ReGlobalBlock work{};
    if (!ReAllocGlobal(&work, sizeof(ReWorkRecord))) {
      ReSetStatus(status, ReSevError, ReErrMemory, ReModWorkRecord);
    } else {
      node->workMemory = work.memory;
      node->work = reinterpret_cast<ReWorkRecord*>(work.data);
      built = BuildWorkRecord(database, node->work, block, status);
    }
  }
  if (!built) {
    if (node) {
      if (node->work) {
        FreeWorkParts(node->work);
        ReGlobalBlock work{node->workMemory, reinterpret_cast<u8*>(node->work), 0};
        ReFreeGlobal(&work);
      }
      ReFreeHandleNode(node->handle);
    }
    ClearSubsetFields(block);
    if (created)
      FreeDatabaseNode(database);
    else
      --database->openCount;
    ReSetStatus(status, ReSevError, ReErrDbOpen, ReModDb);
    return;
  }
  // Built: what the building steps reported is dropped.
  *status = atEntry;

  block->handle = node->handle;
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(node->handle, ReTagDb, status, ReModDb, &record, &work)) return;
  FillBlock(block, record);
  if (ReOptionMaskAccepted(block->optionMask, record->capabilityMask)) {
    work->search->optionMask = block->optionMask;
  } else {
    ReSetStatus(status, ReSevWarning, ReWarnOptionMask, ReModDb);
    work->search->optionMask = ReOptionDefault;
  }
  work->progress = block->progress;
  work->search->progress = block->progress;
  ReFrameUnlock(node->handle, ReHandleFree, status, ReModDb);
}

void ReApplyDatabaseOptions(ReDbBlock* block, ReStatusBlock* status) {
  ReDbRecord* record = nullptr;
  ReWorkRecord* work = nullptr;
  if (!ReFrameLock(block->handle, ReTagDb, status, ReModDb, &record, &work)) return;
  if (ReOptionMaskAccepted(block->optionMask, record->capabilityMask))
    work->search->optionMask = block->optionMask;
  else
    ReSetStatus(status, ReSevWarning, ReWarnOptionMask, ReModDb);
  work->progress = block->progress;
  work->search->progress = block->progress;
  if (block->subsetCount != 0) {
    // A failed selection is only a warning here; its detail stays below.
    ReStatusBlock detail{};
    if (ReLoadSubsets(record, work, block, nullptr, &detail) == ReFail)
      ReSetStatus(status, ReSevWarning, ReErrSubsets, ReModDb);
  }
  ReFrameUnlock(block->handle, ReHandleFree, status, ReModDb);
}

u32 ReCloseHandle(u16 handle, ReDbBlock* block, ReStatusBlock* status) {
  ReHandleNode* node = ReFindHandle(handle);
  if (!node) {
    ReSetHandleStatus(status, ReSevWarning, ReErrHandleInvalid, ReModHandles);
    return ReDone;
  }
  bool failed = false;
  ReDbNode* database = node->database;
  if (node->work) {
    if (!FreeWorkParts(node->work)) failed = true;
    ReGlobalBlock work{node->workMemory, reinterpret_cast<u8*>(node->work), 0};
    ReFreeGlobal(&work);
  }
  if (block) {
    ClearSubsetFields(block);
    block->handle = 0;  // the number may be given again to a later open
  }
  if (ReFreeHandleNode(handle) != ReDone) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleList, ReModHandles);
    failed = true;
  }
  if (database && --database->openCount <= 0 && !FreeDatabaseNode(database)) {
    ReSetHandleStatus(status, ReSevError, ReErrHandleList, ReModHandles);
    failed = true;
  }
  if (failed) {
    ReSetStatus(status, ReSevError, ReErrDbClose, ReModDb);
    return ReFail;
  }
  return ReDone;
}

void ReCloseDatabase(ReDbBlock* block, ReStatusBlock* status) { ReCloseHandle(block->handle, block, status); }
