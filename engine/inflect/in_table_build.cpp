// The conjugation and declension tables of a word (INflect).
#include <cstring>

#include "in_analysis.h"
#include "in_charmap.h"
#include "in_descriptor.h"
#include "in_entries.h"
#include "in_table.h"
#include "re_charclass.h"
#include "re_platform.h"

namespace {

constexpr u32 ElisionBits = ReClassH | ReClassVowel;  // bits 0x90 of a class's fourth byte
constexpr u32 FrenchCompoundFirst = 7;
constexpr u32 FrenchImperative = 14;
constexpr u32 FrenchSimpleTenses = 7;

// Copies `text` into a field of `size` bytes; false (field unchanged) when it does not fit.
bool SetText(char* field, u32 size, const char* text) {
  const size_t length = std::strlen(text);
  if (length >= size) return false;
  std::memcpy(field, text, length + 1);
  return true;
}

// field = a + b; either may be the field itself.
bool Concat(char* field, u32 size, const char* a, const char* b) {
  const size_t first = std::strlen(a);
  const size_t second = std::strlen(b);
  if (first + second >= size) return false;
  std::memmove(field + first, b, second + 1);
  if (a != field) std::memmove(field, a, first);
  return true;
}

u8 LowerByte(const InTableContext* c, u8 byte) { return InLowerByte(byte, c->charClasses); }

bool EqualLowered(const InTableContext* c, const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (LowerByte(c, static_cast<u8>(*a)) != LowerByte(c, static_cast<u8>(*b))) return false;
    if (*a == '\0') return true;
  }
}

// Whether a word's first letter allows elision (a vowel or h).
bool Elides(const InTableContext* c, const char* word) {
  const u8 first = static_cast<u8>(word[0]);
  if (first == 0) return false;
  if (c->charClasses) return (c->charClasses[first] & ElisionBits) != 0;
  return std::strchr("aeiouhAEIOUH", first) != nullptr;
}

bool IsH(u8 letter) { return letter == 'h' || letter == 'H'; }

// Letters of a table-C record from `offset` up to a blank (at most 11).
void TagText(const InTableContext* c, u16 value, u32 offset, char* out) {
  out[0] = '\0';
  if (!c->tags || value >= c->tagCount) return;
  const u8* record = c->tags + value * InTagRecordSize;
  u32 n = 0;
  for (u32 i = offset; i < InTagRecordSize && record[i] != ' ' && record[i] != '\0'; ++i)
    out[n++] = static_cast<char>(record[i]);
  out[n] = '\0';
}

// The descriptor tag that a table-C tag begins with.
const InDescriptorTag* MatchTag(const InDescriptor& d, const char* tag) {
  for (u32 i = 0; i < d.tagCount; ++i) {
    const size_t length = std::strlen(d.tags[i].tag);
    if (std::strncmp(tag, d.tags[i].tag, length) == 0) return &d.tags[i];
  }
  return nullptr;
}

// A candidate belongs to a record when the tag of its second value begins with the record's tag.
bool Belongs(const InTableContext* c, const InTableRecord& r, u16 secondValue) {
  char tag[InTagSize];
  TagText(c, secondValue, 0, tag);
  return std::strncmp(tag, r.tag, std::strlen(r.tag)) == 0;
}

class TableBuilder {
 public:
  TableBuilder(InTableContext* c, const InDescriptor& d) : c_(c), d_(d), labels_(InChooseLabels(d, c->labelLanguage)) {}

  // Step 6: one record per (base word, descriptor tag). False on a memory failure.
  bool CreateRecords(const char* lookup) {
    bool used[InMaxCandidates] = {};
    const i16 count = c_->candidateCount;
    for (int pass = 0; pass < 3; ++pass) {
      for (i16 i = 0; i < count; ++i) {
        if (used[i]) continue;
        const char* word = c_->candidates[i];
        if (pass == 0 && std::strcmp(word, lookup) != 0) continue;
        if (pass == 1 && !EqualLowered(c_, word, lookup)) continue;
        used[i] = true;
        char tag[InTagSize];
        TagText(c_, c_->candidateFirstValues[i], 0, tag);
        const InDescriptorTag* known = MatchTag(d_, tag);
        if (!known) continue;
        InTableRecord* record = Find(word, known->tag);
        if (!record) {
          if (c_->tableCount >= static_cast<i16>(InMaxTables)) continue;
          record = Create(word, *known);
          if (!record) return false;
        }
        record->verbFlags |= c_->candidateFirstBytes[i];
        record->flags |= c_->candidateSecondBytes[i];
      }
    }
    return true;
  }

