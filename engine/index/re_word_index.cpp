#include "re_word_index.h"

#include <algorithm>
#include <cstring>

#include "re_charclass.h"

namespace {

// The first n positions of a 32-bit capital word (position 0 = bit 31).
u32 LeadingBits(u32 n) { return n == 0 ? 0 : n >= 32 ? 0xFFFFFFFFu : ~(0xFFFFFFFFu >> n); }

void SetCapital(u32* capitals, u32 position) {
  if (position < 64) capitals[position / 32] |= 0x80000000u >> (position % 32);
}

bool IsCapital(const u32* capitals, u32 position) {
  return position < 64 && (capitals[position / 32] & (0x80000000u >> (position % 32))) != 0;
}

}  // namespace

u32 ReCharClass(const ReIndexDescriptor& index, u8 c) { return index.charClasses ? index.charClasses[c] : 0; }
bool ReIsUpper(const ReIndexDescriptor& index, u8 c) { return (ReCharClass(index, c) & ReClassUpper) != 0; }
bool ReIsLower(const ReIndexDescriptor& index, u8 c) { return (ReCharClass(index, c) & ReClassLower) != 0; }
bool ReIsVowel(const ReIndexDescriptor& index, u8 c) { return (ReCharClass(index, c) & ReClassVowel) != 0; }
bool ReIsLetter(const ReIndexDescriptor& index, u8 c) {
  return (ReCharClass(index, c) & (ReClassUpper | ReClassLower | ReClassOrdinal)) != 0;
}

void ReLowerWord(const ReIndexDescriptor& index, char* word) {
  for (; *word; ++word)
    if (ReIsUpper(index, static_cast<u8>(*word))) *word = static_cast<char>(static_cast<u8>(*word) + 32);
}

void ReRestoreCase(const ReIndexDescriptor& index, const ReIndexWord& word, u8 callerClass, char* out) {
  u8 caseClass = word.caseClass;
  if (callerClass != ReCaseMixed && callerClass > caseClass) caseClass = callerClass;
  std::memcpy(out, word.text, word.length + 1u);
  auto capitalise = [&](u32 i) {
    if (ReIsLower(index, static_cast<u8>(out[i]))) out[i] = static_cast<char>(static_cast<u8>(out[i]) - 32);
  };
  switch (caseClass) {
    case ReCaseInitial:
      for (u32 i = 0; i < word.length; ++i)
        if (ReIsLetter(index, static_cast<u8>(out[i]))) {
          capitalise(i);
          break;
        }
      break;
    case ReCaseAll:
      for (u32 i = 0; i < word.length; ++i) capitalise(i);
      break;
    case ReCaseMixed:
      for (u32 i = 0; i < word.length && i < 64; ++i)
        if (IsCapital(word.capitals, i)) capitalise(i);
      break;
    default: break;
  }
}

// --- Block decoding ----------------------------------------------------------

void ReIndexBlockDecoder::Begin(const ReIndexDescriptor& index, const u8* block, u16 blockNumber, u16 reading,
                                const ReIndexCodeCache* cache) {
  index_ = &index;
  cache_ = cache && cache->status == ReIndexCodeCache::kBuilt && cache->index == &index ? cache : nullptr;
  failAfterLiteral_ = false;
  block_ = block;
  bitPosition_ = 0;
  bitCount_ = static_cast<u32>(index.blockSize) * 8;
  codeCount_ = index.phraseOffsets && index.phraseLengths
                   ? (index.phraseOffsetsLength / 2 < index.phraseLengthsLength ? index.phraseOffsetsLength / 2
                                                                                : index.phraseLengthsLength)
                   : 0;
  reading_ = reading;
  wordLimit_ = index.longestWord && index.longestWord < ReWordCapacity ? index.longestWord : ReWordCapacity;
  streamEnded_ = false;
  failed_ = index.codeWidth < 1 || index.codeWidth > 24 || !block || reading > ReReadingListNumber;
  literal_ = nullptr;
  literalLeft_ = 0;
  budget_ = 0;
  depth_ = 0;
  running_ = 0;
  previousLength_ = 0;
  previousCapitals_ = false;
  ordinal_ = 0;
  std::memset(&word_, 0, sizeof word_);
  word_.block = blockNumber;
  if (cache_ && !failed_ && !Preexpand()) {
    // Some code is not in the cache, or the bytes do not fit: code by code.
    bitPosition_ = 0;
    streamEnded_ = false;
    failAfterLiteral_ = false;
    literal_ = nullptr;
    literalLeft_ = 0;
  }
}

