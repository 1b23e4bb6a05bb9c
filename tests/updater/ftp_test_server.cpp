#include "ftp_test_server.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

// Waits up to 100 ms for the socket to become readable.
bool Readable(SOCKET socket) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(socket, &set);
  timeval wait = {0, 100000};
  return ::select(0, &set, nullptr, nullptr, &wait) > 0;
}

// Sends all of data unless the peer goes or the server stops. The socket does
// not block: under load Wine has left a blocking send waiting for ever on a
// connection the updater had already dropped, and with it the test.
void SendAll(SOCKET socket, const std::string& data, const std::atomic<bool>& stop) {
  u_long nonBlocking = 1;
  ::ioctlsocket(socket, FIONBIO, &nonBlocking);
  std::size_t sent = 0;
  while (sent < data.size() && !stop) {
    const int n = ::send(socket, data.data() + sent, static_cast<int>(data.size() - sent), 0);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n == 0 || ::WSAGetLastError() != WSAEWOULDBLOCK) return;
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(socket, &writable);
    FD_SET(socket, &failed);
    timeval wait = {0, 100000};
    if (::select(0, nullptr, &writable, &failed, &wait) > 0 && FD_ISSET(socket, &failed)) return;
  }
}

}  // namespace

LocalFtpServer::LocalFtpServer(std::string folder, FtpScript script) : folder_(std::move(folder)), script_(script) {
  WSADATA data;
  ::WSAStartup(0x0101, &data);
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = ::inet_addr("127.0.0.1");
  ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(listener_, 2);
  int length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ::ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

LocalFtpServer::~LocalFtpServer() {
  stop_ = true;
  thread_.join();
  ::closesocket(listener_);
  ::WSACleanup();
}

std::vector<std::string> LocalFtpServer::Commands() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return commands_;
}

void LocalFtpServer::Run() {
  while (!stop_) {
    if (!Readable(listener_)) continue;
    const SOCKET control = ::accept(listener_, nullptr, nullptr);
    if (control == INVALID_SOCKET) continue;
    ++connections_;
    Serve(control);
    ::closesocket(control);
  }
}

bool LocalFtpServer::ReadLine(SOCKET control, std::string& pending, std::string& line) {
  for (;;) {
    const std::size_t end = pending.find("\r\n");
    if (end != std::string::npos) {
      line = pending.substr(0, end);
      pending.erase(0, end + 2);
      return true;
    }
    while (!Readable(control)) {
      if (stop_) return false;
    }
    char buffer[512];
    const int n = ::recv(control, buffer, sizeof buffer, 0);
    if (n <= 0) return false;
    pending.append(buffer, static_cast<std::size_t>(n));
  }
}

void LocalFtpServer::Reply(SOCKET control, const std::string& text) { SendAll(control, text + "\r\n", stop_); }

void LocalFtpServer::ReplyInPieces(SOCKET control, const std::string& text, std::initializer_list<std::size_t> cuts) {
  const std::string whole = text + "\r\n";
  std::size_t at = 0;
  for (std::size_t cut : cuts) {
    SendAll(control, whole.substr(at, cut - at), stop_);
    at = cut;
    ::Sleep(60);  // long enough for the client to read each piece on its own
  }
  SendAll(control, whole.substr(at), stop_);
}

SOCKET LocalFtpServer::ConnectData() {
  if (script_.dataDelay > 0) ::Sleep(static_cast<DWORD>(script_.dataDelay));
  const SOCKET data = ::socket(AF_INET, SOCK_STREAM, 0);
  if (::connect(data, reinterpret_cast<const sockaddr*>(&dataAddress_), sizeof dataAddress_) == SOCKET_ERROR) {
    ::closesocket(data);
    return INVALID_SOCKET;
  }
  return data;
}

