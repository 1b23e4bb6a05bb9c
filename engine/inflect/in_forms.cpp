#include "in_forms.h"

#include <cstring>

#include "in_bytes.h"
#include "in_entries.h"
#include "in_hash.h"
#include "in_load.h"
#include "re_file.h"

namespace {

constexpr u32 NoFileHandle = 0xFFFFFFFFu;

u8 Lower(u8 c) { return c >= 'A' && c <= 'Z' ? static_cast<u8>(c + 32) : c; }
u8 Upper(u8 c) { return c >= 'a' && c <= 'z' ? static_cast<u8>(c - 32) : c; }

void FreeTables(InFormContext* c) {
  InFreeRamTables(c);
  c->ruleMatrix = InFreeTable(c->ruleMatrix);
  c->tableD = InFreeTable(c->tableD);
  c->dskImage = InFreeTable(c->dskImage);
  c->presence = InFreeTable(c->presence);
}

// A phrase that would leave the pool is emptied, so its code stands for nothing.
void EmptyPhrasesOutsidePool(InFormContext* c, u32 poolSize) {
  for (u32 i = 0; i < c->phraseCount; ++i) {
    const u32 offset = InReadU16le(c->phraseOffsets + i * 2);
    if (offset + c->phraseLengths[i] > poolSize) c->phraseLengths[i] = 0;
  }
}

bool LoadRam(InFormContext* c, const char* directory) {
  ReFileHandle file = ReNoFile;
  if (ReOpenDataFile(directory, "enue.ram", &file, ReModeRead) != ReDone) return false;
  u8 header[InFormHeaderSize];
  u32 fileLength = 0;
  bool ok = InFileLength(file, &fileLength) && InReadFully(file, header, sizeof header);
  if (ok) {
    InStoreRamHeader(c, header);
    c->matrixRows = ReBe16(header + 2);
    c->matrixRowBytes = static_cast<u16>((c->ruleCount + 7u) / 8u);
    const u32 poolSize = ReBe16(header + 22);
    const u32 tableDSize = ReBe16(header + 26);
    c->tableDCount = static_cast<u16>(tableDSize / 3);

    // Every size in 32 bits: a table of 64 KiB or more is allocated whole.
    const u32 tagsSize = c->tagCount * 11u;
    const u32 matrixSize = static_cast<u32>(c->matrixRows) * c->matrixRowBytes;
    const u32 tableASize = c->tableACount * 20u;
    const u32 endingsSize = c->endingCount * InFormEndingSize;
    const u32 ruleValuesSize = c->ruleCount * 4u;
    const u32 keysSize = c->recordCount * InKeySize;
    const u32 offsetsSize = c->phraseCount * 2u;
    const u32 lengthsSize = c->phraseCount;
    const u32 declared = tableASize + endingsSize + tagsSize + matrixSize + ruleValuesSize + tableDSize + poolSize +
                         offsetsSize + lengthsSize + keysSize;
    ok = fileLength >= InFormHeaderSize && declared <= fileLength - InFormHeaderSize;

    bool failed = false;
    if (ok) {
      c->tags = InAllocTable(tagsSize, &failed);
      c->ruleMatrix = InAllocTable(matrixSize, &failed);
      c->tableA = InAllocTable(tableASize, &failed);
      c->endings = InAllocTable(endingsSize, &failed);
      InAllocRuleValues(c, &failed);
      c->recordKeys = InAllocTable(keysSize, &failed);
      c->phraseOffsets = InAllocTable(offsetsSize, &failed);
      c->phraseLengths = InAllocTable(lengthsSize, &failed);
      c->phrasePool = InAllocTable(poolSize, &failed);
      c->tableD = InAllocTable(tableDSize, &failed);
      ok = !failed;
    }
    ok = ok && InReadFully(file, c->tableA, tableASize) && InReadFully(file, c->endings, endingsSize) &&
         InReadFully(file, c->tags, tagsSize) && InReadFully(file, c->ruleMatrix, matrixSize) &&
         InReadFully(file, c->ruleValues, ruleValuesSize) && InReadFully(file, c->tableD, tableDSize) &&
         InReadFully(file, c->phrasePool, poolSize) && InReadFully(file, c->phraseOffsets, offsetsSize) &&
         InReadFully(file, c->phraseLengths, lengthsSize) && InReadFully(file, c->recordKeys, keysSize);
    if (ok) EmptyPhrasesOutsidePool(c, poolSize);
  }
  ReCloseDataFile(file);
  return ok;
}

bool LoadPresence(InFormContext* c, const char* directory) {
  ReFileHandle file = ReNoFile;
  if (ReOpenDataFile(directory, "hash.dat", &file, ReModeRead) != ReDone) return false;
  c->presenceSize = static_cast<i16>(InPresenceSize);
  bool failed = false;
  c->presence = InAllocTable(InPresenceSize, &failed);
  const bool ok = !failed && InReadFully(file, c->presence, InPresenceSize);
  ReCloseDataFile(file);
  return ok;
}

bool LoadRecords(InFormContext* c, const char* directory) {
  ReFileHandle file = ReNoFile;
  if (ReOpenDataFile(directory, "enue.dsk", &file, ReModeRead) != ReDone) return false;
  c->dskFile = static_cast<u32>(file);
  const u32 size = static_cast<u32>(c->recordLength) * c->recordCount;
  u32 fileLength = 0;
  bool failed = false;
  bool ok = InFileLength(file, &fileLength) && size <= fileLength;
  if (ok) c->dskImage = InAllocTable(size, &failed);
  ok = ok && !failed && InReadFully(file, c->dskImage, size);
  ReCloseDataFile(file);
  c->dskFile = NoFileHandle;
  return ok;
}

bool SamePair(const InFormContext* c, u32 slot, u16 first, u16 second) {
  return c->formFirstValues[slot] == first && c->formSecondValues[slot] == second;
}

// Appends a form with its rule pair. A form of 40 characters or more is
// skipped, not cut: a shortened form would be another word.
void AppendForm(InFormContext* c, const char* form, u32 length, u16 rule) {
  if (c->formCount >= InFormSlots || length >= InFormSlotSize || rule >= c->ruleCount) return;
  const u16 slot = c->formCount++;
  std::memcpy(c->forms[slot], form, length);
  c->forms[slot][length] = '\0';
  c->formFirstValues[slot] = ReBe16(c->firstValues + rule * 2u);
  c->formSecondValues[slot] = ReBe16(c->secondValues + rule * 2u);
}

// The entry scan's visitor: matches each kind-3 or kind-4 entry's target
// (entry word, cut, suffix) against the word.
class FormMatcher : public InEntryVisitor {
 public:
  FormMatcher(InFormContext* context, const char* word) : c_(context), word_(word), length_(std::strlen(word)) {}

