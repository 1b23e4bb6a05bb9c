// The spelling passes: candidate keys per pass kind, the word test of the
// walk, and the pass loop.
#include <algorithm>
#include <cstring>

#include "re_spelling.h"

namespace {

// The typed word's first four characters, space-padded.
struct TypedHead {
  u8 c[5];
  explicit TypedHead(const ReSpellPassState& s) {
    for (u32 i = 0; i < 5; ++i) c[i] = i < s.typedLength ? static_cast<u8>(s.typed[i]) : ' ';
  }
};

ReSpellContext ContextOf(const ReIndexState* state, bool fold) {
  ReSpellContext context;
  context.index = state->index;
  context.data = &state->spelling;
  context.fragments = state->spell.fragmentBytes ? state->spell.fragments : nullptr;
  context.fragmentPairs = static_cast<u16>(state->spell.fragmentBytes / 2);
  context.foldAccents = fold;
  return context;
}

// First two characters that fragments matched at the typed word's very start
// put in place of its own.
u16 FragmentStartPairs(const ReIndexState* state, u8 (*pairs)[2], u16 room) {
  const ReSpellPassState& s = state->spell;
  const TypedHead head(s);
  u16 count = 0;
  for (u32 k = 0; k < s.fragmentBytes / 2u && count < room; ++k) {
    ReFragmentText f;
    if (s.fragments[2 * k] != s.typedLength || !ReFragmentAt(state->spelling, s.fragments[2 * k + 1], &f)) continue;
    pairs[count][0] = f.indexText[0];
    pairs[count][1] = f.indexLength >= 2 ? f.indexText[1] : head.c[f.typedLength < 4 ? f.typedLength : 4];
    ++count;
  }
  return count;
}

class KeyMaker {
 public:
  explicit KeyMaker(ReIndexState* state)
      : state_(state), s_(state->spell), head_(state->spell), kind_(s_.rows[ReRowKind]), anchor_(s_.rows[ReRowAnchor]) {
    fragmentPairCount_ = FragmentStartPairs(state, fragmentPairs_, 64);
  }

  u16 Make() {
    s_.keyCount = 0;
    if (kind_ == ReKindEndings) return FragmentKeys();
    if (kind_ != ReKindFirstTwo && kind_ != ReKindAnchored && kind_ != ReKindStart && kind_ != ReKindAccents &&
        kind_ != ReKindVowelStart && kind_ != ReKindShortAnchored)
      return 0;
    const ReSpellContext context = ContextOf(state_, kind_ == ReKindAccents);
    const ReSpellBudgets budgets = {s_.rows[ReRowKeyTotal], s_.rows[ReRowKeyVowel], s_.rows[ReRowKeySubstitution],
                                    s_.rows[ReRowKeyFragment], 0};
    RePrefixListCursor cursor(state_->spelling);
    const bool anchored = kind_ == ReKindAnchored || kind_ == ReKindShortAnchored;
    while (cursor.NextGroup()) {
      if (anchored && anchor_ > 0 && cursor.first() > head_.c[0]) break;  // past the typed first letter
      if (!GroupWanted(cursor.first(), cursor.second())) continue;
      u8 key[4];
      while (cursor.NextKey(key)) {
        if (anchored && !AnchorKeeps(key)) continue;
        if (!ReKeyFit(context, key, s_.typed, budgets)) continue;
        std::memcpy(s_.keys[s_.keyCount++], key, 4);
        if (s_.keyCount == ReMaxCandidateKeys) return s_.keyCount;
      }
    }
    return s_.keyCount;
  }

 private:
  bool Pair(u8 c0, u8 c1, u8 a, u8 b) const { return c0 == a && c1 == b; }

  bool FragmentPair(u8 c0, u8 c1) const {
    for (u16 k = 0; k < fragmentPairCount_; ++k)
      if (Pair(c0, c1, fragmentPairs_[k][0], fragmentPairs_[k][1])) return true;
    return false;
  }

