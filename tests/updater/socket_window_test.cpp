// The asynchronous sockets over the loopback interface: the codes they post
// to their owners and the order in which they come.
#include "socket_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>

#include "ui_harness.h"
#include "update_session.h"

namespace {

using namespace refresh;

constexpr UINT kClientMessage = WM_USER + 101;
constexpr UINT kServerMessage = WM_USER + 102;
constexpr UINT kDataMessage = WM_USER + 103;

// A port nobody listens on just now.
int FreePort() {
  const SOCKET probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = ::inet_addr("127.0.0.1");
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::closesocket(probe);
  return ::ntohs(address.sin_port);
}

std::vector<WPARAM> Codes(const ui::RecordingParent& owner, UINT message) {
  std::vector<WPARAM> codes;
  for (const MSG& msg : owner.Of(message)) codes.push_back(msg.wParam);
  return codes;
}

class Sockets : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(winsock.Startup(), SocketDone); }
  void TearDown() override {
    for (CSocketWindow* socket : {&client, &server, &data}) {
      if (socket->IsOpen()) socket->CloseSocket();
    }
    winsock.Cleanup();
  }
  // Waits (handling messages) until the owner has had `times` messages with
  // this code; the time is only a guard against a hang, long enough for a
  // busy machine.
  bool WaitFor(UINT message, WPARAM code, int milliseconds = 30000, std::ptrdiff_t times = 1) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
      const auto codes = Codes(owner, message);
      if (std::count(codes.begin(), codes.end(), code) >= times) return true;
      ui::PumpFor(10);
    }
    return false;
  }
  // A client connected to an accepted data socket through the listener.
  void Connect() {
    const int port = FreePort();
    ASSERT_EQ(server.CreateServerSocket(port), SocketDone);
    ASSERT_EQ(client.CreateSocket(), SocketDone);
    ASSERT_EQ(client.Connect("127.0.0.1", port, TRUE), SocketDone);
    ASSERT_TRUE(WaitFor(kServerMessage, CWINSOCK_READY_TO_ACCEPT_CONNECTION));
    ASSERT_EQ(server.Accept(&data), SocketDone);
    ASSERT_TRUE(WaitFor(kDataMessage, CWINSOCK_YOU_ARE_CONNECTED));
    ASSERT_TRUE(WaitFor(kClientMessage, CWINSOCK_YOU_ARE_CONNECTED));
  }

  CWinsockInit winsock;
  ui::RecordingParent owner;
  CSocketWindow client{&owner, kClientMessage};
  CSocketWindow server{&owner, kServerMessage};
  CSocketWindow data{&owner, kDataMessage};
};

TEST_F(Sockets, ABigWriteIsReportedOnceAfterItsLastPart) {
  Connect();
  std::string big(3 * 1024 * 1024, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  ASSERT_EQ(client.Write(static_cast<int>(big.size()), big.data()), SocketDone);
  std::string received, chunk;
  const DWORD start = ::GetTickCount();
  while (received.size() < big.size() && ::GetTickCount() - start < 20000) {
    ui::PumpFor(5);
    while (data.Read(chunk)) received += chunk;
  }
  EXPECT_TRUE(received == big);
  // The report may come after the last part arrives: waited for, then a
  // little more for a second one that must not come.
  EXPECT_TRUE(WaitFor(kClientMessage, CWINSOCK_DONE_WRITING, 20000));
  ui::PumpFor(50);
  const auto done = owner.Of(kClientMessage);
  const auto written = std::count_if(done.begin(), done.end(), [&](const MSG& msg) {
    return msg.wParam == CWINSOCK_DONE_WRITING && msg.lParam == reinterpret_cast<LPARAM>(big.data());
  });
  EXPECT_EQ(written, 1);
  const auto codes = Codes(owner, kClientMessage);
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<WPARAM>(CWINSOCK_ERROR_WRITING)), 0);
}

TEST_F(Sockets, ClosingWithQueuedWritesHandsEveryBufferBack) {
  Connect();
  const char first[] = "USER encyuser\r\n";
  const char second[] = "PASS b591Kwos\r\n";
  ASSERT_EQ(client.Write(sizeof first - 1, first), SocketDone);
  ASSERT_EQ(client.Write(sizeof second - 1, second), SocketDone);
  ASSERT_EQ(client.CloseSocket(), SocketDone);  // before any of them was sent
  ui::PumpUntilIdle();
  std::vector<LPARAM> failed;
  for (const MSG& msg : owner.Of(kClientMessage)) {
    if (msg.wParam == CWINSOCK_ERROR_WRITING) failed.push_back(msg.lParam);
  }
  EXPECT_EQ(failed, (std::vector<LPARAM>{reinterpret_cast<LPARAM>(first), reinterpret_cast<LPARAM>(second)}));
  EXPECT_FALSE(client.IsOpen());
  EXPECT_EQ(client.CloseSocket(), SocketWrongState);
}