void LocalFtpServer::SendData(SOCKET control, const std::string& data, const char* opening) {
  if (!script_.lateReplies) Reply(control, opening);
  const SOCKET connection = ConnectData();
  if (connection == INVALID_SOCKET) {
    Reply(control, "425 Can't open data connection");
    return;
  }
  SendAll(connection, data, stop_);
  if (script_.lateReplies) {
    // Two replies, apart, while the data connection is still open.
    ::Sleep(150);
    Reply(control, opening);
    ::Sleep(150);
    Reply(control, "226 Transfer complete");
    ::Sleep(150);
  }
  ::closesocket(connection);
  if (!script_.lateReplies) Reply(control, "226 Transfer complete");
}

std::string LocalFtpServer::Listing(const std::string& name) const {
  std::ifstream file(folder_ + name, std::ios::binary | std::ios::ate);
  if (!file) return "";
  if (script_.unknownSizes) return name + "\r\n";
  char line[160];
  std::snprintf(line, sizeof line, "-rw-r--r--   1 encyuser users    %12ld Mar 07 10:00 %s\r\n",
                static_cast<long>(file.tellg()), name.c_str());
  return line;
}

void LocalFtpServer::Serve(SOCKET control) {
  if (script_.greet && script_.splitReplies) {
    ReplyInPieces(control, "220-Local update server\r\n220-for the encyclopedia\r\n220 ready", {4, 25, 52});
  } else if (script_.greet) {
    Reply(control, "220 Local update server ready");
  }
  std::string pending, line;
  while (ReadLine(control, pending, line)) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      commands_.push_back(line);
    }
    const std::string verb = line.substr(0, line.find(' '));
    const std::string argument = line.find(' ') == std::string::npos ? "" : line.substr(line.find(' ') + 1);
    if (verb == "USER") {
      Reply(control, "331 Password required");
    } else if (verb == "PASS" && script_.refusePassword) {
      Reply(control, "530 Login incorrect.");
    } else if (verb == "PASS" && script_.splitReplies) {
      ReplyInPieces(control, "230-Welcome\r\n230-to the update server\r\n230 Logged in", {13, 15, 41});
    } else if (verb == "PASS") {
      Reply(control, "230-Welcome\r\n230 Logged in");
    } else if (verb == "CWD") {
      Reply(control, "250 Directory changed");
    } else if (verb == "TYPE") {
      Reply(control, "200 Type set");
    } else if (verb == "PORT") {
      int a, b, c, d, high, low;
      if (std::sscanf(argument.c_str(), "%d,%d,%d,%d,%d,%d", &a, &b, &c, &d, &high, &low) != 6) {
        Reply(control, "501 Bad PORT");
        continue;
      }
      dataAddress_ = {};
      dataAddress_.sin_family = AF_INET;
      dataAddress_.sin_addr.s_addr = ::htonl(static_cast<u_long>(a << 24 | b << 16 | c << 8 | d));
      dataAddress_.sin_port = ::htons(static_cast<u_short>(high << 8 | low));
      if (script_.splitReplies) {
        ReplyInPieces(control, "200 PORT command successful", {1});
      } else {
        Reply(control, "200 PORT command successful");
      }
    } else if ((verb == "LIST" || verb == "RETR") && script_.alwaysRefuseData) {
      Reply(control, "425 Can't open data connection");
    } else if (verb == "RETR" && script_.refuseRetr) {
      Reply(control, "530 Not logged in.");
    } else if (verb == "LIST") {
      if (script_.refuseFirstList && !listRefused_) {
        listRefused_ = true;
        Reply(control, "425 Can't open data connection");
        continue;
      }
      SendData(control, Listing(argument), "150 Opening ASCII mode data connection");
    } else if (verb == "RETR" && argument == script_.silentRetrOf) {
      Reply(control, "150 Opening BINARY mode data connection");
    } else if (verb == "RETR") {
      std::ifstream file(folder_ + argument, std::ios::binary);
      if (!file) {
        Reply(control, "550 No such file");
        continue;
      }
      std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
      if (argument == script_.cutRetrOf) bytes.resize(bytes.size() / 2);
      if (argument == script_.overlongRetrOf) bytes += std::string(1000, 'x');
      SendData(control, bytes, "150 Opening BINARY mode data connection");
    } else if (verb == "QUIT") {
      Reply(control, "221 Goodbye");
      return;
    } else {
      Reply(control, "502 Command not implemented");
    }
  }
}
