// REentlst 230: the entries of the current subset in entry order, a page of
// slots at a time, each with the title cut from the start of its text. An
// entry whose title is cut when no slot is left waits for the next page.
// Between pages the handle stays reserved for this list (tag 28).
#include <cstring>

#include "re_entlst.h"
#include "re_entlst_slots.h"
#include "re_frame.h"
#include "re_handles.h"
#include "re_lists_codes.h"
#include "re_platform.h"
#include "re_subsets.h"
#include "re_text_work.h"
#include "re_titles.h"

namespace {

struct Paging {
  ReEntListBlock* block;
  ReStatusBlock* status;
  ReDbRecord* record;
  ReWorkRecord* work;
  ReEntryPages* pages;
  ReSlotList list;
};

u32 SubsetSize(const ReWorkRecord& work, u32 entryCount) {
  u32 size = 0;
  for (u32 entry = 1; entry <= entryCount; ++entry)
    if (ReEntryInSubsets(&work, entry)) ++size;
  return size;
}

// Cuts the title of an entry from its first 255 bytes into a slot's title
// buffer (title rules of the database; no title leaves it empty). False when
// the text cannot be read.
bool CutTitle(Paging* p, u32 entry, char* title) {
  u32 length = 0;
  ReEntryPages* pages = p->pages;
  if (ReDecodeEntryBeginning(p->record, p->work, entry, pages->buffer, sizeof pages->buffer, &length, p->status,
                             ReModPages) != ReDone)
    return false;
  const u32 size = p->list.titleSize;
  if (ReEntryTitle(pages->buffer, length, ReTitleRulesOf(p->record), title, size) != ReDone) title[0] = 0;
  ReShowTitle(title, p->record->textFormat);
  return true;
}

// Puts an entry with its title (already cut into `title`) into the next slot.
void Fill(Paging* p, u32 entry, const char* title) {
  ReEntListSlot slot = ReReadSlot(p->list.slots, p->list.count);
  slot.entry = entry;
  if (slot.title != title) std::memcpy(slot.title, title, std::strlen(title) + 1);
  slot.wordClass = 0;
  slot.spare = 0;
  slot.featureMask = 0;
  ReWriteSlot(p->list.slots, p->list.count, slot);
  ++p->list.count;
  ++p->pages->listed;
}

void FillPage(Paging* p) {
  ReEntryPages* pages = p->pages;
  ReClearSlots(&p->list);
  char* firstTitle = ReReadSlot(p->list.slots, 0).title;
  if (pages->state == ReCodeHeldOver) {
    if (!CutTitle(p, pages->held, firstTitle)) return;
    Fill(p, pages->held, firstTitle);
    pages->state = 0;
  }
  while (pages->next <= pages->last) {
    const u32 entry = pages->next;
    if (!ReEntryInSubsets(p->work, entry)) {
      ++pages->next;
      continue;
    }
    if (p->list.count == p->list.capacity) {
      // No slot left: the entry waits for the next page, which cuts its title.
      pages->held = entry;
      pages->state = ReCodeHeldOver;
      ++pages->next;
      return;
    }
    char* title = ReReadSlot(p->list.slots, p->list.count).title;
    if (!CutTitle(p, entry, title)) return;
    ++pages->next;
    if (p->work->progress && p->work->progress(pages->listed, pages->subsetSize) != 0) {
      ReSetStatus(p->status, ReSevWarning, ReCodeStopped, ReModPages);
      pages->state = ReWarnEnded;
      return;
    }
    Fill(p, entry, title);
  }
  pages->state = ReWarnEnded;
  // A call that finds nothing more reports the end at once; a page that took
  // the last entries leaves it to the next call.
  if (p->list.count == 0) ReSetStatus(p->status, ReSevWarning, ReWarnEnded, ReModPages);
}

void Page(Paging* p, u16 action) {
  ReEntListBlock* block = p->block;
  if (block->databaseId != p->record->databaseId) {
    ReSetStatus(p->status, ReSevError, ReErrSelectionDb, ReModPages);
    return;
  }
  if (p->record->subsetNodeCount == 0) {
    ReSetStatus(p->status, ReSevError, ReWarnNoSubsets, ReModPages);
    return;
  }
  if (action == ReActClose) {
    ReFreeEntryPages(p->work);
    return;
  }
  if (action == ReActOpen) {
    ReFreeEntryPages(p->work);
    auto* pages = static_cast<ReEntryPages*>(ReHeapAlloc(sizeof(ReEntryPages)));
    if (!pages) {
      ReSetStatus(p->status, ReSevError, ReErrMemory, ReModPages);
      ReSetStatus(p->status, ReSevError, ReErrPaging, ReModPages);
      return;
    }
    pages->next = 1;
    pages->last = p->record->entryCount;
    pages->subsetSize = SubsetSize(*p->work, pages->last);
    p->work->entryPages = pages;
  } else if (!p->work->entryPages) {
    ReSetStatus(p->status, ReSevError, ReErrPaging, ReModPages);
    return;
  }
  p->pages = p->work->entryPages;
  if (p->pages->state == ReWarnEnded) {
    ReClearSlots(&p->list);
    ReSetStatus(p->status, ReSevWarning, ReWarnEnded, ReModPages);
    return;
  }
  FillPage(p);
}

}  // namespace

void ReFreeEntryPages(ReWorkRecord* work) {
  ReHeapFree(work->entryPages);
  work->entryPages = nullptr;
}

void ReEntryPage(ReEntListBlock* block, u16 action, ReStatusBlock* status) {
  if (!block->slots) {
    ReSetStatus(status, ReSevError, ReErrNoSelection, ReModPages);
    return;
  }
  if (block->capacity == 0) {
    ReSetStatus(status, ReSevWarning, ReWarnSlotsFull, ReModPages);
    return;
  }
  Paging p{};
  p.block = block;
  p.status = status;
  if (!ReFrameLock(block->handle, ReTagSubset, status, ReModPages, &p.record, &p.work)) {
    ReSetStatus(status, ReSevError, ReErrPaging, ReModPages);
    return;
  }
  p.list = ReSlotList{block->slots, ReHeldSlots(block), 0, p.record->longestLine + 1u};
  Page(&p, action);
  block->count = p.list.count;
  // The list holds the handle between its pages; its end frees it.
  const bool open = p.work->entryPages && status->status != ReFail;
  ReFrameUnlock(block->handle, open ? u16{ReHandleReserved} : u16{ReHandleFree}, status, ReModPages);
}