  bool GroupWanted(u8 c0, u8 c1) const {
    const u8* t = head_.c;
    switch (kind_) {
      case ReKindFirstTwo:
        return Pair(c0, c1, t[0], t[1]) || Pair(c0, c1, t[1], t[0]) || Pair(c0, c1, t[0], t[2]) ||
               Pair(c0, c1, t[0], t[0]);
      case ReKindStart:
        return Pair(c0, c1, t[0], t[1]) || Pair(c0, c1, t[1], t[0]) || Pair(c0, c1, t[0], t[2]) ||
               Pair(c0, c1, t[1], t[2]) || FragmentPair(c0, c1);
      case ReKindAccents:
        return (ReFoldAccent(c0) == ReFoldAccent(t[0]) && ReFoldAccent(c1) == ReFoldAccent(t[1])) ||
               FragmentPair(c0, c1);
      case ReKindVowelStart: {
        const ReIndexDescriptor& index = *state_->index;
        const bool otherVowel = ReIsVowel(index, t[0]) && ReIsVowel(index, c0) && c0 != t[0] && c1 == t[1];
        return otherVowel || FragmentPair(c0, c1);
      }
      default: {  // anchored kinds: the first-letter rules by anchor length
        if (anchor_ > 0 && c0 != t[0]) return false;
        if (anchor_ >= 2 && c1 != t[1]) return false;
        if (anchor_ == 1 && c1 == t[1]) return false;
        if (anchor_ == 0 && c0 == t[0] && !Pair(c0, c1, t[1], t[0])) return false;
        return true;
      }
    }
  }

  bool AnchorKeeps(const u8 key[4]) const {
    const u8* t = head_.c;
    if (anchor_ >= 3 && key[2] != t[2]) return false;
    if (anchor_ >= 4 && key[3] != t[3]) return false;
    if (anchor_ == 2 && key[2] == t[2]) return false;
    return true;
  }

  // Kind 8: the typed word with a matched fragment's typed text replaced by
  // its index-word text, cut to four characters; sorted, without repeats.
  u16 FragmentKeys() {
    for (u32 k = 0; k < s_.fragmentBytes / 2u && s_.keyCount < ReMaxCandidateKeys; ++k) {
      ReFragmentText f;
      const u32 toEnd = s_.fragments[2 * k];
      if (toEnd > s_.typedLength || !ReFragmentAt(state_->spelling, s_.fragments[2 * k + 1], &f)) continue;
      const u32 start = s_.typedLength - toEnd;
      if (start + f.typedLength > s_.typedLength) continue;
      u8 text[ReWordCapacity + 8];
      u32 n = 0;
      for (u32 i = 0; i < start; ++i) text[n++] = static_cast<u8>(s_.typed[i]);
      for (u32 i = 0; i < f.indexLength; ++i) text[n++] = f.indexText[i];
      for (u32 i = start + f.typedLength; i < s_.typedLength && n < 4; ++i) text[n++] = static_cast<u8>(s_.typed[i]);
      u8* key = s_.keys[s_.keyCount++];
      for (u32 i = 0; i < 4; ++i) key[i] = i < n ? text[i] : ' ';
    }
    // Insertion sort, then drop repeats (few keys: one per matched fragment).
    auto* keys = s_.keys;
    for (u16 i = 1; i < s_.keyCount; ++i)
      for (u16 j = i; j > 0 && std::memcmp(keys[j], keys[j - 1], 4) < 0; --j) {
        u8 swap[4];
        std::memcpy(swap, keys[j], 4);
        std::memcpy(keys[j], keys[j - 1], 4);
        std::memcpy(keys[j - 1], swap, 4);
      }
    u16 kept = 0;
    for (u16 i = 0; i < s_.keyCount; ++i)
      if (kept == 0 || std::memcmp(keys[i], keys[kept - 1], 4) != 0) std::memmove(keys[kept++], keys[i], 4);
    s_.keyCount = kept;
    return s_.keyCount;
  }

