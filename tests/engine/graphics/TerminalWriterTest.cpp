// The terminal frame writer, checked by replaying its bytes on a small model
// of a terminal screen: what it writes must turn the shown frame into the
// next one, and for a few changed cells it must write only those.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <tessera/graphics/DisplayManager.h>

#include "graphics/CellBuffer.h"
#include "graphics/CellCharacter.h"
#include "graphics/TerminalWriter.h"

namespace {

using ts::Cell;
using ts::CellBuffer;
using ts::Rgb;

const Rgb BLACK{0, 0, 0};
const Rgb RED{255, 0, 0};
const Rgb GREEN{0, 255, 0};

// A screen that understands what the writer sends: cursor position, the two
// 24-bit colours, clear, characters in UTF-8, each one cell wide. Anything
// else fails the test.
class ScreenModel {
 public:
  ScreenModel(int width, int height) : m_width(width), m_height(height), m_cells(width * height) {}

  void apply(const std::string &bytes) {
    for (size_t i = 0; i < bytes.size();) {
      if (bytes[i] == '\x1b') {
        ASSERT_EQ(bytes[i + 1], '[') << "at byte " << i;
        size_t end = bytes.find_first_of("HmJ", i);
        ASSERT_NE(end, std::string::npos);
        command(bytes.substr(i + 2, end - i - 2), bytes[end]);
        i = end + 1;
        continue;
      }
      unsigned char byte = static_cast<unsigned char>(bytes[i]);
      ASSERT_GE(byte, 0x20) << "control byte written at " << i;
      const int extra = byte < 0x80 ? 0 : byte < 0xe0 ? 1 : byte < 0xf0 ? 2 : 3;
      char32_t ch = extra == 0 ? byte : byte & (0x3f >> extra);
      for (int k = 1; k <= extra; ++k) {
        const unsigned char next = static_cast<unsigned char>(bytes.at(i + k));
        ASSERT_EQ(next & 0xc0, 0x80) << "broken UTF-8 at byte " << i;
        ch = (ch << 6) | (next & 0x3f);
      }
      i += 1 + extra;
      ASSERT_TRUE(m_x >= 0 && m_x < m_width && m_y >= 0 && m_y < m_height) << "cell written off screen";
      m_cells[m_y * m_width + m_x] = Cell{ch, m_foreground, m_background};
      ++m_x;  // the cursor after the last column is never used unmoved
      if (m_x == m_width) m_x = -1;
    }
  }

  void expectShows(const CellBuffer &frame) const {
    for (int y = 0; y < m_height; ++y)
      for (int x = 0; x < m_width; ++x) {
        const Cell &want = frame.at(x, y), &have = m_cells[y * m_width + x];
        ASSERT_TRUE(want.ch == have.ch && want.foreground == have.foreground && want.background == have.background)
            << "cell " << x << "," << y << ": U+" << std::hex << uint32_t(have.ch) << " instead of U+"
            << uint32_t(want.ch);
      }
  }

 private:
  void command(const std::string &parameters, char final) {
    std::vector<int> numbers;
    std::istringstream in(parameters);
    for (std::string number; std::getline(in, number, ';');) numbers.push_back(std::atoi(number.c_str()));
    if (final == 'H') {
      m_y = numbers.at(0) - 1;
      m_x = numbers.at(1) - 1;
    } else if (final == 'J') {
      ASSERT_EQ(numbers.at(0), 2);
      for (Cell &cell : m_cells) cell = Cell{' ', m_foreground, m_background};
    } else {
      for (size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] == 0) continue;
        ASSERT_TRUE((numbers[i] == 38 || numbers[i] == 48) && numbers.at(i + 1) == 2) << parameters;
        Rgb color{static_cast<unsigned char>(numbers.at(i + 2)), static_cast<unsigned char>(numbers.at(i + 3)),
                  static_cast<unsigned char>(numbers.at(i + 4))};
        (numbers[i] == 38 ? m_foreground : m_background) = color;
        i += 4;
      }
    }
  }

  int m_width, m_height;
  int m_x = -1, m_y = -1;
  Rgb m_foreground{255, 255, 255}, m_background{0, 0, 0};
  std::vector<Cell> m_cells;
};

void fillRandomly(CellBuffer &frame, int changes) {
  const Rgb colors[] = {RED, GREEN, {255, 255, 255}, {0, 0, 255}};
  for (int i = 0; i < changes; ++i)
    frame.set(std::rand() % frame.getWidth(), std::rand() % frame.getHeight(),
              Cell{static_cast<unsigned char>(33 + std::rand() % 90), colors[std::rand() % 4], BLACK});
}

TEST(TerminalWriter, FramesReplayedOnAScreenShowExactlyTheirCells) {
  std::srand(11);
  CellBuffer shown, next;
  shown.resize(80, 24, BLACK);
  next.resize(80, 24, BLACK);
  ts::TerminalWriter writer;
  ScreenModel screen(80, 24);
  std::string out;
  fillRandomly(next, 500);
  writer.writeFrame(shown, next, true, out);
  screen.apply(out);
  screen.expectShows(next);
  for (int frame = 0; frame < 100; ++frame) {
    shown = next;
    fillRandomly(next, frame % 7 == 0 ? 2000 : 30);
    if (frame % 10 == 0) next.clear();
    out.clear();
    writer.writeFrame(shown, next, false, out);
    screen.apply(out);
    ASSERT_NO_FATAL_FAILURE(screen.expectShows(next)) << "frame " << frame;
  }
}

