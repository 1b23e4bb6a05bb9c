// The search's lookups in the search index: the exact word walk (mode 3)
// with the hit reading, marking blocks or collecting occurrences.
#include "re_search_index.h"

#include <cstring>

#include "re_charclass.h"
#include "re_index_lists.h"
#include "re_index_walk.h"
#include "re_query.h"
#include "re_search.h"
#include "re_word_index.h"
#include "re_word_pieces.h"

namespace {

template <class Setup>
ReTermLookup WalkWord(ReDbRecord* record, ReWorkRecord* work, const char* word, Setup&& setup, bool* found = nullptr) {
  if (found) *found = false;
  ReIndexState* state = ReIndexStateOf(record);
  if (!state) return ReTermLookup::Failed;
  ReIndexDescriptor* index = &record->searchIndex;
  const size_t length = std::strlen(word);
  if (length == 0 || length > ReWordCapacity || index->blockCount == 0) return ReTermLookup::Exact;
  u16 further = 0;
  const u16 first = ReFindWordBlock(word, 0, static_cast<i16>(length - 1), &further, index);
  ReBeginWalk(state, index, ReWalkExact, ReReadingHits);
  state->progress = work->progress;
  setup(state);
  const u32 result = ReDecodeIndex(word, static_cast<i16>(length), first, further, index, state);
  const bool stopped = state->stop != 0;
  const bool failed = state->failure != ReWalkOk;
  state->termMap = nullptr;
  state->hits = nullptr;
  state->progress = nullptr;
  if (result == ReWalkStopped && stopped) return ReTermLookup::Stopped;
  if (result == ReWalkStopped && failed) return ReTermLookup::Failed;
  if (found) *found = state->exactFound;
  return ReTermLookup::Exact;  // an absent word marks nothing
}

constexpr u32 kLetterOrDigit = ReClassOrdinal | ReClassLower | ReClassUpper | ReClassDigit;

// The letters and digits by the character classes in force.
struct LetterOrDigit {
  const u32* classes;
  bool operator()(u8 c) const { return (classes[c] & kLetterOrDigit) != 0; }
};

bool AsciiLetterOrDigit(u8 c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Marks the blocks of one query word in one bit of the planes: those that
// hold it whole, and those that hold all its pieces (re_word_pieces.h) where
// it may stand inside a longer word or the index may lack it. Its pieces
// use the planes above.
class WordBlocks {
 public:
  WordBlocks(ReDbRecord* record, ReWorkRecord* work, u8* planes, u32 blockCount, u32 shift)
      : record_(record), work_(work), planes_(planes), blockCount_(blockCount), shift_(shift) {
    classes_ = ReQueryClasses(record);
    const u16 longest = record->searchIndex.longestWord;
    longest_ = longest > 0 && longest < ReWordCapacity ? longest : ReWordCapacity;
  }

  ReTermLookup Mark(const char* word, u32 length, u8 bit) {
    Fill(bit, false);
    return Add(word, length, bit);
  }

  // The word glued[bareStart, bareStart + bareLength) stands in the term
  // beside gluing characters that join it to nothing, glued[0, length)
  // (re_word_pieces.h): the builder's index lists it with them wherever it
  // stands beside them as a word or as one piece of a longer word. One of
  // more pieces ("/a-os", "/_") may also stand inside a longer word, where
  // the index lists the pieces: it is looked up as any word is, whole and by
  // its pieces. An index that lacks it with its slashes is read so too, and
  // for the word alone, as an index of words or of runs holds it. The
  // blocks are wider than the term: the text decides.
  ReTermLookup MarkGlued(const char* glued, u32 length, u32 bareStart, u32 bareLength, u8 bit) {
    Fill(bit, false);
    if (length > ReQueryMaxLength) length = ReQueryMaxLength;
    // Gluing characters alone ("\/") are listed where they stand as a word
    // of their own, never as a piece of a longer one ("b'\/"): they may
    // stand in any block.
    if (ReGlueOnly(glued, length)) {
      Fill(bit, true);
      return ReTermLookup::Wider;
    }
    char key[ReQueryMaxLength + 1];
    bool found = false;
    ReTermLookup lookup = Whole(key, ReWordKey(glued, length, key), bit, &found);
    if (lookup == ReTermLookup::Exact && (!found || !OnePiece(glued, length))) lookup = Add(glued, length, bit);
    if (IsWordLookup(lookup) && !found) lookup = Add(glued + bareStart, bareLength, bit);
    return IsWordLookup(lookup) ? ReTermLookup::Wider : lookup;
  }

 private:
  static bool IsWordLookup(ReTermLookup lookup) {
    return lookup == ReTermLookup::Exact || lookup == ReTermLookup::Wider;
  }

  // Whether word[0, length) is a piece whole (re_word_pieces.h).
  bool OnePiece(const char* word, u32 length) const {
    bool one = false;
    ReForEachWordPiece(word, length, LetterOrDigit{classes_}, [&](u32, u32 count) { one = count == length; });
    return one;
  }

  // Adds the word's blocks to `bit` (see Mark).
  ReTermLookup Add(const char* word, u32 length, u8 bit) {
    // The index spells a word by its key, without the syllable dots inside
    // it; an index made by another indexer may keep them, as typed.
    if (length > ReQueryMaxLength) length = ReQueryMaxLength;
    char key[ReQueryMaxLength + 1];
    const u32 keyLength = ReWordKey(word, length, key);
    if (ReIsStopWord(key)) {
      Fill(bit, true);
      return ReTermLookup::Wider;
    }
    bool found = false;
    if (keyLength < length) {
      char typed[ReQueryMaxLength + 1];
      std::memcpy(typed, word, length);
      typed[length] = '\0';
      const ReTermLookup asTyped = Whole(typed, length, bit, &found);
      if (asTyped != ReTermLookup::Exact) return asTyped;
    }
    const ReTermLookup whole = Whole(key, keyLength, bit, &found);
    if (whole != ReTermLookup::Exact) return whole;
    const LetterOrDigit letterOrDigit{classes_};
    bool run = true, ascii = true;
    for (u32 i = 0; i < length; ++i) {
      run = run && letterOrDigit(static_cast<u8>(word[i]));
      ascii = ascii && AsciiLetterOrDigit(static_cast<u8>(word[i]));
    }
    // A run of letters and digits is a word wherever a search finds it, and
    // the index holds it there; one of other letters than ASCII ones that the
    // index lacks, as an index split at accented letters would, is in the
    // blocks that hold all its runs of ASCII letters and digits.
    if (run && (found || ascii)) return ReTermLookup::Exact;
    if (run)
      return MarkParts(word, bit, [&](const auto& part) { ReForEachRun(word, length, AsciiLetterOrDigit, part); });
    // A word of other pieces than itself is in the blocks that hold all its
    // pieces, as it may stand inside a longer word ("I/O" in
    // "non-serial-I/O", "and-roll" in "rock-and-roll"); one without pieces
    // ("+" in "Fe+++") may be in every block. A piece of letters and digits
    // glued together ("TCP/IP") is in the blocks that hold all its runs of
    // letters and digits, as an index split at joiners holds it.
    if (!OnePiece(word, length))
      return MarkParts(word, bit, [&](const auto& part) { ReForEachWordPiece(word, length, letterOrDigit, part); });
    return MarkParts(word, bit, [&](const auto& part) { ReForEachRun(word, length, letterOrDigit, part); });
  }

  // Looks the word up as the index spells it, adding its blocks to `bit`.
  ReTermLookup Whole(const char* key, u32 keyLength, u8 bit, bool* found) {
    if (keyLength == 0 || keyLength > longest_) return ReTermLookup::Exact;
    bool foundHere = false;
    const ReTermLookup lookup = WalkWord(
        record_, work_, key,
        [&](ReIndexState* state) {
          state->termMap = planes_;
          state->termMapSize = blockCount_;
          state->termShift = static_cast<u8>(shift_);
          state->termBit = bit;
        },
        &foundHere);
    *found = *found || foundHere;
    return lookup;
  }

  // Adds to the word's blocks those that hold all its parts, which
  // forEachPart(part) hands to part(start, length). A word without parts may
  // be in every block. The result is wider than the word: the text decides.
  template <class ForEachPart>
  ReTermLookup MarkParts(const char* word, u8 bit, ForEachPart&& forEachPart) {
    const u8 parts = static_cast<u8>(bit << 1), part = static_cast<u8>(bit << 2);
    if (part == 0) return ReTermLookup::Failed;  // no plane left (not reached: words nest four deep)
    Fill(parts, true);
    ReTermLookup result = ReTermLookup::Wider;
    forEachPart([&](u32 start, u32 count) {
      if (result != ReTermLookup::Wider) return;
      const ReTermLookup lookup = Mark(word + start, count, part);
      if (lookup == ReTermLookup::Stopped || lookup == ReTermLookup::Failed) {
        result = lookup;
        return;
      }
      for (u32 b = 0; b < blockCount_; ++b)
        if (!(planes_[b] & part)) planes_[b] &= static_cast<u8>(~parts);
    });
    if (result != ReTermLookup::Wider) return result;
    for (u32 b = 0; b < blockCount_; ++b)
      if (planes_[b] & parts) planes_[b] |= bit;
    Fill(static_cast<u8>(parts | part), false);
    return ReTermLookup::Wider;
  }

  void Fill(u8 bit, bool set) {
    for (u32 b = 0; b < blockCount_; ++b)
      planes_[b] = set ? static_cast<u8>(planes_[b] | bit) : static_cast<u8>(planes_[b] & ~bit);
  }

  ReDbRecord* record_;
  ReWorkRecord* work_;
  u8* planes_;
  u32 blockCount_;
  u32 shift_;
  const u32* classes_;
  u32 longest_;
};

}  // namespace

ReTermLookup ReMarkWordBlocks(ReDbRecord* record, ReWorkRecord* work, const char* word, u8* planes, u32 blockCount,
                              u32 shift, u8 bit) {
  WordBlocks blocks(record, work, planes, blockCount, shift);
  return blocks.Mark(word, static_cast<u32>(std::strlen(word)), bit);
}

ReTermLookup ReMarkGluedWordBlocks(ReDbRecord* record, ReWorkRecord* work, const char* glued, u32 bareStart,
                                   u32 bareLength, u8* planes, u32 blockCount, u32 shift, u8 bit) {
  WordBlocks blocks(record, work, planes, blockCount, shift);
  return blocks.MarkGlued(glued, static_cast<u32>(std::strlen(glued)), bareStart, bareLength, bit);
}

ReTermLookup ReCollectTermHits(ReDbRecord* record, ReWorkRecord* work, const char* word, u16 term, ReConceptHit* hits,
                               u32 capacity, u32* added) {
  *added = 0;
  if (capacity == 0) return ReTermLookup::Exact;
  const ReTermLookup result = WalkWord(record, work, word, [&](ReIndexState* state) {
    // A hit is the pair (hit word, term number) of two 32-bit cells, as the
    // concept hit lays them out.
    state->hits = reinterpret_cast<u32*>(hits);
    state->hitCapacity = static_cast<i32>(capacity);
    state->termNumber = term;
  });
  const ReIndexState* state = static_cast<const ReIndexState*>(record->indexState);
  if (state) *added = static_cast<u32>(state->hitCount);
  return result;
}
