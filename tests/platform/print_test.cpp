// Printing: the print loop over a DC, and print preview drawing pages into
// the preview window through the preview DC.
#include "docview_fixture.h"

namespace {

const COLORREF kPageColours[] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255)};

// A view with three pages that it discovers while printing (as the programs'
// views do: the page count is not known in advance).
class CPagesView : public CView {
  DECLARE_DYNCREATE(CPagesView)
 public:
  int m_nPages = 3;
  int m_nBegin = 0, m_nEnd = 0;
  std::vector<UINT> m_printed;
  CRect m_lastDraw;
  BOOL m_bPreview = FALSE;
  void OnDraw(CDC*) override {}
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override {
    m_bPreview = pInfo->m_bPreview;
    return DoPreparePrinting(pInfo);
  }
  void OnBeginPrinting(CDC*, CPrintInfo*) override { ++m_nBegin; }
  void OnEndPrinting(CDC*, CPrintInfo*) override { ++m_nEnd; }
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override {
    CView::OnPrepareDC(pDC, pInfo);
    if (pInfo != nullptr) pInfo->m_bContinuePrinting = pInfo->m_nCurPage <= static_cast<UINT>(m_nPages);
  }
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override {
    m_printed.push_back(pInfo->m_nCurPage);
    m_lastDraw = pInfo->m_rectDraw;
    // A block of the page's colour 100 printer pixels in, 200 wide.
    CBrush brush(kPageColours[(pInfo->m_nCurPage - 1) % 3]);
    CRect block(100, 100, 300, 300);
    pDC->FillRect(&block, &brush);
  }
};
IMPLEMENT_DYNCREATE(CPagesView, CView)

// A preview view with its own background, as a program may derive one.
class CTintedPreview : public CPreviewView {
  DECLARE_DYNCREATE(CTintedPreview)
 protected:
  BOOL OnEraseBkgnd(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(10, 20, 30));
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTintedPreview, CPreviewView)
BEGIN_MESSAGE_MAP(CTintedPreview, CPreviewView)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

HDC printTarget = nullptr;

INT_PTR PrintToMemory(PRINTDLGA* pd) {
  if (pd->Flags & PD_RETURNDEFAULT) return IDCANCEL;  // no printer installed
  EXPECT_TRUE(pd->Flags & PD_NOPAGENUMS);
  EXPECT_TRUE(pd->Flags & PD_RETURNDC);
  pd->hDC = printTarget;
  return IDOK;
}

INT_PTR CancelPrint(PRINTDLGA*) { return IDCANCEL; }

class Printing : public DocView {
 protected:
  void SetUp() override {
    DocView::SetUp();
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    view = new CPagesView;
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, 150, &context));
    old = frame->m_screens[0];
    frame->SetActiveView(view);  // the old screen hides and takes its own id
    view->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    frame->RecalcLayout();
  }
  void TearDown() override {
    TestApp().m_printerPage = CSize(0, 0);
    AfxSetPrintDialogHook(nullptr);
    DocView::TearDown();
  }
  CPagesView* view = nullptr;
  CView* old = nullptr;
};

TEST_F(Printing, PrintLoopRunsEveryPageIntoTheChosenDC) {
  printTarget = CreateMemoryDC(850, 1100);
  AfxSetPrintDialogHook(PrintToMemory);
  ui::MessageBoxAnswers answers;
  view->OnFilePrint();  // the loop deletes the DC it was given
  EXPECT_TRUE(answers.boxes().empty());
  EXPECT_EQ(view->m_nBegin, 1);
  EXPECT_EQ(view->m_nEnd, 1);
  EXPECT_EQ(view->m_printed, (std::vector<UINT>{1, 2, 3}));
  EXPECT_EQ(view->m_lastDraw, CRect(0, 0, 850, 1100));
  EXPECT_FALSE(view->m_bPreview);
  EXPECT_TRUE(frame->IsWindowEnabled());  // enabled again after the job

  AfxSetPrintDialogHook(CancelPrint);
  view->OnFilePrint();
  EXPECT_EQ(view->m_nBegin, 1);  // a cancelled dialog prints nothing
}

