// CDisplay under Wine: painting per mark, the mouse, cross references,
// scrolling and its bar, notes, copying and printing on a page-sized DC.
#include <algorithm>
#include <chrono>
#include <string>

#include "display/display.h"
#include "display/text_scroll.h"
#include "fake_services.h"
#include "model_fixture.h"

namespace displaytest {
namespace {

BOOL g_buttonDown = FALSE;
POINT g_cursor{};

class DisplayWindow : public ::testing::Test {
 protected:
  DisplayWindow() {
    parent.ShowWindow(SW_SHOWNA);
    EXPECT_TRUE(display.Create(&parent, CRect(5, 5, 385, 255), WS_CHILD | WS_VISIBLE | WS_BORDER, CDisplay::kControlId,
                               kSkinEncyclopedia));
    CDisplay::s_isButtonDown = [] { return g_buttonDown; };
    CDisplay::s_cursorPos = [] { return g_cursor; };
  }
  ~DisplayWindow() override {
    display.DestroyWindow();
    ui::PumpUntilIdle(200);
    FailModelAllocationAfter(0);
  }

  BOOL Add(const std::vector<Tok>& tokens) {
    Chunk chunk(tokens);
    ReTokenBlock block{};
    block.tokenCount = static_cast<u16>(chunk.count());
    block.tokens = const_cast<ReToken*>(chunk.tokens());
    return display.AddText(&block);
  }
  void Show(const std::vector<Tok>& tokens) {
    ASSERT_TRUE(display.ResetContent());
    ASSERT_TRUE(Add(tokens));
    display.UpdateWindow();
  }
  std::vector<Tok> Lines(int count) {
    std::vector<Tok> lines{W("l0")};
    for (int i = 1; i < count; ++i) lines.push_back(NewLine(std::string("l") + std::to_string(i)));
    return lines;
  }
  const TextModel& M() const { return display.Model(); }
  u8 Marks(int run) const { return M().GetRun(run).marks; }
  // A run's rectangle in client coordinates, and a point inside it.
  CRect RunRect(int run) const {
    const int line = M().LineOfRun(run);
    const int top = M().LineTop(line) - display.GetTopOffset();
    const int left = M().RunLeft(line, run);
    return CRect(left, top, left + M().GetRun(run).width, top + M().GetLine(line).height);
  }
  LPARAM At(int run) const {
    const CRect r = RunRect(run);
    return MAKELPARAM(r.left + r.Width() / 2, r.top + r.Height() / 2);
  }
  void Click(int run, WPARAM flags = MK_LBUTTON) {
    display.SendMessage(WM_LBUTTONDOWN, flags, At(run));
    display.SendMessage(WM_LBUTTONUP, 0, At(run));
  }
  // A point of the scroll bar in screen coordinates.
  LPARAM BarPoint(const CRect& part) const {
    CRect window;
    display.GetWindowRect(&window);
    const CPoint center = part.CenterPoint();
    g_cursor = CPoint(window.left + center.x, window.top + center.y);
    return MAKELPARAM(g_cursor.x, g_cursor.y);
  }
  int ClientHeight() const {
    CRect client;
    display.GetClientRect(&client);
    return client.Height();
  }

  CFakeServices services;
  ui::RecordingParent parent;
  CDisplay display;
};

// ---------------------------------------------------------------------------
// Painting

TEST_F(DisplayWindow, EachMarkPaintsInItsColours) {
  Show({W("plain"), W("selected"), W("highlighted"), W("found"), W("link", kFormatCrossReference), Hidden("12"),
        W("end")});
  display.SetHighlightMode(TRUE);
  Click(2);
  display.SetHighlightMode(FALSE);
  Click(1);
  EXPECT_EQ(display.FindWords("found", FALSE, FALSE, FALSE), 1);
  ui::Picture picture = ui::Capture(display.GetSafeHwnd());
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  EXPECT_GT(picture.Count(RunRect(0), white), picture.Count(RunRect(0), black));
  EXPECT_GT(picture.Count(RunRect(1), black), picture.Count(RunRect(1), white));
  EXPECT_GT(picture.Count(RunRect(2), CFakeServices::kHighlight), 0);
  EXPECT_GT(picture.Count(RunRect(3), CFakeServices::kSearch), 0);
  EXPECT_GT(picture.Count(RunRect(4), CFakeServices::kCrossRef), 0);
  EXPECT_EQ(picture.Count(RunRect(4), CFakeServices::kSearch), 0);

  // A hit inside a cross reference shows in the find colours, the rest of it
  // in the cross-reference colours; a selected hit shows selected.
  display.FindWords("in", FALSE, FALSE, FALSE);
  display.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, At(3));
  display.SendMessage(WM_LBUTTONUP, 0, At(3));
  picture = ui::Capture(display.GetSafeHwnd());
  EXPECT_GT(picture.Count(RunRect(4), CFakeServices::kSearch), 0);
  EXPECT_GT(picture.Count(RunRect(4), CFakeServices::kCrossRef), 0);
  EXPECT_EQ(picture.Count(RunRect(3), CFakeServices::kSearch), 0);
  EXPECT_GT(picture.Count(RunRect(3), black), picture.Count(RunRect(3), white));

