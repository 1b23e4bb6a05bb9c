// The queries over the main and the update database: Boolean and term
// queries, the sources of the last ranked query, and the Smart Search's
// weighted query: free text cut into terms, stop words dropped, each
// distinct term weighed by how closely the terms stand together, and the
// terms handed to the engine's ranked query over the update database and the
// main database, whose hits are renumbered into articles.
#include <cstdint>

#include "core/reader_content.h"
#include "core/weighted_terms.h"

BOOL ReaderContent::BooleanQuery(const CString& text, CBitString& result) {
  CBitString main(static_cast<int>(GetDatabase(1).GetEntryCount()), FALSE);
  CBitString updates(static_cast<int>(GetDatabase(6).GetEntryCount()), FALSE);
  if (GetDatabase(1).BooleanSearch(text, main, "Encyclopedia") < 0) return FALSE;
  if (GetDatabase(6).BooleanSearch(text, updates, "Internet Updates") < 0) return FALSE;
  UnionBits(result, main, updates);
  if (result.GetSetCount() == 0) {
    AfxMessageBox("There are no articles matching your query.", MB_ICONEXCLAMATION | MB_OK);
    return FALSE;
  }
  return TRUE;
}

int ReaderContent::QueryBits(const CString& text, CBitString& result) {
  CBitString main(static_cast<int>(GetDatabase(1).GetEntryCount()), FALSE);
  CBitString updates(static_cast<int>(GetDatabase(6).GetEntryCount()), FALSE);
  if (GetDatabase(1).LookupTerm(text, main) < 0 || GetDatabase(6).LookupTerm(text, updates) < 0) return 0;
  UnionBits(result, main, updates);
  return result.GetSetCount();
}

BOOL ReaderContent::QuerySources(CBitString& result) {
  result.Resize(GetArticleCount());
  if (m_lastWeightedMain == -1 && m_lastWeightedUpdates == -1) return FALSE;
  // The ranked hits are article numbers by now: database 6 ranks them over
  // the whole numbering.
  ReDbBlock* updates = GetDatabase(6).GetDatabaseBlock();
  const u32 entries = updates ? updates->entryCount : 0;
  if (updates) updates->entryCount = static_cast<u32>(GetArticleCount());
  GetDatabase(6).RunConceptQuery(m_rankedQuery, result, "Encyclopedia and Internet Updates");
  m_lastWeightedMain = m_lastWeightedUpdates = -1;
  if (updates) updates->entryCount = entries;
  return result.GetSetCount() > 0;
}

int ReaderContent::NextToken(const char* text, CString& token, int& sentence, BOOL lowerCase) {
  return m_tokenizer.Next(text, token, sentence, lowerCase != FALSE);
}

int ReaderContent::ParseQuery(const char* text, CStringArray& terms, CDWordArray& groups, BOOL lowerCase) {
  return ::ParseQuery(m_tokenizer, text, terms, groups, lowerCase != FALSE);
}

int ReaderContent::RemoveStopWords(CStringArray& terms, CDWordArray& groups, int limit) {
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

BOOL ReaderContent::WeightedQuery(CStringArray& terms, CDWordArray& groups) {
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
