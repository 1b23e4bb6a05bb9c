// The search history that every screen shares: the label of a query in it,
// and the session of queries (the history of the last ten and the current
// query) that the search windows write and the results windows read.
#pragma once

#include "afx_core.h"
#include "core/bit_string.h"

constexpr int MaxHistoryText = 79;
constexpr int HistoryLabelCut = 70;

// The query text, at most 79 characters. In plain form that is the label;
// otherwise line breaks become spaces, a text longer than 70 characters is
// cut at its last space within the first 70 (at 70 without one) and ends in
// " ...", and the kind's prefix comes first: "Boolean: " (0), "Smart: " (1),
// "Other: " (any other).
CString HistoryLabel(const CString& text, int kind, bool plain);

// One entry of the query history.
struct QueryHistoryEntry {
  CString label;
  CBitString set;
  int kind = 0;  // 0 Boolean, 1 Smart, other
  CStringArray terms;
};

class QuerySession {
 public:
  static constexpr int HistorySize = 10;

  // The query becomes the current one and the newest entry (the oldest of
  // ten goes). `terms` may be null; `plain` keeps the text as its label.
  void Add(const CBitString& set, const CString& text, int kind, const CStringArray* terms, BOOL plain);
  // The entry `steps` back (1 = newest) is added again, its label as its
  // text; FALSE when the history holds no such entry.
  BOOL Recall(int steps);

  int GetHistoryCount() const { return m_historyCount; }
  const QueryHistoryEntry& GetHistoryEntry(int i) const { return m_history[i]; }
  const CBitString& GetCurrentQuery() const { return m_currentQuery; }
  // The current query's text, as typed (a recalled query's is its label).
  const CString& GetCurrentText() const { return m_currentText; }
  // Whether a results window of this text and ranked flag shows the current
  // query: the same text, ranked exactly when that is a Smart Search.
  BOOL IsCurrentQuery(const CString& text, int ranked) const {
    return text == m_currentText && (ranked == 1) == (m_currentKind == 1);
  }
  const CString& GetCurrentLabel() const { return m_currentLabel; }
  int GetCurrentKind() const { return m_currentKind; }
  const CStringArray& GetCurrentTerms() const { return m_currentTerms; }

 private:
  CBitString m_currentQuery;
  int m_currentKind = 0;
  CString m_currentText;
  CString m_currentLabel;
  CStringArray m_currentTerms;
  QueryHistoryEntry m_history[HistorySize];
  int m_historyCount = 0;
};
