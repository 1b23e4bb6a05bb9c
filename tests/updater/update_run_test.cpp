// Whole runs of the updater against a local FTP server: the session through
// real sockets, the archives extracted through the command interpreter's
// stand-in, the reader's window asked to close, the files installed, the
// registry written and the reader started again.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <thread>

#include "ftp_test_server.h"
#include "single_run.h"
#include "ui_harness.h"
#include "updater_dlg.h"
#include "updater_fixture.h"

namespace {

using namespace refresh;

bool watchdogFired = false;

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
  watchdogFired = true;
  ::PostQuitMessage(0);
}

// Every file of a directory and its folders with their contents (a folder
// maps to "<dir>"), except the transfer log, which every run writes.
std::map<std::string, std::string> Snapshot(const std::string& dir, const std::string& prefix = "") {
  std::map<std::string, std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((dir + prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == ".." || (prefix.empty() && name == LogFileName)) continue;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      files[prefix + name] = "<dir>";
      files.merge(Snapshot(dir, prefix + name + "\\"));
    } else {
      files[prefix + name] = ReadWholeFile(dir + prefix + name);
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return files;
}

// A host that is not the update server (127.0.0.2: the whole of 127/8 is
// this machine) racing the server to the data ports. In every round it knocks
// on each port it has not got into yet, all at once, so that a port which
// listens only for a moment (vsftpd connects back at once) is reached even
// when an earlier one was missed; into each it sends that port's bytes and
// hangs up.
class Intruder {
 public:
  explicit Intruder(std::map<int, std::string> visits) : visits_(std::move(visits)) {
    WSADATA data;
    ::WSAStartup(0x0101, &data);
    thread_ = std::thread([this] { Run(); });
  }
  ~Intruder() {
    stop_ = true;
    thread_.join();
    ::WSACleanup();
  }
  int Connections() const { return connections_; }

 private:
  void Run() {
    while (!stop_ && !visits_.empty()) {
      Round();
      ::Sleep(1);
    }
  }
  // Connects to every port left without blocking, and waits a moment for the
  // connections to be taken or refused.
  void Round() {
    std::vector<std::pair<int, SOCKET>> knocks;
    fd_set taken, refused;
    FD_ZERO(&taken);
    FD_ZERO(&refused);
    for (const auto& visit : visits_) {
      const SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
      sockaddr_in self = {}, target = {};
      self.sin_family = target.sin_family = AF_INET;
      self.sin_addr.s_addr = ::inet_addr("127.0.0.2");
      target.sin_addr.s_addr = ::inet_addr("127.0.0.1");
      target.sin_port = ::htons(static_cast<u_short>(visit.first));
      u_long nonBlocking = 1;
      ::ioctlsocket(s, FIONBIO, &nonBlocking);
      if (::bind(s, reinterpret_cast<const sockaddr*>(&self), sizeof self) != 0 ||
          (::connect(s, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0 &&
           ::WSAGetLastError() != WSAEWOULDBLOCK)) {
        ::closesocket(s);
        continue;
      }
      knocks.emplace_back(visit.first, s);
      FD_SET(s, &taken);
      FD_SET(s, &refused);
    }
    timeval wait = {0, 20000};
    if (!knocks.empty()) ::select(0, nullptr, &taken, &refused, &wait);
    for (const auto& [port, s] : knocks) {
      if (FD_ISSET(s, &taken) && !FD_ISSET(s, &refused)) {
        ++connections_;
        Send(s, visits_[port]);
        visits_.erase(port);
      }
      ::closesocket(s);
    }
  }
  // Without blocking: a connection nobody reads must not hold the intruder.
  void Send(SOCKET s, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size() && !stop_) {
      const int n = ::send(s, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
      if (n > 0) {
        sent += static_cast<std::size_t>(n);
      } else if (::WSAGetLastError() == WSAEWOULDBLOCK) {
        ::Sleep(5);
      } else {
        break;  // refused: the connection was cut
      }
    }
  }

  std::map<int, std::string> visits_;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  std::thread thread_;
};

std::string ListingLineOf(const char* name, std::size_t size) {
  return "-rw-r--r--   1 encyuser users    " + std::to_string(size) + " Mar 07 10:00 " + name + "\r\n";
}

// The refusals the transfer log tells of.
int Refusals(const std::string& log) {
  int count = 0;
  const std::string line = "Server: refused a connection from 127.0.0.2 - ";
  for (std::size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++count;
  return count;
}

// The length of a file, 0 when there is none.
unsigned long long FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Notes the updater's temporary directories in the working directory as each
// message box comes up, before it is answered.
class DirsAtEachBox {
 public:
  explicit DirsAtEachBox(const WorkingDir& work) : previous_(AfxGetMessageBoxHook()) {
    work_ = &work;
    answerer_ = previous_;
    seen_.clear();
    AfxSetMessageBoxHook(Box);
  }
  ~DirsAtEachBox() {
    AfxSetMessageBoxHook(previous_);
    work_ = nullptr;
  }
  DirsAtEachBox(const DirsAtEachBox&) = delete;
  DirsAtEachBox& operator=(const DirsAtEachBox&) = delete;
  const std::vector<std::vector<std::string>>& Seen() const { return seen_; }

 private:
  static int Box(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type) {
    if (work_ != nullptr) seen_.push_back(work_->TemporaryDirs());
    return answerer_(owner, text, caption, type);
  }
  static inline const WorkingDir* work_ = nullptr;
  static inline AfxMessageBoxHook answerer_ = nullptr;
  static inline std::vector<std::vector<std::string>> seen_;
  AfxMessageBoxHook previous_;
};

class UpdateRun : public ::testing::Test {
 protected:
  // Runs the updater modally until it ends; a run that hangs is ended after
  // a minute and fails the test.
  INT_PTR Run(int cancelAfter = 0) { return RunAgainst(server->Port(), cancelAfter); }
  INT_PTR RunAgainst(int port, int cancelAfter = 0) {
    CUpdaterDlg dialog(UpdateServer{"127.0.0.1", port, timeout_, ceiling_});
    // The intruder knows the ports: they follow one another from the start.
    std::unique_ptr<Intruder> intruder;
    if (!forgery_.empty()) {
      std::map<int, std::string> visits;
      int dataPort = dialog.Session().DataPort();
      for (const std::string& bytes : forgery_) visits[dataPort = NextDataPort(dataPort)] = bytes;
      intruder = std::make_unique<Intruder>(std::move(visits));
    }
    watchdogFired = false;
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 60000, Watchdog);
    if (cancelAfter > 0) cancel_ = ::SetTimer(nullptr, 0, static_cast<UINT>(cancelAfter), PressCancel);
    if (cancelWhen_) cancel_ = ::SetTimer(nullptr, 0, 20, PollCancel);
    dialogWindow_ = &dialog;
    running_ = this;
    const INT_PTR result = dialog.DoModal();
    running_ = nullptr;
    dialogWindow_ = nullptr;
    imageSize_ = dialog.Session().ImageSize();
    updatesSize_ = dialog.Session().UpdatesSize();
    ::KillTimer(nullptr, watchdog);
    ::KillTimer(nullptr, cancel_);
    if (intruder != nullptr) {
      intrusions_ = intruder->Connections();
      intruder.reset();
    }
    ui::PumpUntilIdle(500);
    ui::TakeQuitCount();
    EXPECT_FALSE(watchdogFired) << "the updater did not end by itself";
    return result;
  }
  // From the next run on, an intruder races the server to every data port
  // with an update of its own: the listings and the two archives.
  void Intrude() {
    UpdateContent forged;
    forged.files = {{"REN2F200.DAT", "the encyclopedia, forged"}, {"UPDATES.DAT", std::string(3000, 'f')}};
    TempDir folder;
    forged.WriteArchives(folder);
    const std::string image = ReadWholeFile(folder.File(ImageArchive));
    const std::string updates = ReadWholeFile(folder.File(UpdatesArchive));
    forgery_ = {ListingLineOf(ImageArchive, image.size()), ListingLineOf(UpdatesArchive, updates.size()), image,
                updates};
  }
  void Serve(FtpScript script = {}) {
    content.WriteArchives(served);
    server = std::make_unique<LocalFtpServer>(served.path(), script);
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : boxes.boxes()) texts.push_back(box.text);
    return texts;
  }
  bool Received(const std::string& command) const {
    const auto commands = server->Commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
  }
  // The reader started again leaves its mark; it runs on its own, and a new
  // Wine process can take seconds to start on a busy machine.
  bool ReaderRestarted() const {
    for (int i = 0; i < 600 && !work.Exists("restarted.txt"); ++i) ::Sleep(50);
    return work.Exists("restarted.txt");
  }

  static void CALLBACK PressCancel(HWND, UINT, UINT_PTR, DWORD) {
    ::KillTimer(nullptr, cancel_);
    if (dialogWindow_ != nullptr) dialogWindow_->PostMessage(WM_COMMAND, IDCANCEL);
  }
  static void CALLBACK PollCancel(HWND hwnd, UINT message, UINT_PTR id, DWORD time) {
    if (running_ != nullptr && running_->cancelWhen_()) PressCancel(hwnd, message, id, time);
  }
  // The length of an archive in the updater's temporary directory so far.
  unsigned long long Arrived(const char* archive) const {
    const auto dirs = work.TemporaryDirs();
    return dirs.empty() ? 0 : FileLength(work.File(dirs.front() + "\\" + archive));
  }
  // The server's update went in: no box, its files installed, its date
  // stored, the reader started again.
  void ExpectTheServersUpdateInstalled(const ProductKey& key) {
    EXPECT_TRUE(boxes.boxes().empty()) << (boxes.boxes().empty() ? "" : boxes.boxes()[0].text);
    EXPECT_EQ(ReadWholeFile(work.File("REN2F200.DAT")), "the encyclopedia, updated");
    EXPECT_EQ(ReadWholeFile(work.File("UPDATES.DAT")), std::string(3000, 'u'));
    EXPECT_EQ(key.Get("MostRecentUpdate"), "3/7/1998");
    EXPECT_TRUE(ReaderRestarted());
  }
  // A failed run leaves no trace: no box but its one message, the reader not
  // asked to close, nothing installed, no date stored, the working directory
  // as it was and the reader not started again.
  void ExpectNothingChanged(const std::map<std::string, std::string>& before, const char* message,
                            const ProductKey& key) {
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{message}) << ReadWholeFile(work.File(LogFileName));
    EXPECT_EQ(Snapshot(work.dir.path()), before);
    EXPECT_FALSE(key.Get("MostRecentUpdate"));
  }

  // A run against the scripted server that must fail with the message and
  // leave no trace; returns the transfer log.
  std::string RunToFailure(const FtpScript& script, const char* message) {
    ProductKey key;
    work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
    Serve(script);
    CFakeReader reader;
    const auto before = Snapshot(work.dir.path());
    DirsAtEachBox dirs(work);
    Run();
    ExpectNothingChanged(before, message, key);
    // Gone before the message came up, where the user may end the program.
    EXPECT_EQ(dirs.Seen(), std::vector<std::vector<std::string>>(1));
    EXPECT_EQ(reader.m_nCloseRequests, 0);
    EXPECT_FALSE(work.Exists("restarted.txt"));
    return ReadWholeFile(work.File(LogFileName));
  }

  static inline UINT_PTR cancel_ = 0;
  static inline CWnd* dialogWindow_ = nullptr;
  static inline UpdateRun* running_ = nullptr;
  std::int64_t imageSize_ = -1;
  std::int64_t updatesSize_ = -1;
  unsigned timeout_ = UpdateServer{}.timeout;
  long ceiling_ = UpdateServer{}.maxDownload;
  std::function<bool()> cancelWhen_;  // polled while the updater runs: true presses Cancel
  std::vector<std::string> forgery_;  // what the intruder sends on each data port
  int intrusions_ = 0;                // connections the intruder made

  WorkingDir work;
  TempDir served;
  UpdateContent content;
  std::unique_ptr<LocalFtpServer> server;
  ui::MessageBoxAnswers boxes;
};

