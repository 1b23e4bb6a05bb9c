// A small FTP server for the updater's tests, on the loopback interface in a
// thread of the test program: it answers the updater's commands and serves
// the files of a scratch folder over active-mode data connections.
#pragma once

#include <winsock.h>

#include <atomic>
#include <initializer_list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct FtpScript {
  bool greet = true;                // without the greeting the session waits
  bool refuseFirstList = false;     // 425 to the first LIST
  bool lateReplies = false;         // a LIST's 150 and 226 come while its data connection is open
  bool unknownSizes = false;        // listing lines that hold no size
  bool splitReplies = false;        // multi-line greeting and login, replies sent in pieces, a code cut in two
  bool alwaysRefuseData = false;    // 425 to every LIST and RETR
  bool refusePassword = false;      // 530 to PASS
  bool refuseRetr = false;          // 530 to RETR
  const char* cutRetrOf = "";       // this file's data connection closes half way, and 226 follows
  const char* silentRetrOf = "";    // this file's RETR gets its 150, and no data connection ever comes
  const char* overlongRetrOf = "";  // this file's data brings more bytes than its listing line says
  int dataDelay = 0;                // milliseconds before each data connection is made, as over a long line
};

class LocalFtpServer {
 public:
  LocalFtpServer(std::string folder, FtpScript script = {});
  ~LocalFtpServer();
  LocalFtpServer(const LocalFtpServer&) = delete;
  LocalFtpServer& operator=(const LocalFtpServer&) = delete;

  int Port() const { return port_; }
  // The commands received so far, without their line ends.
  std::vector<std::string> Commands() const;
  int Connections() const { return connections_; }

 private:
  void Run();
  void Serve(SOCKET control);
  bool ReadLine(SOCKET control, std::string& pending, std::string& line);
  void Reply(SOCKET control, const std::string& text);
  // Sends the reply in pieces, cut after each of the given lengths.
  void ReplyInPieces(SOCKET control, const std::string& text, std::initializer_list<std::size_t> cuts);
  SOCKET ConnectData();
  void SendData(SOCKET control, const std::string& data, const char* opening);
  std::string Listing(const std::string& name) const;

  std::string folder_;
  FtpScript script_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  sockaddr_in dataAddress_ = {};
  bool listRefused_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<std::string> commands_;
  std::thread thread_;
};
