// The reference library, built from the installed dictionary packages for the
// headwords that begin with "cache", "cat" or "caf" (a fixed slice that
// builds in seconds), read back through the engine and the reader's
// content requests.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/bit_string.h"
#include "core/content_db.h"
#include "core/typematic.h"
#include "core/working_directory.h"
#include "inflect_fixture.h"
#include "library/dictd_file.h"
#include "library/library_set.h"
#include "packed.h"
#include "re_platform.h"
#include "search_oracle.h"
#include "temp_dir.h"

namespace {

namespace lib = builder::library;

class QuietHost : public ContentDbHost {
 public:
  void ShowMessage(const char* text) override { messages.push_back(text); }
  void BeginSearch(const char*) override {}
  ReProgressCallback SearchProgress() override { return nullptr; }
  bool SearchStopped() override { return false; }
  void EndSearch() override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  bool IsDictionaryEntry(u32) override { return false; }
  bool IsKnownSpelling(const char*) override { return false; }
  std::vector<std::string> messages;
};

struct Token {
  std::string text;
  u8 style;
};

class LibrarySlice : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    lib::LibraryOptions options;
    options.dictdDirectory = lib::DictdDirectory();
    options.prefixes = {"cache", "cat", "caf"};
    figures_ = lib::WriteLibrarySet(dir_->path(), options);
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  void SetUp() override {
    SetWorkingDirectory(dir_->path().c_str());
    SetContentDbHost(&host_);
    ASSERT_EQ(REmemory(&session_, nullptr, ReBlockApp, ReActOpen, 0), ReDone);
    ASSERT_EQ(REapp(session_, 100, ReActOpen), ReDone);
  }
  void TearDown() override {
    for (CContentDb& db : dbs_) db.Close();
    REapp(session_, 100, ReActClose);
    REmemory(&session_, nullptr, ReBlockApp, ReActClose, 0);
    SetContentDbHost(nullptr);
    EXPECT_TRUE(host_.messages.empty()) << host_.messages.front();
  }
  CContentDb& Open(int n) {
    EXPECT_TRUE(dbs_[n].Open(n, session_)) << n;
    return dbs_[n];
  }
  static std::vector<Token> Tokens(CContentDb& db, u32 entry) {
    std::vector<Token> tokens;
    for (ReTokenBlock* chunk = db.NextToken(static_cast<int>(entry)); chunk;
         chunk = db.NextToken(static_cast<int>(entry)))
      for (u16 i = 0; i < chunk->tokenCount; ++i)
        if (chunk->tokens[i].text)
          tokens.push_back({{chunk->tokens[i].text, chunk->tokens[i].length}, chunk->tokens[i].style});
    return tokens;
  }
  // The tokens one blank apart (the blanks between words are no tokens).
  static std::string Text(const std::vector<Token>& tokens) {
    std::string text;
    for (const Token& token : tokens) text += (text.empty() ? "" : " ") + token.text;
    return text;
  }
  // The main database's entry of a title, by the title index.
  static int TitleEntry(const char* title) {
    CTypematic index("TYPMATIC.RAM", "TYPMATIC.DSK");
    EXPECT_TRUE(index.Open());
    char found[256] = {};
    int entry = 0;
    const int hit = index.Lookup(title, found, &entry, CTypematic::ByText);
    index.Close();
    return hit == 1 && std::string(found) == title ? entry : 0;
  }

