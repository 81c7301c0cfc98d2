// The player's settings and scores files put to the test: FIFOs, huge and
// binary files in their place, and two games saving best scores at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "TestSupport.h"
#include "play/Results.h"
#include "player/BestScores.h"
#include "player/GameSettings.h"

namespace fs = std::filesystem;

namespace {

class PlayerFilesTest : public ::testing::Test {
 protected:
  std::string path(const std::string &name) const { return m_folder.path() + "/" + name; }

  testing_support::StartedLog m_log;
  TempFolder m_folder;
};

}  // namespace

// Each refusal keeps the defaults with one log line naming the reason; a
// FIFO is never waited on and a huge file never read.
TEST_F(PlayerFilesTest, SettingsThatAreNoSmallTextFileKeepTheDefaults) {
  const std::string settings = path("settings.txt");
  auto load = [&] {
    GameSettings loaded;
    loaded.load(settings);
    return loaded.getOffsetMs();
  };
  ASSERT_EQ(mkfifo(settings.c_str(), 0600), 0);
  EXPECT_EQ(load(), 0);
  fs::remove(settings);
  m_folder.file("settings.txt", "audio_offset_ms:40,\n");
  ASSERT_EQ(truncate(settings.c_str(), 300000000), 0);  // sparse: 300 MB made at once
  EXPECT_EQ(load(), 0);
  fs::remove(settings);
  fs::create_directory(settings);
  EXPECT_EQ(load(), 0);
  fs::remove(settings);
  m_folder.file("settings.txt", std::string("audio_offset_ms:40,\n\0\x01\x02", 23));
  EXPECT_EQ(load(), 0);
  const std::string start = "GameSettings::load(): Warning! Cannot read '" + settings + "' (";
  const std::string end = "); keeping the defaults.";
  EXPECT_EQ(m_log.messages(), (std::vector<std::string>{
                                  start + "not a regular file" + end, start + "300000000 bytes, more than 65536" + end,
                                  start + "not a regular file" + end, start + "not a text file" + end}));
  m_folder.file("settings.txt", std::string(GameSettings::MAX_FILE_BYTES - 21, '#') + "\naudio_offset_ms:40,\n");
  EXPECT_EQ(load(), 40);  // at the limit, still read
}

TEST_F(PlayerFilesTest, ScoresFileThatIsNoRegularFileIsNeitherWaitedOnNorWrittenOver) {
  const std::string scores = path("scores.txt");
  ASSERT_EQ(mkfifo(scores.c_str(), 0600), 0);
  const BestScores::Kept kept = BestScores::keep(scores, "star.chart", 480);
  EXPECT_FALSE(kept.new_best);
  EXPECT_EQ(kept.problem, "the scores file could not be read");
  EXPECT_TRUE(m_log.contains("BestScores::load(): Error! '" + scores +
                             "' cannot be read (not a regular file); it is left as it is and no best score is kept "
                             "in this run."));
  struct stat status {};
  ASSERT_EQ(stat(scores.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

// Two games keep scores at the same moment, many times over: every score
// each of them kept is in the file, and the file is never damaged.
TEST_F(PlayerFilesTest, TwoGamesSavingAtOnceBothKeepTheirScores) {
  const std::string scores = path("data/scores.txt");
  const int ROUNDS = 150;
  pid_t players[2];
  for (int player = 0; player < 2; ++player) {
    players[player] = fork();
    if (players[player] == 0) {
      int failures = 0;
      for (int round = 1; round <= ROUNDS; ++round) {
        const BestScores::Kept kept =
            BestScores::keep(scores, "p" + std::to_string(player) + "-" + std::to_string(round) + ".chart", round);
        failures += !kept.new_best;
      }
      _exit(failures == 0 ? 0 : 1);
    }
  }
  for (pid_t player : players) {
    int status = -1;
    ASSERT_EQ(waitpid(player, &status, 0), player);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
  }
  BestScores kept;
  kept.load(scores);
  for (int player = 0; player < 2; ++player)
    for (int round = 1; round <= ROUNDS; ++round)
      EXPECT_EQ(kept.best("p" + std::to_string(player) + "-" + std::to_string(round) + ".chart"), round)
          << "player " << player << ", round " << round;
  for (const std::string &line : m_log.messages()) EXPECT_EQ(line.find("is not a score"), std::string::npos) << line;
  int files = 0;
  for (const auto &entry : fs::directory_iterator(path("data"))) files += !entry.path().filename().empty();
  EXPECT_EQ(files, 2);  // the scores and their lock file: no temporary file is left behind
}
