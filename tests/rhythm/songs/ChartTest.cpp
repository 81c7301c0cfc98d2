// Chart files: what the reader takes and refuses (with the line and the
// reason), its limits, the game's own chart files against their formulas,
// and the song list the start screen gets from the folders.
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <tessera/game/GameManager.h>
#include <tessera/resources/ResourceManager.h>

#include "OggFiles.h"
#include "TempFolder.h"
#include "TestSupport.h"
#include "play/Beat.h"
#include "player/BestScores.h"
#include "screens/SongMenu.h"
#include "songs/Chart.h"
#include "songs/SongLibrary.h"

namespace fs = std::filesystem;

namespace {

const std::string TONE = std::string(TESSERA_SOURCE_DIR) + "/tests/support/data/tone.ogg";

}  // namespace

TEST(ChartReader, ReadsFieldsNotesAndLanesInAnyLayout) {
  const Chart chart = Chart::parse(
      "\xEF\xBB\xBF# written by hand\r\n"
      "\r\n"
      "notes: 3 7:left\t  9:right\r\n"
      "  title :  My Song  \r\n"
      "music: songs/my song.ogg\r\n"
      "notes:\n"
      "notes: 12 13:up 14:down");  // no newline at the end
  ASSERT_TRUE(chart.isValid()) << chart.getError();
  EXPECT_EQ(chart.getTitle(), "My Song");
  EXPECT_EQ(chart.getMusic(), "songs/my song.ogg");
  EXPECT_EQ(chart.getSteps(), (std::vector<int32_t>{3, 7, 9, 12, 13, 14}));
  EXPECT_EQ(chart.getLanes(), (std::vector<int>{-1, 0, 3, -1, 1, 2}));
  EXPECT_EQ(Chart::parse("music: a.ogg\nnotes: 1").getTitle(), "");  // the file name stands in
}

TEST(ChartReader, RefusesBrokenChartsWithTheLineAndTheReason) {
  const std::string head = "title: A\nmusic: a.ogg\n";
  const std::pair<std::string, std::string> cases[] = {
      {head + "tempo: 120\nnotes: 1", "line 3: unknown field 'tempo'"},
      {head + "notes: 1 2x", "line 3: bad step '2x' (a whole number from 1 to 1000000)"},
      {head + "notes: 0", "line 3: bad step '0' (a whole number from 1 to 1000000)"},
      {head + "notes: -5", "line 3: bad step '-5' (a whole number from 1 to 1000000)"},
      {head + "notes: 1000001", "line 3: bad step '1000001' (a whole number from 1 to 1000000)"},
      {head + "notes: 99999999999999999999",
       "line 3: bad step '99999999999999999999' (a whole number from 1 to 1000000)"},
      {head + "notes: 5 5",
       "line 3: step 5 twice without a lane for each (a chord names its notes' lanes, as in 70:left 70:right)"},
      {head + "notes: 5\nnotes: 4:up", "line 4: step 4 after step 5 (steps must rise)"},
      {head + "notes: 1:middle", "line 3: unknown lane in '1:middle' (left, up, down or right)"},
      {head, "no notes"},
      {"title: A\nnotes: 1\n", "no music file named"},
      {head + "title: B", "line 3: 'title' given twice"},
      {head + "music: b.ogg", "line 3: 'music' given twice"},
      {head + "track: t\ntrack: t", "line 4: 'track' given twice"},
      {head + "seconds: 5\nseconds: 5", "line 4: 'seconds' given twice"},
      {head + "seconds: 36001", "line 3: bad seconds '36001' (a whole number from 1 to 36000)"},
      {head + "seconds: 0", "line 3: bad seconds '0' (a whole number from 1 to 36000)"},
      {"just words\n" + head, "line 1: expected 'field: value', found 'just words'"},
      {"title:\n", "line 1: empty title"},
      {"title: " + std::string(41, 'x'), "line 1: title longer than 40 characters"},
      {"title: a\tb\x01", "line 1: title holds a character that cannot be shown"},
      {std::string("\0\xff\xfe: x", 6),
       "line 1: unknown field '?"
       "?"
       "?'"},
      {std::string(100, 'k') + ": v", "line 1: unknown field '" + std::string(24, 'k') + "...'"},
  };
  for (const auto &[text, reason] : cases) {
    const Chart chart = Chart::parse(text);
    EXPECT_EQ(chart.getError(), reason) << text;
    // A refused chart holds nothing that could be played by mistake.
    EXPECT_TRUE(chart.getSteps().empty() && chart.getLanes().empty() && chart.getTitle().empty() &&
                chart.getMusic().empty())
        << text;
  }
}

