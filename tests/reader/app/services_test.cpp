// The application's services once started: queries over both databases,
// titles, icons, fonts and colours, pictures and hot spots, the transparent
// painter, printing the folder list, the search progress window, and the
// Preferences and About dialogs.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/prefs_dlg.h"
#include "app_fixture.h"
#include "browser/browser.h"
#include "content/media_phrases.h"
#include "content/media_store_file.h"
#include "core/hot_spot.h"
#include "core/reader_messages.h"
#include "core/title_key.h"
#include "display/display.h"
#include "panels/print_job.h"
#include "reader/picture_regions.h"
#include "reader/reader_ids.h"

namespace apptest {
namespace {

// A display that counts the colour changes it hears of.
class CColourWatcher : public CDisplay {
 public:
  int changes = 0;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COLOURSCHANGED) ++changes;
    return CDisplay::WindowProc(message, wParam, lParam);
  }
};

class Services : public ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    media.installed = true;
    ASSERT_TRUE(Start());
    boxes.Clear();
  }
};

TEST_F(Services, BooleanQueriesOverBothDatabases) {
  CVeldrixApp& app = App();
  CBitString result;
  ASSERT_TRUE(app.BooleanQuery("comet", result));
  EXPECT_EQ(result.GetBitCount(), app.GetArticleCount());
  EXPECT_TRUE(result.Test(Article("Comet")));
  EXPECT_TRUE(result.Test(Article("Astronomy")));
  EXPECT_TRUE(result.Test(Article("Comet Hale-Bopp")));  // an update article
  EXPECT_FALSE(result.Test(Article("Zebra")));
  EXPECT_TRUE(boxes.all().empty());

  EXPECT_FALSE(app.BooleanQuery("comet AND zebra", result));
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no articles matching your query."}));
  EXPECT_EQ(result.GetSetCount(), 0);
  boxes.Clear();
  EXPECT_FALSE(app.BooleanQuery("(comet", result));
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"The search expression contains unbalanced parentheses."}));
  EXPECT_EQ(app.m_progressDlg.m_hWnd, nullptr);  // made for the search and gone after it
}

TEST_F(Services, SmartSearchRanksArticlesOfBothDatabases) {
  CVeldrixApp& app = App();
  CStringArray terms;
  CDWordArray groups;
  EXPECT_GT(app.ParseQuery("The rover of Mars Pathfinder.", terms, groups, TRUE), 0);
  app.RemoveStopWords(terms, groups, StopWordLimit(terms.GetSize()));
  EXPECT_EQ(terms.GetSize(), 3);  // "the" and "of" are stop words
  ASSERT_TRUE(app.WeightedQuery(terms, groups));
  EXPECT_EQ(app.m_queryWeights.size(), 3u);
  CBitString ranked;
  ASSERT_TRUE(app.QuerySources(ranked));
  EXPECT_TRUE(ranked.IsOrdered());
  const int best = ranked.GetAt(1);
  EXPECT_TRUE(best == Article("Mars Pathfinder") || best == Article("Sojourner")) << best;
  EXPECT_EQ(app.m_lastWeightedMain, -1);
  EXPECT_EQ(app.m_lastWeightedUpdates, -1);
  EXPECT_FALSE(app.QuerySources(ranked));  // nothing prepared any more

  CStringArray nothing;
  CDWordArray oneGroup;
  nothing.Add("qqq");
  oneGroup.Add(1);
  EXPECT_FALSE(app.WeightedQuery(nothing, oneGroup));
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no articles matching your query."}));
}

TEST_F(Services, TitlesOfArticlesAndTypedText) {
  CVeldrixApp& app = App();
  char title[TitleBufferSize];
  EXPECT_EQ(app.LookupTitle(Article("Henry VIII"), title), 1);
  EXPECT_STREQ(title, "Henry VIII");
  EXPECT_EQ(app.LookupTitle(Article("Sojourner"), title), 1);
  EXPECT_STREQ(title, "Sojourner");
  int article = 0;
  // Found in both indexes: the smaller article wins.
  ASSERT_TRUE(app.FindTitle("comet", title, &article));
  EXPECT_EQ(article, Article("Comet"));
  ASSERT_TRUE(app.FindTitle("comet h", title, &article));
  EXPECT_EQ(article, Article("Comet Hale-Bopp"));
  EXPECT_STREQ(title, "comet hale-bopp");
  ASSERT_TRUE(app.FindTitle("sojo", title, &article));  // before "solar system" of the main index
  EXPECT_EQ(article, Article("Sojourner"));
  EXPECT_FALSE(app.FindTitle("zzzz", title, &article));
}

