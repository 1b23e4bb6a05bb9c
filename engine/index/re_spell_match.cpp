// The budgeted edit tests and the similarity order of spelling alternatives.
#include <cstdlib>
#include <cstring>
#include <utility>

#include "re_spelling.h"

u8 ReFoldAccent(u8 c) {
  switch (c) {
    case 224:
    case 225:
    case 226:
    case 228: return 'a';
    case 232:
    case 233:
    case 234:
    case 235: return 'e';
    case 236:
    case 237:
    case 238:
    case 239: return 'i';
    case 242:
    case 243:
    case 244:
    case 246: return 'o';
    case 249:
    case 250:
    case 251:
    case 252: return 'u';
    default: return c;
  }
}

namespace {

// One recursive test. In prefix mode (the key test) the index side is a key
// prefix that succeeds as soon as it is used up, and length is not limited.
class EditTest {
 public:
  EditTest(const ReSpellContext& context, const u8* w, u32 wn, const u8* t, u32 tn, bool prefixMode)
      : c_(context), w_(w), wn_(wn), t_(t), tn_(tn), prefixMode_(prefixMode) {}

  bool Run(u32 i, u32 j, ReSpellBudgets b) {
    if (++steps_ > ReMatchStepLimit) return false;
    if (!prefixMode_) {
      const i32 difference = std::abs(static_cast<i32>(wn_ - i) - static_cast<i32>(tn_ - j));
      if (difference > b.length) return false;
    }
    while (i < wn_ && j < tn_ && Same(w_[i], t_[j])) ++i, ++j;
    if (prefixMode_ ? i == wn_ : i == wn_ && j == tn_) return true;
    const bool bothLeft = i < wn_ && j < tn_;

    if (b.total <= 0) return Swaps(i, j, b) || DropDoubled(i, j, b);

    if (bothLeft) {
      const bool vowels = ReIsVowel(*c_.index, w_[i]) && ReIsVowel(*c_.index, t_[j]);
      if (vowels && b.vowel > 0) {
        if (Run(i + 1, j + 1, Spend(b, 1, 1, 0, 0, 0))) return true;
      } else if (b.substitution > 0) {
        if (Run(i + 1, j + 1, Spend(b, 1, 0, 1, 0, 0))) return true;
      }
    }
    if (Swaps(i, j, b)) return true;
    if (i < wn_ && Drop(w_, i, b, [&](ReSpellBudgets n) { return Run(i + 1, j, n); })) return true;
    if (j < tn_ && Drop(t_, j, b, [&](ReSpellBudgets n) { return Run(i, j + 1, n); })) return true;
    return Fragments(i, j, b);
  }

 private:
  bool Same(u8 a, u8 b) const { return c_.foldAccents ? ReFoldAccent(a) == ReFoldAccent(b) : a == b; }

  ReSpellBudgets Spend(ReSpellBudgets b, i32 total, i32 vowel, i32 substitution, i32 fragment, i32 length) const {
    b.total -= total;
    b.vowel -= vowel;
    b.substitution -= substitution;
    b.fragment -= fragment;
    if (!prefixMode_) b.length -= length;
    return b;
  }

  // Two neighbouring characters exchanged, or the first and third of three:
  // free, never in kind 4.
  bool Swaps(u32 i, u32 j, const ReSpellBudgets& b) {
    if (c_.foldAccents) return false;
    if (i + 1 < wn_ && j + 1 < tn_ && w_[i] == t_[j + 1] && w_[i + 1] == t_[j] && Run(i + 2, j + 2, b)) return true;
    return i + 2 < wn_ && j + 2 < tn_ && w_[i] == t_[j + 2] && w_[i + 1] == t_[j + 1] && w_[i + 2] == t_[j] &&
           Run(i + 3, j + 3, b);
  }

  bool Doubled(const u8* s, u32 at) const { return at > 0 && s[at] == s[at - 1]; }

  // With no total budget left only a doubled letter may be dropped.
  bool DropDoubled(u32 i, u32 j, const ReSpellBudgets& b) {
    if (!prefixMode_ && b.length <= 0) return false;
    if (i < wn_ && Doubled(w_, i) && Run(i + 1, j, Spend(b, 0, 0, 0, 0, 1))) return true;
    return j < tn_ && Doubled(t_, j) && Run(i, j + 1, Spend(b, 0, 0, 0, 0, 1));
  }

  template <class Next>
  bool Drop(const u8* s, u32 at, const ReSpellBudgets& b, Next next) {
    if (!prefixMode_ && b.length <= 0) return false;
    if (Doubled(s, at)) return next(Spend(b, 0, 0, 0, 0, 1));
    if (ReIsVowel(*c_.index, s[at])) return b.vowel > 0 && next(Spend(b, 1, 1, 0, 0, 1));
    return b.substitution > 0 && next(Spend(b, 1, 0, 1, 0, 1));
  }