TEST_F(UpdateRun, ANewUpdateIsFetchedInstalledAndTheReaderRestarted) {
  ProductKey key;
  key.Set("MostRecentUpdate", "2/1/1998");
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  // An earlier run was killed half way through its first archive.
  ASSERT_TRUE(::CreateDirectoryA(work.File("trnBEEF.tmp").c_str(), nullptr));
  work.dir.Write("trnBEEF.tmp\\UPDTBITM.EXE", "half an archive");
  Serve();
  CFakeReader reader;
  Run();

  EXPECT_TRUE(boxes.boxes().empty()) << (boxes.boxes().empty() ? "" : boxes.boxes()[0].text);
  EXPECT_EQ(reader.m_nCloseRequests, 1);
  EXPECT_EQ(reader.m_hWnd, nullptr);
  EXPECT_EQ(ReadWholeFile(work.File("REN2F200.DAT")), "the encyclopedia, updated");
  EXPECT_EQ(ReadWholeFile(work.File("UPDATES.DAT")), std::string(3000, 'u'));
  EXPECT_FALSE(work.Exists("verify.txt"));
  EXPECT_FALSE(work.Exists("UPDATES.EXE"));
  EXPECT_TRUE(work.TemporaryDirs().empty());
  EXPECT_EQ(key.Get("MostRecentUpdate"), "3/7/1998");
  EXPECT_TRUE(ReaderRestarted());

  const std::vector<std::string> expected = {"USER encyuser",     "PASS b591Kwos",    "CWD /quorvex/transfer",
                                             "LIST UPDTBITM.EXE", "LIST UPDATES.EXE", "TYPE I",
                                             "RETR UPDTBITM.EXE", "RETR UPDATES.EXE", "QUIT"};
  std::vector<std::string> commands;
  for (const std::string& command : server->Commands()) {
    if (command.rfind("PORT 127,0,0,1,", 0) != 0) commands.push_back(command);
  }
  EXPECT_EQ(commands, expected);
  const std::string log = ReadWholeFile(work.File("Xferlog.txt"));
  for (const char* line : {"\t\t\tStarting main control - ", "\t\tXFER_MAKE_CONNECTION - ",
                           "\t\t\t\tControl: CWINSOCK_YOU_ARE_CONNECTED - ", "\t220 Local update server ready",
                           "\t\t\t\t\tServer: CWINSOCK_READY_TO_ACCEPT_CONNECTION - ", "\t\tXFER_PROCESS_UPDATE - ",
                           "\t\t\tChecking if extraction is complete - ", "Temp Dir removed... - "}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }
}