  // A new highlight colour shows at once.
  services.m_colours[kColoursHighlighted].background = RGB(0, 200, 0);
  display.SendMessage(WM_COLOURSCHANGED);
  picture = ui::Capture(display.GetSafeHwnd());
  EXPECT_EQ(picture.Count(RunRect(2), CFakeServices::kHighlight), 0);
  EXPECT_GT(picture.Count(RunRect(2), RGB(0, 200, 0)), 0);
}

// ---------------------------------------------------------------------------
// The mouse

TEST_F(DisplayWindow, DraggingSelectsWholeRunsAndGivesBackWhatItLeaves) {
  Show({W("w0"), W("w1"), W("w2"), W("w3"), W("w4"), W("w5"), W("w6"), W("w7")});
  display.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(1));
  display.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(4));
  for (int r = 1; r <= 4; ++r) EXPECT_TRUE(Marks(r) & kMarkSelected) << r;
  display.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(2));
  EXPECT_TRUE(Marks(2) & kMarkSelected);
  EXPECT_FALSE(Marks(3) & kMarkSelected);
  EXPECT_FALSE(Marks(4) & kMarkSelected);
  display.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(0));  // across the anchor
  EXPECT_TRUE(Marks(0) & kMarkSelected);
  EXPECT_TRUE(Marks(1) & kMarkSelected);
  EXPECT_FALSE(Marks(2) & kMarkSelected);
  display.SendMessage(WM_LBUTTONUP, 0, At(0));
  EXPECT_TRUE(display.HasSelection());

  // A plain click only removes the selection; a Ctrl+click adds to one.
  Click(6);
  EXPECT_FALSE(display.HasSelection());
  Click(5);
  Click(7, MK_LBUTTON | MK_CONTROL);
  HGLOBAL text = nullptr;
  EXPECT_EQ(display.CopySelection(&text), 9);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(static_cast<const char*>(::GlobalLock(text)), "w5 \r\n\r\nw7");
  ::GlobalUnlock(text);
  ::GlobalFree(text);
}

TEST_F(DisplayWindow, TheHighlighterTogglesOnlyItsOwnMark) {
  Show({W("w0"), W("w1"), W("w2"), W("w3")});
  display.SetHighlightMode(TRUE);
  display.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(1));
  display.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(3));
  display.SendMessage(WM_LBUTTONUP, 0, At(3));
  for (int r = 1; r <= 3; ++r) EXPECT_EQ(Marks(r), kMarkHighlighted) << r;
  EXPECT_TRUE(display.HasHighlights());
  EXPECT_TRUE(display.AnnotationsChanged());
  // Pressed on a highlighted run the drag takes highlights away.
  display.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(2));
  display.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(3));
  display.SendMessage(WM_LBUTTONUP, 0, At(3));
  EXPECT_EQ(Marks(1), kMarkHighlighted);
  EXPECT_EQ(Marks(2), 0);
  EXPECT_EQ(Marks(3), 0);
  display.ClearHighlights();
  EXPECT_FALSE(display.HasHighlights());
}

