#include "graphics/PresentHistory.h"

namespace ts {

PresentHistory::PresentHistory() : m_entries(), m_first(0), m_count(0) {}

const PresentHistory::Entry &PresentHistory::at(int i) const { return m_entries[(m_first + i) % SIZE]; }

void PresentHistory::record(int step, int64_t time) {
  if (m_count > 0) {
    const int last = at(m_count - 1).step;
    if (step == last) return;
    if (step < last) clear();
  }
  if (m_count < SIZE) {
    m_entries[(m_first + m_count) % SIZE] = Entry{step, time};
    ++m_count;
    return;
  }
  m_entries[m_first] = Entry{step, time};
  m_first = (m_first + 1) % SIZE;
}

int64_t PresentHistory::presentTime(int step) const {
  for (int i = m_count - 1; i >= 0; --i)
    if (at(i).step == step) return at(i).time;
  return -1;
}

// Newest first: the usual question is about the last frame or two.
int PresentHistory::shownStep(int64_t time) const {
  for (int i = m_count - 1; i >= 0; --i)
    if (at(i).time <= time) return at(i).step;
  return -1;
}

}  // namespace ts
