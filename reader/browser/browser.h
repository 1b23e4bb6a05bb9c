// CBrowser: the encyclopedia screen. A form view (template 3001, menu 901)
// the main frame makes by run-time class: one article at a time in the
// formatted-text display under a title band with the article's title,
// subject and source icon, a history of the articles shown, the buttons of
// the screen, and the column at its left where the encyclopedia's tool
// windows open. Everything that puts an article on the screen goes through
// ShowArticle.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "browser/article_history.h"
#include "browser/source_notices.h"
#include "controls/menu_button.h"
#include "controls/od_button.h"
#include "core/bit_string.h"
#include "core/reader_screen.h"
#include "display/display.h"
#include "framework.h"
#include "panels/panel_owner.h"
#include "panels/tool_panel_host.h"
#include "search/search_screen.h"

// The encyclopedia's tool windows, each with its template.
// The dialog template of a tool panel kind the encyclopedia makes (0 for others).
UINT ToolWindowTemplate(ToolPanel kind);

// What a tool window is opened with.
struct ToolRequest {
  ToolPanel kind = ToolPanel::Results;
  int mode = 0;                                 // contents 0 / subjects 1; article list 0..4
  const CBitString* articles = nullptr;         // results, article list
  const CStringArray* terms = nullptr;          // results (query words), Tuner
  const std::vector<float>* weights = nullptr;  // Tuner
  CString text;                                 // results: the query text
};

// Modes of the article list panel.
enum ArticleListMode { ListHistory = 0, ListRelatedToMedia = 2, ListClue = 3, ListSubjectLinks = 4 };