TEST_F(DisplayWindow, ACrossReferencePostsItsArticleToTheParent) {
  Show({W("see"), W("Paris", kFormatCrossReference), Hidden("12"), Glued("34", kFormatHidden), W("and"),
        W("Rome", kFormatCrossReference), W("or"), W("Oslo", kFormatCrossReference), Hidden("0")});
  Click(1);
  ui::PumpUntilIdle();
  std::vector<MSG> posted = parent.Of(WM_CROSSREF);
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, 0u);
  EXPECT_EQ(posted[0].lParam, 1234);
  EXPECT_FALSE(display.HasSelection());
  // Without a number of its own, or with 0, nothing happens (the number of a
  // later reference is not taken).
  Click(5);
  Click(7);
  ui::PumpUntilIdle();
  EXPECT_EQ(parent.Of(WM_CROSSREF).size(), 1u);

  // Runs between the reference and its number (a full stop here) are passed
  // over; a reference that meets the next one first has no number.
  Show({W("Paris", kFormatCrossReference), Glued("."), Hidden("56"), W("Rome", kFormatCrossReference), W("or"),
        W("Oslo", kFormatCrossReference), Hidden("78")});
  Click(0);
  Click(3);
  ui::PumpUntilIdle();
  posted = parent.Of(WM_CROSSREF);
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[1].lParam, 56);
  Click(5);
  ui::PumpUntilIdle();
  posted = parent.Of(WM_CROSSREF);
  ASSERT_EQ(posted.size(), 3u);
  EXPECT_EQ(posted[2].lParam, 78);
}

TEST_F(DisplayWindow, ADoubleClickLooksTheWordUp) {
  Show({W("rock'n'roll"), W("word."), W("(again)")});
  Click(1);
  display.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(0));
  display.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(1));
  display.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(2));
  EXPECT_EQ(services.words, (std::vector<std::string>{"rock'n'roll", "word", "again"}));
  EXPECT_FALSE(Marks(1) & kMarkSelected);
}

// ---------------------------------------------------------------------------
// Scrolling

TEST_F(DisplayWindow, ScrollingMovesTheTopLineAndTheThumb) {
  Show(Lines(40));
  int first = -1, last = -1;
  display.GetLineRange(first, last);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 39);
  EXPECT_EQ(display.GetTopLine(), 0);
  EXPECT_EQ(display.GetButtonState(CDisplay::kUpArrow), CDisplay::kNormal);
  EXPECT_EQ(display.GetButtonState(CDisplay::kPreviousHit), CDisplay::kDisabled);
  const CRect track = display.GetTrackRect();
  EXPECT_EQ(display.GetThumbRect().top, track.top);
  EXPECT_EQ(display.GetThumbRect().Height(), 11);

  const int pageDown = display::PageDownLine(M(), 0, ClientHeight());
  display.SendMessage(WM_KEYDOWN, VK_NEXT);
  EXPECT_EQ(display.GetTopLine(), pageDown);
  EXPECT_EQ(display.GetTopOffset(), M().LineTop(pageDown));
  EXPECT_GT(display.GetThumbRect().top, track.top);
  display.SendMessage(WM_KEYDOWN, VK_END);
  EXPECT_EQ(display.GetTopLine(), 39);
  EXPECT_EQ(display.GetThumbRect().bottom, track.bottom);
  display.SendMessage(WM_KEYDOWN, VK_HOME);
  display.SendMessage(WM_KEYDOWN, VK_DOWN);
  display.SendMessage(WM_KEYDOWN, VK_DOWN);
  display.SendMessage(WM_KEYDOWN, VK_UP);
  EXPECT_EQ(display.GetTopLine(), 1);
  EXPECT_EQ(display.SendMessage(WM_GETDLGCODE), static_cast<LRESULT>(DLGC_WANTARROWS));

  // A run already on screen does not move the text unless forced.
  display.ScrollToRun(5, FALSE);
  EXPECT_EQ(display.GetTopLine(), 1);
  display.ScrollToRun(5, TRUE);
  EXPECT_EQ(display.GetTopLine(), 5);
  display.ScrollToRun(38, FALSE);
  EXPECT_EQ(display.GetTopLine(), 38);
}

TEST_F(DisplayWindow, TextThatFitsLeavesTheBarDisabled) {
  Show({W("short")});
  EXPECT_EQ(display.GetButtonState(CDisplay::kUpArrow), CDisplay::kDisabled);
  EXPECT_EQ(display.GetButtonState(CDisplay::kDownArrow), CDisplay::kDisabled);
  g_buttonDown = TRUE;
  display.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, BarPoint(display.GetButtonRect(CDisplay::kDownArrow)));
  g_buttonDown = FALSE;
  EXPECT_EQ(display.GetTopLine(), 0);
  EXPECT_NE(::GetCapture(), display.GetSafeHwnd());
}

