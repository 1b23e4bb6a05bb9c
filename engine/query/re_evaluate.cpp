// Evaluation of a parsed query over one database. The word index tells, per
// block of 2^k entries, which terms occur in it; a cheap test on those bits
// picks candidate blocks. In a candidate block the codes of the stored text
// are scanned: an entry becomes a candidate when a code that may hold a cover
// term (the code map) is seen in it, and candidates are expanded and checked
// word by word. A page ends when its slots are full; the next call resumes.
#include <algorithm>
#include <cstring>

#include "re_block_registry.h"
#include "re_charclass.h"
#include "re_container.h"
#include "re_platform.h"
#include "re_search.h"
#include "re_search_index.h"
#include "re_search_stream.h"
#include "re_subsets.h"
#include "re_titles.h"
#include "re_word_pieces.h"

namespace {

// Evaluation outcomes (ReSearchError reasons).
enum : u16 {
  kReasonCodeMap = 10,
  kReasonStreamSeek = 20,
  kReasonMemory = 30,
  kReasonLookup = 40,
  kReasonBlockSeek = 50,
  kReasonPendingTitle = 60,
  kReasonRunState = 70,
  kReasonStreamSeek2 = 90,
  kReasonRead = 100,
  kReasonPageFull = 110,
  kReasonComplete = 120,
};

constexpr u32 kStaging = 256;    // characters of held codes handed to the checker at a time
constexpr u32 kCodeBatch = 256;  // codes decoded from the window at a time

enum class Step { Continue, PageFull, Stopped, Complete, Failed };

// Code map bits.
constexpr u8 kCoverMark = 1;  // the code's text may hold a cover term
constexpr u8 kPassable = 2;   // the checker may pass over the code's text
constexpr u8 kLongText = 4;   // its text has kPassedContext characters or more

// Characters that share their bit in the code texts' character sets with
// '<' or '{': a text without them can hold no tag or escape.
constexpr u32 kTagCharacters = 1u << ('<' & 31) | 1u << ('{' & 31);

// Characters before a position that the word rules look back at.
constexpr u32 kPassedContext = 3;

// The codes passed over last, as far back as their texts reach
// kPassedContext characters, oldest first: a code of that many characters
// or more stands alone. Their texts are looked at only when the stretch ends.
struct PassedCodes {
  u32 codes[kPassedContext];
  u32 count = 0;

  void Add(u32 code, bool longText) {
    if (longText || count == kPassedContext) {
      count = longText ? 0 : count - 1;
      if (count) std::memmove(codes, codes + 1, count * sizeof codes[0]);
    }
    codes[count++] = code;
  }

  // The last characters of the stretch (at most kPassedContext) into out.
  u32 Last(const ReCodeTexts& texts, u8* out) const {
    u8 joined[kPassedContext * kPassedContext];
    u32 length = 0;
    for (u32 k = 0; k < count; ++k) {
      const u32 entry = ReCodeTextEntry(texts, codes[k]);
      const u32 part = ReCodeTextLength(entry);
      const u32 take = part < kPassedContext ? part : kPassedContext;
      std::memcpy(joined + length, ReCodeTextOf(texts, entry) + part - take, take);
      length += take;
    }
    const u32 keep = length < kPassedContext ? length : kPassedContext;
    std::memcpy(out, joined + length - keep, keep);
    return keep;
  }
};

struct FeedChecker {
  ReEntryChecker* checker;
};

void FeedPiece(const u8* piece, u32 count, void* context) {
  static_cast<FeedChecker*>(context)->checker->Feed(piece, count);
}

class Evaluation {
 public:
  Evaluation(ReDbRecord* record, ReWorkRecord* work, ReSearchState* state, ReSearchBlock* block)
      : record_(record),
        work_(work),
        state_(state),
        buffers_(state->buffers),
        eval_(state->buffers->eval),
        block_(block),
        status_(block->status),
        // The slots REmemory made, however many the caller's count field says.
        slotCount_(std::min<u32>(block->slotCount, ReBlockCount(block))),
        shift_(record->groupShift) {
    ReOpenSearchStream(&stream_, record, work->file, state->buffers->streamWindow);
    rules_ = ReMatchRules{&eval_->query, ReQueryClasses(record), state->caseMode, state->wordSearch != 0};
  }

