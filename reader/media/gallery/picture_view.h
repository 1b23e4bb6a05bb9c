// CViewPicture: the media gallery screen. A form view that shows one media
// item at a time in a floating window inside a black frame: a picture with
// hot spots (CPictureWnd) or a movie or panorama (CMovieWnd). Around it stand
// the caption line, a row of buttons at the top and the five screen buttons
// at the bottom. It moves through the gallery item by item, by slide show, by
// a back list, by hot spots and by the shared windows, plays an item's sound,
// opens its articles in the encyclopedia, prints it and files it in folders.
// Its parts: CGalleryNavigator (the way through the items), CGalleryTools
// (the tool windows), and the shared print job, Bookmark menu and Search
// History menu; the view routes their commands to them (OnCmdMsg).
#pragma once

#include <memory>

#include "controls/flat_edit.h"
#include "controls/hover_tracker.h"
#include "controls/od_button.h"
#include "core/reader_screen.h"
#include "framework.h"
#include "media/gallery/gallery_navigator.h"
#include "media/gallery/gallery_tools.h"
#include "media/gallery/media_frame.h"
#include "media/movie_wnd.h"
#include "media/picture_wnd.h"
#include "panels/bookmark_menu.h"
#include "panels/panel_owner.h"
#include "panels/print_job.h"
#include "panels/tool_panel_host.h"
#include "search/history_menu.h"
#include "search/search_screen.h"

