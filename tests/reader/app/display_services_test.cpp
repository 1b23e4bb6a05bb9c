// The application as the formatted-text display's services: the shared look,
// titles and media items of the sample, the bookmark records, and the
// screens; a display in the encyclopedia screen fed with an article of the
// sample's database; and start-up with the stand-in media library present.
#include "display/display_services.h"

#include <cstring>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "browser/browser.h"
#include "core/reader_messages.h"
#include "dictionary/dict_view.h"
#include "display/display.h"
#include "display/note_dlg.h"
#include "display/search_progress_dlg.h"

namespace apptest {
namespace {

class DisplayServicesOfTheApp : public ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    media.installed = true;
    ASSERT_TRUE(Start());
    boxes.Clear();
  }
  int ItemOf(const char* title) { return App().m_multBits.IndexOf(Article(title)); }
};

TEST_F(DisplayServicesOfTheApp, TheApplicationIsInstalledAndServesTheSharedLook) {
  CVeldrixApp& app = App();
  CDisplayServices& services = DisplayServices();
  EXPECT_EQ(&services, static_cast<CDisplayServices*>(&app));
  for (int style = 0; style <= 8; ++style) EXPECT_EQ(services.GetArticleFont(style), &app.m_fonts[style]) << style;
  EXPECT_EQ(services.GetArticleFont(9), &app.m_fonts[FontArticle]);  // not an article font
  EXPECT_EQ(services.GetArticleFont(-1), &app.m_fonts[FontArticle]);
  EXPECT_EQ(services.GetColours(kColoursHighlighted).background, RGB(255, 255, 0));  // the default 0x0000FFFF
  EXPECT_EQ(services.GetColours(kColoursCrossReference).text, RGB(0, 128, 0));
  EXPECT_EQ(services.GetColours(kColoursSelected).text, RGB(255, 255, 255));
  EXPECT_EQ(services.GetColours(99).text, RGB(0, 0, 0));  // a pair that is none reads as normal
  EXPECT_EQ(services.GetBrush(4), &app.m_brushes[4]);
  EXPECT_EQ(services.GetDialogBrush(), &app.m_brushes[DialogBrush]);
  EXPECT_EQ(services.GetProgressBrush(), &app.m_brushes[ProgressBrush]);
  EXPECT_EQ(services.GetPalette(), &app.m_palette);
  EXPECT_EQ(services.GetCaptionFont(), &app.m_fonts[FontCaption]);
  EXPECT_EQ(services.GetTextFont(), &app.m_fonts[FontList]);
  EXPECT_EQ(services.GetTextLineHeight(), app.m_lineHeight);
  EXPECT_GT(services.GetTextLineHeight(), 0);
  EXPECT_NE(services.GetBackground()->GetSafeHandle(), nullptr);
  // The display's bitmaps are linked into the program.
  CBitmap bitmap;
  EXPECT_TRUE(services.LoadBitmap(CSearchProgressDlg::kCancelBitmap, bitmap));
  EXPECT_TRUE(services.LoadBitmap(4035, bitmap));  // the encyclopedia's previous-hit button
  EXPECT_FALSE(services.LoadBitmap(31999, bitmap));
  // And its cursor, in the program's one script of cursors and icons.
  EXPECT_NE(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCE(CDisplay::kHighlightCursor)), nullptr);
  EXPECT_NE(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCE(CDisplay::kNoteCursor)), nullptr);
  EXPECT_NE(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCE(1077)), nullptr);
}

TEST_F(DisplayServicesOfTheApp, TitlesAndMediaItemsOfTheSample) {
  CDisplayServices& services = DisplayServices();
  EXPECT_STREQ(services.LookupTitle(Article("Comet")), "Comet");
  EXPECT_STREQ(services.LookupTitle(Article("Mars Pathfinder")), "Mars Pathfinder");  // an update article
  EXPECT_STREQ(services.LookupTitle(0), "");

  EXPECT_TRUE(services.MediaReachable());
  EXPECT_TRUE(services.ShowsPictures());
  App().m_bDisplayPictures = FALSE;
  EXPECT_FALSE(services.ShowsPictures());
  EXPECT_TRUE(services.MediaReachable());  // the outline still lists media items

  CString title;
  int kind = 0;
  ASSERT_TRUE(services.ReadMediaItem(ItemOf("Comet"), title, kind));
  EXPECT_STREQ(title, "A comet's tail");
  EXPECT_EQ(kind, 1);
  ASSERT_TRUE(services.ReadMediaItem(ItemOf("Astronomy"), title, kind));
  EXPECT_STREQ(title, "The night sky");
  EXPECT_EQ(kind, 5);  // the picture has a sound
  EXPECT_FALSE(services.ReadMediaItem(-1, title, kind));
  EXPECT_FALSE(services.ReadMediaItem(App().m_multBits.GetSetCount(), title, kind));

  EXPECT_EQ(services.MediaItemArticle(ItemOf("Volcano")), Article("Volcano"));
  EXPECT_EQ(services.MediaItemArticle(-1), -1);
  EXPECT_EQ(services.MediaItemArticle(App().m_multBits.GetSetCount()), -1);
}

