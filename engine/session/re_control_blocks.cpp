#include "re_control_blocks.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "re_block_registry.h"
#include "re_memory.h"
#include "re_platform.h"

namespace {

// Sizes a block's buffers take from its database.
struct DbSizes {
  u32 databaseId;
  u32 word;   // longest word + 1
  u32 line;   // longest line + 1
  u32 entry;  // longest entry text + 1
  u32 listCount;
  u32 stringTable;  // string-table size + 1
  u32 vector;       // entry count / 8 + 1
};

DbSizes SizesOf(const ReDbBlock* db) {
  DbSizes sizes{};
  sizes.databaseId = db->databaseId;
  sizes.word = db->longestWord + 1u;
  sizes.line = db->longestLine + 1u;
  sizes.entry = db->longestEntryText + 1u;
  sizes.listCount = db->entryListCount;
  sizes.stringTable = db->stringTableSize + 1u;
  sizes.vector = db->entryCount / 8 + 1;
  return sizes;
}

template <class T>
T* NewRecord() {
  return static_cast<T*>(ReHeapAlloc(sizeof(T)));
}

char* NewText(u64 size) { return static_cast<char*>(ReHeapAllocChecked(size ? size : 1)); }

// Slot arrays and their line texts share one allocation: the slots, then one
// line of `lineSize` bytes per slot. Every slot points at its own line.
template <class Slot>
Slot* NewSlots(u32 count, u32 lineSize) {
  const u64 size = static_cast<u64>(count) * (sizeof(Slot) + lineSize);
  return static_cast<Slot*>(ReHeapAllocChecked(size ? size : 1));
}

template <class Slot>
void PointSlots(Slot* slots, u32 count, u32 lineSize) {
  char* lines = reinterpret_cast<char*>(slots + count);
  for (u32 i = 0; i < count; ++i) {
    Slot slot{};
    slot.title = lines + static_cast<u64>(i) * lineSize;
    slot.title[0] = 0;
    std::memcpy(&slots[i], &slot, sizeof slot);
  }
}

ReEtParReleaseHook g_releaseEtParResult = nullptr;

// --- Buffers by type: allocate (false on failure, nothing left allocated) and free.

// The result area of a 530 block must fit its 16-bit size field: the limit
// is cut to what fits.
bool AllocIdxList(ReIdxListBlock* block, const DbSizes& sizes, u32 count) {
  const u32 limit = std::min<u32>(count, 65535 / sizes.word);
  char* word = NewText(sizes.word);
  u8* mask = static_cast<u8*>(ReHeapAlloc(4));
  char* results = NewText(static_cast<u64>(limit) * sizes.word);
  if (!word || !mask || !results) {
    ReHeapFree(results);
    ReHeapFree(mask);
    ReHeapFree(word);
    return false;
  }
  block->word = word;
  block->featureMask = mask;
  block->results = results;
  block->resultLimit = static_cast<u16>(limit);
  block->resultAreaSize = static_cast<u16>(limit * sizes.word);
  return true;
}

void FreeIdxList(ReIdxListBlock* block) {
  ReHeapFree(block->results);
  ReHeapFree(block->featureMask);
  ReHeapFree(block->word);
  block->results = nullptr;
  block->featureMask = nullptr;
  block->word = nullptr;
}

bool AllocEntList(ReEntListBlock* block, const DbSizes& sizes, u32 count) {
  char* word = NewText(sizes.line);
  char* line = NewText(sizes.word);
  auto* slots = NewSlots<ReEntListSlot>(count, sizes.line);
  if (!word || !line || !slots) {
    ReHeapFree(slots);
    ReHeapFree(line);
    ReHeapFree(word);
    return false;
  }
  PointSlots(slots, count, sizes.line);
  block->word = word;
  block->line = line;
  block->slots = slots;
  block->capacity = static_cast<u16>(count);
  return true;
}

void FreeEntList(ReEntListBlock* block) {
  ReHeapFree(block->slots);
  ReHeapFree(block->line);
  ReHeapFree(block->word);
  block->slots = nullptr;
  block->line = nullptr;
  block->word = nullptr;
}

bool AllocEntry(ReEntryBlock* block, u32 count) {
  char* text = NewText(count);
  if (!text) return false;
  block->text = text;
  block->bufferSize = static_cast<u16>(count);
  return true;
}

void FreeEntry(ReEntryBlock* block) {
  ReHeapFree(block->text);
  block->text = nullptr;
}

bool AllocToken(ReTokenBlock* block, u32 count) {
  char* text = NewText(8ull * count);
  auto* tokens = static_cast<ReToken*>(ReHeapAllocChecked(static_cast<u64>(count) * sizeof(ReToken) + 1));
  if (!text || !tokens) {
    ReHeapFree(tokens);
    ReHeapFree(text);
    return false;
  }
  block->text = text;
  block->tokens = tokens;
  block->capacity = static_cast<u16>(count);
  return true;
}

void FreeToken(ReTokenBlock* block) {
  ReHeapFree(block->tokens);
  ReHeapFree(block->text);
  block->tokens = nullptr;
  block->text = nullptr;
}

bool AllocSearch(ReSearchBlock* block, const DbSizes& sizes, u32 count) {
  char* query = NewText(ReQueryBufferSize);
  auto* slots = NewSlots<ReHitSlot>(count, sizes.line);
  if (!query || !slots) {
    ReHeapFree(slots);
    ReHeapFree(query);
    return false;
  }
  PointSlots(slots, count, sizes.line);
  block->query = query;
  block->slots = slots;
  block->slotCount = static_cast<u16>(count);
  return true;
}

void FreeSearch(ReSearchBlock* block) {
  ReHeapFree(block->slots);
  ReHeapFree(block->query);
  block->slots = nullptr;
  block->query = nullptr;
}

// --- Whole blocks ----------------------------------------------------------

// Types whose count selects their buffer sizes, with their defaults.
u32 DefaultCount(u16 type, const DbSizes& sizes) {
  switch (type) {
    case ReBlockIdxList: return ReDefaultIdxResults;
    case ReBlockEntList: return sizes.listCount;
    case ReBlockEntry: return std::min<u32>(sizes.entry, 65535);
    case ReBlockToken: return ReDefaultTokenUnits;
    case ReBlockSearch: return ReDefaultHitSlots;
    default: return 0;
  }
}

bool AllocBuffers(void* block, u16 type, const DbSizes& sizes, u32 count) {
  switch (type) {
    case ReBlockIdxList: return AllocIdxList(static_cast<ReIdxListBlock*>(block), sizes, count);
    case ReBlockEntList: return AllocEntList(static_cast<ReEntListBlock*>(block), sizes, count);
    case ReBlockEntry: return AllocEntry(static_cast<ReEntryBlock*>(block), count);
    case ReBlockToken: return AllocToken(static_cast<ReTokenBlock*>(block), count);
    case ReBlockSearch: return AllocSearch(static_cast<ReSearchBlock*>(block), sizes, count);
    case ReBlockStrTab: {
      auto* strtab = static_cast<ReStrTabBlock*>(block);
      return (strtab->text = NewText(sizes.stringTable)) != nullptr;
    }
    case ReBlockEtPar: {
      auto* etpar = static_cast<ReEtParBlock*>(block);
      return (etpar->text = NewText(sizes.line)) != nullptr;
    }
    case ReBlockSubset: {
      auto* subset = static_cast<ReSubsetBlock*>(block);
      return (subset->bits = static_cast<u8*>(ReHeapAllocChecked(sizes.vector))) != nullptr;
    }
    default: return true;
  }
}

void FreeBuffers(void* block, u16 type) {
  switch (type) {
    case ReBlockIdxList: FreeIdxList(static_cast<ReIdxListBlock*>(block)); break;
    case ReBlockEntList: FreeEntList(static_cast<ReEntListBlock*>(block)); break;
    case ReBlockEntry: FreeEntry(static_cast<ReEntryBlock*>(block)); break;
    case ReBlockToken: FreeToken(static_cast<ReTokenBlock*>(block)); break;
    case ReBlockSearch: FreeSearch(static_cast<ReSearchBlock*>(block)); break;
    case ReBlockStrTab: {
      auto* strtab = static_cast<ReStrTabBlock*>(block);
      ReHeapFree(strtab->text);
      strtab->text = nullptr;
      break;
    }
    case ReBlockEtPar: {
      auto* etpar = static_cast<ReEtParBlock*>(block);
      if (etpar->result && g_releaseEtParResult) g_releaseEtParResult(etpar->result);
      etpar->result = nullptr;
      ReHeapFree(etpar->text);
      etpar->text = nullptr;
      break;
    }
    case ReBlockSubset: {
      auto* subset = static_cast<ReSubsetBlock*>(block);
      ReHeapFree(subset->bits);
      subset->bits = nullptr;
      break;
    }
    default: break;
  }
}

u32 BlockSize(u16 type) {
  switch (type) {
    case ReBlockApp: return sizeof(ReAppBlock);
    case ReBlockDb: return sizeof(ReDbBlock);
    case ReBlockIdxList: return sizeof(ReIdxListBlock);
    case ReBlockEntList: return sizeof(ReEntListBlock);
    case ReBlockEntry: return sizeof(ReEntryBlock);
    case ReBlockToken: return sizeof(ReTokenBlock);
    case ReBlockSearch: return sizeof(ReSearchBlock);
    case ReBlockStrTab: return sizeof(ReStrTabBlock);
    case ReBlockSubset: return sizeof(ReSubsetBlock);
    case ReBlockEtPar: return sizeof(ReEtParBlock);
    default: return 0;
  }
}

// Where a block keeps its status pointer (0: it has none). Read and written
// by copy: the field may be misaligned in the packed record.
size_t StatusOffset(u16 type) {
  switch (type) {
    case ReBlockApp: return offsetof(ReAppBlock, status);
    case ReBlockDb: return offsetof(ReDbBlock, status);
    case ReBlockIdxList: return offsetof(ReIdxListBlock, status);
    case ReBlockEntList: return offsetof(ReEntListBlock, status);
    case ReBlockEntry: return offsetof(ReEntryBlock, status);
    case ReBlockToken: return offsetof(ReTokenBlock, status);
    case ReBlockSearch: return offsetof(ReSearchBlock, status);
    case ReBlockStrTab: return offsetof(ReStrTabBlock, status);
    case ReBlockEtPar: return offsetof(ReEtParBlock, status);
    default: return 0;
  }
}

ReStatusBlock* StatusOf(const void* block, u16 type) {
  ReStatusBlock* status = nullptr;
  if (const size_t at = StatusOffset(type)) std::memcpy(&status, static_cast<const u8*>(block) + at, sizeof status);
  return status;
}

void SetStatusOf(void* block, u16 type, ReStatusBlock* status) {
  if (const size_t at = StatusOffset(type)) std::memcpy(static_cast<u8*>(block) + at, &status, sizeof status);
}

void SetDatabaseId(void* block, u16 type, u32 id) {
  switch (type) {
    case ReBlockIdxList: static_cast<ReIdxListBlock*>(block)->databaseId = id; break;
    case ReBlockEntList: static_cast<ReEntListBlock*>(block)->databaseId = id; break;
    case ReBlockEntry: static_cast<ReEntryBlock*>(block)->databaseId = id; break;
    case ReBlockToken: static_cast<ReTokenBlock*>(block)->databaseId = id; break;
    case ReBlockSearch: static_cast<ReSearchBlock*>(block)->databaseId = id; break;
    case ReBlockStrTab: static_cast<ReStrTabBlock*>(block)->databaseId = id; break;
    case ReBlockSubset: static_cast<ReSubsetBlock*>(block)->databaseId = id; break;
    default: break;
  }
}

u32 DatabaseIdOf(const void* block, u16 type) {
  switch (type) {
    case ReBlockIdxList: return static_cast<const ReIdxListBlock*>(block)->databaseId;
    case ReBlockEntList: return static_cast<const ReEntListBlock*>(block)->databaseId;
    case ReBlockEntry: return static_cast<const ReEntryBlock*>(block)->databaseId;
    case ReBlockToken: return static_cast<const ReTokenBlock*>(block)->databaseId;
    case ReBlockSearch: return static_cast<const ReSearchBlock*>(block)->databaseId;
    case ReBlockStrTab: return static_cast<const ReStrTabBlock*>(block)->databaseId;
    default: return 0;
  }
}

u32 CountOf(const void* block, u16 type) {
  switch (type) {
    case ReBlockIdxList: return static_cast<const ReIdxListBlock*>(block)->resultLimit;
    case ReBlockEntList: return static_cast<const ReEntListBlock*>(block)->capacity;
    case ReBlockEntry: return static_cast<const ReEntryBlock*>(block)->bufferSize;
    case ReBlockToken: return static_cast<const ReTokenBlock*>(block)->capacity;
    case ReBlockSearch: return static_cast<const ReSearchBlock*>(block)->slotCount;
    default: return 0;
  }
}

bool IsType(u16 type) { return BlockSize(type) != 0; }
bool Sized(u16 type) { return type >= ReBlockIdxList && type <= ReBlockSearch; }

void FreeBlock(void* block, u16 type) {
  ReForgetBlock(block);
  FreeBuffers(block, type);
  ReHeapFree(StatusOf(block, type));
  ReHeapFree(block);
}

// The parent a database block needs: a live session block with its session.
const ReAppBlock* SessionParent(const void* parent) {
  const auto* session = static_cast<const ReAppBlock*>(parent);
  return ReIsLive(session) && session->session >= 1 ? session : nullptr;
}

// The parent the other blocks need: a live, opened database block.
const ReDbBlock* DatabaseParent(const void* parent) {
  const auto* db = static_cast<const ReDbBlock*>(parent);
  return ReIsLive(db) && db->handle >= 1 ? db : nullptr;
}

u32 Allocate(void** out, const void* parent, u16 type, u32 count) {
  DbSizes sizes{};
  if (type == ReBlockDb) {
    if (!SessionParent(parent)) return ReFail;
  } else if (type != ReBlockApp) {
    const ReDbBlock* db = DatabaseParent(parent);
    if (!db) return ReFail;
    sizes = SizesOf(db);
  }
  if (type == ReBlockSubset && count != 0) return ReFail;
  if (Sized(type) && count == 0) count = DefaultCount(type, sizes);

  void* block = ReHeapAlloc(BlockSize(type));
  if (!block) return ReFail;
  if (StatusOffset(type)) {
    ReStatusBlock* status = NewRecord<ReStatusBlock>();
    if (!status) {
      ReHeapFree(block);
      return ReFail;
    }
    SetStatusOf(block, type, status);
  }
  if (!AllocBuffers(block, type, sizes, count) || !ReRegisterBlock(block, type, count)) {
    FreeBlock(block, type);
    return ReFail;
  }
  if (type == ReBlockDb) static_cast<ReDbBlock*>(block)->session = static_cast<const ReAppBlock*>(parent)->session;
  SetDatabaseId(block, type, sizes.databaseId);
  *out = block;
  return ReDone;
}

// Clears the fields that a reset clears and empties the text buffers.
void ClearForReset(void* block, u16 type, u32 lineSize) {
  switch (type) {
    case ReBlockIdxList: {
      auto* b = static_cast<ReIdxListBlock*>(block);
      b->handle = 0;
      b->minimumLength = 0;
      b->position = 0;
      b->word[0] = 0;
      b->results[0] = 0;
      break;
    }
    case ReBlockEntList: {
      auto* b = static_cast<ReEntListBlock*>(block);
      b->matchMode = 0;
      std::memset(b->pageState1, 0, sizeof b->pageState1);
      b->handle = 0;
      std::memset(b->pageState2, 0, sizeof b->pageState2);
      b->count = 0;
      b->word[0] = 0;
      b->line[0] = 0;
      PointSlots(b->slots, b->capacity, lineSize);
      break;
    }
    case ReBlockEntry: {
      auto* b = static_cast<ReEntryBlock*>(block);
      b->entry = 0;
      b->handle = 0;
      b->textMode = 0;
      b->subsetResult = 0;
      b->textLength = 0;
      b->text[0] = 0;
      break;
    }
    case ReBlockToken: {
      auto* b = static_cast<ReTokenBlock*>(block);
      b->entry = 0;
      b->handle = 0;
      // The request fields after the handle; the term pointers stay whole.
      b->termCount = 0;
      b->textLength = 0;
      b->subsetResult = 0;
      b->tokenCount = 0;
      b->text[0] = 0;
      break;
    }
    case ReBlockSearch: {
      auto* b = static_cast<ReSearchBlock*>(block);
      b->caseMode = 0;
      b->handle = 0;
      b->searchState1 = 0;
      b->searchState2 = 0;
      b->hitCount = 0;
      b->query[0] = 0;
      PointSlots(b->slots, b->slotCount, lineSize);
      break;
    }
    default: break;
  }
}

void ResetDbBlock(ReDbBlock* b) {
  b->fileSpec = nullptr;
  b->optionMask = 0;
  b->variant = 0;
  b->features = 0;
  b->kind = 0;
  b->capabilityMask = 0;
  b->databaseId = 0;
  b->handle = 0;
  b->entryCount = 0;
  b->longestEntryText = 0;
  b->longestWord = 0;
  b->longestLine = 0;
  b->entryListCount = 0;
  b->stringTableSize = 0;
}

u32 Reset(void** out, const void* parent, u16 type, u32 count) {
  void* block = *out;
  if (!ReIsLiveBlock(block, type) || type == ReBlockApp) return ReFail;
  if (type == ReBlockSubset) return ReDone;
  if (type == ReBlockEtPar) {
    auto* b = static_cast<ReEtParBlock*>(block);
    b->databaseRecord = nullptr;
    b->word = nullptr;
    b->slots = nullptr;
    b->slotCount = 0;
    b->currentSlot = 0;
    b->selectionFlag = 0;
    if (b->text) b->text[0] = 0;
    ReResetStatus(b->status);
    return ReDone;
  }
  if (type == ReBlockDb) {
    if (!SessionParent(parent)) return ReFail;
    auto* b = static_cast<ReDbBlock*>(block);
    ResetDbBlock(b);
    ReResetStatus(b->status);
    return ReDone;
  }
  const ReDbBlock* db = DatabaseParent(parent);
  if (!db) return ReFail;
  const DbSizes sizes = SizesOf(db);
  if (type == ReBlockStrTab) {
    auto* b = static_cast<ReStrTabBlock*>(block);
    if (b->databaseId != sizes.databaseId) {
      char* text = NewText(sizes.stringTable);
      if (!text) {
        FreeBlock(block, type);
        *out = nullptr;  // the caller's block is gone: no later free of it
        return ReFail;
      }
      ReHeapFree(b->text);
      b->text = text;
      b->databaseId = sizes.databaseId;
    }
    b->firstKey = b->secondKey = b->version = b->optionMask = b->handle = 0;
    b->text[0] = 0;
    ReResetStatus(b->status);
    return ReDone;
  }
  if (count < 1) return ReFail;  // a re-size takes the count as given
  // New buffers unless those made before hold the count, and the count
  // field (the caller's to change) still says so.
  if (DatabaseIdOf(block, type) != sizes.databaseId || ReBlockCount(block) != count || CountOf(block, type) != count) {
    FreeBuffers(block, type);
    if (!AllocBuffers(block, type, sizes, count)) {
      FreeBlock(block, type);
      *out = nullptr;  // the caller's block is gone: no later free of it
      return ReFail;
    }
    SetDatabaseId(block, type, sizes.databaseId);
    ReSetBlockCount(block, count);
  }
  ClearForReset(block, type, sizes.line);
  ReResetStatus(StatusOf(block, type));
  return ReDone;
}

}  // namespace

void ReSetEtParResultRelease(ReEtParReleaseHook release) { g_releaseEtParResult = release; }

u32 ReMemory(void** block, void* parent, u16 type, u16 action, u16 count) {
  if (!block || !IsType(type)) return ReFail;
  switch (action) {
    case ReActOpen: return Allocate(block, parent, type, count);
    case ReActReset: return Reset(block, parent, type, count);
    case ReActClose:
      if (!*block) return type == ReBlockSubset ? ReDone : ReFail;
      if (!ReIsLiveBlock(*block, type)) return ReFail;  // freed already, or not of this type
      FreeBlock(*block, type);
      *block = nullptr;
      return ReDone;
    default: return ReFail;
  }
}
