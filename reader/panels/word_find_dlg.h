// CWordFindDlg: the encyclopedia's floating tool window that finds words in
// the article on display. It drives the owner's display (control 2089) and
// keeps its two options in the settings.
#pragma once

#include "controls/bm_button.h"
#include "controls/flat_edit.h"
#include "display/display.h"
#include "panels/tool_window.h"
#include "reader/panels_ids.h"

class CWordFindDlg : public CToolWindow {
 public:
  static constexpr int kMaxText = 80;

  CWordFindDlg() = default;
  using CToolWindow::Create;

  // Creates the window from `templateId` (3009) as a child of `owner`, whose
  // display it searches, with its client area on `rect`, and shows it.
  virtual BOOL Create(const CRect& rect, UINT templateId, CWnd* owner);
  CDisplay* GetDisplay() const { return DisplayOf(m_pParentWnd); }

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnTextChanged();
  void OnTextFocus();
  void OnMatchCase();
  void OnWholeWord();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnSize(UINT type, int cx, int cy);
  void OnSetFocus(CWnd* oldWnd);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

  // Inverts a box and stores its new state under `key`.
  static void ToggleOption(CBmButton& box, const char* key);

  CRect m_rect;
  CODButton m_close;
  CODButton m_find;
  CFlatEdit m_edit;
  CBmButton m_matchCase;
  CBmButton m_wholeWord;
};