  u32 Run() {
    switch (state_->runState) {
      case ReRunNew:
        if (const u32 result = FirstRun(); result != ReDone) return result;
        break;
      case ReRunActive:
        if (eval_->pending) {
          eval_->pending = false;
          StoreHit(eval_->pendingEntry, buffers_->pendingTitle);
        }
        break;
      case ReRunRestart:
        eval_->currentBlock = -1;
        eval_->inBlock = false;
        state_->runState = ReRunActive;
        break;
      case ReRunStopped: state_->runState = ReRunActive; break;
      default: return ReSearchError(kReasonRunState, status_);
    }
    eval_->checker.Prepare(rules_);
    return BlockLoop();
  }

 private:
  u32 FirstRun() {
    state_->runState = ReRunActive;
    std::memset(buffers_->blockTerms, 0, buffers_->blockCount + 1);
    if (ReCompileNormalForm(state_->queryCopy, &eval_->query) != 0) return ReSearchError(kReasonRunState, status_);
    // Without the memory for the code texts, codes are expanded as they come.
    if (!state_->codeTexts.entries) ReBuildSearchCodeTexts(record_, &state_->codeTexts);
    if (!BuildCodeMap()) return ReSearchError(kReasonCodeMap, status_);
    if (ReSeekComponent(ReComponentText, 1, work_->file, record_, 0, 0) != ReDone)
      return ReSearchError(kReasonStreamSeek, status_);
    if (const u32 result = MarkBlocks(); result != ReDone) return result;
    if (!ExactByIndex() && ManyCandidateBlocks()) MarkPassableCodes();
    eval_->currentBlock = -1;
    eval_->inBlock = false;
    return ReDone;
  }

  // A code gets its bit when its text holds a cover term or ends with the
  // start of one; a pair of two unmarked earlier codes cannot.
  bool BuildCodeMap() {
    u8* text = static_cast<u8*>(ReHeapAlloc(ReExpandLimit));
    if (!text) return false;
    u8* map = buffers_->codeMap;
    const u32 count = buffers_->codeCount;
    const u8* first = record_->codeFirst.data;
    const u8* second = record_->codeSecond.data;
    // A text none of whose characters share the bit of a cover term's first
    // character cannot hold a match (folding keeps the bit).
    const ReCompiledQuery& query = eval_->query;
    u32 firsts = 0;
    for (i16 t = 0; t < query.termCount; ++t)
      if (query.cover[t]) firsts |= 1u << (static_cast<u8>(query.termText[t][0]) & 31);
    const ReCodeTexts& texts = state_->codeTexts;
    for (u32 c = record_->terminalCount > 0 ? 1 : 0; c < count; ++c) {
      map[c] = 0;
      const u32 a = ReBe16(second + 2 * c);
      const u32 b = ReBe16(first + 2 * c);
      const bool pair = c >= record_->terminalCount && a != ReSingleCharacter;
      if (pair && a < c && b < c && !(map[a] & kCoverMark) && !(map[b] & kCoverMark)) continue;
      if (ReCodeTextEntry(texts, c) != ReCodeNotHeld && !(texts.characters[c] & firsts)) continue;
      const i32 length = ReCodeText(record_, texts, c, text, ReExpandLimit);
      // A code that cannot be expanded here is checked in the text itself.
      map[c] =
          length < 0 || ReTextHoldsCoverTerm(text, static_cast<u32>(length), static_cast<u32>(length), rules_, true);
    }
    ReHeapFree(text);
    return true;
  }

