// Dialogs from templates: modal end codes, modeless life, data exchange and
// validation, owner-draw reflection, dialog colours, the common-dialog hooks.
#include <gtest/gtest.h>

#include "test_app.h"
#include "ui_harness.h"

namespace {

constexpr UINT WM_END_WITH = WM_APP + 1;

// A dialog that ends itself with a chosen code once its loop runs.
class CSampleDialog : public CDialog {
 public:
  CSampleDialog() : CDialog(IDD_SAMPLE_DIALOG) {}
  CString m_strName = "Marovan";
  int m_nCount = 12;
  int m_nListIndex = 1;
  int m_nEndWith = -2;  // -2: do not end by itself
  BOOL m_bPressEscape = FALSE;
  int m_nDrawn = 0;
  UINT m_lastDrawState = 0;
  int m_nInitCalls = 0;

  class COwnerButton : public CButton {
   public:
    CSampleDialog* owner = nullptr;
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
      ++owner->m_nDrawn;
      owner->m_lastDrawState = dis->itemState;
      ::FillRect(dis->hDC, &dis->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
  } m_button;

  BOOL OnInitDialog() override {
    ++m_nInitCalls;
    CListBox* list = static_cast<CListBox*>(GetDlgItem(IDC_SAMPLE_LIST));
    for (const char* item : {"zero", "one", "two"})
      ::SendMessageA(list->m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    CDialog::OnInitDialog();  // data to the controls
    if (m_nEndWith != -2) PostMessage(WM_END_WITH);
    if (m_bPressEscape) PostMessage(WM_APP + 2);  // see OnPress
    return TRUE;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    m_button.owner = this;
    DDX_Control(pDX, IDC_SAMPLE_BUTTON, m_button);
    DDX_Text(pDX, IDC_SAMPLE_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, 10);
    DDX_Text(pDX, IDC_SAMPLE_COUNT, m_nCount);
    DDV_MinMaxInt(pDX, m_nCount, 1, 59);
    DDX_LBIndex(pDX, IDC_SAMPLE_LIST, m_nListIndex);
  }

 protected:
  LRESULT OnEndWith(WPARAM, LPARAM) {
    EndDialog(m_nEndWith);
    return 0;
  }
  LRESULT OnPress(WPARAM, LPARAM) {
    ui::PressKey(VK_ESCAPE);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSampleDialog, CDialog)
ON_MESSAGE(WM_END_WITH, OnEndWith)
ON_MESSAGE(WM_APP + 2, OnPress)
END_MESSAGE_MAP()

TEST(Dialogs, ModalDialogReturnsTheCodeItEndedWith) {
  CSampleDialog ended;
  ended.m_nEndWith = 42;
  EXPECT_EQ(ended.DoModal(), 42);
  EXPECT_EQ(ended.m_hWnd, nullptr);  // destroyed after the loop
  EXPECT_EQ(ended.m_nInitCalls, 1);

  CSampleDialog escaped;
  escaped.m_bPressEscape = TRUE;
  EXPECT_EQ(escaped.DoModal(), IDCANCEL);  // the key went through the dialog manager

  CDialog missing(4242);
  EXPECT_EQ(missing.DoModal(), -1);
}

TEST(Dialogs, OkSavesTheControlsThroughDataExchange) {
  class COkDialog : public CSampleDialog {
   public:
    BOOL OnInitDialog() override {
      CSampleDialog::OnInitDialog();
      SetDlgItemText(IDC_SAMPLE_NAME, "Atlas");
      SetDlgItemText(IDC_SAMPLE_COUNT, " 30 ");
      ::SendDlgItemMessageA(m_hWnd, IDC_SAMPLE_LIST, LB_SETCURSEL, 2, 0);
      PostMessage(WM_COMMAND, IDOK);
      return TRUE;
    }
  } dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_STREQ(dialog.m_strName, "Atlas");
  EXPECT_EQ(dialog.m_nCount, 30);
  EXPECT_EQ(dialog.m_nListIndex, 2);
}

class ModelessDialog : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.Create(IDD_SAMPLE_DIALOG)); }
  void TearDown() override {
    if (dialog.m_hWnd != nullptr) dialog.DestroyWindow();
    ui::PumpUntilIdle();
  }
  CSampleDialog dialog;
};

TEST_F(ModelessDialog, LoadsControlsAndValidatesOnSave) {
  CString text;
  dialog.GetDlgItemText(IDC_SAMPLE_NAME, text);
  EXPECT_STREQ(text, "Marovan");
  dialog.GetDlgItemText(IDC_SAMPLE_COUNT, text);
  EXPECT_STREQ(text, "12");
  EXPECT_EQ(::SendDlgItemMessageA(dialog.m_hWnd, IDC_SAMPLE_NAME, EM_GETLIMITTEXT, 0, 0), 10);

  ui::MessageBoxAnswers answers;
  dialog.SetDlgItemText(IDC_SAMPLE_COUNT, "60");  // out of range
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  ASSERT_EQ(answers.boxes().size(), 1u);
  EXPECT_EQ(answers.boxes()[0].text, "Enter a whole number between 1 and 59.");
  EXPECT_EQ(::GetFocus(), dialog.GetDlgItem(IDC_SAMPLE_COUNT)->m_hWnd);  // on the failing field

  dialog.SetDlgItemText(IDC_SAMPLE_COUNT, "12a");
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  EXPECT_EQ(answers.boxes().back().text, "Enter a whole number.");
  dialog.SetDlgItemText(IDC_SAMPLE_COUNT, "99999999999999999999");
  EXPECT_FALSE(dialog.UpdateData(TRUE));  // does not fit

  dialog.SetDlgItemText(IDC_SAMPLE_COUNT, "59");
  dialog.SetDlgItemText(IDC_SAMPLE_NAME, "Encyclopedia");  // 12 > 10 characters
  EXPECT_FALSE(dialog.UpdateData(TRUE));
  EXPECT_EQ(answers.boxes().back().text, "Enter no more than 10 characters.");
  EXPECT_STREQ(dialog.m_strName, "Encyclopedia");  // fields before the failure were taken

  // OK with bad data keeps the dialog open.
  dialog.ShowWindow(SW_SHOW);
  dialog.SendMessage(WM_COMMAND, IDOK);
  EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
  dialog.SetDlgItemText(IDC_SAMPLE_NAME, "Short");
  EXPECT_TRUE(dialog.UpdateData(TRUE));
  EXPECT_EQ(dialog.m_nCount, 59);
}

TEST_F(ModelessDialog, OwnerDrawnButtonDrawsItselfFromTheParentsMessage) {
  ASSERT_EQ(CWnd::FromHandlePermanent(dialog.GetDlgItem(IDC_SAMPLE_BUTTON)->m_hWnd), &dialog.m_button);
  dialog.ShowWindow(SW_SHOW);
  dialog.m_nDrawn = 0;
  dialog.m_button.Invalidate();
  dialog.m_button.UpdateWindow();
  EXPECT_GE(dialog.m_nDrawn, 1);
  const ui::Picture picture = ui::Capture(dialog.m_button.m_hWnd);
  EXPECT_EQ(picture.At(picture.width / 2, picture.height / 2), RGB(0, 0, 0));
  ui::SavePng(ui::Capture(dialog.m_hWnd, true), "framework_sample_dialog");
}

TEST_F(ModelessDialog, DialogColourComesFromTheApplication) {
  HDC dc = ::GetDC(dialog.m_hWnd);
  const LRESULT plain =
      dialog.SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog.m_hWnd));
  TestApp().SetDialogBkColor(RGB(192, 192, 192));
  const LRESULT grey =
      dialog.SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog.m_hWnd));
  EXPECT_EQ(grey, reinterpret_cast<LRESULT>(TestApp().m_hDlgBkBrush));
  EXPECT_NE(plain, grey);
  dialog.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(::GetBkColor(dc), RGB(192, 192, 192));
  ::ReleaseDC(dialog.m_hWnd, dc);
  ::DeleteObject(TestApp().m_hDlgBkBrush);
  TestApp().m_hDlgBkBrush = nullptr;
}

