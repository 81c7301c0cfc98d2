#include <tessera/network/NetworkManager.h>

#include <tessera/core/EventRegistry.h>
#include <tessera/core/GameLoop.h>
#include <tessera/core/LogManager.h>
#include <tessera/network/EventNetworkAccept.h>
#include <tessera/network/EventNetworkClose.h>

#include "platform/Platform.h"
#include "platform/Sockets.h"

namespace ts {

namespace {

// How long connect() waits for the peer before giving up.
const int CONNECT_TIMEOUT_MS = 5000;

// The system's text for an error code, under the line that names the failure.
void writeErrorText(int code) {
  LogManager::getInstance().writeLog("\t%d - %s", code, platform::errorText(code).c_str());
}

bool validPort(const char *operation, int port) {
  if (port >= 0 && port <= 65535) return true;
  LogManager::getInstance().writeLog("NetworkManager::%s(): Error! Invalid port %d.", operation, port);
  return false;
}

// A socket that could not be made: the resolver's answer, or the call that
// failed (as call_text names it) and its error.
void writeSocketFailure(const char *operation, const std::string &host, const std::string &call_text,
                        const platform::SocketFailure &failure) {
  LogManager &log = LogManager::getInstance();
  if (failure.resolving) {
    log.writeLog("NetworkManager::%s(): Error! Cannot resolve '%s': %s", operation, host.c_str(),
                 failure.resolver_text.c_str());
    return;
  }
  log.writeLog("NetworkManager::%s(): Error! %s returned:", operation, call_text.c_str());
  writeErrorText(failure.error);
}

// False after the log lines when the socket is not connected; a negative
// socket is not asked about, so its warning is written here.
bool connectedFor(const NetworkManager &manager, int socket, const char *operation, const char *verb) {
  if (socket >= 0 && manager.isConnected(socket)) return true;
  LogManager &log = LogManager::getInstance();
  if (socket < 0) log.writeLog("NetworkManager::isConnected(): Warning! Socket %d not connected.", socket);
  log.writeLog("NetworkManager::%s(): Error! Socket %d not connected. Unable to %s.", operation, socket, verb);
  return false;
}

bool startedFor(const char *operation) {
  if (NetworkManager::getInstance().isStarted()) return true;
  LogManager::getInstance().writeLog("NetworkManager::%s(): Error! NetworkManager not started.", operation);
  return false;
}

}  // namespace

NetworkManager::NetworkManager()
    : m_sock(-1),
      m_max_connections(3),
      m_server_port(0),
      m_max_backlog_bytes(DEFAULT_MAX_BACKLOG_BYTES),
      m_accept_error(0),
      m_accept_repeats(0) {
  setType("NetworkManager");
  EventRegistry::attach(*this);
}

// At process exit the log and the objects may be gone: release the sockets
// without events or log lines.
NetworkManager::~NetworkManager() {
  EventRegistry::detach(*this);
  int ignored = 0;
  for (const Connection &connection : m_connections) platform::closeSocket(connection.socket, ignored);
  if (m_sock != -1) platform::closeSocket(m_sock, ignored);
}

NetworkManager &NetworkManager::getInstance() {
  static NetworkManager instance;
  return instance;
}

// The socket library needs no start on this system, so only a second start fails.
int NetworkManager::startUp() {
  LogManager &log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("%s::startup(): Warning! %s already started.", "NetworkManager", "NetworkManager");
    return -1;
  }
  Manager::startUp();
  log.writeLog(LOG_MANAGER, "NetworkManager::startUp(): successfully started.");
  return 0;
}

void NetworkManager::shutDown() {
  close(-1);
  closeServer();
  Manager::shutDown();
  LogManager::getInstance().writeLog(LOG_MANAGER, "NetworkManager::shutDown(): successfully stopped.");
}

bool NetworkManager::isValid(std::string event_type) const {
  if (isNetworkEventType(event_type)) return true;
  LogManager::getInstance().writeLog("NetworkManager::isValid(): Error! NetworkManager does not handle %s.",
                                     event_type.c_str());
  return false;
}

int NetworkManager::setServer(const std::string &address, int port) {
  LogManager &log = LogManager::getInstance();
  if (!startedFor("setServer")) return -1;
  if (m_sock != -1) {
    log.writeLog("NetworkManager::setServer(): Error! Already a server on port %d.", m_server_port);
    return -1;
  }
  if (!validPort("setServer", port)) return -1;
  platform::SocketFailure failure;
  int socket = platform::listenOn(address, port, m_server_port, failure);
  if (socket < 0) {
    writeSocketFailure("setServer", address, failure.call + "()", failure);
    return -1;
  }
  m_sock = socket;
  log.writeLog(LOG_ROUTINE, "NetworkManager::setServer(): Listening on '%s' port %d, socket %d.", address.c_str(),
               m_server_port, m_sock);
  return 0;
}