  // Most blocks are to be read (a stop word, a term everywhere): worth
  // knowing which codes' texts the checker may pass over. Run after
  // MarkBlocks.
  bool ManyCandidateBlocks() const {
    const u32 blocks = buffers_->blockCount;
    u32 marked = 0;
    for (u32 b = 0; b < blocks; ++b) marked += CandidateBlock(buffers_->blockTerms[b]);
    return marked >= blocks / 4;
  }

  // Marks the held codes whose texts the checker may pass over.
  void MarkPassableCodes() {
    ReCompiledQuery every = eval_->query;
    u32 firsts = 0;
    for (i16 t = 0; t < every.termCount; ++t) {
      every.cover[t] = 1;
      firsts |= 1u << (static_cast<u8>(every.termText[t][0]) & 31);
    }
    ReMatchRules rules = rules_;
    rules.query = &every;
    u8* map = buffers_->codeMap;
    const u32 count = buffers_->codeCount;
    const u8* first = record_->codeFirst.data;
    const u8* second = record_->codeSecond.data;
    const ReCodeTexts& texts = state_->codeTexts;
    for (u32 c = record_->terminalCount > 0 ? 1 : 0; c < count; ++c) {
      const u32 entry = ReCodeTextEntry(texts, c);
      if (entry == ReCodeNotHeld) continue;
      const u32 a = ReBe16(second + 2 * c);
      const u32 b = ReBe16(first + 2 * c);
      const bool pair = c >= record_->terminalCount && a != ReSingleCharacter;
      const u32 characters = texts.characters[c];
      // A pair of two such codes is one too; a text without a character of
      // a term's first character's bit can hold no term.
      const bool passable = (pair && a < c && b < c && (map[a] & kPassable) && (map[b] & kPassable)) ||
                            !(characters & (firsts | kTagCharacters)) ||
                            ReTextPassable(ReCodeTextOf(texts, entry), ReCodeTextLength(entry), rules);
      // Every text passed over adds to the characters kept.
      if (passable && !(entry & ReCodeTextLineFeed) && ReCodeTextLength(entry) > 0)
        map[c] |= ReCodeTextLength(entry) >= kPassedContext ? kPassable | kLongText : kPassable;
    }
  }

  // Sets each term's bit in the blocks that may hold it: every word of a
  // phrase must occur in the block.
  u32 MarkBlocks() {
    const ReCompiledQuery& query = eval_->query;
    u8* terms = buffers_->blockTerms;
    const u32 blocks = buffers_->blockCount;
    // The whole word, not a copy cut at the longest word: a word the index
    // cannot hold whole is looked up by its parts.
    char* word = static_cast<char*>(ReHeapAlloc(ReQueryMaxLength + 1));
    // Per block: the term's blocks so far, and the word's (its parts use the
    // six planes above it).
    u8* planes = static_cast<u8*>(ReHeapAlloc(blocks > 0 ? blocks : 1));
    // A word beside a joiner is looked up with syllable dots too (MarkWord):
    // its spellings, and the blocks they hold so far.
    char* dotted = static_cast<char*>(ReHeapAlloc(ReQueryMaxLength + 3));
    u8* kept = static_cast<u8*>(ReHeapAlloc(blocks > 0 ? blocks : 1));
    if (!word || !planes || !dotted || !kept) {
      ReHeapFree(word);
      ReHeapFree(planes);
      ReHeapFree(dotted);
      ReHeapFree(kept);
      return ReSearchError(kReasonMemory, status_);
    }
    scratch_ = {dotted, kept};
    constexpr u8 kWordPlane = 0x01, kTermPlane = 0x80;
    u32 result = ReDone;
    for (i16 t = 0; t < query.termCount && result == ReDone; ++t) {
      const u8 bit = static_cast<u8>(1u << t);
      if (!state_->wordSearch) {
        for (u32 b = 0; b < blocks; ++b) terms[b] |= bit;
        continue;
      }
      const char* text = query.termText[t];
      const u32 textLength = static_cast<u32>(std::strlen(text));
      bool firstWord = true;
      for (const char* p = text; *p && result == ReDone;) {
        const char* start = p;
        const i32 length = ReScanWord(&p, text, word, ReQueryMaxLength + 1, nullptr, ReScanQuery, rules_.classes);
        if (length == 0) {
          // The index knows the term's words, not the signs beside them
          // ("-d", "U.S.") or apart from them ("- d"): the text decides.
          if (*p != ' ') state_->proximity = 1;
          ++p;
          continue;
        }
        for (char* c = word; *c; ++c)
          if (rules_.classes[static_cast<u8>(*c)] & ReClassUpper) *c = static_cast<char>(*c + 32);
        const ReTermLookup lookup = MarkWord(text, textLength, start, p, word, planes, kWordPlane);
        if (lookup == ReTermLookup::Stopped) {
          state_->runState = ReRunStopped;
          ReSetStatus(status_, ReSevWarning, ReCodeStopped, ReModEvaluate);
          result = ReWarn;
        } else if (lookup == ReTermLookup::Failed) {
          result = ReSearchError(kReasonLookup, status_);
        } else {
          if (lookup == ReTermLookup::Wider) state_->proximity = 1;  // the block bits are no longer exact
          for (u32 b = 0; b < blocks; ++b) {
            const bool holds = (planes[b] & kWordPlane) && (firstWord || (planes[b] & kTermPlane));
            planes[b] = holds ? kTermPlane : 0;
          }
          firstWord = false;
        }
      }
      if (result != ReDone) break;
      if (firstWord) {
        // A term without a word the index could hold occurs everywhere.
        for (u32 b = 0; b < blocks; ++b) terms[b] |= bit;
        state_->proximity = 1;
        continue;
      }
      for (u32 b = 0; b < blocks; ++b)
        if (planes[b] & kTermPlane) terms[b] |= bit;
    }
    ReHeapFree(planes);
    ReHeapFree(word);
    ReHeapFree(dotted);
    ReHeapFree(kept);
    scratch_ = {};
    return result;
  }