TEST_F(Services, ArticleIconsByTheirSets) {
  CVeldrixApp& app = App();
  const auto icons = [&](const char* title) {
    UINT image = 0, mask = 0;
    app.GetArticleIcons(Article(title), &image, &mask);
    return std::make_pair(image, mask);
  };
  EXPECT_EQ(icons("Beethoven, Ludwig van"), std::make_pair(1094u, 1177u));  // media with sound
  EXPECT_EQ(icons("Astronomy"), std::make_pair(1093u, 1175u));
  EXPECT_EQ(icons("Volcano"), std::make_pair(1095u, 1176u));
  EXPECT_EQ(icons("Ancient Egypt"), std::make_pair(1091u, 1182u));  // Hsp before Mrv
  EXPECT_EQ(icons("Comet Hale-Bopp"), std::make_pair(1255u, 1256u));
  EXPECT_EQ(icons("Mars Pathfinder"), std::make_pair(4270u, 4271u));
  EXPECT_EQ(icons("Rock & Roll"), std::make_pair(4106u, 4107u));
  EXPECT_EQ(icons("Zebra"), std::make_pair(1273u, 1274u));
  EXPECT_EQ(icons("Photosynthesis"), std::make_pair(1090u, 1181u));
  UINT image = 9, mask = 9;
  EXPECT_FALSE(app.GetArticleIcons(9999, &image, &mask));
  EXPECT_EQ(image + mask, 0u);
}

TEST_F(Services, TransparentIconsSitOnTheirBottomEdge) {
  CVeldrixApp& app = App();
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 40, 40);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::PatBlt(memory, 0, 0, 40, 40, WHITENESS);
  CDC dc;
  dc.Attach(memory);
  CSize size;
  app.DrawTransparent(&size, &dc, 6046, 6047, 10, 30, 0x8);  // the folder icon
  EXPECT_EQ(size, CSize(16, 16));
  const ui::Picture picture = ui::CaptureDC(memory, 40, 40);
  int inked = 0, above = 0, below = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      if (picture.At(x, y) == RGB(255, 255, 255)) continue;
      ++inked;
      if (y < 14) ++above;
      if (y >= 30) ++below;
    }
  EXPECT_GT(inked, 20);
  EXPECT_EQ(above + below, 0);  // drawn in rows 14-29 only
  dc.Detach();
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
}

TEST_F(Services, BookmarkMenuEntriesAreMeasuredAndDrawn) {
  // A folder's pop-up (item data 200000 + folder; its id is the pop-up's
  // handle) and an article entry (command 9000, item data the article).
  MEASUREITEMSTRUCT folder = {};
  folder.CtlType = ODT_MENU;
  folder.itemID = 0x00420042;
  folder.itemData = 200000;
  Frame()->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&folder));
  MEASUREITEMSTRUCT article = folder;
  article.itemID = 9000;
  article.itemData = static_cast<ULONG_PTR>(Article("Beethoven, Ludwig van"));
  Frame()->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&article));
  EXPECT_GT(article.itemWidth, folder.itemWidth);  // the longer text
  EXPECT_GE(folder.itemHeight, 16u + 2);           // the folder icon and 2 pixels

  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 20);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  DRAWITEMSTRUCT draw = {};
  draw.CtlType = ODT_MENU;
  draw.itemID = article.itemID;
  draw.itemData = article.itemData;
  draw.itemState = ODS_SELECTED;
  draw.hDC = memory;
  draw.rcItem = {0, 0, 200, 20};
  Frame()->SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  const ui::Picture drawn = ui::CaptureDC(memory, 200, 20);
  EXPECT_GT(drawn.Count(CRect(0, 0, 200, 20), ::GetSysColor(COLOR_HIGHLIGHT) & 0xFFFFFF), 1000);
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
}

