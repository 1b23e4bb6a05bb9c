// CBmListBox: the titles of an article set as a list of any length, with
// multiple selection by mouse and keys, red titles for bookmarked articles,
// the skinned scroll bar and a pop-up for titles that do not fit.
#pragma once

#include "controls/paged_list_box.h"

class CBmListBox : public CPagedListBox {
 public:
  CBmListBox();

  BOOL Create(const RECT& rect, CWnd* parent, UINT controlId, int skin);
  int SetArticles(const CBitString& set);
  int GetCurArticle() const { return m_current; }
  // -1 when the article is not listed; else it becomes the only selected and
  // current article and the list scrolls to show it first.
  int SelectArticle(int article);
  const CBitString& GetArticles() const { return m_items; }
  const CBitString& GetSelection() const { return m_selection; }
  BOOL IsRowSelected(int row) const { return m_rowSelected[row] != 0; }

  void DrawItem(LPDRAWITEMSTRUCT item) override;
  void MeasureItem(LPMEASUREITEMSTRUCT item) override;

 protected:
  void FetchTitle(int item, char* buffer) override;
  void OnRowFetched(int row) override;
  void DrawRow(CDC& dc, const CRect& rect, int row, BOOL noClip) override;
  BOOL OnKey(UINT key) override;
  void MoveCurrent(int step) override;
  void OnClick(UINT flags, CPoint point) override;
  void AfterResize() override;

 private:
  // Re-reads the page's selected flags; changed rows repaint.
  void RefreshFlags();
  // Makes the listed article the only selected and current one and scrolls
  // it to the top as far as the range lets it.
  void ShowOnly(int article);

  CBitString m_selection;
  CByteArray m_rowSelected;
};