// The reader starts the updater each time its command is chosen. While one
// runs, another says so and ends: it neither connects nor touches the first
// one's directory or log.
TEST_F(UpdateRun, ASecondRunWhileOneRunsSaysSoAndTouchesNothing) {
  ProductKey key;
  key.Set("MostRecentUpdate", "2/1/1998");
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  ASSERT_TRUE(::CreateDirectoryA(work.File("trn1A.tmp").c_str(), nullptr));
  work.dir.Write("trn1A.tmp\\UPDTBITM.EXE", "the first run's archive, arriving");
  work.dir.Write(LogFileName, "the first run's log");
  Serve();
  CFakeReader reader;
  const auto before = Snapshot(work.dir.path());
  {
    const CSingleRun first;
    ASSERT_TRUE(first.Alone());
    Run();
  }
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{AlreadyRunningMessage});
  EXPECT_EQ(Snapshot(work.dir.path()), before);
  EXPECT_EQ(ReadWholeFile(work.File(LogFileName)), "the first run's log");
  EXPECT_TRUE(server->Commands().empty());
  EXPECT_EQ(reader.m_nCloseRequests, 0);
  EXPECT_EQ(key.Get("MostRecentUpdate"), "2/1/1998");
  // Once the first has ended, a run is alone again.
  EXPECT_TRUE(CSingleRun().Alone());
}

