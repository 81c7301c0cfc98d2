// Shared helpers for the unit tests: a log file per test and its lines, and
// byte streams for checking records exactly.
#ifndef TESSERA_TEST_SUPPORT_H
#define TESSERA_TEST_SUPPORT_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include <tessera/core/LogManager.h>
#include <tessera/world/WorldManager.h>

namespace testing_support {

// Points TESSERA_LOG at a fresh temporary file, starts the log manager,
// and reads the lines back (without their time and step prefix).
class LogCapture {
 public:
  LogCapture() {
    char name[] = "/tmp/tessera-test-log-XXXXXX";
    int fd = mkstemp(name);
    if (fd >= 0) ::close(fd);
    m_path = name;
    setenv("TESSERA_LOG", m_path.c_str(), 1);
  }
  ~LogCapture() { std::remove(m_path.c_str()); }

  void start() { ts::LogManager::getInstance().startUp(); }

  // Lines written so far, each without the 14-character prefix.
  std::vector<std::string> messages() const {
    std::vector<std::string> lines = rawLines();
    for (std::string &line : lines)
      if (line.size() >= 14) line.erase(0, 14);
    return lines;
  }
  std::vector<std::string> rawLines() const {
    ts::LogManager::getInstance().flush();
    std::fflush(nullptr);
    std::vector<std::string> lines;
    std::ifstream in(m_path);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
  }
  bool contains(const std::string &message) const {
    for (const std::string &line : messages())
      if (line == message) return true;
    return false;
  }
  int count(const std::string &message) const {
    int n = 0;
    for (const std::string &line : messages()) n += (line == message);
    return n;
  }
  const std::string &path() const { return m_path; }

 private:
  std::string m_path;
};

// Byte-stream helpers for checking stream records exactly.
inline std::stringstream binaryStream() { return std::stringstream(std::ios::in | std::ios::out | std::ios::binary); }
template <typename T>
T rawAt(const std::string &bytes, size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}
template <typename T>
void put(std::ostream &stream, T value) {
  stream.write(reinterpret_cast<const char *>(&value), sizeof value);
}
inline void putString(std::ostream &stream, const std::string &text) {
  put<uint64_t>(stream, text.size());
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}
// A binary stream holding the given raw values; strings go with their length.
template <typename... Values>
std::stringstream streamOf(const Values &...values) {
  std::stringstream stream = binaryStream();
  auto write = [&stream](const auto &value) {
    if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>)
      putString(stream, value);
    else
      put(stream, value);
  };
  (write(values), ...);
  return stream;
}
// The bytes a value writes to a fresh stream (with an object's mask, if given).
template <typename T, typename... Mask>
std::string recordOf(T &value, Mask... mask) {
  std::stringstream stream = binaryStream();
  EXPECT_EQ(value.serialize(stream, mask...), 0);
  return stream.str();
}

// A LogCapture that has started the log manager.
class StartedLog : public LogCapture {
 public:
  StartedLog() { start(); }
};

// Engine world and log helpers.

// A started log and world with an 80 x 24 boundary, stopped afterwards.
class WorldFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    log.start();
    ASSERT_EQ(world.startUp(), 0);
    world.setBoundary(ts::Box(ts::Vector(0, 0), 80, 24));
  }
  void TearDown() override {
    if (world.isStarted()) world.shutDown();
  }

  LogCapture log;
  ts::WorldManager &world = ts::WorldManager::getInstance();
};

// Whether a log line is "hh:mm:ss", a blank, the step count 0 right-aligned
// in four columns and a blank, followed by text.
inline bool hasLogPrefix(const std::string &line) {
  const std::string shape = "dd:dd:dd    0 ";
  if (line.size() <= shape.size()) return false;
  for (size_t i = 0; i < shape.size(); ++i)
    if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(line[i])) : line[i] != shape[i]) return false;
  return true;
}

}  // namespace testing_support

#endif