class CViewPicture : public CPrintingFormView,
                     public ReaderScreen,
                     public ItemScreen,
                     public PaletteScreen,
                     public SearchScreen,
                     public PanelOwner,
                     public GalleryPartOwner,
                     public PrintJobOwner,
                     public BookmarkMenuOwner {
  DECLARE_DYNCREATE(CViewPicture)
 public:
  static constexpr int NoItem = CGalleryNavigator::NoItem;
  static constexpr int FirstItem = 561;
  static constexpr int TopBand = 49;
  static constexpr int BottomBand = 20;
  static constexpr UINT SlideTimer = CGalleryNavigator::SlideTimer;

  CViewPicture();
  ~CViewPicture() override;

  void OnInitialUpdate() override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  void OnDraw(CDC* pDC) override;
  // The parts' commands first, then the view's own.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // Shows item `index`: pop 0 pushes the current one on the back list, pop 1
  // drops the last back-list entry.
  void GoToItem(int index, int pop) override { m_navigator.GoTo(index, pop); }
  int GetCurrentItem() const { return m_navigator.GetItem(); }
  // Shows the navigator's current item in the floating window, with its
  // buttons, menu entries and caption.
  void ShowCurrentItem() override;
  // The sound command; the main frame also calls it when the sound ended.
  void OnSound();
  BOOL IsSoundPlaying() const override { return m_bSoundPlaying; }
  // Stores the palette and hands it to the movie frame and the tool windows.
  void SetPalette(CPalette* palette) override;
  CPalette* GetPalette() const { return m_pPalette; }
  // The Smart Search window's "advanced" request: the Tuner panel in its
  // place, with the prepared query's text and terms.
  void OpenAdvancedSearch(const CString& query, const CStringArray& terms) { m_tools.OpenAdvancedSearch(query, terms); }
  void PrintBookmarkFolder(int folder) { m_printJob.PrintFolder(folder, FALSE); }
  void PreviewBookmarkFolder(int folder) { m_printJob.PrintFolder(folder, TRUE); }

  // What the parts use (GalleryPartOwner).
  CView& View() override { return *this; }
  BOOL ReadItem(int index, BYTE& type, WORD& sound, CString& title, CDWordArray& articles) const override;
  void SetMenuText(UINT id, const char* text) override;
  void EnableMenu(UINT id, BOOL enable) override;
  void SetButtonBitmap(UINT id, UINT bitmap) override;
  void RebuildHistoryMenu() override;
  CGalleryTools& GetTools() override { return m_tools; }

  // What tests and the other windows read.
  BOOL IsMovieCurrent() const { return m_bMovie; }
  CPictureWnd& GetPictureWindow() { return m_picture; }
  CMovieWnd& GetMovieWindow() { return m_movie; }
  CMediaFrameWnd& GetMediaFrame() { return m_frame; }
  CFlatEdit& GetCaptionWindow() { return m_caption; }
  const CString& GetTitle() const { return m_title; }
  const CWordArray& GetBackList() const { return m_navigator.GetBackList(); }
  const CBitString& GetSelection() const { return m_navigator.GetSelection(); }
  BOOL IsSlideShowRunning() const { return m_navigator.IsSlideShowRunning(); }
  CMediaDlg& GetSubjectPanel() { return m_tools.GetSubjectPanel(); }
  // The open panel of the kind (never the subject panel), or null.
  CWnd* GetToolWindow(ToolPanel kind) const { return m_tools.Get(kind); }
  const CRect& GetToolRect() const { return m_tools.GetRect(); }
  void SetToolRect(const CRect& rect) override { m_tools.SetRect(rect); }
  CPrintJob& PrintJob() override { return m_printJob; }
  CODButton& GetButton(UINT id) override;
  CMenu& GetMenu() { return m_menu; }

  // ReaderScreen
  Screen GetScreenKind() const override { return Screen::Media; }
  int GetShownArticle() const override;
  void HidePanel(ScreenPanel panel) override;
  void SaveSearchState(SearchState& state) override { m_tools.SaveSearchState(state); }

  // The other windows' roads to an item: the bookmark list and the results
  // and contents windows give media item indexes.
  void ShowItem(int item) override { GoToItem(item, 0); }
  void ShowSearchEntry(int number) override { GoToItem(number, 0); }
  void OpenTuner(const CString& query, const CStringArray& terms) override { OpenAdvancedSearch(query, terms); }
  void SetFloatingRect(const CRect& rect) override { SetToolRect(rect); }
  // The bookmark list's roads: an article goes to the encyclopedia screen, a
  // media item is shown here, its print buttons print here.
  void ShowArticle(int article) override;
  void GoToMediaItem(int item) override { GoToItem(item, 0); }
  void PrintBookmarkFolder(int folder, BOOL preview) override { m_printJob.PrintFolder(folder, preview); }

  // PrintJobOwner (gallery_printer.cpp): the current item prints on one
  // page, a movie's frame or the item's picture; a panorama has none.
  CView& PrintingView() override { return *this; }
  BOOL CanPrintItem() const override;
  BOOL HasPrintableSelection() const override { return FALSE; }
  CString PrintedItemTitle() const override { return m_title; }
  std::vector<CString> PrintedNotices(panels::PrintKind kind) const override;
  int PrintItemPage(CDC* dc, CPrintInfo* info, int start) override;

  // BookmarkMenuOwner: a media item is shown here.
  panels::ItemKind OwnItemKind() const override { return panels::ItemKind::MediaItem; }
  void ShowOwnItem(int item) override { m_navigator.MoveTo(item); }

  // Printing through the class library's loops (the print job).

 protected:
  void Layout();
  void StopSound();
  BOOL IsMovieArticle(int article) const;
  BOOL FocusInside() const;
  void RebuildBookmarkMenu();

  // Commands.
  void OnCaption();
  void OnGoToArticle();
  void OnLegendCommand();
  void OnHowToPlay();
  void OnMediaHelp();
  void OnConsultants();
  void OnPreferencesCommand();
  void OnAddArticle();
  void OnScreenButton(UINT id);

  // Messages.
  LRESULT OnShowItem(WPARAM wParam, LPARAM lParam);
  LRESULT OnRegionClick(WPARAM wParam, LPARAM lParam);
  LRESULT OnBitsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnFontsChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowContents(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowBookmarks(WPARAM wParam, LPARAM lParam);
  LRESULT OnShowResults(WPARAM wParam, LPARAM lParam);
  void OnTimer(UINT nIDEvent);
  void OnSize(UINT nType, int cx, int cy);
  BOOL OnEraseBkgnd(CDC* pDC);
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnSetFocus(CWnd* pOldWnd);
  BOOL OnQueryNewPalette();
  void OnPaletteChanged(CWnd* pFocusWnd);
  void OnDestroy();
  BOOL OnToolTipText(UINT id, NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

  CMenu m_menu;
  CPictureWnd m_picture;
  CMovieWnd m_movie;
  BOOL m_bMovie = FALSE;
  CPalette* m_pPalette = nullptr;
  CMediaFrameWnd m_frame;
  CFlatEdit m_caption;
  CString m_title;
  BOOL m_bSoundPlaying = FALSE;
  CHoverTracker m_lastHover;
  CODButton m_buttons[21];
  CGalleryNavigator m_navigator{*this};
  CGalleryTools m_tools{*this};
  CPrintJob m_printJob;
  CBookmarkMenu m_bookmarkMenu;
  CSearchHistoryMenu m_historyMenu;
};
