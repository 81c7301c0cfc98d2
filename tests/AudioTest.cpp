// Music and sounds through the real audio pipeline (the tests run with the
// null output driver), the music table, and the silent path taken when no
// audio device can be opened.
// tests/data/tone.ogg: sox -n -r 8000 -c 1 -C 0 tests/data/tone.ogg synth 2 sine 440 vol 0.3
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SFML/System/Err.hpp>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AudioDevice.h"
#include "Music.h"
#include "ResourceManager.h"
#include "Sound.h"
#include "TestSupport.h"

using testing_support::LogCapture;

namespace {

std::string dataFile(const char *name) {
  std::string here = __FILE__;
  return here.substr(0, here.rfind('/')) + "/data/" + name;
}

const std::string TONE = dataFile("tone.ogg");

ts::ResourceManager &rm() { return ts::ResourceManager::getInstance(); }

int countContaining(const LogCapture &log, const std::string &part) {
  int n = 0;
  for (const std::string &line : log.messages()) n += line.find(part) != std::string::npos;
  return n;
}

}  // namespace

TEST(Music, PlaysLoopingAndStops) {
  LogCapture log;
  log.start();
  ts::Music music;
  EXPECT_EQ(music.getLabel(), "[Undefined]");
  music.setLabel("theme");
  EXPECT_EQ(music.getLabel(), "theme");
  // Never loaded: nothing plays and nothing is reported.
  music.play(true);
  EXPECT_FALSE(music.isPlaying());
  music.stop();

  EXPECT_EQ(music.loadMusic(TONE + ".missing"), -1);
  ASSERT_EQ(music.loadMusic(TONE), 0);
  EXPECT_NEAR(music.getDuration(), 2.0f, 0.01f);
  music.play(true);
  EXPECT_TRUE(music.isPlaying());
  EXPECT_TRUE(music.isLooping());
  music.stop();
  EXPECT_FALSE(music.isPlaying());
  EXPECT_EQ(music.getPlayingOffset(), 0.0f);
}

TEST(MusicTable, LoadsUpToFiftyAndReusesAFailedSlot) {
  LogCapture log;
  log.start();
  ASSERT_EQ(rm().startUp(), 0);
  EXPECT_EQ(rm().loadMusic(TONE, ""), -1);
  EXPECT_TRUE(log.contains("RM::loadMusic(): Error! Must provide label for music."));
  EXPECT_EQ(countContaining(log, "SFML:"), 0);  // the file was never touched

  EXPECT_EQ(rm().loadMusic("no-such.ogg", "start"), -1);
  EXPECT_TRUE(log.contains("RM::loadmusic(): Error! Cannot load music from file 'no-such.ogg'."));
  EXPECT_EQ(rm().getMusicCount(), 0);
  ASSERT_EQ(rm().loadMusic(TONE, "start"), 0);
  EXPECT_EQ(rm().getMusicCount(), 1);
  for (int i = 1; i < ts::MAX_MUSICS; ++i) ASSERT_EQ(rm().loadMusic(TONE, "track" + std::to_string(i)), 0);
  EXPECT_EQ(rm().loadMusic(TONE, "one-too-many"), -1);
  EXPECT_TRUE(log.contains("RM::loadMusic(): Error! Unable to add more musics (max is 50)."));

  ts::Music *music = rm().getMusic("start");
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(music->getLabel(), "start");
  EXPECT_EQ(rm().getMusic("track49")->getLabel(), "track49");
  EXPECT_EQ(rm().getMusic("Start"), nullptr);
  EXPECT_TRUE(log.contains("RM::getMusic(): Warning! Music 'Start' not found."));

  music->play(true);
  EXPECT_TRUE(music->isPlaying());
  rm().shutDown();  // stops every music
  EXPECT_FALSE(music->isPlaying());
}

TEST(SoundTable, LoadsFindsAndStopsSounds) {
  LogCapture log;
  log.start();
  ts::Sound fresh;
  fresh.stop();  // nothing to stop, nothing written
  EXPECT_TRUE(log.messages().empty());
  ASSERT_EQ(rm().startUp(), 0);
  EXPECT_EQ(rm().loadSound(TONE, ""), -1);
  EXPECT_EQ(rm().loadSound("no-such.ogg", "beep"), -1);
  EXPECT_TRUE(log.contains("RM::loadSound(): Error! Cannot load sound from file 'no-such.ogg'."));
  ASSERT_EQ(rm().loadSound(TONE, "beep"), 0);
  ts::Sound *sound = rm().getSound("beep");
  ASSERT_NE(sound, nullptr);
  sound->play(true);
  EXPECT_TRUE(sound->isPlaying());
  rm().shutDown();
  EXPECT_FALSE(sound->isPlaying());
}

