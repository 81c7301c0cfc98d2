#include "Court.h"

#include <cmath>
#include <cstdio>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/network/EventNetwork.h>
#include <tessera/network/NetworkManager.h>

namespace {

const float MIDDLE_X = (Court::LEFT + Court::RIGHT) / 2.0f;
const float MIDDLE_Y = (Court::TOP + Court::BOTTOM) / 2.0f;
// Far more than two players send in a frame.
const int MAX_BYTES_PER_FRAME = 4096;

ts::LogManager &log() { return ts::LogManager::getInstance(); }

}  // namespace

Court::Court(Side side, int socket)
    : m_side(side),
      m_socket(socket),
      m_state(side == GUEST ? PLAYING : WAITING),
      m_paddle{static_cast<int>(MIDDLE_Y), static_cast<int>(MIDDLE_Y)},
      m_points{0, 0},
      m_ball_x(MIDDLE_X),
      m_ball_y(MIDDLE_Y),
      m_speed_x(0),
      m_speed_y(0),
      m_guest_answered(false) {
  setType("Court");
  setSolidness(ts::SPECTRAL);
  registerInterest(ts::STEP_EVENT);
  registerInterest(ts::KEYBOARD_EVENT);
  // Connections arriving and ending come as events from the network manager.
  registerInterest(ts::NETWORK_ACCEPT_EVENT);
  registerInterest(ts::NETWORK_CLOSE_EVENT);
}

int Court::getBallX() const { return static_cast<int>(std::lround(m_ball_x)); }
int Court::getBallY() const { return static_cast<int>(std::lround(m_ball_y)); }

int Court::eventHandler(const ts::Event *p_event) {
  const std::string type = p_event->getType();
  if (type == ts::STEP_EVENT) {
    if (m_state == PLAYING) takeTurn();
    flush();
  } else if (type == ts::KEYBOARD_EVENT) {
    handleKey(static_cast<const ts::EventKeyboard *>(p_event));
  } else if (type == ts::NETWORK_ACCEPT_EVENT) {
    welcome(static_cast<const ts::EventNetwork *>(p_event)->getSocketIndex());
  } else if (type == ts::NETWORK_CLOSE_EVENT) {
    // Our own close at the end of a match comes here too; only a close
    // during play means the other player went away.
    if (static_cast<const ts::EventNetwork *>(p_event)->getSocketIndex() == m_socket && m_state == PLAYING) {
      m_socket = -1;  // already closed
      endMatch("the other player left");
    }
  } else {
    return ts::Object::eventHandler(p_event);
  }
  return 1;
}

// The host's first (and only) guest: the match starts with a serve to it.
void Court::welcome(int socket) {
  if (m_state != WAITING) return;
  m_socket = socket;
  m_state = PLAYING;
  log().writeLog("Pong: a player joined");
  serve(GUEST);
  flush();
}

void Court::takeTurn() {
  receive();
  if (m_state != PLAYING || m_side == GUEST || !m_guest_answered) return;
  moveBall();
  if (m_state == PLAYING) sendBall();
}

// What has arrived, without waiting (the loop must not stall on a peer that
// has nothing to say), and a few kilobytes a frame at most (nor on one that
// says too much).
void Court::receive() {
  char bytes[256];
  for (int taken = 0; m_state == PLAYING && taken < MAX_BYTES_PER_FRAME;) {
    const int count = ts::NetworkManager::getInstance().receive(bytes, sizeof bytes, m_socket);
    if (count <= 0) return;  // nothing more now, or closed (its close event has come)
    taken += count;
    if (!m_reader.add(bytes, count)) {
      const std::string why = "the other player sent " + m_reader.getProblem() + ", not a pong message";
      endMatch(why.c_str());
      return;
    }
    Message message;
    while (m_state == PLAYING && m_reader.next(message)) apply(message);
  }
}

void Court::apply(const Message &message) {
  // The host decides the ball and the score: from the guest it takes
  // nothing but the paddle.
  if (m_side == HOST && message.kind != Message::PADDLE) {
    endMatch("the guest sent a message only the host sends");
    return;
  }
  switch (message.kind) {
    case Message::PADDLE:
      m_paddle[m_side == HOST ? GUEST : HOST] = message.a;
      if (m_side == HOST) m_guest_answered = true;
      break;
    case Message::BALL:
      m_ball_x = static_cast<float>(message.a);
      m_ball_y = static_cast<float>(message.b);
      send(Message::PADDLE, m_paddle[m_side]);  // the answer the host waits for
      break;
    case Message::SCORE:
      m_points[HOST] = message.a;
      m_points[GUEST] = message.b;
      log().writeLog("Pong: score %d - %d", m_points[HOST], m_points[GUEST]);
      break;
    case Message::OVER:
      m_points[HOST] = message.a;
      m_points[GUEST] = message.b;
      endMatch(m_points[HOST] > m_points[GUEST] ? "the host wins" : "the guest wins");
      break;
  }
}

void Court::moveBall() {
  m_ball_x += m_speed_x;
  m_ball_y += m_speed_y;
  bounceOffWalls();
  const Side towards = m_speed_x < 0 ? HOST : GUEST;
  const bool at_paddle = towards == HOST ? m_ball_x <= LEFT : m_ball_x >= RIGHT;
  if (!at_paddle) return;
  if (reachesPaddle(towards)) {
    // Mirror the ball at the paddle's column, as the walls do at theirs.
    const float column = towards == HOST ? LEFT : RIGHT;
    m_ball_x = 2 * column - m_ball_x;
    m_speed_x = -m_speed_x;
  } else {
    score(towards == HOST ? GUEST : HOST);
  }
}