TEST_F(Sockets, APeerThatSendsAndClosesAtOnceIsReadToTheEndBeforeTheClose) {
  const int port = FreePort();
  const SOCKET peer = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = ::inet_addr("127.0.0.1");
  address.sin_port = ::htons(static_cast<u_short>(port));
  ASSERT_EQ(::bind(peer, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::listen(peer, 1);
  ASSERT_EQ(client.CreateSocket(), SocketDone);
  ASSERT_EQ(client.Connect("127.0.0.1", port, FALSE), SocketDone);
  const SOCKET accepted = ::accept(peer, nullptr, nullptr);
  ASSERT_NE(accepted, INVALID_SOCKET);
  const std::string sent(5500, 'z');
  ASSERT_EQ(::send(accepted, sent.data(), static_cast<int>(sent.size()), 0), static_cast<int>(sent.size()));
  ::closesocket(accepted);
  ::closesocket(peer);

  ASSERT_TRUE(WaitFor(kClientMessage, CWINSOCK_LOST_CONNECTION));
  const auto codes = Codes(owner, kClientMessage);
  EXPECT_EQ(codes.back(), static_cast<WPARAM>(CWINSOCK_LOST_CONNECTION));
  EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<WPARAM>(CWINSOCK_LOST_CONNECTION)), 1);
  EXPECT_GE(std::count(codes.begin(), codes.end(), static_cast<WPARAM>(CWINSOCK_DONE_READING)), 6);
  std::string received, chunk;
  while (client.Read(chunk)) received += chunk;
  EXPECT_EQ(received, sent);
}

TEST_F(Sockets, ADottedAddressIsNeverLookedUpAndANameIs) {
  const int port = FreePort();
  ASSERT_EQ(server.CreateServerSocket(port), SocketDone);
  ASSERT_EQ(client.CreateSocket(), SocketDone);
  ASSERT_EQ(client.Connect("127.0.0.1", port, FALSE), SocketDone);
  ASSERT_TRUE(WaitFor(kClientMessage, CWINSOCK_YOU_ARE_CONNECTED));
  EXPECT_TRUE(owner.Of(WM_SOCKET_RESOLVED).empty());
  client.CloseSocket();

  char text[16];
  ASSERT_TRUE(server.GetPortString(text, sizeof text));
  char expected[16];
  std::snprintf(expected, sizeof expected, "%d,%d", port >> 8, port & 0xFF);
  EXPECT_STREQ(text, expected);
  EXPECT_EQ(server.ConnectService("127.0.0.1", "21"), SocketWrongState);  // a server does not connect
  EXPECT_EQ(server.CreateServerSocket(0), SocketWrongState);

  // A machine that cannot resolve "localhost" at all (no hosts file) cannot
  // show the asynchronous lookup either.
  if (!::gethostbyname("localhost")) GTEST_SKIP() << "\"localhost\" does not resolve on this machine";
  ASSERT_EQ(client.CreateSocket(), SocketDone);
  ASSERT_EQ(client.Connect("localhost", port, FALSE), SocketDone);
  const DWORD start = ::GetTickCount();
  while (owner.Of(WM_SOCKET_RESOLVED).empty() && ::GetTickCount() - start < 30000) ui::PumpFor(10);
  ASSERT_EQ(owner.Of(WM_SOCKET_RESOLVED).size(), 1u);
  EXPECT_EQ(owner.Of(WM_SOCKET_RESOLVED)[0].wParam, static_cast<WPARAM>(SocketDone));

  EXPECT_EQ(client.CreateSocket(), SocketWrongState);  // one socket at a time
}

// A listener that takes connections only from one address: one from
// another address (127.0.0.2 is this machine too) is closed at once and the
// data socket stays closed; the next, from the address, is taken.
TEST_F(Sockets, AConnectionFromAnotherAddressIsRefusedAndTheRightOneTaken) {
  const int port = FreePort();
  ASSERT_EQ(server.CreateServerSocket(port), SocketDone);
  const SOCKET stranger = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = ::inet_addr("127.0.0.2");
  ASSERT_EQ(::bind(stranger, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  address.sin_addr.s_addr = ::inet_addr("127.0.0.1");
  address.sin_port = ::htons(static_cast<u_short>(port));
  ASSERT_EQ(::connect(stranger, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_TRUE(WaitFor(kServerMessage, CWINSOCK_READY_TO_ACCEPT_CONNECTION));
  in_addr from = {};
  EXPECT_EQ(server.Accept(&data, &address.sin_addr, &from), SocketRefused);
  EXPECT_EQ(from.s_addr, ::inet_addr("127.0.0.2"));
  EXPECT_FALSE(data.IsOpen());
  // Cut off: the stranger's end turns readable (reset or end) at once.
  fd_set set;
  FD_ZERO(&set);
  FD_SET(stranger, &set);
  timeval wait = {2, 0};
  ASSERT_EQ(::select(0, &set, nullptr, nullptr, &wait), 1);
  char byte;
  EXPECT_LE(::recv(stranger, &byte, 1, 0), 0);
  ::closesocket(stranger);

  ASSERT_EQ(client.CreateSocket(), SocketDone);
  ASSERT_EQ(client.Connect("127.0.0.1", port, FALSE), SocketDone);
  ASSERT_TRUE(WaitFor(kClientMessage, CWINSOCK_YOU_ARE_CONNECTED));
  // The listener's notice of this second connection (the stranger's came first).
  ASSERT_TRUE(WaitFor(kServerMessage, CWINSOCK_READY_TO_ACCEPT_CONNECTION, 30000, 2));
  EXPECT_EQ(server.Accept(&data, &address.sin_addr, &from), SocketDone);
  EXPECT_TRUE(data.IsOpen());
  in_addr peer = {};
  ASSERT_TRUE(client.GetPeerAddress(&peer));
  EXPECT_EQ(peer.s_addr, ::inet_addr("127.0.0.1"));
  EXPECT_FALSE(server.GetPeerAddress(&peer));  // a listener has no peer
}

}  // namespace
