// Command routing (active view, its document, the frame, the application),
// update handlers in the menu pass, and accelerators of disabled commands.
#include "docview_fixture.h"

namespace {

CMenu* FileMenu(CFrameWnd* frame) { return frame->GetMenu()->GetSubMenu(0); }

// Runs the update pass of a menu as the frame does when it drops down.
void DropDown(CFrameWnd* frame, CMenu* popup) {
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->m_hMenu), MAKELPARAM(0, FALSE));
}

TEST_F(DocView, ViewComesBeforeDocumentFrameAndApplication) {
  Trace().clear();
  frame->SendMessage(WM_COMMAND, ID_SAMPLE_FIRST);  // view, document and frame handle it
  static_cast<CScreenView*>(frame->GetActiveView())->m_bHandleFirst = FALSE;
  frame->SendMessage(WM_COMMAND, ID_SAMPLE_FIRST);    // the view passes: the document
  frame->SendMessage(WM_COMMAND, ID_SAMPLE_CHECKED);  // only the document
  const std::vector<std::string> expected = {"view first", "doc first", "doc checked"};
  EXPECT_EQ(Trace(), expected);

  TestApp().m_commands.RemoveAll();
  frame->SendMessage(WM_COMMAND, ID_SAMPLE_SECOND);  // only the application
  frame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
  ASSERT_EQ(TestApp().m_commands.GetSize(), 2);
  EXPECT_EQ(TestApp().m_commands[0], static_cast<UINT>(ID_SAMPLE_SECOND));

  frame->SendMessage(WM_COMMAND, 8501);  // a range of the frame
  ASSERT_EQ(frame->m_history.size(), 1u);
  EXPECT_EQ(frame->m_history[0], 8501);

  // Another screen, another route: the form view has no handler, the document does.
  frame->ShowScreen(1);
  Trace().clear();
  frame->SendMessage(WM_COMMAND, ID_SAMPLE_FIRST);
  EXPECT_EQ(Trace(), std::vector<std::string>{"doc first"});
}

TEST_F(DocView, MenuPassRunsUpdateHandlersAndGreysCommandsWithoutHandler) {
  CMenu* file = FileMenu(frame);
  static_cast<CScreenView*>(frame->GetActiveView())->m_bEnableFirst = FALSE;
  DropDown(frame, file);
  EXPECT_TRUE(file->GetMenuState(ID_SAMPLE_FIRST, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(file->GetMenuState(ID_SAMPLE_SECOND, MF_BYCOMMAND) & MF_GRAYED);  // the application's
  EXPECT_TRUE(file->GetMenuState(ID_SAMPLE_CHECKED, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(file->GetMenuState(ID_SAMPLE_CHECKED, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(file->GetMenuState(ID_SAMPLE_UNHANDLED, MF_BYCOMMAND) & MF_GRAYED);
  CString text;
  file->GetMenuString(8502, text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Query 3");  // update range with SetText

  static_cast<CScreenView*>(frame->GetActiveView())->m_bEnableFirst = TRUE;
  DropDown(frame, file);
  EXPECT_FALSE(file->GetMenuState(ID_SAMPLE_FIRST, MF_BYCOMMAND) & MF_GRAYED);

  frame->m_bAutoMenuEnable = FALSE;  // without auto-enabling nothing is greyed for lack of a handler
  file->EnableMenuItem(ID_SAMPLE_UNHANDLED, MF_BYCOMMAND | MF_ENABLED);
  DropDown(frame, file);
  EXPECT_FALSE(file->GetMenuState(ID_SAMPLE_UNHANDLED, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(DocView, AcceleratorsReachHandlersOnlyWhileTheCommandIsEnabled) {
  CScreenView* view = static_cast<CScreenView*>(frame->GetActiveView());
  frame->SetForegroundWindow();
  view->SetFocus();
  ui::PumpUntilIdle();
  Trace().clear();
  ui::PressKey('F', true);
  EXPECT_EQ(Trace(), std::vector<std::string>{"view first"});

  view->m_bEnableFirst = FALSE;
  Trace().clear();
  ui::PressKey('F', true);
  frame->SendMessage(WM_COMMAND, ID_SAMPLE_FIRST);  // a menu command the same way
  EXPECT_TRUE(Trace().empty());
  // A button's click is not a menu command: it is not vetted.
  frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_SAMPLE_FIRST, BN_CLICKED), reinterpret_cast<LPARAM>(view->m_hWnd));
  EXPECT_EQ(Trace(), std::vector<std::string>{"view first"});
}

TEST_F(DocView, AcceleratorsStillWorkWhileAFormsControlHasTheFocus) {
  CView* form = frame->ShowScreen(1);
  frame->SetForegroundWindow();
  form->GetDlgItem(IDC_SAMPLE_NAME)->SetFocus();
  ui::PumpUntilIdle();
  Trace().clear();
  ui::PressKey('F', true);  // the form has no handler: its document does
  EXPECT_EQ(Trace(), std::vector<std::string>{"doc first"});
  ui::PressKey('Q');  // a plain key is the edit's
  CString text;
  form->GetDlgItemText(IDC_SAMPLE_NAME, text);
  EXPECT_EQ(text.Right(1), "q");
}

TEST_F(DocView, IdleTimeUpdateReachesTheWindows) {
  class CIdleCounter : public CWnd {
   public:
    int count = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_IDLEUPDATECMDUI) ++count;
      return CWnd::WindowProc(message, wParam, lParam);
    }
  } counter;
  ASSERT_TRUE(counter.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 5, 5), frame->GetActiveView(), 77));
  TestApp().OnIdle(0);
  EXPECT_EQ(counter.count, 1);
  counter.DestroyWindow();
}

}  // namespace
