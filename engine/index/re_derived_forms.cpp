// REidxlst 150: the forms of a word that carry requested grammatical
// features (comparative, superlative and the like), from the derived-form
// records of the word index, with "more "/"most " forms where a language
// forms them analytically.
#include <algorithm>
#include <cstring>

#include "re_handles.h"
#include "re_index_lists.h"

namespace {

constexpr u32 kMaxFormKeys = 16;

u8 FeatureGroup(u32 bit) {
  if (bit >= 1 && bit <= 7) return 1;
  if (bit >= 8 && bit <= 12) return 2;
  if (bit >= 13 && bit <= 15) return 3;
  if (bit >= 16 && bit <= 18) return 4;
  if (bit == 19) return 5;
  if (bit == 20) return 6;
  if (bit == 21) return 7;
  return 0;  // no group
}

u8 ClassGroup(u8 code) {
  if (code >= 1 && code <= 4) return 2;
  if (code == 5) return 5;
  if ((code >= 11 && code <= 20) || code == 41 || code == 42) return 1;
  if (code >= 21 && code <= 25) return 3;
  if (code >= 31 && code <= 34) return 4;
  return 0;
}

bool HasBit(const u8 mask[4], u32 bit) { return bit < 32 && (mask[bit / 8] >> (bit % 8) & 1u); }

struct FormWalk {
  u8 mask[4];
  u8 wordClass;
  char keys[kMaxFormKeys][ReWordCapacity + 1];
  u32 keyCount;
  bool full;  // no room for a found form
};

// Mode 12: the spelling's records of the class whose feature is asked for
// name the keys of their forms (one or two, separated by a space; the text's
// terminator holds their number).
ReVisit VisitFormKeys(ReIndexState* state, const ReIndexWord& word) {
  auto& walk = *static_cast<FormWalk*>(state->context);
  const int order = ReCompareWords(word.text, state->key);
  if (order < 0) return ReVisitGoOn;
  if (order > 0) return ReVisitPassed;
  if (!word.hasExtension || (word.classByte & 63) != walk.wordClass || !HasBit(walk.mask, word.featureByte))
    return ReVisitGoOn;
  const u32 named = word.extTerminator == 1 || word.extTerminator == 2 ? word.extTerminator : 2;
  const char* text = word.extText;
  for (u32 k = 0; k < named && *text && walk.keyCount < kMaxFormKeys; ++k) {
    const char* space = std::strchr(text, ' ');
    const u32 n = static_cast<u32>(space ? space - text : std::strlen(text));
    std::memcpy(walk.keys[walk.keyCount], text, n);
    walk.keys[walk.keyCount++][n] = 0;
    text += n + (space ? 1 : 0);
  }
  return ReVisitGoOn;
}

// Mode 10: the records of a form key, with their capitals.
ReVisit VisitFormLookup(ReIndexState* state, const ReIndexWord& word) {
  auto& walk = *static_cast<FormWalk*>(state->context);
  const int order = ReCompareWords(word.text, state->key);
  if (order < 0) return ReVisitGoOn;
  if (order > 0) return ReVisitPassed;
  if (ReSubsetExcluded(state, static_cast<u32>(word.listNumber))) return ReVisitGoOn;
  if (ReAddCasedWord(word, state) == ReAddFull) {
    walk.full = true;
    return ReVisitFull;
  }
  return ReVisitGoOn;
}

// 0 forms added, 4 no form, 8 a walk failed.
u32 ReGenerateForm(const ReListCall& call, const char* spelling, const u8 request[4], u8 wordClass) {
  FormWalk walk{};
  const u8 group = ClassGroup(wordClass);
  for (u32 bit = 0; bit < 32; ++bit)
    if (HasBit(request, bit) && group != 0 && FeatureGroup(bit) == group) walk.mask[bit / 8] |= u8(1u << (bit % 8));
  if (!(walk.mask[0] | walk.mask[1] | walk.mask[2] | walk.mask[3])) return ReWarn;
  walk.wordClass = wordClass;
  ReIndexState* state = call.state;
  state->context = &walk;
  const u32 length = static_cast<u32>(std::strlen(spelling));
  state->mode = ReWalkFormKeys;
  state->visit = VisitFormKeys;
  std::memcpy(state->key, spelling, length + 1);
  state->keyLength = static_cast<u16>(length);
  ReWalkKeyRange(call, spelling, length, spelling, static_cast<u16>(length));
  if (state->stop || state->failure) return ReFail;
  const i32 before = state->resultCount;
  for (u32 k = 0; k < walk.keyCount && !walk.full; ++k) {
    const u32 n = static_cast<u32>(std::strlen(walk.keys[k]));
    if (n == 0) continue;
    state->mode = ReWalkFormLookup;
    state->visit = VisitFormLookup;
    std::memcpy(state->key, walk.keys[k], n + 1);
    state->keyLength = static_cast<u16>(n);
    ReWalkKeyRange(call, walk.keys[k], n, walk.keys[k], static_cast<u16>(n));
    if (state->stop || state->failure) return ReFail;
  }
  // A pool that fills here is not reported: the forms kept are returned.
  state->context = nullptr;
  return state->resultCount > before ? ReDone : ReWarn;
}

// Adds an analytic form ("more big") to the block's results: only while the
// found count is below the limit and the text fits with 6 bytes to spare.
bool AddAnalytic(ReIdxListBlock* block, u32* used, const char* prefix, const char* spelling) {
  const u32 n = static_cast<u32>(std::strlen(prefix) + std::strlen(spelling)) + 1;
  if (block->foundCount >= block->resultLimit || !block->results || *used + n + 6 > block->resultAreaSize) return false;
  std::strcpy(block->results + *used, prefix);
  std::strcat(block->results + *used, spelling);
  *used += n;
  ++block->foundCount;
  return true;
}

}  // namespace