  // Marks the blocks of the term's word text[start, end), lower-cased in
  // `word` (room for the term's length + 1): with the gluing characters
  // beside it, where the term has any (re_word_pieces.h).
  ReTermLookup MarkWord(const char* text, u32 textLength, const char* start, const char* end, char* word, u8* planes,
                        u8 bit) {
    const u32 wordStart = static_cast<u32>(start - text), wordEnd = static_cast<u32>(end - text);
    u32 from = wordStart, to = wordEnd;
    if (!ReWidenOverGlue(text, textLength, &from, &to)) {
      const bool joinedBefore = wordStart > 0 && text[wordStart - 1] != ' ';
      const bool joinedAfter = wordEnd < textLength && text[wordEnd] != ' ';
      if (!joinedBefore && !joinedAfter)
        return ReMarkWordBlocks(record_, work_, word, planes, buffers_->blockCount, shift_, bit);
      return MarkBesideJoiners(word, joinedBefore, joinedAfter, planes, bit);
    }
    const u32 before = wordStart - from, after = to - wordEnd;
    const u32 bareLength = static_cast<u32>(std::strlen(word));
    std::memmove(word + before, word, bareLength);
    std::memcpy(word, text + from, before);
    std::memcpy(word + before + bareLength, end, after);
    word[before + bareLength + after] = '\0';
    return ReMarkGluedWordBlocks(record_, work_, word, before, bareLength, planes, buffers_->blockCount, shift_, bit);
  }

