#include "afx_geometry.h"

#include <algorithm>
#include <utility>

void CRect::NormalizeRect() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT a, LPCRECT b) {
  const CRect first(*a), second(*b);
  if (first.IsRectEmpty() || second.IsRectEmpty()) {
    SetRectEmpty();
    return FALSE;
  }
  const CRect common(std::max(first.left, second.left), std::max(first.top, second.top),
                     std::min(first.right, second.right), std::min(first.bottom, second.bottom));
  if (common.IsRectEmpty()) {
    SetRectEmpty();
    return FALSE;
  }
  *this = common;
  return TRUE;
}

BOOL CRect::UnionRect(LPCRECT a, LPCRECT b) {
  const CRect first(*a), second(*b);
  if (first.IsRectEmpty()) {
    *this = second;
  } else if (second.IsRectEmpty()) {
    *this = first;
  } else {
    SetRect(std::min(first.left, second.left), std::min(first.top, second.top), std::max(first.right, second.right),
            std::max(first.bottom, second.bottom));
  }
  if (IsRectEmpty()) {
    SetRectEmpty();
    return FALSE;
  }
  return TRUE;
}
