// CCategoryList: a flat list of category titles with a level per row, read
// from the media categories or the subject categories of a content database.
// Row 0 is "All" at level 0; a row's depth is the low 7 bits of its level.
#pragma once

#include "afx_core.h"

class CCategoryList : public CObject {
 public:
  int GetCount() const { return m_titles.GetSize(); }
  int GetDepth(int row) const { return static_cast<int>(m_levels[row] & 0x7F); }

  void RemoveAll();
  // out = the titles from the top level down to the row. 1 (out empty) when
  // row < 0; 0 when row is past the last row; else 1.
  int GetPath(int row, CStringArray& out) const;
  // has children[i] = 1 when row i + 1 is exactly one level deeper; the last row 0.
  void MarkChildren();

  CStringArray m_titles;
  CUIntArray m_levels;
  CByteArray m_hasChildren;
};