// Chords, holds, difficulties, previews and titles in any script; what
// cannot be played is refused with its line, what is hard to read is warned
// about and still plays.
TEST(ChartReader, ReadsChordsHoldsAndTheNewFieldsAndRefusesWhatCannotBePlayed) {
  std::string title = "title: ";
  for (int i = 0; i < 40; ++i) title += "\xC3\xA9";  // é: two bytes, one character
  const Chart chart = Chart::parse(title +
                                   "\ndifficulty: Hard\npreview: 12.25\nmusic: a.ogg\n"
                                   "notes: 70:left 70:right 110:up+20 131:up 140:down+3 144:down 145:down\n");
  ASSERT_TRUE(chart.isValid()) << chart.getError();
  EXPECT_EQ(chart.getDifficulty(), "Hard");
  EXPECT_DOUBLE_EQ(chart.getPreviewSeconds(), 12.25);
  EXPECT_EQ(chart.getSteps(), (std::vector<int32_t>{70, 70, 110, 131, 140, 144, 145}));
  EXPECT_EQ(chart.getLanes(), (std::vector<int>{0, 3, 1, 1, 2, 2, 2}));
  EXPECT_EQ(chart.getHoldSteps(), (std::vector<int32_t>{0, 0, 20, 0, 3, 0, 0}));
  // 131 is one step after the hold's end (130), 144 one after 143, 145 one after 144.
  EXPECT_EQ(
      chart.getWarnings(),
      (std::vector<std::string>{
          "line 5: step 131 in lane up is 1 steps after the note before it there (arrows overlap closer than 3)",
          "line 5: step 144 in lane down is 1 steps after the note before it there (arrows overlap closer than 3)",
          "line 5: step 145 in lane down is 1 steps after the note before it there (arrows overlap closer than 3)"}));
  EXPECT_DOUBLE_EQ(Chart::parse("music: a.ogg\nnotes: 1").getPreviewSeconds(), -1);
  std::string crowded = "music: a.ogg\nnotes:";
  for (int step = 1; step <= 20; ++step) crowded += " " + std::to_string(step) + ":up";
  EXPECT_EQ(Chart::parse(crowded).getWarnings().size(), Chart::MAX_WARNINGS + 1);
  EXPECT_EQ(Chart::parse(crowded).getWarnings().back(), "and 14 more notes as close in their lanes");

  const std::string head = "music: a.ogg\n";
  const std::pair<std::string, std::string> refused[] = {
      {head + "notes: 70:left 70:left", "line 2: step 70 twice in lane left"},
      {head + "notes: 70:left 70",
       "line 2: step 70 twice without a lane for each (a chord names its notes' lanes, "
       "as in 70:left 70:right)"},
      {head + "notes: 110:up+20 130:up", "line 2: step 130 in lane up falls inside that lane's hold (until step 130)"},
      {head + "notes: 110:up+20 131:up 120:left", "line 2: step 120 after step 131 (steps must rise)"},
      {head + "notes: 110:up+20 120", "line 2: step 120 has no lane while a hold lasts (until step 130)"},
      {head + "notes: 110+20", "line 2: a hold needs a lane: '110+20' (as in 110:up+20)"},
      {head + "notes: 110:up+2", "line 2: bad hold length in '110:up+2' (3 to 3000 steps)"},
      {head + "notes: 999000:up+1001", "line 2: the hold '999000:up+1001' ends past step 1000000"},
      {title + "\xC3\xA9", "line 1: title longer than 40 characters"},
      {"title: caf\xC3", "line 1: title is not UTF-8 text"},       // cut short
      {"title: \xC0\xAF", "line 1: title is not UTF-8 text"},      // overlong '/'
      {"title: \xED\xA0\x80", "line 1: title is not UTF-8 text"},  // a surrogate
      {"title: \x80"
       "abc",
       "line 1: title is not UTF-8 text"},                                           // a stray continuation byte
      {"title: a\xC2\x85", "line 1: title holds a character that cannot be shown"},  // a control character
      {"difficulty: Hard\ndifficulty: Easy", "line 2: 'difficulty' given twice"},
      {"preview: 1.2345", "line 1: bad preview '1.2345' (seconds from 0 to 36000, at most three decimals)"},
      {"preview: 36000.5", "line 1: bad preview '36000.5' (seconds from 0 to 36000, at most three decimals)"},
  };
  for (const auto &[text, reason] : refused) {
    const Chart bad = Chart::parse(text);
    EXPECT_EQ(bad.getError(), reason) << text;
    EXPECT_TRUE(bad.getHoldSteps().empty() && bad.getWarnings().empty() && bad.getDifficulty().empty()) << text;
  }
}

