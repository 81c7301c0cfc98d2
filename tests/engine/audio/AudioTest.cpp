// Music and sounds through the real audio pipeline (null output driver), and
// the silent path taken when no audio device can be opened.
// tests/support/data/tone.ogg: sox -n -r 8000 -c 1 -C 0 tests/support/data/tone.ogg synth 2 sine 440 vol 0.3
#include <sys/stat.h>
#include <SFML/System/Err.hpp>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <thread>

#include <tessera/audio/AudioDevice.h>
#include <tessera/resources/ResourceManager.h>
#include <tessera/system/ReadOnlyFile.h>
#include "OggFiles.h"
#include "TestSupport.h"
#include "audio/FileStream.h"
#include "audio/OggScan.h"

namespace {

const std::string TONE = TESSERA_SOURCE_DIR "/tests/support/data/tone.ogg";

ts::ResourceManager &rm() { return ts::ResourceManager::getInstance(); }

int countContaining(const testing_support::LogCapture &log, const std::string &part) {
  int n = 0;
  for (const std::string &line : log.messages()) n += line.find(part) != std::string::npos;
  return n;
}

// Pausing holds the track where it is and resuming plays on from there;
// play() starts from the beginning again, also after a pause.
void checkPauseAndResume(ts::Music &music) {
  music.play(false);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  music.pause();
  EXPECT_TRUE(music.isPaused());
  EXPECT_FALSE(music.isPlaying());
  const float held = music.getPlayingOffset();
  EXPECT_GT(held, 0.1f);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(music.getPlayingOffset(), held);
  music.resume();
  EXPECT_TRUE(music.isPlaying() && !music.isPaused());
  EXPECT_GE(music.getPlayingOffset(), held);
  EXPECT_LT(music.getPlayingOffset(), held + 0.25f);
  music.resume();  // playing already: nothing changes
  EXPECT_TRUE(music.isPlaying());
  music.pause();
  music.play(false);
  EXPECT_LT(music.getPlayingOffset(), held);
  music.stop();
  EXPECT_FALSE(music.isPaused() || music.isPlaying());
}

}  // namespace

// A failed load leaves its slot free, so fifty musics still fit.
TEST(AudioTables, LoadPlayPauseAndStopMusicAndSounds) {
  testing_support::StartedLog log;
  ts::Music unloaded;
  unloaded.play(true);  // never loaded: nothing plays
  EXPECT_FALSE(unloaded.isPlaying());
  ASSERT_EQ(rm().startUp(), 0);
  EXPECT_EQ(rm().loadMusic(TONE, ""), -1);
  EXPECT_TRUE(log.contains("RM::loadMusic(): Error! Must provide label for music."));
  EXPECT_EQ(countContaining(log, "SFML:"), 0);  // the file was never touched
  EXPECT_EQ(rm().loadMusic("no-such.ogg", "start"), -1);
  EXPECT_TRUE(log.contains("RM::loadmusic(): Error! Cannot load music from file 'no-such.ogg'."));
  ASSERT_EQ(rm().loadMusic(TONE, "start"), 0);
  for (int i = 1; i < ts::MAX_MUSICS; ++i) ASSERT_EQ(rm().loadMusic(TONE, "track" + std::to_string(i)), 0);
  EXPECT_EQ(rm().loadMusic(TONE, "one-too-many"), -1);
  EXPECT_TRUE(log.contains("RM::loadMusic(): Error! Unable to add more musics (max is 50)."));
  EXPECT_EQ(rm().getMusic("Start"), nullptr);
  EXPECT_TRUE(log.contains("RM::getMusic(): Warning! Music 'Start' not found."));
  ts::Music *music = rm().getMusic("start");
  ASSERT_NE(music, nullptr);
  EXPECT_NEAR(music->getDuration(), 2.0f, 0.01f);
  music->pause();  // not playing: nothing to hold
  EXPECT_FALSE(music->isPaused());
  checkPauseAndResume(*music);
  music->play(true);
  EXPECT_TRUE(music->isPlaying() && music->isLooping());
  music->stop();
  EXPECT_FALSE(music->isPlaying());
  EXPECT_EQ(music->getPlayingOffset(), 0.0f);

  EXPECT_EQ(rm().loadSound(TONE, ""), -1);
  EXPECT_EQ(rm().loadSound("no-such.ogg", "beep"), -1);
  EXPECT_TRUE(log.contains("RM::loadSound(): Error! Cannot load sound from file 'no-such.ogg'."));
  ASSERT_EQ(rm().loadSound(TONE, "beep"), 0);
  ts::Sound *sound = rm().getSound("beep");
  ASSERT_NE(sound, nullptr);
  sound->play(true);
  music->play(true);
  EXPECT_TRUE(sound->isPlaying());
  rm().shutDown();  // stops every sound and music
  EXPECT_FALSE(sound->isPlaying() || music->isPlaying());
}

