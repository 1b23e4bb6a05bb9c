#include "controls/tree_list_box.h"

// ---- CImagePairList ------------------------------------------------------------

CImagePairList::CImagePairList(const CImagePairList& other)
    : CObject(), m_cellWidth(other.m_cellWidth), m_cellHeight(other.m_cellHeight) {
  for (int i = 0; i < other.m_images.GetSize(); ++i) {
    m_images.Add(CopyBitmap(static_cast<CBitmap*>(other.m_images[i])));
    m_masks.Add(CopyBitmap(static_cast<CBitmap*>(other.m_masks[i])));
  }
}

CImagePairList::~CImagePairList() { RemoveAll(); }

int CImagePairList::SetSize(int width, int height) {
  m_cellWidth = width;
  m_cellHeight = height;
  return 1;
}

CBitmap* CImagePairList::CopyBitmap(CBitmap* source) {
  auto* copy = new CBitmap;
  BITMAP info{};
  if (source == nullptr || source->GetBitmap(&info) == 0) return copy;
  info.bmBits = nullptr;
  copy->CreateBitmapIndirect(&info);
  CClientDC screen(nullptr);
  CDC from;
  CDC to;
  from.CreateCompatibleDC(&screen);
  to.CreateCompatibleDC(&screen);
  CBitmap* oldFrom = from.SelectObject(source);
  CBitmap* oldTo = to.SelectObject(copy);
  to.BitBlt(0, 0, info.bmWidth, info.bmHeight, &from, 0, 0, SRCCOPY);
  to.SelectObject(oldTo);
  from.SelectObject(oldFrom);
  return copy;
}

int CImagePairList::Add(CBitmap* image, CBitmap* mask) {
  m_images.Add(CopyBitmap(image));
  return m_masks.Add(CopyBitmap(mask));
}

void CImagePairList::RemoveAll() {
  for (int i = 0; i < m_images.GetSize(); ++i) delete m_images[i];
  for (int i = 0; i < m_masks.GetSize(); ++i) delete m_masks[i];
  m_images.RemoveAll();
  m_masks.RemoveAll();
}

int CImagePairList::Draw(CDC* dc, int index, int x, int y) {
  if (index < 0 || index >= m_images.GetSize()) return 0;
  auto* image = static_cast<CBitmap*>(m_images[index]);
  auto* mask = static_cast<CBitmap*>(m_masks[index]);
  const CSize size = BitmapSize(*image);
  const int w = size.cx;
  const int h = size.cy;
  CDC imageDC;
  CDC maskDC;
  CDC workDC;
  CDC inverseDC;
  imageDC.CreateCompatibleDC(dc);
  maskDC.CreateCompatibleDC(dc);
  workDC.CreateCompatibleDC(dc);
  inverseDC.CreateCompatibleDC(dc);
  CBitmap imageCopy;
  CBitmap work;
  CBitmap inverse;
  imageCopy.CreateCompatibleBitmap(dc, w, h);
  work.CreateCompatibleBitmap(dc, w, h);
  inverse.CreateBitmap(w, h, 1, 1, nullptr);
  CBitmap* oldImage = imageDC.SelectObject(&imageCopy);
  CBitmap* oldMask = maskDC.SelectObject(mask);
  CBitmap* oldWork = workDC.SelectObject(&work);
  CBitmap* oldInverse = inverseDC.SelectObject(&inverse);
  {
    CDC source;
    source.CreateCompatibleDC(dc);
    CBitmap* old = source.SelectObject(image);
    imageDC.BitBlt(0, 0, w, h, &source, 0, 0, SRCCOPY);
    source.SelectObject(old);
  }
  inverseDC.BitBlt(0, 0, w, h, &maskDC, 0, 0, NOTSRCCOPY);
  workDC.BitBlt(0, 0, w, h, dc, x, y, SRCCOPY);
  workDC.BitBlt(0, 0, w, h, &maskDC, 0, 0, SRCAND);
  imageDC.BitBlt(0, 0, w, h, &inverseDC, 0, 0, SRCAND);
  workDC.BitBlt(0, 0, w, h, &imageDC, 0, 0, SRCPAINT);
  dc->BitBlt(x, y, w, h, &workDC, 0, 0, SRCCOPY);
  inverseDC.SelectObject(oldInverse);
  workDC.SelectObject(oldWork);
  maskDC.SelectObject(oldMask);
  imageDC.SelectObject(oldImage);
  return 1;
}

// ---- CTreeListBox ---------------------------------------------------------------

