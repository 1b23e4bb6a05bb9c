// The dictionary screen's commands: copy and save with the notices, the
// Bookmark and Search History menus, navigation, focus cycling, and the
// word-list panel's own behaviour.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "browser/browser.h"
#include "dict_fixture.h"
#include "display/note_dlg.h"
#include "display/preview_view.h"
#include "media/timeline/timeline_view.h"
#include "reader/dictionary_ids.h"

namespace dicttest {
namespace {

std::string ClipboardText(HWND owner) {
  std::string text;
  if (!::OpenClipboard(owner)) return text;
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const char* chars = static_cast<const char*>(::GlobalLock(data))) text = chars;
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

std::string EndsWith(const std::string& text, std::size_t count) {
  return text.size() >= count ? text.substr(text.size() - count) : text;
}

CMenu* SubMenu(CDict* dict, int position) {
  CWnd* frame = dict->GetParentFrame();
  CMenu* menu = CMenu::FromHandle(::GetMenu(frame->m_hWnd));
  return menu != nullptr ? menu->GetSubMenu(position) : nullptr;
}

TEST_F(DictScreen, CopiedEntriesCarryTheNoticesOfTheirSource) {
  Mode(ID_DICT_MODE_FRENCH_ENGLISH);
  Type("chanter");
  dict->OnLookUp();
  ui::PumpUntilIdle();
  ASSERT_NE(dict->GetCurrentEntry(), 0u);
  Command(ID_DICT_COPY_ENTRY);
  const std::string translation(dict::NoticeBlock(dict::kFrenchEnglish));
  std::string copied = ClipboardText(dict->m_hWnd);
  EXPECT_EQ(EndsWith(copied, translation.size()), translation);
  EXPECT_NE(copied.find("chanter"), std::string::npos);

  const DWORD zebra = static_cast<DWORD>(apptest::Article("Zebra"));
  Mode(ID_DICT_MODE_DICTIONARY);
  dict->ShowEntry(zebra);
  Command(ID_DICT_COPY_ENTRY);
  const std::string dictionary(dict::NoticeBlock(dict::kDictionary));
  copied = ClipboardText(dict->m_hWnd);
  EXPECT_EQ(EndsWith(copied, dictionary.size()), dictionary);
  EXPECT_NE(copied.find("zebra"), std::string::npos);

  // Nothing selected: Copy Selected Text leaves the clipboard alone.
  dict->ArticleCommands().CopySelection();
  EXPECT_EQ(ClipboardText(dict->m_hWnd), copied);
}

TEST_F(DictScreen, SavedEntriesAreTheTextAndTheNotices) {
  const DWORD zebra = static_cast<DWORD>(apptest::Article("Zebra"));
  dict->ShowEntry(zebra);
  HGLOBAL text = nullptr;
  const int length = dict->Display().CopyAll(&text);
  ASSERT_GT(length, 0);
  std::string expected(static_cast<const char*>(::GlobalLock(text)));
  ::GlobalUnlock(text);
  ::GlobalFree(text);
  expected += std::string(dict::NoticeBlock(dict::kDictionary));

  ui::FileDialogAnswers names(File("entry.txt"));
  // An empty display saves nothing (the button is disabled; the command does nothing).
  Mode(ID_DICT_MODE_THESAURUS);
  dict->ArticleCommands().Save();
  EXPECT_FALSE(std::ifstream(names.SavePath()).good());
  Mode(ID_DICT_MODE_DICTIONARY);
  dict->ShowEntry(zebra);
  Command(IDC_DICT_SAVE);
  std::ifstream in(names.SavePath(), std::ios::binary);
  std::stringstream saved;
  saved << in.rdbuf();
  EXPECT_EQ(saved.str(), expected);
  EXPECT_TRUE(boxes.all().empty());

  // A file that cannot be created ends the command without a word.
  names.SetSavePath(File("no such folder\\entry.txt"));
  Command(ID_DICT_SAVE_ENTRY);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(DictScreen, TheBookmarkMenuListsTheFolders) {
  CVeldrixApp& app = apptest::App();
  CMenu* bookmarks = SubMenu(dict, 4);
  ASSERT_NE(bookmarks, nullptr);
  const int folders = static_cast<int>(app.m_folders.GetSize());
  ASSERT_GE(folders, 1);
  EXPECT_EQ(bookmarks->GetMenuItemCount(), 10 + 1 + folders);

  // A folder of 12 articles shows ten and "more"; an empty one is greyed.
  auto* big = new CFolder(app.GetArticleCount());
  big->m_name = "Big";
  for (int a = 1; a <= 12; ++a) big->m_articles.SetBit(a, TRUE, FALSE, 0, 0);
  app.m_folders.Add(big);
  auto* empty = new CFolder(app.GetArticleCount());
  empty->m_name = "Empty";
  app.m_folders.Add(empty);
  dict->SendMessage(WM_BITSCHANGED, 1, 0);
  ASSERT_EQ(bookmarks->GetMenuItemCount(), 10 + 1 + folders + 2);
  HMENU bigMenu = ::GetSubMenu(bookmarks->m_hMenu, 10 + 1 + folders);
  ASSERT_NE(bigMenu, nullptr);
  ASSERT_EQ(::GetMenuItemCount(bigMenu), 11);
  EXPECT_EQ(::GetMenuItemID(bigMenu, 0), static_cast<UINT>(9000 + 10 * folders));
  EXPECT_EQ(::GetMenuItemID(bigMenu, 10), static_cast<UINT>(ID_DICT_BOOKMARK_LIST));
  EXPECT_TRUE(bookmarks->GetMenuState(10 + 1 + folders + 1, MF_BYPOSITION) & MF_GRAYED);
  // The owner-drawn items carry what the frame draws: the article, and 200000 + folder.
  MENUITEMINFOA data = {};
  data.cbSize = sizeof data;
  data.fMask = MIIM_DATA;
  ASSERT_TRUE(::GetMenuItemInfoA(bigMenu, 3, TRUE, &data));
  EXPECT_EQ(data.dwItemData, 4u);
  ASSERT_TRUE(::GetMenuItemInfoA(bookmarks->m_hMenu, 10 + 1 + folders, TRUE, &data));
  EXPECT_EQ(data.dwItemData, static_cast<ULONG_PTR>(200000 + folders));
  MEASUREITEMSTRUCT measured = {};
  measured.CtlType = ODT_MENU;
  measured.itemID = 9000;
  measured.itemData = static_cast<ULONG_PTR>(apptest::Article("Zebra"));
  Frame()->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measured));
  MEASUREITEMSTRUCT untitled = measured;
  untitled.itemData = 9000;  // the id is no article
  Frame()->SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&untitled));
  EXPECT_GT(measured.itemWidth, untitled.itemWidth);

  // A bookmarked dictionary article is shown here.
  const int zebra = apptest::Article("Zebra");
  app.SetInFolder(folders + 1, zebra, TRUE);
  ui::PumpUntilIdle();
  Command(static_cast<UINT>(9000 + 10 * (folders + 1)));
  EXPECT_EQ(dict->GetCurrentEntry(), static_cast<DWORD>(zebra));
}

