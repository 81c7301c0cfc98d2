/// @file
/// NetworkManager, TCP connections as engine events.
#ifndef TS_NETWORK_MANAGER_H
#define TS_NETWORK_MANAGER_H

#include <deque>
#include <string>
#include <vector>

#include <tessera/core/Manager.h>

namespace ts {

/// TCP connections as engine events: a non-blocking listening socket, the
/// connections it accepted (or that this side opened), and per connection a
/// queue of messages that wait for their game step. Sockets are the
/// system's descriptors; failures are logged with the system's error text.
///
/// Connections are non-blocking, so the game loop never waits on a peer that
/// stops reading. A send that the kernel takes only in part keeps the unsent
/// rest in that connection's backlog; the backlog goes out first, before any
/// later byte for that connection, in later send() or sendQueued() calls, so
/// the byte stream is never cut or reordered. The backlog is bounded: a send
/// whose bytes might not all fit into it (because the peer does not read) is
/// refused whole, so memory stays bounded and the caller knows what did not go.
/// Queued messages count against the same bound, so a queue that waits for a
/// far step or a silent peer is refused at queueMessage() in the same way.
class NetworkManager : public Manager {
 public:
  /// The default bound on one connection's backlog and queue (4 MB).
  static constexpr int DEFAULT_MAX_BACKLOG_BYTES = 4 << 20;
  /// What a queued message is charged against the bound besides its bytes:
  /// about what it holds in memory around them.
  static constexpr int MESSAGE_OVERHEAD_BYTES = 64;

  /// The one network manager.
  static NetworkManager &getInstance();
  /// Closes the sockets still open, without close events.
  ~NetworkManager() override;

  /// Result 0, or -1 when already started (logged). No socket is opened.
  int startUp() override;
  /// Closes every connection (each with its close event) and the listening socket.
  void shutDown() override;
  /// True for the network family of event types; others are logged as errors.
  bool isValid(std::string event_type) const override;

  /// Listens on address (numeric or a host name) and port (0: any free port),
  /// without blocking. Result 0 or -1 (not started, already a server, or a
  /// socket call failed, e.g. the port is in use; logged).
  int setServer(const std::string &address, int port);
  /// Whether a listening socket is open.
  bool isServer() const;
  /// The port the listening socket is bound to; 0 when not a server.
  int getServerPort() const;

  /// Connects to host and port, waiting for the peer's answer (at most five
  /// seconds). Result: the new non-blocking socket, which joins the
  /// connections with an empty queue (no accept event), or -1 (logged).
  int connect(const std::string &host, int port);

  /// Accepts one pending connection (the game loop calls this every frame
  /// while this side is a server) and sends its accept event. The new socket;
  /// -1 nothing accepted (none pending, or at the maximum); -2 error or not a
  /// server. An error that repeats (a full descriptor table) is logged once,
  /// and how often it came again when it ends.
  int accept();
  /// Closes one connection, or every connection for -1, each with its close
  /// event. Result 0 or -1.
  int close(int socket);
  /// For -1: whether any connection exists; else whether socket is one.
  bool isConnected(int socket) const;

  /// Sends bytes from buffer (copied as needed; the caller keeps it). 0 when
  /// every byte was sent or kept in the connection's backlog to finish later;
  /// -1 when the bytes will not be sent (not connected, peer gone, error, or
  /// backlog plus bytes above the maximum backlog; nothing of them is sent
  /// then).
  int send(const void *buffer, int bytes, int socket);
  /// Bytes that have arrived, up to size, into buffer without waiting: the
  /// count, 0 when nothing is there, -1 when not connected or on error. A peer
  /// that has closed its side is closed here, with its close event, and gives -1.
  int receive(void *buffer, int size, int socket);

  /// Copies the bytes to the back of socket's queue; they go out in the first
  /// sendQueued() at or after step send_at_step. Result 0 or -1 (not
  /// connected, nothing to queue, or the queue plus the backlog would pass the
  /// maximum backlog: the queue counts against the same bound, so nothing
  /// queued is ever refused later for lack of room).
  int queueMessage(const void *buffer, int bytes, int socket, int send_at_step);
  /// Sends the backlogs and then the due queued messages (the game loop calls
  /// it every frame); the sum of the send() results (0 when nothing failed).
  int sendQueued();

  /// Sets how many connections accept() lets in (3 by default); 0, or -1 when
  /// negative (logged).
  int setMaxConnections(int max_connections);
  /// How many connections accept() lets in.
  int getMaxConnections() const;
  /// The most bytes one connection's backlog and queue together may hold
  /// (default 4 MB); a message larger than this is never sent or queued. Result 0, or -1 when negative.
  int setMaxBacklogBytes(int bytes);
  /// The bound on one connection's backlog and queue, in bytes.
  int getMaxBacklogBytes() const;
  /// Connections open.
  int getConnectionCount() const;
  /// Messages waiting in socket's queue; -1 when the socket is not a
  /// connection.
  int getQueuedCount(int socket) const;
  /// Bytes waiting in socket's backlog; -1 when the socket is not a connection.
  int getBacklogBytes(int socket) const;

 private:
  NetworkManager();
  NetworkManager(const NetworkManager &) = delete;
  NetworkManager &operator=(const NetworkManager &) = delete;

  struct Message {
    std::vector<char> data;  // owned copy; its size is the message size
    int send_at_step;
  };
  struct Connection {
    int socket;
    std::deque<Message> queue;
    std::vector<char> backlog;  // unsent rest of earlier sends, in order
    long long queued_bytes;     // the queue's messages added up
  };

  int findConnection(int socket) const;
  // Writes as much as the kernel takes now. Result: bytes written, or -1 on a
  // failure (logged; a connection the peer has gone from is closed).
  long writeNow(int socket, const char *data, long bytes);
  // Sends what the backlog holds. Result 0 (sent or kept) or -1 (closed).
  int flushBacklog(int socket);
  int closeOne(int socket);
  // A send or receive that failed with the error code: its log lines, and
  // the connection closed when the peer is gone.
  void transferFailed(const char *operation, int socket, int code);
  void deliver(const std::string &type, int socket) const;
  void closeServer();
  // The count of accept() failures not logged since the first of their kind.
  void reportAcceptRepeats();

  int m_sock;
  int m_max_connections;
  int m_server_port;
  int m_max_backlog_bytes;
  int m_accept_error;    // the error code accept() last logged; 0 for none
  int m_accept_repeats;  // failures with that code since, not logged
  std::vector<Connection> m_connections;
};

}  // namespace ts

#endif
