// Base of all engine events and the engine's event type names.
#ifndef TS_EVENT_H
#define TS_EVENT_H

#include <string>
#include <vector>

namespace ts {

inline const std::string UNDEFINED_EVENT = "ts-undefined";
inline const std::string STEP_EVENT = "ts-step";
inline const std::string KEYBOARD_EVENT = "ts-keyboard";
inline const std::string MOUSE_EVENT = "ts-mouse";
inline const std::string COLLISION_EVENT = "ts-collision";
inline const std::string OUT_EVENT = "ts-out";
inline const std::string PATH_EVENT = "ts-path";
inline const std::string VIEW_EVENT = "ts-view";
/// Sent straight to an object when one of its step timers runs out.
inline const std::string TIMER_EVENT = "ts-timer";
inline const std::string NETWORK_EVENT = "ts-network";
inline const std::string NETWORK_ACCEPT_EVENT = "ts-network-accept";
inline const std::string NETWORK_CLOSE_EVENT = "ts-network-close";
inline const std::string NETWORK_CONNECT_EVENT = "ts-network-connect";
inline const std::string NETWORK_CREATE_EVENT = "ts-network-create";
inline const std::string NETWORK_DELETE_EVENT = "ts-network-delete";
inline const std::string NETWORK_SYNC_EVENT = "ts-network-sync";
inline const std::string NETWORK_GAME_OVER_EVENT = "ts-network-game-over";
inline const std::string CUSTOM_NETWORK_EVENT = "ts-custom-network";
inline const std::string KEYBOARD_NETWORK_EVENT = "ts-keyboard-network";
inline const std::string MOUSE_NETWORK_EVENT = "ts-mouse-network";

// True for the network family, whose interest the network manager keeps.
bool isNetworkEventType(const std::string &event_type);

class Event {
 public:
  Event();
  virtual ~Event();
  void setType(std::string type) { m_event_type = type; }
  std::string getType() const { return m_event_type; }

 private:
  std::string m_event_type;
};

}  // namespace ts

#endif
