#include <tessera/game/GameManager.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include <tessera/core/Config.h>
#include <tessera/core/EventRegistry.h>
#include <tessera/core/EventStep.h>
#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/input/InputManager.h>
#include <tessera/network/NetworkManager.h>
#include <tessera/paths/PathManager.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/system/Clock.h>
#include <tessera/world/WorldManager.h>

#include "platform/Platform.h"
#include "platform/Signals.h"

namespace ts {

namespace {
// A frame time above this is honoured but warned about: the game then sits
// in one frame's sleep for that long.
const int LONGEST_SENSIBLE_FRAME_TIME = 10000;
// How often the sleep wakes to read pending input, in microseconds: an
// event is stamped at most about this long after it came.
const int64_t INPUT_SAMPLE_PERIOD = 1000;
}  // namespace

GameManager::GameManager() : m_game_over(false), m_frame_time(0), m_step_count(0) {
  setType("GameManager");
  GameLoop::install(this);
  EventRegistry::attach(*this);
}

GameManager::~GameManager() {
  EventRegistry::detach(*this);
  GameLoop::uninstall(this);
}

void GameManager::setGameOver(bool game_over) {
  m_game_over = game_over;
  SceneGraph::setGameOver(game_over);
}

GameManager &GameManager::getInstance() {
  static GameManager instance;
  return instance;
}

bool GameManager::isValid(std::string event_type) const { return event_type == STEP_EVENT; }

namespace {

const char *const STARS = "****************************************************";

void writeWorkingDirectory() {
  const LogManager &log = LogManager::getInstance();
  std::string directory = platform::workingDirectory();
  log.writeLog(LOG_ROUTINE, "Working directory:");
  log.writeLog(LOG_ROUTINE, "  %s", directory.empty() ? "(full path too long)" : directory.c_str());
  log.writeLog(LOG_ROUTINE, "Log Manager started.");
}

// Starts one manager, writing its success line or its failure message.
bool startOne(Manager &manager, const char *error, const char *started) {
  if (manager.startUp() != 0) {
    LogManager::getInstance().writeLog("%s", error);
    return false;
  }
  LogManager::getInstance().writeLog(LOG_ROUTINE, "%s", started);
  return true;
}

}  // namespace

int GameManager::startManagers() {
  if (!startOne(DisplayManager::getInstance(), "GameManager::startUp(): Error! Starting display manager.",
                "Display manager started."))
    return -1;
  if (!startOne(InputManager::getInstance(), "GameManager::startUp(): Error! Starting input manager.",
                "Input manager started."))
    return -1;
  if (Config::getInstance().getNetworking() &&
      !startOne(NetworkManager::getInstance(), "GameManager::startUp(): Error! Starting network manager.",
                "Network manager started."))
    return -1;
  if (!startOne(ResourceManager::getInstance(), "GameManager::startUp(): Error! Starting resource manager.",
                "Resource manager started."))
    return -1;
  if (!startOne(WorldManager::getInstance(), "GameManager::startUp(): Error starting world manager.",
                "World manager started."))
    return -1;
  if (!startOne(PathManager::getInstance(), "GameManager::startUp(): Error starting path manager.",
                "Path manager started."))
    return -1;
  return 0;
}

void GameManager::seedRandom() const {
  int seed = Config::getInstance().getRandomSeed();
  if (seed == 0) seed = static_cast<int>(static_cast<uint32_t>(std::time(nullptr)));
  if (seed == -1) return;
  LogManager::getInstance().writeLog(LOG_DETAIL, "GameManager()::startUp(): srand() seed with %d", seed);
  std::srand(static_cast<unsigned int>(seed));
}

int GameManager::startUp() {
  LogManager &log = LogManager::getInstance();
  if (isStarted()) {
    log.writeLog("%s::startup(): Warning! %s already started.", "GameManager", "GameManager");
    return -1;
  }
  Config &config = Config::getInstance();
  config.loadConfig("");
  if (log.startUp() != 0) {
    log.writeLog("GameManager::startUp(): Error! Starting log manager.");
    return -1;
  }
  // From here on Ctrl-C and kill end the game through shutDown(), so the
  // log is written out; the configuration can leave them to their default.
  if (config.getSignals()) platform::catchStopSignals();
  log.writeLog("%s", STARS);
  log.writeLog("** Tessera version %.2f **", TESSERA_VERSION);
  log.writeLog("** Game engine started **");
  log.writeLog("%s", STARS);
  config.writeDump();
  writeWorkingDirectory();
  m_frame_time = config.getFrameTime();
  log.writeLog(LOG_MANAGER, "GameManager::startUp(): frame time is %d milliseconds", m_frame_time);
  if (m_frame_time > LONGEST_SENSIBLE_FRAME_TIME)
    log.writeLog("GameManager::startUp(): Warning! Frame time of %d ms is above %d ms; every frame waits that long.",
                 m_frame_time, LONGEST_SENSIBLE_FRAME_TIME);
  if (startManagers() != 0) return -1;

  DisplayManager &display = DisplayManager::getInstance();
  Box world(Vector(0, 0), static_cast<float>(display.getHorizontal()), static_cast<float>(display.getVertical()));
  WorldManager &world_manager = WorldManager::getInstance();
  world_manager.setBoundary(world);
  world_manager.setView(world);
  world_manager.setViewSlack(Vector(1.0f / 3.0f, 1.0f / 3.0f));
  seedRandom();
  // No timer resolution to request here; a small timer slack keeps the
  // frame sleep close to its deadline.
  platform::requestPreciseTimers();
  setGameOver(false);
  Manager::startUp();
  log.writeLog(LOG_ROUTINE, "GameManager successfully started.");
  log.flush();
  return 0;
}

void GameManager::runFrame(Clock &clock, int &correction) {
  clock.delta();
  EventStep step(m_step_count);
  onEvent(&step);
  DisplayManager::getInstance().swapBuffers();
  InputManager::getInstance().getInput();
  WorldManager &world = WorldManager::getInstance();
  world.update();
  world.draw();
  if (Config::getInstance().getNetworking()) {
    NetworkManager &network = NetworkManager::getInstance();
    if (network.isServer()) network.accept();
    if (network.isConnected(-1)) network.sendQueued();
  }
  int64_t left = static_cast<int64_t>(m_frame_time) * 1000 - clock.split() - correction;
  int budget = static_cast<int>(static_cast<float>(left) * 0.95f / 1000);
  PathManager::getInstance().cycle(budget);
  sleepRestOfFrame(clock, correction);
}

// Sleeps what is left of the frame to the microsecond, carrying any
// oversleep (over the whole sleep, wake-ups included) into the next frame's
// budget.
void GameManager::sleepRestOfFrame(Clock &clock, int &correction) {
  int32_t split = clock.split();
  int64_t remaining = static_cast<int64_t>(m_frame_time) * 1000 - split - correction;
  if (remaining > 0) {
    int32_t before = clock.split();
    sleepSamplingInput(monotonicMicroseconds() + remaining);
    int32_t after = clock.split();
    int64_t overslept = static_cast<int64_t>(after - before) - remaining;
    correction = overslept > 0 ? static_cast<int>(overslept) : 0;
    return;
  }
  if (correction == 0 && m_frame_time > 0 && m_step_count > 0)
    LogManager::getInstance().writeLog("GameManager::run(): Can't keep up! frame_time %d ms, split %d ms", m_frame_time,
                                       split / 1000);
  correction = 0;
}

// Sleeps until the deadline. With a window or terminal to read it wakes
// about every millisecond to take in pending input, so that each event is
// stamped close to when it came (delivery still waits for the next frame's
// getInput()); headless it sleeps in one piece. A caught stop signal ends
// the sleep at once.
void GameManager::sleepSamplingInput(int64_t deadline) const {
  InputManager &input = InputManager::getInstance();
  if (!input.hasInputSource()) {
    sleepUntilMicroseconds(deadline);
    return;
  }
  for (;;) {
    const int64_t now = monotonicMicroseconds();
    if (now >= deadline || platform::stopSignalPending()) return;
    sleepUntilMicroseconds(std::min(now + INPUT_SAMPLE_PERIOD, deadline));
    input.sampleInput();
  }
}

bool GameManager::isStopRequested() const { return platform::stopSignalPending(); }

// A caught stop signal gets its log line, flushed at once, since a second
// signal would end the process before the log is closed.
bool GameManager::noteStopSignal(const char *operation) const {
  const int signal = platform::takeStopSignal();
  if (signal == 0) return false;
  LogManager &log = LogManager::getInstance();
  log.writeLog("%s: Caught %s; ending the game.", operation, platform::signalName(signal).c_str());
  log.flush();
  return true;
}

void GameManager::run() {
  Clock clock;
  LogManager::getInstance().writeLog(LOG_ROUTINE, "GameManager::run(): starting game loop");
  setGameOver(false);
  m_step_count = 0;
  int correction = 0;
  for (;;) {
    runFrame(clock, correction);
    ++m_step_count;
    // The frame's log lines reach the file now, not when a buffer fills.
    LogManager::getInstance().flush();
    if (noteStopSignal("GameManager::run()")) setGameOver(true);
    if (m_game_over) {
      LogManager::getInstance().writeLog(LOG_ROUTINE, "GameManager::run(): end of game loop");
      return;
    }
  }
}

namespace {
void stopOne(Manager &manager, const char *stopped) {
  if (!manager.isStarted()) return;
  manager.shutDown();
  LogManager::getInstance().writeLog(LOG_ROUTINE, "%s", stopped);
}
}  // namespace

void GameManager::shutDown() {
  setGameOver(true);
  stopOne(PathManager::getInstance(), "Path manager stopped");
  stopOne(WorldManager::getInstance(), "World manager stopped");
  stopOne(ResourceManager::getInstance(), "Resource manager stopped");
  if (Config::getInstance().getNetworking()) stopOne(NetworkManager::getInstance(), "Network manager stopped");
  stopOne(InputManager::getInstance(), "Input manager stopped");
  stopOne(DisplayManager::getInstance(), "Display manager stopped");
  noteStopSignal("GameManager::shutDown()");  // one that came after the loop ended
  LogManager &log = LogManager::getInstance();
  log.writeLog("%s", STARS);
  log.writeLog("** Game engine stopped **");
  if (log.isStarted()) log.shutDown();
  platform::releaseStopSignals();
  Manager::shutDown();
}

}  // namespace ts
