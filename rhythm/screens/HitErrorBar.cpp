#include "screens/HitErrorBar.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <tessera/graphics/DisplayManager.h>
#include <tessera/world/WorldManager.h>
#include "play/FirstOfType.h"
#include "play/ScoreManager.h"
#include "play/TimingWindow.h"

HitErrorBar::HitErrorBar() {
  setType("HitErrorBar");
  setSolidness(ts::SPECTRAL);
  setAltitude(3);
}

int HitErrorBar::columnOf(double offset_ms) {
  const long column = std::lround(offset_ms / timing_window::MISS_MS * HALF_WIDTH);
  return static_cast<int>(std::clamp<long>(column, -HALF_WIDTH, HALF_WIDTH));
}

int HitErrorBar::draw() {
  const ts::DisplayManager &display = ts::DisplayManager::getInstance();
  const float centre = ts::WorldManager::getInstance().getBoundary().getHorizontal() / 2;
  for (int column = -HALF_WIDTH; column <= HALF_WIDTH; ++column) {
    const double offset = static_cast<double>(column) * timing_window::MISS_MS / HALF_WIDTH;
    const std::optional<Judgement> judgement = timing_window::grade(offset);
    const ts::Color color = judgement == Judgement::PERFECT ? ts::GREEN
                            : judgement == Judgement::GOOD  ? ts::YELLOW
                                                            : ts::RED;
    display.drawCh(ts::Vector(centre + static_cast<float>(column), ROW), column == 0 ? '|' : '-', color);
  }
  const ScoreManager *p_score = firstOfType<ScoreManager>("ScoreManager");
  if (!p_score) return 0;
  const std::vector<double> &offsets = p_score->getOffsets().all();
  const size_t first = offsets.size() > MARKS ? offsets.size() - MARKS : 0;
  for (size_t i = first; i < offsets.size(); ++i) {
    const bool newest = i + 1 == offsets.size();
    display.drawCh(ts::Vector(centre + static_cast<float>(columnOf(offsets[i])), ROW), newest ? 'V' : 'v',
                   newest ? ts::WHITE : ts::CYAN);
  }
  return 0;
}
