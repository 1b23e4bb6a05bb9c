// CDict: the dictionary screen's view, made by the main frame on first use (child id 102). This is the screen's start:
// it takes its place in the frame, shows the background, accepts the messages the frame sends it and takes a word to
// look up; the dictionary grows from here.
#pragma once

#include "framework.h"
#include "reader_screen.h"

class CDict : public CView, public ReaderScreen {
  DECLARE_DYNCREATE(CDict)
 public:
  void OnDraw(CDC* pDC) override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

  // Switches the screen to its dictionary mode.
  void OnDictionaryMode();
  // Takes the word into the screen's word edit and looks it up.
  void LookUpWord(const CString& word, int kind, int entry, void* unused);
  // The dictionary mode: 0 dictionary, 1 French-English, 2 English-French.
  int GetMode() const { return m_nMode; }
  const CString& GetWord() const { return m_word; }

 protected:
  LRESULT OnBitsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowResults(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowContents(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowBookmarks(WPARAM wParam, LPARAM lParam);
  LRESULT OnFontsChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CMenu m_menu;
  int m_nMode = 0;
  CString m_word;
};
