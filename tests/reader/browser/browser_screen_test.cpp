// The encyclopedia screen in the program, on the sample content: the first
// article and the history, the title band's subject and source, the Internet
// articles and links, zoom, the related articles, copying, saving and
// printing with the source notices, the Bookmark and Search History menus,
// and the tool panels opened by its buttons and commands.
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app_fixture.h"
#include "browser/browser.h"
#include "browser/source_notices.h"
#include "core/reader_messages.h"
#include "dictionary/dict_logic.h"
#include "dictionary/dict_view.h"
#include "display/note_dlg.h"
#include "display/preview_view.h"
#include "model_fixture.h"
#include "panels/article_list_dlg.h"
#include "panels/bookmark_dlg.h"
#include "panels/media_items_dlg.h"
#include "panels/word_find_dlg.h"
#include "panels_test_owner.h"
#include "reader/browser_ids.h"
#include "search/results_dlg.h"
#include "search/search_dlg.h"
#include "search/smart_search_dlg.h"
#include "search/subjects_dlg.h"
#include "search/tuner_dlg.h"

namespace apptest {
namespace {

std::string ClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return text;
  if (HANDLE data = ::GetClipboardData(CF_TEXT))
    if (const char* bytes = static_cast<const char*>(::GlobalLock(data))) {
      text = bytes;
      ::GlobalUnlock(data);
    }
  ::CloseClipboard();
  return text;
}

void SetClipboardText(const std::string& text) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(::GlobalLock(block), text.c_str(), text.size() + 1);
  ::GlobalUnlock(block);
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  ::SetClipboardData(CF_TEXT, block);
  ::CloseClipboard();
}

class BrowserScreen : public ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    settings.Set("Installation Options", "ZoomIn", "0");
  }
  CBrowser* Open() {
    if (!started && !Start()) return nullptr;
    boxes.Clear();
    if (!Frame()->ShowBrowser()) return nullptr;
    ui::PumpUntilIdle();
    return dynamic_cast<CBrowser*>(Frame()->GetScreen(Screen::Browser));
  }
  UINT MenuState(CBrowser* browser, UINT id) { return browser->Menu().GetMenuState(id, MF_BYCOMMAND); }
  // Whether item `position` is greyed once the frame has updated its pop-up
  // for showing: an item that no handler takes is greyed.
  bool GreyedWhenOpened(CMenu& popup, int position) {
    Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0);
    return (popup.GetMenuState(static_cast<UINT>(position), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) != 0;
  }
  CString MenuText(CMenu& menu, UINT id) {
    CString text;
    menu.GetMenuString(id, text, MF_BYCOMMAND);
    return text;
  }
};

TEST_F(BrowserScreen, StartsOnTheFirstArticleInItsLook) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  // The usual first article is past the sample's articles: article 1.
  EXPECT_EQ(browser->GetCurrentArticle(), 1);
  EXPECT_STREQ(browser->GetTitleText(), "Aardvark");
  EXPECT_EQ(browser->History().Count(), 1);
  EXPECT_FALSE(browser->History().HasPrevious());
  EXPECT_EQ(::GetMenu(Frame()->m_hWnd), browser->Menu().m_hMenu);
  EXPECT_EQ(browser->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_TRUE(MenuState(browser, ID_BROWSER_PREVIOUS) & MF_GRAYED);
  EXPECT_FALSE(browser->Button(IDC_BROWSER_PREVIOUS)->IsWindowEnabled());
  EXPECT_STREQ(MenuText(browser->Menu(), ID_BROWSER_ADD_ARTICLE), "Add \"Aardvark\"");

  CRect client;
  browser->GetClientRect(&client);
  CRect display;
  browser->Display().GetWindowRect(&display);
  browser->ScreenToClient(&display);
  EXPECT_EQ(display, CRect(216, 91, client.right - 2, client.bottom - 22));
  EXPECT_EQ(browser->GetPanelRect(), CRect(2, 49, 211, client.bottom - 20));
  EXPECT_EQ(browser->Display().GetDlgCtrlID(), 2089);
  EXPECT_GT(browser->Display().Model().RunCount(), 0);
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "encyclopedia_screen");
  // The buttons stand side by side; Connect and Copy URL wait hidden in the
  // places of Print and Save.
  CRect contents, subjects, print, connect, save, copyUrl;
  browser->Button(IDC_BROWSER_CONTENTS)->GetWindowRect(&contents);
  browser->Button(IDC_BROWSER_SUBJECTS)->GetWindowRect(&subjects);
  EXPECT_EQ(subjects.left, contents.right);
  browser->Button(IDC_BROWSER_PRINT)->GetWindowRect(&print);
  browser->Button(IDC_BROWSER_CONNECT)->GetWindowRect(&connect);
  browser->Button(IDC_BROWSER_SAVE)->GetWindowRect(&save);
  browser->Button(IDC_BROWSER_COPY_URL)->GetWindowRect(&copyUrl);
  EXPECT_EQ(connect.TopLeft(), print.TopLeft());
  EXPECT_EQ(copyUrl.TopLeft(), save.TopLeft());
  EXPECT_EQ(save.left, print.right);
  EXPECT_TRUE(browser->Button(IDC_BROWSER_PRINT)->IsWindowVisible());
  EXPECT_FALSE(browser->Button(IDC_BROWSER_CONNECT)->IsWindowVisible());
  CRect quiz;
  browser->Button(IDC_MODE_QUIZ)->GetWindowRect(&quiz);
  browser->ScreenToClient(&quiz);
  EXPECT_EQ(quiz.top, client.bottom - 20);
  // The tool tip of a button is the string of its id.
  char tip[81] = "";
  ASSERT_GT(::LoadStringA(AfxGetResourceHandle(), IDC_BROWSER_COPY_URL, tip, sizeof tip), 0);
  EXPECT_STREQ(tip, "Copy URL");
}

TEST_F(BrowserScreen, TheTitleBandIsPaintedBesideThePanelOrOverTheFullWidth) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Henry VIII"));
  const COLORREF bandLight = RGB(0x6A, 0x8F, 0xC8), bandDark = RGB(0x4A, 0x74, 0xB4);
  CRect client;
  browser->GetClientRect(&client);
  auto bandPixels = [&](const ui::Picture& picture, const CRect& area) {
    return picture.Count(area, bandLight) + picture.Count(area, bandDark);
  };
  browser->RedrawWindow(nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ui::Picture picture = ui::Capture(browser->m_hWnd);
  const CRect panelPart(20, 52, 200, 86), bandPart(client.right - 60, 52, client.right - 4, 86);
  EXPECT_GT(bandPixels(picture, bandPart), 0);
  EXPECT_EQ(bandPixels(picture, panelPart), 0);  // the background picture, left of the band
  EXPECT_EQ(picture.Count(CRect(client.right - 30, 0, client.right, 40), RGB(255, 255, 255)), 30 * 40);
  EXPECT_EQ(
      picture.Count(CRect(client.right - 30, client.bottom - 18, client.right, client.bottom), RGB(255, 255, 255)),
      30 * 18);
  // The title and the labels are written in the band.
  EXPECT_GT(picture.Count(CRect(214, 49, 400, 89), RGB(0, 0, 0)), 20);
  ui::SavePng(picture, "browser_title_band");

  browser->OnZoom();
  browser->RedrawWindow(nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  picture = ui::Capture(browser->m_hWnd);
  EXPECT_GT(bandPixels(picture, CRect(150, 52, 210, 86)), 0);  // zoomed: over the full width
}

TEST_F(BrowserScreen, TheLastArticleOfTheRunBefore) {
  settings.Set("Installation Options", "LastArticle", std::to_string(Article("Comet")));
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->GetCurrentArticle(), Article("Comet"));
  browser->ShowArticle(Article("Zebra"));
  browser->SaveLastArticle();
  EXPECT_EQ(settings.Get("Installation Options", "LastArticle"), std::to_string(Article("Zebra")));
}

TEST_F(BrowserScreen, ALastArticlePastTheCountStartsOnArticle1) {
  settings.Set("Installation Options", "LastArticle", "9999");
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->GetCurrentArticle(), 1);
}

