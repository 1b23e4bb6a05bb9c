// Block decoding and key search over hand-made blocks, and the builder's
// blocks read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine_db/word_index_builder.h"
#include "index_fixture.h"
#include "re_charclass.h"
#include "re_word_index.h"
#include "word_list.h"

using namespace std::string_literals;

namespace {

// Phrase tables made by hand: code b + 1 is byte b, codes 257 and 258 are the
// phrases "ing" and "ab"; pairs are added after them.
class HandIndex {
 public:
  HandIndex() {
    for (u32 b = 0; b < 256; ++b) pool_.push_back(static_cast<u8>(b));
    AddEntry(0, 0);
    for (u32 b = 0; b < 256; ++b) AddEntry(static_cast<u16>(b), 1);
    for (const char* phrase : {"ing", "ab"}) {
      AddEntry(static_cast<u16>(pool_.size()), static_cast<u8>(std::strlen(phrase)));
      pool_.insert(pool_.end(), phrase, phrase + std::strlen(phrase));
    }
    index.literalLimit = 258;
    index.codeWidth = 12;
    index.blockSize = 128;
    index.longestWord = 100;
    index.formatLevel = 7;
    index.charClasses = ReCharClassTable(1);
  }
  u16 Pair(u16 first, u16 second) {
    AddEntry(static_cast<u16>(first << 4 | second >> 8), static_cast<u8>(second & 0xFF));
    return static_cast<u16>(lengths_.size() - 1);
  }
  // Sets a table entry by hand (for damaged tables).
  void SetEntry(u16 code, u16 offset, u8 length) {
    offsets_[2 * code] = static_cast<u8>(offset >> 8);
    offsets_[2 * code + 1] = static_cast<u8>(offset);
    lengths_[code] = length;
  }
  static std::vector<u16> Codes(const std::string& bytes) {
    std::vector<u16> codes;
    for (unsigned char c : bytes) codes.push_back(static_cast<u16>(c + 1));
    return codes;
  }
  // Decodes a block of the codes; `failed` tells whether the decoder gave up.
  std::vector<ReIndexWord> Decode(const std::vector<u16>& codes, u16 reading, bool* failed = nullptr) {
    index.phrasePool = pool_.data();
    index.phrasePoolLength = static_cast<u32>(pool_.size());
    index.phraseOffsets = offsets_.data();
    index.phraseOffsetsLength = static_cast<u32>(offsets_.size());
    index.phraseLengths = lengths_.data();
    index.phraseLengthsLength = static_cast<u32>(lengths_.size());
    block_ = builder::EncodeBlock(codes, index.codeWidth, index.blockSize);
    ReIndexBlockDecoder decoder;
    decoder.Begin(index, block_.data(), 1, reading);
    std::vector<ReIndexWord> words;
    while (const ReIndexWord* w = decoder.Next()) words.push_back(*w);
    if (failed) *failed = decoder.failed();
    return words;
  }
  // The same block through a code cache of the tables.
  std::vector<ReIndexWord> DecodeCached(const std::vector<u16>& codes, u16 reading, bool* failed) {
    Decode(codes, reading);
    auto cache = std::make_unique<ReIndexCodeCache>();
    ReBuildIndexCodeCache(index, cache.get());
    EXPECT_EQ(cache->status, ReIndexCodeCache::kBuilt);
    ReIndexBlockDecoder decoder;
    decoder.Begin(index, block_.data(), 1, reading, cache.get());
    std::vector<ReIndexWord> words;
    while (const ReIndexWord* w = decoder.Next()) words.push_back(*w);
    *failed = decoder.failed();
    return words;
  }
  std::string Restored(const ReIndexWord& word) {
    char out[ReWordCapacity + 1];
    ReRestoreCase(index, word, ReCaseLower, out);
    return out;
  }

  ReIndexDescriptor index{};

