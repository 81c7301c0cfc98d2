// The log manager: line format, stderr fallback, level filter, file choice.
#include <regex>

#include "Config.h"
#include "LogManager.h"
#include "TestSupport.h"

using testing_support::LogCapture;

namespace {
const std::regex PREFIX("^[0-9]{2}:[0-9]{2}:[0-9]{2}    0 (.*)$");
}

TEST(Log, LinesCarryTimeAndRightAlignedStepCount) {
  LogCapture log;
  log.start();
  ts::LogManager &manager = ts::LogManager::getInstance();
  EXPECT_EQ(manager.writeLog("value %d and %s", 42, "text"), 17);
  std::vector<std::string> lines = log.rawLines();
  ASSERT_EQ(lines.size(), 1u);  // the level-5 start line is filtered at level 0
  std::smatch found;
  ASSERT_TRUE(std::regex_match(lines[0], found, PREFIX)) << lines[0];
  EXPECT_EQ(found[1], "value 42 and text");
}

TEST(Log, StandardErrorBeforeStartAndAfterStop) {
  ts::LogManager &manager = ts::LogManager::getInstance();
  testing::internal::CaptureStderr();
  manager.writeLog("before start");
  std::string before = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(std::regex_match(before.substr(0, before.size() - 1), PREFIX)) << before;
  EXPECT_EQ(before.substr(14), "before start\n");

  LogCapture log;
  log.start();
  manager.writeLog("in the file");
  manager.shutDown();
  EXPECT_FALSE(manager.isStarted());
  testing::internal::CaptureStderr();
  manager.writeLog("after stop");
  EXPECT_EQ(testing::internal::GetCapturedStderr().substr(14), "after stop\n");
  EXPECT_EQ(log.messages(), std::vector<std::string>{"in the file"});
}

TEST(Log, LevelFilterComesFirst) {
  LogCapture log;
  log.start();
  ts::LogManager &manager = ts::LogManager::getInstance();
  EXPECT_EQ(manager.writeLog(1, "detail %s", "hidden"), 0);
  EXPECT_EQ(manager.writeLog(0, "level zero"), 10);
  EXPECT_EQ(manager.writeLog("always"), 6);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"level zero", "always"}));
}

TEST(Log, StartAndStopLinesAtLevelFive) {
  LogCapture log;
  ts::LogManager &manager = ts::LogManager::getInstance();
  manager.setLogLevel(5);
  EXPECT_EQ(manager.startUp(), 0);
  manager.writeLog(6, "too fine");
  manager.shutDown();
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"LogManager::startUp(): successfully started.",
                                                      "LogManager::shutDown(): successfully stopped."}));
}

TEST(Log, SecondStartWarnsIntoTheOpenFile) {
  LogCapture log;
  log.start();
  ts::LogManager &manager = ts::LogManager::getInstance();
  EXPECT_EQ(manager.startUp(), -1);
  manager.writeLog("still open");
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"LogManager::startup(): Warning! LogManager already started.",
                                                      "still open"}));
}

TEST(Log, EmptyOverrideMakesStartFail) {
  setenv("TESSERA_LOG", "", 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(ts::LogManager::getInstance().startUp(), -1);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.substr(14), "LogManager::startup(): Warning! Unable to open file ''.\n");
  EXPECT_FALSE(ts::LogManager::getInstance().isStarted());
}

TEST(Log, OverrideBeatsConfiguredName) {
  char configured[] = "/tmp/tessera-configured-log-XXXXXX";
  close(mkstemp(configured));
  ts::Config::getInstance().loadConfig(std::string("logfile:") + configured + ",");
  EXPECT_EQ(ts::Config::getInstance().getLogfile(), configured);
  {
    LogCapture log;  // sets TESSERA_LOG
    log.start();
    ts::LogManager::getInstance().writeLog("where am I");
    EXPECT_TRUE(log.contains("where am I"));
    ts::LogManager::getInstance().shutDown();
  }
  unsetenv("TESSERA_LOG");
  ASSERT_EQ(ts::LogManager::getInstance().startUp(), 0);
  ts::LogManager::getInstance().writeLog("configured");
  ts::LogManager::getInstance().shutDown();
  std::ifstream in(configured);
  std::string line;
  ASSERT_TRUE(std::getline(in, line));
  EXPECT_EQ(line.substr(14), "configured");
  std::remove(configured);
}

// Start truncates an existing file: nothing from an earlier run survives.
TEST(Log, StartTruncates) {
  LogCapture log;
  {
    std::ofstream old(log.path());
    old << "old line\n";
  }
  log.start();
  ts::LogManager::getInstance().writeLog("new");
  EXPECT_EQ(log.messages(), std::vector<std::string>{"new"});
}
