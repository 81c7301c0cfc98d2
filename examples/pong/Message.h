// The pong messages that travel between the two players, and the reader that
// turns the bytes of a connection back into messages.
//
// A message is four bytes: a mark, the kind, and two numbers of one byte
// each. The mark is a byte no text starts with, so a peer that is not a pong
// player (a stray client, a port scanner) is told apart at its first byte.
#ifndef PONG_MESSAGE_H
#define PONG_MESSAGE_H

#include <array>
#include <string>

struct Message {
  enum Kind : unsigned char {
    PADDLE = 1,  // a: the sender's paddle row
    BALL = 2,    // a, b: the ball's column and row (host to guest)
    SCORE = 3,   // a, b: the host's and the guest's points (host to guest)
    OVER = 4,    // a, b: the final score (host to guest)
  };
  static const unsigned char MARK = 0xA7;
  static const int SIZE = 4;

  Kind kind;
  int a;
  int b;

  std::array<unsigned char, SIZE> encode() const;
};

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
