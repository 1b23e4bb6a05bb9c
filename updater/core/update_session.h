// The FTP session that fetches and installs an update, as one state machine.
// It runs on the updater dialog's thread and never waits: every step is
// started by a posted state, a socket code or a timer, and everything it does
// to the outside world goes through SessionHost, which the dialog implements
// with its sockets, timers and files (and tests with a recording stand-in).
#pragma once

#include <cstdint>
#include <string>

#include "ftp_text.h"
#include "updater_texts.h"

namespace refresh {

// States, posted to the dialog as WM_USER+100 with the state in wParam. The
// names are the ones the log shows.
enum SessionState {
  XFER_MAKE_CONNECTION = 1000,
  XFER_CONNECTION_RESPONSE = 1001,
  XFER_SEND_USER = 1002,
  XFER_USER_RESPONSE = 1003,
  XFER_SEND_PASSWORD = 1004,
  XFER_PASSWORD_RESPONSE = 1005,
  XFER_SEND_BIN = 1006,
  XFER_BIN_RESPONSE = 1007,
  XFER_SEND_CWD = 1008,
  XFER_CWD_RESPONSE = 1009,
  XFER_SEND_LISTIMAGE = 1010,
  XFER_LISTIMAGE_DATACMD = 1011,
  XFER_LISTIMAGE_RESPONSE = 1012,
  XFER_SEND_LISTUPDATES = 1013,
  XFER_LISTUPDATES_DATACMD = 1014,
  XFER_LISTUPDATES_RESPONSE = 1015,
  XFER_SEND_GETIMAGE = 1016,
  XFER_GETIMAGE_DATACMD = 1017,
  XFER_GETIMAGE_RESPONSE = 1018,
  XFER_CHANGE_BITMAP = 1019,
  XFER_SEND_GETUPDATES = 1020,
  XFER_GETUPDATES_DATACMD = 1021,
  XFER_GETUPDATES_RESPONSE = 1022,
  XFER_PROCESS_UPDATE = 1023,
  XFER_INSTALL_UPDATE = 1024,  // not named in the log
};
// The log name of a state, or null.
const char* StateName(int state);

// What the control connection sent last: decides where a reply goes.
enum LastCommand {
  CommandNone = 0,
  CommandConnect = 1001,
  CommandUser = 1002,
  CommandPassword = 1003,
  CommandCwd = 1004,
  CommandType = 1005,
  CommandPort = 1006,
  CommandData = 1007,  // LIST or RETR
  CommandQuit = 1012,
};

enum TransferKind {
  TransferNone = 0,
  TransferListImage = 1008,
  TransferListUpdates = 1009,
  TransferGetImage = 1010,
  TransferGetUpdates = 1011,
};

// The codes a socket posts to its owner (wParam).
enum SocketCode {
  CWINSOCK_DONE_WRITING = 1,
  CWINSOCK_ERROR_WRITING = 2,
  CWINSOCK_DONE_READING = 3,
  CWINSOCK_ERROR_READING = 4,
  CWINSOCK_READY_TO_ACCEPT_CONNECTION = 5,
  CWINSOCK_YOU_ARE_CONNECTED = 6,
  CWINSOCK_LOST_CONNECTION = 7,
  CWINSOCK_CONNECTION_TIMEOUT = 8,
};
// "CWINSOCK_DONE_WRITING" ..., or "UNKNOWN".
const char* SocketCodeName(int code);

// Timers of the dialog window.
enum SessionTimer {
  TimerStartSession = 1,   // 500 ms after creation
  TimerTransfer = 2,       // 60 s without data on the data connection
  TimerExtraction = 3,     // 1000 ms: has the extractor ended?
  TimerReaderClosed = 4,   // 1000 ms: is the reader's window gone?
  TimerDeferredReply = 5,  // 500 ms: a reply that came while the data connection was up
  TimerSendUser = 6,       // 60 s command time-outs, 6 to 11
  TimerSendPassword = 7,
  TimerSendCwd = 8,
  TimerSendListImage = 9,
  TimerSendListUpdates = 10,
  TimerSendBin = 11,
  TimerSendGet = 12,  // 60 s for a download's PORT and RETR, until its data connection is up
};

// A transfer whose data connection the server cannot open (425) is tried
// this many times in all before the session stops.
constexpr int MaxDataAttempts = 3;

// Everything the session does outside itself.
class SessionHost {
 public:
  virtual ~SessionHost() = default;

  // The dialog.
  virtual void PostState(int state) = 0;
  // Posts a socket code to the control connection's handler again.
  virtual void PostControlCode(int code, long lParam) = 0;
  virtual void SetStatus(const std::string& text) = 0;
  virtual void SetProgress(long value) = 0;
  virtual void SetProgressRange(long maximum) = 0;
  virtual void LogLine(const std::string& text, int level) = 0;
  // The one-shot fatal error: message box, log, temporary directory removed, quit.
  virtual void SeriousError(const std::string& message) = 0;
  // "Update Already Installed": true for OK.
  virtual bool AskReinstall() = 0;
  virtual void Quit() = 0;
  virtual void StartTimer(int id, unsigned milliseconds) = 0;
  virtual void StopTimer(int id) = 0;

  // The control connection. ConnectControl is false when the attempt cannot
  // start (ControlError then tells the WinSock error).
  virtual bool ConnectControl(const std::string& host, int port) = 0;
  virtual int ControlError() = 0;
  virtual bool SendControl(const std::string& command) = 0;
  // The next received chunk; false when none waits.
  virtual bool ReadControl(std::string& chunk) = 0;
  virtual long ControlChunksWaiting() = 0;
  virtual void CloseControl() = 0;
  // The control connection's local address as "%d,%d,%d,%d".
  virtual bool LocalAddress(std::string& text) = 0;

