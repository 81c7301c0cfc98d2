// Configuration: file quirks, value conversion, refused values, the dump.
#include <climits>
#include <cmath>

#include <tessera/core/Config.h>
#include "TestSupport.h"

using namespace testing_support;

namespace {
ts::Config &config() { return ts::Config::getInstance(); }
}  // namespace

TEST(Config, MissingFileIsNamed) {
  StartedLog log;
  ts::LogManager::getInstance().setLogLevel(1);
  setenv("TESSERA_CONFIG", "/tmp/no-such-dir/tessera.cfg", 1);
  config().loadConfig("");
  EXPECT_TRUE(
      log.contains("Config::readConfig(): Cannot open Tessera configuration file '/tmp/no-such-dir/tessera.cfg'."));
}

TEST(Config, FileLinesAreJoinedWithoutSeparator) {
  LogCapture file;                                                // a spare temporary file, named by TESSERA_CONFIG
  std::ofstream(file.path()) << "# a comment\r\nframe_time:33\n"  // no comma: swallows the next line's key
                                "font_scale:1,\n\n  # not a comment,random_seed:7,\r\n"
                                "window_title:My Game,\ngrid_width:5,grid_height:6,";
  setenv("TESSERA_CONFIG", file.path().c_str(), 1);
  config().loadConfig("");
  EXPECT_EQ(
      config().getConfig(),
      "frame_time:33font_scale:1,  # not a comment,random_seed:7,window_title:My Game,grid_width:5,grid_height:6,");
  EXPECT_EQ(config().getFontScale(), 2.0f);
  EXPECT_EQ(config().getRandomSeed(), 7);
  EXPECT_EQ(config().getWindowTitle(), "MyGame");  // blanks removed
  EXPECT_EQ(config().getGridHeight(), 6);
}

TEST(Config, ValuesAreConvertedAsDocumented) {
  config().loadConfig(
      "frame_time:12abc,window_horizontal_pixels:abc,window_vertical_pixels:99999999999,"
      "window_horizontal_chars:-99999999999,window_vertical_chars:+40,font_scale:1.5x,"
      "show_mouse:TRUE,headless:true,networking:yes,signals:false,frame_time:99,"
      "window_background_color:yellow,window_style:none,window_state:fullscreen,"
      "logfile:,random_seed:-1,quadtree_depth:3,");
  EXPECT_EQ(config().getFrameTime(), 12);  // the first entry wins
  EXPECT_EQ(config().getWindowHorizontalPixels(), 0);
  EXPECT_EQ(config().getWindowVerticalPixels(), INT_MAX);  // saturated, not undefined
  EXPECT_EQ(config().getWindowHorizontalChars(), INT_MIN);
  EXPECT_EQ(config().getWindowVerticalChars(), 40);
  EXPECT_EQ(config().getFontScale(), 1.5f);
  EXPECT_FALSE(config().getShowMouse());
  EXPECT_TRUE(config().getHeadless());
  EXPECT_FALSE(config().getNetworking());
  EXPECT_FALSE(config().getSignals());
  EXPECT_EQ(config().getWindowBackgroundColor(), ts::YELLOW);
  EXPECT_EQ(config().getWindowStyle(), 0);
  EXPECT_EQ(config().getWindowState(), 1);
  EXPECT_EQ(config().getLogfile(), "tessera.log");  // empty value: unchanged
  EXPECT_EQ(config().getRandomSeed(), -1);
  EXPECT_EQ(config().getQuadtreeDepth(), 3);
  config().loadConfig("window_state:default,font_scale:1e99,");
  EXPECT_EQ(config().getWindowState(), 0);
  EXPECT_TRUE(std::isinf(config().getFontScale()));
}

TEST(Config, UnsupportedValuesAreReportedAndKept) {
  StartedLog log;
  config().loadConfig("window_background_color:Yellow,window_style:0,window_state:maximised,");
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"loadConfig(): Unsupported window color 'Yellow'",
                                                      "loadConfig(): Unsupported window style '0'",
                                                      "loadConfig(): Unsupported window state 'maximised'"}));
  EXPECT_EQ(config().getWindowBackgroundColor(), ts::BLACK);
  EXPECT_EQ(config().getWindowStyle(), 5);
  EXPECT_EQ(config().getWindowState(), 0);
  EXPECT_EQ(config().match("window_style"), "0");  // the last loaded text
}

TEST(Config, DumpShowsNamedValues) {
  config().loadConfig("window_state:fullscreen,window_background_color:cyan,headless:true,");
  StartedLog log;
  ts::LogManager::getInstance().setLogLevel(1);
  config().writeDump();
  std::vector<std::string> lines = log.messages();
  ASSERT_EQ(lines.size(), 21u);  // between two rules: a title and 18 values
  EXPECT_EQ(lines[6], "  Window background color: 6");
  EXPECT_EQ(lines[9], "  Window state: fullscreen");
}
