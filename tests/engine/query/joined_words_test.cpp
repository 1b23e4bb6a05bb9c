// Words with inner punctuation or accents, laid out by hand: each kind is
// found by a word search (145) and a text search (220), through the index
// the builder writes and through those another indexer may write: one that
// holds only runs of ASCII letters and digits, one that holds the words a
// query reads, whole, with their syllable dots.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "search_fixture.h"
#include "search_oracle.h"

namespace {

using searchtest::SearchDb;
namespace sc = builder::search_corpus;
using Entries = std::vector<u32>;

sc::Corpus Joined() {
  sc::Corpus corpus;
  for (const auto& [title, body] : std::vector<std::pair<std::string, std::string>>{
           {"Mail", "Send an e-mail to the list."},               // 1 hyphen
           {"Late", "It's late; John's ex came."},                // 2 apostrophe
           {"Net", "TCP/IP runs the net."},                       // 3 slash
           {"Navy", "The U.S. Navy sailed."},                     // 4 inner period
           {"Crowd", "About 1,000 people came."},                 // 5 thousands comma
           {"Coffee", "A caf\xE9 on the corner."},                // 6 accented letter
           {"Paris", "Il est \xE0 Paris."},                       // 7 a word that is all accents
           {"Design", "An object-oriented design."},              // 8 hyphen, parts on their own
           {"Plain", "email tcp ip us caf mail oriented"},        // 9 the plain words
           {"Upper", "CAF\xC9 au lait, ex-\nwife."},              // 10 capital accent, hyphen at a line end
           {"Dots", "con\xB7nect <PR> (k\xE0t) <PS>n. ends"},     // 11 syllable dot, pronunciation
           {"Songs", "Rock-and-roll, and-roll and Fe+++ ions."},  // 12 a joined word inside a longer one
       })
    corpus.articles.push_back({title, body});
  return corpus;
}

using IndexWords = sc::SearchDatabaseOptions::IndexWords;

sc::SearchDatabaseOptions Options(IndexWords words, u16 groupSize) {
  sc::SearchDatabaseOptions options;
  options.searchWords = words;
  options.groupSize = groupSize;
  return options;
}

std::string IndexName(const ::testing::TestParamInfo<IndexWords>& info) {
  return info.param == IndexWords::AsQueriesRead ? "AsQueriesRead" : "AsciiRuns";
}

class JoinedWords : public ::testing::TestWithParam<IndexWords> {
 protected:
  // Every query, by word search in blocks of four and of one entry (where the
  // index alone may decide), and by text search.
  void Expect(const std::string& query, const Entries& words, const Entries& text) {
    EXPECT_EQ(blocks_.Search(query, 145).entries, words) << query;
    EXPECT_EQ(blocks_.Search(query, 220).entries, text) << query << " (text search)";
    if (GetParam() == IndexWords::AsQueriesRead) {
      EXPECT_EQ(single_.Search(query, 145).entries, words) << query << " (one entry a block)";
    }
  }
  SearchDb blocks_{Joined(), Options(GetParam(), 4)};
  SearchDb single_{Joined(), Options(GetParam(), 1)};
};

TEST_P(JoinedWords, HyphenApostropheSlashPeriodComma) {
  Expect("e-mail", {1}, {1});
  Expect("E-Mail", {1}, {1});
  Expect("mail", {1, 9}, {1, 9});  // a part of a joined word is a word of its own
  Expect("email", {9}, {9});
  Expect("it's", {2}, {2});
  Expect("john's", {2}, {2});
  Expect("TCP/IP", {3}, {3});
  Expect("tcp", {9}, {9});  // a '/' glues the parts it joins
  Expect("ip", {9}, {9});
  Expect("U.S.", {4}, {4});
  Expect("u.s", {4}, {4});
  Expect("us", {9}, {9});
  Expect("1,000", {5}, {5});
  Expect("000", {5}, {5});
  Expect("object-oriented", {8}, {8});
  Expect("oriented", {8, 9}, {8, 9});
  Expect("object-oriented design", {8}, {8});
  Expect("e-mail NEAR list", {1}, {});  // a text search counts every character
  Expect("e-mail AND it's", {}, {});
  // Inside a longer joined word, also where the index holds it whole elsewhere.
  Expect("and-roll", {12}, {12});
  Expect("rock-and-roll", {12}, {12});
  Expect("+", {12}, {12});
}

TEST_P(JoinedWords, AccentedWords) {
  Expect("caf\xE9", {6, 10}, {6, 10});
  Expect("CAF\xC9", {6, 10}, {6, 10});
  Expect("caf", {9}, {6, 9, 10});  // the accented letter belongs to the word (a text search finds a part)
  Expect("\xE0", {7}, {7});
  Expect("\xE0 Paris", {7}, {7});
}

TEST_P(JoinedWords, SyllableDotsPronunciationAndLineEnds) {
  // The syllable dot is skipped. (An index split at syllable dots cannot
  // tell which of its words make up "connect".)
  if (GetParam() == IndexWords::AsQueriesRead) Expect("connect", {11}, {11});
  Expect("con\xB7nect", {11}, {11});  // or typed as it stands
  Expect("con", {}, {});
  Expect("k\xE0t", {}, {});  // the pronunciation is not searched
  EXPECT_EQ(blocks_.Search("n", 145).entries, Entries{11});
  Expect("wife", {10}, {10});
  Expect("ex-wife", {}, {});  // the text has a line feed in it
}

// A joined word longer than any word an index holds is found by its parts.
TEST_P(JoinedWords, AJoinedWordLongerThanAnyIndexWord) {
  const std::string longWord = "e-mail-" + std::string(150, 'x') + "-" + std::string(150, 'y');
  sc::Corpus corpus = Joined();
  corpus.articles.push_back({"Long", longWord + " here"});
  SearchDb db(corpus, Options(GetParam(), 4));
  EXPECT_EQ(db.Search(longWord).entries, Entries{13});
}

INSTANTIATE_TEST_SUITE_P(Indexes, JoinedWords, ::testing::Values(IndexWords::AsQueriesRead, IndexWords::AsciiRuns),
                         IndexName);

// The entries where a brute-force reading of the text finds the word.
Entries TextHolds(const sc::Corpus& corpus, const std::string& word) {
  oracle::Node term;
  term.words = {word};
  Entries entries;
  for (u32 e = 0; e < corpus.articles.size(); ++e)
    if (oracle::Holds(term, corpus.articles[e].Text(), corpus.articles[e].title.size(), oracle::Rules{}))
      entries.push_back(e + 1);
  return entries;
}

// Words that a '/' or a syllable dot glues together, inside longer joined
// words, and the same words on their own.
sc::Corpus GluedInside() {
  sc::Corpus corpus;
  for (const auto& [title, body] : std::vector<std::pair<std::string, std::string>>{
           {"Ports", "The non-serial-I/O case."},                      // 1
           {"Languages", "A PL/I-like language, PL/I-FORMAC."},        // 2
           {"Micros", "It ran CP/M-80 at home."},                      // 3
           {"Wires", "They con\xB7nect-ed it."},                       // 4
           {"Signs", "A km/h-limit sign."},                            // 5
           {"Alone", "I/O, PL/I and CP/M; connect at km/h."},          // 6
           {"Runs", "io non serial pl i like cp m con nect km h ed"},  // 7 the runs alone glue nothing
       })
    corpus.articles.push_back({title, body});
  return corpus;
}

// A corpus searched through one index layout in blocks of four entries and
// of one (where the index alone decides what it may).
class BothBlockSizes : public ::testing::TestWithParam<IndexWords> {
 protected:
  explicit BothBlockSizes(sc::Corpus corpus) : corpus_(std::move(corpus)) {}
  // A word search finds the term where the brute force does, in both.
  void ExpectAsTheTextHolds(const std::string& term) {
    const Entries expected = TextHolds(corpus_, term);
    EXPECT_EQ(blocks_.Search(term).entries, expected) << term;
    EXPECT_EQ(single_.Search(term).entries, expected) << term << " (one entry a block)";
  }
  // The same, where the brute force must find `expected`: the case is what
  // it says.
  void ExpectAsTheTextHolds(const std::string& term, const Entries& expected) {
    ASSERT_EQ(TextHolds(corpus_, term), expected) << term << ": the case is not what it says";
    ExpectAsTheTextHolds(term);
  }
  sc::Corpus corpus_;
  SearchDb blocks_{corpus_, Options(GetParam(), 4)};
  SearchDb single_{corpus_, Options(GetParam(), 1)};
};

class GluedWords : public BothBlockSizes {
 protected:
  GluedWords() : BothBlockSizes(GluedInside()) {}
};

TEST_P(GluedWords, FoundInsideLongerJoinedWords) {
  // What the brute force finds, to be sure the cases are what they say.
  EXPECT_EQ(TextHolds(corpus_, "i/o"), (Entries{1, 6}));
  EXPECT_EQ(TextHolds(corpus_, "pl/i"), (Entries{2, 6}));
  EXPECT_EQ(TextHolds(corpus_, "km/h"), (Entries{5, 6}));
  EXPECT_EQ(TextHolds(corpus_, "con\xB7nect"), (Entries{4}));
  for (const char* word : {"I/O", "serial-I/O", "non-serial-I/O", "PL/I", "PL/I-like", "pl/i-formac", "CP/M", "CP/M-80",
                           "con\xB7nect", "con\xB7nect-ed", "km/h", "km/h-limit", "limit", "non-serial"})
    ExpectAsTheTextHolds(word);
  // An index split at syllable dots cannot tell which of its words make up
  // "connect".
  if (GetParam() == IndexWords::AsQueriesRead)
    for (const char* word : {"connect", "connect-ed"}) ExpectAsTheTextHolds(word);
}

INSTANTIATE_TEST_SUITE_P(Indexes, GluedWords, ::testing::Values(IndexWords::AsQueriesRead, IndexWords::AsciiRuns),
                         IndexName);

// An index of the words a query reads, whole, syllable dots kept: each of
// them is found where it stands whole, also typed with its dots.
TEST(WholeWordIndex, EveryWordAsTheQueryReadsIt) {
  const std::vector<std::pair<sc::Corpus, std::vector<const char*>>> cases = {
      {Joined(),
       {"e-mail", "it's", "TCP/IP", "U.S", "1,000", "caf\xE9", "\xE0", "object-oriented", "con\xB7nect",
        "Rock-and-roll"}},
      {GluedInside(), {"non-serial-I/O", "PL/I-like", "CP/M-80", "con\xB7nect-ed", "km/h-limit"}},
  };
  for (const auto& [corpus, words] : cases)
    for (const u16 group : {u16{4}, u16{1}}) {
      SearchDb db(corpus, Options(IndexWords::WholeWords, group));
      for (const char* word : words) {
        const Entries expected = TextHolds(corpus, word);
        EXPECT_FALSE(expected.empty()) << word;
        EXPECT_EQ(db.Search(word).entries, expected) << word << " in blocks of " << group;
      }
    }
}

// Words beside a '/' that joins nothing on one side, pieces of such words,
// and terms that begin or end with other joiners.
sc::Corpus SlashEdges() {
  sc::Corpus corpus;
  for (const auto& [title, body] : std::vector<std::pair<std::string, std::string>>{
           {"/dev/null", "The null device."},                     // 1 the title line
           {"Shells", "Run /bin/sh or /dev/tty, not /usr/bin."},  // 2
           {"Acme", "acme /ak'mee/ n. the peak"},                 // 3 a pronunciation between slashes
           {"Edges", "-foo and bar- and -- and / and qux/ /baz end"},
           {"Mixed", "a-/b and c/-d and e/.f"},          // 5
           {"Dots", "a.b.c"},                            // 6 none of them beside a slash
           {"Doubled", "x//y and m/ /n and <B>/z</B>"},  // 7
           {"Options", "/a-os/ then /v-w"},              // 8 pieces beside the slashes
           {"Joined", "dev/null, bin/sh and ak'mee"},    // 9 the same words with nothing beside them
           {"Runs", "dev null bin sh tty usr ak mee foo bar qux baz os"},
       })
    corpus.articles.push_back({title, body});
  return corpus;
}

class SlashEdgeWords : public BothBlockSizes {
 protected:
  SlashEdgeWords() : BothBlockSizes(SlashEdges()) {}
};

TEST_P(SlashEdgeWords, FoundWithTheSlashBesideThemAndNowhereElse) {
  const std::vector<std::pair<std::string, Entries>> cases = {
      {"/dev/null", {1}}, {"/bin/sh", {2}},   {"/dev/tty", {2}},
      {"/usr/bin", {2}},  {"/ak'mee/", {3}},  {"qux/", {4}},
      {"/baz", {4}},      {"qux/ /baz", {4}}, {"a-/b", {5}},
      {"c/-d", {5}},      {"e/.f", {5}},      {"c/", {5}},
      {"/b", {5}},        {"x//y", {7}},      {"m/ /n", {7}},
      {"/z", {7}},        {"/w", {}},         {"dev/null", {9}},
      {"ak'mee", {9}},    {"/ak'mee", {}},    {"/dev/null NEAR /bin/sh", {}},
  };
  for (const auto& [term, expected] : cases) ExpectAsTheTextHolds(term, expected);
}

TEST_P(SlashEdgeWords, OtherJoinersAtATermsEdge) {
  for (const auto& [term, expected] : std::vector<std::pair<std::string, Entries>>{
           {"-d", {}}, {".f", {}}, {"-foo", {4}}, {"bar-", {4}}, {"u.s.", {}}, {"n.", {3}}})
    ExpectAsTheTextHolds(term, expected);
}

// An index of whole words holds no pieces of longer words.
TEST_P(SlashEdgeWords, PiecesBesideTheSlashes) {
  if (GetParam() == IndexWords::WholeWords) GTEST_SKIP() << "an index of whole words holds no pieces";
  for (const auto& [term, expected] : std::vector<std::pair<std::string, Entries>>{
           {"/a", {8}}, {"os/", {8}}, {"/a-os/", {8}}, {"/v", {8}}, {"/a-os", {}}, {"a-os/", {}}})
    ExpectAsTheTextHolds(term, expected);
}

// Inside a longer word beside the slashes the index lists only the pieces
// that touch them; a term of more pieces, or of signs alone, stands there too.
TEST_P(SlashEdgeWords, InsideLongerWordsBesideTheSlashes) {
  if (GetParam() == IndexWords::WholeWords) GTEST_SKIP() << "an index of whole words holds no pieces";
  sc::Corpus corpus;
  for (const char* body : {"/a-os here", "/a-os-x/ there", "/_ alone", "/_-y inside", "/+/ and /+-z"})
    corpus.articles.push_back({"Inside", body});
  for (const u16 group : {u16{4}, u16{1}}) {
    SearchDb db(corpus, Options(GetParam(), group));
    for (const auto& [term, expected] :
         std::vector<std::pair<std::string, Entries>>{{"/a-os", {1, 2}}, {"/_", {3, 4}}, {"/+", {5}}, {"/+/", {5}}}) {
      ASSERT_EQ(TextHolds(corpus, term), expected) << term;
      EXPECT_EQ(db.Search(term).entries, expected) << term << " in blocks of " << group;
    }
  }
}

// The text check passes over a syllable dot between a word and a joiner
// ("-", a dot, "nect" holds "-nect"), and a term of gluing characters alone
// stands as a piece of a longer word too ("\/" in "b+\/"): each is found
// there, though the index lists the word only with the dot, and gluing
// characters alone only where they stand as a word of their own.
TEST_P(SlashEdgeWords, DotsBesideJoinersAndGlueAlone) {
  const std::string dot = "\xB7";
  for (const auto& [there, elsewhere, term] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"x -" + dot + "nect y", "p nect q", "-nect"},
           {"x abc" + dot + ", y", "p abc q", "abc,"},
           {"x 1/10. y", "p 1 10 q", "1/10."},
           {"x b'\\// y", "p \\// q", "\\//"},
           {"x b+\\/ y", "p \\/ q", "\\/"},
           {"x a-" + dot + "/ y", "p " + dot + "/ q", dot + "/"}}) {
    sc::Corpus corpus;
    corpus.articles.push_back({"There", there});
    corpus.articles.push_back({"Elsewhere", elsewhere});
    const Entries expected = TextHolds(corpus, term);
    ASSERT_TRUE(!expected.empty() && expected.front() == 1u) << term;
    for (const u16 group : {u16{1}, u16{2}})
      EXPECT_EQ(SearchDb(corpus, Options(GetParam(), group)).Search(term).entries, expected)
          << term << " in blocks of " << group;
  }
}

