// The search progress dialog, the note dialog and the print preview's
// background under Wine.
#include <functional>

#include "display/display.h"
#include "display/note_dlg.h"
#include "display/preview_view.h"
#include "display/search_progress_dlg.h"
#include "fake_services.h"
#include "model_fixture.h"

namespace displaytest {
namespace {

CRect ChildRect(CWnd* dialog, int id) {
  CRect rect;
  dialog->GetDlgItem(id)->GetWindowRect(&rect);
  dialog->ScreenToClient(&rect);
  return rect;
}

// ---------------------------------------------------------------------------
// Search progress

class SearchProgress : public ::testing::Test {
 protected:
  SearchProgress() { parent.ShowWindow(SW_SHOWNA); }
  ~SearchProgress() override {
    if (::GetCapture() != nullptr) ::ReleaseCapture();
    ui::PumpUntilIdle(200);
  }
  CFakeServices services;
  ui::RecordingParent parent;
};

TEST_F(SearchProgress, MadeHiddenWithItsButtonAndBarInPlace) {
  CSearchProgressDlg missing;
  EXPECT_FALSE(missing.Create(9999, &parent, "nothing"));

  CSearchProgressDlg dlg;
  ASSERT_TRUE(dlg.Create(CSearchProgressDlg::kTemplate, &parent, "Vorn dictionary"));
  EXPECT_FALSE(dlg.IsWindowVisible());
  CString caption;
  dlg.GetWindowText(caption);
  EXPECT_EQ(caption, CString("The Marovan & World Encyclopedia"));
  CRect client;
  dlg.GetClientRect(&client);
  EXPECT_EQ(client.Size(), CSize(300, 140));
  const CRect cancel = ChildRect(&dlg, IDCANCEL);
  EXPECT_EQ(cancel, CRect(120, 108, 180, 130));
  EXPECT_EQ(dlg.GetBarRect(), CRect(12, 76, 288, 96));
  EXPECT_EQ(dlg.GetProgress(), 0);
  // The application makes the window anew for each search.
  dlg.DestroyWindow();
  ASSERT_TRUE(dlg.Create(CSearchProgressDlg::kTemplate, &parent, "encyclopedia"));
  EXPECT_EQ(ChildRect(&dlg, IDCANCEL), CRect(120, 108, 180, 130));
  EXPECT_EQ(dlg.GetWhat(), CString("encyclopedia"));
  dlg.DestroyWindow();
}

TEST_F(SearchProgress, TheBarFillsWithThePercentageDone) {
  CSearchProgressDlg dlg;
  ASSERT_TRUE(dlg.Create(CSearchProgressDlg::kTemplate, &parent, "encyclopedia"));
  dlg.ShowWindow(SW_SHOWNA);
  dlg.SetProgress(40);
  EXPECT_EQ(::GetCapture(), dlg.GetCancelButton().GetSafeHwnd());
  CRect inner = dlg.GetBarRect();
  inner.DeflateRect(1, 1);
  const COLORREF green = RGB(0, 128, 0), white = RGB(255, 255, 255);
  ui::Picture picture = ui::Capture(dlg.GetSafeHwnd());
  EXPECT_EQ(picture.Count(inner, green), inner.Width() * 40 / 100 * inner.Height());
  EXPECT_EQ(picture.Count(inner, white), (inner.Width() - inner.Width() * 40 / 100) * inner.Height());
  EXPECT_EQ(picture.At(dlg.GetBarRect().left, dlg.GetBarRect().top), RGB(0, 0, 0));
  dlg.SetProgress(100);
  picture = ui::Capture(dlg.GetSafeHwnd());
  EXPECT_EQ(picture.Count(inner, white), 0);
  EXPECT_EQ(picture.Count(inner, green), inner.Width() * inner.Height());
  dlg.DestroyWindow();
}

TEST_F(SearchProgress, OnlyTheCancelButtonStopsTheSearch) {
  CSearchProgressDlg dlg;
  ASSERT_TRUE(dlg.Create(CSearchProgressDlg::kTemplate, &parent, "encyclopedia"));
  dlg.ShowWindow(SW_SHOW);
  dlg.SetProgress(10);
  ui::Click(dlg.GetSafeHwnd(), CPoint(20, 20));
  EXPECT_TRUE(::IsWindow(dlg.GetSafeHwnd()));
  // Entering the button gives it the hover message.
  dlg.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg.GetCancelButton().GetSafeHwnd()),
                  MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_TRUE(dlg.GetCancelButton().IsHovering());
  dlg.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg.GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_FALSE(dlg.GetCancelButton().IsHovering());
  ui::Click(dlg.GetSafeHwnd(), ChildRect(&dlg, IDCANCEL).CenterPoint());
  EXPECT_FALSE(::IsWindow(dlg.GetSafeHwnd()));
  EXPECT_EQ(::GetCapture(), nullptr);
}

// ---------------------------------------------------------------------------
// Note dialog

// Runs an action on the dialog once its modal loop is running.
std::function<void()> g_action;
void CALLBACK RunAction(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  g_action();
}

// A note of a display made in `kSkin` on a screen.
template <int kSkin>
class NoteDialog : public ::testing::Test {
 protected:
  NoteDialog() {
    screen.CreateEx(0, AfxRegisterWndClass(0), "screen", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr, nullptr);
    display.Create(&screen, CRect(10, 10, 450, 350), WS_CHILD | WS_VISIBLE, CDisplay::kControlId, kSkin);
    display.ResetContent();
    Chunk chunk({W("some"), W("text")});
    ReTokenBlock block{};
    block.tokenCount = static_cast<u16>(chunk.count());
    block.tokens = const_cast<ReToken*>(chunk.tokens());
    display.AddText(&block);
    services.store.AddBookmarkNote(7, "old note", 1);
    display.RestoreAnnotations(7);
    icon = display.GetNote(0);
  }
  ~NoteDialog() override {
    display.DestroyWindow();
    screen.DestroyWindow();
    ui::PumpUntilIdle(200);
  }
  // Runs the dialog; the action runs inside it.
  INT_PTR Run(std::function<void(CNoteDlg&)> action) {
    CNoteDlg dialog(&screen);
    g_action = [&] { action(dialog); };
    ::SetTimer(nullptr, 0, 50, RunAction);
    return dialog.DoModalAt(anchor, icon);
  }
  static void Press(CNoteDlg& dialog, UINT id) {
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(dialog.GetDlgItem(static_cast<int>(id))->GetSafeHwnd()));
  }
  static CString EditText(CNoteDlg& dialog) {
    CString text;
    dialog.GetDlgItem(CNoteDlg::kEdit)->GetWindowText(text);
    return text;
  }

