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
#include "screens/HitIndicator.h"

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
  HitIndicator *p_indicator = firstOfType<HitIndicator>("HitIndicator");
  if (p_indicator) p_indicator->show("Miss!");
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
  ScoreManager *p_score = firstOfType<ScoreManager>("ScoreManager");
  HitIndicator *p_indicator = firstOfType<HitIndicator>("HitIndicator");
  if (p_score) {
    const float y = getPosition().getY();
    Judgement judgement = Judgement::MISS;
    std::string text = "Miss!";
    int points = 0;
    if (hit_zone::isPerfectRow(y)) {
      judgement = Judgement::PERFECT;
      text = "Perfect!";
      points = 10;
    } else if (hit_zone::isGoodRow(y)) {
      judgement = Judgement::GOOD;
      text = "Good!";
      points = 5;
    }
    p_score->countJudgement(judgement);
    if (points > 0) {
      p_score->setScore(p_score->getScore() + points);
      p_score->setCombo(p_score->getCombo() + 1);
    } else {
      p_score->resetCombo();
    }
    if (p_indicator) p_indicator->show(text);
  }
  ts::WorldManager::getInstance().markForDelete(this);
}