TEST_F(UpdateRun, ARefusedListIsRetriedAndLateRepliesWaitWithoutAKeyForTheDate) {
  ProductKey missing(false);  // the installation made no settings key
  Serve(FtpScript{.refuseFirstList = true, .lateReplies = true, .unknownSizes = true});
  CFakeReader reader;
  Run();

  EXPECT_TRUE(boxes.boxes().empty()) << (boxes.boxes().empty() ? "" : boxes.boxes()[0].text);
  EXPECT_EQ(ReadWholeFile(work.File("REN2F200.DAT")), "the encyclopedia, updated");
  EXPECT_FALSE(ProductKey::Exists());  // the date is not stored, and no key is made
  EXPECT_TRUE(ReaderRestarted());
  std::vector<int> ports;
  for (const std::string& command : server->Commands()) {
    int a, b, c, d, high, low;
    if (std::sscanf(command.c_str(), "PORT %d,%d,%d,%d,%d,%d", &a, &b, &c, &d, &high, &low) == 6) {
      ports.push_back(high * 256 + low);
    }
  }
  ASSERT_EQ(ports.size(), 5u);  // the refused list took one more
  for (std::size_t i = 1; i < ports.size(); ++i) EXPECT_EQ(ports[i], NextDataPort(ports[i - 1]));
  const std::string log = ReadWholeFile(work.File("Xferlog.txt"));
  EXPECT_NE(log.find("Data connection not initialized. Try again."), std::string::npos);
  EXPECT_NE(log.find("TIMER_XFER_SEND_USER"), std::string::npos);  // a reply waited for the data to end
}

TEST_F(UpdateRun, AFileOfTheWrongLengthStopsBeforeTheReaderIsAsked) {
  ProductKey key;
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  content.claimedLengths = {{"UPDATES.DAT", 2999}};
  Serve();
  CFakeReader reader;
  Run();

  EXPECT_EQ(BoxTexts(), std::vector<std::string>{CorruptFilesMessage});
  EXPECT_EQ(reader.m_nCloseRequests, 0);
  EXPECT_EQ(ReadWholeFile(work.File("REN2F200.DAT")), "the encyclopedia, as it was");
  EXPECT_TRUE(work.TemporaryDirs().empty());
  EXPECT_FALSE(key.Get("MostRecentUpdate"));
  EXPECT_FALSE(work.Exists("restarted.txt"));
}

