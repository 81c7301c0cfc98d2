#include "screens/SongMenu.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include <tessera/graphics/DisplayManager.h>
#include <tessera/system/Text.h>
#include "play/Results.h"
#include "player/BestScores.h"
#include "songs/SongLibrary.h"

namespace {

const size_t TITLE_WIDTH = 40;

// Titles and file names come from the player's files: control characters
// are shown as '?'. Other characters are drawn as the display can (UTF-8).
std::string printable(const std::string &text) {
  std::string shown = text;
  for (char &c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  return shown;
}

// Text cut or padded with blanks to `width` characters, counted as the
// display draws them: one a character, one a malformed byte.
std::string fitted(const std::string &text, size_t width) {
  size_t end = 0, count = 0;
  for (; end < text.size() && count < width; ++count) ts::nextCharacter(text, end);
  return text.substr(0, end) + std::string(width - count, ' ');
}

// A row of the table: key, title, length, notes, best.
std::string tableRow(const std::string &key, const std::string &title, const std::string &length,
                     const std::string &notes, const std::string &best) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%6s%7s%8s", length.c_str(), notes.c_str(), best.c_str());
  return fitted(key, 5) + fitted(title, TITLE_WIDTH) + numbers;
}

std::string folderOf(const Song &song) { return song.chart_path.substr(0, song.chart_path.find_last_of('/') + 1); }

bool sameSong(const Song &a, const Song &b) { return folderOf(a) == folderOf(b) && a.title == b.title; }

// The notes a chart makes, as the spawner counts them: each step above 0
// once per lane (a step without lanes once).
int noteCount(const Song &song) {
  std::set<std::pair<int32_t, int>> notes;
  for (size_t i = 0; i < song.steps.size(); ++i)
    if (song.steps[i] > 0) notes.insert({song.steps[i], i < song.lanes.size() ? song.lanes[i] : -1});
  return static_cast<int>(notes.size());
}

// What a perfect play is judged on: every note, and every hold's tail too.
int judgementCount(const Song &song) {
  int holds = 0;
  for (size_t i = 0; i < song.holds.size() && i < song.steps.size(); ++i)
    if (song.holds[i] > 0 && song.steps[i] > 0) ++holds;
  return noteCount(song) + holds;
}

SongMenu::Line line(const std::string &text, ts::Color color) {
  return SongMenu::Line{fitted(printable(text), SongMenu::WIDTH), color};
}

}  // namespace

void SongMenu::setSongs(const std::vector<Song> &songs) {
  m_songs = songs;
  m_rows.clear();
  std::vector<Row> unplayable;
  for (size_t i = 0; i < m_songs.size(); ++i) {
    if (!m_songs[i].isPlayable())
      unplayable.push_back(Row{{i}, 0});
    else if (!m_rows.empty() && sameSong(m_songs[m_rows.back().charts.back()], m_songs[i]))
      m_rows.back().charts.push_back(i);
    else
      m_rows.push_back(Row{{i}, 0});
  }
  m_rows.insert(m_rows.end(), unplayable.begin(), unplayable.end());
  m_selected = m_first_visible = 0;
}

void SongMenu::move(int rows) {
  if (m_rows.empty()) return;
  const long target = static_cast<long>(m_selected) + rows;
  m_selected = static_cast<size_t>(std::clamp(target, 0L, static_cast<long>(m_rows.size()) - 1));
  scrollToSelection();
}

void SongMenu::scrollToSelection() {
  if (m_selected < m_first_visible) m_first_visible = m_selected;
  if (m_selected >= m_first_visible + VISIBLE_ROWS) m_first_visible = m_selected + 1 - VISIBLE_ROWS;
}

void SongMenu::changeDifficulty(int steps) {
  if (m_rows.empty()) return;
  Row &row = m_rows[m_selected];
  const long target = static_cast<long>(row.chosen) + steps;
  row.chosen = static_cast<size_t>(std::clamp(target, 0L, static_cast<long>(row.charts.size()) - 1));
}

const Song *SongMenu::selected() const {
  if (m_rows.empty()) return nullptr;
  const Song &chart = chosenChart(m_rows[m_selected]);
  return chart.isPlayable() ? &chart : nullptr;
}

