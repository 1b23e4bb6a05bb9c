// Article numbering across the main and the update database, the query
// tokenizer, term weights, history labels and the query session, headwords
// and Back.bin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/article_numbering.h"
#include "core/background_links.h"
#include "core/headword.h"
#include "core/query_history.h"
#include "core/query_text.h"
#include "core/weighted_terms.h"
#include "temp_dir.h"

namespace {

ArticleNumbering Numbering(int articles, std::vector<int> updates) {
  CBitString positions(articles, FALSE);
  for (int a : updates) positions.SetBit(a, TRUE, FALSE, 0, 0);
  ArticleNumbering numbering;
  numbering.Build(positions);
  return numbering;
}

TEST(ArticleNumbering, WithoutUpdatesEveryConversionIsTheIdentity) {
  const ArticleNumbering n = Numbering(10, {});
  for (int e = 1; e <= 10; ++e) {
    EXPECT_EQ(n.ToInternalArticle(e), e);
    EXPECT_EQ(n.ToFileArticle(e), e);
    EXPECT_EQ(n.FindUpdateArticle(e), -1);
  }
  EXPECT_EQ(n.GetUpdateArticle(1), 0);
}

TEST(ArticleNumbering, UpdatesInTheMiddleShiftTheMainEntriesAfterThem) {
  const ArticleNumbering n = Numbering(8, {5, 6});
  const int expected[] = {1, 2, 3, 4, 7, 8};
  for (int e = 1; e <= 6; ++e) {
    EXPECT_EQ(n.ToInternalArticle(e), expected[e - 1]) << e;
    EXPECT_EQ(n.ToFileArticle(expected[e - 1]), e) << e;
  }
  EXPECT_EQ(n.GetUpdateArticle(1), 5);
  EXPECT_EQ(n.GetUpdateArticle(2), 6);
  EXPECT_EQ(n.GetUpdateArticle(3), 0);
  EXPECT_EQ(n.FindUpdateArticle(6), 2);
  EXPECT_EQ(n.FindUpdateArticle(7), -1);
}

TEST(ArticleNumbering, UpdatesFirstLastAndScattered) {
  // Articles 1, 4, 5 and 10 of ten come from the update database.
  const ArticleNumbering n = Numbering(10, {1, 4, 5, 10});
  const int mains[] = {2, 3, 6, 7, 8, 9};
  for (int e = 1; e <= 6; ++e) {
    EXPECT_EQ(n.ToInternalArticle(e), mains[e - 1]) << e;
    EXPECT_EQ(n.ToFileArticle(mains[e - 1]), e) << e;
  }
  EXPECT_EQ(n.GetUpdateArticle(4), 10);
  EXPECT_EQ(n.FindUpdateArticle(1), 1);
}

std::vector<std::pair<std::string, int>> Tokens(const char* text, const WordList* abbreviations = nullptr,
                                                bool lower = true) {
  QueryTokenizer tokenizer;
  tokenizer.SetAbbreviations(abbreviations);
  std::vector<std::pair<std::string, int>> tokens;
  CString token;
  int sentence = 0;
  for (int at = tokenizer.Next(text, token, sentence, lower); at >= 0;
       at = tokenizer.Next(nullptr, token, sentence, lower))
    tokens.emplace_back(static_cast<const char*>(token), sentence);
  return tokens;
}

using Tokenized = std::vector<std::pair<std::string, int>>;

TEST(QueryTokens, SentencesNumbersHyphensAndApostrophes) {
  EXPECT_EQ(Tokens("The Sun. Its planets"), (Tokenized{{"the", 1}, {"sun", 1}, {"its", 2}, {"planets", 2}}));
  EXPECT_EQ(Tokens("pi is 3.14 roughly"), (Tokenized{{"pi", 1}, {"is", 1}, {"3.14", 1}, {"roughly", 1}}));
  EXPECT_EQ(Tokens("well-known rock'n'roll fans'"), (Tokenized{{"well-known", 1}, {"rock'n'roll", 1}, {"fans'", 1}}));
  EXPECT_EQ(Tokens("AT&T; Stop"), (Tokenized{{"at&t", 1}, {"stop", 1}}));
  EXPECT_EQ(Tokens("Upper", nullptr, false), (Tokenized{{"Upper", 1}}));
  EXPECT_TRUE(Tokens("  ... , ;").empty());
}

TEST(QueryTokens, MarkupIsPassedOverAndLongWordsAreCut) {
  EXPECT_EQ(Tokens("<B>bold</B> x < y"), (Tokenized{{"bold", 1}, {"x", 1}, {"y", 1}}));
  // Inside a token, a run from a backslash to a slash is passed over.
  EXPECT_EQ(Tokens("a\\skip/b c"), (Tokenized{{"ab", 1}, {"c", 1}}));
  EXPECT_EQ(Tokens("caf<{e}>e"), (Tokenized{{"cafe", 1}}));
  const Tokenized cut = Tokens("abcdefghijklmnopqrstuvwxyzabcdefgh");
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0].first.size(), 30u);
  EXPECT_EQ(cut[1].first, "efgh");
}

