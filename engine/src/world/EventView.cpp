#include <tessera/world/EventView.h>

namespace ts {

EventView::EventView() : m_value(0), m_delta(false) { setType(VIEW_EVENT); }

EventView::EventView(std::string tag, int value, bool delta) : m_tag(tag), m_value(value), m_delta(delta) {
  setType(VIEW_EVENT);
}

}  // namespace ts
