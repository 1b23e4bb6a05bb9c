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
#include "browser/browser_menus.h"
#include "browser/source_notices.h"
#include "browser/tool_column.h"
#include "browser/web_address.h"
#include "controls/menu_button.h"
#include "controls/od_button.h"
#include "core/bit_string.h"
#include "core/reader_screen.h"
#include "display/display.h"
#include "framework.h"
#include "panels/article_commands.h"
#include "panels/panel_owner.h"
#include "panels/print_job.h"
#include "panels/tool_panel_host.h"
#include "search/search_screen.h"

class CBrowser : public CPrintingFormView,
                 public ReaderScreen,
                 public ItemScreen,
                 public PanelOwner,
                 public OutlineOwner,
                 public SearchScreen,
                 public ArticleCommandOwner,
                 public BrowserPartOwner,
                 public PrintJobOwner {
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
  void OpenAdvancedSearch(const CStringArray& terms, const std::vector<float>& weights) {
    m_toolColumn.OpenAdvancedSearch(terms, weights);
  }
  void EditNote(CNoteIcon* icon);
  void CloseToolWindows() { m_toolColumn.CloseAll(); }
  // The media items / outline panel's link to entry i of the display's
  // outline: a heading scrolls the text to it; a media item is scrolled into
  // view when pictures are shown in articles, else the media screen shows it.
  void FollowOutlineLink(int i);
  void SaveLastArticle();
  // Refills the display with the current article (fonts, size or zoom changed).
  void Reload();
  // The zoom goes before a tool window opens.
  void LeaveZoom() override;

  // The tool panels' roads back to this screen: the bookmark list's
  // double click (through the main frame), its print buttons, the outline's
  // links.
  void ShowItem(int item) override { ShowArticle(item); }
  void ShowEntries(const CDWordArray& entries, EntryList list) override { m_toolColumn.ShowEntries(entries, list); }
  void PrintBookmarkFolder(int folder, BOOL preview) override { m_printJob.PrintFolder(folder, preview); }
  void LinkOutlineEntry(int index) override { FollowOutlineLink(index); }

  // The search windows' roads back: a chosen entry is an article; Smart
  // Search hands over to the Tuner.
  void ShowSearchEntry(int number) override { ShowArticle(number); }
  void OpenTuner(const CString& query, const CStringArray& terms) override { m_toolColumn.OpenTuner(query, terms); }

  // ReaderScreen
  Screen GetScreenKind() const override { return Screen::Browser; }
  void SaveSearchState(SearchState& state) override { m_toolColumn.SaveStates(state); }
  void HidePanel(ScreenPanel panel) override { m_toolColumn.Hide(panel); }
  void StoreAnnotations() override;
  int GetShownArticle() const override { return m_currentArticle > 0 ? m_currentArticle : -1; }

  // State, read by the screen's tests and the other windows.
  int GetCurrentArticle() const override { return m_currentArticle; }
  const browser::ArticleHistory& History() const override { return m_history; }
  BOOL IsZoomed() const { return m_zoomed; }
  const CString& GetTitleText() const { return m_title; }
  const CString& GetSubjectText() const { return m_subject; }
  const CBitString& GetSubjectLinks() const override { return m_subjectLinks; }
  const CBitString& GetBrowsable() const { return m_browsable; }
  const CDWordArray& GetInternetLinks() const { return m_menus.GetInternetLinks(); }
  CRect GetPanelRect() const override { return m_panel; }
  CDisplay& Display() { return m_display; }
  CMenu& Menu() { return m_menu; }
  CODButton* Button(UINT id);
  CMenuButton& RelatedButton() { return m_related; }
  CWnd* GetToolWindow(ToolPanel kind) const { return m_toolColumn.Get(kind); }
  BOOL IsToolOpen(ToolPanel kind) const { return m_toolColumn.IsOpen(kind); }
  CArticleCommands& ArticleCommands() { return m_articleCommands; }
  CPrintJob& PrintJob() override { return m_printJob; }
  // The source whose notices go with the current article.
  browser::ArticleSource CurrentSource() const;
  CWebAddress& WebAddress() { return m_webAddress; }

  // Commands, public for the other windows and the tests.
  void OnRelatedArticle();
  void OnRelatedSelection();
  void OnRandom();
  void OnZoom();

  // BrowserPartOwner: the tool column's and the web address's questions.
  CView& View() override { return *this; }
  BOOL HasSubject() const override { return m_subject != kNoSubject; }

  // ArticleCommandOwner: the article commands' questions.
  CView& ArticleView() override { return *this; }
  CDisplay& ArticleDisplay() override { return m_display; }
  int ArticleForFolders() const override { return m_currentArticle; }
  BOOL HasArticleText() const override { return m_currentArticle > 0; }
  std::string ArticleNotices() const override { return browser::NoticeBlock(CurrentSource()); }
  BOOL HasArticleList() const override { return m_toolColumn.HasArticleList(); }
  BOOL ListedArticles(CBitString& articles) override;

  // PrintJobOwner: the print job's questions (browser_print.cpp).
  CView& PrintingView() override { return *this; }
  BOOL CanPrintItem() const override { return TRUE; }
  BOOL HasPrintableSelection() const override { return m_display.HasSelection(); }
  CString PrintedItemTitle() const override { return m_title; }
  std::vector<CString> PrintedNotices(panels::PrintKind kind) const override;
  int PrintItemPage(CDC* dc, CPrintInfo* info, int start) override { return m_display.PrintRuns(dc, info, start); }

 protected:
  // Class library overrides, in the order of their slots. Commands go to
  // the article commands, the menus and the tool column before this map.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  void OnInitialUpdate() override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

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
  void OnPrevious();
  void OnHelpEncyclopedia();
  void OnConsultants();
  void OnModeButton(UINT id);
  void OnRelatedButton();
  void OnUpdateRelatedSelection(CCmdUI* ui);
  void OnUpdatePrevious(CCmdUI* ui);
  void OnUpdateOutline(CCmdUI* ui);
  void OnUpdateHistory(CCmdUI* ui);
  DECLARE_MESSAGE_MAP()

  // Layout and painting.
  void CreateButtons();
  void PlaceDisplay();
  CRect DisplayRect() const;
  int BandLeft() const { return m_zoomed ? 0 : kBandLeft; }
  void InvalidateBand();

  // ShowArticle's parts.
  void FillDisplay();
  void MarkQueryWords();
  BOOL ResultsHoldCurrent() const { return m_toolColumn.ResultsHold(m_currentArticle); }
  void UpdateSubject();
  void UpdateSourceButtons();
  void UpdateOutlineState();

 protected:
  CMenu m_menu;
  int m_currentArticle = 0;
  browser::ArticleHistory m_history;
  BOOL m_zoomed = FALSE;
  CString m_title;
  CString m_subject;
  CBitString m_subjectLinks;
  CBitString m_browsable;
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

  // The screen's components, which take their commands through OnCmdMsg.
  CArticleCommands m_articleCommands;
  CPrintJob m_printJob;
  CBrowserMenus m_menus;
  CBrowserToolColumn m_toolColumn;
  CWebAddress m_webAddress;
};
