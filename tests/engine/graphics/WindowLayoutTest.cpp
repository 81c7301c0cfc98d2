// The window's layout worked out before a window exists.
#include <gtest/gtest.h>

#include <tuple>

#include <tessera/core/Config.h>
#include <tessera/graphics/WindowLayout.h>

namespace {

// A desktop of 1280 x 1024 pixels on a driver whose largest texture is 16384.
const ts::DisplayLimits LIMITS = {1280, 1024, 16384};

// The entries, then the defaults of every size setting (the first entry of
// a key wins), so that no case inherits the sizes of the one before.
ts::WindowLayout layoutOf(const std::string &entries) {
  ts::Config::getInstance().loadConfig(entries +
                                       "window_horizontal_pixels:1024,window_vertical_pixels:768,"
                                       "window_horizontal_chars:80,window_vertical_chars:24,font_scale:2,");
  return ts::WindowLayout(ts::Config::getInstance(), LIMITS);
}

// Centred on the desktop and wholly on it (at 0 along an axis where it is larger).
TEST(WindowLayout, WindowIsCentredAndWhollyOnTheDesktop) {
  const std::tuple<int, int, int, int> cases[] = {{1920, 1080, 448, 156}, {1024, 768, 0, 0}, {1920, 600, 448, 0}};
  ts::Config::getInstance().loadConfig("window_horizontal_pixels:1024,window_vertical_pixels:768,");
  for (auto [width, height, left, top] : cases) {
    const ts::WindowLayout layout(ts::Config::getInstance(), ts::DisplayLimits{width, height, 16384});
    EXPECT_EQ(std::make_pair(left, top), std::make_pair(layout.getLeft(), layout.getTop())) << width << "x" << height;
  }
}

TEST(WindowLayout, HonouredSettingsGiveTheSizesTheDisplayUses) {
  struct Case {
    std::string entries;
    int width, height;
    float cell_width, cell_height;
    unsigned int character_size;
  } const cases[] = {
      {"random_seed:1,", 1024, 768, 12.8f, 32, 25},  // the defaults: 2 x 12.8, truncated
      {"window_horizontal_pixels:0,window_vertical_pixels:0,", 1280, 1024, 16, 1024 / 24.f, 32},  // the desktop
      {"font_scale:0,", 1024, 768, 12.8f, 32, 0},
      {"font_scale:10,", 1024, 768, 12.8f, 32, 128},  // four times the longer cell side
      {"window_horizontal_pixels:16384,window_horizontal_chars:1,window_vertical_chars:1,font_scale:0.5,", 16384, 768,
       16384, 768, 384},
      {"window_horizontal_chars:2,window_vertical_chars:2,font_scale:1,", 1024, 768, 512, 384, 384},
  };
  for (const Case &c : cases) {
    const ts::WindowLayout layout = layoutOf(c.entries);
    EXPECT_EQ("", layout.getProblem()) << c.entries;
    EXPECT_EQ(std::make_tuple(c.width, c.height, c.cell_width, c.cell_height, c.character_size),
              std::make_tuple(layout.getHorizontalPixels(), layout.getVerticalPixels(), layout.getCellWidth(),
                              layout.getCellHeight(), layout.getCharacterSize()))
        << c.entries;
  }
}

TEST(WindowLayout, SizesTheDisplayCannotMakeAreRefusedByName) {
  const std::pair<std::string, std::string> cases[] = {
      {"window_horizontal_pixels:2147483647,window_vertical_pixels:2147483647,",
       "window_horizontal_pixels 2147483647 is beyond what the display can make (1 to 16384 pixels)."},
      {"window_vertical_pixels:-1024,",
       "window_vertical_pixels -1024 is beyond what the display can make (1 to 16384 pixels)."},
      {"window_horizontal_chars:0,", "window_horizontal_chars 0 is not a number of cells (at least 1)."},
      {"font_scale:10.1,", "font_scale 10.1 gives glyphs of 129.3 pixels; cells of 12.8 x 32.0 pixels take 0 to 128."},
      {"font_scale:-2,", "font_scale -2 gives glyphs of -25.6 pixels; cells of 12.8 x 32.0 pixels take 0 to 128."},
      // Two cells of 512 x 384 pixels: four times the cell would allow 2048, but glyphs stop at 512.
      {"window_horizontal_chars:2,window_vertical_chars:2,font_scale:2,",
       "font_scale 2 gives glyphs of 768.0 pixels; cells of 512.0 x 384.0 pixels take 0 to 512."},
  };
  for (const auto &[entries, problem] : cases) {
    const ts::WindowLayout layout = layoutOf(entries);
    EXPECT_FALSE(layout.isValid()) << entries;
    EXPECT_EQ(problem, layout.getProblem()) << entries;
    EXPECT_EQ(0u, layout.getCharacterSize()) << entries;
  }
}

}  // namespace
