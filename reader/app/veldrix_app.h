// CVeldrixApp: the one application object of the reader. It is the
// ReaderContext the screens share (the content, the look, the folders and
// bookmarks), starts the program in a fixed order, and ends it. It is also
// what the content databases, the skinned controls and the formatted-text
// display need of the application (ContentDbHost, CSkinEnvironment,
// CDisplayServices).
#pragma once

#include <ctime>

#include "app/about_dlg.h"
#include "app/loading_dlg.h"
#include "controls/skin_environment.h"
#include "core/content_db_host.h"
#include "core/reader_context.h"
#include "display/display_services.h"
#include "display/search_progress_dlg.h"
#include "framework.h"

class CMainFrame;

// The bookmark records as the formatted-text display keeps its notes and
// highlights in them.
class BookmarkAnnotations : public display::AnnotationStore {
 public:
  explicit BookmarkAnnotations(ReaderBookmarks& bookmarks) : m_bookmarks(bookmarks) {}
  bool FindAnnotations(int article, display::StoredAnnotations& out) override;
  void RemoveBookmark(int article) override;
  void AddBookmarkNote(int article, const std::string& text, int position) override;
  void AddHighlight(int article, int first, int last) override;

 private:
  ReaderBookmarks& m_bookmarks;
};

class CVeldrixApp : public CWinApp,
                    public ReaderContext,
                    public ContentDbHost,
                    public CSkinEnvironment,
                    public CDisplayServices {
 public:
  CVeldrixApp();
  ~CVeldrixApp() override;

  // --- start-up and shutdown ---
  BOOL InitInstance() override;
  int ExitInstance() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // A search-progress callback of the engine's form (done, total) -> 0 go on, 1 stop.
  static i32 RE_CALL SearchProgress(u32 done, u32 total);

  // --- what the skinned controls use (CSkinEnvironment) ---
  using ReaderLook::DrawTransparent;
  using ReaderLook::GetArticleIcons;
  using ReaderLook::LoadDIB;
  CPalette* GetPalette() override { return ReaderLook::GetPalette(); }
  CBrush* GetBrush(int index) override { return ReaderLook::GetBrush(index); }
  CFont* GetFont(int index) override { return ReaderLook::GetFont(index); }
  int GetLineHeight() override { return m_lineHeight; }
  BOOL IsStarted() override { return m_bStarted; }
  int GetActiveSkin() override;
  HWND GetActiveViewWindow() override;
  CPalette* GetMediaPicturePalette() override;
  BOOL IsPreferencesDialog(CWnd* window) override;
  BOOL LoadDIB(UINT id, CBitmap& bitmap) override { return ReaderLook::LoadDIB(id, bitmap); }
  BOOL GetArticleIcons(int article, UINT& image, UINT& mask) override {
    return ReaderLook::GetArticleIcons(article, &image, &mask);
  }
  CSize DrawTransparent(CDC* dc, UINT image, UINT mask, int x, int y, UINT flags) override {
    return ReaderLook::DrawTransparent(nullptr, dc, image, mask, x, y, flags);
  }
  int LookupTitle(int article, char* title) override { return ReaderContent::LookupTitle(article, title); }
  BOOL IsInBookmarkFolder(int article) override { return ReaderBookmarks::IsInBookmarkFolder(article); }
  int ToInternalArticle(int entry) override { return ReaderContent::ToInternalArticle(entry); }
  BOOL ReadCategories(int variant, CCategoryList& list) override;

  // --- what the formatted-text display and its dialogs use (CDisplayServices) ---
  CFont* GetArticleFont(int style) override;
  DisplayColours GetColours(int pair) override;
  CBrush* GetDialogBrush() override { return &m_brushes[DialogBrush]; }
  CBrush* GetProgressBrush() override { return &m_brushes[ProgressBrush]; }
  CFont* GetCaptionFont() override { return &m_fonts[FontCaption]; }
  CFont* GetTextFont() override { return &m_fonts[FontList]; }
  int GetTextLineHeight() override { return m_lineHeight; }
  CBitmap* GetBackground() override { return &m_backgroundBitmap; }
  BOOL LoadBitmap(UINT id, CBitmap& bitmap) override { return ReaderLook::LoadDIB(id, bitmap); }
  CString LookupTitle(int article) override;
  BOOL ShowsPictures() override;
  BOOL MediaReachable() override;
  BOOL ReadMediaItem(int item, CString& title, int& kind) override;
  int MediaItemArticle(int index) override;
  CWnd* CreateThumbnail(CWnd* display, const CRect& rect, UINT controlId, int itemIndex) override;
  display::AnnotationStore& Annotations() override { return m_annotations; }
  void LookUpWord(const CString& word) override;
  void EditNote(CWnd* screen, CNoteIcon* icon) override;
  BOOL IsDictionaryListMode(CWnd* screen) override;
  int GetShownArticle(CWnd* screen) override;

  CMainFrame* GetMainFrame() const;

  // --- members, in the order of the object's data ---
  BOOL m_bStarted = FALSE;
  CSearchProgressDlg m_progressDlg;
  CBitmap m_checkBitmap;
  CAboutDlg m_aboutDlg;
  CLoadingDlg m_loadingDlg;
  CDWordArray m_randomPictures;
  time_t m_lastPictureTime = 0;

 protected:
  void OnAppAbout();
  void OnHelpIndex();
  DECLARE_MESSAGE_MAP()

 private:
  // ContentDbHost
  void ShowMessage(const char* text) override;
  void BeginSearch(const char* caption) override;
  ReProgressCallback SearchProgress() override { return &CVeldrixApp::SearchProgress; }
  bool SearchStopped() override { return m_bSearchStopped != FALSE; }
  void EndSearch() override;
  void BeginWaitCursor() override { DoWaitCursor(1); }
  void EndWaitCursor() override { DoWaitCursor(-1); }
  bool IsDictionaryEntry(u32 mainEntry) override;
  bool IsKnownSpelling(const char* word) override { return SpellHashFind(word) != FALSE; }

  // Ends start-up: the wait cursor ends, the message shows (when there is
  // one), and InitInstance returns FALSE.
  BOOL FailStart(const char* message);
  void BuildRandomPictures();

  BOOL m_bSearchStopped = FALSE;
  BOOL m_bProgressCreated = FALSE;
  BOOL m_bMediaStarted = FALSE;
  BookmarkAnnotations m_annotations{*this};
};

CVeldrixApp& GetVeldrixApp();