TEST_F(BrowserScreen, HistoryAndPrevious) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  const int comet = Article("Comet"), zebra = Article("Zebra");
  browser->ShowArticle(comet);
  browser->ShowArticle(zebra);
  EXPECT_EQ(browser->History().Count(), 3);
  EXPECT_FALSE(MenuState(browser, ID_BROWSER_PREVIOUS) & MF_GRAYED);
  EXPECT_FALSE(MenuState(browser, ID_BROWSER_HISTORY) & MF_GRAYED);
  EXPECT_TRUE(browser->Button(IDC_BROWSER_PREVIOUS)->IsWindowEnabled());

  // The article shown already: the text and the entries stay, the position
  // moves onto that article itself, so the next Previous stays.
  const int runs = browser->Display().Model().RunCount();
  browser->ShowArticle(zebra);
  EXPECT_EQ(browser->History().Count(), 3);
  EXPECT_EQ(browser->Display().Model().RunCount(), runs);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_PREVIOUS);
  EXPECT_EQ(browser->GetCurrentArticle(), zebra);
  EXPECT_EQ(browser->History().Count(), 3);

  // Previous walks back, appending each article it shows.
  browser->SendMessage(WM_COMMAND, ID_BROWSER_PREVIOUS);
  EXPECT_EQ(browser->GetCurrentArticle(), comet);
  EXPECT_EQ(browser->History().Count(), 4);
  EXPECT_STREQ(browser->GetTitleText(), "Comet");
  browser->SendMessage(WM_COMMAND, ID_BROWSER_PREVIOUS);
  EXPECT_EQ(browser->GetCurrentArticle(), 1);
  EXPECT_FALSE(browser->History().HasPrevious());
  EXPECT_TRUE(MenuState(browser, ID_BROWSER_PREVIOUS) & MF_GRAYED);
  EXPECT_FALSE(browser->Button(IDC_BROWSER_PREVIOUS)->IsWindowEnabled());
  // Nothing left to go back to: nothing happens.
  browser->ShowArticle(-1);
  EXPECT_EQ(browser->GetCurrentArticle(), 1);
  EXPECT_EQ(browser->History().Count(), 5);

  // A number that is no article (a damaged link or reference) shows nothing.
  browser->ShowArticle(App().GetArticleCount() + 1);
  EXPECT_EQ(browser->GetCurrentArticle(), 1);
  EXPECT_EQ(browser->History().Count(), 5);

  // A cross reference carries a main-database entry.
  browser->SendMessage(WM_CROSSREF, 0, MainEntry("Volcano"));
  EXPECT_EQ(browser->GetCurrentArticle(), Article("Volcano"));
  // Random picks among the articles of the sources.
  browser->SendMessage(WM_COMMAND, ID_BROWSER_RANDOM);
  EXPECT_TRUE(browser->GetBrowsable().Test(browser->GetCurrentArticle()));
  EXPECT_FALSE(browser->GetBrowsable().Test(Article("Background Pictures")));
}

TEST_F(BrowserScreen, TheSubjectOfAnArticle) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Comet"));
  EXPECT_STRNE(browser->GetSubjectText(), CBrowser::kNoSubject);
  EXPECT_TRUE(browser->GetSubjectLinks().Test(Article("Comet")));
  EXPECT_FALSE(MenuState(browser, ID_BROWSER_SUBJECT_LINKS) & MF_GRAYED);
  browser->ShowArticle(Article("Mars Pathfinder"));  // an update: no subject
  EXPECT_STREQ(browser->GetSubjectText(), CBrowser::kNoSubject);
  EXPECT_EQ(browser->GetSubjectLinks().GetSetCount(), 0);
}

TEST_F(BrowserScreen, InternetArticlesAndLinks) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  const int pathfinder = Article("Mars Pathfinder");
  CMenu* related = browser->Menu().GetSubMenu(5);
  ASSERT_NE(related, nullptr);
  EXPECT_TRUE(related->GetMenuState(3, MF_BYPOSITION) & MF_GRAYED);

  browser->ShowArticle(Article("Astronomy"));
  ASSERT_EQ(browser->GetInternetLinks().GetSize(), 1);
  EXPECT_EQ(static_cast<int>(browser->GetInternetLinks()[0]), pathfinder);
  EXPECT_FALSE(related->GetMenuState(3, MF_BYPOSITION) & MF_GRAYED);
  CMenu* links = related->GetSubMenu(3);
  ASSERT_NE(links, nullptr);
  ASSERT_EQ(links->GetMenuItemCount(), 1);
  EXPECT_EQ(links->GetMenuItemID(0), static_cast<UINT>(ID_INTERNET_LINK_FIRST));
  EXPECT_FALSE(GreyedWhenOpened(*links, 0));
  EXPECT_EQ(browser->RelatedButton().Root().GetCount(), 4);
  auto* buttonLinks = dynamic_cast<CPopupMenu*>(browser->RelatedButton().GetItem(3));
  ASSERT_NE(buttonLinks, nullptr);
  ASSERT_EQ(buttonLinks->GetCount(), 1);
  EXPECT_STREQ(buttonLinks->GetChild(0)->m_text, "Mars Pathfinder");
  EXPECT_FALSE(buttonLinks->m_flags & MF_GRAYED);
  EXPECT_TRUE(browser->Button(IDC_BROWSER_PRINT)->IsWindowVisible());

  // The link shows the Internet article: Connect and Copy URL take the places
  // of Print and Save; it is in Link.bit with no links: a greyed popup.
  browser->SendMessage(WM_COMMAND, ID_INTERNET_LINK_FIRST);
  EXPECT_EQ(browser->GetCurrentArticle(), pathfinder);
  EXPECT_TRUE(related->GetMenuState(3, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_TRUE(buttonLinks->m_flags & MF_GRAYED);
  EXPECT_FALSE(browser->Button(IDC_BROWSER_PRINT)->IsWindowVisible());
  EXPECT_FALSE(browser->Button(IDC_BROWSER_SAVE)->IsWindowVisible());
  EXPECT_TRUE(browser->Button(IDC_BROWSER_CONNECT)->IsWindowVisible());
  EXPECT_TRUE(browser->Button(IDC_BROWSER_COPY_URL)->IsWindowVisible());

  browser->WebAddress().OnCopyUrl();
  EXPECT_EQ(ClipboardText(), "http://mars.example.org/pathfinder/");
  Remove("Internet.dat");
  SetClipboardText("before");
  browser->WebAddress().OnCopyUrl();
  EXPECT_EQ(ClipboardText(), "before");
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Unable to open the file Internet.dat"}));
  boxes.Clear();
  browser->ShowArticle(Article("Astronomy"));
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Unable to open the file Internet.dat"}));
  EXPECT_EQ(browser->GetInternetLinks().GetSize(), 0);
}

TEST_F(BrowserScreen, ZoomWidensTheTextAndIsKept) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  CRect client;
  browser->GetClientRect(&client);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_ZOOM);
  EXPECT_TRUE(browser->IsZoomed());
  CRect display;
  browser->Display().GetWindowRect(&display);
  browser->ScreenToClient(&display);
  EXPECT_EQ(display, CRect(2, 91, client.right - 2, client.bottom - 22));
  EXPECT_EQ(settings.Get("Installation Options", "ZoomIn"), "1");
  EXPECT_STREQ(MenuText(browser->Menu(), ID_BROWSER_ZOOM), "&Zoom Out");
  EXPECT_GT(browser->Display().Model().RunCount(), 0);  // the article is still there
  browser->OnZoom();
  EXPECT_FALSE(browser->IsZoomed());
  EXPECT_EQ(settings.Get("Installation Options", "ZoomIn"), "0");
  EXPECT_STREQ(MenuText(browser->Menu(), ID_BROWSER_ZOOM), "&Zoom In");
}

TEST_F(BrowserScreen, AZoomKeptFromTheRunBefore) {
  settings.Set("Installation Options", "ZoomIn", "1");
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->IsZoomed());
  EXPECT_STREQ(MenuText(browser->Menu(), ID_BROWSER_ZOOM), "&Zoom Out");
}

TEST_F(BrowserScreen, RelatedArticlesInTheFilesOrder) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Astronomy"));
  browser->OnRelatedArticle();
  EXPECT_TRUE(boxes.Texts().empty());
  const CBitString& related = Frame()->Queries().GetCurrentQuery();
  ASSERT_TRUE(related.IsOrdered());
  EXPECT_EQ(related.GetAt(1), Article("Solar System"));
  EXPECT_EQ(related.GetAt(2), Article("Black Hole"));
  EXPECT_EQ(related.GetAt(3), Article("Comet"));
  EXPECT_EQ(related.GetScore(Article("Solar System")), 900u);
  EXPECT_EQ(related.GetScore(Article("Comet")), 500u);
  EXPECT_EQ(Frame()->Queries().GetCurrentKind(), 1);
  EXPECT_NE(std::string(Frame()->Queries().GetCurrentLabel()).find("Related to:  Astronomy"), std::string::npos);

  browser->ShowArticle(Article("Zebra"));
  browser->OnRelatedArticle();
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no articles related to the current article."}));
  boxes.Clear();
  browser->ShowArticle(Article("Sojourner"));
  browser->OnRelatedArticle();
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no related articles for the Internet Updates.\r\n"}));
  boxes.Clear();
  Remove("MAROVA.REL");
  browser->ShowArticle(Article("Comet"));
  browser->OnRelatedArticle();
  ASSERT_EQ(boxes.all().size(), 1u);
  EXPECT_NE(boxes.all()[0].text.find("unable to open the file MAROVA.REL"), std::string::npos);
}