CTreeListBox::CTreeListBox() { m_model.Root()->m_text = "HEAD_TREEVIEW"; }

CTreeListBox::~CTreeListBox() { delete m_images; }

BOOL CTreeListBox::CreateTree(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  m_treeStyle = style & 0xFFFF;
  return CListBox::Create((style & 0xFFFF0000) | WS_VSCROLL | WS_HSCROLL | LBS_OWNERDRAWVARIABLE | LBS_NOTIFY, rect,
                          parent, id);
}

CImagePairList* CTreeListBox::SetImageList(CImagePairList* images) {
  CImagePairList* previous = m_images;
  m_images = images != nullptr ? new CImagePairList(*images) : nullptr;
  if (m_images != nullptr) {
    m_indent = m_images->m_cellWidth;
    m_cellWidth = m_images->m_cellWidth;
    m_cellHeight = m_images->m_cellHeight + 4;
  }
  return previous;
}

CTreeItem* CTreeListBox::FromHandle(HTREEITEM item) const {
  if (item == nullptr || item == TVI_ROOT) return const_cast<CTreeModel&>(m_model).Root();
  return reinterpret_cast<CTreeItem*>(item);
}

int CTreeListBox::RowOf(HTREEITEM handle) const {
  const auto* item = reinterpret_cast<const CTreeItem*>(handle);
  if (item == nullptr || m_hWnd == nullptr) return -1;
  const int count = GetCount();
  for (int row = 0; row < count; ++row) {
    if (ItemOfRow(row) == item) return row;
  }
  return -1;
}

CTreeItem* CTreeListBox::ItemOfRow(int row) const {
  if (row < 0 || row >= GetCount()) return nullptr;
  return reinterpret_cast<CTreeItem*>(CListBox::GetItemData(row));
}

HTREEITEM CTreeListBox::InsertItem(LPCTSTR text, int image, int selectedImage, DWORD_PTR data, HTREEITEM parent,
                                   HTREEITEM after) {
  TVINSERTSTRUCTA record{};
  record.hParent = parent;
  record.hInsertAfter = after;
  // The data and the selected image go in with the text and the image.
  record.item.mask = kTreeMaskText | kTreeMaskImage | kTreeMaskData | kTreeMaskSelectedImage;
  record.item.pszText = const_cast<LPSTR>(text);
  record.item.iImage = image;
  record.item.iSelectedImage = selectedImage;
  record.item.lParam = static_cast<LPARAM>(data);
  return InsertItemRecord(&record);
}

HTREEITEM CTreeListBox::InsertItemRecord(const TVINSERTSTRUCTA* record) {
  CTreeItem* parent = FromHandle(record->hParent);
  CTreeItem* after = CTreeModel::kLast;
  if (record->hInsertAfter == TVI_FIRST) {
    after = CTreeModel::kFirst;
  } else if (record->hInsertAfter != TVI_LAST && record->hInsertAfter != nullptr) {
    after = reinterpret_cast<CTreeItem*>(record->hInsertAfter);
  }
  CTreeItem* item = m_model.Insert(parent, after);
  const TVITEMA& fields = record->item;
  if (fields.mask & kTreeMaskHandle && fields.hItem != nullptr) {
    const auto* source = reinterpret_cast<const CTreeItem*>(fields.hItem);
    item->m_text = source->m_text;
    item->m_data = source->m_data;
  }
  if ((fields.mask & kTreeMaskText) && fields.pszText != nullptr) item->m_text = fields.pszText;
  if (fields.mask & kTreeMaskImage) item->m_image = fields.iImage;
  if (fields.mask & kTreeMaskSelectedImage) item->m_selectedImage = fields.iSelectedImage;
  if (fields.mask & kTreeMaskData) item->m_data = static_cast<DWORD_PTR>(fields.lParam);
  if (fields.mask & kTreeMaskState) item->m_state = fields.state & fields.stateMask;
  m_first = m_model.Root()->m_firstChild;
  if (m_hWnd != nullptr && (parent == m_model.Root() || (parent->IsExpanded() && m_model.IsVisible(parent)))) {
    CTreeItem* before = m_model.PrevVisible(item);
    const int row = before == nullptr ? 0 : RowOf(reinterpret_cast<HTREEITEM>(before)) + 1;
    InsertString(row, reinterpret_cast<LPCTSTR>(item));
    if (item->IsExpanded()) InsertRowsBelow(item, row);
    OnRowsChanged();
  }
  return reinterpret_cast<HTREEITEM>(item);
}

