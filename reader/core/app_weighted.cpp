// The Smart Search's weighted query: free text cut into terms, stop words
// dropped, each distinct term weighed by how closely the terms stand
// together, and the terms handed to the engine's ranked query over the update
// database and the main database, whose hits are renumbered into articles.
#include <cstdint>

#include "veldrix_app.h"
#include "weighted_terms.h"

int CVeldrixApp::NextToken(const char* text, CString& token, int& sentence, BOOL lowerCase) {
  return m_tokenizer.Next(text, token, sentence, lowerCase != FALSE);
}

int CVeldrixApp::ParseQuery(const char* text, CStringArray& terms, CDWordArray& groups, BOOL lowerCase) {
  return ::ParseQuery(m_tokenizer, text, terms, groups, lowerCase != FALSE);
}

int CVeldrixApp::RemoveStopWords(CStringArray& terms, CDWordArray& groups, int limit) {
  return ::RemoveStopWords(terms, groups, m_stopWordList, limit);
}

namespace {

// The hit table the engine hands out between the collection and the ranking.
bool HitTable(CContentDb& db, ReConceptHit** hits, u32* count) {
  u32 address = 0;
  *count = 0;
  if (!db.GetDatabaseBlock() || REcontable(db.GetDatabaseBlock(), &address, count) == ReFail) return false;
  *hits = reinterpret_cast<ReConceptHit*>(static_cast<std::uintptr_t>(address));
  return *hits != nullptr || *count == 0;
}

u32 WithEntry(u32 word, u32 entry) { return entry * ReConceptEntryUnit + word % ReConceptEntryUnit; }

}  // namespace

BOOL CVeldrixApp::WeightedQuery(CStringArray& terms, CDWordArray& groups) {
  const WeightedTerms weighed = WeighTerms(terms, groups);
  CContentDb& updates = GetDatabase(6);
  CContentDb& main = GetDatabase(1);
  m_rankedQuery.Release();
  m_rankedQuery.SetTerms(weighed.terms, weighed.weights.data());

  m_lastWeightedUpdates = -1;
  m_lastWeightedUpdates = updates.AddConceptTerms(weighed.terms, m_rankedQuery, weighed.weights.data());
  if (m_lastWeightedUpdates < 0) return FALSE;
  // Database 1 counts the whole numbering while it collects.
  ReDbBlock* mainBlock = main.GetDatabaseBlock();
  const u32 mainEntries = mainBlock ? mainBlock->entryCount : 0;
  if (mainBlock) mainBlock->entryCount = static_cast<u32>(GetArticleCount());
  m_lastWeightedMain = main.AddConceptTerms(weighed.terms, m_rankedQuery, weighed.weights.data());
  if (mainBlock) mainBlock->entryCount = mainEntries;
  if (m_lastWeightedMain < 0) return FALSE;
  if (m_lastWeightedUpdates == 0 && m_lastWeightedMain == 0) {
    AfxMessageBox("There are no articles matching your query.", MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
  }

  // The update hits come first in the table, then the main hits: each entry
  // becomes its article, the position bits stay.
  ReConceptHit* hits = nullptr;
  u32 updateCount = 0, allCount = 0;
  if (!HitTable(updates, &hits, &updateCount)) {
    AfxMessageBox("Not enough memory to perform this operation.", MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
  }
  for (u32 i = 0; i < updateCount; ++i) {
    const u32 word = hits[i].word;
    hits[i].word = WithEntry(word, static_cast<u32>(GetUpdateArticle(static_cast<int>(word / ReConceptEntryUnit))));
  }
  if (!HitTable(main, &hits, &allCount)) {
    AfxMessageBox("Not enough memory to perform this operation.", MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
  }
  for (u32 i = updateCount; i < allCount; ++i) {
    const u32 word = hits[i].word;
    hits[i].word = WithEntry(word, static_cast<u32>(ToInternalArticle(static_cast<int>(word / ReConceptEntryUnit))));
  }
  m_queryWeights = weighed.weights;
  m_rankedQuery.SetWeights(weighed.weights);
  return TRUE;
}