TEST_F(BrowserScreen, CopiedTextCarriesTheNoticesOfItsSource) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Henry VIII"));  // the world encyclopedia
  browser->ArticleCommands().CopyArticle();
  const std::string world = ClipboardText();
  const std::string worldBlock = browser::NoticeBlock(browser::ArticleSource::WorldEncyclopedia);
  ASSERT_GT(world.size(), worldBlock.size());
  EXPECT_EQ(world.substr(world.size() - worldBlock.size()), worldBlock);
  EXPECT_EQ(world.rfind("Henry VIII", 0), 0u);

  browser->ShowArticle(Article("Mars Pathfinder"));  // neither source: the rule and the product notice
  browser->SendMessage(WM_COMMAND, ID_BROWSER_COPY_ARTICLE);
  const std::string other = ClipboardText();
  const std::string otherBlock = browser::NoticeBlock(browser::ArticleSource::Other);
  EXPECT_EQ(other.substr(other.size() - otherBlock.size()), otherBlock);

  // No selection: the clipboard keeps what it held.
  SetClipboardText("before");
  browser->ArticleCommands().CopySelection();
  EXPECT_EQ(ClipboardText(), "before");
}

TEST_F(BrowserScreen, SavedArticleEndsWithTheLastNotice) {
  static std::string target;
  target = File("saved.txt");
  AfxSetFileDialogHook([](OPENFILENAMEA* ofn, BOOL) -> INT_PTR {
    std::strcpy(ofn->lpstrFile, target.c_str());
    return IDOK;
  });
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Rock & Roll"));  // the news magazine
  browser->ArticleCommands().Save();
  AfxSetFileDialogHook(nullptr);
  std::ifstream in(target, std::ios::binary);
  std::stringstream saved;
  saved << in.rdbuf();
  const std::string text = saved.str();
  const std::string block = browser::NoticeBlock(browser::ArticleSource::NewsMagazine);
  ASSERT_GT(text.size(), block.size());
  EXPECT_EQ(text.substr(text.size() - block.size()), block);  // no zero, no final line end
  EXPECT_EQ(text.rfind("Rock & Roll", 0), 0u);
}

HDC g_printTarget = nullptr;
DWORD g_printFlags = 0;
INT_PTR PrintToMemory(PRINTDLGA* pd) {
  if (pd->Flags & PD_RETURNDEFAULT) return IDCANCEL;
  g_printFlags = pd->Flags;
  pd->hDC = g_printTarget;
  return IDOK;
}

// Prints the current article onto a white page of the given size; the pages
// announced, and the last page as printed.
std::vector<std::string> PrintArticleOn(CBrowser* browser, int width, int height, ui::Picture& last) {
  HDC screen = ::GetDC(nullptr);
  g_printTarget = ::CreateCompatibleDC(screen);
  HBITMAP page = ::CreateCompatibleBitmap(screen, width, height);
  ::ReleaseDC(nullptr, screen);
  ::SelectObject(g_printTarget, page);
  ::PatBlt(g_printTarget, 0, 0, width, height, WHITENESS);
  std::vector<std::string> announced;
  {
    ui::PrintedPages printed;
    AfxSetPrintDialogHook(PrintToMemory);
    browser->SendMessage(WM_COMMAND, ID_BROWSER_PRINT);
    AfxSetPrintDialogHook(nullptr);
    announced = printed.pages();
  }
  // The print job owned the printer DC and deleted it: the page is read
  // through a DC of its own.
  HDC reader = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(reader, page);
  last = ui::CaptureDC(reader, width, height);
  ::SelectObject(reader, old);
  ::DeleteDC(reader);
  ::DeleteObject(page);
  return announced;
}

TEST_F(BrowserScreen, AShortArticlePrintsOnePage) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Zebra"));
  ui::Picture page;
  EXPECT_EQ(PrintArticleOn(browser, 850, 1100, page), (std::vector<std::string>{"Page 1"}));
  ui::SavePng(page, "browser_printed_article");
  EXPECT_EQ(browser->PrintJob().GetKind(), 0);
  EXPECT_TRUE(g_printFlags & PD_NOPAGENUMS);
  EXPECT_TRUE(g_printFlags & PD_NOSELECTION);                // nothing selected: no "Selection" choice
  EXPECT_EQ(browser->PrintJob().PageStarts().GetSize(), 0);  // emptied at the end of the job
  // The header: the title at the top left and the page number at the top
  // right over a rule across the page.
  const int w = page.width;
  auto ink = [&](const CRect& area) { return area.Width() * area.Height() - page.Count(area, RGB(255, 255, 255)); };
  int rule = 0;
  while (rule < page.height / 2 && ink(CRect(0, rule, w, rule + 1)) < w / 2) ++rule;
  ASSERT_LT(rule, page.height / 2);
  EXPECT_GT(ink(CRect(0, 0, w / 3, rule)), 0);
  EXPECT_GT(ink(CRect(2 * w / 3, 0, w, rule)), 0);
  EXPECT_EQ(ink(CRect(w / 3, 0, 2 * w / 3, rule)), 0);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(BrowserScreen, ALongerArticleOnShortPagesPrintsPageAfterPage) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Comet"));
  ui::Picture page;
  const std::vector<std::string> pages = PrintArticleOn(browser, 400, 700, page);
  ui::SavePng(page, "browser_printed_last_page");
  ASSERT_GE(pages.size(), 2u);
  for (std::size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(pages[i], "Page " + std::to_string(i + 1));
  EXPECT_EQ(browser->PrintJob().PageStarts().GetSize(), 0);
  // Every line once, none into the footer, on pages of several heights.
  EXPECT_GE(ui::ExpectEveryLinePrintedOnce(*browser, 400, {700, 717, 745, 790}, "browser_printed_page"), 2);
}

INT_PTR NoPrinter(PRINTDLGA*) { return IDCANCEL; }

TEST_F(BrowserScreen, APreviewWithoutAPrinterFailsWithTheCommandMessage) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  AfxSetPrintDialogHook(NoPrinter);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_PREVIEW_BOOKMARKS);
  EXPECT_EQ(browser->PrintJob().GetKind(), 1);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_PREVIEW);
  AfxSetPrintDialogHook(nullptr);
  EXPECT_EQ(browser->PrintJob().GetKind(), 0);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Command failed.", "Command failed."}));
  EXPECT_EQ(Frame()->GetActiveView(), browser);
  EXPECT_TRUE(browser->IsWindowVisible());
}

// The default printer is the display: a device enough for a preview's pages.
INT_PTR DisplayAsPrinter(PRINTDLGA* pd) {
  if (!(pd->Flags & PD_RETURNDEFAULT)) return IDCANCEL;
  static const char names[] = "DISPLAY\0DISPLAY\0";  // driver, device, an empty output
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + sizeof names);
  auto* devNames = static_cast<DEVNAMES*>(::GlobalLock(block));
  devNames->wDriverOffset = sizeof(DEVNAMES);
  devNames->wDeviceOffset = sizeof(DEVNAMES) + 8;
  devNames->wOutputOffset = sizeof(DEVNAMES) + 16;
  std::memcpy(devNames + 1, names, sizeof names);
  ::GlobalUnlock(block);
  pd->hDevNames = block;
  pd->hDevMode = nullptr;
  return IDOK;
}

TEST_F(BrowserScreen, APreviewShowsTheArticleInPlaceOfTheScreenUntilItCloses) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Volcano"));
  AfxSetPrintDialogHook(DisplayAsPrinter);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_PREVIEW);
  AfxSetPrintDialogHook(nullptr);
  CView* active = Frame()->GetActiveView();
  ASSERT_NE(active, nullptr);
  EXPECT_TRUE(active->IsKindOf(RUNTIME_CLASS(CQVEPreviewView)));
  EXPECT_TRUE(boxes.Texts().empty());
  ui::PumpUntilIdle();
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "shared_print_preview");
  if (active != browser) static_cast<CPreviewView*>(active)->ClosePreview();
  ui::PumpUntilIdle();
  EXPECT_EQ(Frame()->GetActiveView(), browser);
  // The tests after this one have no printer again.
  CVeldrixApp& app = App();
  ::GlobalFree(app.m_hDevNames);
  app.m_hDevNames = nullptr;
}

TEST_F(BrowserScreen, TheBookmarkListAndAFolderPrintUnderTheirHeadings) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  HDC screen = ::GetDC(nullptr);
  g_printTarget = ::CreateCompatibleDC(screen);
  HBITMAP page = ::CreateCompatibleBitmap(screen, 850, 1100);
  ::ReleaseDC(nullptr, screen);
  ::SelectObject(g_printTarget, page);
  AfxSetPrintDialogHook(PrintToMemory);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_PRINT_BOOKMARKS);  // the sample has one folder
  EXPECT_EQ(browser->PrintJob().GetKind(), 1);
  EXPECT_TRUE(g_printFlags & PD_NOSELECTION);  // only articles print a selection
  g_printTarget = ::CreateCompatibleDC(nullptr);
  ::SelectObject(g_printTarget, page);
  browser->PrintBookmarkFolder(0, FALSE);
  AfxSetPrintDialogHook(nullptr);
  EXPECT_EQ(browser->PrintJob().GetKind(), 2);
  EXPECT_EQ(browser->PrintJob().GetFolder(), 0);
  EXPECT_TRUE(boxes.Texts().empty());
  ::DeleteObject(page);
}