TEST(QueryTokens, AbbreviationsKeepTheirPeriodsOnlyWhenListed) {
  const char list[] = "u.s.\0mr.\0\0ignored\0";
  const WordList abbreviations(list, sizeof list);
  EXPECT_EQ(abbreviations.Count(), 2);
  EXPECT_EQ(Tokens("the U.S. army", &abbreviations), (Tokenized{{"the", 1}, {"u.s.", 1}, {"army", 1}}));
  // Not listed: single letters, each period a new sentence.
  EXPECT_EQ(Tokens("the U.K. army", &abbreviations), (Tokenized{{"the", 1}, {"u", 1}, {"k", 2}, {"army", 3}}));
  EXPECT_EQ(Tokens("Mr. Smith", &abbreviations), (Tokenized{{"mr.", 1}, {"smith", 1}}));
}

TEST(QueryTokens, ParseCountsDistinctTermsAndStopWordsGo) {
  QueryTokenizer tokenizer;
  CStringArray terms;
  CDWordArray groups;
  EXPECT_EQ(ParseQuery(tokenizer, "the comet and the tail. The end", terms, groups, true), 5);
  ASSERT_EQ(terms.GetSize(), 7);
  EXPECT_EQ(groups[6], 2u);
  const char stops[] = "the\0and\0end\0";
  const WordList stopWords(stops, sizeof stops);
  // Only the first two stop words are asked for: "end" stays.
  EXPECT_EQ(RemoveStopWords(terms, groups, stopWords, 2), 3);
  EXPECT_STREQ(terms[0], "comet");
  EXPECT_STREQ(terms[2], "end");
  EXPECT_EQ(groups.GetSize(), 3);
  EXPECT_EQ(groups[2], 2u);

  CStringArray only;
  CDWordArray onlyGroups;
  ParseQuery(tokenizer, "The and THE", only, onlyGroups, false);
  EXPECT_EQ(RemoveStopWords(only, onlyGroups, stopWords, 61), 0);
  EXPECT_EQ(ParseQuery(tokenizer, "", only, onlyGroups, true), 0);
  EXPECT_EQ(StopWordLimit(50), 61);
  EXPECT_EQ(StopWordLimit(51), 62);
}

TEST(QueryTokens, CharacterClassTablesByIndex) {
  for (int index : {0, 3, 5, 14, 16, 17}) EXPECT_NE(GetCharClassTable(index), nullptr) << index;
  for (int index : {1, 2, 4, 15, 18, 19, -1}) EXPECT_EQ(GetCharClassTable(index), nullptr) << index;
}

WeightedTerms Weigh(const char* text) {
  QueryTokenizer tokenizer;
  CStringArray terms;
  CDWordArray groups;
  ParseQuery(tokenizer, text, terms, groups, true);
  return WeighTerms(terms, groups);
}

TEST(TermWeights, ALoneTermScoresOne) {
  const WeightedTerms weighed = Weigh("comet");
  ASSERT_EQ(weighed.terms.GetSize(), 1);
  EXPECT_FLOAT_EQ(weighed.weights[0], 1.0f);
}

TEST(TermWeights, TermsTogetherScoreMoreThanTermsApart) {
  const WeightedTerms together = Weigh("comet tail");
  CStringArray terms;
  terms.Add("comet");
  terms.Add("tail");
  CDWordArray sentences;
  sentences.Add(1);
  sentences.Add(9);
  const WeightedTerms apart = WeighTerms(terms, sentences);
  ASSERT_EQ(together.terms.GetSize(), 2);
  EXPECT_STREQ(together.terms[0], "comet");
  EXPECT_GT(together.weights[0], apart.weights[0]);
  EXPECT_FLOAT_EQ(apart.weights[0], 1.0f);
  EXPECT_FLOAT_EQ(together.weights[0], 2.0f);
  EXPECT_FLOAT_EQ(together.weights[1], 2.0f);
}

TEST(TermWeights, RepeatsAreOneTermAndWeakTermsCountLess) {
  CStringArray terms;
  CDWordArray groups;
  for (const char* t : {"Comet", "tail", "comet"}) terms.Add(t);
  groups.Add(1);
  groups.Add(1);
  groups.Add(5);
  const WeightedTerms weighed = WeighTerms(terms, groups);
  ASSERT_EQ(weighed.terms.GetSize(), 2);  // sorted without regard to case
  EXPECT_FLOAT_EQ(weighed.weights[0], 2.2f);
  EXPECT_FLOAT_EQ(weighed.weights[1], 2.0f);
  CDWordArray weak;
  weak.Add(1);
  weak.Add(1 | GroupWeak);
  weak.Add(5);
  const WeightedTerms weakened = WeighTerms(terms, weak);
  EXPECT_FLOAT_EQ(weakened.weights[1], 1.0f);
  EXPECT_TRUE(WeighTerms(CStringArray(), CDWordArray()).weights.empty());
}

