#include "updater_dlg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "messages/window_messages.h"
#include "updater_ids.h"
#include "updater_texts.h"

using namespace refresh;

namespace {

constexpr UINT kStartDelay = 500;
constexpr COLORREF kStatusColour = RGB(255, 255, 0);
constexpr int kFillWidth = 230;  // the progress bar's fill at its maximum
// Largest background picture file read.
constexpr DWORD kMaxPictureFile = 64 * 1024 * 1024;

// The palette of a colour table (blue, green, red, 0 an entry), or FALSE when
// there is none to make.
BOOL MakePalette(CPalette& palette, const unsigned char* table, std::size_t colours) {
  if (colours == 0) return FALSE;
  std::vector<unsigned char> block(sizeof(LOGPALETTE) + colours * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(colours);
  for (std::size_t i = 0; i < colours; ++i) {
    logical->palPalEntry[i].peRed = table[4 * i + 2];
    logical->palPalEntry[i].peGreen = table[4 * i + 1];
    logical->palPalEntry[i].peBlue = table[4 * i];
    logical->palPalEntry[i].peFlags = PC_NOCOLLAPSE;
  }
  palette.DeleteObject();
  return palette.CreatePalette(logical);
}

// The log line of a temporary directory that could not go whole:
// almost always left as it was, at worst not whole either way.
std::string NotRemoved(const std::string& name, const char* why) {
  if (why == CUpdateFiles::kNotWhole) return "Could not remove " + name + " whole: " + why;
  return "Left " + name + " as it is: " + why;
}

}  // namespace

TransferLog& TransferLogFile() {
  static TransferLog log;
  return log;
}

BEGIN_MESSAGE_MAP(CUpdaterDlg, CDialog)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_TIMER()
ON_WM_PAINT()
ON_MESSAGE(WM_XFER_STATE, OnMainControl)
ON_MESSAGE(WM_CONTROL_SOCKET, OnControlSocket)
ON_MESSAGE(WM_LISTENER_SOCKET, OnListenerSocket)
ON_MESSAGE(WM_DATA_SOCKET, OnDataSocket)
END_MESSAGE_MAP()

int CUpdaterDlg::ChooseDataPortStart() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  return FirstDataPort + std::rand() % DataPortCount;
}

CUpdaterDlg::CUpdaterDlg(UpdateServer server, CWnd* pParent)
    : CDialog(IDD_UPDATER, pParent),
      m_hIcon(static_cast<HICON>(
          ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_UPDATER_ICON), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))),
      m_dwStartTick(::GetTickCount()),
      m_session(*this, std::move(server), ChooseDataPortStart()) {
  // A second run leaves the first one's log as it is.
  if (!m_run.Alone()) return;
  TransferLogFile().Open(LogFileName, std::time(nullptr));
  char text[32];
  std::snprintf(text, sizeof text, "BASE PORT: %d", m_session.DataPort());
  LogLine(text, LogGeneral);
}

CUpdaterDlg::~CUpdaterDlg() {
  CloseSockets();
  m_winsock.Cleanup();
  TransferLogFile().Close();
  CloseDownload();
  m_background.DeleteObject();
  if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
  m_palette.DeleteObject();
}

// ---- creation, layout, painting

BOOL CUpdaterDlg::FindMainProgram() {
  m_hMainProgram = ::FindWindowA(nullptr, ReaderWindowTitle);
  if (m_hMainProgram != nullptr) return TRUE;
  SeriousError(NoReaderMessage);
  return FALSE;
}

int CUpdaterDlg::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CDialog::OnCreate(lpCreateStruct) == -1) return -1;
  if (m_hIcon != nullptr) {
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
  }
  if (!m_run.Alone()) {
    SeriousError(AlreadyRunningMessage);
    return -1;
  }
  // Without the reader the updater ends (the quit is posted); creation goes on.
  FindMainProgram();
  if (m_winsock.Startup() != SocketDone) {
    SeriousError(NoWinsockMessage);
    return -1;
  }
  m_control = std::make_unique<CSocketWindow>(this, WM_CONTROL_SOCKET);
  m_listener = std::make_unique<CSocketWindow>(this, WM_LISTENER_SOCKET);
  m_data = std::make_unique<CSocketWindow>(this, WM_DATA_SOCKET);
  if (m_control->CreateSocket() != SocketDone) {
    m_control.reset();
    return -1;
  }
  m_cancel.Create("Cancel", WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 26), this, IDCANCEL);
  m_progressFrame.LoadBitmap(IDB_PROGRESS_FRAME);
  m_progressFill.LoadBitmap(IDB_PROGRESS_FILL);

  HINSTANCE module = AfxGetResourceHandle();
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(IDB_UPDATER_BACKGROUND), RT_BITMAP);
  HGLOBAL loaded = resource == nullptr ? nullptr : ::LoadResource(module, resource);
  const auto* data = static_cast<const unsigned char*>(loaded == nullptr ? nullptr : ::LockResource(loaded));
  if (data != nullptr) {
    if (const auto layout = ParsePackedDib(data, ::SizeofResource(module, resource))) UseBackground(data, *layout);
  }
  Layout();
  SetTimer(TimerStartSession, kStartDelay);
  return 0;
}

