// The game manager: start and stop, the frame loop, overruns, signals.
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <chrono>

#include <tessera/core/EventStep.h>
#include <tessera/game/GameManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/network/NetworkManager.h>
#include <tessera/system/Clock.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"
#include "platform/Signals.h"

using namespace testing_support;

namespace {

// Starts the game headless and offline with a log file; the configuration
// file is a spare LogCapture file named by TESSERA_CONFIG.
class GameLoop : public testing::Test {
 protected:
  void startGame(const std::string &extra = "frame_time:2,", int level = 0) {
    std::ofstream(config.path()) << "networking:false,\nheadless:true,\n" << extra << "\n";
    setenv("TESSERA_CONFIG", config.path().c_str(), 1);
    setenv("TESSERA_LOG", log.path().c_str(), 1);
    ts::LogManager::getInstance().setLogLevel(level);
    ASSERT_EQ(game().startUp(), 0);
  }
  int linesStartingWith(const std::string &prefix) const {
    int count = 0;
    for (const std::string &line : log.messages()) count += line.compare(0, prefix.size(), prefix) == 0;
    return count;
  }
  // For a death test: starts the game, raises the signals, exits cleanly if still alive.
  void raiseAfterStart(const std::string &extra, std::initializer_list<int> signals) {
    startGame(extra);
    for (int signal : signals) std::raise(signal);
    std::exit(0);
  }
  static ts::GameManager &game() { return ts::GameManager::getInstance(); }
  LogCapture config, log;
};

// Runs an action on each step event. Kept on the heap: the world owns it.
struct Stepper : ts::Object {
  explicit Stepper(std::function<void(int)> action) : on_step(std::move(action)) { registerInterest(ts::STEP_EVENT); }
  int eventHandler(const ts::Event *event) override {
    on_step(static_cast<const ts::EventStep *>(event)->getStepCount());
    return 1;
  }
  std::function<void(int)> on_step;
};

const std::string CANT_KEEP_UP = "GameManager::run(): Can't keep up! frame_time ";

}  // namespace

TEST_F(GameLoop, StartUpOrderBannerAndShutDownLines) {
  startGame("frame_time:2,", 1);
  EXPECT_FALSE(ts::NetworkManager::getInstance().isStarted());  // networking:false
  EXPECT_EQ(game().startUp(), -1);
  game().shutDown();
  std::vector<std::string> lines = log.messages();
  // Managers stop in the reverse order of their start.
  const char *const managers[] = {"Display", "Input", "Resource", "World", "Path"};
  const std::string stars(52, '*');
  std::vector<std::string> in_order = {stars, "** Tessera version 4.21 **", "** Game engine started **", stars,
                                       "Log Manager started."};
  for (const char *manager : managers) in_order.push_back(std::string(manager) + " manager started.");
  in_order.push_back("GameManager successfully started.");
  in_order.push_back("GameManager::startup(): Warning! GameManager already started.");
  for (auto it = std::rbegin(managers); it != std::rend(managers); ++it)
    in_order.push_back(std::string(*it) + " manager stopped");
  in_order.insert(in_order.end(), {stars, "** Game engine stopped **"});
  auto next = lines.begin();
  for (const std::string &expected : in_order) {
    next = std::find(next, lines.end(), expected);
    ASSERT_NE(next++, lines.end()) << "missing or out of order: " << expected;
  }
  EXPECT_EQ(next, lines.end());
}

TEST_F(GameLoop, StepEventsCountFramesAndGameOverEndsAfterThatFrame) {
  startGame("frame_time:2,", 1);
  std::vector<int> seen, later;
  new Stepper([&](int step) {
    seen.push_back(step);
    if (step == 4) game().setGameOver();
  });
  new Stepper([&](int step) { later.push_back(step); });  // same frame: still called
  game().run();
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(later, seen);
  ts::LogManager::getInstance().writeLog("after the loop");  // the step count prefixes log lines
  EXPECT_EQ(log.rawLines().back().substr(8), "    5 after the loop");
  seen.clear();
  game().run();  // may run again, counting from 0
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
  game().shutDown();
}

TEST_F(GameLoop, ShutDownInsideAFrameDestroysObjectsAndEndsTheLoop) {
  startGame();
  static int second_calls = 0;
  new Stepper([](int) { game().shutDown(); });  // destroys this very object; touch nothing after it
  new Stepper([](int) { ++second_calls; });
  game().run();
  EXPECT_EQ(second_calls, 0);  // destroyed before its turn in the dispatch
  EXPECT_EQ(game().getStepCount(), 1);
  game().shutDown();  // the entry point's own call afterwards: nothing is left to stop
  EXPECT_FALSE(ts::WorldManager::getInstance().isStarted());
}

TEST_F(GameLoop, OverrunsAreReportedExceptOnTheFirstFrameOrWithoutFrameTime) {
  for (const auto &[frame_time, reports] : {std::pair<std::string, int>{"frame_time:2,", 2}, {"frame_time:0,", 0}}) {
    startGame(frame_time);
    new Stepper([](int step) {
      auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(5);  // over the 2 ms budget
      while (std::chrono::steady_clock::now() < until) continue;
      if (step == 2) game().setGameOver();
    });
    game().run();
    game().shutDown();
    // Frames 1 and 2 overrun after a frame that did not sleep; frame 0 is never reported.
    EXPECT_EQ(linesStartingWith(CANT_KEEP_UP + "2 ms, split "), reports) << frame_time;
    EXPECT_EQ(linesStartingWith(CANT_KEEP_UP), reports) << frame_time;
  }
}