  ReIndexState* state_;
  ReSpellPassState& s_;
  const TypedHead head_;
  const u8 kind_, anchor_;
  u8 fragmentPairs_[64][2];
  u16 fragmentPairCount_ = 0;
};

// The word test of a spelling walk.
ReVisit VisitSpelling(ReIndexState* state, const ReIndexWord& word) {
  const ReSpellPassState& s = state->spell;
  if (ReSubsetExcluded(state, static_cast<u32>(word.listNumber))) return ReVisitGoOn;
  if (word.caseClass == ReCaseAll && !s.acceptAcronyms) return ReVisitGoOn;
  const u8 kind = s.rows[ReRowKind];
  const u8 anchor = s.rows[ReRowAnchor];
  const u32 n = s.typedLength, length = word.length;
  const char* w = word.text;
  const char* t = s.typed;
  auto same = [&](u32 fromEnd) {  // the fromEnd-th letters from the end agree
    return length >= fromEnd && n >= fromEnd && w[length - fromEnd] == t[n - fromEnd];
  };
  bool keyTest = true;
  if (kind == ReKindAnchored && anchor == 0 && !same(1)) return ReVisitGoOn;
  if (kind == ReKindShortAnchored) {
    if (n > 6 && same(1) && same(2) && same(3)) {
      keyTest = false;
    } else if ((!same(1) && anchor < 2) || (!same(2) && anchor == 0)) {
      return ReVisitGoOn;
    }
  }
  if (keyTest)
    for (u32 i = 1; i < 4; ++i)
      if (s.currentKey[i] != ' ' && (i >= length || static_cast<u8>(w[i]) != s.currentKey[i])) return ReVisitGoOn;

  const auto* context = static_cast<const ReSpellContext*>(state->context);
  bool accepted;
  if (kind == ReKindEndings) {
    accepted = ReEndingFit(*context, w, t);
  } else {
    const ReSpellBudgets budgets = {s.rows[ReRowTotal], s.rows[ReRowVowel], s.rows[ReRowSubstitution],
                                    s.rows[ReRowFragment], s.rows[ReRowLength]};
    accepted = ReSpellMatch(*context, w, t, budgets);
  }
  if (accepted && ReAddCasedWord(word, state) == ReAddFull) return ReVisitFull;
  return ReVisitGoOn;
}

// Kind 5: the first exception pair whose typed spelling is the word.
bool AddException(ReIndexState* state) {
  const ReSpellingData& data = state->spelling;
  for (u16 i = 0; i < data.exceptionCount; ++i) {
    const char *typed, *correct;
    if (!ReExceptionPair(data, i, &typed, &correct)) return false;
    if (std::strcmp(typed, state->spell.typed) == 0)
      return ReAddResultWord(correct, static_cast<u16>(std::strlen(correct)), state, 1) == ReAddAdded;
  }
  return false;
}

void CopyRows(ReIndexState* state, i32 pass) {
  ReSpellPassState& s = state->spell;
  for (u32 r = 0; r < ReRuleRows; ++r) s.rows[r] = ReRuleValue(state->spelling, r, static_cast<u32>(pass));
  u8& substitution = s.rows[ReRowSubstitution];
  if ((state->resultCount > 0 || s.typedLength < 9) && substitution == 2) substitution = 1;
  if (pass == 14 && substitution == 1) substitution = 0;
  const u8 kind = state->index->databaseKind;
  u8& length = s.rows[ReRowLength];
  if (kind != 16 && kind != 5) {
    if (kind == 1)
      length = 3;
    else if (kind != 8 && length != 0 && pass < 14)
      length = pass < 12 ? 1 : 2;
  }
}

bool PassSkipped(const ReSpellPassState& s) {
  const u8 kind = s.rows[ReRowKind];
  const u16 n = s.typedLength;
  return (kind == ReKindShortAnchored && (n < 2 || n > 6)) || (kind == ReKindEndings && n > 4) ||
         (s.rows[ReRowShortWords] == 0 && n < 4);
}

void RankNew(ReIndexState* state) {
  ReSpellPassState& s = state->spell;
  // Results out of their order would pass for ranked ones: the lookup fails.
  if (!ReRankAlternatives(state, s.typed, s.rankedCount, state->resultCount - 1)) state->failure = ReWalkNoMemory;
  s.rankedCount = state->resultCount;
}

// Walks the block run of every word that starts with the key. The walk's
// result: 8 ends the lookup, 10 a full pool, 11 stopped or failed.
u32 WalkKey(ReIndexState* state, const u8 key[4]) {
  const ReIndexDescriptor* index = state->index;
  if (index->prefixLength == 0) return ReWalkDone;
  u32 length = 0;  // the key's letters end at its first space
  while (length < 4 && key[length] != ' ') ++length;
  u16 lowBlock;
  const u32 end = ReKeyBlockRange(reinterpret_cast<const char*>(key), length, index, &lowBlock);
  return ReDecodeIndex(state->spell.typed, static_cast<i16>(state->spell.typedLength), lowBlock,
                       static_cast<u16>(end - lowBlock), index, state);
}

}  // namespace

u16 ReMakeCandidateKeys(ReIndexState* state) { return KeyMaker(state).Make(); }

