#include <tessera/graphics/WindowLayout.h>

#include <algorithm>
#include <cstdio>

namespace ts {

namespace {

template <typename... Values>
std::string formatted(const char *format, Values... values) {
  char text[256];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

}  // namespace

WindowLayout::WindowLayout(const Config &config, const DisplayLimits &limits)
    : m_horizontal_pixels(0),
      m_vertical_pixels(0),
      m_cell_width(0),
      m_cell_height(0),
      m_character_size(0),
      m_left(0),
      m_top(0) {
  if (!checkPixels("window_horizontal_pixels", config.getWindowHorizontalPixels(), limits.desktop_width,
                   limits.longest_side, m_horizontal_pixels) ||
      !checkPixels("window_vertical_pixels", config.getWindowVerticalPixels(), limits.desktop_height,
                   limits.longest_side, m_vertical_pixels) ||
      !checkCells("window_horizontal_chars", config.getWindowHorizontalChars()) ||
      !checkCells("window_vertical_chars", config.getWindowVerticalChars()))
    return;
  m_cell_width = static_cast<float>(m_horizontal_pixels) / static_cast<float>(config.getWindowHorizontalChars());
  m_cell_height = static_cast<float>(m_vertical_pixels) / static_cast<float>(config.getWindowVerticalChars());
  checkGlyph(config.getFontScale());
  m_left = std::max(0, (limits.desktop_width - m_horizontal_pixels) / 2);
  m_top = std::max(0, (limits.desktop_height - m_vertical_pixels) / 2);
}

// A configured 0 means the desktop's size.
bool WindowLayout::checkPixels(const char *key, int configured, int desktop, int longest_side, int &pixels) {
  pixels = configured == 0 ? desktop : configured;
  if (pixels >= 1 && pixels <= longest_side) return true;
  m_problem = formatted("%s %d is beyond what the display can make (1 to %d pixels).", key, configured, longest_side);
  return false;
}

bool WindowLayout::checkCells(const char *key, int cells) {
  if (cells >= 1) return true;
  m_problem = formatted("%s %d is not a number of cells (at least 1).", key, cells);
  return false;
}

// The glyph is the font scale times the smaller cell side, in float and
// truncated, as the text object is given it.
bool WindowLayout::checkGlyph(float font_scale) {
  const float smaller = m_cell_width < m_cell_height ? m_cell_width : m_cell_height;
  const float longer = std::max(m_cell_width, m_cell_height);
  const float glyph = font_scale * smaller;
  const int largest = static_cast<int>(std::min(GLYPH_CELLS * longer, static_cast<float>(LARGEST_GLYPH)));
  if (glyph >= 0 && glyph <= static_cast<float>(largest)) {
    m_character_size = static_cast<unsigned int>(glyph);
    return true;
  }
  m_problem = formatted("font_scale %g gives glyphs of %.1f pixels; cells of %.1f x %.1f pixels take 0 to %d.",
                        static_cast<double>(font_scale), static_cast<double>(glyph), static_cast<double>(m_cell_width),
                        static_cast<double>(m_cell_height), largest);
  return false;
}

}  // namespace ts