  // Step 7: the forms of each record's word into its cells, then the cell texts.
  void Fill() {
    for (i16 t = 0; t < c_->tableCount; ++t) {
      InTableRecord& r = *c_->tables[t];
      InAnalyzeTableWord(c_, r.word, InModeFill);
      for (i16 k = 0; k < c_->candidateCount; ++k) {
        if (!Belongs(c_, r, c_->candidateSecondValues[k])) continue;
        char code[InTagSize];
        TagText(c_, c_->candidateFirstValues[k], static_cast<u32>(r.codeOffset), code);
        if (std::strcmp(code, "N1") == 0) std::strcpy(code, "NN");
        InForEachPlace(d_, code, r.wordClass, [&](const InPlace& place) {
          for (u8 i = 0; i < place.cellCount; ++i) Place(r, place, place.cells[i], code, k);
        });
      }
      if (r.wordClass == InClassVerb) {
        if (d_.tableIndex == InFrench)
          FillFrenchCompounds(r);
        else
          FillEnglishCompounds(r);
      }
      ComposeTexts(r);
      SetMarkers(r);
    }
  }

 private:
  InTableRecord* Find(const char* word, const char* tag) {
    for (i16 t = 0; t < c_->tableCount; ++t)
      if (std::strcmp(c_->tables[t]->word, word) == 0 && std::strcmp(c_->tables[t]->tag, tag) == 0)
        return c_->tables[t];
    return nullptr;
  }

  InTableRecord* Create(const char* word, const InDescriptorTag& tag) {
    const u8 wordClass = tag.wordClass;
    const u32 lines = d_.rows[wordClass];
    auto* record = static_cast<InTableRecord*>(ReHeapAlloc(sizeof(InTableRecord)));
    if (!record) return nullptr;
    record->lines = static_cast<InTableLine*>(ReHeapAlloc(lines * sizeof(InTableLine)));
    if (wordClass == InClassVerb)
      record->titles = static_cast<InTableCell*>(ReHeapAlloc(InTitleCells * sizeof(InTableCell)));
    if (!record->lines || (wordClass == InClassVerb && !record->titles)) {
      ReHeapFree(record->lines);
      ReHeapFree(record->titles);
      ReHeapFree(record);
      return nullptr;
    }
    SetText(record->word, InWordSize, word);
    SetText(record->tag, InTagSize, tag.tag);
    record->codeOffset = d_.codeOffset;
    record->wordClass = wordClass;
    SetText(record->title, InTitleSize, labels_.classTitles[wordClass]);
    SetText(record->abbreviation, InAbbreviationSize, labels_.classAbbreviations[wordClass]);
    record->lineCount = static_cast<i16>(lines);
    for (u32 i = 0; i < lines; ++i) {
      InTableLine& line = record->lines[i];
      SetText(line.text, InTitleSize, wordClass == InClassVerb ? labels_.tenses[i] : labels_.classRows[wordClass]);
      line.cellCount = d_.cells[wordClass];
    }
    record->titleCount = wordClass == InClassVerb ? static_cast<i16>(InTitleCells) : 0;
    c_->tables[c_->tableCount++] = record;
    return record;
  }

  bool Reflexive(const InTableCell& cell) const { return (cell.flags & InCellReflexive) || c_->builderFlag; }

  // Places a candidate's word in one cell.
  void Place(InTableRecord& r, const InPlace& place, u8 index, const char* code, i16 k) {
    const bool title = place.line == InTitleLine;
    if (title ? index >= r.titleCount : (place.line >= r.lineCount || index >= r.lines[place.line].cellCount)) return;
    InTableCell& cell = title ? r.titles[index] : r.lines[place.line].cells[index];
    if (cell.formCount >= static_cast<i16>(InCellForms)) return;
    cell.flags |= c_->candidateFirstBytes[k];
    const u8 variant = c_->candidateSecondBytes[k];
    char form[InFormSize + 4];
    if (!SetText(form, sizeof form, c_->candidates[k])) return;
    const bool infinitive = title && index == 0 && r.wordClass == InClassVerb;
    if (infinitive && d_.tableIndex == InEnglish) {
      if (!Concat(form, sizeof form, "to ", form)) return;
    } else if (infinitive && d_.tableIndex == InFrench && Reflexive(cell)) {
      const bool elide = Elides(c_, form) && !(IsH(static_cast<u8>(form[0])) && (cell.flags & InCellNoElision));
      if (!Concat(form, sizeof form, elide ? "s'" : "se ", form)) return;
    }
    if (d_.tableIndex == InFrench && std::strcmp(code, "vvs2") == 0 && Reflexive(cell)) {
      const size_t length = std::strlen(form);
      if (length > 0 && form[length - 1] == 's')
        form[length - 1] = '\0';
      else if (!Concat(form, sizeof form, form, "s"))
        return;
    }
    if (std::strlen(form) >= InFormSize) return;
    for (i16 f = 0; f < cell.formCount; ++f) {
      if (std::strcmp(cell.forms[f], form) == 0) {
        cell.formFlags[f] |= variant;
        return;
      }
    }
    SetText(cell.forms[cell.formCount], InFormSize, form);
    cell.formFlags[cell.formCount] = variant;
    ++cell.formCount;
  }

