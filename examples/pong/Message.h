// One pong message as it travels between the two players.
//
// A message is four bytes: a mark, the kind, and two numbers of one byte
// each. The mark is a byte no text starts with, so a peer that is not a pong
// player (a stray client, a port scanner) is told apart at its first byte.
#ifndef PONG_MESSAGE_H
#define PONG_MESSAGE_H

#include <array>

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

#endif
