// The tree list's item model: linking, deleting subtrees, visible rows.
#include "controls/tree_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<CTreeItem*> Rows(CTreeModel& model) {
  CPtrArray rows;
  model.VisibleRows(rows);
  std::vector<CTreeItem*> out;
  for (int i = 0; i < rows.GetSize(); ++i) out.push_back(static_cast<CTreeItem*>(rows[i]));
  return out;
}

TEST(TreeModel, InsertLinksSiblingsInOrderAndSetsDepth) {
  CTreeModel model;
  CTreeItem* b = model.Insert(nullptr, CTreeModel::kLast);
  CTreeItem* a = model.Insert(nullptr, CTreeModel::kFirst);
  CTreeItem* c = model.Insert(nullptr, b);
  EXPECT_EQ(model.Root()->m_firstChild, a);
  EXPECT_EQ(a->m_next, b);
  EXPECT_EQ(b->m_next, c);
  EXPECT_EQ(c->m_prev, b);
  EXPECT_EQ(model.Root()->m_childCount, 3);
  CTreeItem* child = model.Insert(b, CTreeModel::kLast);
  EXPECT_EQ(child->m_depth, 2);
  EXPECT_EQ(a->m_depth, 1);
  // An "after" item of another parent counts as last.
  CTreeItem* d = model.Insert(nullptr, child);
  EXPECT_EQ(c->m_next, d);
}

TEST(TreeModel, OnlyExpandedBranchesAreRows) {
  CTreeModel model;
  CTreeItem* a = model.Insert(nullptr, CTreeModel::kLast);
  CTreeItem* a1 = model.Insert(a, CTreeModel::kLast);
  CTreeItem* a1x = model.Insert(a1, CTreeModel::kLast);
  CTreeItem* b = model.Insert(nullptr, CTreeModel::kLast);
  EXPECT_EQ(Rows(model), (std::vector<CTreeItem*>{a, b}));
  a->m_state |= kTreeStateExpanded;
  EXPECT_EQ(Rows(model), (std::vector<CTreeItem*>{a, a1, b}));
  // Expanding an item inside a collapsed parent adds no rows.
  a->m_state &= ~kTreeStateExpanded;
  a1->m_state |= kTreeStateExpanded;
  EXPECT_EQ(Rows(model), (std::vector<CTreeItem*>{a, b}));
  EXPECT_FALSE(model.IsVisible(a1x));
  a->m_state |= kTreeStateExpanded;
  EXPECT_EQ(Rows(model), (std::vector<CTreeItem*>{a, a1, a1x, b}));
  EXPECT_EQ(model.NextVisible(a1x), b);
  EXPECT_EQ(model.PrevVisible(b), a1x);
  EXPECT_EQ(model.PrevVisible(a), nullptr);
  EXPECT_EQ(model.NextVisible(b), nullptr);
}

TEST(TreeModel, LastVisibleSkipsACollapsedBranch) {
  CTreeModel model;
  CTreeItem* a = model.Insert(nullptr, CTreeModel::kLast);
  CTreeItem* b = model.Insert(nullptr, CTreeModel::kLast);
  model.Insert(b, CTreeModel::kLast);
  EXPECT_EQ(model.LastVisibleUnder(model.Root()), b);
  EXPECT_EQ(model.PrevVisible(b), a);
}

TEST(TreeModel, DeletingAParentAnnouncesEveryDescendantOnce) {
  CTreeModel model;
  CTreeItem* a = model.Insert(nullptr, CTreeModel::kLast);
  CTreeItem* a1 = model.Insert(a, CTreeModel::kLast);
  CTreeItem* a2 = model.Insert(a, CTreeModel::kLast);
  CTreeItem* a1x = model.Insert(a1, CTreeModel::kLast);
  CTreeItem* b = model.Insert(nullptr, CTreeModel::kLast);
  std::vector<CTreeItem*> gone;
  model.Delete(a, [&](CTreeItem* item) { gone.push_back(item); });
  EXPECT_EQ(gone, (std::vector<CTreeItem*>{a1x, a1, a2, a}));
  EXPECT_EQ(model.Root()->m_firstChild, b);
  EXPECT_EQ(b->m_prev, nullptr);
  EXPECT_EQ(model.Root()->m_childCount, 1);
  gone.clear();
  model.Delete(model.Root(), [&](CTreeItem* item) { gone.push_back(item); });
  EXPECT_EQ(gone, (std::vector<CTreeItem*>{b}));
  EXPECT_EQ(model.Root()->m_firstChild, nullptr);
}

}  // namespace
