#include "re_index_walk.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <new>

#include "re_file.h"

namespace {

// Mode 3: the exact word; every entry it names gets the term's bit in the
// term map and, when a hit buffer is given, one hit.
ReVisit VisitExact(ReIndexState* state, const ReIndexWord& word) {
  const int order = ReCompareWords(word.text, state->key);
  if (order < 0) return ReVisitGoOn;
  if (order > 0) return ReVisitPassed;
  state->exactFound = true;
  const bool hitReading = state->reading == ReReadingHits;
  const u32 count = hitReading ? word.entryCount : 1;
  for (u32 k = 0; k < count; ++k) {
    const u32 entry = hitReading ? word.firstEntry + k * word.entryStep : static_cast<u32>(word.listNumber);
    if (ReSubsetExcluded(state, entry)) continue;
    if (state->termMap && (entry >> state->termShift) < state->termMapSize)
      state->termMap[entry >> state->termShift] |= state->termBit;
    if (state->hits) {
      if (state->hitCount >= state->hitCapacity) return ReVisitFull;
      const u32 position = word.hasPosition ? word.position : 0;
      state->hits[2 * state->hitCount] = entry * 16384u + position;
      state->hits[2 * state->hitCount + 1] = state->termNumber;
      ++state->hitCount;
    }
  }
  return ReVisitGoOn;
}

}  // namespace

int ReCompareWords(const char* a, const char* b) {
  const int order = std::strcmp(a, b);  // compares as unsigned bytes
  return (order > 0) - (order < 0);
}

ReIndexState* ReNewIndexState(u16 blockBufferSize) {
  ReMemHandle memory = ReGlobalAlloc(sizeof(ReIndexState));
  if (!memory) return nullptr;
  void* place = ReGlobalLock(memory);
  ReMemHandle bufferMemory = place ? ReGlobalAlloc(blockBufferSize ? blockBufferSize : 1) : nullptr;
  u8* buffer = bufferMemory ? static_cast<u8*>(ReGlobalLock(bufferMemory)) : nullptr;
  if (!buffer) {
    if (bufferMemory) ReGlobalFree(bufferMemory);
    if (place) ReGlobalUnlock(memory);
    ReGlobalFree(memory);
    return nullptr;
  }
  auto* state = new (place) ReIndexState();
  state->memory = memory;
  state->bufferMemory = bufferMemory;
  state->blockBuffer = buffer;
  state->blockBufferSize = blockBufferSize;
  state->currentBlock = ReNoBlock;
  state->spell.currentPass = -1;
  return state;
}

void ReFreeIndexState(ReIndexState* state) {
  if (!state) return;
  ReMemHandle memory = state->memory;
  ReMemHandle bufferMemory = state->bufferMemory;
  for (ReMemHandle stack : {state->pages.startsMemory, state->pages.skipsMemory})
    if (stack) {
      ReGlobalUnlock(stack);
      ReGlobalFree(stack);
    }
  state->~ReIndexState();
  ReGlobalUnlock(bufferMemory);
  ReGlobalFree(bufferMemory);
  ReGlobalUnlock(memory);
  ReGlobalFree(memory);
}

void ReBeginWalk(ReIndexState* state, const ReIndexDescriptor* index, u16 mode, u16 reading) {
  state->mode = mode;
  state->reading = reading;
  state->index = index;
  state->visit = mode == ReWalkExact ? VisitExact : nullptr;
  state->context = nullptr;
  state->key[0] = 0;
  state->keyLength = 0;
  state->pool = nullptr;
  state->offsets = nullptr;
  state->resultCount = state->resultLimit = 0;
  state->poolUsed = state->poolSize = 0;
  state->subsetFilter = false;
  state->subsetBits = nullptr;
  state->subsetBytes = 0;
  state->termMap = nullptr;
  state->termMapSize = 0;
  state->termShift = state->termBit = 0;
  state->hits = nullptr;
  state->hitCount = state->hitCapacity = 0;
  state->termNumber = 0;
  state->exactFound = false;
  state->progress = nullptr;
  state->blocksDone = state->blocksTotal = 0;
  state->stop = 0;
  state->failure = ReWalkOk;
  state->skipOrdinals = 0;
  state->lastBlock = ReNoBlock;
  state->lastOrdinal = 0;
}

const ReIndexCodeCache* ReIndexCodeCacheFor(ReIndexState* state, const ReIndexDescriptor* index) {
  for (ReIndexCodeCache& cache : state->codeCaches) {
    if (cache.status != ReIndexCodeCache::kEmpty && cache.index != index) continue;
    if (cache.status == ReIndexCodeCache::kEmpty) ReBuildIndexCodeCache(*index, &cache);
    return &cache;
  }
  return nullptr;
}

bool ReReportProgress(ReIndexState* state) {
  if (!state->progress) return true;
  u32 done, total;
  if (state->mode < ReWalkSpelling) {
    done = static_cast<u32>(state->blocksDone);
    total = static_cast<u32>(state->blocksTotal);
  } else {
    const u32 blocks = state->index ? state->index->blockCount : 0;
    const u32 pass = state->spell.currentPass > 0 ? static_cast<u32>(state->spell.currentPass) : 0;
    const u32 part = state->blocksTotal > 0
                         ? blocks * static_cast<u32>(state->blocksDone) / static_cast<u32>(state->blocksTotal)
                         : 0;
    total = state->spelling.ruleCount * blocks;
    done = pass * blocks + part;
    if (done > total) done = total;
  }
  ++state->blocksDone;
  if (state->progress(done, total) != 0) {
    state->stop = 1;
    return false;
  }
  return true;
}

