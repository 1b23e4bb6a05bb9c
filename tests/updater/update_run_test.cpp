// Whole runs of the updater against a local FTP server: the session through
// real sockets, the archives extracted through the command interpreter's
// stand-in, the reader's window asked to close, the files installed, the
// registry written and the reader started again.
#include <gtest/gtest.h>

#include <algorithm>

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

class UpdateRun : public ::testing::Test {
 protected:
  // Runs the updater modally until it ends; a run that hangs is ended after
  // a minute and fails the test.
  INT_PTR Run(int cancelAfter = 0) {
    CUpdaterDlg dialog(UpdateServer{"127.0.0.1", server->Port()});
    watchdogFired = false;
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 60000, Watchdog);
    if (cancelAfter > 0) cancel_ = ::SetTimer(nullptr, 0, static_cast<UINT>(cancelAfter), PressCancel);
    dialogWindow_ = &dialog;
    const INT_PTR result = dialog.DoModal();
    dialogWindow_ = nullptr;
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
  static inline UINT_PTR cancel_ = 0;
  static inline CWnd* dialogWindow_ = nullptr;

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

}  // namespace
