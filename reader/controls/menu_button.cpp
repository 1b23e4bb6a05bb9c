#include "controls/menu_button.h"

// ---- CMenuItem, CPopupMenu ---------------------------------------------------

CMenuItem::CMenuItem(LPCTSTR text, UINT id, UINT image, UINT mask, UINT flags)
    : m_text(text != nullptr ? text : ""),
      m_id(static_cast<WORD>(id)),
      m_image(image),
      m_mask(mask),
      m_flags(ReduceFlags(flags)) {}

UINT CMenuItem::ReduceFlags(UINT flags) {
  if (flags & MF_SEPARATOR) return MF_SEPARATOR;
  return flags & (MF_CHECKED | MF_GRAYED);
}

CPopupMenu::~CPopupMenu() { RemoveAll(); }

BOOL CPopupMenu::AddItem(LPCTSTR text, UINT id, UINT image, UINT mask, UINT flags) {
  if (m_children.GetSize() >= kMaxChildren) return FALSE;
  if (flags & MF_POPUP) {
    m_children.Add(new CPopupMenu(text, id, image, mask, flags));
  } else {
    m_children.Add(new CMenuItem(text, id, image, mask, flags));
  }
  return TRUE;
}

void CPopupMenu::RemoveAll() {
  for (int i = 0; i < m_children.GetSize(); ++i) delete m_children[i];
  m_children.RemoveAll();
}

CMenuItem* CPopupMenu::FindItem(UINT key, UINT flags) {
  if (flags & MF_BYPOSITION) {
    return key < static_cast<UINT>(m_children.GetSize()) ? GetChild(static_cast<int>(key)) : nullptr;
  }
  for (int i = 0; i < m_children.GetSize(); ++i) {
    CMenuItem* child = GetChild(i);
    if (auto* popup = dynamic_cast<CPopupMenu*>(child)) {
      if (CMenuItem* found = popup->FindItem(key, flags)) return found;
    }
    if (child->m_id == key) return child;
  }
  return nullptr;
}

void CPopupMenu::AppendChild(CMenu& menu, CMenuItem* child, CObArray& bitmaps) {
  if (auto* popup = dynamic_cast<CPopupMenu*>(child)) {
    popup->BuildMenu(menu, bitmaps);
  } else if (child->m_flags & MF_SEPARATOR) {
    menu.AppendMenu(MF_SEPARATOR);
  } else if (!child->m_text.IsEmpty()) {
    if (child->m_image != 0) {
      ::AppendMenuA(menu.GetSafeHmenu(), child->m_flags | MF_OWNERDRAW, child->m_id, reinterpret_cast<LPCSTR>(child));
    } else {
      menu.AppendMenu(child->m_flags | MF_STRING, child->m_id, child->m_text);
    }
  } else {
    auto* bitmap = new CBitmap;
    Skin().LoadDIB(child->m_image, *bitmap);
    bitmaps.Add(bitmap);
    ::AppendMenuA(menu.GetSafeHmenu(), child->m_flags | MF_BITMAP, child->m_id,
                  reinterpret_cast<LPCSTR>(bitmap->GetSafeHandle()));
  }
}

void CPopupMenu::BuildMenu(CMenu& parent, CObArray& bitmaps) {
  CMenu popup;
  popup.CreatePopupMenu();
  for (int i = 0; i < m_children.GetSize(); ++i) AppendChild(popup, GetChild(i), bitmaps);
  ::AppendMenuA(parent.GetSafeHmenu(), m_flags | MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Detach()), m_text);
}

// ---- CMenuButton ----------------------------------------------------------------

CMenuButton::~CMenuButton() { RemoveAllBitmaps(); }

void CMenuButton::SetItemState(UINT key, UINT flags) {
  CMenuItem* item = m_root.FindItem(key, flags);
  if (item == nullptr) return;
  item->m_flags = (item->m_flags & ~MF_GRAYED) | (flags & MF_GRAYED);
}