bool NetworkManager::isServer() const { return m_sock != -1; }

int NetworkManager::getServerPort() const { return m_server_port; }

void NetworkManager::closeServer() {
  if (m_sock == -1) return;
  reportAcceptRepeats();
  int code = 0;
  if (platform::closeSocket(m_sock, code) != 0) {
    LogManager::getInstance().writeLog("NetworkManager::closeServer(): Error! close() returned:");
    writeErrorText(code);
  }
  m_sock = -1;
  m_server_port = 0;
}

int NetworkManager::connect(const std::string &host, int port) {
  LogManager &log = LogManager::getInstance();
  if (!startedFor("connect")) return -1;
  if (!validPort("connect", port)) return -1;
  platform::SocketFailure failure;
  int socket = platform::connectTo(host, port, CONNECT_TIMEOUT_MS, failure);
  if (socket < 0) {
    writeSocketFailure("connect", host, "connect() to '" + host + "' port " + std::to_string(port), failure);
    return -1;
  }
  m_connections.push_back(Connection{socket, {}, {}, 0});
  log.writeLog(LOG_ROUTINE, "NetworkManager::connect(): Connected to '%s' port %d, socket %d.", host.c_str(), port,
               socket);
  return socket;
}

int NetworkManager::accept() {
  LogManager &log = LogManager::getInstance();
  if (m_sock == -1) {
    log.writeLog("NetworkManager::accept(): Error! Not setup as server.");
    return -2;
  }
  if (static_cast<int>(m_connections.size()) >= m_max_connections) {
    log.writeLog(LOG_RECORD, "NetworkManager::accept(): Won't check for new connetions since at max.");
    log.writeLog(LOG_RECORD, "\tUse NM.setMaxConnections() to change max.");
    return -1;
  }
  int code = 0;
  int socket = platform::acceptConnection(m_sock, code);
  if (socket < 0) {
    // A connection reset while it waited in the backlog is simply gone.
    if (platform::wouldBlock(code) || platform::isAbortedConnection(code)) {
      reportAcceptRepeats();
      log.writeLog(LOG_FRAME, "NetworkManager::accept(): No new connection. Not blocking.");
      return -1;
    }
    // An error that lasts (a full descriptor table) comes back every frame:
    // its lines once, then a count when it ends.
    if (code == m_accept_error) {
      ++m_accept_repeats;
      return -2;
    }
    reportAcceptRepeats();
    m_accept_error = code;
    log.writeLog("NetworkManager::accept(): Error! accept() returned:");
    writeErrorText(code);
    return -2;
  }
  reportAcceptRepeats();
  log.writeLog(LOG_ROUTINE, "NetworkManager::accept(): New connection, socket %d.", socket);
  m_connections.push_back(Connection{socket, {}, {}, 0});
  deliver(NETWORK_ACCEPT_EVENT, socket);
  return socket;
}

void NetworkManager::reportAcceptRepeats() {
  if (m_accept_repeats > 0)
    LogManager::getInstance().writeLog(
        "NetworkManager::accept(): Error! accept() failed %d more times with the same error.", m_accept_repeats);
  m_accept_error = 0;
  m_accept_repeats = 0;
}

void NetworkManager::deliver(const std::string &type, int socket) const {
  if (type == NETWORK_ACCEPT_EVENT) {
    EventNetworkAccept event(NETWORK_ACCEPT);
    event.setSocketIndex(socket);
    event.setBytes(0);
    onEvent(&event);
  } else {
    EventNetworkClose event(NETWORK_CLOSE);
    event.setSocketIndex(socket);
    event.setBytes(0);
    onEvent(&event);
  }
}

int NetworkManager::findConnection(int socket) const {
  for (size_t i = 0; i < m_connections.size(); ++i)
    if (m_connections[i].socket == socket) return static_cast<int>(i);
  return -1;
}

// Closing -1 walks a copy of the list, so a handler of a close event may
// close or open connections itself. A failed close does not stop the others.
int NetworkManager::close(int socket) {
  if (socket == -1) {
    std::vector<int> sockets;
    for (const Connection &connection : m_connections) sockets.push_back(connection.socket);
    int result = 0;
    for (int each : sockets)
      if (findConnection(each) >= 0 && closeOne(each) != 0) result = -1;
    return result;
  }
  if (findConnection(socket) < 0) {
    LogManager::getInstance().writeLog("NetworkManager::close(): Error! Socket %d not found.", socket);
    return -1;
  }
  return closeOne(socket);
}