TEST_F(UpdateRun, AnUpdateOfTheRecordedDayIsFetchedOnlyWhenTheUserAsks) {
  ProductKey key;
  key.Set("MostRecentUpdate", "3/7/1998");
  Serve();
  CFakeReader reader;
  boxes.SetAnswer(IDCANCEL);
  Run();

  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, ReinstallQuestion);
  EXPECT_EQ(boxes.boxes()[0].caption, ReinstallCaption);
  EXPECT_EQ(boxes.boxes()[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
  EXPECT_TRUE(Received("RETR UPDTBITM.EXE"));
  EXPECT_FALSE(Received("RETR UPDATES.EXE"));
  EXPECT_TRUE(work.TemporaryDirs().empty());
  EXPECT_EQ(reader.m_nCloseRequests, 0);
  EXPECT_EQ(key.Get("MostRecentUpdate"), "3/7/1998");
}

TEST_F(UpdateRun, ACopyThatFailsThreeTimesStopsWithTheSystemError) {
  ProductKey key;
  // A directory where an updated file should go: it cannot be overwritten.
  ASSERT_TRUE(::CreateDirectoryA(work.File("UPDATES.DAT").c_str(), nullptr));
  Serve();
  CFakeReader reader;
  Run();

  ASSERT_EQ(boxes.boxes().size(), 1u);
  const std::string& text = boxes.boxes()[0].text;
  int error = 0;
  EXPECT_EQ(std::sscanf(text.c_str(), "Error %d: ", &error), 1) << text;
  EXPECT_NE(error, 0);
  EXPECT_NE(text.find(std::string(": ") + CopyFailedMessage), std::string::npos) << text;
  EXPECT_TRUE(work.TemporaryDirs().empty());
  EXPECT_FALSE(key.Get("MostRecentUpdate"));
  EXPECT_FALSE(work.Exists("restarted.txt"));
}

TEST_F(UpdateRun, WithoutTheReaderNothingIsAttempted) {
  Serve();
  Run();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{NoReaderMessage});
  ui::PumpFor(700);  // past the session's start
  EXPECT_EQ(server->Connections(), 0);
}

TEST_F(UpdateRun, CancelEndsTheWaitForTheServer) {
  Serve(FtpScript{.greet = false});
  CFakeReader reader;
  EXPECT_EQ(Run(1500), IDCANCEL);
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_EQ(server->Connections(), 1);
  const std::string log = ReadWholeFile(work.File("Xferlog.txt"));
  EXPECT_NE(log.find("Someone canceled out of the application."), std::string::npos);
}

// The server sends its multi-line greeting and login banner in pieces and
// cuts a reply's code in two: each reply still counts once.
TEST_F(UpdateRun, RepliesInPiecesCountOnce) {
  ProductKey key;
  Serve(FtpScript{.splitReplies = true});
  CFakeReader reader;
  Run();

  EXPECT_TRUE(boxes.boxes().empty()) << (boxes.boxes().empty() ? "" : boxes.boxes()[0].text);
  EXPECT_EQ(ReadWholeFile(work.File("REN2F200.DAT")), "the encyclopedia, updated");
  std::vector<std::string> commands;
  for (const std::string& command : server->Commands()) {
    if (command.rfind("PORT ", 0) != 0) commands.push_back(command);
  }
  EXPECT_EQ(commands,
            (std::vector<std::string>{"USER encyuser", "PASS b591Kwos", "CWD /quorvex/transfer", "LIST UPDTBITM.EXE",
                                      "LIST UPDATES.EXE", "TYPE I", "RETR UPDTBITM.EXE", "RETR UPDATES.EXE", "QUIT"}));
  const std::string log = ReadWholeFile(work.File("Xferlog.txt"));
  EXPECT_EQ(log.find("Did not receive expected response"), std::string::npos);
  EXPECT_TRUE(ReaderRestarted());
}

// Failures that once hung or installed a cut archive: each ends with its
// message and leaves the working directory as it was.
TEST_F(UpdateRun, AServerThatCannotReachTheDataPortGivesUpAfterThreeTries) {
  const std::string log = RunToFailure(FtpScript{.alwaysRefuseData = true}, CommunicationsMessage);
  const auto commands = server->Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "LIST UPDTBITM.EXE"), MaxDataAttempts);
  EXPECT_NE(log.find("No data connection after 3 attempts"), std::string::npos);
}

TEST_F(UpdateRun, ARefusedPasswordStopsAtOnce) {
  const std::string log = RunToFailure(FtpScript{.refusePassword = true}, CommunicationsMessage);
  EXPECT_FALSE(Received("CWD /quorvex/transfer"));
  EXPECT_NE(log.find("Expected: 230 Received: 530"), std::string::npos);
}

TEST_F(UpdateRun, ARefusedDownloadStopsAtOnce) {
  RunToFailure(FtpScript{.refuseRetr = true}, CommunicationsMessage);
  EXPECT_FALSE(Received("RETR UPDATES.EXE"));
}

// The archive's data connection closes half way and the server still
// reports the transfer complete: the byte count tells ("Received <n> of
// <size> bytes").
TEST_F(UpdateRun, AFirstArchiveCutHalfWayIsNotExtracted) {
  const std::string log = RunToFailure(FtpScript{.cutRetrOf = ImageArchive}, CorruptFilesMessage);
  EXPECT_NE(log.find("Received "), std::string::npos);
  EXPECT_EQ(log.find("Checking if extraction is complete"), std::string::npos);
  EXPECT_FALSE(Received("RETR UPDATES.EXE"));
}

