#include "media/quiz/goto_question_dlg.h"

#include "controls/skin_environment.h"
#include "core/reader_context.h"
#include "messages/window_messages.h"
#include "reader/reader_ids.h"
#include "reader/timeline_quiz_ids.h"

BEGIN_MESSAGE_MAP(CGoToQuestionDlg, CDialog)
ON_WM_PAINT()
ON_WM_DESTROY()
ON_WM_MOUSEMOVE()
ON_WM_CTLCOLOR()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

CGoToQuestionDlg::CGoToQuestionDlg(CWnd* parent) : CDialog(IDD_GOTO_QUESTION, parent) {}

void CGoToQuestionDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_GOTO_NUMBER, m_number);
  DDV_MinMaxInt(pDX, m_number, 1, m_largest);
}

BOOL CGoToQuestionDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_icon = ::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_VELDRIX));
  if (m_icon != nullptr) ::SetClassLongPtr(m_hWnd, GCLP_HICON, reinterpret_cast<LONG_PTR>(m_icon));
  // A client area of 215 x 70, centred.
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  SetWindowPos(nullptr, 0, 0, window.Width() - client.Width() + 215, window.Height() - client.Height() + 70,
               SWP_NOMOVE | SWP_NOZORDER);
  CenterWindow();
  GetClientRect(&client);
  const int rowHeight = Reader().GetLineHeight() + 4 + 6;
  if (CWnd* edit = GetDlgItem(IDC_GOTO_NUMBER)) {
    edit->MoveWindow(client.Width() - 60, 10, 50, rowHeight);
    edit->SetFont(Reader().GetFont(FontList));
    edit->SendMessage(EM_LIMITTEXT, 3);
  }
  const int buttonTop = 10 + rowHeight + 10;
  m_ok.Create(CRect(20, buttonTop, 80, buttonTop + 22), this, IDB_GOTO_OK, CODButton::kUsualStyle, IDOK);
  CRect ok;
  m_ok.GetWindowRect(&ok);
  m_cancel.Create(CRect(20 + ok.Width() + 10, buttonTop, 90 + ok.Width(), buttonTop + 22), this, IDB_GOTO_CANCEL,
                  CODButton::kUsualStyle, IDCANCEL);
  return TRUE;
}

void CGoToQuestionDlg::OnPaint() {
  CPaintDC dc(this);
  ReaderContext& app = Reader();
  CRect client;
  GetClientRect(&client);
  dc.FillRect(&client, app.GetBrush(DialogBrush));
  CRect edit(client.Width() - 60, 10, client.Width() - 10, 30);
  if (CWnd* field = GetDlgItem(IDC_GOTO_NUMBER)) {
    field->GetWindowRect(&edit);
    ScreenToClient(&edit);
  }
  CFont* old = dc.SelectObject(app.GetFont(FontList));
  dc.SetBkMode(TRANSPARENT);
  CRect text(10, edit.top, edit.left, edit.bottom);
  dc.DrawText("Select question number:", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  dc.SelectObject(old);
}

void CGoToQuestionDlg::OnDestroy() {
  if (m_icon != nullptr) {
    ::SetClassLongPtr(m_hWnd, GCLP_HICON, 0);
    ::DestroyIcon(m_icon);
    m_icon = nullptr;
  }
  CDialog::OnDestroy();
}

void CGoToQuestionDlg::OnMouseMove(UINT flags, CPoint point) {
  CWnd* child = ChildWindowFromPoint(point);
  const HWND over = child != nullptr && child->m_hWnd != m_hWnd ? child->m_hWnd : nullptr;
  m_hover.Track(over);
  CDialog::OnMouseMove(flags, point);
}

HBRUSH CGoToQuestionDlg::OnCtlColor(CDC* dc, CWnd*, UINT) { return BlackOnWhite(dc); }

BOOL CGoToQuestionDlg::OnQueryNewPalette() {
  const UINT changed = RealizeWindowPalette(this, Reader().GetPalette(), FALSE);
  if (changed) Invalidate();
  return changed != 0;
}

void CGoToQuestionDlg::OnPaletteChanged(CWnd* focus) {
  if (focus != this) Invalidate();
}
