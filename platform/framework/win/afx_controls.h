// Wrappers of the standard controls. Owner-drawn buttons and list boxes get
// their WM_DRAWITEM / WM_MEASUREITEM back from the parent (DrawItem,
// MeasureItem), so a control class paints itself.
#pragma once

#include <windows.h>
// (the common-control and dialog headers need windows.h first)

#include <commctrl.h>

#include "afx_wnd.h"

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)
 public:
  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
  void SetCheck(int nCheck) { ::SendMessageA(m_hWnd, BM_SETCHECK, nCheck, 0); }
  UINT GetState() const { return static_cast<UINT>(::SendMessageA(m_hWnd, BM_GETSTATE, 0, 0)); }
  void SetState(BOOL bHighlight) { ::SendMessageA(m_hWnd, BM_SETSTATE, bHighlight, 0); }
  UINT GetButtonStyle() const { return GetStyle() & 0xFF; }
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { ::SendMessageA(m_hWnd, BM_SETSTYLE, nStyle, bRedraw); }
  // Paints an owner-drawn button.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CListBox : public CWnd {
  DECLARE_DYNAMIC(CListBox)
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int AddString(LPCTSTR lpszItem) { return Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszItem)); }
  int InsertString(int nIndex, LPCTSTR lpszItem) {
    return Send(LB_INSERTSTRING, nIndex, reinterpret_cast<LPARAM>(lpszItem));
  }
  int DeleteString(UINT nIndex) { return Send(LB_DELETESTRING, nIndex, 0); }
  void ResetContent() { Send(LB_RESETCONTENT, 0, 0); }
  int GetCount() const { return Send(LB_GETCOUNT, 0, 0); }
  int GetTopIndex() const { return Send(LB_GETTOPINDEX, 0, 0); }
  int SetTopIndex(int nIndex) { return Send(LB_SETTOPINDEX, nIndex, 0); }
  int GetCurSel() const { return Send(LB_GETCURSEL, 0, 0); }
  int SetCurSel(int nSelect) { return Send(LB_SETCURSEL, nSelect, 0); }
  int GetSel(int nIndex) const { return Send(LB_GETSEL, nIndex, 0); }
  int SetSel(int nIndex, BOOL bSelect = TRUE) { return Send(LB_SETSEL, bSelect, nIndex); }
  int GetSelCount() const { return Send(LB_GETSELCOUNT, 0, 0); }
  int GetSelItems(int nMaxItems, LPINT rgIndex) const {
    return Send(LB_GETSELITEMS, nMaxItems, reinterpret_cast<LPARAM>(rgIndex));
  }
  int GetCaretIndex() const { return Send(LB_GETCARETINDEX, 0, 0); }
  int SetCaretIndex(int nIndex, BOOL bScroll = TRUE) { return Send(LB_SETCARETINDEX, nIndex, bScroll); }
  DWORD_PTR GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(::SendMessageA(m_hWnd, LB_GETITEMDATA, nIndex, 0));
  }
  int SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return Send(LB_SETITEMDATA, nIndex, static_cast<LPARAM>(dwItemData));
  }
  void* GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
  int SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData)); }
  int GetItemRect(int nIndex, LPRECT lpRect) const {
    return Send(LB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect));
  }
  int GetItemHeight(int nIndex) const { return Send(LB_GETITEMHEIGHT, nIndex, 0); }
  int SetItemHeight(int nIndex, UINT cyItemHeight) {
    return Send(LB_SETITEMHEIGHT, nIndex, MAKELPARAM(cyItemHeight, 0));
  }
  int GetText(int nIndex, LPTSTR lpszBuffer) const {
    return Send(LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(lpszBuffer));
  }
  void GetText(int nIndex, CString& rString) const;
  int GetTextLen(int nIndex) const { return Send(LB_GETTEXTLEN, nIndex, 0); }
  int FindString(int nStartAfter, LPCTSTR lpszItem) const {
    return Send(LB_FINDSTRING, nStartAfter, reinterpret_cast<LPARAM>(lpszItem));
  }
  int SelectString(int nStartAfter, LPCTSTR lpszItem) {
    return Send(LB_SELECTSTRING, nStartAfter, reinterpret_cast<LPARAM>(lpszItem));
  }
  // The item nearest the client point; bOutside is TRUE when the point is
  // not on that item.
  UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;

  // Owner-drawn list boxes paint and measure their items here.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  virtual int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  int Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return static_cast<int>(::SendMessageA(m_hWnd, message, wParam, lParam));
  }
};

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void LimitText(int nChars = 0) { ::SendMessageA(m_hWnd, EM_LIMITTEXT, nChars, 0); }
  void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
  void GetSel(int& nStartChar, int& nEndChar) const;
  void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) {
    ::SendMessageA(m_hWnd, EM_REPLACESEL, bCanUndo, reinterpret_cast<LPARAM>(lpszNewText));
  }
  void SetReadOnly(BOOL bReadOnly = TRUE) { ::SendMessageA(m_hWnd, EM_SETREADONLY, bReadOnly, 0); }
};

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)
 public:
  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);
  HBITMAP SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(
        ::SendMessageA(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
  }
  HICON SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(::SendMessageA(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0));
  }
};

// The common tool-tip control. Tools added with LPSTR_TEXTCALLBACK ask their
// window for text through WM_NOTIFY TTN_NEEDTEXT.
class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)
 public:
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = TTS_ALWAYSTIP);
  // Adds a child window as a tool of its parent (TTF_IDISHWND | TTF_SUBCLASS).
  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACKA);
  void DelTool(CWnd* pWnd);
  void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
  void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
  int GetToolCount() const { return static_cast<int>(::SendMessageA(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)); }
};
