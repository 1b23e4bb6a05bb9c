// The application object: start and end through AfxWinMain, the message loop
// with idle work, the wait cursor, and tool tips of child controls.
#include <gtest/gtest.h>

#include "test_app.h"
#include "ui_harness.h"

namespace {

TEST(Application, ExitInstanceRunsAfterAFailedStartToo) {
  CTestApp& app = TestApp();
  app.m_nInits = app.m_nExits = 0;
  app.m_bInitResult = FALSE;
  EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW), 3);
  EXPECT_EQ(app.m_nInits, 1);
  EXPECT_EQ(app.m_nExits, 1);
  app.m_bInitResult = TRUE;
}

TEST(Application, RunHandlesMessagesAndIdleUntilQuit) {
  CTestApp& app = TestApp();
  app.m_nInits = app.m_nExits = app.m_nIdles = 0;
  ui::RecordingParent window;
  window.PostMessage(WM_APP + 7, 1, 2);
  app.m_bQuitWhenIdle = TRUE;  // the loop ends once it has nothing left to do
  EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW), 3);
  EXPECT_EQ(app.m_nExits, 1);
  EXPECT_EQ(window.Of(WM_APP + 7).size(), 1u);
  EXPECT_GE(app.m_nIdles, 1);
}

TEST(Application, WaitCursorNestsAndEndsOnce) {
  CTestApp& app = TestApp();
  HCURSOR before = ::LoadCursorA(nullptr, IDC_ARROW);
  ::SetCursor(before);
  {
    CWaitCursor outer;
    EXPECT_EQ(app.m_nWaitCursorCount, 1);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));
    app.BeginWaitCursor();
    app.EndWaitCursor();
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_WAIT));  // the outer one still holds
  }
  EXPECT_EQ(app.m_nWaitCursorCount, 0);
  EXPECT_EQ(::GetCursor(), before);
  app.EndWaitCursor();  // an extra End does not go below zero
  EXPECT_EQ(app.m_nWaitCursorCount, 0);
}

class CTipsDialog : public CDialog {
 public:
  CTipsDialog() : CDialog(IDD_SAMPLE_DIALOG) {}
  int asked = 0;
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    EnableToolTips();
    return TRUE;
  }

 protected:
  BOOL OnToolTipText(UINT, NMHDR* header, LRESULT*) {
    auto* tip = reinterpret_cast<TOOLTIPTEXTA*>(header);
    ++asked;
    // The tool is the control's window; its tip is the string of its id.
    const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom));
    ::LoadStringA(AfxGetResourceHandle(), static_cast<UINT>(id), tip->szText, sizeof tip->szText);
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTipsDialog, CDialog)
ON_NOTIFY_EX(TTN_NEEDTEXTA, 0, OnToolTipText)
END_MESSAGE_MAP()

TEST(ToolTips, ControlsBecomeToolsAsThePointerMovesOverThem) {
  CTipsDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_SAMPLE_DIALOG));
  dialog.ShowWindow(SW_SHOW);
  dialog.SetForegroundWindow();
  ui::PumpUntilIdle();
  // (A temporary CWnd lives only until idle time: keep the handle.)
  HWND button = dialog.GetDlgItem(IDC_SAMPLE_BUTTON)->m_hWnd;
  CRect rect;
  ::GetWindowRect(button, &rect);
  dialog.ScreenToClient(&rect);
  ui::MoveMouse(dialog.m_hWnd, rect.CenterPoint());
  ui::MoveMouse(dialog.m_hWnd, rect.CenterPoint() + CSize(1, 1));
  HWND tips = ::FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
  ASSERT_NE(tips, nullptr);
  EXPECT_GE(::SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
  // The text request, as the tip control sends it once the pointer rests.
  TOOLTIPTEXTA request = {};
  request.hdr.hwndFrom = tips;
  request.hdr.idFrom = reinterpret_cast<UINT_PTR>(button);
  request.hdr.code = TTN_NEEDTEXTA;
  dialog.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
  EXPECT_EQ(dialog.asked, 1);
  EXPECT_STREQ(request.szText, "Sample button");
  dialog.DestroyWindow();
}

}  // namespace

namespace {

TEST(Harness, ClicksThroughTheInputQueueReachTheControl) {
  ui::RecordingParent parent;
  parent.ShowWindow(SW_SHOW);
  parent.SetForegroundWindow();
  CButton button;
  ASSERT_TRUE(button.Create("Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 90, 40), &parent, 55));
  ui::PumpUntilIdle();
  ui::Click(parent.m_hWnd, CPoint(50, 25));
  bool clicked = false;
  for (const MSG& msg : parent.Of(WM_COMMAND)) {
    clicked |= LOWORD(msg.wParam) == 55 && HIWORD(msg.wParam) == BN_CLICKED;
  }
  EXPECT_TRUE(clicked);
  EXPECT_EQ(::GetAsyncKeyState(VK_LBUTTON) & 0x8000, 0);  // released again
}

}  // namespace
