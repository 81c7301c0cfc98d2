#include "screens/UIManager.h"

#include <string>

#include <tessera/graphics/DisplayManager.h>
#include <tessera/world/WorldManager.h>
#include "play/FirstOfType.h"
#include "play/HitZone.h"
#include "play/ScoreManager.h"

namespace {
// The hit zone lines: as wide as the default screen whatever the window.
const std::string HIT_ZONE_LINE(80, '=');
}  // namespace

UIManager::UIManager() {
  setType("UIManager");
  setAltitude(3);
  registerInterest(ts::STEP_EVENT);
  m_score_view = createView(ts::TOP_LEFT, "Score", 0, ts::WHITE);
  m_combo_view = createView(ts::TOP_RIGHT, "Combo", 0, ts::YELLOW);
}

UIManager::~UIManager() {
  release(m_score_view);
  release(m_combo_view);
}

UIManager::OwnedView UIManager::createView(int location, const char *label, int value, ts::Color color) {
  OwnedView owned;
  owned.p_view = new ts::ViewObject();
  owned.serial = owned.p_view->getSerial();
  owned.p_view->setLocation(location);
  owned.p_view->setViewString(label);
  owned.p_view->setValue(value);
  owned.p_view->setColor(color);
  return owned;
}

ts::ViewObject *UIManager::liveView(const OwnedView &view) {
  return view.p_view && ts::Object::isLive(view.p_view, view.serial) ? view.p_view : nullptr;
}

void UIManager::release(OwnedView &view) {
  ts::ViewObject *p_view = liveView(view);
  // While the world shuts down it destroys every object itself.
  if (p_view && ts::WorldManager::getInstance().isStarted()) ts::WorldManager::getInstance().markForDelete(p_view);
  view = OwnedView();
}

ts::ViewObject *UIManager::getScoreView() const { return liveView(m_score_view); }

ts::ViewObject *UIManager::getComboView() const { return liveView(m_combo_view); }

int UIManager::eventHandler(const ts::Event *p_event) { return p_event->getType() == ts::STEP_EVENT ? 1 : 0; }

int UIManager::draw() {
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  // The lines mark the "Perfect!" rows; the lower one is drawn first.
  if (m_draws_hit_zone) {
    display.drawString(ts::Vector(0, hit_zone::LAST_PERFECT_ROW), HIT_ZONE_LINE, ts::LEFT_JUSTIFIED, ts::WHITE);
    display.drawString(ts::Vector(0, hit_zone::FIRST_PERFECT_ROW), HIT_ZONE_LINE, ts::LEFT_JUSTIFIED, ts::WHITE);
  }
  const ScoreManager *p_score = firstOfType<ScoreManager>("ScoreManager");
  if (ts::ViewObject *p_view = getScoreView()) p_view->setValue(p_score ? p_score->getScore() : 0);
  if (ts::ViewObject *p_view = getComboView()) p_view->setValue(p_score ? p_score->getCombo() : 0);
  return 0;
}