// A server that sends more than its listing line said, or, where the line
// gives no size, more than the ceiling (lowered here): the download stops
// there, and nothing of it stays.
TEST_F(UpdateRun, AnArchiveThatRunsPastItsListedSizeStopsTheRun) {
  const std::string log = RunToFailure(FtpScript{.overlongRetrOf = UpdatesArchive}, CorruptFilesMessage);
  EXPECT_NE(log.find("More than "), std::string::npos);
  EXPECT_EQ(log.find("XFER_GETUPDATES_RESPONSE"), std::string::npos);
}

TEST_F(UpdateRun, AnArchiveOfUnknownSizeThatRunsPastTheCeilingStopsTheRun) {
  ceiling_ = 1000;
  const std::string log = RunToFailure(FtpScript{.unknownSizes = true}, CorruptFilesMessage);
  EXPECT_NE(log.find("More than 1000 bytes received"), std::string::npos);
  EXPECT_EQ(log.find("Checking if extraction is complete"), std::string::npos);
}

TEST_F(UpdateRun, ASecondArchiveCutHalfWayIsNotExtracted) {
  const std::string log = RunToFailure(FtpScript{.cutRetrOf = UpdatesArchive}, CorruptFilesMessage);
  EXPECT_NE(log.find("Received "), std::string::npos);
  EXPECT_NE(log.find("Checking if extraction is complete"), std::string::npos);  // of the first only
  EXPECT_EQ(log.find("XFER_PROCESS_UPDATE"), std::string::npos);
}

// Another host races the server to every data port with an update of its
// own. The server connects back a moment after each data command, as across
// the Internet, so the stranger is always first: each time it is turned
// away, and the server's update is the one installed.
TEST_F(UpdateRun, AStrangerRacingTheServerToTheDataPortsIsRefused) {
  ProductKey key;
  key.Set("MostRecentUpdate", "2/1/1998");
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  Intrude();
  Serve(FtpScript{.dataDelay = 200});
  CFakeReader reader;
  Run();

  ExpectTheServersUpdateInstalled(key);
  EXPECT_EQ(intrusions_, 4);
  EXPECT_EQ(Refusals(ReadWholeFile(work.File(LogFileName))), 4);
}

// The server never connects for the last archive; only the stranger does.
// The wait ends with the transfer's own time-out (shortened here), and the
// first archive, already unpacked in the temporary directory, goes with it.
TEST_F(UpdateRun, WhenOnlyAStrangerConnectsTheTransferTimesOutAndNothingIsInstalled) {
  timeout_ = 4000;
  Intrude();
  const std::string log =
      RunToFailure(FtpScript{.silentRetrOf = UpdatesArchive, .dataDelay = 200}, CommandTimeoutMessage);
  EXPECT_EQ(intrusions_, 4);
  EXPECT_EQ(Refusals(log), 4);
  EXPECT_NE(log.find("TIMER_XFER_SEND_GET"), std::string::npos);
  EXPECT_NE(log.find("Checking if extraction is complete"), std::string::npos);  // of the first archive
}

// Whole runs against a real FTP server (vsftpd in its own configurations),
// which tests/updater/real_ftp_server.sh starts for these tests and stops
// after them; it tells each server's port and log, and their folder, through
// the environment. Its listing lines have columns of their own.
class RealServerRun : public UpdateRun {
 protected:
  void SetUp() override {
    const char* root = std::getenv("VELDRIX_FTP_ROOT");
    ASSERT_TRUE(root != nullptr)
        << "these tests run beside a real FTP server: start them through tests/updater/real_ftp_server.sh";
    folder_ = HostPath(root) + "\\quorvex\\transfer\\";
    ASSERT_NO_FATAL_FAILURE(Use(""));
    content.WriteArchives(folder_);
  }
  // Runs against the plain server (""), or "SLOW", "IDLE" or "REFUSING".
  void Use(const std::string& name) {
    const std::string prefix = name.empty() ? "VELDRIX_FTP_" : "VELDRIX_FTP_" + name + "_";
    const char* port = std::getenv((prefix + "PORT").c_str());
    const char* log = std::getenv((prefix + "LOG").c_str());
    ASSERT_TRUE(port != nullptr && log != nullptr) << "no " << prefix << "PORT from real_ftp_server.sh";
    port_ = std::atoi(port);
    serverLog_ = HostPath(log);
    logStart_ = ReadWholeFile(serverLog_).size();
  }
  void TearDown() override {
    for (const char* archive : {ImageArchive, UpdatesArchive}) ::DeleteFileA((folder_ + archive).c_str());
  }
  // A path of the machine as this program sees it under Wine.
  static std::string HostPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
  }
  // What the server logged of this test's conversations (it logs every
  // command and reply, the password masked).
  std::string ServerLog() const { return ReadWholeFile(serverLog_).substr(logStart_); }

  int port_ = 0;
  std::string folder_;
  std::string serverLog_;
  std::size_t logStart_ = 0;
};

