// Sprite files of both formats, written by the tests: what loads, every
// refusal with its log lines and line numbers, and the sprite table.
#include <tessera/resources/ResourceManager.h>
#include <tessera/world/Object.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"

namespace {

ts::ResourceManager &rm() { return ts::ResourceManager::getInstance(); }

const std::string SIMPLE = "1\n3\n2\n4\nred\nabc\ndef\n";

std::string robust(const std::string &header, const std::string &body, const std::string &footer = "version 1\n") {
  return "<HEADER>\n" + header + "</HEADER>\n<BODY>\n" + body + "</BODY>\n<FOOTER>\n" + footer + "</FOOTER>\n";
}

std::string crlf(std::string text) {
  for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.insert(at, 1, '\r');
  return text;
}

// Size, colour, slowdown, transparency and frames of a sprite in one line.
std::string describe(const ts::Sprite *sprite) {
  if (!sprite) return "none";
  std::string text = std::to_string(sprite->getWidth()) + "x" + std::to_string(sprite->getHeight()) + " " +
                     ts::colorToString(sprite->getColor()) + " slowdown " + std::to_string(sprite->getSlowdown()) +
                     " transparency " + std::to_string(sprite->getTransparency()) + ":";
  for (int i = 0; i < sprite->getFrameCount(); ++i) text += " " + sprite->getFrame(i).getString();
  return text;
}

class SpriteFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(rm().startUp(), 0); }
  void TearDown() override {
    if (rm().isStarted()) rm().shutDown();
    for (int i = 0; i < m_files; ++i) std::remove(file(i).c_str());
  }
  std::string file(int number) const { return log.path() + ".sprite" + std::to_string(number); }
  // Writes the bytes as they are (no line ends added) and returns the path.
  std::string write(const std::string &content) {
    std::ofstream(file(m_files), std::ios::binary) << content;
    return file(m_files++);
  }

  // Loads the content as a sprite, expecting a refusal whose log lines
  // include the expected ones in this order.
  void expectRefused(const std::string &content, const std::vector<std::string> &expected, const char *name = nullptr) {
    SCOPED_TRACE(content);
    const size_t before = log.messages().size();
    EXPECT_EQ(rm().loadSprite(name ? name : write(content), "s"), -1);
    std::vector<std::string> lines = log.messages();
    size_t at = before;
    for (const std::string &message : expected) {
      while (at < lines.size() && lines[at] != message) ++at;
      ASSERT_LT(at++, lines.size()) << "missing or out of order: " << message;
    }
  }

  testing_support::StartedLog log;
  int m_files = 0;
};

}  // namespace

TEST_F(SpriteFiles, BothFormatsLoadQuietly) {
  const std::pair<std::string, std::string> files[] = {
      {SIMPLE, "3x2 Red slowdown 4 transparency 0: abcdef"},
      {crlf(SIMPLE), "3x2 Red slowdown 4 transparency 0: abcdef"},
      // atoi reading: leading blanks, a sign and trailing words are accepted.
      {"2 frames\n +2\n1\n0\nwhite\nab\ncd\n", "2x1 White slowdown 0 transparency 0: ab cd"},
      {robust("frames 2\nwidth 3\nheight 1\ntransparency #\n", "a#c\nend\nd#f\nend\n"),
       "3x1 White slowdown 0 transparency 35: a#c d#f"},
      // Keys in any order, CR LF line ends, a quoted space, footer lines nobody uses.
      {crlf(robust("height 2\ncolor cyan\nwidth 1\nslowdown 3\ntransparency \" \"\nframes 1\n", "a\nb\nend\n",
                   "version 2.0\nnotes none\n")),
       "1x2 Cyan slowdown 3 transparency 32: ab"},
      // The last of several matching lines counts.
      {robust("frames 2\nwidth 1\nheight 1\nframes 3\n", "a\nend\nb\nend\nc\nend\n"),
       "1x1 White slowdown 0 transparency 0: a b c"},
  };
  for (const auto &file : files) {
    const std::string label = std::to_string(rm().getSpriteCount());
    ASSERT_EQ(rm().loadSprite(write(file.first), label), 0) << file.first;
    EXPECT_EQ(describe(rm().getSprite(label)), file.second);
  }
  for (const std::string &line : log.messages())
    EXPECT_TRUE(line.find("Error") == std::string::npos && line.find("Warning") == std::string::npos) << line;
}