TEST_F(Services, TextFilesAreNamedInTheSaveDialog) {
  // What the dialog was given, copied while the dialog's strings still live.
  static DWORD flags;
  static std::string filter, defaultExtension;
  AfxSetFileDialogHook([](OPENFILENAMEA* ofn, BOOL open) -> INT_PTR {
    flags = ofn->Flags;
    filter = ofn->lpstrFilter ? std::string(ofn->lpstrFilter, 27) : std::string();
    defaultExtension = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
    if (open) return IDCANCEL;
    std::strcpy(ofn->lpstrFile, "C:\\notes.txt");
    return IDOK;
  });
  CString path;
  EXPECT_TRUE(Frame()->AskTextFileName(path));
  EXPECT_STREQ(path, "C:\\notes.txt");
  EXPECT_EQ(defaultExtension, "txt");
  EXPECT_EQ(filter, std::string("Text Files (*.txt)\0*.txt\0\0", 27));
  EXPECT_TRUE(flags & OFN_OVERWRITEPROMPT);
  AfxSetFileDialogHook([](OPENFILENAMEA*, BOOL) -> INT_PTR { return IDCANCEL; });
  EXPECT_FALSE(Frame()->AskTextFileName(path));
  AfxSetFileDialogHook(nullptr);
}

TEST_F(Services, FontsFollowTheSettingsAndColoursTheirPairs) {
  settings.Set(InstallationOptions, "FontSize", "12");
  settings.Set(InstallationOptions, "HighlightColour", "0x000000FF");
  CVeldrixApp& app = App();
  ASSERT_TRUE(app.CreateFonts());
  app.LoadColours(FALSE);
  LOGFONTA font = {};
  const int dpi = [] {
    HDC screen = ::GetDC(nullptr);
    const int value = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return value;
  }();
  ASSERT_EQ(dpi, 96);
  for (int index : {0, 1, 2, 3, 6}) {
    app.GetFont(index)->GetLogFont(&font);
    EXPECT_EQ(font.lfHeight, -16) << index;
  }
  for (int index : {4, 5}) {
    app.GetFont(index)->GetLogFont(&font);
    EXPECT_EQ(font.lfHeight, -14) << index;
  }
  app.GetFont(FontList)->GetLogFont(&font);
  EXPECT_EQ(font.lfHeight, -12);
  EXPECT_EQ(app.GetBackColour(ColourHighlighter), RGB(255, 0, 0));
  EXPECT_EQ(app.GetBackColour(ColourSearchHit), RGB(0, 0, 128));
  EXPECT_EQ(app.GetTextColour(ColourCrossRef), RGB(0, 128, 0));
  EXPECT_EQ(app.GetTextColour(ColourSelection), RGB(255, 255, 255));
}

TEST_F(Services, PicturesOfTheMediaStore) {
  CContentDb& main = App().GetDatabase(1);
  const int astronomy = App().m_multBits.IndexOf(Article("Astronomy"));
  CString caption;
  CBitmap bitmap;
  CPalette palette;
  CObArray spots;
  spots.Add(new CRectHotSpot);  // the old ones go
  WORD kind = 9;
  BYTE* mask = nullptr;
  ASSERT_TRUE(main.LoadPicture(astronomy, caption, bitmap, palette, nullptr, &spots, &kind, &mask, nullptr));
  BITMAP size = {};
  bitmap.GetBitmap(&size);
  EXPECT_EQ(size.bmWidth, 240);
  EXPECT_EQ(size.bmHeight, 160);
  EXPECT_STREQ(caption, "Stars over the desert.");
  EXPECT_EQ(palette.GetEntryCount(), 256);
  EXPECT_EQ(kind, 0);
  EXPECT_EQ(spots.GetSize(), 0);
  EXPECT_EQ(mask, nullptr);

  const int background = App().m_multBits.IndexOf(Article("Background Pictures"));
  ASSERT_TRUE(main.LoadPicture(background, caption, bitmap, palette, nullptr, nullptr, nullptr, nullptr, nullptr));
  EXPECT_TRUE(caption.IsEmpty());
  EXPECT_EQ(palette.GetEntryCount(), 256);

  HGLOBAL dib = nullptr, second = reinterpret_cast<HGLOBAL>(1);
  ASSERT_TRUE(main.LoadPictureDib(astronomy, &dib, &second));
  EXPECT_EQ(second, nullptr);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib));
  EXPECT_EQ(header->biSize, 40u);
  EXPECT_EQ(header->biWidth, 240);
  EXPECT_EQ(header->biBitCount, 8);
  ::GlobalUnlock(dib);
  ::GlobalFree(dib);
  // A sound item is no picture.
  EXPECT_FALSE(main.LoadPicture(App().m_multBits.IndexOf(Article("Beethoven, Ludwig van")), caption, bitmap, palette,
                                nullptr, nullptr, nullptr, nullptr, nullptr));
}