TEST(ChartReader, LimitsWhatAChartMayHoldAndReadsNoHugeFile) {
  std::string notes = "music: a.ogg\nnotes:";
  for (size_t step = 1; step <= Chart::MAX_NOTES; ++step) notes += " " + std::to_string(step);
  EXPECT_EQ(Chart::parse(notes).getSteps().size(), Chart::MAX_NOTES);
  EXPECT_EQ(Chart::parse(notes + " 10001").getError(), "line 2: more than 10000 notes");

  TempFolder folder;
  const std::string fits =
      folder.file("fits.chart", "music: a.ogg\nnotes: 1\n#" + std::string(Chart::MAX_FILE_BYTES - 23, 'x'));
  ASSERT_EQ(fs::file_size(fits), Chart::MAX_FILE_BYTES);
  EXPECT_TRUE(Chart::readFile(fits).isValid()) << Chart::readFile(fits).getError();
  const std::string garbage = folder.file("garbage.chart", std::string(3 * 1024 * 1024, '\xA7'));
  EXPECT_EQ(Chart::readFile(garbage).getError(), "3145728 bytes, more than a chart may have (262144)");
  fs::create_directory(folder.path() + "/folder.chart");
  EXPECT_EQ(Chart::readFile(folder.path() + "/folder.chart").getError(), "not a readable file");
  EXPECT_EQ(Chart::readFile(folder.path() + "/missing.chart").getError(), "not a readable file");
}

class SongLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_log.start();
    ts::ResourceManager::getInstance().startUp();
  }
  void TearDown() override {
    ts::ResourceManager::getInstance().shutDown();
    ts::LogManager::getInstance().shutDown();
  }
  std::string playable(const std::string &title) const {
    return "title: " + title + "\nmusic: tone.ogg\nnotes: 5 9:up\n";
  }
  // Each song as "key title (file)" or "- file: problem".
  static std::vector<std::string> listed(const SongLibrary &library) {
    std::vector<std::string> lines;
    for (const Song &song : library.getSongs())
      lines.push_back(song.isPlayable() ? std::to_string(song.key) + " " + song.title + " (" + song.file_name + ")"
                                        : "- " + song.file_name + ": " + song.problem);
    return lines;
  }

  testing_support::LogCapture m_log;
  TempFolder m_player;
};

