#include "app/about_dlg.h"

#include "core/reader_messages.h"
#include "core/sound_engine.h"
#include "core/working_directory.h"
#include "reader/reader_ids.h"

namespace {
constexpr std::int32_t ActionLoop = 21;
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_hIcon = AfxGetApp()->LoadIcon(IDI_VELDRIX);
  if (m_hIcon) ::SetClassLongPtrA(m_hWnd, GCLP_HICON, reinterpret_cast<LONG_PTR>(m_hIcon));
  // The credits movie, looping, sized to its controller.
  m_movie.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, 0, 0, "CREDIT.MOV", nullptr,
                 CPoint(0, 0));
  m_movie.ControllerAction(ActionLoop, 1);
  m_movie.PostMessage(WM_MOVIEPLAY);
  CRect movie, window, client;
  m_movie.GetClientRect(&movie);
  GetWindowRect(&window);
  GetClientRect(&client);
  SetWindowPos(nullptr, 0, 0, window.Width() - client.Width() + movie.Width(),
               window.Height() - client.Height() + movie.Height(), SWP_NOMOVE | SWP_NOZORDER);
  CenterWindow();
  const std::string sound = WorkingPath("CREDIT.WAV");
  PlaySystemSound(sound.c_str(), SystemSoundMode::Looping);
  return TRUE;
}

void CAboutDlg::OnCancel() {
  PlaySystemSound(nullptr, SystemSoundMode::Once);
  EndDialog(0);
}

void CAboutDlg::OnKeyDown(UINT, UINT, UINT) { OnCancel(); }
void CAboutDlg::OnLButtonDown(UINT, CPoint) { OnCancel(); }
void CAboutDlg::OnRButtonDown(UINT, CPoint) { OnCancel(); }

void CAboutDlg::OnDestroy() {
  if (m_movie.m_hWnd) m_movie.DestroyWindow();
  CDialog::OnDestroy();
  if (m_hIcon) ::DestroyIcon(m_hIcon);
  m_hIcon = nullptr;
}
