#include "afx_menu.h"

#include <utility>

#include "afx_temporary.h"
#include "afx_wnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

void AfxDeleteTempMenuMap() {
  TemporaryWrappers<CMenu>::DeleteAll([](CMenu* menu) { menu->m_hMenu = nullptr; });
}

CMenu::~CMenu() {
  if (!m_bTemporary) DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
  if (hMenu == nullptr) return nullptr;
  CMenu* menu = new CMenu;
  menu->m_hMenu = hMenu;
  menu->m_bTemporary = TRUE;
  TemporaryWrappers<CMenu>::Keep(menu);
  return menu;
}

BOOL CMenu::Attach(HMENU hMenu) {
  if (hMenu == nullptr) return FALSE;
  m_hMenu = hMenu;
  return TRUE;
}

HMENU CMenu::Detach() { return std::exchange(m_hMenu, nullptr); }

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEA(nIDResource)); }
BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) { return Attach(::LoadMenuA(AfxGetResourceHandle(), lpszResourceName)); }

BOOL CMenu::DestroyMenu() {
  if (m_hMenu == nullptr) return FALSE;
  return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::AppendMenuA(m_hMenu, nFlags | MF_BITMAP, nIDNewItem, reinterpret_cast<LPCSTR>(pBmp->m_hObject));
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::InsertMenuA(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, reinterpret_cast<LPCSTR>(pBmp->m_hObject));
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::ModifyMenuA(m_hMenu, nPosition, nFlags | MF_BITMAP, nIDNewItem, reinterpret_cast<LPCSTR>(pBmp->m_hObject));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  const int length = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
  if (length <= 0) {
    rString.Empty();
    return 0;
  }
  ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBufferSetLength(length), length + 1, nFlags);
  rString.ReleaseBuffer();
  return rString.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->m_hWnd, lpRect);
}
