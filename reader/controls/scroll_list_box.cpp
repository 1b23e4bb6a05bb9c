#include "controls/scroll_list_box.h"

// ---- CBarListBox --------------------------------------------------------------

int CBarListBox::SetPosition(int newPos, BOOL redraw) {
  const int previous = m_bar.m_pos;
  if (newPos == previous) return previous;
  m_bar.m_pos = newPos;
  SetTopIndex(newPos - m_bar.m_min);
  m_bar.MoveThumb(redraw);
  return previous;
}

void CBarListBox::SyncContent() { SetTopIndex(m_bar.m_pos - m_bar.m_min); }

BOOL CBarListBox::Place(const RECT& rect, CWnd* parent, UINT controlId) {
  if (!TakeOverControl(controlId, parent)) return FALSE;
  PlaceWithBar(rect);
  return TRUE;
}

int CBarListBox::RowHeight() const { return Skin().GetLineHeight(); }

void CBarListBox::OnResized(int clientHeight) {
  const int row = RowHeight();
  if (row <= 0) return;
  m_bar.m_page = clientHeight / row;
  CutToWholeRows(clientHeight, row);
  m_bar.Layout();
}

void CBarListBox::NotifySelChange() {
  CWnd* parent = GetParent();
  if (parent != nullptr) {
    parent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE), reinterpret_cast<LPARAM>(m_hWnd));
  }
}

BOOL CBarListBox::OnBarKey(UINT key) {
  if (ScrollByPageKey(key)) {
    UpdateWindow();
    return TRUE;
  }
  switch (key) {
    case VK_UP: {
      const int s = GetCurSel();
      if (s <= 0) return TRUE;
      if (s < m_bar.m_pos) {
        Scroll(bar::kThumbPosition, s);
      } else if (s >= m_bar.m_pos + m_bar.m_page) {
        Scroll(bar::kThumbPosition, s - m_bar.m_page + 1);
      }
      SetCurSel(s - 1);
      NotifySelChange();
      return TRUE;
    }
    case VK_DOWN: {
      const int s = GetCurSel();
      if (s + 1 >= GetCount()) return TRUE;
      const int r = s + 2;
      if (r < m_bar.m_pos) {
        Scroll(bar::kThumbPosition, r);
      } else if (r >= m_bar.m_pos + m_bar.m_page) {
        Scroll(bar::kThumbPosition, s - m_bar.m_page + 3);
      }
      SetCurSel(s + 1);
      NotifySelChange();
      return TRUE;
    }
    default: return FALSE;
  }
}

LRESULT CBarListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnBarMessage(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_SIZE:
      result = CListBox::WindowProc(message, wParam, lParam);
      OnResized(HIWORD(lParam));
      return result;
    case WM_KEYDOWN:
      if (OnBarKey(static_cast<UINT>(wParam))) return 0;
      break;
    default: break;
  }
  return CListBox::WindowProc(message, wParam, lParam);
}

// ---- CScrollListBox -------------------------------------------------------------

BOOL CScrollListBox::Create(const RECT& rect, CWnd* parent, UINT controlId, int skin) {
  ResetBar(1);
  m_bar.LoadSkin(skin);
  if (!Place(rect, parent, controlId)) return FALSE;
  // The template's rows were measured before the list was ours.
  SetItemHeight(0, static_cast<UINT>(Skin().GetLineHeight()));
  return TRUE;
}

void CScrollListBox::RefreshRange() { SetRange(1, GetCount() - m_bar.m_page + 1, TRUE); }

int CScrollListBox::AddString(LPCTSTR text) {
  const int index = CListBox::AddString(text);
  RefreshRange();
  return index;
}

int CScrollListBox::DeleteString(UINT index) {
  const int result = CListBox::DeleteString(index);
  RefreshRange();
  return result;
}

void CScrollListBox::ResetContent() {
  CListBox::ResetContent();
  SetRange(1, 1, TRUE);
}

void CScrollListBox::MeasureItem(LPMEASUREITEMSTRUCT item) { item->itemHeight = Skin().GetLineHeight(); }

