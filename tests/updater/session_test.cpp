// The session's state machine, driven through a host that records what the
// session asks of the outside world and answers as a test tells it to.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "queued_host.h"
#include "update_session.h"

namespace refresh {
namespace {

// Posted states and codes (all code 3), and the server's chunks, are the
// queues of QueuedHost.
class FakeHost : public QueuedHost {
 public:
  // What the session did.
  std::vector<std::string> statuses, logs, sent, errors, calls;
  std::set<int> timers;
  std::vector<int> timerStarts;  // every start, restarts included
  long progress = -1, range = -1;
  int quits = 0;
  std::string downloaded;
  // What the world answers.
  bool connects = true, sends = true, listens = true, makesTempDir = true, opensDownload = true, writes = true;
  unsigned extractorResult = 33;
  bool pictureReadable = true;
  int dateCheck = 2;
  bool reinstall = false;
  bool verified = true;
  int readerPolls = 0;  // times the reader is still seen
  std::deque<bool> copies;
  unsigned restartResult = 33;
  bool tempDir = false;

  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  void SetProgress(long value) override { progress = value; }
  void SetProgressRange(long maximum) override { range = maximum; }
  void LogLine(const std::string& text, int) override { logs.push_back(text); }
  void SeriousError(const std::string& message) override { errors.push_back(message); }
  bool AskReinstall() override {
    calls.push_back("AskReinstall");
    return reinstall;
  }
  void Quit() override { ++quits; }
  void StartTimer(int id, unsigned) override {
    timers.insert(id);
    timerStarts.push_back(id);
  }
  void StopTimer(int id) override { timers.erase(id); }
  bool ConnectControl(const std::string& host, int port) override {
    calls.push_back("Connect " + host + ":" + std::to_string(port));
    return connects;
  }
  int ControlError() override { return 10061; }
  bool SendControl(const std::string& command) override {
    if (sends) sent.push_back(command);
    return sends;
  }
  void CloseControl() override { calls.push_back("CloseControl"); }
  bool LocalAddress(std::string& text) override {
    text = "127,0,0,1";
    return true;
  }
  bool OpenListener(int port) override {
    calls.push_back("OpenListener " + std::to_string(port));
    return listens;
  }
  // Connections that come from other hosts before the server's, by address.
  std::deque<std::string> strangers;
  bool AcceptData(std::string& stranger) override {
    calls.push_back("AcceptData");
    return !Take(strangers, stranger);
  }
  void CloseData() override { calls.push_back("CloseData"); }
  void CloseListener() override { calls.push_back("CloseListener"); }
  bool CreateTempDir() override { return tempDir = makesTempDir; }
  bool TempDirCreated() override { return tempDir; }
  void RemoveTempDir() override {
    calls.push_back("RemoveTempDir");
    tempDir = false;
  }
  bool OpenDownload(const std::string& name) override {
    calls.push_back("OpenDownload " + name);
    return opensDownload;
  }
  bool WriteDownload(const std::string& data) override {
    if (writes) downloaded += data;
    return writes;
  }
  void CloseDownload() override { calls.push_back("CloseDownload"); }
  unsigned RunExtractor(const std::string& archive) override {
    calls.push_back("RunExtractor " + archive);
    return extractorResult;
  }
  bool ExtractionFinished() override { return true; }
  bool ChangeBackground(const std::string& name) override {
    calls.push_back("ChangeBackground " + name);
    return pictureReadable;
  }
  int CheckUpdateDate() override { return dateCheck; }
  bool VerifyExtractedFiles() override { return verified; }
  unsigned long long freeSpace = ~0ULL;
  unsigned long long FreeDiskSpace() override { return freeSpace; }
  void CloseMainProgram() override { calls.push_back("CloseMainProgram"); }
  bool MainProgramRunning() override { return readerPolls-- > 0; }
  void DeleteDownloads() override { calls.push_back("DeleteDownloads"); }
  bool CopyUpdateFiles(unsigned long& error) override {
    calls.push_back("CopyUpdateFiles");
    const bool copied = copies.empty() || copies.front();
    if (!copies.empty()) copies.pop_front();
    error = copied ? 0 : 5;
    return copied;
  }
  void StoreUpdateDate() override { calls.push_back("StoreUpdateDate"); }
  unsigned RestartMainProgram() override {
    calls.push_back("RestartMainProgram");
    return restartResult;
  }

  bool Called(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  bool Logged(const std::string& text) const { return std::find(logs.begin(), logs.end(), text) != logs.end(); }
};

std::string ListingOf(long size) {
  char line[128];
  std::snprintf(line, sizeof line, "-rw-r--r--   1 encyuser users    %12ld Mar 07 10:00 ARCHIVE.EXE\r\n", size);
  return line;
}

// Hands a reply to a session and runs the states it posts.
void Answer(FakeHost& host, UpdateSession& session, const std::string& reply) {
  host.controlChunks.push_back(reply);
  session.OnControlSocket(CWINSOCK_DONE_READING, 1);
  while (!host.posted.empty()) {
    const int state = host.posted.front();
    host.posted.pop_front();
    session.OnMainControl(state);
  }
}

class Session : public ::testing::Test {
 protected:
  FakeHost host;
  UpdateSession session{host, UpdateServer{"127.0.0.1", 2121}, 5600};

