// Results (accuracy, grade, the results line) and the kept best scores:
// their file, damaged files, and writing that never loses the old file.
#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "TestSupport.h"
#include "play/Results.h"
#include "player/BestScores.h"
#include "player/UserData.h"

namespace fs = std::filesystem;

namespace {

class BestScoresTest : public ::testing::Test {
 protected:
  void write(const std::string &text) const { m_folder.file(SCORES, text); }

  TempFolder m_folder;
  const std::string SCORES = "data/tessera-rhythm/scores.txt";
  const std::string m_path = m_folder.path() + "/" + SCORES;
  testing_support::StartedLog m_log;
};

}  // namespace

TEST(Results, AccuracyOverAllNotesAndGradeThresholds) {
  // perfects, goods, misses, notes: accuracy shown, grade
  const std::tuple<int, int, int, int, const char *, char> cases[] = {
      {20, 0, 0, 20, "100.0%", 'S'},
      {19, 0, 1, 20, "95.0%", 'S'},
      {18, 0, 2, 20, "90.0%", 'A'},
      {16, 1, 3, 20, "82.5%", 'B'},
      {14, 0, 6, 20, "70.0%", 'C'},
      {13, 1, 6, 20, "67.5%", 'D'},
      {0, 2, 0, 2, "50.0%", 'D'},
      {0, 0, 0, 0, "0.0%", 'D'},
      // 94.975 %: shown rounded down, so it never shows a threshold it misses.
      {1899, 1, 100, 2000, "94.9%", 'A'},
      {2, 0, 1, 3, "66.6%", 'D'},
      // Notes never judged (a song left early) count as misses.
      {10, 0, 0, 20, "50.0%", 'D'}};
  for (const auto &[perfects, goods, misses, notes, accuracy, grade] : cases) {
    const Results results(perfects, goods, misses, 0, 0, notes);
    EXPECT_EQ(results.accuracyText(), accuracy) << perfects << " " << goods << " " << notes;
    EXPECT_EQ(results.grade(), grade) << perfects << " " << goods << " " << notes;
  }
  EXPECT_EQ(Results(6, 2, 2, 6, 70, 10).summary(),
            "Perfect 6, Good 2, Miss 2, longest combo 6, score 70, accuracy 70.0%, grade C");
}

TEST(UserDataFolder, FromXdgDataHomeElseHome) {
  setenv("HOME", "/home/player", 1);
  setenv("XDG_DATA_HOME", "/data", 1);
  EXPECT_EQ(BestScores::defaultPath(), "/data/tessera-rhythm/scores.txt");
  setenv("XDG_DATA_HOME", "relative", 1);  // not absolute: ignored, as the standard says
  EXPECT_EQ(UserData::folder(), "/home/player/.local/share/tessera-rhythm");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(UserData::folder(), "/home/player/.local/share/tessera-rhythm");
  unsetenv("HOME");
  EXPECT_EQ(BestScores::defaultPath(), "");
}

TEST_F(BestScoresTest, KeepsTheHigherScorePerSongAndReadsBackWhatItWrote) {
  BestScores scores;
  scores.load(m_path);  // no file yet: no scores
  EXPECT_EQ(scores.best("star.chart"), std::nullopt);
  EXPECT_TRUE(scores.offer("star.chart", 300));
  EXPECT_FALSE(scores.offer("star.chart", 300));  // a tie is no new best
  EXPECT_FALSE(scores.offer("star.chart", 120));
  EXPECT_TRUE(scores.offer("star.chart", 480));
  EXPECT_TRUE(scores.offer("my song.chart", 55));
  EXPECT_FALSE(scores.offer("nothing.chart", 0));  // nothing scored, nothing kept
  EXPECT_FALSE(scores.offer("two\nlines.chart", 10));
  ASSERT_EQ(scores.save(m_path), 0);  // the folders are made
  EXPECT_EQ(contents(m_path).substr(contents(m_path).find("\n5")), "\n55 my song.chart\n480 star.chart\n");

  BestScores again;
  again.load(m_path);
  EXPECT_EQ(again.best("star.chart"), 480);
  EXPECT_EQ(again.best("my song.chart"), 55);
  for (const std::string &line : m_log.messages()) EXPECT_EQ(line.find("BestScores::"), std::string::npos) << line;
}