TEST_F(BrowserScreen, HoverMessagesGoToTheControlsThePointerEntersAndLeaves) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  CODButton* random = browser->Button(IDC_BROWSER_RANDOM);
  CODButton* save = browser->Button(IDC_BROWSER_SAVE);
  browser->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(random->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_TRUE(random->IsHovering());
  browser->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(save->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_FALSE(random->IsHovering());
  EXPECT_TRUE(save->IsHovering());
  browser->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(browser->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_FALSE(save->IsHovering());
  // The view's focus goes to the Contents button.
  browser->SetFocus();
  EXPECT_EQ(::GetFocus(), browser->Button(IDC_BROWSER_CONTENTS)->m_hWnd);
}

// A drag from the middle of the article's first run to that of its second.
LPARAM AtRun(CDisplay& display, int run) {
  const display::TextModel& model = display.Model();
  const int line = model.LineOfRun(run);
  const int top = model.LineTop(line) - display.GetTopOffset();
  const int left = model.RunLeft(line, run);
  return MAKELPARAM(left + model.GetRun(run).width / 2, top + model.GetLine(line).height / 2);
}

void SelectFirstRuns(CDisplay& display) {
  display.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, AtRun(display, 0));
  display.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, AtRun(display, 1));
  display.SendMessage(WM_LBUTTONUP, 0, AtRun(display, 1));
}

TEST_F(BrowserScreen, ASelectionIsCopiedPrintedAndSearched) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Volcano"));
  browser->OnRelatedSelection();  // nothing selected
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no articles related to the current selection."}));
  boxes.Clear();

  SelectFirstRuns(browser->Display());
  ASSERT_TRUE(browser->Display().HasSelection());
  browser->SendMessage(WM_COMMAND, ID_BROWSER_COPY_SELECTION);
  const std::string copied = ClipboardText();
  EXPECT_EQ(copied.rfind("Volcano", 0), 0u);
  const std::string block = browser::NoticeBlock(browser::ArticleSource::Other);
  EXPECT_EQ(copied.substr(copied.size() - block.size()), block);

  // The print dialog offers the selection.
  HDC screen = ::GetDC(nullptr);
  g_printTarget = ::CreateCompatibleDC(screen);
  HBITMAP page = ::CreateCompatibleBitmap(screen, 850, 1100);
  ::ReleaseDC(nullptr, screen);
  ::SelectObject(g_printTarget, page);
  AfxSetPrintDialogHook(PrintToMemory);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_PRINT);
  AfxSetPrintDialogHook(nullptr);
  ::DeleteObject(page);
  EXPECT_TRUE(g_printFlags & PD_NOPAGENUMS);
  EXPECT_FALSE(g_printFlags & PD_NOSELECTION);

  // Related to the selected text: a query of its words in the history, or
  // the message that nothing matched.
  const int queries = Frame()->Queries().GetHistoryCount();
  browser->OnRelatedSelection();
  if (boxes.Texts().empty()) {
    EXPECT_EQ(Frame()->Queries().GetHistoryCount(), queries + 1);
    EXPECT_NE(std::string(Frame()->Queries().GetCurrentLabel()).find("Related to:  Volcano"), std::string::npos);
    EXPECT_EQ(Frame()->Queries().GetCurrentKind(), 1);
  } else {
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no articles matching your query."}));
  }
}

TEST_F(BrowserScreen, TheBookmarkMenuListsTenFoldersOfTenArticles) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  CVeldrixApp& app = App();
  app.ResetBookmarks();
  for (int k = 0; k < 12; ++k) {
    auto* folder = new CFolder(app.GetArticleCount());
    folder->m_name.Format("Folder %d", k);
    if (k == 0)
      for (int a = 1; a <= 11; ++a) folder->m_articles.SetBit(a);
    if (k == 1) folder->m_articles.SetBit(Article("Solar System"));
    app.m_folders.Add(folder);
  }
  browser->SendMessage(WM_BITSCHANGED, 1, 0);
  CMenu* bookmark = browser->Menu().GetSubMenu(4);
  ASSERT_NE(bookmark, nullptr);
  // The ten fixed items, a separator, ten folders and "more".
  ASSERT_EQ(bookmark->GetMenuItemCount(), 10 + 1 + 10 + 1);
  EXPECT_EQ(bookmark->GetMenuItemID(21), static_cast<UINT>(ID_BROWSER_BOOKMARK_LIST));
  CMenu* first = bookmark->GetSubMenu(11);
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first->GetMenuItemCount(), 11);  // ten articles and "more"
  EXPECT_EQ(first->GetMenuItemID(0), 9000u);
  EXPECT_EQ(first->GetMenuItemID(9), 9009u);
  EXPECT_EQ(first->GetMenuItemID(10), static_cast<UINT>(ID_BROWSER_BOOKMARK_LIST));
  EXPECT_TRUE(bookmark->GetMenuState(13, MF_BYPOSITION) & MF_GRAYED);  // an empty folder
  EXPECT_FALSE(bookmark->GetMenuState(12, MF_BYPOSITION) & MF_GRAYED);
  // Opened, the folder's articles can be chosen: the screen takes their commands.
  EXPECT_FALSE(GreyedWhenOpened(*first, 0));
  // Choosing an item shows its article; a dictionary entry on its screen.
  browser->SendMessage(WM_COMMAND, 9010);
  EXPECT_EQ(browser->GetCurrentArticle(), Article("Solar System"));
  browser->SendMessage(WM_COMMAND, 9000);  // Aardvark
  EXPECT_EQ(Frame()->GetActiveView(), Frame()->GetScreen(Screen::Dictionary));
  EXPECT_EQ(browser->GetCurrentArticle(), Article("Solar System"));
  // Without folders only the fixed items remain.
  app.ResetBookmarks();
  browser->SendMessage(WM_BITSCHANGED, 1, 0);
  EXPECT_EQ(bookmark->GetMenuItemCount(), 10);
}

TEST_F(BrowserScreen, AnArticleInNoFolderLosesItsNotes) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  CVeldrixApp& app = App();
  // The sample's Volcano has a note and a highlight but is in no folder.
  browser->ShowArticle(Article("Volcano"));
  EXPECT_EQ(browser->Display().GetNoteCount(), 1);
  EXPECT_TRUE(browser->Display().HasHighlights());
  // Highlight is for articles of a folder: the command is refused.
  browser->SendMessage(WM_COMMAND, ID_BROWSER_HIGHLIGHT);
  EXPECT_FALSE(browser->Display().GetHighlightMode());
  browser->Display().SetHighlightMode(TRUE);
  const int history = browser->History().Count();
  browser->SendMessage(WM_BITSCHANGED, 0, 0);
  EXPECT_LT(app.FindBookmark(Article("Volcano")), 0);
  EXPECT_EQ(browser->Display().GetNoteCount(), 0);
  EXPECT_FALSE(browser->Display().HasHighlights());
  EXPECT_FALSE(browser->Display().GetHighlightMode());
  EXPECT_FALSE(browser->Display().GetNoteMode());
  EXPECT_EQ(browser->History().Count(), history + 1);  // shown afresh
  EXPECT_EQ(browser->GetCurrentArticle(), Article("Volcano"));
  // An article of a folder keeps its record.
  browser->ShowArticle(Article("Comet"));
  app.AddBookmarkNote(Article("Comet"), "Tail.", 2);
  browser->SendMessage(WM_BITSCHANGED, 0, 0);
  EXPECT_GE(app.FindBookmark(Article("Comet")), 0);
}

TEST_F(BrowserScreen, TheSearchHistoryMenuListsTheNewestFirst) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  CMenu* search = browser->Menu().GetSubMenu(3);
  ASSERT_NE(search, nullptr);
  EXPECT_TRUE(search->GetMenuState(5, MF_BYPOSITION) & MF_GRAYED);
  CBitString set(App().GetArticleCount(), FALSE);
  set.SetBit(Article("Comet"));
  Frame()->AddQueryToHistory(set, "first", 0, nullptr, FALSE);
  Frame()->AddQueryToHistory(set, "second", 2, nullptr, FALSE);
  browser->SendMessage(WM_SHOWRESULTS, 0, 0);
  EXPECT_FALSE(search->GetMenuState(5, MF_BYPOSITION) & MF_GRAYED);
  CMenu* history = search->GetSubMenu(5);
  ASSERT_NE(history, nullptr);
  ASSERT_EQ(history->GetMenuItemCount(), 2);
  EXPECT_FALSE(GreyedWhenOpened(*history, 1));
  EXPECT_EQ(history->GetMenuItemID(0), 8500u);
  CString text;
  history->GetMenuString(0, text, MF_BYPOSITION);
  EXPECT_NE(std::string(text).find("second"), std::string::npos);
  history->GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_NE(std::string(text).find("first"), std::string::npos);
}

}  // namespace
}  // namespace apptest

