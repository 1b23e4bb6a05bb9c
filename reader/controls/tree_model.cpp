#include "controls/tree_model.h"

CTreeItem* const CTreeModel::kFirst = reinterpret_cast<CTreeItem*>(static_cast<UINT_PTR>(0xFFFF0001));
CTreeItem* const CTreeModel::kLast = reinterpret_cast<CTreeItem*>(static_cast<UINT_PTR>(0xFFFF0002));

CTreeItem* CTreeItem::LastChild() const {
  CTreeItem* child = m_firstChild;
  while (child != nullptr && child->m_next != nullptr) child = child->m_next;
  return child;
}

CTreeModel::CTreeModel() { m_root.m_state = kTreeStateExpanded; }

CTreeModel::~CTreeModel() {
  Delete(&m_root, [](CTreeItem*) {});
}

CTreeItem* CTreeModel::Insert(CTreeItem* parent, CTreeItem* after) {
  if (parent == nullptr) parent = &m_root;
  auto* item = new CTreeItem;
  item->m_parent = parent;
  item->m_depth = parent->m_depth + 1;
  CTreeItem* previous = nullptr;
  if (after == kFirst) {
    previous = nullptr;
  } else if (after != kLast && after != nullptr && after->m_parent == parent) {
    previous = after;
  } else {
    previous = parent->LastChild();
  }
  item->m_prev = previous;
  item->m_next = previous != nullptr ? previous->m_next : parent->m_firstChild;
  if (item->m_next != nullptr) item->m_next->m_prev = item;
  if (previous != nullptr) {
    previous->m_next = item;
  } else {
    parent->m_firstChild = item;
  }
  ++parent->m_childCount;
  return item;
}

void CTreeModel::Delete(CTreeItem* item, const std::function<void(CTreeItem*)>& deleted) {
  if (item == nullptr) return;
  while (item->m_firstChild != nullptr) Delete(item->m_firstChild, deleted);
  if (item == &m_root) return;
  deleted(item);
  CTreeItem* parent = item->m_parent;
  if (item->m_prev != nullptr) {
    item->m_prev->m_next = item->m_next;
  } else if (parent != nullptr) {
    parent->m_firstChild = item->m_next;
  }
  if (item->m_next != nullptr) item->m_next->m_prev = item->m_prev;
  if (parent != nullptr) --parent->m_childCount;
  delete item;
}

BOOL CTreeModel::IsVisible(const CTreeItem* item) const {
  if (item == nullptr || item == &m_root) return FALSE;
  for (const CTreeItem* up = item->m_parent; up != nullptr; up = up->m_parent) {
    if (!up->IsExpanded()) return FALSE;
  }
  return TRUE;
}

void CTreeModel::VisibleDescendants(CTreeItem* item, CPtrArray& out) const {
  if (item == nullptr || !item->IsExpanded()) return;
  for (CTreeItem* child = item->m_firstChild; child != nullptr; child = child->m_next) {
    out.Add(child);
    VisibleDescendants(child, out);
  }
}

void CTreeModel::VisibleRows(CPtrArray& out) { VisibleDescendants(&m_root, out); }

CTreeItem* CTreeModel::NextVisible(CTreeItem* item) {
  if (item == nullptr) return nullptr;
  if (item->IsExpanded() && item->m_firstChild != nullptr) return item->m_firstChild;
  for (CTreeItem* up = item; up != nullptr && up != &m_root; up = up->m_parent) {
    if (up->m_next != nullptr) return up->m_next;
  }
  return nullptr;
}

CTreeItem* CTreeModel::LastVisibleUnder(CTreeItem* item) {
  while (item != nullptr && item->IsExpanded() && item->m_firstChild != nullptr) item = item->LastChild();
  return item;
}

CTreeItem* CTreeModel::PrevVisible(CTreeItem* item) {
  if (item == nullptr || item == &m_root) return nullptr;
  if (item->m_prev != nullptr) return LastVisibleUnder(item->m_prev);
  return item->m_parent == &m_root ? nullptr : item->m_parent;
}