bool ReIndexBlockDecoder::Preexpand() {
  const ReIndexCodeCache& cache = *cache_;
  // Locals, so that the copies into bytes_ do not make the compiler reload them.
  const u32 width = index_->codeWidth, bitCount = bitCount_, bytes = bitCount / 8, codeCount = cache.codeCount;
  const u8* block = block_;
  u8* out = bytes_;
  u32 position = bitPosition_, used = 0;
  bool fails = false;
  while (position + width <= bitCount) {
    const u32 first = position / 8;
    u32 window = 0;
    if (first + 4 <= bytes) {
      window = ReBe32(block + first);
    } else {
      for (u32 i = 0; i < 4; ++i) window = window << 8 | (first + i < bytes ? block[first + i] : 0u);
    }
    const u32 code = (window << (position % 8)) >> (32 - width);
    position += width;
    if (code == 0) break;
    const u32 entry = code < codeCount ? cache.entries[code] : ReCachedCodeNotHeld;
    const u32 length = entry & 0xFFFF;
    if ((entry & ReCachedCodeNotHeld) || used + length > kBlockBytes) return false;
    const u8* from = cache.bytes + cache.offsets[code];
    if (length <= 16)
      std::memcpy(out + used, from, 16);
    else
      std::memcpy(out + used, from, length);
    used += length;
    if (entry & ReCachedCodeFails) {
      fails = true;  // the block's bytes end with the fault
      break;
    }
  }
  bitPosition_ = position;
  streamEnded_ = !fails;
  failAfterLiteral_ = fails;
  literal_ = bytes_;
  literalLeft_ = used;
  return true;
}

bool ReIndexBlockDecoder::Fail() {
  failed_ = true;
  failAfterLiteral_ = false;
  literalLeft_ = 0;
  depth_ = 0;
  return false;
}

bool ReIndexBlockDecoder::ReadCode(u32* code) {
  const u32 width = index_->codeWidth;
  if (bitPosition_ + width > bitCount_) return false;
  // The four bytes that hold the code (a code is at most 24 bits wide and
  // starts at most 7 bits into its first byte), zeros past the block.
  const u32 first = bitPosition_ / 8, bytes = bitCount_ / 8;
  u32 window = 0;
  if (first + 4 <= bytes) {
    window = ReBe32(block_ + first);
  } else {
    for (u32 i = 0; i < 4; ++i) window = window << 8 | (first + i < bytes ? block_[first + i] : 0u);
  }
  *code = (window << (bitPosition_ % 8)) >> (32 - width);
  bitPosition_ += width;
  return true;
}

bool ReIndexBlockDecoder::Expand(u32 code) {
  for (;;) {
    if (code == 0 || code >= codeCount_) return Fail();
    const u16 value = ReBe16(index_->phraseOffsets + 2 * code);
    const u8 length = index_->phraseLengths[code];
    if (code <= index_->literalLimit) {
      const i32 offset = static_cast<i16>(value);
      if (offset < 0 || static_cast<u32>(offset) + length > index_->phrasePoolLength || !index_->phrasePool)
        return Fail();
      if (budget_ < length + 1u) return Fail();
      budget_ -= length + 1u;
      literal_ = index_->phrasePool + offset;
      literalLeft_ = length;
      return true;
    }
    // A pair: two 12-bit codes in the code's three table bytes, first first.
    if (depth_ == RePairDepthLimit || budget_ == 0) return Fail();
    --budget_;
    stack_[depth_++] = static_cast<u16>((value & 0x0F) << 8 | length);
    code = value >> 4;
  }
}