// Counted by the bar's own timer messages, not by the time waited, so a
// starved process takes the same steps.
TEST_F(DisplayWindow, HoldingTheDownArrowRepeatsAfterHalfASecond) {
  Show(Lines(200));
  const LPARAM arrow = BarPoint(display.GetButtonRect(CDisplay::kDownArrow));
  EXPECT_EQ(display.SendMessage(WM_NCHITTEST, 0, arrow), HTBORDER);
  ui::TimerMessages repeats(display.GetSafeHwnd(), display::LineScrollBar::kPartTimerBase + CDisplay::kDownArrow,
                            [&] { return display.GetTopLine(); });
  g_buttonDown = TRUE;
  const ui::TimerMessages::Clock::time_point pressed = ui::TimerMessages::Clock::now();
  display.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, arrow);
  EXPECT_EQ(display.GetTopLine(), 1);
  EXPECT_EQ(display.GetButtonState(CDisplay::kDownArrow), CDisplay::kPressed);
  // No step until the first repeat, half a second after the press; each
  // repeat steps once.
  constexpr std::size_t kRepeats = 6;
  ASSERT_TRUE(repeats.PumpUntilCount(kRepeats));
  EXPECT_GE(repeats.messages()[0].at - pressed, std::chrono::milliseconds(500));
  for (std::size_t i = 0; i < kRepeats; ++i) EXPECT_EQ(repeats.messages()[i].before, static_cast<int>(1 + i)) << i;
  EXPECT_EQ(display.GetTopLine(), static_cast<int>(repeats.messages().size()) + 1);
  // Let go: the next repeat finds the button up, steps no more and sets no
  // timer again.
  g_buttonDown = FALSE;
  const int stopped = display.GetTopLine();
  ASSERT_TRUE(repeats.PumpUntilCount(repeats.messages().size() + 1));
  EXPECT_EQ(display.GetTopLine(), stopped);
  EXPECT_FALSE(repeats.StillSet());
  display.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(display.GetButtonState(CDisplay::kDownArrow), CDisplay::kNormal);
}

TEST_F(DisplayWindow, DroppingTheThumbAtTheBottomShowsTheLastLine) {
  Show(Lines(40));
  g_buttonDown = TRUE;
  display.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, BarPoint(display.GetThumbRect()));
  CRect window, client;
  display.GetWindowRect(&window);
  display.GetClientRect(&client);
  CPoint origin(0, 0);
  display.ClientToScreen(&origin);
  const CRect track = display.GetTrackRect();
  // The pointer at the track's bottom, in client coordinates.
  const CPoint bottom(track.CenterPoint().x - (origin.x - window.left), track.bottom - 1 - (origin.y - window.top));
  display.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bottom.x, bottom.y));
  g_buttonDown = FALSE;
  display.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(bottom.x, bottom.y));
  EXPECT_EQ(display.GetTopLine(), 39);
}

TEST_F(DisplayWindow, TheHitButtonsMoveBetweenFindHits) {
  std::vector<Tok> lines = Lines(60);
  lines[5].text = "target";
  lines[45].text = "target";
  Show(lines);
  EXPECT_EQ(display.FindWords("target", FALSE, TRUE, FALSE), 2);
  EXPECT_EQ(display.GetFirstHit(), 5);
  EXPECT_EQ(display.GetLastHit(), 45);
  EXPECT_EQ(display.GetButtonState(CDisplay::kNextHit), CDisplay::kNormal);
  display.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, BarPoint(display.GetButtonRect(CDisplay::kNextHit)));
  EXPECT_EQ(display.GetTopLine(), 5);  // forced, though it was on screen
  EXPECT_EQ(display.GetButtonState(CDisplay::kNextHit), CDisplay::kPressed);
  display.SendMessage(WM_LBUTTONUP, 0, 0);
  display.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, BarPoint(display.GetButtonRect(CDisplay::kNextHit)));
  display.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(display.GetTopLine(), 45);
  display.SendMessage(WM_NCLBUTTONDOWN, HTBORDER, BarPoint(display.GetButtonRect(CDisplay::kPreviousHit)));
  display.SendMessage(WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(display.GetTopLine(), 5);

  // Going to the first hit looks below the top line only.
  display.ScrollBy(4, 20);
  display.ClearFindHits();
  EXPECT_EQ(display.GetButtonState(CDisplay::kNextHit), CDisplay::kDisabled);
  EXPECT_EQ(display.GetFirstHit(), display::kNone);
  display.FindWords("target", FALSE, TRUE, TRUE);
  EXPECT_EQ(display.GetTopLine(), 45);
  display.ClearFindHits();
  display.ScrollBy(4, 50);
  display.FindWords("target", FALSE, TRUE, TRUE);
  EXPECT_EQ(display.GetTopLine(), 50);
}

