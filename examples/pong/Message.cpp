#include "Message.h"

std::array<unsigned char, Message::SIZE> Message::encode() const {
  return {MARK, kind, static_cast<unsigned char>(a), static_cast<unsigned char>(b)};
}