int ReIndexBlockDecoder::NextByte() {
  for (;;) {
    if (failed_) return -1;
    if (literalLeft_) {
      --literalLeft_;
      return *literal_++;
    }
    if (depth_) {
      if (!Expand(stack_[--depth_])) return -1;
      continue;
    }
    if (failAfterLiteral_) {
      Fail();
      return -1;
    }
    if (streamEnded_) return -1;
    u32 code;
    if (!ReadCode(&code) || code == 0) {
      streamEnded_ = true;
      return -1;
    }
    budget_ = ReCodeExpansionLimit;
    if (cache_ && code < cache_->codeCount && !(cache_->entries[code] & ReCachedCodeNotHeld)) {
      const u32 entry = cache_->entries[code];
      literal_ = cache_->bytes + cache_->offsets[code];
      literalLeft_ = entry & 0xFFFF;
      failAfterLiteral_ = (entry & ReCachedCodeFails) != 0;
      continue;
    }
    if (!Expand(code)) return -1;
  }
}

const ReIndexWord* ReIndexBlockDecoder::Next() {
  const int header = Byte();
  if (header < 0) return nullptr;  // end of the block between records, or failed_

  // Front coding: keep the previous word less the dropped characters (the
  // previous length counts at most 63).
  const u32 previous = previousLength_ < 63 ? previousLength_ : 63;
  const u32 drop = static_cast<u32>(header) & 63;
  const u32 kept = previous > drop ? previous - drop : 0;
  if (previousCapitals_) {
    word_.capitals[0] &= LeadingBits(kept);
    word_.capitals[1] &= kept > 32 ? LeadingBits(kept - 32) : 0;
  } else {
    word_.capitals[0] = word_.capitals[1] = 0;
  }
  const bool firstCapital = (header & 0x80) != 0;
  const bool furtherCapitals = (header & 0x40) != 0;
  const bool hasCapitals = firstCapital || furtherCapitals;
  u8 caseClass = ReCaseLower;
  if (firstCapital) {
    SetCapital(word_.capitals, 0);
    caseClass = ReCaseInitial;
  } else {
    word_.capitals[0] &= 0x7FFFFFFFu;
  }
  if (furtherCapitals) {
    bool keptAllCapital = true;
    for (u32 i = 0; i < kept; ++i) keptAllCapital = keptAllCapital && IsCapital(word_.capitals, i);
    caseClass = firstCapital && keptAllCapital ? ReCaseAll : ReCaseMixed;
  }

  u32 length = kept;
  bool extension = false;
  for (;;) {
    const int c = Byte();
    if (c < 0) return Fail(), nullptr;  // the block ends inside a record
    if (c == 7) continue;
    if (c == 10) {
      extension = true;
      continue;
    }
    if (c < 7) {
      word_.terminator = static_cast<u8>(c);
      break;
    }
    if (length >= wordLimit_) return Fail(), nullptr;
    u8 ch = static_cast<u8>(c);
    bool capital = false;
    if (hasCapitals && ReIsUpper(*index_, ch)) {
      ch = static_cast<u8>(ch + 32);
      SetCapital(word_.capitals, length);
      capital = true;
    }
    word_.text[length] = static_cast<char>(ch);
    if (hasCapitals && length == 1) {
      if (caseClass == ReCaseInitial && capital)
        caseClass = ReCaseAll;
      else if (caseClass == ReCaseLower || caseClass == ReCaseMixed)
        caseClass = ReIsLetter(*index_, static_cast<u8>(word_.text[0])) ? ReCaseMixed : ReCaseInitial;
    }
    if (hasCapitals && length >= 1 && caseClass == ReCaseAll && ReIsLower(*index_, static_cast<u8>(c)))
      caseClass = ReCaseMixed;
    ++length;
  }
  const bool added = length > kept;
  word_.text[length] = 0;
  word_.length = static_cast<u16>(length);
  word_.continuation = !added;
  // An initial capital that does not stand alone in the mask (a word that
  // starts with a non-letter and has further capitals) is restored by its mask.
  if (caseClass == ReCaseInitial) {
    u32 firstLetter = 0;
    while (firstLetter < length && !ReIsLetter(*index_, static_cast<u8>(word_.text[firstLetter]))) ++firstLetter;
    u32 expected[2] = {0, 0};
    SetCapital(expected, firstLetter);
    if (word_.capitals[0] != expected[0] || word_.capitals[1] != expected[1]) caseClass = ReCaseMixed;
  }
  word_.caseClass = hasCapitals ? caseClass : u8{ReCaseLower};

  if (!ReadTail(added)) return nullptr;
  word_.hasExtension = extension;
  if (extension && !ReadExtension()) return nullptr;

  previousLength_ = static_cast<u16>(length);
  previousCapitals_ = hasCapitals;
  word_.ordinal = ordinal_++;
  return &word_;
}

