#include "socket_window.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "update_session.h"
#include "updater_texts.h"

using namespace refresh;

namespace {

constexpr long kServerEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE;   // 43
constexpr long kClientEvents = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;  // 51
constexpr UINT_PTR kConnectTimer = 1;
constexpr UINT kConnectTick = 60000;
constexpr int kConnectTicks = 5;
constexpr int kReceiveSize = 1000;

}  // namespace

// ---- CWinsockInit

int CWinsockInit::Startup() {
  const int result = ::WSAStartup(RequestedVersion, &m_wsaData);
  if (result != 0) {
    m_nLastError = result;
    return SocketError;
  }
  m_bStarted = true;
  return SocketDone;
}

int CWinsockInit::Cleanup() {
  if (!m_bStarted) return SocketDone;
  m_bStarted = false;
  if (::WSACleanup() == SOCKET_ERROR) {
    m_nLastError = ::WSAGetLastError();
    return SocketError;
  }
  return SocketDone;
}

// ---- CSocketWindow

BEGIN_MESSAGE_MAP(CSocketWindow, CWnd)
ON_MESSAGE(WM_SOCKET_EVENT, OnSocketEvent)
ON_MESSAGE(WM_SOCKET_RESOLVED, OnHostResolved)
ON_WM_TIMER()
END_MESSAGE_MAP()

CSocketWindow::CSocketWindow(CWnd* pOwner, UINT nOwnerMessage) : m_pOwner(pOwner), m_nOwnerMessage(nOwnerMessage) {}

CSocketWindow::~CSocketWindow() {
  if (IsOpen()) CloseSocket();
}