// The game's two songs: track 1 a note every 15 steps from step 5 (48
// notes), track 2 every 9 steps from step 2 (17 notes), then every 4 from
// step 226 (229 notes); 25 and 40 seconds announced, as long as their music,
// which goes on for 0.5 to 2.5 s after the last beat. The easiest charts
// keep those steps in set lanes, the classic ones leave the lanes to chance,
// and the hard ones have chords and holds on the same music.
TEST_F(SongLibraryTest, TheGamesChartsHoldTheTwoTracksExactlyAndFitTheirMusic) {
  std::vector<int32_t> star, campanella;
  for (int32_t k = 0; k <= 47; ++k) star.push_back(5 + 15 * k);
  for (int32_t k = 0; k <= 16; ++k) campanella.push_back(2 + 9 * k);
  for (int32_t k = 0; k <= 228; ++k) campanella.push_back(226 + 4 * k);
  const std::tuple<const char *, const char *, const char *, std::vector<int32_t>, int> songs[] = {
      {"star", "game_bgm1", "Star", star, 25}, {"la-campanella", "game_bgm2", "La Campanella", campanella, 40}};
  for (const auto &[name, label, title, steps, seconds] : songs) {
    const std::string easy = std::string("charts/") + name + ".chart",
                      hard = std::string("charts/") + name + "-hard.chart";
    const Chart chart = Chart::readFile(easy),
                classic = Chart::readFile(std::string("charts/classic/") + name + ".chart");
    const Chart harder = Chart::readFile(hard);
    for (const Chart *p_chart : {&chart, &classic, &harder}) {
      ASSERT_TRUE(p_chart->isValid()) << name << ": " << p_chart->getError();
      EXPECT_EQ(p_chart->getTitle(), title);
      EXPECT_EQ(p_chart->getTrack(), label);
      EXPECT_EQ(p_chart->getSeconds(), seconds);
      EXPECT_TRUE(p_chart->getWarnings().empty()) << name << ": " << p_chart->getWarnings().front();
    }
    EXPECT_EQ(chart.getSteps(), steps) << name;
    EXPECT_EQ(classic.getSteps(), steps) << name;
    EXPECT_EQ(classic.getLanes(), std::vector<int>(steps.size(), Chart::RANDOM_LANE)) << name;
    EXPECT_EQ(std::count(chart.getLanes().begin(), chart.getLanes().end(), Chart::RANDOM_LANE), 0) << name;
    EXPECT_EQ(std::set<int>(chart.getLanes().begin(), chart.getLanes().end()).size(), 4u) << name;
    EXPECT_LT(SongLibrary::difficultyRank(chart.getDifficulty()), SongLibrary::difficultyRank(harder.getDifficulty()));
    const std::set<int32_t> hard_steps(harder.getSteps().begin(), harder.getSteps().end());
    EXPECT_LT(hard_steps.size(), harder.getSteps().size()) << name << ": no chord";
    EXPECT_GT(
        std::count_if(harder.getHoldSteps().begin(), harder.getHoldSteps().end(), [](int32_t h) { return h > 0; }), 0)
        << name;
    for (int32_t step : steps) EXPECT_EQ(hard_steps.count(step), 1u) << name << ": every beat kept, " << step;
    ts::ResourceManager &resources = ts::ResourceManager::getInstance();
    ASSERT_EQ(resources.loadMusic("charts/" + chart.getMusic(), label), 0) << name;
    const double length = resources.getMusic(label)->getDuration();
    EXPECT_NEAR(length, seconds, 0.01) << name;
    const double last_beat = beat::secondsOf(steps.back());
    EXPECT_TRUE(last_beat < length - 0.5 && last_beat > length - 2.5) << name << ": " << last_beat;
  }
}

// The game's folder is the real one; the player's has songs of every kind.
TEST_F(SongLibraryTest, GamesSongsFirstThenByTitleWithKeysForThePlayableOnes) {
  fs::copy_file(TONE, m_player.path() + "/tone.ogg");
  m_player.file("fake.ogg", "not an Ogg file");
  m_player.file("a.chart", playable("Alpha") + "track: game_bgm1\n");  // only the game's songs use this
  m_player.file("0.chart", playable("Zero"));
  m_player.file("b.chart", "title: Broken\nmusic: tone.ogg\ntempo: 99\nnotes: 1\n");
  m_player.file("c.chart", "music: missing.ogg\nnotes: 1\n");
  m_player.file("d.chart", "music: fake.ogg\nnotes: 1\n");
  m_player.file("notes.txt", playable("Not a chart"));
  fs::create_directory(m_player.path() + "/e.chart");

  SongLibrary library;
  library.load({"charts", m_player.path(), m_player.path() + "/no-such-folder"});
  EXPECT_EQ(listed(library),
            (std::vector<std::string>{
                "1 Star (star.chart)", "1 Star (star-hard.chart)", "2 La Campanella (la-campanella.chart)",
                "2 La Campanella (la-campanella-hard.chart)", "3 Alpha (a.chart)", "4 Zero (0.chart)",
                "- b.chart: line 3: unknown field 'tempo'", "- c.chart: music file 'missing.ogg' not found",
                "- d.chart: music file 'fake.ogg' cannot be played", "- e.chart: not a readable file"}));
  const std::vector<Song> &songs = library.getSongs();
  EXPECT_EQ(songs[1].track_label, "game_bgm1");  // the labels the game's tracks are loaded under
  EXPECT_EQ(songs[2].track_label, "game_bgm2");
  EXPECT_EQ(songs[2].announced_seconds, 40);
  EXPECT_EQ(songs[4].track_label, songs[5].track_label);  // one music, loaded once
  EXPECT_EQ(ts::ResourceManager::getInstance().getMusicCount(), 3);
  EXPECT_NEAR(songs[0].length_seconds, 25, 0.01);
  EXPECT_NEAR(songs[5].length_seconds, 2, 0.01);
  EXPECT_EQ(songs[4].lanes, (std::vector<int>{-1, 1}));
  EXPECT_EQ(library.songOfKey(1), &songs[0]);  // a song's key starts its easiest chart
  EXPECT_EQ(library.songOfKey(3), &songs[4]);
  EXPECT_EQ(library.songOfKey(5), nullptr);
  EXPECT_TRUE(m_log.contains("SongLibrary: key 3: 'Alpha' (a.chart), 0:02, 2 notes."));
  EXPECT_TRUE(m_log.contains("SongLibrary: Warning! '" + m_player.path() +
                             "/b.chart' cannot be played: line 3: unknown field 'tempo'."));
}

