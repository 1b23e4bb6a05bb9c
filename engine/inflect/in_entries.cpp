#include "in_entries.h"

#include <cstring>

#include "in_bytes.h"
#include "re_charclass.h"

namespace {

constexpr u8 KindLimit = 5;     // bytes below it are kind bytes
constexpr u8 SuffixLimit = 17;  // bytes below it end a suffix (the cut byte)

int CompareKey(const u8* key, const char* word, u32 wordLength) {
  for (u32 i = 0; i < InKeySize; ++i) {
    if (i >= wordLength) {
      if (key[i] == ' ') continue;  // a blank against the word's end counts as equal
      return key[i];
    }
    const int difference = static_cast<int>(key[i]) - static_cast<u8>(word[i]);
    if (difference != 0) return difference;
  }
  return 0;
}

// Reads fixed-width codes, most significant bit first, across the bytes of one record.
class CodeStream {
 public:
  CodeStream(const u8* bytes, u32 length, u32 width) : bytes_(bytes), bits_(length * 8u), width_(width) {}
  // False at the end of the record.
  bool Next(u32* code) {
    if (position_ + width_ > bits_) return false;
    u32 value = 0;
    for (u32 i = 0; i < width_; ++i, ++position_) {
      const u8 byte = bytes_[position_ >> 3];
      value = (value << 1) | ((byte >> (7 - (position_ & 7))) & 1u);
    }
    *code = value;
    return true;
  }

 private:
  const u8* bytes_;
  u32 bits_;
  u32 width_;
  u32 position_ = 0;
};

// The entry decoder: head byte, letters, kind byte, then the kind's own bytes.
class EntryDecoder {
 public:
  EntryDecoder(const u32* classes, InEntryVisitor& visitor) : classes_(classes), visitor_(visitor) {}

  enum class Step { Go, EndRecord, Stop };

  Step Feed(u8 byte) {
    switch (state_) {
      case State::Head: {
        u32 drop = byte & 0x3Fu;
        if (drop > length_) drop = length_;  // never below an empty word
        length_ -= drop;
        word_[length_] = lowered_[length_] = '\0';
        capitalised_ = (byte & 0x80) != 0;
        state_ = State::Letters;
        return Step::Go;
      }
      case State::Letters:
        if (byte >= KindLimit) {
          if (length_ >= InMaxEntryWord) return Step::EndRecord;
          word_[length_] = static_cast<char>(byte);
          lowered_[length_] = static_cast<char>(InLowerByte(byte, classes_));
          ++length_;
          word_[length_] = lowered_[length_] = '\0';
          return Step::Go;
        }
        entry_ = InEntry{};
        entry_.kind = byte;
        suffixLength_ = 0;
        suffix_[0] = '\0';
        state_ = byte == 1 ? State::KindByte0 : State::RuleHigh;
        return Step::Go;
      case State::KindByte0:
        entry_.kindBytes[0] = byte;
        state_ = State::KindByte1;
        return Step::Go;
      case State::KindByte1:
        entry_.kindBytes[1] = byte;
        state_ = State::Head;
        return Complete();
      case State::RuleHigh:
        entry_.rule = static_cast<u16>(byte << 8);
        state_ = State::RuleLow;
        return Step::Go;
      case State::RuleLow:
        entry_.rule = static_cast<u16>(entry_.rule | byte);
        state_ = State::Suffix;
        return Step::Go;
      case State::Suffix:
        if (byte >= SuffixLimit) {
          if (suffixLength_ >= InMaxEntryWord) return Step::EndRecord;
          suffix_[suffixLength_++] = static_cast<char>(byte);
          suffix_[suffixLength_] = '\0';
          return Step::Go;
        }
        entry_.cut = byte;
        state_ = State::Head;
        return Complete();
    }
    return Step::EndRecord;
  }

 private:
  enum class State { Head, Letters, KindByte0, KindByte1, RuleHigh, RuleLow, Suffix };

  Step Complete() {
    entry_.word = word_;
    entry_.lowered = lowered_;
    entry_.length = length_;
    entry_.capitalised = capitalised_;
    entry_.suffix = suffix_;
    entry_.suffixLength = suffixLength_;
    return visitor_.Visit(entry_) ? Step::Go : Step::Stop;
  }

  const u32* classes_;
  InEntryVisitor& visitor_;
  State state_ = State::Head;
  char word_[InMaxEntryWord + 1] = {};
  char lowered_[InMaxEntryWord + 1] = {};
  u32 length_ = 0;
  bool capitalised_ = false;
  char suffix_[InMaxEntryWord + 1] = {};
  u32 suffixLength_ = 0;
  InEntry entry_{};
};

}  // namespace

u8 InLowerByte(u8 c, const u32* classes) {
  if (!classes) return c >= 'A' && c <= 'Z' ? static_cast<u8>(c + 32) : c;
  return (classes[c] & ReClassUpper) ? static_cast<u8>(c + 32) : c;
}

InRecordRange InFindRecords(const u8* keys, u32 recordCount, const char* loweredWord) {
  if (!keys || recordCount == 0) return {1, 0};
  const u32 wordLength = static_cast<u32>(std::strlen(loweredWord));
  u32 a = 0;
  u32 b = recordCount;
  while (b - a > 1) {
    const u32 m = (a + b) / 2;
    if (CompareKey(keys + m * InKeySize, loweredWord, wordLength) < 0)
      a = m;
    else
      b = m;
  }
  u32 j = a + 1 < recordCount ? a + 1 : recordCount - 1;
  while (j != recordCount - 1 && CompareKey(keys + j * InKeySize, loweredWord, wordLength) == 0) ++j;
  return {static_cast<i32>(a), static_cast<i32>(j)};
}

bool InDecodeRecord(const u8* record, u32 length, u32 codeWidth, const InPhrases& phrases, const u32* classes,
                    InEntryVisitor& visitor) {
  if (!record || codeWidth == 0 || codeWidth > 16) return true;
  CodeStream codes(record, length, codeWidth);
  EntryDecoder decoder(classes, visitor);
  u32 code = 0;
  while (codes.Next(&code) && code != 0) {
    if (code >= phrases.count) continue;
    const u32 offset = InReadU16le(phrases.offsets + code * 2);
    const u32 size = phrases.lengths[code];
    if (offset + size > phrases.poolSize) continue;
    for (u32 i = 0; i < size; ++i) {
      switch (decoder.Feed(phrases.pool[offset + i])) {
        case EntryDecoder::Step::Go: break;
        case EntryDecoder::Step::EndRecord: return true;
        case EntryDecoder::Step::Stop: return false;
      }
    }
  }
  return true;
}