TEST_F(DisplayServicesOfTheApp, TheBookmarkRecordsHoldTheDisplaysNotesAndHighlights) {
  display::AnnotationStore& store = DisplayServices().Annotations();
  display::StoredAnnotations found;
  ASSERT_TRUE(store.FindAnnotations(Article("Volcano"), found));  // from the sample's Bookmark.dat
  ASSERT_EQ(found.notes.size(), 1u);
  EXPECT_EQ(found.notes[0].text, "Compare with the McDonald Islands.");
  EXPECT_EQ(found.notes[0].position, 12);
  EXPECT_EQ(found.highlights, (std::vector<std::pair<int, int>>{{3, 5}}));
  EXPECT_FALSE(store.FindAnnotations(Article("Zebra"), found));

  store.AddBookmarkNote(Article("Zebra"), "Stripes.", 4);
  store.AddHighlight(Article("Zebra"), 1, 2);
  ASSERT_TRUE(store.FindAnnotations(Article("Zebra"), found));
  EXPECT_EQ(found.notes[0].text, "Stripes.");
  EXPECT_EQ(found.highlights, (std::vector<std::pair<int, int>>{{1, 2}}));
  const int bookmark = App().FindBookmark(Article("Zebra"));
  ASSERT_GE(bookmark, 0);
  EXPECT_STREQ(static_cast<CBookmark*>(App().m_bookmarks[bookmark])->m_noteTexts[0], "Stripes.");
  store.RemoveBookmark(Article("Zebra"));
  EXPECT_FALSE(store.FindAnnotations(Article("Zebra"), found));
}

TEST_F(DisplayServicesOfTheApp, TheScreensAnswerForTheirDisplays) {
  CDisplayServices& services = DisplayServices();
  ASSERT_TRUE(Frame()->ShowBrowser());
  ui::PumpUntilIdle();
  CView* browser = Frame()->GetScreen(Screen::Browser);
  EXPECT_FALSE(services.IsDictionaryListMode(browser));
  EXPECT_EQ(services.GetShownArticle(browser), 1);  // the sample set is smaller than the usual first article
  EXPECT_EQ(services.GetShownArticle(nullptr), -1);
  EXPECT_FALSE(services.IsDictionaryListMode(nullptr));
  // A thumbnail of a gallery item, owned (and deleted) by whoever asked for it.
  CWnd* thumbnail = services.CreateThumbnail(browser, CRect(0, 0, 40, 30), 3, 0);
  ASSERT_NE(thumbnail, nullptr);
  EXPECT_EQ(thumbnail->GetDlgCtrlID(), 3);
  thumbnail->DestroyWindow();
  delete thumbnail;

  services.LookUpWord("comet");
  ui::PumpUntilIdle();
  auto* dictionary = dynamic_cast<CDict*>(Frame()->GetScreen(Screen::Dictionary));
  ASSERT_NE(dictionary, nullptr);
  EXPECT_EQ(Frame()->GetActiveView(), dictionary);
  EXPECT_STREQ(dictionary->GetWord(), "comet");
  EXPECT_FALSE(services.IsDictionaryListMode(dictionary));  // dictionary entries carry notes
  dictionary->SendMessage(WM_COMMAND, 5056);                // French-English
  EXPECT_TRUE(services.IsDictionaryListMode(dictionary));
}

