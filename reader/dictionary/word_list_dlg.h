// CWordListDlg: the small floating panel of the dictionary screen that shows
// one list of words or entries (headwords, synonyms, search results,
// anagrams, wildcard matches, spelling alternatives, tenses) or, instead of
// a list, the pronunciation key picture. A header strip of 23 pixels above
// the client area carries the panel's title and its item count. The owner
// reopens the same object in another mode and at another rect; choosing a
// line acts on the owning screen (CWordListOwner).
#pragma once

#include "controls/scroll_list_box.h"
#include "controls/skin_scroll_wnd.h"
#include "framework.h"

// What a panel asks of the screen that owns it.
class CWordListOwner {
 public:
  virtual ~CWordListOwner() = default;
  virtual void ShowEntry(DWORD entry) = 0;
  virtual void LookUpWord(const CString& word, int kind, int entryIndex, const CStringArray* highlightWords) = 0;
  virtual void RepaintConjugation() = 0;
};

class CWordListDlg : public CDialog {
 public:
  static constexpr int kHeaderHeight = 23;
  enum PanelMode {
    kHeadwords = 0,
    kSynonyms = 1,
    kSearchResults = 2,
    kAnagram = 3,
    kWildcard = 4,
    kSpellingAlternatives = 5,
    kTenses = 6,
    kPronunciationKey = 7,
  };

  // The panel's title in a mode; empty outside 0 to 7.
  static const char* Title(int mode);

  // Opens the panel at rect (owner's client coordinates) in the mode, or
  // moves an open one there in the new mode with its list emptied. 0 when
  // the dialog cannot be made, else 1.
  virtual int CreateOrReopen(const CRect& rect, UINT templateId, int mode, CWnd* owner);
  // Repaints the header (after the owner refilled the list).
  void Refresh();
  BOOL IsOpen() const { return m_bCreated && m_hWnd != nullptr; }
  int GetMode() const { return m_nMode; }
  CScrollListBox& List() { return m_list; }
  CSkinScrollWnd& KeyPicture() { return m_key; }
  CStringArray& HighlightWords() { return m_highlightWords; }

  void OnOK() override;
  void OnCancel() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
  void OnNcPaint();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnSize(UINT type, int cx, int cy);
  void OnSetFocus(CWnd* old);
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* focus);
  void OnClose();
  void OnDestroy();
  void OnListDoubleClick();
  DECLARE_MESSAGE_MAP()

  void PaintHeader(CDC& dc, const CRect& strip);
  void ShowForMode();

  CScrollListBox m_list;
  CSkinScrollWnd m_key;
  CStringArray m_highlightWords;
  int m_nMode = 0;
  HWND m_hovered = nullptr;
  BOOL m_bCreated = FALSE;
};