  // Runs the posted states and the codes posted back to the control handler
  // in order, as the dialog's message loop would.
  void Pump() { ASSERT_TRUE(host.Pump(session, 100000)) << "the session keeps posting to itself"; }
  void Reply(const std::string& text) {
    host.controlChunks.push_back(text);
    session.OnControlSocket(CWINSOCK_DONE_READING, 1);
    Pump();
  }
  // A data connection that carries `chunks` and closes.
  void Transfer(const std::vector<std::string>& chunks) {
    session.OnListenerSocket(CWINSOCK_READY_TO_ACCEPT_CONNECTION);
    session.OnDataSocket(CWINSOCK_YOU_ARE_CONNECTED);
    for (const std::string& chunk : chunks) {
      host.dataChunks.push_back(chunk);
      session.OnDataSocket(CWINSOCK_DONE_READING);
    }
    session.OnDataSocket(CWINSOCK_LOST_CONNECTION);
    Pump();
  }
  void LogIn() {
    session.OnTimer(TimerStartSession);
    Pump();
    Reply("220 Ready\r\n");
    Reply("331 Password required\r\n");
    Reply("230-Welcome\r\n230 Logged in\r\n");
    Reply("250 Directory changed\r\n");
  }
  void ListBoth(long imageSize, long updatesSize) { ListLines(ListingOf(imageSize), ListingOf(updatesSize)); }
  void ListLines(const std::string& imageLine, const std::string& updatesLine) {
    LogIn();
    Reply("200 PORT ok\r\n");
    Reply("150 Listing\r\n");
    Transfer({imageLine});
    Reply("226 Done\r\n");
    Reply("200 PORT ok\r\n");
    Reply("150 Listing\r\n");
    Transfer({updatesLine});
    Reply("226 Done\r\n");
  }
  // Up to the extraction of the image archive.
  void GetImage(long imageSize = 5, long updatesSize = 6) {
    ListBoth(imageSize, updatesSize);
    FetchImage();
  }
  void FetchImage() {
    Reply("200 Type set to I\r\n");
    Reply("200 PORT ok\r\n");
    Reply("150 Sending\r\n");
    Transfer({"ab", "cde"});
    Reply("226 Done\r\n");
  }
  void GetUpdates() {
    GetImage();
    session.OnTimer(TimerExtraction);
    Pump();
    Reply("200 PORT ok\r\n");
    Reply("150 Sending\r\n");
    Transfer({"123456"});
    Reply("226 Done\r\n");
    session.OnTimer(TimerExtraction);
    Pump();
  }
};

TEST_F(Session, TheNormalRoadFetchesBothArchivesAndInstalls) {
  GetUpdates();
  EXPECT_EQ(host.sent, (std::vector<std::string>{"USER encyuser\r\n", "PASS b591Kwos\r\n", "CWD /quorvex/transfer\r\n",
                                                 "PORT 127,0,0,1,21,225\r\n", "LIST UPDTBITM.EXE\r\n",
                                                 "PORT 127,0,0,1,21,226\r\n", "LIST UPDATES.EXE\r\n", "TYPE I\r\n",
                                                 "PORT 127,0,0,1,21,227\r\n", "RETR UPDTBITM.EXE\r\n",
                                                 "PORT 127,0,0,1,21,228\r\n", "RETR UPDATES.EXE\r\n", "QUIT\r\n"}));
  EXPECT_TRUE(host.Called("Connect 127.0.0.1:2121"));
  EXPECT_TRUE(host.Called("OpenListener 5601"));  // the start value plus one
  EXPECT_EQ(host.downloaded, "abcde123456");
  EXPECT_TRUE(host.Called("ChangeBackground update.bmp"));
  EXPECT_TRUE(host.Called("RunExtractor UPDATES.EXE"));
  EXPECT_EQ(host.range, 6);
  EXPECT_EQ(host.progress, 6);
  EXPECT_NE(std::find(host.statuses.begin(), host.statuses.end(), "5 of 5 bytes received."), host.statuses.end());
  EXPECT_EQ(host.statuses.back(), "Closing Encyclopedia...");
  EXPECT_TRUE(host.Logged("XFER_PROCESS_UPDATE"));
  EXPECT_TRUE(host.Logged("sending data command to ftp server, get"));

  host.readerPolls = 1;  // the reader takes a moment to close
  session.OnTimer(TimerReaderClosed);
  Pump();
  EXPECT_TRUE(host.Logged("Check to see if veldrix has closed"));
  EXPECT_FALSE(host.Called("CopyUpdateFiles"));
  session.OnTimer(TimerReaderClosed);
  Pump();
  const std::vector<std::string> tail(host.calls.end() - 5, host.calls.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"DeleteDownloads", "CopyUpdateFiles", "RemoveTempDir", "StoreUpdateDate",
                                            "RestartMainProgram"}));
  EXPECT_EQ(host.statuses.back(), "Restarting Encyclopedia...");
  EXPECT_EQ(host.quits, 1);
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(Session, AnUnexpectedReplyOnlyLogsAndTheCommandTimesOut) {
  session.OnTimer(TimerStartSession);
  Pump();
  Reply("220 Ready\r\n");
  Reply("230 Already logged in\r\n");
  EXPECT_TRUE(host.Logged("Did not receive expected response. Expected: 331 Received: 230"));
  EXPECT_TRUE(host.posted.empty());
  EXPECT_EQ(host.sent.size(), 1u);
  EXPECT_TRUE(host.errors.empty());
  ASSERT_TRUE(host.timers.count(TimerSendUser));
  session.OnTimer(TimerSendUser);
  EXPECT_TRUE(host.Logged("TIMER_XFER_SEND_USER"));
  EXPECT_TRUE(host.Logged("command timeout"));
  EXPECT_TRUE(host.Called("CloseData") && host.Called("CloseControl"));
  EXPECT_EQ(host.errors, std::vector<std::string>{CommandTimeoutMessage});
}

// A refusal cannot turn into the expected reply: the session stops at once,
// also where no time-out runs (the greeting, PORT).
TEST_F(Session, ARefusalStopsAtOnce) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"421 Too many users\r\n"}, "Expected: 220 Received: 421"},
      {{"220 Ready\r\n", "331 Password\r\n", "530 Login incorrect.\r\n"}, "Expected: 230 Received: 530"},
      {{"220 Ready\r\n", "331 Password\r\n", "230 In\r\n", "250 Here\r\n", "500 Illegal PORT command.\r\n"},
       "Expected: 200 Received: 500"},
  };
  for (const auto& [replies, logged] : cases) {
    FakeHost fresh;
    UpdateSession s(fresh, UpdateServer{}, 5600);
    s.OnMainControl(XFER_MAKE_CONNECTION);
    for (const std::string& reply : replies) Answer(fresh, s, reply);
    EXPECT_TRUE(fresh.Logged("Did not receive expected response. " + logged)) << logged;
    EXPECT_EQ(fresh.errors, std::vector<std::string>{CommunicationsMessage}) << logged;
  }
}