// A fixed seed repeats the sequence; -1 leaves the generator alone.
TEST_F(GameLoop, RandomSeed) {
  for (int seed : {42, -1}) {
    std::srand(7);
    startGame("random_seed:" + std::to_string(seed) + ",", 10);
    int drawn = std::rand();
    game().shutDown();
    std::srand(seed == -1 ? 7 : seed);
    EXPECT_EQ(std::rand(), drawn) << seed;
    EXPECT_EQ(linesStartingWith("GameManager()::startUp(): srand() seed with 42"), seed == 42 ? 1 : 0) << seed;
  }
}

// A second stop signal ends the process at once, by that signal; with the
// configuration's "signals" false the first one does.
TEST_F(GameLoop, SecondStopSignalOrSignalsOffEndsTheProcessAtOnce) {
  EXPECT_EXIT(raiseAfterStart("frame_time:2,", {SIGINT, SIGINT}), testing::KilledBySignal(SIGINT), "");
  EXPECT_EXIT(raiseAfterStart("signals:false,", {SIGTERM}), testing::KilledBySignal(SIGTERM), "");
}

// Headless the display draws nothing but still records when each step's
// picture would have gone on screen: in the swap of the next step, so
// between the starts of the two steps after it. The history keeps the last
// 64 steps and starts afresh when the loop runs again.
TEST_F(GameLoop, PresentTimesAreRecordedPerStepHeadless) {
  startGame("frame_time:1,");
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  EXPECT_EQ(display.getLastPresentTime(), 0);
  std::vector<int64_t> started;  // when each step began
  const int LAST = 80;
  int last = LAST;
  new Stepper([&](int step) {
    started.push_back(ts::monotonicMicroseconds());
    if (step == last) game().setGameOver();
  });
  game().run();
  const int64_t end = ts::monotonicMicroseconds();
  ASSERT_EQ(started.size(), static_cast<size_t>(LAST + 1));
  const int oldest = LAST - 1 - 63;  // the swap of the last step showed step LAST - 1
  for (int step = oldest; step < LAST; ++step) {
    const int64_t shown = display.getPresentTime(step);
    EXPECT_GE(shown, started[static_cast<size_t>(step + 1)]) << "step " << step;
    EXPECT_LE(shown, step + 2 <= LAST ? started[static_cast<size_t>(step + 2)] : end) << "step " << step;
    EXPECT_EQ(display.getShownStep(shown), step);
    if (step > oldest) {
      EXPECT_EQ(display.getShownStep(shown - 1), step - 1);
    }
  }
  EXPECT_EQ(display.getPresentTime(oldest - 1), -1);  // dropped from the history
  EXPECT_EQ(display.getPresentTime(LAST), -1);        // drawn, never shown
  EXPECT_EQ(display.getShownStep(display.getPresentTime(oldest) - 1), -1);
  EXPECT_EQ(display.getLastPresentTime(), display.getPresentTime(LAST - 1));
  EXPECT_EQ(display.getShownStep(end), LAST - 1);

  last = 5;
  game().run();  // from step 0 again: the first run's steps are gone
  EXPECT_EQ(display.getPresentTime(LAST - 1), -1);
  EXPECT_EQ(display.getShownStep(end), -1);
  EXPECT_GE(display.getPresentTime(0), started[LAST + 2]);
  game().shutDown();
}

// A stop request the process ignores (nohup) stays ignored, and one a
// library handles (a profiler's SIGPROF) stays the library's: neither ends
// the game.
TEST_F(GameLoop, IgnoredOrLibraryHandledRequestsAreLeftAlone) {
  static volatile sig_atomic_t profiled = 0;
  EXPECT_EXIT(
      {
        std::signal(SIGUSR2, SIG_IGN);
        std::signal(SIGPROF, [](int) { profiled = 1; });
        startGame();
        std::raise(SIGUSR2);
        std::raise(SIGPROF);
        std::exit(profiled && !ts::platform::stopSignalPending() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

// A signal that ends the process still gets the log's waiting lines into the
// file, and the line that names the log onto standard error: a fault, an
// abort, quit, the file size limit, a real-time signal, a stop request that
// is not caught and a second one that is. (Under the sanitizers a fault ends
// with their report instead of the signal, so only "not a clean exit" is
// asked there.)
TEST_F(GameLoop, EndingSignalsWriteOutTheWaitingLogAndNameIt) {
  struct Case {
    int signal;
    const char *config;
    int raised;
  };
  const int first_real_time = SIGRTMIN + 3;
  for (const Case &each : {Case{SIGSEGV, "", 1}, Case{SIGABRT, "", 1}, Case{SIGQUIT, "", 1}, Case{SIGXFSZ, "", 1},
                           Case{first_real_time, "", 1}, Case{SIGUSR1, "signals:false,", 1}, Case{SIGHUP, "", 2}}) {
    const std::string waiting = "Waiting when signal " + std::to_string(each.signal) + " came.";
    auto ended = [&](int status) {
      return each.signal == SIGSEGV ? !(WIFEXITED(status) && WEXITSTATUS(status) == 0)
                                    : WIFSIGNALED(status) && WTERMSIG(status) == each.signal;
    };
    EXPECT_EXIT(
        {
          ts::LogManager::getInstance().nameLogOnFatalSignal("game: see the log ");
          startGame(each.config);
          ts::LogManager::getInstance().writeLog("%s", waiting.c_str());
          for (int i = 0; i < each.raised; ++i) std::raise(each.signal);
          std::exit(0);
        },
        ended, "game: see the log " + log.path() + "\n")
        << "signal " << each.signal;
    EXPECT_TRUE(log.contains("** Game engine started **")) << "signal " << each.signal;
    EXPECT_TRUE(log.contains(waiting));
  }
}