TEST_F(RealServerRun, ANewUpdateIsFetchedInstalledAndTheReaderRestarted) {
  ProductKey key;
  key.Set("MostRecentUpdate", "2/1/1998");
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  CFakeReader reader;
  RunAgainst(port_);

  EXPECT_TRUE(boxes.boxes().empty()) << (boxes.boxes().empty() ? "" : boxes.boxes()[0].text);
  EXPECT_EQ(reader.m_nCloseRequests, 1);
  EXPECT_EQ(ReadWholeFile(work.File("REN2F200.DAT")), "the encyclopedia, updated");
  EXPECT_EQ(ReadWholeFile(work.File("UPDATES.DAT")), std::string(3000, 'u'));
  EXPECT_TRUE(work.TemporaryDirs().empty());
  EXPECT_EQ(key.Get("MostRecentUpdate"), "3/7/1998");
  EXPECT_TRUE(ReaderRestarted());
  // The sizes come from the server's own listing lines.
  EXPECT_EQ(imageSize_, static_cast<std::int64_t>(ReadWholeFile(folder_ + ImageArchive).size()));
  EXPECT_EQ(updatesSize_, static_cast<std::int64_t>(ReadWholeFile(folder_ + UpdatesArchive).size()));

  const std::string log = ServerLog();
  std::size_t at = 0;
  for (const char* line : {"\"USER encyuser\"", "\"230 ", "\"CWD /quorvex/transfer\"", "\"PORT 127,0,0,1,",
                           "\"LIST UPDTBITM.EXE\"", "\"LIST UPDATES.EXE\"", "\"TYPE I\"", "\"RETR UPDTBITM.EXE\"",
                           "OK DOWNLOAD", "\"RETR UPDATES.EXE\"", "OK DOWNLOAD", "\"QUIT\""}) {
    at = log.find(line, at);
    ASSERT_NE(at, std::string::npos) << line << " in order in the server's log:\n" << log;
  }
}

TEST_F(RealServerRun, AnArchiveMissingOnTheServerStopsWithNothingInstalled) {
  ProductKey key;
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  ASSERT_TRUE(::DeleteFileA((folder_ + UpdatesArchive).c_str()));
  CFakeReader reader;
  const auto before = Snapshot(work.dir.path());
  RunAgainst(port_);

  ExpectNothingChanged(before, NotFoundMessage, key);
  EXPECT_EQ(reader.m_nCloseRequests, 0);
  EXPECT_EQ(updatesSize_, 0);  // the server listed nothing
  EXPECT_NE(ServerLog().find("\"550 "), std::string::npos);
}

// vsftpd connects back at once, so whether the stranger gets to a data port
// first is a race: the server's own update must be the one installed either
// way. A run in which the updater refused no connection tested nothing and
// says so as a skip (the stranger may have connected all the same, into the
// backlog of a listener that had already taken the server's connection). That
// every connection the stranger makes first is refused is UpdateRun's test of
// the same name, where the test's own server waits for the stranger.
TEST_F(RealServerRun, AStrangerRacingTheServerToTheDataPortsIsRefused) {
  ProductKey key;
  key.Set("MostRecentUpdate", "2/1/1998");
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  Intrude();
  CFakeReader reader;
  RunAgainst(port_);

  ExpectTheServersUpdateInstalled(key);
  if (Refusals(ReadWholeFile(work.File(LogFileName))) == 0)
    GTEST_SKIP() << "race not exercised: the updater refused no connection (the stranger made " << intrusions_ << ")";
}

// vsftpd refuses the password (530): one message, and nothing else happens.
TEST_F(RealServerRun, AWrongPasswordStopsWithOneMessageAndNothingInstalled) {
  ASSERT_NO_FATAL_FAILURE(Use("REFUSING"));
  ProductKey key;
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  CFakeReader reader;
  const auto before = Snapshot(work.dir.path());
  RunAgainst(port_);

  ExpectNothingChanged(before, CommunicationsMessage, key);
  EXPECT_EQ(reader.m_nCloseRequests, 0);
  EXPECT_FALSE(work.Exists("restarted.txt"));
  const std::string log = ServerLog();
  EXPECT_NE(log.find("\"530 Login incorrect.\""), std::string::npos) << log;
  EXPECT_EQ(log.find("\"CWD "), std::string::npos) << log;
}

