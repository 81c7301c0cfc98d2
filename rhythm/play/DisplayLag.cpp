#include "play/DisplayLag.h"

#include <numeric>

void DisplayLag::placed(int step, int64_t clock_us) {
  m_placed.emplace_back(step, clock_us);
  while (static_cast<int>(m_placed.size()) > FRAMES_KEPT) m_placed.pop_front();
}

void DisplayLag::shown(int step, int64_t clock_us) {
  if (clock_us < 0) return;
  for (auto it = m_placed.begin(); it != m_placed.end(); ++it) {
    if (it->first != step) continue;
    if (clock_us >= it->second) {
      m_lags_ms.push_back(static_cast<double>(clock_us - it->second) / 1000.0);
      if (static_cast<int>(m_lags_ms.size()) > FRAMES_KEPT) m_lags_ms.pop_front();
    }
    m_placed.erase(it);
    return;
  }
}

std::deque<int> DisplayLag::unshownSteps() const {
  std::deque<int> steps;
  for (const auto &placed : m_placed) steps.push_back(placed.first);
  return steps;
}

double DisplayLag::getLagMs() const {
  if (m_lags_ms.empty()) return m_frame_ms;
  return std::accumulate(m_lags_ms.begin(), m_lags_ms.end(), 0.0) / static_cast<double>(m_lags_ms.size());
}
