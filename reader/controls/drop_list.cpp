#include "controls/drop_list.h"

BOOL CDropList::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  m_comboArrow.DeleteObject();
  m_comboArrow.LoadOEMBitmap(OBM_COMBO);
  m_checkWidth = m_checkHeight = kCheckSize;
  LPCTSTR windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
  if (!CWnd::Create(windowClass, "", style | WS_BORDER, rect, parent, id)) return FALSE;
  m_arrow.DeleteObject();
  Skin().LoadDIB(1222, m_arrow);
  const CSize arrow = BitmapSize(m_arrow);
  m_arrowWidth = arrow.cx;
  m_arrowHeight = arrow.cy;
  return m_hWnd != nullptr;
}

int CDropList::AddString(const CString& text, BOOL sorted) {
  if (m_numberMode) return 0;
  int at = m_texts.GetSize();
  if (sorted) {
    for (int i = 0; i < m_texts.GetSize(); ++i) {
      if (text.Compare(m_texts[i]) < 0) {
        at = i;
        break;
      }
    }
  }
  m_texts.InsertAt(at, text);
  // A text inserted before the current one keeps the same choice current.
  if (m_current >= at) ++m_current;
  m_count = m_texts.GetSize();
  return m_count;
}

int CDropList::AddNumber(DWORD number) {
  if (m_texts.GetSize() > 0) return 0;
  m_numbers.Add(number);
  m_numberMode = TRUE;
  m_count = m_numbers.GetSize();
  return m_count;
}

int CDropList::DeleteItem(int index) {
  if (index < 0 || index >= m_count) return 0;
  if (m_numberMode) {
    m_numbers.RemoveAt(index);
  } else {
    m_texts.RemoveAt(index);
  }
  --m_count;
  // The current choice stays the same item when one before it goes; deleting
  // the last item while it is current makes the new last one current.
  if (m_current > index || m_current >= m_count) {
    --m_current;
    if (m_hWnd != nullptr) Invalidate();
  }
  return 1;
}

int CDropList::SetCurSel(int index) {
  if (index < 0 || index >= m_count) return -1;
  const int previous = m_current;
  m_current = index;
  if (m_hWnd != nullptr) Invalidate();
  return previous;
}

BOOL CDropList::GetCurText(CString& text) const {
  text.Empty();
  if (!m_numberMode && m_current >= 0 && m_current < m_texts.GetSize()) text = m_texts[m_current];
  return !text.IsEmpty();
}

int CDropList::SelectString(const CString& text) {
  if (!m_numberMode) {
    for (int i = 0; i < m_texts.GetSize(); ++i) {
      if (m_texts[i] == text) {
        m_current = i;
        if (m_hWnd != nullptr) Invalidate();
        return i;
      }
    }
  }
  m_current = -1;
  return -1;
}

DWORD CDropList::GetCurNumber() const {
  if (!m_numberMode || m_current < 0 || m_current >= m_numbers.GetSize()) return 0;
  return m_numbers[m_current];
}

int CDropList::SelectNumber(DWORD number) {
  if (m_numberMode) {
    for (int i = 0; i < m_numbers.GetSize(); ++i) {
      if (m_numbers[i] == number) {
        m_current = i;
        if (m_hWnd != nullptr) Invalidate();
        return i;
      }
    }
  }
  m_current = -1;
  return -1;
}

void CDropList::ResetContent() {
  m_texts.RemoveAll();
  m_numbers.RemoveAll();
  m_current = -1;
  m_count = 0;
  m_numberMode = FALSE;
}

void CDropList::ChooseBrushes(int& first, int& second) const {
  const SkinBrushes brushes = BrushesOf(Skin().IsPreferencesDialog(GetParent()) ? kSkinMedia : Skin().GetActiveSkin());
  first = brushes.edge;
  second = brushes.background;
}

