#include "re_synonyms.h"

#include <cstring>

#include "re_decoder.h"
#include "re_file.h"
#include "re_platform.h"
#include "re_text_calls.h"
#include "re_text_work.h"
#include "re_word_index.h"

namespace {

constexpr u8 kTypeHeadword = 0, kTypeClass = 1, kTypeSynonym = 7;

// Decodes block `block` of the main word index (list-number reading) up to
// its record `place`: the member's word with its capitals, class byte and
// next member.
bool ReadMember(const ReIndexDescriptor* index, ReFileHandle file, u32 block, u32 place, ReRingMember* member,
                u32 wordSize) {
  const u32 blockSize = index->blockSize;
  if (!blockSize) return false;
  u8* bytes = static_cast<u8*>(ReHeapAlloc(blockSize));
  if (!bytes) return false;
  u32 got = 0;
  const u64 at = static_cast<u64>(index->indexBase) + static_cast<u64>(block) * blockSize;
  bool found = false;
  if (at <= 0x7FFFFFFF && ReSeekDataFile(file, static_cast<i32>(at), 0) == ReDone &&
      ReReadBytes(file, static_cast<i32>(blockSize), bytes, &got) == ReDone && got == blockSize) {
    ReIndexBlockDecoder decoder;
    decoder.Begin(*index, bytes, static_cast<u16>(block), ReReadingListNumber);
    const ReIndexWord* word = decoder.Next();
    for (u32 record = 0; word && record < place; ++record) word = decoder.Next();
    if (word && word->listNumber > 0) {
      char spelled[ReWordCapacity + 1];
      ReRestoreCase(*index, *word, ReCaseLower, spelled);
      const u32 copy = word->length < wordSize - 1 ? word->length : wordSize - 1;
      std::memcpy(member->word, spelled, copy);
      member->word[copy] = 0;
      member->wordLength = copy;
      member->classByte = word->hasExtension ? word->classByte : 0;
      member->next = static_cast<u32>(word->listNumber);
      found = true;
    }
  }
  ReHeapFree(bytes);
  return found;
}

// Text and tokens of one chunk or text under construction.
class RingText {
 public:
  RingText(char* text, u32 textRoom, ReToken* tokens, u32 tokenRoom)
      : text_(text), textRoom_(textRoom), tokens_(tokens), tokenRoom_(tokenRoom) {}
  // Text stays below the room less one byte; at most tokenRoom tokens.
  bool Fits(u32 bytes, u32 tokens) const { return length_ + bytes + 1 < textRoom_ && count_ + tokens <= tokenRoom_; }
  void Put(const char* text, u32 length) {
    std::memcpy(text_ + length_, text, length);
    length_ += length;
  }
  void Put(const char* text) { Put(text, static_cast<u32>(std::strlen(text))); }
  // Puts text and a token over it.
  void Token(const char* text, u32 length, u8 type, u8 flags) {
    ReToken token{};
    token.text = text_ + length_;
    token.length = static_cast<u8>(length);
    token.type = type;
    token.flags = flags;
    std::memcpy(&tokens_[count_++], &token, sizeof token);
    Put(text, length);
  }
  u32 length() const { return length_; }
  u32 count() const { return count_; }

 private:
  char* text_;
  u32 textRoom_;
  ReToken* tokens_;
  u32 tokenRoom_;
  u32 length_ = 0;
  u32 count_ = 0;
};

u32 ClassNumber(u8 classByte, char* out) { return ReFormatCounter(ReOpDecimal, classByte & 0x3F, out); }

enum Built { kRingDone, kRingFull, kRingFailed, kRingNoMemory };

// Walks the ring from `first`, handing each member to `add` (which returns
// false when it does not fit).
template <class Add>
Built WalkRing(const ReDbRecord* record, ReWorkRecord* work, u32 first, Add add, bool* closed) {
  *closed = false;
  // The index decoder hands out words of at most ReWordCapacity characters.
  const u32 wordSize = ReWordCapacity + 1u;
  char* word = static_cast<char*>(ReHeapAlloc(wordSize));
  if (!word) return kRingNoMemory;
  Built result = kRingDone;
  u32 entry = first;
  for (u32 i = 0;; ++i) {
    ReRingMember member{};
    member.word = word;
    if (ReReadRingMember(record, work, entry, &member, wordSize) != ReDone) {
      result = kRingFailed;
      break;
    }
    if (!add(i, member)) {
      result = kRingFull;
      break;
    }
    if (member.next == first) {
      *closed = true;
      break;
    }
    entry = member.next;
  }
  ReHeapFree(word);
  return result;
}

// Writes the ring from `first` into `out` through `add`, and ends a whole
// ring with "</SY>" (without room for it, the ring is full).
template <class Add>
Built WriteRing(const ReDbRecord* record, ReWorkRecord* work, u32 first, RingText* out, Add add, bool* closed) {
  const Built built = WalkRing(record, work, first, add, closed);
  if (built != kRingDone || !*closed) return built;
  if (!out->Fits(5, 0)) return kRingFull;
  out->Put("</SY>");
  return built;
}

void Report(Built built, bool closed, ReStatusBlock* status) {
  if (built == kRingNoMemory) ReSetStatus(status, ReSevError, ReErrMemory, ReModSynonyms);
  if (built == kRingFailed) ReSetStatus(status, ReSevError, ReErrMemberDecode, ReModSynonyms);
  if (built == kRingFull) ReSetStatus(status, ReSevWarning, ReWarnSynonymsFull, ReModSynonyms);
  if (built == kRingDone && closed) ReSetStatus(status, ReSevWarning, ReWarnEntryEnd, ReModSynonyms);
}

}  // namespace