TEST_F(Services, HotSpotsOfAPictureAndTheirMarks) {
  // A store of its own: one picture with two labelled polygons.
  builder::Picture picture;
  picture.width = 32;
  picture.height = 16;
  picture.bitsPerPixel = 8;
  for (u32 c = 0; c < 256; ++c) picture.colours.push_back(c * 0x010101u);
  picture.pixels.assign(32 * 16, 200);
  builder::PictureRegions regions;
  regions.kind = 3;
  regions.spots = {{11, 0, 0, 0, 0, 0, {{2, 2}, {14, 2}, {14, 13}, {2, 13}}, "Left"},
                   {12, 0, 0, 0, 0, 0, {{18, 2}, {30, 2}, {24, 13}}, "Right"}};
  builder::MediaStore store;
  builder::MediaItem item;
  item.item = {1, 1, 0xFFFF, "Regions", {}};
  item.data = builder::PictureRecordWithRegions(picture, regions);
  item.packed = true;
  store.items = {item};
  store.categories = {{1, "", {}}, {1, "", {}}};
  const builder::MediaStoreFiles files = builder::BuildMediaStore(store);
  dir.Write("R.MMX", std::string(files.mmx.begin(), files.mmx.end()));
  dir.Write("R.MMD", std::string(files.mmd.begin(), files.mmd.end()));
  CContentDb db;
  std::strcpy(db.m_multimediaPath, dir.path().c_str());
  std::strcpy(db.m_mmxFile, "R.MMX");
  std::strcpy(db.m_mmdFile, "R.MMD");
  ASSERT_TRUE(db.OpenMediaIndex() && db.OpenMediaData());

  CString caption;
  CBitmap bitmap;
  CPalette palette;
  CObArray spots;
  WORD kind = 0;
  BYTE* mask = nullptr;
  ASSERT_TRUE(db.LoadPicture(0, caption, bitmap, palette, nullptr, &spots, &kind, &mask, nullptr));
  EXPECT_EQ(kind, 3);
  EXPECT_EQ(mask, nullptr);  // labelled polygons have no mask
  ASSERT_EQ(spots.GetSize(), 2);
  auto* left = static_cast<CHotSpot*>(spots[0]);
  EXPECT_STREQ(*left->GetLabel(), "Left");
  EXPECT_TRUE(left->HitTest(5, 5, 0));
  EXPECT_FALSE(left->HitTest(20, 5, 0));

  // Marking twice restores the picture.
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(memory, bitmap.m_hObject);
  CDC dc;
  dc.Attach(memory);
  const ui::Picture before = ui::CaptureDC(memory, 32, 16);
  left->Highlight(&dc);
  const ui::Picture marked = ui::CaptureDC(memory, 32, 16);
  EXPECT_NE(marked.rgb, before.rgb);
  left->Highlight(&dc);
  EXPECT_EQ(ui::CaptureDC(memory, 32, 16).rgb, before.rgb);
  CRectHotSpot rect;
  const u8 record[] = {5, 0, 'r', 1, 0, 1, 0, 8, 0, 8, 0};
  HotSpotCursor cursor(record, sizeof record);
  ASSERT_TRUE(rect.Read(cursor));
  rect.Highlight(&dc);
  EXPECT_NE(ui::CaptureDC(memory, 32, 16).rgb, before.rgb);
  rect.Highlight(&dc);
  EXPECT_EQ(ui::CaptureDC(memory, 32, 16).rgb, before.rgb);
  dc.Detach();
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  RemoveHotSpots(spots);
}

