// CDict: the dictionary screen, one of the main frame's screen views (child
// id 102, menu 902, form 3007). It looks words up in four reference works:
// the dictionary entries of the main database (those set in Vorn.bit), the
// thesaurus, and the French-English and English-French dictionaries. The
// word edit's text is checked against the mode's database; the headwords go
// into a floating word-list panel, the chosen entry into the formatted-text
// display, the thesaurus senses into the thesaurus list and their synonyms
// into a second panel. Wildcard, anagram and Boolean word searches, French
// conjugation tables and the pronunciation key fill the other panels.
//
// dict_view.cpp: start, layout, painting and the window messages;
// dict_lookup.cpp: Look Up and showing entries; dict_shared.cpp: the roads
// back from the shared windows; dict_commands.cpp: what the article commands
// (copy, save, print) ask of the screen, the print job, the folders'
// changes, navigation and help.
//
// The view owns its parts, each with one job: the modes and the mode the
// screen is in (CDictModes), the word edit (CDictWordBox), the word searches
// and the pronunciation key (CDictWordSearch), the conjugation tables
// (CDictConjugation), the thesaurus list (CDictThesaurus), Next and Previous
// Pane (CDictFocusRing) and the menu (CDictMenus), command targets its
// OnCmdMsg routes to and that work on the view through DictPartOwner; the
// word-list panels (CDictPanels) and the windows of modes 5 to 8 and the
// results (CDictSharedWindows).
#pragma once

#include <vector>

#include "controls/flat_edit.h"
#include "controls/od_button.h"
#include "controls/plain_list_box.h"
#include "controls/scroll_list_box.h"
#include "controls/skin_scroll_wnd.h"
#include "core/reader_screen.h"
#include "dictionary/dict_conjugation.h"
#include "dictionary/dict_focus_ring.h"
#include "dictionary/dict_logic.h"
#include "dictionary/dict_menus.h"
#include "dictionary/dict_modes.h"
#include "dictionary/dict_panels.h"
#include "dictionary/dict_search.h"
#include "dictionary/dict_shared_windows.h"
#include "dictionary/dict_thesaurus.h"
#include "dictionary/dict_word_box.h"
#include "dictionary/word_list_dlg.h"
#include "display/display.h"
#include "framework.h"
#include "panels/article_commands.h"
#include "panels/bookmark_menu.h"
#include "panels/panel_owner.h"
#include "panels/print_job.h"
#include "search/search_screen.h"

class CContentDb;

