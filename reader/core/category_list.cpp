#include "core/category_list.h"

void CCategoryList::RemoveAll() {
  m_titles.RemoveAll();
  m_levels.RemoveAll();
  m_hasChildren.RemoveAll();
}

int CCategoryList::GetPath(int row, CStringArray& out) const {
  out.RemoveAll();
  if (row < 0) return 1;
  if (row >= GetCount()) return 0;
  int wanted = GetDepth(row) + 1;
  for (int r = row; r >= 0 && wanted > 0; --r) {
    if (GetDepth(r) + 1 != wanted) continue;
    out.InsertAt(0, m_titles[r]);
    --wanted;
  }
  return 1;
}

void CCategoryList::MarkChildren() {
  const int rows = GetCount();
  m_hasChildren.SetSize(rows);
  for (int i = 0; i < rows; ++i) m_hasChildren[i] = i + 1 < rows && GetDepth(i + 1) == GetDepth(i) + 1 ? 1 : 0;
}
