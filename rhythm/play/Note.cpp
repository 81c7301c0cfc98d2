#include "play/Note.h"

#include <tessera/core/EventStep.h>
#include <tessera/core/LogManager.h>
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
  fall(p_step && p_spawner ? p_spawner->stepsAt(p_step->getStepCount()) : 1);
  return 1;
}

void Note::fall(int steps) {
  if (steps <= 0) return;
  ts::Vector position = getPosition();
  position.setY(position.getY() + m_speed * static_cast<float>(steps));
  setPosition(position);
  if (position.getY() <= hit_zone::LAST_ROW_BEFORE_MISS || m_hit) return;
  // Judged: a press later in this frame must not judge it again.
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
  }
  ts::WorldManager::getInstance().markForDelete(this);
}

int Note::draw() {
  ts::LogManager::getInstance().writeLog("Drawing Note at (char: %.1f, %.1f)", getPosition().getX(),
                                         getPosition().getY());
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
  ts::WorldManager::getInstance().markForDelete(this);
}

double Note::getBeatStep() const { return m_chart_step + hit_zone::PERFECT_MIDDLE; }

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
  ts::WorldManager::getInstance().markForDelete(this);
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