bool ReIndexBlockDecoder::ReadTail(bool addedCharacters) {
  auto bytes = [&](u32 count, u32* value) {
    u32 v = 0;
    for (u32 i = 0; i < count; ++i) {
      const int b = Byte();
      if (b < 0) return Fail();
      v = v << 8 | static_cast<u32>(b);
    }
    if (value) *value = v;
    return true;
  };
  const u32 t = word_.terminator;
  word_.hasPosition = false;
  word_.position = 0;
  word_.entryCount = 0;
  word_.entryStep = 0;
  u32 value = 0;
  switch (reading_) {
    case ReReadingWordOnly: return bytes(1 + t, nullptr);
    case ReReadingListNumber: {
      if (!bytes(1 + t, nullptr) || !bytes(3, &value)) return false;
      const bool longLists = (index_->indexFlags & ReIndexLongLists) && index_->formatLevel >= ReLongListLevel;
      if (longLists && value == ReListReset) {
        running_ = 0;
      } else {
        const u32 delta = value & 0x800000 ? value | 0xFF000000u : value;  // sign-extended
        running_ = static_cast<i32>(static_cast<u32>(running_) + delta);
      }
      word_.listNumber = running_;
      return true;
    }
    default: {  // reading 1: entries with word positions
      u32 position = 0;
      if (!bytes(3, &value) || (t == 5 && !bytes(2, &position))) return false;
      if (t == 5) {
        word_.hasPosition = true;
        word_.position =
            static_cast<u16>((position & RePositionOffset) | (position & 0x8000 ? u32{RePositionField} : 0u));
      }
      if (!(value & 0x800000)) {
        running_ = addedCharacters ? static_cast<i32>(value) : static_cast<i32>(static_cast<u32>(running_) + value);
        word_.firstEntry = static_cast<u32>(running_);
        word_.entryCount = 1;
      } else {
        word_.entryCount = (value >> 5) & 0x3FFFF;
        word_.entryStep = value & 31;
        word_.firstEntry = static_cast<u32>(running_) + word_.entryStep;
        running_ = static_cast<i32>(static_cast<u32>(running_) + word_.entryStep * word_.entryCount);
      }
      word_.listNumber = running_;
      return true;
    }
  }
}

bool ReIndexBlockDecoder::ReadExtension() {
  auto next = [&](u8* out) {
    const int b = Byte();
    if (b < 0) return Fail();
    *out = static_cast<u8>(b);
    return true;
  };
  word_.featureByte = 0;
  word_.countedLength = 0;
  if (!next(&word_.classByte)) return false;
  if ((index_->recordOptions & ReRecordFeatureByte) && !next(&word_.featureByte)) return false;
  u32 length = 0;
  for (;;) {
    u8 b;
    if (!next(&b)) return false;
    if (b == 31) {  // escape: the next byte ends the text, whatever its value
      if (!next(&word_.extTerminator)) return false;
      break;
    }
    if (b < 32) {
      word_.extTerminator = b;
      break;
    }
    if (length == ReWordCapacity) return Fail();
    word_.extText[length++] = static_cast<char>(b);
  }
  word_.extText[length] = 0;
  word_.extLength = static_cast<u16>(length);
  if (index_->recordOptions & ReRecordCountedBytes) {
    if (!next(&word_.countedLength)) return false;
    for (u32 i = 0; i < word_.countedLength; ++i)
      if (!next(&word_.counted[i])) return false;
  }
  return true;
}