  // The main database's entries as it holds them (tagged text, line feeds
  // as such), read through REentry.
  std::vector<std::string> EntryTexts() const {
    std::vector<std::string> texts;
    void* block = nullptr;
    EXPECT_EQ(REmemory(&block, session_, ReBlockDb, ReActOpen, 0), ReDone);
    auto* db = static_cast<ReDbBlock*>(block);
    const ReFileSpec spec{dir_->path().c_str(), "REN2F200.DAT"};
    db->fileSpec = &spec;
    db->optionMask = 128;
    EXPECT_EQ(REdb(db, 100, ReActOpen), ReDone);
    void* entryBlock = nullptr;
    EXPECT_EQ(REmemory(&entryBlock, db, ReBlockEntry, ReActOpen, 0), ReDone);
    auto* entry = static_cast<ReEntryBlock*>(entryBlock);
    entry->handle = db->handle;
    for (u32 e = 1; e <= db->entryCount; ++e) {
      std::string text;
      entry->entry = e;
      for (u16 action = ReActOpen;; action = ReActNext) {
        const u32 result = REentry(entry, 145, action);
        if (result == ReFail) break;
        text.append(entry->text, entry->textLength);
        if (result != ReDone) break;
      }
      texts.push_back(text);
    }
    REmemory(&entryBlock, nullptr, ReBlockEntry, ReActClose, 0);
    REdb(db, 100, ReActClose);
    REmemory(&block, nullptr, ReBlockDb, ReActClose, 0);
    return texts;
  }
  // The main database's entries as the brute force reads them: the first
  // line the title, the rest the body.
  builder::search_corpus::Corpus LibraryCorpus() const {
    builder::search_corpus::Corpus corpus;
    for (const std::string& text : EntryTexts()) {
      const std::size_t lineEnd = text.find('\n');
      corpus.articles.push_back(
          {text.substr(0, lineEnd), lineEnd == std::string::npos ? "" : text.substr(lineEnd + 1)});
    }
    return corpus;
  }
  // The entries whose text holds the query by the search's rules.
  static std::vector<u32> BruteForceHits(const builder::search_corpus::Corpus& corpus, const oracle::Node& query) {
    std::vector<u32> entries;
    for (u32 e = 0; e < corpus.articles.size(); ++e) {
      const auto& article = corpus.articles[e];
      if (oracle::Holds(query, article.Text(), article.title.size(), oracle::Rules{true, true}))
        entries.push_back(e + 1);
    }
    return entries;
  }
  // The entries a Boolean search of the text finds.
  static std::vector<u32> SearchHits(CContentDb& db, const std::string& text) {
    CBitString hits(static_cast<int>(db.GetEntryCount()), FALSE);
    EXPECT_GE(db.BooleanSearch(text.c_str(), hits, "Encyclopedia"), 0) << text;
    std::vector<u32> entries;
    for (u32 e = 1; e <= db.GetEntryCount(); ++e)
      if (hits.Test(static_cast<int>(e))) entries.push_back(e);
    return entries;
  }

  static TempDir* dir_;
  static lib::LibraryFigures figures_;
  QuietHost host_;
  void* session_ = nullptr;
  CContentDb dbs_[7];
};

TempDir* LibrarySlice::dir_ = nullptr;
lib::LibraryFigures LibrarySlice::figures_;

TEST_F(LibrarySlice, EverySourceGaveContent) {
  EXPECT_GT(figures_.articles, 10u);
  EXPECT_GT(figures_.crossReferences, 5u);
  EXPECT_GT(figures_.dictionaryEntries, 300u);
  EXPECT_GT(figures_.synonymRings, 100u);
  EXPECT_GT(figures_.frenchEnglish, 5u);
  EXPECT_GT(figures_.englishFrench, 5u);
}

TEST_F(LibrarySlice, FoldocTitleFoundByTheTitleIndexAndByABooleanSearch) {
  const int cache = TitleEntry("cache");
  ASSERT_GT(cache, 0);
  CContentDb& db = Open(1);
  EXPECT_NE(Text(Tokens(db, static_cast<u32>(cache))).find("A small fast memory holding"), std::string::npos);
  CBitString hits(static_cast<int>(db.GetEntryCount()), FALSE);
  EXPECT_GT(db.BooleanSearch("cache AND memory AND processor", hits, "Encyclopedia"), 0);
  EXPECT_TRUE(hits.Test(cache));
}