// A display in the encyclopedia screen, on the application's services and
// the token chunks of the sample's article.
TEST_F(DisplayServicesOfTheApp, ADisplayShowsAnArticleOfTheSampleWithItsBookmark) {
  ASSERT_TRUE(Frame()->ShowBrowser());
  ui::PumpUntilIdle();
  CView* browser = Frame()->GetScreen(Screen::Browser);
  CDisplay display;
  ASSERT_TRUE(
      display.Create(browser, CRect(10, 10, 410, 310), WS_CHILD | WS_VISIBLE, CDisplay::kControlId, kSkinEncyclopedia));
  ASSERT_TRUE(display.ResetContent());
  CContentDb& main = App().GetDatabase(1);
  const int entry = MainEntry("Volcano");
  int chunks = 0;
  while (const ReTokenBlock* chunk = main.NextToken(entry)) {
    ASSERT_TRUE(display.AddText(chunk));
    ++chunks;
  }
  EXPECT_GT(chunks, 0);
  const display::TextModel& model = display.Model();
  ASSERT_GT(model.RunCount(), 5);
  // The title, then the body text in the plain article font: nothing bold.
  EXPECT_EQ(model.RunString(0), "Volcano ");  // a run keeps the blank after its word
  int plain = 0;
  for (int r = 0; r < model.RunCount(); ++r) {
    EXPECT_NE(model.GetRun(r).style, display::kStyleBold) << model.RunString(r);
    plain += model.GetRun(r).style == display::kStyleNormal;
  }
  EXPECT_GT(plain, 5);

  // The sample's bookmark of the article: its highlight and its note.
  display.RestoreAnnotations(Article("Volcano"));
  EXPECT_TRUE(display.HasHighlights());
  for (int r = 3; r <= 5; ++r) EXPECT_TRUE(model.GetRun(r).marks & display::kMarkHighlighted) << r;
  ASSERT_EQ(display.GetNoteCount(), 1);
  EXPECT_STREQ(display.GetNote(0)->GetNoteText(), "Compare with the McDonald Islands.");
  display.ClearHighlights();
  display.StoreAnnotations(Article("Volcano"));
  display::StoredAnnotations stored;
  ASSERT_TRUE(DisplayServices().Annotations().FindAnnotations(Article("Volcano"), stored));
  EXPECT_TRUE(stored.highlights.empty());
  EXPECT_EQ(stored.notes.size(), 1u);
  display.DestroyWindow();
}

// The note dialog the application opens for a note icon of a screen's
// display: beside the icon, to its left, in the screen's look; the timer
// runs inside the dialog's modal loop.
struct NoteDialogSeen {
  CRect rect;
  int skin = -1;
  bool seen = false;
};
NoteDialogSeen g_noteDialog;

BOOL CALLBACK CloseNoteDialog(HWND window, LPARAM) {
  char name[16] = "";
  ::GetClassNameA(window, name, sizeof name);
  auto* dialog = dynamic_cast<CNoteDlg*>(CWnd::FromHandlePermanent(window));
  if (std::strcmp(name, "#32770") != 0 || dialog == nullptr) return TRUE;
  dialog->GetWindowRect(&g_noteDialog.rect);
  g_noteDialog.skin = dialog->GetSkin();
  g_noteDialog.seen = true;
  ui::SavePng(ui::Capture(window, true), "reader_note_dialog");
  dialog->PostMessage(WM_COMMAND, IDCANCEL);
  return FALSE;
}

void CALLBACK FindNoteDialog(HWND, UINT, UINT_PTR id, DWORD) {
  ::EnumThreadWindows(::GetCurrentThreadId(), CloseNoteDialog, 0);
  if (g_noteDialog.seen) ::KillTimer(nullptr, id);
}

TEST_F(DisplayServicesOfTheApp, TheNoteDialogOpensBesideTheIconInTheScreensLook) {
  ASSERT_TRUE(Frame()->ShowBrowser());
  ui::PumpUntilIdle();
  CView* browser = Frame()->GetScreen(Screen::Browser);
  CDisplay display;
  ASSERT_TRUE(
      display.Create(browser, CRect(10, 10, 410, 310), WS_CHILD | WS_VISIBLE, CDisplay::kControlId, kSkinEncyclopedia));
  ASSERT_TRUE(display.ResetContent());
  CContentDb& main = App().GetDatabase(1);
  while (const ReTokenBlock* chunk = main.NextToken(MainEntry("Volcano"))) ASSERT_TRUE(display.AddText(chunk));
  display.RestoreAnnotations(Article("Volcano"));
  ASSERT_EQ(display.GetNoteCount(), 1);
  CNoteIcon* icon = display.GetNote(0);

  g_noteDialog = NoteDialogSeen{};
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, FindNoteDialog);
  DisplayServices().EditNote(browser, icon);
  ::KillTimer(nullptr, timer);
  ASSERT_TRUE(g_noteDialog.seen);
  EXPECT_EQ(g_noteDialog.skin, kSkinEncyclopedia);
  CRect iconRect, area;
  icon->GetWindowRect(&iconRect);
  browser->GetWindowRect(&area);
  EXPECT_LE(g_noteDialog.rect.right, iconRect.left);
  EXPECT_GE(g_noteDialog.rect.left, area.left);
  EXPECT_GE(g_noteDialog.rect.top, area.top);
  EXPECT_STREQ(icon->GetNoteText(), "Compare with the McDonald Islands.");  // cancelled: unchanged
  display.DestroyWindow();
}

