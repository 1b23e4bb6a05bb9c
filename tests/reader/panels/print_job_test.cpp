// The print job every printing screen shares, on a test view whose item
// prints pages of the test's choosing, onto the recording page of the UI
// harness: the page's frame, the page loop and the commands' rules.
#include "panels/print_job.h"

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "core/reader_context.h"

namespace paneltest {
namespace {

using apptest::App;
using panels::PrintCommand;

constexpr UINT kPrintItemId = 0x7201, kPrintListId = 0x7203, kPrintAgainId = 0x7204;
constexpr panels::PrintCommandId kIds[] = {
    {kPrintItemId, PrintCommand::PrintItem},
    {kPrintListId, PrintCommand::PrintBookmarks},
    {kPrintAgainId, PrintCommand::PrintAgain},
};

// The print dialog is answered with Cancel; how often it was asked is kept.
int g_dialogs = 0;
INT_PTR CancelPrinting(PRINTDLGA*) {
  ++g_dialogs;
  return IDCANCEL;
}

class TestPrintView : public CView, public PrintJobOwner {
 public:
  TestPrintView() : job(*this, kIds, static_cast<int>(std::size(kIds))) {}
  void OnDraw(CDC*) override {}
  BOOL OnPreparePrinting(CPrintInfo* info) override { return job.Prepare(info); }
  void OnBeginPrinting(CDC* dc, CPrintInfo*) override { job.Begin(dc); }
  void OnPrepareDC(CDC* dc, CPrintInfo* info) override {
    CView::OnPrepareDC(dc, info);
    job.PrepareDC(info);
  }
  void OnPrint(CDC* dc, CPrintInfo* info) override { job.PrintPage(dc, info); }
  void OnEndPrinting(CDC*, CPrintInfo*) override { job.End(); }

  CView& PrintingView() override { return *this; }
  BOOL CanPrintItem() const override { return printable; }
  BOOL HasPrintableSelection() const override { return FALSE; }
  CString PrintedItemTitle() const override { return "The item"; }
  std::vector<CString> PrintedNotices(panels::PrintKind kind) const override {
    if (kind == panels::PrintItem) return {"First notice", "Second notice"};
    return {"List notice"};
  }
  // One line of body a page; `next` says where the page after it starts.
  int PrintItemPage(CDC* dc, CPrintInfo* info, int start) override {
    bodies.push_back(info->m_rectDraw);
    starts.push_back(start);
    const std::string line = "line " + std::to_string(start);
    dc->TextOut(info->m_rectDraw.left, info->m_rectDraw.top, line.c_str());
    return next(start);
  }

  BOOL printable = TRUE;
  std::function<int(int)> next = [](int) { return -1; };
  std::vector<CRect> bodies;
  std::vector<int> starts;
  CPrintJob job;

 protected:
  void PostNcDestroy() override {}  // the fixture owns the object
};

class PrintJobOnTheApp : public apptest::ReaderApp {
 protected:
  void SetUp() override {
    ReaderApp::SetUp();
    ASSERT_TRUE(Start());
    g_dialogs = 0;
    AfxSetPrintDialogHook(CancelPrinting);
  }
  void TearDown() override {
    AfxSetPrintDialogHook(nullptr);
    ReaderApp::TearDown();
  }
  // The page's texts that are not the body's, in the order drawn.
  static std::vector<ui::PrinterPage::Text> PageFrame(const ui::PrinterPage& page, int number) {
    std::vector<ui::PrinterPage::Text> frame;
    for (const ui::PrinterPage::Text& t : page.Texts())
      if (t.page == number && !t.body) frame.push_back(t);
    return frame;
  }

