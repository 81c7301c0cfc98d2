// The game's settings file: where it lives, what it accepts, what it refuses
// and how it is saved.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "TempFolder.h"
#include "TestSupport.h"
#include "player/GameSettings.h"

namespace {

class GameSettingsTest : public ::testing::Test {
 protected:
  void write(const std::string &text) const { m_dir.file("tessera-rhythm/settings.txt", text); }
  // The offset a settings file gives, starting from a previous value of 7.
  int offsetOf(const std::string &text) const {
    write(text);
    GameSettings settings;
    settings.setOffsetMs(7);
    settings.load(m_path);
    return settings.getOffsetMs();
  }

  testing_support::StartedLog m_log;
  TempFolder m_dir;
  const std::string m_path = m_dir.path() + "/tessera-rhythm/settings.txt";
};

}  // namespace

TEST_F(GameSettingsTest, PathFollowsTheConfigurationFolderVariables) {
  setenv("XDG_CONFIG_HOME", "/x/config", 1);
  setenv("HOME", "/home/player", 1);
  EXPECT_EQ(GameSettings::defaultPath(), "/x/config/tessera-rhythm/settings.txt");
  setenv("XDG_CONFIG_HOME", "relative/config", 1);  // not absolute: ignored
  EXPECT_EQ(GameSettings::defaultPath(), "/home/player/.config/tessera-rhythm/settings.txt");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(GameSettings::defaultPath(), "/home/player/.config/tessera-rhythm/settings.txt");
  unsetenv("HOME");
  EXPECT_EQ(GameSettings::defaultPath(), "");
}

TEST_F(GameSettingsTest, ReadsTheOffsetInTheEngineSyntaxAndRefusesBadValuesWithALogLine) {
  GameSettings missing;
  missing.load(m_path);
  EXPECT_EQ(missing.getOffsetMs(), 0);
  EXPECT_TRUE(m_log.messages().empty());  // a missing file is no news

  EXPECT_EQ(offsetOf("audio_offset_ms:40,\n"), 40);
  EXPECT_EQ(offsetOf("# my settings\r\n\r\nother:1, audio_offset_ms : -35 ,\r\n"), -35);
  EXPECT_EQ(offsetOf("audio_offset_ms:+500,"), 500);
  EXPECT_EQ(offsetOf("audio_offset_ms:-500,"), -500);
  EXPECT_EQ(offsetOf("audio_offset_ms:12,\naudio_offset_ms:13,"), 12);  // the first one counts
  EXPECT_EQ(offsetOf("# only a comment\n"), 7);
  EXPECT_EQ(offsetOf("audio_offset_ms:,"), 7);
  EXPECT_TRUE(m_log.messages().empty());

  const std::string file = "'" + m_path + "'";
  const std::pair<const char *, std::string> refused[] = {
      {"audio_offset_ms:12ms,", "Malformed audio offset '12ms' in " + file + "; keeping 7 ms."},
      {"audio_offset_ms:fast,", "Malformed audio offset 'fast' in " + file + "; keeping 7 ms."},
      {"audio_offset_ms:-,", "Malformed audio offset '-' in " + file + "; keeping 7 ms."},
      {"audio_offset_ms:501,", "Audio offset 501 ms in " + file + " is outside -500..500 ms; keeping 7 ms."},
      {"audio_offset_ms:-501,", "Audio offset -501 ms in " + file + " is outside -500..500 ms; keeping 7 ms."},
      {"audio_offset_ms:99999999999999999999999,",
       "Audio offset 99999999999999999999999 ms in " + file + " is outside -500..500 ms; keeping 7 ms."}};
  for (const auto &[text, line] : refused) {
    EXPECT_EQ(offsetOf(text), 7) << text;
    EXPECT_TRUE(m_log.contains("GameSettings: Warning! " + line)) << line;
  }

  GameSettings command_line;
  EXPECT_EQ(command_line.setOffsetText("-600", "the command line"), -1);
  EXPECT_TRUE(
      m_log.contains("GameSettings: Warning! Audio offset -600 ms in the command line is outside -500..500 ms; "
                     "keeping 0 ms."));
  EXPECT_EQ(command_line.setOffsetText("25", "the command line"), 0);
  EXPECT_EQ(command_line.getOffsetMs(), 25);
}