bool CSocketWindow::MakeWindow() {
  if (m_hWnd != nullptr) return true;
  return CreateEx(0, AfxRegisterWndClass(0), "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr) != FALSE;
}

void CSocketWindow::Reset() {
  m_socket = INVALID_SOCKET;
  m_bServer = false;
  if (m_hWnd != nullptr) DestroyWindow();
}

void CSocketWindow::PostOwner(int code, LPARAM lParam) {
  if (m_pOwner != nullptr && m_pOwner->m_hWnd != nullptr) m_pOwner->PostMessage(m_nOwnerMessage, code, lParam);
}

void CSocketWindow::PostSelf(long event) {
  PostMessage(WM_SOCKET_EVENT, static_cast<WPARAM>(m_socket), WSAMAKESELECTREPLY(event, 0));
}

u_short CSocketWindow::PortOf(LPCSTR service) {
  const int number = std::atoi(service);
  if (number != 0) return ::htons(static_cast<u_short>(number));
  const servent* entry = ::getservbyname(service, "tcp");
  return entry == nullptr ? 0 : entry->s_port;
}

int CSocketWindow::CreateSocket(LPCSTR service) {
  if (IsOpen()) return SocketWrongState;
  if (!MakeWindow()) return SocketNoResources;
  m_bServer = service != nullptr;
  m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
  bool ok = m_socket != INVALID_SOCKET;
  if (ok && m_bServer) {
    m_local = {};
    m_local.sin_family = AF_INET;
    m_local.sin_addr.s_addr = ::htonl(INADDR_ANY);
    m_local.sin_port = PortOf(service);
    ok = m_local.sin_port != 0 &&
         ::bind(m_socket, reinterpret_cast<const sockaddr*>(&m_local), sizeof m_local) != SOCKET_ERROR;
  }
  ok = ok && ::WSAAsyncSelect(m_socket, m_hWnd, WM_SOCKET_EVENT, m_bServer ? kServerEvents : kClientEvents) == 0;
  ok = ok && (!m_bServer || ::listen(m_socket, 3) != SOCKET_ERROR);
  if (!ok) {
    m_nLastError = ::WSAGetLastError();
    if (m_socket != INVALID_SOCKET) ::closesocket(m_socket);
    Reset();
    return SocketError;
  }
  return SocketDone;
}

int CSocketWindow::CreateServerSocket(int port) {
  if (port <= 0) return SocketWrongState;
  char service[16];
  std::snprintf(service, sizeof service, "%d", port);
  return CreateSocket(service);
}

int CSocketWindow::Connect(LPCSTR host, int port, BOOL useTimeout) {
  if (useTimeout && m_hWnd != nullptr) {
    SetTimer(kConnectTimer, kConnectTick);
    m_bTimeoutRunning = true;
    m_nTimeoutTicks = 0;
  }
  char service[16];
  std::snprintf(service, sizeof service, "%d", port);
  return ConnectService(host, service);
}

int CSocketWindow::ConnectService(LPCSTR host, LPCSTR service) {
  if (!IsOpen() || m_bServer) return SocketWrongState;
  m_remote = {};
  m_remote.sin_family = AF_INET;
  m_remote.sin_port = PortOf(service);
  // A dotted address is used as it is; a name is looked up first.
  if (std::isdigit(static_cast<unsigned char>(host[0]))) {
    m_remote.sin_addr.s_addr = ::inet_addr(host);
    return ConnectAddress(m_remote);
  }
  m_hLookup = ::WSAAsyncGetHostByName(m_hWnd, WM_SOCKET_RESOLVED, host, m_hostEntry, sizeof m_hostEntry);
  if (m_hLookup == nullptr) {
    m_nLastError = ::WSAGetLastError();
    return SocketError;
  }
  return SocketDone;
}

int CSocketWindow::ConnectAddress(const sockaddr_in& address) {
  if (m_bServer) return SocketWrongState;
  m_remote = address;
  if (::connect(m_socket, reinterpret_cast<const sockaddr*>(&m_remote), sizeof m_remote) == SOCKET_ERROR) {
    const int error = ::WSAGetLastError();
    if (error != WSAEWOULDBLOCK) {
      m_nLastError = error;
      StopConnectTimeout();
      return SocketError;
    }
  }
  return SocketDone;
}

int CSocketWindow::Accept(CSocketWindow* data, const in_addr* onlyFrom, in_addr* from) {
  if (!m_bServer || !IsOpen() || data == nullptr || data->IsOpen()) return SocketWrongState;
  if (!data->MakeWindow()) return SocketNoResources;
  sockaddr_in peer = {};
  int length = sizeof peer;
  const SOCKET accepted = ::accept(m_socket, reinterpret_cast<sockaddr*>(&peer), &length);
  if (accepted == INVALID_SOCKET) {
    m_nLastError = ::WSAGetLastError();
    data->Reset();
    return SocketError;
  }
  if (from != nullptr) *from = peer.sin_addr;
  if (onlyFrom != nullptr && peer.sin_addr.s_addr != onlyFrom->s_addr) {
    // An abortive close: the stranger is cut off, and the port keeps no
    // closing connection that could stop it being listened on again.
    linger abort = {1, 0};
    ::setsockopt(accepted, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    ::closesocket(accepted);
    data->Reset();
    return SocketRefused;
  }
  if (::WSAAsyncSelect(accepted, data->m_hWnd, WM_SOCKET_EVENT, kClientEvents) != 0) {
    m_nLastError = ::WSAGetLastError();
    ::closesocket(accepted);
    data->Reset();
    return SocketError;
  }
  data->m_socket = accepted;
  data->m_remote = peer;
  data->PostOwner(CWINSOCK_YOU_ARE_CONNECTED, 0);
  return SocketDone;
}

int CSocketWindow::Write(int length, const char* data) {
  if (!IsOpen()) return SocketWrongState;
  try {
    m_writeQueue.push_back({data, length});
  } catch (const std::bad_alloc&) {
    return SocketNoResources;
  }
  PostSelf(FD_WRITE);
  return SocketDone;
}

bool CSocketWindow::Read(std::string& data) {
  if (m_readQueue.empty()) return false;
  data = std::move(m_readQueue.front());
  m_readQueue.pop_front();
  return true;
}

int CSocketWindow::CloseSocket() {
  if (!IsOpen()) return SocketWrongState;
  if (m_hLookup != nullptr) ::WSACancelAsyncRequest(m_hLookup);
  m_hLookup = nullptr;
  StopConnectTimeout();
  for (const Pending& pending : m_writeQueue) PostOwner(CWINSOCK_ERROR_WRITING, reinterpret_cast<LPARAM>(pending.data));
  m_writeQueue.clear();
  m_nSent = 0;
  m_readQueue.clear();
  ::closesocket(m_socket);
  Reset();
  return SocketDone;
}

BOOL CSocketWindow::GetPortString(char* text, int size) const {
  if (text == nullptr || size <= 0) return FALSE;
  const int port = ::ntohs(m_local.sin_port);
  std::snprintf(text, static_cast<size_t>(size), "%d,%d", (port >> 8) & 0xFF, port & 0xFF);
  return TRUE;
}

BOOL CSocketWindow::GetLocalAddressString(char* text, int size) const {
  if (text == nullptr || size <= 0) return FALSE;
  text[0] = '\0';
  sockaddr_in local = {};
  int length = sizeof local;
  if (!IsOpen() || ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&local), &length) == SOCKET_ERROR) {
    AfxMessageBox(refresh::LocalAddressMessage, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(&local.sin_addr);
  std::snprintf(text, static_cast<size_t>(size), "%d,%d,%d,%d", bytes[0], bytes[1], bytes[2], bytes[3]);
  return TRUE;
}

BOOL CSocketWindow::GetPeerAddress(in_addr* address) const {
  sockaddr_in peer = {};
  int length = sizeof peer;
  if (address == nullptr || !IsOpen() ||
      ::getpeername(m_socket, reinterpret_cast<sockaddr*>(&peer), &length) == SOCKET_ERROR) {
    return FALSE;
  }
  *address = peer.sin_addr;
  return TRUE;
}

void CSocketWindow::StopConnectTimeout() {
  if (!m_bTimeoutRunning) return;
  m_bTimeoutRunning = false;
  if (m_hWnd != nullptr) KillTimer(kConnectTimer);
}

// ---- events

LRESULT CSocketWindow::OnSocketEvent(WPARAM wParam, LPARAM lParam) {
  // Events of another socket (one accepted from this listener before it got
  // its own window) and events with an error are not this socket's business.
  if (!IsOpen() || static_cast<SOCKET>(wParam) != m_socket || WSAGETSELECTERROR(lParam) != 0) return 0;
  switch (WSAGETSELECTEVENT(lParam)) {
    case FD_READ: Receive(); break;
    case FD_WRITE: Send(); break;
    case FD_ACCEPT: PostOwner(CWINSOCK_READY_TO_ACCEPT_CONNECTION, 0); break;
    case FD_CONNECT:
      StopConnectTimeout();
      PostOwner(CWINSOCK_YOU_ARE_CONNECTED, 0);
      break;
    case FD_CLOSE:
      // Everything still in the network's buffers is read before the close is told.
      if (Receive()) {
        PostSelf(FD_CLOSE);
      } else {
        PostOwner(CWINSOCK_LOST_CONNECTION, 0);
      }
      break;
    default: break;
  }
  return 0;
}

bool CSocketWindow::Receive() {
  std::string chunk;
  try {
    chunk.resize(kReceiveSize);
  } catch (const std::bad_alloc&) {
    PostOwner(CWINSOCK_ERROR_READING, 0);
    PostSelf(FD_READ);
    return false;
  }
  const int received = ::recv(m_socket, chunk.data(), kReceiveSize, 0);
  if (received == SOCKET_ERROR) {
    const int error = ::WSAGetLastError();
    if (error != WSAEWOULDBLOCK) {
      m_nLastError = error;
      PostOwner(CWINSOCK_ERROR_READING, 0);
    }
    return false;
  }
  if (received == 0) return false;
  chunk.resize(static_cast<size_t>(received));
  try {
    m_readQueue.push_back(std::move(chunk));
  } catch (const std::bad_alloc&) {
    PostOwner(CWINSOCK_ERROR_READING, 0);
    return false;
  }
  PostOwner(CWINSOCK_DONE_READING, ReadQueueLength());
  return true;
}

void CSocketWindow::Send() {
  if (m_writeQueue.empty()) return;
  const Pending pending = m_writeQueue.front();
  const int sent = ::send(m_socket, pending.data + m_nSent, pending.length - m_nSent, 0);
  if (sent == SOCKET_ERROR) {
    const int error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK) return;  // WinSock tells again when there is room
    m_nLastError = error;
    m_writeQueue.pop_front();
    m_nSent = 0;
    PostOwner(CWINSOCK_ERROR_WRITING, reinterpret_cast<LPARAM>(pending.data));
  } else {
    m_nSent += sent;
    if (m_nSent >= pending.length) {
      m_writeQueue.pop_front();
      m_nSent = 0;
      PostOwner(CWINSOCK_DONE_WRITING, reinterpret_cast<LPARAM>(pending.data));
    }
  }
  if (!m_writeQueue.empty()) PostSelf(FD_WRITE);
}

LRESULT CSocketWindow::OnHostResolved(WPARAM, LPARAM lParam) {
  m_hLookup = nullptr;
  int result;
  if (WSAGETASYNCERROR(lParam) != 0) {
    m_nLastError = WSAGETASYNCERROR(lParam);
    result = m_nLastError;
  } else {
    const auto* entry = reinterpret_cast<const hostent*>(m_hostEntry);
    if (entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr) {
      m_nLastError = WSANO_DATA;
      result = SocketError;
    } else {
      sockaddr_in address = m_remote;
      std::memcpy(&address.sin_addr, entry->h_addr_list[0], sizeof address.sin_addr);
      result = ConnectAddress(address);
    }
  }
  if (m_pOwner != nullptr && m_pOwner->m_hWnd != nullptr) m_pOwner->PostMessage(WM_SOCKET_RESOLVED, result, 0);
  return 0;
}

void CSocketWindow::OnTimer(UINT nIDEvent) {
  if (nIDEvent != kConnectTimer || !m_bTimeoutRunning) return;
  if (++m_nTimeoutTicks < kConnectTicks) return;
  // An abortive close: the attempt is given up at once.
  if (IsOpen()) {
    linger abort = {1, 0};
    ::setsockopt(m_socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    CloseSocket();
  }
  StopConnectTimeout();
  PostOwner(CWINSOCK_CONNECTION_TIMEOUT, 0);
}
