// Sprite files of both formats, their error messages with line numbers,
// the sprite table's limits and lookups.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Object.h"
#include "ResourceManager.h"
#include "TestSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

ts::ResourceManager &rm() { return ts::ResourceManager::getInstance(); }

// Lines of log text that name an error or a warning.
std::vector<std::string> problems(const LogCapture &log) {
  std::vector<std::string> found;
  for (const std::string &line : log.messages())
    if (line.find("Error") != std::string::npos || line.find("Warning") != std::string::npos) found.push_back(line);
  return found;
}

class SpriteFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    log.start();
    char dir[] = "/tmp/tessera-sprites-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    m_dir = dir;
    ASSERT_EQ(rm().startUp(), 0);
  }
  void TearDown() override {
    if (rm().isStarted()) rm().shutDown();
    for (const std::string &file : m_files) std::remove(file.c_str());
    rmdir(m_dir.c_str());
  }

  // Writes the bytes as they are (no line ends added) and returns the path.
  std::string write(const std::string &content) {
    std::string path = m_dir + "/sprite" + std::to_string(m_files.size()) + ".txt";
    std::ofstream(path, std::ios::binary) << content;
    m_files.push_back(path);
    return path;
  }
  int load(const std::string &content, const std::string &label = "s") { return rm().loadSprite(write(content), label); }

  // Expects every message, in this order, among the log's lines.
  void expectInOrder(const std::vector<std::string> &expected) {
    std::vector<std::string> lines = log.messages();
    size_t at = 0;
    for (const std::string &message : expected) {
      while (at < lines.size() && lines[at] != message) ++at;
      ASSERT_LT(at, lines.size()) << "missing or out of order: " << message;
      ++at;
    }
  }

  LogCapture log;
  std::string m_dir;
  std::vector<std::string> m_files;
};

const char SIMPLE[] = "1\n3\n2\n4\nred\nabc\ndef\n";

std::string robust(const std::string &header, const std::string &body, const std::string &footer = "version 1\n") {
  return "<HEADER>\n" + header + "</HEADER>\n<BODY>\n" + body + "</BODY>\n<FOOTER>\n" + footer + "</FOOTER>\n";
}

}  // namespace

TEST_F(SpriteFiles, SimpleFileLoadsWithLfOrCrLfLineEnds) {
  ASSERT_EQ(load(SIMPLE, "lf"), 0);
  ASSERT_EQ(load("1\r\n3\r\n2\r\n4\r\nred\r\nabc\r\ndef\r\n", "crlf"), 0);
  for (const char *label : {"lf", "crlf"}) {
    ts::Sprite *sprite = rm().getSprite(label);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->getLabel(), label);
    EXPECT_EQ(sprite->getWidth(), 3);
    EXPECT_EQ(sprite->getHeight(), 2);
    EXPECT_EQ(sprite->getFrameCount(), 1);
    EXPECT_EQ(sprite->getColor(), ts::RED);
    EXPECT_EQ(sprite->getSlowdown(), 4);
    EXPECT_EQ(sprite->getTransparency(), 0);
    EXPECT_EQ(sprite->getFrame(0).getString(), "abcdef");
  }
  // atoi reading: leading blanks, a sign and trailing words are accepted.
  ASSERT_EQ(load("2 frames\n +2\n1\n0\nwhite\nab\ncd\n", "words"), 0);
  EXPECT_EQ(rm().getSprite("words")->getFrame(1).getString(), "cd");
  EXPECT_TRUE(problems(log).empty());
}

TEST_F(SpriteFiles, SimpleFileMustEndRightAfterTheLastRow) {
  EXPECT_EQ(load(std::string(SIMPLE) + "\n"), -1);
  expectInOrder({"RM::loadSimpleSprite(): Error line 8!", "\tExtra file data: ''",
                 "RM::loadSprite(): Sprite 's' NOT loaded."});
  EXPECT_EQ(load(std::string(SIMPLE) + "more\r\n"), -1);
  expectInOrder({"RM::loadSimpleSprite(): Error line 8!", "\tExtra file data: 'more'"});

  // The last row without its line feed is lost as the end of the file.
  EXPECT_EQ(load("1\n3\n2\n4\nred\nabc\ndef"), -1);
  expectInOrder({"getLine(): Error! Unexpected end of file.", "RM::loadSimpleSprite(): Error! Unexpected end of file.",
                 "\tReading frame 1 of 1, row 2 of 2."});
  EXPECT_EQ(rm().getSpriteCount(), 0);
}

