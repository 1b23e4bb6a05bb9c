// CRect, CPoint and CSize follow the Windows rectangle rules.
#include <gtest/gtest.h>

#include "afx_core.h"

TEST(CoreGeometry, RectangleMeasuresAndHitTestsWithExclusiveEdges) {
  CRect rect(10, 20, 110, 70);
  EXPECT_EQ(rect.Width(), 100);
  EXPECT_EQ(rect.Height(), 50);
  EXPECT_EQ(rect.Size(), CSize(100, 50));
  EXPECT_EQ(rect.TopLeft(), CPoint(10, 20));
  EXPECT_EQ(rect.BottomRight(), CPoint(110, 70));
  EXPECT_EQ(rect.CenterPoint(), CPoint(60, 45));
  EXPECT_TRUE(rect.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(rect.PtInRect(CPoint(110, 20)));
  EXPECT_FALSE(rect.PtInRect(CPoint(10, 70)));
  EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
  EXPECT_TRUE(CRect(5, 9, 8, 2).IsRectEmpty());
  EXPECT_TRUE(CRect().IsRectNull());
}

TEST(CoreGeometry, RectangleMovesGrowsAndShrinks) {
  CRect rect(0, 0, 10, 10);
  rect.OffsetRect(5, -5);
  EXPECT_EQ(rect, CRect(5, -5, 15, 5));
  rect.InflateRect(2, 3);
  EXPECT_EQ(rect, CRect(3, -8, 17, 8));
  rect.DeflateRect(1, 2, 3, 4);
  EXPECT_EQ(rect, CRect(4, -6, 14, 4));
  rect += CPoint(1, 1);
  EXPECT_EQ(rect, CRect(5, -5, 15, 5));
  CRect flipped(10, 10, 0, 0);
  flipped.NormalizeRect();
  EXPECT_EQ(flipped, CRect(0, 0, 10, 10));
  CRect built(CPoint(1, 2), CSize(3, 4));
  EXPECT_EQ(built, CRect(1, 2, 4, 6));
}

TEST(CoreGeometry, IntersectionAndUnionIgnoreEmptyRectangles) {
  CRect common;
  const CRect a(0, 0, 10, 10), b(5, 5, 20, 20), distant(30, 30, 40, 40), empty(3, 3, 3, 8);
  EXPECT_TRUE(common.IntersectRect(&a, &b));
  EXPECT_EQ(common, CRect(5, 5, 10, 10));
  EXPECT_FALSE(common.IntersectRect(&a, &distant));
  EXPECT_TRUE(common.IsRectNull());
  CRect touching(10, 0, 20, 10);
  EXPECT_FALSE(common.IntersectRect(&a, &touching));  // shared edge only
  CRect both;
  EXPECT_TRUE(both.UnionRect(&a, &empty));
  EXPECT_EQ(both, a);
  EXPECT_TRUE(both.UnionRect(&a, &distant));
  EXPECT_EQ(both, CRect(0, 0, 40, 40));
  EXPECT_FALSE(both.UnionRect(&empty, &empty));
  EXPECT_EQ(a & b, CRect(5, 5, 10, 10));
  EXPECT_EQ(a | b, CRect(0, 0, 20, 20));
}

TEST(CoreGeometry, PointsAndSizesAddUp) {
  CPoint p(3, 4);
  p.Offset(1, 1);
  EXPECT_EQ(p, CPoint(4, 5));
  EXPECT_EQ(p - CPoint(1, 1), CSize(3, 4));
  EXPECT_EQ(p + CSize(1, 2), CPoint(5, 7));
  EXPECT_EQ(-p, CPoint(-4, -5));
  CSize s(2, 3);
  s += CSize(1, 1);
  EXPECT_EQ(s, CSize(3, 4));
  EXPECT_NE(s, CSize(4, 3));
  const RECT& raw = CRect(1, 2, 3, 4);
  EXPECT_EQ(raw.bottom, 4);
}