// The timeline needs the media architecture.
class DictWithMedia : public DictScreen {
 protected:
  void Prepare() override { media.installed = true; }
};

// A bookmarked event opens the timeline at that event, an encyclopedia
// article the encyclopedia at that article.
TEST_F(DictWithMedia, BookmarkedArticlesOfOtherScreensAreShownThere) {
  CVeldrixApp& app = apptest::App();
  auto* others = new CFolder(app.GetArticleCount());
  others->m_name = "Others";
  const int henry = apptest::Article("Henry VIII"), hale = apptest::Article("Comet Hale-Bopp");
  for (int article : {henry, hale}) others->m_articles.SetBit(article, TRUE, FALSE, 0, 0);
  app.m_folders.Add(others);
  const UINT first = static_cast<UINT>(9000 + 10 * (app.m_folders.GetSize() - 1));
  dict->SendMessage(WM_BITSCHANGED, 1, 0);
  const HMENU bookmarks = ::GetSubMenu(::GetMenu(Frame()->m_hWnd), 4);
  ASSERT_NE(bookmarks, nullptr);
  ui::SavePng(ui::CapturePopupMenu(bookmarks, Frame()->m_hWnd), "dictionary_bookmark_menu");
  ui::SavePng(ui::CapturePopupMenu(::GetSubMenu(bookmarks, ::GetMenuItemCount(bookmarks) - 1), Frame()->m_hWnd),
              "dictionary_bookmark_folder");

  Command(first + static_cast<UINT>(others->m_articles.IndexOf(henry)));
  auto* timeline = dynamic_cast<CTimeLine*>(Frame()->GetScreen(Screen::Timeline));
  ASSERT_NE(timeline, nullptr);
  EXPECT_EQ(Frame()->GetActiveView(), timeline);
  EXPECT_EQ(timeline->GetCurrentArticle(), henry);
  ASSERT_TRUE(Frame()->ShowDictionary());
  Command(first + static_cast<UINT>(others->m_articles.IndexOf(hale)));
  auto* browser = dynamic_cast<CBrowser*>(Frame()->GetScreen(Screen::Browser));
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(Frame()->GetActiveView(), browser);
  EXPECT_EQ(browser->GetCurrentArticle(), hale);
}