void CMenuButton::CheckItem(UINT key, UINT flags) {
  CMenuItem* item = m_root.FindItem(key, flags);
  if (item == nullptr) return;
  item->m_flags = (item->m_flags & ~MF_CHECKED) | (flags & MF_CHECKED);
}

void CMenuButton::RemoveAllBitmaps() {
  for (int i = 0; i < m_bitmaps.GetSize(); ++i) delete m_bitmaps[i];
  m_bitmaps.RemoveAll();
}

void CMenuButton::ResetPage() {
  m_pageOffset = 0;
  DropDown();
}

BOOL CMenuButton::BuildPage(CMenu& menu) {
  if (m_root.GetCount() == 0 || !menu.CreatePopupMenu()) return FALSE;
  if (m_pageOffset > 0) menu.AppendMenu(MF_STRING, kPreviousId, "previous");
  int index = m_pageOffset;
  for (; index < m_root.GetCount() && index < m_pageOffset + kPageSize; ++index) {
    CPopupMenu::AppendChild(menu, m_root.GetChild(index), m_bitmaps);
  }
  if (index < m_root.GetCount()) menu.AppendMenu(MF_STRING, kNextId, "next");
  return TRUE;
}

void CMenuButton::DropDown() {
  CMenu menu;
  if (!BuildPage(menu)) return;
  CRect rect;
  GetWindowRect(&rect);
  menu.TrackPopupMenu(TPM_LEFTALIGN, rect.left, rect.bottom, this);
  menu.DestroyMenu();
  RemoveAllBitmaps();
}

BOOL CMenuButton::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (id == kPreviousId || id == kNextId) {
    m_pageOffset += id == kPreviousId ? -kPageSize : kPageSize;
    if (m_pageOffset < 0) m_pageOffset = 0;
    DropDown();
    return TRUE;
  }
  CWnd* parent = GetParent();
  if (parent != nullptr) parent->PostMessage(WM_COMMAND, wParam, lParam);
  return TRUE;
}

void CMenuButton::MeasureMenuItem(MEASUREITEMSTRUCT* measure) {
  const auto* item = reinterpret_cast<const CMenuItem*>(measure->itemData);
  if (item == nullptr) return;
  CClientDC dc(this);
  CFont* old = dc.SelectObject(Skin().GetFont(12));
  const CSize text = dc.GetTextExtent(item->m_text);
  dc.SelectObject(old);
  CBitmap image;
  Skin().LoadDIB(item->m_image, image);
  const CSize size = BitmapSize(image);
  measure->itemWidth = static_cast<UINT>(text.cx + size.cx + 8);
  measure->itemHeight = static_cast<UINT>(text.cy > size.cy + 2 ? text.cy : size.cy + 2);
}

void CMenuButton::DrawMenuItem(const DRAWITEMSTRUCT* draw) {
  const auto* item = reinterpret_cast<const CMenuItem*>(draw->itemData);
  if (item == nullptr) return;
  CDC* dc = CDC::FromHandle(draw->hDC);
  CRect rect = draw->rcItem;
  const BOOL selected = (draw->itemState & ODS_SELECTED) != 0;
  dc->FillSolidRect(&rect, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  dc->SetTextColor(::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  const CSize image = Skin().DrawTransparent(dc, item->m_image, item->m_mask, rect.left + 2, rect.top + 1, 0);
  CFont* old = dc->SelectObject(Skin().GetFont(12));
  dc->SetBkMode(TRANSPARENT);
  CRect text(rect.left + 2 + image.cx + 8, rect.top, rect.right, rect.bottom);
  dc->DrawText(item->m_text, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  dc->SelectObject(old);
}

LRESULT CMenuButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure->CtlType == ODT_MENU) {
      MeasureMenuItem(measure);
      return TRUE;
    }
  } else if (message == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw->CtlType == ODT_MENU) {
      DrawMenuItem(draw);
      return TRUE;
    }
  }
  return CODButton::WindowProc(message, wParam, lParam);
}
