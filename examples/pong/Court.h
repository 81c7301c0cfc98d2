// The match as both players see it: two paddles, the ball and the score.
//
// The host moves the ball and keeps the score; the guest moves only its own
// paddle. They take turns: the host sends the ball's position, the guest
// answers with its paddle's, and only then does the ball move on. So both
// see the same match however slow either of them runs.
#ifndef PONG_COURT_H
#define PONG_COURT_H

#include <string>

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>
#include "MessageReader.h"

class Court : public ts::Object {
 public:
  enum Side { HOST, GUEST };
  static const int LEFT = 2, RIGHT = 77;  // the paddles' columns
  static const int TOP = 2, BOTTOM = 22;  // the rows the ball may take
  static const int PADDLE_HALF = 2;       // rows of a paddle above and below its middle
  static const int POINTS_TO_WIN = 3;

  // The host passes -1 and waits for a guest to connect; the guest passes
  // the socket it connected on.
  Court(Side side, int socket);
  int eventHandler(const ts::Event *p_event) override;
  int draw() override;

  Side getSide() const { return m_side; }
  int getPaddle(Side side) const { return m_paddle[side]; }
  int getBallX() const;
  int getBallY() const;

 private:
  enum State { WAITING, PLAYING, OVER };

  void welcome(int socket);
  void takeTurn();
  void receive();
  void apply(const Message &message);
  void moveBall();
  void bounceOffWalls();
  bool reachesPaddle(Side side) const;
  void score(Side scorer);
  void serve(Side towards);
  void sendBall();
  // Adds a message to the ones flush() sends.
  void send(Message::Kind kind, int a, int b = 0);
  void flush();
  void handleKey(const ts::EventKeyboard *p_keyboard);
  void movePaddle(int rows);
  void endMatch(const char *why);

  Side m_side;
  int m_socket;
  State m_state;
  MessageReader m_reader;
  std::string m_outbox;  // messages of this frame, not yet sent
  int m_paddle[2];
  int m_points[2];
  float m_ball_x, m_ball_y;
  float m_speed_x, m_speed_y;
  bool m_guest_answered;  // host: the guest's paddle came for the last ball sent
};

#endif