void ReBuildFragmentList(ReIndexState* state) {
  ReSpellPassState& s = state->spell;
  const ReSpellingData& data = state->spelling;
  s.fragmentBytes = 0;
  const u32 room = ReFragmentListBytes - 2;  // the list ends with 255 255
  for (u32 start = 0; start < s.typedLength; ++start) {
    const u8 c = static_cast<u8>(s.typed[start]);
    // Binary search for the first fragment whose typed text begins with c.
    u32 low = 0, high = data.fragmentCount;
    while (low < high) {
      const u32 mid = (low + high) / 2;
      if (data.fragments[mid * ReFragmentRecordSize + 5] < c)
        low = mid + 1;
      else
        high = mid;
    }
    for (u32 k = low; k < data.fragmentCount && k < 255; ++k) {
      ReFragmentText f;
      if (!ReFragmentAt(data, static_cast<u16>(k), &f)) continue;
      if (f.typedText[0] != c) break;
      if (start + f.typedLength > s.typedLength || std::memcmp(s.typed + start, f.typedText, f.typedLength) != 0)
        continue;
      if (s.fragmentBytes + 2u > room) break;
      s.fragments[s.fragmentBytes++] = static_cast<u8>(s.typedLength - start);
      s.fragments[s.fragmentBytes++] = static_cast<u8>(k);
    }
  }
  s.fragments[s.fragmentBytes] = 255;
  s.fragments[s.fragmentBytes + 1] = 255;
}

void ReResetSpellPasses(ReIndexState* state, const char* typed) {
  ReSpellPassState& s = state->spell;
  s.currentPass = -1;
  s.lastPass = 0;
  s.firstBatch = false;
  std::memset(s.rows, 0, sizeof s.rows);
  const size_t length = std::strlen(typed);
  s.typedLength = static_cast<u16>(length < ReWordCapacity ? length : ReWordCapacity);
  std::memcpy(s.typed, typed, s.typedLength);
  s.typed[s.typedLength] = 0;
  s.fragmentBytes = 0;
  s.fragments[0] = s.fragments[1] = 255;
  s.keyCount = 0;
  s.hasLastKey = false;
  s.acceptAcronyms = false;
  s.rankedCount = 0;
}

u32 ReSpellPasses(ReIndexState* state, u8 mode) {
  ReSpellPassState& s = state->spell;
  const ReSpellingData& data = state->spelling;
  if (state->resultCount > state->resultLimit) return 0;
  const i32 entryCount = state->resultCount;
  if (s.currentPass == -1) {
    s.firstBatch = false;
    s.lastPass = static_cast<i16>(data.ruleCount);
  }
  state->visit = VisitSpelling;
  for (;;) {
    if (data.ruleCount == 0 || s.currentPass >= static_cast<i32>(data.ruleCount) || s.currentPass >= s.lastPass ||
        state->stop || state->failure) {
      RankNew(state);
      return 0;
    }
    const i32 pass = ++s.currentPass;
    state->mode = static_cast<u16>(ReWalkSpelling + pass);
    CopyRows(state, pass);
    if (pass == 2 && data.fragmentSwitch) ReBuildFragmentList(state);
    if (PassSkipped(s)) continue;
    const u8 kind = s.rows[ReRowKind];

    if (kind == ReKindExceptions) {
      if (AddException(state) && mode != ReSpellAll && !s.firstBatch) {
        s.firstBatch = true;
        RankNew(state);
        return 1;
      }
    } else {
      ReSpellContext context = ContextOf(state, kind == ReKindAccents);
      state->context = &context;
      const u16 keys = ReMakeCandidateKeys(state);
      s.hasLastKey = false;
      for (u16 k = 0; k < keys && state->resultCount < state->resultLimit; ++k) {
        if (s.hasLastKey && std::memcmp(s.keys[k], s.lastKey, 4) < 0) continue;
        std::memcpy(s.currentKey, s.keys[k], 4);
        const u32 walked = WalkKey(state, s.keys[k]);
        std::memcpy(s.lastKey, s.keys[k], 4);
        s.hasLastKey = true;
        if (walked == ReWalkNoBuffer) {
          state->context = nullptr;
          return 0;
        }
        if (walked == ReWalkFull || state->stop || state->failure) break;
      }
      state->context = nullptr;
    }

    if (mode != ReSpellAll || state->resultCount >= state->resultLimit) RankNew(state);
    if (state->resultCount >= state->resultLimit) return 0;
    if ((mode == ReSpellFirstBatch || mode == ReSpellEachPass) && entryCount == 0 && state->resultCount > 0)
      s.lastPass = static_cast<i16>(std::max(16, pass + 6));
    if (mode != ReSpellAll && !s.firstBatch && state->resultCount > entryCount) {
      s.firstBatch = true;
      return 1;
    }
    if (mode == ReSpellEachPass || mode == ReSpellEachPassOnce) return 1;
  }
}