void ReBuildIndexCodeCache(const ReIndexDescriptor& index, ReIndexCodeCache* cache) {
  cache->index = &index;
  cache->status = ReIndexCodeCache::kUnusable;
  const u32 codeCount = index.phraseOffsets && index.phraseLengths
                            ? std::min<u32>(index.phraseOffsetsLength / 2, index.phraseLengthsLength)
                            : 0;
  if (codeCount > ReIndexCodeCache::kCodes) return;
  cache->codeCount = codeCount;
  // Each code as a block's first code expands it: the same steps, budget
  // and faults as the decoder's own expansion.
  u32 used = 0;
  for (u32 top = 0; top < codeCount; ++top) {
    const u32 start = used;
    u32 budget = ReCodeExpansionLimit;
    u16 stack[RePairDepthLimit];
    u32 depth = 0;
    bool fails = false, held = true;
    for (u32 code = top;;) {
      // One step of the expansion: a literal's bytes, or a pair's first half.
      if (code == 0 || code >= codeCount) {
        fails = true;
        break;
      }
      const u16 value = ReBe16(index.phraseOffsets + 2 * code);
      const u8 length = index.phraseLengths[code];
      if (code <= index.literalLimit) {
        const i32 offset = static_cast<i16>(value);
        if (offset < 0 || static_cast<u32>(offset) + length > index.phrasePoolLength || !index.phrasePool ||
            budget < length + 1u) {
          fails = true;
          break;
        }
        budget -= length + 1u;
        if (used + length > ReIndexCodeCache::kBytes) {
          held = false;
          break;
        }
        std::memcpy(cache->bytes + used, index.phrasePool + offset, length);
        used += length;
        if (depth == 0) break;
        code = stack[--depth];
        continue;
      }
      if (depth == RePairDepthLimit || budget == 0) {
        fails = true;
        break;
      }
      --budget;
      stack[depth++] = static_cast<u16>((value & 0x0F) << 8 | length);
      code = value >> 4;
    }
    if (!held || start > 0xFFFF) {
      cache->entries[top] = ReCachedCodeNotHeld;
      used = start;
      continue;
    }
    cache->offsets[top] = static_cast<u16>(start);
    cache->entries[top] = (used - start) | (fails ? ReCachedCodeFails : 0u);
  }
  cache->status = ReIndexCodeCache::kBuilt;
}

// --- Key search --------------------------------------------------------------

namespace {

int ComparePrefix(const u8* key, const ReIndexDescriptor& index, u32 block) {
  return std::memcmp(index.prefixTable + block * index.prefixLength, key, index.prefixLength);
}

}  // namespace

u16 ReFindWordBlock(const char* key, i16 first, i16 last, u16* further, const ReIndexDescriptor* index) {
  *further = 0;
  const u32 count = index->blockCount;
  const u32 width = index->prefixLength;
  if (count == 0 || width == 0 || width > 4 || !index->prefixTable) return 0;
  u8 padded[4];
  for (u32 i = 0; i < width; ++i) {
    const i32 at = first + static_cast<i32>(i);
    padded[i] = at <= last ? static_cast<u8>(key[at]) : ' ';
  }

  u32 low = 0, high = count, result = 0;
  bool equal = false;
  while (high - low >= 2) {
    const u32 mid = (low + high) / 2;
    const int order = ComparePrefix(padded, *index, mid);
    if (order > 0) {
      high = mid;
    } else if (order < 0) {
      low = mid;
    } else {
      result = mid;
      equal = true;
      break;
    }
  }
  if (!equal) result = low;
  u32 runs = 0;
  while (result > 0 && ComparePrefix(padded, *index, result) == 0) {
    --result;
    ++runs;
  }
  while (result + runs + 1 < count && ComparePrefix(padded, *index, result + runs + 1) == 0) ++runs;
  *further = static_cast<u16>(runs);
  return static_cast<u16>(result);
}

u32 ReBlockRange(const char* low, const char* high, const ReIndexDescriptor* index, u16* first) {
  const i16 last = static_cast<i16>(index->prefixLength - 1);
  u16 lowFurther, highFurther;
  *first = ReFindWordBlock(low, 0, last, &lowFurther, index);
  const u16 highBlock = ReFindWordBlock(high, 0, last, &highFurther, index);
  return (highBlock > *first ? highBlock : *first) + u32{highFurther};
}

u32 ReKeyBlockRange(const char* key, u32 length, const ReIndexDescriptor* index, u16* first) {
  char low[4], high[4];
  for (u32 i = 0; i < index->prefixLength && i < 4; ++i) {
    low[i] = i < length ? key[i] : '\0';
    high[i] = i < length ? key[i] : '\xFF';
  }
  return ReBlockRange(low, high, index, first);
}