  bool Visit(InEntry& e) override {
    if ((e.kind != 3 && e.kind != 4) || c_->lemmaLookup != 1) return true;
    if (e.length > 0) e.word[0] = static_cast<char>(e.capitalised ? Upper(e.word[0]) : Lower(e.word[0]));
    const u32 cut = e.cut < e.length ? e.cut : e.length;
    const u32 kept = e.length - cut;
    char target[2 * InMaxEntryWord + 1];
    std::memcpy(target, e.word, kept);
    std::memcpy(target + kept, e.suffix, e.suffixLength);
    const u32 targetLength = kept + e.suffixLength;
    target[targetLength] = '\0';
    if (targetLength > 0) {
      const u8 first = static_cast<u8>(target[0]);
      target[0] = static_cast<char>(e.capitalised && cut != e.length ? Upper(first) : Lower(first));
    }
    if (targetLength == length_ && std::memcmp(target, word_, length_) == 0) {
      AppendForm(c_, e.word, e.length, e.rule);
      return true;
    }
    if (length_ == 0) return true;
    // Targets ascend through the scan: stop once they pass the word.
    for (u32 i = 0; i < length_ && i < targetLength; ++i) {
      const u8 w = Lower(static_cast<u8>(word_[i]));
      const u8 t = Lower(static_cast<u8>(target[i]));
      if (w != t) return w > t;
    }
    return true;
  }

 private:
  InFormContext* c_;
  const char* word_;
  u32 length_;
};

// Compares the first `letters` letters of a reversed ending with the word
// read from its end, over at most the word's length.
int CompareEnding(const u8* ending, const char* word, u32 wordLength, u32 letters) {
  for (u32 i = 0; i < letters && i < wordLength; ++i) {
    const int difference = static_cast<int>(ending[i]) - static_cast<u8>(word[wordLength - 1 - i]);
    if (difference != 0) return difference;
  }
  return 0;
}

u32 TextLength(const u8* text) {
  u32 length = 0;
  while (length < InFormEndingText && text[length]) ++length;
  return length;
}

const u8* EndingRecord(const InFormContext* c, i32 index) { return c->endings + index * InFormEndingSize; }

}  // namespace