// The connection leaves the list (with its queue and backlog) before the
// event, so handlers see it closed and cannot close it twice. The descriptor
// is released even when close() reports an error, so the entry goes anyway.
int NetworkManager::closeOne(int socket) {
  m_connections.erase(m_connections.begin() + findConnection(socket));
  int result = 0;
  int code = 0;
  if (platform::closeSocket(socket, code) != 0) {
    LogManager::getInstance().writeLog("NetworkManager::close(): Error! close() returned:");
    writeErrorText(code);
    result = -1;
  }
  deliver(NETWORK_CLOSE_EVENT, socket);
  return result;
}

bool NetworkManager::isConnected(int socket) const {
  if (socket == -1) return !m_connections.empty();
  if (findConnection(socket) >= 0) return true;
  LogManager::getInstance().writeLog("NetworkManager::isConnected(): Warning! Socket %d not connected.", socket);
  return false;
}

long NetworkManager::writeNow(int socket, const char *data, long bytes) {
  long sent = 0;
  while (sent < bytes) {
    int code = 0;
    long result = platform::sendSome(socket, data + sent, bytes - sent, code);
    if (result > 0) {
      sent += result;
      continue;
    }
    if (result == 0) return sent;
    transferFailed("send", socket, code);
    return -1;
  }
  return sent;
}

int NetworkManager::flushBacklog(int socket) {
  int index = findConnection(socket);
  if (index < 0) return -1;
  std::vector<char> &backlog = m_connections[index].backlog;
  if (backlog.empty()) return 0;
  long sent = writeNow(socket, backlog.data(), static_cast<long>(backlog.size()));
  if (sent < 0) return -1;
  // writeNow() closes nothing when it returns a count, so the reference holds.
  backlog.erase(backlog.begin(), backlog.begin() + sent);
  return 0;
}

int NetworkManager::send(const void *buffer, int bytes, int socket) {
  LogManager &log = LogManager::getInstance();
  if (!connectedFor(*this, socket, "send", "send")) return -1;
  if (bytes < 0 || (!buffer && bytes > 0)) {
    log.writeLog("NetworkManager::send(): Error! Nothing to send (%d bytes).", bytes);
    return -1;
  }
  log.writeLog(LOG_FRAME, "NetworkManager::send(): Socket %d. Calling ::send()...", socket);
  // Earlier bytes still waiting must go first.
  if (flushBacklog(socket) != 0) return -1;
  const char *data = static_cast<const char *>(buffer);
  const Connection &connection = m_connections[findConnection(socket)];
  std::vector<char> &backlog = m_connections[findConnection(socket)].backlog;
  // Decided before a byte goes out: whatever the kernel leaves must fit the
  // backlog, or the peer would get the message cut short. What waits in the
  // queue counts too: backlog and queue share the bound.
  const long long held = static_cast<long long>(backlog.size()) + connection.queued_bytes;
  if (held + bytes > m_max_backlog_bytes) {
    log.writeLog(
        "NetworkManager::send(): Error! %d bytes would take socket %d's backlog of %zu bytes past %d. Not sent.", bytes,
        socket, static_cast<size_t>(held), m_max_backlog_bytes);
    return -1;
  }
  long sent = backlog.empty() ? writeNow(socket, data, bytes) : 0;
  if (sent < 0) return -1;
  if (sent < bytes) {
    // writeNow() returned a count, so the connection and its backlog are intact.
    backlog.insert(backlog.end(), data + sent, data + bytes);
    log.writeLog("NetworkManager::send(): Warning! %ld of %d bytes sent.", sent, bytes);
    log.writeLog(LOG_DETAIL, "\t%ld bytes kept to send first later.", bytes - sent);
  }
  return 0;
}

int NetworkManager::receive(void *buffer, int size, int socket) {
  LogManager &log = LogManager::getInstance();
  if (!connectedFor(*this, socket, "receive", "receive")) return -1;
  if (!buffer || size <= 0) {
    log.writeLog("NetworkManager::receive(): Error! No room to receive into (%d bytes).", size);
    return -1;
  }
  int code = 0;
  long received = platform::receiveSome(socket, buffer, size, code);
  if (received > 0) return static_cast<int>(received);
  if (received == 0) {
    log.writeLog(LOG_ROUTINE, "NetworkManager::receive(): Socket %d closed by peer.", socket);
    closeOne(socket);
    return -1;
  }
  if (platform::wouldBlock(code)) return 0;
  transferFailed("receive", socket, code);
  return -1;
}