BOOL CUpdaterDlg::UseBackground(const unsigned char* data, const DibLayout& layout) {
  const auto* info = reinterpret_cast<const BITMAPINFO*>(data + layout.infoOffset);
  CClientDC dc(this);
  if (layout.HasPalette() && MakePalette(m_palette, data + layout.tableOffset, layout.colours)) {
    dc.SelectPalette(&m_palette, TRUE);
    dc.RealizePalette();
    m_bPaletteInUse = TRUE;
  }
  HBITMAP picture =
      ::CreateDIBitmap(dc.m_hDC, &info->bmiHeader, CBM_INIT, data + layout.bitsOffset, info, DIB_RGB_COLORS);
  if (picture == nullptr) return FALSE;
  m_background.DeleteObject();
  m_background.Attach(picture);
  m_nBitmapWidth = layout.width;
  m_nBitmapHeight = layout.height < 0 ? -layout.height : layout.height;
  return TRUE;
}

BOOL CUpdaterDlg::SetBackgroundBitmap(const char* path) {
  std::vector<unsigned char> bytes;
  HANDLE file =
      ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    const DWORD size = ::GetFileSize(file, nullptr);
    DWORD read = 0;
    if (size != INVALID_FILE_SIZE && size <= kMaxPictureFile) {
      bytes.resize(size);
      if (size == 0 || !::ReadFile(file, bytes.data(), size, &read, nullptr) || read != size) bytes.clear();
    }
    ::CloseHandle(file);
  }
  const auto layout = ParseBitmapFile(bytes.data(), bytes.size());
  if (!layout || !UseBackground(bytes.data(), *layout)) {
    SeriousError(CorruptPictureMessage);
    return FALSE;
  }
  Layout();
  Invalidate(TRUE);
  return TRUE;
}

void CUpdaterDlg::Layout() {
  CRect window(0, 0, m_nBitmapWidth, m_nBitmapHeight);
  ::AdjustWindowRectEx(&window, GetStyle(), FALSE, GetExStyle());
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  const int width = window.Width() < screenWidth ? window.Width() : screenWidth;
  const int height = window.Height() < screenHeight ? window.Height() : screenHeight;
  SetWindowPos(nullptr, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);

  CRect client;
  GetClientRect(&client);
  const int h = client.Height();
  const int c = client.Width() / 2;
  m_progressRect.SetRect(c - 119, h - 26, c + 119, h - 8);
  m_statusRect.SetRect(c - 119, h - 48, c + 119, h - 28);
  if (m_cancel.m_hWnd != nullptr) m_cancel.MoveWindow(c + 125, h - 34, 60, 26);
  Invalidate();
}

void CUpdaterDlg::OnPaint() {
  CPaintDC dc(this);
  if (m_background.GetSafeHandle() == nullptr) return;
  if (m_bPaletteInUse) {
    dc.SelectPalette(&m_palette, TRUE);
    dc.RealizePalette();
  }
  // The bar and the status are drawn over a copy of the picture, so the
  // picture itself never keeps an old bar.
  CDC picture, canvas;
  picture.CreateCompatibleDC(&dc);
  canvas.CreateCompatibleDC(&dc);
  CBitmap composed;
  composed.CreateCompatibleBitmap(&dc, m_nBitmapWidth, m_nBitmapHeight);
  CPalette* oldPicturePalette = m_bPaletteInUse ? picture.SelectPalette(&m_palette, TRUE) : nullptr;
  CPalette* oldCanvasPalette = m_bPaletteInUse ? canvas.SelectPalette(&m_palette, TRUE) : nullptr;
  CBitmap* oldPicture = picture.SelectObject(&m_background);
  CBitmap* oldCanvas = canvas.SelectObject(&composed);
  canvas.BitBlt(0, 0, m_nBitmapWidth, m_nBitmapHeight, &picture, 0, 0, SRCCOPY);
  DrawProgress(canvas);
  DrawStatus(canvas);
  dc.BitBlt(0, 0, m_nBitmapWidth, m_nBitmapHeight, &canvas, 0, 0, SRCCOPY);
  canvas.SelectObject(oldCanvas);
  picture.SelectObject(oldPicture);
  if (oldCanvasPalette != nullptr) canvas.SelectPalette(oldCanvasPalette, TRUE);
  if (oldPicturePalette != nullptr) picture.SelectPalette(oldPicturePalette, TRUE);
}