void InGenerateForms(InFormContext* c, const char* word) {
  if (!c->recordKeys || c->recordCount == 0 || !c->dskImage) return;
  char key[InKeySize + 2] = {};
  for (u32 i = 0; i < InKeySize + 1 && word[i]; ++i) key[i] = static_cast<char>(Lower(static_cast<u8>(word[i])));
  const InRecordRange range = InFindRecords(c->recordKeys, c->recordCount, key);
  const InPhrases phrases{c->phraseOffsets, c->phraseLengths, c->phrasePool, c->phraseCount, 0xFFFFFFFFu};
  FormMatcher matcher(c, word);
  for (i32 record = range.first; record <= range.last; ++record) {
    const u8* bytes = c->dskImage + static_cast<u32>(record) * c->recordLength;
    if (!InDecodeRecord(bytes, c->recordLength, c->codeWidth, phrases, nullptr, matcher)) break;
  }
}

i32 InFindEnding(const InFormContext* c, const char* word) {
  if (!c->endings || c->endingCount == 0) return -1;
  const u32 wordLength = static_cast<u32>(std::strlen(word));
  i32 lo = 0;
  i32 hi = c->endingCount - 1;
  i32 best = 0;
  for (u32 letters = 1; letters <= InFormEndingText; ++letters) {
    i32 a = lo - 1;
    i32 b = hi;
    while (b - a > 1) {
      const i32 m = (a + b) / 2;
      if (CompareEnding(EndingRecord(c, m) + 2, word, wordLength, letters) < 0)
        a = m;
      else
        b = m;
    }
    lo = b;
    a = lo;
    b = hi + 1;
    while (b - a > 1) {
      const i32 m = (a + b) / 2;
      if (CompareEnding(EndingRecord(c, m) + 2, word, wordLength, letters) > 0)
        b = m;
      else
        a = m;
    }
    hi = a;
    const u8* ending = EndingRecord(c, lo) + 2;
    u32 matched = 0;
    while (matched < letters && matched < wordLength &&
           ending[matched] == static_cast<u8>(word[wordLength - 1 - matched]))
      ++matched;
    if (matched == letters) {
      if (TextLength(ending) == letters) best = lo;
    } else if (lo == hi) {
      break;
    }
  }
  return best;
}

u32 InLoadForms(InFormContext* context, const char* directory) {
  context->dskFile = NoFileHandle;
  if (LoadRam(context, directory) && LoadPresence(context, directory) && LoadRecords(context, directory)) return ReDone;
  FreeTables(context);
  return InInitFailed;
}

void InFreeForms(InFormContext* context) { FreeTables(context); }

u32 InInflectForms(const char* word, InFormContext* context) {
  u32 before = 0;
  // The presence table is always 8192 bytes; a size field changed by the caller cannot widen it.
  const i16 size = context->presenceSize;
  const u32 presenceSize = size > 0 && size <= static_cast<i16>(InPresenceSize) ? static_cast<u32>(size) : 0;
  if (InIsKnownWord(context->presence, presenceSize, word)) {
    InGenerateForms(context, word);
    before = context->formCount < InFormSlots ? context->formCount : InFormSlots;
  }
  const i32 found = *word ? InFindEnding(context, word) : -1;
  if (found >= 0) {
    const u8* record = EndingRecord(context, found);
    const u32 wordLength = static_cast<u32>(std::strlen(word));
    const u32 endingLength = TextLength(record + 2);
    const u16 rule = ReBe16(record);
    if (endingLength <= wordLength && CompareEnding(record + 2, word, wordLength, endingLength) == 0 &&
        rule < context->ruleCount) {
      const u16 first = ReBe16(context->firstValues + rule * 2u);
      const u16 second = ReBe16(context->secondValues + rule * 2u);
      bool taken = false;
      for (u32 i = 0; i < before && !taken; ++i) taken = SamePair(context, i, first, second);
      const u32 replacementLength = TextLength(record + 11);
      const u32 stem = wordLength - endingLength;
      if (!taken && stem + replacementLength < InFormSlotSize) {
        char form[InFormSlotSize];
        std::memcpy(form, word, stem);
        std::memcpy(form + stem, record + 11, replacementLength);
        if (stem + replacementLength == 0)
          AppendForm(context, word, wordLength, rule);
        else
          AppendForm(context, form, stem + replacementLength, rule);
      }
    }
  }
  return context->formCount != 0 ? InFormsFound : InNoForms;
}