u32 ReDerivedForms(ReIdxListBlock* block, u16) {
  ReStatusBlock* status = block->status;
  ReListCall call;
  if (!ReBeginListCall(&call, block, ReTagInflected, ReModDerivedForms, false)) return status->status;
  auto done = [&] {
    if (status->status == ReFail) ReCloseProgress(call);
    ReEndListCall(&call, ReHandleFree);
    return status->status;
  };
  block->foundCount = 0;
  if (!(call.record->features & ReFeatIndexFlags)) {
    ReSetStatus(status, ReSevWarning, ReWarnNoFormData, ReModDerivedForms);
    return done();
  }
  const u32 length = ReBlockWordLength(call);
  if (length == 0) {
    ReSetStatus(status, ReSevError, ReErrWordEmpty, ReModDerivedForms);
    return done();
  }
  if (length > ReLongestListWord(call)) {
    ReSetStatus(status, ReSevError, ReErrWordTooLong, ReModDerivedForms);
    return done();
  }
  if (std::strpbrk(block->word, "?*")) {
    ReSetStatus(status, ReSevError, ReErrWildcardInWord, ReModDerivedForms);
    return done();
  }
  u8 request[4] = {0, 0, 0, 0};
  if (block->featureMask) std::memcpy(request, block->featureMask, 4);
  if (!(request[0] | request[1] | request[2] | request[3])) {
    ReSetStatus(status, ReSevWarning, ReWarnNothing, ReModDerivedForms);
    return done();
  }
  ReScopedGlobal offsets, pool;
  if (!offsets.Alloc(block->resultLimit * 2u) || !pool.Alloc(block->resultAreaSize)) {
    ReSetStatus(status, ReSevError, ReErrMemory, ReModDerivedForms);
    return done();
  }
  ReLowerWord(*call.index, block->word);
  const char* spelling = block->word;
  ReIndexState* state = call.state;
  ReBeginListWalk(call, ReWalkFormKeys);
  state->pool = reinterpret_cast<char*>(pool.data());
  state->offsets = reinterpret_cast<u16*>(offsets.data());
  state->resultLimit = static_cast<i16>(std::min<u32>(block->resultLimit, 0x7FFF));
  state->poolSize = block->resultAreaSize;

  // Four masks: the synthetic forms, the comparative and superlative, and
  // two for bit value 8 of byte 1.
  const bool ly = length >= 2 && std::strcmp(spelling + length - 2, "ly") == 0;
  u8 masks[4][4] = {};
  std::memcpy(masks[0], request, 4);
  masks[1][1] = request[1] & (64 | 128);
  masks[0][1] &= static_cast<u8>(~(64 | 128));
  if (ly) {
    masks[1][2] = request[2] & (2 | 4);
    masks[0][2] &= static_cast<u8>(~(2 | 4));
  }
  if (request[1] & (4 | 16))
    masks[0][1] |= 2;
  else if (request[1] & 2)
    masks[0][1] |= 4 | 16;
  if (request[1] & 8) {
    masks[0][1] &= static_cast<u8>(~8);
    masks[2][1] = 8;
    masks[3][1] = 1;
  }
  const bool comparative = (request[1] & 64) || (ly && (request[2] & 2));
  const bool superlative = (request[1] & 128) || (ly && (request[2] & 4));

  u32 used = 0;
  bool ended = false;
  u32 generated = ReGenerateForm(call, spelling, masks[0], block->wordClass);
  if (generated != ReFail) generated = ReGenerateForm(call, spelling, masks[1], block->wordClass);
  if (generated == ReWarn) {
    if (comparative && !AddAnalytic(block, &used, "more ", spelling)) ended = true;
    if (!ended && superlative && !AddAnalytic(block, &used, "most ", spelling)) ended = true;
    if (ended) ReSetStatus(status, ReSevWarning, ReWarnNoRoom, ReModDerivedForms);
  }
  if (!ended && generated != ReFail) {
    generated = ReGenerateForm(call, spelling, masks[2], block->wordClass);
    if (generated == ReWarn) generated = ReGenerateForm(call, spelling, masks[3], block->wordClass);
  }
  if (generated == ReFail) {
    if (state->stop) {
      ReSetStatus(status, ReSevWarning, ReCodeStopped, ReModDerivedForms);
    } else {
      ReReportWalkFailure(call);
      ReSetStatus(status, ReSevError, ReErrFormGeneration, ReModDerivedForms);
    }
  }
  if (!ended) {
    // The forms found follow the analytic ones.
    for (i32 i = 0; i < state->resultCount; ++i) {
      const char* form = ReResultWord(state, i);
      const u32 n = static_cast<u32>(std::strlen(form)) + 1;
      if (block->foundCount >= block->resultLimit || !block->results || used + n > block->resultAreaSize) {
        ReSetStatus(status, ReSevWarning, ReWarnNoRoom, ReModDerivedForms);
        break;
      }
      std::memcpy(block->results + used, form, n);
      used += n;
      ++block->foundCount;
    }
  }
  state->pool = nullptr;
  state->offsets = nullptr;
  if (status->status != ReFail && block->foundCount == 0)
    ReSetStatus(status, ReSevWarning, ReWarnNothing, ReModDerivedForms);
  return done();
}