TEST_F(ReaderApp, WithoutTheMediaLibraryNoPictureIsShown) {
  ASSERT_TRUE(Start());  // "Do you want to continue?" is answered yes
  EXPECT_FALSE(DisplayServices().MediaReachable());
  EXPECT_FALSE(DisplayServices().ShowsPictures());
}

// The stand-in media library in the system directory, as the program finds
// it at start-up: its two libraries are loaded and started, plain pictures
// convert through its picture call, and the end unloads them.
class WithTheStandInMediaLibrary : public ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    UseMediaLibrary(nullptr);  // the system's
    char program[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder(program);
    folder.erase(folder.find_last_of('\\') + 1);
    char system[MAX_PATH] = "";
    ::GetSystemDirectoryA(system, MAX_PATH);
    for (const char* name : {"KNIM32.DLL", "KNCM32.DLL"}) {
      const std::string target = std::string(system) + "\\" + name;
      ASSERT_TRUE(::CopyFileA((folder + name).c_str(), target.c_str(), FALSE)) << target;
      copied.push_back(target);
    }
  }
  void TearDown() override {
    ReaderApp::TearDown();
    for (const std::string& file : copied) EXPECT_TRUE(::DeleteFileA(file.c_str())) << file;  // unloaded by the end
  }
  std::vector<std::string> copied;
};

// A packed bitmap in a movable global block: header, two colours, one row.
HGLOBAL PackedBitmap(int size) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size));
  auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(block));
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = 3;
  header->biHeight = 1;
  header->biPlanes = 1;
  header->biBitCount = 1;
  auto* bytes = reinterpret_cast<BYTE*>(header);
  bytes[40 + 4] = 0xFF;  // the second colour white
  bytes[40 + 8] = 0xA0;  // the row
  ::GlobalUnlock(block);
  return block;
}

TEST_F(WithTheStandInMediaLibrary, StartUpGoesThroughAndPlainPicturesConvert) {
  ASSERT_TRUE(Start());
  EXPECT_TRUE(boxes.all().empty()) << boxes.Texts()[0];
  EXPECT_TRUE(App().m_bMediaAvailable);
  EXPECT_TRUE(DisplayServices().MediaReachable());
  EXPECT_NE(::GetModuleHandleA("KNIM32.DLL"), nullptr);
  EXPECT_NE(::GetModuleHandleA("KNCM32.DLL"), nullptr);

  const int whole = 40 + 8 + 4;
  HGLOBAL source = PackedBitmap(whole + 16);  // a block may be larger than its bitmap
  std::intptr_t handle = reinterpret_cast<std::intptr_t>(source);
  const auto converted = reinterpret_cast<HGLOBAL>(TheMediaLibrary().Call(media::PictureToDib, &handle, 1));
  ASSERT_NE(converted, nullptr);
  EXPECT_NE(converted, source);
  EXPECT_GE(::GlobalSize(converted), static_cast<SIZE_T>(whole));
  const auto* from = static_cast<const BYTE*>(::GlobalLock(source));
  const auto* to = static_cast<const BYTE*>(::GlobalLock(converted));
  EXPECT_EQ(std::memcmp(from, to, whole), 0);
  ::GlobalUnlock(converted);
  ::GlobalUnlock(source);
  ::GlobalFree(converted);
  ::GlobalFree(source);

  // A block too short for its bitmap is refused.
  source = PackedBitmap(whole - 1);
  handle = reinterpret_cast<std::intptr_t>(source);
  EXPECT_EQ(TheMediaLibrary().Call(media::PictureToDib, &handle, 1), 0);
  ::GlobalFree(source);

  End();
  EXPECT_EQ(::GetModuleHandleA("KNIM32.DLL"), nullptr);
  EXPECT_EQ(::GetModuleHandleA("KNCM32.DLL"), nullptr);
}

}  // namespace
}  // namespace apptest