TEST(HistoryLabels, KindsCutsAndPlainForm) {
  EXPECT_STREQ(HistoryLabel("comet AND tail", 0, false), "Boolean: comet AND tail");
  EXPECT_STREQ(HistoryLabel("comet\r\ntail", 1, false), "Smart: comet  tail");
  EXPECT_STREQ(HistoryLabel("x", 2, false), "Other: x");
  EXPECT_STREQ(HistoryLabel("Boolean: as it was", 0, true), "Boolean: as it was");
  const CString noSpace(std::string(75, 'a').c_str());
  EXPECT_STREQ(HistoryLabel(noSpace, 0, false), ("Boolean: " + std::string(70, 'a') + " ...").c_str());
  const CString spaced((std::string(60, 'a') + " " + std::string(20, 'b')).c_str());
  EXPECT_STREQ(HistoryLabel(spaced, 1, false), ("Smart: " + std::string(60, 'a') + " ...").c_str());
  EXPECT_EQ(HistoryLabel(CString(std::string(100, 'c').c_str()), 0, true).GetLength(), 79);
}

TEST(QuerySessions, RecallTakesTheLabelAsTextAndIgnoresStepsOutsideTheHistory) {
  QuerySession session;
  EXPECT_FALSE(session.Recall(1));
  CBitString set(20, FALSE);
  set.SetBit(3, TRUE, FALSE, 0, 0);
  CStringArray terms;
  terms.Add("comet");
  session.Add(set, "comet\r\ntail", 1, &terms, FALSE);
  session.Add(CBitString(20, FALSE), "zebra", 0, nullptr, FALSE);
  EXPECT_TRUE(session.IsCurrentQuery("zebra", 0));
  EXPECT_FALSE(session.IsCurrentQuery("zebra", 1));  // a ranked window shows another query
  EXPECT_EQ(session.GetCurrentTerms().GetSize(), 0);

  EXPECT_FALSE(session.Recall(0));
  EXPECT_FALSE(session.Recall(3));
  EXPECT_EQ(session.GetHistoryCount(), 2);
  EXPECT_STREQ(session.GetCurrentText(), "zebra");

  ASSERT_TRUE(session.Recall(2));
  EXPECT_EQ(session.GetHistoryCount(), 3);
  EXPECT_STREQ(session.GetCurrentText(), "Smart: comet  tail");
  EXPECT_STREQ(session.GetCurrentLabel(), "Smart: comet  tail");  // plain: not prefixed twice
  EXPECT_EQ(session.GetCurrentKind(), 1);
  EXPECT_TRUE(session.IsCurrentQuery("Smart: comet  tail", 1));
  EXPECT_STREQ(session.GetCurrentTerms()[0], "comet");
  EXPECT_TRUE(session.GetCurrentQuery().Test(3));
  EXPECT_STREQ(session.GetHistoryEntry(0).label, "Smart: comet  tail");  // the old entry stays
}

TEST(Headwords, TagsOfTheHeadword) {
  const auto headword = [](const std::string& text) {
    return FormatHeadword(HeadwordOfEntryText(text.data(), text.size()));
  };
  EXPECT_EQ(headword("<WD>ab<UP>c"), "ab (c)");
  EXPECT_EQ(headword("<IWD>ab<UP>2</UP>cd"), "ab (2)");
  EXPECT_EQ(headword("<WD>ca<DQ>t</DQ>s<TI>x</TI>\nbody"), "catsx");
  EXPECT_EQ(headword("<WD>word<SY>synonym"), "word");
  EXPECT_EQ(headword("plain title\nsecond line"), "plain title");
  EXPECT_EQ(FormatHeadword("ab\xB7"
                           "cd{stress}e<B>"),
            "abcde");
  EXPECT_EQ(FormatHeadword("open<tag"), "open");
  // The headword lookup's titles keep their escapes; shown, one stands for
  // its character, a spelling variant for nothing.
  EXPECT_EQ(FormatHeadword("<{<}>g> <{&}>c"), "<g> &c");
  EXPECT_EQ(FormatHeadword("reali<{sz}>e"), "realie");
}

TEST(BackgroundLinks, FirstPairOfTheRecord) {
  TempDir dir;
  const std::string back(
      "\x03\x00"
      "\x02\x00\x07\x00"
      "\x05\x00\x09\x00"
      "\x05\x00\x0B\x00",
      14);
  dir.Write("Back.bin", back);
  u16 item = 0;
  EXPECT_EQ(FindBackgroundItem(dir.File("Back.bin").c_str(), 5, &item), BackgroundLink::Found);
  EXPECT_EQ(item, 9);
  EXPECT_EQ(FindBackgroundItem(dir.File("Back.bin").c_str(), 4, &item), BackgroundLink::NotListed);
  EXPECT_EQ(FindBackgroundItem(dir.File("None.bin").c_str(), 5, &item), BackgroundLink::FileMissing);
  // A count beyond the pairs present reads what is there.
  dir.Write("Short.bin", std::string("\x09\x00\x02\x00\x07\x00", 6));
  EXPECT_EQ(FindBackgroundItem(dir.File("Short.bin").c_str(), 2, &item), BackgroundLink::Found);
  EXPECT_EQ(item, 7);
  EXPECT_EQ(FindBackgroundItem(dir.File("Short.bin").c_str(), 3, &item), BackgroundLink::NotListed);
}

}  // namespace
