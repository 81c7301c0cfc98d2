// The game manager: start-up and shut-down, the frame loop's step events,
// game over, shutDown() from inside a frame, overrun reports, exit status.
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <functional>

#include "Config.h"
#include "EventStep.h"
#include "GameManager.h"
#include "NetworkManager.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

// A headless, offline configuration named by TESSERA_CONFIG.
class LoopConfig {
 public:
  explicit LoopConfig(const std::string &extra = "frame_time:2,") {
    char name[] = "/tmp/tessera-loop-config-XXXXXX";
    close(mkstemp(name));
    m_path = name;
    std::ofstream(m_path) << "networking:false,\nheadless:true,\n" << extra << "\n";
    setenv("TESSERA_CONFIG", m_path.c_str(), 1);
  }
  ~LoopConfig() { std::remove(m_path.c_str()); }

 private:
  std::string m_path;
};

void busyWaitMilliseconds(int milliseconds) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < until) {
  }
}

// Runs an action on each step event it receives. Kept on the heap: the
// world manager owns it and may destroy it.
class Stepper : public ts::Object {
 public:
  explicit Stepper(std::function<void(int)> on_step) : m_on_step(std::move(on_step)) {
    registerInterest(ts::STEP_EVENT);
  }
  int eventHandler(const ts::Event *event) override {
    if (event->getType() != ts::STEP_EVENT) return 0;
    m_on_step(static_cast<const ts::EventStep *>(event)->getStepCount());
    return 1;
  }

 private:
  std::function<void(int)> m_on_step;
};

ts::GameManager &game() { return ts::GameManager::getInstance(); }

int countStartingWith(const std::vector<std::string> &lines, const std::string &prefix) {
  int count = 0;
  for (const std::string &line : lines) count += line.compare(0, prefix.size(), prefix) == 0;
  return count;
}

const std::string CANT_KEEP_UP = "GameManager::run(): Can't keep up! frame_time ";

}  // namespace

TEST(GameLoop, StartUpBannerAndShutDownLines) {
  LoopConfig config;
  LogCapture log;
  ts::LogManager::getInstance().setLogLevel(1);
  ASSERT_EQ(game().startUp(), 0);
  EXPECT_TRUE(game().isStarted());
  EXPECT_EQ(game().getFrameTime(), 2);
  EXPECT_FALSE(ts::NetworkManager::getInstance().isStarted());
  EXPECT_TRUE(ts::WorldManager::getInstance().isStarted());
  EXPECT_EQ(ts::WorldManager::getInstance().getBoundary(), ts::Box(ts::Vector(0, 0), 80, 24));
  EXPECT_EQ(ts::WorldManager::getInstance().getView(), ts::Box(ts::Vector(0, 0), 80, 24));
  EXPECT_EQ(ts::WorldManager::getInstance().getViewSlack(), ts::Vector(1.0f / 3, 1.0f / 3));
  EXPECT_EQ(game().startUp(), -1);
  game().shutDown();
  EXPECT_FALSE(game().isStarted());
  EXPECT_FALSE(ts::WorldManager::getInstance().isStarted());
  EXPECT_FALSE(ts::LogManager::getInstance().isStarted());

  std::vector<std::string> lines = log.messages();
  const std::string stars(52, '*');
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], stars);
  EXPECT_EQ(lines[1], "** Tessera version 4.21 **");
  EXPECT_EQ(lines[2], "** Game engine started **");
  EXPECT_EQ(lines[3], stars);
  auto position = [&](const std::string &line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  };
  EXPECT_LT(position("Log Manager started."), position("Display manager started."));
  EXPECT_LT(position("Display manager started."), position("Input manager started."));
  EXPECT_LT(position("Input manager started."), position("Resource manager started."));
  EXPECT_LT(position("Resource manager started."), position("World manager started."));
  EXPECT_LT(position("World manager started."), position("Path manager started."));
  EXPECT_LT(position("Path manager started."), position("GameManager successfully started."));
  EXPECT_EQ(position("Network manager started."), static_cast<long>(lines.size()));
  EXPECT_LT(position("GameManager successfully started."),
            position("GameManager::startup(): Warning! GameManager already started."));
  const std::vector<std::string> tail(lines.end() - 7, lines.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Path manager stopped", "World manager stopped", "Resource manager stopped",
                                            "Input manager stopped", "Display manager stopped", stars,
                                            "** Game engine stopped **"}));
}

TEST(GameLoop, StepEventsCountFramesAndGameOverEndsAfterThatFrame) {
  LoopConfig config;
  LogCapture log;
  ASSERT_EQ(game().startUp(), 0);
  ts::LogManager::getInstance().setLogLevel(1);
  std::vector<int> seen;
  new Stepper([&](int step) {
    seen.push_back(step);
    if (step == 4) game().setGameOver();
  });
  std::vector<int> later;
  new Stepper([&](int step) { later.push_back(step); });  // same frame: still called
  game().run();
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(later, seen);
  EXPECT_EQ(game().getStepCount(), 5);
  EXPECT_TRUE(log.contains("GameManager::run(): starting game loop"));
  EXPECT_TRUE(log.contains("GameManager::run(): end of game loop"));
  // The step count prefixes lines written during a frame.
  ts::LogManager::getInstance().writeLog("after the loop");
  EXPECT_EQ(log.rawLines().back().substr(8), "    5 after the loop");

  // run() may be called again: it starts counting from 0.
  seen.clear();
  game().run();
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  game().shutDown();
}