TEST_F(SpriteFiles, SimpleHeaderAndRowErrorsNameTheirLine) {
  EXPECT_EQ(load("1\n3\n2\n4\nred\nab\ndef\n"), -1);
  expectInOrder({"RM::loadSimpleSprite(): Error line 6!", "\tLine  6: 'ab'", "\tWidth is 2, expected 3."});
  EXPECT_EQ(load("1\n-3\n2\n4\nred\n"), -1);
  expectInOrder({"RM::loadSimpleSprite(): Error line 2! Width is '-3'."});
  EXPECT_EQ(load("1\n3\nx\n4\nred\n"), -1);
  expectInOrder({"RM::loadSimpleSprite(): Error line 3! Height is 'x'."});
  EXPECT_EQ(load("1\n3\n2\n-1\nred\n"), -1);
  expectInOrder({"RM::loadSimpleSprite(): Error line 4! Slowdown is '-1'."});
  // The simple format knows no default colour.
  EXPECT_EQ(load("1\n3\n2\n4\ndefault\nabc\ndef\n"), -1);
  expectInOrder({"RM::loadSimpleSprite(): Error line 5! Unrecognized color 'default'.",
                 "  Valid colors are: black, red, green, yellow,", "                    blue, magenta, cyan or white."});
  EXPECT_EQ(load("1\n3\n"), -1);
  expectInOrder({"getLine(): Error! Unexpected end of file.", "RM::loadSimpleSprite(): Error! Unexpected end of file.",
                 "\tMissing height (an integer)."});
  EXPECT_EQ(load("1\n3\n2\n4\n\nabc\ndef\n"), -1);
  expectInOrder({"RM::loadSimpleSprite(): Error! Unexpected end of file.", "\tMissing color (a string)."});
  EXPECT_EQ(rm().getSpriteCount(), 0);
}

TEST_F(SpriteFiles, HugeHeaderNumbersFailWithoutReservingRoom) {
  // Under AddressSanitizer a reservation this large would abort the test.
  EXPECT_EQ(load("2147483647\n1\n1\n0\nred\nx\n"), -1);
  expectInOrder({"RM::loadSimpleSprite(): Error! Unexpected end of file.", "\tReading frame 2 of 2147483647, row 1 of 1."});
  EXPECT_EQ(load("1\n2000000000\n1\n0\nred\nabc\n"), -1);
  expectInOrder({"\tWidth is 3, expected 2000000000."});
  // Beyond the int range a number saturates rather than wrapping around.
  EXPECT_EQ(load("99999999999\n1\n1\n0\nred\nx\n"), -1);
  expectInOrder({"\tReading frame 2 of 2147483647, row 1 of 1."});
  EXPECT_EQ(load(robust("frames 2000000000\nwidth 2\nheight 2000000000\n", "ab\n")), -1);
  expectInOrder({"\tError! Line 8: No more frame data before 'end'.", "RM::loadRobustSprite(): Error! No frame data to add."});
  EXPECT_EQ(load(robust("frames 2000000000\nwidth 2\nheight 1\n", "ab\nend\n")), -1);
  expectInOrder({"\tError! Line 9: No more frame data before 'end'."});
  EXPECT_EQ(rm().getSpriteCount(), 0);
}

