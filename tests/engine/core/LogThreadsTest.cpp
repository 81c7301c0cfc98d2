// Log lines from several threads and from the media library's error stream
// come out whole. Also built alone with ThreadSanitizer (scripts/test.sh),
// which reports any access to the log's state that the lock does not guard.
#include <SFML/System/Err.hpp>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "core/MediaLog.h"

namespace {

const int THREADS = 3;
const int LINES = 2000;
const int LIBRARY_LINES = 150;  // under the routing's limit of 200

TEST(LogThreads, LinesFromSeveralThreadsAndTheMediaLibraryStayWhole) {
  testing_support::StartedLog log;
  ts::routeMediaLibraryMessagesToLog();
  std::vector<std::thread> writers;
  for (int t = 0; t < THREADS; ++t)
    writers.emplace_back([t] {
      for (int i = 0; i < LINES; ++i) ts::LogManager::getInstance().writeLog("thread %d line %d", t, i);
    });
  writers.emplace_back([] {
    for (int i = 0; i < LIBRARY_LINES; ++i) sf::err() << "library line " << i << std::endl;
  });
  for (std::thread &writer : writers) writer.join();
  ts::LogManager::getInstance().shutDown();

  std::set<std::string> expected;
  for (int t = 0; t < THREADS; ++t)
    for (int i = 0; i < LINES; ++i) expected.insert("thread " + std::to_string(t) + " line " + std::to_string(i));
  for (int i = 0; i < LIBRARY_LINES; ++i) expected.insert("SFML: library line " + std::to_string(i));
  std::set<std::string> seen;
  for (const std::string &line : log.rawLines()) {
    EXPECT_TRUE(testing_support::hasLogPrefix(line)) << line;
    const std::string text = line.size() > 14 ? line.substr(14) : line;
    EXPECT_TRUE(expected.count(text) && seen.insert(text).second) << "torn, repeated or unknown: " << line;
  }
  EXPECT_EQ(seen.size(), expected.size());
}

}  // namespace