namespace {
int s_first_calls = 0;
int s_second_calls = 0;
}  // namespace

TEST(GameLoop, ShutDownInsideAFrameDestroysObjectsAndEndsTheLoop) {
  LoopConfig config;
  LogCapture log;
  ASSERT_EQ(game().startUp(), 0);
  new Stepper([](int) {
    ++s_first_calls;
    game().shutDown();  // destroys this very object; touch nothing after it
  });
  new Stepper([](int) { ++s_second_calls; });
  game().run();
  EXPECT_EQ(s_first_calls, 1);
  EXPECT_EQ(s_second_calls, 0);  // destroyed before its turn in the dispatch
  EXPECT_EQ(game().getStepCount(), 1);
  EXPECT_FALSE(game().isStarted());
  EXPECT_FALSE(ts::WorldManager::getInstance().isStarted());
  EXPECT_TRUE(log.contains("** Game engine stopped **"));
  // The entry point's own shutDown() afterwards only writes its banner lines
  // to standard error: the log is closed and nothing is left to stop.
  testing::internal::CaptureStderr();
  game().shutDown();
  std::istringstream err(testing::internal::GetCapturedStderr());
  std::vector<std::string> lines;
  for (std::string line; std::getline(err, line);) lines.push_back(line.substr(14));
  EXPECT_EQ(lines, (std::vector<std::string>{std::string(52, '*'), "** Game engine stopped **"}));
}

TEST(GameLoop, OverrunsAreReportedExceptOnTheFirstFrame) {
  LoopConfig config;
  LogCapture log;
  ASSERT_EQ(game().startUp(), 0);
  new Stepper([](int step) {
    busyWaitMilliseconds(5);  // well over the 2 ms budget
    if (step == 2) game().setGameOver();
  });
  game().run();
  game().shutDown();
  std::vector<std::string> lines = log.messages();
  // Frames 1 and 2 overrun after a frame that did not sleep; frame 0 is
  // never reported.
  EXPECT_EQ(countStartingWith(lines, CANT_KEEP_UP + "2 ms, split "), 2);
  EXPECT_EQ(countStartingWith(lines, CANT_KEEP_UP), 2);
}

TEST(GameLoop, ZeroFrameTimeNeverSleepsNorReports) {
  LoopConfig config("frame_time:0,");
  LogCapture log;
  ASSERT_EQ(game().startUp(), 0);
  new Stepper([](int step) {
    busyWaitMilliseconds(1);
    if (step == 3) game().setGameOver();
  });
  game().run();
  EXPECT_EQ(game().getStepCount(), 4);
  game().shutDown();
  EXPECT_EQ(countStartingWith(log.messages(), CANT_KEEP_UP), 0);
}

TEST(GameLoop, FixedSeedRepeatsTheRandomSequence) {
  LoopConfig config("random_seed:42,");
  LogCapture log;
  ts::LogManager::getInstance().setLogLevel(10);
  ASSERT_EQ(game().startUp(), 0);
  int first = std::rand();
  int second = std::rand();
  game().shutDown();
  std::srand(42);
  EXPECT_EQ(std::rand(), first);
  EXPECT_EQ(std::rand(), second);
  EXPECT_TRUE(log.contains("GameManager()::startUp(): srand() seed with 42"));
}

TEST(GameLoop, SeedMinusOneLeavesTheGeneratorAlone) {
  LoopConfig config("random_seed:-1,");
  LogCapture log;
  ts::LogManager::getInstance().setLogLevel(10);
  std::srand(7);
  ASSERT_EQ(game().startUp(), 0);
  int drawn = std::rand();
  game().shutDown();
  std::srand(7);
  EXPECT_EQ(std::rand(), drawn);
  EXPECT_EQ(countStartingWith(log.messages(), "GameManager()::startUp(): srand()"), 0);
}

TEST(GameLoop, FailedLogStartEndsWithExitStatusOne) {
  LoopConfig config;
  std::string command = std::string("TESSERA_LOG=/tmp/no-such-directory-for-tessera/x.log ") + RHYTHM_BINARY +
                        " 2>/tmp/tessera-rhythm-stderr.txt";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::ifstream err("/tmp/tessera-rhythm-stderr.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(err, line);) lines.push_back(line.substr(14));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "LogManager::startup(): Warning! Unable to open file '/tmp/no-such-directory-for-tessera/x.log'.",
                       "GameManager::startUp(): Error! Starting log manager."}));
  std::remove("/tmp/tessera-rhythm-stderr.txt");
}