TEST_F(DictScreen, AnEntryThatLeavesItsLastFolderLosesItsNotes) {
  CVeldrixApp& app = apptest::App();
  const int zebra = apptest::Article("Zebra");
  app.SetInFolder(0, zebra, TRUE);
  ASSERT_TRUE(app.AddBookmarkNote(zebra, "striped", 0));
  ui::PumpUntilIdle();
  dict->ShowEntry(static_cast<DWORD>(zebra));
  EXPECT_EQ(dict->Display().GetNoteCount(), 1);
  app.SetInFolder(0, zebra, FALSE);  // the application posts the folder change
  ui::PumpUntilIdle();
  EXPECT_EQ(app.FindBookmark(zebra), -1);
  EXPECT_EQ(dict->Display().GetNoteCount(), 0);
  EXPECT_EQ(dict->GetCurrentEntry(), static_cast<DWORD>(zebra));
  EXPECT_GT(dict->Display().Model().RunCount(), 0);
}

TEST_F(DictScreen, SearchHistoryNewestFirst) {
  CMainFrame* frame = Frame();
  CBitString set(apptest::App().GetArticleCount(), FALSE);
  frame->AddQueryToHistory(set, "first", 2, nullptr, FALSE);
  frame->AddQueryToHistory(set, "second", 2, nullptr, FALSE);
  ASSERT_TRUE(frame->ShowBrowser());
  ASSERT_TRUE(frame->ShowDictionary());
  ui::PumpUntilIdle();
  CMenu* search = SubMenu(dict, 3);
  ASSERT_NE(search, nullptr);
  EXPECT_FALSE(search->GetMenuState(9, MF_BYPOSITION) & MF_GRAYED);
  HMENU history = ::GetSubMenu(search->m_hMenu, 9);
  ASSERT_EQ(::GetMenuItemCount(history), 2);
  char text[80] = "";
  ::GetMenuStringA(history, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Other: second");
  EXPECT_EQ(::GetMenuItemID(history, 1), static_cast<UINT>(8501));
}

TEST_F(DictScreen, NavigationAndFocusCycling) {
  Mode(ID_DICT_MODE_DICTIONARY_THESAURUS);
  dict->WordEdit().SetFocus();
  Command(ID_NEXT_PANE);
  EXPECT_TRUE(::IsChild(dict->HeadwordsPanel().m_hWnd, ::GetFocus()));
  Command(ID_NEXT_PANE);
  EXPECT_TRUE(::IsChild(dict->SynonymsPanel().m_hWnd, ::GetFocus()));
  Command(ID_NEXT_PANE);
  EXPECT_EQ(::GetFocus(), dict->WordEdit().m_hWnd);
  Command(ID_PREV_PANE);
  EXPECT_TRUE(::IsChild(dict->SynonymsPanel().m_hWnd, ::GetFocus()));

  dict->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DICT_GO_BROWSER, BN_CLICKED),
                    reinterpret_cast<LPARAM>(dict->Button(IDC_DICT_GO_BROWSER)->m_hWnd));
  ui::PumpUntilIdle();
  EXPECT_EQ(Frame()->GetActiveView(), Frame()->GetScreen(Screen::Browser));
}