// A misspelt key is ignored, so its default applies: the log names the key,
// the file and the line, and the sprite still loads.
TEST_F(SpriteFiles, UnknownHeaderKeysAreNamedWithTheirLine) {
  const std::string path = write(robust("frames 1\nwidth 2\ncolour red\nheight 1\n", "ab\nend\n"));
  ASSERT_EQ(0, rm().loadSprite(path, "s"));
  EXPECT_EQ(describe(rm().getSprite("s")), "2x1 White slowdown 0 transparency 0: ab");
  EXPECT_EQ(1, log.count("RM::loadRobustSprite(): Warning! Unknown key 'colour' in the header of '" + path +
                         "', line 4; ignored."));
}

TEST_F(SpriteFiles, SimpleFileErrorsNameTheirLine) {
  expectRefused(SIMPLE + "\n", {"RM::loadSimpleSprite(): Error line 8!", "\tExtra file data: ''",
                                "RM::loadSprite(): Sprite 's' NOT loaded."});
  expectRefused(SIMPLE + "more\r\n", {"RM::loadSimpleSprite(): Error line 8!", "\tExtra file data: 'more'"});
  // The last row without its line feed is lost as the end of the file.
  expectRefused("1\n3\n2\n4\nred\nabc\ndef",
                {"getLine(): Error! Unexpected end of file.", "RM::loadSimpleSprite(): Error! Unexpected end of file.",
                 "\tReading frame 1 of 1, row 2 of 2."});
  expectRefused("1\n3\n2\n4\nred\nab\ndef\n",
                {"RM::loadSimpleSprite(): Error line 6!", "\tLine  6: 'ab'", "\tWidth is 2, expected 3."});
  expectRefused("1\n-3\n2\n4\nred\n", {"RM::loadSimpleSprite(): Error line 2! Width is '-3'."});
  expectRefused("1\n3\nx\n4\nred\n", {"RM::loadSimpleSprite(): Error line 3! Height is 'x'."});
  expectRefused("1\n3\n2\n-1\nred\n", {"RM::loadSimpleSprite(): Error line 4! Slowdown is '-1'."});
  // The simple format knows no default colour.
  expectRefused(
      "1\n3\n2\n4\ndefault\nabc\ndef\n",
      {"RM::loadSimpleSprite(): Error line 5! Unrecognized color 'default'.",
       "  Valid colors are: black, red, green, yellow,", "                    blue, magenta, cyan or white."});
  expectRefused("1\n3\n", {"getLine(): Error! Unexpected end of file.",
                           "RM::loadSimpleSprite(): Error! Unexpected end of file.", "\tMissing height (an integer)."});
  EXPECT_EQ(rm().getSpriteCount(), 0);
}

TEST_F(SpriteFiles, RobustFileErrorsNameTheirLine) {
  const std::string header = "frames 1\nwidth 2\nheight 1\n";  // lines 2-4; </HEADER> is line 5
  expectRefused(robust(header, "ab\nend\ncd\nxx\n"), {"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 9: cd",
                                                      "\tLine 10: xx", "RM::loadSprite(): Sprite 's' NOT loaded."});
  expectRefused(robust(header, "abc\nend\n"),
                {"\tError! Line 7: Line length is 3 (frame width is 2).", "\tLine 7: 'abc'",
                 "RM::loadRobustSprite(): Error! No frame data to add."});
  expectRefused(robust(header, "ab\nfin\n"), {"\tError! Line 8: Expected 'end'.", "\tLine 8: 'fin'"});
  expectRefused(robust(header, "ab\n"), {"\tError! Line 8: No more frame data before 'end'."});
  // </FOOTER> is line 12.
  expectRefused(robust(header, "ab\nend\n", "author me\n"),
                {"RM::loadRobustSprite(): Error! Missing 'version' in FOOTER (line 12)."});
  expectRefused(robust("frames 1\nheight 1\n", "ab\nend\n"),
                {"RM::loadRobustSprite(): Error! Missing 'width' in header."});
  // The value starts right after one separator, so a second blank is kept.
  expectRefused(
      robust(header + "color  red\n", "ab\nend\n"),
      {"RM::loadRobustSprite(): Error! Unrecognized color ' red'.", "  Valid colors are: black, red, green, yellow,",
       "                    blue, magenta, cyan and white."});
  expectRefused("<HEADER>\nframes 1\n\nwidth 2\n",
                {"readData(): Error! Stop at line 2, never encountered '</HEADER>'."});
  expectRefused("<HEADER>\n" + header + "</HEADER>\n<BOD>\n",
                {"readData(): Error line 6! Expected '<BODY>', have '<BOD>'."});
  // The end of the file is not counted as a line.
  expectRefused("<HEADER>\n" + header + "</HEADER>\n<BODY>\nab\nend\n</BODY>\n",
                {"readData(): Error line 9! Expected '<FOOTER>', have ''."});
  EXPECT_EQ(rm().getSpriteCount(), 0);
}

