#include "update_session.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

#include "transfer_log.h"

namespace refresh {

namespace {

constexpr unsigned kPollPeriod = 1000;
constexpr unsigned kReplyDelay = 500;
// The listing text keeps what its buffer held; only its first line is read.
constexpr std::size_t kMaxListing = 3584;
const std::string kDashes(36, '-');

std::string Format(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

const char* TimerName(int id) {
  switch (id) {
    case TimerSendUser: return "TIMER_XFER_SEND_USER";
    case TimerSendPassword: return "TIMER_XFER_SEND_PASSWORD";
    case TimerSendCwd: return "TIMER_XFER_SEND_CWD";
    case TimerSendListImage: return "TIMER_XFER_SEND_LISTIMAGE";
    case TimerSendListUpdates: return "TIMER_XFER_SEND_LISTUPDATES";
    case TimerSendBin: return "TIMER_XFER_SEND_BIN";
    case TimerSendGet: return "TIMER_XFER_SEND_GET";
    default: return "";
  }
}

// The state that starts a transfer of this kind again.
int SendStateOf(int kind) {
  switch (kind) {
    case TransferListImage: return XFER_SEND_LISTIMAGE;
    case TransferListUpdates: return XFER_SEND_LISTUPDATES;
    case TransferGetImage: return XFER_SEND_GETIMAGE;
    case TransferGetUpdates: return XFER_SEND_GETUPDATES;
    default: return 0;
  }
}

}  // namespace

const char* StateName(int state) {
  static const char* const kNames[] = {
      "XFER_MAKE_CONNECTION",
      "XFER_CONNECTION_RESPONSE",
      "XFER_SEND_USER",
      "XFER_USER_RESPONSE",
      "XFER_SEND_PASSWORD",
      "XFER_PASSWORD_RESPONSE",
      "XFER_SEND_BIN",
      "XFER_BIN_RESPONSE",
      "XFER_SEND_CWD",
      "XFER_CWD_RESPONSE",
      "XFER_SEND_LISTIMAGE",
      "XFER_LISTIMAGE_DATACMD",
      "XFER_LISTIMAGE_RESPONSE",
      "XFER_SEND_LISTUPDATES",
      "XFER_LISTUPDATES_DATACMD",
      "XFER_LISTUPDATES_RESPONSE",
      "XFER_SEND_GETIMAGE",
      "XFER_GETIMAGE_DATACMD",
      "XFER_GETIMAGE_RESPONSE",
      "XFER_CHANGE_BITMAP",
      "XFER_SEND_GETUPDATES",
      "XFER_GETUPDATES_DATACMD",
      "XFER_GETUPDATES_RESPONSE",
      "XFER_PROCESS_UPDATE",
  };
  if (state < XFER_MAKE_CONNECTION || state > XFER_PROCESS_UPDATE) return nullptr;
  return kNames[state - XFER_MAKE_CONNECTION];
}

const char* SocketCodeName(int code) {
  static const char* const kNames[] = {
      "CWINSOCK_DONE_WRITING",
      "CWINSOCK_ERROR_WRITING",
      "CWINSOCK_DONE_READING",
      "CWINSOCK_ERROR_READING",
      "CWINSOCK_READY_TO_ACCEPT_CONNECTION",
      "CWINSOCK_YOU_ARE_CONNECTED",
      "CWINSOCK_LOST_CONNECTION",
      "CWINSOCK_CONNECTION_TIMEOUT",
  };
  if (code < CWINSOCK_DONE_WRITING || code > CWINSOCK_CONNECTION_TIMEOUT) return "UNKNOWN";
  return kNames[code - 1];
}

UpdateSession::UpdateSession(SessionHost& host, UpdateServer server, int firstDataPort)
    : host_(host), server_(std::move(server)), dataPort_(firstDataPort) {}

void UpdateSession::Fail(const std::string& message) {
  if (stopped_) return;
  stopped_ = true;
  // An open download could not be removed with the temporary directory.
  if (writing_) {
    writing_ = false;
    host_.CloseDownload();
  }
  host_.SeriousError(message);
}

void UpdateSession::Cancel() {
  writing_ = false;
  stopped_ = true;
}

bool UpdateSession::Send(const std::string& command) {
  if (host_.SendControl(command)) return true;
  Fail(CommunicationsMessage);
  return false;
}

bool UpdateSession::SizeKnown(int kind) const {
  return kind == TransferGetImage ? imageSizeKnown_ : kind == TransferGetUpdates ? updatesSizeKnown_ : true;
}

bool UpdateSession::DownloadSizeUnknown() const { return writing_ && !SizeKnown(kind_); }

// ---- states

void UpdateSession::OnMainControl(int state) {
  if (stopped_) return;
  if (const char* name = StateName(state)) Log(name, LogMainControl);
  switch (state) {
    case XFER_MAKE_CONNECTION:
      lastCommand_ = CommandConnect;
      host_.SetStatus("Connecting to " + server_.host);
      if (!host_.ConnectControl(server_.host, server_.port)) {
        host_.CloseControl();
        Log("Could not initiate connection attempt", LogGeneral);
        Log(Format("connection error: %d", host_.ControlError()), LogGeneral);
        Fail(CannotConnectMessage);
        return;
      }
      expectedReply_ = 220;
      break;
    case XFER_CONNECTION_RESPONSE:
      if (lastReply_ == 220) {
        host_.SetStatus("Connected");
        expectedReply_ = 0;
        Post(XFER_SEND_USER);
      }
      break;
    case XFER_SEND_USER:
      host_.SetStatus("Logging in");
      SendCommand(CommandUser, Format("USER %s\r\n", ServerUser), TimerSendUser, 331);
      break;
    case XFER_USER_RESPONSE: AdvanceOnReply(TimerSendUser, 331, XFER_SEND_PASSWORD); break;
    case XFER_SEND_PASSWORD:
      SendCommand(CommandPassword, Format("PASS %s\r\n", ServerPassword), TimerSendPassword, 230);
      break;
    case XFER_PASSWORD_RESPONSE: AdvanceOnReply(TimerSendPassword, 230, XFER_SEND_CWD); break;
    case XFER_SEND_CWD: SendCommand(CommandCwd, Format("CWD %s\r\n", ServerDirectory), TimerSendCwd, 250); break;
    case XFER_CWD_RESPONSE: AdvanceOnReply(TimerSendCwd, 250, XFER_SEND_LISTIMAGE); break;
    case XFER_SEND_LISTIMAGE: StartListing(TransferListImage, ImageArchive, XFER_LISTIMAGE_DATACMD); break;
    case XFER_LISTIMAGE_DATACMD: SendPendingDataCommand("list"); break;
    case XFER_LISTIMAGE_RESPONSE:
      host_.StopTimer(TimerSendListImage);
      expectedReply_ = 0;
      Post(XFER_SEND_LISTUPDATES);
      break;
    case XFER_SEND_LISTUPDATES: StartListing(TransferListUpdates, UpdatesArchive, XFER_LISTUPDATES_DATACMD); break;
    case XFER_LISTUPDATES_DATACMD: SendPendingDataCommand("list"); break;
    case XFER_LISTUPDATES_RESPONSE:
      host_.StopTimer(TimerSendListUpdates);
      ReadListings();
      Post(XFER_SEND_BIN);
      break;
    case XFER_SEND_BIN: SendCommand(CommandType, "TYPE I\r\n", TimerSendBin, 200); break;
    case XFER_BIN_RESPONSE: AdvanceOnReply(TimerSendBin, 200, XFER_SEND_GETIMAGE); break;
    case XFER_SEND_GETIMAGE: StartDownload(TransferGetImage, ImageArchive, imageLine_, XFER_GETIMAGE_DATACMD); break;
    case XFER_GETIMAGE_DATACMD: SendPendingDataCommand("get"); break;
    case XFER_GETIMAGE_RESPONSE:
      host_.SetProgress(0);
      host_.SetStatus("Checking status of updates");
      pendingState_ = XFER_CHANGE_BITMAP;
      expectedReply_ = 0;
      RunExtractor(ImageArchive);
      break;
    case XFER_CHANGE_BITMAP:
      if (!host_.ChangeBackground(UpdatePicture)) {
        Fail(CorruptPictureMessage);
        return;
      }
      switch (host_.CheckUpdateDate()) {
        case 3: Fail(InvalidListingMessage); break;
        case 2: Post(XFER_SEND_GETUPDATES); break;
        default:
          if (host_.AskReinstall()) {
            Post(XFER_SEND_GETUPDATES);
          } else {
            if (host_.TempDirCreated()) host_.RemoveTempDir();
            stopped_ = true;
            host_.Quit();
          }
          break;
      }
      break;
    case XFER_SEND_GETUPDATES:
      StartDownload(TransferGetUpdates, UpdatesArchive, updatesLine_, XFER_GETUPDATES_DATACMD);
      break;
    case XFER_GETUPDATES_DATACMD: SendPendingDataCommand("get"); break;
    case XFER_GETUPDATES_RESPONSE:
      lastCommand_ = CommandQuit;
      host_.SendControl("QUIT\r\n");  // the archives are here: a lost QUIT changes nothing
      pendingState_ = XFER_PROCESS_UPDATE;
      expectedReply_ = 0;
      RunExtractor(UpdatesArchive);
      break;
    case XFER_PROCESS_UPDATE:
      if (!host_.VerifyExtractedFiles()) {
        Fail(CorruptFilesMessage);
        return;
      }
      host_.SetStatus("Closing Encyclopedia...");
      copyRetries_ = 0;
      host_.CloseMainProgram();
      host_.StartTimer(TimerReaderClosed, kPollPeriod);
      break;
    case XFER_INSTALL_UPDATE: Install(); break;
    default: break;
  }
}

void UpdateSession::SendCommand(LastCommand command, const std::string& text, SessionTimer timer, int reply) {
  lastCommand_ = command;
  if (!Send(text)) return;
  host_.StartTimer(timer, server_.timeout);
  expectedReply_ = reply;
}

void UpdateSession::AdvanceOnReply(SessionTimer timer, int reply, int next) {
  host_.StopTimer(timer);
  if (lastReply_ != reply) return;
  expectedReply_ = 0;
  Post(next);
}

void UpdateSession::StartListing(TransferKind kind, const char* name, int pending) {
  BeginTransfer(kind);
  pendingState_ = pending;
  StartDataCommand(false, name);
  expectedReply_ = 200;
}

void UpdateSession::StartDownload(TransferKind kind, const char* name, const ListingLine& listed, int pending) {
  if (!ListedSizeFits(kind, listed)) return;
  // Held to the ceiling by now (or unknown, 0), the size fits a long.
  const long size = static_cast<long>(listed.size);
  // Both archives go into the one temporary directory, made before the first.
  if (!host_.TempDirCreated()) host_.CreateTempDir();
  bytesExpected_ = size;
  bytesReceived_ = 0;
  BeginTransfer(kind);
  pendingState_ = pending;
  host_.SetProgressRange(size);
  StartDataCommand(true, name);
  expectedReply_ = 200;
}

// The listing line comes from the same server as the download: a size in it
// that no update has, or that the disk cannot hold, is refused before a byte
// is asked for, with the error the transfer itself would end with.
bool UpdateSession::ListedSizeFits(TransferKind kind, const ListingLine& listed) {
  if (!SizeKnown(kind)) return true;  // the ceiling stops it on the way
  const long long size = listed.size;
  if (listed.tooLarge || size > server_.maxDownload) {
    Log(Format(listed.tooLarge ? "Listed size above %lld is more than %ld bytes"
                               : "Listed size %lld is more than %ld bytes",
               size, server_.maxDownload),
        LogGeneral);
    Fail(CorruptFilesMessage);
    return false;
  }
  const unsigned long long room = host_.FreeDiskSpace();
  if (static_cast<unsigned long long>(size) > room) {
    Log(Format("Listed size %lld is more than the %llu bytes the disk can take", size, room), LogGeneral);
    Fail(WriteFailedMessage);
    return false;
  }
  return true;
}

void UpdateSession::BeginTransfer(TransferKind kind) {
  if (kind != kind_) dataAttempts_ = 0;
  kind_ = kind;
}

// The command time-out of a transfer runs from its PORT until the reply to
// its LIST, or for a download until its data connection is up (from then on
// the transfer time-out watches it).
int UpdateSession::CommandTimerOf(int kind) const {
  switch (kind) {
    case TransferListImage: return TimerSendListImage;
    case TransferListUpdates: return TimerSendListUpdates;
    default: return TimerSendGet;
  }
}

void UpdateSession::StartDataCommand(bool retrieve, const char* name) {
  listing_.clear();
  pendingCommand_ = Format(retrieve ? "RETR %s\r\n" : "LIST %s\r\n", name);
  if (retrieve) {
    // Without the temporary directory the download would land elsewhere.
    if (!host_.TempDirCreated() || !host_.OpenDownload(name)) {
      Fail(SaveFailedMessage);
      return;
    }
    writing_ = true;
  }
  dataPort_ = NextDataPort(dataPort_);
  std::string address;
  if (!host_.OpenListener(dataPort_) || !host_.LocalAddress(address)) {
    host_.CloseListener();
    Fail(CommunicationsMessage);
    return;
  }
  if (!Send("PORT " + address + "," + PortText(dataPort_) + "\r\n")) return;
  lastCommand_ = CommandPort;
  host_.StartTimer(CommandTimerOf(kind_), server_.timeout);
}

void UpdateSession::SendPendingDataCommand(const char* what) {
  if (lastReply_ != 200) return;
  Log(std::string("sending data command to ftp server, ") + what, LogMainControl);
  expectedReply_ = 0;
  if (!Send(pendingCommand_)) return;
  host_.StartTimer(CommandTimerOf(kind_), server_.timeout);
}

void UpdateSession::ReadListings() {
  imageLine_ = ParseListingLine(imageListing_);
  updatesLine_ = ParseListingLine(updatesListing_);
  // A size too large to count is INT64_MAX, known: the download refuses it.
  if (imageLine_.size == 0) imageSizeKnown_ = false;
  if (updatesLine_.size == 0) updatesSizeKnown_ = false;
}

void UpdateSession::RunExtractor(const char* archive) {
  const unsigned result = host_.RunExtractor(archive);
  if (result >= 32) {
    host_.StartTimer(TimerExtraction, kPollPeriod);
    return;
  }
  Log(Format("extracting: %d", static_cast<int>(result)), LogGeneral);
  Fail(result == 8 ? std::string(ExtractMemoryMessage)
                   : Format("Error %d: %s", static_cast<int>(result), ExtractFailedMessage));
}

void UpdateSession::Install() {
  host_.DeleteDownloads();
  host_.SetStatus("Updating Encyclopedia articles...");
  unsigned long error = 0;
  if (host_.CopyUpdateFiles(error)) {
    host_.RemoveTempDir();
    host_.StoreUpdateDate();
    host_.SetStatus("Restarting Encyclopedia...");
    if (host_.RestartMainProgram() < 32) {
      Fail(RestartFailedMessage);
      return;
    }
    stopped_ = true;
    host_.Quit();
    return;
  }
  // Three attempts in all, each after the reader is seen gone again.
  if (copyRetries_++ < 2) {
    host_.StartTimer(TimerReaderClosed, kPollPeriod);
    return;
  }
  Fail(Format("Error %lu: %s", error, CopyFailedMessage));
}

// ---- the control connection

void UpdateSession::OnControlSocket(int code, long) {
  if (stopped_) return;
  Log(std::string("Control: ") + SocketCodeName(code), LogControlSocket);
  switch (code) {
    case CWINSOCK_ERROR_WRITING:
    case CWINSOCK_ERROR_READING: Fail(Format(NetworkErrorFormat, "Control", code)); break;
    case CWINSOCK_DONE_READING: OnControlReply(); break;
    case CWINSOCK_LOST_CONNECTION:
      Log(Format("Status: %d", lastCommand_), LogGeneral);
      if (lastCommand_ != CommandQuit) Fail(ConnectionLostMessage);
      break;
    case CWINSOCK_CONNECTION_TIMEOUT: Fail(ConnectTimeoutMessage); break;
    default: break;
  }
}

void UpdateSession::OnControlReply() {
  // A reply that comes while data flows waits until the data connection has closed.
  if (dataConnected_) {
    host_.StartTimer(TimerDeferredReply, kReplyDelay);
    return;
  }
  // A reply may come in pieces, or several in one chunk: each whole reply is
  // handled once, and a piece waits for the rest.
  std::string chunk;
  if (host_.ReadControl(chunk)) replies_.Add(chunk);
  std::string reply;
  if (!replies_.Next(reply)) return;
  OnReply(reply);
  // The next reply waits until what this one posted has run.
  if (!stopped_ && replies_.HasReply()) host_.PostControlCode(CWINSOCK_DONE_READING, 0);
}

void UpdateSession::OnReply(const std::string& reply) {
  Log(kDashes, LogServerResponse);
  Log(reply, LogServerResponse);
  Log(kDashes, LogServerResponse);
  const int previous = lastReply_;
  lastReply_ = ParseReplyCode(reply, expectedReply_);
  Log(Format("Prev: %d, New: %d", previous, lastReply_), LogGeneral);

  if (lastReply_ == 226) return;  // the end of a transfer is taken from the data connection
  if (lastReply_ == 550 || lastReply_ == 450) {
    Fail(NotFoundMessage);
    return;
  }
  if (expectedReply_ != 0 && lastReply_ != expectedReply_) {
    Log(Format("Did not receive expected response. Expected: %d Received: %d", expectedReply_, lastReply_), LogGeneral);
    // A refusal (4xx, 5xx) will not turn into the expected reply: stop now
    // rather than wait for a time-out that some commands do not have.
    if (lastReply_ >= 400) Fail(CommunicationsMessage);
    return;
  }
  RouteReply();
}

void UpdateSession::RouteReply() {
  switch (lastCommand_) {
    case CommandConnect: Post(XFER_CONNECTION_RESPONSE); break;
    case CommandUser: Post(XFER_USER_RESPONSE); break;
    case CommandPassword: Post(XFER_PASSWORD_RESPONSE); break;
    case CommandCwd: Post(XFER_CWD_RESPONSE); break;
    case CommandType: Post(XFER_BIN_RESPONSE); break;
    case CommandPort:
      if (lastReply_ == 200) {
        lastCommand_ = CommandData;
        Post(pendingState_);
      }
      break;
    case CommandData:
      if (lastReply_ == 425) {
        Log("Data connection not initialized. Try again.", LogControlSocket);
        lastCommand_ = CommandNone;
        host_.CloseData();
        host_.CloseListener();
        if (++dataAttempts_ >= MaxDataAttempts) {
          Log(Format("No data connection after %d attempts", dataAttempts_), LogGeneral);
          Fail(CommunicationsMessage);
          return;
        }
        Post(SendStateOf(kind_));
      } else if (lastReply_ >= 400) {
        // Refused for another reason (not logged in, a local error of the
        // server): nothing will come on the data connection.
        host_.CloseData();
        host_.CloseListener();
        Fail(CommunicationsMessage);
      }
      break;
    default: break;
  }
}

// ---- the data connection and its listener

void UpdateSession::OnListenerSocket(int code) {
  if (stopped_) return;
  Log(std::string("Server: ") + SocketCodeName(code), LogServerSocket);
  switch (code) {
    case CWINSOCK_READY_TO_ACCEPT_CONNECTION: {
      // Any host can reach the listener, and what comes in is installed and
      // run: a stranger is turned away, and the wait for the server goes on
      // under the time-out already running.
      std::string stranger;
      if (!host_.AcceptData(stranger)) Log("Server: refused a connection from " + stranger, LogServerSocket);
      break;
    }
    case CWINSOCK_ERROR_WRITING: Fail(Format(NetworkErrorFormat, "Server", code)); break;
    case CWINSOCK_ERROR_READING: Log(Format(NetworkErrorFormat, "Server", code), LogGeneral); break;
    default: break;
  }
}

void UpdateSession::OnDataSocket(int code) {
  if (stopped_) return;
  Log(std::string("Data: ") + SocketCodeName(code), LogDataSocket);
  switch (code) {
    case CWINSOCK_YOU_ARE_CONNECTED:
      dataConnected_ = true;
      if (kind_ == TransferGetImage || kind_ == TransferGetUpdates) host_.StopTimer(TimerSendGet);
      host_.StartTimer(TimerTransfer, server_.timeout);
      break;
    case CWINSOCK_DONE_READING: OnDataChunk(); break;
    case CWINSOCK_LOST_CONNECTION: OnDataClosed(); break;
    case CWINSOCK_ERROR_WRITING:
    case CWINSOCK_ERROR_READING: Fail(Format(NetworkErrorFormat, "Data", code)); break;
    default: break;
  }
}

void UpdateSession::OnDataChunk() {
  host_.StartTimer(TimerTransfer, server_.timeout);
  std::string chunk;
  if (!host_.ReadData(chunk)) return;
  if (kind_ == TransferListImage || kind_ == TransferListUpdates) {
    Log("getting list", LogGeneral);
    if (listing_.size() < kMaxListing) listing_.append(chunk, 0, kMaxListing - listing_.size());
    return;
  }
  // A download never brings more than it was told: its listed size, or the
  // ceiling where the listing gives none. What runs past is not written.
  const long limit = SizeKnown(kind_) ? bytesExpected_ : server_.maxDownload;
  if (static_cast<long>(chunk.size()) > limit - bytesReceived_) {
    Log(Format("More than %ld bytes received", limit), LogGeneral);
    host_.CloseData();
    host_.CloseListener();
    Fail(CorruptFilesMessage);
    return;
  }
  if (writing_ && !host_.WriteDownload(chunk)) {
    host_.CloseControl();
    host_.CloseData();
    Fail(WriteFailedMessage);
    return;
  }
  bytesReceived_ += static_cast<long>(chunk.size());
  if (!SizeKnown(kind_)) {
    host_.SetStatus(Format("%ld bytes received.", bytesReceived_));
  } else {
    host_.SetProgress(bytesReceived_);
    host_.SetStatus(Format("%ld of %ld bytes received.", bytesReceived_, bytesExpected_));
  }
}

void UpdateSession::OnDataClosed() {
  dataConnected_ = false;
  host_.StopTimer(TimerTransfer);
  switch (kind_) {
    case TransferListImage:
      imageListing_ = listing_;
      Post(XFER_LISTIMAGE_RESPONSE);
      break;
    case TransferListUpdates:
      updatesListing_ = listing_;
      Post(XFER_LISTUPDATES_RESPONSE);
      break;
    case TransferGetImage:
    case TransferGetUpdates:
      host_.CloseDownload();
      writing_ = false;
      // A connection that ends early must not hand a cut archive to the extractor.
      if (SizeKnown(kind_) && bytesReceived_ != bytesExpected_) {
        Log(Format("Received %ld of %ld bytes", bytesReceived_, bytesExpected_), LogGeneral);
        host_.CloseData();
        host_.CloseListener();
        Fail(CorruptFilesMessage);
        return;
      }
      if (kind_ == TransferGetUpdates) host_.SetStatus("Transfer complete");
      Post(kind_ == TransferGetImage ? XFER_GETIMAGE_RESPONSE : XFER_GETUPDATES_RESPONSE);
      break;
    default: break;
  }
  host_.CloseData();
  host_.CloseListener();
}

// ---- timers

void UpdateSession::OnTimer(int id) {
  if (stopped_) return;
  switch (id) {
    case TimerStartSession:
      host_.StopTimer(TimerStartSession);
      Log("Starting main control", LogTimer);
      Post(XFER_MAKE_CONNECTION);
      break;
    case TimerTransfer:
      host_.StopTimer(TimerTransfer);
      Log("Timeout during transfer", LogTimer);
      host_.CloseData();
      Fail(TransferTimeoutMessage);
      break;
    case TimerExtraction:
      Log("Checking if extraction is complete", LogTimer);
      if (host_.ExtractionFinished()) {
        host_.StopTimer(TimerExtraction);
        Post(pendingState_);
      }
      break;
    case TimerReaderClosed:
      if (host_.MainProgramRunning()) {
        Log("Check to see if veldrix has closed", LogTimer);
      } else {
        host_.StopTimer(TimerReaderClosed);
        Post(XFER_INSTALL_UPDATE);
      }
      break;
    case TimerDeferredReply: {
      Log("TIMER_XFER_SEND_USER", LogTimer);
      host_.StopTimer(TimerDeferredReply);
      // One read for every reply that waited, so none is left behind.
      const long waiting = host_.ControlChunksWaiting();
      for (long i = 0; i < (waiting > 0 ? waiting : 1); ++i) host_.PostControlCode(CWINSOCK_DONE_READING, waiting);
      break;
    }
    case TimerSendUser:
    case TimerSendPassword:
    case TimerSendCwd:
    case TimerSendListImage:
    case TimerSendListUpdates:
    case TimerSendBin:
    case TimerSendGet:
      Log(TimerName(id), LogTimer);
      host_.StopTimer(id);
      Log("command timeout", LogTimer);
      host_.CloseData();
      host_.CloseControl();
      Fail(CommandTimeoutMessage);
      break;
    default: break;
  }
}

}  // namespace refresh
