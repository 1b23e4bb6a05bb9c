// The term analysis InAnalyzeWord and the word-hash probe.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "hand_bytes.h"
#include "in_analyze.h"
#include "in_hash.h"
#include "inflect/conjugation.h"
#include "inflect/inflect_records.h"
#include "re_charclass.h"

namespace {

using builder::Bytes;
using Strings = std::vector<std::string>;

Bytes WordHash(const Strings& known, size_t entries = 128) {
  Bytes table(entries * 4, 0);
  for (const std::string& text : known) builder::inflect::AddToWordHash(table, text);
  return table;
}

struct Analysis {
  i16 count;
  Strings alternatives;
  u8 elided;
};

Analysis Analyze(const std::string& word, u8 kind, const Bytes& hash, u32 bufferSize = 200, u8 elided = 0) {
  // The buffer is exactly as large as said, so that a write past it is caught.
  auto buffer = std::make_unique<char[]>(bufferSize ? bufferSize : 1);
  Analysis result{};
  result.elided = elided;
  result.count = InAnalyzeWord(word.c_str(), kind, ReCharClassTable(kind), {hash.data(), static_cast<u32>(hash.size())},
                               buffer.get(), bufferSize, &result.elided);
  const char* at = buffer.get();
  for (i16 i = 0; i < result.count; ++i) {
    result.alternatives.emplace_back(at);
    at += result.alternatives.back().size() + 1;
  }
  return result;
}

bool Probe(const std::string& text, const Bytes& table, u32 size) {
  return InProbeWordHash(text.c_str(), 0, static_cast<i32>(text.size()) - 1, table.data(), size);
}

TEST(WordHashProbe, FindsWhatTheWriterPlacedAndStopsAtEmptyOrAfterNine) {
  const Bytes table = WordHash({"-t-il", "l'", "n't"});
  EXPECT_TRUE(Probe("-t-il", table, static_cast<u32>(table.size())));
  EXPECT_TRUE(Probe("n't", table, static_cast<u32>(table.size())));
  EXPECT_TRUE(InProbeWordHash("aime-t-il", 4, 8, table.data(), static_cast<u32>(table.size())));
  EXPECT_FALSE(Probe("-il", table, static_cast<u32>(table.size())));
  EXPECT_FALSE(InProbeWordHash("abc", 2, 1, table.data(), static_cast<u32>(table.size())));
  EXPECT_FALSE(InProbeWordHash("abc", -1, 1, table.data(), static_cast<u32>(table.size())));

  // Every slot taken by another value: absent after nine probes.
  Bytes full(128 * 4, 0);
  for (size_t i = 0; i < full.size(); i += 4) full[i] = 0x80;  // nonzero, low 15 bits 0
  EXPECT_FALSE(Probe("zq", full, static_cast<u32>(full.size())));
  EXPECT_FALSE(Probe("zq", Bytes(512, 0), 512));  // all entries empty
}

// A word hash written out by hand: 128 big-endian u32 entries. "l'" hashes
// (by the rule, worked out by hand) to h = 27687 and x = 27723: slot
// 27723 & 127 = 75, where the entry's low 15 bits hold h.
TEST(WordHashProbe, HandWrittenEntry) {
  handbytes::HandFile table(512);
  table.Be32(75 * 4, 0x00006C27);  // h = 27687
  const Bytes& bytes = table.bytes();
  EXPECT_TRUE(Probe("l'", bytes, 512));
  EXPECT_FALSE(Probe("n'", bytes, 512));
  // The same h with a bit above the low 15 still matches; another h does not.
  table.Be32(75 * 4, 0x00016C27);
  EXPECT_TRUE(Probe("l'", table.bytes(), 512));
  table.Be32(75 * 4, 0x00006C28);
  EXPECT_FALSE(Probe("l'", table.bytes(), 512));
}

TEST(WordHashProbe, TablesOfAnySizeStayInBounds) {
  // The probe steps far beyond a small table; each step is reduced into it.
  for (u32 size : {0u, 3u, 4u, 6u, 16u, 40u}) {
    Bytes small(size, 0x7F);  // nonzero entries that match nothing
    EXPECT_FALSE(Probe("anything", small, size)) << size;
  }
}

TEST(TermAnalysis, ElisionRemovesAKnownBeginning) {
  const Bytes hash = WordHash({"l'", "qu'"});
  Analysis a = Analyze("l'homme", 5, hash);
  EXPECT_EQ(a.alternatives, (Strings{"homme"}));
  EXPECT_EQ(a.elided, 1);
  EXPECT_EQ(Analyze("qu'il", 9, hash).alternatives, (Strings{"il"}));
  // Kind 3 looks for the apostrophe at position 1 only.
  EXPECT_EQ(Analyze("qu'il", 3, hash).count, 0);
  EXPECT_EQ(Analyze("l'eau", 3, hash).alternatives, (Strings{"eau"}));
  // An unknown beginning leaves the word whole; the out-byte is never cleared.
  a = Analyze("d'abord", 5, hash, 200, 1);
  EXPECT_EQ(a.count, 0);
  EXPECT_EQ(a.elided, 1);
}

TEST(TermAnalysis, Kind5TakesOnlyTheLongestKnownHyphenEnding) {
  const Bytes hash = WordHash({"-t-il", "-il", "-ci"});
  EXPECT_EQ(Analyze("aime-t-il", 5, hash).alternatives, (Strings{"aime"}));
  EXPECT_EQ(Analyze("-ci", 5, hash).alternatives, (Strings{""}));  // any stem length, also 0
  EXPECT_EQ(Analyze("aimeil", 5, hash).count, 0);                  // endings must begin with "-"
}

TEST(TermAnalysis, Kind12AddsTheStemsOfItsCliticEndings) {
  const Bytes hash = WordHash({"-lo", "-nos", "-la", "-"});
  EXPECT_EQ(Analyze("compr\xE1-lo", 12, hash).alternatives, (Strings{"compr\xE1", "comprar", "compraz"}));
  EXPECT_EQ(Analyze("vamo-nos", 12, hash).alternatives, (Strings{"vamo", "vamos"}));
  EXPECT_EQ(Analyze("parti-la", 12, hash).alternatives, (Strings{"parti", "partis", "partiz"}));
  EXPECT_EQ(Analyze("faz\xEA-la", 12, hash).alternatives, (Strings{"faz\xEA", "fazer", "fazez"}));
  EXPECT_EQ(Analyze("fiz-lo", 12, hash).alternatives, (Strings{"fiz"}));  // any other last letter
  EXPECT_EQ(Analyze("abc-", 12, hash).alternatives, (Strings{"abc"}));    // kind 12 tries endings of 1
}

TEST(TermAnalysis, Kind8AddsPlainAndPluralStems) {
  const Bytes hash = WordHash({"nes"});
  EXPECT_EQ(Analyze("j\xF3venes", 8, hash).alternatives, (Strings{"j\xF3ve", "jove", "j\xF3ves", "joves"}));
  EXPECT_EQ(Analyze("canes", 8, hash).alternatives, (Strings{"ca", "cas"}));  // no accent: no plain copy
  EXPECT_EQ(Analyze("s\xE1sanes", 8, WordHash({"anes"})).alternatives, (Strings{"s\xE1s", "sas"}));
}

TEST(TermAnalysis, Kind9TriesEveryEndingFromTwoToSix) {
  const Bytes hash = WordHash({"ait", "rait"});
  EXPECT_EQ(Analyze("parlerait", 9, hash).alternatives, (Strings{"parler", "parlere", "parlerre", "parle"}));
  EXPECT_EQ(Analyze("ait", 9, hash).count, 0);  // the stem needs two letters
}

TEST(TermAnalysis, OtherKindsTryEveryKnownEnding) {
  const Bytes hash = WordHash({"n't", "'s", "s"});
  EXPECT_EQ(Analyze("doesn't", 16, hash).alternatives, (Strings{"does"}));
  EXPECT_EQ(Analyze("dog's", 16, hash).alternatives, (Strings{"dog"}));
  EXPECT_EQ(Analyze("dog's", 3, hash).alternatives, (Strings{"dog"}));  // kind 3: an apostrophe ending
  EXPECT_EQ(Analyze("", 16, hash).count, 0);
}

TEST(TermAnalysis, TheResultBufferIsNeverOverrun) {
  const Bytes hash = WordHash({"rait", "ait"});
  EXPECT_EQ(Analyze("parlerait", 9, hash, 7).alternatives, (Strings{"parler"}));  // "parler" and its NUL
  EXPECT_EQ(Analyze("parlerait", 9, hash, 6).count, 0);
  EXPECT_EQ(Analyze("parlerait", 9, hash, 0).count, 0);
  EXPECT_EQ(Analyze(std::string(100000, 'a') + "ait", 9, hash).alternatives.size(), 0u);  // 200 bytes
}

}  // namespace
