// Asynchronous stream sockets over WinSock 1.1. Each socket owns a hidden
// window to which WinSock reports its network events (WSAAsyncSelect); the
// socket turns them into one of the eight CWINSOCK_ codes and posts that to
// its owner window with the owner's own message number. Writes are queued and
// sent as the network takes them; received data waits in a queue of chunks.
#pragma once

#include <winsock.h>

#include <deque>
#include <string>

#include "framework.h"

// Messages to a socket's own window.
constexpr UINT WM_SOCKET_EVENT = WM_USER + 1;     // WinSock network events
constexpr UINT WM_SOCKET_RESOLVED = WM_USER + 2;  // host lookup answers

// Results of the socket operations.
enum SocketResult {
  SocketDone = 0,
  SocketNoResources = 1,  // the window or memory could not be made
  SocketError = 2,        // a WinSock error, kept as the last error
  SocketWrongState = 3,
  SocketRefused = 4,  // a connection from an address not allowed, closed at once
};

// Starts and ends the use of WinSock 1.1.
class CWinsockInit {
 public:
  int Startup();  // SocketDone or SocketError
  int Cleanup();
  int m_nLastError = 0;
  WSADATA m_wsaData = {};
  static constexpr WORD RequestedVersion = 0x0101;

 private:
  bool m_bStarted = false;
};

class CSocketWindow : public CWnd {
 public:
  CSocketWindow(CWnd* pOwner, UINT nOwnerMessage);
  ~CSocketWindow() override;

  // A client socket without a service, a server bound to it with one (a
  // port number, or a name getservbyname knows).
  int CreateSocket(LPCSTR service = nullptr);
  int CreateServerSocket(int port);
  // Connects a client; with the time-out, five minutes without an answer
  // end the attempt (code 8).
  int Connect(LPCSTR host, int port, BOOL useTimeout);
  int ConnectService(LPCSTR host, LPCSTR service);
  int ConnectAddress(const sockaddr_in& address);
  // Accepts a waiting connection into `data`, which must have no socket.
  // With `onlyFrom`, a connection from any other address is closed at once
  // (SocketRefused) and `data` stays closed; `from` gets the peer's address.
  int Accept(CSocketWindow* data, const in_addr* onlyFrom = nullptr, in_addr* from = nullptr);
  // Queues a buffer, which the caller keeps alive until code 1 or 2 hands it back.
  int Write(int length, const char* data);
  // The first received chunk; false when none waits.
  bool Read(std::string& data);
  int CloseSocket();

  BOOL IsOpen() const { return m_socket != INVALID_SOCKET; }
  long ReadQueueLength() const { return static_cast<long>(m_readQueue.size()); }
  int LastError() const { return m_nLastError; }
  // The local port as "%d,%d" (high byte, low byte).
  BOOL GetPortString(char* text, int size) const;
  // The socket's local address as "%d,%d,%d,%d"; a message box and FALSE
  // when it cannot be had.
  BOOL GetLocalAddressString(char* text, int size) const;
  // The address at the other end of a connected socket; FALSE when there is none.
  BOOL GetPeerAddress(in_addr* address) const;

 protected:
  LRESULT OnSocketEvent(WPARAM wParam, LPARAM lParam);
  LRESULT OnHostResolved(WPARAM wParam, LPARAM lParam);
  void OnTimer(UINT nIDEvent);
  DECLARE_MESSAGE_MAP()

 private:
  struct Pending {
    const char* data;
    int length;
  };

  bool MakeWindow();
  void Reset();
  void PostOwner(int code, LPARAM lParam);
  void PostSelf(long event);
  bool Receive();
  void Send();
  void StopConnectTimeout();
  static u_short PortOf(LPCSTR service);

  CWnd* m_pOwner;
  UINT m_nOwnerMessage;
  SOCKET m_socket = INVALID_SOCKET;
  sockaddr_in m_local = {};
  sockaddr_in m_remote = {};
  bool m_bServer = false;
  int m_nLastError = 0;
  bool m_bTimeoutRunning = false;
  int m_nTimeoutTicks = 0;
  HANDLE m_hLookup = nullptr;
  char m_hostEntry[MAXGETHOSTSTRUCT] = {};
  std::deque<Pending> m_writeQueue;
  int m_nSent = 0;  // bytes of the first queued buffer already sent
  std::deque<std::string> m_readQueue;
};