  static void CopyForms(InTableCell& to, const InTableCell& from) {
    to.formCount = from.formCount;
    std::memcpy(to.forms, from.forms, sizeof to.forms);
    std::memcpy(to.formFlags, from.formFlags, sizeof to.formFlags);
  }

  // Compound tenses: for each person with a form in a simple tense, the past
  // participle (its plural for the plural persons of a verb taking etre).
  void FillFrenchCompounds(InTableRecord& r) {
    if (r.lineCount <= static_cast<i16>(FrenchImperative) || r.titleCount < static_cast<i16>(InTitleCells)) return;
    const bool agrees = (r.verbFlags & InCellEtre) || c_->builderFlag;
    for (u32 tense = 0; tense < FrenchSimpleTenses; ++tense) {
      for (u32 p = 0; p < InLineCells; ++p) {
        const InTableCell& simple = r.lines[tense].cells[p];
        if (simple.formCount == 0) continue;
        InTableCell& compound = r.lines[FrenchCompoundFirst + tense].cells[p];
        const InTableCell& plural = r.titles[3];
        CopyForms(compound, p >= 3 && agrees && plural.formCount > 0 ? plural : r.titles[2]);
        compound.flags = simple.flags;
      }
    }
  }

  // English compound rows: a title cell's forms after pronoun and auxiliary.
  void FillEnglishCompounds(InTableRecord& r) {
    for (u32 i = 0; i < d_.compoundRowCount; ++i) {
      const InCompoundRow& row = d_.compoundRows[i];
      if (row.line >= r.lineCount || row.source >= r.titleCount) continue;
      const InTableCell& source = r.titles[row.source];
      if (source.formCount == 0) continue;
      for (u32 p = 0; p < InLineCells; ++p) {
        InTableCell& cell = r.lines[row.line].cells[p];
        CopyForms(cell, source);
        Concat(cell.text, InCellTextSize, d_.subjects[p], row.auxiliaries[p]);
      }
    }
  }

  // The words before a French verb form for person p in tense t.
  void FrenchVerbText(InTableCell& cell, u32 p, u32 t) {
    const bool reflexive = Reflexive(cell);
    const bool compound = t >= FrenchCompoundFirst && t < FrenchImperative;
    const char* auxiliary = nullptr;
    bool elide = false;
    if (compound) {
      const bool etre = (cell.flags & InCellEtre) || reflexive;
      auxiliary = etre ? d_.etre[t - FrenchCompoundFirst][p] : d_.avoir[t - FrenchCompoundFirst][p];
      elide = Elides(c_, auxiliary);
    } else {
      elide = Elides(c_, cell.forms[0]) && !(cell.flags & InCellNoElision);
    }
    char text[64] = "";
    if (t < FrenchImperative && (t % 7 == 4 || t % 7 == 6)) std::strcat(text, p == 2 || p == 5 ? "qu'" : "que ");
    if (!reflexive) {
      std::strcat(text, elide && d_.elidedSubjects[p] ? d_.elidedSubjects[p] : d_.subjects[p]);
    } else {
      std::strcat(text, d_.subjects[p]);
      std::strcat(text, elide && d_.elidedReflexives[p] ? d_.elidedReflexives[p] : d_.reflexives[p]);
    }
    if (compound) {
      std::strcat(text, auxiliary);
      std::strcat(text, " ");
    }
    SetText(cell.text, InCellTextSize, text);
  }

  void ComposeTexts(InTableRecord& r) {
    for (i16 i = 0; i < r.titleCount; ++i)
      if (r.titles[i].formCount > 0) SetText(r.titles[i].text, InCellTextSize, labels_.titleLabels[i]);
    for (i16 l = 0; l < r.lineCount; ++l) {
      InTableLine& line = r.lines[l];
      for (i16 p = 0; p < line.cellCount; ++p) {
        InTableCell& cell = line.cells[p];
        if (cell.formCount == 0 || cell.text[0] != '\0') continue;
        if (r.wordClass == InClassNoun)
          SetText(cell.text, InCellTextSize, labels_.nounCells[p]);
        else if (r.wordClass == InClassAdjective)
          SetText(cell.text, InCellTextSize, labels_.adjectiveCells[p]);
        else if (d_.tableIndex == InFrench)
          FrenchVerbText(cell, static_cast<u32>(p), static_cast<u32>(l));
        else
          SetText(cell.text, InCellTextSize, d_.subjects[p]);
      }
    }
  }