TEST(TerminalWriter, WritesOnlyChangedCellsAndOnlyChangedColours) {
  CellBuffer shown, next;
  shown.resize(80, 24, BLACK);
  next.resize(80, 24, BLACK);
  ts::TerminalWriter writer;
  std::string out;
  writer.writeFrame(shown, next, true, out);
  out.clear();
  writer.writeFrame(shown, next, false, out);
  EXPECT_EQ(out, "") << "an unchanged frame writes nothing";

  // Two neighbours in red and a cell on another row in red: one colour
  // change, no cursor move between the neighbours.
  next.set(5, 3, Cell{'a', RED, BLACK});
  next.set(6, 3, Cell{'b', RED, BLACK});
  next.set(79, 10, Cell{'c', RED, BLACK});
  next.set(0, 11, Cell{'d', GREEN, BLACK});
  writer.writeFrame(shown, next, false, out);
  EXPECT_EQ(out,
            "\x1b[4;6H\x1b[38;2;255;0;0mab"
            "\x1b[11;80Hc"
            "\x1b[12;1H\x1b[38;2;0;255;0md");
}

// A UTF-8 title laid out as drawString() lays it out, centred on column 10:
// one cell per character ("Café ♪" is six), written as UTF-8 in one run.
TEST(TerminalWriter, Utf8TitleCentredTakesOneCellPerCharacter) {
  CellBuffer shown, next;
  shown.resize(20, 2, BLACK);
  next.resize(20, 2, BLACK);
  const std::u32string title = ts::cellCharacters("Café ♪");
  const ts::Vector start = ts::justifiedStart(ts::Vector(10, 1), static_cast<int>(title.size()), ts::CENTER_JUSTIFIED);
  for (size_t i = 0; i < title.size(); ++i)
    next.set(static_cast<int>(start.getX()) + static_cast<int>(i), 1, Cell{title[i], RED, BLACK});
  next.set(13, 1, Cell{'|', RED, BLACK});
  ts::TerminalWriter writer;
  std::string out;
  writer.writeFrame(shown, next, false, out);
  EXPECT_EQ(out, "\x1b[2;8H\x1b[38;2;255;0;0;48;2;0;0;0mCafé ♪|");
  ScreenModel screen(20, 2);
  out.clear();
  writer.writeFrame(shown, next, true, out);
  screen.apply(out);
  screen.expectShows(next);
}

// Without TERM the eight basic colours (nearest in hue), with TERM=dumb no
// colour at all; each says why. A named terminal, or COLORTERM, keeps 24 bits.
TEST(TerminalWriter, ColourDepthFollowsTheTerminalsName) {
  std::string why;
  EXPECT_EQ(ts::TerminalWriter::depthFor("tmux-256color", nullptr, why), ts::ColorDepth::TRUE_COLOR);
  EXPECT_EQ(why, "");
  EXPECT_EQ(ts::TerminalWriter::depthFor(nullptr, "truecolor", why), ts::ColorDepth::TRUE_COLOR);
  EXPECT_EQ(ts::TerminalWriter::depthFor("", nullptr, why), ts::ColorDepth::EIGHT);
  EXPECT_EQ(why, "TERM is not set; drawing in the eight basic colours");
  EXPECT_EQ(ts::TerminalWriter::depthFor("dumb", nullptr, why), ts::ColorDepth::NONE);
  EXPECT_EQ(why, "TERM is 'dumb'; drawing without colour");

  CellBuffer shown, next;
  shown.resize(4, 1, BLACK);
  next.resize(4, 1, BLACK);
  next.set(0, 0, Cell{'a', RED, BLACK});
  next.set(1, 0, Cell{'b', {255, 160, 0}, {0, 0, 200}});  // orange on dark blue
  next.set(2, 0, Cell{'c', {90, 90, 90}, BLACK});         // grey
  ts::TerminalWriter writer;
  std::string out;
  writer.setColorDepth(ts::ColorDepth::EIGHT);
  writer.writeFrame(shown, next, true, out);
  EXPECT_EQ(
      out,
      "\x1b[0;40m\x1b[2J\x1b[1;1H\x1b[31;40ma\x1b[33;44mb\x1b[37;40mc\x1b[37m ");  // the blank cell: white on black
  out.clear();
  ts::TerminalWriter plain;
  plain.setColorDepth(ts::ColorDepth::NONE);
  plain.writeFrame(shown, next, true, out);
  EXPECT_EQ(out, "\x1b[0m\x1b[2J\x1b[1;1Habc ");
}

// Neither C0 nor C1 controls (0x80..0x9f, written as 0xc2 0x80..0x9f) appear.
TEST(TerminalWriter, ControlBytesNeverReachTheTerminal) {
  std::string out;
  for (int byte = 0; byte < 256; ++byte) ts::TerminalWriter::appendCharacter(static_cast<unsigned char>(byte), out);
  for (size_t i = 0; i < out.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(out[i]), next = static_cast<unsigned char>(out[i + 1]);
    EXPECT_FALSE(byte < 0x20 || byte == 0x7f || (byte == 0xc2 && next < 0xa0)) << "byte " << int(byte) << " at " << i;
  }
  EXPECT_EQ(out.substr(out.size() - 46, 2), "\xc3\xa9");  // Latin-1 e with acute accent
}

}  // namespace