TEST_F(ModelessDialog, EscapeAndEnterAreDialogKeysOfAModelessDialog) {
  class CCountingDialog : public CDialog {
   public:
    CCountingDialog() : CDialog(IDD_SAMPLE_DIALOG) {}
    int oks = 0, cancels = 0;
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
  } keys;
  ASSERT_TRUE(keys.Create(IDD_SAMPLE_DIALOG));
  keys.ShowWindow(SW_SHOW);
  keys.SetForegroundWindow();
  keys.GetDlgItem(IDC_SAMPLE_NAME)->SetFocus();
  ui::PumpUntilIdle();
  ui::PressKey(VK_ESCAPE);
  ui::PressKey(VK_RETURN);
  EXPECT_EQ(keys.cancels, 1);
  EXPECT_EQ(keys.oks, 1);
  EXPECT_TRUE(::IsWindow(keys.m_hWnd));  // the overrides kept it
  keys.DestroyWindow();
}

INT_PTR ChooseFile(OPENFILENAMEA* ofn, BOOL open) {
  EXPECT_FALSE(open);
  EXPECT_STREQ(ofn->lpstrDefExt, "txt");
  // The '|' separators became NULs.
  EXPECT_STREQ(ofn->lpstrFilter, "Text Files (*.txt)");
  EXPECT_STREQ(ofn->lpstrFilter + 19, "*.txt");
  lstrcpyA(ofn->lpstrFile, "C:\\notes\\article.txt");
  return IDOK;
}

TEST(CommonDialogs, FileDialogTakesItsAnswerFromTheHook) {
  AfxSetFileDialogHook(ChooseFile);
  CFileDialog save(FALSE, "txt", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, "Text Files (*.txt)|*.txt||");
  EXPECT_EQ(save.DoModal(), IDOK);
  AfxSetFileDialogHook(nullptr);
  EXPECT_STREQ(save.GetPathName(), "C:\\notes\\article.txt");
  EXPECT_STREQ(save.GetFileName(), "article.txt");
  EXPECT_STREQ(save.GetFileExt(), "txt");
}

}  // namespace