u32 ReReadRingMember(const ReDbRecord* record, ReWorkRecord* work, u32 entry, ReRingMember* member, u32 wordSize) {
  const ReIndexDescriptor* index = record->index;
  if (!index || !index->blockValues || !index->blockValueCount || !member->word || wordSize < 2) return ReFail;
  const u32* before = index->blockValues;
  const u32 blocks = index->blockValueCount < index->blockCount ? index->blockValueCount : index->blockCount;
  if (!blocks || entry <= before[0]) return ReFail;
  // The last block whose count of entries before it is below the entry.
  u32 low = 0, high = blocks;
  while (high - low > 1) {
    const u32 mid = (low + high) / 2;
    if (before[mid] < entry) {
      low = mid;
    } else {
      high = mid;
    }
  }
  member->entry = entry;
  return ReadMember(index, work->file, low, entry - before[low] - 1, member, wordSize) ? ReDone : ReFail;
}

void ReSynonymChunk(const ReDbRecord* record, ReWorkRecord* work, ReTokenBlock* block, ReStatusBlock* status) {
  block->textLength = 0;
  block->tokenCount = 0;
  const u32 capacity = ReTokenCapacity(block);
  if (capacity < 2) {
    ReSetStatus(status, ReSevWarning, ReWarnSynonymsFull, ReModSynonyms);
    return;
  }
  // At most capacity - 1 tokens and 8 x capacity - 1 bytes of text.
  RingText out(block->text, 8 * capacity, block->tokens, capacity - 1);
  auto add = [&](u32 i, const ReRingMember& m) {
    char number[4];
    const u32 digits = ClassNumber(m.classByte, number);
    if (i == 0) {
      if (!out.Fits(4 + m.wordLength + 5 + digits + 1, 2)) return false;
      out.Put("<DS>");
      out.Token(m.word, m.wordLength, kTypeHeadword, ReTokWordBoundary | ReTokTypeChange);
      out.Put("\n<PS>");
      out.Token(number, digits, kTypeClass, ReTokWordBoundary | ReTokTypeChange);
      out.Put("\n");
    } else if (i == 1) {
      if (!out.Fits(4 + m.wordLength, 1)) return false;
      out.Put("<SY>");
      out.Token(m.word, m.wordLength, kTypeSynonym, ReTokWordBoundary | ReTokTypeChange);
    } else {
      if (!out.Fits(1 + m.wordLength, 2)) return false;
      out.Token(",", 1, kTypeSynonym, 0);
      out.Token(m.word, m.wordLength, kTypeSynonym, ReTokWordBoundary);
    }
    return true;
  };
  bool closed = false;
  const Built built = WriteRing(record, work, block->entry, &out, add, &closed);
  block->textLength = static_cast<u16>(out.length());
  block->tokenCount = static_cast<u16>(out.count());
  Report(built, closed, status);
}

void ReSynonymText(const ReDbRecord* record, ReWorkRecord* work, ReEntryBlock* block, u16 function, u16 action,
                   ReStatusBlock* status) {
  if (function != ReFnTextRead && function != ReFnTextWords && function != ReFnTextSubset) {
    ReSetStatus(status, ReSevError, ReErrFunction, ReModSynonyms);
    return;
  }
  if (action == ReActClose) return;
  if (action != ReActOpen) {
    ReSetStatus(status, ReSevError, ReErrAction, ReModSynonyms);
    return;
  }
  block->textLength = 0;
  const u32 size = ReEntryTextRoom(block);
  if (size < 1) {
    ReSetStatus(status, ReSevWarning, ReWarnSynonymsFull, ReModSynonyms);
    return;
  }
  block->text[0] = 0;
  RingText out(block->text, size, nullptr, 0);
  auto add = [&](u32 i, const ReRingMember& m) {
    char number[4];
    const u32 digits = ClassNumber(m.classByte, number);
    const char* lead = i == 0 ? "<DS>" : i == 1 ? "<SY>" : "<D1>";
    const u32 tail = i == 0 ? 5 + digits + 1 : 0;
    if (!out.Fits(4 + m.wordLength + tail, 0)) return false;
    out.Put(lead);
    out.Put(m.word, m.wordLength);
    if (i == 0) {
      out.Put("\n<PS>");
      out.Put(number, digits);
      out.Put("\n");
    }
    return true;
  };
  bool closed = false;
  const Built built = WriteRing(record, work, block->entry, &out, add, &closed);
  block->text[out.length()] = 0;
  block->textLength = static_cast<u16>(out.length());
  Report(built, closed, status);
}