 private:
  void AddEntry(u16 offset, u8 length) {
    offsets_.push_back(static_cast<u8>(offset >> 8));
    offsets_.push_back(static_cast<u8>(offset));
    lengths_.push_back(length);
  }
  std::vector<u8> pool_, offsets_, lengths_;
  builder::Bytes block_;
};

// A reading-2 tail: terminator 0, the skipped byte, a 24-bit delta.
std::string Delta(u32 delta) {
  return std::string{'\0', '\0', static_cast<char>(delta >> 16), static_cast<char>(delta >> 8),
                     static_cast<char>(delta)};
}

std::vector<u16> Join(std::initializer_list<std::vector<u16>> parts) {
  std::vector<u16> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(KeySearch, FindsTheBlockBeforeARunOfEqualPrefixes) {
  ReIndexDescriptor index{};
  const std::string prefixes = std::string(4, '\0') +
                               "abc "
                               "ca  "
                               "ca  "
                               "ca  "
                               "cb  "
                               "d   ";
  index.prefixTable = reinterpret_cast<const u8*>(prefixes.data());
  index.prefixLength = 4;
  index.blockCount = 7;
  u16 further = 99;
  EXPECT_EQ(ReFindWordBlock("ca", 0, 1, &further, &index), 1);
  EXPECT_EQ(further, 3);                                            // blocks 2, 3 and 4 begin with "ca"
  EXPECT_EQ(ReFindWordBlock("xxcaxx", 2, 3, &further, &index), 1);  // the key is key[first..last]
  EXPECT_EQ(further, 3);
  EXPECT_EQ(ReFindWordBlock("abc", 0, 2, &further, &index), 0);
  EXPECT_EQ(further, 1);
  EXPECT_EQ(ReFindWordBlock("cat", 0, 2, &further, &index), 4);  // the last block below "cat "
  EXPECT_EQ(further, 0);
  EXPECT_EQ(ReFindWordBlock("zebra", 0, 4, &further, &index), 6);
  EXPECT_EQ(further, 0);

  const std::string high = "b   c   ";
  index.prefixTable = reinterpret_cast<const u8*>(high.data());
  index.blockCount = 2;
  EXPECT_EQ(ReFindWordBlock("a", 0, 0, &further, &index), 0);  // below every prefix
  EXPECT_EQ(further, 0);
}

TEST(BlockDecoding, PairsExpandDepthFirstFirstHalfFirst) {
  HandIndex h;
  const u16 ab = h.Pair('a' + 1, 'b' + 1);
  const u16 cd = h.Pair('c' + 1, 'd' + 1);
  const u16 abcd = h.Pair(ab, cd);
  const u16 abcding = h.Pair(abcd, 257);  // a literal phrase as a half
  const auto words = h.Decode(Join({HandIndex::Codes("\x01"), {abcding}, HandIndex::Codes(Delta(4))}), 2);
  ASSERT_EQ(words.size(), 1u);
  EXPECT_STREQ(words[0].text, "abcding");
  EXPECT_EQ(words[0].listNumber, 4);
}

TEST(BlockDecoding, FrontCodingDropsAtMostWhatThePreviousWordHad) {
  HandIndex h;
  h.index.blockSize = 512;
  const std::string longWord(70, 'k');
  const auto words = h.Decode(HandIndex::Codes(std::string("\x00", 1) + "abcdef" + Delta(1) +  // abcdef
                                               "\x03xy"s + Delta(1) +                          // abc + xy
                                               "\x3fzz" + Delta(1) +                           // drops all: zz
                                               "\x02"s + longWord + Delta(1) +                 // 70 letters
                                               "\x00q"s + Delta(1)),                           // 63 kept + q
                              2);
  ASSERT_EQ(words.size(), 5u);
  EXPECT_STREQ(words[1].text, "abcxy");
  EXPECT_STREQ(words[2].text, "zz");
  EXPECT_EQ(words[3].length, 70);
  EXPECT_EQ(std::string(words[4].text), std::string(63, 'k') + "q");
  EXPECT_EQ(words[4].listNumber, 5);
}

TEST(BlockDecoding, ByteSevenIsSkippedAndByteTenOpensTheExtension) {
  HandIndex h;
  h.index.recordOptions = ReRecordFeatureByte | ReRecordCountedBytes;
  // "do\x07g" + extension mark; extension: class 21, feature 14, text "dogs",
  // escaped terminator 40, two counted bytes.
  const auto words = h.Decode(HandIndex::Codes(std::string("\x00", 1) + "do\x07g\x0a" + Delta(2) +
                                               "\x15\x0e"
                                               "dogs\x1f\x28\x02\x05\x06" +
                                               "\x00"
                                               "cat"s +
                                               Delta(1)),
                              2);
  ASSERT_EQ(words.size(), 2u);
  EXPECT_STREQ(words[0].text, "dog");
  EXPECT_TRUE(words[0].hasExtension);
  EXPECT_EQ(words[0].classByte, 21);
  EXPECT_EQ(words[0].featureByte, 14);
  EXPECT_STREQ(words[0].extText, "dogs");
  EXPECT_EQ(words[0].extTerminator, 40);
  ASSERT_EQ(words[0].countedLength, 2);
  EXPECT_EQ(words[0].counted[1], 6);
  EXPECT_FALSE(words[1].hasExtension);
  EXPECT_EQ(words[1].listNumber, 3);
}

TEST(BlockDecoding, LongListResetNeedsTheFlagAndLevelSeven) {
  HandIndex h;
  const auto codes = HandIndex::Codes(std::string("\x00", 1) + "a" + Delta(5) +
                                      "\x00"
                                      "b"s +
                                      Delta(0xFFFFF) +
                                      "\x00"
                                      "c"s +
                                      Delta(3) +
                                      "\x00"
                                      "d"s +
                                      Delta(0xFFFFFE));
  h.index.indexFlags = ReIndexLongLists;
  auto words = h.Decode(codes, 2);
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(words[1].listNumber, 0);
  EXPECT_EQ(words[2].listNumber, 3);
  EXPECT_EQ(words[3].listNumber, 1);  // a negative delta
  h.index.formatLevel = 6;
  words = h.Decode(codes, 2);
  EXPECT_EQ(words[1].listNumber, 5 + 0xFFFFF);
}

TEST(BlockDecoding, CapitalsComeBackWithTheirClass) {
  HandIndex h;
  const auto words = h.Decode(HandIndex::Codes(std::string("\xc0", 1) + "McDonald" + Delta(1) +  // class 3
                                               "\x88"
                                               "Paris" +
                                               Delta(1) +  // drops 8
                                               "\xc5"
                                               "USA" +
                                               Delta(1) +  // class 2
                                               "\xc1"
                                               "Ab" +
                                               Delta(1) +  // kept "US" was capital
                                               "\x44"
                                               "'TIS" +
                                               Delta(1) +  // a non-letter first
                                               "\x44"
                                               "'Tis" +
                                               Delta(1)),
                              2);
  ASSERT_EQ(words.size(), 6u);
  EXPECT_STREQ(words[0].text, "mcdonald");
  EXPECT_EQ(words[0].caseClass, ReCaseMixed);
  EXPECT_EQ(words[0].capitals[0], 0xA0000000u);  // positions 0 and 2
  EXPECT_EQ(h.Restored(words[0]), "McDonald");
  EXPECT_EQ(words[1].caseClass, ReCaseInitial);
  EXPECT_EQ(h.Restored(words[1]), "Paris");
  EXPECT_EQ(words[2].caseClass, ReCaseAll);
  EXPECT_EQ(h.Restored(words[2]), "USA");
  EXPECT_EQ(h.Restored(words[3]), "USAb");
  EXPECT_EQ(h.Restored(words[4]), "'TIS");
  EXPECT_EQ(h.Restored(words[5]), "'Tis");
  char out[ReWordCapacity + 1];
  ReRestoreCase(h.index, words[1], ReCaseAll, out);  // the caller's class counts when higher
  EXPECT_STREQ(out, "PARIS");
  ReRestoreCase(h.index, words[1], ReCaseMixed, out);  // but not its class 3
  EXPECT_STREQ(out, "Paris");
}

TEST(BlockDecoding, HitReadingNamesEntriesRunsAndPositions) {
  HandIndex h;
  const auto words =
      h.Decode(HandIndex::Codes(std::string("\x00", 1) + "cat\x05\x00\x00\x07\x80\x03"s +  // entry 7, field
                                std::string("\x00\x00\x00\x00\x00", 5) +                   // same entry again
                                std::string("\x00\x00\x80\x00\x62", 5) +                   // 3 entries, step 2
                                "\x03"
                                "dog\x00\x00\x00\x09"s),  // entry 9
               1);
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(words[0].firstEntry, 7u);
  EXPECT_TRUE(words[0].hasPosition);
  EXPECT_EQ(words[0].position, RePositionField | 3);
  EXPECT_TRUE(words[1].continuation);
  EXPECT_EQ(words[1].firstEntry, 7u);
  EXPECT_EQ(words[2].entryCount, 3u);
  EXPECT_EQ(words[2].entryStep, 2u);
  EXPECT_EQ(words[2].firstEntry, 9u);
  EXPECT_EQ(words[2].listNumber, 13);
  EXPECT_STREQ(words[3].text, "dog");
  EXPECT_EQ(words[3].firstEntry, 9u);  // a new word's entry replaces the running number
}

TEST(BlockDecoding, DamagedBlocksAreRefusedNotFollowed) {
  const std::string good = std::string("\x00", 1) + "ab" + Delta(1);
  struct Case {
    const char* what;
    std::vector<u16> codes;
  };
  HandIndex h;
  h.index.blockSize = 512;
  const u16 selfFirst = h.Pair(0, 'a' + 1);
  h.SetEntry(selfFirst, static_cast<u16>(selfFirst << 4 | ('a' + 1) >> 8), 'a' + 1);  // (itself, a)
  const u16 selfSecond = h.Pair('a' + 1, 0);
  h.SetEntry(selfSecond, static_cast<u16>(('a' + 1) << 4 | selfSecond >> 8), selfSecond & 0xFF);  // (a, itself)
  const u16 zeroHalf = h.Pair(0, 'a' + 1);
  const std::vector<Case> cases = {
      {"code past the tables", Join({HandIndex::Codes(good), {4000}})},
      {"pair that contains itself first", Join({HandIndex::Codes(good), {selfFirst}})},
      {"pair that contains itself second", Join({HandIndex::Codes(good), {selfSecond}})},
      {"code 0 inside a pair", Join({HandIndex::Codes(good), {zeroHalf}})},
      {"record cut by the block's end", HandIndex::Codes(good + "\x00"
                                                                "abc"s)},
      {"word longer than the longest", HandIndex::Codes(std::string("\x00", 1) + std::string(101, 'w') + Delta(1))},
      {"extension without terminator", HandIndex::Codes(std::string("\x00", 1) + "ab\x0a" + Delta(1) + "\x05textonly")},
  };
  for (const Case& c : cases) {
    bool failed = false;
    const auto words = h.Decode(c.codes, 2, &failed);
    EXPECT_TRUE(failed) << c.what;
    EXPECT_LE(words.size(), 1u) << c.what;
  }
  // Literal offsets outside the pool: negative, and past its end.
  for (u16 offset : {u16{0x8000}, u16{300}}) {
    HandIndex damaged;
    damaged.SetEntry(258, offset, 2);
    bool failed = false;
    damaged.Decode(Join({HandIndex::Codes(std::string("\x00", 1)), {258}, HandIndex::Codes(Delta(1))}), 2, &failed);
    EXPECT_TRUE(failed) << offset;
  }
  bool failed = true;
  EXPECT_EQ(h.Decode(HandIndex::Codes(good), 2, &failed).size(), 1u);
  EXPECT_FALSE(failed);
}

TEST(BlockDecoding, TheCodeCacheDecodesAsTheTablesDo) {
  const std::string good = std::string("\x00", 1) + "ab" + Delta(1);
  HandIndex h;
  h.index.blockSize = 512;
  const u16 ing = 257;
  const u16 pairs = h.Pair(h.Pair('w' + 1, ing), h.Pair('s' + 1, 'a' + 1));  // "w" "ing", "s" "a"
  const u16 selfFirst = h.Pair(0, 'a' + 1);
  h.SetEntry(selfFirst, static_cast<u16>(selfFirst << 4 | ('a' + 1) >> 8), 'a' + 1);
  const u16 zeroHalf = h.Pair(0, 'a' + 1);
  const u16 zeroSecond = h.Pair('b' + 1, 0);  // gives "b", then fails
  const std::vector<std::vector<u16>> blocks = {
      HandIndex::Codes(good),
      Join({HandIndex::Codes(std::string("\x00", 1)),
            {pairs},
            HandIndex::Codes(Delta(5) + "\x03"),
            {ing},
            HandIndex::Codes(Delta(2))}),
      Join({HandIndex::Codes(good), {4000}}),       // a code past the tables
      Join({HandIndex::Codes(good), {selfFirst}}),  // a pair that holds itself
      Join({HandIndex::Codes(good), {zeroHalf}}),   // code 0 inside a pair
      Join({HandIndex::Codes(std::string("\x00", 1) + "a"), {zeroHalf}, HandIndex::Codes(Delta(1))}),  // mid-record
      HandIndex::Codes(good + "\x00"s + "abc"),  // cut by the block's end
      Join({HandIndex::Codes(std::string("\x00", 1) + "a"), {zeroSecond}, HandIndex::Codes(Delta(1))}),
  };
  for (size_t b = 0; b < blocks.size(); ++b) {
    bool plainFailed = false, cachedFailed = false;
    const auto plain = h.Decode(blocks[b], 2, &plainFailed);
    const auto cached = h.DecodeCached(blocks[b], 2, &cachedFailed);
    EXPECT_EQ(plainFailed, cachedFailed) << b;
    ASSERT_EQ(plain.size(), cached.size()) << b;
    for (size_t w = 0; w < plain.size(); ++w) {
      EXPECT_STREQ(plain[w].text, cached[w].text) << b;
      EXPECT_EQ(plain[w].listNumber, cached[w].listNumber) << b;
    }
  }
}

TEST(BlockDecoding, AFullBlockEndsWithoutAnEndCode) {
  HandIndex h;
  h.index.blockSize = 15;  // ten 12-bit codes, no room for code 0
  bool failed = true;
  const auto words = h.Decode(HandIndex::Codes(std::string("\x00", 1) + "abcd" + Delta(1)), 2, &failed);
  ASSERT_EQ(words.size(), 1u);
  EXPECT_FALSE(failed);
}

TEST(BuiltIndex, ListNumbersAndCapitalsReadBack) {
  auto words = TestWordList();
  IndexFixture f(NumberedWords(words));
  EXPECT_GT(f.index.blockCount, 10);
  auto sorted = words;
  std::sort(sorted.begin(), sorted.end(), builder::IndexWordLess);
  EXPECT_EQ(f.DecodeAll(), sorted);
  // Every word keeps its list number (its place in the unsorted list).
  for (u16 block = 1; block < f.index.blockCount; ++block) {
    ASSERT_TRUE(ReLoadIndexBlock(f.state, &f.index, block));
    ReIndexBlockDecoder decoder;
    decoder.Begin(f.index, f.state->blockBuffer, block, ReReadingListNumber);
    char restored[ReWordCapacity + 1];
    while (const ReIndexWord* w = decoder.Next()) {
      ReRestoreCase(f.index, *w, ReCaseLower, restored);
      const auto at = std::find(words.begin(), words.end(), restored);
      ASSERT_NE(at, words.end());
      EXPECT_EQ(w->listNumber, at - words.begin() + 1) << restored;
    }
  }
}

TEST(BuiltIndex, OccurrencesReadBackFromHitRecords) {
  std::vector<builder::IndexWord> words;
  for (u32 i = 0; i < 400; ++i) {
    builder::IndexWord w;
    w.text = std::to_string(i * 7919 % 100000);
    w.text.insert(0, 1, 'w');
    for (u32 e = 1; e <= 1 + i % 9; ++e) {
      builder::IndexOccurrence o;
      o.entry = e * (1 + i % 3) + i;
      if (i % 4 == 0) {
        o.position = static_cast<u16>(e * 11);
        o.flaggedField = e % 2 == 0;
      }
      w.occurrences.push_back(o);
    }
    words.push_back(w);
  }
  builder::WordIndexOptions options;
  options.reading = 1;
  options.blockSize = 512;
  IndexFixture f(words, options);
  u32 checked = 0;
  std::map<std::string, size_t> consumed;  // a word's records may run over blocks
  for (u16 block = 1; block < f.index.blockCount; ++block) {
    ASSERT_TRUE(ReLoadIndexBlock(f.state, &f.index, block));
    ReIndexBlockDecoder decoder;
    decoder.Begin(f.index, f.state->blockBuffer, block, ReReadingHits);
    while (const ReIndexWord* w = decoder.Next()) {
      const auto* source = &*std::find_if(words.begin(), words.end(), [&](const auto& x) { return x.text == w->text; });
      size_t& k = consumed[w->text];
      for (u32 m = 0; m < w->entryCount; ++m, ++k) {
        ASSERT_LT(k, source->occurrences.size()) << w->text;
        const auto& o = source->occurrences[k];
        EXPECT_EQ(w->firstEntry + m * w->entryStep, o.entry) << w->text;
        if (o.position) {
          EXPECT_EQ(w->position, *o.position | (o.flaggedField ? RePositionField : 0));
        }
        ++checked;
      }
    }
    EXPECT_FALSE(decoder.failed());
  }
  EXPECT_GT(checked, 1500u);
}

}  // namespace