TEST_F(Services, FolderListPrintsPageByPage) {
  CVeldrixApp& app = App();
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP page = ::CreateCompatibleBitmap(screen, 400, 600);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(memory, page);
  CDC dc;
  dc.Attach(memory);
  CPrintDialog printDialog(FALSE);
  CPrintInfo info;
  info.m_pPD = &printDialog;
  info.m_rectDraw = CRect(0, 0, 400, 600);
  // The sample's folder "Space": its name and four titles fit one page.
  EXPECT_EQ(app.PrintListPage(&dc, &info, 0), -1);
  EXPECT_EQ(app.PrintListPage2(&dc, &info, 0, 0), -1);
  // A page of three lines: the folder's name and two titles.
  const auto lineOf = [&](int font) {
    TEXTMETRIC metrics = {};
    dc.SelectObject(app.GetFont(font));
    dc.GetTextMetrics(&metrics);
    return static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading);
  };
  const int name = lineOf(FontArticleBold), line = lineOf(FontArticle);
  info.m_rectDraw = CRect(0, 0, 400, name + 2 * line + line / 2);
  EXPECT_EQ(app.PrintListPage(&dc, &info, 0), 3);
  EXPECT_EQ(app.PrintListPage(&dc, &info, 3), -1);
  EXPECT_EQ(app.PrintListPage2(&dc, &info, 0, 0), 3);
  // Exactly the last line's bottom: it still fits, no empty page after.
  info.m_rectDraw = CRect(0, 0, 400, name + 4 * line);
  EXPECT_EQ(app.PrintListPage(&dc, &info, 0), -1);
  // A page too small for one line still moves on by one.
  info.m_rectDraw = CRect(0, 0, 400, 2);
  EXPECT_EQ(app.PrintListPage(&dc, &info, 0), 1);
  app.GetPrinterMargins(&dc);
  EXPECT_GE(app.m_printMargins.left, 0);
  EXPECT_GE(app.m_printMargins.bottom, 0);
  dc.Detach();
  ::SelectObject(memory, old);
  ::DeleteObject(page);
  ::DeleteDC(memory);
}

constexpr int kSeventyThousand = 70000;

// Files articles 1-70,000 in a folder "Everything" and the sample's comet in
// a folder "After"; the lines the folder list prints, in order.
std::vector<std::string> FileSeventyThousandArticles() {
  CVeldrixApp& app = App();
  app.ResetBookmarks();
  auto* everything = new CFolder(kSeventyThousand + 1);
  everything->m_name = "Everything";
  for (int a = 1; a <= kSeventyThousand; ++a) everything->m_articles.SetBit(a);
  auto* after = new CFolder(app.GetArticleCount());
  after->m_name = "After";
  after->m_articles.SetBit(Article("Comet"));
  app.m_folders.Add(everything);
  app.m_folders.Add(after);
  std::vector<std::string> lines = {"Everything"};
  for (int a = 1; a <= kSeventyThousand; ++a) {
    char title[TitleBufferSize] = "";
    app.LookupTitle(a, title);
    lines.emplace_back(title);
  }
  lines.insert(lines.end(), {"After", "Comet"});
  return lines;
}

void ExpectLines(const std::vector<std::string>& printed, const std::vector<std::string>& expected) {
  EXPECT_EQ(printed.size(), expected.size());
  const std::size_t same = static_cast<std::size_t>(
      std::mismatch(printed.begin(), printed.end(), expected.begin(), expected.end()).first - printed.begin());
  if (same < expected.size())
    ADD_FAILURE() << "line " << same << " is \"" << (same < printed.size() ? printed[same] : "(none)") << "\" where \""
                  << expected[same] << "\" was due";
}

