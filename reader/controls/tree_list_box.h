// CTreeListBox: a tree control on an owner-drawn list box. Only the rows of
// expanded branches are list rows; each row's data is its CTreeItem. It keeps
// the tree-view control's contract (item records and mask bits, relation and
// expand codes, hit-test flags, WM_NOTIFY codes) so a parent handles it like
// a tree view. CImagePairList holds its icons: images with monochrome masks,
// drawn transparently.
#pragma once

#include "controls/skin_environment.h"
#include "controls/tree_model.h"

class CImagePairList : public CObject {
 public:
  CImagePairList() = default;
  CImagePairList(const CImagePairList& other);
  CImagePairList& operator=(const CImagePairList&) = delete;
  ~CImagePairList() override;

  int SetSize(int width, int height);
  // Copies both bitmaps and appends them; the index of the pair.
  int Add(CBitmap* image, CBitmap* mask);
  void RemoveAll();
  // Draws image `index` at (x, y) through its mask: white mask pixels show
  // the background, black ones the image.
  int Draw(CDC* dc, int index, int x, int y);
  int GetCount() const { return m_images.GetSize(); }
  int m_cellWidth = 0;
  int m_cellHeight = 0;

 private:
  static CBitmap* CopyBitmap(CBitmap* source);
  CObArray m_images;
  CObArray m_masks;
};

class CTreeListBox : public CListBox {
 public:
  // Tree style bits (low word of the style given to CreateTree).
  static constexpr DWORD kHasButtons = 0x01;
  static constexpr DWORD kHasLines = 0x02;
  static constexpr DWORD kLinesAtRoot = 0x20;
  // Relation codes of GetRelative.
  enum Relation {
    kRoot = 0,
    kNext = 1,
    kPrevious = 2,
    kParent = 3,
    kChild = 4,
    kFirstVisible = 5,
    kNextVisible = 6,
    kPreviousVisible = 7,
    kDropHighlight = 8,
    kCaret = 9
  };
  // Expand codes.
  static constexpr UINT kCollapse = 1;
  static constexpr UINT kExpand = 2;
  static constexpr UINT kToggle = 3;
  static constexpr UINT kCollapseReset = 0x8000;
  // Hit-test flags.
  static constexpr UINT kHitNowhere = 0x01;
  static constexpr UINT kHitIcon = 0x42;
  static constexpr UINT kHitLabel = 0x04;
  static constexpr UINT kHitIndent = 0x08;
  static constexpr UINT kHitButton = 0x10;
  static constexpr UINT kHitRight = 0x20;
  static constexpr UINT kHitAbove = 0x100;
  static constexpr UINT kHitBelow = 0x200;
  static constexpr UINT kHitToRight = 0x400;
  static constexpr UINT kHitToLeft = 0x800;

  CTreeListBox();
  ~CTreeListBox() override;

  virtual BOOL CreateTree(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  CImagePairList* SetImageList(CImagePairList* images);
  virtual HTREEITEM InsertItem(LPCTSTR text, int image, int selectedImage, DWORD_PTR data, HTREEITEM parent,
                               HTREEITEM after);
  HTREEITEM InsertItemRecord(const TVINSERTSTRUCTA* record);
  HTREEITEM GetRelative(HTREEITEM item, UINT code);
  DWORD_PTR GetItemData(HTREEITEM item) const;
  BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
  BOOL GetItemRect(HTREEITEM item, RECT* rect, BOOL textOnly);
  BOOL Expand(HTREEITEM item, UINT code);
  BOOL SelectItem(HTREEITEM item, UINT code);
  BOOL DeleteItem(HTREEITEM item);
  BOOL DeleteAllItems();
  HTREEITEM HitTest(CPoint point, UINT* flags);
  LRESULT NotifyParent(int code, HTREEITEM oldItem, HTREEITEM newItem, CPoint point = CPoint(), UINT action = 0);

  // The row of an item (-1 when it is no row) and the item of a row.
  int RowOf(HTREEITEM item) const;
  CTreeItem* ItemOfRow(int row) const;
  CTreeModel& Model() { return m_model; }

  void DrawItem(LPDRAWITEMSTRUCT item) override;
  void MeasureItem(LPMEASUREITEMSTRUCT item) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // The row height the hit test counts with.
  virtual int RowHeight() const { return Skin().GetLineHeight(); }
  // Called after rows were inserted or deleted.
  virtual void OnRowsChanged() {}
  CTreeItem* FromHandle(HTREEITEM item) const;
  void InsertRowsBelow(CTreeItem* item, int row);
  int VisibleRowsUnder(CTreeItem* item) const;
  BOOL OnLeftButton(UINT message, CPoint point);

  DWORD m_treeStyle = 0;
  int m_indent = 16;
  CImagePairList* m_images = nullptr;
  CTreeModel m_model;
  CTreeItem* m_first = nullptr;
  CTreeItem* m_caret = nullptr;
  CTreeItem* m_dropHighlight = nullptr;
  int m_cellWidth = 16;
  int m_cellHeight = 16;
};
