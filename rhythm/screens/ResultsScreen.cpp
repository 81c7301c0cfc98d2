#include "screens/ResultsScreen.h"

#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/world/WorldManager.h>
#include <tessera/input/EventKeyboard.h>
#include "app/NextRound.h"
#include "player/BestScores.h"

namespace {
// Under the game-over picture, which ends on row 17. The rows are cleared
// first: the hit-zone lines run through them.
const int FIRST_CLEARED_ROW = 18;
const int FIRST_TEXT_ROW = 19;
// Under the score and combo, above the picture: the result lines may fill
// every row below it.
const int KEY_HINT_ROW = 4;
const char *const KEY_HINT = " Enter: song list    R: play again ";
}  // namespace

ResultsScreen::ResultsScreen(std::string song, std::string title, std::string scores_path)
    : m_song(std::move(song)), m_title(std::move(title)), m_scores_path(std::move(scores_path)), m_new_best(false) {
  setType("ResultsScreen");
  setSolidness(ts::SPECTRAL);
  setAltitude(ts::MAX_ALTITUDE);
  registerInterest(ts::KEYBOARD_EVENT);
}

int ResultsScreen::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::KEYBOARD_EVENT) return 0;
  const ts::EventKeyboard *p_keyboard = dynamic_cast<const ts::EventKeyboard *>(p_event);
  if (!p_keyboard || p_keyboard->getKeyboardAction() != ts::KEY_PRESSED || !m_results || !m_waits_for_key) return 0;
  const ts::Keyboard::Key key = p_keyboard->getKey();
  if (key == ts::Keyboard::RETURN || key == ts::Keyboard::ESCAPE) NextRound::request(NextRound::SONG_LIST);
  if (key == ts::Keyboard::R) NextRound::request(NextRound::RETRY);
  return 1;
}

void ResultsScreen::show(const Results &results) {
  if (m_results) return;
  m_results = results;
  const std::string best = keepBest(results.getScore());
  ts::LogManager &log = ts::LogManager::getInstance();
  log.writeLog("Results: '%s' (%s): %s; %s", m_title.c_str(), m_song.c_str(), results.summary().c_str(), best.c_str());
  for (const std::string &line : timingLines()) log.writeLog("Results: %s", line.c_str());
}

// Compares the score with the kept best, saves it if it beats it, and says
// how it went for the results line.
std::string ResultsScreen::keepBest(int32_t score) {
  if (m_scores_path.empty()) return "best scores are not kept in this run.";
  const BestScores::Kept kept = BestScores::keep(m_scores_path, m_score_key.empty() ? m_song : m_score_key, score);
  m_new_best = kept.new_best;
  m_best = kept.best;
  m_not_kept = kept.problem;
  if (!m_not_kept.empty()) return "the score could not be kept (" + m_not_kept + ").";
  if (!m_new_best) return kept.before ? "the best stays " + std::to_string(*kept.before) + "." : "no best score yet.";
  return kept.before ? "New best! (was " + std::to_string(*kept.before) + ")" : "New best! (the first score kept)";
}

std::vector<std::string> ResultsScreen::lines() const {
  if (!m_results) return {};
  const Results &r = *m_results;
  std::vector<std::string> shown = {"Perfect " + std::to_string(r.getPerfects()) + "    Good " +
                                        std::to_string(r.getGoods()) + "    Miss " + std::to_string(r.getMisses()) +
                                        "    Longest combo " + std::to_string(r.getLongestCombo()),
                                    "Score " + std::to_string(r.getScore()) + "    Accuracy " + r.accuracyText() +
                                        "    Grade " + std::string(1, r.grade())};
  if (!m_not_kept.empty())
    shown.push_back("Score not kept: " + m_not_kept);
  else if (m_new_best)
    shown.push_back("New best!");
  else if (m_best)
    shown.push_back("Best " + std::to_string(*m_best));
  for (const std::string &line : timingLines()) shown.push_back(line);
  return shown;
}

std::vector<std::string> ResultsScreen::timingLines() const {
  const HitOffsets &offsets = m_results->getOffsets();
  if (offsets.isEmpty()) return {};
  std::vector<std::string> shown = {offsets.meanText() + "    " + offsets.spreadText()};
  if (const std::optional<std::string> advice = offsets.advice(m_played_offset_ms)) shown.push_back(*advice);
  return shown;
}

int ResultsScreen::draw() {
  if (!m_results) return 0;
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  const ts::Box world = ts::WorldManager::getInstance().getBoundary();
  const int width = static_cast<int>(world.getHorizontal()), height = static_cast<int>(world.getVertical());
  const std::string blank(static_cast<size_t>(width > 0 ? width : 0), ' ');
  for (int row = FIRST_CLEARED_ROW; row < height; ++row)
    display.drawString(ts::Vector(0, static_cast<float>(row)), blank, ts::LEFT_JUSTIFIED, ts::WHITE);
  if (m_waits_for_key)
    display.drawString(ts::Vector(static_cast<float>(width / 2), KEY_HINT_ROW), KEY_HINT, ts::CENTER_JUSTIFIED,
                       ts::CYAN);
  const std::vector<std::string> shown = lines();
  for (size_t i = 0; i < shown.size(); ++i) {
    // A score that could not be saved is news the player must not miss.
    const ts::Color color = i != 2 ? ts::WHITE : m_new_best ? ts::YELLOW : !m_not_kept.empty() ? ts::RED : ts::WHITE;
    display.drawString(ts::Vector(static_cast<float>(width / 2), static_cast<float>(FIRST_TEXT_ROW + i)), shown[i],
                       ts::CENTER_JUSTIFIED, color);
  }
  return 0;
}