  // The data listener and the data connection.
  virtual bool OpenListener(int port) = 0;
  // Takes the waiting connection as the data connection when it comes from
  // the update server (the control connection's peer). One from any other
  // address is closed at once: false, with that address in `stranger`.
  virtual bool AcceptData(std::string& stranger) = 0;
  virtual bool ReadData(std::string& chunk) = 0;
  virtual void CloseData() = 0;
  virtual void CloseListener() = 0;

  // Files of the update (all in the temporary directory).
  virtual bool CreateTempDir() = 0;
  virtual bool TempDirCreated() = 0;
  virtual void RemoveTempDir() = 0;
  virtual bool OpenDownload(const std::string& name) = 0;
  virtual bool WriteDownload(const std::string& data) = 0;
  virtual void CloseDownload() = 0;
  // Starts the extractor on an archive; the result of starting it (32 or
  // more: started).
  virtual unsigned RunExtractor(const std::string& archive) = 0;
  // True once the extractor has ended (its output file has been let go; it
  // is then deleted).
  virtual bool ExtractionFinished() = 0;
  // Shows a picture of the temporary directory as the background; false
  // when it is not a readable picture.
  virtual bool ChangeBackground(const std::string& name) = 0;
  // 3 the listing cannot be opened, 2 the update is newer than the recorded
  // one, 1 not newer.
  virtual int CheckUpdateDate() = 0;
  virtual bool VerifyExtractedFiles() = 0;

  // How many bytes the disk of the working directory can still take; as
  // many as the type holds when the system cannot tell.
  virtual unsigned long long FreeDiskSpace() = 0;

  // The reader and the installation.
  virtual void CloseMainProgram() = 0;
  virtual bool MainProgramRunning() = 0;
  virtual void DeleteDownloads() = 0;
  // False at the first file that cannot be copied, with the system's error.
  virtual bool CopyUpdateFiles(unsigned long& error) = 0;
  virtual void StoreUpdateDate() = 0;
  // The result of starting the reader (below 32: failed).
  virtual unsigned RestartMainProgram() = 0;
};

// The most a download may bring (an update is a few megabytes). A listing
// line that gives more is refused before the transfer, and a download of
// unknown size stops past it; one whose size is listed must bring exactly
// that many bytes.
constexpr long MaxDownload = 64L * 1024 * 1024;

// Where the session connects: the update server, or in tests a local one.
struct UpdateServer {
  std::string host = UpdateServerHost;
  int port = ControlPort;
  // How long, in milliseconds, a command's reply or a transfer's data may
  // keep the session waiting (tests of a server that never answers shorten it).
  unsigned timeout = 60000;
  // The most a download may bring (tests lower it).
  long maxDownload = MaxDownload;
};

class UpdateSession {
 public:
  // firstDataPort: the port before the first listener's.
  UpdateSession(SessionHost& host, UpdateServer server, int firstDataPort);

  void OnMainControl(int state);
  void OnControlSocket(int code, long lParam);
  void OnListenerSocket(int code);
  void OnDataSocket(int code);
  void OnTimer(int id);

  // After a fatal error or Cancel nothing further runs.
  void Stop() { stopped_ = true; }
  bool Stopped() const { return stopped_; }
  // Cancel: the download stops being written.
  void Cancel();

  // While an archive whose size is unknown is being downloaded the progress
  // bar is not drawn.
  bool DownloadSizeUnknown() const;
  bool Writing() const { return writing_; }
  int DataPort() const { return dataPort_; }
  std::int64_t ImageSize() const { return imageLine_.size; }
  std::int64_t UpdatesSize() const { return updatesLine_.size; }

 private:
  void Fail(const std::string& message);
  void Log(const std::string& text, int level) { host_.LogLine(text, level); }
  void Post(int state) { host_.PostState(state); }
  bool Send(const std::string& command);
  // A command of the log-in and set-up: sent, its time-out armed, its reply awaited.
  void SendCommand(LastCommand command, const std::string& text, SessionTimer timer, int reply);
  // That command's reply has come: the next state follows when it is the one awaited.
  void AdvanceOnReply(SessionTimer timer, int reply, int next);
  void StartListing(TransferKind kind, const char* name, int pending);
  void StartDataCommand(bool retrieve, const char* name);
  void StartDownload(TransferKind kind, const char* name, const ListingLine& listed, int pending);
  // False, after stopping the session, when a listed size is too large to
  // count, more than a download may bring or more than the disk can take.
  bool ListedSizeFits(TransferKind kind, const ListingLine& listed);
  void SendPendingDataCommand(const char* what);
  void RunExtractor(const char* archive);
  void ReadListings();
  void Install();
  void OnControlReply();
  void OnReply(const std::string& reply);
  void RouteReply();
  void BeginTransfer(TransferKind kind);
  int CommandTimerOf(int kind) const;
  void OnDataChunk();
  void OnDataClosed();
  bool SizeKnown(int kind) const;

  SessionHost& host_;
  UpdateServer server_;
  int lastCommand_ = CommandNone;
  int expectedReply_ = 0;
  int lastReply_ = 0;
  int pendingState_ = 0;
  int kind_ = TransferNone;
  int dataPort_;
  int dataAttempts_ = 0;  // 425 replies to the current transfer
  ReplyReader replies_;
  std::string pendingCommand_;
  std::string listing_;
  std::string imageListing_;
  std::string updatesListing_;
  ListingLine imageLine_;
  ListingLine updatesLine_;
  bool imageSizeKnown_ = true;
  bool updatesSizeKnown_ = true;
  long bytesReceived_ = 0;
  long bytesExpected_ = 0;
  bool dataConnected_ = false;
  bool writing_ = false;
  int copyRetries_ = 0;
  bool stopped_ = false;
};

}  // namespace refresh