  // A syllable dot may stand in the text between a word and a joiner beside
  // it ("-", a dot, "nect" for the term "-nect"): the text check passes over it,
  // and the index lists the word with it. Beside a joiner the word is looked
  // up as it stands and with a dot on that side, on the other, and on both;
  // the blocks of every spelling count.
  ReTermLookup MarkBesideJoiners(const char* word, bool before, bool after, u8* planes, u8 bit) {
    const u32 blocks = buffers_->blockCount;
    const u32 length = static_cast<u32>(std::strlen(word));
    std::memset(scratch_.kept, 0, blocks);
    ReTermLookup result = ReTermLookup::Exact;
    for (int dots = 0; dots <= 3; ++dots) {
      const bool dotBefore = (dots & 1) != 0, dotAfter = (dots & 2) != 0;
      if ((dotBefore && !before) || (dotAfter && !after)) continue;
      u32 n = 0;
      if (dotBefore) scratch_.dotted[n++] = static_cast<char>(ReMiddleDot);
      std::memcpy(scratch_.dotted + n, word, length);
      n += length;
      if (dotAfter) scratch_.dotted[n++] = static_cast<char>(ReMiddleDot);
      scratch_.dotted[n] = '\0';
      const ReTermLookup lookup = ReMarkWordBlocks(record_, work_, scratch_.dotted, planes, blocks, shift_, bit);
      if (lookup != ReTermLookup::Exact && lookup != ReTermLookup::Wider) return lookup;
      if (lookup == ReTermLookup::Wider) result = lookup;
      for (u32 b = 0; b < blocks; ++b) scratch_.kept[b] |= static_cast<u8>(planes[b] & bit);
    }
    for (u32 b = 0; b < blocks; ++b) planes[b] = static_cast<u8>((planes[b] & ~bit) | scratch_.kept[b]);
    return result;
  }

  u32 BlockStart(u32 block) const {
    const u32 start = ReBe32(record_->groupIndex.data + 4 * block) + 1;
    return start < stream_.codeCount ? start : stream_.codeCount;
  }

  // The block term bytes are exact (one entry per block, found by the index
  // without regard to case, and no positions needed): no text to check.
  bool ExactByIndex() const { return shift_ == 0 && !state_->proximity && state_->wordSearch && state_->caseMode == 1; }

  // Whether a block with these term bits is read.
  bool CandidateBlock(u32 bits) const {
    if (bits == 0) return false;
    if (!ExactByIndex()) return ReTestCandidate(eval_->query, bits);
    u16 found[ReQueryMaxTerms];
    const u8 noPairs[ReQueryMaxTerms] = {};
    for (u32 t = 0; t < ReQueryMaxTerms; ++t) found[t] = (bits >> t) & 1;
    return ReEvalQueryCode(eval_->query, found, false, noPairs);
  }

  bool ReportProgress() {
    if (!work_->progress || work_->progress(eval_->scanPosition, stream_.codeCount) == 0) return true;
    state_->runState = ReRunStopped;
    ReSetStatus(status_, ReSevWarning, ReCodeStopped, ReModEvaluate);
    return false;
  }

  u32 BlockLoop() {
    for (;;) {
      if (!eval_->inBlock) {
        u32 bits = 0;
        do {
          ++eval_->currentBlock;
          if (static_cast<u32>(eval_->currentBlock) >= buffers_->blockCount) return Complete();
          bits = buffers_->blockTerms[eval_->currentBlock];
          if (CandidateBlock(bits)) break;
        } while (true);
        const u32 block = static_cast<u32>(eval_->currentBlock);
        eval_->scanPosition = BlockStart(block);
        eval_->scanEnd = block + 1 < buffers_->blockCount ? BlockStart(block + 1) : stream_.codeCount;
        eval_->currentEntry = block == 0 ? 0 : (block << shift_) - 1;
        eval_->inBlock = true;
        BeginEntry();
        u32 code = 0;
        if (const i32 read = ReStreamCode(&stream_, eval_->scanPosition, &code); read < 0)
          return ReSearchError(read == ReErrFileSeek ? kReasonBlockSeek : kReasonRead, status_);
      }
      if (!ReportProgress()) return ReWarn;
      switch (ScanBlock()) {
        case Step::Continue: eval_->inBlock = false; break;
        case Step::PageFull: return ReSearchError(kReasonPageFull, status_);
        case Step::Stopped: return ReWarn;
        case Step::Complete: return Complete();
        case Step::Failed: return ReFail;
      }
    }
  }

