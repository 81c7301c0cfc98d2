#include "app/RoundLoop.h"

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/InputManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/WorldManager.h>
#include "app/NextRound.h"
#include "app/QuitRequest.h"
#include "play/DemoPlayer.h"
#include "screens/GameOver.h"
#include "screens/GameStart.h"

RoundLoop::RoundLoop(Options options) : m_options(std::move(options)), m_rounds(0) {
  if (m_options.demo_chart.empty())
    m_library.load(m_options.chart_folders);
  else
    m_library.loadChart(m_options.demo_chart);
  m_settings = m_options.settings;
  m_settings.setScrollSpeed(m_options.scroll_speed);
  // A calibration changes it for the rounds after its own.
  m_settings.setOffsetMs(m_options.offset_ms);
  // The demo presses the arrows.
  if (m_options.demo_track != 0) m_settings.setLaneKeys(GameSettings::LaneKeys::ARROWS);
}

void RoundLoop::run() {
  RoundEnd end = playRound();
  while (end != RoundEnd::QUIT && !(isOneRound() && end == RoundEnd::SONG_FINISHED)) {
    m_retry = end == RoundEnd::RETRY;
    clearRound();
    end = playRound();
  }
}

RoundLoop::RoundEnd RoundLoop::playRound() {
  ++m_rounds;
  QuitRequest::clear();
  NextRound::clear();
  GameStart *p_start = new GameStart();
  p_start->setAudioOffset(m_settings.getOffsetMs());
  p_start->setRules(m_options.rules);
  p_start->setSongs(m_library.getSongs());
  // A demo shows the kept best scores but never changes them.
  p_start->setBestScores(m_options.scores_path, m_options.demo_track == 0);
  p_start->setPlayerSettings(&m_settings, m_options.settings_path);
  p_start->setResultsWait(!isOneRound());
  p_start->setOnStart([this](const Song &song) { m_last_song = song; });
  startRound();
  if (m_last_song) p_start->getMenu().select(*m_last_song);
  if (m_retry && m_last_song) p_start->startSong(*m_last_song);
  ts::GameManager::getInstance().run();
  const RoundEnd end = howRoundEnded();
  const char *const how[] = {"the song is over", "the player left", "the player went back to the song list",
                            "the player asked for the song again"};
  ts::LogManager::getInstance().writeLog("RoundLoop: round %d over: %s.", m_rounds, how[static_cast<int>(end)]);
  return end;
}

void RoundLoop::startRound() {
  if (m_options.demo_track != 0) new DemoPlayer(m_options.demo_track, m_options.rules);
}

// A song ends with the game-over screen counting down to its end; Escape or
// a closed window may come in that same last frame, and win.
RoundLoop::RoundEnd RoundLoop::howRoundEnded() const {
  if (QuitRequest::isMade() || ts::InputManager::getInstance().isWindowClosed()) return RoundEnd::QUIT;
  if (NextRound::get() == NextRound::RETRY) return RoundEnd::RETRY;
  if (NextRound::get() == NextRound::SONG_LIST) return RoundEnd::SONG_LIST;
  ts::ObjectList screens = ts::WorldManager::getInstance().objectsOfType("GameOver");
  const GameOver *p_over = screens.isEmpty() ? nullptr : dynamic_cast<const GameOver *>(screens[0]);
  return p_over && p_over->getTimeToLive() <= 0 ? RoundEnd::SONG_FINISHED : RoundEnd::QUIT;
}

void RoundLoop::clearRound() {
  // A song left for a retry or the song list would play on under the next
  // round (and a retry's lead-in would follow it).
  ts::Music *p_track = m_last_song ? ts::ResourceManager::getInstance().getMusic(m_last_song->track_label) : nullptr;
  if (p_track) p_track->stop();
  ts::WorldManager &world = ts::WorldManager::getInstance();
  const ts::ObjectList objects = world.getSceneGraph().activeObjects() + world.getSceneGraph().inactiveObjects();
  for (int i = 0; i < objects.getCount(); ++i) world.markForDelete(objects[i]);
  // Destroys what is marked (and what the destructors mark in turn).
  world.update();
}
