// ReaderContent: the content every screen reads, opened at start-up: the 19
// filter sets and the numbering of articles across the main and the update
// database, the engine session and the content databases, the title
// indexes, the spelling hash, the stop words and abbreviations, and the
// queries run over them. The application holds it (as part of its
// ReaderContext); the screens reach it through Reader().
#pragma once

#include <vector>

#include "core/article_numbering.h"
#include "core/bit_string.h"
#include "core/bookmarks.h"
#include "core/concept_query.h"
#include "core/content_db.h"
#include "core/query_text.h"
#include "core/typematic.h"
#include "core/working_directory.h"
#include "framework.h"

constexpr int FilterFileCount = 19;

class ReaderContent : public BookmarkArticles {
 public:
  ReaderContent();
  ~ReaderContent() override = default;
  ReaderContent(const ReaderContent&) = delete;
  ReaderContent& operator=(const ReaderContent&) = delete;

  // --- start-up and shutdown ---
  // The 19 filter sets of the working directory and the numbering made of
  // them; FALSE when one is missing or damaged.
  BOOL LoadBitSets();
  // The engine session and databases 1-6, and the set of every article; FALSE
  // (after the database's own message) when one cannot be opened, with none
  // left open.
  BOOL OpenDatabases();
  void CloseDatabases();
  BOOL LoadSpellHash();
  BOOL SpellHashFind(const char* word) const;

  // --- articles ---
  int ToInternalArticle(int entry) { return m_updateTable.ToInternalArticle(entry); }
  int ToFileArticle(int article) const { return m_updateTable.ToFileArticle(article); }
  int GetUpdateArticle(int index) const { return m_updateTable.GetUpdateArticle(index); }
  int FindUpdateArticle(int article) const { return m_updateTable.FindUpdateArticle(article); }
  // A set over database-1 entries and one over database-6 entries as one set
  // in article numbering.
  CBitString& UnionBits(CBitString& result, const CBitString& mainSet, const CBitString& updateSet) const;
  // The number of articles: the size of every article set.
  int GetArticleCount() const { return m_mainArticles.GetBitCount(); }
  // Database n (1-6), whatever slot holds it.
  CContentDb& GetDatabase(int n);

  // --- queries ---
  BOOL BooleanQuery(const CString& text, CBitString& result);
  int QueryBits(const CString& text, CBitString& result);
  BOOL QuerySources(CBitString& result);
  int NextToken(const char* text, CString& token, int& sentence, BOOL lowerCase);
  int ParseQuery(const char* text, CStringArray& terms, CDWordArray& groups, BOOL lowerCase);
  int RemoveStopWords(CStringArray& terms, CDWordArray& groups, int limit);
  BOOL WeightedQuery(CStringArray& terms, CDWordArray& groups);

  // --- titles ---
  int LookupTitle(int article, char* title);
  BOOL FindTitle(const char* text, char* title, int* article);

  // --- what start-up found ---
  char m_strWorkingDir[WorkingDirectorySize] = "";
  BOOL m_bSaveOnExit = FALSE;
  BOOL m_bDisplayPictures = FALSE;
  BOOL m_bShowIntro = FALSE;
  BOOL m_bMediaAvailable = FALSE;

  // --- the sets, the numbering and the databases ---
  int m_lastWeightedMain = -1;
  int m_lastWeightedUpdates = -1;
  // The 19 filter sets, in load order.
  CBitString m_hspBits, m_mrvBits, m_picBits, m_graphBits, m_tableBits, m_mapBits, m_soundBits, m_videoBits, m_animBits,
      m_multBits, m_clkmapBits, m_clkpicBits, m_tdwBits, m_knvrBits, m_tmlBits, m_updatesBits, m_vornBits, m_urlBits,
      m_linkBits;
  CBitString m_allArticles;
  CBitString m_mainArticles;
  CBitString m_updatePositions;
  ArticleNumbering m_updateTable;
  void* m_session = nullptr;
  BOOL m_bDatabasesOpen = FALSE;
  CContentDb m_databases[7];
  const char* m_abbreviations = nullptr;
  const char* m_stopWords = nullptr;
  u8* m_spellTable = nullptr;

  // The title indexes, the texts the search windows keep between their
  // openings, and the ranked query.
  CTypematic m_mainTitles;
  CTypematic m_updateTitles;
  CString m_strBooleanTerm[4];
  int m_nBooleanOperator[3] = {0, 0, 0};
  CString m_strBooleanQuery;
  CString m_strSmartQuery;
  std::vector<float> m_queryWeights;
  ConceptQuery m_rankedQuery;

 protected:
  // BookmarkArticles
  int ArticleCount() const override { return GetArticleCount(); }
  int MainEntryCount() const override;
  int UpdateEntryCount() const override;
  const CBitString& MainArticles() const override { return m_mainArticles; }
  const ArticleNumbering& Numbering() const override { return m_updateTable; }
  bool UpdateTitle(int index, char* title) override;
  int FindUpdateTitle(const char* title) override;

  BOOL m_bMainTitlesOpen = FALSE;
  BOOL m_bUpdateTitlesOpen = FALSE;
  WordList m_abbreviationList;
  WordList m_stopWordList;
  QueryTokenizer m_tokenizer;
};