  void BeginEntry() {
    eval_->entryStart = eval_->scanPosition;
    eval_->codeCount = 0;
    eval_->candidate = false;
    eval_->previousMarked = false;
    eval_->excluded = !ReEntryInSubsets(work_, eval_->currentEntry + 1);
  }

  u32 Complete() {
    state_->runState = ReRunEnded;
    return ReSearchError(kReasonComplete, status_);
  }

  bool Marked(u32 code) const { return code < buffers_->codeCount && (buffers_->codeMap[code] & kCoverMark); }

  // The codes inside one entry that the window holds, up to its end code:
  // kept, probed and marked as ScanBlock does one by one.
  void ScanRun() {
    const u32 endCode = record_->endCode;
    const u8* map = buffers_->codeMap;
    const u32 mapCount = buffers_->codeCount;
    u32 position = eval_->scanPosition;
    u32 count = eval_->codeCount;
    bool candidate = eval_->candidate, previousMarked = eval_->previousMarked;
    u32 previousCode = eval_->previousCode;
    u16 batch[kCodeBatch];
    bool atEnd = false;
    while (!atEnd && position < eval_->scanEnd) {
      const u32 n = ReWindowCodes(stream_, position, std::min(kCodeBatch, eval_->scanEnd - position), batch);
      if (n == 0) break;
      u32 k = 0;
      for (; k < n; ++k) {
        const u32 code = batch[k];
        if (code == endCode) {
          atEnd = true;
          break;
        }
        if (count < ReCodeBufferSize) eval_->codes[count] = static_cast<u16>(code);
        ++count;
        if (previousMarked && !candidate) candidate = ProbePair(previousCode, code);
        previousMarked = code < mapCount && (map[code] & kCoverMark);
        previousCode = code;
      }
      position += k;
    }
    eval_->scanPosition = position;
    eval_->codeCount = count;
    eval_->candidate = candidate;
    eval_->previousMarked = previousMarked;
    eval_->previousCode = previousCode;
  }

  Step ScanBlock() {
    while (eval_->scanPosition < eval_->scanEnd) {
      if (!eval_->excluded) {
        ScanRun();
        if (eval_->scanPosition >= eval_->scanEnd) break;
      }
      u32 code = 0;
      const i32 read = ReStreamCode(&stream_, eval_->scanPosition, &code);
      if (read == ReStreamPastEnd) return Step::Complete;
      if (read < 0) {
        ReSetHandleStatus(status_, ReSevError, ReErrFileRead, ReModStreamRefill);
        return Step::Failed;
      }
      ++eval_->scanPosition;
      if (code == record_->endCode) {
        ++eval_->currentEntry;
        if (eval_->currentEntry > record_->entryCount) return Step::Complete;
        if (!eval_->excluded && (eval_->candidate || eval_->previousMarked || shift_ == 0)) {
          if (!ReportProgress()) {
            // Resume with this entry: it is read again from its start.
            --eval_->currentEntry;
            eval_->scanPosition = eval_->entryStart;
            BeginEntry();
            return Step::Stopped;
          }
          bool hit = false;
          if (!CheckEntry(&hit)) return Step::Failed;
          if (hit) CutTitle();
          if (hit && !StoreHit(eval_->currentEntry, buffers_->title)) {
            BeginEntry();
            return Step::PageFull;
          }
        }
        BeginEntry();
        continue;
      }
      if (eval_->excluded) continue;
      if (eval_->codeCount < ReCodeBufferSize) eval_->codes[eval_->codeCount] = static_cast<u16>(code);
      ++eval_->codeCount;
      if (eval_->previousMarked && !eval_->candidate) eval_->candidate = ProbePair(eval_->previousCode, code);
      eval_->previousMarked = Marked(code);
      eval_->previousCode = code;
    }
    return Step::Continue;
  }

