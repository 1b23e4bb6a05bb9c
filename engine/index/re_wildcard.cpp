// REidxlst 250: the index words that match a pattern with '?' and '*', a page
// at a time, forwards (470, 430) and backwards (420), until 480.
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "re_handles.h"
#include "re_index_lists.h"

namespace {

constexpr u32 kCanonicalLength = 126;  // characters of a pattern that are rewritten

bool IsWild(char c) { return c == '?' || c == '*'; }

// Every run of '?' and '*' becomes its '?' followed by one '*' when it held a
// star ("*?" -> "?*", "**" -> "*"), over the first 126 characters.
void Canonical(char* pattern) {
  const size_t length = std::strlen(pattern);
  const size_t head = std::min<size_t>(length, kCanonicalLength);
  char out[ReWordCapacity + 1];
  size_t n = 0;
  for (size_t i = 0; i < head;) {
    if (!IsWild(pattern[i])) {
      out[n++] = pattern[i++];
      continue;
    }
    size_t questions = 0;
    bool star = false;
    for (; i < head && IsWild(pattern[i]); ++i) {
      if (pattern[i] == '?')
        ++questions;
      else
        star = true;
    }
    while (questions--) out[n++] = '?';
    if (star) out[n++] = '*';
  }
  for (size_t i = head; i < length; ++i) out[n++] = pattern[i];
  out[n] = 0;
  std::memcpy(pattern, out, n + 1);
}

// '?' is one character, '*' any run; the word must match the whole pattern.
bool Matches(const char* word, const char* pattern) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*word) {
    if (*pattern == '*') {
      star = pattern++;
      resume = word;
    } else if (*pattern == '?' || *pattern == *word) {
      ++pattern;
      ++word;
    } else if (star) {
      pattern = star + 1;
      word = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

// The literal head (up to the first '*') and tail (after the last '*') are
// compared before the whole match.
bool HeadAndTailFit(const char* word, u32 length, const char* pattern) {
  const char* firstStar = std::strchr(pattern, '*');
  if (!firstStar) return true;
  for (const char* p = pattern; p < firstStar; ++p, ++word)
    if (*p != '?' && *p != *word) return false;
  const char* lastStar = std::strrchr(pattern, '*');
  const u32 tail = static_cast<u32>(std::strlen(lastStar + 1));
  if (tail > length) return false;
  const char* w = word - (firstStar - pattern) + (length - tail);
  for (const char* p = lastStar + 1; *p; ++p, ++w)
    if (*p != '?' && *p != *w) return false;
  return true;
}

ReVisit VisitWildcard(ReIndexState* state, const ReIndexWord& word) {
  ReWildcardPages& pages = state->pages;
  if (word.length < pages.minLength || word.length > pages.maxLength) return ReVisitGoOn;
  if (ReSubsetExcluded(state, static_cast<u32>(word.listNumber))) return ReVisitGoOn;
  if (!HeadAndTailFit(word.text, word.length, pages.pattern) || !Matches(word.text, pages.pattern)) return ReVisitGoOn;
  const u32 added = ReAddCasedWord(word, state);
  if (added == ReAddFull) {
    // The page is full: the next page starts at this word.
    pages.stopBlock = word.block;
    pages.stopOrdinal = word.ordinal;
    return ReVisitFull;
  }
  return ReVisitGoOn;
}

void Push(ReWildcardPages& pages, u16 block, u16 skip) {
  if (pages.depth == RePageStackDepth) {  // full: the oldest entry goes
    std::memmove(pages.starts, pages.starts + 1, (RePageStackDepth - 1) * sizeof(u16));
    std::memmove(pages.skips, pages.skips + 1, (RePageStackDepth - 1) * sizeof(u16));
    --pages.depth;
    ++pages.basePage;
  }
  pages.starts[pages.depth] = block;
  pages.skips[pages.depth] = skip;
  ++pages.depth;
}

// Walks one page from (block, skip): the results go straight into the block's
// result area. False when the walk was stopped or failed.
bool WalkPage(const ReListCall& call, u16 block, u16 skip) {
  ReIndexState* state = call.state;
  ReWildcardPages& pages = state->pages;
  ReIdxListBlock* b = call.block;
  ReBeginListWalk(call, ReWalkWildcard);
  state->visit = VisitWildcard;
  state->pool = b->results;
  state->offsets = pages.offsets;
  state->resultLimit = static_cast<i16>(std::min<u32>(b->resultLimit, 0x7FFF));
  state->poolSize = b->results ? b->resultAreaSize : 0;
  state->blocksTotal = pages.rangeEnd - pages.lowBlock + 1;
  state->blocksDone = block - pages.lowBlock;
  state->skipOrdinals = skip;
  pages.pageBlock = block;
  pages.pageSkip = skip;
  const u32 walked = block > pages.rangeEnd
                         ? ReWalkDone
                         : ReDecodeIndexBlock(pages.pattern, static_cast<i16>(std::strlen(pages.pattern)), block,
                                              static_cast<u16>(pages.rangeEnd - block), call.index, state);
  b->foundCount = state->resultCount;
  if (walked == ReWalkFull) {
    pages.ranToEnd = false;
    Push(pages, pages.stopBlock, pages.stopOrdinal);
    return true;
  }
  // A page stopped by the callback or a failed read has not reached the end:
  // the next page walks it again from its start.
  pages.ranToEnd = walked == ReWalkDone;
  return walked == ReWalkDone;
}

// A new pattern: checks, normalises and writes it back into the block, and
// sets the block range it can occupy.
bool StartPattern(const ReListCall& call) {
  ReIdxListBlock* block = call.block;
  ReWildcardPages& pages = call.state->pages;
  const u32 length = ReBlockWordLength(call);
  if (length > ReLongestListWord(call)) {
    ReSetStatus(call.status, ReSevError, ReErrWordTooLong, ReModWildcard);
    return false;
  }
  char* pattern = pages.pattern;
  std::memcpy(pattern, block->word, length);
  pattern[length] = 0;
  if (!std::strpbrk(pattern, "?*")) {
    ReSetStatus(call.status, ReSevError, ReErrWildcardNone, ReModWildcard);
    return false;
  }
  u16 others = 0;
  for (const char* p = pattern; *p; ++p) others += *p != '*';
  pages.minLength = others;
  pages.maxLength = std::strchr(pattern, '*') ? call.index->longestWord : others;
  Canonical(pattern);
  ReLowerWord(*call.index, pattern);
  std::strcpy(block->word, pattern);

  // Low key: '?', '*' and all after it as byte 1; high key: as byte 255, its
  // last byte at most 254.
  const u32 width = call.index->prefixLength;
  char low[4], high[4];
  bool starSeen = false;
  const u32 patternLength = static_cast<u32>(std::strlen(pattern));
  for (u32 i = 0; i < width && i < 4; ++i) {
    const char c = i < patternLength ? pattern[i] : ' ';
    starSeen = starSeen || c == '*';
    const bool wild = starSeen || c == '?';
    low[i] = wild ? '\x01' : c;
    high[i] = wild ? '\xFF' : c;
  }
  if (width >= 1 && width <= 4 && static_cast<u8>(high[width - 1]) == 255) high[width - 1] = '\xFE';
  const u32 end = ReBlockRange(low, high, call.index, &pages.lowBlock);
  pages.rangeEnd = static_cast<u16>(std::min<u32>(end, call.index->blockCount ? call.index->blockCount - 1u : 0));
  return true;
}

bool AllocStacks(ReWildcardPages& pages) {
  for (auto [memory, data] :
       {std::pair{&pages.startsMemory, &pages.starts}, std::pair{&pages.skipsMemory, &pages.skips}}) {
    if (*memory) continue;
    *memory = ReGlobalAlloc(RePageStackDepth * sizeof(u16));
    *data = *memory ? static_cast<u16*>(ReGlobalLock(*memory)) : nullptr;
    if (!*data) return false;
  }
  return true;
}

}  // namespace

void ReEndWildcardPages(ReIndexState* state) {
  ReWildcardPages& pages = state->pages;
  for (ReMemHandle* memory : {&pages.startsMemory, &pages.skipsMemory})
    if (*memory) {
      ReGlobalUnlock(*memory);
      ReGlobalFree(*memory);
      *memory = nullptr;
    }
  pages.starts = pages.skips = nullptr;
  pages.active = false;
  pages.minLength = pages.maxLength = 0;
  pages.depth = 0;
}

u32 ReWildcardList(ReIdxListBlock* block, u16 action) {
  ReListCall call;
  if (!ReBeginListCall(&call, block, ReTagWildcard, ReModWildcard, true, ReUnlockFailure::HandleLayer)) {
    return call.status->status;
  }
  ReIndexState* state = call.state;
  ReWildcardPages& pages = state->pages;
  if (action == ReActClose) {
    ReEndWildcardPages(state);
    ReEndListCall(&call, ReHandleFree);
    return call.status->status;
  }
  if (action != ReActOpen && !pages.active) {
    ReSetStatus(call.status, ReSevError, ReErrAction, ReModWildcard);  // no list to page through
  } else {
    ReScopedGlobal offsets;
    if (!offsets.Alloc(block->resultLimit * 2u) || !AllocStacks(pages)) {
      ReSetStatus(call.status, ReSevError, ReErrMemory, ReModWildcard);
    } else {
      pages.offsets = reinterpret_cast<u16*>(offsets.data());
      bool walked = true;
      if (action == ReActOpen) {
        pages.active = false;
        if (StartPattern(call)) {
          pages.active = true;
          pages.depth = 0;
          pages.basePage = pages.page = 1;
          Push(pages, pages.lowBlock, 0);
          walked = WalkPage(call, pages.lowBlock, 0);
        }
      } else if (action == ReActNext) {
        if (pages.ranToEnd) {
          block->foundCount = 0;
        } else {
          // The top entry starts the page after a full one, or the page that
          // was stopped before its end.
          pages.page = static_cast<u16>(pages.basePage + pages.depth - 1);
          walked = WalkPage(call, pages.starts[pages.depth - 1], pages.skips[pages.depth - 1]);
        }
      } else {  // 420: the page before the current one
        const u16 target = pages.page > 1 ? static_cast<u16>(pages.page - 1) : 1;
        if (target >= pages.basePage) {
          pages.depth = static_cast<u16>(target - pages.basePage + 1);
        } else {
          // Its start is no longer recorded: page forward again from the start.
          pages.depth = 0;
          pages.basePage = 1;
          Push(pages, pages.lowBlock, 0);
          for (u16 page = 1; page < target && walked && !pages.ranToEnd; ++page)
            walked = WalkPage(call, pages.starts[pages.depth - 1], pages.skips[pages.depth - 1]);
        }
        pages.page = target;
        if (walked) walked = WalkPage(call, pages.starts[pages.depth - 1], pages.skips[pages.depth - 1]);
      }
      pages.offsets = nullptr;
      state->pool = nullptr;
      state->offsets = nullptr;
      if (!walked && state->stop) ReSetStatus(call.status, ReSevWarning, ReCodeStopped, ReModWildcard);
      ReReportWalkFailure(call);
      if (call.status->status != ReFail && block->foundCount == 0)
        ReSetStatus(call.status, ReSevWarning, ReWarnNothing, ReModWildcard);
    }
  }
  const bool failed = call.status->status == ReFail;
  if (failed) ReCloseProgress(call);
  // Between pages the handle stays reserved for the list.
  ReEndListCall(&call, failed || !pages.active ? ReHandleFree : ReHandleReserved);
  return call.status->status;
}
