// The slot side of the entry lists: capitalisation classes and match modes,
// filling slots from index hits, the class filter of the term analysis, and
// the spellings a headword is looked up under.
#pragma once

#include "re_blocks.h"
#include "re_records.h"
#include "re_types.h"

// Capitalisation of a word: class 0 no capitals, 1 exactly one capital with
// only lower-case letters before it, 2 capitals and no marked characters, 3
// capitals and marked characters; the capitals' positions with the first
// character at the most significant bit.
struct ReCaseInfo {
  u8 caseClass;
  u64 capitals;
};

ReCaseInfo ReCaseClass(const char* word, const u32* classes);

// Does a hit of case `hit` pass match mode `mode` for the typed word's case?
// An unset mode (0) takes every hit, as mode 1 does.
bool ReMatchesMode(u8 mode, const ReCaseInfo& typed, const ReCaseInfo& hit);
bool ReKnownMatchMode(u8 mode);

// One index hit of a headword lookup.
struct ReHeadwordHit {
  u32 entry;
  const char* word;  // as stored, with its capitals
  u8 flagByte;       // its low six bits become the slot's class
  u32 featureMask;
};

// The slots being filled: the block's array and the size of each title buffer.
struct ReSlotList {
  ReEntListSlot* slots;
  u16 capacity;
  u16 count;
  u32 titleSize;  // bytes of every slot's title buffer, with its NUL
};

// The slots of an entry-list block that a list fills: those REmemory made,
// however many the caller's capacity field says.
u16 ReHeldSlots(const ReEntListBlock* block);

// Adds a hit: a hit with the entry and word of a filled slot ORs its feature
// mask into that slot; another fills the next slot with the word as its
// first title. ReDone, or ReWarn when every slot is full.
u32 ReAddHeadwordHit(ReSlotList* list, const ReHeadwordHit& hit);

// ORs `mask` into the first of the slots before `upTo` that holds `entry`;
// false when none does.
bool ReMergeIntoEntry(ReSlotList* list, u16 upTo, u32 entry, u32 mask);

// Empties every slot (entry 0, title empty) and the count.
void ReClearSlots(ReSlotList* list);

// Keeps the slots whose class is 0, 11 to 20, 41 or 42 and closes them up in
// their order (entry, title, class and mask move together).
void ReKeepBaseFormClasses(ReSlotList* list);

// Slot fields through copies: the array is packed and its fields misaligned.
ReEntListSlot ReReadSlot(const ReEntListSlot* slots, u32 index);
void ReWriteSlot(ReEntListSlot* slots, u32 index, const ReEntListSlot& slot);

// The spellings a headword is looked up under, in order: lower-cased; with a
// period appended; hyphens as blanks; hyphens and blanks removed. Spellings
// equal to an earlier one, empty, or longer than `longest` are left out.
constexpr u32 ReLongestHeadword = 255;
struct ReSpellings {
  char text[4][ReLongestHeadword + 1];
  u32 count;
};
void ReHeadwordSpellings(const char* word, const ReIndexDescriptor& index, u32 longest, ReSpellings* out);