  void MarkCell(const InTableRecord& r, InTableCell& cell, bool infinitive) {
    for (i16 f = 0; f < cell.formCount; ++f) {
      const u8 flags = cell.formFlags[f];
      cell.markers[f][0] = '\0';
      if (r.wordClass == InClassVerb && !infinitive && flags == r.flags && flags != d_.defaultFlags) continue;
      for (u32 m = 0; m < d_.markerMapCount; ++m)
        if (d_.markerMap[m].flags == flags)
          SetText(cell.markers[f], InMarkerSize, labels_.markers[d_.markerMap[m].marker]);
    }
  }

  void SetMarkers(InTableRecord& r) {
    for (i16 i = 0; i < r.titleCount; ++i) MarkCell(r, r.titles[i], i == 0);
    for (i16 l = 0; l < r.lineCount; ++l)
      for (i16 p = 0; p < r.lines[l].cellCount; ++p) MarkCell(r, r.lines[l].cells[p], false);
  }

  InTableContext* c_;
  const InDescriptor& d_;
  const InLabelSet& labels_;
};

void MapCell(u8 index, InTableCell& cell) {
  InMapString(index, InToCaller, cell.text);
  for (u32 f = 0; f < InCellForms; ++f) {
    InMapString(index, InToCaller, cell.forms[f]);
    InMapString(index, InToCaller, cell.markers[f]);
  }
}

// Step 8: every string of every record back into the caller's code.
void MapRecordsBack(InTableContext* c) {
  const u8 index = c->charTableIndex;
  for (i16 t = 0; t < c->tableCount; ++t) {
    InTableRecord& r = *c->tables[t];
    InMapString(index, InToCaller, r.word);
    InMapString(index, InToCaller, r.title);
    InMapString(index, InToCaller, r.abbreviation);
    for (i16 l = 0; l < r.lineCount; ++l) {
      InMapString(index, InToCaller, r.lines[l].text);
      for (u32 p = 0; p < InLineCells; ++p) MapCell(index, r.lines[l].cells[p]);
    }
    for (i16 i = 0; i < r.titleCount; ++i) MapCell(index, r.titles[i]);
  }
}

void MapCandidatesBack(InTableContext* c) {
  for (i16 i = 0; i < c->candidateCount; ++i) InMapString(c->charTableIndex, InToCaller, c->candidates[i]);
}

// Modes 0 and 1, the engine's nested use: analysis only.
u32 AnalyzeOnly(InTableContext* c, char* lookup) {
  u32 result = InAnalyzeTableWord(c, lookup, c->mode);
  if (result == InNotFound && c->mode == InModeBuild) result = InAnalyzeFallback(c, lookup);
  MapCandidatesBack(c);
  return result;
}

u32 Finish(InTableContext* c, u32 result) {
  c->mode = InModeReady;
  return result;
}

}  // namespace

void InFreeTableRecords(InTableContext* c) {
  for (u32 t = 0; t < InMaxTables; ++t) {
    InTableRecord* record = c->tables[t];
    if (!record) continue;
    ReHeapFree(record->lines);
    ReHeapFree(record->titles);
    ReHeapFree(record);
    c->tables[t] = nullptr;
  }
  c->tableCount = 0;
}

u32 InBuildTables(const char* word, InTableContext* context) {
  InTableContext* c = context;

  // The lookup word in the data's code; a word of more than 80 characters is not looked up.
  char lookup[InWordSize] = "";
  const size_t length = std::strlen(word);
  const bool fits = length < InWordSize;
  if (fits && InMapText(c->charTableIndex, InToData, word, static_cast<i32>(length), lookup) != ReDone)
    std::memcpy(lookup, word, length + 1);
  if (c->mode != InModeReady) return fits ? AnalyzeOnly(c, lookup) : InNotFound;

  c->builderFlag = 0;
  const InDescriptor* descriptor = c->descriptorPresent ? InFindDescriptor(c->charTableIndex) : nullptr;
  if (!descriptor) return InNoDescriptor;
  InFreeTableRecords(c);
  c->baseWord[0] = '\0';
  c->mode = InModeBuild;
  if (!fits) return Finish(c, InNotFound);

  u32 result = InAnalyzeTableWord(c, lookup, InModeBuild);
  if (result == InNotFound) result = InAnalyzeFallback(c, lookup);
  if (result != InBuilt) return Finish(c, InNotFound);
  SetText(c->baseWord, InWordSize, lookup);
  InMapString(c->charTableIndex, InToCaller, c->baseWord);

  TableBuilder builder(c, *descriptor);
  if (!builder.CreateRecords(lookup)) {
    InFreeTableRecords(c);
    c->error = InErrorMemory;
    return Finish(c, InNoTable);
  }
  if (c->tableCount == 0) return Finish(c, InNoTable);
  c->mode = InModeFill;
  builder.Fill();
  MapRecordsBack(c);
  return Finish(c, InBuilt);
}
