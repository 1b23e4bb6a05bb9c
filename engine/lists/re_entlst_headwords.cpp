// REentlst 240: the entries whose headword is a word. The word's spellings
// are looked up in the main word index; every record of a spelling is a hit
// (its entry, its word with capitals, its class byte and its feature bit)
// that passes the match mode into the slots. When nothing is found the term
// analysis offers base forms to look up instead. Titles come last.
#include <cstring>

#include "in_analyze.h"
#include "re_entlst.h"
#include "re_entlst_slots.h"
#include "re_frame.h"
#include "re_handles.h"
#include "re_index_lists.h"
#include "re_index_walk.h"
#include "re_lists_codes.h"
#include "re_platform.h"
#include "re_synonyms.h"
#include "re_text_work.h"
#include "re_titles.h"
#include "re_word_index.h"

namespace {

struct Lookup {
  ReEntListBlock* block;
  ReStatusBlock* status;
  ReDbRecord* record;
  ReWorkRecord* work;
  const ReIndexDescriptor* index;
  ReIndexState* state;
  bool synonyms;  // text format 8: entries are ring members
  ReCaseInfo typed;
  u8 matchMode;
  bool wildcard;  // the word holds '*' or '?'
  bool stopped;   // the progress callback asked to stop
  u16 earlier;    // slots filled by the spellings before the current one
  ReSlotList list;
};

// What the walk of one spelling hands to its visitor.
struct HeadwordWalk {
  Lookup* lookup;
  bool full;       // a hit found every slot taken
  bool badMember;  // a ring member's number could not be worked out
};

// The entry a record stands for: its list number, or in a synonym database
// the record's own place in the index (the entries before its block, plus
// its ordinal, plus one).
bool EntryOf(const Lookup& l, const ReIndexWord& word, u32* entry) {
  if (!l.synonyms) {
    if (word.listNumber < 1) return false;
    *entry = static_cast<u32>(word.listNumber);
    return true;
  }
  if (!l.index->blockValues || word.block >= l.index->blockValueCount) return false;
  *entry = l.index->blockValues[word.block] + word.ordinal + 1u;
  return true;
}

// The feature mask of a hit: the bit its record's feature bit number names
// (record option 4); bit number 0 names no feature.
u32 FeatureMaskOf(const ReIndexDescriptor& index, const ReIndexWord& word) {
  if (!word.hasExtension || !(index.recordOptions & ReRecordFeatureByte)) return 0;
  return word.featureByte >= 1 && word.featureByte <= 31 ? 1u << word.featureByte : 0;
}

ReVisit VisitHeadword(ReIndexState* state, const ReIndexWord& word) {
  auto& walk = *static_cast<HeadwordWalk*>(state->context);
  Lookup& l = *walk.lookup;
  const int order = ReCompareWords(word.text, state->key);
  if (order < 0) return ReVisitGoOn;
  if (order > 0) return ReVisitPassed;
  u32 entry = 0;
  if (!EntryOf(l, word, &entry)) {
    if (l.synonyms) {
      walk.badMember = true;
      return ReVisitPassed;
    }
    return ReVisitGoOn;
  }
  if (!l.synonyms && ReSubsetExcluded(state, entry)) return ReVisitGoOn;
  char cased[ReWordCapacity + 1];
  ReRestoreCase(*l.index, word, ReCaseLower, cased);
  if (!ReMatchesMode(l.matchMode, l.typed, ReCaseClass(cased, l.index->charClasses))) return ReVisitGoOn;
  const u8 flag = word.hasExtension ? word.classByte : 0;
  const u32 mask = FeatureMaskOf(*l.index, word);
  // Another spelling of an entry already listed adds only its features.
  if (ReMergeIntoEntry(&l.list, l.earlier, entry, mask)) return ReVisitGoOn;
  if (ReAddHeadwordHit(&l.list, ReHeadwordHit{entry, cased, flag, mask}) != ReDone) {
    walk.full = true;
    return ReVisitFull;
  }
  return ReVisitGoOn;
}

// Looks one spelling up. ReDone, ReWarn when the slots are full or the
// progress callback stopped the walk (warning recorded), ReFail on a failed
// read or an undecodable record (recorded).
u32 LookUpSpelling(Lookup* l, const char* spelling, u16 module) {
  const u32 length = static_cast<u32>(std::strlen(spelling));
  if (length == 0 || !l->index->blockCount) return ReDone;
  HeadwordWalk walk{l, false, false};
  ReIndexState* state = l->state;
  ReBeginWalk(state, l->index, ReWalkEntryList, ReReadingListNumber);
  state->visit = VisitHeadword;
  state->context = &walk;
  state->subsetFilter = !l->synonyms && l->work->activeVector && !l->work->allEntries;
  state->subsetBits = l->work->activeVector;
  state->subsetBytes = l->work->vectorSize;
  state->progress = l->work->progress;
  u16 further = 0;
  const u16 first = ReFindWordBlock(spelling, 0, static_cast<i16>(length - 1), &further, l->index);
  ReDecodeIndex(spelling, static_cast<i16>(length), first, further, l->index, state);
  state->context = nullptr;
  if (walk.full) {  // the slots' warning, also while the term analysis fills them
    ReSetStatus(l->status, ReSevWarning, ReWarnSlotsFull, ReModHeadwords);
    return ReWarn;
  }
  if (state->stop) {
    l->stopped = true;
    ReSetStatus(l->status, ReSevWarning, ReCodeStopped, module);
    return ReWarn;
  }
  if (walk.badMember || state->failure == ReWalkBadBlock) {
    ReSetStatus(l->status, ReSevError, ReCodeNoBaseForm, ReModHeadwords);
    return ReFail;
  }
  if (state->failure == ReWalkReadFailed) {
    ReSetHandleStatus(l->status, ReSevError, ReErrFileRead, ReModHeadwords);
    return ReFail;
  }
  return ReDone;
}

// The term analysis after lookups that found nothing: every alternative the
// word hash gives is looked up; some kinds keep only base-form classes.
void AnalyseTerm(Lookup* l, const char* lowered) {
  const u32 size = 6u * l->index->longestWord + 6u;
  char* alternatives = static_cast<char*>(ReHeapAlloc(size));
  if (!alternatives) {
    ReSetStatus(l->status, ReSevError, ReErrMemory, ReModTermAnalysis);
    return;
  }
  u8 elided = 0;
  const u8 kind = static_cast<u8>(l->record->kind);
  const i16 count =
      InAnalyzeWord(lowered, kind, l->index->charClasses, InWordHash{l->index->wordHash, l->index->wordHashLength},
                    alternatives, size, &elided);
  if (count <= 0) {
    ReHeapFree(alternatives);
    ReSetStatus(l->status, ReSevWarning, ReCodeNoBaseForm, ReModTermAnalysis);
    return;
  }
  ReClearSlots(&l->list);
  const char* alternative = alternatives;
  for (i16 i = 0; i < count && alternative < alternatives + size; ++i) {
    const u32 length = static_cast<u32>(strnlen(alternative, alternatives + size - alternative));
    l->earlier = l->list.count;
    if (length <= l->index->longestWord && LookUpSpelling(l, alternative, ReModTermAnalysis) != ReDone) break;
    alternative += length + 1;
  }
  ReHeapFree(alternatives);
  if (l->status->status == ReFail) return;
  if (kind == 8 || kind == 12 || (kind == 9 && !elided)) ReKeepBaseFormClasses(&l->list);
  if (l->list.count == 0) ReSetStatus(l->status, ReSevWarning, ReCodeNoBaseForm, ReModTermAnalysis);
}

// The title of a ring member: the beginning of its synonym text.
u32 MemberTitle(const Lookup& l, u32 entry, char* title, u32 size) {
  char word[ReWordCapacity + 1];
  ReRingMember member{};
  member.word = word;
  if (ReReadRingMember(l.record, l.work, entry, &member, sizeof word) != ReDone) return ReFail;
  char beginning[ReWordCapacity + 8];
  const u32 length = static_cast<u32>(std::strlen(word));
  std::memcpy(beginning, "<DS>", 4);
  std::memcpy(beginning + 4, word, length);
  beginning[4 + length] = '\n';
  return ReEntryTitle(beginning, length + 5, ReTitleRulesOf(l.record), title, size);
}

// Cuts the title of every filled slot from its entry's text (module 460).
void FillTitles(Lookup* l) {
  const u16 titleMode = l->record->titleMode;
  for (u16 i = 0; i < l->list.count; ++i) {
    ReEntListSlot slot = ReReadSlot(l->list.slots, i);
    if (slot.entry == 0 || !slot.title) continue;
    if ((titleMode == 3 || titleMode == 4) && slot.title[0]) continue;
    const u32 before = l->status->status;
    const u32 cut = l->synonyms ? MemberTitle(*l, slot.entry, slot.title, l->list.titleSize)
                                : ReReadEntryTitle(l->record, l->work, slot.entry, slot.title, l->list.titleSize,
                                                   nullptr, l->status, ReModTitles);
    if (cut != ReDone) {
      if (l->status->status == before) ReSetStatus(l->status, ReSevError, ReErrNoTitle, ReModTitles);
      return;
    }
    // The entry-text parser reads these titles with their escapes
    // ("reali<{sz}>e" makes "realize"); the screens decode what they show.
    ReLeaveOutTitleTags(slot.title, l->record->textFormat);
  }
}

void Run(Lookup* l) {
  ReEntListBlock* block = l->block;
  ReDbRecord* record = l->record;
  // The slots' title buffers were sized for the database the block was made for.
  if (block->databaseId != record->databaseId) {
    ReSetStatus(l->status, ReSevError, ReErrSelectionDb, ReModHeadwords);
    return;
  }
  l->synonyms = record->textFormat == ReSynonymFormat;
  l->matchMode = block->matchMode;
  if (l->synonyms && l->matchMode == 2) {
    ReSetStatus(l->status, ReSevError, ReErrMatchMode, ReModHeadwords);
    return;
  }
  // The word buffer holds the longest line and its NUL.
  const u32 room = record->longestLine + 1u;
  const char* word = block->word ? block->word : "";
  const u32 length = static_cast<u32>(strnlen(word, room));
  l->wildcard = std::memchr(word, '*', length) || std::memchr(word, '?', length);
  if (length == 0) {
    ReSetStatus(l->status, ReSevError, ReErrHeadwordEmpty, ReModHeadwords);
    return;
  }
  if (length >= room || length > record->longestWord || length > ReLongestHeadword) {
    ReSetStatus(l->status, ReSevError, ReErrHeadwordLong, ReModHeadwords);
    return;
  }
  l->list = ReSlotList{block->slots, block->slots ? ReHeldSlots(block) : u16{0}, 0, room};
  ReClearSlots(&l->list);
  l->index = record->index;
  if (!record->hasMainIndex || !l->index) return;
  if (!ReKnownMatchMode(l->matchMode)) {
    ReSetHandleStatus(l->status, ReSevError, ReErrMatchMode, ReModHeadwords);
    return;
  }
  l->state = ReIndexStateOf(record);
  if (!l->state) {
    ReSetStatus(l->status, ReSevError, ReErrMemory, ReModHeadwords);
    return;
  }
  l->typed = ReCaseClass(word, l->index->charClasses);

  ReSpellings spellings;
  ReHeadwordSpellings(word, *l->index, l->index->longestWord, &spellings);
  for (u32 i = 0; i < spellings.count; ++i) {
    l->earlier = l->list.count;
    if (LookUpSpelling(l, spellings.text[i], ReModHeadwords) != ReDone) break;
  }
  if (l->list.count == 0 && !l->stopped && l->status->handleError == 0 && l->status->status != ReFail &&
      l->index->wordHash && spellings.count > 0)
    AnalyseTerm(l, spellings.text[0]);
  if (l->status->status != ReFail) FillTitles(l);
}

}  // namespace

void ReHeadwordLookup(ReEntListBlock* block, ReStatusBlock* status) {
  Lookup l{};
  l.block = block;
  l.status = status;
  block->count = 0;
  if (!ReFrameLock(block->handle, ReTagTermLookup, status, ReModHeadwords, &l.record, &l.work)) return;
  Run(&l);
  block->count = l.list.count;
  if (l.work->progress) l.work->progress(0x7FFFFFFF, 0x7FFFFFFF);
  ReFrameUnlock(block->handle, ReHandleFree, status, ReModHeadwords);
  if (l.list.count != 0) return;
  // Nothing found: a word with wildcards is refused; otherwise the warning,
  // unless the term analysis already told why.
  if (l.wildcard)
    ReSetStatus(status, ReSevError, ReErrHeadwordWildcard, ReModHeadwords);
  else if (status->status == ReDone)
    ReSetStatus(status, ReSevWarning, ReWarnNothing, ReModHeadwords);
}
