#include "GameStart.h"

#include <tessera/audio/Music.h>
#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/WorldManager.h>
#include "Background.h"
#include "Calibration.h"
#include "Charts.h"
#include "GameSettings.h"
#include "HitIndicator.h"
#include "KeyboardHandler.h"
#include "NoteSpawner.h"
#include "ScoreManager.h"
#include "UIManager.h"

namespace {
const int STAR_COUNT = 15;
}

GameStart::GameStart() : m_p_start_music(nullptr), m_game_started(false), m_audio_offset_ms(0), m_calibrating(false) {
  setType("GameStart");
  setSprite("gamestart");
  setLocation(ts::CENTER_CENTER);
  registerInterest(ts::KEYBOARD_EVENT);

  ts::LogManager &log = ts::LogManager::getInstance();
  m_p_start_music = ts::ResourceManager::getInstance().getMusic("start_bgm");
  if (m_p_start_music) {
    m_p_start_music->play(true);
    log.writeLog("SUCCESS: GameStart BGM started.");
  } else {
    log.writeLog("ERROR: GameStart BGM not found!");
  }
}

GameStart::~GameStart() {
  if (m_p_start_music) {
    m_p_start_music->stop();
    ts::LogManager::getInstance().writeLog("GameStart BGM stopped.");
  }
}

int GameStart::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::KEYBOARD_EVENT) {
    const ts::EventKeyboard *p_keyboard = dynamic_cast<const ts::EventKeyboard *>(p_event);
    if (!p_keyboard || p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 1;
    if (m_calibrating) return 1;
    switch (p_keyboard->getKey()) {
      case ts::Keyboard::ESCAPE:
        // Only end the loop here: the entry point stops the engine after
        // this frame, so no object is destroyed while it handles an event.
        ts::LogManager::getInstance().writeLog("ESC pressed! Exiting game...");
        ts::GameManager::getInstance().setGameOver(true);
        return 1;
      case ts::Keyboard::NUM1:
        startGame(charts::TRACK_ONE);
        break;
      case ts::Keyboard::NUM2:
        startGame(charts::TRACK_TWO);
        break;
      case ts::Keyboard::C:
        if (!m_game_started) openCalibration();
        break;
      default:
        break;
    }
    return 1;
  }
  // Not registered for steps: the end of a song is watched by the spawner.
  if (p_event->getType() == ts::STEP_EVENT) return 1;
  return 0;
}

int GameStart::draw() { return m_calibrating ? 0 : ts::Object::draw(); }

void GameStart::openCalibration() {
  if (m_calibrating) return;
  m_calibrating = true;
  if (m_p_start_music) m_p_start_music->stop();
  new Calibration(GameSettings::defaultPath());
}

void GameStart::endCalibration(std::optional<int> offset_ms) {
  if (!m_calibrating) return;
  m_calibrating = false;
  if (offset_ms) m_audio_offset_ms = *offset_ms;
  if (m_p_start_music) m_p_start_music->play(true);
}

void GameStart::startGame(std::string track_label) {
  if (m_game_started) return;
  m_game_started = true;
  ts::LogManager &log = ts::LogManager::getInstance();
  if (m_p_start_music) {
    m_p_start_music->stop();
    log.writeLog("GameStart BGM stopped.");
  }

  ts::Music *p_track = ts::ResourceManager::getInstance().getMusic(track_label);
  if (p_track) {
    p_track->play(false);
    log.writeLog("SUCCESS: Game BGM %s started.", track_label.c_str());
  } else {
    log.writeLog("ERROR: Game BGM %s not found!", track_label.c_str());
  }
  log.writeLog("GameOver will trigger after %d seconds", charts::secondsFor(track_label));

  new NoteSpawner(charts::chartFor(track_label), p_track, m_audio_offset_ms);
  new KeyboardHandler();
  HitIndicator *p_indicator = new HitIndicator();
  p_indicator->setPosition(ts::Vector(40, 12));
  new ScoreManager();
  new UIManager();
  for (int i = 0; i < STAR_COUNT; ++i) new Background();

  ts::WorldManager::getInstance().markForDelete(this);
}