  // A marked code and the code after it: does a cover term start in the
  // marked code's text?
  bool ProbePair(u32 marked, u32 next) {
    u8 text[2 * ReExpandOutput];
    const i32 head = ReCodeText(record_, state_->codeTexts, marked, text, sizeof text);
    if (head < 0) return true;
    const i32 tail = ReCodeText(record_, state_->codeTexts, next, text + head, sizeof text - static_cast<u32>(head));
    const u32 length = static_cast<u32>(head) + (tail < 0 ? 0 : static_cast<u32>(tail));
    return ReTextHoldsCoverTerm(text, length, static_cast<u32>(head), rules_, false);
  }

  // Expands the entry's codes into the checker. False when the stream fails.
  bool CheckEntry(bool* hit) {
    ReEntryChecker& checker = eval_->checker;
    checker.BeginEntry(buffers_->title, buffers_->titleCapacity);
    const bool atTitle = ExactByIndex();
    FeedChecker feed{&checker};
    const ReCodeTexts& texts = state_->codeTexts;
    const u8* map = buffers_->codeMap;
    const u32 mapCount = buffers_->codeCount;
    // Texts of held codes gather here and go to the checker together.
    u8 lines[kStaging + 256 + ReCodeTextSlack];
    u32 gathered = 0;
    // Codes the checker passes over; their last characters.
    bool passing = false;
    PassedCodes passed;
    auto flush = [&] {
      checker.FeedLines(lines, gathered);
      gathered = 0;
    };
    const u32 codes = eval_->codeCount;
    u16 batch[kCodeBatch];
    u32 batchFirst = 0, batchCount = 0;
    for (u32 i = 0; i < codes; ++i) {
      u32 code = 0;
      if (i < ReCodeBufferSize) {
        code = eval_->codes[i];
      } else if (i - batchFirst < batchCount) {
        code = batch[i - batchFirst];
      } else {
        // A long entry is read again from the stream, from the window when it still holds it.
        batchFirst = i;
        batchCount = ReWindowCodes(stream_, eval_->entryStart + i, std::min(kCodeBatch, codes - i), batch);
        if (batchCount > 0) {
          code = batch[0];
        } else {
          const i32 read = ReStreamCode(&stream_, eval_->entryStart + i, &code);
          if (read < 0 || read == ReStreamPastEnd) {
            ReSetHandleStatus(status_, ReSevError, ReErrFileRead, ReModStreamRefill);
            return false;
          }
        }
      }
      if (code < mapCount && (map[code] & kPassable)) {
        if (!passing) {
          if (gathered) {
            flush();
            if (atTitle && checker.TitleSeen()) break;
            if (checker.Settled()) {
              *hit = true;
              return true;
            }
          }
          passing = checker.CanPassOver();
          passed = PassedCodes();
        }
        if (passing) {
          passed.Add(code, map[code] & kLongText);
          continue;
        }
      } else if (passing) {
        u8 last[kPassedContext];
        checker.PassedOver(last, passed.Last(texts, last));
        passing = false;
      }
      const u32 entry = ReCodeTextEntry(texts, code);
      if (entry != ReCodeNotHeld && !(entry & ReCodeTextLineFeed)) {
        const u32 length = ReCodeTextLength(entry);
        const u8* text = ReCodeTextOf(texts, entry);

        if (length <= ReCodeTextSlack)
          std::memcpy(lines + gathered, text, ReCodeTextSlack);  // a fixed size copies fastest
        else
          std::memcpy(lines + gathered, text, length);
        gathered += length;
        if (gathered < kStaging) continue;
        flush();
      } else {
        // A line feed may end the title: the text goes as it is stored.
        if (gathered) flush();
        ReExpandCode(record_, code, FeedPiece, &feed);
      }
      if (atTitle && checker.TitleSeen()) break;
      if (checker.Settled()) {
        *hit = true;  // the rest of the entry cannot undo the hit
        return true;
      }
    }
    if (gathered) flush();
    if (atTitle) {
      *hit = true;
      return true;
    }
    checker.Finish();
    *hit = ReEvalQueryCode(eval_->query, checker.Found(), false, checker.PairBits());
    return true;
  }

