// Configuration: defaults, the file format's quirks, every key, the dump.
#include <climits>
#include <cmath>

#include "Config.h"
#include "TestSupport.h"

using testing_support::LogCapture;

namespace {

// A configuration file in /tmp, named by TESSERA_CONFIG while it lives.
class ConfigFile {
 public:
  explicit ConfigFile(const std::string &text) {
    char name[] = "/tmp/tessera-test-config-XXXXXX";
    close(mkstemp(name));
    m_path = name;
    std::ofstream(m_path) << text;
    setenv("TESSERA_CONFIG", m_path.c_str(), 1);
  }
  ~ConfigFile() { std::remove(m_path.c_str()); }

 private:
  std::string m_path;
};

ts::Config &config() { return ts::Config::getInstance(); }

}  // namespace

TEST(Config, MissingFileKeepsDefaultsAndNamesTheFile) {
  LogCapture log;
  log.start();
  ts::LogManager::getInstance().setLogLevel(1);
  setenv("TESSERA_CONFIG", "/tmp/no-such-dir/tessera.cfg", 1);
  config().loadConfig("");
  EXPECT_TRUE(log.contains("Config::readConfig(): Cannot open Tessera configuration file '/tmp/no-such-dir/tessera.cfg'."));
  EXPECT_EQ(config().getWindowHorizontalPixels(), 1024);
  EXPECT_EQ(config().getWindowVerticalPixels(), 768);
  EXPECT_EQ(config().getWindowHorizontalChars(), 80);
  EXPECT_EQ(config().getWindowVerticalChars(), 24);
  EXPECT_EQ(config().getWindowStyle(), 5);
  EXPECT_EQ(config().getWindowState(), 0);
  EXPECT_EQ(config().getWindowBackgroundColor(), ts::BLACK);
  EXPECT_EQ(config().getWindowTitle(), "Tessera");
  EXPECT_EQ(config().getFrameTime(), 33);
  EXPECT_EQ(config().getFontScale(), 2.0f);
  EXPECT_EQ(config().getFontFile(), "ts-font.ttf");
  EXPECT_FALSE(config().getShowMouse());
  EXPECT_FALSE(config().getHeadless());
  EXPECT_EQ(config().getLogfile(), "tessera.log");
  EXPECT_EQ(config().getRandomSeed(), 0);
  EXPECT_TRUE(config().getNetworking());
  EXPECT_EQ(config().getGridWidth(), 20);
  EXPECT_EQ(config().getGridHeight(), 8);
  EXPECT_EQ(config().getQuadtreeDepth(), 10);
  EXPECT_EQ(config().getQuadtreeThreshold(), 1);
  EXPECT_TRUE(config().getSignals());
}

TEST(Config, FileLinesAreJoinedWithoutSeparator) {
  ConfigFile file(
      "# a comment\r\n"
      "frame_time:33\n"   // no comma: swallows the next line's key
      "font_scale:1,\n"
      "\n"
      "  # not a comment,random_seed:7,\r\n"
      "window_title:My Game,\n"
      "grid_width:5,grid_height:6,");
  config().loadConfig("");
  EXPECT_EQ(config().getConfig(),
            "frame_time:33font_scale:1,  # not a comment,random_seed:7,window_title:My Game,grid_width:5,grid_height:6,");
  EXPECT_EQ(config().getFrameTime(), 33);
  EXPECT_EQ(config().getFontScale(), 2.0f);
  EXPECT_EQ(config().getRandomSeed(), 7);
  EXPECT_EQ(config().getWindowTitle(), "MyGame");
  EXPECT_EQ(config().getGridWidth(), 5);
  EXPECT_EQ(config().getGridHeight(), 6);
}

TEST(Config, ValuesAreConvertedAsDocumented) {
  config().loadConfig(
      "frame_time:12abc,window_horizontal_pixels:abc,window_vertical_pixels:99999999999,"
      "window_horizontal_chars:-99999999999,window_vertical_chars:+40,font_scale:1.5x,"
      "show_mouse:TRUE,headless:true,networking:yes,signals:false,frame_time:99,"
      "window_background_color:yellow,window_style:none,window_state:fullscreen,"
      "font_file:f.ttf,logfile:,random_seed:-1,quadtree_depth:3,quadtree_threshold:4,");
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
  EXPECT_EQ(config().getFontFile(), "f.ttf");
  EXPECT_EQ(config().getLogfile(), "tessera.log");  // empty value: unchanged
  EXPECT_EQ(config().getRandomSeed(), -1);
  EXPECT_EQ(config().getQuadtreeDepth(), 3);
  EXPECT_EQ(config().getQuadtreeThreshold(), 4);
  config().loadConfig("window_state:default,font_scale:1e99,");
  EXPECT_EQ(config().getWindowState(), 0);
  EXPECT_TRUE(std::isinf(config().getFontScale()));
}

TEST(Config, UnsupportedValuesAreReportedAndKept) {
  LogCapture log;
  log.start();
  config().loadConfig("window_background_color:Yellow,window_style:0,window_state:maximised,");
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"loadConfig(): Unsupported window color 'Yellow'",
                                                      "loadConfig(): Unsupported window style '0'",
                                                      "loadConfig(): Unsupported window state 'maximised'"}));
  EXPECT_EQ(config().getWindowBackgroundColor(), ts::BLACK);
  EXPECT_EQ(config().getWindowStyle(), 5);
  EXPECT_EQ(config().getWindowState(), 0);
  config().loadConfig("window_style:3,");
  EXPECT_EQ(config().getWindowStyle(), 3);
  EXPECT_EQ(config().match("window_style"), "3");
  EXPECT_EQ(config().match("nothing"), "");
}

TEST(Config, DumpListsEveryValueInOrder) {
  config().loadConfig("window_state:fullscreen,window_background_color:cyan,headless:true,");
  LogCapture log;
  log.start();
  ts::LogManager::getInstance().setLogLevel(1);
  config().writeDump();
  const std::string rule(35, '-');
  EXPECT_EQ(log.messages(), (std::vector<std::string>{rule,
                                                      "Tessera configuration:",
                                                      "  Window horizontal pixels: 1024",
                                                      "  Window vertical pixels: 768",
                                                      "  Window horizontal characters: 80",
                                                      "  Window vertical characters: 24",
                                                      "  Window background color: 6",
                                                      "  Frame time: 33",
                                                      "  Window style: 5",
                                                      "  Window state: fullscreen",
                                                      "  Window title: Tessera",
                                                      "  Show mouse: false",
                                                      "  Headless: true",
                                                      "  Font file: ts-font.ttf",
                                                      "  Log file: tessera.log",
                                                      "  Random seed: 0",
                                                      "  Networking: true",
                                                      "  Scene graph: grid",
                                                      "  Grid width: 20",
                                                      "  Grid height: 8",
                                                      rule}));
}
