/// @file
/// EventView, "ts-view".
#ifndef TS_EVENT_VIEW_H
#define TS_EVENT_VIEW_H

#include <string>

#include <tessera/core/Event.h>

namespace ts {

/// Asks the view objects labelled with a tag to set or change their value.
/// Hand it to WorldManager::onEvent(); view objects register for it.
class EventView : public Event {
 public:
  /// An empty tag, value 0, no delta.
  EventView();
  /// With delta set, value is added to the shown value; otherwise it replaces it.
  EventView(std::string tag, int value, bool delta);

  /// Sets the label of the view objects addressed.
  void setTag(std::string tag) { m_tag = tag; }
  /// The label of the view objects addressed.
  std::string getTag() const { return m_tag; }
  /// Sets the value (or the change).
  void setValue(int value) { m_value = value; }
  /// The value (or the change).
  int getValue() const { return m_value; }
  /// Whether the value is added rather than set.
  void setDelta(bool delta) { m_delta = delta; }
  /// Whether the value is added rather than set.
  bool getDelta() const { return m_delta; }

 private:
  std::string m_tag;
  int m_value;
  bool m_delta;
};

}  // namespace ts

#endif