// The charts of one song (one folder, one title) are listed together,
// easiest first, and share its key; each keeps its best score under its own
// key: the game's under their plain file names, as always, a player's under
// its folder and file name, so that a player's star.chart keeps its own.
TEST_F(SongLibraryTest, ChartsOfOneSongShareItsKeyEasiestFirstAndKeepTheirOwnBestScores) {
  fs::copy_file(TONE, m_player.path() + "/tone.ogg");
  const std::string song = "title: Tune\nmusic: tone.ogg\npreview: 0.5\n";
  m_player.file("tune-wild.chart", song + "difficulty: Wild\nnotes: 5 9 13\n");
  m_player.file("tune-odd.chart", song + "difficulty: Odd\nnotes: 5 9\n");
  m_player.file("tune-hard.chart", song + "difficulty: HARD\nnotes: 5\n");
  m_player.file("tune.chart", song + "notes: 5 9:up 10:up\n");
  m_player.file("tune-easy.chart", song + "difficulty: easy\nnotes: 5 9\n");
  m_player.file("star.chart", "title: Star\nmusic: tone.ogg\nnotes: 5\n");
  SongLibrary library;
  library.load({"charts", m_player.path()});
  std::vector<std::string> order;
  for (const Song &each : library.getSongs())
    order.push_back(std::to_string(each.key) + " " + each.title + " " + each.difficulty + " " + each.score_key);
  const std::string player = fs::canonical(m_player.path()).string() + "/";
  EXPECT_EQ(order, (std::vector<std::string>{
                       "1 Star Easy star.chart", "1 Star Hard star-hard.chart",
                       "2 La Campanella Easy la-campanella.chart", "2 La Campanella Hard la-campanella-hard.chart",
                       "3 Star Normal " + player + "star.chart", "4 Tune easy " + player + "tune-easy.chart",
                       "4 Tune Normal " + player + "tune.chart", "4 Tune HARD " + player + "tune-hard.chart",
                       "4 Tune Odd " + player + "tune-odd.chart", "4 Tune Wild " + player + "tune-wild.chart"}));
  EXPECT_DOUBLE_EQ(library.getSongs()[5].preview_seconds, 0.5);
  EXPECT_DOUBLE_EQ(library.getSongs()[0].preview_seconds, 6.5);
  EXPECT_TRUE(m_log.contains("SongLibrary: Warning! '" + m_player.path() +
                             "/tune.chart' is hard to read: line 4: step 10 in lane up is 1 steps after the note "
                             "before it there (arrows overlap closer than 3)."));
  // The menu shows the best kept under each chart's own key.
  BestScores best;
  best.offer("star.chart", 480);
  best.offer(player + "star.chart", 10);
  SongMenu menu;
  menu.setSongs(library.getSongs());
  const std::vector<SongMenu::Line> lines = menu.lines(best);
  EXPECT_EQ(lines[1].text.substr(lines[1].text.size() - 3), "480");
  EXPECT_EQ(lines[3].text.substr(lines[3].text.size() - 3), " 10");
}