TEST_F(SpriteFiles, UnusableFilesAreRefused) {
  const std::string dir_message = "RM::loadSprite(): Error! Cannot open file '" + m_dir + "'.";
  EXPECT_EQ(rm().loadSprite(m_dir, "dir"), -1);
  expectInOrder({dir_message, "RM::loadSprite(): Sprite 'dir' not loaded."});
  EXPECT_EQ(rm().loadSprite(m_dir + "/absent.txt", "absent"), -1);
  EXPECT_TRUE(log.contains("RM::loadSprite(): Error! Cannot open file '" + m_dir + "/absent.txt'."));

  for (const char *first : {"<HEADER> ", "0", "-2", ""}) {
    EXPECT_EQ(load(std::string(first) + "\n1\n1\n0\nred\nx\n", "odd"), -1);
    expectInOrder({"RM::loadSprite(): Error! Unknown sprite file format.",
                   std::string("RM::loadSprite(): First line is '") + first + "'.",
                   "RM::loadSprite(): Sprite 'odd' NOT loaded."});
  }
  EXPECT_EQ(load(""), -1);
  expectInOrder({"getLine(): Error! Unexpected end of file.", "RM::loadSprite(): First line is ''."});
  EXPECT_EQ(load(std::string("\x01\xff\0garbage\n", 11)), -1);
  EXPECT_EQ(rm().getSpriteCount(), 0);
}

TEST_F(SpriteFiles, RobustFileLoadsWithDefaults) {
  ASSERT_EQ(load(robust("frames 2\nwidth 3\nheight 1\ntransparency #\n", "a#c\nend\nd#f\nend\n")), 0);
  ts::Sprite *sprite = rm().getSprite("s");
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(sprite->getFrameCount(), 2);
  EXPECT_EQ(sprite->getColor(), ts::WHITE);
  EXPECT_EQ(sprite->getSlowdown(), 0);
  EXPECT_EQ(sprite->getTransparency(), '#');
  EXPECT_EQ(sprite->getFrame(1).getString(), "d#f");

  // Keys in any order, CR LF line ends, a quoted space, lines nobody uses.
  std::string file = robust("height 2\ncolor cyan\nauthor me\nwidth 1\nslowdown 3\ntransparency \" \"\nframes 1\n",
                            "a\nb\nend\n", "version 2.0\nnotes none\n");
  std::string crlf;
  for (char c : file) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ASSERT_EQ(load(crlf, "keyed"), 0);
  sprite = rm().getSprite("keyed");
  EXPECT_EQ(sprite->getColor(), ts::CYAN);
  EXPECT_EQ(sprite->getSlowdown(), 3);
  EXPECT_EQ(sprite->getTransparency(), ' ');
  EXPECT_EQ(sprite->getHeight(), 2);
  EXPECT_EQ(sprite->getFrame(0).getString(), "ab");

  // The last of several matching lines counts.
  ASSERT_EQ(load(robust("frames 2\nwidth 1\nheight 1\nframes 3\n", "a\nend\nb\nend\nc\nend\n"), "three"), 0);
  EXPECT_EQ(rm().getSprite("three")->getFrameCount(), 3);
  EXPECT_TRUE(problems(log).empty());
}

TEST_F(SpriteFiles, RobustErrorsNameTheirLine) {
  const std::string header = "frames 1\nwidth 2\nheight 1\n";  // lines 2-4; </HEADER> is line 5
  EXPECT_EQ(load(robust(header, "ab\nend\ncd\nxx\n")), -1);
  expectInOrder({"RM::loadRobustSprite(): Error! Extra BODY:", "\tLine 9: cd", "\tLine 10: xx",
                 "RM::loadSprite(): Sprite 's' NOT loaded."});
  EXPECT_EQ(load(robust(header, "abc\nend\n")), -1);
  expectInOrder({"\tError! Line 7: Line length is 3 (frame width is 2).", "\tLine 7: 'abc'",
                 "RM::loadRobustSprite(): Error! No frame data to add."});
  EXPECT_EQ(load(robust(header, "ab\nfin\n")), -1);
  expectInOrder({"\tError! Line 8: Expected 'end'.", "\tLine 8: 'fin'"});
  EXPECT_EQ(load(robust(header, "ab\n")), -1);
  expectInOrder({"\tError! Line 8: No more frame data before 'end'."});
  // </FOOTER> is line 12.
  EXPECT_EQ(load(robust(header, "ab\nend\n", "author me\n")), -1);
  expectInOrder({"RM::loadRobustSprite(): Error! Missing 'version' in FOOTER (line 12)."});
  EXPECT_EQ(load(robust("frames 1\nheight 1\n", "ab\nend\n")), -1);
  expectInOrder({"RM::loadRobustSprite(): Error! Missing 'width' in header."});
  // The value starts right after one separator, so a second blank is kept.
  EXPECT_EQ(load(robust(header + "color  red\n", "ab\nend\n")), -1);
  expectInOrder({"RM::loadRobustSprite(): Error! Unrecognized color ' red'.",
                 "  Valid colors are: black, red, green, yellow,", "                    blue, magenta, cyan and white."});
  EXPECT_EQ(load("<HEADER>\nframes 1\n\nwidth 2\n"), -1);
  expectInOrder({"readData(): Error! Stop at line 2, never encountered '</HEADER>'."});
  EXPECT_EQ(load("<HEADER>\n" + header + "</HEADER>\n<BOD>\n"), -1);
  expectInOrder({"readData(): Error line 6! Expected '<BODY>', have '<BOD>'."});
  EXPECT_EQ(load("<HEADER>\n" + header + "</HEADER>\n<BODY>\nab\nend\n</BODY>\n"), -1);
  // The end of the file is not counted as a line.
  expectInOrder({"readData(): Error line 9! Expected '<FOOTER>', have ''."});
  EXPECT_EQ(rm().getSpriteCount(), 0);
}