TEST_F(LibrarySlice, ACrossReferenceLeadsToItsArticle) {
  const int cache = TitleEntry("cache");
  const int cacheHit = TitleEntry("cache hit");
  ASSERT_GT(cache, 0);
  ASSERT_GT(cacheHit, 0);
  CContentDb& db = Open(1);
  // The reference's text, then its target's entry number as hidden text.
  const std::vector<Token> tokens = Tokens(db, static_cast<u32>(cache));
  std::string shown, hidden;
  for (std::size_t i = 0; i < tokens.size() && hidden.empty(); ++i) {
    if (tokens[i].style & 0x80) {
      if (shown == "cache hit") hidden = tokens[i].text;
      shown.clear();
    } else if (tokens[i].style & 0x04) {
      shown += (shown.empty() ? "" : " ") + tokens[i].text;
    } else {
      shown.clear();
    }
  }
  EXPECT_EQ(hidden, std::to_string(cacheHit)) << Text(tokens);
  EXPECT_NE(Text(Tokens(db, static_cast<u32>(cacheHit))).find("cache"), std::string::npos);
}

// Words with joiners and accents of the dictionaries' own text are found.
TEST_F(LibrarySlice, WordsWithJoinersAndAccentsAreFound) {
  CContentDb& db = Open(1);
  const int cache = TitleEntry("cache");
  ASSERT_GT(cache, 0);
  CBitString hits(static_cast<int>(db.GetEntryCount()), FALSE);
  EXPECT_GT(db.BooleanSearch("write-back", hits, "Encyclopedia"), 0);
  EXPECT_TRUE(hits.Test(cache));
  for (const char* word : {"catch-as-catch-can", "cat's-tail", "one's", "U.S.", "larv\xE6", "fresh-water"})
    EXPECT_GT(db.BooleanSearch(word, hits, "Encyclopedia"), 0) << word;
}

// Boolean searches over the real text (tags, pronunciations, escapes, words
// with joiners and accents) find what a brute-force reading of each entry's
// text by the search's rules finds.
TEST_F(LibrarySlice, BooleanSearchAgreesWithABruteForceReading) {
  builder::search_corpus::Corpus corpus = LibraryCorpus();
  std::map<std::string, u32> frequency;
  for (const auto& article : corpus.articles)
    for (const auto& word : builder::search_corpus::SplitWords(article)) ++frequency[oracle::Lower(word.word)];
  std::vector<std::pair<u32, std::string>> ranked;
  for (const auto& [word, count] : frequency) ranked.emplace_back(count, word);
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [count, word] : ranked) corpus.vocabulary.push_back(word);

  CContentDb& db = Open(1);
  oracle::QueryMaker maker(corpus, 3);
  builder::search_corpus::Random render(4);
  int withHits = 0;
  for (int q = 0; q < 120; ++q) {
    const auto query = maker.Make();
    const std::string text = oracle::Render(*query, render);
    const std::vector<u32> expected = BruteForceHits(corpus, *query);
    const std::vector<u32> found = SearchHits(db, text);
    std::vector<u32> differ;
    std::set_symmetric_difference(found.begin(), found.end(), expected.begin(), expected.end(),
                                  std::back_inserter(differ));
    ASSERT_EQ(differ, std::vector<u32>{}) << "query " << q << ": " << text << " (" << found.size() << " found, "
                                          << expected.size() << " by the brute force)";
    withHits += !expected.empty();
  }
  EXPECT_GT(withHits, 40);
}

// Every token of the text with a '/' at its start or end that joins nothing
// there ("/kash/", a pronunciation) is found where the brute force finds
// it, its own entry among them.
TEST_F(LibrarySlice, TokensBesideASlashAreFoundInTheirOwnEntries) {
  const builder::search_corpus::Corpus corpus = LibraryCorpus();
  std::map<std::string, u32> tokens;  // each with the first entry that holds it
  for (u32 e = 0; e < corpus.articles.size(); ++e)
    builder::search_corpus::ForEachTextToken(corpus.articles[e], [&](std::string_view token) {
      const std::string word = oracle::Lower(std::string(token));
      if ((word.front() == '/' || word.back() == '/') && word.find_first_not_of("/") != std::string::npos &&
          oracle::Typable(word))
        tokens.emplace(word, e + 1);
    });
  ASSERT_TRUE(tokens.count("/kash/")) << tokens.size() << " tokens";
  CContentDb& db = Open(1);
  for (const auto& [token, own] : tokens) {
    oracle::Node term;
    term.words = {token};
    const std::vector<u32> found = SearchHits(db, token);
    EXPECT_EQ(found, BruteForceHits(corpus, term)) << token;
    EXPECT_TRUE(std::binary_search(found.begin(), found.end(), own)) << token << " in its entry " << own;
  }
}