// vsftpd sends at most 256 KB a second, so each archive takes seconds and
// thousands of small chunks: both still arrive whole.
TEST_F(RealServerRun, OverASlowLinkTheUpdateArrivesWhole) {
  ASSERT_NO_FATAL_FAILURE(Use("SLOW"));
  ProductKey key;
  key.Set("MostRecentUpdate", "2/1/1998");
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  CFakeReader reader;
  RunAgainst(port_);

  ExpectTheServersUpdateInstalled(key);
  // The server kept to its limit: it logs each download's rate.
  const std::string log = ServerLog();
  int downloads = 0;
  for (std::size_t at = log.find("OK DOWNLOAD"); at != std::string::npos; at = log.find("OK DOWNLOAD", at + 1)) {
    const std::size_t unit = log.find("Kbyte/sec", at);
    ASSERT_NE(unit, std::string::npos) << log;
    const std::size_t number = log.rfind(' ', unit) + 1;
    EXPECT_LT(std::atof(log.substr(number, unit - number).c_str()), 300.0) << log.substr(at, unit - at);
    ++downloads;
  }
  EXPECT_EQ(downloads, 2) << log;
}

// Leaves the question about an update already installed open, as someone who
// has walked away would: the box's own message loop keeps running until the
// session ends (at most 20 seconds), then the box is answered.
class QuestionLeftOpen {
 public:
  QuestionLeftOpen() : previous_(AfxGetMessageBoxHook()) {
    answerer_ = previous_;
    AfxSetMessageBoxHook(Box);
  }
  ~QuestionLeftOpen() { AfxSetMessageBoxHook(previous_); }
  QuestionLeftOpen(const QuestionLeftOpen&) = delete;
  QuestionLeftOpen& operator=(const QuestionLeftOpen&) = delete;

 private:
  static int Box(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type) {
    const int answer = answerer_(owner, text, caption, type);  // recorded in the order shown
    if (text == nullptr || std::string(text) != ReinstallQuestion) return answer;
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 20000;) {
      MSG msg;
      if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::Sleep(10);
        continue;
      }
      if (msg.message == WM_QUIT) {  // the program ends: the box goes, the quit goes on
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    return answer;
  }
  static inline AfxMessageBoxHook answerer_ = nullptr;
  AfxMessageBoxHook previous_;
};

// vsftpd ends a session that sends no command for a few seconds ("421
// Timeout."). The updater is held between two downloads by its question
// about an update already installed: the run ends with one clear message,
// and neither the working directory nor the recorded date has changed.
TEST_F(RealServerRun, TheServersIdleTimeOutEndsTheRunWithNothingHalfInstalled) {
  ASSERT_NO_FATAL_FAILURE(Use("IDLE"));
  ProductKey key;
  key.Set("MostRecentUpdate", "3/7/1998");  // the update's own day: the updater asks
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  CFakeReader reader;
  const auto before = Snapshot(work.dir.path());
  QuestionLeftOpen away;
  RunAgainst(port_);

  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{ReinstallQuestion, CommunicationsMessage}))
      << ReadWholeFile(work.File(LogFileName));
  EXPECT_EQ(Snapshot(work.dir.path()), before);
  EXPECT_EQ(key.Get("MostRecentUpdate"), "3/7/1998");
  EXPECT_EQ(reader.m_nCloseRequests, 0);
  EXPECT_FALSE(work.Exists("restarted.txt"));
  EXPECT_NE(ServerLog().find("\"421 Timeout.\""), std::string::npos) << ServerLog();
  EXPECT_NE(ReadWholeFile(work.File(LogFileName)).find(", New: 421 - "), std::string::npos);
}

// Cancel while the second archive arrives (slowly): the temporary directory,
// with the first archive's files and part of the second, goes, and the
// working directory is byte for byte as it was.
TEST_F(RealServerRun, CancelWhileAnArchiveArrivesLeavesTheWorkingDirectoryAsItWas) {
  ASSERT_NO_FATAL_FAILURE(Use("SLOW"));
  ProductKey key;
  key.Set("MostRecentUpdate", "2/1/1998");
  work.dir.Write("REN2F200.DAT", "the encyclopedia, as it was");
  CFakeReader reader;
  const auto before = Snapshot(work.dir.path());
  unsigned long long arrived = 0;
  cancelWhen_ = [&] { return (arrived = Arrived(UpdatesArchive)) > 0; };
  EXPECT_EQ(RunAgainst(port_), IDCANCEL);

  EXPECT_GT(arrived, 0u);
  EXPECT_LT(arrived, ReadWholeFile(folder_ + UpdatesArchive).size());
  EXPECT_TRUE(boxes.boxes().empty()) << (boxes.boxes().empty() ? "" : boxes.boxes()[0].text);
  EXPECT_EQ(Snapshot(work.dir.path()), before);
  EXPECT_EQ(key.Get("MostRecentUpdate"), "2/1/1998");
  EXPECT_EQ(reader.m_nCloseRequests, 0);
  EXPECT_FALSE(work.Exists("restarted.txt"));
  EXPECT_NE(ReadWholeFile(work.File(LogFileName)).find("Someone canceled out of the application."), std::string::npos);
}

}  // namespace