namespace apptest {
namespace {

// A plain child window in the place of a tool window: it counts the refresh
// requests and the folder changes it is sent.
class CFakeTool : public CWnd {
 public:
  int refreshes = 0;
  int folderChanges = 0;
  ToolRequest request;
  std::vector<int> articles;  // the request's articles, in their order

 protected:
  LRESULT OnRefresh(WPARAM, LPARAM) {
    ++refreshes;
    return 0;
  }
  LRESULT OnBits(WPARAM, LPARAM) {
    ++folderChanges;
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFakeTool, CWnd)
ON_MESSAGE(WM_REFRESHLIST, OnRefresh)
ON_MESSAGE(WM_BITSCHANGED, OnBits)
END_MESSAGE_MAP()

std::vector<ToolPanel> g_made;

BOOL MakeFakeTool(CWnd* owner, const ToolRequest& request, std::unique_ptr<CWnd>& tool) {
  g_made.push_back(request.kind);
  if (!tool) tool = std::make_unique<CFakeTool>();
  auto* fake = static_cast<CFakeTool*>(tool.get());
  fake->request = request;
  fake->articles.clear();
  if (request.articles)
    for (int i = 1; i <= request.articles->GetSetCount(); ++i) fake->articles.push_back(request.articles->GetAt(i));
  fake->request.articles = nullptr;
  fake->request.terms = nullptr;
  return fake->CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), owner,
                        ToolWindowTemplate(request.kind));
}

class BrowserTools : public BrowserScreen {
 protected:
  void SetUp() override {
    BrowserScreen::SetUp();
    g_made.clear();
    CBrowserToolColumn::s_toolMaker = MakeFakeTool;
  }
  void TearDown() override {
    BrowserScreen::TearDown();
    CBrowserToolColumn::s_toolMaker = nullptr;
  }
  CFakeTool* Tool(CBrowser* browser, ToolPanel kind) {
    return browser->IsToolOpen(kind) ? static_cast<CFakeTool*>(browser->GetToolWindow(kind)) : nullptr;
  }
  int OpenCount(CBrowser* browser) {
    int open = 0;
    for (int i = 0; i < ToolPanelCount; ++i) open += browser->IsToolOpen(static_cast<ToolPanel>(i)) ? 1 : 0;
    return open;
  }
};

TEST_F(BrowserTools, OneToolWindowAtATimeInThePanel) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_BOOLEAN);
  ASSERT_NE(Tool(browser, ToolPanel::Boolean), nullptr);
  CRect rect;
  Tool(browser, ToolPanel::Boolean)->GetWindowRect(&rect);
  browser->ScreenToClient(&rect);
  EXPECT_EQ(rect, browser->GetPanelRect());
  EXPECT_EQ(::GetFocus(), Tool(browser, ToolPanel::Boolean)->m_hWnd);
  // The focus switch goes between the window and the view.
  browser->SendMessage(WM_COMMAND, ID_NEXT_PANE);
  EXPECT_TRUE(::GetFocus() == browser->m_hWnd || ::IsChild(browser->m_hWnd, ::GetFocus()));
  EXPECT_NE(::GetFocus(), Tool(browser, ToolPanel::Boolean)->m_hWnd);

  browser->SendMessage(WM_COMMAND, ID_BROWSER_SUBJECTS);
  EXPECT_EQ(Tool(browser, ToolPanel::Boolean), nullptr);
  ASSERT_NE(Tool(browser, ToolPanel::Contents), nullptr);
  EXPECT_EQ(Tool(browser, ToolPanel::Contents)->request.mode, 1);
  EXPECT_EQ(OpenCount(browser), 1);

  // Word find opens once; a second request leaves it as it is.
  browser->SendMessage(WM_COMMAND, ID_BROWSER_FIND_WORD);
  CFakeTool* find = Tool(browser, ToolPanel::WordFind);
  ASSERT_NE(find, nullptr);
  const std::size_t made = g_made.size();
  browser->SendMessage(WM_COMMAND, ID_BROWSER_FIND_WORD);
  EXPECT_EQ(g_made.size(), made);
  // Showing another article closes word find.
  browser->ShowArticle(Article("Zebra"));
  EXPECT_EQ(Tool(browser, ToolPanel::WordFind), nullptr);

  // A new size moves an open window into the new panel.
  browser->SendMessage(WM_COMMAND, ID_BROWSER_SMART_SEARCH);
  browser->SetWindowPos(nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
  Tool(browser, ToolPanel::Smart)->GetWindowRect(&rect);
  browser->ScreenToClient(&rect);
  EXPECT_EQ(rect, browser->GetPanelRect());
  EXPECT_EQ(browser->GetPanelRect().bottom, 480);

  browser->CloseToolWindows();
  EXPECT_EQ(OpenCount(browser), 0);
}

TEST_F(BrowserTools, ZoomingHidesTheOpenWindowAndUnzoomingShowsIt) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_BOOLEAN);
  CFakeTool* boolean = Tool(browser, ToolPanel::Boolean);
  ASSERT_NE(boolean, nullptr);
  browser->OnZoom();
  EXPECT_FALSE(boolean->IsWindowVisible());
  EXPECT_TRUE(browser->IsToolOpen(ToolPanel::Boolean));
  browser->OnZoom();
  EXPECT_TRUE(boolean->IsWindowVisible());
  EXPECT_EQ(OpenCount(browser), 1);
  // Opening a window leaves zoom.
  browser->OnZoom();
  browser->SendMessage(WM_COMMAND, ID_BROWSER_SMART_SEARCH);
  EXPECT_FALSE(browser->IsZoomed());
  EXPECT_TRUE(Tool(browser, ToolPanel::Smart)->IsWindowVisible());
}

TEST_F(BrowserTools, TheSameQueryTwiceOnlyRefreshesTheResults) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  CBitString set(App().GetArticleCount(), FALSE);
  set.SetBit(Article("Comet"));
  CStringArray words;
  words.Add("comet");
  Frame()->AddQueryToHistory(set, "comet", 0, &words, FALSE);
  browser->ShowArticle(Article("Comet"));
  browser->SendMessage(WM_SHOWRESULTS, 0, 0);
  CFakeTool* results = Tool(browser, ToolPanel::Results);
  ASSERT_NE(results, nullptr);
  EXPECT_STREQ(results->request.text, "comet");    // the query's own text, not its history label
  EXPECT_TRUE(Frame()->IsResultsOpen());           // re-opened after a screen switch
  EXPECT_GT(browser->Display().HasFindHits(), 0);  // the query's word marked in the article
  browser->SendMessage(WM_SHOWRESULTS, 0, 0);
  EXPECT_EQ(Tool(browser, ToolPanel::Results), results);
  EXPECT_EQ(results->refreshes, 1);
  EXPECT_EQ(std::count(g_made.begin(), g_made.end(), ToolPanel::Results), 1);

  // The contents window keeps the frame's flag that re-opens it; the
  // results window is closed through the frame.
  browser->SendMessage(WM_COMMAND, ID_BROWSER_CONTENTS);
  ui::PumpUntilIdle();
  ASSERT_NE(Tool(browser, ToolPanel::Contents), nullptr);
  EXPECT_EQ(Tool(browser, ToolPanel::Contents)->request.mode, 0);
  EXPECT_TRUE(Frame()->IsContentsOpen());
  EXPECT_FALSE(Frame()->IsResultsOpen());
  EXPECT_EQ(Tool(browser, ToolPanel::Results), nullptr);
  browser->SendMessage(WM_SHOWCONTENTS);
  EXPECT_EQ(Tool(browser, ToolPanel::Contents)->refreshes, 1);

  // The bookmark list gets the folder changes.
  browser->SendMessage(WM_COMMAND, ID_BROWSER_BOOKMARK_LIST);
  ui::PumpUntilIdle();
  CFakeTool* bookmarks = Tool(browser, ToolPanel::Bookmarks);
  ASSERT_NE(bookmarks, nullptr);
  EXPECT_TRUE(Frame()->IsBookmarksOpen());
  browser->SendMessage(WM_BITSCHANGED, 1, 0);
  EXPECT_EQ(bookmarks->folderChanges, 1);
}