HTREEITEM CTreeListBox::GetRelative(HTREEITEM handle, UINT code) {
  CTreeItem* item = handle == nullptr ? nullptr : FromHandle(handle);
  CTreeItem* result = nullptr;
  switch (code) {
    case kRoot: result = m_model.Root()->m_firstChild; break;
    case kNext: result = item != nullptr ? item->m_next : nullptr; break;
    case kPrevious: result = item != nullptr ? item->m_prev : nullptr; break;
    case kParent: result = item != nullptr && item->m_parent != m_model.Root() ? item->m_parent : nullptr; break;
    case kChild: result = item != nullptr ? item->m_firstChild : nullptr; break;
    case kFirstVisible: result = ItemOfRow(GetTopIndex()); break;
    case kNextVisible: result = m_model.NextVisible(item); break;
    case kPreviousVisible: result = m_model.PrevVisible(item); break;
    case kDropHighlight: result = m_dropHighlight; break;
    case kCaret: result = m_caret; break;
    default: break;
  }
  return reinterpret_cast<HTREEITEM>(result);
}

DWORD_PTR CTreeListBox::GetItemData(HTREEITEM item) const {
  return item == nullptr ? 0 : reinterpret_cast<const CTreeItem*>(item)->m_data;
}

BOOL CTreeListBox::SetItemData(HTREEITEM item, DWORD_PTR data) {
  if (item == nullptr) return FALSE;
  reinterpret_cast<CTreeItem*>(item)->m_data = data;
  return TRUE;
}

BOOL CTreeListBox::GetItemRect(HTREEITEM handle, RECT* rect, BOOL textOnly) {
  const int row = RowOf(handle);
  if (row < 0 || rect == nullptr) return FALSE;
  CListBox::GetItemRect(row, rect);
  if (textOnly) {
    const auto* item = reinterpret_cast<const CTreeItem*>(handle);
    const int imageWidth = m_images != nullptr ? m_images->m_cellWidth : 0;
    CClientDC dc(this);
    CFont* old = dc.SelectObject(Skin().GetFont(12));
    const int textWidth = dc.GetTextExtent(item->m_text).cx;
    dc.SelectObject(old);
    rect->left = m_indent * item->m_depth + imageWidth + 4;
    rect->right = rect->left + textWidth;
  }
  return TRUE;
}

int CTreeListBox::VisibleRowsUnder(CTreeItem* item) const {
  CPtrArray rows;
  m_model.VisibleDescendants(item, rows);
  return rows.GetSize();
}

void CTreeListBox::InsertRowsBelow(CTreeItem* item, int row) {
  CPtrArray rows;
  m_model.VisibleDescendants(item, rows);
  for (int i = 0; i < rows.GetSize(); ++i) InsertString(row + 1 + i, static_cast<LPCTSTR>(rows[i]));
}

BOOL CTreeListBox::Expand(HTREEITEM handle, UINT code) {
  CTreeItem* item = FromHandle(handle);
  if (item == m_model.Root()) return FALSE;
  if (NotifyParent(TVN_ITEMEXPANDINGA, nullptr, handle, CPoint(), code) != 0) return FALSE;
  const int row = RowOf(handle);
  const BOOL expanded = item->IsExpanded();
  const BOOL collapse = (code & 0xF) == kCollapse || ((code & 0xF) == kToggle && expanded) || (code & kCollapseReset);
  SetRedraw(FALSE);
  if (collapse) {
    if (row >= 0 && expanded) {
      const int hidden = VisibleRowsUnder(item);
      for (int i = 0; i < hidden; ++i) CListBox::DeleteString(static_cast<UINT>(row + 1));
    }
    if (code & kCollapseReset) {
      while (item->m_firstChild != nullptr) {
        m_model.Delete(item->m_firstChild, [this](CTreeItem* gone) {
          NotifyParent(TVN_DELETEITEMA, reinterpret_cast<HTREEITEM>(gone), nullptr);
          if (m_caret == gone) m_caret = nullptr;
          if (m_dropHighlight == gone) m_dropHighlight = nullptr;
        });
      }
    }
    item->m_state &= ~kTreeStateExpanded;
  } else if (!expanded) {
    item->m_state |= kTreeStateExpanded;
    if (row >= 0) InsertRowsBelow(item, row);
  }
  SetRedraw(TRUE);
  OnRowsChanged();
  Invalidate();
  NotifyParent(TVN_ITEMEXPANDEDA, nullptr, handle, CPoint(), code);
  return TRUE;
}