// The greeting and the login banner arrive in pieces, and the pieces reach
// the session before the state they start has run.
TEST_F(Session, AReplyInPiecesIsOneReply) {
  session.OnTimer(TimerStartSession);
  Pump();
  for (const char* piece : {"220-Welcome to the\r\n", "220-update server\r\n", "220 Ready\r\n"}) {
    host.controlChunks.push_back(piece);
    session.OnControlSocket(CWINSOCK_DONE_READING, 1);
  }
  Pump();
  EXPECT_EQ(host.sent, std::vector<std::string>{"USER encyuser\r\n"});
  Reply("3");
  Reply("31 Password required\r\n");
  EXPECT_EQ(host.sent.back(), "PASS b591Kwos\r\n");
  Reply("230-Welcome\r\n");
  Reply("230-");
  // Two replies in one chunk: the second is read after the state the first started.
  Reply("Read the rules\r\n230 Logged in\r\n250 Directory changed\r\n");
  EXPECT_EQ(host.sent, (std::vector<std::string>{"USER encyuser\r\n", "PASS b591Kwos\r\n", "CWD /quorvex/transfer\r\n",
                                                 "PORT 127,0,0,1,21,225\r\n"}));
  EXPECT_TRUE(host.errors.empty());
  EXPECT_FALSE(host.Logged("Did not receive expected response. Expected: 331 Received: 220"));
}

