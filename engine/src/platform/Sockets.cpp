#include "platform/Sockets.h"

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace ts {
namespace platform {

namespace {

struct AddressListDeleter {
  void operator()(addrinfo *list) const { freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListDeleter>;

AddressList resolve(const std::string &host, int port, int flags, SocketFailure &failure) {
  addrinfo hints;
  std::memset(&hints, 0, sizeof hints);
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = flags | AI_NUMERICSERV;
  addrinfo *result = nullptr;
  int code = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &result);
  if (code != 0) {
    failure.resolving = true;
    failure.resolver_text = gai_strerror(code);
    return nullptr;
  }
  return AddressList(result);
}

int openSocket(const addrinfo *address) {
  return ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address->ai_protocol);
}

// Waits for a non-blocking connect to finish. Result 0, or an error number.
int finishConnect(int socket, int timeout_ms) {
  pollfd waiting = {socket, POLLOUT, 0};
  int ready;
  do ready = poll(&waiting, 1, timeout_ms);
  while (ready < 0 && errno == EINTR);
  if (ready < 0) return errno;
  if (ready == 0) return ETIMEDOUT;
  int code = 0;
  socklen_t length = sizeof code;
  if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &code, &length) != 0) return errno;
  return code;
}

// A connected socket for one address, or -1 with the error number in code.
int connectOne(const addrinfo *address, int timeout_ms, int &code) {
  int socket = openSocket(address);
  if (socket < 0) {
    code = errno;
    return -1;
  }
  code = 0;
  if (::connect(socket, address->ai_addr, address->ai_addrlen) != 0) {
    // An interrupted connect goes on in the background, like one in progress.
    code = (errno == EINPROGRESS || errno == EINTR) ? finishConnect(socket, timeout_ms) : errno;
  }
  if (code == 0) return socket;
  ::close(socket);
  return -1;
}

int boundPort(const sockaddr_storage &bound) {
  return ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6 *>(&bound)->sin6_port
                                           : reinterpret_cast<const sockaddr_in *>(&bound)->sin_port);
}

}  // namespace

int listenOn(const std::string &host, int port, int &bound_port, SocketFailure &failure) {
  AddressList addresses = resolve(host, port, AI_PASSIVE, failure);
  if (!addresses) return -1;
  const addrinfo *address = addresses.get();
  auto fail = [&](const char *call) {
    failure.call = call;
    failure.error = errno;
  };
  int socket = openSocket(address);
  int reuse = 1;
  sockaddr_storage bound;
  socklen_t length = sizeof bound;
  if (socket < 0)
    fail("socket");
  else if (setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0)
    fail("setsockopt");
  else if (bind(socket, address->ai_addr, address->ai_addrlen) != 0)
    fail("bind");
  else if (listen(socket, SOMAXCONN) != 0)
    fail("listen");
  else if (getsockname(socket, reinterpret_cast<sockaddr *>(&bound), &length) != 0)
    fail("getsockname");
  if (!failure.call.empty()) {
    if (socket >= 0) ::close(socket);
    return -1;
  }
  bound_port = boundPort(bound);
  return socket;
}

int connectTo(const std::string &host, int port, int timeout_ms, SocketFailure &failure) {
  AddressList addresses = resolve(host, port, 0, failure);
  if (!addresses) return -1;
  int socket = -1;
  for (const addrinfo *address = addresses.get(); address && socket < 0; address = address->ai_next)
    socket = connectOne(address, timeout_ms, failure.error);
  if (socket < 0) failure.call = "connect";
  return socket;
}

int acceptConnection(int listener, int &error) {
  int socket;
  do socket = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  while (socket < 0 && errno == EINTR);
  if (socket < 0) error = errno;
  return socket;
}

long sendSome(int socket, const char *data, long bytes, int &error) {
  for (;;) {
    ssize_t result = ::send(socket, data, static_cast<size_t>(bytes), MSG_NOSIGNAL);
    if (result >= 0) return static_cast<long>(result);
    if (errno == EINTR) continue;
    if (wouldBlock(errno)) return 0;
    error = errno;
    return -1;
  }
}

long receiveSome(int socket, void *buffer, long size, int &error) {
  ssize_t received;
  do received = ::recv(socket, buffer, static_cast<size_t>(size), MSG_DONTWAIT);
  while (received < 0 && errno == EINTR);
  if (received < 0) error = errno;
  return static_cast<long>(received);
}

int closeSocket(int socket, int &error) {
  if (::close(socket) == 0) return 0;
  error = errno;
  return -1;
}

bool wouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

bool isPeerGone(int error) {
  return error == ECONNRESET || error == EPIPE || error == ENOTCONN || error == EBADF || error == ECONNABORTED ||
         error == ETIMEDOUT || error == EHOSTUNREACH || error == ENETUNREACH || error == ENETDOWN;
}

bool isAbortedConnection(int error) { return error == ECONNABORTED; }

}  // namespace platform
}  // namespace ts
