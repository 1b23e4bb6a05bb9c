#include "re_entlst_slots.h"

#include <algorithm>
#include <cstring>

#include "re_block_registry.h"
#include "re_charclass.h"
#include "re_word_index.h"

namespace {

bool IsUpper(u8 c, const u32* classes) { return classes ? (classes[c] & ReClassUpper) != 0 : c >= 'A' && c <= 'Z'; }
bool IsLower(u8 c, const u32* classes) { return classes ? (classes[c] & ReClassLower) != 0 : c >= 'a' && c <= 'z'; }
bool IsMarked(u8 c, const u32* classes) {
  return classes ? (classes[c] & (ReClassLower | ReClassOrdinal)) != 0 : c >= 'a' && c <= 'z';
}

bool KeepsBaseForm(u8 wordClass) {
  return wordClass == 0 || (wordClass >= 11 && wordClass <= 20) || wordClass == 41 || wordClass == 42;
}

// Copies `text` into a title buffer of `size` bytes, cut to fit.
void PutTitle(char* title, u32 size, const char* text) {
  if (!title || size == 0) return;
  u32 length = static_cast<u32>(std::strlen(text));
  if (length > size - 1) length = size - 1;
  std::memmove(title, text, length);
  title[length] = '\0';
}

}  // namespace

ReCaseInfo ReCaseClass(const char* word, const u32* classes) {
  ReCaseInfo info{0, 0};
  u32 capitals = 0;
  bool marked = false;
  bool lowerBeforeFirst = true;
  for (u32 i = 0; word[i]; ++i) {
    const u8 c = static_cast<u8>(word[i]);
    if (IsUpper(c, classes)) {
      if (i < 64) info.capitals |= u64{1} << (63 - i);
      ++capitals;
    } else if (capitals == 0 && !IsLower(c, classes)) {
      lowerBeforeFirst = false;
    }
    if (IsMarked(c, classes)) marked = true;
  }
  if (capitals == 0) return info;
  if (capitals == 1 && lowerBeforeFirst)
    info.caseClass = 1;
  else
    info.caseClass = marked ? 3 : 2;
  return info;
}

bool ReKnownMatchMode(u8 mode) { return mode <= 3; }

bool ReMatchesMode(u8 mode, const ReCaseInfo& typed, const ReCaseInfo& hit) {
  switch (mode) {
    case 0:
    case 1: return true;
    case 2: return hit.caseClass == typed.caseClass && (typed.caseClass != 3 || hit.capitals == typed.capitals);
    case 3:
      if (typed.caseClass == 3) return hit.caseClass == 3 && hit.capitals == typed.capitals;
      return hit.caseClass >= typed.caseClass;
    default: return false;
  }
}

u16 ReHeldSlots(const ReEntListBlock* block) {
  return static_cast<u16>(std::min<u32>(block->capacity, ReBlockCount(block)));
}

ReEntListSlot ReReadSlot(const ReEntListSlot* slots, u32 index) {
  ReEntListSlot slot;
  std::memcpy(&slot, reinterpret_cast<const u8*>(slots) + index * sizeof(ReEntListSlot), sizeof slot);
  return slot;
}

void ReWriteSlot(ReEntListSlot* slots, u32 index, const ReEntListSlot& slot) {
  std::memcpy(reinterpret_cast<u8*>(slots) + index * sizeof(ReEntListSlot), &slot, sizeof slot);
}

u32 ReAddHeadwordHit(ReSlotList* list, const ReHeadwordHit& hit) {
  u32 length = static_cast<u32>(std::strlen(hit.word));
  if (list->titleSize && length > list->titleSize - 1) length = list->titleSize - 1;
  for (u16 i = 0; i < list->count; ++i) {
    ReEntListSlot slot = ReReadSlot(list->slots, i);
    if (slot.entry != hit.entry || !slot.title) continue;
    if (std::strlen(slot.title) != length || std::memcmp(slot.title, hit.word, length) != 0) continue;
    slot.featureMask |= hit.featureMask;
    ReWriteSlot(list->slots, i, slot);
    return ReDone;
  }
  if (list->count >= list->capacity) return ReWarn;
  ReEntListSlot slot = ReReadSlot(list->slots, list->count);
  slot.entry = hit.entry;
  PutTitle(slot.title, list->titleSize, hit.word);
  slot.wordClass = hit.flagByte & 0x3F;
  slot.spare = 0;
  slot.featureMask = hit.featureMask;
  ReWriteSlot(list->slots, list->count, slot);
  ++list->count;
  return ReDone;
}

