#include "query_history.h"

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
