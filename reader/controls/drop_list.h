// CDropList: a small picker that shows the current choice and drops an
// owner-drawn pop-up menu of all choices on a click or an arrow key. It holds
// texts, or numbers shown as colour swatches (number mode).
#pragma once

#include "controls/skin_environment.h"

class CDropList : public CWnd {
 public:
  static constexpr int kCheckSize = 14;
  static constexpr int kPopupHeight = 440;
  static constexpr int kMaxColumns = 3;
  // The notification code posted to the parent when the choice changes.
  static constexpr WORD kSelectionChanged = 1;

  virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int AddString(const CString& text, BOOL sorted);
  int AddNumber(DWORD number);
  int DeleteItem(int index);
  int GetCurSel() const { return m_current; }
  int SetCurSel(int index);
  BOOL GetCurText(CString& text) const;
  int SelectString(const CString& text);
  DWORD GetCurNumber() const;
  int SelectNumber(DWORD number);
  void ResetContent();
  int GetCount() const { return m_count; }
  BOOL IsNumberMode() const { return m_numberMode; }
  // Builds the choice menu (the caller owns it): rows per column from the line
  // height, at most three columns.
  BOOL BuildPopup(CMenu& menu) const;
  void ShowPopup();
  // The two edge brushes for the screen that is active (and Preferences).
  void ChooseBrushes(int& first, int& second) const;

  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(CDC& dc);
  void DrawValue(CDC& dc, int index, CRect area);
  void DrawFocus();

  CStringArray m_texts;
  CDWordArray m_numbers;
  int m_current = -1;
  int m_count = 0;
  BOOL m_numberMode = FALSE;
  CBitmap m_comboArrow;
  CBitmap m_arrow;
  int m_checkWidth = kCheckSize;
  int m_checkHeight = kCheckSize;
  int m_arrowWidth = 0;
  int m_arrowHeight = 0;
};