void CUpdaterDlg::DrawProgress(CDC& dc) {
  if (m_session.DownloadSizeUnknown()) return;
  CDC source;
  source.CreateCompatibleDC(&dc);
  BITMAP frame = {};
  if (m_progressFrame.GetSafeHandle() != nullptr && m_progressFrame.GetBitmap(&frame) != 0) {
    CBitmap* old = source.SelectObject(&m_progressFrame);
    dc.BitBlt(m_progressRect.left, m_progressRect.top, std::min<int>(frame.bmWidth, m_progressRect.Width()),
              std::min<int>(frame.bmHeight, m_progressRect.Height()), &source, 0, 0, SRCCOPY);
    source.SelectObject(old);
  }
  long long width = 0;
  if (m_nProgressMax > 0) {
    const long value = m_nProgress < 0 ? 0 : m_nProgress > m_nProgressMax ? m_nProgressMax : m_nProgress;
    width = static_cast<long long>(value) * kFillWidth / m_nProgressMax;
  }
  if (width > 0 && m_progressFill.GetSafeHandle() != nullptr) {
    CBitmap* old = source.SelectObject(&m_progressFill);
    dc.BitBlt(m_progressRect.left + 4, m_progressRect.top + 3, static_cast<int>(width), m_progressRect.Height() - 3,
              &source, 0, 0, SRCCOPY);
    source.SelectObject(old);
  }
}