// Nine keys: a tenth playable song is still playable, without a key (the
// song list reaches it).
TEST_F(SongLibraryTest, NineKeysAtMostAndEverySongPlayable) {
  fs::copy_file(TONE, m_player.path() + "/tone.ogg");
  for (int i = 1; i <= 10; ++i) m_player.file("song" + std::to_string(i + 10) + ".chart", playable("Song " + std::to_string(i + 10)));
  SongLibrary library;
  library.load({m_player.path()});
  ASSERT_EQ(library.getSongs().size(), 10u);
  EXPECT_EQ(library.getSongs()[8].key, 9);
  EXPECT_EQ(library.getSongs()[9].key, 0);
  EXPECT_TRUE(library.getSongs()[9].isPlayable());
  EXPECT_EQ(ts::ResourceManager::getInstance().getMusicCount(), 1);
}

// The player's files are checked before they are read or decoded: music the
// output cannot play and files that are not regular files are listed with
// the reason; a folder that cannot be read gets a log line.
TEST_F(SongLibraryTest, PlayersFilesAreCheckedBeforeTheyAreReadOrDecoded) {
  testing_support::writeToneWith(m_player.path() + "/nine.ogg", 9, 8000);
  testing_support::writeToneWith(m_player.path() + "/many.ogg", 200, 8000);
  ASSERT_EQ(mkfifo((m_player.path() + "/fifo.ogg").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((m_player.path() + "/fifo.chart").c_str(), 0600), 0);
  m_player.file("nine.chart", "music: nine.ogg\nnotes: 1\n");
  m_player.file("many.chart", "music: many.ogg\nnotes: 1\n");
  m_player.file("piped.chart", "music: fifo.ogg\nnotes: 1\n");
  const std::string loop = m_player.path() + "/loop";
  fs::create_directory_symlink(loop, loop);
  SongLibrary library;
  library.load({m_player.path(), loop});
  EXPECT_EQ(listed(library), (std::vector<std::string>{
                                 "- fifo.chart: not a readable file",
                                 "- many.chart: music file 'many.ogg' refused: 200 channels (music must have 1 or 2)",
                                 "- nine.chart: music file 'nine.ogg' refused: 9 channels (music must have 1 or 2)",
                                 "- piped.chart: music file 'fifo.ogg' refused: not a regular file"}));
  EXPECT_TRUE(m_log.contains("SongLibrary: Warning! '" + m_player.path() +
                             "/nine.chart' cannot be played: music file 'nine.ogg' refused: 9 channels (music must "
                             "have 1 or 2)."));
  EXPECT_TRUE(m_log.contains("SongLibrary: Warning! Cannot read the song folder '" + loop +
                             "' (Too many levels of symbolic links)."));
}

// Past the limit, the charts read are the first by name, whatever order the
// folder lists them in.
TEST_F(SongLibraryTest, ManyChartsAreChosenByName) {
  for (int i = SongLibrary::MAX_CHART_FILES + 20; i >= 0; --i) {
    char name[32];
    std::snprintf(name, sizeof name, "%03d.chart", i);
    m_player.file(name, "broken");
  }
  SongLibrary library;
  library.load({m_player.path()});
  ASSERT_EQ(library.getSongs().size(), SongLibrary::MAX_CHART_FILES);
  for (size_t i = 0; i < SongLibrary::MAX_CHART_FILES; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "%03zu.chart", i);
    EXPECT_EQ(library.getSongs()[i].file_name, name);
  }
  EXPECT_TRUE(m_log.contains("SongLibrary: Warning! More than 100 charts in '" + m_player.path() +
                             "'; the rest are left out."));
}

// A stop signal that comes while the songs load ends the loading before any
// more music is opened; the game loop then ends the game.
TEST(SongLibraryStop, AStopSignalLeavesTheRemainingChartsOut) {
  testing_support::LogCapture config, log;
  std::ofstream(config.path()) << "networking:false,\nheadless:true,\n";
  setenv("TESSERA_CONFIG", config.path().c_str(), 1);
  setenv("TESSERA_LOG", log.path().c_str(), 1);
  ts::GameManager &game = ts::GameManager::getInstance();
  ASSERT_EQ(game.startUp(), 0);
  std::raise(SIGTERM);
  EXPECT_TRUE(game.isStopRequested());
  SongLibrary library;
  library.load({SongLibrary::GAME_FOLDER});
  EXPECT_TRUE(library.getSongs().empty());
  EXPECT_TRUE(log.contains("SongLibrary: Stop requested; the remaining 4 charts are left out."));
  game.shutDown();
}