// A sign that a blank parts from the term's only word ("- d", "d -") is in
// no index, and the word beside it stands alone there: with one entry a
// block the index would find every entry of the word, so the text decides.
TEST_P(SlashEdgeWords, ASignApartFromTheTermsWord) {
  for (const auto& [there, term] : std::vector<std::pair<std::string, std::string>>{
           {"x - d y", "- d"}, {"x d - y", "d -"}, {"x d . y", "d ."}, {"x -- d y", "-- d"}}) {
    sc::Corpus corpus;
    corpus.articles.push_back({"There", there});
    corpus.articles.push_back({"Elsewhere", "p d q"});
    ASSERT_EQ(TextHolds(corpus, term), Entries{1}) << term;
    for (const u16 group : {u16{1}, u16{2}})
      EXPECT_EQ(SearchDb(corpus, Options(GetParam(), group)).Search(term).entries, Entries{1})
          << term << " in blocks of " << group;
  }
}

// One longer than any word an index holds is found by its pieces.
TEST_P(SlashEdgeWords, LongerThanAnyIndexWord) {
  if (GetParam() == IndexWords::WholeWords) GTEST_SKIP() << "an index of whole words holds no pieces";
  const std::string longWord = "/e-mail-" + std::string(150, 'x') + "-" + std::string(150, 'y') + "/";
  sc::Corpus corpus = SlashEdges();
  corpus.articles.push_back({"Long", "see " + longWord + " here"});
  ASSERT_EQ(TextHolds(corpus, longWord), Entries{11});
  for (const u16 group : {u16{4}, u16{1}})
    EXPECT_EQ(SearchDb(corpus, Options(GetParam(), group)).Search(longWord).entries, Entries{11}) << group;
}