// The hits' titles are cut after the headword mark: no tags, a homograph
// number in parentheses, the articles' titles as they are.
TEST_F(LibrarySlice, SearchHitTitlesHaveNoMarkup) {
  CContentDb& db = Open(1);
  CStringArray titles;
  CDWordArray entries;
  ASSERT_GT(db.DictionarySearch("cat", titles, entries), 3);
  std::vector<std::string> shown;
  for (int i = 0; i < titles.GetSize(); ++i) {
    const std::string title = static_cast<const char*>(titles[i]);
    EXPECT_FALSE(title.empty());
    EXPECT_EQ(title.find_first_of("<>{}"), std::string::npos) << title;
    shown.push_back(title);
  }
  EXPECT_NE(std::find(shown.begin(), shown.end(), "cat (1)"), shown.end());
  EXPECT_NE(std::find(shown.begin(), shown.end(), "Cat (2)"), shown.end());
  EXPECT_NE(std::find(shown.begin(), shown.end(), "cat"), shown.end());  // FOLDOC's article
}

TEST_F(LibrarySlice, GcideHeadwordWithItsSenses) {
  CContentDb& db = Open(1);
  CDWordArray entries;
  CStringArray titles;
  ASSERT_GE(db.FindEntries("cat", entries, titles), 1);
  const std::string text = Text(Tokens(db, entries[0]));
  EXPECT_NE(text.find("Any animal belonging to the natural family"), std::string::npos) << text;
  EXPECT_NE(text.find("A double tripod"), std::string::npos) << text;  // sense 3
  EXPECT_EQ(text.find("[1913 Webster]"), std::string::npos);
}

TEST_F(LibrarySlice, WordNetSynonyms) {
  CContentDb& db = Open(2);
  ASSERT_TRUE(db.ParseEntries("cat"));
  std::vector<std::string> items;
  for (int n = 0; n < db.GetParsedCount(); ++n)
    for (int k = 0; k < db.GetParsedItemCount(n); ++k) {
      CString item;
      if (db.GetParsedItem(n, k, item)) items.emplace_back(static_cast<const char*>(item));
    }
  EXPECT_NE(std::find(items.begin(), items.end(), "true cat"), items.end());
  EXPECT_NE(std::find(items.begin(), items.end(), "hombre"), items.end());
}

TEST_F(LibrarySlice, AccentedFrenchHeadwordWithItsTranslation) {
  CContentDb& db = Open(4);
  CDWordArray entries;
  CStringArray titles;
  ASSERT_GE(db.FindEntries("caf\xE9", entries, titles), 1);
  EXPECT_STREQ(titles[0], "caf\xE9");
  const std::string text = Text(Tokens(db, entries[0]));
  EXPECT_NE(text.find("coffee"), std::string::npos) << text;
}

TEST_F(LibrarySlice, ConjugationOfAFrenchVerb) {
  auto context = NewTableContext(*dir_, "infrb005.ram", "infrb005.dsk");
  ASSERT_EQ(INinit(context.get()), ReDone);
  struct Ending {
    InTableContext* context;
    ~Ending() { INterm(context); }
  } ending{context.get()};
  ASSERT_EQ(Flect(*context, "aimons", InFrench), InBuilt);
  const InTableRecord& table = *context->tables[0];
  EXPECT_STREQ(table.word, "aimer");
  EXPECT_EQ(LineCell(table, "Pr\xE9sent", 3), "nous |aimons");
}

}  // namespace