TEST_F(SpriteFiles, TableHoldsAThousandSpritesAndFindsTheFirstOfALabel) {
  const std::string wide = write(SIMPLE);
  ASSERT_EQ(rm().loadSprite(wide, "twin"), 0);
  ASSERT_EQ(load("1\n1\n1\n0\nblue\nx\n", "twin"), 0);
  for (int i = 2; i < ts::MAX_SPRITES; ++i) ASSERT_EQ(rm().loadSprite(wide, "x"), 0);
  EXPECT_EQ(rm().loadSprite(wide, "extra"), -1);
  expectInOrder({"RM::loadRobustSprite(): Error! Cannot add more Sprites (max is 1000).",
                 "RM::loadRobustSprite(): Sprite 'extra' not loaded."});
  EXPECT_EQ(rm().getSpriteCount(), ts::MAX_SPRITES);
  ASSERT_NE(rm().getSprite("twin"), nullptr);
  EXPECT_EQ(rm().getSprite("twin")->getWidth(), 3);
  EXPECT_EQ(rm().getSprite("Twin"), nullptr);
  EXPECT_TRUE(log.contains("RM::getSprite(): Warning! Sprite 'Twin' not found."));
  rm().shutDown();
  EXPECT_EQ(rm().getSprite("twin"), nullptr);
  EXPECT_EQ(rm().getSpriteCount(), 0);
}

TEST_F(SpriteFiles, NeedsAStartedManager) {
  EXPECT_EQ(rm().startUp(), -1);
  EXPECT_TRUE(log.contains("ResourceManager::startup(): Warning! ResourceManager already started."));
  rm().shutDown();
  EXPECT_EQ(rm().loadSprite(write(SIMPLE), "s"), -1);
  EXPECT_EQ(rm().loadMusic("tests/data/tone.ogg", "m"), -1);
  EXPECT_EQ(log.count("ResourceManager not started!"), 2);
  ASSERT_EQ(rm().startUp(), 0);
  EXPECT_EQ(rm().loadSprite(m_files[0], "s"), 0);
}

TEST_F(SpriteFiles, ObjectsFindTheirSpriteByLabel) {
  ASSERT_EQ(ts::WorldManager::getInstance().startUp(), 0);
  ASSERT_EQ(load(SIMPLE, "pic"), 0);
  ts::Object *object = new ts::Object;
  EXPECT_EQ(object->setSprite("pic"), 0);
  EXPECT_EQ(object->getAnimation().getSprite(), rm().getSprite("pic"));
  EXPECT_EQ(object->getBox().getHorizontal(), 3);
  EXPECT_EQ(object->setSprite("nothing"), -1);
  EXPECT_EQ(object->getAnimation().getSprite(), rm().getSprite("pic"));
  ts::WorldManager::getInstance().shutDown();
}
