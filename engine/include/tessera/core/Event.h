/// @file
/// Event, the base of all engine events, and the engine's event type names.
#ifndef TS_EVENT_H
#define TS_EVENT_H

#include <string>
#include <vector>

namespace ts {

inline const std::string UNDEFINED_EVENT = "ts-undefined";  ///< an Event given no type; handed to nobody
inline const std::string STEP_EVENT = "ts-step";            ///< EventStep, once per frame (kept by the game manager)
inline const std::string KEYBOARD_EVENT = "ts-keyboard";    ///< EventKeyboard (kept by the input manager)
inline const std::string MOUSE_EVENT = "ts-mouse";          ///< EventMouse (kept by the input manager)
inline const std::string COLLISION_EVENT = "ts-collision";  ///< EventCollision, sent straight to the two objects
inline const std::string OUT_EVENT = "ts-out";              ///< EventOut, sent straight to an object leaving the world
inline const std::string PATH_EVENT = "ts-path";            ///< EventPath, sent straight to an object following a path
inline const std::string VIEW_EVENT = "ts-view";            ///< EventView, for view objects (kept by the world manager)
inline const std::string TIMER_EVENT = "ts-timer";          ///< sent straight to an object when one of its step timers runs out
inline const std::string NETWORK_EVENT = "ts-network";      ///< EventNetwork, the base of the network events
inline const std::string NETWORK_ACCEPT_EVENT = "ts-network-accept";    ///< EventNetworkAccept: a connection accepted
inline const std::string NETWORK_CLOSE_EVENT = "ts-network-close";      ///< EventNetworkClose: a connection closed
inline const std::string NETWORK_CONNECT_EVENT = "ts-network-connect";  ///< network family: a connection made
inline const std::string NETWORK_CREATE_EVENT = "ts-network-create";    ///< network family: an object created remotely
inline const std::string NETWORK_DELETE_EVENT = "ts-network-delete";    ///< network family: an object deleted remotely
inline const std::string NETWORK_SYNC_EVENT = "ts-network-sync";        ///< network family: an object synchronised
inline const std::string NETWORK_GAME_OVER_EVENT = "ts-network-game-over";  ///< network family: the remote game ended
inline const std::string CUSTOM_NETWORK_EVENT = "ts-custom-network";        ///< network family: a game-defined message
inline const std::string KEYBOARD_NETWORK_EVENT = "ts-keyboard-network";    ///< network family: a remote key
inline const std::string MOUSE_NETWORK_EVENT = "ts-mouse-network";          ///< network family: a remote mouse action

/// True for the network family ("ts-network" ... "ts-mouse-network"), whose
/// interest the network manager keeps.
bool isNetworkEventType(const std::string &event_type);

/// Base of all engine events: a type name that says which event it is.
/// Events are owned by their sender, built for one delivery and passed by
/// pointer; receivers copy what they keep.
class Event {
 public:
  /// An event of type UNDEFINED_EVENT.
  Event();
  /// Nothing to release.
  virtual ~Event();
  /// Sets the type name; the event classes set theirs when constructed.
  void setType(std::string type) { m_event_type = type; }
  /// The type name ("ts-step", ... or a game's own).
  std::string getType() const { return m_event_type; }

 private:
  std::string m_event_type;
};

}  // namespace ts

#endif