void NetworkManager::transferFailed(const char *operation, int socket, int code) {
  LogManager &log = LogManager::getInstance();
  log.writeLog("NetworkManager::%s(): Error! Return is -1.", operation);
  writeErrorText(code);
  if (platform::isPeerGone(code)) {
    log.writeLog(LOG_ROUTINE, "\tsocket is closed");
    closeOne(socket);
  }
}

int NetworkManager::queueMessage(const void *buffer, int bytes, int socket, int send_at_step) {
  LogManager &log = LogManager::getInstance();
  if (!connectedFor(*this, socket, "queueMessage", "queue")) return -1;
  if (!buffer || bytes <= 0) {
    log.writeLog("NetworkManager::queueMessage(): Error! Nothing to queue (%d bytes).", bytes);
    return -1;
  }
  Connection &connection = m_connections[findConnection(socket)];
  // Queue and backlog share the connection's bound: a peer that never reads,
  // or a step that never comes, must not hold more than a backlog would. A
  // message is charged what it holds in memory besides its bytes, so that
  // millions of one-byte messages are bounded too.
  const long long held = static_cast<long long>(connection.backlog.size()) + connection.queued_bytes;
  const long long charge = static_cast<long long>(bytes) + MESSAGE_OVERHEAD_BYTES;
  if (held + charge > m_max_backlog_bytes) {
    log.writeLog(
        "NetworkManager::queueMessage(): Error! %d bytes would take socket %d's queue and backlog of %lld bytes past "
        "%d. Not queued.",
        bytes, socket, held, m_max_backlog_bytes);
    return -1;
  }
  const char *data = static_cast<const char *>(buffer);
  connection.queue.push_back(Message{std::vector<char>(data, data + bytes), send_at_step});
  connection.queued_bytes += charge;
  return 0;
}

// Walks a copy of the socket list: a send may close its connection, and a
// close handler may change the list. A queue whose front is not due, or whose
// connection cannot take more now, waits for the next call.
int NetworkManager::sendQueued() {
  if (m_connections.empty()) return 0;
  const int step = GameLoop::stepCount();
  std::vector<int> sockets;
  for (const Connection &connection : m_connections) sockets.push_back(connection.socket);
  int sum = 0;
  for (int socket : sockets) {
    if (findConnection(socket) < 0) continue;
    if (flushBacklog(socket) != 0) {
      sum -= 1;
      continue;
    }
    for (;;) {
      int index = findConnection(socket);
      if (index < 0) break;
      Connection &connection = m_connections[index];
      if (!connection.backlog.empty() || connection.queue.empty() || connection.queue.front().send_at_step > step)
        break;
      Message message = std::move(connection.queue.front());
      connection.queue.pop_front();
      connection.queued_bytes -= static_cast<long long>(message.data.size()) + MESSAGE_OVERHEAD_BYTES;
      sum += send(message.data.data(), static_cast<int>(message.data.size()), socket);
    }
  }
  return sum;
}

int NetworkManager::setMaxConnections(int max_connections) {
  if (max_connections < 0) {
    LogManager::getInstance().writeLog("NetworkManager::setMaxConnections(): Error! Maximum %d is negative.",
                                       max_connections);
    return -1;
  }
  m_max_connections = max_connections;
  return 0;
}

int NetworkManager::getMaxConnections() const { return m_max_connections; }

int NetworkManager::setMaxBacklogBytes(int bytes) {
  if (bytes < 0) {
    LogManager::getInstance().writeLog("NetworkManager::setMaxBacklogBytes(): Error! Maximum %d is negative.", bytes);
    return -1;
  }
  m_max_backlog_bytes = bytes;
  return 0;
}

int NetworkManager::getMaxBacklogBytes() const { return m_max_backlog_bytes; }

int NetworkManager::getConnectionCount() const { return static_cast<int>(m_connections.size()); }

int NetworkManager::getQueuedCount(int socket) const {
  int index = findConnection(socket);
  return index < 0 ? -1 : static_cast<int>(m_connections[index].queue.size());
}

int NetworkManager::getBacklogBytes(int socket) const {
  int index = findConnection(socket);
  return index < 0 ? -1 : static_cast<int>(m_connections[index].backlog.size());
}

}  // namespace ts