void CDropList::DrawValue(CDC& dc, int index, CRect area) {
  if (index < 0 || index >= m_count) return;
  if (m_numberMode) {
    area.DeflateRect(1, 1);
    CBrush swatch(static_cast<COLORREF>(m_numbers[index]));
    dc.FillRect(&area, &swatch);
    return;
  }
  CFont* old = dc.SelectObject(Skin().GetFont(12));
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(m_texts[index], &area, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc.SelectObject(old);
}

void CDropList::Paint(CDC& dc) {
  int first = 0;
  int second = 2;
  ChooseBrushes(first, second);
  CRect client;
  GetClientRect(&client);
  CBrush* old = dc.SelectObject(Skin().GetBrush(second));
  dc.PatBlt(client.left, client.top, client.Width(), 1, PATCOPY);
  dc.PatBlt(client.left, client.top, 1, client.Height(), PATCOPY);
  dc.SelectObject(Skin().GetBrush(first));
  dc.PatBlt(client.right - 1, client.top, 1, client.Height(), PATCOPY);
  dc.PatBlt(client.left, client.bottom - 1, client.Width(), 1, PATCOPY);
  dc.SelectObject(old);

  CRect inside = client;
  inside.DeflateRect(1, 1);
  dc.FillSolidRect(&inside, RGB(255, 255, 255));
  {
    CSkinPaletteScope palette(&dc);
    BlitBitmap(&dc, m_arrow, inside.right - 2 - m_arrowWidth, inside.top + (inside.Height() - m_arrowHeight) / 2,
               m_arrowWidth, m_arrowHeight, 0, 0);
  }
  CRect value = inside;
  value.right -= m_arrowWidth + 4;
  value.DeflateRect(2, 1);
  DrawValue(dc, m_current, value);
  if (::GetFocus() == m_hWnd) {
    CRect focus = client;
    focus.DeflateRect(2, 2);
    dc.DrawFocusRect(&focus);
  }
}

void CDropList::DrawFocus() {
  CClientDC dc(this);
  CRect focus;
  GetClientRect(&focus);
  focus.DeflateRect(2, 2);
  dc.DrawFocusRect(&focus);
}

BOOL CDropList::BuildPopup(CMenu& menu) const {
  if (!menu.CreatePopupMenu()) return FALSE;
  const int lineHeight = Skin().GetLineHeight();
  const int rows = lineHeight > 0 && kPopupHeight / lineHeight > 0 ? kPopupHeight / lineHeight : 1;
  const int offered = m_count < rows * kMaxColumns ? m_count : rows * kMaxColumns;
  for (int i = 0; i < offered; ++i) {
    UINT flags = MF_OWNERDRAW;
    if (i == m_current) flags |= MF_CHECKED;
    if (i > 0 && i % rows == 0) flags |= MF_MENUBARBREAK;
    ::AppendMenuA(menu.GetSafeHmenu(), flags, static_cast<UINT_PTR>(i), reinterpret_cast<LPCSTR>(i));
  }
  return TRUE;
}

void CDropList::ShowPopup() {
  SetFocus();
  CMenu menu;
  if (!BuildPopup(menu)) return;
  CRect window;
  GetWindowRect(&window);
  menu.TrackPopupMenu(TPM_LEFTALIGN, window.left, window.top, this);
  menu.DestroyMenu();
}

BOOL CDropList::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  if (lParam == 0 && id >= 0 && id < m_count) {
    if (id != m_current) {
      m_current = id;
      Invalidate();
      UpdateWindow();
      CWnd* parent = GetParent();
      if (parent != nullptr) {
        parent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), kSelectionChanged),
                            reinterpret_cast<LPARAM>(m_hWnd));
      }
    }
    return TRUE;
  }
  return CWnd::OnCommand(wParam, lParam);
}

BOOL CDropList::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_DOWN || msg->wParam == VK_RIGHT)) {
    ShowPopup();
    return TRUE;
  }
  return CWnd::PreTranslateMessage(msg);
}

LRESULT CDropList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      CPaintDC dc(this);
      Paint(dc);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: DrawFocus(); return 0;
    case WM_LBUTTONDOWN: ShowPopup(); return 0;
    case WM_KEYDOWN:
      if (wParam == VK_DOWN || wParam == VK_RIGHT) {
        ShowPopup();
        return 0;
      }
      break;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlType != ODT_MENU) break;
      const int lineHeight = Skin().GetLineHeight();
      measure->itemHeight = static_cast<UINT>(lineHeight > kCheckSize ? lineHeight : kCheckSize);
      CRect client;
      GetClientRect(&client);
      int width = client.Width() - kCheckSize + 3;
      const int index = static_cast<int>(measure->itemData);
      if (!m_numberMode && index >= 0 && index < m_texts.GetSize()) {
        CClientDC dc(this);
        CFont* old = dc.SelectObject(Skin().GetFont(12));
        const int text = dc.GetTextExtent(m_texts[index]).cx;
        dc.SelectObject(old);
        if (text > width) width = text;
      }
      measure->itemWidth = static_cast<UINT>(width);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (draw->CtlType != ODT_MENU) break;
      CDC* dc = CDC::FromHandle(draw->hDC);
      CRect rect = draw->rcItem;
      const BOOL selected = (draw->itemState & ODS_SELECTED) != 0;
      int first = 0;
      int second = 2;
      ChooseBrushes(first, second);
      if (selected) {
        dc->FillRect(&rect, Skin().GetBrush(first + 1));
      } else {
        dc->FillSolidRect(&rect, RGB(255, 255, 255));
      }
      dc->SetTextColor(selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
      if (draw->itemState & ODS_CHECKED) {
        // A small tick: down two pixels, then up four.
        const int x = rect.left + 4;
        const int y = rect.top + rect.Height() / 2;
        for (int i = 0; i < 3; ++i) {
          dc->SetPixel(x + i, y - 1 + i, RGB(0, 0, 0));
          dc->SetPixel(x + i, y + i, RGB(0, 0, 0));
        }
        for (int i = 0; i < 4; ++i) {
          dc->SetPixel(x + 3 + i, y + 1 - i, RGB(0, 0, 0));
          dc->SetPixel(x + 3 + i, y + 2 - i, RGB(0, 0, 0));
        }
      }
      CRect value(rect.left + kCheckSize, rect.top, rect.right, rect.bottom);
      DrawValue(*dc, static_cast<int>(draw->itemData), value);
      return TRUE;
    }
    default: break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