INSTANTIATE_TEST_SUITE_P(Indexes, SlashEdgeWords,
                         ::testing::Values(IndexWords::AsQueriesRead, IndexWords::AsciiRuns, IndexWords::WholeWords),
                         [](const ::testing::TestParamInfo<IndexWords>& info) {
                           return info.param == IndexWords::WholeWords ? std::string("WholeWords") : IndexName(info);
                         });

// The eighth term has a bit of its own in the block bytes, like the others.
TEST(Terms, EightTermsEachCount) {
  sc::Corpus corpus;
  for (u32 i = 1; i <= 40; ++i)
    corpus.articles.push_back(
        {"Count", i == 6 ? "one two three four five six seven eight" : "one two three four five"});
  for (const u16 group : {u16{1}, u16{16}}) {
    sc::SearchDatabaseOptions options;
    options.groupSize = group;
    SearchDb db(corpus, options);
    EXPECT_EQ(db.Search("one & two & three & four & five & six & seven & eight").entries, Entries{6}) << group;
    EXPECT_EQ(db.Search("one & two & three & four & five & six & seven ! eight").entries, Entries{}) << group;
    EXPECT_EQ(db.Search("one & two & three & four & five & six & seven | eight").entries, Entries{6}) << group;
  }
}

}  // namespace