TEST(AudioLog, LibraryMessagesGoToTheLogNotToStderr) {
  LogCapture log;
  log.start();
  rm();  // building the manager routes the library's error stream
  sf::err() << "first line\nsecond ";
  sf::err() << "line" << std::endl;
  EXPECT_TRUE(log.contains("SFML: first line"));
  EXPECT_TRUE(log.contains("SFML: second line"));
  // A flood is cut off after a bounded number of lines.
  for (int i = 0; i < 1000; ++i) sf::err() << "again\n";
  EXPECT_LE(countContaining(log, "SFML: again"), 200);
  EXPECT_EQ(log.count("SFML: Warning! Too many messages; the rest are not logged."), 1);
}

// Runs in a child process whose audio backend is given a driver list that
// opens no device here; the parent test below starts it.
TEST(AudioNoDevice, DISABLED_PlaysSilentlyInChild) {
  LogCapture log;
  log.start();
  ASSERT_EQ(rm().startUp(), 0);
  if (ts::AudioDevice::isAvailable()) GTEST_SKIP() << "this machine has a sound card";
  ASSERT_EQ(rm().loadMusic(TONE, "theme"), 0);
  EXPECT_EQ(rm().loadMusic(TONE + ".missing", "missing"), -1);
  ts::Music *music = rm().getMusic("theme");
  ASSERT_NE(music, nullptr);
  music->play(true);
  // Game logic still sees the track playing and looping.
  EXPECT_TRUE(music->isPlaying());
  EXPECT_TRUE(music->isLooping());
  EXPECT_NEAR(music->getDuration(), 2.0f, 0.01f);
  ASSERT_EQ(rm().loadSound(TONE, "beep"), 0);
  rm().getSound("beep")->play(false);
  music->stop();
  EXPECT_FALSE(music->isPlaying());
  rm().shutDown();
  EXPECT_EQ(log.count("RM::startUp(): Warning! No audio device can be opened; music and sound play silently."), 1);
  EXPECT_EQ(countContaining(log, "device"), 1);
  EXPECT_EQ(countContaining(log, "ALSA"), 0);
}

namespace {

struct ChildResult {
  int exit_status = -1;
  std::string stderr_text;
};

// Runs the child test above in a fresh process (the backend reads its
// driver list once per process) and collects what it writes to stderr.
ChildResult runSilentChild(const std::string &drivers) {
  ChildResult result;
  char stderr_path[] = "/tmp/tessera-audio-stderr-XXXXXX";
  int stderr_fd = mkstemp(stderr_path);
  int null_fd = open("/dev/null", O_WRONLY);
  if (stderr_fd < 0 || null_fd < 0) return result;
  // Everything the child needs is prepared before fork: it only execs.
  std::vector<std::string> env_strings = {"ALSOFT_DRIVERS=" + drivers};
  for (char **entry = environ; *entry; ++entry) {
    std::string text = *entry;
    if (text.rfind("ALSOFT_", 0) != 0) env_strings.push_back(text);
  }
  std::vector<char *> envp;
  for (std::string &text : env_strings) envp.push_back(&text[0]);
  envp.push_back(nullptr);
  std::string self = "/proc/self/exe";
  std::string filter = "--gtest_filter=AudioNoDevice.DISABLED_PlaysSilentlyInChild";
  std::string disabled = "--gtest_also_run_disabled_tests";
  char *argv[] = {&self[0], &filter[0], &disabled[0], nullptr};

  pid_t child = fork();
  if (child == 0) {
    dup2(null_fd, STDOUT_FILENO);
    dup2(stderr_fd, STDERR_FILENO);
    execve(argv[0], argv, envp.data());
    _exit(127);
  }
  close(null_fd);
  close(stderr_fd);
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  std::ifstream in(stderr_path);
  result.stderr_text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  std::remove(stderr_path);
  return result;
}

}  // namespace

TEST(AudioNoDevice, WritesOneLineAndStaysQuiet) {
  // A driver that does not exist, and the sound card driver on a machine
  // without a sound card, whose library complains loudly while probing.
  for (const char *drivers : {"no-such-driver", "alsa"}) {
    ChildResult child = runSilentChild(drivers);
    EXPECT_EQ(child.exit_status, 0) << drivers << ": the silent-path checks failed in the child";
    EXPECT_EQ(child.stderr_text, "") << drivers;
  }
}
