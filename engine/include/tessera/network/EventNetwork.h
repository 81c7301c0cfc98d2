// A network occurrence about one connection; the message bytes are not owned.
#ifndef TS_EVENT_NETWORK_H
#define TS_EVENT_NETWORK_H

#include <tessera/core/Event.h>

namespace ts {

enum NetworkLabel {
  UNDEFINED_NETWORK = -1,
  NETWORK_ACCEPT = 0,
  NETWORK_CLOSE = 2,
};

class EventNetwork : public Event {
 public:
  explicit EventNetwork(int label);
  // Labels outside -1..3 are logged and stored as -1.
  void setLabel(int label);
  int getLabel() const { return m_label; }
  void setSocketIndex(int socket_index) { m_socket_index = socket_index; }
  int getSocketIndex() const { return m_socket_index; }
  void setBytes(int bytes) { m_bytes = bytes; }
  int getBytes() const { return m_bytes; }
  void setMessage(const void *message) { m_message = message; }
  const void *getMessage() const { return m_message; }

 private:
  int m_label;
  int m_socket_index;
  int m_bytes;
  const void *m_message;
};

}  // namespace ts

#endif
