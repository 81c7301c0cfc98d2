#include "play/Note.h"

#include <algorithm>
#include <cmath>

#include <tessera/core/EventStep.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/WorldManager.h>
#include "play/FirstOfType.h"
#include "play/HitZone.h"
#include "play/Lane.h"
#include "play/NoteSpawner.h"
#include "play/ScoreManager.h"
#include "play/TimingWindow.h"
#include "screens/HitIndicator.h"
#include "screens/Receptors.h"

Note::Note(std::string direction, float speed, ts::Vector position) {
  setType("Note");
  setAltitude(2);
  m_hit = false;
  m_direction = direction;
  const Lane *p_lane = Lane::ofDirection(direction);
  const std::string label = p_lane ? p_lane->sprite : "note_" + direction;
  if (!ts::ResourceManager::getInstance().getSprite(label))
    ts::LogManager::getInstance().writeLog("Note::Note(): Warning! Sprite '%s' not found!", label.c_str());
  else
    setSprite(label);
  m_speed = speed;
  setPosition(position);
  registerInterest(ts::STEP_EVENT);
}

Note::~Note() {}

int Note::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::STEP_EVENT) return 0;
  // As many steps as the spawner's note clock takes in this frame.
  const ts::EventStep *p_step = dynamic_cast<const ts::EventStep *>(p_event);
  NoteSpawner *p_spawner = firstOfType<NoteSpawner>("NoteSpawner");
  const int steps = p_step && p_spawner ? p_spawner->stepsAt(p_step->getStepCount()) : 1;
  if (m_holding)
    holdTo(p_spawner ? p_spawner->getNoteClock().getPosition() : m_clock_position + steps);
  else
    fall(steps, p_spawner ? p_spawner->getShownLagSteps() : 0.0);
  return 1;
}

void Note::fall(int steps, double shown_lag_steps) {
  if (steps <= 0 || m_holding) return;
  ts::Vector position = getPosition();
  position.setY(position.getY() + m_speed * static_cast<float>(steps));
  setPosition(position);
  // At any speed a note is missed as long after its beat as at one row per step.
  const float rows_past_beat = static_cast<float>(position.getY() - hit_zone::PERFECT_MIDDLE) / m_speed;
  const double last_row_past_beat = hit_zone::LAST_ROW_BEFORE_MISS - hit_zone::PERFECT_MIDDLE + shown_lag_steps;
  if (rows_past_beat <= static_cast<float>(last_row_past_beat) || m_hit) return;
  missed();
}

// Judged: a press later in this frame must not judge it again. A hold's
// tail is missed with its head.
void Note::missed() {
  m_hit = true;
  HitIndicator *p_indicator = firstOfType<HitIndicator>("HitIndicator");
  if (p_indicator) p_indicator->show("Miss!");
  const Lane *p_lane = Lane::ofDirection(m_direction);
  Receptors *p_receptors = firstOfType<Receptors>("Receptors");
  if (p_receptors && p_lane) p_receptors->show(*p_lane, Judgement::MISS, std::nullopt);
  ScoreManager *p_score = firstOfType<ScoreManager>("ScoreManager");
  if (p_score) {
    p_score->resetCombo();
    p_score->countJudgement(Judgement::MISS);
    if (m_hold_steps > 0) p_score->countJudgement(Judgement::MISS);
  }
  ts::WorldManager::getInstance().markForDelete(this);
}

void Note::holdTo(double clock_position) {
  m_clock_position = clock_position;
  if (m_holding && clock_position >= getTailStep()) endHold(Judgement::PERFECT);
}

void Note::release(double offset_ms) {
  if (m_holding) endHold(offset_ms < -timing_window::GOOD_MS ? Judgement::MISS : Judgement::PERFECT);
}

