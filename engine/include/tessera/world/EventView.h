// Asks the view objects labelled with a tag to set or change their value.
#ifndef TS_EVENT_VIEW_H
#define TS_EVENT_VIEW_H

#include <string>

#include <tessera/core/Event.h>

namespace ts {

class EventView : public Event {
 public:
  EventView();
  // With delta set, value is added to the shown value; otherwise it replaces it.
  EventView(std::string tag, int value, bool delta);

  void setTag(std::string tag) { m_tag = tag; }
  std::string getTag() const { return m_tag; }
  void setValue(int value) { m_value = value; }
  int getValue() const { return m_value; }
  void setDelta(bool delta) { m_delta = delta; }
  bool getDelta() const { return m_delta; }

 private:
  std::string m_tag;
  int m_value;
  bool m_delta;
};

}  // namespace ts

#endif