TEST_F(DisplayWindow, TheNoteStripIsLeftFreeExceptInTheDictionaryListModes) {
  CRect client;
  display.GetClientRect(&client);
  Show({W("text")});
  EXPECT_EQ(M().GetParagraph(0).width, client.Width() - CDisplay::kNoteStrip - 10);
  services.m_fullWidth = TRUE;
  Show({W("text")});
  EXPECT_EQ(M().GetParagraph(0).width, client.Width() - 10);
}

// ---------------------------------------------------------------------------
// Notes and highlights

TEST_F(DisplayWindow, NotesStandBesideTheirLinesOneBelowTheOther) {
  Show(Lines(6));
  CRect client;
  display.GetClientRect(&client);
  CNoteIcon* first = display.AddNote(2, "first", TRUE);
  ASSERT_NE(first, nullptr);
  CRect rect;
  first->GetWindowRect(&rect);
  display.ScreenToClient(&rect);
  EXPECT_EQ(rect, CRect(client.right - 33, M().LineTop(2), client.right - 1, M().LineTop(2) + 32));
  EXPECT_EQ(first->GetDlgCtrlID(), 1001);
  EXPECT_EQ(first->GetTextPosition(), 2);
  EXPECT_TRUE(display.AnnotationsChanged());

  CNoteIcon* second = display.AddNote(2, "second", TRUE);
  first->GetWindowRect(&rect);
  display.ScreenToClient(&rect);
  EXPECT_EQ(rect.top, M().LineTop(2) + 33);
  EXPECT_EQ(second->GetDlgCtrlID(), 1002);
  EXPECT_EQ(display.GetNote(0), second);

  // A removed note's id goes to the next one; a note past the text stands by the last line.
  display.RemoveChild(first);
  first->DestroyWindow();
  delete first;
  EXPECT_EQ(second->GetDlgCtrlID(), 1001);
  CNoteIcon* third = display.AddNote(500, "third", TRUE);
  third->GetWindowRect(&rect);
  display.ScreenToClient(&rect);
  EXPECT_EQ(rect.top, M().LineTop(5));
  EXPECT_EQ(third->GetDlgCtrlID(), 1002);

  display.SetHighlightMode(TRUE);
  Click(5);  // a highlight that reaches the end of the entry
  display.StoreAnnotations(7);
  EXPECT_FALSE(display.AnnotationsChanged());
  const display::StoredAnnotations& stored = services.store.records[7];
  ASSERT_EQ(stored.notes.size(), 2u);
  EXPECT_EQ(stored.notes[0].text, "second");
  EXPECT_EQ(stored.notes[1].text, "third");
  EXPECT_EQ(stored.notes[1].position, 500);
  EXPECT_EQ(stored.highlights, (std::vector<std::pair<int, int>>{{5, 5}}));

  // Shown again: restored without counting as a change; left unchanged, the
  // record is not rewritten.
  Show(Lines(6));
  EXPECT_EQ(display.GetNoteCount(), 0);
  display.RestoreAnnotations(7);
  EXPECT_EQ(display.GetNoteCount(), 2);
  EXPECT_EQ(display.GetNote(0)->GetNoteText(), CString("second"));
  EXPECT_TRUE(Marks(5) & kMarkHighlighted);
  EXPECT_FALSE(display.AnnotationsChanged());
  const int removed = services.store.removed;
  display.StoreAnnotations(7);
  EXPECT_EQ(services.store.removed, removed);
}

