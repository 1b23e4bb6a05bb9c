// CVeldrixApp: the one application object of the reader. It owns everything
// more than one screen uses: the settings read at start, the article bit sets
// of the working directory, the numbering of articles across the main and the
// update database, the engine session and the content databases, the title
// indexes, the spelling hash, the stop words and abbreviations, the shared
// palette, brushes, fonts and icons, and the folders and bookmarks. It starts
// the program in a fixed order, serves the screens, and ends it.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "about_dlg.h"
#include "article_numbering.h"
#include "bit_string.h"
#include "bookmarks.h"
#include "concept_query.h"
#include "content_db.h"
#include "display_services.h"
#include "framework.h"
#include "loading_dlg.h"
#include "query_text.h"
#include "search_progress_dlg.h"
#include "skin_environment.h"
#include "typematic.h"
#include "working_directory.h"

class CMainFrame;
class CVeldrixApp;

// Indexes of the shared fonts.
enum SharedFont {
  FontArticle = 0,
  FontArticleBold = 1,
  FontArticleItalic = 2,
  FontArticleBoldItalic = 3,
  FontRaised = 4,
  FontLowered = 5,
  FontCrossRef = 6,
  FontSerif = 7,
  FontPhonetic = 8,
  FontHeading = 9,
  FontCaption = 10,
  FontSmall = 11,
  FontList = 12,
  FontCount = 13,
};
// The text colour pairs of the formatted-text display.
enum ColourPair { ColourNormal, ColourSelection, ColourHighlighter, ColourSearchHit, ColourCrossRef, ColourPairCount };
constexpr int BrushCount = 15;
// The brushes of dialog backgrounds and of the search progress bar.
constexpr int DialogBrush = 11;
constexpr int ProgressBrush = 3;
constexpr int IconPairCount = 19;
constexpr int FilterFileCount = 19;

// The bookmark records as the formatted-text display keeps its notes and
// highlights in them.
class BookmarkAnnotations : public display::AnnotationStore {
 public:
  explicit BookmarkAnnotations(CVeldrixApp& app) : m_app(app) {}
  bool FindAnnotations(int article, display::StoredAnnotations& out) override;
  void RemoveBookmark(int article) override;
  void AddBookmarkNote(int article, const std::string& text, int position) override;
  void AddHighlight(int article, int first, int last) override;

 private:
  CVeldrixApp& m_app;
};

