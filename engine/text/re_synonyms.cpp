#include "re_synonyms.h"

#include <cstring>

#include "re_decoder.h"
#include "re_file.h"
#include "re_platform.h"
#include "re_text_work.h"

namespace {

constexpr u32 kPairDepth = 32;
constexpr u32 kMaxWord = 255;
constexpr u8 kTypeHeadword = 0, kTypeClass = 1, kTypeSynonym = 7;

// The bytes of one index block, expanded from its codes.
class BlockBytes {
 public:
  explicit BlockBytes(const ReIndexDescriptor* index) : index_(index) {}
  ~BlockBytes() {
    ReHeapFree(raw_);
    ReHeapFree(bytes_);
  }
  BlockBytes(const BlockBytes&) = delete;
  BlockBytes& operator=(const BlockBytes&) = delete;

  bool Load(ReFileHandle file, u32 block);
  const u8* data() const { return bytes_; }
  u32 size() const { return size_; }

 private:
  bool Put(u32 code, u32* depthSteps);
  bool Literal(u32 code);

  const ReIndexDescriptor* index_;
  u8* raw_ = nullptr;
  u8* bytes_ = nullptr;
  u32 size_ = 0;
  u32 room_ = 0;
};

bool BlockBytes::Literal(u32 code) {
  const ReIndexDescriptor* x = index_;
  if (2 * code + 2 > x->phraseOffsetsLength || code >= x->phraseLengthsLength) return false;
  const auto offset = static_cast<i16>(ReBe16(x->phraseOffsets + 2 * code));
  const u32 length = x->phraseLengths[code];
  if (offset < 0 || static_cast<u32>(offset) + length > x->phrasePoolLength || size_ + length > room_) return false;
  std::memcpy(bytes_ + size_, x->phrasePool + offset, length);
  size_ += length;
  return true;
}

// Expands a code depth first: literal codes give their phrase, others are
// pairs of two 12-bit codes held in the code's three table bytes.
bool BlockBytes::Put(u32 code, u32* steps) {
  u32 stack[kPairDepth];
  u32 depth = 0;
  for (;;) {
    if (++*steps > (1u << 16)) return false;
    if (code >= 1 && code <= index_->literalLimit) {
      if (!Literal(code)) return false;
      if (!depth) return true;
      code = stack[--depth];
      continue;
    }
    if (code == 0 || 2 * code + 2 > index_->phraseOffsetsLength || code >= index_->phraseLengthsLength) return false;
    const u32 v = ReBe16(index_->phraseOffsets + 2 * code);
    if (depth >= kPairDepth) return false;
    stack[depth++] = (v & 0x0F) << 8 | index_->phraseLengths[code];
    code = v >> 4;
  }
}

bool BlockBytes::Load(ReFileHandle file, u32 block) {
  const u32 blockSize = index_->blockSize, width = index_->codeWidth;
  if (!blockSize || width < 1 || width > 16 || !index_->phraseOffsets || !index_->phraseLengths) return false;
  room_ = 65535;
  raw_ = static_cast<u8*>(ReHeapAlloc(blockSize));
  bytes_ = static_cast<u8*>(ReHeapAlloc(room_));
  if (!raw_ || !bytes_) return false;
  u32 got = 0;
  const u64 at = static_cast<u64>(index_->indexBase) + static_cast<u64>(block) * blockSize;
  if (at > 0x7FFFFFFF || ReSeekDataFile(file, static_cast<i32>(at), 0) != ReDone ||
      ReReadBytes(file, static_cast<i32>(blockSize), raw_, &got) != ReDone || got != blockSize)
    return false;
  u32 steps = 0;
  for (u64 bit = 0; bit + width <= 8ull * blockSize; bit += width) {
    u32 code = 0;
    for (u32 i = 0; i < width; ++i) {
      const u64 b = bit + i;
      code = code << 1 | ((raw_[b >> 3] >> (7 - (b & 7))) & 1u);
    }
    if (code == 0) break;
    if (!Put(code, &steps)) return false;
  }
  return true;
}

// Reads word records of a block up to record `place` (reading 2: the tail
// carries a list number, here the next member's entry number).
bool ParseMember(const ReIndexDescriptor* index, const BlockBytes& block, u32 place, ReRingMember* member,
                 u32 wordSize) {
  const u8* p = block.data();
  const u32 n = block.size();
  u32 pos = 0;
  char word[kMaxWord + 1];
  u32 length = 0;
  i32 running = 0;
  const bool longLists = index->formatLevel >= 7 && (index->indexFlags & 2);
  for (u32 record = 0;; ++record) {
    if (pos >= n) return false;
    const u32 drop = p[pos++] & 0x3F;
    const u32 previous = length < 63 ? length : 63;
    length = drop < previous ? previous - drop : 0;
    bool extension = false;
    u32 terminator = 0;
    for (;;) {
      if (pos >= n) return false;
      const u8 c = p[pos++];
      if (c < 7) {
        terminator = c;
        break;
      }
      if (c == 7) continue;
      if (c == 10) {
        extension = true;
        continue;
      }
      if (length < kMaxWord) word[length++] = static_cast<char>(c);
    }
    if (n - pos < 1 + terminator + 3) return false;
    pos += 1 + terminator;
    const u32 value = ReBe24(p + pos);
    pos += 3;
    if (longLists && (value & 0xFFFFF) == 0xFFFFF) {
      running = 0;
    } else {
      running += (value & 0x800000) ? static_cast<i32>(value) - 0x1000000 : static_cast<i32>(value);
    }
    u8 classByte = 0;
    if (extension) {
      if (pos >= n) return false;
      classByte = p[pos++];
      if (index->recordOptions & 4) ++pos;
      for (;;) {
        if (pos >= n) return false;
        const u8 c = p[pos++];
        if (c == 31) {
          ++pos;
          break;
        }
        if (c < 32) break;
      }
      if (index->recordOptions & 8) {
        if (pos >= n) return false;
        pos += 1 + p[pos];
      }
    }
    if (record == place) {
      if (running <= 0) return false;
      const u32 copy = length < wordSize - 1 ? length : wordSize - 1;
      std::memcpy(member->word, word, copy);
      member->word[copy] = 0;
      member->wordLength = copy;
      member->classByte = classByte;
      member->next = static_cast<u32>(running);
      return true;
    }
  }
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
  const u32 wordSize = (record->index ? record->index->longestWord : 0) + 1u;
  char* word = static_cast<char*>(ReHeapAlloc(wordSize > kMaxWord ? wordSize : kMaxWord + 1));
  if (!word) return kRingNoMemory;
  Built result = kRingDone;
  u32 entry = first;
  for (u32 i = 0;; ++i) {
    ReRingMember member{};
    member.word = word;
    if (ReReadRingMember(record, work, entry, &member, wordSize > kMaxWord ? wordSize : kMaxWord + 1) != ReDone) {
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
  BlockBytes block(index);
  if (!block.Load(work->file, low)) return ReFail;
  member->entry = entry;
  return ParseMember(index, block, entry - before[low] - 1, member, wordSize) ? ReDone : ReFail;
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
  Built built = WalkRing(record, work, block->entry, add, &closed);
  if (built == kRingDone && closed) {
    if (out.Fits(5, 0)) {
      out.Put("</SY>");
    } else {
      built = kRingFull;
    }
  }
  block->textLength = static_cast<u16>(out.length());
  block->tokenCount = static_cast<u16>(out.count());
  Report(built, closed, status);
}

void ReSynonymText(const ReDbRecord* record, ReWorkRecord* work, ReEntryBlock* block, u16 function, u16 action,
                   ReStatusBlock* status) {
  if (function != 495 && function != 145 && function != 160) {
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
  Built built = WalkRing(record, work, block->entry, add, &closed);
  if (built == kRingDone && closed) {
    if (out.Fits(5, 0)) {
      out.Put("</SY>");
    } else {
      built = kRingFull;
    }
  }
  block->text[out.length()] = 0;
  block->textLength = static_cast<u16>(out.length());
  Report(built, closed, status);
}
