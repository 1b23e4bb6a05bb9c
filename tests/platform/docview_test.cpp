// Documents, templates, frames and views: six templates on one document and
// one frame, views made on first use, switching the active view.
#include "docview_fixture.h"

namespace {

TEST_F(DocView, FileNewOpensTheFirstTemplateWithItsResources) {
  EXPECT_TRUE(doc->IsKindOf(RUNTIME_CLASS(CSampleDoc)));
  CView* view = frame->GetActiveView();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CScreenView)));
  EXPECT_EQ(view->GetDocument(), doc);
  EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(static_cast<CScreenView*>(view)->m_nInitialUpdates, 1);
  // Title from the template's string, menu from its menu resource.
  CString title;
  frame->GetWindowText(title);
  EXPECT_STREQ(title, "The Sample Frame - Sample");
  ASSERT_NE(frame->GetMenu(), nullptr);
  EXPECT_EQ(frame->GetMenu()->GetMenuItemCount(), 2);
  EXPECT_NE(frame->m_hAccelTable, nullptr);
  EXPECT_TRUE(frame->IsWindowVisible());
  // The view fills the client area.
  CRect client, pane;
  frame->GetClientRect(&client);
  view->GetWindowRect(&pane);
  EXPECT_EQ(pane.Size(), client.Size());
  EXPECT_EQ(Trace().front(), "doc new");
}

TEST_F(DocView, ScreensAreCreatedOnceAndSwitchedInOneFrame) {
  CView* first = frame->GetActiveView();
  Trace().clear();
  CView* form = frame->ShowScreen(1);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->IsKindOf(RUNTIME_CLASS(CFormView)));
  EXPECT_EQ(frame->GetActiveView(), form);
  EXPECT_EQ(form->GetDocument(), doc);
  // The old screen let go of the pane id before the new one took it.
  const std::vector<std::string> expected = {"deactivate 101", "activate 102"};
  EXPECT_EQ(Trace(), expected);
  EXPECT_EQ(form->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
  EXPECT_EQ(first->GetDlgCtrlID(), 101);
  EXPECT_FALSE(first->IsWindowVisible());
  EXPECT_TRUE(form->IsWindowVisible());
  CRect client, pane;
  frame->GetClientRect(&client);
  form->GetWindowRect(&pane);
  EXPECT_EQ(pane.Size(), client.Size());
  // The form took its data at initial update.
  CString name;
  form->GetDlgItemText(IDC_SAMPLE_NAME, name);
  EXPECT_STREQ(name, "form text");

  // Back and forth: no new views, no second initial update.
  Trace().clear();
  EXPECT_EQ(frame->ShowScreen(0), first);
  EXPECT_EQ(frame->ShowScreen(1), form);
  EXPECT_EQ(frame->ShowScreen(1), form);  // already active: nothing happens
  const std::vector<std::string> switched = {"deactivate 102", "activate 101", "deactivate 101", "activate 102"};
  EXPECT_EQ(Trace(), switched);
  EXPECT_EQ(static_cast<CScreenView*>(first)->m_nInitialUpdates, 1);
  EXPECT_EQ(doc->GetViewCount(), 2);

  // All six templates share the document and the frame.
  for (int n = 2; n < 6; ++n) ASSERT_NE(frame->ShowScreen(n), nullptr) << n;
  EXPECT_EQ(doc->GetViewCount(), 6);
  EXPECT_EQ(frame->GetDlgItem(AFX_IDW_PANE_FIRST), frame->m_screens[5]);
}