TEST_F(DisplayWindow, InNoteModeAClickBesideALinePlacesANote) {
  Show(Lines(3));
  display.SetNoteMode(TRUE);
  const CRect last = RunRect(1);
  const LRESULT placed = display.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(last.right + 40, last.top + 2));
  ASSERT_EQ(display.GetNoteCount(), 1);
  EXPECT_EQ(reinterpret_cast<CNoteIcon*>(placed), display.GetNote(0));
  EXPECT_EQ(display.GetNote(0)->GetTextPosition(), 1);
  EXPECT_FALSE(display.GetNoteMode());
  EXPECT_TRUE(display.AnnotationsChanged());
  // A double click on the icon asks the owning screen to edit the note.
  display.GetNote(0)->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_EQ(services.edits.size(), 1u);
  EXPECT_EQ(services.edits[0].first->GetSafeHwnd(), parent.GetSafeHwnd());
  EXPECT_EQ(services.edits[0].second, display.GetNote(0));
}

// ---------------------------------------------------------------------------
// Media blocks

TEST_F(DisplayWindow, ThumbnailsOfABlockLiveWithTheEntry) {
  std::vector<Tok> tokens = Lines(30);
  const std::vector<Tok> block = Block({100, 40, 1, 1, 2, 3, 90, 30, 17, 0x2000 | 0x40, 4});
  tokens.insert(tokens.begin() + 20, block.begin(), block.end());
  Show(tokens);
  ASSERT_EQ(display.GetThumbnailCount(), 1);
  ASSERT_EQ(services.thumbnails.size(), 1u);
  EXPECT_EQ(services.thumbnails[0].id, 17u);
  EXPECT_EQ(services.thumbnails[0].index, 4);
  CWnd* thumbnail = display.GetThumbnail(0);
  EXPECT_EQ(display.GetDlgItem(17)->GetSafeHwnd(), thumbnail->GetSafeHwnd());

  NMTTDISPINFOA tip{};
  tip.hdr.hwndFrom = display.GetSafeHwnd();
  tip.hdr.idFrom = reinterpret_cast<UINT_PTR>(thumbnail->GetSafeHwnd());
  tip.hdr.code = TTN_NEEDTEXTA;
  tip.uFlags = TTF_IDISHWND;
  display.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip.lpszText, nullptr);
  EXPECT_STREQ(tip.lpszText, "Title 104");

  display.ScrollChildIntoView(17);
  EXPECT_EQ(M().LineTop(display.GetTopLine()), M().GetParagraph(1).top);
  CRect rect;
  thumbnail->GetWindowRect(&rect);
  display.ScreenToClient(&rect);
  EXPECT_EQ(rect.top, 3);  // scrolled with the text

  const HWND window = thumbnail->GetSafeHwnd();
  display.ResetContent();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(display.GetThumbnailCount(), 0);
}

TEST_F(DisplayWindow, AChunkThatRunsOutOfMemoryTakesItsThumbnailsWithIt) {
  ASSERT_TRUE(display.ResetContent());
  std::vector<Tok> tokens = Block({100, 40, 1, 1, 2, 3, 90, 30, 17, 0});
  for (int i = 0; i < 600; ++i) tokens.push_back(NewLine("x"));
  FailModelAllocationAfter(1);
  EXPECT_FALSE(Add(tokens));
  EXPECT_EQ(display.GetThumbnailCount(), 0);
  EXPECT_EQ(services.thumbnails.size(), 1u);
  EXPECT_EQ(display.GetDlgItem(17), nullptr);
}

// ---------------------------------------------------------------------------
// Copying and printing

TEST_F(DisplayWindow, CopiesAreZeroEndedGlobalBlocks) {
  HGLOBAL text = reinterpret_cast<HGLOBAL>(1);
  EXPECT_EQ(display.CopyAll(&text), 0);
  EXPECT_EQ(text, nullptr);
  Show({W("one"), NewLine("two")});
  EXPECT_EQ(display.CopySelection(&text), 0);
  EXPECT_EQ(display.CopyAll(&text), 9);
  ASSERT_NE(text, nullptr);
  EXPECT_GE(::GlobalSize(text), 10u);
  EXPECT_STREQ(static_cast<const char*>(::GlobalLock(text)), "one \r\ntwo");
  ::GlobalUnlock(text);
  ::GlobalFree(text);
}