CRect CScrollListBox::PaintRowGround(CDC& dc, const DRAWITEMSTRUCT& item) {
  CRect rect = item.rcItem;
  if (item.itemID == static_cast<UINT>(-1)) rect.bottom = rect.top + Skin().GetLineHeight();
  if (item.itemState & ODS_SELECTED) {
    dc.FillRect(&rect, Skin().GetBrush(m_bar.m_selectionBrush));
    dc.SetTextColor(RGB(255, 255, 255));
  } else {
    dc.PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), WHITENESS);
    dc.SetTextColor(RGB(0, 0, 0));
  }
  return rect;
}

void CScrollListBox::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CSkinPaletteScope palette(dc);
  CRect rect = PaintRowGround(*dc, *item);
  if (item->itemID != static_cast<UINT>(-1)) {
    CString text;
    GetText(static_cast<int>(item->itemID), text);
    CFont* old = dc->SelectObject(Skin().GetFont(12));
    dc->SetBkMode(TRANSPARENT);
    CRect textRect(rect.left + 2, rect.top, rect.right - 2, rect.bottom);
    dc->DrawText(text, &textRect, DT_SINGLELINE);
    dc->SelectObject(old);
  }
  if (item->itemState & ODS_FOCUS) dc->DrawFocusRect(&rect);
}

// ---- CValueListBox --------------------------------------------------------------

int CValueListBox::AddItem(LPCTSTR text, UINT image, UINT mask) {
  const int index = AddString(text);
  if (index < 0) return index;
  m_images.InsertAt(index, image);
  m_masks.InsertAt(index, mask);
  return index;
}

int CValueListBox::DeleteItem(int index) {
  const int result = DeleteString(static_cast<UINT>(index));
  if (result >= 0 && index >= 0 && index < m_images.GetSize()) {
    m_images.RemoveAt(index);
    m_masks.RemoveAt(index);
  }
  return result;
}

void CValueListBox::ResetContent() {
  CScrollListBox::ResetContent();
  m_images.RemoveAll();
  m_masks.RemoveAll();
}

void CValueListBox::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CSkinPaletteScope palette(dc);
  CRect rect = PaintRowGround(*dc, *item);
  const int row = static_cast<int>(item->itemID);
  if (row >= 0 && row < m_images.GetSize()) {
    int x = rect.left + 2;
    const CSize icon = Skin().DrawTransparent(dc, m_images[row], m_masks[row], x, rect.top + rect.Height() / 2, 0x4);
    x += icon.cx + 2;
    CString text;
    GetText(row, text);
    CFont* old = dc->SelectObject(Skin().GetFont(12));
    dc->SetBkMode(TRANSPARENT);
    CRect textRect(x, rect.top, rect.right - 2, rect.bottom);
    dc->DrawText(text, &textRect, DT_SINGLELINE);
    dc->SelectObject(old);
  }
  if (item->itemState & ODS_FOCUS) dc->DrawFocusRect(&rect);
}

// ---- CDictListBox ---------------------------------------------------------------

BOOL CDictListBox::Create(const RECT& rect, CWnd* parent, UINT controlId) {
  ResetBar(1);
  m_bar.LoadSkin(kSkinDictionary);
  m_bar.m_palette = BarPalette::Foreground;
  return Place(rect, parent, controlId);
}

CDictListBox::RowText CDictListBox::Compose(CDC& dc, const CString& text, int row) {
  RowText parts;
  if (!text.IsEmpty() && text[0] == '-') {
    parts.body = text.Mid(1);
    return parts;
  }
  const int blank = text.Find(' ');
  parts.lead = blank < 0 ? text : text.Left(blank);
  CString rest = blank < 0 ? CString() : text.Mid(blank);
  parts.number.Format("%d ", row + 1);
  CFont* old = dc.SelectObject(Skin().GetFont(1));
  const int numberWidth = dc.GetTextExtent(parts.number).cx;
  dc.SelectObject(Skin().GetFont(2));
  const int leadWidth = dc.GetTextExtent(parts.lead).cx;
  dc.SelectObject(Skin().GetFont(0));
  int blankWidth = dc.GetTextExtent(" ", 1).cx;
  dc.SelectObject(old);
  if (blankWidth <= 0) blankWidth = 1;
  const int blanks = (numberWidth + leadWidth + blankWidth - 1) / blankWidth;
  CString prefix;
  for (int i = 0; i < blanks; ++i) prefix += " ";
  parts.body = prefix + rest;
  return parts;
}