TEST_F(DocView, AScrollingScreenMovesByLinesPagesThumbAndEnds) {
  auto* form = static_cast<CFormScreen*>(frame->ShowScreen(1));
  ASSERT_NE(form, nullptr);
  CRect client;
  form->GetClientRect(&client);
  form->SetScrollSizes(MM_TEXT, CSize(client.Width() * 4, client.Height() * 4), CSize(0, 0), CSize(7, 5));
  ui::PumpUntilIdle();
  form->GetClientRect(&client);  // narrower now that the bars show
  const auto scroll = [&](UINT message, UINT code, UINT thumb = 0) {
    form->SendMessage(message, MAKEWPARAM(code, thumb), 0);
    return form->GetScrollPosition();
  };
  EXPECT_EQ(scroll(WM_VSCROLL, SB_LINEDOWN), CPoint(0, 5));
  EXPECT_EQ(scroll(WM_HSCROLL, SB_LINERIGHT), CPoint(7, 5));
  EXPECT_EQ(scroll(WM_VSCROLL, SB_PAGEDOWN), CPoint(7, 5 + client.Height()));
  EXPECT_EQ(scroll(WM_HSCROLL, SB_PAGERIGHT), CPoint(7 + client.Width(), 5 + client.Height()));
  EXPECT_EQ(scroll(WM_HSCROLL, SB_THUMBTRACK, 40), CPoint(40, 5 + client.Height()));
  EXPECT_EQ(scroll(WM_HSCROLL, SB_LINELEFT), CPoint(33, 5 + client.Height()));
  EXPECT_EQ(scroll(WM_VSCROLL, SB_PAGEUP), CPoint(33, 5));
  EXPECT_EQ(scroll(WM_VSCROLL, SB_ENDSCROLL), CPoint(33, 5));  // moves nothing
  EXPECT_EQ(scroll(WM_VSCROLL, SB_LINEUP), CPoint(33, 0));
  EXPECT_EQ(scroll(WM_VSCROLL, SB_LINEUP), CPoint(33, 0));  // the top holds
  // The far ends: the last position shows the last page.
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ::GetScrollInfo(form->m_hWnd, SB_VERT, &info);
  EXPECT_EQ(scroll(WM_VSCROLL, SB_BOTTOM).y, info.nMax - static_cast<int>(info.nPage) + 1);
  EXPECT_EQ(scroll(WM_HSCROLL, SB_LEFT), CPoint(0, info.nMax - static_cast<int>(info.nPage) + 1));
  EXPECT_EQ(scroll(WM_VSCROLL, SB_TOP), CPoint(0, 0));
}

TEST_F(DocView, ActiveViewIsDrawnInTheFrame) {
  static_cast<CScreenView*>(frame->GetActiveView())->m_colour = RGB(0, 128, 255);
  frame->GetActiveView()->Invalidate();
  ui::PumpUntilIdle();
  const ui::Picture picture = ui::Capture(frame->GetActiveView()->m_hWnd);
  ASSERT_GT(picture.width, 0);
  EXPECT_EQ(picture.At(picture.width / 2, picture.height / 2), RGB(0, 128, 255));
  ui::SavePng(ui::Capture(frame->m_hWnd, true), "framework_sample_frame");
}

TEST_F(DocView, ClosingAsksTheDocumentAndARefusalKeepsEverything) {
  doc->m_bAllowClose = FALSE;
  frame->SendMessage(WM_CLOSE);
  EXPECT_EQ(doc->m_nSaveAsked, 1);
  EXPECT_TRUE(::IsWindow(frame->m_hWnd));
  EXPECT_EQ(AfxGetMainWnd(), frame);

  doc->m_bAllowClose = TRUE;
  HWND hFrame = frame->m_hWnd;
  frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(hFrame));
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  EXPECT_EQ(CSampleDoc::live, 0);  // the document went with its frame
  ui::PumpUntilIdle();
  EXPECT_EQ(ui::TakeQuitCount(), 1);  // closing the main window ends the program
}

TEST(DynamicCreation, ViewsDocumentsAndFramesByClassName) {
  for (const char* name : {"CScreenView", "CFormScreen", "CSampleDoc", "CSampleFrame"}) {
    CObject* object = CRuntimeClass::CreateObject(name);
    ASSERT_NE(object, nullptr) << name;
    EXPECT_STREQ(object->GetRuntimeClass()->m_lpszClassName, name);
    delete object;
  }
  EXPECT_EQ(CRuntimeClass::CreateObject("CView"), nullptr);  // abstract: not creatable
  EXPECT_TRUE(RUNTIME_CLASS(CFormScreen)->IsDerivedFrom(RUNTIME_CLASS(CView)));
  EXPECT_TRUE(RUNTIME_CLASS(CSampleFrame)->IsDerivedFrom(RUNTIME_CLASS(CCmdTarget)));
  EXPECT_EQ(CSampleDoc::live, 0);
}

}  // namespace
