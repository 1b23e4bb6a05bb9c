// The engine requests of the content databases over the sample content's
// databases: opening by the settings' defaults, entry text, headwords,
// Boolean searches with their messages and stops, word lists and the ranked
// query.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "content/sample_content.h"
#include "core/concept_query.h"
#include "core/content_db.h"
#include "core/working_directory.h"
#include "engine_db/engine_db.h"
#include "engine_db/lists_samples.h"
#include "re_platform.h"
#include "reader/reader_sample.h"
#include "sample/sample_set.h"
#include "search_corpus/search_database.h"
#include "temp_dir.h"

namespace {

class RecordingHost : public ContentDbHost {
 public:
  void ShowMessage(const char* text) override { messages.push_back(text); }
  void BeginSearch(const char* caption) override {
    captions.push_back(caption);
    ++searches;
  }
  ReProgressCallback SearchProgress() override { return nullptr; }
  bool SearchStopped() override { return stop; }
  void EndSearch() override { --searches; }
  void BeginWaitCursor() override { ++waits; }
  void EndWaitCursor() override { --waits; }
  bool IsDictionaryEntry(u32 entry) override { return entry % 2 == 1; }
  bool IsKnownSpelling(const char*) override { return false; }

  std::vector<std::string> messages, captions;
  int searches = 0, waits = 0;
  bool stop = false;
};

class ContentDatabases : public testing::Test {
 protected:
  void SetUp() override {
    builder::WriteSampleSet(dir.path());
    SetWorkingDirectory(dir.path().c_str());
    SetContentDbHost(&host);
    ASSERT_EQ(REmemory(&session, nullptr, ReBlockApp, ReActOpen, 0), ReDone);
    ASSERT_EQ(REapp(session, 100, ReActOpen), ReDone);
  }
  void TearDown() override {
    for (CContentDb& db : dbs) db.Close();
    REapp(session, 100, ReActClose);
    REmemory(&session, nullptr, ReBlockApp, ReActClose, 0);
    SetContentDbHost(nullptr);
    EXPECT_EQ(host.searches, 0);
    EXPECT_EQ(host.waits, 0);
  }
  CContentDb& Open(int n) {
    EXPECT_TRUE(dbs[n].Open(n, session)) << n;
    return dbs[n];
  }

