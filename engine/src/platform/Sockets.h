// TCP sockets for the network manager: non-blocking, close-on-exec, never
// raising SIGPIPE. Calls return -1 on failure and leave the error number in
// `error`; the caller decides what to log.
#ifndef TS_PLATFORM_SOCKETS_H
#define TS_PLATFORM_SOCKETS_H

#include <string>

namespace ts {
namespace platform {

// Why opening a listening or connected socket failed: the resolver's text
// when the name could not be resolved, else the failing call and its error.
struct SocketFailure {
  bool resolving = false;
  std::string resolver_text;
  std::string call;
  int error = 0;
};

// Listens on host (numeric or a name; the first address that resolves) and
// port (0: any free port). Result: the socket, its port in bound_port; or -1.
int listenOn(const std::string &host, int port, int &bound_port, SocketFailure &failure);
// Connects to the first address of host that answers within timeout_ms.
// Result: the connected non-blocking socket, or -1.
int connectTo(const std::string &host, int port, int timeout_ms, SocketFailure &failure);

// A pending connection of a listening socket, or -1.
int acceptConnection(int listener, int &error);
// Bytes the kernel took (possibly fewer than asked, 0 when it takes none
// now), or -1.
long sendSome(int socket, const char *data, long bytes, int &error);
// Bytes read without waiting (0: the peer closed its side), or -1.
long receiveSome(int socket, void *buffer, long size, int &error);
// 0, or -1 (the descriptor is released either way).
int closeSocket(int socket, int &error);

// Error classes: nothing to do now; the connection can carry nothing more;
// a pending connection that vanished before it was accepted.
bool wouldBlock(int error);
bool isPeerGone(int error);
bool isAbortedConnection(int error);

}  // namespace platform
}  // namespace ts

#endif
