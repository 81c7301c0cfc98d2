// Feeds arbitrary bytes to the configuration as the text of its file: every
// value is converted and dumped, then the display's layout is worked out from
// them as the display does before it makes a window. No input may crash or
// allocate without bound, and a layout that is accepted must be one the
// display can make.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <tessera/core/Config.h>
#include <tessera/graphics/WindowLayout.h>

#include "FuzzSupport.h"

namespace {

// Every key at its built-in value, so that one input does not inherit the
// values of the one before.
const char *const DEFAULTS =
    "window_horizontal_pixels:1024,window_vertical_pixels:768,window_horizontal_chars:80,"
    "window_vertical_chars:24,window_style:5,window_state:default,window_background_color:black,"
    "window_title:Tessera,frame_time:33,font_scale:2.0,font_file:ts-font.ttf,show_mouse:false,headless:false,"
    "logfile:tessera.log,random_seed:0,networking:true,grid_width:20,grid_height:8,quadtree_depth:10,"
    "quadtree_threshold:1,signals:true,";

// A desktop of 1280 x 1024 pixels with a 16384-pixel texture limit.
const ts::DisplayLimits LIMITS = {1280, 1024, 16384};

bool acceptable(const ts::WindowLayout &layout) {
  const bool pixels = layout.getHorizontalPixels() >= 1 && layout.getHorizontalPixels() <= LIMITS.longest_side &&
                      layout.getVerticalPixels() >= 1 && layout.getVerticalPixels() <= LIMITS.longest_side;
  const bool cells = std::isfinite(layout.getCellWidth()) && layout.getCellWidth() > 0 &&
                     std::isfinite(layout.getCellHeight()) && layout.getCellHeight() > 0;
  return pixels && cells && layout.getCharacterSize() <= static_cast<unsigned int>(ts::WindowLayout::LARGEST_GLYPH);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzz_support::startQuietLog();
  const std::string file = fuzz_support::inputFile(data, size);
  if (file.empty()) return 0;
  setenv("TESSERA_CONFIG", file.c_str(), 1);
  ts::Config &config = ts::Config::getInstance();
  ts::LogManager &log = ts::LogManager::getInstance();
  log.setLogLevel(0);  // the defaults' own parse is not what is being tried
  config.loadConfig(DEFAULTS);
  log.setLogLevel(30);
  config.loadConfig("");  // reads the file
  config.writeDump();
  const ts::WindowLayout layout(config, LIMITS);
  if (layout.isValid() ? !acceptable(layout) : layout.getProblem().empty()) __builtin_trap();
  return 0;
}