  CFakeServices services;
  CWnd screen;
  CDisplay display;
  CNoteIcon* icon = nullptr;
  const CRect anchor{100, 80, 400, 330};
};

using TimelineNote = NoteDialog<kSkinTimeline>;
using BrowserNote = NoteDialog<kSkinEncyclopedia>;
// The media gallery's skin has no note bitmaps: its displays' notes take the
// dictionary's look, as a note without a display does.
using MediaNote = NoteDialog<kSkinMedia>;

TEST_F(TimelineNote, OpensAtTheAnchorInTheTimelinesLook) {
  ASSERT_NE(icon, nullptr);
  bool ran = false;
  const INT_PTR result = Run([&](CNoteDlg& dialog) {
    ran = true;
    CRect window;
    dialog.GetWindowRect(&window);
    EXPECT_EQ(window, anchor);
    EXPECT_EQ(dialog.GetSkin(), kSkinTimeline);
    CRect client;
    dialog.GetClientRect(&client);
    const int width = client.Width(), height = client.Height();
    EXPECT_EQ(ChildRect(&dialog, CNoteDlg::kClose), CRect(width - 20, 4, width - 4, 20));
    const CRect title = ChildRect(&dialog, CNoteDlg::kTitle);
    EXPECT_EQ(title, CRect(10, 33, width - 10, 33 + 15 + 6));
    CString text;
    dialog.GetDlgItem(CNoteDlg::kTitle)->GetWindowText(text);
    EXPECT_EQ(text, CString("Title 7"));
    const CRect erase = ChildRect(&dialog, CNoteDlg::kErase);
    EXPECT_EQ(erase.TopLeft(), CPoint(10, title.bottom + 10));
    const CRect edit = ChildRect(&dialog, CNoteDlg::kEdit);
    EXPECT_EQ(edit, CRect(10, erase.bottom + 20, width - 10, height - 40));
    EXPECT_EQ(EditText(dialog), CString("old note"));
    EXPECT_EQ(ChildRect(&dialog, CNoteDlg::kOk).TopLeft(), CPoint(10, height - 30));
    EXPECT_EQ(ChildRect(&dialog, CNoteDlg::kCancel).TopLeft(), CPoint(56 + 20, height - 30));
    for (UINT id : {4274u, 4275u, 6126u, 6112u}) {
      EXPECT_NE(std::find(services.loaded.begin(), services.loaded.end(), id), services.loaded.end()) << id;
    }
    const ui::Picture picture = ui::Capture(dialog.GetSafeHwnd());
    EXPECT_EQ(picture.At(2, 2), CFakeServices::BrushColour(13));                   // the title band
    EXPECT_EQ(picture.At(width / 2, height - 8), CFakeServices::BrushColour(14));  // the background
    // The title is a skinned static in the timeline's look: its two frame
    // brushes round white.
    EXPECT_EQ(picture.At(10, 33), CFakeServices::BrushColour(14));
    EXPECT_EQ(picture.At(11, 34), CFakeServices::BrushColour(12));
    EXPECT_EQ(picture.At(width - 14, 36), RGB(255, 255, 255));
    ui::SavePng(picture, "note_dialog_timeline");
    Press(dialog, CNoteDlg::kClose);
  });
  EXPECT_TRUE(ran);
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(TimelineNote, CancelAfterEditingKeepsTheNote) {
  const INT_PTR result = Run([&](CNoteDlg& dialog) {
    dialog.GetDlgItem(CNoteDlg::kEdit)->SetWindowText("changed");
    Press(dialog, CNoteDlg::kCancel);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(icon->GetNoteText(), CString("old note"));
  EXPECT_FALSE(display.AnnotationsChanged());
}

TEST_F(TimelineNote, EraseThenOkStoresAnEmptyNote) {
  const INT_PTR result = Run([&](CNoteDlg& dialog) {
    Press(dialog, CNoteDlg::kErase);
    EXPECT_EQ(EditText(dialog), CString(""));
    EXPECT_EQ(::GetFocus(), dialog.GetDlgItem(CNoteDlg::kEdit)->GetSafeHwnd());
    EXPECT_TRUE(::IsWindowVisible(dialog.GetSafeHwnd()));
    Press(dialog, CNoteDlg::kOk);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(icon->GetNoteText(), CString(""));
}

// A restored note edited in the dialog is a change: leaving the entry stores
// the new text instead of dropping it.
TEST_F(BrowserNote, AnEditedNoteIsStoredWhenTheEntryIsLeft) {
  EXPECT_EQ(Run([&](CNoteDlg& dialog) {
              EXPECT_EQ(dialog.GetSkin(), kSkinEncyclopedia);
              EXPECT_NE(std::find(services.loaded.begin(), services.loaded.end(), 6125u), services.loaded.end());
              const ui::Picture picture = ui::Capture(dialog.GetSafeHwnd());
              EXPECT_EQ(picture.At(10, 33), CFakeServices::BrushColour(2));  // the encyclopedia's title look
              EXPECT_EQ(picture.At(11, 34), CFakeServices::BrushColour(0));
              ui::SavePng(picture, "note_dialog_encyclopedia");
              dialog.GetDlgItem(CNoteDlg::kEdit)->SetWindowText("new note");
              Press(dialog, CNoteDlg::kOk);
            }),
            IDOK);
  EXPECT_TRUE(display.AnnotationsChanged());
  display.StoreAnnotations(7);
  ASSERT_EQ(services.store.records[7].notes.size(), 1u);
  EXPECT_EQ(services.store.records[7].notes[0].text, "new note");
}

TEST_F(MediaNote, OtherSkinsTakeTheDictionarysLook) {
  EXPECT_EQ(CNoteDlg::SkinOf(icon), kSkinDictionary);
  EXPECT_EQ(CNoteDlg::SkinOf(nullptr), kSkinDictionary);
  EXPECT_EQ(Run([&](CNoteDlg& dialog) {
              EXPECT_NE(std::find(services.loaded.begin(), services.loaded.end(), 6124u), services.loaded.end());
              EXPECT_EQ(ui::Capture(dialog.GetSafeHwnd()).At(2, 2), CFakeServices::BrushColour(7));  // the band
              Press(dialog, CNoteDlg::kCancel);
            }),
            IDCANCEL);
}

// ---------------------------------------------------------------------------
// Print preview

class CTestPreview : public CQVEPreviewView {
 public:
  void ZoomIn(CSize total) {
    m_nZoomState = 1;
    SetScrollSizes(MM_TEXT, total);
  }
};

class PreviewBackground : public ::testing::Test {
 protected:
  PreviewBackground() {
    parent.ShowWindow(SW_SHOWNA);
    EXPECT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &parent, 1234));
  }
  ~PreviewBackground() override {
    view->DestroyWindow();
    ui::PumpUntilIdle(200);
  }
  // The view's background erased into a memory DC of its client size.
  ui::Picture Erase() {
    CRect client;
    view->GetClientRect(&client);
    CClientDC screen(nullptr);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
    CBitmap* old = memory.SelectObject(&bitmap);
    EXPECT_TRUE(view->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.GetSafeHdc())));
    ui::Picture picture = ui::CaptureDC(memory.GetSafeHdc(), client.Width(), client.Height());
    memory.SelectObject(old);
    return picture;
  }
  CFakeServices services;
  ui::RecordingParent parent;
  CTestPreview* view = new CTestPreview;  // a view deletes itself with its window
};

TEST_F(PreviewBackground, ThePictureIsStretchedOverTheClientArea) {
  ui::Picture picture = Erase();
  EXPECT_EQ(picture.At(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(picture.At(190, 10), RGB(0, 255, 0));
  EXPECT_EQ(picture.At(10, 90), RGB(0, 0, 255));
  EXPECT_EQ(picture.At(190, 90), RGB(255, 0, 255));
  // Resized, the picture follows the new size.
  view->MoveWindow(0, 0, 300, 200);
  picture = Erase();
  EXPECT_EQ(picture.At(140, 90), RGB(255, 0, 0));
  EXPECT_EQ(picture.At(160, 90), RGB(0, 255, 0));
  EXPECT_EQ(picture.At(140, 110), RGB(0, 0, 255));
}

TEST_F(PreviewBackground, ZoomedInItCoversTheWholeScrollableArea) {
  view->ZoomIn(CSize(400, 800));
  view->ScrollToPosition(CPoint(0, 350));
  const ui::Picture picture = Erase();
  // The top half of the picture reaches down to 400 of 800: 50 rows below
  // the scroll position.
  CRect client;
  view->GetClientRect(&client);
  EXPECT_EQ(picture.At(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(picture.At(10, 45), RGB(255, 0, 0));
  EXPECT_EQ(picture.At(10, 55), RGB(0, 0, 255));
  EXPECT_EQ(picture.At(client.Width() - 5, 10), RGB(255, 0, 0));  // 400 wide: the left half is red
}

}  // namespace
}  // namespace displaytest