TEST_F(BrowserTools, HistorySubjectLinksAndTheArticleLists) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  // The articles shown before, newest first, never the one on display, even
  // when it was shown before too.
  browser->ShowArticle(Article("Comet"));
  browser->ShowArticle(Article("Zebra"));
  browser->SendMessage(WM_COMMAND, ID_BROWSER_HISTORY);
  ASSERT_NE(Tool(browser, ToolPanel::ArticleList), nullptr);
  EXPECT_EQ(Tool(browser, ToolPanel::ArticleList)->request.mode, ListHistory);
  EXPECT_EQ(Tool(browser, ToolPanel::ArticleList)->articles, (std::vector<int>{Article("Comet"), 1}));
  browser->ShowArticle(Article("Comet"));
  browser->SendMessage(WM_COMMAND, ID_BROWSER_HISTORY);
  EXPECT_EQ(Tool(browser, ToolPanel::ArticleList)->articles, (std::vector<int>{Article("Zebra"), 1}));
  browser->ShowArticle(-1);  // Previous shows Zebra again
  browser->SendMessage(WM_COMMAND, ID_BROWSER_HISTORY);
  EXPECT_EQ(Tool(browser, ToolPanel::ArticleList)->articles, (std::vector<int>{Article("Comet"), 1}));

  browser->ShowArticle(Article("Comet"));
  browser->SendMessage(WM_COMMAND, ID_BROWSER_SUBJECT_LINKS);
  EXPECT_EQ(Tool(browser, ToolPanel::ArticleList)->request.mode, ListSubjectLinks);

  // From the quiz: the lowest of the entries' articles, and the clue list.
  CDWordArray entries;
  entries.Add(static_cast<DWORD>(MainEntry("Zebra")));
  entries.Add(static_cast<DWORD>(MainEntry("Photosynthesis")));
  browser->ShowEntries(entries, ItemScreen::EntryList::QuizClue);
  EXPECT_EQ(browser->GetCurrentArticle(), Article("Photosynthesis"));
  EXPECT_EQ(Tool(browser, ToolPanel::ArticleList)->request.mode, ListClue);
  EXPECT_EQ(OpenCount(browser), 1);
}

}  // namespace
}  // namespace apptest

namespace apptest {
namespace {

// The sample's articles have neither headings nor media objects: no outline.
TEST_F(BrowserScreen, AnArticleWithoutAnOutline) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Comet"));
  ASSERT_TRUE(browser->Display().Outline().empty());
  EXPECT_TRUE(browser->Menu().GetMenuState(ID_BROWSER_OUTLINE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(browser->Button(IDC_BROWSER_OUTLINE)->IsWindowEnabled());
  browser->FollowOutlineLink(0);  // no such entry: nothing happens
  browser->FollowOutlineLink(-1);
  EXPECT_EQ(Frame()->GetActiveView(), browser);
}

}  // namespace
}  // namespace apptest

namespace apptest {
namespace {

using displaytest::Chunk;
using displaytest::NewLine;
using displaytest::Tok;
using displaytest::W;
using paneltest::Click;
using paneltest::Notify;
using paneltest::WithDialogSteps;

// The screen's own tool panels, opened by its buttons and commands.
class BrowserPanels : public BrowserScreen {
 protected:
  template <typename Panel>
  Panel* PanelOf(CBrowser* browser, ToolPanel kind) {
    return browser->IsToolOpen(kind) ? dynamic_cast<Panel*>(browser->GetToolWindow(kind)) : nullptr;
  }
  CRect PanelOnScreen(CBrowser* browser) {
    CRect panel = browser->GetPanelRect();
    browser->ClientToScreen(&panel);
    return panel;
  }
  static CFolder& Folder(int index) { return *static_cast<CFolder*>(App().m_folders[index]); }
};

void PressOk(CDialog& dialog) { dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

TEST_F(BrowserPanels, TheBookmarkListShowsAFoldersArticleAndFollowsTheFolders) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_BOOKMARK_LIST);
  ui::PumpUntilIdle();
  auto* list = PanelOf<CBookmarkDlg>(browser, ToolPanel::Bookmarks);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetParent(), browser);
  EXPECT_EQ(list->GetSkin(), kSkinEncyclopedia);
  CRect rect;
  list->GetWindowRect(&rect);
  EXPECT_EQ(rect, PanelOnScreen(browser));
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "shared_bookmark_list");

  // A double click on an article of the "Space" folder shows it here.
  list->FolderList().SetCurSel(0);
  Notify(*list, IDC_FOLDER_LIST, LBN_SELCHANGE);
  ASSERT_GE(list->ArticleList().SelectArticle(Article("Solar System")), 0);
  Notify(*list, IDC_FOLDER_ARTICLES, LBN_DBLCLK);
  EXPECT_EQ(browser->GetCurrentArticle(), Article("Solar System"));
  EXPECT_EQ(Frame()->GetActiveView(), browser);

  // The frame keeps the list's state across screens.
  Frame()->SaveSearchState();
  EXPECT_EQ(Frame()->GetSearchState().bookmarkSelection, 0);
  EXPECT_EQ(Frame()->GetSearchState().bookmark2Selection, Article("Solar System"));

  // A folder's change reaches the open list through the frame and the screen.
  CBitString zebra(App().GetArticleCount(), FALSE);
  zebra.SetBit(Article("Zebra"));
  App().AddToFolder(0, zebra, TRUE);
  ui::PumpUntilIdle();
  EXPECT_TRUE(list->ArticleList().GetArticles().Test(Article("Zebra")));

  // Its Preview button previews the folder through the screen.
  AfxSetPrintDialogHook(NoPrinter);
  Click(*list, IDC_PREVIEW_FOLDER);
  AfxSetPrintDialogHook(nullptr);
  EXPECT_EQ(browser->PrintJob().GetKind(), 2);
  EXPECT_EQ(browser->PrintJob().GetFolder(), 0);
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Command failed."});

  // Close goes through the frame; the same object takes the next window.
  Click(*list, IDC_BOOKMARK_CLOSE);
  EXPECT_FALSE(browser->IsToolOpen(ToolPanel::Bookmarks));
  EXPECT_FALSE(Frame()->IsBookmarksOpen());
  browser->SendMessage(WM_COMMAND, ID_BROWSER_BOOKMARK_LIST);
  ui::PumpUntilIdle();
  EXPECT_EQ(PanelOf<CBookmarkDlg>(browser, ToolPanel::Bookmarks), list);
  EXPECT_EQ(list->FolderList().GetCount(), 1);
  Frame()->CloseBookmarkWindows();
  EXPECT_FALSE(browser->IsToolOpen(ToolPanel::Bookmarks));
}

TEST_F(BrowserPanels, AddArticleAndAddSelectedGoThroughTheFolderChooser) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  const int zebra = Article("Zebra"), volcano = Article("Volcano");
  browser->ShowArticle(volcano);
  browser->ShowArticle(zebra);
  // Cancel adds nothing; OK puts the article into the chosen folder.
  EXPECT_EQ(WithDialogSteps({paneltest::Cancel()}, [&] { browser->SendMessage(WM_COMMAND, ID_BROWSER_ADD_ARTICLE); }),
            1);
  EXPECT_FALSE(Folder(0).m_articles.Test(zebra));
  EXPECT_EQ(WithDialogSteps({PressOk}, [&] { browser->SendMessage(WM_COMMAND, ID_BROWSER_ADD_ARTICLE); }), 1);
  EXPECT_TRUE(Folder(0).m_articles.Test(zebra));

  // A folder made in the chooser takes the article.
  const auto newFolder = [](CDialog& dialog) {
    dialog.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_NEW_FOLDER, BN_CLICKED));
  };
  EXPECT_EQ(WithDialogSteps({newFolder, paneltest::TypeNameAndOk("Animals"), PressOk},
                            [&] { browser->SendMessage(WM_COMMAND, ID_BROWSER_ADD_ARTICLE); }),
            3);
  ASSERT_EQ(App().m_folders.GetSize(), 2);
  const int animals = Folder(0).m_name == "Animals" ? 0 : 1;
  EXPECT_STREQ(Folder(animals).m_name, "Animals");
  EXPECT_TRUE(Folder(animals).m_articles.Test(zebra));
  EXPECT_EQ(Folder(animals).m_articles.GetSetCount(), 1);

  // Add Selected takes the selection of the open article list (the newest
  // entry at first), here article 1.
  browser->SendMessage(WM_COMMAND, ID_BROWSER_HISTORY);
  auto* history = PanelOf<CArticleListDlg>(browser, ToolPanel::ArticleList);
  ASSERT_NE(history, nullptr);
  EXPECT_EQ(history->ArticleList().GetCurArticle(), volcano);
  ASSERT_GE(history->ArticleList().SelectArticle(1), 0);
  EXPECT_EQ(WithDialogSteps({PressOk}, [&] { browser->SendMessage(WM_COMMAND, ID_BROWSER_ADD_SELECTED); }), 1);
  EXPECT_TRUE(Folder(0).m_articles.Test(1));
  EXPECT_FALSE(Folder(0).m_articles.Test(volcano));
  EXPECT_FALSE(Folder(1).m_articles.Test(1));

  // A double click on the list shows its article here.
  Notify(*history, IDC_ARTICLES, LBN_DBLCLK);
  EXPECT_EQ(browser->GetCurrentArticle(), 1);
}