class CBrowser : public CFormView,
                 public ReaderScreen,
                 public ItemScreen,
                 public PanelOwner,
                 public OutlineOwner,
                 public SearchScreen {
  DECLARE_DYNCREATE(CBrowser)
 public:
  static constexpr int kFirstArticle = 3521;
  static constexpr int kTopHeight = 49;
  static constexpr int kBandBottom = 89;
  static constexpr int kBottomStrip = 20;
  static constexpr int kPanelLeft = 2, kPanelRight = 211;
  static constexpr int kBandLeft = 214;
  static constexpr const char* kNoSubject = "No Subject";

  CBrowser();
  ~CBrowser() override;

  // Shows article n; -1 shows the previous article of the history.
  void ShowArticle(int n) override;
  // From the media screen and the quiz: main-database entry numbers.
  void GoToMediaItem(int item) override;
  void OpenAdvancedSearch(const CStringArray& terms, const std::vector<float>& weights);
  void EditNote(CNoteIcon* icon);
  void CloseToolWindows();
  // The media items / outline panel's link to entry i of the display's
  // outline: a heading scrolls the text to it; a media item is scrolled into
  // view when pictures are shown in articles, else the media screen shows it.
  void FollowOutlineLink(int i);
  void SaveLastArticle();
  // Refills the display with the current article (fonts, size or zoom changed).
  void Reload();

  // Printing of the bookmark list's folders (the bookmark list window calls these).
  void PrintBookmarkFolder(int folder);
  void PreviewBookmarkFolder(int folder);

  // The tool panels' roads back to this screen: the bookmark list's
  // double click (through the main frame), its print buttons, the outline's
  // links.
  void ShowItem(int item) override { ShowArticle(item); }
  void ShowEntries(const CDWordArray& entries, EntryList list) override;
  void PrintBookmarkFolder(int folder, BOOL preview) override;
  void LinkOutlineEntry(int index) override { FollowOutlineLink(index); }

  // The search windows' roads back: a chosen entry is an article; Smart
  // Search hands over to the Tuner.
  void ShowSearchEntry(int number) override { ShowArticle(number); }
  void OpenTuner(const CString& query, const CStringArray& terms) override;

  // ReaderScreen
  ScreenKind GetScreenKind() const override { return ScreenKind::Encyclopedia; }
  void SaveSearchState(SearchState& state) override;
  void HidePanel(ScreenPanel panel) override;
  void StoreAnnotations() override;
  int GetShownArticle() const override { return m_currentArticle > 0 ? m_currentArticle : -1; }

  // State, read by the screen's tests and the other windows.
  int GetCurrentArticle() const { return m_currentArticle; }
  const browser::ArticleHistory& History() const { return m_history; }
  BOOL IsZoomed() const { return m_zoomed; }
  const CString& GetTitleText() const { return m_title; }
  const CString& GetSubjectText() const { return m_subject; }
  const CBitString& GetSubjectLinks() const { return m_subjectLinks; }
  const CBitString& GetBrowsable() const { return m_browsable; }
  const CDWordArray& GetInternetLinks() const { return m_internetLinks; }
  int GetPrintMode() const { return m_printMode; }
  const CDWordArray& GetPageStarts() const { return m_pageStarts; }
  CRect GetPanelRect() const { return m_panel; }
  CDisplay& Display() { return m_display; }
  CMenu& Menu() { return m_menu; }
  CODButton* Button(UINT id);
  CMenuButton& RelatedButton() { return m_related; }
  CWnd* GetToolWindow(ToolPanel kind) const { return m_tools.Get(kind); }
  BOOL IsToolOpen(ToolPanel kind) const { return m_tools.IsOpen(kind); }
  // The source whose notices go with the current article.
  browser::ArticleSource CurrentSource() const;
  // The article's web address; FALSE after its message when it cannot be read.
  BOOL ReadCurrentUrl(std::string& url) const;

  // Commands, public for the other windows and the tests.
  void OnSaveArticle();
  void OnCopySelection();
  void OnCopyArticle();
  void OnRelatedArticle();
  void OnRelatedSelection();
  void OnRandom();
  void OnZoom();
  void OnConnect();
  void OnCopyUrl();

 protected:
  // Class library overrides, in the order of their slots.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
  void OnInitialUpdate() override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
  void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
  void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

  // Window messages.
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnSize(UINT type, int cx, int cy);
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* focus);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
  void OnSetFocus(CWnd* old);
  void OnDestroy();
  BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);
  LRESULT OnBitsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnFontsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnCrossReference(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowItem(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowContents(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowBookmarks(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowResults(WPARAM wParam, LPARAM lParam);

  // Commands and their update handlers.
  void OnPrintArticle();
  void OnPreviewArticle();
  void OnPrintBookmarks();
  void OnPreviewBookmarks();
  void OnSubjectLinks();
  void OnAddArticle();
  void OnAddSelected();
  void OnBookmarkList();
  void OnAnnotation();
  void OnHighlight();
  void OnClearHighlights();
  void OnFindWord();
  void OnPrevious();
  void OnOutline();
  void OnHistory();
  void OnSmartSearch();
  void OnContents();
  void OnBoolean();
  void OnSubjects();
  void OnHelpEncyclopedia();
  void OnConsultants();
  void OnSwitchPane();
  void OnModeButton(UINT id);
  void OnRelatedButton();
  void OnUpdateCopySelection(CCmdUI* ui);
  void OnUpdateRelatedSelection(CCmdUI* ui);
  void OnUpdateSubjectLinks(CCmdUI* ui);
  void OnUpdateAddSelected(CCmdUI* ui);
  void OnUpdateHasFolders(CCmdUI* ui);
  void OnUpdateAnnotation(CCmdUI* ui);
  void OnUpdateHighlight(CCmdUI* ui);
  void OnUpdateClearHighlights(CCmdUI* ui);
  void OnUpdatePrevious(CCmdUI* ui);
  void OnUpdateOutline(CCmdUI* ui);
  void OnUpdateHistory(CCmdUI* ui);
  void OnUpdateInternet(CCmdUI* ui);
  void OnUpdateSwitchPane(CCmdUI* ui);
  DECLARE_MESSAGE_MAP()

  // Layout and painting.
  void CreateButtons();
  void PlaceDisplay();
  CRect DisplayRect() const;
  int BandLeft() const { return m_zoomed ? 0 : kBandLeft; }
  void InvalidateBand();
  void RedrawNow(CWnd* window);

  // ShowArticle's parts.
  void FillDisplay();
  void MarkQueryWords();
  BOOL ResultsHoldCurrent() const;
  void UpdateSubject();
  void UpdateSourceButtons();
  void UpdateOutlineState();
  void SetMenuItemState(UINT id, BOOL enabled);

  // Dynamic menus.
  void RebuildInternetLinks();
  void RebuildBookmarkMenu();
  void RebuildSearchHistory();
  CMenu* SubMenu(int position);
  void ShowBookmarkArticle(int article);

  // Tool windows.
  BOOL OpenToolWindow(const ToolRequest& request);
  BOOL CreateToolWindow(const ToolRequest& request);
  // Closes the results, contents and bookmark windows on every screen, all
  // but the kind being opened (ToolPanelHost::CloseSharedPanels).
  void CloseSharedWindows(ToolPanel opening);
  // Before `opening` is created: the shared windows through the frame (all
  // but the one the frame asked for) and every tool window of this screen.
  void CloseAllToolWindows(const ToolRequest& opening);
  void LeaveZoom();
  void ShowEntryList(const CDWordArray& entries, int mode);

  // Where the windows of the other screens and panels meet this screen
  // (browser_tools.cpp): making a tool window's object and window, the
  // folder chooser, the selection of the list windows, and the item
  // operations of the timeline and dictionary screens.
  BOOL MakeToolWindow(const ToolRequest& request, std::unique_ptr<CWnd>& tool);

 public:
  // Tests put windows of their own in the tool windows' places.
  using ToolMaker = BOOL (*)(CBrowser* browser, const ToolRequest& request, std::unique_ptr<CWnd>& tool);
  static ToolMaker s_toolMaker;

 protected:
  BOOL ChooseFolder(int& folder);
  BOOL GetSelectedArticles(CBitString& articles);
  void ShowOnTimeline(int article);
  void ShowInDictionary(int article);
  // Asks for a folder and puts the current article (or, with `selected`,
  // the list windows' selected articles) into it.
  void ChooseFolderFor(BOOL selected);

  void StartPreview();

  // Copy and save.
  BOOL CopyToClipboard(HGLOBAL text, int length);
  void PrintHeaderFooter(CDC* dc, CRect& body, UINT page);

  CMenu m_menu;
  int m_currentArticle = 0;
  browser::ArticleHistory m_history;
  BOOL m_zoomed = FALSE;
  CString m_title;
  CString m_subject;
  CBitString m_subjectLinks;
  CBitString m_browsable;
  CDWordArray m_internetLinks;
  int m_printMode = 0;
  CDWordArray m_pageStarts;
  HWND m_hovered = nullptr;
  CRect m_panel;
  CDisplay m_display;
  BOOL m_hasOutline = FALSE;
  BOOL m_hasPrevious = FALSE;
  BOOL m_hasHistory = FALSE;
  CString m_tipText;

  // The buttons, in the order of the top row, then the bottom row.
  static constexpr int kTopButtonCount = 15;
  static constexpr int kBottomButtonCount = 5;
  CODButton m_buttons[kTopButtonCount + kBottomButtonCount];
  CMenuButton m_related;

  // The tool windows: made on first use, destroyed (not deleted) when closed
  // or when another one opens; the object stays here (the panels' windows
  // leave their objects alone when they go) and takes the next window.
  ScreenPanels m_tools;
  // What the open results window shows.
  CString m_resultsQuery;
  int m_resultsRanked = 0;
  int m_contentsMode = 0;
  CBitString m_resultsSet;
};