// A folder of more articles than 16 bits count (Add Selected Articles files a
// whole result set) prints whole, page after page: every line once and in
// order, and the folder after it too.
TEST_F(Services, AFolderOfSeventyThousandArticlesPrintsEveryLineOnceInOrder) {
  CVeldrixApp& app = App();
  const std::vector<std::string> expected = FileSeventyThousandArticles();

  // Pages of about two thousand lines, drawn on a page that records them.
  ui::PrinterPage dc(CSize(200, 200));
  CPrintInfo info;
  info.m_rectDraw = CRect(0, 0, 200, 30000);
  int pages = 0;
  for (int start = 0; start != -1 && pages < 1000; ++pages) start = app.PrintListPage(&dc, &info, start);
  EXPECT_GT(pages, 30);
  std::vector<std::string> printed;
  for (const ui::PrinterPage::Text& t : dc.Texts()) printed.push_back(t.text);
  ExpectLines(printed, expected);
}

// The folder alone through a screen's print job: each page starts where the
// job stored it, past line 65,535 too.
TEST_F(Services, AFolderOfSeventyThousandArticlesPrintsWholeThroughAScreensPrintJob) {
  std::vector<std::string> expected = FileSeventyThousandArticles();
  expected.resize(kSeventyThousand + 1);
  ASSERT_TRUE(Frame()->ShowBrowser());
  auto* browser = dynamic_cast<CBrowser*>(Frame()->GetScreen(Screen::Browser));
  ASSERT_NE(browser, nullptr);
  AfxSetPrintDialogHook([](PRINTDLGA*) -> INT_PTR { return IDCANCEL; });
  browser->PrintBookmarkFolder(0, FALSE);  // cancelled: the job keeps the folder
  AfxSetPrintDialogHook(nullptr);
  ASSERT_EQ(browser->PrintJob().GetKind(), panels::PrintOneFolder);

  // Pages of about a thousand lines; a job that went round again would stop
  // at page 200.
  ui::PrinterPage page(CSize(64, 16000));
  ASSERT_TRUE(page.Print(*browser, 200));
  EXPECT_GT(page.Pages().size(), 30u);
  EXPECT_LT(page.Pages().size(), 200u);
  ExpectLines(page.BodyTexts(), expected);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(Services, TheProgressWindowShowsAndItsCancelStopsTheSearch) {
  CVeldrixApp& app = App();
  ContentDbHost& host = app;
  host.BeginSearch("Encyclopedia");
  CSearchProgressDlg& window = app.m_progressDlg;
  ASSERT_NE(window.m_hWnd, nullptr);
  EXPECT_FALSE(window.IsWindowVisible());
  CRect client;
  window.GetClientRect(&client);
  EXPECT_EQ(client.Size(), CSize(300, 140));
  EXPECT_EQ(CVeldrixApp::SearchProgress(0, 10), 0);
  EXPECT_FALSE(window.IsWindowVisible());  // not at the first report of 0
  EXPECT_EQ(CVeldrixApp::SearchProgress(5, 10), 0);
  EXPECT_TRUE(window.IsWindowVisible());
  EXPECT_EQ(window.GetProgress(), 50);
  const auto whiteInBar = [&] {
    window.RedrawWindow();
    CRect inner = window.GetBarRect();
    inner.DeflateRect(1, 1);
    return ui::Capture(window.m_hWnd).Count(inner, RGB(255, 255, 255));
  };
  EXPECT_GT(whiteInBar(), 0);
  EXPECT_EQ(CVeldrixApp::SearchProgress(0x7FFFFFFF, 0x7FFFFFFF), 0);
  EXPECT_EQ(window.GetProgress(), 100);
  EXPECT_EQ(whiteInBar(), 0);  // filled completely
  ui::SavePng(ui::Capture(window.m_hWnd, true), "reader_search_progress");
  window.SendMessage(WM_COMMAND, IDCANCEL);
  EXPECT_EQ(CVeldrixApp::SearchProgress(6, 10), 1);
  EXPECT_TRUE(host.SearchStopped());
  host.EndSearch();
  EXPECT_EQ(CVeldrixApp::SearchProgress(0, 0), 0);  // no search: nothing to stop
}

TEST_F(Services, PreferencesStoreAndApply) {
  CVeldrixApp& app = App();
  ASSERT_TRUE(Frame()->ShowBrowser());
  // A display on the home screen, which has none of its own: the colours'
  // change reaches every screen's display through the main window.
  CColourWatcher display;
  ASSERT_TRUE(display.Create(Frame()->GetScreen(Screen::Home), CRect(0, 0, 1, 1), WS_CHILD, CDisplay::kControlId,
                             kSkinEncyclopedia));
  CPrefs prefs(Frame());
  ASSERT_TRUE(prefs.Create(IDD_PREFERENCES, Frame()));
  EXPECT_TRUE(prefs.m_saveOnExit.GetCheck());
  CString delay;
  prefs.GetDlgItemText(IDC_PREF_SLIDE_DELAY, delay);
  EXPECT_STREQ(delay, "5");
  CString size;
  EXPECT_TRUE(prefs.m_sizes.GetCurText(size));
  EXPECT_STREQ(size, "9");
  EXPECT_EQ(prefs.m_sizes.GetCount(), 9);
  EXPECT_EQ(prefs.m_highlight.GetCurNumber(), RGB(255, 255, 0));
  prefs.ShowWindow(SW_SHOW);
  ui::PumpUntilIdle();
  ui::SavePng(ui::Capture(prefs.m_hWnd, true), "reader_preferences");

  const auto save = [&](const char* text) {
    prefs.SetDlgItemText(IDC_PREF_SLIDE_DELAY, text);
    prefs.SaveSettings();
    return settings.Get(InstallationOptions, "SlideShowDelay");
  };
  EXPECT_EQ(save("0"), "1");
  EXPECT_EQ(save("60"), "1");
  EXPECT_EQ(save("59"), "59");

  // Only a colour: the displays repaint, the fonts stay.
  HGDIOBJ article = app.GetFont(FontArticle)->m_hObject;
  EXPECT_EQ(prefs.m_search.GetCurNumber(), RGB(0, 0, 128));  // the setting's default
  ASSERT_GE(prefs.m_search.SelectNumber(RGB(255, 0, 0)), 0);
  MSG posted;
  while (::PeekMessageA(&posted, display.m_hWnd, 0, 0, PM_REMOVE)) {
  }
  prefs.SaveSettings();
  EXPECT_EQ(settings.Get(InstallationOptions, "SearchColour"), "ff");
  EXPECT_EQ(app.GetBackColour(ColourSearchHit), RGB(255, 0, 0));
  EXPECT_EQ(app.GetFont(FontArticle)->m_hObject, article);
  EXPECT_EQ(display.changes, 1);

  // "arial" for "Arial" changes nothing; another size makes the fonts anew.
  settings.Set(InstallationOptions, "FontName", "arial");
  prefs.SaveSettings();
  EXPECT_EQ(app.GetFont(FontArticle)->m_hObject, article);
  ASSERT_GE(prefs.m_sizes.SelectString("14"), 0);
  ui::Click(prefs.m_saveOnExit.m_hWnd, CPoint(5, 5));
  ui::PumpUntilIdle();
  EXPECT_FALSE(prefs.m_saveOnExit.GetCheck());
  prefs.SaveSettings();
  EXPECT_EQ(settings.Get(InstallationOptions, "FontSize"), "14");
  EXPECT_EQ(settings.Get(InstallationOptions, "SaveOnExit"), "0");
  EXPECT_FALSE(app.m_bSaveOnExit);
  EXPECT_NE(app.GetFont(FontArticle)->m_hObject, article);
  EXPECT_EQ(display.changes, 1);  // new fonts lay the text out again instead
  prefs.DestroyWindow();
  display.DestroyWindow();
}

// The dialog is built of the skinned controls: check strips, pickers and
// bitmap buttons; it draws its labels in the menu font and is as large as
// what it holds.
TEST_F(Services, PreferencesAreSkinnedAndSizedToTheirContents) {
  CPrefs prefs(Frame());
  ASSERT_TRUE(prefs.Create(IDD_PREFERENCES, Frame()));
  prefs.ShowWindow(SW_SHOW);
  ui::PumpUntilIdle();
  for (UINT id : {IDC_PREF_SAVE_ON_EXIT, IDC_PREF_SHOW_INTRO, IDC_PREF_DISPLAY_PICTURES}) {
    CWnd* check = CWnd::FromHandlePermanent(::GetDlgItem(prefs.m_hWnd, static_cast<int>(id)));
    ASSERT_NE(dynamic_cast<CBmButton*>(check), nullptr) << id;
    EXPECT_EQ(static_cast<CBmButton*>(check)->GetFrameSize(), CSize(14, 14));
  }
  for (UINT id : {IDC_PREF_OK, IDC_PREF_APPLY, IDC_PREF_CANCEL}) {
    auto* button =
        dynamic_cast<CODButton*>(CWnd::FromHandlePermanent(::GetDlgItem(prefs.m_hWnd, static_cast<int>(id))));
    ASSERT_NE(button, nullptr) << id;
    EXPECT_EQ(button->GetFrameSize(), CSize(56, 20));
  }
  for (UINT id : {IDC_PREF_FONT_NAME, IDC_PREF_FONT_SIZE, IDC_PREF_HIGHLIGHT, IDC_PREF_SEARCH, IDC_PREF_CROSS_REF})
    EXPECT_NE(dynamic_cast<CDropList*>(CWnd::FromHandlePermanent(::GetDlgItem(prefs.m_hWnd, static_cast<int>(id)))),
              nullptr)
        << id;

  // Every control and label stands inside the client area, 12 pixels from
  // its right and bottom edges at the nearest.
  CRect client;
  prefs.GetClientRect(&client);
  int right = 0, bottom = 0;
  for (HWND child = ::GetWindow(prefs.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CRect place;
    ::GetWindowRect(child, &place);
    prefs.ScreenToClient(&place);
    EXPECT_GE(place.left, 0);
    EXPECT_GE(place.top, 0);
    right = std::max(right, static_cast<int>(place.right));
    bottom = std::max(bottom, static_cast<int>(place.bottom));
  }
  ASSERT_EQ(prefs.GetLabels().size(), 9u);
  for (const CPrefs::Label& label : prefs.GetLabels()) right = std::max(right, static_cast<int>(label.place.right));
  EXPECT_EQ(client.right, right + 12);
  EXPECT_EQ(client.bottom, bottom + 12);

  // The labels are drawn in black on the dialog's white, in the menu font.
  const ui::Picture picture = ui::Capture(prefs.m_hWnd);
  EXPECT_EQ(picture.At(2, 2), RGB(255, 255, 255));
  for (const CPrefs::Label& label : prefs.GetLabels()) {
    EXPECT_GT(picture.Count(label.place, RGB(0, 0, 0)), 0) << label.text;
    CClientDC dc(&prefs);
    CFont* old = dc.SelectObject(App().GetFont(12));
    EXPECT_EQ(label.place.Width(), dc.GetTextExtent(label.text, static_cast<int>(std::strlen(label.text))).cx);
    dc.SelectObject(old);
  }
  // A check button shows its checked frame.
  prefs.m_showIntro.SetCheck(FALSE);
  ui::PumpUntilIdle();
  CRect box;
  prefs.m_showIntro.GetWindowRect(&box);
  prefs.ScreenToClient(&box);
  const int unchecked = ui::Capture(prefs.m_hWnd).Count(box, RGB(0, 0, 0));
  ui::Click(prefs.m_showIntro.m_hWnd, CPoint(5, 5));
  ui::PumpUntilIdle();
  EXPECT_TRUE(prefs.m_showIntro.GetCheck());
  EXPECT_NE(ui::Capture(prefs.m_hWnd).Count(box, RGB(0, 0, 0)), unchecked);
  ui::SavePng(ui::Capture(prefs.m_hWnd, true), "reader_preferences_skinned");
  prefs.DestroyWindow();
}

TEST_F(Services, AboutNeedsTheMediaLibraryAndTheDisc) {
  App().m_bMediaAvailable = FALSE;
  Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT);
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_EQ(boxes.all()[0].text,
            "The Kinora for Windows is not installed on your system.\r\nThe About dialog box will be unavailable "
            "until\r\nKinora for Windows will be installed.\r\nDo you want to continue?");
  App().m_bMediaAvailable = TRUE;
  App().GetDatabase(1).CloseMediaFiles();
  Remove("MAROVA.MMD");
  boxes.Clear();
  Frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT);
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONEXCLAMATION));
  EXPECT_NE(boxes.all()[0].text.find("The About dialog box will be unavailable until"), std::string::npos);
}

}  // namespace
}  // namespace apptest