TEST_F(BrowserPanels, WordFindMarksTheArticleAndComesBackAfterItsClose) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Volcano"));
  browser->SendMessage(WM_COMMAND, ID_BROWSER_FIND_WORD);
  auto* find = PanelOf<CWordFindDlg>(browser, ToolPanel::WordFind);
  ASSERT_NE(find, nullptr);
  EXPECT_EQ(find->GetDisplay(), &browser->Display());
  find->SetDlgItemText(IDC_FIND_TEXT, "volcano");
  Click(*find, IDC_FIND);
  EXPECT_GT(browser->Display().HasFindHits(), 0);
  EXPECT_TRUE(boxes.Texts().empty());
  // Its own Close destroys the window, not the object.
  Click(*find, IDC_FIND_CLOSE);
  EXPECT_FALSE(browser->IsToolOpen(ToolPanel::WordFind));
  EXPECT_EQ(browser->Display().HasFindHits(), 0);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_FIND_WORD);
  EXPECT_EQ(PanelOf<CWordFindDlg>(browser, ToolPanel::WordFind), find);
  // Another article closes it.
  browser->ShowArticle(Article("Zebra"));
  EXPECT_FALSE(browser->IsToolOpen(ToolPanel::WordFind));
}

TEST_F(BrowserPanels, TheOutlineLinkScrollsTheTextToItsSection) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  // The sample's articles have no sections: the display gets an article
  // with two, far apart.
  const u8 heading = display::kFormatOutlineHeading;
  std::vector<Tok> tokens{W("Intro"), Tok{"History", display::kTokenNewLine | display::kTokenJoin, heading, 3}};
  for (int i = 0; i < 80; ++i) tokens.push_back(NewLine("Line"));
  tokens.push_back(Tok{"Geography", display::kTokenNewLine | display::kTokenJoin, heading, 3});
  for (int i = 0; i < 80; ++i) tokens.push_back(NewLine("More"));
  CDisplay& display = browser->Display();
  ASSERT_TRUE(display.ResetContent());
  Chunk chunk(tokens);
  ReTokenBlock block{};
  block.tokenCount = static_cast<u16>(chunk.count());
  block.tokens = const_cast<ReToken*>(chunk.tokens());
  ASSERT_TRUE(display.AddText(&block));
  ASSERT_EQ(display.Outline().size(), 2u);
  ASSERT_EQ(display.GetTopLine(), 0);

  // The Outline button opens the panel on the display's outline.
  CODButton* button = browser->Button(IDC_BROWSER_OUTLINE);
  browser->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BROWSER_OUTLINE, BN_CLICKED),
                       reinterpret_cast<LPARAM>(button->m_hWnd));
  auto* outline = PanelOf<CMediaItemsDlg>(browser, ToolPanel::Outline);
  ASSERT_NE(outline, nullptr);
  EXPECT_EQ(outline->GetItemCount(), 2);
  CTreeListBox& items = outline->Tree();
  HTREEITEM history = items.GetRelative(nullptr, CTreeListBox::kRoot);
  ASSERT_NE(history, nullptr);
  HTREEITEM geography = items.GetRelative(history, CTreeListBox::kNext);
  ASSERT_NE(geography, nullptr);
  items.SelectItem(geography, CTreeListBox::kCaret);
  items.NotifyParent(NM_DBLCLK, nullptr, geography);
  EXPECT_EQ(display.GetTopLine(), display.Model().LineOfRun(display.Outline()[1].firstRun));
  EXPECT_GT(display.GetTopLine(), 0);
  items.SelectItem(history, CTreeListBox::kCaret);
  items.NotifyParent(NM_DBLCLK, nullptr, history);
  EXPECT_EQ(display.GetTopLine(), display.Model().LineOfRun(display.Outline()[0].firstRun));
}

// The note dialog of the screen's display opens over the tool windows'
// panel; the timer runs inside its modal loop.
CRect g_noteRect;
BOOL CALLBACK CancelNoteDialog(HWND window, LPARAM) {
  auto* dialog = dynamic_cast<CNoteDlg*>(CWnd::FromHandlePermanent(window));
  if (dialog == nullptr || !::IsWindowVisible(window)) return TRUE;
  dialog->GetWindowRect(&g_noteRect);
  ui::SavePng(ui::Capture(window, true), "shared_note_dialog");
  dialog->PostMessage(WM_COMMAND, IDCANCEL);
  return FALSE;
}
void CALLBACK OnNoteTimer(HWND, UINT, UINT_PTR, DWORD) {
  ::EnumThreadWindows(::GetCurrentThreadId(), CancelNoteDialog, 0);
}

TEST_F(BrowserPanels, ANoteIsEditedOverThePanel) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->ShowArticle(Article("Volcano"));
  ASSERT_EQ(browser->Display().GetNoteCount(), 1);
  g_noteRect.SetRectEmpty();
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, OnNoteTimer);
  browser->Display().EditNote(browser->Display().GetNote(0));
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(g_noteRect, PanelOnScreen(browser));
}

// The search windows in the screen's panel, with real queries.
class BrowserSearch : public BrowserPanels {
 protected:
  // As typed: the panel hears of the text through its edit's notification.
  static void Type(CEdit& edit, const char* text) {
    edit.SetWindowText(text);
    edit.GetParent()->SendMessage(WM_COMMAND, MAKEWPARAM(edit.GetDlgCtrlID(), EN_CHANGE),
                                  reinterpret_cast<LPARAM>(edit.GetSafeHwnd()));
  }
  // Runs a Boolean search for `word` from the screen's Boolean panel; the
  // results window it opens, or null.
  CResultsDlg* SearchFor(CBrowser* browser, const char* word) {
    browser->SendMessage(WM_COMMAND, ID_BROWSER_BOOLEAN);
    ui::PumpUntilIdle();
    auto* panel = PanelOf<CSearchDlg>(browser, ToolPanel::Boolean);
    if (panel == nullptr) return nullptr;
    EXPECT_EQ(panel->GetParent(), browser);
    Type(panel->Field(0), word);
    ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "shared_boolean_panel");
    Click(*panel, CSearchDlg::kSearch);
    ui::PumpUntilIdle();
    return PanelOf<CResultsDlg>(browser, ToolPanel::Results);
  }
};

TEST_F(BrowserSearch, ABooleanQueryListsItsResultsAndADoubleClickShowsTheArticle) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  const int blackHole = Article("Black Hole");
  CResultsDlg* results = SearchFor(browser, "hole");
  ASSERT_NE(results, nullptr);
  // The results window took the panel in place of the Boolean panel.
  EXPECT_FALSE(browser->IsToolOpen(ToolPanel::Boolean));
  EXPECT_EQ(results->GetParent(), browser);
  CRect rect;
  results->GetWindowRect(&rect);
  EXPECT_EQ(rect, PanelOnScreen(browser));
  EXPECT_STREQ(results->GetQuery(), "hole");  // the query's own text, not its history label
  EXPECT_EQ(results->IsRanked(), 0);
  EXPECT_TRUE(results->List().GetArticles().Test(blackHole));
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "shared_results");

  ASSERT_GE(results->List().SelectArticle(blackHole), 0);
  Notify(*results, CResultsDlg::kList, LBN_DBLCLK);
  EXPECT_EQ(browser->GetCurrentArticle(), blackHole);
  EXPECT_EQ(Frame()->GetActiveView(), browser);

  // The same query again only refreshes the open window.
  Frame()->SendMessage(WM_SHOWRESULTS, 0, 0);
  EXPECT_EQ(PanelOf<CResultsDlg>(browser, ToolPanel::Results), results);
}

TEST_F(BrowserSearch, TheResultsComeBackAfterAScreenSwitchWithTheirSelection) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  const int blackHole = Article("Black Hole");
  CResultsDlg* results = SearchFor(browser, "hole");
  ASSERT_NE(results, nullptr);
  ASSERT_GE(results->List().SelectArticle(blackHole), 0);

  ASSERT_TRUE(Frame()->ShowDictionary());
  EXPECT_EQ(Frame()->GetSearchState().resultsSelection, blackHole);
  ASSERT_TRUE(Frame()->ShowBrowser());
  ui::PumpUntilIdle();
  results = PanelOf<CResultsDlg>(browser, ToolPanel::Results);
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->List().GetCurArticle(), blackHole);

  // Its Close closes it through the frame: it stays closed after a switch.
  Click(*results, CResultsDlg::kClose);
  EXPECT_FALSE(browser->IsToolOpen(ToolPanel::Results));
  EXPECT_FALSE(Frame()->IsResultsOpen());
}