void CUpdaterDlg::DrawStatus(CDC& dc) {
  const CSize extent = dc.GetTextExtent(m_status.c_str(), static_cast<int>(m_status.size()));
  if (extent.cx > m_statusRect.Width()) {
    const int grow = extent.cx - m_statusRect.Width();
    m_statusRect.left -= grow / 2;
    m_statusRect.right += grow - grow / 2;
  }
  if (extent.cy > m_statusRect.Height()) {
    const int grow = extent.cy - m_statusRect.Height();
    m_statusRect.top -= grow / 2;
    m_statusRect.bottom += grow - grow / 2;
  }
  dc.FillSolidRect(&m_statusRect, RGB(0, 0, 0));
  const COLORREF oldColour = dc.SetTextColor(kStatusColour);
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  CRect text = m_statusRect;
  dc.DrawText(m_status.c_str(), static_cast<int>(m_status.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc.SetTextColor(oldColour);
  dc.SetBkMode(oldMode);
}

void CUpdaterDlg::SetStatus(const std::string& text) {
  m_status = text;
  if (m_hWnd != nullptr) InvalidateRect(&m_statusRect, FALSE);
}

void CUpdaterDlg::SetProgress(long value) {
  m_nProgress = value;
  if (m_hWnd != nullptr) InvalidateRect(&m_progressRect, FALSE);
}

void CUpdaterDlg::SetProgressRange(long maximum) { m_nProgressMax = maximum; }

void CUpdaterDlg::LogLine(const std::string& text, int level) {
  TransferLogFile().Line(text, level, static_cast<long>(::GetTickCount() - m_dwStartTick));
}

// ---- the end

void CUpdaterDlg::SeriousError(const std::string& message) {
  if (m_bSeriousError) return;
  m_bSeriousError = TRUE;
  m_session.Stop();
  LogLine("SeriousError", LogGeneral);
  LogLine(message, LogGeneral);
  // Nothing is left behind while the message waits for the user, who may end
  // the program there. An open download would keep its file, and so the
  // directory, on the disk.
  CloseDownload();
  if (m_files.TempDirCreated()) RemoveTempDir();
  AfxShowMessageBox(m_hWnd, message.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION);
  ::PostQuitMessage(0);
}

void CUpdaterDlg::OnCancel() {
  m_session.Cancel();
  LogLine("Someone canceled out of the application.", LogGeneral);
  TransferLogFile().Close();
  CloseDownload();
  CloseSockets();
  m_winsock.Cleanup();
  if (m_files.TempDirCreated()) RemoveTempDir();
  EndDialog(IDCANCEL);
}

void CUpdaterDlg::OnDestroy() {
  CloseSockets();
  m_winsock.Cleanup();
  TransferLogFile().Close();
  CloseDownload();
  CDialog::OnDestroy();
}

void CUpdaterDlg::CloseSockets() {
  for (CSocketWindow* socket : {m_data.get(), m_listener.get(), m_control.get()}) {
    if (socket != nullptr && socket->IsOpen()) socket->CloseSocket();
  }
  m_sending.clear();
}

// ---- messages

LRESULT CUpdaterDlg::OnMainControl(WPARAM wParam, LPARAM) {
  m_session.OnMainControl(static_cast<int>(wParam));
  return 0;
}

LRESULT CUpdaterDlg::OnControlSocket(WPARAM wParam, LPARAM lParam) {
  const int code = static_cast<int>(wParam);
  if (code == CWINSOCK_DONE_WRITING || code == CWINSOCK_ERROR_WRITING) {
    // The socket hands the command back: its text can go.
    for (auto it = m_sending.begin(); it != m_sending.end(); ++it) {
      if (reinterpret_cast<LPARAM>(it->data()) == lParam) {
        m_sending.erase(it);
        break;
      }
    }
  }
  m_session.OnControlSocket(code, static_cast<long>(lParam));
  return 0;
}

LRESULT CUpdaterDlg::OnListenerSocket(WPARAM wParam, LPARAM) {
  m_session.OnListenerSocket(static_cast<int>(wParam));
  return 0;
}

LRESULT CUpdaterDlg::OnDataSocket(WPARAM wParam, LPARAM) {
  m_session.OnDataSocket(static_cast<int>(wParam));
  return 0;
}

void CUpdaterDlg::OnTimer(UINT nIDEvent) { m_session.OnTimer(static_cast<int>(nIDEvent)); }

// ---- the session's host

void CUpdaterDlg::PostState(int state) { PostMessage(WM_XFER_STATE, static_cast<WPARAM>(state)); }

void CUpdaterDlg::PostControlCode(int code, long lParam) {
  PostMessage(WM_CONTROL_SOCKET, static_cast<WPARAM>(code), static_cast<LPARAM>(lParam));
}

bool CUpdaterDlg::AskReinstall() {
  return AfxShowMessageBox(m_hWnd, ReinstallQuestion, ReinstallCaption, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void CUpdaterDlg::Quit() { ::PostQuitMessage(0); }

void CUpdaterDlg::StartTimer(int id, unsigned milliseconds) { SetTimer(static_cast<UINT_PTR>(id), milliseconds); }

void CUpdaterDlg::StopTimer(int id) { KillTimer(static_cast<UINT_PTR>(id)); }

bool CUpdaterDlg::ConnectControl(const std::string& host, int port) {
  return m_control != nullptr && m_control->Connect(host.c_str(), port, TRUE) == SocketDone;
}

int CUpdaterDlg::ControlError() { return m_control != nullptr ? m_control->LastError() : 0; }

bool CUpdaterDlg::SendControl(const std::string& command) {
  if (m_control == nullptr) return false;
  // The text lives until the socket hands it back (code 1 or 2).
  m_sending.push_back(command);
  const std::string& kept = m_sending.back();
  if (m_control->Write(static_cast<int>(kept.size()), kept.data()) == SocketDone) return true;
  m_sending.pop_back();
  return false;
}

bool CUpdaterDlg::ReadControl(std::string& chunk) { return m_control != nullptr && m_control->Read(chunk); }

long CUpdaterDlg::ControlChunksWaiting() { return m_control != nullptr ? m_control->ReadQueueLength() : 0; }

void CUpdaterDlg::CloseControl() {
  if (m_control != nullptr && m_control->IsOpen()) m_control->CloseSocket();
}

bool CUpdaterDlg::LocalAddress(std::string& text) {
  char address[32];
  if (m_control == nullptr || !m_control->GetLocalAddressString(address, sizeof address)) return false;
  text = address;
  return true;
}

bool CUpdaterDlg::OpenListener(int port) {
  if (m_listener == nullptr) return false;
  if (m_listener->IsOpen()) m_listener->CloseSocket();
  return m_listener->CreateServerSocket(port) == SocketDone;
}

bool CUpdaterDlg::AcceptData(std::string& stranger) {
  if (m_listener == nullptr || m_data == nullptr) return true;
  // Without a control connection no address is the server's (0.0.0.0 is nobody's).
  in_addr server = {};
  if (m_control != nullptr) m_control->GetPeerAddress(&server);
  in_addr from = {};
  if (m_listener->Accept(m_data.get(), &server, &from) != SocketRefused) return true;
  stranger = ::inet_ntoa(from);
  return false;
}

bool CUpdaterDlg::ReadData(std::string& chunk) { return m_data != nullptr && m_data->Read(chunk); }

void CUpdaterDlg::CloseData() {
  if (m_data != nullptr && m_data->IsOpen()) m_data->CloseSocket();
}

void CUpdaterDlg::CloseListener() {
  if (m_listener != nullptr && m_listener->IsOpen()) m_listener->CloseSocket();
}

bool CUpdaterDlg::CreateTempDir() {
  // A run that was ended while it worked left its directory here.
  for (const auto& [name, keptBecause] : m_files.RemoveLeftTempDirs()) {
    LogLine(keptBecause == nullptr ? "Removed " + name + ", left by an earlier run" : NotRemoved(name, keptBecause),
            LogGeneral);
  }
  return m_files.CreateTempDir() != FALSE;
}

bool CUpdaterDlg::TempDirCreated() { return m_files.TempDirCreated() != FALSE; }

void CUpdaterDlg::RemoveTempDir() {
  LogLine("Temp Dir removed...", LogGeneral);
  const std::string name = m_files.TempDir();
  if (const char* keptBecause = m_files.RemoveTempDir()) LogLine(NotRemoved(name, keptBecause), LogGeneral);
}

bool CUpdaterDlg::OpenDownload(const std::string& name) {
  CloseDownload();
  m_hDownload = ::CreateFileA(m_files.PathOf(name.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  return m_hDownload != INVALID_HANDLE_VALUE;
}

bool CUpdaterDlg::WriteDownload(const std::string& data) {
  DWORD written = 0;
  return m_hDownload != INVALID_HANDLE_VALUE &&
         ::WriteFile(m_hDownload, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
         written == data.size();
}

void CUpdaterDlg::CloseDownload() {
  if (m_hDownload != INVALID_HANDLE_VALUE) ::CloseHandle(m_hDownload);
  m_hDownload = INVALID_HANDLE_VALUE;
}

unsigned CUpdaterDlg::RunExtractor(const std::string& archive) { return m_files.RunExtractor(archive.c_str()); }

bool CUpdaterDlg::ExtractionFinished() { return m_files.ExtractionFinished() != FALSE; }

bool CUpdaterDlg::ChangeBackground(const std::string& name) {
  return SetBackgroundBitmap(m_files.PathOf(name.c_str()).c_str()) != FALSE;
}

int CUpdaterDlg::CheckUpdateDate() { return m_files.CheckUpdateDate(); }

bool CUpdaterDlg::VerifyExtractedFiles() { return m_files.VerifyExtractedFiles() != FALSE; }

unsigned long long CUpdaterDlg::FreeDiskSpace() {
  ULARGE_INTEGER available;
  if (!::GetDiskFreeSpaceExA(".", &available, nullptr, nullptr)) return ~0ULL;
  return available.QuadPart;
}

void CUpdaterDlg::CloseMainProgram() { ::PostMessageA(m_hMainProgram, WM_UPDATECLOSE, 0, 0); }

bool CUpdaterDlg::MainProgramRunning() { return ::FindWindowA(nullptr, ReaderWindowTitle) != nullptr; }

void CUpdaterDlg::DeleteDownloads() { m_files.DeleteDownloads(); }

bool CUpdaterDlg::CopyUpdateFiles(unsigned long& error) {
  DWORD code = 0;
  const BOOL copied = m_files.CopyUpdateFiles(m_files.TempDir() + "\\..", code);
  error = code;
  return copied != FALSE;
}

void CUpdaterDlg::StoreUpdateDate() { m_files.StoreUpdateDate(); }

unsigned CUpdaterDlg::RestartMainProgram() { return CUpdateFiles::RestartMainProgram(); }