TEST_F(DictScreen, WordListPanelsReopenEmptyAndReportTheirClosing) {
  CWordListDlg& panel = dict->HeadwordsPanel();
  panel.List().AddString("gone");
  const HWND window = panel.m_hWnd;
  EXPECT_EQ(panel.CreateOrReopen(Place(2), IDD_WORD_LIST, CWordListDlg::kWildcard, dict), 1);
  EXPECT_EQ(panel.m_hWnd, window);  // the same window, moved and emptied
  EXPECT_EQ(panel.GetMode(), CWordListDlg::kWildcard);
  EXPECT_EQ(panel.List().GetCount(), 0);
  EXPECT_EQ(PanelRect(panel), Place(2));
  EXPECT_STREQ(CWordListDlg::Title(CWordListDlg::kSpellingAlternatives), "Spelling Alternatives");
  EXPECT_STREQ(CWordListDlg::Title(8), "");

  // A Headwords line without an entry does nothing.
  panel.CreateOrReopen(Place(0), IDD_WORD_LIST, CWordListDlg::kHeadwords, dict);
  const int row = panel.List().AddString("nothing");
  panel.List().SetItemData(row, static_cast<DWORD_PTR>(-1));
  panel.List().SetCurSel(row);
  panel.OnOK();
  EXPECT_EQ(dict->GetCurrentEntry(), 0u);

  // Whatever destroys it, the owner hears of it.
  panel.DestroyWindow();
  MSG posted;
  ASSERT_TRUE(::PeekMessageA(&posted, dict->m_hWnd, WM_PANELCLOSED, WM_PANELCLOSED, PM_REMOVE));
  EXPECT_EQ(posted.lParam, reinterpret_cast<LPARAM>(&panel));
  EXPECT_FALSE(panel.IsOpen());
}

}  // namespace
}  // namespace dicttest

namespace dicttest {
namespace {

HBITMAP g_page = nullptr;
HDC g_pageDC = nullptr;  // the page's DC while a job prints on it
DWORD g_printFlags = 0;
SIZE g_pageSize = {850, 1100};

// The print dialog answers with a memory DC whose bitmap is the page.
INT_PTR PrintToPage(PRINTDLGA* pd) {
  if (pd->Flags & PD_RETURNDEFAULT) return IDCANCEL;  // no printer installed
  g_printFlags = pd->Flags;
  HDC screen = ::GetDC(nullptr);
  HDC page = ::CreateCompatibleDC(screen);
  g_page = ::CreateCompatibleBitmap(screen, g_pageSize.cx, g_pageSize.cy);
  ::ReleaseDC(nullptr, screen);
  ::SelectObject(page, g_page);
  ::PatBlt(page, 0, 0, g_pageSize.cx, g_pageSize.cy, WHITENESS);
  pd->hDC = g_pageDC = page;
  return IDOK;
}

// Dark pixels in a band of the printed page.
int InkIn(const RECT& band) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, g_page);
  const ui::Picture page = ui::CaptureDC(dc, 850, 1100);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return page.Count(band, RGB(0, 0, 0));
}

TEST_F(DictScreen, PrintedEntriesHaveHeaderBodyAndFooter) {
  dict->ShowEntry(static_cast<DWORD>(apptest::Article("Zebra")));
  AfxSetPrintDialogHook(PrintToPage);
  Command(IDC_DICT_PRINT);
  AfxSetPrintDialogHook(nullptr);
  ASSERT_NE(g_page, nullptr);
  EXPECT_TRUE(boxes.all().empty());
  EXPECT_EQ(dict->PrintJob().GetKind(), 0);
  // Without a selection the dialog offers neither pages nor "selection".
  EXPECT_TRUE(g_printFlags & PD_NOPAGENUMS);
  EXPECT_TRUE(g_printFlags & PD_NOSELECTION);
  // Title and "Page 1" at the top, the notices at the bottom, the entry between.
  // (The memory page's margins are a tenth of its width or height.)
  EXPECT_GT(InkIn(CRect(0, 0, 850, 100)), 20);
  EXPECT_GT(InkIn(CRect(0, 990, 850, 1100)), 20);
  EXPECT_GT(InkIn(CRect(0, 250, 850, 900)), 20);
  ::DeleteObject(g_page);
  g_page = nullptr;

  // The bookmark list prints with its own title.
  AfxSetPrintDialogHook(PrintToPage);
  Command(ID_DICT_PRINT_BOOKMARKS);
  AfxSetPrintDialogHook(nullptr);
  EXPECT_EQ(dict->PrintJob().GetKind(), 1);
  EXPECT_GT(InkIn(CRect(0, 0, 850, 100)), 20);    // "Bookmark List"
  EXPECT_GT(InkIn(CRect(0, 250, 850, 900)), 20);  // the folders
  ::DeleteObject(g_page);
  g_page = nullptr;
}