  TestPrintView view;
};

TEST_F(PrintJobOnTheApp, EachPageIsHeadedAndNumberedAndFootedAroundItsBody) {
  view.job.Print(panels::PrintItem, FALSE);  // the dialog is cancelled: the kind stays
  view.next = [](int start) { return start < 2 ? start + 1 : -1; };
  ui::PrinterPage page(CSize(600, 800));
  ASSERT_TRUE(page.Print(view));
  ASSERT_EQ(page.Pages().size(), 3u);
  EXPECT_EQ(view.starts, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(page.BodyTexts(), (std::vector<std::string>{"line 0", "line 1", "line 2"}));
  EXPECT_TRUE(view.job.PageStarts().IsEmpty());  // a job's pages end with it

  const CRect& margins = App().m_printMargins;
  for (int number = 0; number < 3; ++number) {
    const std::vector<ui::PrinterPage::Text> frame = PageFrame(page, number);
    ASSERT_EQ(frame.size(), 4u);
    // The title at the top left, "Page n" right-aligned at the top right.
    EXPECT_EQ(frame[0].text, "The item");
    EXPECT_EQ(frame[0].at, CPoint(margins.left, margins.top));
    EXPECT_EQ(frame[1].text, "Page " + std::to_string(number + 1));
    EXPECT_EQ(frame[1].at, CPoint(600 - margins.right, margins.top));
    EXPECT_TRUE(frame[1].align & TA_RIGHT);
    // The notices from the bottom up, a line apart, the last on the bottom.
    const TEXTMETRICA& metrics = frame[2].metrics;
    EXPECT_EQ(frame[2].text, "Second notice");
    EXPECT_EQ(frame[2].at.y, 800 - margins.bottom - metrics.tmHeight);
    EXPECT_EQ(frame[3].text, "First notice");
    EXPECT_EQ(frame[3].at.y, frame[2].at.y - metrics.tmHeight - metrics.tmExternalLeading);
    // The body lies 200 inside the rules, which stand 50 off the header and
    // the footer.
    const CRect& body = view.bodies[static_cast<std::size_t>(number)];
    EXPECT_EQ(body.top, margins.top + metrics.tmHeight + 50 + 200);
    EXPECT_EQ(body.bottom, frame[3].at.y - metrics.tmExternalLeading - 50 - 200);
    EXPECT_EQ(body.left, margins.left);
    EXPECT_EQ(body.right, 600 - margins.right);
  }
}

// A body printer that gives its own start back would print that page for
// ever; the job ends after it.
TEST_F(PrintJobOnTheApp, ABodyThatMakesNoProgressEndsTheJob) {
  view.job.Print(panels::PrintItem, FALSE);
  int calls = 0;
  view.next = [&calls](int start) { return ++calls < 20 ? start : -1; };
  ui::PrinterPage page(CSize(300, 400));
  ASSERT_TRUE(page.Print(view));
  EXPECT_EQ(page.Pages().size(), 1u);
  EXPECT_EQ(calls, 1);
}

// Records what an update rule set.
class RecordingCmdUI : public CCmdUI {
 public:
  void Enable(BOOL on) override {
    enabled = on != FALSE;
    m_bEnableChanged = TRUE;
  }
  bool enabled = false;
};

// The item's commands follow the screen's rule (a button is not greyed with
// its menu item, so the rule holds when the command comes too); the bookmark
// list's need a folder; printing again keeps what the last job printed.
TEST_F(PrintJobOnTheApp, CommandsFollowTheScreensRules) {
  const auto enabled = [&](UINT id) {
    RecordingCmdUI ui;
    EXPECT_TRUE(view.job.OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr));
    return ui.enabled;
  };
  const auto command = [&](UINT id) { return view.job.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); };
  EXPECT_FALSE(command(0x7299));  // not the screen's: on along the route

  view.printable = FALSE;
  EXPECT_FALSE(enabled(kPrintItemId));
  EXPECT_TRUE(command(kPrintItemId));
  EXPECT_EQ(g_dialogs, 0);
  view.printable = TRUE;
  EXPECT_TRUE(enabled(kPrintItemId));
  EXPECT_TRUE(command(kPrintListId));
  EXPECT_EQ(view.job.GetKind(), panels::PrintBookmarkList);
  const int dialogs = g_dialogs;
  EXPECT_TRUE(command(kPrintAgainId));
  EXPECT_GT(g_dialogs, dialogs);
  EXPECT_EQ(view.job.GetKind(), panels::PrintBookmarkList);

  EXPECT_TRUE(enabled(kPrintListId));
  App().ResetBookmarks();
  EXPECT_FALSE(enabled(kPrintListId));
}

}  // namespace
}  // namespace paneltest