TEST_F(Printing, PreviewDrawsThePagesScaledIntoTheWindow) {
  TestApp().m_printerPage = CSize(850, 1100);
  view->OnFilePrintPreview();
  CView* active = frame->GetActiveView();
  ASSERT_NE(active, view);
  ASSERT_TRUE(active->IsKindOf(RUNTIME_CLASS(CPreviewView)));
  auto* preview = static_cast<CPreviewView*>(active);
  EXPECT_TRUE(view->m_bPreview);
  EXPECT_EQ(view->m_nBegin, 1);
  EXPECT_FALSE(view->IsWindowVisible());
  EXPECT_EQ(preview->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  ui::PumpUntilIdle();

  auto pageColourAt = [&](UINT index) {
    const CRect page = preview->GetPageRect(index);
    const ui::Picture picture = ui::Capture(preview->m_hWnd);
    // The middle of the block (printer 200, 200) on the page image.
    const int x = page.left + ::MulDiv(200, page.Width(), 850);
    const int y = page.top + ::MulDiv(200, page.Height(), 1100);
    EXPECT_EQ(picture.At(page.left + page.Width() - 3, page.top + page.Height() - 3), RGB(255, 255, 255));
    return picture.At(x, y);
  };
  const CRect page = preview->GetPageRect(0);
  ASSERT_FALSE(page.IsRectEmpty());
  EXPECT_NEAR(static_cast<double>(page.Height()) / page.Width(), 1100.0 / 850.0, 0.02);  // shape kept
  EXPECT_EQ(pageColourAt(0), kPageColours[0]);
  ui::SavePng(ui::Capture(frame->m_hWnd, true), "framework_print_preview");

  // The tool bar's buttons follow the pages: Previous off on page 1, Next on.
  CWnd* toolBar = frame->m_pPreviewState->pToolBar;
  EXPECT_FALSE(toolBar->GetDlgItem(AFX_ID_PREVIEW_PREV)->IsWindowEnabled());
  EXPECT_TRUE(toolBar->GetDlgItem(AFX_ID_PREVIEW_NEXT)->IsWindowEnabled());
  toolBar->GetDlgItem(AFX_ID_PREVIEW_NEXT)->SendMessage(BM_CLICK);
  ui::PumpUntilIdle();
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  EXPECT_EQ(pageColourAt(0), kPageColours[1]);
  frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);  // from the frame's route too
  ui::PumpUntilIdle();
  EXPECT_EQ(pageColourAt(0), kPageColours[2]);
  EXPECT_FALSE(toolBar->GetDlgItem(AFX_ID_PREVIEW_NEXT)->IsWindowEnabled());  // no fourth page
  frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 3u);

  // Two pages side by side, then back.
  frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_PREV);
  frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_NUMPAGE);
  ui::PumpUntilIdle();
  EXPECT_EQ(preview->GetPageCount(), 2u);
  EXPECT_EQ(pageColourAt(0), kPageColours[1]);
  EXPECT_EQ(pageColourAt(1), kPageColours[2]);
  CString label;
  toolBar->GetDlgItem(AFX_ID_PREVIEW_NUMPAGE)->GetWindowText(label);
  EXPECT_STREQ(label, "&One Page");

  // Zoomed in: the page at its paper size, scrollable.
  frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_ZOOMIN);
  EXPECT_TRUE(preview->IsZoomed());
  EXPECT_GT(preview->GetTotalSize().cy, 1000);

  frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
  EXPECT_EQ(frame->GetActiveView(), view);
  EXPECT_EQ(view->m_nEnd, 1);
  EXPECT_EQ(frame->m_pPreviewState, nullptr);
  EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_TRUE(view->IsWindowVisible());
  EXPECT_EQ(frame->GetDlgItem(AFX_ID_PREVIEW_NEXT), nullptr);
}

TEST_F(Printing, PreviewWithoutAPrinterSaysTheCommandFailed) {
  ui::MessageBoxAnswers answers;
  view->OnFilePrintPreview();
  ASSERT_EQ(answers.boxes().size(), 1u);
  EXPECT_EQ(answers.boxes()[0].text, "Command failed.");
  EXPECT_EQ(frame->GetActiveView(), view);
  EXPECT_TRUE(view->IsWindowVisible());
  EXPECT_EQ(frame->m_pPreviewState, nullptr);
}

TEST_F(Printing, ADerivedPreviewViewPaintsItsOwnBackground) {
  TestApp().m_printerPage = CSize(850, 1100);
  auto* state = new CPrintPreviewState;
  ASSERT_TRUE(view->DoPrintPreview(AFX_IDD_PREVIEW_TOOLBAR, view, RUNTIME_CLASS(CTintedPreview), state));
  CView* preview = frame->GetActiveView();
  ASSERT_TRUE(preview->IsKindOf(RUNTIME_CLASS(CTintedPreview)));
  ui::PumpUntilIdle();
  const ui::Picture picture = ui::Capture(preview->m_hWnd);
  EXPECT_EQ(picture.At(2, 2), RGB(10, 20, 30));
  static_cast<CPreviewView*>(preview)->ClosePreview();
  EXPECT_EQ(frame->GetActiveView(), view);
}

}  // namespace