int CDictListBox::AddStringAtEnd(LPCTSTR text) {
  const int index = CListBox::AddString(text);
  CRect client;
  GetClientRect(&client);
  int left = client.Height();
  int n = -1;
  for (int row = GetCount() - 1; row >= 0; --row) {
    left -= GetItemHeight(row);
    if (left < 0) {
      n = row;
      break;
    }
  }
  SetRange(1, n + 2, TRUE);
  return index;
}

void CDictListBox::ResetContent() {
  CListBox::ResetContent();
  SetRange(1, 1, TRUE);
}

void CDictListBox::RecountPage() {
  CRect client;
  GetClientRect(&client);
  int used = 0;
  int rows = 0;
  for (int row = GetTopIndex(); row < GetCount(); ++row) {
    used += GetItemHeight(row);
    if (used > client.Height()) break;
    ++rows;
  }
  m_bar.m_page = rows;
}

int CDictListBox::SetPosition(int newPos, BOOL redraw) {
  const int previous = CBarListBox::SetPosition(newPos, redraw);
  RecountPage();
  return previous;
}

void CDictListBox::OnResized(int clientHeight) {
  if (GetCount() == 0) {
    CBarListBox::OnResized(clientHeight);
    return;
  }
  m_bar.Layout();
}

void CDictListBox::MeasureItem(LPMEASUREITEMSTRUCT item) {
  if (item->itemID == static_cast<UINT>(-1)) {
    item->itemHeight = Skin().GetLineHeight();
    return;
  }
  CString text;
  GetText(static_cast<int>(item->itemID), text);
  CClientDC dc(this);
  const RowText parts = Compose(dc, text, static_cast<int>(item->itemID));
  CRect client;
  GetClientRect(&client);
  CRect rect(0, 0, client.Width() - 4, 0);
  CFont* old = dc.SelectObject(Skin().GetFont(0));
  const int height = dc.DrawText(parts.body, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  dc.SelectObject(old);
  item->itemHeight = static_cast<UINT>(height > 0 ? height : Skin().GetLineHeight());
  item->itemWidth = static_cast<UINT>(client.Width());
}

void CDictListBox::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  CSkinPaletteScope palette(dc, TRUE);
  CRect rect = item->rcItem;
  if (item->itemID == static_cast<UINT>(-1)) rect.bottom = rect.top + Skin().GetLineHeight();
  if (item->itemState & ODS_SELECTED) {
    dc->FillRect(&rect, Skin().GetBrush(7));
    dc->SetTextColor(RGB(255, 255, 255));
  } else {
    dc->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), WHITENESS);
    dc->SetTextColor(RGB(0, 0, 0));
  }
  if (item->itemID != static_cast<UINT>(-1)) {
    CString text;
    GetText(static_cast<int>(item->itemID), text);
    const RowText parts = Compose(*dc, text, static_cast<int>(item->itemID));
    dc->SetBkMode(TRANSPARENT);
    CFont* old = dc->SelectObject(Skin().GetFont(0));
    CRect body(rect.left + 2, rect.top, rect.right - 2, rect.bottom);
    dc->DrawText(parts.body, &body, DT_NOPREFIX | DT_WORDBREAK);
    if (!parts.lead.IsEmpty()) {
      const UINT align = dc->SetTextAlign(TA_UPDATECP);
      dc->MoveTo(rect.left, rect.top);
      dc->SelectObject(Skin().GetFont(1));
      dc->TextOut(0, 0, parts.number);
      dc->SelectObject(Skin().GetFont(2));
      dc->TextOut(0, 0, parts.lead);
      dc->SetTextAlign(align);
    }
    dc->SelectObject(old);
  }
  if (item->itemState & ODS_FOCUS) dc->DrawFocusRect(&rect);
}