TEST_F(Session, A425ReplyToListClosesTheDataSocketsAndListsAgainOnANewPort) {
  LogIn();
  Reply("200 PORT ok\r\n");
  Reply("425 Can't open data connection\r\n");
  EXPECT_TRUE(host.Logged("Data connection not initialized. Try again."));
  EXPECT_TRUE(host.Called("CloseData") && host.Called("CloseListener"));
  EXPECT_TRUE(host.Called("OpenListener 5602"));
  EXPECT_EQ(host.sent.back(), "PORT 127,0,0,1,21,226\r\n");
  Reply("200 PORT ok\r\n");
  EXPECT_EQ(host.sent.back(), "LIST UPDTBITM.EXE\r\n");
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(Session, AServerThatCannotReachTheDataPortStopsAfterThreeTries) {
  LogIn();
  for (int attempt = 1; attempt <= MaxDataAttempts; ++attempt) {
    Reply("200 PORT ok\r\n");
    EXPECT_EQ(host.sent.back(), "LIST UPDTBITM.EXE\r\n");
    Reply("425 Can't open data connection\r\n");
  }
  EXPECT_EQ(
      std::count_if(host.sent.begin(), host.sent.end(), [](const std::string& c) { return c.rfind("PORT ", 0) == 0; }),
      MaxDataAttempts);
  EXPECT_TRUE(host.Logged("No data connection after 3 attempts"));
  EXPECT_EQ(host.errors, std::vector<std::string>{CommunicationsMessage});

  // The count is per transfer: one refusal of each list is no reason to stop.
  FakeHost other;
  UpdateSession s(other, UpdateServer{}, 5600);
  for (TransferKind kind : {TransferListImage, TransferListUpdates, TransferGetImage}) {
    s.OnMainControl(kind == TransferListImage     ? XFER_SEND_LISTIMAGE
                    : kind == TransferListUpdates ? XFER_SEND_LISTUPDATES
                                                  : XFER_SEND_GETIMAGE);
    for (const char* reply : {"200 PORT ok\r\n", "425 No\r\n", "200 PORT ok\r\n", "425 No\r\n"})
      Answer(other, s, reply);
    s.OnDataSocket(CWINSOCK_YOU_ARE_CONNECTED);  // the third attempt connects
    s.OnDataSocket(CWINSOCK_LOST_CONNECTION);
    other.posted.clear();
  }
  EXPECT_TRUE(other.errors.empty());
}

TEST_F(Session, ADownloadIsWatchedFromItsPortUntilItsDataConnectionIsUp) {
  GetImage();
  session.OnTimer(TimerExtraction);
  Pump();
  EXPECT_TRUE(host.timers.count(TimerSendGet));  // from the PORT on
  Reply("200 PORT ok\r\n");
  EXPECT_EQ(host.sent.back(), "RETR UPDATES.EXE\r\n");
  EXPECT_TRUE(host.timers.count(TimerSendGet));
  session.OnDataSocket(CWINSOCK_YOU_ARE_CONNECTED);
  EXPECT_FALSE(host.timers.count(TimerSendGet));  // the transfer time-out takes over
  EXPECT_TRUE(host.timers.count(TimerTransfer));

  // A server that never answers the RETR.
  FakeHost silent;
  UpdateSession s(silent, UpdateServer{}, 5600);
  s.OnMainControl(XFER_SEND_GETIMAGE);
  Answer(silent, s, "200 PORT ok\r\n");
  ASSERT_TRUE(silent.timers.count(TimerSendGet));
  s.OnTimer(TimerSendGet);
  EXPECT_TRUE(silent.Logged("TIMER_XFER_SEND_GET"));
  EXPECT_TRUE(silent.Logged("command timeout"));
  EXPECT_TRUE(silent.Called("CloseDownload"));  // so the temporary directory can go
  EXPECT_EQ(silent.errors, std::vector<std::string>{CommandTimeoutMessage});
}

// Anyone can reach the data listener, and the archive that comes in is run:
// only the control connection's peer may bring it. A stranger is turned
// away without giving the wait any more time.
TEST_F(Session, AConnectionFromAnotherHostIsRefusedAndTheServersStillCounts) {
  GetImage();
  session.OnTimer(TimerExtraction);
  Pump();
  Reply("200 PORT ok\r\n");
  ASSERT_EQ(host.sent.back(), "RETR UPDATES.EXE\r\n");
  const auto started = host.timerStarts.size();
  host.strangers = {"127.0.0.2", "192.0.2.7"};
  session.OnListenerSocket(CWINSOCK_READY_TO_ACCEPT_CONNECTION);
  session.OnListenerSocket(CWINSOCK_READY_TO_ACCEPT_CONNECTION);
  EXPECT_TRUE(host.Logged("Server: refused a connection from 127.0.0.2"));
  EXPECT_TRUE(host.Logged("Server: refused a connection from 192.0.2.7"));
  EXPECT_EQ(host.timerStarts.size(), started);  // no time-out restarted
  EXPECT_TRUE(host.timers.count(TimerSendGet));
  EXPECT_FALSE(host.timers.count(TimerTransfer));
  Transfer({"123456"});  // the server's own connection
  EXPECT_EQ(host.downloaded, "abcde123456");
  EXPECT_EQ(host.posted.back(), XFER_GETUPDATES_RESPONSE);
  EXPECT_TRUE(host.errors.empty());

  // When only strangers come, the transfer's time-out ends the wait.
  for (const int state : {XFER_SEND_LISTIMAGE, XFER_SEND_GETIMAGE}) {
    FakeHost lonely;
    UpdateSession s(lonely, UpdateServer{}, 5600);
    s.OnMainControl(state);
    Answer(lonely, s, "200 PORT ok\r\n");
    lonely.strangers = {"127.0.0.2"};
    s.OnListenerSocket(CWINSOCK_READY_TO_ACCEPT_CONNECTION);
    const int timer = state == XFER_SEND_LISTIMAGE ? TimerSendListImage : TimerSendGet;
    ASSERT_TRUE(lonely.timers.count(timer)) << state;
    s.OnTimer(timer);
    EXPECT_EQ(lonely.errors, std::vector<std::string>{CommandTimeoutMessage}) << state;
    EXPECT_TRUE(lonely.downloaded.empty());
  }
}

TEST_F(Session, ARetrRefusedForAnyOtherReasonStopsAtOnce) {
  ListBoth(5, 6);
  Reply("200 Type set to I\r\n");
  Reply("200 PORT ok\r\n");
  Reply("530 Not logged in.\r\n");
  EXPECT_TRUE(host.Called("CloseDownload"));
  EXPECT_TRUE(host.Called("CloseListener"));
  EXPECT_EQ(host.errors, std::vector<std::string>{CommunicationsMessage});
  EXPECT_FALSE(host.Called("RunExtractor UPDTBITM.EXE"));
}

TEST_F(Session, ADownloadShorterThanItsListingIsNotExtracted) {
  ListBoth(5, 6);
  Reply("200 Type set to I\r\n");
  Reply("200 PORT ok\r\n");
  Reply("150 Sending\r\n");
  Transfer({"ab"});  // the connection ends after 2 of 5 bytes
  EXPECT_TRUE(host.Logged("Received 2 of 5 bytes"));
  EXPECT_EQ(host.errors, std::vector<std::string>{CorruptFilesMessage});
  EXPECT_FALSE(host.Called("RunExtractor UPDTBITM.EXE"));
  EXPECT_TRUE(host.Called("CloseDownload"));
}

// A download stops at the chunk that runs past what it was told, before that
// chunk is written: the listed size, or the ceiling where there is none.
TEST_F(Session, ADownloadThatRunsPastItsSizeStopsAtOnceUnwritten) {
  ListBoth(5, 6);
  Reply("200 Type set to I\r\n");
  Reply("200 PORT ok\r\n");
  session.OnDataSocket(CWINSOCK_YOU_ARE_CONNECTED);
  for (const char* chunk : {"abc", "de", "f"}) {
    host.dataChunks.push_back(chunk);
    session.OnDataSocket(CWINSOCK_DONE_READING);
  }
  EXPECT_EQ(host.downloaded, "abcde");
  EXPECT_TRUE(host.Logged("More than 5 bytes received"));
  EXPECT_EQ(host.errors, std::vector<std::string>{CorruptFilesMessage});
  EXPECT_TRUE(host.Called("CloseData"));
  EXPECT_TRUE(host.Called("CloseDownload"));
  EXPECT_FALSE(session.Writing());
}

TEST_F(Session, ADownloadOfUnknownSizeStopsAtTheCeiling) {
  ListBoth(0, 0);
  Reply("200 Type set to I\r\n");
  Reply("200 PORT ok\r\n");
  session.OnDataSocket(CWINSOCK_YOU_ARE_CONNECTED);
  const std::string quarter(MaxDownload / 4, 'x');
  for (int i = 0; i < 4; ++i) {
    host.dataChunks.push_back(quarter);
    session.OnDataSocket(CWINSOCK_DONE_READING);
  }
  EXPECT_TRUE(host.errors.empty());  // exactly the ceiling is still taken
  host.dataChunks.push_back("y");
  session.OnDataSocket(CWINSOCK_DONE_READING);
  EXPECT_EQ(host.downloaded.size(), static_cast<std::size_t>(MaxDownload));
  EXPECT_EQ(host.errors, std::vector<std::string>{CorruptFilesMessage});
}

// The listing line comes from the server that sends the download: a size
// beyond the ceiling, or beyond what the disk can take, would otherwise let it
// write that much. Either is refused before the download is asked for, with
// the error the transfer would end with.
TEST_F(Session, AListedSizeBeyondTheCeilingIsRefusedBeforeTheTransfer) {
  ListBoth(2147483647, 6);
  Reply("200 Type set to I\r\n");
  EXPECT_EQ(host.errors, std::vector<std::string>{CorruptFilesMessage});
  EXPECT_TRUE(host.Logged("Listed size 2147483647 is more than 67108864 bytes"));
  EXPECT_FALSE(host.Called("OpenDownload UPDTBITM.EXE"));
  EXPECT_FALSE(host.tempDir);
  EXPECT_EQ(host.sent.back(), "TYPE I\r\n");
}

// Past 2 GB (past a Windows long) the size is still read, and refused like
// any other above the ceiling: the updates archive is never asked for.
TEST_F(Session, AListedSizePastTwoGigabytesIsRefusedBeforeTheTransfer) {
  ListLines(ListingOf(5), "-rw-r--r-- 1 owner group 5000000000 Mar 07 10:00 UPDATES.EXE\r\n");
  FetchImage();
  EXPECT_EQ(host.downloaded, "abcde");
  session.OnTimer(TimerExtraction);
  Pump();
  EXPECT_EQ(host.errors, std::vector<std::string>{CorruptFilesMessage});
  EXPECT_TRUE(host.Logged("Listed size 5000000000 is more than 67108864 bytes"));
  EXPECT_FALSE(host.Called("OpenDownload UPDATES.EXE"));
  EXPECT_EQ(host.sent.back(), "RETR UPDTBITM.EXE\r\n");  // not even the PORT of the updates' transfer
}

// A size too large for any count is refused, never taken for an unknown one.
TEST_F(Session, AListedSizeTooLargeToCountIsRefusedBeforeTheTransfer) {
  ListLines("-rw-r--r-- 1 owner group 1234567890123456789012345 Mar 07 10:00 UPDTBITM.EXE\r\n", ListingOf(6));
  Reply("200 Type set to I\r\n");
  EXPECT_EQ(host.errors, std::vector<std::string>{CorruptFilesMessage});
  EXPECT_TRUE(host.Logged("Listed size above 9223372036854775807 is more than 67108864 bytes"));
  EXPECT_FALSE(host.Called("OpenDownload UPDTBITM.EXE"));
  EXPECT_EQ(host.sent.back(), "TYPE I\r\n");
}

TEST_F(Session, AListedSizeTheDiskCannotTakeIsRefusedBeforeTheTransfer) {
  host.freeSpace = 4;
  ListBoth(5, 6);
  Reply("200 Type set to I\r\n");
  EXPECT_EQ(host.errors, std::vector<std::string>{WriteFailedMessage});
  EXPECT_TRUE(host.Logged("Listed size 5 is more than the 4 bytes the disk can take"));
  EXPECT_FALSE(host.Called("OpenDownload UPDTBITM.EXE"));
}

TEST_F(Session, ASizeOfExactlyTheCeilingOrTheRoomLeftOrUnknownGoesOn) {
  host.freeSpace = MaxDownload;
  ListBoth(MaxDownload, 0);
  Reply("200 Type set to I\r\n");
  EXPECT_TRUE(host.Called("OpenDownload UPDTBITM.EXE"));
  Reply("200 PORT ok\r\n");
  Transfer({std::string(MaxDownload, 'x')});
  Reply("226 Done\r\n");
  host.freeSpace = 0;  // no size to hold against it: the ceiling and the disk itself stop it
  session.OnTimer(TimerExtraction);
  Pump();
  EXPECT_TRUE(host.errors.empty());
  EXPECT_TRUE(host.Called("OpenDownload UPDATES.EXE"));
}

TEST_F(Session, RepliesThatComeWhileDataFlowsAreReadAfterTheClose) {
  LogIn();
  Reply("200 PORT ok\r\n");
  session.OnListenerSocket(CWINSOCK_READY_TO_ACCEPT_CONNECTION);
  session.OnDataSocket(CWINSOCK_YOU_ARE_CONNECTED);
  // Two replies arrive while the listing flows.
  host.controlChunks.push_back("150 Listing\r\n");
  session.OnControlSocket(CWINSOCK_DONE_READING, 1);
  host.controlChunks.push_back("226 Done\r\n");
  session.OnControlSocket(CWINSOCK_DONE_READING, 2);
  EXPECT_EQ(host.controlChunks.size(), 2u);
  EXPECT_TRUE(host.timers.count(TimerDeferredReply));
  host.dataChunks.push_back(ListingOf(10));
  session.OnDataSocket(CWINSOCK_DONE_READING);
  session.OnDataSocket(CWINSOCK_LOST_CONNECTION);
  // The timer reads every reply that waited, so the next PORT reply is not
  // taken for one of them.
  session.OnTimer(TimerDeferredReply);
  EXPECT_EQ(host.controlCodes.size(), 2u);
  Pump();
  EXPECT_TRUE(host.controlChunks.empty());
  EXPECT_EQ(host.sent.back(), "PORT 127,0,0,1,21,226\r\n");
  Reply("200 PORT ok\r\n");
  EXPECT_EQ(host.sent.back(), "LIST UPDATES.EXE\r\n");
}

TEST_F(Session, TheServerClosingAfterQuitEndsNothingButAnywhereElseItStops) {
  GetUpdates();
  session.OnControlSocket(CWINSOCK_LOST_CONNECTION, 0);
  EXPECT_TRUE(host.Logged("Status: 1012"));
  EXPECT_TRUE(host.errors.empty());

  FakeHost other;
  UpdateSession early(other, UpdateServer{"127.0.0.1", 21}, 5600);
  early.OnMainControl(XFER_MAKE_CONNECTION);
  early.OnControlSocket(CWINSOCK_LOST_CONNECTION, 0);
  EXPECT_EQ(other.errors, std::vector<std::string>{ConnectionLostMessage});
}

TEST_F(Session, ArchivesOfUnknownSizeCountBytesWithoutABar) {
  ListBoth(0, 0);  // listings that give no size
  EXPECT_EQ(session.ImageSize(), 0);
  Reply("200 Type set to I\r\n");
  Reply("200 PORT ok\r\n");
  session.OnDataSocket(CWINSOCK_YOU_ARE_CONNECTED);
  host.dataChunks.push_back("abc");
  session.OnDataSocket(CWINSOCK_DONE_READING);
  EXPECT_EQ(host.statuses.back(), "3 bytes received.");
  EXPECT_EQ(host.progress, -1);
  EXPECT_TRUE(session.DownloadSizeUnknown());
  session.OnDataSocket(CWINSOCK_LOST_CONNECTION);
  EXPECT_FALSE(session.DownloadSizeUnknown());
  EXPECT_TRUE(host.errors.empty());  // nothing to compare with: taken as it came
  EXPECT_EQ(host.posted.back(), XFER_GETIMAGE_RESPONSE);
}

TEST_F(Session, FailuresOfTheNetworkStopWithTheirMessages) {
  struct Case {
    void (*provoke)(UpdateSession&);
    std::string message;
  };
  const std::vector<Case> cases = {
      {[](UpdateSession& s) { s.OnControlSocket(CWINSOCK_ERROR_READING, 0); },
       "A Network error has occured, Shutting Down...Control: 4"},
      {[](UpdateSession& s) { s.OnControlSocket(CWINSOCK_CONNECTION_TIMEOUT, 0); }, ConnectTimeoutMessage},
      {[](UpdateSession& s) { s.OnListenerSocket(CWINSOCK_ERROR_WRITING); },
       "A Network error has occured, Shutting Down...Server: 2"},
      {[](UpdateSession& s) { s.OnDataSocket(CWINSOCK_ERROR_READING); },
       "A Network error has occured, Shutting Down...Data: 4"},
      {[](UpdateSession& s) { s.OnTimer(TimerTransfer); }, TransferTimeoutMessage},
  };
  for (const Case& c : cases) {
    FakeHost fresh;
    UpdateSession s(fresh, UpdateServer{}, 5600);
    c.provoke(s);
    EXPECT_EQ(fresh.errors, std::vector<std::string>{c.message});
  }
  // A read error on the listener is only logged.
  session.OnListenerSocket(CWINSOCK_ERROR_READING);
  EXPECT_TRUE(host.Logged("A Network error has occured, Shutting Down...Server: 4"));
  EXPECT_TRUE(host.errors.empty());

  host.connects = false;
  session.OnMainControl(XFER_MAKE_CONNECTION);
  EXPECT_TRUE(host.Called("CloseControl"));
  EXPECT_TRUE(host.Logged("Could not initiate connection attempt"));
  EXPECT_TRUE(host.Logged("connection error: 10061"));
  EXPECT_EQ(host.errors, std::vector<std::string>{CannotConnectMessage});
}

TEST_F(Session, FileNotFoundAndWriteFailuresStop) {
  LogIn();
  Reply("200 PORT ok\r\n");
  Reply("550 No such file\r\n");
  EXPECT_EQ(host.errors, std::vector<std::string>{NotFoundMessage});

  FakeHost full;
  full.writes = false;
  UpdateSession s(full, UpdateServer{}, 5600);
  s.OnMainControl(XFER_LISTUPDATES_RESPONSE);  // no listing: sizes unknown
  s.OnMainControl(XFER_SEND_GETIMAGE);
  s.OnDataSocket(CWINSOCK_YOU_ARE_CONNECTED);
  full.dataChunks.push_back("data");
  s.OnDataSocket(CWINSOCK_DONE_READING);
  EXPECT_TRUE(full.Called("CloseControl") && full.Called("CloseData"));
  EXPECT_EQ(full.errors, std::vector<std::string>{WriteFailedMessage});
}

TEST_F(Session, AListenerThatCannotOpenStopsListsAsWellAsDownloads) {
  host.listens = false;
  session.OnMainControl(XFER_SEND_LISTIMAGE);
  EXPECT_EQ(host.errors, std::vector<std::string>{CommunicationsMessage});
  EXPECT_TRUE(host.sent.empty());  // no PORT without a listener

  FakeHost noDir;
  noDir.makesTempDir = false;
  UpdateSession s(noDir, UpdateServer{}, 5600);
  s.OnMainControl(XFER_SEND_GETIMAGE);
  EXPECT_EQ(noDir.errors, std::vector<std::string>{SaveFailedMessage});
  EXPECT_FALSE(noDir.Called("OpenDownload UPDTBITM.EXE"));
}

TEST_F(Session, ExtractorThatCannotStartStops) {
  host.extractorResult = 8;
  session.OnMainControl(XFER_GETIMAGE_RESPONSE);
  EXPECT_EQ(host.errors, std::vector<std::string>{ExtractMemoryMessage});

  FakeHost other;
  other.extractorResult = 2;
  UpdateSession s(other, UpdateServer{}, 5600);
  s.OnMainControl(XFER_GETUPDATES_RESPONSE);
  EXPECT_TRUE(other.Logged("extracting: 2"));
  EXPECT_EQ(other.errors, std::vector<std::string>{std::string("Error 2: ") + ExtractFailedMessage});
}

TEST_F(Session, AnUpdateAlreadyInstalledIsFetchedOnlyWhenTheUserAsks) {
  host.tempDir = true;
  host.dateCheck = 1;
  session.OnMainControl(XFER_CHANGE_BITMAP);
  EXPECT_TRUE(host.Called("AskReinstall"));
  EXPECT_TRUE(host.Called("RemoveTempDir"));
  EXPECT_EQ(host.quits, 1);
  EXPECT_TRUE(host.posted.empty());
  session.OnMainControl(XFER_SEND_GETUPDATES);  // nothing runs after the quit
  EXPECT_TRUE(host.sent.empty());

  FakeHost again;
  again.dateCheck = 1;
  again.reinstall = true;
  UpdateSession s(again, UpdateServer{}, 5600);
  s.OnMainControl(XFER_CHANGE_BITMAP);
  EXPECT_EQ(again.posted, std::deque<int>{XFER_SEND_GETUPDATES});

  FakeHost invalid;
  invalid.dateCheck = 3;
  UpdateSession t(invalid, UpdateServer{}, 5600);
  t.OnMainControl(XFER_CHANGE_BITMAP);
  EXPECT_EQ(invalid.errors, std::vector<std::string>{InvalidListingMessage});

  FakeHost noPicture;
  noPicture.pictureReadable = false;
  UpdateSession u(noPicture, UpdateServer{}, 5600);
  u.OnMainControl(XFER_CHANGE_BITMAP);
  EXPECT_EQ(noPicture.errors, std::vector<std::string>{CorruptPictureMessage});
}

TEST_F(Session, CorruptFilesStopBeforeTheReaderIsAsked) {
  host.verified = false;
  session.OnMainControl(XFER_PROCESS_UPDATE);
  EXPECT_EQ(host.errors, std::vector<std::string>{CorruptFilesMessage});
  EXPECT_FALSE(host.Called("CloseMainProgram"));
}

TEST_F(Session, TheCopyIsTriedThreeTimesEachAfterTheReaderIsSeenGone) {
  host.copies = {false, false, false};
  session.OnMainControl(XFER_PROCESS_UPDATE);
  for (int attempt = 0; attempt < 3; ++attempt) {
    ASSERT_TRUE(host.timers.count(TimerReaderClosed)) << attempt;
    session.OnTimer(TimerReaderClosed);
    Pump();
  }
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "CopyUpdateFiles"), 3);
  EXPECT_EQ(host.errors, std::vector<std::string>{std::string("Error 5: ") + CopyFailedMessage});
  EXPECT_FALSE(host.Called("StoreUpdateDate"));

  FakeHost second;
  second.copies = {false, true};
  UpdateSession s(second, UpdateServer{}, 5600);
  s.OnTimer(TimerReaderClosed);
  s.OnMainControl(XFER_INSTALL_UPDATE);
  s.OnMainControl(XFER_INSTALL_UPDATE);
  EXPECT_TRUE(second.errors.empty());
  EXPECT_TRUE(second.Called("StoreUpdateDate"));
  EXPECT_EQ(second.quits, 1);

  FakeHost noRestart;
  noRestart.restartResult = 2;
  UpdateSession t(noRestart, UpdateServer{}, 5600);
  t.OnMainControl(XFER_INSTALL_UPDATE);
  EXPECT_EQ(noRestart.errors, std::vector<std::string>{RestartFailedMessage});
}

TEST_F(Session, AfterAFatalErrorNothingElseRuns) {
  session.OnControlSocket(CWINSOCK_ERROR_WRITING, 0);
  session.OnControlSocket(CWINSOCK_ERROR_READING, 0);
  session.OnTimer(TimerStartSession);
  session.OnMainControl(XFER_MAKE_CONNECTION);
  EXPECT_EQ(host.errors.size(), 1u);
  EXPECT_TRUE(host.posted.empty());
  EXPECT_TRUE(host.calls.empty());
  EXPECT_TRUE(session.Stopped());
  EXPECT_EQ(StateName(XFER_INSTALL_UPDATE), nullptr);
  EXPECT_STREQ(SocketCodeName(9), "UNKNOWN");
}

}  // namespace
}  // namespace refresh
