// The items of the tree list box: a hidden root heads the tree, every item
// knows its parent, siblings and first child, and an item is shown as a row
// when all its ancestors are expanded. Pure data, so it builds in every tree.
#pragma once

#include <functional>

#include "afx_core.h"

// Item fields and the expanded state bit, as the tree-view control has them.
constexpr UINT kTreeMaskText = 0x01;
constexpr UINT kTreeMaskImage = 0x02;
constexpr UINT kTreeMaskData = 0x04;
constexpr UINT kTreeMaskState = 0x08;
constexpr UINT kTreeMaskHandle = 0x10;
constexpr UINT kTreeMaskSelectedImage = 0x20;
constexpr UINT kTreeMaskChildren = 0x40;
constexpr UINT kTreeStateExpanded = 0x20;

class CTreeItem : public CObject {
 public:
  CString m_text;
  UINT m_state = 0;
  DWORD_PTR m_data = 0;
  int m_image = 0;
  int m_selectedImage = 0;
  int m_depth = 0;
  CTreeItem* m_parent = nullptr;
  CTreeItem* m_prev = nullptr;
  CTreeItem* m_next = nullptr;
  CTreeItem* m_firstChild = nullptr;
  int m_childCount = 0;

  BOOL IsExpanded() const { return (m_state & kTreeStateExpanded) != 0; }
  CTreeItem* LastChild() const;
};

class CTreeModel {
 public:
  // Where InsertItem places a new item among its siblings.
  static CTreeItem* const kFirst;
  static CTreeItem* const kLast;

  CTreeModel();
  ~CTreeModel();
  CTreeModel(const CTreeModel&) = delete;
  CTreeModel& operator=(const CTreeModel&) = delete;

  CTreeItem* Root() { return &m_root; }
  BOOL IsRoot(const CTreeItem* item) const { return item == &m_root; }

  // Links a new item under parent (null = root) after `after` (kFirst, kLast
  // or a sibling; an item that is no child of parent counts as kLast).
  CTreeItem* Insert(CTreeItem* parent, CTreeItem* after);
  // Unlinks and deletes the item and its subtree (the root: every item),
  // calling `deleted` for each before it goes, deepest first.
  void Delete(CTreeItem* item, const std::function<void(CTreeItem*)>& deleted);

  // TRUE when every ancestor is expanded (the item is a row).
  BOOL IsVisible(const CTreeItem* item) const;
  // The rows below item that belong to its subtree, in order.
  void VisibleDescendants(CTreeItem* item, CPtrArray& out) const;
  // The rows of the whole tree in order.
  void VisibleRows(CPtrArray& out);
  // The next and previous rows in display order (null at the ends).
  CTreeItem* NextVisible(CTreeItem* item);
  CTreeItem* PrevVisible(CTreeItem* item);
  // The deepest last row under item (item itself when collapsed or childless).
  CTreeItem* LastVisibleUnder(CTreeItem* item);

 private:
  CTreeItem m_root;
};
