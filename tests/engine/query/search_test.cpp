// REsearch: pages of hits, the protocol of 470 / 430 / 480, its codes, and
// the progress callback.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "packed.h"
#include "search_fixture.h"

namespace {

using searchtest::Page;
using searchtest::SearchDb;
namespace sc = builder::search_corpus;

std::string Title(u32 i) {
  return std::string("Heading ") + static_cast<char>('a' + i % 26) + static_cast<char>('a' + i / 26 % 26);
}

// 120 articles: cat in 1-60, dog in 1-51, emu in 1-50, yak in 7 only, and
// two NEAR pairs 7 and 8 positions apart in 100 and 101.
sc::Corpus Counted() {
  sc::Corpus corpus;
  for (u32 i = 1; i <= 120; ++i) {
    sc::Article article;
    article.title = Title(i);
    std::string body = "Lorem ipsum";
    if (i <= 60) body += " cat";
    if (i <= 51) body += " dog";
    if (i <= 50) body += " emu";
    if (i == 7) body += " yak";
    if (i == 100) body += " white a b c d e f house";
    if (i == 101) body += " white a b c d e f g house";
    article.body = body + " dolor.";
    corpus.articles.push_back(article);
  }
  return corpus;
}

std::vector<u32> Range(u32 first, u32 last) {
  std::vector<u32> out;
  for (u32 e = first; e <= last; ++e) out.push_back(e);
  return out;
}

struct Reports {
  std::vector<std::pair<u32, u32>> calls;
  int stopAfter = -1;  // stop at the n-th call (0: the first)
};
Reports* g_reports = nullptr;

i32 RE_CALL Record(u32 done, u32 total) {
  g_reports->calls.emplace_back(done, total);
  return g_reports->stopAfter >= 0 && static_cast<int>(g_reports->calls.size()) > g_reports->stopAfter ? 1 : 0;
}

class Search : public ::testing::Test {
 protected:
  Search() : db_(Counted()) {}
  void SetProgress(ReProgressCallback callback) {
    db_.database().block()->progress = callback;
    ASSERT_EQ(REdb(db_.database().block(), 100, ReActReset), ReDone);
  }
  SearchDb db_;
};

TEST_F(Search, PagesOfFifty) {
  const auto outcome = db_.Search("cat");
  ASSERT_EQ(outcome.pages.size(), 2u);
  EXPECT_EQ(outcome.pages[0].result, ReDone);
  EXPECT_EQ(outcome.pages[0].entries, Range(1, 50));
  EXPECT_EQ(outcome.pages[0].titles[0], Title(1));
  EXPECT_EQ(outcome.pages[1].result, ReWarn);
  EXPECT_EQ(outcome.pages[1].status.warning, ReWarnEnded);
  EXPECT_EQ(outcome.pages[1].entries, Range(51, 60));
}

TEST_F(Search, TheFiftyFirstHitOpensTheNextPage) {
  const auto outcome = db_.Search("dog");
  ASSERT_EQ(outcome.pages.size(), 2u);
  EXPECT_EQ(outcome.pages[0].entries.size(), 50u);
  EXPECT_EQ(outcome.pages[1].entries, std::vector<u32>{51});
  EXPECT_EQ(outcome.pages[1].titles, std::vector<std::string>{Title(51)});
}

TEST_F(Search, FiftyHitsFillOnePage) {
  // The page is full only when a 51st hit comes: 50 hits are one last page.
  const auto outcome = db_.Search("emu");
  ASSERT_EQ(outcome.pages.size(), 1u);
  EXPECT_EQ(outcome.pages[0].entries.size(), 50u);
  EXPECT_EQ(outcome.pages[0].status.warning, ReWarnEnded);
}

TEST_F(Search, OnePageResultEndsWithItsLastPage) {
  const auto outcome = db_.Search("yak OR (white NEAR house)");
  ASSERT_EQ(outcome.pages.size(), 1u);
  EXPECT_EQ(outcome.pages[0].result, ReWarn);
  EXPECT_EQ(outcome.pages[0].status.warning, ReWarnEnded);
  EXPECT_EQ(outcome.pages[0].entries, (std::vector<u32>{7, 100}));
  EXPECT_EQ(outcome.normalised, "yak | (white ~ house)");
  // The buffers went with the warning; a next page is refused, 480 is harmless.
  const Page next = db_.Call(145, ReActNext);
  EXPECT_EQ(next.result, ReFail);
  EXPECT_EQ(next.status.warning, ReWarnEnded);
  EXPECT_EQ(next.status.error, ReErrCodeMap);
  EXPECT_EQ(db_.Call(145, ReActClose).result, ReDone);
}

TEST_F(Search, NothingFound) {
  const auto outcome = db_.Search("cat AND zebra");
  ASSERT_EQ(outcome.pages.size(), 1u);
  EXPECT_EQ(outcome.pages[0].result, ReWarn);
  EXPECT_EQ(outcome.pages[0].status.warning, ReWarnNothing);
  EXPECT_EQ(outcome.pages[0].status.module, 180);
  EXPECT_EQ(outcome.normalised, "cat & zebra");
}

// A word longer than the database's longest word ("heading", 7 letters)
// is searched like any other and found nowhere.
TEST_F(Search, WordsLongerThanAnyIndexWordAreFoundNowhere) {
  const auto alone = db_.Search("headings");
  ASSERT_EQ(alone.pages.size(), 1u);
  EXPECT_EQ(alone.pages[0].result, ReWarn);
  EXPECT_EQ(alone.pages[0].status.warning, ReWarnNothing);
  EXPECT_EQ(db_.Search("cat | headings").entries, Range(1, 60));
  EXPECT_EQ(db_.Search("cat NOT headings").entries, Range(1, 60));
}

TEST_F(Search, NotAndPhrases) {
  EXPECT_EQ(db_.Search("cat NOT dog").entries, Range(52, 60));
  EXPECT_EQ(db_.Search("cat dog emu").entries, Range(1, 50));
  EXPECT_EQ(db_.Search("dog cat").entries, std::vector<u32>{});
  EXPECT_EQ(db_.Search("the").entries, std::vector<u32>{});  // a stop word is searched in the text
  EXPECT_EQ(db_.Search("CAT", 145, 2).entries, std::vector<u32>{});
  EXPECT_EQ(db_.Search("Lorem & yak", 145, 3).entries, std::vector<u32>{7});
}

TEST_F(Search, QueryChangedBetweenPages) {
  db_.SetQuery("cat");
  ASSERT_EQ(db_.Call(145, ReActOpen).result, ReDone);
  db_.block()->caseMode = 2;
  const Page changed = db_.Call(145, ReActNext);
  EXPECT_EQ(changed.result, ReFail);
  EXPECT_EQ(changed.status.error, ReErrRunState);
  // The failure gave the buffers back: another next page is refused too.
  db_.block()->caseMode = 1;
  EXPECT_EQ(db_.Call(145, ReActNext).status.error, ReErrRunState);

  db_.SetQuery("cat");
  ASSERT_EQ(db_.Call(145, ReActOpen).result, ReDone);
  EXPECT_EQ(db_.Call(220, ReActNext).status.error, ReErrRunState);  // the function changed
}

TEST_F(Search, AFreshStartOnExistingBuffersStartsOver) {
  db_.SetQuery("dog");
  Page first = db_.Call(145, ReActOpen);
  ASSERT_EQ(first.result, ReDone);  // 51 hits: the 51st is pending
  db_.SetQuery("cat");
  first = db_.Call(145, ReActOpen);
  EXPECT_EQ(first.entries, Range(1, 50));
  const Page second = db_.Call(145, ReActNext);
  EXPECT_EQ(second.entries, Range(51, 60));
  EXPECT_EQ(second.result, ReWarn);
}

TEST_F(Search, ParseErrorsReleaseTheBuffers) {
  Reports reports;
  g_reports = &reports;
  SetProgress(Record);
  db_.SetQuery("AND cat");
  const Page page = db_.Call(145, ReActOpen);
  EXPECT_EQ(page.result, ReFail);
  EXPECT_EQ(page.status.error, ReErrOperatorMisplaced);
  ASSERT_FALSE(reports.calls.empty());
  EXPECT_EQ(reports.calls.back(), std::make_pair(0x7FFFFFFFu, 0x7FFFFFFFu));
  SetProgress(nullptr);
}

TEST_F(Search, FunctionAndActionCodes) {
  db_.SetQuery("cat");
  Page page = db_.Call(99, ReActOpen);
  EXPECT_EQ(page.status.error, ReErrFunction);
  EXPECT_EQ(page.status.module, ReModSearch);
  page = db_.Call(145, 999);
  EXPECT_EQ(page.status.error, ReErrAction);
  EXPECT_EQ(REsearch(nullptr, 145, ReActOpen), ReFail);
}

TEST_F(Search, ProgressStopKeepsTheHitsSoFar) {
  Reports reports;
  reports.stopAfter = 30;
  g_reports = &reports;
  SetProgress(Record);
  db_.SetQuery("cat");
  const Page page = db_.Call(145, ReActOpen);
  SetProgress(nullptr);
  EXPECT_EQ(page.result, ReWarn);
  EXPECT_EQ(page.status.warning, ReCodeStopped);
  EXPECT_FALSE(page.entries.empty());
  EXPECT_LT(page.entries.size(), 50u);
  EXPECT_EQ(page.entries, Range(1, static_cast<u32>(page.entries.size())));
  // The stop released the search, which reports the end.
  EXPECT_EQ(reports.calls.back(), std::make_pair(0x7FFFFFFFu, 0x7FFFFFFFu));
  // A 480 after it reports the end again and does no harm.
  reports.calls.clear();
  SetProgress(Record);
  EXPECT_EQ(db_.Call(145, ReActClose).result, ReDone);
  SetProgress(nullptr);
  EXPECT_EQ(reports.calls, (std::vector<std::pair<u32, u32>>{{0x7FFFFFFFu, 0x7FFFFFFFu}}));
}

TEST(SearchDatabases, ABlockOfAnotherDatabaseIsRefused) {
  sc::Corpus corpus = Counted();
  SearchDb first(corpus);
  sc::SearchDatabaseOptions other;
  other.databaseId = 78;
  SearchDb second(corpus, other);
  first.SetQuery("cat");
  first.block()->handle = second.database().block()->handle;
  const Page page = first.Call(145, ReActOpen);
  EXPECT_EQ(page.result, ReFail);
  EXPECT_EQ(page.status.error, ReErrSelectionDb);
  first.block()->handle = first.database().block()->handle;
}

// The search reads the code and group tables by what they hold, whatever
// their element counts or the code width claim.
TEST(SearchDatabases, DamagedTableCountsAndCodeWidthAreChecked) {
  struct Damaged {
    builder::engine_db::Built built = builder::engine_db::Build(sc::SearchDatabase(Counted()));
    void Put(std::size_t at, u32 value, int bytes) {
      for (int i = 0; i < bytes; ++i) built.bytes[at + i] = static_cast<u8>(value >> 8 * (bytes - 1 - i));
    }
    std::size_t Record(std::uint16_t table) const { return built.layout.Find(table)->record; }
  };
  for (const std::uint16_t table : {10, 20}) {
    Damaged d;
    d.Put(d.Record(table) + 10, 0xFFFF, 2);  // the element count
    SearchDb db(d.built.bytes);
    EXPECT_EQ(db.Search("cat").entries, Range(1, 60)) << table;
  }
  {
    Damaged d;
    const std::size_t length = d.built.layout.Find(30)->length;
    d.Put(d.Record(30) + 12, static_cast<u32>(length - 200), 4);  // table 30 holds 100 codes fewer than table 20
    SearchDb db(d.built.bytes);
    EXPECT_NE(db.Search("cat").pages.back().result, ReDone);
  }
  for (const u16 width : {0, 17, 24, 32}) {
    Damaged d;
    d.Put(d.built.layout.components[0].offset + 118, width, 2);
    SearchDb db(d.built.bytes);
    const Page page = db.Call(145, ReActOpen);
    EXPECT_EQ(page.result, ReFail) << width;
    EXPECT_EQ(page.status.error, ReErrNoSearchIndex) << width;  // -490 follows it
    db.Call(145, ReActClose);
  }
}

TEST(SearchDatabases, SmallerPagesAndTextSearch) {
  SearchDb db(Counted(), sc::SearchDatabaseOptions{}, 7);
  const auto outcome = db.Search("cat");
  ASSERT_EQ(outcome.pages.size(), 9u);
  EXPECT_EQ(outcome.entries, Range(1, 60));
  // A text search finds a term inside a word.
  EXPECT_EQ(db.Search("ore", 220).entries, Range(1, 120));
  EXPECT_EQ(db.Search("ore", 145).entries, std::vector<u32>{});
}

// The slot count is the caller's to change: a larger value than the slots
// REmemory made must not let a page run past them.
TEST(SearchDatabases, SlotCountAboveTheSlotsMadeIsCut) {
  SearchDb db(Counted(), sc::SearchDatabaseOptions{}, 7);
  db.block()->slotCount = 5000;
  const auto outcome = db.Search("cat");
  EXPECT_EQ(outcome.entries, Range(1, 60));
  for (const Page& page : outcome.pages) EXPECT_LE(page.entries.size(), 7u);
}

// An entry without a title is no hit to show, whether the text or the index
// alone (one entry a block) decides; the page goes on with the next hit.
TEST(SearchDatabases, AnEntryWithoutATitleIsNoHit) {
  sc::Corpus corpus;
  for (u32 i = 1; i <= 60; ++i) corpus.articles.push_back({i % 2 ? Title(i) : "", "a cat sat"});
  for (const u16 group : {u16{1}, u16{16}}) {
    sc::SearchDatabaseOptions options;
    options.groupSize = group;
    SearchDb db(corpus, options, 10);
    std::vector<u32> odd;
    for (u32 e = 1; e <= 60; e += 2) odd.push_back(e);
    const auto outcome = db.Search("cat");
    EXPECT_EQ(outcome.entries, odd) << group;
    ASSERT_EQ(outcome.pages.size(), 3u) << group;
    EXPECT_EQ(outcome.pages[0].titles[1], Title(3)) << group;
  }
}

// The corpus's search database in title mode 4 (titles cut after <WD>).
SearchDb TitleModeFour(const sc::Corpus& corpus) {
  builder::engine_db::Database database = sc::SearchDatabase(corpus);
  database.header.titleMode = 4;
  return SearchDb(builder::engine_db::Build(database).bytes);
}

// In title mode 4 a hit's title is cut after <WD> by the entry-title rules
// and shown as the text shows it: escapes as their characters, and from a
// first line of any length (a title starts near its line's beginning).
TEST(SearchDatabases, HitTitlesAsTheTextShowsThem) {
  sc::Corpus corpus;
  corpus.articles.push_back({"<WD><{<}>g>", "a grin"});
  for (const std::size_t length : {1022u, 1023u, 1024u, 2000u}) {
    std::string line = "<WD>Long<UP>" + std::to_string(length) + "</UP><PR>";
    while (line.size() < length) line += line.size() % 2 ? 'p' : ' ';
    corpus.articles.push_back({line, "<P>a grin"});  // the pronunciation ends at the tag
  }
  const auto outcome = TitleModeFour(corpus).Search("grin");
  ASSERT_EQ(outcome.entries, (std::vector<u32>{1, 2, 3, 4, 5}));
  EXPECT_EQ(outcome.pages[0].titles,
            (std::vector<std::string>{"<g>", "Long (1022)", "Long (1023)", "Long (1024)", "Long (2000)"}));
}

// The title follows its tag wherever that stands in the first line, also
// past the first 1,022 characters.
TEST(SearchDatabases, ATitleTagLateInItsLine) {
  sc::Corpus corpus;
  for (const std::size_t before : {0u, 1018u, 1019u, 1100u, 3000u}) {
    std::string line = "<P>";
    while (line.size() < before) line += line.size() % 2 ? 'p' : ' ';
    corpus.articles.push_back({line + "<WD>Late<UP>" + std::to_string(before) + "</UP><PS>n", "a grin"});
  }
  corpus.articles.push_back({"<P>no title tag at all", "a grin"});  // no hit to show
  const auto outcome = TitleModeFour(corpus).Search("grin");
  ASSERT_EQ(outcome.entries, (std::vector<u32>{1, 2, 3, 4, 5}));
  EXPECT_EQ(outcome.pages[0].titles,
            (std::vector<std::string>{"Late (0)", "Late (1018)", "Late (1019)", "Late (1100)", "Late (3000)"}));
}

// A letter right after a tag's '>' begins a word: no term starts at the next
// character ("xcat" holds no "cat"), while one right after the '>' does.
// The phrase "xc" is the only pair a budget of one makes (the most
// frequent), so that the tag's '>' and the letters after it stand in
// codes of their own.
TEST(SearchDatabases, ATermStartsAfterATagButNotAfterItsFirstLetter) {
  sc::Corpus corpus;
  corpus.articles.push_back({"Feline", "cat"});
  corpus.articles.push_back({"Tag", "<b>xcat</b> xc xc xc"});
  corpus.articles.push_back({"Bold", "<b>cat</b>"});
  sc::SearchDatabaseOptions options;
  options.maxCodes = 258;
  SearchDb db(corpus, options);
  ASSERT_EQ(db.database().record()->terminalCount, 2u);  // the end code and "xc"
  EXPECT_EQ(db.Search("cat").entries, (std::vector<u32>{1, 3}));
  EXPECT_EQ(db.Search("xcat").entries, (std::vector<u32>{2}));
}

}  // namespace
