#include "MessageReader.h"

#include <cstdio>

namespace {

// Numbers travel as one byte: columns and rows of an 80 x 24 court, points.
const int MAX_NUMBER = 99;

std::string describeByte(unsigned char byte) {
  char text[48];
  std::snprintf(text, sizeof text, "byte 0x%02x", byte);
  return text;
}

}  // namespace

bool MessageReader::add(const char *bytes, int count) {
  if (!m_problem.empty()) return false;
  // Each byte is checked as it comes, by its place in its message: a stranger
  // that sends a few bytes and then waits must not keep the match waiting.
  for (int i = 0; i < count; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    m_problem = check(m_buffer.size() % Message::SIZE, byte);
    if (!m_problem.empty()) return false;
    m_buffer.push_back(static_cast<char>(byte));
  }
  return true;
}

bool MessageReader::next(Message &message) {
  if (!m_problem.empty() || m_buffer.size() < Message::SIZE) return false;
  const auto *bytes = reinterpret_cast<const unsigned char *>(m_buffer.data());
  message = Message{static_cast<Message::Kind>(bytes[1]), bytes[2], bytes[3]};
  m_buffer.erase(0, Message::SIZE);
  return true;
}

std::string MessageReader::check(size_t place, unsigned char byte) {
  if (place == 0 && byte != Message::MARK) return "a first " + describeByte(byte);
  if (place == 1 && (byte < Message::PADDLE || byte > Message::OVER)) return "a kind " + describeByte(byte);
  if (place >= 2 && byte > MAX_NUMBER) return "a number " + describeByte(byte);
  return "";
}
