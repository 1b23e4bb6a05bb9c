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
constexpr u8 kMiddleDot = 183;

bool AsciiLetterOrDigit(u8 c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Marks the blocks of one query word in one bit of the planes: those that
// hold it whole, and those that hold all its parts where it may stand inside
// a longer word or the index may lack it. Its parts use the planes above.
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
    // The index spells a word without its syllable dots.
    char key[ReQueryMaxLength + 1];
    u32 keyLength = 0;
    for (u32 i = 0; i < length && keyLength < ReQueryMaxLength; ++i)
      if (static_cast<u8>(word[i]) != kMiddleDot) key[keyLength++] = word[i];
    key[keyLength] = '\0';
    if (ReIsStopWord(key)) {
      Fill(bit, true);
      return ReTermLookup::Wider;
    }
    bool found = false;
    if (keyLength > 0 && keyLength <= longest_) {
      const ReTermLookup whole = WalkWord(
          record_, work_, key,
          [&](ReIndexState* state) {
            state->termMap = planes_;
            state->termMapSize = blockCount_;
            state->termShift = static_cast<u8>(shift_);
            state->termBit = bit;
          },
          &found);
      if (whole != ReTermLookup::Exact) return whole;
    }
    bool run = true, ascii = true;
    for (u32 i = 0; i < length; ++i) {
      const u8 c = static_cast<u8>(word[i]);
      run = run && (classes_[c] & kLetterOrDigit) != 0;
      ascii = ascii && AsciiLetterOrDigit(c);
    }
    // A run of letters and digits is a word wherever a search finds it, and
    // the index holds it there; one of other letters than ASCII ones that the
    // index lacks is looked up by its runs of ASCII letters and digits.
    if (run && (found || ascii)) return ReTermLookup::Exact;
    return MarkParts(word, length, bit, run);
  }

 private:
  // Adds to the word's blocks those that hold all its parts: its runs of
  // letters and digits (a word with others may stand inside a longer one:
  // "and-roll" in "rock-and-roll", "+" in "Fe+++"), or of a run, its runs of
  // ASCII letters and digits. A word without parts may be in every block.
  ReTermLookup MarkParts(const char* word, u32 length, u8 bit, bool run) {
    const u8 parts = static_cast<u8>(bit << 1), part = static_cast<u8>(bit << 2);
    if (part == 0) return ReTermLookup::Failed;  // no plane left (not reached: words nest three deep)
    Fill(parts, true);
    const auto inPart = [&](u8 c) { return run ? AsciiLetterOrDigit(c) : (classes_[c] & kLetterOrDigit) != 0; };
    for (u32 i = 0; i < length;) {
      if (!inPart(static_cast<u8>(word[i]))) {
        ++i;
        continue;
      }
      u32 end = i;
      while (end < length && inPart(static_cast<u8>(word[end]))) ++end;
      const ReTermLookup lookup = Mark(word + i, end - i, part);
      if (lookup == ReTermLookup::Stopped || lookup == ReTermLookup::Failed) return lookup;
      for (u32 b = 0; b < blockCount_; ++b)
        if (!(planes_[b] & part)) planes_[b] &= static_cast<u8>(~parts);
      i = end;
    }
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
