// The log manager: line format, stderr fallback, level filter, file choice.
#include <tessera/core/Config.h>
#include "TestSupport.h"

using namespace testing_support;

namespace {
ts::LogManager &logManager() { return ts::LogManager::getInstance(); }
// The text of a line with a well-formed prefix.
std::string textOf(std::string line) {
  if (!line.empty() && line.back() == '\n') line.pop_back();
  return hasLogPrefix(line) ? line.substr(14) : "malformed: " + line;
}
}  // namespace

TEST(Log, LineFormatTruncationAndSecondStart) {
  LogCapture log;
  std::ofstream(log.path()) << "old line\n";
  log.start();
  EXPECT_EQ(logManager().writeLog("value %d and %s", 42, "text"), 17);
  EXPECT_EQ(logManager().startUp(), -1);
  std::vector<std::string> lines = log.rawLines();  // the level-5 start line is filtered at level 0
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(textOf(lines[0]), "value 42 and text");
  EXPECT_EQ(textOf(lines[1]), "LogManager::startup(): Warning! LogManager already started.");
}

TEST(Log, StandardErrorBeforeStartAfterStopAndOnFailedStart) {
  testing::internal::CaptureStderr();
  logManager().writeLog("before start");
  EXPECT_EQ(textOf(testing::internal::GetCapturedStderr()), "before start");
  StartedLog log;
  logManager().writeLog("in the file");
  logManager().shutDown();
  testing::internal::CaptureStderr();
  logManager().writeLog("after stop");
  EXPECT_EQ(textOf(testing::internal::GetCapturedStderr()), "after stop");
  EXPECT_EQ(log.messages(), std::vector<std::string>{"in the file"});
  setenv("TESSERA_LOG", "", 1);  // an empty override makes start fail
  testing::internal::CaptureStderr();
  EXPECT_EQ(logManager().startUp(), -1);
  EXPECT_EQ(textOf(testing::internal::GetCapturedStderr()), "LogManager::startup(): Warning! Unable to open file ''.");
}

TEST(Log, LevelFilterComesBeforeFormatting) {
  LogCapture log;
  logManager().setLogLevel(5);
  EXPECT_EQ(logManager().startUp(), 0);
  EXPECT_EQ(logManager().writeLog(6, "detail %s", "hidden"), 0);
  EXPECT_EQ(logManager().writeLog(5, "level five"), 10);
  EXPECT_EQ(logManager().writeLog("always"), 6);
  logManager().shutDown();
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"LogManager::startUp(): successfully started.", "level five",
                                                      "always", "LogManager::shutDown(): successfully stopped."}));
}

TEST(Log, OverrideBeatsConfiguredName) {
  LogCapture configured, log;  // TESSERA_LOG names the second
  ts::Config::getInstance().loadConfig("logfile:" + configured.path() + ",");
  log.start();
  logManager().writeLog("where am I");
  logManager().shutDown();
  unsetenv("TESSERA_LOG");
  ASSERT_EQ(logManager().startUp(), 0);
  logManager().writeLog("configured");
  EXPECT_EQ(log.messages(), std::vector<std::string>{"where am I"});
  EXPECT_EQ(configured.messages(), std::vector<std::string>{"configured"});
}
