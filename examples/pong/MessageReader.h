// Turns the bytes of a connection back into pong messages, and tells bytes
// that are not pong messages from a message that has not all come yet.
#ifndef PONG_MESSAGE_READER_H
#define PONG_MESSAGE_READER_H

#include <string>

#include "Message.h"

class MessageReader {
 public:
  // Takes the bytes a receive brought; they may end inside a message, whose
  // rest comes with a later receive. False when the bytes cannot be ours:
  // from then on the reader refuses everything.
  bool add(const char *bytes, int count);
  // Takes the oldest complete message out; false when there is none.
  bool next(Message &message);
  // What was wrong with the first byte that was not ours, for the log.
  std::string getProblem() const { return m_problem; }

 private:
  // Empty when byte may stand at that place (0 to 3) of a message.
  static std::string check(size_t place, unsigned char byte);

  std::string m_buffer;  // received bytes not yet taken out as messages
  std::string m_problem;
};

#endif