bool ReMergeIntoEntry(ReSlotList* list, u16 upTo, u32 entry, u32 mask) {
  for (u16 i = 0; i < upTo && i < list->count; ++i) {
    ReEntListSlot slot = ReReadSlot(list->slots, i);
    if (slot.entry != entry) continue;
    slot.featureMask |= mask;
    ReWriteSlot(list->slots, i, slot);
    return true;
  }
  return false;
}

void ReClearSlots(ReSlotList* list) {
  for (u16 i = 0; i < list->capacity; ++i) {
    ReEntListSlot slot = ReReadSlot(list->slots, i);
    slot.entry = 0;
    if (slot.title && list->titleSize) slot.title[0] = '\0';
    slot.wordClass = 0;
    slot.spare = 0;
    slot.featureMask = 0;
    ReWriteSlot(list->slots, i, slot);
  }
  list->count = 0;
}

void ReKeepBaseFormClasses(ReSlotList* list) {
  u16 kept = 0;
  for (u16 i = 0; i < list->count; ++i) {
    const ReEntListSlot from = ReReadSlot(list->slots, i);
    if (!KeepsBaseForm(from.wordClass)) continue;
    if (kept != i) {
      ReEntListSlot to = ReReadSlot(list->slots, kept);
      to.entry = from.entry;
      PutTitle(to.title, list->titleSize, from.title ? from.title : "");
      to.wordClass = from.wordClass;
      to.featureMask = from.featureMask;
      ReWriteSlot(list->slots, kept, to);
    }
    ++kept;
  }
  for (u16 i = kept; i < list->count; ++i) {
    ReEntListSlot slot = ReReadSlot(list->slots, i);
    slot.entry = 0;
    if (slot.title && list->titleSize) slot.title[0] = '\0';
    slot.wordClass = 0;
    slot.featureMask = 0;
    ReWriteSlot(list->slots, i, slot);
  }
  list->count = kept;
}

namespace {

void AddSpelling(ReSpellings* out, const char* text, u32 longest) {
  const size_t length = std::strlen(text);
  if (length == 0 || length > longest || length > ReLongestHeadword) return;
  for (u32 i = 0; i < out->count; ++i)
    if (std::strcmp(out->text[i], text) == 0) return;
  std::memcpy(out->text[out->count++], text, length + 1);
}

}  // namespace

void ReHeadwordSpellings(const char* word, const ReIndexDescriptor& index, u32 longest, ReSpellings* out) {
  out->count = 0;
  const size_t length = std::strlen(word);
  if (length == 0 || length > ReLongestHeadword) return;
  char lower[ReLongestHeadword + 2];
  std::memcpy(lower, word, length + 1);
  ReLowerWord(index, lower);
  AddSpelling(out, lower, longest);

  if (lower[length - 1] != '.') {
    char dotted[ReLongestHeadword + 2];
    std::memcpy(dotted, lower, length);
    dotted[length] = '.';
    dotted[length + 1] = '\0';
    AddSpelling(out, dotted, longest);
  }
  if (std::strchr(lower, '-')) {
    char blanks[ReLongestHeadword + 2];
    std::memcpy(blanks, lower, length + 1);
    for (char* c = blanks; *c; ++c)
      if (*c == '-') *c = ' ';
    AddSpelling(out, blanks, longest);
  }
  if (std::strchr(lower, '-') || std::strchr(lower, ' ')) {
    char joined[ReLongestHeadword + 2];
    u32 j = 0;
    for (const char* c = lower; *c; ++c)
      if (*c != '-' && *c != ' ') joined[j++] = *c;
    joined[j] = '\0';
    AddSpelling(out, joined, longest);
  }
}