void Court::bounceOffWalls() {
  if (m_ball_y >= TOP && m_ball_y <= BOTTOM) return;
  const float wall = m_ball_y < TOP ? TOP : BOTTOM;
  m_ball_y = 2 * wall - m_ball_y;
  m_speed_y = -m_speed_y;
}

// A paddle covers its middle row and PADDLE_HALF rows each way; the ball
// counts as touching it one row beyond.
bool Court::reachesPaddle(Side side) const {
  return std::fabs(m_ball_y - static_cast<float>(m_paddle[side])) <= PADDLE_HALF + 1;
}

void Court::score(Side scorer) {
  ++m_points[scorer];
  log().writeLog("Pong: score %d - %d", m_points[HOST], m_points[GUEST]);
  send(Message::SCORE, m_points[HOST], m_points[GUEST]);
  if (m_points[scorer] == POINTS_TO_WIN) {
    send(Message::OVER, m_points[HOST], m_points[GUEST]);
    endMatch(scorer == HOST ? "the host wins" : "the guest wins");
  } else {
    serve(scorer == HOST ? GUEST : HOST);
  }
}

// From the middle towards the player who lost the last point, up or down
// by turns.
void Court::serve(Side towards) {
  m_ball_x = MIDDLE_X;
  m_ball_y = MIDDLE_Y;
  m_speed_x = towards == HOST ? -2.0f : 2.0f;
  m_speed_y = (m_points[HOST] + m_points[GUEST]) % 2 == 0 ? 0.5f : -0.5f;
  sendBall();
}

void Court::sendBall() {
  send(Message::PADDLE, m_paddle[HOST]);
  send(Message::BALL, getBallX(), getBallY());
  m_guest_answered = false;
}

void Court::send(Message::Kind kind, int a, int b) {
  const auto bytes = Message{kind, a, b}.encode();
  m_outbox.append(bytes.begin(), bytes.end());
}

// One write per frame for all of its messages: the connection holds back a
// small write while an earlier one waits for its acknowledgement, and the
// other side's answer is what carries that acknowledgement back.
void Court::flush() {
  if (m_outbox.empty() || m_socket < 0) return;
  ts::NetworkManager::getInstance().send(m_outbox.data(), static_cast<int>(m_outbox.size()), m_socket);
  m_outbox.clear();
}

void Court::handleKey(const ts::EventKeyboard *p_keyboard) {
  const ts::EventKeyboardAction action = p_keyboard->getKeyboardAction();
  if (action != ts::KEY_PRESSED && action != ts::KEY_DOWN) return;
  switch (p_keyboard->getKey()) {
    case ts::Keyboard::UPARROW:
      movePaddle(-1);
      break;
    case ts::Keyboard::DOWNARROW:
      movePaddle(1);
      break;
    case ts::Keyboard::ESCAPE:
      ts::GameManager::getInstance().setGameOver();
      break;
    default:
      break;
  }
}

void Court::movePaddle(int rows) {
  const int row = m_paddle[m_side] + rows;
  if (row >= TOP + PADDLE_HALF && row <= BOTTOM - PADDLE_HALF) m_paddle[m_side] = row;
}

// Ends the game after this frame. Closing the connection tells the other
// side at once, instead of when it next finds the socket gone.
void Court::endMatch(const char *why) {
  m_state = OVER;
  flush();
  log().writeLog("Pong: %s; the match ends at %d - %d", why, m_points[HOST], m_points[GUEST]);
  if (m_socket >= 0) ts::NetworkManager::getInstance().close(m_socket);
  ts::GameManager::getInstance().setGameOver();
}

int Court::draw() {
  const ts::DisplayManager &display = ts::DisplayManager::getInstance();
  for (int x = 0; x < display.getHorizontal(); ++x) {
    display.drawCh(ts::Vector(static_cast<float>(x), TOP - 1), '-', ts::WHITE);
    display.drawCh(ts::Vector(static_cast<float>(x), BOTTOM + 1), '-', ts::WHITE);
  }
  for (int y = TOP; y <= BOTTOM; y += 2) display.drawCh(ts::Vector(MIDDLE_X, static_cast<float>(y)), ':', ts::BLUE);
  for (int dy = -PADDLE_HALF; dy <= PADDLE_HALF; ++dy) {
    display.drawCh(ts::Vector(LEFT - 1, static_cast<float>(m_paddle[HOST] + dy)), '#', ts::CYAN);
    display.drawCh(ts::Vector(RIGHT + 1, static_cast<float>(m_paddle[GUEST] + dy)), '#', ts::YELLOW);
  }
  char score[64];
  std::snprintf(score, sizeof score, "host %d : %d guest", m_points[HOST], m_points[GUEST]);
  display.drawString(ts::Vector(MIDDLE_X, 0), score, ts::CENTER_JUSTIFIED, ts::WHITE);
  if (m_state == WAITING) {
    std::snprintf(score, sizeof score, "waiting for a player on port %d",
                  ts::NetworkManager::getInstance().getServerPort());
    display.drawString(ts::Vector(MIDDLE_X, MIDDLE_Y - 2), score, ts::CENTER_JUSTIFIED, ts::GREEN);
  } else {
    display.drawCh(ts::Vector(static_cast<float>(getBallX()), static_cast<float>(getBallY())), 'O', ts::WHITE);
  }
  return 0;
}