  // In title mode 4 the title is cut from the text before the first line
  // feed by the entry-title rules; otherwise that text is the title. Either
  // is shown with its escapes as the characters they stand for.
  void CutTitle() {
    if (record_->titleMode == 4) {
      // The title follows its tag wherever that stands in the line: the
      // rules read a copy of the line from the tag on, as much as the work
      // text holds.
      const ReTitleRules rules{record_->titleMode, record_->textFormat, record_->dotMode};
      const char* line = buffers_->title;
      const u32 lineLength = static_cast<u32>(strnlen(line, buffers_->titleCapacity));
      const u32 tag = ReTitleTagAt(line, lineLength, rules);
      const u32 length = std::min<u32>(lineLength - tag, ReQueryMaxLength - 1);
      char* fromTag = buffers_->workText;
      std::memcpy(fromTag, line + tag, length);
      fromTag[length] = '\n';
      if (ReEntryTitle(fromTag, length + 1, rules, buffers_->title, buffers_->titleCapacity) != ReDone)
        buffers_->title[0] = '\0';
    }
    ReShowTitle(buffers_->title, record_->textFormat);
  }

  // Puts a hit into the next slot; false (kept as pending) when the page is
  // full. An entry without a title is no hit to show: it is passed over.
  bool StoreHit(u32 entry, const char* title) {
    if (title[0] == '\0') return true;
    if (block_->hitCount >= slotCount_) {
      eval_->pending = true;
      eval_->pendingEntry = entry;
      if (title != buffers_->pendingTitle) std::strcpy(buffers_->pendingTitle, title);
      return false;
    }
    ReHitSlot& slot = block_->slots[block_->hitCount++];
    slot.entry = entry;
    if (slot.title) {
      // The slot's line holds the database's longest line; a longer title is cut.
      const size_t length = strnlen(title, record_->longestLine);
      std::memcpy(slot.title, title, length);
      slot.title[length] = '\0';
    }
    return true;
  }

  ReDbRecord* record_;
  ReWorkRecord* work_;
  ReSearchState* state_;
  ReSearchBuffers* buffers_;
  ReEvalRecord* eval_;
  ReSearchBlock* block_;
  ReStatusBlock* status_;
  u32 slotCount_;
  u32 shift_;
  ReSearchStream stream_;
  ReMatchRules rules_;
  // MarkBlocks' room for MarkBesideJoiners: a spelling, and a byte a block.
  struct {
    char* dotted;
    u8* kept;
  } scratch_ = {};
};

}  // namespace

u32 ReSearchError(u16 reason, ReStatusBlock* status) {
  switch (reason) {
    case kReasonCodeMap: ReSetStatus(status, ReSevError, ReErrCodeMap, ReModEvaluate); return ReFail;
    case kReasonStreamSeek:
    case kReasonBlockSeek:
    case kReasonStreamSeek2: ReSetHandleStatus(status, ReSevError, ReErrFileSeek, ReModEvaluate); return ReFail;
    case kReasonMemory: ReSetStatus(status, ReSevError, ReErrMemory, ReModEvaluate); return ReFail;
    case kReasonLookup: ReSetStatus(status, ReSevError, ReErrLookup, ReModEvaluate); return ReFail;
    case kReasonPendingTitle: ReSetStatus(status, ReSevWarning, ReWarnTitleLong, ReModEvaluate); return ReWarn;
    case kReasonRunState: ReSetStatus(status, ReSevError, ReErrRunState, ReModEvaluate); return ReFail;
    case kReasonRead: ReSetHandleStatus(status, ReSevError, ReErrFileRead, ReModEvaluate); return ReFail;
    case kReasonPageFull: return ReDone;
    case kReasonComplete: ReSetStatus(status, ReSevWarning, ReWarnEnded, ReModEvaluate); return ReWarn;
    default: return status->status;
  }
}

u32 ReEvaluateQuery(ReDbRecord* record, ReWorkRecord* work, ReSearchState* state, ReSearchBlock* block) {
  Evaluation evaluation(record, work, state, block);
  return evaluation.Run();
}