// Headers that claim more than the file holds fail while reading, without
// reserving room (under AddressSanitizer such a reservation would abort);
// files that are no sprite at all are refused.
TEST_F(SpriteFiles, HugeNumbersAndUnusableFilesAreRefused) {
  expectRefused("2147483647\n1\n1\n0\nred\nx\n", {"\tReading frame 2 of 2147483647, row 1 of 1."});
  expectRefused("1\n2000000000\n1\n0\nred\nabc\n", {"\tWidth is 3, expected 2000000000."});
  // Beyond the int range a number saturates rather than wrapping around.
  expectRefused("99999999999\n1\n1\n0\nred\nx\n", {"\tReading frame 2 of 2147483647, row 1 of 1."});
  expectRefused(robust("frames 2000000000\nwidth 2\nheight 1\n", "ab\nend\n"),
                {"\tError! Line 9: No more frame data before 'end'."});
  for (const char *first : {"<HEADER> ", "0", "-2", ""})
    expectRefused(
        std::string(first) + "\n1\n1\n0\nred\nx\n",
        {"RM::loadSprite(): Error! Unknown sprite file format.",
         std::string("RM::loadSprite(): First line is '") + first + "'.", "RM::loadSprite(): Sprite 's' NOT loaded."});
  expectRefused("", {"getLine(): Error! Unexpected end of file.", "RM::loadSprite(): First line is ''."});
  expectRefused(std::string("\x01\xff\0garbage\n", 11), {"RM::loadSprite(): Sprite 's' NOT loaded."});
  expectRefused("", {"RM::loadSprite(): Error! Cannot open file '/tmp'.", "RM::loadSprite(): Sprite 's' not loaded."},
                "/tmp");
  expectRefused("", {"RM::loadSprite(): Error! Cannot open file '/no/such.txt'."}, "/no/such.txt");
  EXPECT_EQ(rm().getSpriteCount(), 0);
}

TEST_F(SpriteFiles, TableHoldsAThousandSpritesAndFindsTheFirstOfALabel) {
  const std::string wide = write(SIMPLE);
  ASSERT_EQ(rm().loadSprite(wide, "twin"), 0);
  ASSERT_EQ(rm().loadSprite(write("1\n1\n1\n0\nblue\nx\n"), "twin"), 0);
  for (int i = 2; i < ts::MAX_SPRITES; ++i) ASSERT_EQ(rm().loadSprite(wide, "x"), 0);
  expectRefused("",
                {"RM::loadRobustSprite(): Error! Cannot add more Sprites (max is 1000).",
                 "RM::loadRobustSprite(): Sprite 's' not loaded."},
                wide.c_str());
  EXPECT_EQ(describe(rm().getSprite("twin")), "3x2 Red slowdown 4 transparency 0: abcdef");
  EXPECT_EQ(rm().getSprite("Twin"), nullptr);
  EXPECT_TRUE(log.contains("RM::getSprite(): Warning! Sprite 'Twin' not found."));
  // Objects find their sprite by label.
  ASSERT_EQ(ts::WorldManager::getInstance().startUp(), 0);
  ts::Object *object = new ts::Object;
  EXPECT_EQ(object->setSprite("twin"), 0);
  EXPECT_EQ(object->getBox().getHorizontal(), 3);
  EXPECT_EQ(object->setSprite("nothing"), -1);
  EXPECT_EQ(object->getAnimation().getSprite(), rm().getSprite("twin"));
  ts::WorldManager::getInstance().shutDown();
  rm().shutDown();
  EXPECT_EQ(rm().getSpriteCount(), 0);
  EXPECT_EQ(rm().loadSprite(wide, "s"), -1);
  EXPECT_TRUE(log.contains("ResourceManager not started!"));
}
