// Whole runs of the updater against a local FTP server: the session through
// real sockets, the archives extracted through the command interpreter's
// stand-in, the reader's window asked to close, the files installed, the
// registry written and the reader started again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "ftp_test_server.h"
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

class UpdateRun : public ::testing::Test {
 protected:
  // Runs the updater modally until it ends; a run that hangs is ended after
  // a minute and fails the test.
  INT_PTR Run(int cancelAfter = 0) { return RunAgainst(server->Port(), cancelAfter); }
  INT_PTR RunAgainst(int port, int cancelAfter = 0) {
    CUpdaterDlg dialog(UpdateServer{"127.0.0.1", port});
    watchdogFired = false;
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 60000, Watchdog);
    if (cancelAfter > 0) cancel_ = ::SetTimer(nullptr, 0, static_cast<UINT>(cancelAfter), PressCancel);
    dialogWindow_ = &dialog;
    const INT_PTR result = dialog.DoModal();
    dialogWindow_ = nullptr;
    imageSize_ = dialog.Session().ImageSize();
    updatesSize_ = dialog.Session().UpdatesSize();
    ::KillTimer(nullptr, watchdog);
    ui::PumpUntilIdle(500);
    ui::TakeQuitCount();
    EXPECT_FALSE(watchdogFired) << "the updater did not end by itself";
    return result;
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
  // The reader started again leaves its mark; it runs on its own, so wait a little.
  bool ReaderRestarted() const {
    for (int i = 0; i < 100 && !work.Exists("restarted.txt"); ++i) ::Sleep(50);
    return work.Exists("restarted.txt");
  }

  static void CALLBACK PressCancel(HWND, UINT, UINT_PTR, DWORD) {
    ::KillTimer(nullptr, cancel_);
    if (dialogWindow_ != nullptr) dialogWindow_->PostMessage(WM_COMMAND, IDCANCEL);
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
    Run();
    ExpectNothingChanged(before, message, key);
    EXPECT_EQ(reader.m_nCloseRequests, 0);
    EXPECT_FALSE(work.Exists("restarted.txt"));
    return ReadWholeFile(work.File(LogFileName));
  }

  static inline UINT_PTR cancel_ = 0;
  static inline CWnd* dialogWindow_ = nullptr;
  long imageSize_ = -1;
  long updatesSize_ = -1;

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

TEST_F(UpdateRun, ASecondArchiveCutHalfWayIsNotExtracted) {
  const std::string log = RunToFailure(FtpScript{.cutRetrOf = UpdatesArchive}, CorruptFilesMessage);
  EXPECT_NE(log.find("Received "), std::string::npos);
  EXPECT_NE(log.find("Checking if extraction is complete"), std::string::npos);  // of the first only
  EXPECT_EQ(log.find("XFER_PROCESS_UPDATE"), std::string::npos);
}

// Whole runs against a real FTP server (vsftpd in its own configuration),
// which tests/updater/real_ftp_server.sh starts for these tests and stops
// after them; it tells its port, its folder and its log through the
// environment. Its listing lines have columns of their own.
class RealServerRun : public UpdateRun {
 protected:
  void SetUp() override {
    const char* port = std::getenv("VELDRIX_FTP_PORT");
    const char* root = std::getenv("VELDRIX_FTP_ROOT");
    const char* log = std::getenv("VELDRIX_FTP_LOG");
    ASSERT_TRUE(port != nullptr && root != nullptr && log != nullptr)
        << "these tests run beside a real FTP server: start them through tests/updater/real_ftp_server.sh";
    port_ = std::atoi(port);
    folder_ = HostPath(root) + "\\quorvex\\transfer\\";
    serverLog_ = HostPath(log);
    content.WriteArchives(folder_);
  }
  void TearDown() override {
    for (const char* archive : {ImageArchive, UpdatesArchive}) ::DeleteFileA((folder_ + archive).c_str());
  }
  // A path of the machine as this program sees it under Wine.
  static std::string HostPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
  }
  // What the server logged of this run's conversation (it logs every command
  // and reply, the password masked).
  std::string ServerLog() const { return ReadWholeFile(serverLog_); }

  int port_ = 0;
  std::string folder_;
  std::string serverLog_;
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
  EXPECT_EQ(imageSize_, static_cast<long>(ReadWholeFile(folder_ + ImageArchive).size()));
  EXPECT_EQ(updatesSize_, static_cast<long>(ReadWholeFile(folder_ + UpdatesArchive).size()));

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

}  // namespace