BOOL CTreeListBox::SelectItem(HTREEITEM handle, UINT code) {
  auto* item = reinterpret_cast<CTreeItem*>(handle);
  if (NotifyParent(TVN_SELCHANGINGA, reinterpret_cast<HTREEITEM>(m_caret), handle) != 0) return FALSE;
  const int row = RowOf(handle);
  CTreeItem* old = m_caret;
  if (code == kFirstVisible) {
    if (row >= 0) SetTopIndex(row);
  } else {
    m_caret = item;
    SetCurSel(row);
  }
  NotifyParent(TVN_SELCHANGEDA, reinterpret_cast<HTREEITEM>(old), handle);
  return TRUE;
}

BOOL CTreeListBox::DeleteItem(HTREEITEM handle) {
  CTreeItem* item = FromHandle(handle);
  SetRedraw(FALSE);
  if (item == m_model.Root()) {
    CListBox::ResetContent();
  } else {
    const int row = RowOf(handle);
    if (row >= 0) {
      const int rows = 1 + VisibleRowsUnder(item);
      for (int i = 0; i < rows; ++i) CListBox::DeleteString(static_cast<UINT>(row));
    }
  }
  m_model.Delete(item, [this](CTreeItem* gone) {
    NotifyParent(TVN_DELETEITEMA, reinterpret_cast<HTREEITEM>(gone), nullptr);
    if (m_caret == gone) m_caret = nullptr;
    if (m_dropHighlight == gone) m_dropHighlight = nullptr;
  });
  m_first = m_model.Root()->m_firstChild;
  SetRedraw(TRUE);
  OnRowsChanged();
  Invalidate();
  return TRUE;
}

BOOL CTreeListBox::DeleteAllItems() {
  while (m_model.Root()->m_firstChild != nullptr) {
    DeleteItem(reinterpret_cast<HTREEITEM>(m_model.Root()->m_firstChild));
  }
  return TRUE;
}

HTREEITEM CTreeListBox::HitTest(CPoint point, UINT* flags) {
  UINT hit = 0;
  CRect client;
  GetClientRect(&client);
  if (point.y < client.top) hit |= kHitAbove;
  if (point.y >= client.bottom) hit |= kHitBelow;
  if (point.x >= client.right) hit |= kHitToRight;
  if (point.x < client.left) hit |= kHitToLeft;
  if (hit != 0) {
    if (flags != nullptr) *flags = hit;
    return nullptr;
  }
  const int rowHeight = RowHeight() > 0 ? RowHeight() : 1;
  const int row = (point.y - client.top) / rowHeight + GetTopIndex();
  CTreeItem* item = ItemOfRow(row);
  if (item == nullptr) {
    if (flags != nullptr) *flags = kHitNowhere;
    return nullptr;
  }
  const int d = item->m_depth;
  const int i = m_indent;
  const int w = m_images != nullptr ? m_images->m_cellWidth : 0;
  const int x = point.x;
  const BOOL buttons = (m_treeStyle & kHasButtons) != 0;
  if (buttons && (d - 1) * i < x && x < d * i) {
    hit = kHitButton;
  } else if (d * i <= x && x < d * i + w + 4) {
    hit = kHitIcon;
  } else {
    CClientDC dc(this);
    CFont* old = dc.SelectObject(Skin().GetFont(12));
    const int textWidth = dc.GetTextExtent(item->m_text).cx;
    dc.SelectObject(old);
    const int textLeft = d * i + w + 4;
    if (x >= textLeft && x < textLeft + textWidth) {
      hit = kHitLabel;
    } else if (buttons || x >= d * i) {
      hit = kHitRight;
    } else {
      hit = kHitIndent;
    }
  }
  if (flags != nullptr) *flags = hit;
  return reinterpret_cast<HTREEITEM>(item);
}

