#include "re_etpar_parse.h"

#include <cstring>

#include "re_platform.h"

namespace {

// Lines longer than this are parsed up to it; entry lines are far shorter.
constexpr u32 kLongestLine = 65535;

// Sub-items gathered from one line before they join their entry.
struct ItemList {
  ReEtParItem** items = nullptr;
  u32 count = 0;
  u32 capacity = 0;
};

void FreeItem(ReEtParItem* item) {
  if (!item) return;
  ReHeapFree(item->text);
  ReHeapFree(item->second);
  ReHeapFree(item);
}

void FreeList(ItemList* list) {
  for (u32 i = 0; i < list->count; ++i) FreeItem(list->items[i]);
  ReHeapFree(list->items);
  *list = ItemList{};
}

bool Push(ItemList* list, ReEtParItem* item) {
  if (list->count == list->capacity) {
    u32 capacity = list->capacity ? list->capacity * 2 : 8;
    auto** grown = static_cast<ReEtParItem**>(ReHeapAlloc(capacity * sizeof(ReEtParItem*)));
    if (!grown) return false;
    if (list->count) std::memcpy(grown, list->items, list->count * sizeof(ReEtParItem*));
    ReHeapFree(list->items);
    list->items = grown;
    list->capacity = capacity;
  }
  list->items[list->count++] = item;
  return true;
}

// Cuts a line into the parser's node buffer, growing it and the scratch text.
bool PrepareLine(ReEtParser* p, const char* text, u32 length, ReNodeLine* line) {
  if (length > kLongestLine) length = kLongestLine;
  u32 nodesNeeded = length ? length : 1;
  if (p->nodeCapacity < nodesNeeded) {
    ReHeapFree(p->nodes);
    p->nodeCapacity = 0;
    p->nodes = static_cast<ReTagNode*>(ReHeapAlloc(nodesNeeded * sizeof(ReTagNode)));
    if (!p->nodes) return false;
    p->nodeCapacity = nodesNeeded;
  }
  // Assembled texts never outgrow their nodes' text; the joins of second
  // texts and labels add ", " between pieces, which a line of n bytes holds at
  // most n times.
  u32 scratchNeeded = 3 * length + 64;
  if (p->scratchCapacity < scratchNeeded) {
    ReHeapFree(p->scratch);
    p->scratchCapacity = 0;
    p->scratch = static_cast<char*>(ReHeapAlloc(scratchNeeded + 1));
    if (!p->scratch) return false;
    p->scratchCapacity = scratchNeeded;
  }
  line->text = text;
  line->nodes = p->nodes;
  line->count = ReCutNodes(text, length, p->nodes, p->nodeCapacity);
  return true;
}

ReTextOut Scratch(ReEtParser* p) {
  p->scratch[0] = '\0';
  return ReTextOut{p->scratch, p->scratchCapacity, 0};
}

// Looks a label up; an absent record leaves it null. False only on no memory.
bool Label(ReEtParser* p, u16 key1, u16 key2, bool second, char** text) {
  *text = nullptr;
  if (!p->labels.lookup) return true;
  return p->labels.lookup(p->labels.context, key1, key2, second, text) != 8;
}

// The node after a tag and the text-like nodes that go with it.
u32 PassTag(const ReNodeLine& line, u32 tag) {
  u32 j = tag + 1;
  while (j < line.count && ReIsPassedWithTag(line.nodes[j].code)) ++j;
  return j;
}

bool IsDefinitionTag(u8 code) {
  return code == ReTagDF || code == ReTagFT || code == ReTagGM || code == ReTagUG || code == ReTagUS;
}

bool IsGroupEnd(u8 code) { return code == ReTagSYEnd || code == ReTagHYEnd || code == ReTagIDEnd; }

// Assembles every run of the line from node `start` on, passing over the tags
// that give no text.
u32 AssembleAll(const ReTextFormat& format, const ReNodeLine& line, u32 start, ReTextOut* out) {
  u32 i = start;
  while (i < line.count) {
    u32 end = ReAssembleRun(format, line, i, out);
    i = end == i ? i + 1 : end;
  }
  return i;
}

bool NoteOfLine(ReEtParser* p, const ReNodeLine& line, char** note) {
  for (u32 i = 0; i < line.count; ++i) {
    u8 code = line.nodes[i].code;
    if (code != ReTagCT && code != ReTagUN) continue;
    ReTextOut out = Scratch(p);
    AssembleAll(p->format, line, i + 1, &out);
    *note = ReCopyText(out.text, out.length);
    return *note != nullptr;
  }
  return true;
}

// Makes the sub-items of a line from node `start` on. A group tag or <D1>
// opens a sub-item; the closing tags </SY>, </HY>, </ID> end the group; every
// other node between sub-items is passed over.
bool MakeItems(ReEtParser* p, const ReNodeLine& line, u32 start, ItemList* list) {
  u8 group = 0;
  bool labelMade = false;
  u32 i = start;
  while (i < line.count) {
    u8 code = line.nodes[i].code;
    u8 tagGroup = ReTagGroup(code);
    if (IsGroupEnd(code)) group = 0;
    if (tagGroup == 0 && code != ReTagD1) {
      ++i;
      continue;
    }
    if (tagGroup) group = tagGroup;

    auto* item = static_cast<ReEtParItem*>(ReHeapAlloc(sizeof(ReEtParItem)));
    if (!item) return false;
    item->group = code == ReTagD1 ? group : tagGroup;
    item->number = ReNoItemNumber;
    if (!Push(list, item)) {
      FreeItem(item);
      return false;
    }
    ReTextOut out = Scratch(p);
    u32 runEnd = ReAssembleRun(p->format, line, i + 1, &out);
    item->text = ReCopyText(out.text, out.length);
    if (!item->text) return false;

    bool crossRun = code == ReTagD1 && (group == 6 || group == 7);
    u32 next = PassTag(line, i);
    if (code == ReTagCR || code == ReTagRW || code == ReTagHR || code == ReTagSE || crossRun) {
      item->second = ReCopyText("*", 1);
      if (!item->second) return false;
      item->star = 1;
      if (code == ReTagSE && next < line.count && line.nodes[next].code == ReTagUS) next = PassTag(line, next);
      if (next < line.count && line.nodes[next].code == ReTagIL) {
        if (next + 1 < line.count && line.nodes[next + 1].code == ReTagTextNode) {
          item->number = ReReadNodeNumber(line, next + 1);
          next += 2;
        } else {
          next += 1;
        }
      }
    } else if (code == ReTagAN || (code == ReTagD1 && labelMade)) {
      if (p->format.kind != 11 && !Label(p, 2, code == ReTagAN ? 3 : 0, false, &item->second)) return false;
      next = i + 2;
      labelMade = true;
    } else if (code == ReTagSY || code == ReTagHY || code == ReTagID || code == ReTagD1) {
      // The definition-like tags right after the sub-item's text give its
      // second text, joined with ", ".
      u32 j = runEnd;
      ReTextOut joined = Scratch(p);
      bool any = false;
      while (j < line.count && IsDefinitionTag(line.nodes[j].code)) {
        if (any) ReTextAppend(&joined, ", ", 2);
        j = ReAssembleRun(p->format, line, j + 1, &joined);
        any = true;
      }
      if (any) {
        item->second = ReCopyText(joined.text, joined.length);
        if (!item->second) return false;
        next = j;
      }
    }
    i = next > i ? next : i + 1;
  }
  return true;
}

// Joins the sub-items of a line onto the entry's array (made anew).
bool JoinItems(ReEtParEntry* entry, ItemList* list) {
  if (list->count == 0) return true;
  u32 total = static_cast<u32>(entry->itemCount) + list->count;
  if (total > 32767) total = 32767;  // the count is 16-bit; the rest is dropped
  auto** items = static_cast<ReEtParItem**>(ReHeapAlloc(total * sizeof(ReEtParItem*)));
  if (!items) return false;
  u32 kept = static_cast<u32>(entry->itemCount);
  if (kept) std::memcpy(items, entry->items, kept * sizeof(ReEtParItem*));
  u32 added = total - kept;
  std::memcpy(items + kept, list->items, added * sizeof(ReEtParItem*));
  for (u32 i = added; i < list->count; ++i) FreeItem(list->items[i]);
  ReHeapFree(list->items);
  *list = ItemList{};
  ReHeapFree(entry->items);
  entry->items = items;
  entry->itemCount = static_cast<i16>(total);
  return true;
}

bool ItemsFrom(ReEtParser* p, const ReNodeLine& line, u32 start, ReEtParEntry* entry) {
  ItemList list;
  if (!MakeItems(p, line, start, &list) || !JoinItems(entry, &list)) {
    FreeList(&list);
    return false;
  }
  return true;
}

bool TextEquals(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

// A sub-item longer than the title whose first word, followed by a blank,
// equals the title's beginning of the same length.
bool FirstWordBeginsTitle(const char* text, const char* title) {
  if (!text || !title) return false;
  size_t textLength = std::strlen(text);
  size_t titleLength = std::strlen(title);
  if (textLength <= titleLength) return false;
  const char* blank = std::strchr(text, ' ');
  if (!blank || blank == text) return false;
  size_t word = static_cast<size_t>(blank - text);
  return word <= titleLength && std::memcmp(text, title, word) == 0;
}

template <typename Test>
bool ChooseFirst(ReEtParResult* result, Test test) {
  for (i16 e = 0; e < result->count; ++e) {
    if (test(result->entries[e])) {
      result->current = e;
      return true;
    }
  }
  return false;
}

template <typename Test>
bool ChooseByItem(ReEtParResult* result, Test test) {
  return ChooseFirst(result, [&](const ReEtParEntry* entry) {
    for (i16 k = 0; k < entry->itemCount; ++k)
      if (test(entry->items[k]->text)) return true;
    return false;
  });
}

}  // namespace

char* ReCopyText(const char* text, u32 length) {
  char* copy = static_cast<char*>(ReHeapAlloc(length + 1));
  if (!copy) return nullptr;
  if (length) std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

void ReInitParser(ReEtParser* parser, const ReTextFormat& format, const ReLabelSource& labels) {
  *parser = ReEtParser{};
  parser->format = format;
  parser->labels = labels;
}

void ReFreeParser(ReEtParser* parser) {
  ReHeapFree(parser->nodes);
  ReHeapFree(parser->scratch);
  parser->nodes = nullptr;
  parser->scratch = nullptr;
  parser->nodeCapacity = parser->scratchCapacity = 0;
}

u32 ReMakeSlotEntry(ReEtParser* p, const char* title, u8 classByte, ReEtParEntry** made) {
  *made = nullptr;
  auto* entry = static_cast<ReEtParEntry*>(ReHeapAlloc(sizeof(ReEtParEntry)));
  if (!entry) return ReFail;
  ReNodeLine line;
  const char* text = title ? title : "";
  bool ok = PrepareLine(p, text, static_cast<u32>(std::strlen(text)), &line);
  if (ok) {
    ReTextOut out = Scratch(p);
    AssembleAll(p->format, line, 0, &out);
    entry->headline = ReCopyText(out.text, out.length);
    ok = entry->headline && Label(p, 1, classByte, true, &entry->label1) && Label(p, 2, 1, false, &entry->label2);
  }
  entry->classCode = 1;
  if (!ok) {
    ReFreeEntry(entry);
    return ReFail;
  }
  *made = entry;
  return ReDone;
}

u32 ReParseEntryLine(ReEtParser* p, const char* text, u32 length, ReEtParEntry* entry) {
  ReNodeLine line;
  if (!PrepareLine(p, text, length, &line)) return ReFail;
  if (!entry->note && !NoteOfLine(p, line, &entry->note)) return ReFail;
  for (u32 i = 0; i < line.count; ++i) {
    u8 code = line.nodes[i].code;
    if (ReTagGroup(code) || code == ReTagD1) return ItemsFrom(p, line, i, entry) ? ReDone : ReFail;
  }
  return ReDone;
}

namespace {

bool MakeTextModeEntry(ReEtParser* p, const ReNodeLine& line, u32 t, ReEtParEntry* entry) {
  u8 code = line.nodes[t].code;
  u8 group = ReTagGroup(code);
  bool afterText = t > 0 && line.nodes[t - 1].code == ReTagTextNode;
  if (!afterText) {
    if (code != ReTagSY) {
      if (!Label(p, 2, group, false, &entry->headline)) return false;
    } else {
      u32 k = t + 1;
      if (k < line.count && line.nodes[k].code == ReTagSE) ++k;
      ReTextOut out = Scratch(p);
      ReAssembleRun(p->format, line, k, &out);
      entry->headline = ReCopyText(out.text, out.length);
      if (!entry->headline) return false;
    }
    if (p->format.kind == 6 && !Label(p, 1, p->posKey, true, &entry->label1)) return false;
  } else {
    u32 first = 0;
    while (line.nodes[first].code != ReTagTextNode) ++first;
    ReTextOut out = Scratch(p);
    u32 runEnd = ReAssembleRun(p->format, line, first, &out);
    entry->headline = ReCopyText(out.text, out.length);
    if (!entry->headline) return false;
    ReTextOut label = Scratch(p);
    for (u32 i = runEnd; i < t; ++i) {
      const ReTagNode& node = line.nodes[i];
      if (node.code != ReTagTextNode) continue;
      if (label.length) ReTextAppend(&label, ", ", 2);
      ReTextAppend(&label, line.text + node.offset, node.length);
    }
    ReFoldAccents(p->format, label.text, label.length);
    if (label.length) {
      entry->label1 = ReCopyText(label.text, label.length);
      if (!entry->label1) return false;
    }
  }
  // A missing string-table record leaves an empty headline, never a null one.
  if (!entry->headline && !(entry->headline = ReCopyText("", 0))) return false;
  entry->classCode = group;
  if (!Label(p, 2, group, false, &entry->label2)) return false;
  if (!NoteOfLine(p, line, &entry->note)) return false;
  return ItemsFrom(p, line, t, entry);
}

}  // namespace

u32 ReParseTextModeLine(ReEtParser* p, const char* text, u32 length, ReEtParResult* result) {
  ReNodeLine line;
  if (!PrepareLine(p, text, length, &line)) return ReFail;
  for (u32 i = 0; i < line.count; ++i) {
    u8 code = line.nodes[i].code;
    if (code == ReTagWD && !result->headword) {
      ReTextOut out = Scratch(p);
      ReAssembleRun(p->format, line, i + 1, &out);
      result->headword = ReCopyText(out.text, out.length);
      if (!result->headword) return ReFail;
    } else if (code == ReTagPS && p->format.kind == 6) {
      if (i + 1 < line.count && line.nodes[i + 1].code == ReTagTextNode)
        p->posKey = static_cast<u16>(ReReadNodeNumber(line, i + 1));
    } else if (ReTagGroup(code)) {
      auto* entry = static_cast<ReEtParEntry*>(ReHeapAlloc(sizeof(ReEtParEntry)));
      if (!entry) return ReFail;
      if (!MakeTextModeEntry(p, line, i, entry) || ReAppendEntry(result, entry) != ReDone) {
        ReFreeEntry(entry);
        return ReFail;
      }
      return ReDone;  // the rest of the line is not read
    }
  }
  return ReDone;
}

u32 ReAppendEntry(ReEtParResult* result, ReEtParEntry* entry) {
  if (result->count == 32767) return ReFail;
  u32 count = static_cast<u32>(result->count);
  auto** entries = static_cast<ReEtParEntry**>(ReHeapAlloc((count + 1) * sizeof(ReEtParEntry*)));
  if (!entries) return ReFail;
  if (count) std::memcpy(entries, result->entries, count * sizeof(ReEtParEntry*));
  entries[count] = entry;
  ReHeapFree(result->entries);
  result->entries = entries;
  result->count = static_cast<i16>(count + 1);
  return ReDone;
}

void ReChooseCurrentEntry(ReEtParResult* result, u16 kind, const ReSelection& s) {
  result->current = 0;
  if (kind != 6) {
    const char* target = s.flag ? s.buffer : s.word;
    if (!s.flag && TextEquals(s.word, result->headword)) return;
    if (!target) return;
    ChooseByItem(result, [&](const char* text) { return TextEquals(text, target); });
    return;
  }
  if (s.flag) {
    ChooseFirst(result, [&](const ReEtParEntry* e) { return TextEquals(e->headline, s.selectionText); });
    return;
  }
  const char* title = s.firstTitle;
  if (!title) return;
  if (ChooseFirst(result, [&](const ReEtParEntry* e) { return TextEquals(e->headline, title); })) return;
  if (ChooseByItem(result, [&](const char* text) { return TextEquals(text, title); })) return;
  ChooseByItem(result, [&](const char* text) { return FirstWordBeginsTitle(text, title); });
}

void ReFreeEntryItems(ReEtParEntry* entry) {
  for (i16 k = 0; k < entry->itemCount; ++k) FreeItem(entry->items[k]);
  ReHeapFree(entry->items);
  entry->items = nullptr;
  entry->itemCount = 0;
}

void ReFreeEntry(ReEtParEntry* entry) {
  if (!entry) return;
  ReFreeEntryItems(entry);
  ReHeapFree(entry->headline);
  ReHeapFree(entry->label1);
  ReHeapFree(entry->label2);
  ReHeapFree(entry->note);
  ReHeapFree(entry);
}

void ReFreeResult(ReEtParResult* result) {
  if (!result) return;
  for (i16 e = 0; e < result->count; ++e) ReFreeEntry(result->entries[e]);
  ReHeapFree(result->entries);
  ReHeapFree(result->string00);
  ReHeapFree(result->headword);
  ReHeapFree(result);
}
