#include "screens/Receptors.h"

#include <string>

#include <tessera/core/EventStep.h>
#include <tessera/core/GameLoop.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/WorldManager.h>
#include "play/HitZone.h"
#include "play/TimingWindow.h"
#include "screens/HitIndicator.h"

namespace {
// The hit zone lines: as wide as the default screen whatever the window.
const std::string HIT_ZONE_LINE(80, '=');
// The receptor shows where the arrow's characters will be.
const char OUTLINE = '.';
}  // namespace

Receptors::Receptors() {
  setType("Receptors");
  setSolidness(ts::SPECTRAL);
  // Over the stars, under the notes.
  setAltitude(1);
  registerInterest(ts::STEP_EVENT);
}

int Receptors::stepsOf(int milliseconds) {
  const int frame_ms = ts::GameLoop::frameTime();
  if (frame_ms <= 0) return 1;
  return (milliseconds + frame_ms - 1) / frame_ms;
}

int Receptors::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  if (m_text_steps_left > 0 && --m_text_steps_left == 0) m_text.clear();
  if (m_flash_steps_left > 0) --m_flash_steps_left;
  return 1;
}

void Receptors::show(const Lane &lane, Judgement judgement, std::optional<double> offset_ms) {
  m_lane = static_cast<int>(&lane - LANES);
  m_judgement = judgement;
  m_text = judgementText(judgement);
  if (offset_ms) m_text += " " + timing_window::offsetText(*offset_ms);
  m_text_steps_left = stepsOf(JUDGEMENT_MS);
  if (judgement == Judgement::MISS) return;
  m_flash_lane = m_lane;
  m_flash_steps_left = stepsOf(FLASH_MS);
}

int Receptors::draw() {
  const ts::DisplayManager &display = ts::DisplayManager::getInstance();
  display.drawString(ts::Vector(0, hit_zone::LAST_PERFECT_ROW), HIT_ZONE_LINE, ts::LEFT_JUSTIFIED, ts::WHITE);
  display.drawString(ts::Vector(0, hit_zone::FIRST_PERFECT_ROW), HIT_ZONE_LINE, ts::LEFT_JUSTIFIED, ts::WHITE);
  const float width = ts::WorldManager::getInstance().getBoundary().getHorizontal();
  for (int lane = 0; lane < Lane::COUNT; ++lane) drawReceptor(lane, width * 0.25f * LANES[lane].centre_quarters);
  if (!m_text.empty() && m_lane >= 0)
    display.drawString(ts::Vector(width * 0.25f * LANES[m_lane].centre_quarters, JUDGEMENT_ROW), m_text,
                       ts::CENTER_JUSTIFIED, HitIndicator::colorOf(judgementText(m_judgement)));
  return 0;
}

// The arrow's first frame, centred on the receptor row as a note's sprite is:
// its characters as dots in the lane's colour, or the arrow itself in white
// while the lane flashes, between brackets.
void Receptors::drawReceptor(int lane, float centre_x) const {
  const ts::Sprite *p_sprite = ts::ResourceManager::getInstance().getSprite(LANES[lane].sprite);
  if (!p_sprite || p_sprite->getFrameCount() < 1) return;
  const ts::Frame frame = p_sprite->getFrame(0);
  const std::string cells = frame.getString();
  const int width = frame.getWidth(), height = frame.getHeight();
  if (width <= 0 || height <= 0 || cells.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) return;
  const bool flashing = isFlashing(lane);
  const ts::Color color = flashing ? ts::WHITE : p_sprite->getColor();
  const ts::DisplayManager &display = ts::DisplayManager::getInstance();
  const float left = centre_x - (width - 1) * 0.5f, top = hit_zone::RECEPTOR_ROW - (height - 1) * 0.5f;
  for (int y = 0; y < height; ++y) {
    const float row = top + static_cast<float>(y);
    display.drawCh(ts::Vector(left - 1, row), '[', color);
    display.drawCh(ts::Vector(left + static_cast<float>(width), row), ']', color);
    for (int x = 0; x < width; ++x) {
      // Blank cells too, so that the hit-zone lines do not run through it.
      const char c = cells[static_cast<size_t>(y * width + x)];
      display.drawCh(ts::Vector(left + static_cast<float>(x), row), c == ' ' || flashing ? c : OUTLINE, color);
    }
  }
}