TEST_F(BrowserSearch, ANewQueryOpensItsResultsAtTheTopWithNothingChosen) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  // Every article: the list is longer than its window.
  CStringArray none;
  Frame()->AddQueryToHistory(App().m_allArticles, "every article", 0, &none, FALSE);
  browser->SendMessage(WM_SHOWRESULTS, 0, 0);
  CResultsDlg* results = PanelOf<CResultsDlg>(browser, ToolPanel::Results);
  ASSERT_NE(results, nullptr);
  int top = 0, bottom = 0;
  results->List().GetRange(top, bottom);
  const int first = App().m_allArticles.NextSet(1);
  const int zebra = Article("Zebra");
  // A shorter window, so that choosing Zebra scrolls the list.
  CRect rect;
  results->GetWindowRect(&rect);
  results->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height() / 2, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_GE(results->List().SelectArticle(zebra), 0);
  ASSERT_GT(results->List().GetTopIndex(), top);
  // A list that starts afresh: the frame keeps no position for it, and it
  // stands at its top on its first article.
  auto startsAfresh = [&](CResultsDlg* list) {
    EXPECT_EQ(Frame()->GetSearchState().resultsSelection, -1);
    EXPECT_EQ(Frame()->GetSearchState().resultsTop, 0);
    EXPECT_TRUE(list->List().GetArticles().Test(zebra));
    EXPECT_EQ(list->List().GetCurArticle(), first);
    EXPECT_EQ(list->List().GetTopIndex(), top);
  };

  // Search History recall of the same set: a new query, while the old list
  // is still open.
  Frame()->RecallQuery(1);
  ui::PumpUntilIdle();
  results = PanelOf<CResultsDlg>(browser, ToolPanel::Results);
  ASSERT_NE(results, nullptr);
  EXPECT_STREQ(results->GetQuery(), "Boolean: every article");  // a recalled query's text is its label
  startsAfresh(results);

  // So too a query of the related-articles kind.
  results->GetWindowRect(&rect);
  results->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height() / 2, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_GE(results->List().SelectArticle(zebra), 0);
  Frame()->AddQueryToHistory(App().m_allArticles, "Related to:  Zebra", 1, nullptr, FALSE);
  Frame()->SendMessage(WM_SHOWRESULTS, 0, 0);
  results = PanelOf<CResultsDlg>(browser, ToolPanel::Results);
  ASSERT_NE(results, nullptr);
  startsAfresh(results);
}

TEST_F(BrowserSearch, LongQueriesShowTheirWholeTextAndDifferPastTheirLabels) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  const std::string common = "comet OR zebra OR volcano OR photosynthesis OR aardvark OR astronomy OR ";
  ASSERT_GT(common.size(), 70u);
  CStringArray none;
  Frame()->AddQueryToHistory(App().m_allArticles, (common + "egypt").c_str(), 0, &none, FALSE);
  browser->SendMessage(WM_SHOWRESULTS, 0, 0);
  CResultsDlg* results = PanelOf<CResultsDlg>(browser, ToolPanel::Results);
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(std::string(results->GetQuery()), common + "egypt");
  CString line;
  results->GetDlgItem(CResultsDlg::kQueryLine)->GetWindowText(line);
  EXPECT_EQ(std::string(line), common + "egypt");

  // The same first 70 characters: another query, another list.
  CBitString fewer(App().GetArticleCount(), FALSE);
  fewer.SetBit(Article("Comet"));
  Frame()->AddQueryToHistory(fewer, (common + "mammal").c_str(), 0, &none, FALSE);
  ASSERT_EQ(Frame()->Queries().GetHistoryEntry(0).label, Frame()->Queries().GetHistoryEntry(1).label);
  browser->SendMessage(WM_SHOWRESULTS, 0, 0);
  results = PanelOf<CResultsDlg>(browser, ToolPanel::Results);
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(std::string(results->GetQuery()), common + "mammal");
  EXPECT_EQ(results->List().GetArticles().GetSetCount(), 1);
}

TEST_F(BrowserSearch, SubjectsStaysSubjectsAcrossAScreenSwitch) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_CONTENTS);
  ui::PumpUntilIdle();
  ASSERT_TRUE(Frame()->IsContentsOpen());
  // The window stands over the article's display, which comes after it.
  const auto under = [](HWND upper, HWND lower) {
    for (HWND next = ::GetWindow(upper, GW_HWNDNEXT); next != nullptr; next = ::GetWindow(next, GW_HWNDNEXT))
      if (next == lower) return true;
    return false;
  };
  CSubjectsDlg* contents = PanelOf<CSubjectsDlg>(browser, ToolPanel::Contents);
  ASSERT_NE(contents, nullptr);
  EXPECT_TRUE(under(contents->m_hWnd, browser->Display().m_hWnd));
  Frame()->GetSearchState().findText = "comet";
  browser->SendMessage(WM_COMMAND, ID_BROWSER_SUBJECTS);
  ui::PumpUntilIdle();
  auto* subjects = PanelOf<CSubjectsDlg>(browser, ToolPanel::Contents);
  ASSERT_NE(subjects, nullptr);
  ASSERT_TRUE(subjects->IsSubjectMode());
  // Subjects closed the contents windows through the frame.
  EXPECT_FALSE(Frame()->IsContentsOpen());
  EXPECT_TRUE(Frame()->GetSearchState().findText.IsEmpty());

  // The dictionary opens no contents window, and back on this screen the
  // subjects window is still the subjects window.
  ASSERT_TRUE(Frame()->ShowDictionary());
  ui::PumpUntilIdle();
  auto* dictionary = dynamic_cast<CDict*>(Frame()->GetScreen(Screen::Dictionary));
  ASSERT_NE(dictionary, nullptr);
  EXPECT_NE(dictionary->GetMode(), dict::kContents);
  ASSERT_TRUE(Frame()->ShowBrowser());
  ui::PumpUntilIdle();
  subjects = PanelOf<CSubjectsDlg>(browser, ToolPanel::Contents);
  ASSERT_NE(subjects, nullptr);
  EXPECT_TRUE(subjects->IsSubjectMode());
}

TEST_F(BrowserSearch, AddSelectedTakesTheResultsSelectionBeforeTheArticleLists) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  const int blackHole = Article("Black Hole");
  CResultsDlg* results = SearchFor(browser, "hole");
  ASSERT_NE(results, nullptr);
  ASSERT_GE(results->List().SelectArticle(blackHole), 0);
  EXPECT_EQ(WithDialogSteps({PressOk}, [&] { browser->SendMessage(WM_COMMAND, ID_BROWSER_ADD_SELECTED); }), 1);
  EXPECT_TRUE(Folder(0).m_articles.Test(blackHole));
}

TEST_F(BrowserSearch, ContentsAndSubjectsShareOneWindowAndSmartSearchHandsOverToTheTuner) {
  CBrowser* browser = Open();
  ASSERT_NE(browser, nullptr);
  browser->SendMessage(WM_COMMAND, ID_BROWSER_CONTENTS);
  ui::PumpUntilIdle();
  auto* contents = PanelOf<CSubjectsDlg>(browser, ToolPanel::Contents);
  ASSERT_NE(contents, nullptr);
  EXPECT_TRUE(Frame()->IsContentsOpen());
  EXPECT_FALSE(contents->IsSubjectMode());
  // Enter on a title shows its article.
  const int blackHole = Article("Black Hole");
  ASSERT_GE(contents->List().SelectArticle(blackHole), 0);
  contents->SendMessage(WM_COMMAND, IDOK, 0);
  ui::PumpUntilIdle();
  EXPECT_EQ(browser->GetCurrentArticle(), blackHole);

  browser->SendMessage(WM_COMMAND, ID_BROWSER_SUBJECTS);
  ui::PumpUntilIdle();
  EXPECT_EQ(PanelOf<CSubjectsDlg>(browser, ToolPanel::Contents), contents);
  EXPECT_TRUE(contents->IsSubjectMode());
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "shared_subjects");

  browser->SendMessage(WM_COMMAND, ID_BROWSER_SMART_SEARCH);
  ui::PumpUntilIdle();
  auto* smart = PanelOf<CSmartSearchDlg>(browser, ToolPanel::Smart);
  ASSERT_NE(smart, nullptr);
  Type(smart->QueryBox(), "Which comet came back?");
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "shared_smart_search");
  EXPECT_FALSE(browser->IsToolOpen(ToolPanel::Contents));
  CStringArray terms;
  terms.Add("comet");
  terms.Add("tail");
  browser->OpenTuner("comet tail", terms);
  EXPECT_FALSE(browser->IsToolOpen(ToolPanel::Smart));
  auto* tuner = PanelOf<CTunerDlg>(browser, ToolPanel::Tuner);
  ASSERT_NE(tuner, nullptr);
  EXPECT_EQ(tuner->GetWords().GetSize(), 2);
  ui::SavePng(ui::Capture(Frame()->m_hWnd, true), "shared_tuner");
  browser->CloseToolWindows();
  EXPECT_FALSE(browser->IsToolOpen(ToolPanel::Tuner));
}

}  // namespace
}  // namespace apptest
