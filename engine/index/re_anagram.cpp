// REidxlst 120: the index words that can be spelled with the letters of a
// word (all of them, or with a minimum length, some of them).
#include <algorithm>
#include <cstring>

#include "re_handles.h"
#include "re_index_lists.h"
#include "re_spelling_data.h"

namespace {

constexpr u32 kWholeRangeLength = 25;  // words this long walk the whole letter range

struct AnagramWalk {
  u16 counts[256];
  u16 minimum, maximum;
  u32 walkedTo;  // blocks up to here (exclusive) are done
};

// Every character of the word, from its end, is available in the counts.
bool ReLetterFit(const AnagramWalk& walk, const ReIndexWord& word) {
  u16 used[256] = {};
  for (u32 i = word.length; i-- > 0;) {
    const u8 c = static_cast<u8>(word.text[i]);
    if (++used[c] > walk.counts[c]) return false;
  }
  return true;
}

ReVisit VisitAnagram(ReIndexState* state, const ReIndexWord& word) {
  const auto& walk = *static_cast<const AnagramWalk*>(state->context);
  if (word.length < walk.minimum || word.length > walk.maximum) return ReVisitGoOn;
  if (ReSubsetExcluded(state, static_cast<u32>(word.listNumber))) return ReVisitGoOn;
  if (!ReLetterFit(walk, word)) return ReVisitGoOn;
  return ReAddCasedWord(word, state) == ReAddFull ? ReVisitFull : ReVisitGoOn;
}

// Walks blocks first .. last, leaving out blocks an earlier key already
// walked: every word of a walked block has been tested.
u32 WalkBlocks(const ReListCall& call, AnagramWalk& walk, u32 first, u32 last) {
  const u32 start = std::max(first, walk.walkedTo);
  if (start > last) return ReWalkDone;
  walk.walkedTo = last + 1;
  ReIndexState* state = call.state;
  return ReDecodeIndex(state->key, static_cast<i16>(state->keyLength), static_cast<u16>(start),
                       static_cast<u16>(last - start), call.index, state);
}

// Is the word shorter than the minimum length? Tested before the lock, so the
// word is read no further than the minimum, nor past its buffer (the longest
// word and its NUL) when the handle is known.
bool ShorterThanMinimum(const ReIdxListBlock* block) {
  u32 bound = block->minimumLength;
  const ReHandleNode* node = ReFindHandle(block->handle);
  if (node && node->database && node->database->record)
    bound = std::min<u32>(bound, node->database->record->longestWord + 1u);
  const u32 length = block->word ? static_cast<u32>(strnlen(block->word, bound)) : 0;
  return block->minimumLength > length;
}

}  // namespace

u32 ReAnagramList(ReIdxListBlock* block) {
  ReStatusBlock* status = block->status;
  if (block->minimumLength == 1 || ShorterThanMinimum(block)) {
    ReSetStatus(status, ReSevError, ReErrAnagramLength, ReModAnagrams);
    return status->status;
  }
  ReListCall call;
  if (!ReBeginListCall(&call, block, ReTagAnagram, ReModAnagrams)) {
    return status->status;
  }
  const u32 length = ReBlockWordLength(call);
  if (length == 0)
    ReSetStatus(status, ReSevError, ReErrWordEmpty, ReModAnagrams);
  else if (length > ReLongestListWord(call))
    ReSetStatus(status, ReSevError, ReErrWordTooLong, ReModAnagrams);
  else if (std::strpbrk(block->word, "?*"))
    ReSetStatus(status, ReSevError, ReErrWildcardInWord, ReModAnagrams);

  ReScopedGlobal offsets;
  if (status->status != ReFail && !offsets.Alloc(block->resultLimit * 2u))
    ReSetStatus(status, ReSevError, ReErrMemory, ReModAnagrams);
  if (status->status == ReFail) {
    ReCloseProgress(call);
    ReEndListCall(&call, ReHandleFree);
    return status->status;
  }

  ReLowerWord(*call.index, block->word);
  AnagramWalk walk{};
  walk.maximum = static_cast<u16>(length);
  walk.minimum = block->minimumLength ? block->minimumLength : walk.maximum;
  u8 smallest = 255, largest = 0;
  for (u32 i = 0; i < length; ++i) {
    const u8 c = static_cast<u8>(block->word[i]);
    ++walk.counts[c];
    smallest = std::min(smallest, c);
    largest = std::max(largest, c);
  }

  ReIndexState* state = call.state;
  ReBeginListWalk(call, ReWalkAnagram);
  state->visit = VisitAnagram;
  state->context = &walk;
  state->pool = block->results;
  state->offsets = reinterpret_cast<u16*>(offsets.data());
  state->resultLimit = static_cast<i16>(std::min<u32>(block->resultLimit, 0x7FFF));
  state->poolSize = block->results ? block->resultAreaSize : 0;
  std::memcpy(state->key, block->word, length);
  state->key[length] = 0;
  state->keyLength = static_cast<u16>(length);

  u32 walked = ReWalkDone;
  const ReSpellingData& data = state->spelling;
  if (length >= kWholeRangeLength || !data.entries) {
    const char from[1] = {static_cast<char>(smallest)};
    const char to[1] = {static_cast<char>(largest)};
    u16 first, ignored;
    ReKeyBlockRange(from, 1, call.index, &first);
    const u32 last = ReKeyBlockRange(to, 1, call.index, &ignored);
    walked = WalkBlocks(call, walk, first, last);
  } else {
    // The key prefixes whose letters (up to four) the word can give.
    RePrefixListCursor cursor(data);
    u8 lastKey[4] = {0, 0, 0, 0};
    bool hasLast = false;
    while (walked == ReWalkDone && cursor.NextGroup()) {
      u8 key[4];
      while (walked == ReWalkDone && cursor.NextKey(key)) {
        u16 used[256] = {};
        u32 letters = 0;
        bool fits = true;
        for (; letters < 4 && key[letters] != ' ' && fits; ++letters)
          fits = ++used[key[letters]] <= walk.counts[key[letters]];
        if (!fits || (hasLast && std::memcmp(key, lastKey, 4) < 0)) continue;
        u16 first;
        const u32 last = ReKeyBlockRange(reinterpret_cast<const char*>(key), letters, call.index, &first);
        walked = WalkBlocks(call, walk, first, last);
        std::memcpy(lastKey, key, 4);
        hasLast = true;
      }
    }
  }
  block->foundCount = state->resultCount;
  state->context = nullptr;
  state->pool = nullptr;
  state->offsets = nullptr;
  if (walked == ReWalkStopped && state->stop) ReSetStatus(status, ReSevWarning, ReCodeStopped, ReModAnagrams);
  ReReportWalkFailure(call);
  if (status->status != ReFail && block->foundCount == 0)
    ReSetStatus(status, ReSevWarning, ReWarnNothing, ReModAnagrams);
  if (status->status == ReFail) ReCloseProgress(call);
  ReEndListCall(&call, ReHandleFree);
  return status->status;
}