// Lines the game cannot read are skipped with a log line and written back
// unchanged; the scores around them are kept.
TEST_F(BestScoresTest, DamagedLinesAreSkippedAndKeptAsTheyWere) {
  const std::string damaged = std::string("480 star.chart\r\n") + "garbage\n" + "-5 minus.chart\n" +
                              "99999999999 huge.chart\n" + "12\n" + std::string("\0\x01\xff", 3) + "\n" +
                              "# a comment\n\n" + "70 star.chart\n" + "2460 la-campanella.chart";
  write(damaged);
  BestScores scores;
  scores.load(m_path);
  EXPECT_EQ(scores.best("star.chart"), 480);  // listed twice: the higher counts
  EXPECT_EQ(scores.best("la-campanella.chart"), 2460);
  for (int line : {2, 3, 4, 5, 6})
    EXPECT_TRUE(m_log.contains("BestScores::load(): Warning! Line " + std::to_string(line) + " of '" + m_path +
                               "' is not a score; skipped, and kept in the file."))
        << line;
  EXPECT_TRUE(scores.offer("new.chart", 10));
  ASSERT_EQ(scores.save(m_path), 0);
  const std::string saved = contents(m_path);
  EXPECT_NE(saved.find("2460 la-campanella.chart\n10 new.chart\n480 star.chart\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("garbage\n-5 minus.chart\n99999999999 huge.chart\n12\n" + std::string("\0\x01\xff", 3) + "\n"),
            std::string::npos);
}

// A file too large to be ours is neither read nor written over; a failed
// write leaves the old file whole.
TEST_F(BestScoresTest, NeverWritesOverWhatItCouldNotReadOrLosesTheOldFile) {
  const std::string huge(BestScores::MAX_FILE_BYTES + 1, '7');
  write(huge);
  BestScores scores;
  scores.load(m_path);
  EXPECT_TRUE(m_log.contains("BestScores::load(): Error! '" + m_path + "' cannot be read (65537 bytes, more than " +
                             "65536); it is left as it is and no best score is kept in this run."));
  EXPECT_TRUE(scores.offer("star.chart", 10));
  EXPECT_EQ(scores.save(m_path), -1);
  EXPECT_TRUE(m_log.contains("BestScores::save(): Error! '" + m_path + "' could not be read; it is not written over."));
  EXPECT_EQ(contents(m_path), huge);

  // No temporary file fits beside a file of so long a name.
  const std::string long_path = m_folder.file(std::string(250, 's'), "480 star.chart\n");
  scores.load(long_path);
  EXPECT_TRUE(scores.offer("star.chart", 500));
  EXPECT_EQ(scores.save(long_path), -1);
  EXPECT_TRUE(m_log.contains("BestScores::save(): Error! Cannot write '" + long_path + "' (cannot create a file in '" +
                             m_folder.path() + "': File name too long); the scores file is left as it was."));
  EXPECT_EQ(contents(long_path), "480 star.chart\n");
  EXPECT_EQ(scores.save(""), -1);

  // Nor writes a file its own reader would refuse, which would keep every
  // later score out.
  BestScores many;
  for (int i = 0; i < 700; ++i) many.offer(std::string(100, 'x') + std::to_string(i) + ".chart", i);
  write("480 star.chart\n");
  EXPECT_EQ(many.save(m_path), -1);
  EXPECT_TRUE(m_log.contains("BestScores::save(): Error! '" + m_path +
                             "' is not written: the scores would take more than 65536 bytes."));
  EXPECT_EQ(contents(m_path), "480 star.chart\n");
}