class CVeldrixApp : public CWinApp,
                    public ContentDbHost,
                    public BookmarkArticles,
                    public CSkinEnvironment,
                    public CDisplayServices {
 public:
  CVeldrixApp();
  ~CVeldrixApp() override;

  // --- start-up and shutdown ---
  BOOL InitInstance() override;
  int ExitInstance() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL LoadBitSets();
  BOOL OpenDatabases();

  // --- articles ---
  int ToInternalArticle(int entry) override { return m_updateTable.ToInternalArticle(entry); }
  int ToFileArticle(int article) const { return m_updateTable.ToFileArticle(article); }
  int GetUpdateArticle(int index) const { return m_updateTable.GetUpdateArticle(index); }
  int FindUpdateArticle(int article) const { return m_updateTable.FindUpdateArticle(article); }
  // A set over database-1 entries and one over database-6 entries as one set
  // in article numbering.
  CBitString& UnionBits(CBitString& result, const CBitString& mainSet, const CBitString& updateSet) const;
  // The number of articles: the size of every article set.
  int GetArticleCount() const { return m_mainArticles.GetBitCount(); }
  // Database n (1-6), whatever slot holds it.
  CContentDb& GetDatabase(int n);

  // --- queries ---
  BOOL BooleanQuery(const CString& text, CBitString& result);
  int QueryBits(const CString& text, CBitString& result);
  BOOL QuerySources(CBitString& result);
  int NextToken(const char* text, CString& token, int& sentence, BOOL lowerCase);
  int ParseQuery(const char* text, CStringArray& terms, CDWordArray& groups, BOOL lowerCase);
  int RemoveStopWords(CStringArray& terms, CDWordArray& groups, int limit);
  BOOL WeightedQuery(CStringArray& terms, CDWordArray& groups);
  const u32* GetCharClassTable(int index) const { return ::GetCharClassTable(index); }
  // A search-progress callback of the engine's form (done, total) -> 0 go on, 1 stop.
  static i32 RE_CALL SearchProgress(u32 done, u32 total);

  // --- titles ---
  int LookupTitle(int article, char* title) override;
  BOOL FindTitle(const char* text, char* title, int* article);

  // --- printing the folder list ---
  int PrintListPage(CDC* dc, CPrintInfo* info, int start);
  int PrintListPage2(CDC* dc, CPrintInfo* info, int start);
  void GetPrinterMargins(CDC* dc);

  // --- drawing resources ---
  BOOL LoadDIB(UINT id, CBitmap& bitmap, CPalette& palette, BOOL useAppPalette, BOOL realise);
  BOOL CreateBrushes();
  void LoadButtonBitmaps();
  BOOL LoadColours(BOOL notify);
  BOOL CreateFonts();
  BOOL RecreateArticleFonts(BOOL notify, CDC* dc);
  BOOL GetArticleIcons(int article, UINT* imageId, UINT* maskId) const;
  CSize DrawTransparent(CSize* size, CDC* dc, UINT imageId, UINT maskId, int x, int y, UINT flags);
  BOOL AskTextFileName(CString& path);
  COLORREF GetTextColour(int pair) const { return m_colourText[pair]; }
  COLORREF GetBackColour(int pair) const { return m_colourBack[pair]; }

  // --- what the skinned controls use (CSkinEnvironment) ---
  CPalette* GetPalette() override { return &m_palette; }
  CBrush* GetBrush(int index) override { return &m_brushes[index]; }
  CFont* GetFont(int index) override { return &m_fonts[index]; }
  int GetLineHeight() override { return m_lineHeight; }
  BOOL IsStarted() override { return m_bStarted; }
  SkinView GetActiveViewKind() override;
  HWND GetActiveViewWindow() override;
  CPalette* GetMediaPicturePalette() override;
  BOOL IsPreferencesDialog(CWnd* window) override;
  BOOL LoadDIB(UINT id, CBitmap& bitmap) override;
  BOOL GetArticleIcons(int article, UINT& image, UINT& mask) override {
    return GetArticleIcons(article, &image, &mask);
  }
  CSize DrawTransparent(CDC* dc, UINT image, UINT mask, int x, int y, UINT flags) override {
    return DrawTransparent(nullptr, dc, image, mask, x, y, flags);
  }
  BOOL IsInBookmarkFolder(int article) override;
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
  BOOL LoadBitmap(UINT id, CBitmap& bitmap) override { return LoadDIB(id, bitmap); }
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

  // --- spelling hash ---
  BOOL LoadSpellHash();
  BOOL SpellHashFind(const char* word) const;

  // --- bookmarks and folders ---
  void ResetBookmarks();
  int FindBookmark(int article) const;
  int FindOrAddBookmark(int article);
  BOOL AddBookmarkNote(int article, const CString& text, UINT position);
  BOOL AddHighlight(int article, UINT start, UINT end);
  void RemoveBookmark(int article);
  void AddToFolder(int folder, const CBitString& set, BOOL add);
  void SetInFolder(int folder, int article, BOOL in);
  BOOL LoadBookmarks();
  BOOL SaveBookmarks();

  CMainFrame* GetMainFrame() const;

  // --- members, in the order of the object's data ---
  CPalette m_palette;
  CBrush m_brushes[BrushCount];
  BOOL m_bStarted = FALSE;
  char m_strWorkingDir[WorkingDirectorySize] = "";
  CSearchProgressDlg m_progressDlg;
  CBitmap m_checkBitmap;
  BOOL m_bSaveOnExit = FALSE;
  BOOL m_bDisplayPictures = FALSE;
  BOOL m_bShowIntro = FALSE;
  CAboutDlg m_aboutDlg;
  BOOL m_bMediaAvailable = FALSE;
  CLoadingDlg m_loadingDlg;
  CBitmap m_backgroundBitmap;
  int m_backgroundWidth = 0;
  int m_backgroundHeight = 0;
  CDWordArray m_randomPictures;
  time_t m_lastPictureTime = 0;
  CObArray m_buttonImages;
  CObArray m_buttonMasks;
  CObArray m_folders;
  CObArray m_bookmarks;
  int m_lastWeightedMain = -1;
  int m_lastWeightedUpdates = -1;
  // The 19 filter sets, in load order.
  CBitString m_hspBits, m_mrvBits, m_picBits, m_graphBits, m_tableBits, m_mapBits, m_soundBits, m_videoBits, m_animBits,
      m_multBits, m_clkmapBits, m_clkpicBits, m_tdwBits, m_knvrBits, m_tmlBits, m_updatesBits, m_vornBits, m_urlBits,
      m_linkBits;
  CBitString m_allArticles;
  CBitString m_mainArticles;
  CBitString m_updatePositions;
  ArticleNumbering m_updateTable;
  void* m_session = nullptr;
  BOOL m_bDatabasesOpen = FALSE;
  CContentDb m_databases[7];
  int m_lineHeight = 0;
  const char* m_abbreviations = nullptr;
  const char* m_stopWords = nullptr;
  u8* m_spellTable = nullptr;

  // Read by the screens: the fonts and colours, the title indexes, the
  // texts of the search panels, the ranked query and the print settings.
  CFont m_fonts[FontCount];
  COLORREF m_colourText[ColourPairCount] = {};
  COLORREF m_colourBack[ColourPairCount] = {};
  CTypematic m_mainTitles;
  CTypematic m_updateTitles;
  CString m_strBooleanTerm[4];
  int m_nBooleanOperator[3] = {0, 0, 0};
  CString m_strBooleanQuery;
  CString m_strSmartQuery;
  std::vector<float> m_queryWeights;
  ConceptQuery m_rankedQuery;
  CRect m_printMargins;
  int m_printFolder = 0;

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
  // BookmarkArticles
  int ArticleCount() const override { return GetArticleCount(); }
  int MainEntryCount() const override;
  int UpdateEntryCount() const override;
  const CBitString& MainArticles() const override { return m_mainArticles; }
  const ArticleNumbering& Numbering() const override { return m_updateTable; }
  bool UpdateTitle(int index, char* title) override;
  int FindUpdateTitle(const char* title) override;

  // Ends start-up: the wait cursor ends, the message shows (when there is
  // one), and InitInstance returns FALSE.
  BOOL FailStart(const char* message);
  void CloseDatabases();
  void BuildRandomPictures();

  BOOL m_bSearchStopped = FALSE;
  BOOL m_bProgressCreated = FALSE;
  BOOL m_bMediaStarted = FALSE;
  BOOL m_bMainTitlesOpen = FALSE;
  BOOL m_bUpdateTitlesOpen = FALSE;
  WordList m_abbreviationList;
  WordList m_stopWordList;
  QueryTokenizer m_tokenizer;
  BookmarkAnnotations m_annotations{*this};
};

CVeldrixApp& GetVeldrixApp();
