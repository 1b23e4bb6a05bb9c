// Owner-drawn list boxes that keep their rows themselves and carry the
// skinned scroll bar: CScrollListBox (one line of text a row), CValueListBox
// (rows with an icon pair) and CDictListBox (numbered, word-wrapped entries
// of the dictionary). Each is made over a list-box control of its owner's
// dialog template; owners add, delete and empty rows through these classes
// so that the bar's range stays right.
#pragma once

#include "controls/skin_bar_host.h"

// The list boxes that scroll by their own rows (LB_SETTOPINDEX): the bar's
// page is the rows that fit, and the arrow keys move the selection.
class CBarListBox : public CListBox, public CSkinBarHost {
 public:
  int SetPosition(int newPos, BOOL redraw) override;

 protected:
  CBarListBox() : CSkinBarHost(this) {}
  // Subclasses the owner's control and moves it to rect (recomputing the frame).
  BOOL Place(const RECT& rect, CWnd* parent, UINT controlId);
  void SyncContent() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Row height used to count whole rows on a resize.
  virtual int RowHeight() const;
  virtual void OnResized(int clientHeight);
  // The bar's keys; FALSE for keys the list leaves to the default handling.
  BOOL OnBarKey(UINT key);
  void NotifySelChange();
};

class CScrollListBox : public CBarListBox {
 public:
  virtual BOOL Create(const RECT& rect, CWnd* parent, UINT controlId, int skin);
  int AddString(LPCTSTR text);
  int DeleteString(UINT index);
  void ResetContent();
  void DrawItem(LPDRAWITEMSTRUCT item) override;
  void MeasureItem(LPMEASUREITEMSTRUCT item) override;

 protected:
  // Fills the row's ground and sets the text colour; returns the text rect.
  CRect PaintRowGround(CDC& dc, const DRAWITEMSTRUCT& item);
  void RefreshRange();
};

class CValueListBox : public CScrollListBox {
 public:
  int AddItem(LPCTSTR text, UINT image, UINT mask);
  int DeleteItem(int index);
  void ResetContent();
  void DrawItem(LPDRAWITEMSTRUCT item) override;
  UINT GetImage(int index) const { return m_images[index]; }
  UINT GetMask(int index) const { return m_masks[index]; }

 private:
  CUIntArray m_images;
  CUIntArray m_masks;
};

class CDictListBox : public CBarListBox {
 public:
  virtual BOOL Create(const RECT& rect, CWnd* parent, UINT controlId);
  int AddStringAtEnd(LPCTSTR text);
  void ResetContent();
  int SetPosition(int newPos, BOOL redraw) override;
  void DrawItem(LPDRAWITEMSTRUCT item) override;
  void MeasureItem(LPMEASUREITEMSTRUCT item) override;

  // A row's parts: the number text ("3 "), the lead word and the body with
  // its blank prefix (measured in `dc` with the list's three fonts).
  struct RowText {
    CString number;
    CString lead;
    CString body;
  };
  static RowText Compose(CDC& dc, const CString& text, int row);

 protected:
  void OnResized(int clientHeight) override;

 private:
  void RecountPage();
};
