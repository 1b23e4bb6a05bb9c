// The query parser, the word scanner and the compiler's operator code.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "re_charclass.h"
#include "re_query.h"

namespace {

struct Parsed {
  u32 result = 0;
  ReStatusBlock status{};
  std::string text;  // the caller's buffer afterwards
  std::string copy;  // the query copy
  u8 proximity = 0;
};

Parsed Parse(const std::string& query, u8 wordSearch = 1, u8 caseMode = 1, u16 longestWord = 40) {
  Parsed out;
  std::vector<char> buffer(1024, '\0');
  std::memcpy(buffer.data(), query.data(), std::min<size_t>(query.size(), buffer.size()));
  char work[1025] = {};
  char copy[1024] = {};
  const ReParseContext context{ReCharClassTable(1), longestWord};
  const ReParseOutput output{work, copy, &out.proximity};
  out.result = ReParseQuery(context, output, buffer.data(), 1024, wordSearch, caseMode, &out.status);
  out.text.assign(buffer.data(), strnlen(buffer.data(), buffer.size()));
  out.copy = copy;
  return out;
}

i16 ParseError(const std::string& query) {
  const Parsed parsed = Parse(query);
  EXPECT_EQ(parsed.result, ReFail) << query;
  EXPECT_EQ(parsed.status.module, ReModQuery) << query;
  return parsed.status.error;
}

std::vector<u8> Code(const std::string& normal, ReCompiledQuery* query) {
  EXPECT_EQ(ReCompileNormalForm(normal.c_str(), query), 0) << normal;
  return std::vector<u8>(query->code, query->code + query->codeLength);
}

TEST(QueryParser, WordOperatorsBecomeSymbols) {
  const Parsed parsed = Parse("cat AND dog");
  EXPECT_EQ(parsed.result, ReDone);
  EXPECT_EQ(parsed.text, "cat & dog");
  EXPECT_EQ(parsed.copy, "cat & dog");
  EXPECT_EQ(parsed.proximity, 0);
  EXPECT_EQ(Parse("a OR b NOT c NEAR d").text, "a | b ! c ~ d");
  // Operator letters inside a term stay as they are.
  EXPECT_EQ(Parse("CORN AND WHEAT").text, "CORN & WHEAT");
  EXPECT_EQ(Parse("ANDES ORBIT").text, "ANDES ORBIT");
}

TEST(QueryParser, SpacesCollapseAndAdjacentTermsNeedPositions) {
  const Parsed words = Parse("cat  dog");
  EXPECT_EQ(words.text, "cat dog");
  EXPECT_EQ(words.proximity, 1);
  EXPECT_EQ(Parse("cat  dog", 0).proximity, 0);  // a text search needs no positions
  EXPECT_EQ(Parse("  cat   ").text, "cat");
  EXPECT_EQ(Parse("cat NEAR dog").proximity, 1);
  EXPECT_EQ(Parse("cat & dog").proximity, 0);
}

TEST(QueryParser, LowerCaseOperatorWordsAreTerms) {
  const Parsed parsed = Parse("cat and dog");
  EXPECT_EQ(parsed.result, ReDone);
  EXPECT_EQ(parsed.text, "cat and dog");
  ReCompiledQuery query;
  Code(parsed.text, &query);
  ASSERT_EQ(query.termCount, 1);
  EXPECT_STREQ(query.termText[0], "cat and dog");
}

TEST(QueryParser, MisplacedOperators) {
  EXPECT_EQ(ParseError("AND cat"), ReErrOperatorMisplaced);
  EXPECT_EQ(ParseError("cat OR"), ReErrOperatorMisplaced);
  EXPECT_EQ(ParseError("cat & | dog"), ReErrOperatorMisplaced);
  EXPECT_EQ(ParseError("( )"), ReErrOperatorMisplaced);
  EXPECT_EQ(ParseError("..."), ReErrOperatorMisplaced);
  // '~' at the very end: the operator takes nothing past the text's end.
  EXPECT_EQ(ParseError("cat ~"), ReErrOperatorMisplaced);
  EXPECT_EQ(ParseError("~"), ReErrOperatorMisplaced);
}

TEST(QueryParser, Parentheses) {
  EXPECT_EQ(ParseError(std::string(11, '(') + "cat" + std::string(11, ')')), ReErrParenDepth);
  EXPECT_EQ(Parse(std::string(10, '(') + "cat" + std::string(10, ')')).result, ReDone);
  EXPECT_EQ(ParseError(") cat ("), ReErrParenUnbalanced);
  EXPECT_EQ(ParseError("(cat"), ReErrParenUnbalanced);
  EXPECT_EQ(ParseError("cat)"), ReErrParenUnbalanced);
}

TEST(QueryParser, TermLimitCountsEveryWordOfAPhrase) {
  EXPECT_EQ(Parse("a b c d e f g h").result, ReDone);
  EXPECT_EQ(ParseError("a b c d e f g h i"), ReErrTooManyTerms);
  EXPECT_EQ(ParseError("a | b | c | d | e | f | g | h | i"), ReErrTooManyTerms);
}

TEST(QueryParser, LengthCaseModeAndWildcards) {
  EXPECT_EQ(ParseError(""), ReErrQueryEmpty);
  EXPECT_EQ(ParseError("cat*"), ReErrQueryWildcard);
  EXPECT_EQ(ParseError("c?t"), ReErrQueryWildcard);
  EXPECT_EQ(Parse("cat", 1, 0).status.error, ReErrCaseMode);
  EXPECT_EQ(Parse("cat", 1, 4).status.error, ReErrCaseMode);
  EXPECT_EQ(Parse("cat", 1, 3).result, ReDone);
  // A buffer without its NUL is too long, and is never read past its end.
  EXPECT_EQ(ParseError(std::string(1024, 'a')), ReErrQueryTooLong);
  EXPECT_EQ(Parse(std::string(1023, ' ').replace(0, 3, "cat")).result, ReDone);
}

// The query's length is its only limit: a word longer than the database's
// longest word is a term that no entry holds (the search finds nothing for
// it), and never an operator even when its first letters spell one.
TEST(QueryParser, WordsLongerThanTheLongestWordAreTerms) {
  const Parsed parsed = Parse("cat & " + std::string(13, 'x'), 1, 1, 12);
  EXPECT_EQ(parsed.result, ReDone);
  EXPECT_EQ(parsed.text, "cat & " + std::string(13, 'x'));
  const Parsed cut = Parse("cat ANDES dog", 1, 1, 3);
  EXPECT_EQ(cut.result, ReDone);
  EXPECT_EQ(cut.text, "cat ANDES dog");
  EXPECT_EQ(cut.proximity, 1);  // three adjacent terms
}

TEST(QueryParser, SymbolsAreOperatorsOnlyBeforeABlank) {
  // "(a)| b": an operator right after a parenthesis still gets its spaces.
  EXPECT_EQ(Parse("(a)| b").text, "(a) | b");
  // '|' without a blank after it is part of a word.
  const Parsed glued = Parse("cat|dog");
  EXPECT_EQ(glued.text, "cat|dog");
  // '~' is an operator whether or not a blank follows. With a blank it takes
  // the blank along, like the other symbols; without one it takes only
  // itself, since taking the next character would cut the first letter off
  // the next word ("cat ~dog" would look for "og").
  EXPECT_EQ(Parse("cat ~ dog").text, "cat ~ dog");
  const Parsed near = Parse("cat ~dog");
  EXPECT_EQ(near.text, "cat ~ dog");
  EXPECT_EQ(near.proximity, 1);
}

TEST(QueryParser, NearTakesSingleWords) {
  EXPECT_EQ(Parse("white ~ house").result, ReDone);
  EXPECT_EQ(Parse("(white) NEAR (house)").result, ReDone);
  EXPECT_EQ(ParseError("(a | b) NEAR c"), ReErrNearNeedsTerms);
  EXPECT_EQ(ParseError("c NEAR (a & b)"), ReErrNearNeedsTerms);
  EXPECT_EQ(ParseError("white house NEAR garden"), ReErrNearNeedsTerms);
}

TEST(QueryParser, GroupBesideATermIsRefused) {
  EXPECT_EQ(ParseError("(a | b) c"), ReErrOperatorMisplaced);
  EXPECT_EQ(ParseError("c (a & b)"), ReErrOperatorMisplaced);
}

TEST(QueryParser, FailureLeavesTheCallersText) {
  const Parsed parsed = Parse("cat AND");
  EXPECT_EQ(parsed.text, "cat AND");
  EXPECT_EQ(parsed.copy, "");
}

TEST(WordScanner, JoinersNumbersAndFlags) {
  const u32* classes = ReCharClassTable(1);
  auto scan = [&](const char* text, u16 mode = ReScanQuery, u16* flags = nullptr) {
    const char* p = text;
    char word[64];
    u16 f = 0;
    const i32 length = ReScanWord(&p, text, word, sizeof word, &f, mode, classes);
    if (flags) *flags = f;
    return std::make_pair(length, std::string(word));
  };
  EXPECT_EQ(scan("rock-and-roll!"), std::make_pair(13, std::string("rock-and-roll")));
  EXPECT_EQ(scan("it's"), std::make_pair(4, std::string("it's")));
  EXPECT_EQ(scan("1,000,000 people"), std::make_pair(-9, std::string("1,000,000")));
  EXPECT_EQ(scan("a,b"), std::make_pair(1, std::string("a")));
  EXPECT_EQ(scan("end-\nline"), std::make_pair(8, std::string("end-line")));
  EXPECT_EQ(scan("12:30", ReScanColon), std::make_pair(-5, std::string("12:30")));
  EXPECT_EQ(scan("12:30"), std::make_pair(-2, std::string("12")));
  EXPECT_EQ(scan("(cat"), std::make_pair(0, std::string("")));
  u16 flags = 0;
  EXPECT_EQ(scan("U.S.", ReScanQuery, &flags), std::make_pair(3, std::string("U.S")));
  EXPECT_EQ(flags & ReWordTrailingDot, ReWordTrailingDot);
  scan("and/or", ReScanQuery, &flags);
  EXPECT_EQ(flags & ReWordSlash, ReWordSlash);
  // A word longer than the buffer is cut there; its whole length comes back.
  const char* text = "abcdefghij";
  const char* p = text;
  char small[4];
  EXPECT_EQ(ReScanWord(&p, text, small, sizeof small, nullptr, ReScanQuery, classes), 10);
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(p, text + 10);
}

TEST(QueryCompiler, PrecedenceAndGrouping) {
  ReCompiledQuery query;
  // a | b & c = OR(a, AND(b, c)): root over a node, OR with a node on its right.
  EXPECT_EQ(Code("a | b & c", &query), (std::vector<u8>{14, 1, 0, 4, 1, 2}));
  EXPECT_EQ(Code("(a | b) & c", &query), (std::vector<u8>{14, 6, 0, 0, 1, 2}));
  // Equal operators group to the right: a ! b ! c = a NOT (b NOT c).
  EXPECT_EQ(Code("a ! b ! c", &query), (std::vector<u8>{14, 9, 0, 8, 1, 2}));
  EXPECT_EQ(Code("a ~ b", &query), (std::vector<u8>{14, 16, 0, 1}));
  EXPECT_EQ(Code("((cat))", &query), (std::vector<u8>{12, 0}));
  EXPECT_STREQ(query.termText[0], "cat");
}

TEST(QueryCompiler, OuterParenthesesDropOnlyWhenTheyPair) {
  ReCompiledQuery query;
  Code("(a) (b)", &query);
  ASSERT_EQ(query.termCount, 1);
  EXPECT_STREQ(query.termText[0], "(a) (b)");
}

TEST(QueryCompiler, CoverTerms) {
  ReCompiledQuery query;
  Code("a | b & c ! d", &query);  // OR(a, AND(b, NOT(c, d)))
  EXPECT_EQ(std::vector<u8>(query.cover, query.cover + 4), (std::vector<u8>{1, 1, 0, 0}));
  Code("a ~ b", &query);
  EXPECT_EQ(std::vector<u8>(query.cover, query.cover + 2), (std::vector<u8>{1, 0}));
}

TEST(QueryCompiler, CandidateAndExactTests) {
  ReCompiledQuery query;
  Code("a ! b", &query);
  EXPECT_TRUE(ReTestCandidate(query, 0b11));  // the right side of NOT is not known per block
  EXPECT_FALSE(ReTestCandidate(query, 0b10));
  const u16 both[8] = {1, 1};
  const u16 left[8] = {1, 0};
  const u8 noPairs[8] = {};
  EXPECT_FALSE(ReEvalQueryCode(query, both, false, noPairs));
  EXPECT_TRUE(ReEvalQueryCode(query, both, true, noPairs));
  EXPECT_TRUE(ReEvalQueryCode(query, left, false, noPairs));

  Code("a | b ~ c", &query);
  EXPECT_TRUE(ReTestCandidate(query, 0b110));
  EXPECT_FALSE(ReTestCandidate(query, 0b100));
  const u16 bc[8] = {0, 1, 1};
  u8 pairs[8] = {};
  EXPECT_FALSE(ReEvalQueryCode(query, bc, false, pairs));
  pairs[1] = 1 << 2;
  pairs[2] = 1 << 1;
  EXPECT_TRUE(ReEvalQueryCode(query, bc, false, pairs));
}

TEST(StopWords, ListedWordsOnly) {
  for (const char* word : {"the", "of", "pop", "other", "i", "state", "become"}) EXPECT_TRUE(ReIsStopWord(word));
  for (const char* word : {"The", "cat", "", "thee", "states"}) EXPECT_FALSE(ReIsStopWord(word));
}

}  // namespace