TEST_F(DictScreen, AnEntryLongerThanAPageGoesOnPageAfterPage) {
  dict->ShowEntry(static_cast<DWORD>(apptest::Article("Zebra")));
  // The page numbers printed, and the picture of the last page.
  ui::Picture last;
  auto print = [&](SIZE size) {
    g_pageSize = size;
    // Each page begins on a clean sheet, as on paper.
    ui::PrintedPages printed([] { ::PatBlt(g_pageDC, 0, 0, g_pageSize.cx, g_pageSize.cy, WHITENESS); });
    AfxSetPrintDialogHook(PrintToPage);
    Command(IDC_DICT_PRINT);
    AfxSetPrintDialogHook(nullptr);
    g_pageDC = nullptr;  // the job's DC has gone with it
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, g_page);
    last = ui::CaptureDC(dc, size.cx, size.cy);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(g_page);
    g_page = nullptr;
    return printed.pages();
  };
  EXPECT_EQ(print({850, 1100}), (std::vector<std::string>{"Page 1"}));
  // A narrow, short page holds a line or two of the entry at a time.
  const std::vector<std::string> pages = print({300, 690});
  g_pageSize = {850, 1100};
  ui::SavePng(last, "dictionary_printed_last_page");
  // The last sheet holds the last page alone, as the page printed by itself.
  ui::PrinterPage alone(CSize(300, 690));
  ASSERT_TRUE(alone.Print(*dict));
  ASSERT_EQ(alone.Pages().size(), pages.size());
  EXPECT_TRUE(last.rgb == alone.Pages().back().rgb);
  ASSERT_GE(pages.size(), 2u);
  for (std::size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(pages[i], "Page " + std::to_string(i + 1));
  EXPECT_TRUE(boxes.all().empty());
  // Every line once, none into the footer, on pages of several heights.
  EXPECT_GE(ui::ExpectEveryLinePrintedOnce(*dict, 300, {690, 704, 731, 760}, "dictionary_printed_page"), 2);
}

}  // namespace
}  // namespace dicttest

namespace dicttest {
namespace {

TEST_F(DictScreen, ArticlesRelatedToTheSelectedText) {
  dict->ShowEntry(static_cast<DWORD>(apptest::Article("Zebra")));
  // Nothing selected: the menu item is disabled, and the command says so.
  Command(ID_DICT_RELATED_SELECTION);
  EXPECT_TRUE(boxes.all().empty());
  dict->OnRelatedToSelection();
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"There are no articles related to the current selection."}));
  boxes.Clear();

  // Every run selected: the entry's words find the articles that share them.
  const display::TextModel& model = dict->Display().Model();
  const_cast<display::TextModel&>(model).SetMark(0, model.RunCount() - 1, display::kMarkSelected, true);
  ASSERT_TRUE(dict->Display().HasSelection());
  const int before = Frame()->Queries().GetHistoryCount();
  dict->OnRelatedToSelection();
  ui::PumpUntilIdle();
  EXPECT_TRUE(boxes.all().empty()) << (boxes.all().empty() ? "" : boxes.Texts()[0]);
  ASSERT_EQ(Frame()->Queries().GetHistoryCount(), before + 1);
  EXPECT_EQ(Frame()->Queries().GetCurrentKind(), 1);
  EXPECT_TRUE(Frame()->Queries().GetCurrentQuery().Test(apptest::Article("Zebra")));
  EXPECT_EQ(std::string(Frame()->Queries().GetHistoryEntry(before).label).rfind("Smart: Related to:  ", 0), 0u)
      << Frame()->Queries().GetHistoryEntry(before).label;
  // The results message put the screen into the Smart Search mode.
  EXPECT_EQ(dict->GetMode(), dict::kSmartSearch);
}

}  // namespace
}  // namespace dicttest