  // A fragment of the typed word that starts at or before the difference and
  // whose index-word text stands in w at the same place.
  bool Fragments(u32 i, u32 j, const ReSpellBudgets& b) {
    if (b.total <= 0 || b.fragment <= 0 || !c_.fragments) return false;
    for (u32 k = 0; k < c_.fragmentPairs; ++k) {
      const u32 toEnd = c_.fragments[2 * k];
      ReFragmentText f;
      if (toEnd > tn_ || !ReFragmentAt(*c_.data, c_.fragments[2 * k + 1], &f)) continue;
      const u32 start = tn_ - toEnd;
      if (start > j || j - start > i) continue;
      const u32 at = i - (j - start);
      if (at + f.indexLength > wn_ || start + f.typedLength > tn_) continue;
      if (std::memcmp(w_ + at, f.indexText, f.indexLength) != 0) continue;
      if (Run(at + f.indexLength, start + f.typedLength, Spend(b, 1, 0, 0, 1, 0))) return true;
    }
    return false;
  }

  const ReSpellContext& c_;
  const u8* w_;
  u32 wn_;
  const u8* t_;
  u32 tn_;
  bool prefixMode_;
  u32 steps_ = 0;
};

const u8* Bytes(const char* s) { return reinterpret_cast<const u8*>(s); }

}  // namespace

bool ReSpellMatch(const ReSpellContext& context, const char* w, const char* t, const ReSpellBudgets& budgets) {
  EditTest test(context, Bytes(w), static_cast<u32>(std::strlen(w)), Bytes(t), static_cast<u32>(std::strlen(t)), false);
  return test.Run(0, 0, budgets);
}

bool ReKeyFit(const ReSpellContext& context, const u8 key[4], const char* t, const ReSpellBudgets& budgets) {
  u32 length = 0;
  while (length < 4 && key[length] != ' ') ++length;
  EditTest test(context, key, length, Bytes(t), static_cast<u32>(std::strlen(t)), true);
  return test.Run(0, 0, budgets);
}

bool ReEndingFit(const ReSpellContext& context, const char* w, const char* t) {
  const u32 wn = static_cast<u32>(std::strlen(w));
  const u32 tn = static_cast<u32>(std::strlen(t));
  u32 d = 0;
  while (d < wn && d < tn && w[d] == t[d]) ++d;
  for (u32 k = 0; context.fragments && k < context.fragmentPairs; ++k) {
    const u32 toEnd = context.fragments[2 * k];
    ReFragmentText f;
    if (toEnd > tn || !ReFragmentAt(*context.data, context.fragments[2 * k + 1], &f)) continue;
    const u32 start = tn - toEnd;
    if (start > d || start + f.indexLength > wn || start + f.typedLength > tn) continue;
    if (std::memcmp(w + start, f.indexText, f.indexLength) != 0) continue;
    if (std::strcmp(w + start + f.indexLength, t + start + f.typedLength) == 0) return true;
  }
  return tn == wn + 1 && std::strcmp(t + d + 1, w + d) == 0;
}

// --- Similarity order --------------------------------------------------------

i32 ReSimilarityScore(const ReIndexDescriptor& index, const char* typed, const char* result) {
  auto lower = [&](u8 c) { return ReIsUpper(index, c) ? static_cast<u8>(c + 32) : c; };
  i32 histogram[256] = {};
  auto count = [&](const char* s, i32 sign) {
    u8 previous = 0;
    for (const u8* p = Bytes(s); *p; ++p) {
      const u8 c = lower(*p);
      if (p == Bytes(s) || c != previous) histogram[c] += sign;  // a run counts once
      previous = c;
    }
  };
  count(typed, 1);
  count(result, -1);
  i32 distance = 0;
  for (u32 c = 1; c < 256; ++c)
    if (histogram[c]) distance += std::abs(histogram[c]) * (ReIsVowel(index, static_cast<u8>(c)) ? 2 : 3);

  const u32 tn = static_cast<u32>(std::strlen(typed));
  const u32 rn = static_cast<u32>(std::strlen(result));
  // Longest run of equal consecutive characters anywhere in both words.
  u8 run[ReWordCapacity + 1] = {};
  u32 longest = 0;
  for (u32 i = 0; i < tn; ++i) {
    for (u32 j = rn; j-- > 0;) {
      run[j + 1] = lower(Bytes(typed)[i]) == lower(Bytes(result)[j]) ? static_cast<u8>(run[j] + 1) : 0;
      if (run[j + 1] > longest) longest = run[j + 1];
    }
  }
  const bool lastDiffers = tn == 0 || rn == 0 || lower(Bytes(typed)[tn - 1]) != lower(Bytes(result)[rn - 1]);
  const i32 lengths = std::abs(static_cast<i32>(tn) - static_cast<i32>(rn));
  return (lastDiffers ? 16 : 0) + 2 * (distance + 2 * lengths) - static_cast<i32>(longest);
}

bool ReRankAlternatives(ReIndexState* state, const char* typed, i32 first, i32 last) {
  if (first < 0 || last >= state->resultCount || last - first < 1) return true;
  const u32 count = static_cast<u32>(last - first + 1);
  auto* scores = static_cast<i32*>(ReHeapAlloc(count * sizeof(i32)));
  if (!scores) return false;
  for (u32 k = 0; k < count; ++k) scores[k] = ReSimilarityScore(*state->index, typed, ReResultWord(state, first + k));
  u16* offsets = state->offsets + first;
  for (bool exchanged = true; exchanged;) {
    exchanged = false;
    for (u32 k = 0; k + 1 < count; ++k)
      if (scores[k + 1] < scores[k]) {
        std::swap(scores[k], scores[k + 1]);
        std::swap(offsets[k], offsets[k + 1]);
        exchanged = true;
      }
  }
  ReHeapFree(scores);
  return true;
}
