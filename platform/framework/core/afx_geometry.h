// CPoint, CSize and CRect: the Windows POINT, SIZE and RECT with the usual
// operations, so they pass wherever the structures are expected. Rectangles
// follow the Windows rules: right and bottom are outside, a rectangle with no
// width or no height is empty.
#pragma once

#include "afx_types.h"

class CSize : public SIZE {
 public:
  CSize() : SIZE{0, 0} {}
  CSize(int x, int y) : SIZE{x, y} {}
  CSize(SIZE size) : SIZE(size) {}

  bool operator==(SIZE other) const { return cx == other.cx && cy == other.cy; }
  bool operator!=(SIZE other) const { return !(*this == other); }
  CSize operator+(SIZE other) const { return CSize(cx + other.cx, cy + other.cy); }
  CSize operator-(SIZE other) const { return CSize(cx - other.cx, cy - other.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
  void operator+=(SIZE other) {
    cx += other.cx;
    cy += other.cy;
  }
  void operator-=(SIZE other) {
    cx -= other.cx;
    cy -= other.cy;
  }
};

class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(int x, int y) : POINT{x, y} {}
  CPoint(POINT point) : POINT(point) {}
  explicit CPoint(SIZE size) : POINT{size.cx, size.cy} {}

  void Offset(int dx, int dy) {
    x += dx;
    y += dy;
  }
  void Offset(POINT delta) { Offset(delta.x, delta.y); }
  void Offset(SIZE delta) { Offset(delta.cx, delta.cy); }

  bool operator==(POINT other) const { return x == other.x && y == other.y; }
  bool operator!=(POINT other) const { return !(*this == other); }
  void operator+=(SIZE delta) { Offset(delta); }
  void operator-=(SIZE delta) { Offset(-delta.cx, -delta.cy); }
  void operator+=(POINT delta) { Offset(delta); }
  void operator-=(POINT delta) { Offset(-delta.x, -delta.y); }
  CPoint operator+(SIZE delta) const { return CPoint(x + delta.cx, y + delta.cy); }
  CPoint operator-(SIZE delta) const { return CPoint(x - delta.cx, y - delta.cy); }
  CPoint operator+(POINT delta) const { return CPoint(x + delta.x, y + delta.y); }
  CSize operator-(POINT other) const { return CSize(x - other.x, y - other.y); }
  CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect : public RECT {
 public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& rect) : RECT(rect) {}
  CRect(LPCRECT rect) : RECT(*rect) {}
  CRect(POINT topLeft, SIZE size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

  BOOL IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  BOOL PtInRect(POINT point) const { return point.x >= left && point.x < right && point.y >= top && point.y < bottom; }
  BOOL EqualRect(LPCRECT other) const {
    return left == other->left && top == other->top && right == other->right && bottom == other->bottom;
  }

  void SetRect(int l, int t, int r, int b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(LPCRECT source) { *static_cast<RECT*>(this) = *source; }
  void NormalizeRect();

  void InflateRect(int x, int y) { InflateRect(x, y, x, y); }
  void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
  void InflateRect(int l, int t, int r, int b) {
    left -= l;
    top -= t;
    right += r;
    bottom += b;
  }
  void InflateRect(LPCRECT by) { InflateRect(by->left, by->top, by->right, by->bottom); }
  void DeflateRect(int x, int y) { InflateRect(-x, -y); }
  void DeflateRect(SIZE size) { InflateRect(-size.cx, -size.cy); }
  void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
  void DeflateRect(LPCRECT by) { DeflateRect(by->left, by->top, by->right, by->bottom); }
  void OffsetRect(int dx, int dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  void OffsetRect(POINT delta) { OffsetRect(delta.x, delta.y); }
  void OffsetRect(SIZE delta) { OffsetRect(delta.cx, delta.cy); }

  // The common part of both; empty (all zero) and FALSE when they do not meet.
  BOOL IntersectRect(LPCRECT a, LPCRECT b);
  // The smallest rectangle holding both, ignoring empty ones; FALSE when empty.
  BOOL UnionRect(LPCRECT a, LPCRECT b);

  bool operator==(const RECT& other) const { return EqualRect(&other) != FALSE; }
  bool operator!=(const RECT& other) const { return !(*this == other); }
  void operator+=(POINT delta) { OffsetRect(delta); }
  void operator-=(POINT delta) { OffsetRect(-delta.x, -delta.y); }
  void operator&=(const RECT& other) { IntersectRect(this, &other); }
  void operator|=(const RECT& other) { UnionRect(this, &other); }
  CRect operator+(POINT delta) const {
    CRect moved(*this);
    moved.OffsetRect(delta);
    return moved;
  }
  CRect operator&(const RECT& other) const {
    CRect common;
    common.IntersectRect(this, &other);
    return common;
  }
  CRect operator|(const RECT& other) const {
    CRect both;
    both.UnionRect(this, &other);
    return both;
  }
};