  TempDir dir;
  RecordingHost host;
  void* session = nullptr;
  CContentDb dbs[7];
  const builder::ContentSample sample = builder::BuildContentSample();
};

TEST_F(ContentDatabases, SixDatabasesOpenFromTheDefaults) {
  for (int n = 1; n <= 6; ++n) Open(n);
  EXPECT_EQ(dbs[1].GetEntryCount(), sample.mainTitles.size());
  EXPECT_EQ(dbs[6].GetEntryCount(), sample.updateTitles.size());
  EXPECT_STREQ(dbs[1].m_datFile, "REN2F200.DAT");
  EXPECT_STREQ(dbs[1].m_mmxFile, "MAROVA.MMX");
  EXPECT_STREQ(dbs[2].m_mmxFile, "");  // only the encyclopedia has media by default
  EXPECT_EQ(dbs[1].GetMediaCategoryCount(), 5);
  EXPECT_STREQ(dbs[6].m_path, dir.path().c_str());
  dbs[1].Close();
  EXPECT_FALSE(dbs[1].IsOpen());
  EXPECT_EQ(dbs[1].GetEntryCount(), 0u);
  EXPECT_TRUE(dbs[1].Close());  // twice is harmless
}

TEST_F(ContentDatabases, AFailedOpenLeavesNothingOpen) {
  std::filesystem::remove(dir.File("MAROVA.MMX"));
  const i32 live = ReLiveAllocations();
  EXPECT_FALSE(dbs[1].Open(1, session));
  EXPECT_FALSE(dbs[1].IsOpen());
  std::filesystem::remove(dir.File("QUIRN.DAT"));
  EXPECT_FALSE(dbs[2].Open(2, session));
  EXPECT_EQ(ReLiveAllocations(), live);
#if !defined(_WIN32)
  // Every allocation of the open failing in turn (natively the engine's
  // allocations are this program's; under Windows they are the DLL's).
  const u32 before = ReAllocationCount();
  ASSERT_TRUE(dbs[6].Open(6, session));
  const u32 needed = ReAllocationCount() - before;
  dbs[6].Close();
  for (u32 n = 1; n <= needed; ++n) {
    ReFailAllocationAfter(n);
    const bool opened = dbs[6].Open(6, session);
    ReFailAllocationAfter(0);
    if (opened) dbs[6].Close();
    EXPECT_EQ(ReLiveAllocations(), live) << n;
  }
#endif
}

TEST_F(ContentDatabases, EntryTextComesInChunksAndEnds) {
  CContentDb& db = Open(6);
  std::string text;
  int chunks = 0;
  for (ReTokenBlock* chunk = db.NextToken(1); chunk; chunk = db.NextToken(1), ++chunks) {
    for (u16 i = 0; i < chunk->tokenCount; ++i) text.append(chunk->tokens[i].text, chunk->tokens[i].length);
    ASSERT_LT(chunks, 100);
  }
  EXPECT_GE(chunks, 1);
  EXPECT_NE(text.find(sample.updateTitles[0].substr(0, 5)), std::string::npos) << text;
  // The walk is over: the next call starts a new one.
  ReTokenBlock* again = db.NextToken(2);
  ASSERT_NE(again, nullptr);
  while (db.NextToken(2)) {
  }
}

TEST_F(ContentDatabases, HeadwordOfAnEntry) {
  CContentDb& db = Open(1);
  CString headword;
  EXPECT_EQ(db.GetHeadword(1, headword), 1);
  EXPECT_STREQ(headword, sample.mainTitles[0].c_str());
  EXPECT_EQ(db.GetHeadword(0, headword), 0);
  EXPECT_TRUE(headword.IsEmpty());
  EXPECT_EQ(db.GetHeadword(static_cast<int>(db.GetEntryCount()) + 1, headword), 0);
}

TEST_F(ContentDatabases, BooleanSearchHitsMessagesAndStop) {
  CContentDb& db = Open(1);
  CBitString hits(static_cast<int>(db.GetEntryCount()), FALSE);
  EXPECT_GT(db.BooleanSearch("comet", hits, "Encyclopedia"), 0);
  EXPECT_EQ(host.captions.back(), "Encyclopedia");
  const auto entryOf = [&](const std::string& title) {
    for (size_t i = 0; i < sample.mainTitles.size(); ++i)
      if (sample.mainTitles[i] == title) return static_cast<int>(i) + 1;
    return 0;
  };
  EXPECT_TRUE(hits.Test(entryOf("Comet")));
  EXPECT_TRUE(hits.Test(entryOf("Astronomy")));
  EXPECT_FALSE(hits.Test(entryOf("Solar System")));  // "comets" is another word
  EXPECT_FALSE(hits.Test(entryOf("Zebra")));
  EXPECT_EQ(db.BooleanSearch("comet AND zebra", hits, "Encyclopedia"), 0);
  EXPECT_TRUE(host.messages.empty());

  EXPECT_EQ(db.BooleanSearch("(comet", hits, "Encyclopedia"), -1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "The search expression contains unbalanced parentheses.");
  EXPECT_EQ(db.BooleanSearch("comet AND", hits, "Encyclopedia"), -1);
  EXPECT_EQ(host.messages.back(), "The search expression contains unbalanced operators.");
  // A group beside a term lacks the operator between them.
  EXPECT_EQ(db.BooleanSearch("(comet | volcano) zebra", hits, "Encyclopedia"), -1);
  EXPECT_EQ(host.messages.back(), "The search expression contains unbalanced operators.");

  host.stop = true;  // the reader pressed Cancel
  EXPECT_EQ(db.BooleanSearch("comet", hits, "Encyclopedia"), -1);
  EXPECT_EQ(hits.GetSetCount(), 0);
  EXPECT_EQ(host.messages.size(), 3u);
}

TEST_F(ContentDatabases, DictionarySearchSaysWhenNothingMatches) {
  CContentDb& db = Open(5);
  CStringArray titles;
  CDWordArray entries;
  EXPECT_EQ(db.DictionarySearch("zebra", titles, entries), 1);
  EXPECT_EQ(host.captions.back(), "Vorn dictionary");
  EXPECT_EQ(entries.GetSize(), 1);
  EXPECT_EQ(db.DictionarySearch("cat", titles, entries), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "There are no items matching your search expression.");
}

TEST_F(ContentDatabases, SpellingHelpOffersTheIndexWords) {
  CContentDb& db = Open(1);
  CStringArray alternatives;
  EXPECT_EQ(db.LookupWord("comet", alternatives, 13), 0);  // known
  const int offered = db.LookupWord("volcnao", alternatives, 13);
  ASSERT_GT(offered, 0);
  EXPECT_LE(offered, 8);
  bool volcano = false;
  for (int i = 0; i < alternatives.GetSize(); ++i) volcano = volcano || alternatives[i] == "volcano";
  EXPECT_TRUE(volcano);
  const int comte = db.LookupWord("comte", alternatives, 12);
  EXPECT_GT(comte, 0);
  EXPECT_EQ(comte, alternatives.GetSize());
  EXPECT_EQ(host.waits, 0);
}

TEST_F(ContentDatabases, SpellingHelpShortCuts) {
  CContentDb& db = Open(1);
  CStringArray alternatives;
  EXPECT_EQ(db.LookupWord(CString(std::string(31, 'w').c_str()), alternatives, 15), -1);
  EXPECT_EQ(db.LookupWord("this", alternatives, 12), 0);
  EXPECT_EQ(db.LookupWord("COUNTRY", alternatives, 12), 0);
  EXPECT_EQ(db.LookupWord("x", alternatives, 12), 0);
  CBitString hits(static_cast<int>(db.GetEntryCount()), FALSE);
  EXPECT_EQ(db.LookupTerm(" ,.; ", hits), -1);
}

TEST_F(ContentDatabases, WildcardListKeepsAHundredWordsWithoutTheDictionaryFilter) {
  builder::search_corpus::Corpus words;
  std::string body;
  for (int i = 0; i < 150; ++i) {
    body += 'w';
    body += std::to_string(1000 + i);
    body += ' ';
  }
  words.articles.push_back({"Words", body});
  builder::search_corpus::SearchDatabaseOptions options;
  options.databaseId = 202;
  builder::engine_db::Write(dir.File("QUIRN.DAT"), builder::search_corpus::SearchDatabase(words, options));
  CContentDb& db = Open(2);
  CStringArray list;
  EXPECT_EQ(db.ListWildcard("w1*", list), 100);
  EXPECT_STREQ(list[0], "w1000");
  EXPECT_EQ(db.ListWildcard("q*", list), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "There are no words matching your wildcard pattern.");
  EXPECT_EQ(db.ListAnagrams("zzqqx", 0, list), 0);
  EXPECT_EQ(host.messages.back(), "There are no anagrams matching your search criteria.");
}

TEST_F(ContentDatabases, RankedQueryOverOneDatabase) {
  CContentDb& db = Open(6);
  CStringArray terms;
  terms.Add("mars");
  terms.Add("rover");
  const float weights[] = {1.0f, 2.0f};
  ConceptQuery query;
  EXPECT_EQ(db.AddConceptTerms(terms, query, weights), 1);
  CBitString hits(static_cast<int>(db.GetEntryCount()), FALSE);
  EXPECT_GT(db.RunConceptQuery(query, hits, "Internet Updates"), 0);
  EXPECT_TRUE(hits.IsOrdered());
  const int best = hits.GetAt(1);
  EXPECT_EQ(hits.GetScore(best), 1000u);
  EXPECT_FALSE(query.HasTerms());  // released with the ranking

  CStringArray nothing;
  nothing.Add("xylophone");
  EXPECT_EQ(db.AddConceptTerms(nothing, query, nullptr), 0);
  EXPECT_EQ(db.RunConceptQuery(query, hits, "Internet Updates"), 0);
}

TEST_F(ContentDatabases, ThesaurusEntriesParsedIntoSenses) {
  namespace edb = builder::engine_db;
  edb::Write(dir.File("QUIRN.DAT"), edb::ThesaurusDatabase(edb::EnglishThesaurus()).database);
  CContentDb& db = Open(2);
  ASSERT_TRUE(db.ParseEntries("run"));
  ASSERT_EQ(db.GetParsedCount(), 2);
  std::vector<std::string> labels;
  std::vector<std::vector<std::string>> items;
  for (int n = 0; n < db.GetParsedCount(); ++n) {
    CString label;
    ASSERT_TRUE(db.GetParsedLabel(n, label));
    labels.emplace_back(label);
    items.emplace_back();
    for (int k = 0; k < db.GetParsedItemCount(n); ++k) {
      CString item;
      ASSERT_TRUE(db.GetParsedItem(n, k, item));
      items.back().emplace_back(item);
    }
  }
  const size_t verb = labels[0] == "verb run" ? 0 : 1;
  EXPECT_EQ(labels[verb], "verb run");
  EXPECT_EQ(labels[1 - verb], "noun run");
  EXPECT_EQ(items[verb], (std::vector<std::string>{"dash", "sprint", "race"}));
  EXPECT_EQ(items[1 - verb], (std::vector<std::string>{"trip", "jaunt"}));
  CString out;
  EXPECT_FALSE(db.GetParsedItem(0, 99, out));
  EXPECT_FALSE(db.GetParsedLabel(2, out));
  EXPECT_FALSE(db.ParseEntries("zzz"));
  EXPECT_EQ(db.GetParsedCount(), 0);
}

TEST_F(ContentDatabases, DictionaryHeadwordsEntriesAndSpelling) {
  namespace edb = builder::engine_db;
  edb::Write(dir.File("R052E550.DAT"), edb::DictionaryDatabase(edb::EnglishDictionary()));
  CContentDb& db = Open(5);
  CDWordArray entries;
  CStringArray titles;
  EXPECT_EQ(db.FindEntries("bass", entries, titles), 2);
  EXPECT_STREQ(titles[0], "bass (1)");
  EXPECT_EQ(entries[1], 3u);
  CString headword;
  ASSERT_EQ(db.GetHeadword(3, headword), 1);
  EXPECT_STREQ(headword, "bass (2)");
  ASSERT_EQ(db.GetHeadword(5, headword), 1);
  EXPECT_STREQ(headword, "reali");  // a tag other than the headword's own ends it

  // The headword sets of a text's words, ANDed.
  CBitString hits(static_cast<int>(db.GetEntryCount()), FALSE);
  EXPECT_EQ(db.LookupTerm("run", hits), 1);
  EXPECT_TRUE(hits.Test(4));
  EXPECT_EQ(db.LookupTerm("run, cat", hits), 0);
  EXPECT_EQ(db.LookupTerm("zzz run", hits), 0);
}

// The French-English dictionary of the sample: its text-mode entries end
// (their chunks stop coming once they are empty) and its headwords carry
// spelling tables, so a misspelled word gets alternatives.
TEST_F(ContentDatabases, TranslationEntriesEndAndMisspellingsGetAlternatives) {
  CContentDb& db = Open(4);
  int chunks = 0;
  int tokens = 0;
  for (ReTokenBlock* chunk = db.NextToken(6); chunk; chunk = db.NextToken(6), ++chunks) {
    tokens += chunk->tokenCount;
    ASSERT_LT(chunks, 100);
  }
  EXPECT_GE(chunks, 1);
  EXPECT_GT(tokens, 0);
  int again = 0;
  for (ReTokenBlock* chunk = db.NextToken(1); chunk; chunk = db.NextToken(1), ++again) ASSERT_LT(again, 100);
  EXPECT_GE(again, 1);  // a new walk of another entry

  CStringArray alternatives;
  EXPECT_EQ(db.LookupWord("chanter", alternatives, 14), 0);
  ASSERT_EQ(db.LookupWord("chantr", alternatives, 14), 2);
  EXPECT_STREQ(alternatives[0], "chanter");
  EXPECT_EQ(db.LookupWord("zzzz", alternatives, 14), -1);
}

}  // namespace
