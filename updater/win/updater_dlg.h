// The updater's one window: a picture with a status line, a progress bar and
// a Cancel button, while the session (refresh::UpdateSession) downloads,
// checks and installs the update. The dialog is the session's host: it owns
// the sockets, the timers, the files and the transfer log.
#pragma once

#include <winsock.h>

#include <list>
#include <memory>
#include <string>

#include "bitmap_file.h"
#include "framework.h"
#include "single_run.h"
#include "socket_window.h"
#include "transfer_log.h"
#include "update_files.h"
#include "update_session.h"

// Messages of the session and of its three sockets.
constexpr UINT WM_XFER_STATE = WM_USER + 100;      // wParam: the state
constexpr UINT WM_CONTROL_SOCKET = WM_USER + 101;  // wParam: a CWINSOCK_ code
constexpr UINT WM_LISTENER_SOCKET = WM_USER + 102;
constexpr UINT WM_DATA_SOCKET = WM_USER + 103;

// The transfer log "Xferlog.txt", open from the dialog's construction until
// Cancel, the dialog's end or the program's exit.
refresh::TransferLog& TransferLogFile();

class CUpdaterDlg : public CDialog, public refresh::SessionHost {
 public:
  explicit CUpdaterDlg(refresh::UpdateServer server = {}, CWnd* pParent = nullptr);
  ~CUpdaterDlg() override;

  void SetStatus(const std::string& text) override;
  void SetProgress(long value) override;
  void SetProgressRange(long maximum) override;
  void LogLine(const std::string& text, int level) override;
  // The one fatal-error path: the first call logs the message, removes the
  // temporary directory, shows the message and ends the program; later calls
  // do nothing.
  void SeriousError(const std::string& message) override;
  // Loads a BMP file as the new background; a file that is not a readable
  // picture is a fatal error (FALSE).
  BOOL SetBackgroundBitmap(const char* path);
  // Looks for the reader's main window; without it the updater cannot run.
  BOOL FindMainProgram();

  const CRect& StatusRect() const { return m_statusRect; }
  const CRect& ProgressRect() const { return m_progressRect; }
  CButton& CancelButton() { return m_cancel; }
  refresh::UpdateSession& Session() { return m_session; }
  CUpdateFiles& Files() { return m_files; }

  // The session's host.
  void PostState(int state) override;
  void PostControlCode(int code, long lParam) override;
  bool AskReinstall() override;
  void Quit() override;
  void StartTimer(int id, unsigned milliseconds) override;
  void StopTimer(int id) override;
  bool ConnectControl(const std::string& host, int port) override;
  int ControlError() override;
  bool SendControl(const std::string& command) override;
  bool ReadControl(std::string& chunk) override;
  long ControlChunksWaiting() override;
  void CloseControl() override;
  bool LocalAddress(std::string& text) override;
  bool OpenListener(int port) override;
  bool AcceptData(std::string& stranger) override;
  bool ReadData(std::string& chunk) override;
  void CloseData() override;
  void CloseListener() override;
  bool CreateTempDir() override;
  bool TempDirCreated() override;
  void RemoveTempDir() override;
  bool OpenDownload(const std::string& name) override;
  bool WriteDownload(const std::string& data) override;
  void CloseDownload() override;
  unsigned RunExtractor(const std::string& archive) override;
  bool ExtractionFinished() override;
  bool ChangeBackground(const std::string& name) override;
  int CheckUpdateDate() override;
  bool VerifyExtractedFiles() override;
  unsigned long long FreeDiskSpace() override;
  void CloseMainProgram() override;
  bool MainProgramRunning() override;
  void DeleteDownloads() override;
  bool CopyUpdateFiles(unsigned long& error) override;
  void StoreUpdateDate() override;
  unsigned RestartMainProgram() override;

 protected:
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  void OnDestroy();
  void OnPaint();
  void OnTimer(UINT nIDEvent);
  void OnCancel() override;
  LRESULT OnMainControl(WPARAM wParam, LPARAM lParam);
  LRESULT OnControlSocket(WPARAM wParam, LPARAM lParam);
  LRESULT OnListenerSocket(WPARAM wParam, LPARAM lParam);
  LRESULT OnDataSocket(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  static int ChooseDataPortStart();
  // Makes the palette (from a colour table) and the device-dependent picture
  // of a checked DIB, and lays the window out around it.
  BOOL UseBackground(const unsigned char* data, const refresh::DibLayout& layout);
  void Layout();
  void DrawProgress(CDC& dc);
  void DrawStatus(CDC& dc);
  void CloseSockets();

  CSingleRun m_run;  // taken before anything else, the log included
  HICON m_hIcon = nullptr;
  DWORD m_dwStartTick;
  CWinsockInit m_winsock;
  std::unique_ptr<CSocketWindow> m_control;
  std::unique_ptr<CSocketWindow> m_listener;
  std::unique_ptr<CSocketWindow> m_data;
  std::list<std::string> m_sending;  // commands the control socket has not handed back
  CButton m_cancel;
  CBitmap m_background;
  CBitmap m_progressFrame;
  CBitmap m_progressFill;
  CPalette m_palette;
  BOOL m_bPaletteInUse = FALSE;
  std::string m_status;
  long m_nProgress = 0;
  long m_nProgressMax = 0;
  CRect m_statusRect;
  CRect m_progressRect;
  int m_nBitmapWidth = 0;
  int m_nBitmapHeight = 0;
  HWND m_hMainProgram = nullptr;
  CUpdateFiles m_files;
  HANDLE m_hDownload = INVALID_HANDLE_VALUE;
  BOOL m_bSeriousError = FALSE;
  refresh::UpdateSession m_session;
};