TEST_F(GameSettingsTest, SavesAtomicallyAndAFailedWriteLeavesTheOldFile) {
  GameSettings settings;
  settings.setOffsetMs(-42);
  ASSERT_EQ(settings.save(m_path), 0);  // the folders are created
  EXPECT_TRUE(m_log.contains("GameSettings::save(): Audio offset -42 ms saved in '" + m_path + "'."));
  GameSettings reread;
  reread.load(m_path);
  EXPECT_EQ(reread.getOffsetMs(), -42);

  // No temporary file fits beside a file of so long a name: the old file
  // stays as it was.
  const std::string long_path = m_dir.file(std::string(250, 'x'), "audio_offset_ms:40,\n");
  settings.setOffsetMs(90);
  EXPECT_EQ(settings.save(long_path), -1);
  EXPECT_EQ(contents(long_path), "audio_offset_ms:40,\n");
  EXPECT_TRUE(m_log.contains("GameSettings::save(): Error! Cannot write '" + long_path +
                             "' (cannot create a file in '" + m_dir.path() +
                             "': File name too long); the settings file is left as it was."));

  // The temporary file is written but cannot replace the target (here a
  // folder in its place): the temporary file is removed again.
  std::filesystem::remove(m_path);
  std::filesystem::create_directories(m_path + "/inside");
  EXPECT_EQ(settings.save(m_path), -1);
  EXPECT_TRUE(std::filesystem::is_directory(m_path + "/inside"));
  for (const auto &entry : std::filesystem::directory_iterator(m_dir.path() + "/tessera-rhythm"))
    EXPECT_EQ(entry.path().filename(), "settings.txt");  // the temporary file is gone

  EXPECT_EQ(settings.save(""), -1);
  EXPECT_EQ(settings.getOffsetMs(), 90);
  settings.setOffsetMs(-9000);  // clamped
  EXPECT_EQ(settings.getOffsetMs(), -500);
}

// The settings screen's choices: each read on its own, a refused one kept at
// its value with a log line naming the file, and all written back.
TEST_F(GameSettingsTest, PlayerChoicesAreReadRefusedOneByOneAndSavedBack) {
  write("scroll_speed:1.5,\nlane_keys:dfjk,\nhit_error_bar:off,\n"
        "song_offsets_ms:charts/a.chart=20;nokey;b.chart=900;=4;c.chart=-15,\n");
  GameSettings settings;
  settings.load(m_path);
  EXPECT_DOUBLE_EQ(settings.getScrollSpeed(), 1.5);
  EXPECT_EQ(settings.getLaneKeys(), GameSettings::LaneKeys::DFJK);
  EXPECT_FALSE(settings.getHitErrorBar());
  EXPECT_EQ(settings.getSongOffsetMs("charts/a.chart"), 20);
  EXPECT_EQ(settings.getSongOffsetMs("c.chart"), -15);
  EXPECT_EQ(settings.getSongOffsetMs("b.chart"), 0);
  const std::string file = "'" + m_path + "'";
  for (const char *entry : {"nokey", "b.chart=900", "=4"})
    EXPECT_TRUE(m_log.contains("GameSettings: Warning! Song offset '" + std::string(entry) + "' in " + file +
                               " is not KEY=MS within -500..500 ms; left out."))
        << entry;

  ASSERT_EQ(settings.save(m_path), 0);
  GameSettings reread;
  reread.load(m_path);
  EXPECT_DOUBLE_EQ(reread.getScrollSpeed(), 1.5);
  EXPECT_EQ(reread.getLaneKeys(), GameSettings::LaneKeys::DFJK);
  EXPECT_FALSE(reread.getHitErrorBar());
  EXPECT_EQ(reread.getSongOffsetMs("charts/a.chart"), 20);
  EXPECT_EQ(reread.getSongOffsetMs("c.chart"), -15);
  // Keys hold any character a file name may; blanks set two songs apart.
  const std::vector<std::string> keys = {"a,b;c=d:e#f.chart", "my song.chart", "mysong.chart", "100%.chart", "%41"};
  for (size_t i = 0; i < keys.size(); ++i) EXPECT_TRUE(reread.setSongOffsetMs(keys[i], 10 + static_cast<int>(i)));
  ASSERT_EQ(reread.save(m_path), 0);
  GameSettings keyed;
  keyed.load(m_path);
  for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(keyed.getSongOffsetMs(keys[i]), 10 + static_cast<int>(i)) << keys[i];
  EXPECT_EQ(keyed.getSongOffsetMs("charts/a.chart"), 20);

  write("scroll_speed:2.5,\nlane_keys:wasd,\nhit_error_bar:maybe,\n");
  reread.load(m_path);
  EXPECT_DOUBLE_EQ(reread.getScrollSpeed(), 1.5);
  EXPECT_EQ(reread.getLaneKeys(), GameSettings::LaneKeys::DFJK);
  EXPECT_FALSE(reread.getHitErrorBar());
  EXPECT_TRUE(m_log.contains("GameSettings: Warning! Scroll speed '2.5' in " + file +
                             " is not a number from 0.5 to 2.0; keeping 1.50."));
  EXPECT_TRUE(m_log.contains("GameSettings: Warning! Unknown lane keys 'wasd' in " + file +
                             " (arrows or dfjk); keeping dfjk."));
  EXPECT_TRUE(
      m_log.contains("GameSettings: Warning! Hit-error bar 'maybe' in " + file + " (on or off); keeping off."));
  write("scroll_speed:nan,\n");
  GameSettings fresh;
  fresh.load(m_path);
  EXPECT_DOUBLE_EQ(fresh.getScrollSpeed(), 1.0);
}