class CDict : public CPrintingFormView,
              public ReaderScreen,
              public CWordListOwner,
              public CDictionaryModeSource,
              public CFramePaneSource,
              public SearchScreen,
              public ItemScreen,
              public PanelOwner,
              public ArticleCommandOwner,
              public DictPartOwner,
              public PrintJobOwner,
              public BookmarkMenuOwner {
  DECLARE_DYNCREATE(CDict)

 public:
  CDict();
  ~CDict() override;

  // --- the screen's operations ---
  // Looks the word edit's text up (definitions and/or synonyms); a negative
  // entry index skips the spelling check. `highlight` words are marked as
  // find hits in the entry shown.
  void LookUp(BOOL definitions, BOOL synonyms, int entryIndex, const CStringArray* highlight);
  // Puts the word into the edit and looks it up (from other screens and the panels).
  void LookUpWord(const CString& word, int kind, int entryIndex, const CStringArray* highlightWords) override;
  // Shows an entry: an article number on the main database, else an entry
  // number of the mode's translation database.
  void ShowEntry(DWORD entry) override;
  void RepaintConjugation() override { m_conjugation.Repaint(); }
  // The main frame opens the dictionary for a word: modes other than 3 and 4 become 3.
  void OnDictionaryMode() override;
  void UpdateWordButtons() override { m_word.UpdateButtons(); }
  void LayoutControls(UINT type, int width, int height);
  void OnEnterWord() { m_word.OnEnter(); }
  void EditNote(CNoteIcon* note);

  // --- the shared windows of modes 5 to 8 and the results window (dict_shared.cpp) ---
  // A chosen entry of the results, contents or bookmark windows.
  void ShowSearchEntry(int number) override { ShowEntry(static_cast<DWORD>(number)); }
  // An article from another screen or the bookmark list: the translation
  // and thesaurus modes first give way to the dictionary mode, since they
  // read another database or show no entry.
  void ShowItem(int item) override;
  // The Smart Search dialog hands its query to the Tuner panel.
  void OpenTuner(const CString& query, const CStringArray& terms) override { m_shared.OpenTuner(query, terms); }
  // Other articles open on their own screens.
  void ShowArticle(int article) override;
  void GoToMediaItem(int item) override;
  void PrintBookmarkFolder(int folder, BOOL preview) override { m_printJob.PrintFolder(folder, preview); }
  void SaveSearchState(SearchState& state) override { m_shared.SaveState(state); }
  void HidePanel(ScreenPanel panel) override { m_shared.Hide(panel); }
  CDictSharedWindows& SharedWindows() override { return m_shared; }
  CSubjectsDlg& SubjectsWindow() { return m_shared.Subjects(); }
  CSmartSearchDlg& SmartSearchWindow() { return m_shared.SmartSearch(); }
  CSearchDlg& BooleanWindow() { return m_shared.Boolean(); }
  CBookmarkDlg& BookmarkWindow() { return m_shared.Bookmarks(); }
  CResultsDlg& ResultsWindow() { return m_shared.Results(); }
  CTunerDlg& TunerWindow() { return m_shared.Tuner(); }
  CRect SharedRect() const { return m_shared.Rect(); }
  void OnRelatedToEntry();

  // --- state, for the application and tests ---
  int GetMode() const override { return m_modes.Mode(); }
  CString GetWord() const override { return m_word.GetWord(); }
  DWORD GetCurrentEntry() const { return m_currentEntry; }
  int GetAnagramLength() const { return m_wordSearch.GetAnagramLength(); }
  CDisplay& Display() override { return m_display; }
  CDictListBox& ThesaurusList() override { return m_thesaurus.List(); }
  CFrameListBox& ConjugationWindow() override { return m_conjugationWnd; }
  CWordListDlg& HeadwordsPanel() { return m_panels.Of(dict::kHeadwordsPanel); }
  CWordListDlg& SynonymsPanel() { return m_panels.Of(dict::kSynonymsPanel); }
  CWordListDlg& AlternativesPanel() { return m_panels.Of(dict::kAlternativesPanel); }
  CWordListDlg& TensesPanel() { return m_panels.Of(dict::kTensesPanel); }
  CWordListDlg& KeyPanel() { return m_panels.Of(dict::kKeyPanel); }
  CDictPanels& Panels() override { return m_panels; }
  CDictWordSearch& WordSearch() override { return m_wordSearch; }
  CDictConjugation& Conjugation() { return m_conjugation; }
  CFlatEdit& WordEdit() override { return m_word.Edit(); }
  CODButton* Button(UINT id) override;
  const dict::ScreenLayout& Layout() const override { return m_layout; }
  const CRect& WordBox() const override { return m_wordBox; }
  const CRect& HeadingRect() const override { return m_heading; }
  CArticleCommands& ArticleCommands() { return m_articleCommands; }
  CPrintJob& PrintJob() override { return m_printJob; }

  // --- ReaderScreen, mode source, conjugation pane ---
  void StoreAnnotations() override;
  int GetShownArticle() const override;
  Screen GetScreenKind() const override { return Screen::Dictionary; }
  int GetDictionaryMode() override { return GetMode(); }
  int GetCompanionSelection() override { return m_conjugation.GetSelection(); }
  void GetLabelledValues(int row, CStringArray& commonLabels, CStringArray& commonValues, CStringArray& itemLabels,
                         CStringArray& itemValues) override {
    m_conjugation.GetLabelledValues(row, commonLabels, commonValues, itemLabels, itemValues);
  }

  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The parts' commands first (modes, word box, word searches, conjugation,
  // thesaurus), then the view's.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // --- for the screen's parts (DictPartOwner) ---
  CView& View() override { return *this; }
  CContentDb& ModeDatabase() const override;
  void ClearEntry() override;
  void EnablePrintSave(BOOL enable) override;

  // --- commands (public for the tests' direct calls) ---
  void OnLookUp() override;
  void OnRelatedToSelection();

 protected:
  // Start, layout, painting, messages (dict_view.cpp).
  void CreateControls();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnSize(UINT type, int cx, int cy);
  void OnSetFocus(CWnd* old);
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* focus);
  void OnDestroy();
  LRESULT OnPanelClosed(WPARAM wParam, LPARAM lParam);
  LRESULT OnFontsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnColoursChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnCrossReference(WPARAM wParam, LPARAM lParam);
  BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);

  // Modes and lookup (dict_lookup.cpp).
  LRESULT OnShowContents(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowBookmarks(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowResults(WPARAM wParam, LPARAM lParam);
  void OnUpdateRelatedToEntry(CCmdUI* cmdUI);
  void RebuildEntry();
  void AppendEntryText(DWORD entry);
  void MarkWords(const CStringArray& words);

  // Commands (dict_commands.cpp).
  void OnUpdateHasText(CCmdUI* cmdUI);
  void OnUpdateHasSelection(CCmdUI* cmdUI);
  void OnPrintSetup();
  void OnNavigate(UINT id);
  void OnHelpDictionary();
  void OnHelpConsultants();
  LRESULT OnFoldersChanged(WPARAM wParam, LPARAM lParam);
  BOOL DisplayHasText() const;

  DECLARE_MESSAGE_MAP()

  BOOL OnMainDatabase() const { return GetMode() != dict::kFrenchEnglish && GetMode() != dict::kEnglishFrench; }

  CODButton m_sharedButtons[4];   // 4207, 4210, 4211, 2048
  CODButton m_modeButtons[5];     // 2097, 2090, 4206, 2150, 2151
  CODButton m_navButtons[5];      // 6033, 6031, 6032, 6030, 6028
  CODButton m_commandButtons[8];  // 2051, 2036, 4136, 4137, 4135, 2049, 4120, 2050
  DWORD m_currentEntry = 0;
  CDisplay m_display;
  CFrameListBox m_conjugationWnd;
  CRect m_heading;
  CRect m_wordBox;
  CRect m_column;
  dict::ScreenLayout m_layout;
  CDictPanels m_panels{*this, m_layout};
  CDictThesaurus m_thesaurus{*this};
  CDictModes m_modes{*this};
  CDictWordBox m_word{*this};
  CDictWordSearch m_wordSearch{*this};
  CDictConjugation m_conjugation{*this};
  CDictSharedWindows m_shared{*this, m_layout, m_wordBox};
  CDictFocusRing m_focusRing{*this};
  CDictMenus m_menus{*this};
  HWND m_hovered = nullptr;
  BOOL m_bStarted = FALSE;
  CString m_tipText;
  // The commands on the shown entry both article screens share, and the
  // print job, routed to through OnCmdMsg.
  CArticleCommands m_articleCommands;
  CPrintJob m_printJob;

  // ArticleCommandOwner (dict_commands.cpp; the listed articles in dict_shared.cpp).
  CView& ArticleView() override { return *this; }
  CDisplay& ArticleDisplay() override { return m_display; }
  int ArticleForFolders() const override { return GetShownArticle(); }
  BOOL HasArticleText() const override { return DisplayHasText(); }
  std::string ArticleNotices() const override;
  BOOL HasArticleList() const override;
  BOOL ListedArticles(CBitString& articles) override;

  // PrintJobOwner (dict_commands.cpp).
  CView& PrintingView() override { return *this; }
  BOOL CanPrintItem() const override { return DisplayHasText(); }
  BOOL HasPrintableSelection() const override { return m_display.HasSelection(); }
  CString PrintedItemTitle() const override;
  std::vector<CString> PrintedNotices(panels::PrintKind kind) const override;
  int PrintItemPage(CDC* dc, CPrintInfo* info, int start) override { return m_display.PrintRuns(dc, info, start); }
  CFont* PageFrameFont() const override;

  // BookmarkMenuOwner: a dictionary entry is shown in the dictionary's own mode.
  panels::ItemKind OwnItemKind() const override { return panels::ItemKind::DictionaryEntry; }
  void ShowOwnItem(int item) override;
};