LRESULT CTreeListBox::NotifyParent(int code, HTREEITEM oldItem, HTREEITEM newItem, CPoint point, UINT action) {
  CWnd* parent = GetParent();
  if (parent == nullptr) return 0;
  NMTREEVIEWA notice{};
  notice.hdr.hwndFrom = m_hWnd;
  notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  notice.hdr.code = static_cast<UINT>(code);
  notice.action = action;
  notice.itemOld.hItem = oldItem;
  notice.itemNew.hItem = newItem;
  if (oldItem != nullptr) notice.itemOld.lParam = static_cast<LPARAM>(GetItemData(oldItem));
  if (newItem != nullptr) notice.itemNew.lParam = static_cast<LPARAM>(GetItemData(newItem));
  notice.ptDrag = point;
  return parent->SendMessage(WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
}

BOOL CTreeListBox::OnLeftButton(UINT message, CPoint point) {
  UINT flags = 0;
  HTREEITEM item = HitTest(point, &flags);
  if (message == WM_LBUTTONDOWN) {
    if (item != nullptr && (flags & kHitButton) && (m_treeStyle & kHasButtons)) {
      Expand(item, kToggle);
    } else {
      if (item != nullptr && (flags & 0x46)) {
        SelectItem(item, kCaret);
        Default();
      }
    }
    NotifyParent(NM_CLICK, nullptr, item, point);
    return TRUE;
  }
  if (item != nullptr && (flags & 0x46)) {
    Expand(item, kToggle);
    SelectItem(item, kCaret);
  } else {
    Default();
  }
  NotifyParent(NM_DBLCLK, nullptr, item, point);
  return TRUE;
}

void CTreeListBox::MeasureItem(LPMEASUREITEMSTRUCT item) { item->itemHeight = static_cast<UINT>(RowHeight()); }

void CTreeListBox::DrawItem(LPDRAWITEMSTRUCT draw) {
  CDC* dc = CDC::FromHandle(draw->hDC);
  CRect rect = draw->rcItem;
  const CTreeItem* item = reinterpret_cast<const CTreeItem*>(draw->itemData);
  if (draw->itemID == static_cast<UINT>(-1) || item == nullptr) {
    dc->FillSolidRect(&rect, RGB(255, 255, 255));
    return;
  }
  const BOOL selected = (draw->itemState & ODS_SELECTED) && item == m_caret;
  dc->FillSolidRect(&rect, selected ? ::GetSysColor(COLOR_HIGHLIGHT) : RGB(255, 255, 255));
  const int d = item->m_depth;
  const int i = m_indent;
  const int h = rect.Height();
  const int midY = rect.top + h / 2;
  const COLORREF lineColour = RGB(128, 128, 128);
  auto dotsDown = [&](int x, int from, int to) {
    for (int y = from; y < to; ++y) {
      if ((y & 1) == 0) dc->SetPixel(x, y, lineColour);
    }
  };
  auto dotsRight = [&](int from, int to, int y) {
    for (int x = from; x < to; ++x) {
      if ((x & 1) == 0) dc->SetPixel(x, y, lineColour);
    }
  };
  if (m_treeStyle & kHasLines) {
    // Ancestors with a following sibling carry a line through their column.
    int level = d - 1;
    for (const CTreeItem* up = item->m_parent; up != nullptr && up->m_depth > 0; up = up->m_parent, --level) {
      if (up->m_next != nullptr) dotsDown(rect.left + (level - 1) * i + i / 2, rect.top, rect.bottom);
    }
    const int column = rect.left + (d - 1) * i + i / 2;
    dotsDown(column, rect.top, item->m_next == nullptr ? midY : rect.bottom);
    dotsRight(column, column + i / 2 + 2, midY);
  }
  if ((m_treeStyle & kHasButtons) && item->m_childCount > 0) {
    const CRect cell(rect.left + (d - 1) * i, midY - (h + 4) / 2, rect.left + d * i, midY + (h + 4) / 2);
    const CRect box(cell.left + 4, cell.top + 4, cell.right - 4, cell.bottom - 4);
    CBrush black(RGB(0, 0, 0));
    dc->FrameRect(&box, &black);
    const int boxMidY = box.top + box.Height() / 2;
    const int boxMidX = box.left + box.Width() / 2;
    dc->FillSolidRect(box.left + 2, boxMidY, box.Width() - 4, 1, RGB(0, 0, 0));
    if (!item->IsExpanded()) dc->FillSolidRect(boxMidX, box.top + 2, 1, box.Height() - 4, RGB(0, 0, 0));
  }
  int x = rect.left + d * i;
  if (m_images != nullptr) {
    m_images->Draw(dc, selected ? item->m_selectedImage : item->m_image, x,
                   rect.top + (h - m_images->m_cellHeight) / 2);
    x += m_images->m_cellWidth;
  }
  x += 4;
  CFont* old = dc->SelectObject(Skin().GetFont(12));
  const CSize text = dc->GetTextExtent(item->m_text);
  CRect textRect(x, rect.top, x + text.cx + 2, rect.bottom);
  dc->SetTextColor(selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
  dc->SetBkMode(TRANSPARENT);
  dc->DrawText(item->m_text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc->SelectObject(old);
  if (draw->itemState & ODS_FOCUS) dc->DrawFocusRect(&textRect);
}

LRESULT CTreeListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    OnLeftButton(message, CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    return 0;
  }
  return CListBox::WindowProc(message, wParam, lParam);
}
