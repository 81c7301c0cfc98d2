#include <tessera/world/TextView.h>

#include <tessera/world/WorldManager.h>

namespace ts {

TextView::TextView() : m_justification(CENTER_JUSTIFIED) {
  setType("TextView");
  setBorder(false);
  setDrawValue(false);
  // Its text is its own: "ts-view" events are for labelled counters.
  unregisterInterest(VIEW_EVENT);
}

void TextView::setText(const std::string &text) {
  m_text = text;
  m_lines.clear();
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    m_lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  m_lines.push_back(text.substr(start));
}

void TextView::setJustification(Justification justification) { m_justification = justification; }

int TextView::draw() {
  const int count = static_cast<int>(m_lines.size());
  int first_row = 0;
  if (getLocation() != UNDEFINED_LOCATION && getLocation() / 3 == 1) first_row = -(count - 1) / 2;
  if (getLocation() != UNDEFINED_LOCATION && getLocation() / 3 == 2) first_row = -(count - 1);
  const Vector where = getPosition() + WorldManager::getInstance().getView().getCorner();
  const DisplayManager &display = DisplayManager::getInstance();
  int result = 0;
  for (int i = 0; i < count; ++i) {
    const Vector line_at(where.getX(), where.getY() + static_cast<float>(first_row + i));
    result += display.drawString(line_at, m_lines[static_cast<size_t>(i)], m_justification, getColor());
  }
  return result;
}

}  // namespace ts
