// CTimeLine: the timeline screen (form 4065, menu 904, child id 104). It shows
// the historical events of "Timeline.bin" as articles: the reader picks a
// mode (by period, category, date range, year-in-review issue, the firsts,
// today's date, or through the shared search windows), the search window on
// the left lists the matching events, the picture pane shows the mode's or
// the chosen entry's picture, and the formatted-text display shows the
// chosen event's article. Its parts: CTimelineTools (the tool windows in the
// panel), CTimelineEventText (copying, saving, notes and highlights of the
// event's text) and the shared print job, Bookmark menu and Search History
// menu; the view routes their commands to them (OnCmdMsg).
#pragma once

#include <memory>

#include "controls/hover_tracker.h"
#include "controls/menu_button.h"
#include "controls/od_button.h"
#include "core/reader_screen.h"
#include "display/display.h"
#include "framework.h"
#include "media/picture_wnd.h"
#include "media/screen_buttons.h"
#include "media/timeline/event_text.h"
#include "media/timeline/timeline_file.h"
#include "media/timeline/timeline_search_dlg.h"
#include "media/timeline/timeline_tools.h"
#include "panels/bookmark_menu.h"
#include "panels/panel_owner.h"
#include "panels/print_job.h"
#include "panels/tool_panel_host.h"
#include "search/history_menu.h"
#include "search/search_screen.h"

