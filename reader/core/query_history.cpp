#include "core/query_history.h"

CString HistoryLabel(const CString& text, int kind, bool plain) {
  CString label = text.Left(MaxHistoryText);
  if (plain) return label;
  for (int i = 0; i < label.GetLength() && i < HistoryLabelCut; ++i)
    if (label[i] == '\r' || label[i] == '\n') label.SetAt(i, ' ');
  if (label.GetLength() > HistoryLabelCut) {
    const CString first = label.Left(HistoryLabelCut);
    const int space = first.ReverseFind(' ');
    label = (space >= 0 ? first.Left(space) : first) + " ...";
  }
  const char* prefix = kind == 0 ? "Boolean: " : kind == 1 ? "Smart: " : "Other: ";
  return CString(prefix) + label;
}

void QuerySession::Add(const CBitString& set, const CString& text, int kind, const CStringArray* terms, BOOL plain) {
  m_currentQuery = set;
  m_currentKind = kind;
  m_currentText = text;
  const CString label = HistoryLabel(text, kind, plain != FALSE);
  if (m_historyCount == HistorySize) {
    for (int i = 1; i < HistorySize; ++i) {
      m_history[i - 1].label = m_history[i].label;
      m_history[i - 1].set = m_history[i].set;
      m_history[i - 1].kind = m_history[i].kind;
      m_history[i - 1].terms.RemoveAll();
      m_history[i - 1].terms.Append(m_history[i].terms);
    }
    --m_historyCount;
  }
  QueryHistoryEntry& entry = m_history[m_historyCount++];
  entry.label = label;
  entry.set = set;
  entry.kind = kind;
  entry.terms.RemoveAll();
  if (terms) entry.terms.Append(*terms);
  m_currentLabel = label;
  m_currentTerms.RemoveAll();
  m_currentTerms.Append(entry.terms);
}

BOOL QuerySession::Recall(int steps) {
  if (steps < 1 || steps > m_historyCount) return FALSE;
  const int index = m_historyCount - steps;
  // Copies: adding the entry again moves the history.
  const CString label = m_history[index].label;
  const CBitString set = m_history[index].set;
  const int kind = m_history[index].kind;
  CStringArray terms;
  terms.Append(m_history[index].terms);
  Add(set, label, kind, &terms, TRUE);
  return TRUE;
}