const Song *SongMenu::songOnDigit(int digit) const {
  if (digit < 1 || digit > static_cast<int>(VISIBLE_ROWS)) return nullptr;
  const size_t row = m_first_visible + static_cast<size_t>(digit - 1);
  if (row >= m_rows.size()) return nullptr;
  const Song &chart = chosenChart(m_rows[row]);
  return chart.isPlayable() ? &chart : nullptr;
}

void SongMenu::select(const Song &chart) {
  for (size_t row = 0; row < m_rows.size(); ++row)
    for (size_t i = 0; i < m_rows[row].charts.size(); ++i) {
      const Song &listed = m_songs[m_rows[row].charts[i]];
      if (listed.chart_path != chart.chart_path || listed.title != chart.title) continue;
      m_selected = row;
      m_rows[row].chosen = i;
      scrollToSelection();
      return;
    }
}

std::string SongMenu::bestText(const Song &chart, const BestScores &best) {
  const std::optional<int32_t> kept = best.best(chart.bestScoreKey());
  if (!kept) return "No best score yet";
  // A Perfect is 10 points and 100 %, a Good 5 and 50 %: the best score
  // gives the accuracy it was made with.
  const Results made(*kept / 10, *kept % 10 / 5, 0, 0, *kept, judgementCount(chart));
  return "Best " + std::to_string(*kept) + "  Accuracy " + made.accuracyText() + "  Grade " +
         std::string(1, made.grade());
}

SongMenu::Line SongMenu::rowLine(size_t row, const BestScores &best) const {
  const Song &chart = chosenChart(m_rows[row]);
  const bool is_selected = row == m_selected;
  const std::string key = (is_selected ? ">" : " ") + std::to_string(row - m_first_visible + 1);
  if (!chart.isPlayable()) return line(key + "   " + chart.file_name + ": " + chart.problem, ts::RED);
  const std::optional<int32_t> kept = best.best(chart.bestScoreKey());
  return line(tableRow(key, chart.title, SongLibrary::lengthText(chart.length_seconds),
                       std::to_string(noteCount(chart)), kept ? std::to_string(*kept) : "-"),
              is_selected ? ts::YELLOW : ts::WHITE);
}

// The selected song's difficulty with the way to the others, and its best;
// for a chart that cannot be played, the whole reason.
SongMenu::Line SongMenu::selectionLine(const BestScores &best) const {
  const Row &row = m_rows[m_selected];
  const Song &chart = chosenChart(row);
  if (!chart.isPlayable()) return line(chart.file_name + ": " + chart.problem, ts::RED);
  std::string text;
  if (row.charts.size() > 1 || !chart.difficulty.empty()) {
    const std::string name = chart.difficulty.empty() ? "chart " + std::to_string(row.chosen + 1) : chart.difficulty;
    text = std::string(row.chosen > 0 ? "< " : "  ") + name + (row.chosen + 1 < row.charts.size() ? " >" : "  ") +
           "   ";
  }
  return line(text + bestText(chart, best) + "   (" + std::to_string(m_selected + 1) + " of " +
                  std::to_string(m_rows.size()) + ")",
              ts::CYAN);
}

std::vector<SongMenu::Line> SongMenu::lines(const BestScores &best) const {
  std::vector<Line> shown = {line(tableRow("Key", "Song", "Length", "Notes", "Best"), ts::CYAN)};
  if (m_rows.empty()) {
    shown.push_back(line(" No songs found: no chart files in the song folders.", ts::RED));
    return shown;
  }
  const size_t end = std::min(m_rows.size(), m_first_visible + VISIBLE_ROWS);
  for (size_t row = m_first_visible; row < end; ++row) shown.push_back(rowLine(row, best));
  shown.resize(1 + VISIBLE_ROWS, line("", ts::WHITE));
  shown.push_back(selectionLine(best));
  return shown;
}

void SongMenu::draw(const std::vector<Line> &lines, float centre_column) {
  const ts::DisplayManager &display = ts::DisplayManager::getInstance();
  for (size_t i = 0; i < lines.size(); ++i)
    display.drawString(ts::Vector(centre_column, static_cast<float>(HEADER_ROW + static_cast<int>(i))), lines[i].text,
                       ts::CENTER_JUSTIFIED, lines[i].color);
}