namespace dicttest {
namespace {

// The note dialog is modal: a timer inside its loop records and cancels it.
CRect g_noteRect;
bool g_noteSeen = false;

BOOL CALLBACK CloseNoteDialog(HWND window, LPARAM) {
  auto* dialog = dynamic_cast<CNoteDlg*>(CWnd::FromHandlePermanent(window));
  if (dialog == nullptr) return TRUE;
  dialog->GetWindowRect(&g_noteRect);
  g_noteSeen = true;
  dialog->PostMessage(WM_COMMAND, IDCANCEL);
  return FALSE;
}

void CALLBACK FindNoteDialog(HWND, UINT, UINT_PTR id, DWORD) {
  ::EnumThreadWindows(::GetCurrentThreadId(), CloseNoteDialog, 0);
  if (g_noteSeen) ::KillTimer(nullptr, id);
}

TEST_F(DictScreen, NotesAreEditedOverTheLeftColumn) {
  dict->ShowEntry(static_cast<DWORD>(apptest::Article("Volcano")));
  ASSERT_EQ(dict->Display().GetNoteCount(), 1);  // the sample's note on Volcano
  CNoteIcon* icon = dict->Display().GetNote(0);
  g_noteSeen = false;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, FindNoteDialog);
  dict->Display().EditNote(icon);  // as a double click on the icon asks
  ::KillTimer(nullptr, timer);
  ASSERT_TRUE(g_noteSeen);
  CRect column(dict->WordBox().left, dict->WordBox().top, dict->WordBox().right, Place(0).bottom);
  dict->ClientToScreen(&column);
  EXPECT_EQ(g_noteRect, column);
}

}  // namespace
}  // namespace dicttest

namespace dicttest {
namespace {

TEST_F(DictScreen, PreviewOfAnEntry) {
  dict->ShowEntry(static_cast<DWORD>(apptest::Article("Zebra")));
  Command(ID_DICT_PREVIEW_ENTRY);
  CView* active = Frame()->GetActiveView();
  if (active != dict) {
    // A printer is there: the preview replaced the screen.
    EXPECT_TRUE(active->IsKindOf(RUNTIME_CLASS(CQVEPreviewView)));
    EXPECT_EQ(dict->PrintJob().GetKind(), 0);
  } else {
    // No printer (the tests' Wine prefix has none): the class library's own box.
    ASSERT_EQ(boxes.Texts(), (std::vector<std::string>{"Command failed."}));
    EXPECT_EQ(boxes.all()[0].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
  }
}

}  // namespace
}  // namespace dicttest

namespace dicttest {
namespace {

// Black text pixels at the right end of a panel's header strip (its count),
// right of the title however wide the machine's heading font draws it.
int CountInk(CWordListDlg& panel) {
  CRect window;
  panel.GetWindowRect(&window);
  CWindowDC dc(&panel);
  CFont* old = dc.SelectObject(&GetVeldrixApp().m_fonts[FontCaption]);
  const CString title = CWordListDlg::Title(panel.GetMode());
  const int titleEnd = 6 + dc.GetTextExtent(title).cx + 2;
  dc.SelectObject(old);
  const ui::Picture picture = ui::Capture(panel.m_hWnd, true);
  const int left = std::max<int>(window.Width() - 50, titleEnd);
  return picture.Count(CRect(left, 0, window.Width(), CWordListDlg::kHeaderHeight), RGB(0, 0, 0));
}

TEST_F(DictScreen, ThePanelHeaderCountsItsItems) {
  Mode(ID_DICT_MODE_FRENCH_ENGLISH);
  Type("ch*");
  dict->WordSearch().OnWildcard();
  ui::PumpUntilIdle();
  CWordListDlg& panel = dict->AlternativesPanel();
  ASSERT_EQ(panel.List().GetCount(), 3);
  EXPECT_GT(CountInk(panel), 10);  // "3 items"
  panel.List().ResetContent();
  panel.Refresh();
  EXPECT_EQ(CountInk(panel), 0);

  Command(ID_DICT_PRONUNCIATION_KEY);
  EXPECT_EQ(CountInk(dict->KeyPanel()), 0);  // the key has no count
}

}  // namespace
}  // namespace dicttest