class CTimeLine : public CPrintingFormView,
                  public ReaderScreen,
                  public ItemScreen,
                  public SearchScreen,
                  public PanelOwner,
                  public TimelinePartOwner,
                  public PrintJobOwner,
                  public BookmarkMenuOwner {
  DECLARE_DYNCREATE(CTimeLine)
 public:
  static constexpr int ModeButtonCount = timeline::ModeCount;
  static constexpr int DisplayHeight = 125;

  CTimeLine();
  ~CTimeLine() override;

  void OnInitialUpdate() override;
  void OnDraw(CDC* pDC) override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  // The parts' commands first, then the view's own.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // The shared windows of modes 6 to 9 and the results window, made in the
  // panel with this view as owner.

  // ReaderScreen
  Screen GetScreenKind() const override { return Screen::Timeline; }
  void StoreAnnotations() override;
  int GetShownArticle() const override { return m_article > 0 ? m_article : -1; }
  void SaveSearchState(SearchState& state) override { m_tools.SaveSearchState(state); }
  void HidePanel(ScreenPanel panel) override { m_tools.Hide(panel); }

  // The other windows' roads to an event: the bookmark list, the results and
  // contents windows.
  void ShowItem(int item) override { SetCurrentArticle(item); }
  void ShowSearchEntry(int number) override { SetCurrentArticle(number); }
  // Smart Search hands over to the Tuner in the panel.
  void OpenTuner(const CString& query, const CStringArray& terms) override { m_tools.OpenTuner(query, terms); }
  // The bookmark list's roads: articles outside the timeline go to their
  // screens; its print buttons print here.
  void ShowArticle(int article) override;
  void GoToMediaItem(int item) override;
  void PrintBookmarkFolder(int folder, BOOL preview) override { m_printJob.PrintFolder(folder, preview); }

  // Reads the data directory's "Timeline.bin"; FALSE after its message when
  // it cannot be read.
  BOOL LoadTimeline();
  void SetCurrentArticle(int article) override;
  void SelectListEntry(int index) override;
  void EnableButton(BOOL state) override;
  void SetMode(int mode);
  void PrintBookmarkFolder(int folder) { m_printJob.PrintFolder(folder, FALSE); }
  void PreviewBookmarkFolder(int folder) { m_printJob.PrintFolder(folder, TRUE); }

  CView& View() override { return *this; }
  int GetMode() const override { return m_mode; }
  int GetCurrentArticle() const override { return m_article; }
  const timeline::TimelineData& GetData() const override { return m_data; }
  CDisplay& GetDisplay() override { return m_display; }
  CTimeLineSearchDlg& GetSearchWindow() override { return m_search; }
  CODButton& GetModeButton(int mode) { return m_modeButtons[mode]; }
  CODButton& GetBackButton() { return m_back; }
  CMenuButton& GetRelatedButton() { return m_related; }
  // The picture the picture pane shows (a picture-store record), and whether
  // it was scrolled one line; -1 before the first.
  int GetShownPicture() const { return m_picture; }
  BOOL IsPictureScrolled() const { return m_pictureScrolled; }
  CPrintJob& PrintJob() override { return m_printJob; }
  CMenu& GetMenu() { return m_menu; }
  CPictureWnd& GetPictureWindow() { return m_pictureWnd; }
  CWnd* GetToolWindow(ToolPanel kind) const { return m_tools.Get(kind); }
  BOOL IsToolOpen(ToolPanel kind) const { return m_tools.IsOpen(kind); }

  // The notice block of copied and saved text.
  static CString NoticeBlock() { return CTimelineEventText::NoticeBlock(); }
  // Writes the article and the notice block to the file.
  using SaveOutcome = CTimelineEventText::SaveOutcome;
  SaveOutcome SaveEventTo(const char* path) { return m_eventText.SaveTo(path); }

  // PrintJobOwner (timeline_printer.cpp): the shown event's article.
  CView& PrintingView() override { return *this; }
  BOOL CanPrintItem() const override { return m_article > 0; }
  BOOL HasPrintableSelection() const override { return m_display.HasSelection(); }
  CString PrintedItemTitle() const override;
  std::vector<CString> PrintedNotices(panels::PrintKind kind) const override;
  int PrintItemPage(CDC* dc, CPrintInfo* info, int start) override { return m_display.PrintRuns(dc, info, start); }

  // BookmarkMenuOwner: an event is shown here.
  panels::ItemKind OwnItemKind() const override { return panels::ItemKind::TimelineEvent; }
  void ShowOwnItem(int item) override { SetCurrentArticle(item); }

 protected:
  // Printing through the class library's loops (the print job).

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT nType, int cx, int cy);
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnModeCommand(UINT id);
  void OnUpdateModeCommand(CCmdUI* pCmdUI);
  void OnBack();
  void OnHelp();
  void OnConsultants();
  LRESULT OnBitsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnFontsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnCrossReference(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowItem(WPARAM wParam, LPARAM lParam);
  LRESULT OnRegionClick(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowResults(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowContents(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowBookmarks(WPARAM wParam, LPARAM lParam);
  // Related To Event, Related To Selected Text, the Related button's menu
  // and the Search History submenu.
  void OnRelatedEvent();
  void OnRelatedSelection();
  void OnUpdateRelatedEvent(CCmdUI* pCmdUI);
  void OnUpdateRelatedSelection(CCmdUI* pCmdUI);
  void OnRelatedButton();
  void RebuildSearchHistory() { m_historyMenu.Refill(); }
  void OnAddArticle();
  DECLARE_MESSAGE_MAP()

 private:
  void CreateButtons();
  void ShowArticleText();
  void RelayArticle();
  // The picture pane: shows picture `picture` at origin (0, 0), scrolled one
  // line when asked. The pane window is the media screens' picture window.
  void ShowPicture(int picture, BOOL scrollOneLine);
  CRect PictureRect() const;

  int m_mode = timeline::ModeCategories;
  int m_article = 0;
  timeline::TimelineData m_data;
  CMenu m_menu;
  CDisplay m_display;
  CTimeLineSearchDlg m_search;
  CODButton m_modeButtons[ModeButtonCount];
  CODButton m_print, m_back, m_help;
  CMenuButton m_related;
  media::CScreenBand m_screenBand;
  CPictureWnd m_pictureWnd;
  int m_picture = -1;
  BOOL m_pictureScrolled = FALSE;
  BOOL m_created = FALSE;
  CHoverTracker m_hoverControl;
  CTimelineTools m_tools{*this};
  CTimelineEventText m_eventText{*this};
  CPrintJob m_printJob;
  CBookmarkMenu m_bookmarkMenu;
  CSearchHistoryMenu m_historyMenu;
};
