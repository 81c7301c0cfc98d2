#include "play/Results.h"

#include <cstdio>

Results::Results(int perfects, int goods, int misses, int longest_combo, int32_t score, int notes)
    : m_perfects(perfects),
      m_goods(goods),
      m_misses(misses),
      m_longest_combo(longest_combo),
      m_score(score),
      m_notes(notes) {}

int64_t Results::percentTimesNotes() const { return int64_t{100} * m_perfects + int64_t{50} * m_goods; }

int Results::accuracyTenths() const {
  if (m_notes <= 0) return 0;
  return static_cast<int>(percentTimesNotes() * 10 / m_notes);
}

std::string Results::accuracyText() const {
  const int tenths = accuracyTenths();
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

char Results::grade() const {
  // Compared without division, so that 94.99 % is never taken for 95 %.
  const int64_t value = percentTimesNotes();
  const int64_t notes = m_notes;
  if (notes <= 0) return 'D';
  if (value >= 95 * notes) return 'S';
  if (value >= 90 * notes) return 'A';
  if (value >= 80 * notes) return 'B';
  if (value >= 70 * notes) return 'C';
  return 'D';
}

std::string Results::summary() const {
  char text[160];
  std::snprintf(text, sizeof text, "Perfect %d, Good %d, Miss %d, longest combo %d, score %d, accuracy %s, grade %c",
                m_perfects, m_goods, m_misses, m_longest_combo, static_cast<int>(m_score), accuracyText().c_str(),
                grade());
  return text;
}