bool ReLoadIndexBlock(ReIndexState* state, const ReIndexDescriptor* index, u16 block) {
  if (block >= index->blockCount || index->blockSize > state->blockBufferSize || index->blockSize == 0) {
    state->failure = ReWalkBadBlock;
    return false;
  }
  if (state->currentBlock == block && state->bufferIndex == index) return true;
  if (!ReReportProgress(state)) return false;
  const std::uint64_t offset = std::uint64_t{index->indexBase} + std::uint64_t{block} * index->blockSize;
  u32 got = 0;
  state->currentBlock = ReNoBlock;
  if (offset > 0x7FFFFFFF || ReSeekDataFile(index->file, static_cast<i32>(offset), 0) != ReDone ||
      ReReadBytes(index->file, index->blockSize, state->blockBuffer, &got) != ReDone || got != index->blockSize) {
    state->failure = ReWalkReadFailed;
    return false;
  }
  state->currentBlock = block;
  state->bufferIndex = index;
  return true;
}

u32 ReDecodeIndex(const char* key, i16 keyLength, u16 startBlock, u16 furtherBlocks, const ReIndexDescriptor* index,
                  ReIndexState* state) {
  if (keyLength < 1) return ReWalkStopped;
  if (!state->blockBuffer || !state->visit) return ReWalkNoBuffer;
  return ReDecodeIndexBlock(key, keyLength, startBlock, furtherBlocks, index, state);
}

u32 ReDecodeIndexBlock(const char* key, i16 keyLength, u16 startBlock, u16 furtherBlocks,
                       const ReIndexDescriptor* index, ReIndexState* state) {
  if (state->mode != ReWalkWildcard) {
    state->blocksDone = 0;
    state->blocksTotal = furtherBlocks + 1;
  }
  const u16 length = keyLength < 0 ? 0 : keyLength > ReWordCapacity ? ReWordCapacity : static_cast<u16>(keyLength);
  if (key != state->key) {
    std::memcpy(state->key, key, length);
    state->key[length] = 0;
  }
  state->keyLength = length;
  if (index->blockCount == 0 || startBlock >= index->blockCount) return ReWalkDone;
  u32 first = startBlock;
  u32 last = static_cast<u32>(startBlock) + furtherBlocks;
  if (last >= index->blockCount) last = index->blockCount - 1u;

  // The exact mode skips the first block of a longer range when the second
  // block's first word already sorts before the key.
  if (state->mode == ReWalkExact && last > first) {
    if (!ReLoadIndexBlock(state, index, static_cast<u16>(first + 1))) return ReWalkStopped;
    state->decoder.Begin(*index, state->blockBuffer, static_cast<u16>(first + 1), state->reading,
                         ReIndexCodeCacheFor(state, index));
    const ReIndexWord* word = state->decoder.Next();
    if (word && ReCompareWords(word->text, state->key) < 0) ++first;
  }

  for (u32 block = first; block <= last; ++block) {
    if (!ReLoadIndexBlock(state, index, static_cast<u16>(block))) return ReWalkStopped;
    const u16 skip = block == first ? state->skipOrdinals : 0;
    state->skipOrdinals = 0;
    ReIndexBlockDecoder& decoder = state->decoder;
    decoder.Begin(*index, state->blockBuffer, static_cast<u16>(block), state->reading,
                  ReIndexCodeCacheFor(state, index));
    while (const ReIndexWord* word = decoder.Next()) {
      if (word->ordinal < skip) continue;
      state->lastBlock = word->block;
      state->lastOrdinal = word->ordinal;
      switch (state->visit(state, *word)) {
        case ReVisitGoOn: break;
        case ReVisitDone: return ReWalkDone;
        case ReVisitFull: return ReWalkFull;
        case ReVisitPassed: return ReWalkStopped;
      }
    }
    if (decoder.failed()) {
      state->failure = ReWalkBadBlock;
      state->currentBlock = ReNoBlock;
      return ReWalkStopped;
    }
  }
  return ReWalkDone;
}

u32 ReAddResultWord(const char* word, u16 length, ReIndexState* state, u8 dedupe) {
  if (dedupe == 1) {
    for (i32 i = 0; i < state->resultCount; ++i)
      if (std::strcmp(ReResultWord(state, i), word) == 0) return ReAddDuplicate;
  } else if (dedupe == 2 && state->resultCount > 0) {
    if (std::strcmp(ReResultWord(state, state->resultCount - 1), word) == 0) return ReAddDuplicate;
  }
  if (state->resultCount >= state->resultLimit || !state->pool || !state->offsets) return ReAddFull;
  if (static_cast<u32>(state->poolUsed) + length >= state->poolSize) return ReAddFull;
  std::memcpy(state->pool + state->poolUsed, word, length);
  state->pool[state->poolUsed + length] = 0;
  state->offsets[state->resultCount++] = state->poolUsed;
  state->poolUsed = static_cast<u16>(state->poolUsed + length + 1);
  return ReAddAdded;
}

u32 ReAddCasedWord(const ReIndexWord& word, ReIndexState* state) {
  ReRestoreCase(*state->index, word, ReCaseLower, state->spare);
  return ReAddResultWord(state->spare, word.length, state, 1);
}

const char* ReResultWord(const ReIndexState* state, i32 i) { return state->pool + state->offsets[i]; }

bool ReSubsetExcluded(const ReIndexState* state, u32 entry) {
  if (!state->subsetFilter || !state->subsetBits) return false;
  return entry / 8 >= state->subsetBytes || !(state->subsetBits[entry / 8] & (1u << (entry % 8)));
}
