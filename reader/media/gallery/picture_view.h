// CViewPicture: the media gallery screen. A form view that shows one media
// item at a time in a floating window inside a black frame: a picture with
// hot spots (CPictureWnd) or a movie or panorama (CMovieWnd). Around it stand
// the caption line, a row of buttons at the top and the five screen buttons
// at the bottom. It moves through the gallery item by item, by slide show, by
// a back list, by hot spots and by the shared windows, plays an item's sound,
// opens its articles in the encyclopedia, prints it and files it in folders.
//
// A media item is the 0-based rank of its article among the set articles of
// Mult.bit; 4095 means that none has been shown yet.
#pragma once

#include <memory>

#include "controls/flat_edit.h"
#include "controls/hover_tracker.h"
#include "controls/od_button.h"
#include "core/bit_string.h"
#include "core/reader_screen.h"
#include "framework.h"
#include "media/gallery/media_dlg.h"
#include "media/gallery/media_frame.h"
#include "media/movie_wnd.h"
#include "media/picture_wnd.h"
#include "panels/panel_owner.h"
#include "panels/tool_panel_host.h"
#include "search/search_screen.h"

class CViewPicture : public CFormView,
                     public ReaderScreen,
                     public ItemScreen,
                     public PaletteScreen,
                     public SearchScreen,
                     public PanelOwner {
  DECLARE_DYNCREATE(CViewPicture)
 public:
  static constexpr int NoItem = 4095;
  static constexpr int FirstItem = 561;
  static constexpr int TopBand = 49;
  static constexpr int BottomBand = 20;
  static constexpr UINT SlideTimer = 1;

  // The tool panels of the gallery, in the order in which they are closed.
  static constexpr ToolPanel kPanels[] = {ToolPanel::MediaSubjects, ToolPanel::Contents, ToolPanel::Bookmarks,
                                          ToolPanel::Smart,         ToolPanel::Boolean,  ToolPanel::Results,
                                          ToolPanel::Tuner};
  // Print modes: the current item, the bookmark list, one folder.
  enum PrintMode { PrintItem = 0, PrintBookmarks = 1, PrintFolder = 2 };

  CViewPicture();
  ~CViewPicture() override;

  void OnInitialUpdate() override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  void OnDraw(CDC* pDC) override;

  // Shows item `index`: pop 0 pushes the current one on the back list, pop 1
  // drops the last back-list entry.
  void GoToItem(int index, int pop);
  int GetCurrentItem() const { return m_item; }
  // The sound command; the main frame also calls it when the sound ended.
  void OnSound();
  BOOL IsSoundPlaying() const { return m_bSoundPlaying; }
  // Stores the palette and hands it to the movie frame and the tool windows.
  void SetPalette(CPalette* palette) override;
  CPalette* GetPalette() const { return m_pPalette; }
  // The Smart Search window's "advanced" request: the Tuner panel in its
  // place, with the prepared query's text and terms.
  void OpenAdvancedSearch(const CString& query, const CStringArray& terms);
  void PrintBookmarkFolder(int folder);
  void PreviewBookmarkFolder(int folder);

  // What tests and the other windows read.
  BOOL IsMovieCurrent() const { return m_bMovie; }
  CPictureWnd& GetPictureWindow() { return m_picture; }
  CMovieWnd& GetMovieWindow() { return m_movie; }
  CMediaFrameWnd& GetMediaFrame() { return m_frame; }
  CFlatEdit& GetCaptionWindow() { return m_caption; }
  const CString& GetTitle() const { return m_title; }
  const CWordArray& GetBackList() const { return m_backList; }
  const CBitString& GetSelection() const { return m_selection; }
  BOOL IsSlideShowRunning() const { return m_slideTimer != 0; }
  CMediaDlg& GetSubjectPanel() { return m_subjectPanel; }
  // The open panel of the kind (never the subject panel), or null.
  CWnd* GetToolWindow(ToolPanel kind) const;
  const CRect& GetToolRect() const { return m_toolRect; }
  void SetToolRect(const CRect& rect) { m_toolRect = rect; }
  int GetPrintMode() const { return m_printMode; }
  const CDWordArray& GetPageStarts() const { return m_pageStarts; }
  CODButton& GetButton(UINT id);
  CMenu& GetMenu() { return m_menu; }

  // ReaderScreen
  ScreenKind GetScreenKind() const override { return ScreenKind::MediaGallery; }
  int GetShownArticle() const override;
  void HidePanel(ScreenPanel panel) override;
  void SaveSearchState(SearchState& state) override;

  // The other windows' roads to an item: the bookmark list and the results
  // and contents windows give media item indexes.
  void ShowItem(int item) override { GoToItem(item, 0); }
  void ShowSearchEntry(int number) override { GoToItem(number, 0); }
  void OpenTuner(const CString& query, const CStringArray& terms) override { OpenAdvancedSearch(query, terms); }
  void SetFloatingRect(const CRect& rect) override { m_toolRect = rect; }
  // The bookmark list's roads: an article goes to the encyclopedia screen, a
  // media item is shown here, its print buttons print here.
  void ShowArticle(int article) override;
  void GoToMediaItem(int item) override { GoToItem(item, 0); }
  void PrintBookmarkFolder(int folder, BOOL preview) override;

  // Printing through the class library's loops.
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
  void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
  void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
  // Draws the page header and footer and gives back the area between them.
  CRect PrintFrame(CDC* pDC, CPrintInfo* pInfo, const CRect& page);

 protected:
  void ShowItem();
  void Layout();
  void SetMenuText(UINT id, const char* text);
  void EnableMenu(UINT id, BOOL enable);
  void SetButtonBitmap(UINT id, UINT bitmap);
  void PushCurrent();
  void StopSlideShow();
  void StopSound();
  // The article of the current item (0 when none).
  int CurrentArticle() const;
  BOOL ReadItem(int index, BYTE& type, WORD& sound, CString& title, CDWordArray& articles) const;
  BOOL IsMovieArticle(int article) const;
  BOOL IsPanoramaShown() const;
  BOOL FocusInside() const;

  // Tool windows, menus, filing and printing.
  void CloseToolWindow(ToolPanel kind);
  void CloseOtherTools(ToolPanel keep);
  BOOL IsToolOpen(ToolPanel kind) const;
  void OpenTool(ToolPanel kind);
  // Makes a shared tool window of another screen's kind at `rect` (screen
  // coordinates of its client area), owned by the main frame; FALSE when
  // the window cannot be made.
  BOOL CreateSharedTool(ToolPanel kind, const CRect& rect);
  void ComputeToolRect();
  void RebuildHistoryMenu();
  void RebuildBookmarkMenu();
  CMenu* FindPopup(const char* text);
  void RunPrint(int mode, BOOL preview);
  void DrawPrintedImage(CDC* pDC, const CRect& area);

  // Commands.
  void OnCaption();
  void OnGoToArticle();
  void OnBack();
  void OnNext();
  void OnPrevious();
  void OnSlideShow();
  void OnLegendCommand();
  void OnHowToPlay();
  void OnMediaHelp();
  void OnConsultants();
  void OnPreferencesCommand();
  void OnPrintItem();
  void OnPreviewItem();
  void OnPrintBookmarks();
  void OnPreviewBookmarks();
  void OnSubjects();
  void OnContents();
  void OnSmartSearch();
  void OnBooleanSearch();
  void OnViewBookmarks();
  void OnAddArticle();
  void OnAddSelected();
  void OnHistory(UINT id);
  void OnBookmarkEntry(UINT id);
  void OnScreenEncyclopedia();
  void OnScreenDictionary();
  void OnScreenTimeline();
  void OnScreenQuiz();
  void OnNextPane();
  void OnUpdatePrint(CCmdUI* pCmdUI);
  void OnUpdateAddSelected(CCmdUI* pCmdUI);
  void OnUpdateBookmarkPrint(CCmdUI* pCmdUI);
  void OnUpdateBack(CCmdUI* pCmdUI);
  void OnUpdatePane(CCmdUI* pCmdUI);

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
  int m_item = NoItem;
  CPictureWnd m_picture;
  CMovieWnd m_movie;
  BOOL m_bMovie = FALSE;
  CPalette* m_pPalette = nullptr;
  CMediaFrameWnd m_frame;
  CFlatEdit m_caption;
  CString m_title;
  CWordArray m_backList;
  UINT m_slideTimer = 0;
  BOOL m_bSlideShow = FALSE;  // the running mark (kept while Preferences runs)
  BOOL m_bSoundPlaying = FALSE;
  CBitString m_selection;
  int m_printMode = PrintItem;
  CDWordArray m_pageStarts;
  CRect m_toolRect;
  CHoverTracker m_lastHover;
  CODButton m_buttons[21];
  CMediaDlg m_subjectPanel;
  // The shared tool windows' objects, kept past their windows (the windows
  // leave their objects alone when they go); each new window gets a new one.
  ScreenPanels m_tools;
};