TEST_F(DisplayWindow, RunsPrintPageByPageInsideTheDrawingRectangle) {
  std::vector<Tok> words;
  for (int i = 0; i < 3000; ++i) words.push_back(i % 40 == 0 ? NewLine("paragraph") : W("word"));
  Show(words);
  // A page of 850 x 1100 pixels with margins.
  CClientDC screen(nullptr);
  CDC page;
  ASSERT_TRUE(page.CreateCompatibleDC(&screen));
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 850, 1100));
  CBitmap* old = page.SelectObject(&bitmap);
  CPrintInfo info;
  info.m_rectDraw = CRect(50, 60, 800, 1040);
  int start = 0, pages = 0;
  while (start != -1 && pages < 10) {
    page.FillSolidRect(0, 0, 850, 1100, RGB(255, 255, 255));
    const int next = display.PrintRuns(&page, &info, start);
    ++pages;
    const ui::Picture picture = ui::CaptureDC(page.GetSafeHdc(), 850, 1100);
    EXPECT_GT(picture.Count(info.m_rectDraw, RGB(0, 0, 0)), 0) << pages;
    EXPECT_EQ(picture.Count(CRect(0, 0, 850, 60), RGB(0, 0, 0)), 0) << pages;
    EXPECT_EQ(picture.Count(CRect(800, 0, 850, 1100), RGB(0, 0, 0)), 0) << pages;
    EXPECT_TRUE(next == -1 || next > start);
    start = next;
  }
  EXPECT_EQ(start, -1);
  EXPECT_GT(pages, 1);
  EXPECT_EQ(ui::CaptureDC(page.GetSafeHdc(), 850, 1100).Count(CRect(0, 1040, 850, 1100), RGB(0, 0, 0)), 0);

  // With the selection chosen in the print dialog only the selection prints.
  Click(3);
  info.m_pPD->m_pd.Flags |= PD_SELECTION;
  page.FillSolidRect(0, 0, 850, 1100, RGB(255, 255, 255));
  EXPECT_EQ(display.PrintRuns(&page, &info, 0), -1);
  const ui::Picture selection = ui::CaptureDC(page.GetSafeHdc(), 850, 1100);
  EXPECT_GT(selection.Count(CRect(50, 60, 800, 90), RGB(0, 0, 0)), 0);
  EXPECT_EQ(selection.Count(CRect(50, 90, 800, 1040), RGB(0, 0, 0)), 0);
  page.SelectObject(old);
}

// Page after page in the real fonts: a page ends before a line that would
// reach below the drawing rectangle, which starts the next page. On pages of
// several heights (one an exact multiple of the line height) every run is
// printed once, and nothing reaches below a page.
TEST_F(DisplayWindow, EveryLineIsPrintedOnceAndNoneReachesBelowAPage) {
  std::vector<Tok> words;
  for (int i = 0; i < 400; ++i) {
    std::string text(i % 23 == 0 ? "heading" : "w");
    text += std::to_string(i);
    words.push_back(i % 23 == 0 ? NewLine(text) : W(text));
  }
  Show(words);
  CPrintInfo info;
  // Printed on one long page, then on pages of several heights.
  auto printAll = [&](int height, std::vector<ui::PrinterPage::Text>& texts, const char* shots = nullptr) {
    info.m_rectDraw = CRect(40, 30, 420, 30 + height);
    int pages = 0;
    for (int start = 0; start != -1 && pages < 500; ++pages) {
      ui::PrinterPage page(CSize(460, height + 60));
      const int next = display.PrintRuns(&page, &info, start);
      EXPECT_TRUE(next == -1 || next > start);
      for (const auto& t : page.Texts()) texts.push_back(t);
      if (shots != nullptr && pages < 2) ui::SavePng(page.Capture(), std::string(shots) += std::to_string(pages + 1));
      start = next;
    }
    return pages;
  };
  std::vector<ui::PrinterPage::Text> whole;
  ASSERT_EQ(printAll(20000, whole), 1);
  std::vector<std::string> expected;
  for (const auto& t : whole) expected.push_back(t.text);
  const int line = whole.front().metrics.tmHeight + whole.front().metrics.tmExternalLeading;
  ASSERT_GT(line, 0);
  for (int height : {5 * line, 5 * line + line / 2, 8 * line - 1, 13 * line}) {
    std::vector<ui::PrinterPage::Text> texts;
    EXPECT_GT(printAll(height, texts, height == 13 * line ? "display_printed_page_" : nullptr), 1);
    std::vector<std::string> printed;
    for (const auto& t : texts) {
      printed.push_back(t.text);
      EXPECT_LE(t.at.y + t.metrics.tmHeight, info.m_rectDraw.bottom) << height << " " << t.text;
    }
    EXPECT_EQ(printed, expected) << height;
  }
}

}  // namespace
}  // namespace displaytest