TEST(AudioLog, LibraryMessagesGoToTheLogNotToStderr) {
  testing_support::StartedLog log;
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
  testing_support::StartedLog log;
  ASSERT_EQ(rm().startUp(), 0);
  if (ts::AudioDevice::isAvailable()) GTEST_SKIP() << "this machine has a sound card";
  ASSERT_EQ(rm().loadMusic(TONE, "theme"), 0);
  EXPECT_EQ(rm().loadMusic(TONE + ".missing", "missing"), -1);
  ts::Music *music = rm().getMusic("theme");
  music->play(true);
  // Game logic still sees the track playing and looping.
  EXPECT_TRUE(music->isPlaying() && music->isLooping());
  EXPECT_NEAR(music->getDuration(), 2.0f, 0.01f);
  ASSERT_EQ(rm().loadSound(TONE, "beep"), 0);
  rm().getSound("beep")->play(false);
  music->stop();
  EXPECT_FALSE(music->isPlaying());
  // A preview starts inside the track.
  music->playFrom(1.5f, false);
  EXPECT_NEAR(music->getPlayingOffset(), 1.5f, 0.1f);
  EXPECT_TRUE(music->isPlaying());
  music->stop();
  checkPauseAndResume(*music);
  rm().shutDown();
  EXPECT_EQ(log.count("RM::startUp(): Warning! No audio device can be opened; music and sound play silently."), 1);
  EXPECT_EQ(countContaining(log, "device"), 1);
  EXPECT_EQ(countContaining(log, "ALSA"), 0);
}

// The child runs in a fresh process (the backend reads its driver list once
// per process); everything it writes to stderr comes back through the pipe.
TEST(AudioNoDevice, WritesOneLineAndStaysQuiet) {
  char self[PATH_MAX] = {};
  ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
  // A driver that does not exist, and the sound card driver on a machine
  // without a sound card, whose library complains loudly while probing.
  for (const std::string drivers : {"no-such-driver", "alsa"}) {
    FILE *child = popen(("env ALSOFT_DRIVERS=" + drivers + " '" + self +
                         "' --gtest_filter=AudioNoDevice.DISABLED_PlaysSilentlyInChild"
                         " --gtest_also_run_disabled_tests 2>&1 >/dev/null")
                            .c_str(),
                        "r");
    ASSERT_NE(child, nullptr);
    std::string stderr_text;
    char buffer[256];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, child)) > 0;) stderr_text.append(buffer, n);
    EXPECT_EQ(pclose(child), 0) << drivers << ": the silent-path checks failed in the child";
    EXPECT_EQ(stderr_text, "") << drivers;
  }
}

// Music is checked from its Ogg headers before anything is decoded, and the
// decoder sees it only up to its last page.
TEST(MusicFiles, ChannelsRateSizeAndTypeAreCheckedAndPaddingIsNeverRead) {
  testing_support::StartedLog log;
  char name[] = "/tmp/tessera-music-XXXXXX";
  ASSERT_NE(mkdtemp(name), nullptr);
  const std::string dir = name;
  EXPECT_EQ(ts::Music::checkFile(TONE), "");
  const std::pair<int, uint32_t> refused[] = {{9, 8000}, {200, 8000}, {0, 8000}, {1, 4000}, {2, 400000}};
  const char *reasons[] = {"9 channels (music must have 1 or 2)", "200 channels (music must have 1 or 2)",
                           "0 channels (music must have 1 or 2)",
                           "a sample rate of 4000 Hz (music must have 8000 to 192000)",
                           "a sample rate of 400000 Hz (music must have 8000 to 192000)"};
  for (size_t i = 0; i < std::size(refused); ++i) {
    const std::string path = dir + "/changed" + std::to_string(i) + ".ogg";
    testing_support::writeToneWith(path, refused[i].first, refused[i].second);
    EXPECT_EQ(ts::Music::checkFile(path), reasons[i]);
    ts::Music music;
    EXPECT_EQ(music.loadMusic(path), -1);
  }
  testing_support::writeToneWith(dir + "/stereo.ogg", 2, 44100);  // accepted by the check
  EXPECT_EQ(ts::Music::checkFile(dir + "/stereo.ogg"), "");

  // The tone padded to just under the limit loads with its own length.
  const long long padding = ts::Music::MAX_FILE_BYTES - static_cast<long long>(testing_support::toneBytes().size());
  testing_support::writePaddedTone(dir + "/padded.ogg", padding);
  ts::ReadOnlyFile file;
  ASSERT_EQ(file.open(dir + "/padded.ogg", ts::Music::MAX_FILE_BYTES), ts::ReadOnlyFile::OPENED);
  const ts::OggScan scan = ts::OggScan::of(file);
  EXPECT_TRUE(scan.isOgg());
  EXPECT_EQ(scan.getEnd(), static_cast<int64_t>(testing_support::toneBytes().size()));
  EXPECT_EQ(scan.getChannels(), 1);
  EXPECT_EQ(scan.getSampleRate(), 8000);
  EXPECT_NEAR(scan.getSeconds(), 2.0, 0.01);
  ts::FileStream stream;
  std::string problem;
  ASSERT_TRUE(stream.open(dir + "/padded.ogg", ts::Music::MAX_FILE_BYTES, problem)) << problem;
  EXPECT_EQ(stream.getSize(), static_cast<int64_t>(testing_support::toneBytes().size()));
  ts::Music padded;
  ASSERT_EQ(padded.loadMusic(dir + "/padded.ogg"), 0);
  EXPECT_NEAR(padded.getDuration(), 2.0, 0.01);

  testing_support::writePaddedTone(dir + "/too-large.ogg", padding + 1);
  EXPECT_EQ(ts::Music::checkFile(dir + "/too-large.ogg"), "67108865 bytes, more than 67108864");
  ASSERT_EQ(mkfifo((dir + "/fifo.ogg").c_str(), 0600), 0);
  EXPECT_EQ(ts::Music::checkFile(dir + "/fifo.ogg"), "not a regular file");
  EXPECT_EQ(ts::Music::checkFile(dir + "/missing.ogg"), "not found");
  std::filesystem::remove_all(dir);
}
