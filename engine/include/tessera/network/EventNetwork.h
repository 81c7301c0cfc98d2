/// @file
/// EventNetwork, "ts-network", the base of the network events.
#ifndef TS_EVENT_NETWORK_H
#define TS_EVENT_NETWORK_H

#include <tessera/core/Event.h>

namespace ts {

/// What a network event reports; the event carries it as an int (-1..3).
enum NetworkLabel {
  UNDEFINED_NETWORK = -1,
  NETWORK_ACCEPT = 0,
  NETWORK_CLOSE = 2,
};

/// A network occurrence about one connection; the message bytes are not
/// owned. The base of the accept and close events; a game may send its own
/// through NetworkManager::onEvent().
class EventNetwork : public Event {
 public:
  /// An event of type NETWORK_EVENT with label (see setLabel()), no socket,
  /// no bytes.
  explicit EventNetwork(int label);
  /// Sets the NetworkLabel; labels outside -1..3 are logged and stored as -1.
  void setLabel(int label);
  /// The NetworkLabel.
  int getLabel() const { return m_label; }
  /// Sets the connection's socket.
  void setSocketIndex(int socket_index) { m_socket_index = socket_index; }
  /// The connection's socket, or -1.
  int getSocketIndex() const { return m_socket_index; }
  /// Sets the size of the message.
  void setBytes(int bytes) { m_bytes = bytes; }
  /// Size of the message in bytes (0 for accept and close).
  int getBytes() const { return m_bytes; }
  /// Points at the message (not owned; it must outlive the delivery).
  void setMessage(const void *message) { m_message = message; }
  /// The message bytes (owned by the sender; valid during delivery), or null.
  const void *getMessage() const { return m_message; }

 private:
  int m_label;
  int m_socket_index;
  int m_bytes;
  const void *m_message;
};

}  // namespace ts

#endif