void Note::endHold(Judgement tail) {
  m_holding = false;
  credit(tail);
  const Lane *p_lane = Lane::ofDirection(m_direction);
  Receptors *p_receptors = firstOfType<Receptors>("Receptors");
  if (p_receptors && p_lane) p_receptors->show(*p_lane, tail, std::nullopt);
  ts::LogManager::getInstance().writeLog("Hold %s: %s, lane %s.",
                                         tail == Judgement::MISS ? "let go early" : "held to its end",
                                         judgementText(tail), m_direction.c_str());
  ts::WorldManager::getInstance().markForDelete(this);
}

// A judged head starts the hold, on the receptor; a missed one misses the
// tail as well.
void Note::afterHead(Judgement head) {
  if (head == Judgement::MISS) {
    ScoreManager *p_score = firstOfType<ScoreManager>("ScoreManager");
    if (p_score && m_hold_steps > 0) p_score->countJudgement(Judgement::MISS);
    ts::WorldManager::getInstance().markForDelete(this);
    return;
  }
  if (m_hold_steps <= 0) {
    ts::WorldManager::getInstance().markForDelete(this);
    return;
  }
  m_holding = true;
  m_clock_position = m_beat_step;
  setPosition(ts::Vector(getPosition().getX(), hit_zone::RECEPTOR_ROW));
}

// A hold's column: from its tail down to the top of its arrow, in the lane's
// colour.
void Note::drawColumn() const {
  if (m_hold_steps <= 0) return;
  const ts::Sprite *p_sprite = getAnimation().getSprite();
  const ts::Color color = p_sprite ? p_sprite->getColor() : ts::WHITE;
  const float head = getPosition().getY();
  const double steps_left = m_holding ? std::max(0.0, getTailStep() - m_clock_position) : m_hold_steps;
  const float tail = head - m_speed * static_cast<float>(steps_left);
  const ts::DisplayManager &display = ts::DisplayManager::getInstance();
  for (float row = std::max(0.0f, std::ceil(tail)); row <= head - 2.0f; row += 1.0f)
    display.drawCh(ts::Vector(getPosition().getX(), row), '|', color);
}

int Note::draw() {
  ts::LogManager::getInstance().writeLog("Drawing Note at (char: %.1f, %.1f)", getPosition().getX(),
                                         getPosition().getY());
  drawColumn();
  return ts::Object::draw();
}

void Note::hit() {
  m_hit = true;
  Judgement judgement = Judgement::MISS;
  const float y = getPosition().getY();
  if (hit_zone::isPerfectRow(y))
    judgement = Judgement::PERFECT;
  else if (hit_zone::isGoodRow(y))
    judgement = Judgement::GOOD;
  credit(judgement);
  afterHead(judgement);
}

void Note::judge(double offset_ms) {
  m_hit = true;
  const Judgement judgement = timing_window::grade(offset_ms).value_or(Judgement::MISS);
  credit(judgement);
  ScoreManager *p_score = firstOfType<ScoreManager>("ScoreManager");
  if (p_score) p_score->addOffset(offset_ms);
  const Lane *p_lane = Lane::ofDirection(m_direction);
  Receptors *p_receptors = firstOfType<Receptors>("Receptors");
  if (p_receptors && p_lane) p_receptors->show(*p_lane, judgement, offset_ms);
  ts::LogManager::getInstance().writeLog("Timed judgement: %s %s, lane %s.", judgementText(judgement),
                                         timing_window::offsetText(offset_ms).c_str(), m_direction.c_str());
  afterHead(judgement);
}

// Counts the judgement and its points, keeps or breaks the combo, and shows
// the word on the hit indicator (the classic rules' one, when there is one).
void Note::credit(Judgement judgement) const {
  ScoreManager *p_score = firstOfType<ScoreManager>("ScoreManager");
  if (!p_score) return;
  p_score->countJudgement(judgement);
  const int points = judgementPoints(judgement);
  if (points > 0) {
    p_score->setScore(p_score->getScore() + points);
    p_score->setCombo(p_score->getCombo() + 1);
  } else {
    p_score->resetCombo();
  }
  HitIndicator *p_indicator = firstOfType<HitIndicator>("HitIndicator");
  if (p_indicator) p_indicator->show(judgementText(judgement));
}
